#include "devtools/lib/PriceStreamEncoder.h"

#include "core/Memory.h"
#include "core/PriceStream.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

#include <random>

using namespace qv;
using namespace qv::dev;
using namespace qv::test;

namespace {

using Kind = HistoryDay::Kind;

// A random history: a walk with runs of unchanged prices, days without data, marked days, unit
// changes, volumes, and switches between the two modes (or one mode throughout).
PriceHistory RandomHistory(std::mt19937& rng, int modes)
{
    PriceHistory h;
    h.scale = int16_t(std::uniform_int_distribution<int>(-20, 200)(rng));
    h.firstDate = WeekdaysAfter(Date(1995, 1, 2), int(rng() % 200));
    int n = 1 + int(rng() % 3000);
    int32_t price = 1 + int32_t(rng() % 5000);
    uint8_t mode = modes == 2 ? uint8_t(rng() % 2) : uint8_t(modes);
    std::uniform_int_distribution<int> pct(0, 99);
    for (int i = 0; i < n; ++i) {
        HistoryDay d;
        int r = pct(rng);
        if (i > 0 && r < 3) {
            d.kind = r == 0 ? Kind::NoDataA : r == 1 ? Kind::NoDataC : Kind::Marked;
            h.days.push_back(d);
            continue;
        }
        if (modes == 2 && pct(rng) < 2)
            mode ^= 1;
        d.mode = mode;
        if (pct(rng) < 1)
            d.newUnit = std::uniform_real_distribution<float>(0.1f, 10.0f)(rng);
        if (pct(rng) > 25)  // otherwise the day repeats the price
            price = std::max<int32_t>(1, price + std::uniform_int_distribution<int32_t>(-price / 20 - 40, price / 20 + 40)(rng));
        if (pct(rng) < 1)
            price = std::max<int32_t>(1, price + int32_t(rng() % 3000000) - 1000000);  // long tokens
        d.close = price;
        d.open = d.high = d.low = price;
        if (mode == 1 && pct(rng) < 70) {
            d.open = std::max<int32_t>(1, price + int32_t(rng() % 21) - 10);
            d.high = std::max(d.open, price) + int32_t(rng() % 10);
            d.low = std::max<int32_t>(1, std::min(d.open, price) - int32_t(rng() % 10));
            d.hasVolume = pct(rng) < 80;
            d.volumeWord = uint16_t(rng() & 0xFFFF);
        }
        h.days.push_back(d);
    }
    return h;
}

// What the decoders should give for the history, worked out from the history alone.
std::vector<DayRecord> Expected(const PriceHistory& h, bool raw)
{
    std::vector<DayRecord> out;
    float unit = StartingUnit(h.scale);
    int32_t price = 0;
    uint16_t date = 0;
    for (const HistoryDay& d : h.days) {
        date = date == 0 ? h.firstDate : WeekdaysAfter(date, 1);
        if (d.newUnit != 0)
            unit = ScaledUnit(d.newUnit, h.scale);
        DayRecord r{};
        r.date = date;
        r.unit = unit;
        if (d.kind == Kind::NoDataA || d.kind == Kind::NoDataC) {
            if (raw)
                continue;
            r.modeMarks = d.kind == Kind::NoDataA ? kDayMarkA : kDayMarkC;
        } else if (d.kind == Kind::Marked) {
            r.modeMarks = kDayMarkF;
        }
        if (r.modeMarks != 0) {
            float value = raw ? float(double(price) * unit) : (out.empty() ? 0 : out.back().close);
            r.open = r.high = r.low = r.close = value;
            out.push_back(r);
            continue;
        }
        price = d.close;
        auto at = [&](int32_t p) { return float(double(p) * unit); };
        if (d.mode == 0) {
            r.open = r.high = r.low = r.close = at(d.close);
        } else {
            r.open = at(d.open);
            r.high = at(d.high);
            r.low = at(d.low);
            r.close = at(d.close);
            if (d.hasVolume) {
                double divisor = double(h.scale) * unit;
                if (divisor < 1e-07)
                    divisor = 1.0;
                r.volume = float((d.volumeWord & 0xFFF) * std::pow(10.0, d.volumeWord >> 12) / divisor);
            }
        }
        out.push_back(r);
    }
    return out;
}

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
