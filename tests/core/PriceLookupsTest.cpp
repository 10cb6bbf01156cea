// Tests of single-day lookups in a record's price streams.
#include "core/PriceLookups.h"

#include "core/Database.h"
#include "core/LinesAndTextFiles.h"
#include "core/MovingAverage.h"
#include "core/PriceDayWalker.h"
#include "core/PriceStatistics.h"
#include "core/PriceStream.h"
#include "core/PriceSubRecords.h"
#include "core/PriceWalkIndex.h"
#include "core/RecordAccess.h"
#include "devtools/lib/PriceDatabase.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

using namespace qv;
using namespace qv::test;

namespace {

const uint16_t kMonday = Date(2006, 1, 2);

// Closes (scale 100, so pence / 100): Mon 2 Jan 5, Tue 6, Wed (no data), Thu 8, Fri 9, Mon 9 Jan 10.
std::vector<uint8_t> Week(uint8_t kind = 10)
{
    return Record(0x4001, {SubRecord(100, kMonday, {5, 1, 'A', 2, 1, 1, ' '}),
                           SubRecord(-10, kMonday, {'E', 1, 0x08, 3, 'D', 0, 0, 0, 0x40, 0x00, ' '})},
                  kind);
}

// Loads a random database of `records` records, 12 years each to the end of 2026, as the program
// loads a file; the image returned is what was loaded.
std::vector<uint8_t> LoadRandomDatabase(int records, unsigned seed)
{
    using namespace std::chrono;
    const dev::DemoDatabase db = dev::RandomDatabase(records, 12, sys_days{year{2026} / December / 31}, seed);
    std::vector<uint8_t> image = dev::WriteQuorvaDat(dev::DemoDbFile(db));
    LoadDatabaseFromMemory(image, nullptr);
    return image;
}

} // namespace

TEST(PriceLookups, FindPriceOnDate)
{
    struct {
        uint8_t kind;
        uint16_t date;
        bool keepLast;
        float close;
        bool found;
    } cases[] = {
        {10, Date(2006, 1, 3), false, 0.06f, true},
        {10, Date(2006, 1, 4), false, 0.08f, true},   // a day without data: the next day
        {10, Date(2006, 1, 7), false, 0.09f, true},   // Saturday: the Friday before
        {10, Date(2006, 1, 1), false, 0, true},       // before the first day
        {10, Date(2006, 1, 10), false, 0, false},     // past the end
        {10, Date(2006, 1, 10), true, 0.10f, true},
        {14, Date(2006, 1, 10), false, 0.10f, true},  // unit trusts keep the last day
        {14, Date(2006, 1, 7), false, 0.08f, true},   // not exact: the day before
        {14, Date(2006, 1, 6), false, 0.09f, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << int(c.kind) << " date " << c.date);
        std::vector<uint8_t> record = Week(c.kind);
        DayRecord day;
        const uint8_t* p = FindPriceOnDate(record.data(), 0, c.date, c.keepLast, &day);
        EXPECT_EQ(p != nullptr, c.found);
        EXPECT_FLOAT_EQ(day.close, c.close);
        EXPECT_FLOAT_EQ(GetPriceOnDate(record.data(), 0, c.date, c.keepLast), c.close);
    }
}

TEST(PriceLookups, RawPriceIsTheRunningIntegerOverTheScale)
{
    std::vector<uint8_t> record = Week();
    EXPECT_FLOAT_EQ(GetRawPriceOnDate(record.data(), 0, Date(2006, 1, 6), false), 0.09f);
    // Second stream: scale -10, 3 (30.0), then unit 2.0 stored (20.0 a step): 60.0, raw 3 x 10.
    EXPECT_FLOAT_EQ(GetPriceOnDate(record.data(), 1, Date(2006, 1, 3), false), 60);
    EXPECT_FLOAT_EQ(GetRawPriceOnDate(record.data(), 1, Date(2006, 1, 3), false), 30);
}

TEST(PriceLookups, DaysCountedFromTheEnd)
{
    std::vector<uint8_t> record = Week();
    DayRecord day;
    GetDayRecordFromEnd(record.data(), 0, 0, &day);
    EXPECT_EQ(day.date, Date(2006, 1, 9));
    GetDayRecordFromEnd(record.data(), 0, 4, &day);
    EXPECT_EQ(day.date, kMonday);
    GetDayRecordFromEnd(record.data(), 0, 5, &day);
    EXPECT_EQ(day.date, 0);
    EXPECT_FLOAT_EQ(GetPriceDaysBack(record.data(), 0, 1), 0.09f);
    EXPECT_EQ(GetPriceDaysBack(record.data(), 0, 5), 0);
    EXPECT_FLOAT_EQ(AveragePriceLastDays(record.data(), 0, 2), 0.095f);
    EXPECT_FLOAT_EQ(AveragePriceLastDays(record.data(), 0, 4), (0.06f + 0.08f + 0.09f + 0.10f) / 4);
    EXPECT_EQ(AveragePriceLastDays(record.data(), 0, 5), 0);
    EXPECT_EQ(GetLastPriceDate(record.data(), 0), Date(2006, 1, 9));
}

TEST(PriceLookups, OnlyTheAveragedDaysTakeCorrections)
{
    std::vector<uint8_t> record = Week();
    std::vector<DayRecord> corrections(2);
    corrections[0].date = kMonday;  // outside the last two days: ignored by the average
    corrections[0].close = 100;
    corrections[1].date = Date(2006, 1, 9);
    corrections[1].close = 1;
    std::vector<uint8_t> body(4, 0);  // the second head word; the blob adds its length word
    std::vector<uint8_t> records = CorrectionBytes(corrections);
    body.insert(body.end(), records.begin(), records.end());
    PriceCorrectionStore().SetItem(ShareItemKey(0x4001, 0), kPriceCorrectionKind, 0, MakeBlob(body));
    EXPECT_FLOAT_EQ(AveragePriceLastDays(record.data(), 0, 2), (0.09f + 1) / 2);
    EXPECT_FLOAT_EQ(GetPriceOnDate(record.data(), 0, kMonday, false), 100);
    EXPECT_FLOAT_EQ(GetPriceOnDate(record.data(), 1, kMonday, false), 30);
    PriceCorrectionStore().FreeItems();
}

TEST(PriceLookups, HighLowInRange)
{
    std::vector<uint8_t> record = Week();
    float high, low;
    uint16_t highDate, lowDate;
    GetHighLowInRange(record.data(), 0, Date(2006, 1, 2), &high, &highDate, &low, &lowDate);
    EXPECT_FLOAT_EQ(high, 0.10f);
    EXPECT_EQ(highDate, Date(2006, 1, 9));
    EXPECT_FLOAT_EQ(low, 0.06f);
    EXPECT_EQ(lowDate, Date(2006, 1, 3));
    GetHighLowInRange(record.data(), 0, Date(2006, 1, 9), &high, &highDate, &low, &lowDate);
    EXPECT_EQ(high, 0);
    EXPECT_EQ(lowDate, 0);

    // Daily highs strictly between two dates (the stream holds closes: each day's high is its close).
    struct {
        uint16_t after, before;
        float high;
    } between[] = {
        {Date(2006, 1, 2), Date(2006, 1, 9), 0.09f},  // Tuesday to Friday
        {Date(2006, 1, 1), Date(2006, 1, 4), 0.06f},  // Monday and Tuesday
        {Date(2006, 1, 6), Date(2006, 1, 31), 0.10f}, // the last day, before a later date
        {Date(2006, 1, 2), Date(2006, 1, 3), 0},      // no day between
        {Date(2006, 1, 9), Date(2006, 1, 31), 0},     // none after the last
    };
    for (const auto& c : between)
        EXPECT_FLOAT_EQ(GetHighestHighBetween(record.data(), 0, c.after, c.before), c.high) << c.after << " " << c.before;
    EXPECT_EQ(GetHighestHighBetween(nullptr, 0, 0, 0xFFFF), 0);
}

TEST(PriceLookups, DamagedOrMissingRecordsGiveNothing)
{
    std::vector<uint8_t> record = Week();
    record[22] = 0xF0;  // first sub-record past the record's end
    DayRecord day;
    EXPECT_EQ(FindPriceOnDate(record.data(), 0, kMonday, true, &day), nullptr);
    EXPECT_EQ(GetPriceDaysBack(record.data(), 0, 0), 0);
    EXPECT_EQ(GetLastPriceDate(nullptr, 0), 0);
    EXPECT_EQ(AveragePriceLastDays(nullptr, 0, 1), 0);
}

TEST(PriceLookups, MovingAverageAtADayOrADate)
{
    // Closes 1 .. 10 over two weeks from Monday 2 January.
    std::vector<uint8_t> record = Record(0x4003, {SubRecord(1, kMonday, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, ' '})});
    ComputeRecordStatistics(record.data());
    auto simple = [](uint32_t period) { return (period << 16) | (kSimpleAverage + 1); };
    MovingAverageCache cache;
    struct {
        int32_t when;
        uint32_t spec;
        float want;
    } cases[] = {
        {0, simple(5), 8},                      // (6 + 7 + 8 + 9 + 10) / 5
        {-2, simple(5), 6},                     // closes 4 .. 8
        {Date(2006, 1, 8), simple(5), 3},       // Sunday: up to Friday 6 January, closes 1 .. 5
        {Date(2006, 1, 3), simple(5), 1.2f},    // primed with the first close: 1, 1, 1, 1, 2
        {0, simple(4), 0},                      // a period below 5
        {0, 0, 10},                             // no type: the stored last close
        {-3, 0, 7},                             // no type: the day's close
        {Date(2006, 1, 1), simple(5), 0},       // before the first day
        {-10, simple(5), 0},                    // before the first day
        {0, (5u << 16) | (kExponentialAverage + 1), 0},  // checked below against a direct run
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.when << " " << c.spec);
        if (c.spec == ((5u << 16) | (kExponentialAverage + 1))) {
            auto ma = CreateMovingAverage(kExponentialAverage, 5, 0.0, 0);
            int32_t needed, leadIn;
            ma->Prepare(needed, leadIn);
            ma->Prime(1);
            double want = 0;
            for (int x = 1; x <= 10; ++x) {
                want = ma->Next(x);
                ma->DropOldest();
            }
            EXPECT_FLOAT_EQ(GetMovingAverageAt(record.data(), 0, c.when, c.spec, &cache), float(want));
            continue;
        }
        EXPECT_FLOAT_EQ(GetMovingAverageAt(record.data(), 0, c.when, c.spec, &cache), c.want);
        EXPECT_FLOAT_EQ(GetMovingAverageAt(record.data(), 0, c.when, c.spec, nullptr), c.want);
    }
}

// Lookups by date resume from the stream's walk checkpoints: on a long history every date, average
// and high/low gives what a walk from the first day gives.
TEST(PriceLookups, CheckpointedLookupsMatchAWholeWalk)
{
    const std::vector<uint8_t> image = LoadRandomDatabase(2, 7);
    uint8_t* record = MainRecordBlock;
    ASSERT_NE(RecordLength(record), 0u);
    const SubRecordSpan span = SubRecordOf(record, 0);
    ASSERT_TRUE(span);
    std::vector<DayRecord> days;
    for (PriceDayWalker w(span.sub, span.end, CorrectionCursor{}); w.next();)
        days.push_back(w.day());
    ASSERT_GT(days.size(), 2000u) << "long enough for several checkpoints";

    for (size_t i = 0; i + 1 < days.size(); i += 37) {
        const uint16_t date = uint16_t(days[i].date + 1); // between two days, or on a weekend
        const DayRecord* expected = nullptr;
        for (size_t j = 0; j < days.size() && !expected; ++j)
            if (days[j].date >= date || (j + 1 < days.size() && days[j + 1].date > date))
                expected = &days[j];
        ASSERT_TRUE(expected);
        EXPECT_FLOAT_EQ(GetPriceOnDate(record, 0, date, false), expected->close) << "date " << date;
    }
    for (uint32_t n : {5u, 700u, 1500u}) {
        double sum = 0;
        for (size_t j = days.size() - n; j < days.size(); ++j)
            sum += days[j].close;
        EXPECT_FLOAT_EQ(AveragePriceLastDays(record, 0, n), float(sum / n)) << n;
    }
    for (size_t from : {size_t(10), days.size() / 2, days.size() - 30}) {
        float high, low, wantHigh = 0, wantLow = 0;
        uint16_t highDate, lowDate;
        GetHighLowInRange(record, 0, days[from].date, &high, &highDate, &low, &lowDate);
        for (size_t j = from + 1; j < days.size(); ++j) {
            wantHigh = j == from + 1 ? days[j].close : std::max(wantHigh, days[j].close);
            wantLow = j == from + 1 ? days[j].close : std::min(wantLow, days[j].close);
        }
        EXPECT_FLOAT_EQ(high, wantHigh) << from;
        EXPECT_FLOAT_EQ(low, wantLow) << from;
        const size_t to = std::min(days.size() - 1, from + 700);
        float wantDailyHigh = 0;
        for (size_t j = from + 1; j < to; ++j)
            wantDailyHigh = std::max(wantDailyHigh, days[j].high);
        EXPECT_FLOAT_EQ(GetHighestHighBetween(record, 0, days[from].date, days[to].date), wantDailyHigh) << from;
    }
    FreeDatabase(true);
}

namespace {

// What a walk from the first day gives, over the days a whole walk decodes: the day n before the
// last, and the close GetMovingAverageAt takes for `when` (a date above 0, else days back from the
// last).
DayRecord WalkedDayFromEnd(const std::vector<DayRecord>& days, uint32_t n)
{
    return n < days.size() ? days[days.size() - 1 - n] : DayRecord{};
}

float WalkedCloseAt(const std::vector<DayRecord>& days, const std::vector<uint16_t>& nextDates, int32_t when)
{
    const int64_t target = when <= 0 ? int64_t(days.size()) - 1 + when : -1;
    if (when <= 0 && target < 0)
        return 0;
    float close = 0;
    for (size_t j = 0; j < days.size(); ++j) {
        if (when > 0 && days[j].date > uint16_t(when))
            break;
        close = days[j].close;
        if (int64_t(j) == target || (when > 0 && nextDates[j] > uint16_t(when)))
            break;
    }
    return close;
}

} // namespace

// The load's statistics pass leaves every stream's checkpoints behind (the first lookup builds
// nothing), and the lookups that count days from the end or want a close alone resume from them with
// the same answers a walk from the first day gives, also where dates wrap past the last year.
TEST(PriceLookups, CheckpointsComeWithTheLoadAndServeEveryLookupAsAWholeWalk)
{
    const std::vector<uint8_t> image = LoadRandomDatabase(3, 11);
    std::vector<std::vector<uint8_t>> records;
    for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r)) {
        const SubRecordSpan span = SubRecordOf(r, 0);
        ASSERT_TRUE(span);
        const auto kept = FindPriceWalkIndex(span.sub, span.end);
        ASSERT_NE(kept, nullptr) << "built by the load";
        const auto walked = BuildPriceWalkIndex(span.sub, span.end);
        EXPECT_EQ(kept->days, walked->days);
        EXPECT_EQ(kept->ordered, walked->ordered);
        EXPECT_EQ(kept->closeExponentMin, walked->closeExponentMin);
        EXPECT_EQ(kept->closeExponentMax, walked->closeExponentMax);
        EXPECT_EQ(kept->closesFinite, walked->closesFinite);
        ASSERT_EQ(kept->points.size(), walked->points.size());
        for (size_t k = 0; k < kept->points.size(); ++k) {
            EXPECT_EQ(kept->points[k].position(), walked->points[k].position());
            EXPECT_EQ(std::memcmp(&kept->points[k].day(), &walked->points[k].day(), sizeof(DayRecord)), 0);
        }
        records.emplace_back(r, r + RecordLength(r));
    }
    FreeDatabase(true);

    // Closes from mid-2027 on, with a run of days without data across the last representable date:
    // the days after it are dated from 1900 again.
    std::vector<uint8_t> wrapping;
    for (int i = 0; i < 1450; ++i) {
        wrapping.push_back(uint8_t(1 + i % 3));
        if (i == 149)
            wrapping.insert(wrapping.end(), 30, 'A');
    }
    wrapping.push_back(' ');
    records.push_back(Record(0x4001, {SubRecord(100, Date(2027, 6, 1), wrapping)}));

    for (std::vector<uint8_t>& record : records) {
        const SubRecordSpan span = SubRecordOf(record.data(), 0);
        std::vector<DayRecord> days;
        std::vector<uint16_t> nextDates;
        for (PriceDayWalker w(span.sub, span.end, CorrectionCursor{}); w.next();) {
            days.push_back(w.day());
            nextDates.push_back(w.nextDate());
        }
        ASSERT_GT(days.size(), 1100u) << "several checkpoints";
        if (&record == &records.back()) {
            EXPECT_FALSE(BuildPriceWalkIndex(span.sub, span.end)->ordered) << "the dates wrap";
        }
        const uint32_t count = uint32_t(days.size());
        for (uint32_t n : {0u, 1u, 511u, 512u, 513u, count - 513, count - 512, count - 1, count}) {
            DayRecord got, want = WalkedDayFromEnd(days, n);
            GetDayRecordFromEnd(record.data(), 0, n, &got);
            EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << n << " back of " << count;
        }
        // (The last day and its date are read from the statistics room instead.)
        std::vector<int32_t> whens = {-1, -511, -512, -513, -int32_t(count) + 1, -int32_t(count)};
        for (size_t j = 3; j < days.size(); j += 61) {
            whens.push_back(days[j].date);
            whens.push_back(days[j].date + 1);
            whens.push_back(nextDates[j]);
        }
        const uint16_t statedLast = ReadStreamStatistics(span.sub).lastDate;
        for (int32_t when : whens) {
            if (when != statedLast) {
                EXPECT_EQ(GetMovingAverageAt(record.data(), 0, when, 0, nullptr), WalkedCloseAt(days, nextDates, when))
                    << "when " << when;
            }
        }
    }
    ForgetPriceWalkIndexes();
}

namespace {

// A mode-0 value token for `delta`: five bits in the first byte (with the sign), seven in each byte
// after it, the most significant first.
void PushToken(std::vector<uint8_t>& out, int32_t delta)
{
    uint32_t magnitude = uint32_t(delta < 0 ? -int64_t(delta) : delta);
    std::vector<uint8_t> low;
    while (magnitude >= 32) {
        low.push_back(uint8_t(magnitude & 0x7F));
        magnitude >>= 7;
    }
    out.push_back(uint8_t(magnitude | (delta < 0 ? 0x20 : 0) | (low.empty() ? 0 : 0x80)));
    for (size_t i = low.size(); i-- > 0;)
        out.push_back(uint8_t(low[i] | (i ? 0x80 : 0)));
}

// The average the calculator gives after a walk from the first day, as GetMovingAverageAt made it
// before the checkpoints.
float WalkedSimpleAverageAt(const std::vector<DayRecord>& days, const std::vector<uint16_t>& nextDates, int32_t when,
                            int32_t period)
{
    const int64_t target = when <= 0 ? int64_t(days.size()) - 1 + when : -1;
    if (when <= 0 && target < 0)
        return 0;
    std::unique_ptr<CMovingAverage> average = CreateMovingAverage(kSimpleAverage, period, 0.0, 0);
    int32_t needed = 0, leadIn = 0;
    average->Prepare(needed, leadIn);
    double value = 0;
    size_t fed = 0;
    for (size_t j = 0; j < days.size(); ++j) {
        if (when > 0 && days[j].date > uint16_t(when))
            break;
        if (fed++ == 0)
            average->Prime(days[j].close);
        value = average->Next(days[j].close);
        average->DropOldest();
        if (int64_t(j) == target || (when > 0 && nextDates[j] > uint16_t(when)))
            break;
    }
    return fed == 0 ? 0 : float(value);
}

} // namespace

// Where every sum of a window of closes is exact, a simple average starts from a checkpoint a window
// before its day and gives the running average's bits; a stream whose closes span too many bits for
// that walks from the first day as before. Days counted from the end and dates, on both sides of
// checkpoints and for windows longer than one.
TEST(PriceLookups, SimpleAveragesFromCheckpointsKeepTheRunningSumsBits)
{
    const std::vector<uint8_t> image = LoadRandomDatabase(2, 5);
    std::vector<std::vector<uint8_t>> records;
    for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r))
        records.emplace_back(r, r + RecordLength(r));
    FreeDatabase(true);

    // Closes between 0.01 and a million, then pennies alone: the running sum rounds while the large
    // closes pass through it and keeps that error after them, far above the pennies' last bits.
    std::vector<uint8_t> wide;
    int32_t price = 1;
    for (int i = 0; i < 1800; ++i) {
        const int32_t next = i % 2 || i >= 1000 ? 1 + i % 7 : 100000000 - i * 3;
        PushToken(wide, next - price);
        price = next;
    }
    wide.push_back(' ');
    records.push_back(Record(0x4001, {SubRecord(100, Date(2001, 3, 5), wide)}));

    for (size_t r = 0; r < records.size(); ++r) {
        std::vector<uint8_t>& record = records[r];
        const SubRecordSpan span = SubRecordOf(record.data(), 0);
        std::vector<DayRecord> days;
        std::vector<uint16_t> nextDates;
        for (PriceDayWalker w(span.sub, span.end, CorrectionCursor{}); w.next();) {
            days.push_back(w.day());
            nextDates.push_back(w.nextDate());
        }
        ASSERT_GT(days.size(), 1700u) << "several checkpoints";
        const auto index = BuildPriceWalkIndex(span.sub, span.end);
        const bool wideStream = r + 1 == records.size();
        EXPECT_EQ(SumsOfClosesExact(*index, 50), !wideStream);
        const int32_t count = int32_t(days.size());
        std::vector<int32_t> whens = {0, -1, -460, -511, -512, -513, -1024, -count + 600, -count + 1, -count};
        for (size_t j = 5; j < days.size(); j += 97) {
            whens.push_back(days[j].date);
            whens.push_back(days[j].date + 1);
            whens.push_back(nextDates[j]);
        }
        for (int32_t period : {5, 50, 512, 513, 1100}) {
            for (int32_t when : whens) {
                const float got = GetMovingAverageAt(record.data(), 0, when, uint32_t(period) << 16 | 1, nullptr);
                const float want = WalkedSimpleAverageAt(days, nextDates, when, period);
                EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0)
                    << "record " << r << " period " << period << " when " << when << ": " << got << " vs " << want;
            }
        }
    }
    ForgetPriceWalkIndexes();
}

// Every stream of the demo (closes from 1998, full days later, several units): a simple average read
// from the checkpoints is the walk's own, at the days back and the dates a filter asks for.
TEST(PriceLookups, SimpleAveragesOverTheDemoAreTheWalksOwn)
{
    using namespace std::chrono;
    const std::vector<uint8_t> image =
        dev::WriteQuorvaDat(dev::DemoDbFile(dev::BuildDemoDatabase(sys_days{year{2026} / December / 8})));
    LoadDatabaseFromMemory(image, nullptr);
    size_t streams = 0, fromCheckpoints = 0;
    for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r)) {
        const SubRecordSpan span = SubRecordOf(r, 0);
        if (!span)
            continue;
        std::vector<DayRecord> days;
        std::vector<uint16_t> nextDates;
        for (PriceDayWalker w(span.sub, span.end, CorrectionCursor{}); w.next();) {
            days.push_back(w.day());
            nextDates.push_back(w.nextDate());
        }
        if (days.size() < 2)
            continue;
        ++streams;
        const auto index = FindPriceWalkIndex(span.sub, span.end);
        fromCheckpoints += index && SumsOfClosesExact(*index, 200) && days.size() > 1500;
        const int32_t count = int32_t(days.size());
        const int32_t monthBack = days[size_t(std::max(0, count - 22))].date;
        for (int32_t period : {50, 200}) {
            for (int32_t when : {-1, -21, -count / 2, monthBack, monthBack + 2}) {
                const float got = GetMovingAverageAt(r, 0, when, uint32_t(period) << 16 | 1, nullptr);
                const float want = WalkedSimpleAverageAt(days, nextDates, when, period);
                EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0)
                    << "stream " << streams << " period " << period << " when " << when << ": " << got << " vs " << want;
            }
        }
    }
    EXPECT_GT(streams, 250u);
    EXPECT_GT(fromCheckpoints, streams / 2) << "the demo's long streams take the checkpoints";
    FreeDatabase(true);
}

// The bound SumsOfClosesExact puts on a stream: at its limit a sum of the largest closes and the
// smallest one still holds the smallest one's last bit; one bit further it may not.
TEST(PriceLookups, ExactSumsOfClosesKeepTheSmallestClosesLastBit)
{
    for (uint32_t count : {1u, 2u, 50u, 512u, 16383u}) {
        int bits = 0;
        while ((1u << bits) < count)
            ++bits;
        // The smallest close 1 + 2^-23 (its last bit 2^-23), the largest just below 2^span.
        for (int span : {30 - bits, 31 - bits}) {
            PriceWalkIndex index;
            index.closeExponentMin = 127;
            index.closeExponentMax = uint8_t(127 + span - 1);
            const float small = 1.0f + std::ldexp(1.0f, -23);
            const float large = std::nextafter(std::ldexp(1.0f, span), 0.0f);
            double sum = small;
            for (uint32_t i = 1; i < count; ++i)
                sum += large;
            for (uint32_t i = 1; i < count; ++i)
                sum -= large;
            const bool exact = SumsOfClosesExact(index, count);
            EXPECT_EQ(exact, span == 30 - bits) << count << " closes up to 2^" << span;
            if (exact) {
                EXPECT_EQ(sum, double(small)) << count;
            }
        }
    }
    PriceWalkIndex infinite;
    infinite.closesFinite = false;
    EXPECT_FALSE(SumsOfClosesExact(infinite, 5));
}
