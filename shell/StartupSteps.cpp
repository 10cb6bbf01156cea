// The steps still to be filled by their owners: each does nothing yet.
#include "shell/StartupSteps.h"

namespace qv::steps {

void LoadStandardProfileSettings() {}
void InitDefaultSettings() {}
void PrepareListColourSets() {}
void ApplySignalSetting() {}
void ApplyOldConfigDefaults() {}
void LoadToolbarConfig() {}
void CopyTradingTimesToMarketTable() {}
void FinishLinesAndTextLoad() {}
void ResetPortfolioChainAndLists() {}
void InitRTStore() {}
void InitIndicatorLineStyles() {}
void ShareListsAfterLoad() {}
void ScaleDefaultListColumns(int) {}
void CreateAlarmServer() {}
void StartRTEngine() {}
void DestroyAlarmServer() {}
void ShutDownFeedClient() {}
void FreeFixedSourceLists() {}
void BackupRTIndex() {}
void SaveNewsDatabase() {}
void SaveToolbarConfig() {}
void CloseRTStore() {}
void FreeProgramBlocks() {}

} // namespace qv::steps
