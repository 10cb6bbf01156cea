// Tests of the chart window side: the legend window and legend box, the bell marker and the chart
// cursors, with renders to look at.
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/LegendSettings.h"
#include "chartmodel/ui/ChartCursors.h"
#include "chartmodel/ui/GraphLegend.h"
#include "chartmodel/ui/GraphViewWindow.h"
#include "chartmodel/ui/MarkerBitmap.h"
#include "resources/MessageIds.h"
#include "support/PrivateRegistry.h"
#include "support/ui/Render.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::graphsetting;

namespace {

// A chart window that records the commands and keys it receives.
class RecordingChart : public CGraphViewWnd {
public:
    RecordingChart() : CViewBase(0), CGraphViewWnd(0) {}
    std::vector<uintptr_t> commands;
    std::vector<int> keys;
    std::vector<uint32_t> redraws;
    void FullRedraw(uint32_t steps) override
    {
        redraws.push_back(steps);
        EXPECT_NE(currentPainter(), nullptr);
    }
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(wParam);
        return CGraphViewWnd::onProgramMessage(message, wParam, lParam);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

// A daily chart's legend source with value texts, headings and a few items.
struct Source {
    GraphSetting setting;
    LegendItemRecord items{0x0003 | 0x10000, 0x7B | 0x1000 | 0x400000 | 0x4000000 | 0x40000000 | 0x80000000u};
    LegendSource source;
    StopRecord stop;
    Source()
    {
        source.setting = &setting;
        source.items = &items;
        source.latest[0] = "12/03/2026 Close 101.50";
        source.latest[1] = "O 100.00 H 102.25 L 99.75 C 101.50";
        source.cursor[0] = "No price selected";
        source.shareName = "Acme Holdings";
        source.settingName = "Daily 1";
        source.sector = "Engineering";
        source.subSector = "Machinery";
        SetU8(setting, kPriceColourMode, 1);
        SetU32(setting, kPriceColours, 0x008000);
        SetU32(setting, kPriceColours + 4, 0x0000FF);
        SetU32(setting, kPriceColours + 8, 0x808080);
        SetU32(setting, kLineWords, 0xC0000014);
        SetU32(setting, kLineColours, 0xFF0000);
        SetU32(setting, kLineBandColours, 0x02FF8000);
        SetU32(setting, kSwingFlags, 1 | 2 | 4 | 1u << 24 | 1u << 26);
        SetU32(setting, kSwing + 8, 0x10FF0000);
        SetU32(setting, kSwing + 12, 0x100000FF);
        SetU32(setting, kSwing + 16, 0x00C0C0C0);
        stop.percent = 10;
        stop.pen = 0x020000FF;
        source.globalStop = &stop;
        source.globalStopValue = 91.35f;
    }
};

} // namespace

TEST(GraphLegendWindow, ListsTheLinesAndScrollsWhenTheyDoNotFit)
{
    ASSERT_TRUE(test::FontsAvailable());
    Source s;
    CGraphLegend legend;
    EXPECT_TRUE(legend.windowFlags() & Qt::Tool);
    EXPECT_EQ(legend.focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(legend.testAttribute(Qt::WA_ShowWithoutActivating));
    legend.resize(260, 420);
    legend.Bind(nullptr, &s.source);
    legend.UpdateLegend(false);
    EXPECT_EQ(legend.windowTitle(), QStringLiteral("Graph legend"));
    EXPECT_GT(legend.model().lines().size(), 10u);
    EXPECT_FALSE(legend.scrollBar()->isVisibleTo(&legend));
    test::SaveRender(test::RenderWidget(legend), QStringLiteral("graph-legend"));

    legend.resize(260, 90);
    EXPECT_TRUE(legend.scrollBar()->isVisibleTo(&legend));
    EXPECT_EQ(legend.scrollBar()->maximum(), int(legend.model().lines().size()) - legend.visibleLines());
    legend.scrollBar()->setValue(legend.scrollBar()->maximum() + 5);
    EXPECT_EQ(legend.firstVisibleLine(), legend.scrollBar()->maximum());
    test::SaveRender(test::RenderWidget(legend), QStringLiteral("graph-legend-scrolled"));
    legend.resize(260, 600);
    EXPECT_EQ(legend.firstVisibleLine(), 0);
}

TEST(GraphLegendWindow, FixedHeightKeysAndClosing)
{
    Source s;
    RecordingChart chart;
    CGraphLegend legend;
    legend.Bind(&chart, &s.source);
    legend.UpdateLegend(false);

    ResetLegendSettings();
    ProgramLegendSettings().fixedHeight = true;
    ProgramLegendSettings().storedHeight = 120;
    legend.ApplySettings();
    EXPECT_EQ(legend.minimumHeight(), 120);
    EXPECT_EQ(legend.maximumHeight(), 120);
    ProgramLegendSettings().storedHeight = 0;
    legend.ApplySettings();
    EXPECT_EQ(legend.minimumHeight(), 50);
    ResetLegendSettings();

    QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(&legend, &press);
    EXPECT_EQ(chart.keys, std::vector<int>{Qt::Key_Right});

    legend.show();
    legend.move(40, 30);
    EXPECT_TRUE(ProgramLegendSettings().placed);
    EXPECT_EQ(ProgramLegendSettings().left, legend.frameGeometry().left());
    legend.close();
    EXPECT_EQ(chart.commands, std::vector<uintptr_t>{26061});
    EXPECT_FALSE(legend.isVisible());
    legend.Hide();
    EXPECT_EQ(legend.view(), nullptr);
    legend.close();
    EXPECT_EQ(chart.commands.size(), 1u);
    ResetLegendSettings();
}

// The user closing the legend turns it off; the program closing it with the main window leaves it on
// for the next start, and the place it was left at comes back with it.
TEST(GraphLegendWindow, ClosedWithItsMainWindowItStaysOnAndKeepsItsPlace)
{
    test::PrivateRegistry registry;
    ResetLegendSettings();
    Source s;
    RecordingChart chart;
    QWidget main;
    main.show();
    auto* legend = new CGraphLegend;
    legend->setParent(&main, Qt::Tool);
    legend->Bind(&chart, &s.source);
    legend->show();
    legend->move(70, 45);
    const QRect frame = legend->frameGeometry();

    main.hide();
    legend->close();
    EXPECT_TRUE(chart.commands.empty());
    EXPECT_FALSE(legend->isVisible());

    ResetLegendSettings();
    LoadStoredLegendPlace(ProgramLegendSettings());
    const LegendSettings& back = ProgramLegendSettings();
    EXPECT_TRUE(back.placed);
    EXPECT_EQ(back.left, frame.left());
    EXPECT_EQ(back.top, frame.top());
    EXPECT_EQ(back.right, frame.right() + 1);
    EXPECT_EQ(back.bottom, frame.bottom() + 1);

    main.show();
    legend->show();
    legend->close();
    EXPECT_EQ(chart.commands, std::vector<uintptr_t>{26061});
    ResetLegendSettings();
}

TEST(LegendPlaceRecord, RoundTripsAndRefusesDamage)
{
    const LegendPlace place{-1200, 30, -900, 205};
    const std::vector<uint8_t> bytes = EncodeLegendPlace(place);
    ASSERT_EQ(bytes.size(), kLegendPlaceRecordSize);
    EXPECT_EQ(bytes[0], 0x50); // -1200 = 0xFFFFFB50, low byte first
    EXPECT_EQ(bytes[3], 0xFF);
    const auto back = DecodeLegendPlace(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->left, -1200);
    EXPECT_EQ(back->bottom, 205);

    std::vector<uint8_t> shorter = bytes;
    shorter.pop_back();
    EXPECT_FALSE(DecodeLegendPlace(shorter));
    EXPECT_FALSE(DecodeLegendPlace(EncodeLegendPlace({10, 10, 10, 50})));
    EXPECT_FALSE(DecodeLegendPlace(EncodeLegendPlace({10, 60, 50, 20})));

    // Nothing stored, or nothing placed: the settings are left unplaced.
    test::PrivateRegistry registry;
    LegendSettings settings;
    LoadStoredLegendPlace(settings);
    EXPECT_FALSE(settings.placed);
    SaveLegendPlace(settings);
    LoadStoredLegendPlace(settings);
    EXPECT_FALSE(settings.placed);
}

TEST(GraphLegendBox, DrawsIntoAnyPainterAndNothingWhenEmpty)
{
    ASSERT_TRUE(test::FontsAvailable());
    QImage image(360, 420, QImage::Format_RGB32);
    image.fill(QColor(0xE0, 0xE8, 0xF0));
    LegendModel empty;
    {
        QPainter painter(&image);
        DrawLegendBox(painter, empty, 13, 10, 10);
    }
    EXPECT_EQ(image.pixelColor(10, 10), QColor(0xE0, 0xE8, 0xF0));

    Source s;
    LegendModel legend;
    legend.Update(s.source, false);
    {
        QPainter painter(&image);
        DrawLegendBox(painter, legend, 13, 10, 10);
    }
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(14, 14 + 20), QColor(Qt::white));
    test::SaveRender(image, QStringLiteral("graph-legend-box"));
}

TEST(BellMarker, TwoMaskedStepsPaintFillAndOutline)
{
    QImage image(120, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DrawMarkerBitmap(painter, 20, 20, 0x0000FF, 0x00FFFF, false);
        DrawMarkerBitmap(painter, 60, 20, 0x0000FF, 0x00FFFF, true);
        painter.fillRect(80, 0, 40, 40, QColor(0x40, 0x40, 0x40));
        DrawMarkerBitmap(painter, 100, 20, 0xFFFFFF, 0x00C000, true);
    }
    // The bell's rim row is outline; the body's middle is fill; the corners are untouched.
    EXPECT_EQ(image.pixelColor(8 + 11, 12 + 12), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(8 + 11, 12 + 8), QColor(Qt::yellow));
    EXPECT_EQ(image.pixelColor(8, 12), QColor(Qt::white));
    // Sound strokes only on the ringing bell.
    EXPECT_EQ(image.pixelColor(8 + 1, 12 + 5), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(48 + 1, 12 + 5), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(88 + 11, 12 + 8), QColor(0, 0xC0, 0));
    EXPECT_EQ(image.pixelColor(81, 1), QColor(0x40, 0x40, 0x40));
    test::SaveRender(image.scaled(480, 160), QStringLiteral("bell-markers"));
}

TEST(ChartCursors, OwnPicturesAndSystemShapes)
{
    const uint32_t own[] = {1706, 1707, 780, 1713, 1721, 1722, 1723, 1724};
    QImage sheet(8 * 40, 40, QImage::Format_RGB32);
    sheet.fill(QColor(0x80, 0xA0, 0xC0));
    {
        QPainter painter(&sheet);
        for (int i = 0; i < 8; ++i) {
            QPixmap picture = ChartCursorPicture(own[i]);
            ASSERT_FALSE(picture.isNull()) << own[i];
            EXPECT_EQ(picture.size(), QSize(32, 32));
            painter.drawPixmap(4 + 40 * i, 4, picture);
            EXPECT_EQ(ChartCursor(own[i]).shape(), Qt::BitmapCursor);
        }
    }
    test::SaveRender(sheet.scaled(sheet.size() * 2), QStringLiteral("chart-cursors"));
    EXPECT_TRUE(ChartCursorPicture(32512).isNull());
    EXPECT_EQ(ChartCursor(32512).shape(), Qt::ArrowCursor);
    EXPECT_EQ(ChartCursor(0).shape(), Qt::ArrowCursor);
    EXPECT_EQ(ChartCursor(32515).shape(), Qt::CrossCursor);
    EXPECT_EQ(ChartCursor(32644).shape(), Qt::SizeHorCursor);
    EXPECT_EQ(ChartCursor(32645).shape(), Qt::SizeVerCursor);
    EXPECT_EQ(ChartCursor(32646).shape(), Qt::SizeAllCursor);
}

TEST(ChartWindow, ShowsTheModesCursorAndCancelsOnResize)
{
    RecordingChart chart;
    EXPECT_EQ(chart.cursor().shape(), Qt::ArrowCursor);
    chart.SetMode(true, kModeTimeRange, 0, 0, 0);
    chart.UpdateCursor(false);
    EXPECT_EQ(chart.cursor().shape(), Qt::SizeHorCursor);
    chart.SetMode(true, kModeGraphText, 0, 0, 0);
    chart.UpdateCursor(false);
    EXPECT_EQ(chart.cursor().shape(), Qt::BitmapCursor);
    chart.resize(300, 200);
    chart.show();
    EXPECT_EQ(chart.modeRecord.active, 0);
    EXPECT_EQ(chart.cursor().shape(), Qt::ArrowCursor);
    // A redraw in progress is not cancelled.
    chart.SetMode(true, kModeRedrawing, 0, 0, kRedrawAll);
    chart.resize(310, 210);
    QApplication::processEvents();
    EXPECT_EQ(chart.modeRecord.mode, uint32_t(kModeRedrawing));
    chart.SetMode(false, 0, 0, 0, 0);

    // A paint draws the view, or rebuilds the whole chart once when asked to.
    chart.fullRedraw = 1;
    test::RenderWidget(chart);
    EXPECT_EQ(chart.redraws, std::vector<uint32_t>{255});
    EXPECT_EQ(chart.fullRedraw, 0);
    EXPECT_EQ(chart.currentPainter(), nullptr);
    test::RenderWidget(chart);
    EXPECT_EQ(chart.redraws.size(), 1u);
}
