// The window layer's hooks into the higher folders, and the plain ones.
#include "app/ui/WindowLayerHooks.h"

#include "app/LayerHooks.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "datamining/FilterEvaluation.h"
#include "lists/DirectorsDealings.h"
#include "lists/ListOptions.h"
#include "lists/ShareDates.h"
#include "lists/ui/DetailDialogs.h"
#include "platform/qt/QtText.h"
#include "realtime/alarms/AlarmServer.h"
#include "realtime/alarms/ui/IntradayAlarmDlgs.h"
#include "realtime/ui/IntradayColumnDlg.h"
#include "realtime/ui/RTFeedCommands.h"
#include "realtime/ui/RTMessagingDlgs.h"
#include "realtime/ui/TradeDialogs.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/ViewRequests.h"
#include "shell/ui/WindowFactory.h"
#include "tools/options/ui/OptionsSheet.h"
#include "views/ActiveShare.h"

#include <QApplication>

namespace qv {

void InstallWindowLayerHooks()
{
    InstallLayerHooks();
    InstallOptionsSheet();
    InstallRTFeedCommands();
    InstallMemberMessaging();
    InstallIntradayColumnDialogs();
    InstallTradeDialogs();
    InstallIntradayAlarms();
    SetCommandDialog(26848, [] {
        RecordCursor share;
        return TheAlarmServer() != nullptr && ActiveViewShare(share) &&
               EditShareRTAlarms(EntryRecordId(share), 0, QApplication::activeWindow());
    });
    ViewRequestHooks& requests = GetViewRequestHooks();
    requests.dealingsLoaded = [] { return DealingsMainBlock != nullptr; };
    requests.showShareDates = [](const RecordCursor& entry, QWidget* parent) {
        CShareDatesDlg dialog(FromCp1252(GetRecordName(entry.record)), ReadShareDates(entry), parent);
        RunModalDialog(dialog);
    };
    requests.showHistoricShares = [](bool show) {
        CurrentListOptions().showOldShares = show;
        for (ShareList* list = ShareListChain(); list; list = list->next)
            if (list->family == kFamilyShares && !list->source)
                list->filledMark = 0;
    };
    SetRestoredFilterRun([](ShareList* list, uint32_t position) {
        RunFilter(list, position == 0 ? CurrentFilter() : nullptr, int32_t(position));
    });
}

} // namespace qv
