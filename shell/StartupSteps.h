// The start-up and exit steps whose work belongs to other parts of the program. Each is called at
// its place in the order; those whose owners have not landed yet do nothing until they fill them in.
#pragma once

#include <cstdint>
#include <functional>

namespace qv {
class KeyedItemStore;
}

namespace qv::steps {

// The steps that the folders above the shell own (the list tables, the chart model); app/LayerHooks
// installs them. An empty step is skipped.
struct UpperSteps {
    std::function<void()> installMarketGroupRows;  // the breadth series' market groups and the indicator names' share texts
    std::function<void()> upgradeOldPriceEdits;
    std::function<void()> initIndicatorLineStyles;
    std::function<void()> loadGraphConfig;         // "Graph.cfg"
    std::function<void(uint8_t* blob, int pixelsPerInchY)> fixOldTextSizes;
    // The study key of an older store's market-breadth item (its type + 4 and source 0-3).
    std::function<uint32_t(uint32_t oldKey)> breadthStudyKey;
    // The line files of an installation older than the store's version 4.
    std::function<void(KeyedItemStore&)> mergeOlderLineFiles;
    // Once "Graph.cfg" is read: drawings no setting can show, or on intraday days no longer held, go.
    std::function<void()> collectStudyKeys;
    std::function<void()> deleteGraphSettingRecords;
    std::function<void()> saveNewsDatabase; // News.dat at exit, then the news blocks freed
    std::function<void()> setOptionDefaults;        // the option pages' defaults into the option blocks
    std::function<void()> applyOldOptionDefaults;   // what an older configuration lacks, the list scale
    std::function<void()> createAlarmServer;        // the intraday alarm server and its settings
    std::function<void()> destroyAlarmServer;
    std::function<void()> rebuildLineAlarms;        // the drawn lines with alarms changed
};
UpperSteps& UpperStartUpSteps();

// Start-up.
void LoadStandardProfileSettings();  // recent files and the like
void InitDefaultSettings();          // option block, table styles, ticker designs, graph settings
void PrepareListColourSets();        // icons, bitmaps, pattern brush and the list colour sets
void ApplySignalSetting();           // the registry value "signal" read into the configuration
void ApplyOldConfigDefaults();       // values an old configuration lacks, and the list scale
void LoadToolbarConfig();            // "Toolbar.cfg"
void CopyTradingTimesToMarketTable();
void FinishLinesAndTextLoad();       // the lines-and-text store's work after the database load
void ResetPortfolioChainAndLists();  // the portfolio chain, the fixed source lists, the list caches
void InitRTStore();                  // the intraday store
void InitIndicatorLineStyles();
void ShareListsAfterLoad();          // after every load: New Highs and New Lows refilled
void ScaleDefaultListColumns(int eighths); // first run: the default list tables' columns x eighths / 8
void CreateAlarmServer();            // the hidden "AlarmServer" window (real-time option)
void StartRTEngine();                // the intraday engine and its alarm settings (real-time option)

// Exit.
void SaveSignalSetting();   // the registry value "signal" written back
void DestroyAlarmServer();
void ShutDownFeedClient();
void FreeFixedSourceLists();
void BackupRTIndex();
void SaveNewsDatabase();
void FreeUserToolbars();   // after the exit has written "Toolbar.cfg"
void CloseRTStore();
void FreeProgramBlocks();   // item list, fonts, toolbar state, share lists

} // namespace qv::steps
