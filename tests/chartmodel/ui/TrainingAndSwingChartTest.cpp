// The daily chart in training mode (marks dragged from the cursor, selected, moved and removed; the
// chart stopping at the shown mark with room above its prices) and with the swing chart drawn.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/BarColour.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/SeriesLayout.h"
#include "chartmodel/SwingOverlay.h"
#include "chartmodel/TrainingMode.h"
#include "core/ConfigState.h"
#include "devtools/lib/SyntheticDays.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {
namespace gs = graphsetting;

class ChartFixture : public ::testing::Test {
protected:
    ChartFixture() : saved_(Config().dailyGraphs.records[0])
    {
        InitGraphSetting(Setting(), false);
        ClearTrainingMarks(TrainingMarkTable());
        days_ = dev::MakeSyntheticDays(120);
        // Waves of about 30 days, rising and then falling, so that the swings and the trend turn.
        for (size_t i = 0; i < days_.size(); ++i) {
            const float drift = i < 60 ? float(i) / 4 : 15 - float(i - 60) / 2;
            const float base = 100 + 15 * std::sin(float(i) / 5) + drift;
            days_[i].open = days_[i].close = base;
            days_[i].high = base + 1.5f;
            days_[i].low = base - 1.5f;
        }
        chart.eod.SetHistory(days_.data(), int32_t(days_.size()), 1);
        chart.active = 1;
        chart.resize(900, 600);
        Grab();
        Grab();
    }
    ~ChartFixture() override
    {
        ClearTrainingMarks(TrainingMarkTable());
        Config().dailyGraphs.records[0] = saved_;
    }
    static GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }
    QImage Grab()
    {
        QImage image(chart.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        chart.render(&painter);
        return image;
    }
    void Send(QEvent::Type type, QPoint p)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
        QMouseEvent event(type, QPointF(p), QPointF(chart.mapToGlobal(p)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&chart, &event);
    }
    void Drag(QPoint from, QPoint to)
    {
        Send(QEvent::MouseButtonPress, from);
        Send(QEvent::MouseMove, (from + to) / 2);
        Send(QEvent::MouseMove, to);
        Send(QEvent::MouseButtonRelease, to);
        Grab();
    }
    CommandUi State(uint32_t command)
    {
        CommandUi ui;
        ui.command = command;
        chart.UpdateCommandUi(ui);
        return ui;
    }
    int32_t BarX(int32_t bar) { return chart.IndexToXScale(&chart.timeBands->scale, bar); }
    int32_t PaneTop() { return chart.FindPane(kPanePrice)->top; }
    // Training on for a chart that shows this history alone.
    void TrainingOn()
    {
        chart.trainingMode = 1;
        Grab();
    }
    void Hover(QPoint p)
    {
        chart.lastMouseX = p.x();
        chart.lastMouseY = p.y();
    }

    std::vector<DayRecord> days_;
    CViewGraphEODWnd chart{kViewDailyChart};

private:
    GraphSetting saved_;
};

using TrainingChart = ChartFixture;

TEST_F(TrainingChart, MarksAreDraggedFromTheCursorAndTheChartStopsAtTheShownOne)
{
    TrainingOn();
    const int32_t lastBar = int32_t(chart.eod.bars().size()) - 1;
    const QPoint cursor(BarX(lastBar), PaneTop() + 2);
    // Away from the cursor there is nothing to take hold of.
    EXPECT_EQ(chart.training.hitTest(BarX(10), PaneTop() + 2), -1);
    EXPECT_EQ(chart.training.hitTest(cursor.x(), PaneTop() + 30), -1);
    EXPECT_EQ(chart.training.hitTest(cursor.x(), cursor.y()), 0) << "a new mark's index; nothing added yet";
    EXPECT_EQ(TrainingMarkTable().count, 0);
    // Dragged from the cursor to bar 60 and to bar 90: two marks dated by their bars.
    Drag(cursor, QPoint(BarX(90), PaneTop() + 40));
    Drag(cursor, QPoint(BarX(60), PaneTop() + 40));
    ASSERT_EQ(TrainingMarkTable().count, 2);
    EXPECT_EQ(TrainingMarkTable().marks[0], days_[60].date) << "sorted by date";
    EXPECT_EQ(TrainingMarkTable().marks[1], days_[90].date);
    test::SaveRender(Grab(), QStringLiteral("training_marks"));

    // Over a mark, Select and Remove are offered; the hit test alone adds nothing.
    Hover(QPoint(BarX(90) + 3, PaneTop() + 1));
    EXPECT_TRUE(State(26454).enabled);
    EXPECT_TRUE(State(26455).enabled);
    Hover(cursor);
    EXPECT_FALSE(State(26454).enabled) << "the cursor is no mark";
    EXPECT_FALSE(State(26455).enabled);
    EXPECT_EQ(TrainingMarkTable().count, 2);

    // Selecting the first mark stops the chart at its date and leaves room above and below.
    Hover(QPoint(BarX(60), PaneTop() + 1));
    chart.onProgramMessage(WM_COMMAND, 26454, 0);
    EXPECT_FALSE(State(26454).enabled) << "already the shown mark";
    const QImage shown = Grab();
    EXPECT_EQ(chart.eod.shownEnd(), days_[60].date);
    EXPECT_EQ(chart.eod.bars().size(), 61u);
    const ValueRange& range = *FindSeries(chart.timeBands, chart.FindPane(kPanePrice))->range;
    float high = 0, low = 1e9f;
    for (size_t i = 0; i <= 60; ++i) {
        high = std::max(high, days_[i].high);
        low = std::min(low, days_[i].low);
    }
    EXPECT_GT(range.maximum, high + 0.2f * (high - low));
    EXPECT_LT(range.minimum, low - 0.2f * (high - low));
    // The hidden days keep their place: the mark is drawn at the same x, not at the right edge.
    EXPECT_LT(BarX(60), chart.FindPane(kPanePrice)->right - 100);
    test::SaveRender(shown, QStringLiteral("training_mark_shown"));

    // An eleventh mark is refused; removing one through the command keeps the shown index valid.
    for (int i = 0; i < 8; ++i) {
        int32_t current = chart.training.cursor();
        EXPECT_TRUE(PlaceTrainingMark(TrainingMarkTable(), TrainingMarkTable().count, days_[size_t(2 + i)].date, current));
        chart.training.cursor() = current;
    }
    EXPECT_EQ(TrainingMarkTable().count, 10);
    int32_t current = chart.training.cursor();
    EXPECT_FALSE(PlaceTrainingMark(TrainingMarkTable(), 10, days_[100].date, current));
    Grab();
    Hover(QPoint(BarX(int32_t(chart.eod.bars().size()) - 1), PaneTop() + 2));
    EXPECT_EQ(State(26455).enabled, true) << "the shown mark sits at the last bar";
    chart.onProgramMessage(WM_COMMAND, 26455, 0);
    EXPECT_EQ(TrainingMarkTable().count, 9);
    EXPECT_LT(chart.training.cursor(), 9);
}

TEST_F(TrainingChart, AMarkIsStoredOnTheDayItWasDroppedOnWhereverTheChartStarts)
{
    // One month shown: the chart starts well after the first record.
    chart.onProgramMessage(WM_COMMAND, 26743, 0);
    TrainingOn();
    const int32_t first = chart.eod.firstVisible();
    ASSERT_GT(first, 50);
    const int32_t lastBar = int32_t(chart.eod.bars().size()) - 1;
    ASSERT_GT(lastBar, 10);
    Drag(QPoint(BarX(lastBar), PaneTop() + 2), QPoint(BarX(5), PaneTop() + 40));
    ASSERT_EQ(TrainingMarkTable().count, 1);
    EXPECT_EQ(TrainingMarkTable().marks[0], days_[size_t(first + 5)].date);
    Grab();
    EXPECT_EQ(chart.training.hitTest(BarX(5), PaneTop() + 1), 0) << "drawn where it was dropped";
}

TEST_F(TrainingChart, AReleaseAtThePlotsRightEndTakesTheDraggedMarkAway)
{
    TrainingOn();
    const int32_t lastBar = int32_t(chart.eod.bars().size()) - 1;
    Drag(QPoint(BarX(lastBar), PaneTop() + 2), QPoint(BarX(50), PaneTop() + 40));
    ASSERT_EQ(TrainingMarkTable().count, 1);
    Drag(QPoint(BarX(50), PaneTop() + 2), QPoint(chart.plotRect[2] - 1, PaneTop() + 40));
    EXPECT_EQ(TrainingMarkTable().count, 0);
}

using SwingDrawn = ChartFixture;

TEST_F(SwingDrawn, DotsLinesAndShadingFromTheSwingBlock)
{
    // Shown with the swing line, the up and down trend regions shaded, every mark and every order.
    gs::SetU32(Setting(), gs::kSwingFlags, 1 | 2 | 0x10 | (0x3Fu << 16) | (0x3Fu << 24));
    gs::SetU32(Setting(), gs::kSwing + 4 * 5, 0xC0FFC0);
    gs::SetU32(Setting(), gs::kSwing + 4 * 6, 0xC0C0FF);
    chart.NotifyGraphSettings(0);
    const QImage image = Grab();
    test::SaveRender(image, QStringLiteral("swing_chart_shading_orders"));
    const SwingChart& swing = chart.eod.swingChart();
    ASSERT_GT(swing.events.size(), 10u);
    const std::vector<SwingShade> shades = chart.eod.SwingShades();
    ASSERT_FALSE(shades.empty());
    // The price pane's background in a region is its shade, near the pane's foot where no bar is.
    const GraphPane* pane = chart.FindPane(kPanePrice);
    const SwingShade& s = shades.back();
    const int32_t x = (BarX(s.firstBar) + BarX(s.lastBar)) / 2;
    const QRgb shade = qRgb(int(s.colour & 0xFF), int((s.colour >> 8) & 0xFF), int((s.colour >> 16) & 0xFF));
    EXPECT_EQ(image.pixel(x, pane->bottom - 3), shade);
    int elements = 0;
    for (const PlotElement* e = FindSeries(chart.timeBands, pane)->elements; e; e = e->next)
        elements += e->values.type == kArrayTriples;
    EXPECT_EQ(elements, 1 + 4 + 7) << "the swing line, four kinds of dot, seven kinds of order mark";
}

TEST_F(SwingDrawn, TheMarksRuleColoursBarsByTheSwingsTopsAndBottoms)
{
    const std::vector<DayRecord> before = chart.eod.days();
    gs::SetU32(Setting(), gs::kSwingFlags, 1);
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    gs::SetU8(Setting(), gs::kPriceColourMode, kColourEvents);
    chart.NotifyGraphSettings(0);
    Grab();
    const PlotElement* price = FindSeries(chart.timeBands, chart.FindPane(kPanePrice))->elements;
    while (price->next)
        price = price->next;
    CGraphSeriesLayout layout;
    layout.Setup(*price);
    chart.eod.PrepareColouring(*price, layout);
    std::vector<int> colours;
    SeriesPoint point;
    while (layout.Next(point))
        colours.push_back(point.colour);
    const SwingChart& swing = chart.eod.swingChart();
    int bottoms = 0;
    for (size_t day = 0; day < swing.marks.size(); ++day) {
        const int32_t bar = BarOfDay(chart.eod.bars(), int32_t(day));
        if (bar < 0 || size_t(bar) >= colours.size())
            continue;
        const int expected = (swing.marks[day] & kMarkTop) ? 0 : (swing.marks[day] & kMarkBottom) ? 1 : 0;
        EXPECT_EQ(colours[size_t(bar)], expected) << day;
        bottoms += expected;
    }
    EXPECT_GT(bottoms, 1);
    // The marks stay out of the days themselves: their mode byte (the coding mode) is untouched.
    ASSERT_EQ(chart.eod.days().size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(chart.eod.days()[i].modeMarks, before[i].modeMarks) << i;
}

} // namespace
} // namespace qv
