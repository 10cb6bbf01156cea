// The daily chart window in box mode, driven as a user drives it: the arrow keys move a column or a
// row, + and - zoom the boxes (the offsets back to auto), the wheel moves over the columns, and the
// pointer over the chart reads out the column under it. Renders of each style and box kind go to
// renders/box-charts/ to look at.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/GraphModel.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "core/ConfigState.h"
#include "devtools/lib/SyntheticDays.h"
#include "resources/MessageIds.h"
#include "support/ui/Render.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace qv {
namespace {
namespace gs = graphsetting;

class BoxChartWindow : public ::testing::Test {
protected:
    BoxChartWindow() : saved_(Config().dailyGraphs.records[0])
    {
        InitGraphSetting(Setting(), false);
        gs::SetU16(Setting(), gs::kBoxValue, 100);
        gs::SetU8(Setting(), gs::kBoxValueOption, 0);
        days_ = dev::MakeSyntheticDays(1500);
        chart.eod.SetHistory(days_.data(), int32_t(days_.size()), 1);
        chart.active = 1;
        chart.resize(900, 640);
    }
    ~BoxChartWindow() override { Config().dailyGraphs.records[0] = saved_; }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }
    QImage Grab()
    {
        QImage image(chart.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        chart.render(&painter);
        return image;
    }
    void Show(uint32_t command)
    {
        chart.onProgramMessage(WM_COMMAND, command, 0);
        Grab();
        Grab();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&chart, &press);
        Grab();
    }
    void Wheel(int delta)
    {
        const QPoint at = chart.rect().center();
        QWheelEvent wheel(QPointF(at), QPointF(chart.mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&chart, &wheel);
        Grab();
    }
    int32_t LastColumnX()
    {
        return chart.IndexToXScale(&chart.timeBands->scale, int32_t(chart.eod.boxPoints().back().step));
    }

    std::vector<DayRecord> days_;
    CViewGraphEODWnd chart{kViewDailyChart};

private:
    GraphSetting saved_;
};

TEST_F(BoxChartWindow, KeysAndTheWheelMoveOverColumnsAndBoxes)
{
    Show(27217);
    ASSERT_TRUE(chart.eod.BoxMode());
    ASSERT_NE(chart.timeBands, nullptr);
    const int32_t w = chart.eod.BoxColumnWidth();
    const int32_t x = LastColumnX();
    Key(Qt::Key_Left);
    EXPECT_EQ(LastColumnX(), x + w);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    EXPECT_EQ(LastColumnX(), x - w);
    Wheel(120);
    Wheel(120);
    EXPECT_EQ(LastColumnX(), x + w);
    const int32_t row = chart.eod.boxLowRow();
    Key(Qt::Key_Up);
    EXPECT_EQ(chart.eod.boxLowRow(), row + 1);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(chart.eod.boxLowRow(), std::max(row - 1, 0));
    // A zoom step widens the columns and fits the chart again: the last column at the right edge.
    const uint8_t step = gs::U8(Setting(), gs::kBoxSizeSpace) & 15;
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(gs::U8(Setting(), gs::kBoxSizeSpace) & 15, std::min(step + 1, 8));
    const GraphPane* price = chart.FindPane(kPanePrice);
    EXPECT_LE(LastColumnX() + chart.eod.BoxColumnWidth() / 2, price->right);
    EXPECT_GT(LastColumnX() + chart.eod.BoxColumnWidth() / 2 + chart.eod.BoxColumnWidth(), price->right);
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(gs::U8(Setting(), gs::kBoxSizeSpace) & 15, step);
}

TEST_F(BoxChartWindow, ThePointerReadsOutTheColumnUnderIt)
{
    Show(27251);
    const GraphPane* price = chart.FindPane(kPanePrice);
    ASSERT_NE(price, nullptr);
    const QPoint at(LastColumnX(), (price->top + price->bottom) / 2);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(chart.mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    const std::string text = chart.eod.DescribeBoxSelection(at.x(), at.y());
    EXPECT_EQ(text.rfind("From ", 0), 0u) << text;
    EXPECT_NE(text.find(" to "), std::string::npos) << text;
    EXPECT_NE(text.find(" - "), std::string::npos) << text;
}

TEST_F(BoxChartWindow, RendersOfEachStyleAndBoxKind)
{
    struct Case {
        uint32_t command;
        uint16_t value;
        uint8_t kind;
        uint16_t options;
        const char* name;
    };
    const Case cases[] = {
        {27217, 100, 0, 0x20, "point-figure-fixed-grid"}, {27217, 200, 1, 0, "point-figure-percent"},
        {27217, 100, 3, 0, "point-figure-variable"},      {27217, 100, 4, 0, "point-figure-volatility"},
        {27250, 300, 0, 0, "kagi-fixed"},                 {27250, 300, 1, 0, "kagi-percent"},
        {27251, 100, 0, 0, "renko-fixed"},                {27251, 200, 1, 0, "renko-percent"},
        {27252, 100, 0, 0, "line-break"},
    };
    for (const Case& c : cases) {
        gs::SetU16(Setting(), gs::kBoxValue, c.value);
        gs::SetU8(Setting(), gs::kBoxValueOption, c.kind);
        gs::SetU16(Setting(), gs::kBoxChartFlags, c.options);
        Show(c.command);
        ASSERT_FALSE(chart.eod.boxPoints().empty()) << c.name;
        EXPECT_TRUE(chart.noDataText.empty()) << c.name;
        test::SaveRender(Grab(), QString("box-charts/") + c.name);
    }
}

} // namespace
} // namespace qv
