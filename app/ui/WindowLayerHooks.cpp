// The window layer's hooks into the higher folders, and the plain ones.
#include "app/ui/WindowLayerHooks.h"

#include "app/LayerHooks.h"
#include "core/RecordLookup.h"
#include "lists/DirectorsDealings.h"
#include "lists/ShareDates.h"
#include "lists/ui/DetailDialogs.h"
#include "platform/qt/QtText.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/ViewRequests.h"
#include "tools/options/ui/OptionsSheet.h"

namespace qv {

void InstallWindowLayerHooks()
{
    InstallLayerHooks();
    InstallOptionsSheet();
    ViewRequestHooks& requests = GetViewRequestHooks();
    requests.dealingsLoaded = [] { return DealingsMainBlock != nullptr; };
    requests.showShareDates = [](const RecordCursor& entry, QWidget* parent) {
        CShareDatesDlg dialog(FromCp1252(GetRecordName(entry.record)), ReadShareDates(entry), parent);
        RunModalDialog(dialog);
    };
}

} // namespace qv
