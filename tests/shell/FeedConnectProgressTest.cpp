// The connecting dialog's steps and its 3-second rule.
#include "shell/FeedConnectProgress.h"

#include "realtime/FeedStates.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(FeedConnectProgressTest, StepsClampForTheBarAndErrorsKeepTheirText)
{
    struct Case {
        int32_t step;
        int32_t position;
        const char* text;
    };
    const Case cases[] = {
        {-1, 0, "Not connected."},
        {0, 0, "Not connected."},
        {3, 3, "Locating an intraday server."},
        {7, 7, "Success - Connected to Quorvantis Intraday."},
        {9, 7, "Success - Connected to Quorvantis Intraday."},
        {11, 7, "Error - Server does accept this verison."},
        {15, 7, "Error - Unable to maintain connection."},
        {16, 7, "Success - Connected to Quorvantis Intraday."},
    };
    for (const Case& c : cases) {
        FeedConnectView v = FeedConnectStepView(c.step);
        EXPECT_EQ(v.position, c.position) << c.step;
        EXPECT_EQ(v.text, c.text) << c.step;
    }
}

TEST(FeedConnectProgressTest, ClosedEarlyItStaysUpForTheRestOfThreeSeconds)
{
    const std::pair<uint32_t, uint32_t> cases[] = {{0, 3000}, {1200, 1800}, {2999, 1}, {3000, 0}, {60000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(FeedConnectCloseWaitMs(c.first), c.second) << c.first;
}

TEST(FeedConnectProgressTest, EveryStepHasItsText)
{
    EXPECT_STREQ(FeedStepText(0), "Not connected.");
    EXPECT_STREQ(FeedStepText(15), "Error - Unable to maintain connection.");
    EXPECT_STREQ(FeedStepText(16), "");
    EXPECT_STREQ(FeedStepText(-1), "");
}

} // namespace
} // namespace qv
