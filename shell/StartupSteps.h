// The start-up and exit steps whose work belongs to parts of the program still being built. Each is
// called at its place in the order; each does nothing yet, and its owner fills it in.
#pragma once

namespace qv::steps {

// Start-up.
void LoadStandardProfileSettings();  // recent files and the like
void InitDefaultSettings();          // option block, table styles, ticker designs, graph settings
void PrepareListColourSets();        // icons, bitmaps, pattern brush and the list colour sets
void ApplySignalSetting();           // the registry value "signal"
void ApplyOldConfigDefaults();       // values an old configuration lacks, and the list scale
void LoadToolbarConfig();            // "Toolbar.cfg"
void CopyTradingTimesToMarketTable();
void FinishLinesAndTextLoad();       // the lines-and-text store's work after the database load
void ResetPortfolioChainAndLists();  // the portfolio chain, the fixed source lists, the list caches
void InitRTStore();                  // the intraday store
void InitIndicatorLineStyles();
void InitDefaultGraphSettings();     // every daily and intraday graph setting to its defaults
void ShareListsAfterLoad();          // the database's share-list step after a load
void ScaleDefaultListColumns(int eighths); // first run: the default list tables' columns x eighths / 8
void CreateAlarmServer();            // the hidden "AlarmServer" window (real-time option)
void StartRTEngine();                // the intraday engine and its alarm settings (real-time option)

// Exit.
void DestroyAlarmServer();
void ShutDownFeedClient();
void FreeFixedSourceLists();
void BackupRTIndex();
void SaveNewsDatabase();
void SaveToolbarConfig();   // and frees the user toolbars
void CloseRTStore();
void FreeProgramBlocks();   // item list, fonts, toolbar state, share lists

} // namespace qv::steps
