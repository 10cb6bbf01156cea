// Expansion of stored tick words into time-ordered ticks, trade classes and roll-up into bars.
#include "realtime/store/RTTickExpansion.h"

#include "core/TableLock.h"
#include "platform/DebugOutput.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickCoding.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace qv {
namespace {

constexpr uint32_t kBlockMargin = 21;

struct TimeNode {
    uint32_t time = 0;
    std::vector<const RTStoredItem*> items;
};

uint16_t TickKind(RTStoredItem::Kind k)
{
    switch (k) {
    case RTStoredItem::Quote: return kTickQuote;
    case RTStoredItem::Trade: return kTickTrade;
    default: return kTickOther;
    }
}

// Items grouped by their record time, in ascending time (items before any time belong to 0).
std::vector<TimeNode> BuildTimeNodes(const std::vector<RTStoredItem>& items)
{
    std::map<uint32_t, TimeNode> nodes;
    TimeNode* current = &nodes[0];
    for (const RTStoredItem& item : items) {
        if (item.kind == RTStoredItem::Time) {
            current = &nodes[item.time];
            current->time = item.time;
            continue;
        }
        current->items.push_back(&item);
    }
    std::vector<TimeNode> out;
    out.reserve(nodes.size());
    for (auto& [time, node] : nodes)
        if (!node.items.empty())
            out.push_back(std::move(node));
    return out;
}

RTShareDayBlock& DayBlock(RTActiveShare& share, PackedDate day)
{
    if (RTShareDayBlock* b = FindRTShareDay(share, day))
        return *b;
    auto at = std::find_if(share.days.begin(), share.days.end(), [&](const auto& b) { return b->day < day; });
    auto made = std::make_unique<RTShareDayBlock>();
    made->day = day;
    return **share.days.insert(at, std::move(made));
}

void WriteTicks(RTShareDayBlock& block, const std::vector<TimeNode>& nodes, uint32_t mode)
{
    block.ticks.clear();
    block.ticks.reserve(nodes.size() + kBlockMargin);
    block.quotes = block.others = block.trades = 0;
    for (const TimeNode& node : nodes) {
        size_t stamp = block.ticks.size();
        block.ticks.push_back({0, kRTTradeUnknown, kTickTime, node.time, 0});
        std::vector<std::pair<float, float>> written;
        for (const RTStoredItem* item : node.items) {
            bool zero = item->value1 == 0.0f || item->value2 == 0.0f;
            if (zero && !(mode & kRTExpandKeepAll))
                continue;
            std::pair<float, float> values{item->value1, item->value2};
            if (item->repeated && std::find(written.begin(), written.end(), values) != written.end())
                continue;
            if (item->repeated)
                written.push_back(values);
            IntradayTick t{0, kRTTradeUnknown, TickKind(item->kind)};
            t.SetF(item->value1, item->value2);
            block.ticks.push_back(t);
            uint16_t kind = t.Kind();
            (kind == kTickQuote ? block.quotes : kind == kTickTrade ? block.trades : block.others) += 1;
        }
        uint32_t behind = uint32_t(block.ticks.size() - stamp - 1);
        if (behind == 0)
            block.ticks.pop_back();
        else
            block.ticks[stamp].value2 = behind << 16;
    }
    block.count = uint32_t(block.ticks.size());
    block.ticks.push_back({});
}

// Instrument days: a zero field takes the last non-zero value of that field of its kind, or -2.0
// before there is one.
void FillInstrumentGaps(RTShareDayBlock& block)
{
    float last[2][2] = {{0, 0}, {0, 0}};
    for (IntradayTick& t : block.ticks) {
        uint16_t kind = t.Kind();
        if (kind != kTickQuote && kind != kTickTrade)
            continue;
        float* seen = last[kind == kTickTrade];
        float v[2] = {t.F1(), t.F2()};
        for (int i = 0; i < 2; ++i) {
            if (v[i] != 0.0f)
                seen[i] = v[i];
            else
                v[i] = seen[i] != 0.0f ? seen[i] : -2.0f;
        }
        t.SetF(v[0], v[1]);
    }
}

bool IsWeekend(PackedDate day) { return WeekdayOf(day) >= 5; }

} // namespace

uint32_t RTRollUpSeconds(uint8_t level)
{
    constexpr uint32_t kSeconds[5] = {0, 60, 300, 600, 900};
    return kSeconds[std::min<uint8_t>(level, 4)];
}

bool LoadRTActiveShareDay(RTDayRecord* day, RTActiveShare* share, uint32_t mode)
{
    RTStore& s = TheRTStore();
    if (!day || day->day == 0 || !share || !s.workAreaReady || IsWeekend(day->day))
        return false;
    int32_t slot = -1;
    RTDayShareEntry* entry = GetRTDayShare(share->key, *day, slot, false);
    if (!entry || (entry->tickCount == 0 && entry->ticks.empty() && !entry->keptMarker))
        return false;
    RTShareDayBlock* existing = FindRTShareDay(*share, day->day);
    if (existing && existing->count && !(mode & kRTExpandKeepAll))
        return false;
    bool instrument = entry->flags & kRTEntryNotInDatabase;
    if (instrument && !(entry->flags & kRTEntryInstrumentApplied))
        return false;
    if (CurrentRTDay() == day && share->latestDay != day->day) {
        share->latestDay = day->day;
        share->exchange = entry->exchange;
        share->source = entry->source;
    }
    RTShareDayBlock* block = nullptr;
    {
        TableLockGuard lock(&s.workAreaLock);
        const uint32_t* words = GetRTShareTickData(*entry, *day, kRTLoadAllTicks);
        if (!words)
            return false;
        size_t used = std::min<size_t>(entry->ticks.size(), std::max<uint32_t>(entry->tickCount, kRTSummaryWords));
        auto items = ReadRTStoredTicks(std::span(words, used), entry->streamOffset, entry->loadFlags & kRTLoadPounds);
        block = &DayBlock(*share, day->day);
        WriteTicks(*block, BuildTimeNodes(items), mode);
    }
    if (instrument)
        FillInstrumentGaps(*block);
    if (s.rollUpLevel > 4)
        s.rollUpLevel = 4;
    if (s.rollUpLevel && day->day != s.newestDaySeen)
        RollUpRTTicks(day->day, *block, RTRollUpSeconds(s.rollUpLevel), true);
    share->needsReload = 0;
    share->loadStamp = ++s.loadCounter;
    block->loadStamp = share->loadStamp;
    return true;
}

void ClassifyRTTrades(RTShareDayBlock& block, uint32_t& buys, uint32_t& sells)
{
    buys = sells = 0;
    float offer = 0.0f, bid = 0.0f;
    for (IntradayTick& t : block.ticks) {
        uint16_t kind = t.Kind();
        if (t.type == kTickEnd)
            break;
        if (kind == kTickQuote) {
            if (t.F1() != 0.0f)
                offer = t.F1();
            if (t.F2() != 0.0f)
                bid = t.F2();
        } else if (kind == kTickTrade) {
            t.tradeClass = RTTradeClass(t.F1(), offer, bid);
            buys += t.tradeClass == kRTTradeBuy;
            sells += t.tradeClass == kRTTradeSell;
        }
    }
}

namespace {

struct Bar {
    uint32_t number = 0;
    bool quotes = false;
    float offer = 0, bid = 0, midHigh = 0, midLow = 0;
    double value = 0, volume = 0;
    bool trades = false;
    int firstNoted = -1, secondNoted = -1;
};

std::vector<IntradayTick> RollUp(const RTShareDayBlock& block, uint32_t seconds, bool markTrades)
{
    if (seconds == 0)
        throw std::invalid_argument("bar length 0");
    // The day's first two trades with a price and a volume, when marked.
    int noted[2] = {-1, -1};
    if (markTrades) {
        int found = 0;
        bool afterStamp = false;
        for (size_t i = 0; i < block.count && found < 2; ++i) {
            const IntradayTick& t = block.ticks[i];
            if (t.Kind() == kTickTime)
                afterStamp = true;
            else if (afterStamp && t.Kind() == kTickTrade && t.F1() != 0.0f && t.F2() != 0.0f)
                noted[found++] = int(i);
        }
    }
    std::vector<Bar> bars;
    for (size_t i = 0; i < block.count; ++i) {
        const IntradayTick& t = block.ticks[i];
        uint16_t kind = t.Kind();
        if (kind == kTickTime) {
            uint32_t number = t.value1 / seconds;
            if (bars.empty() || bars.back().number != number)
                bars.push_back({number});
            continue;
        }
        if (bars.empty())
            bars.push_back({0});
        Bar& b = bars.back();
        if (kind == kTickQuote && t.F1() != 0.0f && t.F2() != 0.0f) {
            float mid = (t.F1() + t.F2()) / 2.0f;
            b.midHigh = b.quotes ? std::max(b.midHigh, mid) : mid;
            b.midLow = b.quotes ? std::min(b.midLow, mid) : mid;
            b.offer = t.F1();
            b.bid = t.F2();
            b.quotes = true;
        } else if (kind == kTickTrade) {
            b.trades = true;
            b.value += double(t.F1()) * t.F2();
            b.volume += t.F2();
            if (int(i) == noted[0])
                b.firstNoted = int(i);
            if (int(i) == noted[1])
                (b.firstNoted < 0 ? b.firstNoted : b.secondNoted) = int(i);
        }
    }
    std::vector<IntradayTick> out;
    out.reserve(bars.size() * 5 + 1);
    for (const Bar& b : bars) {
        if (!b.quotes && !b.trades)
            continue;
        size_t stamp = out.size();
        out.push_back({0, kRTTradeUnknown, kTickTime, b.number * seconds, 0});
        if (b.quotes) {
            IntradayTick q{0, kRTTradeUnknown, kTickQuote};
            q.SetF(b.offer, b.bid);
            IntradayTick m{0, kRTTradeUnknown, kTickOther};
            m.SetF(b.midHigh, b.midLow);
            out.push_back(q);
            out.push_back(m);
        }
        auto marked = [&](int index) {
            IntradayTick t = block.ticks[size_t(index)];
            t.type = kTickMarkedTrade;
            out.push_back(t);
        };
        if (b.firstNoted >= 0)
            marked(b.firstNoted);
        if (b.trades) {
            IntradayTick avg{0, kRTTradeUnknown, kTickBarAverage};
            avg.SetF(b.volume > 0 ? float(b.value / b.volume) : 0.0f, float(b.volume));
            out.push_back(avg);
        }
        if (b.secondNoted >= 0)
            marked(b.secondNoted);
        out[stamp].value2 = uint32_t(out.size() - stamp - 1) << 16;
    }
    return out;
}

} // namespace

void RollUpRTTicks(PackedDate, RTShareDayBlock& block, uint32_t secondsPerBar, bool markTrades)
{
    try {
        std::vector<IntradayTick> bars = RollUp(block, secondsPerBar, markTrades);
        block.quotes = block.others = block.trades = 0;
        for (const IntradayTick& t : bars) {
            uint16_t kind = t.Kind();
            block.quotes += kind == kTickQuote;
            block.others += kind == kTickOther;
            block.trades += kind == kTickTrade;
        }
        block.count = uint32_t(bars.size());
        bars.push_back({});
        block.ticks = std::move(bars);
    } catch (const std::exception&) {
        OutputDebugText("Error rolling up intraday data");
    }
}

} // namespace qv
