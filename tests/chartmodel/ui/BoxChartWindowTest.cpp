// The daily chart window in box mode, driven as a user drives it: the arrow keys move a column or a
// row, + and - zoom the boxes (the offsets back to auto), the wheel moves over the columns, and the
// pointer over the chart reads out the column under it. Renders of each style and box kind go to
// renders/box-charts/ to look at.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/GraphModel.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorRecord.h"
#include "core/ConfigState.h"
#include "core/DateText.h"
#include "core/StringPrintf.h"
#include "platform/ByteOrder.h"
#include "devtools/lib/SyntheticDays.h"
#include "resources/MessageIds.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
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
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(at), QPointF(chart.mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&chart, &event);
    }
    void Drag(QPoint from, QPoint to)
    {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton);
        Grab();
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        Grab();
    }
    int32_t LastColumnX()
    {
        return chart.IndexToXScale(&chart.timeBands->scale, int32_t(chart.eod.boxPoints().back().step));
    }

    std::vector<DayRecord> days_;
    CViewGraphEODWnd chart{kViewDailyChart};
    IndicatorRecord rsi_ = IndicatorRecord::Of(2, 0, 14);

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

TEST_F(BoxChartWindow, AStyleChosenInTheDesignAfterScrollingIsFittedAtOnce)
{
    Show(27217);
    for (int i = 0; i < 5; ++i)
        Key(Qt::Key_Left);
    Key(Qt::Key_Up);
    // What Graph Design's OK does: the style written into the setting, the setting broadcast.
    for (uint8_t style : {uint8_t(7), uint8_t(6), uint8_t(8)}) {
        SCOPED_TRACE(int(style));
        gs::SetU8(Setting(), gs::kPriceDisplay, style);
        chart.NotifyGraphSettings(0);
        Grab();
        Grab();
        ASSERT_FALSE(chart.eod.boxPoints().empty());
        const GraphPane* price = chart.FindPane(kPanePrice);
        const int32_t w = chart.eod.BoxColumnWidth();
        const int32_t lastStep = int32_t(chart.eod.boxPoints().back().step);
        EXPECT_EQ(chart.eod.boxFirstColumn(), FitBoxColumns(lastStep, (price->right - price->left) / w, kBoxAuto));
        EXPECT_LE(LastColumnX(), price->right) << "the last column in view";
    }
    test::SaveRender(Grab(), "box-charts/line-break-after-a-scrolled-point-and-figure");
}

TEST_F(BoxChartWindow, GreyedCommandsAreDeadByKeyAndTheDaysAreTheChartsOwn)
{
    // A month's limit on the dates: the box chart is still built from the whole history.
    gs::SetU16(Setting(), gs::kDateRangeFlags, 16 | 32 | 2);
    gs::SetU16(Setting(), gs::kDateRangeCount, 1);
    Show(27217);
    std::array<std::string, 3> texts;
    chart.eod.FillStatusTexts(texts, true, false);
    EXPECT_EQ(texts[0], StringPrintf("%d trading days", int(days_.size()) - 1));
    auto state = [&](uint32_t command) {
        CommandUi ui;
        ui.command = command;
        chart.UpdateCommandUi(ui);
        return ui.enabled;
    };
    for (uint32_t style : {27217u, 27252u}) {
        Show(style);
        EXPECT_FALSE(state(27240)) << "Swing Chart Design";
        EXPECT_FALSE(state(26746)) << "the range limit";
        // Shift+4 reaches the view: the range stays.
        chart.onProgramMessage(WM_COMMAND, 26746, 0);
        EXPECT_EQ(gs::U16(Setting(), gs::kDateRangeFlags), 16 | 32 | 2);
        EXPECT_EQ(gs::U16(Setting(), gs::kDateRangeCount), 1);
    }
    Show(27121);
    EXPECT_TRUE(state(27240));
    EXPECT_TRUE(state(26746));
}

TEST_F(BoxChartWindow, ACentredChartDatesItsFirstAndLastColumnsWhereTheyStand)
{
    // Boxes so large that the few columns stand in the middle of the pane.
    gs::SetU16(Setting(), gs::kBoxValue, 5000);
    Show(27217);
    const std::span<const BoxChartPoint> points = chart.eod.boxPoints();
    ASSERT_FALSE(points.empty());
    const TimeBand* band = chart.timeBands;
    const int32_t half = chart.eod.BoxColumnWidth() / 2;
    const int32_t first = chart.IndexToXScale(&band->scale, int32_t(points.front().step));
    ASSERT_GT(first - half, band->left + 50) << "centred";
    const std::array<int32_t, 2> xs = chart.eod.AxisEndXs();
    EXPECT_EQ(xs[0], first - half);
    EXPECT_EQ(xs[1], LastColumnX() + half);
    test::SaveRender(Grab(), "box-charts/centred-with-its-end-dates");
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

TEST_F(BoxChartWindow, ADragMovesTheColumnsAndBoxesWithThePointer)
{
    Show(27217);
    const GraphPane* price = chart.FindPane(kPanePrice);
    ASSERT_NE(price, nullptr);
    const int32_t w = chart.eod.BoxColumnWidth();
    const int32_t x = LastColumnX(), row = chart.eod.boxLowRow();
    const QPoint middle((price->left + price->right) / 2, (price->top + price->bottom) / 2);
    // Three columns to the left and four boxes down: the chart follows the pointer.
    Drag(middle, middle + QPoint(-3 * w, 4 * w));
    EXPECT_EQ(LastColumnX(), x - 3 * w);
    EXPECT_EQ(chart.eod.boxLowRow(), row + 4);
    EXPECT_EQ(chart.modeRecord.mode, uint32_t(kModeIdle));
    // With boxes near 0, dragged far up the lowest box stops at 0.
    gs::SetU16(Setting(), gs::kBoxValue, 5000);
    Show(27217);
    Drag(middle, middle + QPoint(0, 3 * w));
    ASSERT_GT(chart.eod.boxLowRow(), 0);
    Drag(middle, middle + QPoint(0, -(chart.eod.boxLowRow() + 5) * w));
    EXPECT_EQ(chart.eod.boxLowRow(), 0);
    // Off box mode a drag selects a time range as before.
    gs::SetU8(Setting(), gs::kPriceDisplay, 0);
    Show(27118);
    EXPECT_FALSE(chart.viewFlags & 1);
}

TEST_F(BoxChartWindow, TheReadoutNamesTheBoxUnderThePointerAndNoColumnOffTheChart)
{
    struct Case {
        uint32_t command;
        const char* first;   // how the first pane's text begins with the pointer on the chart
        const char* inFull;  // the box settings in full, shown off the chart
    };
    const Case cases[] = {
        {27217, "", "1.00 box size, 3 reversal"},  // point and figure without a pick: the days shown
        {27251, "From ", "Renko, 1.00 reversal"},
        {27252, "From ", "3-Line breakout"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Show(c.command);
        const BoxChartPoint& last = chart.eod.boxPoints().back();
        const GraphPane* price = chart.FindPane(kPanePrice);
        const int32_t w = chart.eod.BoxColumnWidth();
        const QPoint at(LastColumnX(), price->bottom - (last.box - chart.eod.boxLowRow()) * w - w / 2);
        Mouse(QEvent::MouseMove, at, Qt::NoButton);
        std::array<std::string, 3> texts;
        chart.eod.FillStatusTexts(texts, true, false);
        const std::string first =
            *c.first ? std::string(c.first) : StringPrintf("%d trading days", chart.eod.visibleCount());
        EXPECT_EQ(texts[0].substr(0, first.size()), first) << texts[0];
        EXPECT_EQ(texts[1], chart.eod.DescribeBoxUnder(at.x(), at.y()));
        if (c.command != 27252) { // a line break's rows are prices, not boxes
            EXPECT_EQ(texts[1].rfind("Box (" + FormatDate(PackedDate(last.firstDate)), 0), 0u) << texts[1];
        }
        // Off the chart: no column, no box, and the chart's settings in full, on the frame and the legend.
        chart.eod.FillStatusTexts(texts, false, false);
        EXPECT_EQ(texts, (std::array<std::string, 3>{c.inFull, "No column selected", "No box selected"}));
        LegendSource legend;
        chart.eod.FillLegendSource(legend, false);
        EXPECT_EQ(legend.cursor[0], "No column selected");
        EXPECT_EQ(legend.cursor[1], "No column selected");
        EXPECT_EQ(legend.cursor[2], "No box selected");
        EXPECT_EQ(legend.cursor[3], c.inFull);
    }
}

TEST_F(BoxChartWindow, ReversalChartsAgainstTheDatesKeepTheDaysAndTheIndicatorWindows)
{
    rsi_.Write(gs::IndicatorSlot(Setting(), 0, 0));
    StoreU16(gs::IndicatorSlot(Setting(), 0, 0).data() + gs::kSlotHeightWeight, 200);
    gs::SetU16(Setting(), gs::kBoxValue, 200);
    gs::SetU8(Setting(), gs::kBoxValueOption, 1);
    for (uint32_t command : {27250u, 27251u, 27252u}) {
        gs::SetU16(Setting(), gs::kBoxChartFlags, 2);  // "Use normal timescale"
        Show(command);
        EXPECT_FALSE(chart.eod.BoxMode()) << command;
        EXPECT_TRUE(chart.eod.DatedReversal()) << command;
        EXPECT_EQ(chart.viewFlags & 3, 0u) << command;
        EXPECT_TRUE(chart.noDataText.empty()) << command;
        ASSERT_FALSE(chart.eod.bars().empty()) << command;
        EXPECT_EQ(int32_t(chart.eod.bars().size()), chart.eod.visibleCount()) << command;  // a bar a day
        const GraphPane* window = chart.FindPane(kPaneFirstAddOn);
        ASSERT_NE(window, nullptr) << command;
        EXPECT_GT(window->bottom - window->top, 50) << command;
        EXPECT_NE(FindSeries(chart.timeBands, window), nullptr) << command;
        // The same chart by columns has no indicator windows.
        gs::SetU16(Setting(), gs::kBoxChartFlags, 0);
        Show(command);
        EXPECT_TRUE(chart.eod.BoxMode()) << command;
        EXPECT_EQ(chart.viewFlags & 3, 3u) << command;
        const GraphPane* none = chart.FindPane(kPaneFirstAddOn);
        EXPECT_TRUE(!none || !none->visible || !FindSeries(chart.timeBands, none)) << command;
    }
    gs::SetU16(Setting(), gs::kBoxChartFlags, 2);
    Show(27250);
    test::SaveRender(Grab(), "box-charts/kagi-dated-with-rsi");
    Show(27251);
    test::SaveRender(Grab(), "box-charts/renko-dated-with-rsi");
}

TEST_F(BoxChartWindow, TheGridAndTheBandedAxisFollowTheSetting)
{
    auto gridRows = [&] {
        int rows = 0;
        for (const GridLine* line = chart.FindPane(kPanePrice)->gridLines; line; line = line->next)
            rows += (line->flags & kGridEveryPane) != 0;
        return rows;
    };
    gs::SetU32(Setting(), gs::kGridDensityH, 0);
    gs::SetU8(Setting(), gs::kBoxValueOption, 3);  // variable boxes
    Show(27217);
    EXPECT_EQ(gridRows(), 0);
    const auto labels = chart.eod.BoxAxisLabels(chart.textHeight);
    EXPECT_FALSE(labels.empty());
    test::SaveRender(Grab(), "box-charts/point-figure-variable-axis");
    gs::SetU16(Setting(), gs::kBoxChartFlags, 0x20);
    Show(27217);
    const GraphPane* price = chart.FindPane(kPanePrice);
    EXPECT_EQ(gridRows(), (price->bottom - price->top - 1) / chart.eod.BoxColumnWidth());
    test::SaveRender(Grab(), "box-charts/point-figure-variable-grid");
    // Fixed boxes keep the ticked axis.
    gs::SetU8(Setting(), gs::kBoxValueOption, 0);
    Show(27217);
    EXPECT_TRUE(chart.eod.BoxAxisLabels(chart.textHeight).empty());
}

TEST_F(BoxChartWindow, FortyFiveDegreeLinesAreDrawnAndNeverKept)
{
    gs::SetU32(Setting(), gs::kSupportResist, 15);
    Show(27217);
    const auto lines = chart.eod.FortyFiveDegreeLines();
    EXPECT_FALSE(lines.empty());
    // Drawn again at each paint, they are no drawing objects of the chart: nothing to select or save.
    for (uint32_t pane = 0; pane < kLayoutPanes; ++pane)
        EXPECT_EQ(chart.drawing.PaneObjects(pane).head, nullptr) << pane;
    test::SaveRender(Grab(), "box-charts/point-figure-45-degree-lines");
    gs::SetU32(Setting(), gs::kSupportResist, 0);
    Show(27217);
    EXPECT_TRUE(chart.eod.FortyFiveDegreeLines().empty());
}

TEST_F(BoxChartWindow, TheKagiWindowDrawsAcrossItsPaneOrOnTheChartsDates)
{
    for (int flags : {0, 2}) {
        IndicatorRecord kagi = IndicatorRecord::Of(55, flags, 0, 0, 3);  // a 3% reversal
        kagi.pens[0] = 0x000000;
        kagi.pens[1] = 0x0000FF;
        kagi.Write(gs::IndicatorSlot(Setting(), 0, 0));
        StoreU16(gs::IndicatorSlot(Setting(), 0, 0).data() + gs::kSlotHeightWeight, 300);
        Show(27118);
        const GraphPane* window = chart.FindPane(kPaneFirstAddOn);
        ASSERT_NE(window, nullptr);
        EXPECT_NE(FindSeries(chart.timeBands, window), nullptr);
        test::SaveRender(Grab(), flags ? "box-charts/kagi-window-dated" : "box-charts/kagi-window");
    }
}

TEST_F(BoxChartWindow, TheDesignPreviewFitsTheChartWhereverTheWindowScrolled)
{
    Show(27217);
    const int32_t w = chart.eod.BoxColumnWidth();
    const int32_t x = LastColumnX();
    for (int i = 0; i < 30; ++i)
        Key(Qt::Key_Left);
    ASSERT_EQ(LastColumnX(), x + 30 * w);
    QImage preview(260, 320, QImage::Format_RGB32);
    QPainter painter(&preview);
    chart.DrawDesignPreview(painter, Setting(), preview.rect(), 2, 0);
    const GraphPane* price = chart.FindPane(kPanePrice);
    ASSERT_NE(price, nullptr);
    const int32_t lastStep = int32_t(chart.eod.boxPoints().back().step);
    EXPECT_EQ(chart.eod.boxFirstColumn(), FitBoxColumns(lastStep, (price->right - price->left) / w, kBoxAuto));
    test::SaveRender(preview, "box-charts/design-preview-after-scrolling");
    // The window keeps its own place.
    Grab();
    EXPECT_EQ(LastColumnX(), x + 30 * w);
}

TEST_F(BoxChartWindow, AClickPicksABoxThatTheReadoutCountsFrom)
{
    Show(27217);
    const BoxChartPoint& last = chart.eod.boxPoints().back();
    const GraphPane* price = chart.FindPane(kPanePrice);
    const int32_t w = chart.eod.BoxColumnWidth();
    auto boxY = [&](int32_t box) { return price->bottom - (box - chart.eod.boxLowRow()) * w - w / 2; };
    const QPoint at(LastColumnX(), boxY(last.box));
    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
    ASSERT_TRUE(chart.eod.boxPicked());
    // Two boxes further into the column: three boxes of its letter.
    const bool rising = last.box > chart.eod.boxPoints()[chart.eod.boxPoints().size() - 2].box;
    const QPoint to(at.x(), boxY(last.box + (rising ? -2 : 2)));
    Mouse(QEvent::MouseMove, to, Qt::NoButton);
    std::array<std::string, 3> texts;
    chart.eod.FillStatusTexts(texts, true, false);
    EXPECT_EQ(texts[0].rfind(rising ? "3 X's, " : "3 O's, ", 0), 0u) << texts[0];
    EXPECT_EQ(texts[1].rfind("Box value, ", 0), 0u) << texts[1];
    // A zoom forgets the pick.
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_FALSE(chart.eod.boxPicked());
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
        {27217, 500, 2, 0, "point-figure-range"},         {27250, 1000, 2, 0, "kagi-range"},
        {27251, 500, 2, 0, "renko-range"},
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
