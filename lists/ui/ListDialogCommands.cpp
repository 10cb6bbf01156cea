// The list dialogs' frame-wide commands.
#include "lists/ui/ListDialogCommands.h"

#include "core/ConfigState.h"
#include "core/SystemDate.h"
#include "lists/ColumnDialogRules.h"
#include "lists/ui/ColumnDialogs.h"
#include "shell/CommandUpdate.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"

namespace qv {

void RunGlobalHighLowSettings(CMainFrame* frame)
{
    OptionBlockB& block = Config().optionsB;
    CHighLowSettingsDlg dialog(true, ReadHighLowPeriod(block, OptionBlockB::kGlobalHighLowPeriod), GetLatestTradingDate(0),
                               frame);
    if (RunModalDialog(dialog) == QDialog::Accepted)
        WriteHighLowPeriod(block, OptionBlockB::kGlobalHighLowPeriod, dialog.period());
}

void InstallListDialogCommands(CMainFrame& frame)
{
    frame.AddCommandHandler(
        [&frame](uint32_t command) {
            if (command != kCommandGlobalHighLowSettings)
                return false;
            RunGlobalHighLowSettings(&frame);
            return true;
        },
        [](CommandUi& ui) {
            if (ui.command != kCommandGlobalHighLowSettings)
                return false;
            ui.enabled = true;
            return true;
        });
}

} // namespace qv
