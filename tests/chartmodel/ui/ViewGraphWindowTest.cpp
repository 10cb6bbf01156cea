// The chart view window: renders of a synthetic chart (plain, selecting, a zoomed window, a printed
// page), synthesised mouse, wheel and key events, the status texts, and creation by run-time class.
#include "chartmodel/ui/ViewGraphWindow.h"
#include "shell/KeyRouting.h"

#include "chartmodel/GraphSettingLayout.h"
#include "core/ConfigState.h"
#include "devtools/lib/SyntheticChart.h"
#include "platform/Beep.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/StatusBarEx.h"
#include "support/ui/FactoryFrame.h"
#include "support/ui/Render.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewBaseWindow.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace qv {
namespace {

namespace gs = graphsetting;

using Chart = dev::SyntheticChart<CViewGraphWnd>;

class ViewGraphWindow : public ::testing::Test {
protected:
    ViewGraphWindow()
    {
        saved_ = Config().dailyGraphs.records[0];
        dev::SetUpSyntheticSetting(Config().dailyGraphs.records[0]);
        gs::SetU16(Setting(), gs::kDisplayFlags, 1);
        Config().dailyGraphs.names[0] = "Daily 1";
        previousBeep_ = SetBeepHandler([this] { ++beeps; });
    }
    ~ViewGraphWindow() override
    {
        SetBeepHandler(previousBeep_);
        Config().dailyGraphs.records[0] = saved_;
        Config().dailyGraphs.names[0].reset();
        SetViewUnderMouse(nullptr);
    }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }

    static void Send(QWidget& w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent event(type, QPointF(p), QPointF(w.mapToGlobal(p)), button, buttons, modifiers);
        QApplication::sendEvent(&w, &event);
    }
    // The widget as painted; a widget never shown gets its pending resize here, which ends any mode,
    // so the tests grab once before they start a mouse sequence.
    static QImage Grab(Chart& chart)
    {
        QImage image(chart.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        chart.render(&painter);
        return image;
    }
    static QPoint PriceMiddle(Chart& chart)
    {
        GraphPane* price = chart.FindPane(kPanePrice);
        return {(chart.plotRect[0] + chart.plotRect[2]) / 2, (price->top + price->bottom) / 2};
    }

    int beeps = 0;

private:
    GraphSetting saved_;
    BeepHandler previousBeep_;
};

// Counts pixels of a colour in a region.
int CountColour(const QImage& image, const QRect& area, QRgb colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

TEST_F(ViewGraphWindow, PlainLayoutRender)
{
    ASSERT_TRUE(test::FontsAvailable());
    Chart chart(400);
    chart.active = 1;
    QImage image = chart.RenderToImage(900, 640);
    test::SaveRender(image, "chart-view-plain");
    // Every pane is framed and holds its series: price bars, volume columns and two indicator lines.
    for (uint32_t id : {kPanePrice, kPaneVolume, 4u, 5u}) {
        GraphPane* pane = chart.FindPane(id);
        ASSERT_NE(pane, nullptr);
        QRect inside(pane->left + 1, pane->top + 1, pane->right - pane->left - 2, pane->bottom - pane->top - 2);
        EXPECT_GT(inside.width() * inside.height() - CountColour(image, inside, 0xFFFFFF), 50) << id;
    }
    // The value labels sit left and right of the plot.
    QRect left(0, chart.plotRect[1], chart.plotRect[0] - 2, chart.plotRect[3] - chart.plotRect[1]);
    EXPECT_GT(left.width() * left.height() - CountColour(image, left, 0xFFFFFF), 20);
}

TEST_F(ViewGraphWindow, SelectionInProgressInvertsABarAndSetsTheRangeOnRelease)
{
    Chart chart(2500);
    chart.active = 1;
    chart.resize(900, 640);
    Grab(chart);
    QPoint from = PriceMiddle(chart) - QPoint(150, 0);
    QPoint to = from + QPoint(120, 0);
    Send(chart, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(chart.modeRecord.mode, kModePending);
    Send(chart, QEvent::MouseMove, from + QPoint(40, 0), Qt::NoButton, Qt::LeftButton);
    Send(chart, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(chart.modeRecord.mode, kModeTimeRange);
    EXPECT_EQ(chart.modeRecord.stage, 4u);
    QImage image = Grab(chart);
    test::SaveRender(image, "chart-view-selecting");
    // Inside the selection the white background is inverted to black.
    QRect band(from.x() + 5, chart.plotRect[1] + 40, 100, 20);
    EXPECT_GT(CountColour(image, band, 0x000000), 1000);

    Send(chart, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(chart.fullRange, 0);
    EXPECT_GT(chart.shownRange[1], chart.shownRange[0]);
    EXPECT_EQ(chart.modeRecord.mode, kModeIdle);
}

TEST_F(ViewGraphWindow, ZoomedAddOnWindowRender)
{
    StoreU16(gs::IndicatorSlot(Setting(), 1, 0).data() + gs::kSlotHeightWeight, 120 + kZoomAddition);
    Chart chart(400);
    QImage image = chart.RenderToImage(900, 640);
    test::SaveRender(image, "chart-view-zoomed");
    GraphPane* zoomed = chart.FindPane(5);
    ASSERT_NE(zoomed, nullptr);
    int32_t zoomedHeight = zoomed->bottom - zoomed->top;
    // 870 - (1020 - 750) = 600 per mille of the shared height, below the 70 per cent cap.
    EXPECT_NEAR(zoomedHeight, chart.shareHeight * 600 / 1000, 2);
    EXPECT_GT(zoomedHeight, chart.FindPane(kPanePrice)->bottom - chart.FindPane(kPanePrice)->top);
}

TEST_F(ViewGraphWindow, PrintedPageUsesThePrintableSize)
{
    QTemporaryDir dir;
    Chart chart(400);
    chart.resize(900, 640);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QString pdf = dir.filePath("chart.pdf");
    printer.setOutputFileName(pdf);
    printer.setPageOrientation(QPageLayout::Landscape);
    chart.PrintChart(printer);
    QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    EXPECT_EQ(chart.outerRect[2], page.width());
    EXPECT_EQ(chart.outerRect[3], page.height());
    EXPECT_FLOAT_EQ(chart.horizontalScale, float(page.width()) / 900.0f);
    EXPECT_GT(QFileInfo(pdf).size(), 2000);

    // The same page at 150 dpi as a picture to look at, kept beside the PDF.
    QImage page150(1654, 1087, QImage::Format_RGB32);
    page150.fill(Qt::gray);
    {
        QPainter painter(&page150);
        chart.PrintChart(painter, page150.size());
    }
    EXPECT_FLOAT_EQ(chart.verticalScale, 1087.0f / 640.0f);
    QString kept = test::SaveRender(page150, "chart-view-printed");
    EXPECT_EQ(page150.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu); // the whole page is drawn, not the client size
    EXPECT_EQ(page150.pixel(1650, 1080) & 0xFFFFFF, 0xFFFFFFu);
    kept.replace(".png", ".pdf");
    QFile::remove(kept);
    QFile::copy(pdf, kept);
}

TEST_F(ViewGraphWindow, WheelKeysAndDoubleClickReachTheProtocol)
{
    Chart chart(400);
    chart.active = 1;
    chart.resize(900, 640);
    Grab(chart);
    QWheelEvent wheel(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &wheel);
    EXPECT_EQ(beeps, 1); // no share list: previous share beeps

    // Hovering at the volume pane's top shows the resize cursor; with Shift held it shows none.
    GraphPane* volume = chart.FindPane(kPaneVolume);
    QPoint edge(PriceMiddle(chart).x(), volume->top + 1);
    Send(chart, QEvent::MouseMove, edge, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(chart.modeRecord.mode, kModeResizing);
    EXPECT_EQ(chart.cursor().shape(), Qt::SizeVerCursor);
    Send(chart, QEvent::MouseMove, PriceMiddle(chart), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(chart.modeRecord.active, 0);
    EXPECT_EQ(chart.cursor().shape(), Qt::ArrowCursor);
    Send(chart, QEvent::MouseMove, edge, Qt::NoButton, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(chart.modeRecord.active, 0);
    // Releasing Shift re-runs the move at the last point without it.
    QKeyEvent shiftUp(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    QApplication::sendEvent(&chart, &shiftUp);
    EXPECT_EQ(chart.modeRecord.mode, kModeResizing);
    Send(chart, QEvent::MouseMove, PriceMiddle(chart), Qt::NoButton, Qt::NoButton);

    Send(chart, QEvent::MouseButtonDblClick, PriceMiddle(chart), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(chart.fullRange, 0);
}

TEST_F(ViewGraphWindow, CreationByRunTimeClassFallsBackToTheViewBase)
{
    ViewClassFactory previous =
        RegisterViewClass(kViewDailyChart, [](int32_t kind) -> CViewBaseWnd* { return new Chart(kind == 0 ? 10 : 0); });
    std::unique_ptr<CViewBaseWnd> chart(CreateViewWindowForKind(kViewDailyChart));
    EXPECT_NE(dynamic_cast<CViewGraph*>(chart.get()), nullptr);
    std::unique_ptr<CViewBaseWnd> list(CreateViewWindowForKind(kViewList));
    EXPECT_EQ(dynamic_cast<CViewGraph*>(list.get()), nullptr);
    EXPECT_EQ(list->kind, kViewList);
    RegisterViewClass(kViewDailyChart, previous);
    std::unique_ptr<CViewBaseWnd> plain(CreateViewWindowForKind(kViewDailyChart));
    EXPECT_EQ(dynamic_cast<CViewGraph*>(plain.get()), previous ? dynamic_cast<CViewGraph*>(plain.get()) : nullptr);
}

} // namespace
} // namespace qv

namespace qv {
namespace {

// The program's default layout with the chart classes installed: its charts are chart views that
// title themselves, show their status texts in the frame and run the moving-average commands.
class ChartsInTheFrame : public test::FactoryFrame {
protected:
    ChartsInTheFrame() : FactoryFrame(1100, 800)
    {
        previousDaily_ = RegisterViewClass(kViewDailyChart, {});
        previousIntraday_ = RegisterViewClass(kViewIntradayChart, {});
        InstallChartViewClasses();
    }
    ~ChartsInTheFrame() override
    {
        RegisterViewClass(kViewDailyChart, previousDaily_);
        RegisterViewClass(kViewIntradayChart, previousIntraday_);
    }

    // The default layout's windows made, its daily chart.
    CViewGraphWnd* LayoutsDailyChart()
    {
        factory->CreateLayoutWindows();
        QApplication::processEvents();
        DeliverPostedMessages();
        for (CChildWindow* c : factory->Children())
            if (c->kind() == kViewDailyChart)
                return dynamic_cast<CViewGraphWnd*>(c->widget());
        return nullptr;
    }

private:
    ViewClassFactory previousDaily_, previousIntraday_;
};

// Every letter and digit typed on a chart opens the find-a-share search with that character.
TEST_F(ChartsInTheFrame, EveryLetterTypedOnAChartOpensFindWithIt)
{
    CViewGraphWnd* chart = LayoutsDailyChart();
    ASSERT_NE(chart, nullptr);
    frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(chart->parentWidget()));
    QApplication::processEvents();
    std::string seeded;
    SetFindShareDialog([&](const std::string&, uint32_t character, bool seed, ShareList*) -> std::optional<int32_t> {
        seeded += seed ? char(character) : '?';
        return std::nullopt;
    });
    const std::string typed = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (char c : typed) {
        QTest::keyClick(chart, c, c >= 'A' && c <= 'Z' ? Qt::ShiftModifier : Qt::NoModifier);
        DeliverPostedMessages();
    }
    SetFindShareDialog(nullptr);
    EXPECT_EQ(seeded, typed);
    EXPECT_FALSE(frame->helpShown()) << frame->lastHelpText().toStdString();
}

TEST_F(ChartsInTheFrame, ChartWindowsAreChartViews)
{
    CViewGraphWnd* chart = LayoutsDailyChart();
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->windowTitle().contains("Graph - ")) << chart->windowTitle().toStdString();

    chart->active = 1;
    QMouseEvent move(QEvent::MouseMove, QPointF(chart->width() / 2, 2), QPointF(), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(chart, &move);
    ASSERT_NE(frame->statusBarEx(), nullptr);
    EXPECT_EQ(frame->statusBarEx()->PaneText(1), QString::fromLatin1(chart->statusTexts[0].c_str()));
    EXPECT_FALSE(frame->statusBarEx()->PaneText(1).isEmpty());

    GraphSetting& setting = *chart->ActiveSetting();
    uint32_t before = gs::LineWord(setting, 2);
    MainFrameState().activeView = chart;
    frame->OnCommand(kCommandFirstMovingAverage + 2);
    EXPECT_NE(gs::LineWord(setting, 2), before);
    frame->OnCommand(kCommandFirstMovingAverage + 2);
    EXPECT_EQ(gs::LineWord(setting, 2), before);
}

} // namespace
} // namespace qv
