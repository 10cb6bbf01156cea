// Start-up and exit over a small database, with a recording host in place of the windows: the
// splash texts and positions in order, the switches that change the run, the second copy, and the
// files the exit writes.
#include "shell/StartUp.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "core/KeyedItemStore.h"
#include "core/LinesAndTextFiles.h"
#include "core/ColumnDef.h"
#include "core/ConfigFamilies.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/Database.h"
#include "core/DatabaseNeighbours.h"
#include "core/Document.h"
#include "core/Portfolio.h"
#include "core/RegistrySettings.h"
#include "core/SaveProtocol.h"
#include "core/SettingRecordStore.h"
#include "core/ShareList.h"
#include "core/VexaEdition.h"
#include "devtools/lib/DatabaseWriter.h"
#include "devtools/lib/PriceStreamEncoder.h"
#include "devtools/lib/ShareListChain.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/ProgramExit.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/Transaction.h"
#include "shell/UserToolbars.h"
#include "realtime/FeedStates.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/TimerQueue.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTReconnect.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/AppServices.h"
#include "shell/DdeService.h"
#include "shell/ProgramPassword.h"
#include "shell/SplashStatus.h"
#include "shell/StartupChecks.h"
#include "shell/TimerCallbacks.h"
#include "support/FakeMessageBox.h"
#include "support/PrivateRegistry.h"
#include "views/CommandUpdate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace qv;

namespace {

class RecordingHost : public StartUpHost, public SplashHost {
public:
    RecordingHost() { previousSplash_ = SetSplashHost(this); }
    ~RecordingHost() override { SetSplashHost(previousSplash_); }

    ScreenInfo screen() const override { return screenInfo; }
    bool ctrlHeld() const override { return ctrl; }

    std::optional<std::string> askPassword() override
    {
        events.push_back("password");
        return typedPassword;
    }
    void showSplash() override
    {
        splashShown = true;
        events.push_back("splash");
    }
    void endSplash() override
    {
        splashShown = false;
        events.push_back("end splash");
    }
    void createFrameObject() override { events.push_back("frame object"); }
    bool createFrameWindow(CDoc&) override
    {
        events.push_back("frame window");
        return frameWindowMade;
    }
    int placeFrame(const FramePlacement& p) override
    {
        placement = p;
        events.push_back("place");
        return screenInfo.width;
    }
    void setFrameCaption(const std::string& c) override { caption = c; }
    void createLayoutWindows() override { events.push_back("layout windows"); }
    void rebuildMenuBarAndShow() override { events.push_back("menu and show"); }
    void showTipOfTheDay() override { events.push_back("tip"); }
    void postFrameCommand(uint32_t command) override { commands.push_back(command); }
    void checkBrowserVersion() override { events.push_back("browser"); }

    bool shown() const override { return splashShown; }
    void setStatus(int position, const std::string& text) override { statuses.emplace_back(position, text); }
    void setProgress(int position) override { progress.push_back(position); }

    ScreenInfo screenInfo;
    bool ctrl = false;
    bool frameWindowMade = true;
    std::optional<std::string> typedPassword;
    bool splashShown = false;
    std::vector<std::string> events;
    std::vector<std::pair<int, std::string>> statuses;
    std::vector<int> progress;
    std::vector<uint32_t> commands;
    FramePlacement placement;
    std::string caption;

private:
    SplashHost* previousSplash_;
};

class StartUpFixture : public ::testing::Test {
protected:
    StartUpFixture()
    {
        // The instance lock lives in the runtime folder: keep it to this test's folder.
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        savedRuntime_ = runtime ? runtime : "";
        ::setenv("XDG_RUNTIME_DIR", folder.path().c_str(), 1);
        previousFolder_ = ProgramFolder();
        SetProgramFolder(folder.path());
        WriteDatabase(0, 0);
        Config() = ConfigState{};
    }
    ~StartUpFixture() override
    {
        TimerQueue().Clear();
        ClearTimerCallbacks();
        CancelRTReconnect();
        // A start with the feed leaves the feed thread's last steps queued for the engine's window,
        // which passes them on to whatever frame a later test installs: they go now, while no frame
        // is there to receive them.
        for (int round = 0; round < 8 && HasPostedMessages(); ++round)
            DeliverPostedMessages();
        // Start-up installs the load's neighbouring steps; later loads in this process must not run
        // them, but do run the steps the process had before (the layer hooks' after-load steps).
        GetDatabaseNeighbours() = previousNeighbours_;
        GetPortfolioFileHooks() = previousPortfolioHooks_;
        AfterLoad() = previousAfterLoad_;
        // A start ended early (a second copy, no main window) leaves its portfolios loaded, as the
        // program would have ended there; the next test must not inherit or drop them.
        FreePortfolioChain();
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
        SetProgramFolder(previousFolder_);
        if (savedRuntime_.empty())
            ::unsetenv("XDG_RUNTIME_DIR");
        else
            ::setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1);
    }

    void WriteDatabase(uint16_t wordA, PackedDate date)
    {
        dev::DbFile db;
        db.wordA = wordA;
        db.date = date;
        dev::DbEntry& main = db.entries.emplace_back();
        // Enough records for the load to move the splash's bar (every hundredth record).
        for (uint16_t id = 0x4001; id <= 0x4096; ++id)
            main.records.push_back(dev::ShareRecord(id, "Share", 'O', "SHR"));
        EXPECT_TRUE(dev::WriteDatabaseFolder(folder.path(), db, nullptr));
    }

    // The code the program ended with, or -1 when start-up finished.
    int Start(ProgramState& state, const std::string& commandLine)
    {
        try {
            RunStartUp(host, state, commandLine);
        } catch (const ProgramEnded& ended) {
            return ended.code;
        }
        return -1;
    }

    dev::TempFolder folder{"qv-startup"};
    test::FakeMessageBox box;
    ThrowOnProgramEnd catchEnd;
    RecordingHost host;

private:
    std::string savedRuntime_;
    std::filesystem::path previousFolder_;
    DatabaseNeighbours previousNeighbours_ = GetDatabaseNeighbours();
    PortfolioFileHooks previousPortfolioHooks_ = GetPortfolioFileHooks();
    AfterLoadSteps previousAfterLoad_ = AfterLoad();
};

} // namespace

TEST_F(StartUpFixture, LoadsBehindTheSplashInOrderThenShowsTheWindowAndSavesAtExit)
{
    auto state = std::make_unique<ProgramState>();
    ASSERT_EQ(Start(*state, ""), -1) << testing::PrintToString(box.texts());
    const std::vector<std::pair<int, std::string>> expected{
        {0, "Reading config files"},
        {5, "Loading edited price data"},
        {10, "Loading imports"},
        {15, "Loading toolbar"},
        {20, "Loading views"},
        {25, "Loading data mining criteria"},
        {30, "Upgrading config files"},
        {35, "Loading end of day database"},
        {80, "Initialising intraday database"},
        {85, "Loading portfolios"},
        {95, "Loading individual share settings"},
        {96, "Loading directors dealings"},
        {97, "Creating List"},
        {98, "Loading cash accounts"},
    };
    EXPECT_EQ(host.statuses, expected);
    // The database load moves the bar while it builds its record index.
    ASSERT_FALSE(host.progress.empty());
    EXPECT_GT(host.progress.front(), 35);
    EXPECT_LE(host.progress.back(), 75);
    EXPECT_EQ(host.events, (std::vector<std::string>{"splash", "frame object", "frame window", "end splash",
                                                     "place", "layout windows", "menu and show", "tip", "browser"}));
    EXPECT_EQ(host.caption, "Quorvantis Zoze");
    // No configuration file yet: a first run, so the frame is maximised.
    EXPECT_EQ(host.placement.kind, FramePlacement::Kind::Maximised);
    EXPECT_EQ(StartUpComplete, 1);
    EXPECT_TRUE(TimerQueue().running() || TimerQueue().entryCount() == 0);
    EXPECT_TRUE(state->document);
    EXPECT_TRUE(box.texts().empty()) << testing::PrintToString(box.texts());

    RunExit(*state);
    state.reset(); // the process ends: the instance lock goes with it
    EXPECT_EQ(StartUpComplete, 0);
    EXPECT_FALSE(TimerQueue().running());
    for (const char* name : {"View.cfg", "Filter.cfg", "Quorva.cfg", "Graph.cfg", "EditPrice.cfg", "Data\\Cash.dat",
                             "data\\Imports.dat"})
        EXPECT_TRUE(std::filesystem::exists(AppPath(name))) << name;
    // The built-in time zones are not written.
    EXPECT_FALSE(std::filesystem::exists(AppPath("Data\\Timezone.dat")));

    // The next run finds its configuration and the placement stored in "WinCoord".
    WindowPlacement stored;
    stored.normalLeft = 5;
    stored.normalTop = 6;
    stored.normalRight = 705;
    stored.normalBottom = 506;
    WindowCoordinates(true, stored);
    ProgramState again;
    ASSERT_EQ(Start(again, "/nologo"), -1);
    EXPECT_EQ(host.placement.kind, FramePlacement::Kind::Stored);
    EXPECT_EQ(host.placement.stored.normalRight, 705);
    RunExit(again);
}

// The Save command writes what exit writes but keeps it all in use: a drawn line, say, stays on the
// chart; only the exit lets the stores go.
TEST_F(StartUpFixture, TheSaveCommandKeepsTheStoresThatTheExitFrees)
{
    auto state = std::make_unique<ProgramState>();
    ASSERT_EQ(Start(*state, "/nologo"), -1);
    const KeyedItemKey key{ShareItemKey(77, 0), 0, 1u << 24};
    Blob line = MakeBlob(kBlobLengthBytes + 8);
    LinesAndTextStore().StoreItem(key, std::move(line));
    SaveProgramData(false);
    EXPECT_TRUE(std::filesystem::exists(AppPath("Graph.cfg")));
    EXPECT_NE(LinesAndTextStore().GetItem(key.share, key.kind, key.subKey), nullptr);
    RunExit(*state);
    EXPECT_EQ(LinesAndTextStore().GetItem(key.share, key.kind, key.subKey), nullptr);
}

// File > Save leaves the portfolios' transactions and the toolbars in memory: the views go on showing
// them, and a second Save and the exit write the same files again.
TEST_F(StartUpFixture, TheSaveCommandKeepsPortfoliosAndToolbarsForTheExitToWriteAgain)
{
    auto state = std::make_unique<ProgramState>();
    ASSERT_EQ(Start(*state, "/nologo"), -1);
    auto* kept = new Portfolio;
    kept->number = 5;
    kept->name = "Kept";
    ResetPortfolioEntries(*kept);
    TransactionFields bought;
    bought.type = 1;
    bought.shareId = 0x4001;
    bought.shares = 100;
    bought.date = PackDate(3, 3, 2020);
    bought.texts[0] = "Alpha";
    auto* record = new Transaction;
    record->bytes = *EncodeTransaction(bought);
    InsertSortedByName(kept->transactions, record);
    kept->next = PortfolioChain();
    PortfolioChain() = kept;
    ProgramToolbars().AddToolbar(-1);
    const size_t toolbars = ProgramToolbars().Count();

    SaveProgramData(false);
    const auto portfolioFile = ReadFileBytes(AppPath("Quorva005.por"));
    const auto toolbarFile = ReadFileBytes(AppPath("Toolbar.cfg"));
    ASSERT_TRUE(portfolioFile);
    ASSERT_TRUE(toolbarFile);
    EXPECT_EQ(kept->transactions, record) << "the views go on showing the transactions";
    EXPECT_EQ(ProgramToolbars().Count(), toolbars);

    SaveProgramData(false);
    EXPECT_EQ(ReadFileBytes(AppPath("Quorva005.por")), portfolioFile);
    EXPECT_EQ(ReadFileBytes(AppPath("Quorva005.old")), portfolioFile) << "the backup is the saved file";
    RunExit(*state);
    EXPECT_EQ(ReadFileBytes(AppPath("Quorva005.por")), portfolioFile);
    EXPECT_EQ(ReadFileBytes(AppPath("Toolbar.cfg")), toolbarFile);
    EXPECT_EQ(ProgramToolbars().Count(), 0u) << "only the exit lets the toolbars go, after writing them";
}

// The setting records (a share's alarm, say) are written into "Graph.cfg" by the Save command and
// by the exit, and the next run reads them back.
TEST_F(StartUpFixture, SettingRecordsAreSavedAndReadBack)
{
    const uint8_t alarm[4] = {1, 2, 3, 4};
    for (bool exiting : {false, true}) {
        SCOPED_TRACE(exiting);
        auto state = std::make_unique<ProgramState>();
        ASSERT_EQ(Start(*state, "/nologo"), -1);
        DeleteSettingAll(2);
        SetSettingRecord(0x4001, 0, 2, alarm, exiting ? 4 : 3);
        if (!exiting)
            SaveProgramData(false);
        RunExit(*state);
        state.reset(); // the process ends: the instance lock and the stores go with it
        LinesAndTextStore().FreeItems();
        DeleteSettingAll(2);
        ProgramState again;
        ASSERT_EQ(Start(again, "/nologo"), -1);
        const uint8_t* data = GetSettingRecord(0x4001, 0, 2);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(SettingDataSize(data), exiting ? 4u : 3u);
        RunExit(again);
    }
}

TEST_F(StartUpFixture, NoLogoRunsEveryLoadWithoutSplashOrTip)
{
    ProgramState state;
    ASSERT_EQ(Start(state, "/nologo"), -1);
    EXPECT_TRUE(host.statuses.empty());
    for (const char* absent : {"splash", "tip"})
        EXPECT_EQ(std::count(host.events.begin(), host.events.end(), absent), 0) << absent;
    EXPECT_TRUE(state.document);
    RunExit(state);
}

TEST_F(StartUpFixture, StartUpClearsTheRealTimeOptionsAndOnlyTheSwitchSetsThem)
{
    setenv("QV_FEED_SERVER", "127.0.0.1:1", 1); // no server: the engine stays at locating one
    uint8_t* options = Config().optionsA.data();
    struct Case {
        const char* commandLine;
        uint8_t set;
        int32_t step;
    };
    for (const Case& c : {Case{"/nologo", 0, kFeedDisconnected}, Case{"/nologo /RTX", 0, kFeedDisconnected},
                          Case{"/nologo /RT", 1, kFeedLocating}}) {
        RTConnectionStep() = kFeedDisconnected;
        options[OptionBlockA::kRealTimeOption] = 1;
        options[OptionBlockA::kMultipleWindows] = 1;
        ProgramState state;
        ASSERT_EQ(Start(state, c.commandLine), -1);
        EXPECT_EQ(options[OptionBlockA::kRealTimeOption], c.set) << c.commandLine;
        EXPECT_EQ(options[OptionBlockA::kMultipleWindows], c.set) << c.commandLine;
        EXPECT_EQ(RTConnectionStep(), c.step) << c.commandLine << ": the engine starts with the option only";
        RunExit(state);
    }
    options[OptionBlockA::kRealTimeOption] = 0;
    options[OptionBlockA::kMultipleWindows] = 0;
    RTConnectionStep() = kFeedDisconnected;
    unsetenv("QV_FEED_SERVER");
}

TEST_F(StartUpFixture, AnRTStartAsksForTheFeedLevelsUntilTheyAreChosenOnce)
{
    setenv("QV_FEED_SERVER", "127.0.0.1:1", 1); // no server: the engine stays at locating one
    auto starts = [&](const std::string& commandLine) {
        host.commands.clear();
        ProgramState state;
        EXPECT_EQ(Start(state, commandLine), -1);
        std::vector<uint32_t> posted = host.commands;
        if (commandLine.find("/RT") != std::string::npos) {
            // The levels chosen in the dialog are what the exit stores for the next start.
            RTFeedSettings s = CurrentRTFeedSettings();
            s.levelsChosen = true;
            StoreRTFeedSettings(s);
        }
        RunExit(state);
        return posted;
    };
    EXPECT_EQ(starts("/nologo"), std::vector<uint32_t>{}) << "without the feed there are no levels to choose";
    EXPECT_EQ(starts("/nologo /RT"), std::vector<uint32_t>{kFeedLevelsCommand});
    EXPECT_EQ(starts("/nologo /RT /U"), std::vector<uint32_t>{kUpdateCommand}) << "chosen once, never asked again";
    RTConnectionStep() = kFeedDisconnected;
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 0;
    Config().optionsA.data()[OptionBlockA::kMultipleWindows] = 0;
    unsetenv("QV_FEED_SERVER");
}

TEST_F(StartUpFixture, UnattendedRunPostsTheUpdateCommand)
{
    ProgramState state;
    ASSERT_EQ(Start(state, "/U"), -1);
    EXPECT_EQ(host.commands, std::vector<uint32_t>{kUpdateCommand});
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "tip"), 0);
    RunExit(state);
}

TEST_F(StartUpFixture, CommandLinePlacementWins)
{
    ProgramState state;
    ASSERT_EQ(Start(state, "/nologo /C:10,20,640,480"), -1);
    EXPECT_EQ(host.placement.kind, FramePlacement::Kind::CommandLine);
    EXPECT_EQ(host.placement.x, 10);
    EXPECT_EQ(host.placement.height, 480);
    RunExit(state);
}

// The width of the first column that has one, of a list table's chain.
uint16_t FirstColumnWidth(const std::vector<uint8_t>& chain)
{
    for (size_t at = 0; at < chain.size() && chain[at] != 0; at += chain[at])
        if (chain[at] >= kColumnDefBytes)
            return LoadU16(&chain[at + ColumnDefLayout::Width]);
    return 0;
}

TEST_F(StartUpFixture, AFirstRunSizesTheDefaultListColumnsForTheScreen)
{
    ConfigState fresh;
    ResetAllConfigFamilies(fresh);
    const int defaultWidth = FirstColumnWidth(fresh.listTables.designs[0].chain);
    ASSERT_GT(defaultWidth, 0);
    struct Case {
        int screenWidth;
        int eighths;
    };
    for (const Case& c : {Case{700, 8}, Case{800, 9}, Case{1600, 10}}) {
        SCOPED_TRACE(c.screenWidth);
        std::filesystem::remove(AppPath("Quorva.cfg")); // each run a first one
        host.screenInfo.width = c.screenWidth;
        ProgramState state;
        ASSERT_EQ(Start(state, "/nologo"), -1);
        EXPECT_EQ(FirstColumnWidth(Config().listTables.designs[0].chain), defaultWidth * c.eighths / 8);
        EXPECT_EQ(FirstColumnWidth(Config().dataMiningTables.designs[11].chain),
                  FirstColumnWidth(fresh.dataMiningTables.designs[11].chain) * c.eighths / 8);
        RunExit(state);
    }
    // A later run, which finds the placement the frame stored at its exit, keeps the widths its
    // configuration stored.
    WindowPlacement stored;
    stored.normalRight = 700;
    stored.normalBottom = 500;
    WindowCoordinates(true, stored);
    ProgramState again;
    ASSERT_EQ(Start(again, "/nologo"), -1);
    EXPECT_EQ(FirstColumnWidth(Config().listTables.designs[0].chain), defaultWidth * 10 / 8);
    RunExit(again);
}

TEST_F(StartUpFixture, ASecondCopyEndsWithCodeThreeUnlessTold)
{
    SingleInstanceLock first;
    ASSERT_TRUE(first.acquire(kInstanceLockName));

    ProgramState second;
    EXPECT_EQ(Start(second, ""), kExitAnotherCopy);
    EXPECT_EQ(box.texts(), std::vector<std::string>{"A copy of Quorvantis is already running, loading or closing"});

    ProgramState told;
    EXPECT_EQ(Start(told, "/nologo /m:57"), -1);
    EXPECT_TRUE(told.document);
    RunExit(told);
}

TEST_F(StartUpFixture, ALockThatCannotBeMadeSaysACopySeemsToRun)
{
    // The fixture puts the runtime folder back afterwards.
    ::setenv("XDG_RUNTIME_DIR", (folder.path() / "no-such-folder").c_str(), 1);
    ProgramState state;
    EXPECT_EQ(Start(state, ""), kExitAnotherCopy);
    EXPECT_EQ(box.texts(), std::vector<std::string>{"A copy of Quorvantis seems to be running"});
}

TEST_F(StartUpFixture, NoMainWindowEndsWithCodeFour)
{
    host.frameWindowMade = false;
    ProgramState state;
    EXPECT_EQ(Start(state, "/nologo"), kExitNoMainWindow);
    EXPECT_TRUE(box.texts().empty());
}

TEST_F(StartUpFixture, TheProgramPasswordIsAskedBeforeAnythingLoads)
{
    test::PrivateRegistry registry;
    {
        ProgramState free;
        EXPECT_EQ(Start(free, "/nologo"), -1);
        EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "password"), 0) << "no password, no question";
        RunExit(free);
    }
    Registry::Instance().setString(kPasswordSection, kPasswordValue, EncodePassword(MakeOnFlag(0), "OPEN"));
    host.events.clear();
    const std::filesystem::path database = AppPath("Data\\Quorva.dat");
    ASSERT_TRUE(std::filesystem::exists(database));
    {
        ProgramState refused;
        EXPECT_EQ(Start(refused, "/R"), kExitPasswordRefused);
        EXPECT_EQ(host.events, std::vector<std::string>{"password"});
        EXPECT_FALSE(refused.document);
        EXPECT_TRUE(std::filesystem::exists(database)) << "/R removes nothing before the password is given";
    }
    host.events.clear();
    host.typedPassword = "open";
    ProgramState opened;
    EXPECT_EQ(Start(opened, ""), -1);
    ASSERT_FALSE(host.events.empty());
    EXPECT_EQ(host.events.front(), "password");
    RunExit(opened);
}

TEST_F(StartUpFixture, ConfigurationNotSavedUnderNoSave)
{
    {
        ProgramState first;
        ASSERT_EQ(Start(first, "/nologo"), -1);
        RunExit(first);
    }
    auto before = ReadFileBytes(folder / "Quorva.cfg");
    ASSERT_TRUE(before);
    // A narrow screen changes the advice counter, which a save would write.
    host.screenInfo.width = 640;
    ProgramState state;
    ASSERT_EQ(Start(state, "/nologo /NC"), -1);
    RunExit(state);
    EXPECT_EQ(ReadFileBytes(folder / "Quorva.cfg"), before);
}

TEST_F(StartUpFixture, NarrowScreenAdviceOnceInTwentyStartsKeptInTheConfiguration)
{
    host.screenInfo.width = 640;
    int advised = 0;
    for (int run = 0; run < 22; ++run) {
        size_t seen = box.texts().size();
        ProgramState state;
        ASSERT_EQ(Start(state, "/nologo"), -1);
        std::vector<std::string> texts = box.texts();
        for (size_t i = seen; i < texts.size(); ++i)
            if (texts[i].find("screen resolution of 800 x 600 or more") != std::string::npos)
                ++advised;
        RunExit(state);
        Config() = ConfigState{}; // the next run reads what this one saved
        if (run == 0 || run == 20) {
            EXPECT_EQ(advised, 1) << "run " << run;
        }
    }
    EXPECT_EQ(advised, 2);
}

TEST_F(StartUpFixture, ANearlyFullDiskGivesUpOnlyTheSavesThatNeedTheSpace)
{
    ProgramState state;
    ASSERT_EQ(Start(state, "/nologo"), -1);
    SetFreeSpaceHook([] { return std::optional<uint64_t>(100); });
    RunExit(state); // no program end: every later save still runs
    SetFreeSpaceHook({});
    EXPECT_FALSE(std::filesystem::exists(folder / "Quorva.cfg"));
    EXPECT_FALSE(box.texts().empty()) << "the low-space question was asked";
    for (const char* name : {"Graph.cfg", "EditPrice.cfg"})
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    EXPECT_EQ(StartUpComplete, 0);
}

TEST_F(StartUpFixture, TheConfigurationKeepsTheFirstLoadDateAndCarriesTheDatabaseWords)
{
    const PackedDate firstDate = PackDate(4, 12, 2026);
    const PackedDate laterDate = PackDate(11, 12, 2026);
    WriteDatabase(7, firstDate);
    {
        ProgramState state;
        ASSERT_EQ(Start(state, "/nologo"), -1);
        EXPECT_EQ(FirstLoadDate, firstDate);
        RunExit(state);
    }
    // A newer database at the next start: the first-load date is the one the configuration kept.
    WriteDatabase(9, laterDate);
    Config() = ConfigState{};
    ProgramState state;
    ASSERT_EQ(Start(state, "/nologo"), -1);
    EXPECT_EQ(FirstLoadDate, firstDate);
    RunExit(state);

    auto saved = ReadFileBytes(folder / "Quorva.cfg");
    ASSERT_TRUE(saved && saved->size() > 16 + 8);
    const uint8_t* header = saved->data();
    const uint8_t* options = header + 16;
    EXPECT_EQ(LoadU16(header + 8), 9);
    EXPECT_EQ(LoadU16(header + 10), laterDate);
    EXPECT_EQ(LoadU16(options + 0), 9);
    EXPECT_EQ(LoadU16(options + 4), laterDate);
    EXPECT_EQ(LoadU16(options + 6), firstDate);
}

TEST_F(StartUpFixture, AReloadSavesTheImportsAndLetsTheDdeServerGoBeforeFreeingTheDatabase)
{
    ProgramState state;
    ASSERT_EQ(Start(state, "/nologo"), -1);
    ASSERT_NE(RunningDdeService(), nullptr);
    ASSERT_FALSE(std::filesystem::exists(AppPath("data\\Imports.dat")));

    // The imports load right after the database has been freed: see what stands by then.
    DatabaseNeighbours& neighbours = GetDatabaseNeighbours();
    std::function<void()> loadImports = neighbours.loadImports;
    bool detachedWhenFreed = false;
    bool importsSavedWhenFreed = false;
    neighbours.loadImports = [&] {
        detachedWhenFreed = RunningDdeService()->server().detached();
        importsSavedWhenFreed = std::filesystem::exists(AppPath("data\\Imports.dat"));
        loadImports();
    };
    // Reload all data reaches the document through the command routing.
    EXPECT_TRUE(RouteCommand(ID_RELOAD_ALL_DATA));
    neighbours.loadImports = loadImports;
    EXPECT_TRUE(detachedWhenFreed);
    EXPECT_TRUE(importsSavedWhenFreed);
    // The refresh after the reload gives the server its records back.
    EXPECT_FALSE(RunningDdeService()->server().detached());
    EXPECT_TRUE(box.texts().empty()) << testing::PrintToString(box.texts());

    RunExit(state);
    EXPECT_EQ(RunningDdeService(), nullptr);
    EXPECT_FALSE(RouteCommand(ID_RELOAD_ALL_DATA));
}

TEST_F(StartUpFixture, ASpecialEditionNeverSetUpIsSwitchedOffAndItsTablesReset)
{
    {
        ProgramState state;
        ASSERT_EQ(Start(state, "/nologo"), -1);
        Config().listTables.designs[2].name = "Ludrin Table";
        // The edition's byte is kept with the options: on, its set-up never completed.
        SetEditionOptionByte(kEditionOn);
        RunExit(state);
    }
    Config() = ConfigState{};
    SetEditionOptionByte(0);
    ProgramState state;
    ASSERT_EQ(Start(state, "/nologo"), -1);
    uint8_t edition = EditionOptionByte();
    SetEditionOptionByte(0);
    EXPECT_EQ(edition, 0);
    EXPECT_EQ(Config().listTables.designs[2].name, "Table 3");
    ASSERT_EQ(box.texts().size(), 1u) << testing::PrintToString(box.texts());
    EXPECT_EQ(box.texts()[0].rfind("Corruption has been detected in your Quorva.cfg.\n\nTo correct this", 0), 0u);
    RunExit(state);
}

TEST_F(StartUpFixture, AFirstRunHasDefaultGraphSettingsAndTheIndicatorLineStyles)
{
    ProgramState state;
    ASSERT_EQ(Start(state, "/nologo"), -1);
    GraphSetting daily;
    GraphSetting intraday;
    InitGraphSetting(daily, false);
    InitGraphSetting(intraday, true);
    for (const GraphSetting& record : Config().dailyGraphs.records)
        EXPECT_EQ(record.bytes, daily.bytes);
    for (const GraphSetting& record : Config().intradayGraphs.records)
        EXPECT_EQ(record.bytes, intraday.bytes);
    std::array<uint32_t, kMaxLineStyles> pens{};
    EXPECT_EQ(LoadIndicatorLineStyles(pens, 1, 8), 4);
    EXPECT_EQ(pens[3], 0xC8FF96u);
    RunExit(state);
}

TEST_F(StartUpFixture, NewHighsAndLowsAreFilledAfterEveryLoadAndTheSignalValueGoesRoundTheRun)
{
    std::filesystem::path previousRegistry = Registry::Instance().file();
    Registry::Instance().reopen(folder.path() / "registry.ini");
    Registry::Instance().setU32("", "signal", 1);
    // Two priced shares: each has its period high and low on one of its days.
    dev::DbFile db;
    dev::DbEntry& main = db.entries.emplace_back();
    for (uint16_t id : {0x4001, 0x4002}) {
        dev::DbRecord& r = main.records.emplace_back(dev::ShareRecord(id, "Share", 'O', "SHR"));
        dev::PriceHistory history;
        history.firstDate = 0x3000;
        for (int close : {12, 4, 8}) {
            dev::HistoryDay day;
            day.close = close;
            history.days.push_back(day);
        }
        r.subRecords[0].firstDate = history.firstDate;
        ASSERT_TRUE(dev::EncodePriceStream(history, r.subRecords[0].body));
    }
    ASSERT_TRUE(dev::WriteDatabaseFolder(folder.path(), db, nullptr));

    auto count = [](uint16_t number) {
        for (Portfolio* p = PortfolioChain(); p; p = p->next)
            if (p->type == kPresetList && p->number == number) {
                int n = 0;
                while (p->entries && p->entries[n].record)
                    ++n;
                return n;
            }
        return -1;
    };
    ProgramState state;
    ASSERT_EQ(Start(state, "/nologo"), -1);
    EXPECT_EQ(count(kNewHighsNumber), 2);
    EXPECT_EQ(count(kNewLowsNumber), 2);
    EXPECT_EQ(Config().signal, 1u) << "read at start-up";
    // A reload makes the portfolios anew; they are filled again.
    EXPECT_TRUE(RouteCommand(ID_RELOAD_ALL_DATA));
    EXPECT_EQ(count(kNewHighsNumber), 2);

    Config().signal = 3;
    RunExit(state);
    EXPECT_EQ(Registry::Instance().getU32("", "signal"), 3u) << "written at exit";
    Registry::Instance().reopen(previousRegistry);
}
