// The steps still to be filled by their owners: each does nothing yet (the filled ones live in
// StartupDefaults.cpp).
#include "shell/StartupSteps.h"

namespace qv::steps {

void LoadStandardProfileSettings() {}
void PrepareListColourSets() {}
void LoadToolbarConfig() {}
void CopyTradingTimesToMarketTable() {}
void FinishLinesAndTextLoad() {}
void InitRTStore() {}
void InitIndicatorLineStyles() {}
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
