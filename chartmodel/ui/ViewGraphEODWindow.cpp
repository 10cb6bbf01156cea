// The daily chart window: the time axis labels under the chart and the "^^" breaks of the no-data text.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/EodChart.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/ui/AddedGraphDialogs.h"
#include "chartmodel/ui/ArrowDlg.h"
#include "chartmodel/ui/DisplayTrendsDlg.h"
#include "chartmodel/ui/DrawingObjectPainter.h"
#include "chartmodel/ui/GraphDesignDlg.h"
#include "chartmodel/ui/GraphLegend.h"
#include "chartmodel/ui/LineSettings.h"
#include "chartmodel/ui/PivotPointsDlg.h"
#include "chartmodel/ui/SelectSetting.h"
#include "chartmodel/ui/ShowFutureDlg.h"
#include "chartmodel/ui/SupportResistDlg.h"
#include "lists/DetailDialogRules.h"
#include "lists/ui/DetailDialogs.h"
#include "lists/ui/EditNoteDlg.h"
#include "platform/qt/QtText.h"
#include "shell/LayoutStateHooks.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SuppressibleMessage.h"
#include "views/CommandUpdate.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QMouseEvent>
#include <QTimerEvent>

namespace qv {
namespace gs = graphsetting;

CViewGraphEODWnd::CViewGraphEODWnd(int32_t kind, QWidget* parent) : ViewGraphEODT<CViewGraphWnd>(kind)
{
    if (parent)
        setParent(parent);
    InstallDrawingDialogs(drawing, this);
}

void InstallDrawingDialogs(DailyChartDrawing& drawing, QWidget* parent)
{
    drawing.SetStyleDialog([parent](uint32_t pen, uint32_t background) { return RunLineStyleDialog(pen, background, parent); });
    DailyChartDrawing::TextBoxDialogs dialogs;
    dialogs.editText = [parent](const std::string& text) -> std::optional<std::string> {
        CEditNoteDlg dialog(QStringLiteral("Text"), QString(), QString::fromLatin1(text.c_str()), parent);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return std::nullopt;
        return dialog.deleted() ? std::string() : dialog.text().toLatin1().toStdString();
    };
    dialogs.arrow = [parent](uint32_t style, uint32_t size) -> std::optional<std::pair<uint32_t, uint32_t>> {
        CArrowDlg dialog(int(style), int(size), parent);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return std::nullopt;
        return std::pair<uint32_t, uint32_t>(uint32_t(dialog.ArrowId()), uint32_t(dialog.ArrowSize()));
    };
    dialogs.boxColours = [parent](uint8_t* stored, bool& asDefault) { return RunTextBoxColours(stored, asDefault, parent); };
    dialogs.font = [parent](uint8_t* stored) { return RunTextBoxFont(stored, parent); };
    drawing.SetTextBoxDialogs(std::move(dialogs));
    using WordChoice = DailyChartDrawing::WordChoice;
    drawing.SetSettingsDialog([parent](uint16_t mask, int setting) -> std::optional<WordChoice> {
        CSelectSetting dialog(mask, setting, false, parent);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return std::nullopt;
        return WordChoice{dialog.mask(), dialog.setAsDefault()};
    });
    drawing.SetLineSettingsDialog([parent](uint16_t flags) -> std::optional<WordChoice> {
        CLineSettings dialog(flags, parent);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return std::nullopt;
        return WordChoice{dialog.flags(), dialog.setAsDefault()};
    });
}

void CViewGraphEODWnd::DrawLineObjects()
{
    if (QPainter* painter = target())
        PaintDrawingObjects(*painter, drawing.Figures());
}

void CViewGraphEODWnd::contextMenuEvent(QContextMenuEvent* event)
{
    ShowChartMenu(drawing.ContextMenu(event->pos().x(), event->pos().y()), event->globalPos());
}

void CViewGraphEODWnd::ShowChartMenu(const ChartMenuChoice& choice, const QPoint& global)
{
    if (choice.menu)
        TrackChartMenu(choice.menu, choice.flags, global, this,
                       [this](uint32_t command) { onProgramMessage(WM_COMMAND, command, 0); });
    drawing.AfterContextMenu();
    update();
}

bool CViewGraphEODWnd::ShiftHeld() const
{
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}

void CViewGraphEODWnd::DrawTimeLines()
{
    CViewGraphWnd::DrawTimeLines();
    const TimeBand* band = timeBands;
    if (!band)
        return;
    // The labels stand in the row kept free below the lowest pane, on the chart's plain background.
    const GraphPane* lowest = LowestPane();
    if (!lowest)
        return;
    const int32_t y = lowest->bottom + 2;
    // The two ends first: they win over any day or month label they would overlap.
    const std::array<std::string, 2> ends = eod.AxisEndTexts();
    const std::array<int32_t, 2> xs = eod.AxisEndXs();
    QueueAxisText(xs[0], y, ends[0], kLabelTop | kLabelLeft, 1);
    QueueAxisText(xs[1], y, ends[1], kLabelTop | kLabelRight, 1);
    for (const AxisLabel& label : eod.axisLabels())
        QueueAxisText(label.x, y, label.text, kLabelTop | kLabelCentreX, 0);
}

void CViewGraphEODWnd::DrawNoData(const GraphPane& pane, const std::string& text)
{
    std::string joined;
    for (const std::string& line : SplitChartText(text))
        joined += (joined.empty() ? "" : "\n") + line;
    CViewGraphWnd::DrawNoData(pane, joined);
}

// Tab and Shift+Tab step through the drawn lines rather than the focus chain.
bool CViewGraphEODWnd::focusNextPrevChild(bool) { return false; }

constexpr quint32 kRightShiftKeySym = 0xFFE2;

// Ctrl pressed or released while a line is placed or moved drags it again with or without the
// constraint.
void CViewGraphEODWnd::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Control && drawing.selected())
        drawing.Move(0, lastMouseX, lastMouseY);
    ViewGraphEODT<CViewGraphWnd>::keyReleaseEvent(event);
}

void CViewGraphEODWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift)
        drawing.SetRightShift(event->nativeVirtualKey() == kRightShiftKeySym);
    if (event->key() == Qt::Key_Control && drawing.selected())
        drawing.Move(kMouseKeyControl, lastMouseX, lastMouseY);
    if (const uint32_t command = DrawingKeyCommand(event->key(), (event->modifiers() & Qt::ShiftModifier) != 0)) {
        onProgramMessage(WM_COMMAND, command, 0);
        return;
    }
    const bool left = event->key() == Qt::Key_Left, right = event->key() == Qt::Key_Right;
    if (BoxKey(event->key(), event->modifiers()))
        return;
    if ((left || right) && event->modifiers() == Qt::ControlModifier) {
        const int32_t x = eod.StepCursor(lastMouseX, left ? -1 : 1);
        QCursor::setPos(mapToGlobal(QPoint(x, lastMouseY)));
        OnMouseMove(0, x, lastMouseY);
        return;
    }
    if ((left || right) && event->modifiers() == Qt::NoModifier) {
        if (eod.ScrollRecords(left ? -1 : 1, 0)) {
            InvalidateWindow();
        } else if (right && eod.axisEnd() >= eod.lastPriceDate()) {
            // Already at the last day: the pointer goes just past the chart's right edge instead.
            if (const GraphPane* price = FindPane(kPanePrice))
                QCursor::setPos(mapToGlobal(QPoint(price->right + 1, lastMouseY)));
        }
        return;
    }
    CViewGraphWnd::keyPressEvent(event);
}

bool CViewGraphEODWnd::BoxKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (!eod.BoxMode())
        return false;
    bool moved = false;
    if (modifiers == Qt::ControlModifier && (key == Qt::Key_Up || key == Qt::Key_Down))
        moved = eod.ZoomBoxes(key == Qt::Key_Up ? 1 : -1);
    else if (modifiers != Qt::NoModifier && modifiers != Qt::KeypadModifier)
        return false;
    switch (moved ? 0 : key) {
    case 0: break;
    case Qt::Key_Left: moved = eod.ScrollBoxes(-1); break;
    case Qt::Key_Right: moved = eod.ScrollBoxes(1); break;
    case Qt::Key_Down: moved = eod.ShiftBoxes(-1); break;
    case Qt::Key_Up: moved = eod.ShiftBoxes(1); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: moved = eod.ZoomBoxes(1); break;
    case Qt::Key_Minus: moved = eod.ZoomBoxes(-1); break;
    default: return false;
    }
    if (moved) {
        CancelMode();
        InvalidateWindow();
    }
    return true;
}

void CViewGraphEODWnd::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (!eod.BoxMode() || delta == 0) {
        ViewGraphEODT<CViewGraphWnd>::wheelEvent(event);
        return;
    }
    if (eod.ScrollBoxes(delta > 0 ? -1 : 1))
        InvalidateWindow();
    event->accept();
}

void InstallDailyChartClass()
{
    InstallAddedGraphDialogs();
    SuppressibleInfo() = [](const std::string& text) {
        CSuppressibleMessage box(FromCp1252(text), {true});
        box.run();
        return box.suppressChecked();
    };
    RegisterViewClass(kViewDailyChart, [](int32_t k) -> CViewBaseWnd* { return new CViewGraphEODWnd(k); });
    GetLayoutStateHooks().chartOption = [](const CViewBase& view) {
        const auto* chart = dynamic_cast<const CViewGraphEODWnd*>(&view);
        return chart ? chart->chartOption : 0u;
    };
    GetLayoutStateHooks().applyChartOption = [](CViewBase& view, uint32_t word) {
        if (auto* chart = dynamic_cast<CViewGraphEODWnd*>(&view))
            chart->chartOption = word;
    };
}

void CViewGraphEODWnd::FillLegendSource(LegendSource& source)
{
    eod.FillLegendSource(source, MouseInside());
    int32_t day = -1;
    if (MouseInside() && timeBands) {
        const int32_t bar = XToIndexScale(&timeBands->scale, lastMouseX);
        if (bar >= 0 && bar < int32_t(eod.bars().size()))
            day = eod.bars()[size_t(bar)].last;
    }
    indicators.FillLegend(source, day);
    source.globalStop = stops.generalSettings();
    source.individualStop = stops.shareSettings();
    source.globalStopValue = stops.generalValue();
    source.individualStopValue = stops.shareValue();
}

namespace {
constexpr int kRepeatMs = 250;
}

void CViewGraphEODWnd::mousePressEvent(QMouseEvent* event)
{
    const bool previous = modeRecord.active && modeRecord.mode == kModePreviousShare;
    const bool next = modeRecord.active && modeRecord.mode == kModeNextShare;
    CViewGraphWnd::mousePressEvent(event);
    if (!(previous || next) || event->button() != Qt::LeftButton)
        return;
    StopRepeat();
    repeatNext_ = next;
    repeatTimer_ = startTimer(kRepeatMs);
}

void CViewGraphEODWnd::mouseReleaseEvent(QMouseEvent* event)
{
    StopRepeat();
    CViewGraphWnd::mouseReleaseEvent(event);
}

void CViewGraphEODWnd::StopRepeat()
{
    if (repeatTimer_)
        killTimer(repeatTimer_);
    repeatTimer_ = 0;
}

void CViewGraphEODWnd::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != repeatTimer_) {
        CViewGraphWnd::timerEvent(event);
        return;
    }
    // The repeat goes on while the pointer is neither left of nor above the chart; the release
    // (which the pressed window receives wherever it happens) ends it.
    const QPoint at = mapFromGlobal(QCursor::pos());
    if (at.x() < 0 || at.y() < 0) {
        StopRepeat();
        return;
    }
    if (repeatNext_)
        NextShare();
    else
        PreviousShare();
}

namespace {
constexpr uint32_t kGraphDesignCommand = 25002;
constexpr uint32_t kFutureSettingsCommand = 26512;
constexpr uint32_t kDateRangeCommand = 26115;
constexpr uint32_t kTrendsCommand = 20206;
constexpr uint32_t kPivotCommand = 27054;
constexpr uint32_t kSecondPivotCommand = 27078;
constexpr uint32_t kLinesMenuCommand = 26567;
constexpr uint32_t kLinesMenu = 775;
} // namespace

bool CViewGraphEODWnd::RunRangeDialog(uint32_t command)
{
    GraphSetting* setting = ActiveSetting();
    if (!setting || (command != kDateRangeCommand && command != kFutureSettingsCommand))
        return false;
    if (command == kFutureSettingsCommand) {
        FutureSetting future{gs::U16(*setting, gs::kShowFutureBars), gs::U16(*setting, gs::kShowFutureSecond),
                             uint16_t(gs::U32(*setting, gs::kShowFutureThird))};
        auto write = [&] {
            gs::SetU16(*setting, gs::kShowFutureBars, future.on);
            gs::SetU16(*setting, gs::kShowFutureSecond, future.unit);
            gs::SetU32(*setting, gs::kShowFutureThird, future.amount);
        };
        CShowFuture dialog(future, [&] {
            write();
            eod.FutureChanged();
        }, this);
        if (RunModalDialog(dialog) == QDialog::Accepted) {
            write();
            eod.FutureDialogConfirmed();
        }
        return true;
    }
    std::array<uint8_t, kChartRangeBytes> record{};
    std::copy_n(setting->data() + gs::kDateRange, kChartRangeBytes, record.begin());
    auto write = [&] { std::copy(record.begin(), record.end(), setting->data() + gs::kDateRange); };
    const DisplayRange& shown = eod.display();
    CDefaultRangeDlg dialog(record, PackedDate(shown.start), PackedDate(std::min(shown.end, eod.lastPriceDate())),
                            PackedDate(eod.lastPriceDate()), [&] {
                                write();
                                eod.RangeChanged();
                            },
                            this);
    if (RunModalDialog(dialog) == QDialog::Accepted) {
        write();
        eod.RangeDialogConfirmed();
    }
    return true;
}

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
    if (message == WM_COMMAND && (RunSettingsDialog(uint32_t(wParam)) || RunRangeDialog(uint32_t(wParam)) ||
                                  RunChartDesignCommand(uint32_t(wParam))))
        return 1;
    if (message == WM_COMMAND && uint32_t(wParam) == kLinesMenuCommand) {
        ShowChartMenu({kLinesMenu, 1}, QCursor::pos());
        return 1;
    }
    return ViewGraphEODT<CViewGraphWnd>::onProgramMessage(message, wParam, lParam);
}

bool CViewGraphEODWnd::UpdateCommandUi(CommandUi& ui) const
{
    if (ui.command == kTrendsCommand) {
        // The 45-degree block's dialog takes the item's place while bit 0 is set; a box chart alone
        // has no trend lines.
        if (viewFlags & 1)
            ui.text = "Support and Resistance Lines";
        ui.enabled = (viewFlags & 3) != 2;
        return true;
    }
    for (uint32_t command : {kGraphDesignCommand, kPivotCommand, kSecondPivotCommand, kLinesMenuCommand}) {
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
