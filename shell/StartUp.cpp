// Start-up and exit in their fixed order. Loading runs behind the splash's status line; each file
// load reports its own errors and start-up goes on after them.
#include "shell/StartUp.h"

#include "core/CashAccountFile.h"
#include "core/ConfigFile.h"
#include "core/ConfigState.h"
#include "core/ConfigUpgrade.h"
#include "core/StatisticsPeriod.h"
#include "core/DMFilter.h"
#include "core/Database.h"
#include "core/DatabaseNeighbours.h"
#include "core/Document.h"
#include "core/FilterFile.h"
#include "core/ImportsFile.h"
#include "core/LinesAndTextFiles.h"
#include "core/NewsUpdateFiles.h"
#include "core/ShareList.h"
#include "core/SystemServices.h"
#include "core/TableLock.h"
#include "core/TimeZoneFile.h"
#include "core/UpperHooks.h"
#include "core/VexaEdition.h"
#include "core/WindowLayoutFile.h"
#include "platform/ByteOrder.h"
#include "platform/EmailLibrary.h"
#include "platform/HtmlHosting.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ProgramExit.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/RTMarketTable.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/UserDataFiles.h"
#include "realtime/TimerQueue.h"
#include "resources/MessageIds.h"
#include "shell/AppServices.h"
#include "shell/DdeService.h"
#include "shell/ProgramPassword.h"
#include "shell/SplashStatus.h"
#include "shell/StartupChecks.h"
#include "shell/StartupSteps.h"
#include "shell/TimerCallbacks.h"
#include "shell/ToolbarFile.h"
#include "shell/ViewGroups.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

#include <optional>

namespace qv {

uint8_t StartUpComplete = 0;

namespace {

constexpr uint64_t kCommsLogLimit = 32000;
constexpr uint64_t kProgramLogLimit = 64000;

uint8_t& OptionByte(size_t offset)
{
    return Config().optionsA.data()[offset];
}

void ClearWindowOptions()
{
    OptionByte(OptionBlockA::kRealTimeOption) = 0;
    OptionByte(OptionBlockA::kMultipleWindows) = 0;
}

bool RealTimeOption()
{
    return OptionByte(OptionBlockA::kRealTimeOption) != 0;
}

void ClaimSingleInstance(ProgramState& state)
{
    state.instanceLock = std::make_unique<SingleInstanceLock>();
    const SingleInstanceLock::Claim claim = state.instanceLock->claim(kInstanceLockName);
    if (claim == SingleInstanceLock::Claim::Claimed)
        return;
    // A lock that could not be made says only that another copy may be running.
    ShowMessage(claim == SingleInstanceLock::Claim::Held ? "A copy of Quorvantis is already running, loading or closing"
                                                         : "A copy of Quorvantis seems to be running",
                {}, MsgButtons::Ok, MsgIcon::Information);
    if (!state.commandLine.secondCopy)
        EndProgram(kExitAnotherCopy);
}

// The first-load date the configuration remembers, in place before the database loads so that a
// new database does not replace it.
void RestoreFirstLoadDate()
{
    FirstLoadDate = LoadU16(Config().optionsB.data() + OptionBlockB::kFirstLoadDate);
}

// The loaded database's identity words go into the options, which carry them into the configuration
// file and its header.
void KeepDatabaseWordsInOptions()
{
    uint8_t* options = Config().optionsB.data();
    StoreU16(options + OptionBlockB::kDatabaseWordA, DatabaseWordA);
    StoreU16(options + OptionBlockB::kDatabaseDate, DatabaseDate);
    StoreU16(options + OptionBlockB::kFirstLoadDate, FirstLoadDate);
}

// The steps of a database load that belong to other parts of the program, for the first load and
// for every reload.
void InstallDatabaseNeighbours()
{
    InstallUserDataSteps();
    DatabaseNeighbours& n = GetDatabaseNeighbours();
    n.setSplashProgress = SetSplashProgress;
    n.createFirstShareList = CreateFirstShareList;
    n.freeFixedSourceLists = steps::FreeFixedSourceLists;
    n.releaseRecordPointers = NotifyDdeReload;
    n.freeUnusedViewGroups = FreeUnusedViewGroups;
    n.applyNewsUpdateFiles = [] { ApplyNewsUpdateFiles(); };
    n.refreshAllViewGroups = [] { UpdateAllViewGroups(-1, true, nullptr, false, false); };
    n.recalculateAfterLoad = [] {
        KeepDatabaseWordsInOptions();
        RecalculateAfterLoad();
        steps::ShareListsAfterLoad();
    };
    GetPortfolioFileHooks().splashStatus = [](const std::string& text, int position) {
        SetSplashStatus(position, text);
    };
    AfterLoad().releaseRefreshHold = [] { RefreshHoldFlag = 0; };
}

// A special edition switched on whose set-up never completed may have left its tables behind: it is
// switched off and they are reset, and the user is told.
void PrepareSpecialEdition()
{
    InitVexaTables();
    uint8_t edition = EditionOptionByte();
    if ((edition & kEditionOn) && !(edition & kEditionSetUp)) {
        SetEditionOptionByte(uint8_t(edition & ~kEditionOn));
        if (CheckVexaTables()) {
            std::string text = "Corruption has been detected in your Quorva.cfg.\n\nTo correct this, some of your "
                               "tables or graphs have been reset\nto their default settings. If you require any "
                               "further assistance,\nplease call Quorvantis support on ";
            text += kHelpTelephone;
            text += ".";
            ShowMessage(text);
        }
    }
    UpdateVexaEdition();
}

void PrepareBeforeFiles(StartUpHost& host, ProgramState& state, const ScreenInfo& screen)
{
    ResetPlugInTable(false);
    PreloadInProcessServer(kWebBrowserClassId);
    PreloadInProcessServer(kHtmlDocumentClassId);
    TrimLogFile(AppPath("comms.log"), kCommsLogLimit);
    TrimLogFile(AppPath("Quorvantis.log"), kProgramLogLimit);
    steps::LoadStandardProfileSettings();
    StoredUpdateMessage() = ReadStoredUpdateMessage(AppPath("Message.prv"));
    steps::InitDefaultSettings();
    steps::PrepareListColourSets();
    PrepareFonts(screen.width, screen.pixelsPerInchY);
    state.configSkip = HandleKeysHeldAtStart(host.spaceHeld(), host.ctrlHeld());
}

void ReadConfiguration(ProgramState& state, FramePlacement& placement, const ScreenInfo& screen)
{
    WindowCoordinates(false, placement.stored);
    SetConfigSavingDisabled(state.commandLine.noConfigSave);
    SetConfigLoadDeclined(state.configSkip);
    if (LoadConfig(-1, state.configSkip) == -1)
        state.placementUsable = false;
    state.realTimeOptionInFile = RealTimeOption();
    RestoreFirstLoadDate();
    // The global highs-and-lows period is in force before the database's statistics are worked out.
    const uint8_t* options = Config().optionsB.data();
    SetStatisticsPeriod({LoadU16(options + OptionBlockB::kGlobalHighLowPeriod),
                         LoadU16(options + OptionBlockB::kGlobalHighLowPeriod + 2)});
    ClearWindowOptions();
    // Nothing else sets the two options at start, so "/RT" is how a run takes the feed.
    if (state.commandLine.realTime) {
        OptionByte(OptionBlockA::kRealTimeOption) = 1;
        OptionByte(OptionBlockA::kMultipleWindows) = 1;
    }
    steps::ApplySignalSetting();
    CheckResolution(screen.width, OptionByte(kResolutionAdviceCounter));
}

void LoadFilesBehindSplash(StartUpHost& host, ProgramState& state)
{
    SetSplashStatus(0, "Reading config files");
    steps::ApplyOldConfigDefaults();
    SetSplashStatus(5, "Loading edited price data");
    PriceCorrectionStore().Load("EditPrice.cfg");
    SetSplashStatus(10, "Loading imports");
    LoadImports();
    SetSplashStatus(15, "Loading toolbar");
    steps::LoadToolbarConfig();
    SetSplashStatus(20, "Loading views");
    LoadViews(-1, LayoutContextFromConfig(0));
    SetSplashStatus(25, "Loading data mining criteria");
    LoadFiltersAtStartUp();
    SetSplashStatus(30, "Upgrading config files");
    UpgradeConfig(ProgramFonts().pixelsPerInchY);
    steps::CopyTradingTimesToMarketTable();
    host.createFrameObject();
    SetSplashStatus(35, "Loading end of day database");
    std::optional<std::filesystem::path> dataFile;
    if (!state.commandLine.databaseName.empty())
        dataFile = AppPath(state.commandLine.databaseName);
    state.document = std::make_unique<CDoc>(dataFile);
    KeepDatabaseWordsInOptions();
    steps::FinishLinesAndTextLoad();
    steps::ResetPortfolioChainAndLists();
    LoadTimeZones();
    SetSplashStatus(80, "Initialising intraday database");
    steps::InitRTStore();
    SetSplashStatus(85, "Loading portfolios");
    LoadPortfolios();
    if (!host.createFrameWindow(*state.document))
        EndProgram(kExitNoMainWindow);
    MainWindowCreated = 1;
    // The frame has the document: its command (reload all data) reaches it through the routing.
    ApplicationCommands().Add(ID_RELOAD_ALL_DATA, [document = state.document.get()] {
        document->onCommand(ID_RELOAD_ALL_DATA);
    });
    SetSplashStatus(95, "Loading individual share settings");
    if (const auto& load = steps::UpperStartUpSteps().loadGraphConfig)
        load();
    // Without the file (a first run) there is nothing to wait for or to report.
    std::error_code ec;
    KeyedItemStore::Upgrades upgrades;
    if (const auto& fix = steps::UpperStartUpSteps().fixOldTextSizes)
        upgrades.fixTextSizes = [fix, dpi = ProgramFonts().pixelsPerInchY](uint8_t* blob) { fix(blob, dpi); };
    upgrades.breadthStudyKey = steps::UpperStartUpSteps().breadthStudyKey;
    upgrades.mergeOlderLineFiles = steps::UpperStartUpSteps().mergeOlderLineFiles;
    LinesAndTextStore().SetUpgrades(std::move(upgrades));
    LoadGraphConfigRetry(std::filesystem::exists(AppPath("Graph.cfg"), ec));
    LinesAndTextStore().LoadSettingRecords();
    if (const auto& collect = steps::UpperStartUpSteps().collectStudyKeys)
        collect();
    steps::InitIndicatorLineStyles();
    SetSplashStatus(96, "Loading directors dealings");
    if (const auto& load = CoreUpperHooks().loadDirectorsDealings)
        load();
    ApplyNewsUpdateFiles();
    SetSplashStatus(98, "Loading cash accounts");
    LoadCashAccounts();
    RecalculateAfterLoad();
    steps::ShareListsAfterLoad();
    PrepareSpecialEdition();
}

FramePlacement ChoosePlacement(const ProgramState& state, FramePlacement placement)
{
    const CommandLineSettings& cl = state.commandLine;
    if (cl.hasWindowPlacement()) {
        placement.kind = FramePlacement::Kind::CommandLine;
        placement.x = cl.windowX;
        placement.y = cl.windowY;
        placement.width = cl.windowWidth;
        placement.height = cl.windowHeight;
    } else if (state.placementUsable && placement.stored.flags != -1) {
        placement.kind = FramePlacement::Kind::Stored;
    } else {
        placement.kind = FramePlacement::Kind::Maximised;
    }
    return placement;
}

void ShowMainWindow(StartUpHost& host, const ProgramState& state, const FramePlacement& stored)
{
    FramePlacement placement = ChoosePlacement(state, stored);
    int rightEdge = host.placeFrame(placement);
    if (placement.kind == FramePlacement::Kind::Maximised) {
        if (rightEdge < 800) {
            ProgramFonts().listHeight = -11;
            ProgramFonts().secondListHeight = -11;
        } else {
            steps::ScaleDefaultListColumns(rightEdge == 800 ? 9 : 10);
        }
    }
    SyncPrinterOrientation(false);
    ApplicationTitle() = RealTimeOption() ? "Quorvantis Pro" : "Quorvantis Zoze";
    host.setFrameCaption(ApplicationTitle());
    SetSplashStatus(100, "Creating main Quorvantis window");
    host.createLayoutWindows();
    if (RealTimeOption())
        steps::CreateAlarmServer();
    // Another copy serving the socket, or a refused socket, leaves the program without the server.
    StartDdeServer();
    host.rebuildMenuBarAndShow();
}

void PostStartUpCommands(StartUpHost& host, const ProgramState& state)
{
    const CommandLineSettings& cl = state.commandLine;
    if (RealTimeOption()) {
        steps::StartRTEngine();
        if (cl.unattended && cl.timedUpdate) {
            AddTimerCallback(MainFrameTimerCallback, kTimedUpdateDelayMs, kUpdateCommand);
        } else if (cl.unattended) {
            host.postFrameCommand(kUpdateCommand);
        }
        // Until the user has once chosen which exchanges the feed delivers, every start asks.
        if (!CurrentRTFeedSettings().levelsChosen)
            host.postFrameCommand(kFeedLevelsCommand);
        return;
    }
    if (cl.unattended)
        host.postFrameCommand(kUpdateCommand);
}

} // namespace

ProgramState::ProgramState() = default;
ProgramState::~ProgramState() = default;

bool TipsShowAtStartUp()
{
    auto value = Registry::Instance().getU32("Settings", "ShowTipOnStartUp");
    return !value || int32_t(*value) <= 0;
}

bool RunStartUp(StartUpHost& host, ProgramState& state, const std::string& commandLine)
{
    NoteWindowsVersion();
    InstallHtmlControlHosting();
    CreateDataLock();
    state.startTick = SteadyTickCount();
    ClearWindowOptions();
    ScreenInfo screen = host.screen();
    CheckColourDepth(screen.bitsPerPixel);
    state.newMailWaiting = LoadEmailLibrary().newMailWaiting;
    state.commandLine = ParseCommandLine(commandLine);
    TimerQueue().Start(kDefaultTimerPeriodMs);
    ClaimSingleInstance(state);
    if (!UnlockProgram([&host] { return host.askPassword(); }))
        EndProgram(kExitPasswordRefused);
    // Only this copy, and only once the password has been given, may remove the data files.
    if (state.commandLine.removeDataFiles)
        RemoveDataFiles();
    InstallDatabaseNeighbours();
    PrepareBeforeFiles(host, state, screen);

    FramePlacement placement;
    ReadConfiguration(state, placement, screen);
    if (state.commandLine.showSplash)
        host.showSplash();
    LoadFilesBehindSplash(host, state);
    host.endSplash();
    ShowMainWindow(host, state, placement);
    if (state.commandLine.showSplash && TipsShowAtStartUp())
        host.showTipOfTheDay();
    StartUpComplete = 1;
    PostStartUpCommands(host, state);
    host.checkBrowserVersion();
    return true;
}

void SaveProgramData(bool exiting)
{
    // Each save reports its own failure; a save given up for lack of space gives up only itself.
    // Only the exit lets go of the lists and stores: after the Save command the program goes on
    // showing and changing them.
    SaveViews(-1);
    SaveAllPortfolios(true);
    SaveFilters(exiting);
    SaveCashAccounts();
    SaveConfig(-1);
    steps::SaveSignalSetting();
    SaveImports(exiting);
    // The setting records (share notes, stop-losses, alarms) travel in "Graph.cfg".
    LinesAndTextStore().StoreSettingRecords();
    LinesAndTextStore().Save(exiting);
    PriceCorrectionStore().Save(exiting);
    SaveProgramMarketTable(exiting);
    SaveToolbarConfig();
}

void RunExit(ProgramState& state)
{
    SyncPrinterOrientation(true);
    // No view is refreshed for the rest of the exit.
    RefreshHoldFlag = 1;
    if (RealTimeOption())
        steps::DestroyAlarmServer();
    StopDdeServer();
    TimerQueue().Clear();
    SavePlugInAnalyses();
    steps::ShutDownFeedClient();
    steps::FreeFixedSourceLists();

    // The run-time setting records go before the store is written.
    if (const auto& remove = steps::UpperStartUpSteps().deleteGraphSettingRecords)
        remove();
    SaveProgramData(true);
    steps::FreeUserToolbars();
    steps::BackupRTIndex();
    steps::SaveNewsDatabase();
    steps::CloseRTStore();
    SaveTimeZones();

    steps::FreeProgramBlocks();
    FreeTables();
    if (const auto& free = CoreUpperHooks().freeDirectorsDealings)
        free();
    ApplicationCommands().Remove(ID_RELOAD_ALL_DATA);
    state.document.reset();
    FreeVexaTables();
    CloseDataLock();
    StartUpComplete = 0;
    MainWindowCreated = 0;
    RefreshHoldFlag = 0;
    ApplicationTitle() = "Quorvantis";
}

} // namespace qv
