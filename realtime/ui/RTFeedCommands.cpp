// The real-time dialogs on their frame commands.
#include "realtime/ui/RTFeedCommands.h"

#include "platform/ByteOrder.h"
#include "realtime/IntradayState.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/store/RTStoreFiles.h"
#include "realtime/ui/NyseAgreementWizard.h"
#include "realtime/ui/RTFeedDialogs.h"
#include "realtime/ui/RTHistoryDialogs.h"
#include "shell/FeedLevelPane.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/ModalDialog.h"
#include "platform/MessageDispatch.h"
#include "views/FrameState.h"

#include <QApplication>

namespace qv {
namespace {

constexpr uint8_t kRequestLevels = 0x50;
constexpr uint32_t kCommands[] = {26810, 27061, 26935, 26894, 27105, 26937, kCommandNyseAgreement};

// The main frame owns the dialogs, so that the modeless feed information closes with it.
QWidget* Parent()
{
    if (auto* frame = dynamic_cast<QWidget*>(MainFrameTarget()))
        return frame;
    return QApplication::activeWindow();
}

// The chosen levels go to the status pane and, while connected, to the server.
void ApplyLevels()
{
    const RTFeedSettings s = CurrentRTFeedSettings();
    CurrentFeedLevels().wanted = s.deliveryLevels;
    if (RTEngineState != kEngineRunning)
        return;
    uint8_t words[8];
    StoreU32(words, s.deliveryLevels);
    StoreU32(words + 4, s.backfillLevels);
    TheFeedTransport().SendFeedRequest(words, kRequestLevels);
}

} // namespace

void InstallRTFeedCommands()
{
    CurrentFeedLevels().wanted = CurrentRTFeedSettings().deliveryLevels;
    SetCommandDialog(26810, [] {
        CRTFeedInfoDlg::Open(Parent());
        return true;
    });
    FrameDialogs().closeFeedInfo = [] {
        if (CRTFeedInfoDlg* sheet = CRTFeedInfoDlg::Current())
            sheet->close();
    };
    SetCommandDialog(27061, [] {
        CRTFeedLevelsDlg dialog(Parent());
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return false;
        ApplyLevels();
        return true;
    });
    SetCommandDialog(26935, [] {
        if (!RTRecording())
            StartRecordingRT();
        return true;
    });
    SetCommandDialog(26894, [] {
        if (TheRTEngine().backfillRunning)
            return false;
        CRTBackfillDlg dialog(Parent());
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return false;
        SendRTBackfillRequest(dialog.request());
        return true;
    });
    SetCommandDialog(27105, [] {
        CRTBackfillProgressDlg dialog(Parent());
        RunModalDialog(dialog);
        return true;
    });
    SetCommandDialog(26937, [] { return RunPurgeDialog(false, Parent()); });
    // A new trading day: the automatic purge or the reminder, when the history passed its limit.
    FrameDialogs().newTradingDay = [] {
        static bool open = false;
        if (open)
            return;
        open = true;
        RunNewDayPurgeCheck(Parent());
        open = false;
    };
    SetCommandDialog(kCommandNyseAgreement, [] { return RunNyseAgreementWizard(Parent()); });
}

void RemoveRTFeedCommands()
{
    FrameDialogs().newTradingDay = nullptr;
    FrameDialogs().closeFeedInfo = nullptr;
    for (uint32_t command : kCommands)
        SetCommandDialog(command, nullptr);
}

} // namespace qv
