// The start-up and exit steps whose work belongs to parts of the program still being built. Each is
// called at its place in the order; each does nothing yet, and its owner fills it in.
#pragma once

namespace qv::steps {

// The person-named special edition is active (its line on the splash).
bool PersonNamedEditionActive();

// Start-up.
void ResetPlugInTable();             // the ten analysis plug-in slots
void LoadStandardProfileSettings();  // recent files and the like
void InitDefaultSettings();          // option block, table styles, ticker designs, graph settings
void PrepareListColourSets();        // icons, bitmaps, pattern brush and the list colour sets
void ApplySignalSetting();           // the registry value "signal"
void ApplyOldConfigDefaults();       // values an old configuration lacks, and the list scale
void LoadImports();                  // "data\Imports.dat"
void LoadToolbarConfig();            // "Toolbar.cfg"
void UpgradeConfig();                // the configuration upgrade
void CopyTradingTimesToMarketTable();
void FinishLinesAndTextLoad();       // the lines-and-text store's work after the database load
void ResetPortfolioChainAndLists();  // the portfolio chain, the fixed source lists, the list caches
void InitRTStore();                  // the intraday store
void LoadPortfolios();               // every portfolio file
void InitIndicatorLineStyles();
void LoadCashAccounts();             // "Data\Cash.dat"
void RecalculateAfterLoad();
void ShareListsAfterLoad();          // the database's share-list step after a load
void InitVexaTables();               // the special edition's tables, its set-up check and edition
void ScaleDefaultListColumns(int eighths); // first run: the default list tables' columns x eighths / 8
void ApplyPrinterOrientation();      // the default printer from the stored landscape flag
void CreateAlarmServer();            // the hidden "AlarmServer" window (real-time option)
void StartDdeServer();               // the DDE server and its hidden "DDEServer" window
void StartRTEngine();                // the intraday engine and its alarm settings (real-time option)

// Exit.
void ReadPrinterOrientation();
void DestroyAlarmServer();
void StopDdeServer();
void SavePlugInAnalyses();
void ShutDownFeedClient();
void FreeFixedSourceLists();
void SaveAllPortfolios();   // may end the program with code 2 on a nearly full disk
void SaveCashAccounts();
void SaveImports();
void BackupRTIndex();
void SaveNewsDatabase();
void SaveToolbarConfig();   // and frees the user toolbars
void CloseRTStore();
void FreeProgramBlocks();   // tables, item list, fonts, toolbar state, share lists, special edition

} // namespace qv::steps
