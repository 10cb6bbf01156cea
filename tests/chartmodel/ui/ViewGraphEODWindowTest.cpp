// The daily chart window on a synthetic history: renders of each price style, multi-day bars, the
// averages with their bands and the no-data text, and the class the daily chart kind is created as.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/ChartToggles.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/ui/ChartPicture.h"
#include "chartmodel/ui/GraphLegend.h"
#include "chartmodel/ui/ShowFutureDlg.h"
#include "core/ConfigState.h"
#include "core/DateStepping.h"
#include "devtools/lib/SyntheticDays.h"
#include "lists/ui/DetailDialogs.h"
#include "platform/ByteOrder.h"
#include "resources/MessageIds.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StatusBarEx.h"
#include "support/ui/Render.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QLineEdit>
#include <QEnterEvent>
#include <QPainter>

#include <functional>
#include <memory>

namespace qv {
namespace {

namespace gs = graphsetting;

class DailyChartWindow : public ::testing::Test {
protected:
    DailyChartWindow() : saved_(Config().dailyGraphs.records[0]) { InitGraphSetting(Setting(), false); }
    ~DailyChartWindow() override { Config().dailyGraphs.records[0] = saved_; }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }

    QImage Render(const std::vector<DayRecord>& days, const char* name)
    {
        window = std::make_unique<CViewGraphEODWnd>(kViewDailyChart);
        window->eod.SetHistory(days.data(), int32_t(days.size()), 1);
        QImage image = window->RenderToImage(1200, 700);
        test::SaveRender(image, name);
        return image;
    }

    std::unique_ptr<CViewGraphEODWnd> window;

private:
    GraphSetting saved_;
};

int CountColoured(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            n += qRed(p) != qGreen(p) || qGreen(p) != qBlue(p);
        }
    return n;
}

TEST_F(DailyChartWindow, EachPriceStyleDrawsTheHistoryWithoutANoDataText)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(400);
    const char* names[] = {"eod_close_line", "eod_ohlc", "eod_hlc", "eod_hl", "eod_candles"};
    for (uint8_t style = 0; style <= 4; ++style) {
        gs::SetU8(Setting(), gs::kPriceDisplay, style);
        const QImage image = Render(days, names[style]);
        EXPECT_TRUE(window->noDataText.empty()) << int(style);
        EXPECT_EQ(window->eod.visibleCount(), 400) << int(style);
        EXPECT_GT(CountColoured(image), 200) << int(style);
    }
}

TEST_F(DailyChartWindow, FortnightlyBarsAndAveragesWithBands)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(2500);
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    gs::SetU8(Setting(), gs::kBarPeriod, 6);
    Render(days, "eod_two_week_bars");
    EXPECT_EQ(window->eod.scale().code, 6);
    gs::SetU8(Setting(), gs::kBarPeriod, 0);
    for (int line = 0; line < 4; ++line)
        gs::SetU32(Setting(), gs::kLineWords + 4 * size_t(line), gs::LineWord(Setting(), line) | 0xC0000000u);
    Render(days, "eod_averages_bands");
    EXPECT_TRUE(window->noDataText.empty());
}

TEST_F(DailyChartWindow, PivotPointLinesFollowTheEnableBits)
{
    gs::SetU8(Setting(), gs::kPivot1 + gs::kPivotFlags, 1 | 8);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(120);
    Render(days, "eod_pivots");
    const GraphSeries* price = FindSeries(window->timeBands, window->FindPane(kPanePrice));
    ASSERT_NE(price, nullptr);
    int lines = 0;
    for (const PlotElement* e = price->elements; e; e = e->next)
        lines += e->style == 1 && e->values.type == kArrayFloats;
    EXPECT_EQ(lines, 2);
    // The pivot of day 2 is the mean of day 1's high, low and close (method 0), at bar 2.
    const PlotElement* pivot = price->elements->next;
    const float expected = (days[1].high + days[1].low + days[1].close) / 3;
    EXPECT_FLOAT_EQ(static_cast<const float*>(pivot->values.data)[2], expected);
}

TEST_F(DailyChartWindow, AZoomDragUnderFivePixelsChangesNothing)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(400);
    Render(days, "eod_before_zoom");
    const TimeBand* band = window->timeBands;
    ASSERT_NE(band, nullptr);
    const int32_t x = (band->left + band->right) / 2;
    EXPECT_FALSE(window->eod.ZoomToDragRange(x, x + 4));
    EXPECT_EQ(window->eod.ZoomRangeTexts(band->left, band->right)[0], "From 2/1/15");
    ASSERT_TRUE(window->eod.ZoomToDragRange(x, band->right));
    window->RenderToImage(1200, 700);
    EXPECT_LT(window->eod.visibleCount(), 220);
    EXPECT_GT(window->eod.visibleCount(), 180);
    EXPECT_EQ(window->eod.display().end, days[399].date);
}

TEST_F(DailyChartWindow, CloseOnlyDaysDrawWithoutAVolumePane)
{
    std::vector<DayRecord> days = dev::MakeSyntheticDays(300);
    for (DayRecord& day : days)
        day.open = day.high = day.low = day.volume = 0;
    days.back() = DayRecord{};
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    Render(days, "eod_close_only");
    EXPECT_TRUE(window->noDataText.empty());
    EXPECT_EQ(window->volumeShown, 0);
    const GraphPane* volume = window->FindPane(kPaneVolume);
    EXPECT_TRUE(volume == nullptr || !volume->visible);
    // The closes are drawn as a line, not as bars.
    const GraphSeries* price = FindSeries(window->timeBands, window->FindPane(kPanePrice));
    ASSERT_NE(price, nullptr);
    EXPECT_EQ(price->firstElement->style, 1u);
}

TEST_F(DailyChartWindow, AnEmptyHistoryPaintsNoPriceData)
{
    Render({}, "eod_no_data");
    EXPECT_EQ(window->noDataText, "No price data");
    // A fixed range that starts after it ends.
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(300);
    gs::SetU16(Setting(), gs::kDateRangeFlags, 16 | 64 | 128);
    gs::SetU16(Setting(), gs::kDateRangeStart, days[200].date);
    gs::SetU16(Setting(), gs::kDateRangeEnd, days[100].date);
    Render(days, "eod_no_prices_in_range");
    EXPECT_EQ(window->noDataText, "No prices in the current range^^(Double-click to show the full range)");
    window->eod.OnDoubleClick();
    window->RenderToImage(1200, 700);
    EXPECT_TRUE(window->noDataText.empty());
    EXPECT_EQ(window->eod.visibleCount(), 300);
}

TEST_F(DailyChartWindow, TheDailyChartKindIsCreatedAsTheDailyChart)
{
    InstallDailyChartClass();
    std::unique_ptr<CViewBaseWnd> created(CreateViewWindowForKind(kViewDailyChart));
    EXPECT_NE(dynamic_cast<CViewGraphEODWnd*>(created.get()), nullptr);
}

// The elements of the price series drawn as lines of floats, in the order they were added.
std::vector<const PlotElement*> FloatLines(const GraphSeries* series)
{
    std::vector<const PlotElement*> lines;
    for (const PlotElement* e = series ? series->elements : nullptr; e; e = e->next)
        if (e->style == 1 && e->values.type == kArrayFloats)
            lines.insert(lines.begin(), e);
    return lines;
}

TEST_F(DailyChartWindow, MarkedPartLineAndExtraLinesOverTheBars)
{
    std::vector<DayRecord> days = dev::MakeSyntheticDays(120);
    // The first twenty days have their closes only: the marked part starts at day 20.
    for (size_t i = 0; i < 20; ++i)
        days[i].open = days[i].high = days[i].low = 0;
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    gs::SetU8(Setting(), gs::kPriceTypeLine, 1);  // weighted
    gs::SetU8(Setting(), gs::kPriceLines, 2 | 4);  // high and low lines
    gs::SetU32(Setting(), gs::kPriceTypeLinePen, 0x020000FF);
    Render(days, "eod_marked_line");
    const GraphSeries* price = FindSeries(window->timeBands, window->FindPane(kPanePrice));
    const std::vector<const PlotElement*> lines = FloatLines(price);
    ASSERT_EQ(lines.size(), 3u);
    const auto* weighted = static_cast<const float*>(lines[0]->values.data);
    EXPECT_EQ(weighted[19], 0.0f);  // not drawn before the marked part
    EXPECT_FLOAT_EQ(weighted[20], (2 * days[20].close + days[20].high + days[20].low) / 4);
    EXPECT_EQ(static_cast<const float*>(lines[1]->values.data)[30], days[30].high);
    EXPECT_EQ(static_cast<const float*>(lines[2]->values.data)[30], days[30].low);
    EXPECT_EQ(lines[0]->colours[0], 0x020000FFu);
    // Style 3 draws no marked-part line.
    gs::SetU8(Setting(), gs::kPriceTypeLine, 3);
    gs::SetU8(Setting(), gs::kPriceLines, 0);
    window->RenderToImage(1200, 700);
    EXPECT_TRUE(FloatLines(FindSeries(window->timeBands, window->FindPane(kPanePrice))).empty());
}

TEST_F(DailyChartWindow, AveragesLeaveOutTheirLeadInUnlessAsked)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(200);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    gs::SetU8(Setting(), gs::kPriceTypeLine, 3);
    // A 20-day simple average with its Bollinger bands from the start; then the bands (bit 27), not
    // the line, without the first 19 days.
    const uint32_t word = 0xC0000000u | 20u;
    gs::SetU32(Setting(), gs::kLineWords, word);
    for (int line = 1; line < 4; ++line)
        gs::SetU32(Setting(), gs::kLineWords + 4 * size_t(line), 0);
    for (const uint32_t w : {word, word | (1u << 27)}) {
        gs::SetU32(Setting(), gs::kLineWords, w);
        Render(days, "eod_average_lead_in");
        const std::vector<const PlotElement*> lines = FloatLines(FindSeries(window->timeBands, window->FindPane(kPanePrice)));
        ASSERT_EQ(lines.size(), 3u);
        const auto* middle = static_cast<const float*>(lines[0]->values.data);
        const auto* upper = static_cast<const float*>(lines[1]->values.data);
        EXPECT_NE(middle[0], 0.0f);
        EXPECT_EQ(upper[0] == 0, (w & (1u << 27)) != 0);
        EXPECT_EQ(upper[18] == 0, (w & (1u << 27)) != 0);
        EXPECT_NE(upper[19], 0.0f);
        EXPECT_NE(middle[100], 0.0f);
        EXPECT_NE(upper[100], 0.0f);
        EXPECT_EQ(lines[0]->values.flags & 0x100, 0x100u);
    }
}

TEST_F(DailyChartWindow, VolumeSignalLine)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(150);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    gs::SetU8(Setting(), gs::kVolumePane, 1 | 2);
    gs::SetU16(Setting(), gs::kVolumeSignalPeriods, 10);
    Render(days, "eod_volume_signal");
    const GraphSeries* volume = FindSeries(window->timeBands, window->FindPane(kPaneVolume));
    ASSERT_NE(volume, nullptr);
    EXPECT_STREQ(volume->title, "Volume");
    const std::vector<const PlotElement*> lines = FloatLines(volume);
    ASSERT_EQ(lines.size(), 1u);
    // An exponential average of the volumes primed with the first: it moves towards each volume.
    const auto* signal = static_cast<const float*>(lines[0]->values.data);
    EXPECT_FLOAT_EQ(signal[0], days[0].volume);
    EXPECT_GT(signal[1], std::min(days[0].volume, days[1].volume));
    EXPECT_LT(signal[1], std::max(days[0].volume, days[1].volume));
    EXPECT_EQ(window->eod.volumeSignal().size(), days.size() - 1);
    // The pane's range runs from 0, not from the smallest volume, up to the highest.
    ASSERT_NE(volume->range, nullptr);
    EXPECT_EQ(volume->range->minimum, 0.0f);
    float highest = 0;
    for (const DayRecord& day : days)
        highest = std::max(highest, day.volume);
    EXPECT_GE(volume->range->maximum, highest * 0.99f);
    // The signal line alone names the pane's series.
    gs::SetU8(Setting(), gs::kVolumePane, 2);
    window->RenderToImage(1200, 700);
    volume = FindSeries(window->timeBands, window->FindPane(kPaneVolume));
    ASSERT_NE(volume, nullptr);
    EXPECT_STREQ(volume->title, "Vol. signal");
    EXPECT_EQ(window->volumeShown, 1);
}

TEST_F(DailyChartWindow, XTableKeysAndTheCursorReadout)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(60);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    const QImage chart = Render(days, "eod_cursor_chart");
    const TimeBand* band = window->timeBands;
    ASSERT_NE(band, nullptr);
    ASSERT_NE(band->scale.xTable, nullptr);
    const int32_t x10 = band->scale.xTable[10], x11 = band->scale.xTable[11];
    EXPECT_EQ(window->eod.XToPositionKey(x10), DateToPositionKey(days[10].date));
    const int32_t key = window->eod.XToPositionKey((x10 + x11) / 2);
    EXPECT_EQ(key >> 8, days[10].date);
    EXPECT_GT(key & 0xFF, 100);
    EXPECT_NEAR(window->eod.PositionKeyToX(key), (x10 + x11) / 2, 1);

    // The pointer over day 10 in the price pane.
    const GraphPane* pane = window->FindPane(kPanePrice);
    ASSERT_NE(pane, nullptr);
    const int32_t y = (pane->top + pane->bottom) / 2;
    QEnterEvent enter(QPointF(x10, y), QPointF(x10, y), QPointF(x10, y));
    QCoreApplication::sendEvent(window.get(), &enter);
    window->lastMouseX = x10;
    window->lastMouseY = y;
    window->UpdateStatusTexts();
    EXPECT_EQ(window->statusTexts[0].rfind("Cursor (" + std::string("16/1/15, "), 0), 0u) << window->statusTexts[0];
    EXPECT_EQ(window->statusTexts[1].rfind("16/1/15, ", 0), 0u) << window->statusTexts[1];
    EXPECT_NE(window->statusTexts[1].find("OHLC "), std::string::npos);

    // A keyboard step moves the pointer to the next bar.
    EXPECT_EQ(window->eod.StepCursor(x10, 1), x11);

    // The chart and the frame's status panes as the user sees them.
    CStatusBarEx bar;
    bar.SetPanes({0, 1, 2, 3}, {200, 165, 260, 240});
    bar.resize(chart.width(), 24);
    for (int i = 0; i < 3; ++i)
        bar.SetPaneText(i + 1, QString::fromStdString(window->statusTexts[size_t(i)]));
    const QImage status = test::RenderWidget(bar);
    QImage both(chart.width(), chart.height() + status.height(), QImage::Format_RGB32);
    QPainter painter(&both);
    painter.drawImage(0, 0, chart);
    painter.drawImage(0, chart.height(), status);
    painter.setPen(Qt::black);
    painter.drawLine(x10, pane->top, x10, pane->bottom);
    painter.drawLine(pane->left, y, pane->right, y);
    painter.end();
    test::SaveRender(both, "eod_cursor_readout");

    // Leaving the chart puts the off-graph texts back.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(window.get(), &leave);
    EXPECT_EQ(window->statusTexts[0], "Cursor (Off graph)");
    EXPECT_EQ(window->statusTexts[2], "Volume " + window->statusTexts[2].substr(7));
}

TEST_F(DailyChartWindow, TheLegendListsTheChartsValuesAndItems)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(300);
    gs::SetU8(Setting(), gs::kBarPeriod, 0);
    for (int line = 0; line < 2; ++line)
        gs::SetU32(Setting(), gs::kLineWords + 4 * size_t(line), gs::LineWord(Setting(), line) | 0xC0000000u);
    const QImage chart = Render(days, "eod_legend_chart");
    ChartOptions().legendShown = 1;
    window->OnSetFocus();
    CGraphLegend& legend = GraphLegendWindow();
    ASSERT_EQ(legend.view(), window.get());
    std::vector<std::string> texts;
    for (const LegendLine& line : legend.model().lines())
        texts.push_back(line.text);
    std::string all;
    for (const std::string& t : texts)
        all += t + "|";
    auto has = [&](const std::string& text) { return std::find(texts.begin(), texts.end(), text) != texts.end(); };
    const std::string lastDay = PriceReadoutText(days[299], &days[298]);
    EXPECT_TRUE(has(lastDay)) << all;
    EXPECT_TRUE(has(OhlcReadoutText(days[299]))) << all;
    EXPECT_TRUE(has("Cursor (Off graph)")) << all;
    EXPECT_TRUE(has("No price selected")) << all;
    EXPECT_TRUE(has("Main (Close/Open)")) << all;
    EXPECT_TRUE(has("20 period Simple MA")) << all;
    EXPECT_TRUE(has("60 period Simple MA")) << all;
    // The averages' latest values: period, type and the value at the last bar.
    const GraphSeries* price = FindSeries(window->timeBands, window->FindPane(kPanePrice));
    const std::vector<const PlotElement*> lines = FloatLines(price);
    ASSERT_GE(lines.size(), 1u);
    const float last = static_cast<const float*>(lines[0]->values.data)[lines[0]->values.count - 1];
    EXPECT_TRUE(has("20 Simple " + FormatPriceInUnit(last, days[299].unit))) << all;
    legend.resize(260, 330);
    const QImage legendImage = test::RenderWidget(legend);
    QImage both = chart;
    QPainter painter(&both);
    painter.drawImage(60, 40, legendImage);
    painter.setPen(Qt::darkGray);
    painter.drawRect(60, 40, legendImage.width() - 1, legendImage.height() - 1);
    painter.end();
    test::SaveRender(both, "eod_legend");
    ChartOptions().legendShown = 0;
    legend.Hide();
}

TEST_F(DailyChartWindow, ExportOffersTheChartsTitleAsTheFileName)
{
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    Render(dev::MakeSyntheticDays(300), "eod_export_name");
    ASSERT_FALSE(window->eod.ChartTitle().empty());
    std::string offered;
    SetExportFileChooser([&](const std::string& name, ExportForm&) {
        offered = name;
        return std::string();
    });
    window->onProgramMessage(WM_COMMAND, 27090, 0);
    SetExportFileChooser({});
    EXPECT_EQ(offered, DefaultExportName(window->eod.ChartTitle()));
}

TEST_F(DailyChartWindow, PriceScaleChangesAreMarkedOnTheirBars)
{
    std::vector<DayRecord> days = dev::MakeSyntheticDays(100);
    for (size_t i = 40; i < 100; ++i)
        days[i].unit = 0.5f;
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    gs::SetU8(Setting(), gs::EventEntry(8) + gs::kEventShown, 1);
    Render(days, "eod_no_events");
    EXPECT_EQ(window->eod.eventCount(), 0) << "the event display is off";
    gs::SetU8(Setting(), gs::kEvents, 1);
    Render(days, "eod_events");
    ASSERT_EQ(window->eod.eventCount(), 1);
    const GraphSeries* price = FindSeries(window->timeBands, window->FindPane(kPanePrice));
    ASSERT_NE(price, nullptr);
    const PlotElement* markers = nullptr;
    for (const PlotElement* e = price->elements; e; e = e->next)
        if (e->style == 12)
            markers = e;
    ASSERT_NE(markers, nullptr);
    ASSERT_EQ(markers->values.count, 1);
    const auto* item = static_cast<const uint8_t*>(markers->values.data);
    EXPECT_EQ(LoadU32(item), 1u << 8);
    EXPECT_EQ(int32_t(LoadU32(item + 4)), window->IndexToXScale(&window->timeBands->scale, 40));
    EXPECT_EQ(LoadF32(item + 8), days[40].close);
}

TEST_F(DailyChartWindow, DateRangeAndFutureDialogsFromTheChart)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(500);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    Render(days, "eod_before_range_dialog");
    // The date range dialog confirmed with a limit of the previous 3 months.
    SetModalDialogRunner([](QDialog& dialog) {
        auto* range = dynamic_cast<CDefaultRangeDlg*>(&dialog);
        if (!range)
            return int(QDialog::Rejected);
        ChartRange r = range->range();
        r.flags = ChartRange::kLimited | ChartRange::kCountUsed | 2;
        r.count = 3;
        range->setRange(r);
        range->accept();
        return range->result();
    });
    window->onProgramMessage(WM_COMMAND, 26115, 0);
    EXPECT_EQ(gs::U16(Setting(), gs::kDateRangeFlags), 16 | 32 | 2);
    EXPECT_EQ(gs::U16(Setting(), gs::kDateRangeCount), 3);
    window->RenderToImage(1200, 700);
    EXPECT_GT(window->eod.visibleCount(), 55);
    EXPECT_LT(window->eod.visibleCount(), 70);
    // "Show Future" confirmed with a month on the axis.
    SetModalDialogRunner([](QDialog& dialog) {
        auto* future = dynamic_cast<CShowFuture*>(&dialog);
        if (!future)
            return int(QDialog::Rejected);
        dialog.findChild<QCheckBox*>(QStringLiteral("on"))->setChecked(true);
        dialog.findChild<QLineEdit*>(QStringLiteral("amount"))->setText(QStringLiteral("1"));
        future->accept();
        return future->result();
    });
    window->onProgramMessage(WM_COMMAND, 26512, 0);
    SetModalDialogRunner(nullptr);
    EXPECT_EQ(gs::U16(Setting(), gs::kShowFutureBars), 1);
    window->RenderToImage(1200, 700);
    test::SaveRender(window->RenderToImage(1200, 700), "eod_three_months_and_a_month_ahead");
    EXPECT_EQ(window->eod.axisEnd(), AddToDate(days[499].date, 1, 2));
    EXPECT_GT(window->eod.futureBars(), 15);
}

TEST_F(DailyChartWindow, ShowFutureKeepsTheDateRangeLimitAndAddsTheFuture)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(500);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    gs::SetU16(Setting(), gs::kShowFutureSecond, 2);
    gs::SetU32(Setting(), gs::kShowFutureThird, 1);
    Render(days, "eod_one_month");
    window->onProgramMessage(WM_COMMAND, 26743, 0);
    window->RenderToImage(1200, 700);
    const DisplayRange limited = window->eod.display();
    const int32_t shown = window->eod.visibleCount();
    ASSERT_LT(shown, 30);
    ASSERT_EQ(limited.end, days[499].date);
    // On: the same month and a month of future after it.
    window->onProgramMessage(WM_COMMAND, 26451, 0);
    window->RenderToImage(1200, 700);
    EXPECT_EQ(gs::U16(Setting(), gs::kShowFutureBars), 1);
    EXPECT_EQ(window->eod.display().start, limited.start);
    EXPECT_EQ(window->eod.visibleCount(), shown);
    EXPECT_EQ(window->eod.axisEnd(), AddToDate(days[499].date, 1, 2));
    test::SaveRender(window->RenderToImage(1200, 700), "eod_one_month_and_the_future");
    // Off again: the limit as it was, no future.
    window->onProgramMessage(WM_COMMAND, 26451, 0);
    window->RenderToImage(1200, 700);
    EXPECT_EQ(window->eod.display().start, limited.start);
    EXPECT_EQ(window->eod.display().end, limited.end);
    EXPECT_EQ(window->eod.visibleCount(), shown);
    EXPECT_EQ(window->eod.futureBars(), 0);
}

// A chart that counts its moves to the next and previous share.
class CountingChart : public CViewGraphEODWnd {
public:
    CountingChart() : CViewGraphEODWnd(kViewDailyChart) {}
    void NextShare() override { ++next; }
    void PreviousShare() override { ++previous; }
    int next = 0, previous = 0;
};

// Runs the event loop for the time given, or until `done` holds.
void PumpFor(int ms, const std::function<bool()>& done = {})
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms && !(done && done()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST_F(DailyChartWindow, HoldingThePressOnTheNextShareStripRepeats)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(50);
    CountingChart chart;
    chart.eod.SetHistory(days.data(), int32_t(days.size()), 1);
    chart.resize(600, 400);
    chart.RenderToImage(600, 400);
    chart.modeRecord.active = 1;
    chart.modeRecord.mode = kModeNextShare;
    const QPointF at(550, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, chart.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &press);
    EXPECT_EQ(chart.next, 1) << "the press itself";
    PumpFor(60000, [&] { return chart.next >= 3; }); // a hang guard
    EXPECT_GE(chart.next, 3) << "repeated while held";
    QMouseEvent release(QEvent::MouseButtonRelease, at, chart.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &release);
    const int held = chart.next;
    PumpFor(400);
    EXPECT_EQ(chart.next, held) << "the release stops it";
    EXPECT_EQ(chart.previous, 0);
}

TEST_F(DailyChartWindow, TheLogScaleMapsThePricesLogarithmicallyExceptForAPortfolioValue)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(300);
    auto priceRange = [this] {
        const GraphSeries* price = FindSeries(window->timeBands, window->FindPane(kPanePrice));
        return price ? price->range : nullptr;
    };
    Render(days, "eod_linear_scale");
    ASSERT_NE(priceRange(), nullptr);
    EXPECT_FALSE(priceRange()->flags & kRangeLogarithmic);

    ToggleLogScale(Setting());
    Render(days, "eod_log_scale");
    const ValueRange* range = priceRange();
    ASSERT_NE(range, nullptr);
    ASSERT_TRUE(range->flags & kRangeLogarithmic);
    // The geometric mean of the ends lies halfway between their rows.
    const float middle = std::sqrt(range->minimum * range->maximum);
    EXPECT_NEAR(window->ValueToY(range, middle, false), (range->yTop + range->yBottom) / 2.0, 1.5);

    window->graphSourceKind = 4;
    window->RenderToImage(1200, 700);
    ASSERT_NE(priceRange(), nullptr);
    EXPECT_FALSE(priceRange()->flags & kRangeLogarithmic) << "a portfolio's value stays linear";
}

} // namespace
} // namespace qv
