// The cross hairs over the daily chart window: the command's check mark, the inverted lines that
// follow the mouse and go when it leaves, and a render of them.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "core/ConfigState.h"
#include "devtools/lib/SyntheticDays.h"
#include "resources/MessageIds.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
#include "views/ViewKinds.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <gtest/gtest.h>

namespace qv {
namespace {

namespace gs = graphsetting;

class CrossHairsWindow : public ::testing::Test {
protected:
    CrossHairsWindow() : saved_(Config().dailyGraphs.records[0])
    {
        InitGraphSetting(Config().dailyGraphs.records[0], false);
        gs::SetU8(Config().dailyGraphs.records[0], gs::kPriceDisplay, 4);
        ChartOptions().crossHairs = 0;
        ChartOptions().verticalLineOnly = 0;
        window.eod.SetHistory(days.data(), int32_t(days.size()), 1);
        plain = window.RenderToImage(900, 560);
    }
    ~CrossHairsWindow() override
    {
        ChartOptions().crossHairs = 0;
        ChartOptions().verticalLineOnly = 0;
        Config().dailyGraphs.records[0] = saved_;
    }
    bool Checked()
    {
        CommandUi ui{26212, false, std::nullopt, std::nullopt};
        EXPECT_TRUE(window.UpdateCommandUi(ui));
        EXPECT_TRUE(ui.enabled);
        return ui.checked.value_or(false);
    }
    // Pixels of the column (or row) that differ from the chart without cross hairs.
    int ChangedInColumn(const QImage& image, int x, int top, int bottom)
    {
        int n = 0;
        for (int y = top; y <= bottom; ++y)
            n += image.pixel(x, y) != plain.pixel(x, y);
        return n;
    }
    int ChangedInRow(const QImage& image, int y, int left, int right)
    {
        int n = 0;
        for (int x = left; x <= right; ++x)
            n += image.pixel(x, y) != plain.pixel(x, y);
        return n;
    }

    std::vector<DayRecord> days = dev::MakeSyntheticDays(120);
    CViewGraphEODWnd window{kViewDailyChart};
    QImage plain;

private:
    GraphSetting saved_;
};

TEST_F(CrossHairsWindow, TheLinesFollowTheMouseOverThePanesAndGoWhenItLeaves)
{
    EXPECT_FALSE(Checked());
    window.MoveCrossHairs(300, 200);
    EXPECT_FALSE(window.crossHairsShown()) << "off until the command";
    window.onProgramMessage(WM_COMMAND, 26212, 0);
    EXPECT_TRUE(Checked());

    // The panes as laid out (each paint builds them again at the same places).
    struct Box {
        int left, top, right, bottom;
    };
    auto box = [this](uint32_t id) {
        const GraphPane* pane = window.FindPane(id);
        return pane ? Box{pane->left, pane->top, pane->right, pane->bottom} : Box{};
    };
    const Box priceBox = box(kPanePrice), volumeBox = box(kPaneVolume);
    ASSERT_GT(priceBox.bottom, priceBox.top);
    ASSERT_GT(volumeBox.bottom, volumeBox.top);
    const Box* price = &priceBox;
    const Box* volume = &volumeBox;
    const int x = (price->left + price->right) / 2, y = (price->top + price->bottom) / 2;
    window.MoveCrossHairs(x, y);
    const QImage crossed = window.RenderToImage(900, 560);
    test::SaveRender(crossed, "eod_cross_hairs");
    EXPECT_EQ(ChangedInColumn(crossed, x, price->top, price->bottom), price->bottom - price->top + 1);
    EXPECT_EQ(ChangedInColumn(crossed, x, volume->top, volume->bottom), volume->bottom - volume->top + 1);
    EXPECT_EQ(ChangedInRow(crossed, y, price->left, price->right), price->right - price->left + 1);
    EXPECT_EQ(ChangedInColumn(crossed, x + 3, price->top, price->bottom), 1) << "only where the row crosses";
    EXPECT_EQ(ChangedInColumn(crossed, price->left - 3, 0, crossed.height() - 1), 0) << "the axis stays";

    ChartOptions().verticalLineOnly = 1;
    window.MoveCrossHairs(x + 10, y);
    const QImage vertical = window.RenderToImage(900, 560);
    EXPECT_EQ(ChangedInRow(vertical, y, price->left, x), 0);
    EXPECT_GT(ChangedInColumn(vertical, x + 10, price->top, price->bottom), 0);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&window, &leave);
    EXPECT_FALSE(window.crossHairsShown());
    EXPECT_EQ(window.RenderToImage(900, 560), plain);

    window.onProgramMessage(WM_COMMAND, 26212, 0);
    EXPECT_FALSE(Checked());
}

} // namespace
} // namespace qv
