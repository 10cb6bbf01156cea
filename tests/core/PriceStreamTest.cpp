// Tests of the compressed daily price stream of a price sub-record.
#include "core/PriceStream.h"

#include "core/Memory.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qv;
using namespace qv::test;

namespace {

const uint16_t kMonday = Date(2006, 1, 2);

struct Decoded {
    int32_t count = 0;
    std::vector<DayRecord> days;  // up to the end mark
};

Decoded Decode(const std::vector<uint8_t>& sub, bool raw, uint32_t flags = 0, CorrectionCursor corrections = {})
{
    DayRecord* array = nullptr;
    Decoded d;
    d.count = DecodeSubRecordHistory(sub.data(), sub.data() + sub.size(), array, flags, raw, corrections);
    for (const DayRecord* r = array; r && r->date != 0; ++r)
        d.days.push_back(*r);
    ProFree(array);
    return d;
}

// Expected day: close, marks, and its position in weekdays from the first date.
struct Day {
    float close;
    uint8_t marks;
    int weekday;
};

struct StreamCase {
    const char* name;
    int16_t scale;
    uint32_t flags;
    bool raw;
    std::vector<uint8_t> stream;
    int32_t count;
    std::vector<Day> days;
};

std::vector<uint8_t> Bytes(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const std::vector<uint8_t> kUnitOne = Bytes({{'D'}, F32Bytes(1.0f)});

std::vector<StreamCase> Cases()
{
    return {
        {"repeat of three then a delta", 1, 0, true, {10, 'B', 3, 2, ' '}, 5,
         {{10, 0, 0}, {10, 0, 1}, {10, 0, 2}, {10, 0, 3}, {12, 0, 4}}},
        {"zero repeat in close mode repeats nothing", 1, 0, true, {10, 'B', 0, 2, ' '}, 2, {{10, 0, 0}, {12, 0, 1}}},
        {"zero repeat in full mode repeats nothing", 1, 0, true, {'E', 1, 0x08, 5, 'B', 0, 0x08, 1, ' '}, 2,
         {{5, 1, 0}, {6, 1, 1}}},
        {"repeat in full mode", 1, 0, true, {'E', 1, 0x08, 5, 'B', 2, 0x08, 1, ' '}, 4,
         {{5, 1, 0}, {5, 1, 1}, {5, 1, 2}, {6, 1, 3}}},
        {"unit with positive scale", 100, 0, true, Bytes({kUnitOne, {31, ' '}}), 1, {{0.31f, 0, 0}}},
        {"unit with negative scale", -10, 0, true, Bytes({kUnitOne, {3, ' '}}), 1, {{30, 0, 0}}},
        {"starting unit with positive scale", 100, 0, true, {5, ' '}, 1, {{0.05f, 0, 0}}},
        {"starting unit with negative scale", -10, 0, true, {5, ' '}, 1, {{50, 0, 0}}},
        {"starting unit with zero scale", 0, 0, true, {5, ' '}, 1, {{5, 0, 0}}},
        {"unit change keeps the running price", 1, 0, true, Bytes({{4}, {'D'}, F32Bytes(0.5f), {0, ' '}}), 2,
         {{4, 0, 0}, {2, 0, 1}}},
        {"price lifted to one step", 1, 0, true, {5, 0x27, ' '}, 2, {{5, 0, 0}, {1, 0, 1}}},
        {"price kept at or below zero on request", 1, 4, true, {5, 0x27, 0x21, ' '}, 3,
         {{5, 0, 0}, {-2, 0, 1}, {-3, 0, 2}}},
        {"days without data are left out of raw decoding", 1, 0, true, {5, 'A', 1, 'C', 1, ' '}, 3,
         {{5, 0, 0}, {6, 0, 2}, {7, 0, 4}}},
        {"days without data are marked by the marker decoder", 1, 0, false, {5, 'A', 1, 'C', 1, ' '}, 5,
         {{5, 0, 0}, {5, 0x10, 1}, {6, 0, 2}, {6, 0x20, 3}, {7, 0, 4}}},
        {"marked day in close mode is priced at the running price", 1, 0, true, {5, 'F', 1, ' '}, 3,
         {{5, 0, 0}, {5, 0x40, 1}, {6, 0, 2}}},
        {"marked day through the marker decoder takes the previous close", 1, 0, false,
         {'E', 1, 0x08, 5, 'F', 0x08, 1, ' '}, 3, {{5, 1, 0}, {5, 0x41, 1}, {6, 1, 2}}},
        {"marked day falls inside a close-mode repeat", 1, 0, true, {7, 'B', 3, 'F', 1, ' '}, 6,
         {{7, 0, 0}, {7, 0x40, 1}, {7, 0, 2}, {7, 0, 3}, {7, 0, 4}, {8, 0, 5}}},
        {"first day without data has no previous close", 1, 0, false, {'A', 5, ' '}, 2,
         {{0, 0x10, 0}, {5, 0, 1}}},
        {"two-byte repeat count", 1, 0, true, {3, 'B', 0x81, 0x00, ' '}, 257, {}},
        {"trailing zero closes are dropped but counted", 1, 0, true,
         {'E', 1, 0x08, 5, 0x08, 0x25, 0x00, ' '}, 3, {{5, 1, 0}}},
        {"trailing zero closes kept on request", 1, 8, true, {'E', 1, 0x08, 5, 0x08, 0x25, 0x00, ' '}, 3,
         {{5, 1, 0}, {0, 1, 1}, {0, 1, 2}}},
        {"unknown byte in full mode ends the stream", 1, 0, true, {'E', 1, 0x08, 5, 0x7F, 0x08, 1, ' '}, 1,
         {{5, 1, 0}}},
        {"other mode values are stepped over in close mode", 1, 0, true, {'E', 2, 5, ' '}, 1, {{5, 0, 0}}},
        {"leaving full mode holds from the next day", 1, 0, true, {'E', 1, 0x08, 5, 'E', 0, 0x08, 1, 2, ' '}, 3,
         {{5, 1, 0}, {6, 0, 1}, {8, 0, 2}}},
        {"multi-byte tokens", 1, 0, true, {0x81, 0x00, 0xA1, 0x00, ' '}, 2, {{128, 0, 0}, {1, 0, 1}}},
        {"no end mark stops at the sub-record's end", 1, 0, true, {5, 1}, 2, {{5, 0, 0}, {6, 0, 1}}},
        {"token cut by the sub-record's end", 1, 0, true, {5, 0x81}, 1, {{5, 0, 0}}},
        {"unit cut by the sub-record's end", 1, 0, true, {5, 'D', 0, 0}, 1, {{5, 0, 0}}},
        {"repeat count cut by the sub-record's end", 1, 0, true, {5, 'B', 0x81}, 1, {{5, 0, 0}}},
        {"mask cut by the sub-record's end", 1, 0, true, {'E', 1, 0x1F, 1, 2}, 0, {}},
        {"volume cut by the sub-record's end", 1, 0, true, {'E', 1, 0x18, 1, 0x19}, 0, {}},
        {"repeat runs on past the sub-record's end", 1, 0, true, {5, 'B', 2}, 3,
         {{5, 0, 0}, {5, 0, 1}, {5, 0, 2}}},
        {"empty stream", 1, 0, true, {' '}, 0, {}},
        {"no stream bytes at all", 1, 0, true, {}, 0, {}},
    };
}

} // namespace

TEST(PriceStream, HandBuiltStreamsDecodeAsCoded)
{
    for (const StreamCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        Decoded d = Decode(SubRecord(c.scale, kMonday, c.stream), c.raw, c.flags);
        EXPECT_EQ(d.count, c.count);
        if (c.days.empty() && c.count > 1) {
            ASSERT_EQ(int(d.days.size()), c.count);
            continue;
        }
        ASSERT_EQ(d.days.size(), c.days.size());
        for (size_t i = 0; i < c.days.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_FLOAT_EQ(d.days[i].close, c.days[i].close);
            EXPECT_EQ(d.days[i].modeMarks, c.days[i].marks);
            EXPECT_EQ(d.days[i].date, WeekdaysAfter(kMonday, c.days[i].weekday));
        }
    }
}

TEST(PriceStream, FullDaysCarryEveryPriceAndTheVolume)
{
    // open +10, high +5, low -8, close +4, then volume word 0x2019 (25 x 100).
    std::vector<uint8_t> stream = {'E', 1, 0x1F, 10, 5, 0x28, 4, 0x19, 0x20, 0x10, 0x19, 0x20, ' '};
    struct {
        int16_t scale;
        std::vector<uint8_t> unit;
        float divisorPriceFactor;
        float volume;
    } cases[] = {
        {100, {}, 0.01f, 2500},                                  // S x U = 1
        {1, Bytes({{'D'}, F32Bytes(4.0f)}), 4.0f, 625},          // S x U = 4
        {-10, {}, 10.0f, 2500},                                  // S x U below 1e-07: divisor 1
        {1000, Bytes({{'D'}, F32Bytes(1e-8f)}), 1e-11f, 2500},  // S x U = 1e-08: divisor 1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        Decoded d = Decode(SubRecord(c.scale, kMonday, Bytes({c.unit, stream})), true);
        ASSERT_EQ(d.days.size(), 2u);
        const DayRecord& day = d.days[0];
        float u = c.divisorPriceFactor;
        EXPECT_FLOAT_EQ(day.open, 10 * u);
        EXPECT_FLOAT_EQ(day.high, 15 * u);
        EXPECT_FLOAT_EQ(day.low, 7 * u);
        EXPECT_FLOAT_EQ(day.close, 11 * u);
        EXPECT_FLOAT_EQ(day.volume, c.volume);
        EXPECT_FLOAT_EQ(day.unit, u);
        EXPECT_EQ(day.modeMarks, 1);
        // The second day: only the volume word, prices repeat.
        EXPECT_FLOAT_EQ(d.days[1].open, 11 * u);
        EXPECT_FLOAT_EQ(d.days[1].volume, c.volume);
    }
}

TEST(PriceStream, CorrectionsReplacePricesAndVolumeButNotUnitModeOrDate)
{
    std::vector<uint8_t> stream = {'E', 1, 0x08, 5, 0x08, 1, 0x08, 1, 0x08, 1, ' '};
    std::vector<DayRecord> corrections(2);
    corrections[0].date = Date(2005, 12, 30);  // before the history: stepped over
    corrections[0].close = 99;
    corrections[1].date = WeekdaysAfter(kMonday, 2);
    corrections[1].open = 1;
    corrections[1].high = 2;
    corrections[1].low = 3;
    corrections[1].close = 4;
    corrections[1].volume = 5;
    corrections[1].unit = 77;
    corrections[1].modeMarks = 0x40;
    corrections[1].correctionOnly[0] = 0xAB;
    for (bool raw : {true, false}) {
        std::vector<uint8_t> bytes = CorrectionBytes(corrections);
        Decoded d = Decode(SubRecord(100, kMonday, stream), raw, 0, Corrections(bytes));
        ASSERT_EQ(d.days.size(), 4u);
        EXPECT_FLOAT_EQ(d.days[1].close, 0.06f);
        const DayRecord& fixed = d.days[2];
        EXPECT_FLOAT_EQ(fixed.open, 1);
        EXPECT_FLOAT_EQ(fixed.close, 4);
        EXPECT_FLOAT_EQ(fixed.volume, 5);
        EXPECT_EQ(fixed.correctionOnly[0], 0xAB);
        EXPECT_FLOAT_EQ(fixed.unit, 0.01f);
        EXPECT_EQ(fixed.modeMarks, 1);
        EXPECT_EQ(fixed.date, WeekdaysAfter(kMonday, 2));
        // The running price is the stream's, not the correction's.
        EXPECT_FLOAT_EQ(d.days[3].close, 0.08f);
    }
}

TEST(PriceStream, CorrectionsWithoutTheirEndRecordStopAtTheirBytes)
{
    std::vector<DayRecord> corrections(1);
    corrections[0].date = WeekdaysAfter(kMonday, 5);  // after the history: the cursor reaches the end
    std::vector<uint8_t> bytes = CorrectionBytes(corrections);
    bytes.resize(kDayRecordSize + 10);  // no end record, and a cut one
    Decoded d = Decode(SubRecord(1, kMonday, {5, 1, 1, ' '}), true, 0, Corrections(bytes));
    EXPECT_EQ(d.count, 3);
}

TEST(PriceStream, HistoryStopsAfterTheLastPricedDate)
{
    std::vector<uint8_t> stream = {5, 1, 1, 1, 1, ' '};
    Decoded d = Decode(SubRecord(1, kMonday, stream, WeekdaysAfter(kMonday, 2)), true);
    EXPECT_EQ(d.count, 3);
    ASSERT_EQ(d.days.size(), 3u);
    EXPECT_FLOAT_EQ(d.days[2].close, 7);
}

TEST(PriceStream, ZeroRepeatInFullModeDoesNotRepeatForever)
{
    // Before the mend a zero count left the repeat at -1 and every later day repeated.
    std::vector<uint8_t> stream = {'E', 1, 0x08, 5, 'B', 0, ' '};
    Decoded d = Decode(SubRecord(1, kMonday, stream), true);
    EXPECT_EQ(d.count, 1);
}

TEST(PriceStream, HistoryGrowsPastItsFirstAllocation)
{
    // 4,000 days: 1 day, then a repeat of 3,999 (two-byte count 0x8F9F).
    std::vector<uint8_t> stream = {5, 'B', 0x8F, 0x9F, ' '};
    Decoded d = Decode(SubRecord(1, kMonday, stream), true);
    EXPECT_EQ(d.count, 4000);
    ASSERT_EQ(d.days.size(), 4000u);
    EXPECT_EQ(d.days.back().date, WeekdaysAfter(kMonday, 3999));
}

TEST(PriceStream, DatesThatWouldPassTheLastYearEndTheHistory)
{
    // Days from 30 December 2027 on with no end mark: the history ends at the last representable day.
    std::vector<uint8_t> stream = {5, 'B', 0x7F, 0x7F, ' '};
    Decoded d = Decode(SubRecord(1, Date(2027, 12, 30), stream), true);
    ASSERT_EQ(d.days.size(), 2u);
    EXPECT_EQ(d.days[1].date, Date(2027, 12, 31));
}

TEST(PriceStream, TokenReadersAndSkippers)
{
    std::vector<uint8_t> bytes = {0x83, 0x01, 'A', 0x25, 'F', 'C', 0x81};
    const uint8_t* p = bytes.data();
    const uint8_t* end = p + bytes.size();
    int32_t repeat = 2;
    EXPECT_EQ(ReadStreamToken(p, end, repeat), 0);
    EXPECT_EQ(repeat, 1);
    EXPECT_EQ(p, bytes.data());
    repeat = 0;
    EXPECT_EQ(ReadStreamToken(p, end, repeat), 3 * 128 + 1);
    EXPECT_EQ(ReadStreamTokenAlone(p, end), kMarkedDayToken);
    EXPECT_EQ(ReadStreamTokenAlone(p, end), -5);
    EXPECT_FALSE(SkipStreamToken(p, end, repeat));  // 'F'
    EXPECT_TRUE(SkipStreamToken(p, end, repeat));   // 'C'
    EXPECT_EQ(ReadStreamTokenAlone(p, end), 0);      // cut token
    EXPECT_EQ(p, end);
    EXPECT_EQ(ReadStreamTokenAlone(p, end), 0);
}

TEST(PriceStream, DecodedDayPrimesTheNextRecord)
{
    std::vector<uint8_t> stream = {'D', 0, 0, 0, 0, 5, ' '};
    StoreF32(stream.data() + 1, 2.0f);
    DayRecord days[2]{};
    days[0].unit = 1;
    days[0].date = Date(2006, 1, 6);  // a Friday with an unknown counter
    int32_t price = 0, repeat = 0;
    const uint8_t* p = DecodePriceDay(stream.data(), stream.data() + stream.size(), days, price, repeat, 1, 0, nullptr);
    EXPECT_EQ(*p, ' ');
    EXPECT_FLOAT_EQ(days[0].close, 10);
    EXPECT_EQ(days[1].date, Date(2006, 1, 9));
    EXPECT_EQ(days[1].weekday, 1);
    EXPECT_FLOAT_EQ(days[1].unit, 2);
    // At the end mark the day is the end: date and counter 0, position kept on the mark.
    const uint8_t* q = DecodePriceDay(p, stream.data() + stream.size(), days + 1, price, repeat, 1, 0, nullptr);
    EXPECT_EQ(q, p);
    EXPECT_EQ(days[1].date, 0);
    EXPECT_EQ(days[1].weekday, 0);
}
