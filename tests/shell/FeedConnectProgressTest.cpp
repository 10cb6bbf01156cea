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

// The reason the last connection ended stays in view on the dialog and the pane while the feed is
// down or trying again, and gives way once a connection gets further.
TEST(FeedConnectProgressTest, AFailureStaysInViewUntilAConnectionGetsFurther)
{
    struct Case {
        int32_t step, failure;
        const char* text; // the dialog's
        bool pane;        // the pane shows the failure
    };
    const Case cases[] = {
        {0, 12, "Error - Unable to logon (account problem).", true},
        {3, 12, "Error - Unable to logon (account problem).", true},
        {0, kFeedNoAnswer, "No answer from the intraday server", true},
        {2, kFeedUnreadable, "The intraday server sent data that could not be read", true},
        {0, kFeedNoServer, "Error - Unable to locate a server.", true},
        {4, kFeedNoAnswer, "Checking your account number.", false},
        {0, 0, "Not connected.", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FeedConnectStepView(c.step, c.failure).text, c.text) << c.step << " " << c.failure;
        auto pane = FeedFailurePaneText(c.step, c.failure);
        EXPECT_EQ(pane.has_value(), c.pane) << c.step << " " << c.failure;
        if (pane)
            EXPECT_EQ(*pane, c.text);
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
