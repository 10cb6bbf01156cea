// The chart window's side of the indicator, moving-average and stop-loss commands: it runs their
// dialogs through the program's modal runner.
#include "chartmodel/ui/ViewGraphWindow.h"

#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/StopLossSettings.h"
#include "chartmodel/ui/AddIndicatorDlg.h"
#include "chartmodel/ui/IndicatorColourDlg.h"
#include "chartmodel/ui/MovAvgSettingsDlg.h"
#include "chartmodel/ui/SelectSetting.h"
#include "chartmodel/ui/StopLossDlg.h"
#include "core/ConfigState.h"
#include "core/ShareList.h"
#include "core/SystemDate.h"
#include "realtime/feed/RTEngine.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "views/ViewKinds.h"

#include <QGuiApplication>

namespace qv {

bool CViewGraphWnd::RunAddIndicatorDialog(IndicatorRecord& record, bool editing, bool openedFromWindow,
                                          const WindowUsage& usage, int editedWindow, int editedIndex, int& target)
{
    AddIndicatorContext context;
    context.editing = editing;
    context.openedFromWindow = openedFromWindow;
    context.usage = usage;
    context.background = backgroundColour;
    context.dailyChart = kind == kViewDailyChart;
    if (editing && editedWindow >= 0) {
        context.preview = [this, editedWindow, editedIndex](const IndicatorRecord& shown) {
            if (GraphSetting* setting = ActiveSetting()) {
                shown.Write(graphsetting::IndicatorSlot(*setting, editedWindow, editedIndex));
                NotifyGraphSettings(0);
            }
        };
    }
    auto dialog = CAddIndicatorDlg::Create(record, context, this);
    if (RunModalDialog(*dialog) != QDialog::Accepted)
        return false;
    target = dialog->target();
    return true;
}

void CViewGraphWnd::RunIndicatorColourDialog(uint32_t* words, int count, const ColourEntry* entries, int entryCount,
                                             uint32_t defaultsKey)
{
    RunColourDialog(words, count, entries, entryCount, defaultsKey, {});
}

void CViewGraphWnd::RunColourDialog(uint32_t* words, int count, const ColourEntry* entries, int entryCount,
                                    uint32_t defaultsKey, const std::function<void()>& apply)
{
    const auto& a = Config().optionsA.bytes;
    int index = SettingIndex();
    int scheme = a[OptionBlockA::kEditionGraphSlot1] == index ? 2 : a[OptionBlockA::kEditionGraphSlot2] == index ? 3 : -1;
    CIndicatorColourDlg dialog(std::span<uint32_t>(words, size_t(count)), scheme, defaultsKey, backgroundColour,
                               [this, &apply] {
                                   if (apply)
                                       apply();
                                   NotifyGraphSettings(0);
                               },
                               this);
    for (int i = 0; i < entryCount; ++i)
        dialog.AddColour(entries[i].slot, entries[i].mode, QString::fromLatin1(entries[i].label));
    RunModalDialog(dialog);
}

void CViewGraphWnd::RunMovingAverageDialog()
{
    MovAvgSession session;
    session.setting = ActiveSetting();
    session.intraday = kind == kViewIntradayChart;
    session.background = backgroundColour;
    session.notify = [this] { NotifyGraphSettings(0); };
    RunMovingAverageDialogs(session, this);
}

void CViewGraphWnd::RunStopLossDialog(bool individual)
{
    StopLossContext context;
    context.intraday = kind == kViewIntradayChart;
    context.individual = individual;
    if (individual && !ShownShare(context.share))
        return;
    context.setting = SettingIndex();
    context.background = backgroundColour;
    context.latestTradingDate = GetLatestTradingDate(0);
    context.today = GetTodayDate(0);
    context.feedState = RTConnectionStep();
    if (context.intraday)
        SetIntradayStopTimes(context, list ? CurrentEntry(list) : nullptr);
    context.notify = [this] { NotifyGraphSettings(0); };
    context.selectSettings = [this, intraday = context.intraday](int setting, uint16_t& mask) {
        CSelectSetting select(mask, setting, intraday, this);
        if (RunModalDialog(select) != QDialog::Accepted)
            return false;
        mask = select.mask();
        return true;
    };
    CStopLossDlg dialog(context, this);
    RunModalDialog(dialog);
}

void CViewGraphWnd::ShowHelpTopic(uint32_t topic) { ShowDialogHelp(topic); }

void CViewGraphWnd::SendFrameCommand(uint32_t command)
{
    if (auto* frame = qobject_cast<CMainFrame*>(window()))
        frame->OnCommand(command);
}

bool CViewGraphWnd::ShiftHeld() const { return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier; }

} // namespace qv
