// Start-up steps of other folders; those with nothing to do here say why (the settings' defaults and
// the derived lists live in StartupDefaults.cpp).
#include "shell/StartupSteps.h"

#include "core/ColumnDef.h"
#include "core/ConfigState.h"
#include "core/ReadersWriterLock.h"
#include "platform/ByteOrder.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/RTMarketTable.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTStoreFiles.h"
#include "shell/UserToolbarSteps.h"

#include <algorithm>

namespace qv::steps {

// The program keeps no recent-file list (its File menu offers none) nor other profile settings of
// that kind: nothing to load.
void LoadStandardProfileSettings() {}
// Each list view takes its colours from its table's display style as it is made, and the list
// images are drawn from the program's resources where they are used: no colour set or image is
// prepared beforehand.
void PrepareListColourSets() {}
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
// A first run on a screen of 800 pixels or more: the list tables (shown by list and portfolio views)
// and the data-mining tables, both made from the default list layouts, get columns eighths / 8 as
// wide, within the widths a column may have.
void ScaleDefaultListColumns(int eighths)
{
    for (TableFamily* family : {&Config().listTables, &Config().dataMiningTables}) {
        for (TableSlot& design : family->designs) {
            std::vector<uint8_t>& chain = design.chain;
            if (ValidateColumnLayout(chain) == 0)
                continue;
            for (size_t at = 0; chain[at] != 0; at += chain[at]) {
                if (chain[at] < ColumnDefLayout::Width + 2)
                    continue; // a filler has no width
                uint8_t* width = &chain[at + ColumnDefLayout::Width];
                const int scaled = int(LoadU16(width)) * eighths / 8;
                StoreU16(width, uint16_t(std::clamp<int>(scaled, kMinColumnWidth, kMaxColumnWidth)));
            }
        }
    }
}
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
// The fixed selections (All, Shares, FTSE 100 and the others) are filled by testing each database
// line as a list is made, not kept as lists of their own: nothing to free.
void FreeFixedSourceLists() {}
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
