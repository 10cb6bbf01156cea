// Installing the tools' dialogs into the frame's seams.
#include "tools/ui/ToolDialogs.h"

#include "core/ShareList.h"
#include "realtime/ui/NewSharesDlg.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/CalcEdit.h"
#include "views/ActiveShare.h"
#include "tools/ui/AlarmListDlgs.h"
#include "tools/ui/CalculatorDlg.h"
#include "tools/ui/CompCalendar.h"
#include "tools/ui/EditDayPriceDlg.h"
#include "tools/ui/GlobalAlarmsDlg.h"
#include "tools/ui/PriceExportCommand.h"
#include "tools/ui/PriceImportCommands.h"
#include "tools/ui/PriceListDlg.h"
#include "tools/ui/ShareAlarmDlg.h"
#include "tools/ui/SlideShowDlg.h"
#include "tools/ui/VexaWizard.h"

#include <QApplication>

namespace qv {
namespace {

constexpr uint32_t kDialogCommands[] = {21111, 26400, 26401, 26402, 27276, 26904};

template <class Dialog>
bool RunListDialog()
{
    Dialog dialog(QApplication::activeWindow());
    RunModalDialog(dialog);
    return true;
}

void InstallCommandDialogs()
{
    SetCommandDialog(21111, RunListDialog<CTriggeredAlarmsDlg>);
    SetCommandDialog(26402, RunListDialog<CReviewAlarmsDlg>);
    SetCommandDialog(26401, EditGlobalAlarms);
    SetCommandDialog(26400, [] {
        RecordCursor share;
        return ActiveViewShare(share) && EditShareAlarms(EntryRecordId(share), uint8_t(share.count));
    });
    SetCommandDialog(27276, RunVexaWizard);
    SetCommandDialog(26904, RunNewSharesDialog);
}

} // namespace

void InstallToolDialogs()
{
    InstallCommandDialogs();
    FrameDialogs().calculator = [](uint8_t&) { RunCalculator(0, nullptr); };
    SetCalculatorRunner(RunCalculator);
    InstallCompanyCalendar();
    InstallPriceExportCommand();
    InstallPriceImportCommands();
    InstallPriceListDialogs();
    SetEditDayPriceDialog(RunEditDayPrice);
    FrameDialogs().slideShowDialog = RunSlideShowDialog;
}

void RemoveToolDialogs()
{
    FrameDialogs().calculator = nullptr;
    SetCalculatorRunner(nullptr);
    SetCommandDialog(27287, nullptr);
    for (uint32_t command : kDialogCommands)
        SetCommandDialog(command, nullptr);
    RemovePriceExportCommand();
    RemovePriceImportCommands();
    RemovePriceListDialogs();
    SetEditDayPriceDialog(nullptr);
    FrameDialogs().slideShowDialog = nullptr;
}

} // namespace qv
