// The shell dialogs' commands.
#include "shell/ui/ShellDialogs.h"

#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "shell/AppServices.h"
#include "shell/UpdateMessages.h"
#include "shell/ui/AboutDlg.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/PasswordDlgs.h"
#include "shell/ui/UpdateMessagesDlg.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

#include <cstdio>

namespace qv {
namespace {

constexpr uint32_t kReviewCommands[] = {kCommandReviewMessage, kCommandReviewMessageMenu};

// Enabled unless the active view is a daily or intraday graph in training mode.
void NotTraining(CommandUi& ui)
{
    ui.enabled = GetGraphViewOption(MainFrameState().activeView) == 0;
}

void ReviewUpdateMessage(CMainFrame& frame)
{
    if (!UpdateMessageStored()) {
        ShowMessage(kNoMessageStored, {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    CUpdateMessagesDlg dialog(StoredUpdateMessageText(), AppPath("Message.prv"), &frame);
    RunModalDialog(dialog);
}

void ProgramPasswordSettings(CMainFrame& frame)
{
    CPasswordSettingsDlg dialog(&frame);
    QObject::connect(&dialog, &CPasswordSettingsDlg::helpRequested, &frame,
                     [&frame](uint32_t topic) { frame.WinHelp(topic); });
    RunModalDialog(dialog);
}

template <typename Dialog, typename... Args>
void ShowSimple(CMainFrame& frame, Args&&... args)
{
    Dialog dialog(std::forward<Args>(args)..., &frame);
    RunModalDialog(dialog);
}

} // namespace

void InstallShellDialogs(CMainFrame& frame)
{
    for (uint32_t command : kReviewCommands)
        ApplicationCommands().Add(command, [&frame] { ReviewUpdateMessage(frame); }, NotTraining);
    ApplicationCommands().Add(kCommandProgramPassword, [&frame] { ProgramPasswordSettings(frame); });
    ApplicationCommands().Add(kCommandTraining, [&frame] { ShowSimple<CTrainingDlg>(frame); });
    SetAboutBox([&frame] { ShowSimple<CAboutDlg>(frame, CurrentAboutTexts()); });
}

void RemoveShellDialogs()
{
    for (uint32_t command : {kCommandReviewMessage, kCommandReviewMessageMenu, kCommandProgramPassword, kCommandTraining})
        ApplicationCommands().Remove(command);
    SetAboutBox({});
}

std::optional<std::string> AskProgramPassword(QWidget* parent)
{
    CPasswordEntryDlg dialog(parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.typed();
}

} // namespace qv
