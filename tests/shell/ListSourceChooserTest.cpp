// Tests of the small chooser by which a dialog picks a list source.
#include "shell/ListSourceChooser.h"

#include "core/Portfolio.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ListSourceChooser, SequencesByMode)
{
    std::vector<uint16_t> full = ChooserListCodes(0);
    EXPECT_EQ(full.size(), 31u);
    EXPECT_EQ(full.front(), 0);
    EXPECT_EQ(full[3], 18);
    EXPECT_EQ(full.back(), 34);
    std::vector<uint16_t> one = ChooserListCodes(1);
    EXPECT_EQ(one.back(), 24);
    EXPECT_EQ(one.size(), 23u);
    std::vector<uint16_t> two = ChooserListCodes(5);
    EXPECT_EQ(two.size(), 25u);
    EXPECT_EQ(two[23], 28);
    EXPECT_EQ(two[24], 34);
}

TEST(ListSourceChooser, RadiosCodesAndThePortfolioEntry)
{
    test::FakeMessageBox boxes;
    ListSourceChooser chooser;
    chooser.code = 4;
    chooser.Fill(1);
    EXPECT_EQ(chooser.radio, 2);
    EXPECT_FALSE(chooser.comboEnabled);
    EXPECT_EQ(chooser.selected, 1) << "FTSE 100 has its radio button, not an entry";

    chooser.OnSelect(0);
    EXPECT_EQ(chooser.code, 1);
    chooser.OnSelect(1);
    EXPECT_TRUE(chooser.comboEnabled);

    // No user portfolio: the message and the all list.
    chooser.OnComboChange(0, [] { return nullptr; });
    EXPECT_EQ(boxes.texts().back(), "There are currently no user portfolios available.\nUsing the all list.");
    EXPECT_EQ(chooser.code, 0);

    Portfolio mine;
    mine.number = 6;
    mine.name = "Pension";
    PortfolioChain() = &mine;
    chooser.OnComboChange(0, [&] { return &mine; });
    EXPECT_EQ(chooser.portfolioNumber, 6);
    EXPECT_EQ(chooser.entries[1].text, "Port: Pension");
    EXPECT_EQ(chooser.entries[1].data, kChooserChosenPortfolio);
    EXPECT_EQ(chooser.selected, 1);

    // Refilled, the chosen portfolio is selected; another list drops its entry.
    chooser.Fill(0);
    EXPECT_EQ(chooser.selected, 1);
    chooser.OnComboChange(5, {});
    EXPECT_EQ(chooser.code, chooser.entries[size_t(chooser.selected)].data);
    EXPECT_NE(chooser.entries[1].data, kChooserChosenPortfolio);

    // A remembered portfolio that is gone falls back to the all list.
    PortfolioChain() = nullptr;
    chooser.Fill(0);
    EXPECT_EQ(chooser.code, 0);
    EXPECT_EQ(chooser.entries[size_t(chooser.selected)].text, "All");
}
