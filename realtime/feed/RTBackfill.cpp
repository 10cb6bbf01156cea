// The backfill's requests, its gap search, the status answer and the writing of answer items.
#include "realtime/feed/RTBackfill.h"

#include "core/ReadersWriterLock.h"
#include "platform/ByteOrder.h"
#include "platform/DebugOutput.h"
#include "realtime/feed/FeedBits.h"
#include "realtime/feed/FeedLimits.h"
#include "realtime/feed/FeedRecord.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickCoding.h"

#include <algorithm>
#include <optional>

namespace qv {
namespace {

constexpr size_t kRowBytes = 1544;
constexpr size_t kRowHeaderBytes = 8;
constexpr int kItemWidths[8] = {20, 16, 13, 11, 9, 7, 4, 1};
constexpr double kItemScales[8] = {0.01, 0.1, 1, 10, 100, 1000, 10000, 100000};
constexpr uint32_t kMarkEveryMs = 2000;

void SetBits(RTRequestRecord& r, int pos, int n, uint32_t value)
{
    for (int i = 0; i < n; ++i, ++pos)
        if ((value >> i) & 1u)
            r[size_t(pos / 8)] |= uint8_t(1u << (pos % 8));
}

uint32_t GetBits(std::span<const uint8_t, 10> r, int pos, int n)
{
    uint32_t v = 0;
    for (int i = 0; i < n; ++i, ++pos)
        v |= uint32_t((r[size_t(pos / 8)] >> (pos % 8)) & 1u) << i;
    return v;
}

const uint8_t* Row(const RTDayRecord& day, int source)
{
    if (day.coverage.size() < kRTCoverageBytes || source < 0 || source >= 15)
        return nullptr;
    return day.coverage.data() + size_t(source) * kRowBytes;
}

uint32_t SlotBits(const uint8_t* row, uint32_t slot)
{
    return (row[kRowHeaderBytes + slot / 4] >> (2 * (slot % 4))) & 3u;
}

// The value of an answer item's price: a 3-bit scale, a 3-bit width index and the value.
struct ItemPrice {
    double price = 0;
    uint32_t code = 0;
};
ItemPrice ReadItemPrice(FeedBitStream& s)
{
    uint32_t scale = s.ReadBits(3);
    uint32_t value = s.ReadBits(kItemWidths[s.ReadBits(3) & 7]);
    return {double(value) * kItemScales[scale & 7], scale * 0x100000u + value};
}

void MarkWatchListsThrottled(uint32_t now)
{
    RTBackfillCounts& c = TheRTBackfillCounts();
    if (!TheRTEngine().running)
        return;
    c.pending = true;
    if (c.marked && now - c.lastMark < kMarkEveryMs)
        return;
    c.pending = false;
    c.marked = true;
    c.lastMark = now;
    ++c.marks;
    try {
        for (RTWatchList* list : TheRTStore().watchLists) {
            list->dirty = 1;
            list->newData = 1;
            PostRTViewMessage(*list, 0, 0, true);
        }
    } catch (...) {
        OutputDebugText("Exception RTMain - removeViewShare");
    }
}

// Entries that got records older than their last: written again in time order once the answer is in.
std::vector<std::pair<PackedDate, uint32_t>>& Unsorted()
{
    static std::vector<std::pair<PackedDate, uint32_t>> entries;
    return entries;
}

void SortUnsortedEntries()
{
    auto& unsorted = Unsorted();
    if (unsorted.empty())
        return;
    ExclusiveLockGuard lock(IntradayStoreLock());
    for (const auto& [date, key] : unsorted) {
        RTDayRecord* day = GetRTDay(date, false);
        int32_t slot = -1;
        RTDayShareEntry* e = day ? GetRTDayShare(key, *day, slot, false) : nullptr;
        if (!e)
            continue;
        SortRTEntryTicks(*e);
        RebuildRTSummary(*e, *day);
        if (RTActiveShare* active = FindRTActiveShare(key))
            active->needsReload = 1;
    }
    unsorted.clear();
}

void StoreItem(PackedDate date, uint16_t share, uint32_t time, int kind, double first, double second, bool pounds)
{
    ExclusiveLockGuard lock(IntradayStoreLock());
    // Only a day the store holds takes answers: a server cannot make it hold days of its choosing.
    RTDayRecord* day = GetRTDay(date, false);
    if (!day)
        return;
    int32_t slot = -1;
    uint32_t key = MakeRTKey(0, share);
    bool existed = GetRTDayShare(key, *day, slot, false) != nullptr;
    RTDayShareEntry* e = GetRTDayShare(key, *day, slot, true);
    if (!e || (e->fileOffset && !(e->loadFlags & kRTLoadAllTicks) && !GetRTShareTickData(*e, *day, kRTLoadAllTicks)))
        return;
    // The ceilings of live records hold for answers too.
    if (e->tickCount >= kFeedMaxShareDayWords || day->feedWords >= kFeedMaxDayWords) {
        NoteFeedDrop(FeedLimit::LiveRecords);
        return;
    }
    const uint32_t wordsBefore = e->tickCount;
    if (!existed && pounds)
        e->loadFlags |= kRTLoadPounds;
    if (time && time < e->lastRecordTime) {
        auto& unsorted = Unsorted();
        if (std::find(unsorted.begin(), unsorted.end(), std::pair{date, key}) == unsorted.end())
            unsorted.emplace_back(date, key);
    }
    RTTickWriter w(*e);
    RTDaySummary s = ReadRTDaySummary(std::span<const uint32_t, kRTSummaryWords>(e->ticks.data(), kRTSummaryWords));
    w.Time(time, true);
    RTActiveShare* active = FindRTActiveShare(key);
    if (kind == 1) {
        if (active)
            MarkRTTickChange(*active, 0, 2, float(second), float(first), s.offer, s.bid);
        AddRTSummaryQuote(s, time, float(second), float(first));
        w.PriceItem(0, float(second), 0, float(first), std::nullopt);
        ++TheRTBackfillCounts().quotes;
    } else {
        if (active)
            MarkRTTickChange(*active, 0, 1, float(first), 0, s.lastTrade, 0);
        AddRTSummaryTrade(s, time, float(first), float(second));
        w.BackfillTrade(float(first), uint32_t(second), 0);
        ++TheRTBackfillCounts().trades;
    }
    WriteRTDaySummary(s, std::span<uint32_t, kRTSummaryWords>(e->ticks.data(), kRTSummaryWords));
    e->loadFlags |= kRTLoadWritten | kRTLoadAllTicks;
    day->flags |= kRTLoadWritten;
    day->feedWords += e->tickCount - std::min(e->tickCount, wordsBefore);
    MarkRTCovered(*day, e->source, time);
    if (active)
        active->needsReload = 1;
}

} // namespace

RTRequestRecord PackRTRequestRecord(PackedDate day, uint8_t sourceOrKind, uint32_t start, uint32_t end, uint16_t sequence)
{
    RTRequestRecord r{};
    SetBits(r, 0, 16, day);
    SetBits(r, 16, 5, sourceOrKind >= 26 ? sourceOrKind - 25u : sourceOrKind);
    SetBits(r, 21, 17, start);
    SetBits(r, 42, 17, end);
    SetBits(r, 63, 16, sequence);
    return r;
}

RTRequestFields UnpackRTRequestRecord(std::span<const uint8_t, 10> r)
{
    return {PackedDate(GetBits(r, 0, 16)), uint8_t(GetBits(r, 16, 5)), GetBits(r, 21, 17), GetBits(r, 42, 17),
            uint16_t(GetBits(r, 63, 16))};
}

void MarkRTCovered(RTDayRecord& day, int source, uint32_t seconds)
{
    MarkRTCoveredRange(day, source, seconds, seconds);
}

void MarkRTCoveredRange(RTDayRecord& day, int source, uint32_t from, uint32_t to)
{
    if (source < 0 || source >= 15)
        return;
    if (day.coverage.size() < kRTCoverageBytes)
        day.coverage.assign(kRTCoverageBytes, 0);
    const uint32_t firstSlot = std::min(from / 15, kRTCoverageSlots - 1);
    const uint32_t lastSlot = std::max(firstSlot, std::min(to / 15, kRTCoverageSlots - 1));
    uint8_t* row = day.coverage.data() + size_t(source) * kRowBytes;
    for (uint32_t slot = firstSlot; slot <= lastSlot; ++slot)
        row[kRowHeaderBytes + slot / 4] |= uint8_t(1u << (2 * (slot % 4)));
    uint32_t first = LoadU32(row), last = LoadU32(row + 4);
    if (first == 0 || firstSlot < first)
        StoreU32(row, firstSlot ? firstSlot : 1);
    if (lastSlot > last)
        StoreU32(row + 4, lastSlot);
}

void ClearRTDaySources(RTDayRecord& day, uint32_t mask, int source)
{
    auto matches = [&](int s) { return s == source || (s >= 0 && s < kFeedSources && (kFeedSourceMasks[s] & mask)); };
    for (RTDayShareEntry& e : day.entries) {
        if (!matches(e.source))
            continue;
        day.feedWords -= std::min<uint64_t>(day.feedWords, e.tickCount);
        RTDayShareEntry cleared;
        cleared.key = e.key;
        cleared.exchange = e.exchange;
        cleared.source = e.source;
        cleared.flags = e.flags;
        cleared.loadFlags = uint16_t((e.loadFlags & kRTLoadPounds) | kRTLoadWritten);
        e = std::move(cleared);
        if (RTActiveShare* a = FindRTActiveShare(e.key)) {
            auto& days = a->days;
            days.erase(std::remove_if(days.begin(), days.end(), [&](const auto& b) { return b->day == day.day; }), days.end());
            a->needsReload = 1;
        }
    }
    if (day.coverage.size() >= kRTCoverageBytes)
        for (int s = 0; s < kFeedSources; ++s)
            if (matches(s))
                std::fill_n(day.coverage.begin() + long(size_t(s) * kRowBytes), kRowBytes, uint8_t(0));
    day.flags |= kRTLoadWritten;
}

bool FindRTCoverageGap(const RTDayRecord& day, int source, uint32_t& first, uint32_t& end, uint32_t limit)
{
    limit = std::min(limit ? limit : kRTCoverageSlots, kRTCoverageSlots);
    const uint8_t* row = Row(day, source);
    if (!row) {
        end = limit;
        return end > first;
    }
    while (first < kRTCoverageSlots && SlotBits(row, first))
        ++first;
    if (first >= kRTCoverageSlots)
        return false;
    end = first;
    while (end < kRTCoverageSlots && !SlotBits(row, end))
        ++end;
    end = std::min(end, limit);
    return end > first;
}

uint32_t CountRTCoveredSlots(const RTDayRecord& day, int source, uint32_t from, uint32_t to)
{
    const uint8_t* row = Row(day, source);
    if (!row)
        return 0;
    from = std::max(from, LoadU32(row));
    to = std::min({to, LoadU32(row + 4) + 1, kRTCoverageSlots});
    uint32_t n = 0;
    for (uint32_t slot = from; slot < to; ++slot)
        n += SlotBits(row, slot) != 0;
    return n;
}

int RequestRTShareList(RTDayRecord& day, bool ask, const FeedSender& send)
{
    uint32_t keys[10];
    size_t n = BuildRTRequestList(day, keys, 10);
    uint8_t date[2];
    StoreU16(date, day.day);
    if (n) {
        if (ask && send(date, kRequestDay) < 0)
            return -1;
        uint8_t bytes[40];
        for (size_t i = 0; i < n; ++i)
            StoreU32(bytes + 4 * i, keys[i]);
        return send(std::span(bytes, 4 * n), kRequestShares) < 0 ? -1 : 0;
    }
    if (!ask)
        return send(date, kRequestNoShares) < 0 ? -1 : 0;
    return 0;
}

int NextRTBackfillRequest(RTBackfillDay& b, RTDayRecord& day, bool askShares, const FeedSender& send)
{
    // Queued requests come from the backfill dialog; none is queued without it.
    b.queueSent = true;
    bool sent = false, searched = false;
    int result = 0;
    if (b.gapSearch) {
        uint32_t mask = b.mask ? b.mask : 0x300;
        b.statsPrepared = true;
        while (b.source <= 14 && !sent) {
            uint32_t first = b.nextSlot, end = 0;
            if (!(kFeedSourceMasks[b.source] & mask) || b.nextSlot >= kRTCoverageSlots ||
                !FindRTCoverageGap(day, b.source, first, end)) {
                ++b.source;
                b.nextSlot = 0;
                b.gapRequests = 0;
                b.gapFirst = b.gapEnd = 0;
                continue;
            }
            searched = true;
            b.nextSlot = end;
            // The rest of the day, once something was asked for the source or once its day has begun,
            // is still to come: the live feed brings it, and an answer for it would store it twice.
            if (end >= kRTCoverageSlots && (b.gapRequests > 0 || CountRTCoveredSlots(day, b.source, 0, first) > 0))
                continue;
            result = send(PackRTRequestRecord(day.day, b.source, first * 15, end * 15), kRequestGap);
            if (result < 0)
                return -1;
            b.gapFirst = first;
            b.gapEnd = end;
            ++b.gapRequests;
            sent = true;
        }
        if (b.source > 14)
            b.gapSearch = false;
    }
    if (!sent && askShares) {
        size_t before = CountRTRequested(day);
        result = RequestRTShareList(day, true, send);
        sent = CountRTRequested(day) > before;
    }
    if (!sent) {
        // Complete: the day is made ready for use.
        b.finished = true;
        PrepareRTDay(day);
        return result;
    }
    if (searched)
        result = send({}, kRequestMore);
    return result;
}

int ReadRTStatusAnswer(std::span<const uint8_t> answer, RTStatusTables& tables)
{
    FeedBitStream s(answer);
    uint32_t count = s.ReadBits(6);
    RTStatusTables read;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t index = s.ReadBits(6);
        int width = s.ReadBits(1) ? 24 : 18;
        uint32_t first = s.ReadBits(width), second = index >= 25 ? s.ReadBits(width) : 0;
        if (index < 40) {
            read.first[index] = first;
            read.second[index] = second;
        }
    }
    if (s.overrun())
        return 0;
    tables = read;
    return int(s.bytesUsed());
}

size_t ApplyRTTickItem(std::span<const uint8_t> payload, int kind, int32_t share, PackedDate recordDay)
{
    FeedBitStream s(payload);
    uint32_t number = share >= 0 ? uint32_t(share) : s.ReadBits(20);
    PackedDate day = recordDay;
    if (kind != 3 && s.ReadBits(1))
        for (uint32_t back = s.ReadBits(6); back > 0 && day; --back)
            day = PreviousWeekday(day, false);
    uint32_t time = s.ReadBits(17);
    if (time > 86400)
        time = 0;
    s.ReadBits(kind == 2 ? 6 : kind == 1 ? 2 : 1);
    ItemPrice first = ReadItemPrice(s);
    ItemPrice second;
    if (kind == 1) {
        bool negative = s.ReadBits(1);
        second = ReadItemPrice(s);
        second.price = first.price + (negative ? -second.price : second.price);
    } else if (kind == 2) {
        second = ReadItemPrice(s);
    }
    bool pounds = s.ReadBits(1);
    // A 20-bit number above 0xFFFF would spill into the key's exchange.
    if (s.overrun() || number > 0xFFFF || number == 0 || day == 0)
        return 0;
    if (kind == 3 || kind == 0 || kind > 3)
        ++TheRTBackfillCounts().others;
    else if (first.code && second.code)
        StoreItem(day, uint16_t(number), time, kind, first.price, second.price, pounds);
    return s.bytesUsed();
}

int ApplyRTBackfillItems(std::span<const uint8_t> answer, uint32_t now)
{
    int applied = 0;
    size_t at = 0;
    bool damaged = false;
    while (at < answer.size() && !damaged) {
        if (answer.size() - at < 8) {
            damaged = true;
            break;
        }
        size_t length = LoadU16(answer.data() + at);
        uint16_t count = LoadU16(answer.data() + at + 2);
        PackedDate day = LoadU16(answer.data() + at + 6);
        if (length < 8 || length > answer.size() - at) {
            damaged = true;
            break;
        }
        std::span<const uint8_t> items = answer.subspan(at + 8, length - 8);
        // A record whose items run past it is refused whole.
        size_t end = 0;
        for (uint16_t i = 0; i < count && end <= items.size(); ++i)
            end = end < items.size() ? end + 1 + (items[end] & 31) : items.size() + 1;
        if (end > items.size()) {
            damaged = true;
            break;
        }
        // Quotes and the rest first, then the trades, so a trade meets the quote of its time.
        for (bool trades : {false, true}) {
            size_t p = 0;
            for (uint16_t i = 0; i < count; ++i) {
                int kind = items[p] >> 5;
                size_t n = items[p] & 31;
                if ((kind == 2) == trades && ApplyRTTickItem(items.subspan(p + 1, n), kind, -1, day))
                    ++applied;
                p += 1 + n;
            }
        }
        at += length;
    }
    SortUnsortedEntries();
    if (applied)
        MarkWatchListsThrottled(now);
    return damaged ? -1 : applied;
}

void FlushRTBackfillMarks(uint32_t now)
{
    if (TheRTBackfillCounts().pending)
        MarkWatchListsThrottled(now);
}

RTBackfillCounts& TheRTBackfillCounts()
{
    static RTBackfillCounts counts;
    return counts;
}

} // namespace qv
