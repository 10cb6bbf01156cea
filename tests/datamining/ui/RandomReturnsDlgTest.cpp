// "Monte Carlo Simulation" on a writer-built database with prices in 1998-2001: the share counts that
// refuse a run, the no-prices text, runs repeated by reopening and continued by a second Start,
// Remember/Reset, the log in the data folder, and renders.
#include "datamining/ui/RandomReturnsDlg.h"

#include "../SimulationFixture.h"
#include "core/StringPrintf.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"
#include "shell/IdleWork.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

using namespace qv;
using namespace qv::test;

namespace {

class RandomReturnsDlgTest : public SimulationFixture {
protected:
    RandomReturnsDlgTest() : previous_(ProgramFolder())
    {
        std::filesystem::create_directories(folder_.path() / "data");
        SetProgramFolder(folder_.path());
    }
    ~RandomReturnsDlgTest() override { SetProgramFolder(previous_); }

    // Shares priced on both dates of the first period (returns spread over -20% to +40%), and
    // `unpriced` more whose prices begin after its first date.
    void LoadShares(int priced, int unpriced)
    {
        std::vector<SimulationShare> shares;
        for (int i = 0; i < priced; ++i)
            shares.push_back({StringPrintf("P%d", 1000 + i), 100, 80 + (i * 7) % 61, PackDate(1, 11, 2000)});
        for (int i = 0; i < unpriced; ++i)
            shares.push_back({StringPrintf("U%d", 1000 + i), 100, 100, PackDate(1, 6, 2001)});
        LoadSimulationShares(shares);
    }

    static void SetSize(CRandomReturnsDlg& dialog, int n)
    {
        dialog.findChild<QLineEdit*>("size")->setText(QString::number(n));
    }

    dev::TempFolder folder_{"montecarlo"};
    std::filesystem::path previous_;
};

TEST_F(RandomReturnsDlgTest, TooFewOrNoPricedSharesRefuseTheRun)
{
    struct Case {
        int priced, unpriced, n;
        const char* message;
    } cases[] = {
        {400, 100, 500, "Not enough shares selected"},
        {500, 0, 500, "Not enough shares selected"}, // exactly N
        {0, 20, 5, "No prices for this period: none of these shares has prices on both 1 December 2000 and "
                   "1 December 2001."},
        {6, 3, 5, nullptr},
    };
    for (const Case& c : cases) {
        LoadShares(c.priced, c.unpriced);
        FakeMessageBox box;
        CRandomReturnsDlg dialog;
        SetSize(dialog, c.n);
        EXPECT_EQ(dialog.prepared().usable.size(), size_t(c.priced));
        EXPECT_EQ(dialog.Start(), c.message == nullptr) << c.priced << " " << c.n;
        EXPECT_EQ(box.texts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        EXPECT_EQ(dialog.noPricesText().isEmpty(), c.priced > 0);
        if (c.priced == 0)
            SaveRender(RenderWidget(dialog), "montecarlo_no_prices");
    }
    // The sizes the edit takes are 1 to 500.
    FakeMessageBox box;
    CRandomReturnsDlg dialog;
    SetSize(dialog, 501);
    EXPECT_FALSE(dialog.Start());
    EXPECT_EQ(box.texts(), std::vector<std::string>{"Please enter an integer between 1 and 500."});
}

TEST_F(RandomReturnsDlgTest, ReopeningRepeatsARunAndASecondStartContinues)
{
    LoadShares(40, 5);
    CRandomReturnsDlg first;
    ASSERT_TRUE(first.Start());
    const SimulationResult one = first.current()->result;
    CRandomReturnsDlg reopened;
    ASSERT_TRUE(reopened.Start());
    EXPECT_EQ(reopened.current()->result.bins, one.bins);
    ASSERT_TRUE(first.Start());
    EXPECT_NE(first.current()->result.bins, one.bins);
    EXPECT_EQ(first.current()->caption, "FTSE 100     5 shares     Dec 2000 - Dec 2001");
    // The log names the priced shares only, in the data folder.
    std::ifstream log(folder_.path() / "data" / "MC.log", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 40);
    EXPECT_EQ(text.rfind("P1000\t100\t80\r", 0), 0u);
}

TEST_F(RandomReturnsDlgTest, RememberKeepsARunBesideTheNextAndResetDropsIt)
{
    LoadShares(60, 0);
    CRandomReturnsDlg dialog;
    auto* remember = dialog.findChild<QPushButton*>("remember");
    ASSERT_TRUE(dialog.Start());
    dialog.RememberOrReset();
    EXPECT_EQ(remember->text(), "Reset");
    ASSERT_TRUE(dialog.remembered());
    const SimulationResult kept = dialog.remembered()->result;
    SetSize(dialog, 20);
    ASSERT_TRUE(dialog.Start());
    EXPECT_EQ(dialog.remembered()->result.bins, kept.bins);
    EXPECT_NE(dialog.current()->result.bins, kept.bins);
    dialog.findChild<QCheckBox*>("text")->setChecked(true);
    SaveRender(RenderWidget(dialog), "montecarlo_remembered_with_text");
    dialog.RememberOrReset();
    EXPECT_EQ(remember->text(), "Remember");
    EXPECT_FALSE(dialog.remembered());
    // Another period with no priced share shows the no-prices text at once.
    dialog.findChild<QComboBox*>("period")->setCurrentIndex(2);
    EXPECT_EQ(dialog.noPricesText(), "No prices for this period: none of these shares has prices on both "
                                     "1 December 1998 and 1 December 1999.");
}

} // namespace

namespace {

// The run pumps waiting messages: closing the dialog then stops the draws, and it closes after them.
TEST_F(RandomReturnsDlgTest, ClosingDuringARunStopsTheDraws)
{
    LoadShares(20, 0);
    SetEventPump([](bool) { QCoreApplication::processEvents(); });
    CRandomReturnsDlg dialog;
    QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    EXPECT_FALSE(dialog.Start());
    SetEventPump({});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ASSERT_TRUE(dialog.current());
    uint64_t drawn = 0;
    for (uint32_t c : dialog.current()->result.bins)
        drawn += c;
    EXPECT_LT(drawn, uint64_t(kSimulationDraws));
}

} // namespace
