// The intraday alarm server's view of the market as the intraday store, the engine and the
// lines-and-text store answer it.
#include "realtime/alarms/AlarmMarket.h"

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/IntradayTicks.h"
#include "chartmodel/LineObjects.h"
#include "core/LinesAndTextFiles.h"
#include "core/Portfolio.h"
#include "core/PriceLookups.h"
#include "core/ReadersWriterLock.h"
#include "core/RecordFlags.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/SystemDate.h"
#include "core/TimeZones.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "realtime/IntradayState.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/RTMarketTable.h"
#include "realtime/TimerQueue.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickCoding.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace qv {
namespace {

// The intraday chart's drawings are kept under kind 1 of the lines-and-text store.
constexpr uint16_t kIntradayLinesKind = 1;
constexpr size_t kItemHeadBytes = 8, kSectionHeadBytes = 8;

ShareRef RefOf(uint32_t key) { return ShareRef{nullptr, uint8_t(key >> 16), RTKeyShare(key)}; }

float Column(uint32_t key, uint8_t letter, uint32_t option = 0, int32_t daysBack = 0)
{
    double value = 0;
    const int type = GetRTColumnValue(daysBack, value, RefOf(key), letter, option);
    return type == kRTValuePrice && value > 0 ? float(value) : 0.0f;
}

// Decodes the share's current day when its ticks are in memory.
bool DecodeToday(uint32_t key, IntradayDay& day, uint32_t flags)
{
    SharedLockGuard lock(IntradayStoreLock());
    RTActiveShare* share = FindRTActiveShare(key);
    RTShareDayBlock* block = share ? FindRTShareToday(*share) : nullptr;
    if (!block || block->ticks.empty())
        return false;
    DecodeIntradayTicks(day, block->ticks, TickCounts{block->quotes, block->others, block->trades}, flags,
                        "AlarmServer");
    return true;
}

// A section walk of a packed lines-and-text item: false at a section of a kind other than 1-3.
bool SectionsSound(std::span<const uint8_t> item)
{
    if (item.size() < kItemHeadBytes)
        return true;
    const size_t end = std::min<size_t>(LoadU32(item.data()), item.size());
    for (size_t at = kItemHeadBytes; at + kSectionHeadBytes <= end;) {
        const uint32_t length = LoadU32(item.data() + at);
        const uint32_t kind = LoadU32(item.data() + at + 4);
        if (kind < 1 || kind > 3)
            return false;
        if (length < kSectionHeadBytes)
            return true;
        at += length;
    }
    return true;
}

} // namespace

const Portfolio* UserPortfolio(uint16_t number)
{
    for (const Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio && p->number == number)
            return p;
    return nullptr;
}

int32_t AlarmMarket::ConnectionStep() const { return RTConnectionStep(); }
uint32_t AlarmMarket::Now() const { return uint32_t(std::time(nullptr)); }
uint32_t AlarmMarket::Ticks() const { return SteadyTickCount(); }
uint32_t AlarmMarket::Today() const { return GetTodayDate(0); }

uint32_t AlarmMarket::LatestTime(uint8_t exchange) const
{
    return TheRTEngine().exchanges[std::min<size_t>(exchange, kRTExchanges - 1)].latestTime;
}

uint32_t AlarmMarket::OpenTime(uint8_t exchange) const
{
    return exchange < kMarketHoursExchanges ? ExchangeTimesTable()[exchange].first : 0;
}

std::string AlarmMarket::ZoneLabel(uint8_t exchange) const
{
    return std::string(GetTimeZoneAbbrev(GetMarketTimeZoneCode(exchange, GetTodayDate(0))));
}

std::string AlarmMarket::ShareName(uint32_t key) const
{
    const uint8_t* record = FindShareRecord(RTKeyShare(key));
    return record ? std::string(GetRecordName(record)) : std::to_string(RTKeyShare(key));
}

float AlarmMarket::LatestPrice(uint32_t key) const { return Column(key, 'K'); }
float AlarmMarket::TodayHigh(uint32_t key) const { return Column(key, 'K', 1); }
float AlarmMarket::OpenPrice(uint32_t key) const { return Column(key, 'G'); }

float AlarmMarket::CloseDaysBack(uint32_t key, int days) const
{
    if (const float close = Column(key, 'H', 0, days); close > 0)
        return close;
    const auto& previous = TheRTEngineHooks().previousClose;
    return days == 1 && previous ? previous(RTKeyShare(key)) : 0.0f;
}

std::vector<AlarmQuote> AlarmMarket::Quotes(uint32_t key) const
{
    IntradayDay day;
    std::vector<AlarmQuote> quotes;
    if (!DecodeToday(key, day, kDecodeKeepQuotes))
        return quotes;
    for (const TickItem& item : day.quoteItems.items)
        quotes.push_back({item.time, item.second, item.first, item.flags});
    return quotes;
}

bool AlarmMarket::Bars(uint32_t key, int32_t barLength, int32_t, int32_t end, std::vector<AlarmBar>& bars,
                       int32_t& firstTime) const
{
    IntradayDay day;
    day.slotLength = barLength;
    day.endTime = end;
    if (!DecodeToday(key, day, kDecodeBars))
        return false;
    bars.clear();
    for (const auto& b : day.bars.bars)
        bars.push_back({b.open, b.high, b.low, b.close});
    firstTime = day.bars.start;
    return !bars.empty();
}

float AlarmMarket::HighSince(uint32_t key, uint32_t from) const
{
    const PackedDate today = Today(), startDay = PackedDateFromTime(std::time_t(from));
    float high = TodayHigh(key);
    if (startDay <= today) {
        const uint32_t after = SecondsOfDayFromTime(std::time_t(from));
        for (const AlarmQuote& q : startDay == today ? Quotes(key) : DayQuotes(key, startDay))
            if (!(q.flags & 3) && uint32_t(q.time) > after && q.bid > 0 && q.offer > 0)
                high = std::max(high, (q.bid + q.offer) / 2);
    }
    if (startDay < today)
        high = std::max(high, DailyHighBetween(key, startDay, today));
    return high > 0 ? high : 0.0f;
}

std::vector<AlarmQuote> AlarmMarket::DayQuotes(uint32_t key, PackedDate day) const
{
    std::vector<AlarmQuote> quotes;
    // Loading a stored day changes the store's chain: no reader may walk it meanwhile.
    ExclusiveLockGuard lock(IntradayStoreLock());
    RTDayRecord* record = GetRTDay(day, false);
    int32_t slot = -1;
    RTDayShareEntry* entry = record ? GetRTDayShare(key, *record, slot, false) : nullptr;
    const uint32_t* words = entry ? GetRTShareTickData(*entry, *record, kRTLoadAllTicks) : nullptr;
    if (!words)
        return quotes;
    const size_t used = std::min<size_t>(entry->ticks.size(), std::max<uint32_t>(entry->tickCount, kRTSummaryWords));
    for (const RTStoredItem& item :
         ReadRTStoredTicks(std::span(words, used), entry->streamOffset, entry->loadFlags & kRTLoadPounds))
        if (item.kind == RTStoredItem::Quote)
            quotes.push_back({int32_t(item.time), item.value2, item.value1, 0});
    return quotes;
}

float AlarmMarket::DailyHighBetween(uint32_t key, PackedDate after, PackedDate before) const
{
    // The end-of-day database holds London's shares.
    uint8_t* record = (key >> 16) == 0 ? FindShareRecord(RTKeyShare(key)) : nullptr;
    return record ? GetHighestHighBetween(record, 0, after, before) : 0.0f;
}

std::vector<uint32_t> AlarmMarket::UpdatesSince(uint16_t& index) const
{
    std::vector<RecentTrade> trades;
    index = ReadRTRecentTrades(index, trades);
    std::vector<uint32_t> keys;
    for (const RecentTrade& t : trades)
        keys.push_back(MakeRTKey(t.exchange, t.share));
    return keys;
}

std::vector<uint32_t> AlarmMarket::SourceShares(RTAlarmSettings& settings) const
{
    std::vector<uint32_t> keys;
    if (settings.source == 2) {
        if (const Portfolio* p = UserPortfolio(settings.portfolio)) {
            for (uint32_t i = 0; i < CountPortfolioEntries(*p); ++i)
                if (const uint16_t id = EntryRecordId(p->entries[i]); id)
                    keys.push_back(MakeRTKey(0, id));
            return keys;
        }
        // The chosen portfolio is gone: the whole list, and the fields reset.
        settings.source = 0;
        settings.portfolio = 0;
    }
    const auto& database = TheRTEngineHooks().databaseShares;
    if (!database)
        return keys;
    for (uint16_t share : database()) {
        const uint8_t* record = FindShareRecord(share);
        if (settings.source == 1 && (!record || RecordIndexBits(RecordFlags(record)) != kIndexFtse100))
            continue;
        keys.push_back(MakeRTKey(0, share));
    }
    return keys;
}

bool CollectAlarmLines(std::span<const uint8_t> item, uint32_t shareKey, uint32_t today, std::vector<ShareLine>& lines)
{
    if (!SectionsSound(item))
        return false;
    std::vector<uint8_t> copy(item.begin(), item.end());
    ForEachPackedObject(copy, [&](LineObjectKind kind, std::span<uint8_t> o) {
        // A line study of subtype 0 with its alarm word and two points.
        if (kind != LineObjectKind::LineStudy || o.size() < 32 || LoadU32(o.data()) != 0)
            return;
        // The alarm word is the side the price stood on when the chart set it; another word is damage.
        const uint16_t alarm = LoadU16(o.data() + 12);
        if ((alarm != kLineSideBelow && alarm != kLineSideAbove) || int8_t(o[15]) < 2)
            return;
        AlarmLine line;
        line.time1 = LoadU32(o.data() + 16);
        line.price1 = LoadF32(o.data() + 20);
        line.time2 = LoadU32(o.data() + 24);
        line.price2 = LoadF32(o.data() + 28);
        if (!std::isfinite(line.price1) || !std::isfinite(line.price2))
            return;
        line.extend = (LoadU16(o.data() + 6) & 3) != 0;
        line.fallBelow = alarm == kLineSideAbove;
        if (line.time1 / 86400 == today && line.time2 / 86400 == today)
            lines.push_back({shareKey, line});
    });
    return true;
}

bool AlarmMarket::Lines(std::vector<ShareLine>& lines) const
{
    // Drawn lines stand at seconds from 2000 on the program calendar, whose day numbers are not the
    // clock's days from 1970.
    const uint32_t today = DateToCalendarIndex(Today()) / 86400;
    bool sound = true;
    LinesAndTextStore().ForEachItem([&](const KeyedItemKey& key, const uint8_t* blob) {
        if (sound && key.kind == kIntradayLinesKind && blob)
            sound = CollectAlarmLines({blob, BlobLength(blob)}, key.share, today, lines);
    });
    if (!sound)
        ShowMessage("There appears to be serious corruption in the line/text database.", {}, MsgButtons::Ok);
    return sound;
}

} // namespace qv
