// The hooks the program installs between its layers, as the running program has them.
#include "core/Portfolio.h"
#include "realtime/RTMarketTable.h"
#include "shell/PortfolioAdd.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(LayerHooks, AChangedPortfolioLeavesTheMarketTableSoItsPaneCountsItsSharesAgain)
{
    CRTMarketTable& table = TheRTMarketTable();
    MarketSource changed, other;
    changed.isPortfolio = other.isPortfolio = true;
    changed.portfolio = 0x7A1;
    other.portfolio = 0x7A2;
    table.AddEntry(0x4F01, changed);
    table.AddEntry(0x4F01, other);

    Portfolio portfolio;
    portfolio.number = 0x7A1;
    ASSERT_TRUE(PortfolioChangeListener());
    PortfolioChangeListener()(&portfolio);

    EXPECT_FALSE(table.FindEntry(0x4F01, changed.SubKey()));
    EXPECT_TRUE(table.FindEntry(0x4F01, other.SubKey())) << "another portfolio's entry stays";
    PortfolioChangeListener()(nullptr);
    EXPECT_TRUE(table.FindEntry(0x4F01, other.SubKey())) << "a change of every portfolio names none";
    table.DeleteEntry(0x4F01, other.SubKey());
}

} // namespace
} // namespace qv
