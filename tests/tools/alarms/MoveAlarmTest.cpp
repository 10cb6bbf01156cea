// The move alarm: rises and falls over n records, weekly counts, too few records, intermediate
// extremes, equal levels and a reference close of 0, each with the text the alarm list shows.
#include "tools/alarms/MoveAlarm.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

std::vector<AlarmDay> Closes(std::initializer_list<float> closes)
{
    std::vector<AlarmDay> days;
    for (float c : closes)
        days.push_back({uint16_t(days.size() + 1), c});
    return days;
}

TEST(MoveAlarmTest, MovesOverTheirDaysTriggerWithTheirTexts)
{
    struct Case {
        std::vector<AlarmDay> days;
        MoveAlarmRow row;
        int periodType;
        bool intermediate;
        const char* text; // null: no trigger
    } cases[] = {
        {Closes({100, 104, 108, 112.5}), {true, 3, 12.5f, true}, 0, false, "Increase 12.5% in 3 days"},
        {Closes({100, 104, 108, 112.5}), {true, 3, 13, true}, 0, false, nullptr},
        {Closes({100, 104, 108, 112.5}), {false, 3, 12.5f, true}, 0, false, nullptr},
        {Closes({100, 90}), {true, 1, 10, false}, 0, false, "Decrease 10% in 1 day"},
        {Closes({100, 90}), {true, 1, 10, true}, 0, false, nullptr},
        {Closes({100, 120}), {true, 5, 20, true}, 0, false, "Increase 20% in 1 day"},
        {Closes({100, 120, 150}), {true, 6, 50, true}, kWeeklyPeriodType, false, "Increase 50% in 2 weeks"},
        {Closes({100, 120, 150}), {true, 5, 30, true}, kWeeklyPeriodType, false, nullptr},
        {Closes({100, 80, 150}), {true, 5, 10, true}, kWeeklyPeriodType, false, "Increase 87.5% in 1 week"},
        {Closes({100, 90, 95, 110}), {true, 3, 20, true}, 0, true, "Increase 22.2% in 2 days"},
        {Closes({100, 90, 90, 110}), {true, 3, 20, true}, 0, true, "Increase 22.2% in 2 days"},
        {Closes({100, 90, 95, 110}), {true, 3, 20, true}, 0, false, nullptr},
        {Closes({100, 130, 120, 104}), {true, 3, 20, false}, 0, true, "Decrease 20% in 2 days"},
        {Closes({0, 50}), {true, 1, 10, true}, 0, false, nullptr},
        {Closes({100, 0, 50}), {true, 2, 10, true}, 0, true, nullptr},
        {Closes({100, 110, 95, 90}), {true, 3, 10, false}, 0, false, "Decrease 10% in 3 days"},
        {Closes({100}), {true, 1, 10, true}, 0, false, nullptr},
    };
    for (const Case& k : cases) {
        MoveAlarmText text;
        const int current = int(k.days.size()) - 1;
        bool fired = CheckMoveAlarm(k.days, k.row, current, k.days.back().close, k.periodType, k.intermediate, &text);
        EXPECT_EQ(fired, k.text != nullptr) << (k.text ? k.text : "no trigger") << " " << text.joined();
        if (k.text && fired) {
            EXPECT_EQ(text.joined(), k.text);
        }
    }
}

} // namespace
} // namespace qv
