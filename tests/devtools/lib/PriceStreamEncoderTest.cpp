// Tests of the encoder of the compressed daily price stream.
#include "devtools/lib/PriceStreamEncoder.h"

#include "core/Memory.h"
#include "core/PriceStream.h"
#include "support/PriceFixtures.h"
#include "support/RandomHistories.h"

#include <gtest/gtest.h>

#include <random>

using namespace qv;
using namespace qv::dev;
using namespace qv::test;

namespace {

using Kind = HistoryDay::Kind;

void CheckRoundTrip(const PriceHistory& h)
{
    std::vector<uint8_t> stream;
    std::string error;
    ASSERT_TRUE(EncodePriceStream(h, stream, &error)) << error;
    std::vector<uint8_t> sub = SubRecord(h.scale, h.firstDate, stream);
    for (bool raw : {true, false}) {
        SCOPED_TRACE(raw ? "raw" : "marked");
        std::vector<DayRecord> want = Expected(h, raw);
        DayRecord* array = nullptr;
        int32_t count = DecodeSubRecordHistory(sub.data(), sub.data() + sub.size(), array, 0, raw, {});
        ASSERT_EQ(count, int32_t(want.size()));
        for (size_t i = 0; i < want.size(); ++i) {
            const DayRecord& got = array[i];
            ASSERT_EQ(got.date, want[i].date) << i;
            ASSERT_EQ(got.modeMarks & kDayMarks, want[i].modeMarks) << i;
            ASSERT_FLOAT_EQ(got.open, want[i].open) << i;
            ASSERT_FLOAT_EQ(got.high, want[i].high) << i;
            ASSERT_FLOAT_EQ(got.low, want[i].low) << i;
            ASSERT_FLOAT_EQ(got.close, want[i].close) << i;
            ASSERT_FLOAT_EQ(got.volume, want[i].volume) << i;
            ASSERT_FLOAT_EQ(got.unit, want[i].unit) << i;
        }
        ProFree(array);
    }
    // Counting by skipping gives the days of marker decoding.
    const uint8_t* p = sub.data() + kSubRecordStream;
    const uint8_t* end = sub.data() + sub.size();
    uint8_t mode = 0;
    int32_t repeat = 0, counted = 0;
    bool isDay = true;
    while (!AtStreamEnd(p, end, repeat)) {
        p = SkipPriceEntry(p, end, mode, repeat, isDay);
        if (!isDay)
            break;
        ++counted;
    }
    int32_t withoutData = 0;
    for (const HistoryDay& d : h.days)
        withoutData += d.kind == Kind::NoDataA || d.kind == Kind::NoDataC;
    EXPECT_EQ(counted, int32_t(h.days.size()) - withoutData);
}

} // namespace

TEST(PriceStreamEncoder, RandomHistoriesRoundTripInEachMode)
{
    std::mt19937 rng(20260101);
    for (int modes : {0, 1, 2}) {
        for (int i = 0; i < 60; ++i) {
            SCOPED_TRACE(testing::Message() << "modes " << modes << " history " << i);
            CheckRoundTrip(RandomHistory(rng, modes));
            if (testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(PriceStreamEncoder, RepeatsBecomeCountsOfOneOrTwoBytes)
{
    PriceHistory h;
    h.scale = 100;
    h.firstDate = Date(2006, 1, 2);
    HistoryDay d;
    d.close = 250;
    h.days.assign(300, d);
    std::vector<uint8_t> stream;
    ASSERT_TRUE(EncodePriceStream(h, stream));
    // The first day carries the price; the other 299 are one repeat with a two-byte count.
    EXPECT_EQ(stream, (std::vector<uint8_t>{0x81, 0x7A, 'B', 0x81, 0x2B, ' '}));
    h.days.resize(3);
    ASSERT_TRUE(EncodePriceStream(h, stream));
    EXPECT_EQ(stream, (std::vector<uint8_t>{0x81, 0x7A, 'B', 2, ' '}));
    CheckRoundTrip(h);
}

TEST(PriceStreamEncoder, RunBeforeAMarkedDayEndsWithAPlainDay)
{
    PriceHistory h;
    h.scale = 1;
    h.firstDate = Date(2006, 1, 2);
    HistoryDay d;
    d.close = 9;
    h.days.assign(4, d);
    h.days.push_back(HistoryDay{Kind::Marked});
    std::vector<uint8_t> stream;
    ASSERT_TRUE(EncodePriceStream(h, stream));
    EXPECT_EQ(stream, (std::vector<uint8_t>{9, 'B', 2, 0, 'F', ' '}));
    CheckRoundTrip(h);
}

TEST(PriceStreamEncoder, ChangesTooLargeForATokenAreReported)
{
    PriceHistory h;
    h.days.push_back(HistoryDay{});
    h.days[0].close = 1 << 26;
    std::vector<uint8_t> stream;
    std::string error;
    EXPECT_FALSE(EncodePriceStream(h, stream, &error));
    EXPECT_NE(error.find("67108864"), std::string::npos) << error;
}

TEST(PriceStreamEncoder, VolumeWordsComeNearTheVolume)
{
    EXPECT_EQ(VolumeWordFor(2500, 100, 0.01f), 2500);
    EXPECT_EQ(VolumeWordFor(25000, 100, 0.01f), 0x1000 | 2500);
    EXPECT_EQ(VolumeWordFor(625, 1, 4.0f), 2500);
    EXPECT_EQ(VolumeWordFor(0, 1, 1.0f), 0);
}
