// The summary of trades on a trade list, the trade price history of a stored day, and the trade
// list's date chooser refusing a day after the newest stored day.
#include "realtime/ui/TradeDialogs.h"

#include "lists/ListViewOptions.h"
#include "realtime/store/RTTickCoding.h"
#include "realtime/ui/TradeSummaryPanel.h"
#include "realtime/ui/ViewTradeList.h"
#include "shell/ui/DateEdit.h"
#include "tests/realtime/store/RTStoreFixture.h"
#include "tests/support/FakeMessageBox.h"
#include "tests/support/ui/Render.h"

#include <QFontMetrics>
#include <QLayout>
#include <QListWidget>

#include <map>

namespace qv {
namespace {

using test::kFri4;
using test::kMon7;
using test::kTue8;

constexpr uint16_t kShare = 0x4001;

class TradeDialogsTest : public test::RTStoreTest {
protected:
    void SetUp() override
    {
        test::RTStoreTest::SetUp();
        TheRTStore().days = {kFri4, kMon7};
        RTDayRecord* day = GetRTDay(kMon7, true);
        int32_t slot = -1;
        RTTickWriter w(*GetRTDayShare(MakeRTKey(0, kShare), *day, slot, true));
        w.Time(28800);
        w.PriceItem(0, 106, 0, 100, RTStoredTrade{105, 300, 0});
        w.Time(28900);
        w.PriceItem(0, 106, 0, 100, RTStoredTrade{105, 300, 0});
        w.PriceItem(0, 106, 0, 100, RTStoredTrade{105, 300, 0});
        w.PriceItem(0, 106, 0, 100, RTStoredTrade{100.5f, 300, 0});
    }
};

TEST_F(TradeDialogsTest, TheSummaryOfATradeListsDay)
{
    CViewTradeList view(kMon7, false);
    view.ShowShare(kShare);
    CTradeSummaryDlg dialog(view, kSummarySignificant | kSummaryPercentages);
    EXPECT_TRUE(dialog.table().message.empty());
    EXPECT_EQ(dialog.table().cells[0][0], "4");
    EXPECT_EQ(dialog.table().percents[1][0], "(75%)");
    EXPECT_EQ(dialog.table().percents[2][1], "(25%)");
    EXPECT_EQ(dialog.table().percents[3][2], "(0%)");
    test::SaveRender(test::RenderWidget(dialog), "trade_summary");

    CViewTradeList empty(kFri4, false);
    empty.ShowShare(kShare);
    CTradeSummaryDlg none(empty, kSummarySignificant);
    EXPECT_EQ(none.table().message, "No trade data available");
    test::SaveRender(test::RenderWidget(none), "trade_summary_no_data");
}

// Whatever the options, every text fits its box inside the panel, no two texts overlap, the rows lie
// in the sunken area under the headings, and each column's heading and figures share a right edge.
TEST_F(TradeDialogsTest, TheSummaryTableIsLaidOutFromItsTexts)
{
    CViewTradeList view(kMon7, false);
    view.ShowShare(kShare);
    for (uint32_t options : {0u, kSummarySignificant, kSummaryPercentages, kSummarySignificant | kSummaryPercentages}) {
        CTradeSummaryDlg dialog(view, options);
        const TradeSummaryPanel& panel = dialog.panel();
        const QRect whole(QPoint(0, 0), panel.sizeHint());
        const QRect data = panel.dataArea();
        const auto& texts = panel.texts();
        ASSERT_EQ(texts.size(), 3u + 4u * 4u + ((options & kSummaryPercentages) ? 9u : 0u)) << options;
        std::map<int, int> rightEdges;
        for (size_t i = 0; i < texts.size(); ++i) {
            const auto& t = texts[i];
            const QFontMetrics metrics(t.percent ? panel.percentFont() : panel.font());
            EXPECT_LE(metrics.horizontalAdvance(t.text), t.box.width()) << t.text.toStdString() << " clipped";
            EXPECT_TRUE(whole.contains(t.box)) << t.text.toStdString();
            const bool heading = t.box.bottom() < data.top();
            EXPECT_TRUE(heading || data.contains(t.box)) << t.text.toStdString();
            if ((t.align & Qt::AlignRight) && !t.percent)
                ++rightEdges[t.box.right()];
            for (size_t j = i + 1; j < texts.size(); ++j)
                EXPECT_FALSE(t.box.intersects(texts[j].box)) << t.text.toStdString() << " / " << texts[j].text.toStdString();
        }
        EXPECT_EQ(rightEdges.size(), 3u) << options;
        for (const auto& [edge, count] : rightEdges)
            EXPECT_EQ(count, 5) << "a heading and four figures end at " << edge;
        dialog.layout()->activate();
        EXPECT_GE(dialog.width(), whole.width()) << "the dialog widens to its table";
    }

    CViewTradeList empty(kFri4, false);
    empty.ShowShare(kShare);
    CTradeSummaryDlg none(empty, kSummaryPercentages);
    ASSERT_EQ(none.panel().texts().size(), 1u);
    EXPECT_EQ(none.panel().texts()[0].box.center(), none.panel().dataArea().center()) << "the message is centred";
}

TEST_F(TradeDialogsTest, TheSummaryOpensOnlyWithLivePricesAndNeverForCash)
{
    CViewTradeList view(kMon7, false);
    CurrentListViewOptions().livePrices = false;
    EXPECT_FALSE(CTradeSummaryDlg::Open(&view, nullptr));
    CurrentListViewOptions().livePrices = true;
    view.kind = 7;
    EXPECT_FALSE(CTradeSummaryDlg::Open(&view, nullptr));
    view.kind = 10;
    CurrentListViewOptions().livePrices = false;
}

TEST_F(TradeDialogsTest, TheHistoryListsTheNewestDaysTicks)
{
    CTradePriceHistoryDlg dialog(kShare);
    ASSERT_GE(dialog.lines()->count(), 2 + 2 + 4);
    EXPECT_EQ(dialog.lines()->item(0)->text(), QStringLiteral("New date = 7/12/26"));
    EXPECT_EQ(dialog.lines()->item(2)->text(), QStringLiteral(" Time @ 08:00:00"));
    test::SaveRender(test::RenderWidget(dialog), "trade_price_history");
    CTradePriceHistoryDlg nothing(0x4002);
    EXPECT_EQ(nothing.lines()->item(0)->text(), QStringLiteral("No intraday information"));
}

TEST_F(TradeDialogsTest, ADayAfterTheNewestIsRefusedAndReset)
{
    test::FakeMessageBox box;
    CTradeListDateDlg dialog(kMon7, kMon7);
    test::SaveRender(test::RenderWidget(dialog), "trade_list_date");
    dialog.dateEdit()->date = kTue8;
    dialog.dateEdit()->FormatDate(true);
    dialog.accept();
    ASSERT_EQ(box.texts().size(), 1u);
    EXPECT_EQ(box.texts()[0], kTradeDateOutOfRange);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.dateEdit()->ReadDate(), kMon7) << "reset to the newest stored day";
    dialog.dateEdit()->date = kFri4;
    dialog.dateEdit()->FormatDate(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.day(), kFri4);
}

} // namespace
} // namespace qv
