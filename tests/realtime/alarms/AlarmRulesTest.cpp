// The intraday alarm rules: strict comparisons, the move texts per interval kind, the quote reference,
// the drawn-line crosses and the share record's layout with its bounded note.
#include "realtime/alarms/AlarmRules.h"

#include "chartmodel/IntradayReadouts.h"
#include "chartmodel/LineObjects.h"
#include "realtime/alarms/AlarmMarket.h"

#include "chartmodel/ChartCalendar.h"
#include "core/ConfigState.h"
#include "core/LinesAndTextFiles.h"
#include "core/SystemDate.h"
#include "core/SettingRecordStore.h"
#include "realtime/RTFeedSettings.h"
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qv;

namespace {

RTAlarmSlot Slot(float percentage, int32_t kind, int16_t count = 1)
{
    RTAlarmSlot s;
    s.percentage = percentage;
    s.kind = kind;
    s.count = count;
    s.on = true;
    return s;
}

} // namespace

TEST(AlarmRules, MovesAreStrictAndNamedByTheirInterval)
{
    struct Case {
        RTAlarmSlot slot;
        float current, reference;
        const char* text; // null: no alarm
    };
    const Case cases[] = {
        {Slot(5, kIntervalSinceOpen), 105.01f, 100, "Up by 5.01% since open"},
        {Slot(5, kIntervalSinceOpen), 105, 100, nullptr},           // equal to the percentage
        {Slot(5, kIntervalSinceOpen), 90, 100, nullptr},            // the other direction
        {Slot(-5, kIntervalSinceClose), 94, 100, "Down by 6.00% since close"},
        {Slot(-5, kIntervalSinceClose), 95, 100, nullptr},
        {Slot(10, kIntervalDays, 3), 120, 100, "Up by 20.00% in 3 days"},
        {Slot(10, kIntervalMinutes, 30), 120, 100, "Up by 20.00% in 30 mins"},
        {Slot(10, kIntervalHours, 3 * 256), 120, 100, "Up by 20.00% in 3 hours"},
        {Slot(10, kIntervalHours, 3 * 256), 120, 0, nullptr},       // no reference
        {Slot(10, kIntervalHours, 3 * 256), 0, 100, nullptr},       // no price
    };
    for (const Case& c : cases) {
        const auto text = MoveAlarmText(c.slot, c.current, c.reference);
        if (c.text)
            EXPECT_EQ(text.value_or("none"), c.text);
        else
            EXPECT_FALSE(text) << *text;
    }
    EXPECT_EQ(IntervalText(Slot(1, 3)), "");
}

TEST(AlarmRules, LevelsAndStopLossRaiseOnlyStrictlyBeyond)
{
    RTShareAlarmRecord r;
    r.aboveOn = r.belowOn = r.stopOn = true;
    r.aboveLevel = 110;
    r.belowLevel = 90;
    r.stopPercent = 10;
    r.stopHigh = 100; // stop at 90
    struct Case {
        float price, todayHigh;
        std::vector<int32_t> kinds;
    };
    const Case cases[] = {
        {110, 0, {}},                              // equal to the level above
        {90, 0, {}},                               // equal to the level below and to the stop
        {110.5f, 0, {kAlarmAbove}},
        {89, 0, {kAlarmBelow, kAlarmStopLoss}},
        {95, 110, {kAlarmStopLoss}},               // today's high lifts the stop to 99
        {99, 110, {}},
    };
    for (const Case& c : cases) {
        std::vector<int32_t> kinds;
        for (const PriceAlarm& a : LevelAlarms(r, c.price, c.todayHigh, "9:05 GMT"))
            kinds.push_back(a.kind);
        EXPECT_EQ(kinds, c.kinds) << c.price;
    }
    EXPECT_EQ(LevelAlarms(r, 120, 0, "9:05 GMT")[0].text, "Price above alarm level at 9:05 GMT");
    EXPECT_EQ(AlarmTimeText(9 * 3600 + 5 * 60 + 59, "BST"), "9:05 BST");
}

TEST(AlarmRules, TheTimedReferenceIsTheNewestCountingQuoteBeforeTheTarget)
{
    const std::vector<AlarmQuote> quotes = {
        {100, 9, 11, 0},  // mid 10
        {200, 19, 21, 0}, // mid 20
        {300, 40, 30, 0}, // crossed: does not count
        {400, 29, 31, 1}, // a missing value: does not count
        {500, 49, 51, 0}, // mid 50
    };
    EXPECT_EQ(QuoteReference(quotes, 450), 20);
    EXPECT_EQ(QuoteReference(quotes, 201), 20);
    EXPECT_EQ(QuoteReference(quotes, 200), 10);
    EXPECT_EQ(QuoteReference(quotes, 50), 10) << "none that old: the earliest counting quote";
    EXPECT_EQ(QuoteReference({}, 50), 0);
    EXPECT_EQ(SlotTargetTime(Slot(1, kIntervalHours, 3 * 256), 36000), 36000 - 3 * 3600);
    EXPECT_EQ(SlotTargetTime(Slot(1, kIntervalMinutes, 30), 36000), 36000 - 1800);
}

TEST(AlarmRules, LineCrossesOfSlopedFlatVerticalAndExtendedLines)
{
    const uint32_t day = 20000 * 86400u;
    auto line = [&](uint32_t t1, float y1, uint32_t t2, float y2, bool extend, bool fall) {
        return AlarmLine{day + t1, day + t2, y1, y2, extend, fall};
    };
    struct Case {
        AlarmLine line;
        float p;
        uint32_t t, latest;
        std::optional<uint32_t> when;
    };
    const Case cases[] = {
        // Sloped from 100 at 10:00 to 110 at 11:00: 105 at 10:30.
        {line(36000, 100, 39600, 110, false, false), 105, 37800, 37800, 37800u},  // at the line counts as above
        {line(36000, 100, 39600, 110, false, false), 104.9f, 37800, 37800, std::nullopt},
        {line(36000, 100, 39600, 110, false, true), 104.9f, 37800, 37800, 37800u},
        {line(36000, 100, 39600, 110, false, true), 105, 37800, 37800, std::nullopt},
        {line(36000, 100, 39600, 110, false, false), 200, 35000, 35000, std::nullopt}, // before the line
        {line(36000, 100, 39600, 110, false, false), 200, 40000, 40000, std::nullopt}, // past its end
        {line(36000, 100, 39600, 110, true, false), 200, 40000, 40000, 40000u},       // extended
        // Flat at 100.
        {line(36000, 100, 39600, 100, false, false), 100, 37000, 37000, 37000u},
        {line(36000, 100, 39600, 100, false, true), 99, 37000, 37000, 37000u},
        // Vertical at 10:00 from 100 to 110: crossed at 10:00 when the price lies between the ends.
        {line(36000, 100, 36000, 110, false, false), 105, 35000, 37000, 36000u},
        {line(36000, 100, 36000, 110, false, false), 120, 35000, 37000, std::nullopt},
        {line(36000, 100, 36000, 110, true, false), 120, 35000, 37000, 36000u},
        {line(36000, 100, 36000, 110, false, false), 105, 36500, 37000, std::nullopt}, // price after it
        {line(36000, 100, 36000, 100, false, false), 100, 35000, 37000, std::nullopt}, // a point
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineCrossTime(c.line, c.p, c.t, c.latest), c.when) << c.p << " " << c.t;
    EXPECT_EQ(LineCrossText(line(36000, 100, 39600, 110, false, true), 37800, "GMT"),
              "Line cross at 10:30 GMT\tPrice fell below line");
    EXPECT_EQ(LineCrossText(line(36000, 100, 36000, 110, false, false), 36000, "GMT"), "Line cross at 10:00 GMT");
}

// The chart stores the side of the line the price stands on when the alarm is set (LineAlarmSide's
// rule); the server raises the alarm once the price stands on the other side by that same rule, and
// never while it stays where it was, the line itself counting as above.
TEST(AlarmRules, ALineAlarmsWhenThePriceLeavesTheSideTheChartStored)
{
    const uint32_t day = 20000 * 86400u;
    struct Case {
        uint32_t t1, t2;
        float y1, y2;
        float setAt;  // the price when the alarm was set, at 10:15
        float later;  // the price at 10:30
        bool raised;
    };
    const Case cases[] = {
        {36000, 39600, 100, 110, 101, 105, true},     // rises onto the sloped line (105 at 10:30)
        {36000, 39600, 100, 110, 101, 104.9f, false}, // still below it
        {36000, 39600, 100, 110, 104, 104.9f, true},  // set above (102.5 at 10:15), then falls below
        {36000, 39600, 100, 110, 104, 105, false},    // stays on the line: above
        {36000, 39600, 100, 100, 99, 100, true},      // flat: reaches the line
        {36000, 39600, 100, 100, 101, 99.9f, true},   // flat: falls below
        {36000, 39600, 100, 100, 101, 100, false},
        {39600, 36000, 110, 100, 101, 105, true},     // drawn from right to left
        {39600, 36000, 110, 100, 101, 104.9f, false},
    };
    for (const Case& c : cases) {
        const int word = LineSideOfPrice(c.setAt, 36900, day + c.t1, c.y1, day + c.t2, c.y2);
        ASSERT_TRUE(word == kLineSideBelow || word == kLineSideAbove);
        const AlarmLine line{day + c.t1, day + c.t2, c.y1, c.y2, false, word == kLineSideAbove};
        EXPECT_EQ(LineCrossTime(line, c.later, 37800, 37800).has_value(), c.raised)
            << c.y1 << "-" << c.y2 << " set at " << c.setAt << ", later " << c.later;
    }
}

TEST(RTShareAlarmRecord, RoundTripsFieldByFieldAndBoundsTheNote)
{
    RTShareAlarmRecord r = RTShareAlarmRecord::Defaults();
    r.moves[1].on = true;
    r.moves[4].kind = kIntervalHours;
    r.moves[4].count = 2 * 256;
    r.aboveOn = true;
    r.aboveLevel = 123.5f;
    r.stopFrom = 1700000000;
    r.timerTime = 1700003600;
    r.note = "watch";
    const std::vector<uint8_t> bytes = r.Write();
    ASSERT_EQ(bytes.size(), 172u + 6u);
    EXPECT_EQ(LoadF32(bytes.data() + 16), 10.0f);
    EXPECT_EQ(bytes[16 + 12], 1);
    EXPECT_EQ(LoadF32(bytes.data() + 100), 123.5f);
    EXPECT_EQ(bytes[109], 1);
    EXPECT_EQ(LoadU32(bytes.data() + 168), 1700003600u);
    EXPECT_EQ(RTShareAlarmRecord::Read(bytes), r);

    // A note without its NUL ends with the sub-record, never past it.
    std::vector<uint8_t> unended(bytes.begin(), bytes.end() - 1);
    EXPECT_EQ(RTShareAlarmRecord::Read(unended)->note, "watch");
    std::vector<uint8_t> bare(bytes.begin(), bytes.begin() + 172);
    EXPECT_EQ(RTShareAlarmRecord::Read(bare)->note, "");
    EXPECT_FALSE(RTShareAlarmRecord::Read(std::span(bytes).first(171)));
}

TEST(RTShareAlarmRecord, IsStoredAsSubRecordThreeOfTheShare)
{
    RTShareAlarmRecord r;
    r.newsOn = true;
    ASSERT_TRUE(StoreShareAlarmRecord(0x4123, 0, r));
    EXPECT_NE(GetSettingRecord(0x4123, 0, 3), nullptr);
    EXPECT_EQ(LoadShareAlarmRecord(0x4123, 0), r);
    const auto keys = ShareAlarmKeys();
    EXPECT_NE(std::find(keys.begin(), keys.end(), 0x4123u), keys.end());
    RemoveShareAlarmRecord(0x4123, 0);
    EXPECT_FALSE(LoadShareAlarmRecord(0x4123, 0));
}

TEST(RTAlarmSettings, DefaultsAndStoredOrderOfTheStochasticValues)
{
    const RTAlarmSettings d = RTAlarmSettings::Defaults();
    EXPECT_EQ(d.barMinutes, 44);
    EXPECT_EQ(d.macdLong, -26);
    EXPECT_EQ(d.rsiCount, -20);
    EXPECT_EQ(d.stochSlowing, 9) << "the first stored value is the slowing";
    EXPECT_EQ(d.stochSignal, 2);
    EXPECT_EQ(d.maCrossFlags, 3);
    EXPECT_EQ(RTAlarmSlot::Read(d.moves[5]).percentage, -20.0f);
    EXPECT_EQ(RTAlarmSlot::Read(d.moves[5]).count, 10);
    EXPECT_FALSE(RTAlarmSlot::Read(d.moves[0]).on);

    RTAlarmSettings s = d;
    s.stochCount = 14;
    s.barMinutes = 5;
    s.source = 2;
    s.portfolio = 7;
    RTAlarmSettingsRecord record;
    s.Write(record);
    EXPECT_EQ(RTAlarmSettings::Read(record), s);
    EXPECT_EQ(LoadI16(record.data() + 124 + 2 * 8), 9);
    EXPECT_EQ(record.data()[109], 5);
}

TEST(LineAlarmRecords, CollectsTodaysAlarmedLineStudiesAndRefusesAForeignSection)
{
    const uint32_t today = 20000, t0 = today * 86400u;
    LineObjectList list;
    auto add = [&](uint32_t time1, uint32_t time2, uint16_t alarm, uint16_t options, float price1 = 100) {
        LineObject* o = AddLineObject(list, 0, 0);
        o->flags |= kLineObjectSaved;
        o->setPointCount(2);
        StoreU32(o->point(0), time1);
        StoreF32(o->point(0) + 4, price1);
        StoreU32(o->point(1), time2);
        StoreF32(o->point(1) + 4, 110);
        o->setAlarm(alarm);
        StoreU16(o->stored.data() + 6, options);
    };
    add(t0 + 36000, t0 + 39600, 3, 1);         // today, falls below, extended
    add(t0 + 36000, t0 + 39600, 0, 0);         // no alarm
    add(t0 - 3600, t0 + 39600, 1, 0);          // an end on another day
    add(t0 + 36000, t0 + 39600, 2, 0);         // a damaged alarm word: no side
    add(t0 + 36000, t0 + 39600, 1, 0, std::numeric_limits<float>::quiet_NaN()); // a damaged price
    std::vector<uint8_t> item = PackLineObjects(list);
    FreeLineObjectList(list);
    std::vector<ShareLine> lines;
    ASSERT_TRUE(CollectAlarmLines(item, 0x4001, today, lines));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].key, 0x4001u);
    EXPECT_EQ(lines[0].line, (AlarmLine{t0 + 36000, t0 + 39600, 100, 110, true, true}));

    StoreU32(item.data() + 8 + 4, 7); // the first section's kind
    lines.clear();
    EXPECT_FALSE(CollectAlarmLines(item, 0x4001, today, lines));
    EXPECT_TRUE(lines.empty());
}

namespace qv {
namespace {

// A line the chart drew on today's calendar day is one the market hands the server.
TEST(LineAlarmRecords, TheMarketFindsALineDrawnOnTodaysCalendarDay)
{
    const uint32_t t0 = DateToCalendarIndex(GetTodayDate(0));
    LineObjectList list;
    LineObject* o = AddLineObject(list, 0, 0);
    o->flags |= kLineObjectSaved;
    o->setPointCount(2);
    StoreU32(o->point(0), t0 + 36000);
    StoreF32(o->point(0) + 4, 100);
    StoreU32(o->point(1), t0 + 39600);
    StoreF32(o->point(1) + 4, 110);
    o->setAlarm(1);
    LineObjectsSize(list, 0x4001, 1, 0);
    FreeLineObjectList(list);
    std::vector<ShareLine> lines;
    EXPECT_TRUE(AlarmMarket().Lines(lines));
    LinesAndTextStore().FreeItems();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].line.time1, t0 + 36000);
}

} // namespace
} // namespace qv
