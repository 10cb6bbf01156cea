// Start-up steps owned by work still to come; those not yet filled do nothing.
#include "shell/StartupSteps.h"

#include "chartmodel/PriceEdits.h"
#include "lists/ListRows.h"
#include "shell/UserToolbarSteps.h"

namespace qv::steps {

void LoadStandardProfileSettings() {}
void InitDefaultSettings() {}
void PrepareListColourSets() {}
void ApplySignalSetting() {}
void ApplyOldConfigDefaults() {}
void LoadToolbarConfig() { LoadUserToolbarsAtStartUp(); }
void CopyTradingTimesToMarketTable() {}
void ResetPortfolioChainAndLists() {}
void InitRTStore() {}
void InitIndicatorLineStyles() {}
void ShareListsAfterLoad() { InstallMarketGroupRows(); }
void ScaleDefaultListColumns(int) {}
void CreateAlarmServer() {}
void StartRTEngine() {}
void DestroyAlarmServer() {}
void ShutDownFeedClient() {}
void FreeFixedSourceLists() {}
void BackupRTIndex() {}
void SaveNewsDatabase() {}
void SaveToolbarConfig() { SaveUserToolbarsAtExit(); }
void CloseRTStore() {}
void FreeProgramBlocks() {}

// Corrections kept by older stores that equal the database's are dropped once the database is in.
void FinishLinesAndTextLoad() { UpgradeOldPriceEdits(); }

} // namespace qv::steps
