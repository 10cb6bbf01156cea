// Tests of the series layout iterator over hand-built arrays of every type and selector bit.
#include "chartmodel/SeriesLayout.h"

#include "chartmodel/GraphModel.h"
#include "platform/ByteOrder.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace qv;

namespace {

constexpr int kAnyX = INT_MIN;

struct Bytes {
    std::vector<uint8_t> data;
    void U32(uint32_t v)
    {
        size_t at = data.size();
        data.resize(at + 4);
        StoreU32(data.data() + at, v);
    }
    void F32(float v)
    {
        size_t at = data.size();
        data.resize(at + 4);
        StoreF32(data.data() + at, v);
    }
    void F64(double v)
    {
        size_t at = data.size();
        data.resize(at + 8);
        StoreF64(data.data() + at, v);
    }
};

Bytes Floats(std::initializer_list<float> values)
{
    Bytes b;
    for (float v : values)
        b.F32(v);
    return b;
}

Bytes Bars()
{
    Bytes b;
    for (float v : {1.f, 2.f, 3.f, 4.f, 5.f})
        b.F32(v);
    return b;
}

struct Tick {
    uint32_t flags;
    int32_t time;
    float first, second;
};
Bytes Ticks(std::initializer_list<Tick> ticks)
{
    Bytes b;
    for (const Tick& t : ticks) {
        b.U32(t.flags);
        b.U32(uint32_t(t.time));
        b.F32(t.first);
        b.F32(t.second);
    }
    return b;
}

struct Day {
    float open, high, low, close, volume;
    uint32_t x;
    uint8_t marks;
};
Bytes Days(std::initializer_list<Day> days)
{
    // Written as the database stores a day, so that the series reads the records that the price
    // decoding gives: the x word in the four bytes after the price unit, the flags in the mode byte.
    Bytes b;
    for (const Day& d : days) {
        DayRecord day{};
        day.open = d.open;
        day.high = d.high;
        day.low = d.low;
        day.close = d.close;
        day.volume = d.volume;
        day.unit = 0.25f;
        StoreU32(day.correctionOnly, d.x);
        day.date = 0x1234;
        day.modeMarks = d.marks;
        b.data.resize(b.data.size() + kDayRecordSize);
        StoreDayRecord(b.data.data() + b.data.size() - kDayRecordSize, day);
    }
    return b;
}

Bytes Keyed24(uint32_t w0, uint32_t w1, uint32_t w2, float close, float volume)
{
    Bytes b;
    b.U32(w0);
    b.U32(w1);
    b.U32(w2);
    b.U32(0);
    b.F32(close);
    b.F32(volume);
    return b;
}

Bytes Triple(uint32_t w0, uint32_t w1, float v)
{
    Bytes b;
    b.U32(w0);
    b.U32(w1);
    b.F32(v);
    return b;
}

struct Expect {
    float value;
    bool drawn;
    int x = kAnyX;
};

struct Case {
    const char* name;
    uint32_t type;
    uint32_t selector;
    Bytes bytes;
    int32_t count;
    std::vector<Expect> points;
    uint32_t kindMask = 0;
    bool spike = false;
    bool fixedX = false;
};

// A series on a time scale of indexes 0..count-1 at x 100, 110, ... and a 0..100 value range on rows
// 100..0; the element holds the array.
struct Fixture {
    GraphSeries series{};
    TimeScale scale{};
    ValueRange range{};
    PlotElement element{};
    explicit Fixture(int32_t shown)
    {
        scale = {0, 0, shown - 1, 100, 100 + 10 * (shown - 1), nullptr};
        range.minimum = 0;
        range.maximum = 100;
        range.yTop = 0;
        range.yBottom = 100;
        series.timeScale = &scale;
        series.range = &range;
        element.series = &series;
    }
    void Hold(DataArray& array, uint32_t type, uint32_t selector, uint32_t kindMask, Bytes& bytes, int32_t count)
    {
        array.type = type;
        array.flags = selector;
        array.kindMask = kindMask;
        array.count = count;
        array.data = bytes.data.data();
    }
};

std::vector<SeriesPoint> Walk(CGraphSeriesLayout& layout)
{
    std::vector<SeriesPoint> points;
    SeriesPoint p;
    while (layout.Next(p) && points.size() < 100)
        points.push_back(p);
    return points;
}

} // namespace

TEST(SeriesLayout, EveryArrayTypeAndSelector)
{
    std::vector<Case> cases;
    cases.push_back({"floats", kArrayFloats, 0, Floats({10, 20, 30}), 3, {{10, true, 100}, {20, true, 110}, {30, true, 120}}});
    {
        Bytes b;
        b.F64(1.5);
        b.F64(2.5);
        cases.push_back({"doubles", kArrayDoubles, 0, b, 2, {{1.5f, true}, {2.5f, true}}});
    }
    cases.push_back({"words give no point", kArrayWords, 0, Floats({1}), 1, {}});
    cases.push_back({"type 8 gives no point", kArrayNone, 0, Floats({1}), 1, {}});
    for (uint32_t bit = 0; bit < 5; ++bit)
        cases.push_back({"bar field", kArrayBars, 1u << bit, Bars(), 1, {{float(bit + 1), true}}});
    cases.push_back({"bar without a field bit", kArrayBars, 0, Bars(), 1, {{0, true}}});
    cases.push_back({"bar, first set bit", kArrayBars, 2 | 8, Bars(), 1, {{2, true}}});

    Bytes ticks = Ticks({{16, 3600, 100, 101}, {16 | 2, 3700, 100, 0}, {16 | 1, 3800, 0, 99}, {32, 3900, 98, 99}});
    cases.push_back({"tick second value", kArrayTicks, kSelectHigh, ticks, 4,
                     {{101, true, 3600}, {0, false}, {99, true, 3800}, {99, true, 3900}}});
    cases.push_back({"tick second value by bit 4", kArrayTicks, kSelectVolume, ticks, 4,
                     {{101, true}, {0, false}, {99, true}, {99, true}}});
    cases.push_back({"tick first value", kArrayTicks, kSelectLow, ticks, 4,
                     {{100, true}, {100, true}, {0, false}, {98, true}}});
    cases.push_back({"tick first value by bit 3", kArrayTicks, kSelectClose, ticks, 4,
                     {{100, true}, {100, true}, {0, false}, {98, true}}});
    cases.push_back({"tick mean", kArrayTicks, kSelectOpen, ticks, 4,
                     {{100.5f, true}, {0, false}, {0, false}, {98.5f, true}}});
    cases.push_back({"tick mean without crossed quotes", kArrayTicks, kSelectOpen | kSelectSkipCrossed,
                     Ticks({{16, 1, 101, 100}, {16, 2, 100, 101}}), 2, {{100.5f, true}, {0, false}}});
    cases.push_back({"tick kinds", kArrayTicks, kSelectHigh | kSelectKindMask, ticks, 4,
                     {{101, true}, {0, false}, {99, true}, {0, false}}, 16});
    Bytes spikes = Ticks({{16 | 4, 1, 100, 101}, {16 | 8, 2, 100, 101}});
    cases.push_back({"tick spikes kept", kArrayTicks, kSelectLow, spikes, 2, {{100, true}, {100, true}}});
    cases.push_back({"tick spikes dropped", kArrayTicks, kSelectLow, spikes, 2, {{0, false}, {100, true}}, 0, true});
    cases.push_back({"tick second spike dropped", kArrayTicks, kSelectHigh, spikes, 2, {{101, true}, {0, false}}, 0, true});

    Bytes days = Days({{10, 14, 8, 12, 500, 0x00040002, 0}, {11, 16, 9, 15, 600, 0, 4}, {12, 13, 4, 6, 700, 0, 2 | 8},
                       {13, 15, 7, 9, 800, 0, 0}});
    cases.push_back({"daily open", kArrayDaily, 1, days, 4, {{10, true}, {11, true}, {12, true}, {13, true}}});
    cases.push_back({"daily high", kArrayDaily, 2, days, 4, {{14, true}, {16, true}, {13, true}, {15, true}}});
    cases.push_back({"daily running high", kArrayDaily, 2 | kSelectRunning, days, 4,
                     {{14, true}, {16, true}, {13, true}, {15, true}}});
    cases.push_back({"daily low", kArrayDaily, 4, days, 4, {{8, true}, {9, true}, {4, true}, {7, true}}});
    cases.push_back({"daily running low", kArrayDaily, 4 | kSelectRunning, days, 4,
                     {{8, true}, {8, true}, {4, true}, {4, true}}});
    cases.push_back({"daily close", kArrayDaily, 8, days, 1, {{12, true}}});
    cases.push_back({"daily volume", kArrayDaily, 16, days, 1, {{500, true}}});
    cases.push_back({"daily midpoint", kArrayDaily, 32, days, 1, {{11, true}}});
    cases.push_back({"daily weighted", kArrayDaily, 64, days, 1, {{11.5f, true}}});
    cases.push_back({"daily typical", kArrayDaily, 128, days, 1, {{(12 + 14 + 8) * 0.33333334f, true}}});
    cases.push_back({"daily marks", kArrayDaily, kSelectMarked, days, 4, {{0, false}, {16, true}, {4, true}, {0, false}}});
    cases.push_back({"daily no field", kArrayDaily, 0, days, 1, {{0, true}}});
    cases.push_back({"daily packed x", kArrayDaily, 8 | kSelectPackedX, days, 2, {{12, true, 3}, {15, true, 0}}});

    Bytes keyed = Keyed24(7, 9, 1234, 55, 66);
    cases.push_back({"keyed close, x from the second word", kArrayKeyed24, 0, keyed, 1, {{55, true, 9 * 256}}});
    cases.push_back({"keyed volume, x from the first word", kArrayKeyed24, kSelectVolume | kSelectFirstWordX, keyed, 1,
                     {{66, true, 7 * 256}}});
    cases.push_back({"keyed, x from the third word", kArrayKeyed24, kSelectPackedX, keyed, 1, {{55, true, 1234}}});
    cases.push_back({"keyed, fixed x", kArrayKeyed24, 0, keyed, 1, {{55, true, 100}}, 0, false, true});

    Bytes triples = Triple(0x0010, 777, 4.5f);
    {
        Bytes more = Triple(0x0020, 778, 5.5f);
        triples.data.insert(triples.data.end(), more.data.begin(), more.data.end());
    }
    cases.push_back({"triples", kArrayTriples, 0, triples, 2, {{4.5f, true, 777}, {5.5f, true, 778}}});
    cases.push_back({"triples by kind", kArrayTriples, kSelectKindMask, triples, 2, {{4.5f, true}, {0, false}}, 0x10});
    cases.push_back({"keyed triples", kArrayKeyedTriples, 0, Triple(3, 0, 0), 1, {{0, true, 3 * 256}}});
    {
        Bytes b;
        b.U32(3);
        b.F32(8.25f);
        b.U32(0);
        cases.push_back({"keyed triple value", kArrayKeyedTriples, 0, b, 1, {{8.25f, true, 768}}});
    }

    cases.push_back({"zero and negative kept", kArrayFloats, 0, Floats({0, -1, 2}), 3, {{0, true}, {-1, true}, {2, true}}});
    cases.push_back({"bit 8 skips zero", kArrayFloats, kSelectSkipZero, Floats({0, -1, 2}), 3,
                     {{0, false}, {-1, true}, {2, true}}});
    cases.push_back({"bit 9 skips negative", kArrayFloats, kSelectSkipNegative, Floats({0, -1, 2}), 3,
                     {{0, true}, {-1, false}, {2, true}}});

    for (Case& c : cases) {
        Fixture f(c.count);
        f.Hold(f.element.values, c.type, c.selector, c.kindMask, c.bytes, c.count);
        CGraphSeriesLayout layout;
        EXPECT_EQ(layout.Setup(f.element), c.count) << c.name;
        layout.spikeOption = c.spike;
        layout.fixedX = c.fixedX;
        std::vector<SeriesPoint> points = Walk(layout);
        ASSERT_EQ(points.size(), c.points.size()) << c.name;
        for (size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(points[i].drawn, c.points[i].drawn) << c.name << " point " << i;
            if (c.points[i].drawn) {
                EXPECT_FLOAT_EQ(points[i].value, c.points[i].value) << c.name << " point " << i;
            }
            if (c.points[i].x != kAnyX) {
                EXPECT_EQ(points[i].x, c.points[i].x) << c.name << " point " << i;
            }
            EXPECT_EQ(points[i].index, int32_t(i)) << c.name;
        }
    }
}

TEST(SeriesLayout, RowsCentringAndTheShownRange)
{
    Bytes values = Floats({0, 50, 100, 150});
    Fixture f(4);
    f.Hold(f.element.values, kArrayFloats, 0, 0, values, 4);
    f.element.flags = kElementCentred;
    CGraphSeriesLayout layout;
    layout.Setup(f.element);
    std::vector<SeriesPoint> points = Walk(layout);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[0].x, 105);
    EXPECT_EQ(points[0].y, 100);
    EXPECT_EQ(points[1].y, 50);
    EXPECT_EQ(points[3].y, -50);
    layout.Setup(f.element);
    layout.clampRows = true;
    points = Walk(layout);
    EXPECT_EQ(points[3].y, 0);

    // A scale showing indexes 1-2 of the data: points 1 and 2 only, at their own x.
    f.scale = {0, 1, 2, 200, 210, nullptr};
    layout.Setup(f.element);
    points = Walk(layout);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].index, 1);
    EXPECT_EQ(points[0].x, 205);
    EXPECT_FLOAT_EQ(points[1].value, 100);

    // A scale beyond the data stops at the data's end.
    f.scale = {0, 0, 9, 0, 90, nullptr};
    layout.Setup(f.element);
    EXPECT_EQ(Walk(layout).size(), 4u);

    // Items with their own x (a swing chart's events) are no bars: all of them, on a scale of fewer
    // bars (folded weeks) or showing later bars.
    Bytes events;
    for (uint32_t i = 0; i < 6; ++i) {
        Bytes one = Triple(1, 100 + 10 * i, float(i));
        events.data.insert(events.data.end(), one.data.begin(), one.data.end());
    }
    f.Hold(f.element.values, kArrayTriples, 0, 0, events, 6);
    for (TimeScale scale : {TimeScale{0, 0, 1, 100, 110, nullptr}, TimeScale{0, 2, 3, 200, 210, nullptr}}) {
        f.scale = scale;
        layout.Setup(f.element);
        points = Walk(layout);
        ASSERT_EQ(points.size(), 6u);
        EXPECT_EQ(points[5].x, 150);
        EXPECT_FLOAT_EQ(points[5].value, 5);
    }
}

TEST(SeriesLayout, TwoPartElementsChainTheirSecondValues)
{
    Bytes lows = Floats({1, 2, 3});
    Bytes highs = Floats({11, 12});
    Fixture f(3);
    f.Hold(f.element.values, kArrayFloats, 0, 0, lows, 3);
    f.Hold(f.element.second, kArrayFloats, 0, 0, highs, 2);
    CGraphSeriesLayout layout;
    layout.Setup(f.element);
    EXPECT_EQ(layout.second(), nullptr); // no two-part flag

    f.element.flags = kElementTwoPart;
    f.element.words[0] = 1;
    EXPECT_EQ(layout.Setup(f.element), 3);
    ASSERT_NE(layout.second(), nullptr);
    SeriesPoint p;
    std::vector<float> seconds;
    std::vector<int> secondX;
    int n = 0;
    while (layout.Next(p)) {
        seconds.push_back(layout.secondPoint().value);
        secondX.push_back(layout.secondPoint().x);
        ++n;
    }
    EXPECT_EQ(n, 3);
    // The second part never ends by itself: it holds its last value; its display starts one step on.
    EXPECT_EQ(seconds, (std::vector<float>{11, 12, 12}));
    EXPECT_EQ(secondX, (std::vector<int>{110, 120, 120}));

    f.element.second.data = nullptr;
    layout.Setup(f.element);
    EXPECT_EQ(layout.second(), nullptr);
}

TEST(SeriesLayout, AnElementWithoutDataYieldsNothing)
{
    Fixture f(3);
    CGraphSeriesLayout layout;
    EXPECT_EQ(layout.Setup(f.element), 0);
    EXPECT_EQ(layout.second(), nullptr);
    SeriesPoint p;
    EXPECT_FALSE(layout.Next(p));
    f.element.flags = kElementTwoPart;
    Bytes highs = Floats({1});
    f.Hold(f.element.second, kArrayFloats, 0, 0, highs, 1);
    EXPECT_EQ(layout.Setup(f.element), 0);
    EXPECT_EQ(layout.second(), nullptr);
}

TEST(SeriesLayout, PointsAreColouredAgainstThePreviousDrawnPoint)
{
    struct Case {
        const char* name;
        uint32_t type;
        uint32_t selector;
        Bytes bytes;
        int32_t count;
        uint32_t mode;
        float low, high;
        std::vector<int> colours;
    };
    Bytes days = Days({{10, 14, 8, 12, 100, 0, 1}, {11, 16, 9, 15, 150, 0, 1}, {12, 13, 4, 6, 200, 0, 1},
                       {13, 15, 7, 6, 300, 0, 1}});
    Bytes values = Floats({5, 6, 0, 4, 4});
    std::vector<Case> cases;
    cases.push_back({"single colour", kArrayDaily, 8, days, 4, 0, 0, 0, {0, 0, 0, 0}});
    cases.push_back({"close against close", kArrayDaily, 8, days, 4, 1, 0, 0, {0, 0, 1, 2}});
    cases.push_back({"close against open", kArrayDaily, 8, days, 4, 2, 0, 0, {0, 0, 1, 1}});
    cases.push_back({"graduated volume", kArrayDaily, 16, days, 4, 5, 100, 300, {-1, -17, -33, -64}});
    cases.push_back({"swing class", kArrayDaily, 8, days, 4, 6, 0, 0, {0, 0, 1, 0}});
    // The zero is not drawn (bit 8), so 4 is coloured against 6.
    cases.push_back({"values up and down", kArrayFloats, kSelectSkipZero, values, 5, 7, 0, 0, {0, 0, 0, 1, 2}});
    for (Case& c : cases) {
        Fixture f(c.count);
        f.Hold(f.element.values, c.type, c.selector, 0, c.bytes, c.count);
        CGraphSeriesLayout layout;
        layout.Setup(f.element);
        layout.colourMode = c.mode;
        layout.signalOrLow = c.low;
        layout.gradientHigh = c.high;
        std::vector<int> colours;
        for (const SeriesPoint& p : Walk(layout))
            colours.push_back(p.drawn ? p.colour : 0);
        EXPECT_EQ(colours, c.colours) << c.name;
    }
}
