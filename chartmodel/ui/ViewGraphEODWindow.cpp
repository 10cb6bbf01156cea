// The daily chart window: the time axis labels under the chart and the "^^" breaks of the no-data text.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/EodChart.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/ui/DisplayTrendsDlg.h"
#include "chartmodel/ui/GraphDesignDlg.h"
#include "chartmodel/ui/PivotPointsDlg.h"
#include "chartmodel/ui/SupportResistDlg.h"
#include "shell/ui/ModalDialog.h"
#include "shell/CommandUpdate.h"
#include "shell/ViewKinds.h"
#include "shell/ui/ViewClassRegistry.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace qv {

CViewGraphEODWnd::CViewGraphEODWnd(int32_t kind, QWidget* parent) : ViewGraphEODT<CViewGraphWnd>(kind)
{
    if (parent)
        setParent(parent);
}

bool CViewGraphEODWnd::ShiftHeld() const
{
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}

void CViewGraphEODWnd::DrawTimeLines()
{
    CViewGraphWnd::DrawTimeLines();
    if (!timeBands)
        return;
    // The time axis strip when the setting shows it; otherwise the labels sit along the foot of the
    // lowest pane.
    const GraphPane* strip = FindPane(kPaneStrip);
    const GraphPane* lowest = nullptr;
    for (GraphPane* pane = panes; pane; pane = pane->next)
        if (pane->visible && pane->id != kPaneCaption && pane->id != kPaneStrip &&
            (!lowest || pane->bottom > lowest->bottom))
            lowest = pane;
    const bool inStrip = strip && strip->visible;
    if (!inStrip && !lowest)
        return;
    const int32_t y = inStrip ? strip->top + 1 : lowest->bottom - 2;
    const uint32_t flags = (inStrip ? kLabelTop : kLabelBottom) | kLabelCentreX;
    const int32_t slotWidth = std::max(TextWidth("MM"), 1);
    const int32_t labelSlots = std::max((timeBands->right - timeBands->left) / slotWidth / 2, 1);
    for (const AxisLabel& label : eod.AxisLabels(labelSlots, -1))
        QueueChartText(label.x, y, label.text, flags);
}

void CViewGraphEODWnd::DrawNoData(const GraphPane& pane, const std::string& text)
{
    std::string joined;
    for (const std::string& line : SplitChartText(text))
        joined += (joined.empty() ? "" : "\n") + line;
    CViewGraphWnd::DrawNoData(pane, joined);
}

void CViewGraphEODWnd::keyPressEvent(QKeyEvent* event)
{
    const bool left = event->key() == Qt::Key_Left, right = event->key() == Qt::Key_Right;
    if ((left || right) && event->modifiers() == Qt::NoModifier) {
        if (eod.ScrollRecords(left ? -1 : 1, 0))
            InvalidateWindow();
        return;
    }
    CViewGraphWnd::keyPressEvent(event);
}

void InstallDailyChartClass()
{
    RegisterViewClass(kViewDailyChart, [](int32_t k) -> CViewBaseWnd* { return new CViewGraphEODWnd(k); });
}

namespace {
constexpr uint32_t kGraphDesignCommand = 25002;
constexpr uint32_t kTrendsCommand = 20206;
constexpr uint32_t kPivotCommand = 27054;
constexpr uint32_t kSecondPivotCommand = 27078;
} // namespace

// The chart settings dialogs write into the setting itself and tell the views of it afterwards.
bool CViewGraphEODWnd::RunSettingsDialog(uint32_t command)
{
    GraphSetting* setting = ActiveSetting();
    if (!setting)
        return false;
    auto notify = [this] { NotifyGraphSettings(0); };
    if (command == kPivotCommand || command == kSecondPivotCommand) {
        CPivotPointsDlg dialog(*setting, command == kPivotCommand ? graphsetting::kPivot1 : graphsetting::kPivot2, this);
        dialog.SetNotify(notify);
        RunModalDialog(dialog);
        return true;
    }
    if (command != kTrendsCommand)
        return false;
    if (viewFlags & 1) {
        CSupportResistDlg dialog(*setting, this);
        dialog.SetNotify([this] { update(); });
        RunModalDialog(dialog);
    } else if (!(viewFlags & 2) && ComputeSettingsLocked()) {
        RunTrendColours(*setting);
    } else if (!(viewFlags & 2)) {
        CDisplayTrendsDlg dialog(*setting, false, this);
        dialog.SetNotify(notify);
        RunModalDialog(dialog);
    }
    notify();
    return true;
}

intptr_t CViewGraphEODWnd::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_COMMAND && uint32_t(wParam) == kGraphDesignCommand) {
        OpenGraphDesign(*this, SettingName());
        return 1;
    }
    if (message == WM_COMMAND && (RunSettingsDialog(uint32_t(wParam)) || RunChartDesignCommand(uint32_t(wParam))))
        return 1;
    return ViewGraphEODT<CViewGraphWnd>::onProgramMessage(message, wParam, lParam);
}

bool CViewGraphEODWnd::UpdateCommandUi(CommandUi& ui) const
{
    for (uint32_t command : {kGraphDesignCommand, kTrendsCommand, kPivotCommand, kSecondPivotCommand}) {
        if (ui.command == command) {
            ui.enabled = true;
            return true;
        }
    }
    if (UpdateChartDesignCommand(ui))
        return true;
    return ViewGraphEODT<CViewGraphWnd>::UpdateCommandUi(ui);
}

} // namespace qv
