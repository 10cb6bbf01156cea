// The portfolio caption and command tooltips.
#include "core/Captions.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(CaptionsTest, PortfolioCaptionFallsBackToTheCurrentList)
{
    EXPECT_EQ(GetPortfolioCaption("Growth", "Income"), "Portfolio: Growth");
    EXPECT_EQ(GetPortfolioCaption(std::nullopt, "Income"), "Portfolio: Income");
    EXPECT_EQ(GetPortfolioCaption(std::nullopt, std::nullopt), "Portfolio: None selected");
}

TEST(CaptionsTest, CommandTipIsThePartAfterTheNewline)
{
    auto previous = SetCommandStringSource([](uint32_t id) -> std::string {
        switch (id) {
        case 100: return "Print the chart\nPrint";
        case 26422: return "Find\nFind a share";
        case 101: return "No tip here";
        default: return "";
        }
    });
    EXPECT_EQ(GetCommandTip(100), "Print");
    EXPECT_EQ(GetCommandTip(26422), "Find");
    EXPECT_EQ(GetCommandTip(101), "No tip here");
    EXPECT_EQ(GetCommandTip(5), "");
    SetCommandStringSource(previous);
}
