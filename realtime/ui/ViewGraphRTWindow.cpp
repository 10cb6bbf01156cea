// The intraday chart window: its time axis labels, day keys, render and registration.
#include "realtime/ui/ViewGraphRTWindow.h"

#include "chartmodel/StudyKeyCollector.h"
#include "chartmodel/ui/DrawingObjectPainter.h"
#include "chartmodel/ui/GraphLegend.h"
#include "chartmodel/ui/IntradayRangeDlg.h"
#include "chartmodel/ui/DisplayTrendsDlg.h"
#include "chartmodel/ui/PivotPointsDlg.h"
#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "core/ConfigState.h"
#include "realtime/RTMarketTable.h"
#include "realtime/ui/GraphGridRT.h"
#include "shell/ui/ModalDialog.h"
#include "views/CommandUpdate.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

#include <algorithm>

namespace qv {
namespace {

constexpr uint32_t kDailyChartMenu = 301, kIntradayChartMenu = 310, kLineMenu = 347;
// The line menu's intraday items ("Alarm on Line") come with mode bit 1.
constexpr uint32_t kIntradayLineItems = 1;
constexpr uint32_t kGraphDesignCommand = 25002;
// "Pivot Points..." (the pivot series, bar by bar) and "Previous Day's Pivot Points...".
constexpr uint32_t kPivotSeriesCommand = 27054, kPreviousDayPivotsCommand = 27078;
constexpr uint32_t kMarketHoursCommand = 27199;
// "Trend Lines...": the setting's regression studies on each day or across the days.
constexpr uint32_t kTrendsCommand = 20206;

} // namespace

CViewGraphRTWnd::CViewGraphRTWnd(int32_t kind, QWidget* parent)
    : CViewBase(kind), CViewGraphBase(kind), ViewGraphRTT<CViewGraphWnd>(kind)
{
    if (parent)
        setParent(parent);
    InstallDrawingDialogs(drawing, this);
    // The first intraday chart opens the market table its breadth studies draw from.
    OpenProgramMarketTable(MarketSourcesInUse(Config().intradayGraphs));
}

void CViewGraphRTWnd::OpenGraphDesign()
{
    GraphSetting* setting = ActiveSetting();
    if (!setting)
        return;
    // The chart draws from its own copy while the dialog previews on it.
    privateCopyOn = 1;
    styleRecord = &privateCopy;
    IntradayDesignHooks hooks;
    hooks.previousDayHeld = [this] { return chart.PreviousDayHeld(); };
    // The market-hours page of the options sheet, where the frame offers it.
    if (QueryCommandUi(kMarketHoursCommand).enabled)
        hooks.defineHours = [] { RouteCommand(kMarketHoursCommand); };
    OpenIntradayGraphDesign(
        *setting, privateCopy, SettingName(), SettingIndex(),
        [this](QPainter& painter, const GraphSetting& style, QRect area) { RenderGraphTo(painter, style, area, 2, 0); },
        [this] { update(); }, [this] { NotifyGraphSettings(0); }, this, std::move(hooks));
    privateCopyOn = 0;
    styleRecord = setting;
    update();
}

intptr_t CViewGraphRTWnd::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_COMMAND && (wParam & 0xFFFF) == kGraphDesignCommand) {
        OpenGraphDesign();
        return 1;
    }
    if (message == WM_COMMAND && RunPivotDialog(uint32_t(wParam & 0xFFFF)))
        return 1;
    if (message != WM_COMMAND || (wParam & 0xFFFF) != intraday::kCmdDefaultRange)
        return ViewGraphRTT<CViewGraphWnd>::onProgramMessage(message, wParam, lParam);
    GraphSetting* setting = ActiveSetting();
    namespace gs = graphsetting;
    CIntradayRangeDlg dialog(gs::U16(*setting, intraday::kRangeMinutes), this);
    if (RunModalDialog(dialog) == QDialog::Accepted) {
        const uint16_t word = gs::U16(*setting, intraday::kRangeLimit);
        gs::SetU16(*setting, intraday::kRangeLimit, uint16_t(dialog.Limited() ? word | 1 : word & ~1u));
        if (dialog.Limited())
            gs::SetU16(*setting, intraday::kRangeMinutes, uint16_t(std::min(dialog.Minutes(), 0xFFFF)));
        fullRange = 0;
        NotifyGraphSettings(0);
    }
    return 1;
}

bool CViewGraphRTWnd::RunPivotDialog(uint32_t command)
{
    GraphSetting* setting = ActiveSetting();
    if (command == kTrendsCommand && setting) {
        CDisplayTrendsDlg dialog(*setting, true, this);
        dialog.SetNotify([this] { NotifyGraphSettings(0); });
        RunModalDialog(dialog);
        NotifyGraphSettings(0);
        return true;
    }
    if ((command != kPivotSeriesCommand && command != kPreviousDayPivotsCommand) || !setting)
        return false;
    CPivotPointsDlg dialog(*setting, command == kPivotSeriesCommand ? intraday::kPivotSeries : intraday::kPivotLevels, this);
    dialog.SetNotify([this] { NotifyGraphSettings(0); });
    RunModalDialog(dialog);
    return true;
}

bool CViewGraphRTWnd::UpdateCommandUi(CommandUi& ui) const
{
    if (ui.command == intraday::kCmdDefaultRange || ui.command == kGraphDesignCommand ||
        ui.command == kPivotSeriesCommand || ui.command == kPreviousDayPivotsCommand || ui.command == kTrendsCommand) {
        ui.enabled = true;
        return true;
    }
    return ViewGraphRTT<CViewGraphWnd>::UpdateCommandUi(ui);
}

void CViewGraphRTWnd::DrawLineObjects()
{
    if (QPainter* painter = target())
        PaintDrawingObjects(*painter, drawing.Figures());
}

void CViewGraphRTWnd::contextMenuEvent(QContextMenuEvent* event)
{
    ChartMenuChoice choice = drawing.ContextMenu(event->pos().x(), event->pos().y());
    // The chart's own menu is the intraday graph menu.
    if (choice.menu == kDailyChartMenu)
        choice.menu = kIntradayChartMenu;
    if (choice.menu == kLineMenu)
        choice.flags |= kIntradayLineItems;
    if (choice.menu)
        TrackChartMenu(choice.menu, choice.flags, event->globalPos(), this,
                       [this](uint32_t command) { onProgramMessage(WM_COMMAND, command, 0); });
    drawing.AfterContextMenu();
    update();
}

void CViewGraphRTWnd::RenderGraphTo(QPainter& painter, const GraphSetting& style, QRect area, int outputKind,
                                    int margin)
{
    DrawDesignPreview(painter, style, area, outputKind, margin);
}

void CViewGraphRTWnd::DrawTimeLines()
{
    CViewGraphWnd::DrawTimeLines();
    // The labels stand in the row kept free below the lowest pane.
    const GraphPane* lowest = LowestPane();
    if (!lowest)
        return;
    const int32_t y = lowest->bottom + 2;
    for (const IntradayAxisLabel& label : chart.axisLabels()) {
        // A band's date and start time stand at its left edge, the date first.
        if (label.date)
            QueueAxisText(label.x, y, label.text, kLabelTop | kLabelLeft, 2);
        else
            QueueAxisText(label.x, y, label.text, kLabelTop | kLabelCentreX, 0);
    }
}

void CViewGraphRTWnd::keyPressEvent(QKeyEvent* event)
{
    if (const uint32_t command = DrawingKeyCommand(event->key(), (event->modifiers() & Qt::ShiftModifier) != 0)) {
        onProgramMessage(WM_COMMAND, command, 0);
        return;
    }
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Left: PreviousDay(); return;
        case Qt::Key_Right: NextDay(); return;
        case Qt::Key_Up: MoreDays(); return;
        case Qt::Key_Down: FewerDays(); return;
        default: break;
        }
    }
    CViewGraphWnd::keyPressEvent(event);
}

void CViewGraphRTWnd::OnSetFocus()
{
    ViewGraphRTT<CViewGraphWnd>::OnSetFocus();
    if (ChartOptions().legendShown)
        ShowLegendWindow();
}

void CViewGraphRTWnd::FillLegendSource(LegendSource& source)
{
    source.latest = {};
    source.cursor = {};
    const auto latest = readouts.LatestTexts();
    const auto cursor = readouts.CursorTexts(lastMouseX, lastMouseY, MouseInside());
    std::copy(latest.begin(), latest.end(), source.latest.begin());
    std::copy(cursor.begin(), cursor.end(), source.cursor.begin());
    source.shareName = chart.share().name;
    source.showsMainSeries = !chart.sets().empty();
    source.indicators = readouts.AddedGraphLines(lastMouseX, lastMouseY, MouseInside());
    chart.FillStopLegend(source);
}

void InstallIntradayChartClass()
{
    RegisterViewClass(kViewIntradayChart, [](int32_t k) -> CViewBaseWnd* { return new CViewGraphRTWnd(k); });
}

} // namespace qv
