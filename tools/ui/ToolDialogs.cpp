// Installing the tools' dialogs into the frame's seams.
#include "tools/ui/ToolDialogs.h"

#include "shell/FrameDialogSeams.h"
#include "shell/ui/CalcEdit.h"
#include "tools/ui/CalculatorDlg.h"
#include "tools/ui/CompCalendar.h"
#include "tools/ui/EditDayPriceDlg.h"
#include "tools/ui/PriceExportCommand.h"
#include "tools/ui/PriceImportCommands.h"
#include "tools/ui/PriceListDlg.h"
#include "tools/ui/SlideShowDlg.h"

namespace qv {

void InstallToolDialogs()
{
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
    RemovePriceExportCommand();
    RemovePriceImportCommands();
    RemovePriceListDialogs();
    SetEditDayPriceDialog(nullptr);
    FrameDialogs().slideShowDialog = nullptr;
}

} // namespace qv
