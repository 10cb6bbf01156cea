// The intraday column dialogs as command 26809 runs them: switching between the basic and the
// advanced dialog keeps the choice, "Add Now" then OK adds one column, the days box stops at 1,000
// with its message, and the advanced dialog shows the groups its choice uses. Renders of both.
#include "realtime/ui/IntradayColumnDlg.h"

#include "core/ColumnDef.h"
#include "platform/ByteOrder.h"
#include "shell/ui/ModalDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ui/ControlById.h"
#include "support/ui/Render.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace qv {
namespace {

using C = IntradayChoice;
constexpr int kOk = 1, kAddNow = 1001, kSwitch = 1002;

// Runs the command with one step per dialog shown; records the columns inserted.
class IntradayColumnDlgTest : public testing::Test {
protected:
    using Step = std::function<void(CIntradayColumnDlgBase&)>;
    void TearDown() override
    {
        SetModalDialogRunner(nullptr);
        TheIntradayColumnMemory() = {};
    }
    void Run(std::vector<Step> steps)
    {
        size_t next = 0;
        SetModalDialogRunner([&](QDialog& d) {
            auto& dialog = static_cast<CIntradayColumnDlgBase&>(d);
            EXPECT_LT(next, steps.size()) << "a dialog more than expected";
            if (next < steps.size())
                steps[next++](dialog);
            return d.result();
        });
        AddIntradayColumn(nullptr, [this](std::span<const uint8_t> record) {
            inserted.emplace_back(record.begin(), record.end());
            return true;
        });
        EXPECT_EQ(next, steps.size());
    }
    static void Click(QDialog& d, int id) { test::Control<QPushButton>(d, id)->click(); }
    std::vector<std::vector<uint8_t>> inserted;
};

TEST_F(IntradayColumnDlgTest, SwitchingKeepsTheChoiceAndTheBasicShowsItsGroup)
{
    Run({
        [](CIntradayColumnDlgBase& d) {
            auto& basic = dynamic_cast<CIntradayColumnDlg&>(d);
            EXPECT_TRUE(basic.button(IntradayBasic::PriceMid)->isChecked());
            basic.button(IntradayBasic::Volume)->click();
            Click(d, kSwitch);
        },
        [](CIntradayColumnDlgBase& d) {
            auto& advanced = dynamic_cast<CIntradayColumnAdvDlg&>(d);
            EXPECT_EQ(advanced.currentTab(), 1) << "the trades tab of the volume column";
            EXPECT_TRUE(advanced.button(C::Volume)->isChecked());
            EXPECT_TRUE(advanced.button(C::Total)->isChecked());
            EXPECT_EQ(advanced.spec().letter, 'Q');
            advanced.button(C::TradePrice)->click();
            advanced.button(C::High)->click();
            Click(d, kSwitch);
        },
        [](CIntradayColumnDlgBase& d) {
            auto& basic = dynamic_cast<CIntradayColumnDlg&>(d);
            EXPECT_TRUE(basic.button(IntradayBasic::Volume)->isChecked()) << "trade price is of the volume group";
            EXPECT_EQ(basic.spec().letter, 'P');
            EXPECT_EQ(basic.spec().valueKind, kIntradayHigh);
            Click(d, kOk);
        },
    });
    ASSERT_EQ(inserted.size(), 1u);
    EXPECT_EQ(inserted[0][ColumnDefLayout::FieldCode], 'P');
    EXPECT_EQ(inserted[0][27], kIntradayHigh);
    EXPECT_EQ(CIntradayColumnSpec::Title(inserted[0].data()), "Trade high");
    EXPECT_FALSE(TheIntradayColumnMemory().advanced) << "the basic dialog was the last one used";
}

TEST_F(IntradayColumnDlgTest, OkAfterAddNowAddsNothingMoreUnlessChosenAgain)
{
    Run({[](CIntradayColumnDlgBase& d) {
        dynamic_cast<CIntradayColumnDlg&>(d).button(IntradayBasic::Graph)->click();
        Click(d, kAddNow);
        Click(d, kOk);
    }});
    ASSERT_EQ(inserted.size(), 1u);
    EXPECT_EQ(inserted[0][ColumnDefLayout::Align], kIntradayShowGraph);
    EXPECT_EQ(LoadU16(inserted[0].data() + ColumnDefLayout::Width), kIntradayGraphWidth);

    inserted.clear();
    Run({[](CIntradayColumnDlgBase& d) {
        auto& basic = dynamic_cast<CIntradayColumnDlg&>(d);
        basic.button(IntradayBasic::Open)->click();
        Click(d, kAddNow);
        basic.button(IntradayBasic::Close)->click();
        Click(d, kOk);
    }});
    ASSERT_EQ(inserted.size(), 2u) << "a choice after Add Now is added on OK";
    EXPECT_EQ(inserted[1][ColumnDefLayout::FieldCode], 'H');

    inserted.clear();
    Run({[](CIntradayColumnDlgBase& d) { d.reject(); }});
    EXPECT_TRUE(inserted.empty());
}

TEST_F(IntradayColumnDlgTest, DaysAboveAThousandStopAtAThousandWithAMessage)
{
    TheIntradayColumnMemory().advanced = true;
    test::FakeMessageBox box;
    Run({[](CIntradayColumnDlgBase& d) {
        auto& advanced = dynamic_cast<CIntradayColumnAdvDlg&>(d);
        EXPECT_FALSE(advanced.group(" Time ")->isVisibleTo(&d)) << "Mid with Price uses no days";
        advanced.button(C::High)->click();
        EXPECT_TRUE(advanced.group(" Time ")->isVisibleTo(&d));
        EXPECT_FALSE(advanced.daysEdit()->isEnabled());
        advanced.button(C::PreviousDays)->click();
        EXPECT_TRUE(advanced.daysEdit()->isEnabled());
        advanced.daysEdit()->setText("1001");
        emit advanced.daysEdit()->textEdited("1001");
        Click(d, kOk);
    }});
    ASSERT_EQ(box.texts(), std::vector<std::string>{kIntradayDaysMessage});
    ASSERT_EQ(inserted.size(), 1u);
    EXPECT_EQ(LoadU16(inserted[0].data() + 29), 1000);
    EXPECT_EQ(CIntradayColumnSpec::Title(inserted[0].data()), "Mid high 1000 days ago");
}

TEST_F(IntradayColumnDlgTest, AdvancedGroupsFollowTheChoiceAndTabs)
{
    CIntradayColumnAdvDlg d(CIntradayColumnSpec::Initial(), nullptr);
    const auto shown = [&d](const char* title) { return d.group(title)->isVisibleTo(&d); };
    EXPECT_TRUE(shown(" Price "));
    EXPECT_TRUE(shown(" Price Type "));
    EXPECT_TRUE(shown(" Value "));
    EXPECT_FALSE(shown(" Volume Type "));
    EXPECT_TRUE(d.pricePrompt()->isVisibleTo(&d));
    EXPECT_FALSE(d.volumePrompt()->isVisibleTo(&d));
    test::SaveRender(test::RenderWidget(d), "intraday_column_advanced_prices");

    d.SelectTab(1);
    EXPECT_EQ(d.spec().letter, 'P') << "the trades tab chooses Trade price";
    EXPECT_TRUE(shown(" Trades "));
    EXPECT_FALSE(shown(" Price "));
    d.Choose(C::Count);
    EXPECT_TRUE(shown(" Volume Type "));
    EXPECT_FALSE(d.button(C::LastTrade)->isVisibleTo(&d)) << "no last trade for a count";
    EXPECT_TRUE(d.volumePrompt()->isVisibleTo(&d));
    EXPECT_FALSE(d.pricePrompt()->isVisibleTo(&d));
    test::SaveRender(test::RenderWidget(d), "intraday_column_advanced_trades");
    d.Choose(C::Value);
    EXPECT_TRUE(d.button(C::LastTrade)->isVisibleTo(&d));

    d.SelectTab(2);
    EXPECT_EQ(d.spec().display, kIntradayShowGraph);
    EXPECT_FALSE(shown(" Price Type "));
    EXPECT_TRUE(shown(" Time "));
    test::SaveRender(test::RenderWidget(d), "intraday_column_advanced_graphs");
    d.SelectTab(3);
    EXPECT_EQ(d.spec().letter, 'G');
    EXPECT_EQ(TheIntradayColumnMemory().tab, 3);

    CIntradayColumnDlg basic(CIntradayColumnSpec::Initial(), nullptr);
    test::SaveRender(test::RenderWidget(basic), "intraday_column_basic");
}

} // namespace
} // namespace qv
