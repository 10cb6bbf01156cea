// Start-up steps of other folders; those not yet filled do nothing (the settings'
// defaults and the derived lists live in StartupDefaults.cpp).
#include "shell/StartupSteps.h"

#include "core/ReadersWriterLock.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/RTMarketTable.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTStoreFiles.h"
#include "shell/UserToolbarSteps.h"

namespace qv::steps {

void LoadStandardProfileSettings() {}   // waits for a recent-file list
void PrepareListColourSets() {}         // waits for the list-table views
void LoadToolbarConfig() { LoadUserToolbarsAtStartUp(); }
void CopyTradingTimesToMarketTable() { qv::CopyTradingTimesToMarketTable(); }
void InitRTStore()
{
    qv::InitRTStore();
    ApplyRTFeedSettings(CurrentRTFeedSettings());
    // The engine begins from the newest stored day; its summaries are rebuilt as they are read.
    RTStore& s = TheRTStore();
    s.newestDaySeen = s.latestDay;
    if (RTEngine& e = TheRTEngine(); e.highlightDuration == 0)
        e.highlightDuration = 8;
    ExclusiveLockGuard lock(IntradayStoreLock());
    if (RTDayRecord* day = CurrentRTDay())
        PrepareRTDay(*day);
}
void InitIndicatorLineStyles()
{
    if (const auto& init = UpperStartUpSteps().initIndicatorLineStyles)
        init();
}
void ScaleDefaultListColumns(int) {}    // waits for the list tables' column records
void CreateAlarmServer()
{
    if (const auto& create = UpperStartUpSteps().createAlarmServer)
        create();
}
// "Auto connect to the feed when Quorvantis starts": without it the user connects from the menu.
// A connect that fails here ends the feed thread, and its end schedules the next attempt.
void StartRTEngine()
{
    if (CurrentRTFeedSettings().autoConnect)
        qv::StartRTEngine();
}
void DestroyAlarmServer()
{
    if (const auto& destroy = UpperStartUpSteps().destroyAlarmServer)
        destroy();
}
void ShutDownFeedClient() { StopRTEngine(); }
void FreeFixedSourceLists() {}          // waits for the list tables' fixed source lists
void BackupRTIndex() { qv::BackupRTIndex(); }
void SaveNewsDatabase()
{
    if (const auto& save = UpperStartUpSteps().saveNewsDatabase)
        save();
}
void FreeUserToolbars() { FreeUserToolbarsAtExit(); }
void CloseRTStore()
{
    // The feed thread is joined before the store it writes is freed.
    if (RTFeedThreadRunning())
        StopRTEngine();
    qv::CloseRTStore();
}
void FreeProgramBlocks() {}             // waits for the item list, fonts and toolbar state

// Corrections kept by older stores that equal the database's are dropped once the database is in.
void FinishLinesAndTextLoad()
{
    if (const auto& upgrade = UpperStartUpSteps().upgradeOldPriceEdits)
        upgrade();
}

UpperSteps& UpperStartUpSteps()
{
    static UpperSteps upper;
    return upper;
}

} // namespace qv::steps
