// The steps still to be filled by their owners: each does nothing yet.
#include "shell/StartupSteps.h"

namespace qv::steps {

bool PersonNamedEditionActive()
{
    return false;
}

void ResetPlugInTable() {}
void LoadStandardProfileSettings() {}
void InitDefaultSettings() {}
void PrepareListColourSets() {}
void ApplySignalSetting() {}
void ApplyOldConfigDefaults() {}
void LoadImports() {}
void LoadToolbarConfig() {}
void UpgradeConfig() {}
void CopyTradingTimesToMarketTable() {}
void FinishLinesAndTextLoad() {}
void ResetPortfolioChainAndLists() {}
void InitRTStore() {}
void LoadPortfolios() {}
void InitIndicatorLineStyles() {}
void LoadCashAccounts() {}
void RecalculateAfterLoad() {}
void ShareListsAfterLoad() {}
void InitVexaTables() {}
void ScaleDefaultListColumns(int) {}
void ApplyPrinterOrientation() {}
void CreateAlarmServer() {}
void StartDdeServer() {}
void StartRTEngine() {}
void ReadPrinterOrientation() {}
void DestroyAlarmServer() {}
void StopDdeServer() {}
void SavePlugInAnalyses() {}
void ShutDownFeedClient() {}
void FreeFixedSourceLists() {}
void SaveAllPortfolios() {}
void SaveCashAccounts() {}
void SaveImports() {}
void BackupRTIndex() {}
void SaveNewsDatabase() {}
void SaveToolbarConfig() {}
void CloseRTStore() {}
void FreeProgramBlocks() {}

} // namespace qv::steps
