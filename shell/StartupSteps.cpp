// Start-up steps owned by work still to come; those not yet filled do nothing (the settings'
// defaults and the derived lists live in StartupDefaults.cpp).
#include "shell/StartupSteps.h"

#include "realtime/store/RTStore.h"
#include "realtime/store/RTStoreFiles.h"
#include "shell/UserToolbarSteps.h"

namespace qv::steps {

void LoadStandardProfileSettings() {}   // waits for a recent-file list
void PrepareListColourSets() {}         // waits for the list-table views
void LoadToolbarConfig() { LoadUserToolbarsAtStartUp(); }
void CopyTradingTimesToMarketTable() {} // waits for the intraday market table
void InitRTStore() { qv::InitRTStore(); }
void InitIndicatorLineStyles()
{
    if (const auto& init = UpperStartUpSteps().initIndicatorLineStyles)
        init();
}
void ScaleDefaultListColumns(int) {}    // waits for the list tables' column records
void CreateAlarmServer() {}             // waits for the intraday alarms
void StartRTEngine() {}                 // waits for the intraday engine
void DestroyAlarmServer() {}            // waits for the intraday alarms
void ShutDownFeedClient() {}            // waits for the feed client
void FreeFixedSourceLists() {}          // waits for the list tables' fixed source lists
void BackupRTIndex() { qv::BackupRTIndex(); }
void SaveNewsDatabase()
{
    if (const auto& save = UpperStartUpSteps().saveNewsDatabase)
        save();
}
void SaveToolbarConfig() { SaveUserToolbarsAtExit(); }
void CloseRTStore() { qv::CloseRTStore(); }
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
