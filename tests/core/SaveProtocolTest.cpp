// Tests of how every file the program keeps for itself reaches the disk.
#include "core/SaveProtocol.h"

#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/ProgramExit.h"
#include "support/FakeMessageBox.h"

#include <cstdlib>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace qv;

namespace {

struct Crash : std::runtime_error {
    Crash() : std::runtime_error("crash") {}
};

class SaveProtocol : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(dir.path()); }
    void TearDown() override
    {
        SetSaveFaultHook({});
        SetFreeSpaceHook({});
    }

    void put(const std::string& name, const std::string& text)
    {
        WriteFileBytes(AppPath(name), std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    }
    std::string get(const std::string& name)
    {
        auto bytes = ReadFileBytes(AppPath(name));
        return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
    }
    static std::vector<uint8_t> Image(const std::string& text) { return {text.begin(), text.end()}; }

    dev::TempFolder dir;
};

} // namespace

TEST_F(SaveProtocol, SaveReplacesTheFileAndKeepsTheOlderCopyWhereOneIsKept)
{
    put("Quorva007.por", "old portfolio");
    put("Quorva007.old", "older still");
    ASSERT_EQ(SaveFileImage(PortfolioSavePlan(7, 10, 20), Image("new portfolio")), SaveResult::Saved);
    EXPECT_EQ(get("Quorva007.por"), "new portfolio");
    EXPECT_EQ(get("Quorva007.old"), "old portfolio");
    EXPECT_EQ(get("por.tem"), "<missing>");

    // The configuration keeps no older copy; a folder named in the plan is made when missing.
    put("Quorva.cfg", "old config");
    ASSERT_EQ(SaveFileImage(ConfigurationSavePlan(), Image("new config")), SaveResult::Saved);
    EXPECT_EQ(get("Quorva.cfg"), "new config");
    EXPECT_EQ(FindFiles(dir.path(), "Quorva*"),
              (std::vector<std::string>{"Quorva.cfg", "Quorva007.old", "Quorva007.por"}));
    ASSERT_EQ(SaveFileImage(CashAccountsSavePlan(), Image("cash")), SaveResult::Saved);
    EXPECT_EQ(get("Data\\Cash.dat"), "cash");
}

TEST_F(SaveProtocol, FilesOnceWrittenInPlaceNowGoThroughATemporaryName)
{
    for (const SavePlan& plan : {FilterSavePlan(), WindowLayoutSavePlan(), TimeZoneSavePlan(), ToolbarSavePlan(),
                                 ImportsSavePlan()}) {
        EXPECT_NE(plan.temporary, plan.name);
        ASSERT_EQ(SaveFileImage(plan, Image("first " + plan.name)), SaveResult::Saved);
        ASSERT_EQ(SaveFileImage(plan, Image("second " + plan.name)), SaveResult::Saved);
        EXPECT_EQ(get(plan.name), "second " + plan.name) << plan.name;
        EXPECT_EQ(get(plan.temporary), "<missing>") << plan.name;
    }
    EXPECT_EQ(get("Filter.old"), "first Filter.cfg");
    EXPECT_EQ(get("data\\Imports.old"), "first data\\Imports.dat");
}

// Every step that can fail or be cut short, for a file with an older copy and one without: a failed
// step leaves the old file whole and no temporary; a crash leaves the old file or the new one whole.
TEST_F(SaveProtocol, InterruptedSaveLeavesTheOldFileOrTheNewOneWhole)
{
    struct Case {
        SaveStep step;
        SaveResult failedResult;
        bool newFileAfterCrash;
    } cases[] = {
        {SaveStep::Open, SaveResult::Failed, false},      {SaveStep::Write, SaveResult::Failed, false},
        {SaveStep::Flush, SaveResult::Failed, false},     {SaveStep::Close, SaveResult::Failed, false},
        {SaveStep::KeepOlder, SaveResult::Saved, false},  {SaveStep::Replace, SaveResult::Failed, false},
        {SaveStep::SyncFolder, SaveResult::Saved, true},
    };
    const std::string oldBytes(5000, 'o'), newBytes(7000, 'n');
    auto Which = [&](const std::string& bytes) -> std::string {
        return bytes == oldBytes ? "old" : bytes == newBytes ? "new" : "mixed";
    };
    for (const SavePlan& plan : {ConfigurationSavePlan(), PortfolioSavePlan(1, 0, 0)}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(plan.name + " step " + std::to_string(int(c.step)));
            put(plan.name, oldBytes);
            SetSaveFaultHook([&](SaveStep s) { return s == c.step; });
            SaveResult result = SaveFileImage(plan, Image(newBytes));
            EXPECT_EQ(result, c.failedResult);
            EXPECT_EQ(Which(get(plan.name)), result == SaveResult::Saved ? "new" : "old");
            EXPECT_EQ(get(plan.temporary), "<missing>");

            if (c.step == SaveStep::KeepOlder && plan.older.empty())
                continue; // no older copy, so no such step to cut short
            put(plan.name, oldBytes);
            SetSaveFaultHook([&](SaveStep s) -> bool {
                if (s == c.step)
                    throw Crash();
                return false;
            });
            EXPECT_THROW(SaveFileImage(plan, Image(newBytes)), Crash);
            EXPECT_EQ(Which(get(plan.name)), c.newFileAfterCrash ? "new" : "old");
            ForceDelete(dir / plan.temporary);
        }
    }
}

TEST_F(SaveProtocol, TheTemporaryFileReachesTheDiskBeforeTheRename)
{
    std::vector<SaveStep> steps;
    SetSaveFaultHook([&](SaveStep s) {
        steps.push_back(s);
        return false;
    });
    put("Quorva001.por", "old");
    ASSERT_EQ(SaveFileImage(PortfolioSavePlan(1, 0, 0), Image("new")), SaveResult::Saved);
    EXPECT_EQ(steps, (std::vector<SaveStep>{SaveStep::Open, SaveStep::Write, SaveStep::Flush, SaveStep::Close,
                                            SaveStep::KeepOlder, SaveStep::Replace, SaveStep::SyncFolder}));
}

// The program really dies at each step (no destructor, no clean-up runs); the file is still whole.
TEST_F(SaveProtocol, ProcessDeathAtAnyStepLeavesAWholeFile)
{
    const std::string previousStyle = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "fast"); // the child must save into this test's own folder
    const std::string oldBytes(3000, 'o'), newBytes(4000, 'n');
    const SaveStep steps[] = {SaveStep::Open,      SaveStep::Write,   SaveStep::Flush,     SaveStep::Close,
                              SaveStep::KeepOlder, SaveStep::Replace, SaveStep::SyncFolder};
    for (SaveStep step : steps) {
        put("Quorva003.por", oldBytes);
        EXPECT_EXIT(
            {
                SetSaveFaultHook([step](SaveStep s) {
                    if (s == step)
                        std::_Exit(9);
                    return false;
                });
                SaveFileImage(PortfolioSavePlan(3, 0, 0), Image(newBytes));
            },
            ::testing::ExitedWithCode(9), "");
        std::string now = get("Quorva003.por");
        EXPECT_TRUE(now == (step == SaveStep::SyncFolder ? newBytes : oldBytes)) << int(step);
        ForceDelete(dir / "por.tem");
    }
    GTEST_FLAG_SET(death_test_style, previousStyle);
}

TEST_F(SaveProtocol, RealDiskRefusalsKeepTheOldFile)
{
    put("Quorva.cfg", "old");
    fs::create_directory(dir / "Quorva.TEM"); // the temporary name cannot be opened as a file
    EXPECT_EQ(SaveFileImage(ConfigurationSavePlan(), Image("new")), SaveResult::Failed);
    EXPECT_EQ(get("Quorva.cfg"), "old");
    fs::remove(dir / "Quorva.TEM");

    fs::create_directories(dir / "View.cfg" / "inside"); // the rename cannot replace a full folder
    EXPECT_EQ(SaveFileImage(WindowLayoutSavePlan(), Image("layout")), SaveResult::Failed);
    EXPECT_TRUE(fs::is_directory(dir / "View.cfg"));
    EXPECT_EQ(get("View.tem"), "<missing>");
}

TEST_F(SaveProtocol, LowDiskSpaceAsksAndCancelSkipsOnlyThatSave)
{
    ThrowOnProgramEnd noExit;
    test::FakeMessageBox box;
    uint64_t free = 19999;
    SetFreeSpaceHook([&] { return std::optional<uint64_t>(free); });
    put("Quorva.cfg", "old");

    box.queue(MsgAnswer::Cancel);
    EXPECT_EQ(SaveFileImage(ConfigurationSavePlan(), Image("new")), SaveResult::Skipped);
    EXPECT_EQ(get("Quorva.cfg"), "old");
    ASSERT_EQ(box.shown().size(), 1u);
    EXPECT_EQ(box.shown()[0].buttons, MsgButtons::RetryCancel);
    EXPECT_EQ(DefaultAnswer(box.shown()[0]), MsgAnswer::Cancel);
    EXPECT_NE(box.shown()[0].text.find("Quorva.cfg"), std::string::npos);

    // Retry measures again; once the space is there the save goes ahead.
    box.queue(MsgAnswer::Retry);
    box.queue(MsgAnswer::Retry);
    int asked = 0;
    SetFreeSpaceHook([&] { return std::optional<uint64_t>(asked++ < 2 ? 19999 : 20000); });
    EXPECT_EQ(SaveFileImage(ConfigurationSavePlan(), Image("new")), SaveResult::Saved);
    EXPECT_EQ(box.shown().size(), 3u);

    // A portfolio needs its entry and transaction bytes + 10,000; files without a test never ask.
    SetFreeSpaceHook([&] { return std::optional<uint64_t>(free); });
    free = 10000 + 300;
    EXPECT_EQ(SaveFileImage(PortfolioSavePlan(2, 100, 200), Image("p")), SaveResult::Saved);
    box.queue(MsgAnswer::Cancel);
    EXPECT_EQ(SaveFileImage(PortfolioSavePlan(2, 100, 201), Image("q")), SaveResult::Skipped);
    free = 0;
    EXPECT_EQ(SaveFileImage(TimeZoneSavePlan(), Image("tz")), SaveResult::Saved);
    EXPECT_EQ(box.shown().size(), 4u);
}

// A writer killed outright (SIGKILL) at many points of its saves, every file the program keeps and a
// file the user named: each file is afterwards the old one or the new one, whole.
TEST_F(SaveProtocol, AWriterKilledAtAnyPointLeavesEachFileOldOrNewAndWhole)
{
    const std::vector<SavePlan> plans = {ConfigurationSavePlan(), PortfolioSavePlan(4, 0, 0), CashAccountsSavePlan(),
                                         FilterSavePlan(),        WindowLayoutSavePlan(),     ImportsSavePlan(),
                                         TimeZoneSavePlan(),      ToolbarSavePlan(),
                                         SavePlan{"Graph.cfg", "Graph.tem", "", 0, {}}};
    const fs::path exported = dir / "chart.png";
    // Different sizes and bytes, so that a file cut short or mixed matches neither.
    const std::vector<uint8_t> oldImage(300000, 'o'), newImage(200000, 'n');
    SetFreeSpaceHook([] { return std::optional<uint64_t>(uint64_t(1) << 40); });
    for (const SavePlan& plan : plans)
        ASSERT_EQ(SaveFileImage(plan, oldImage), SaveResult::Saved);
    ASSERT_TRUE(SaveFileAt(exported, oldImage));
    auto Which = [&](const fs::path& path) -> std::string {
        auto bytes = ReadFileBytes(path);
        return !bytes ? "missing" : *bytes == oldImage ? "old" : *bytes == newImage ? "new" : "damaged";
    };

    int finished[2];
    ASSERT_EQ(::pipe(finished), 0);
    int newFound = 0;
    for (int round = 0; round < 30; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                const std::vector<uint8_t>& image = i % 2 ? oldImage : newImage;
                for (const SavePlan& plan : plans)
                    SaveFileImage(plan, image);
                SaveFileAt(exported, image);
                // The first round is killed only once every save has finished, however slow the
                // machine, so that the check below sees whole new files at least once.
                if (round == 0) {
                    const char done = 1;
                    (void)!::write(finished[1], &done, 1);
                    ::pause();
                }
            }
        }
        if (round == 0) {
            char done = 0;
            ASSERT_EQ(::read(finished[0], &done, 1), 1);
        } else {
            ::usleep(useconds_t(2000 + 1500 * round));
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "round " << round;
        for (const SavePlan& plan : plans) {
            std::string which = Which(AppPath(plan.name));
            EXPECT_TRUE(which == "old" || which == "new") << plan.name << " is " << which << ", round " << round;
            newFound += which == "new";
        }
        std::string which = Which(exported);
        EXPECT_TRUE(which == "old" || which == "new") << "export is " << which << ", round " << round;
    }
    ::close(finished[0]);
    ::close(finished[1]);
    EXPECT_GE(newFound, int(plans.size())); // the first round's kill landed after its saves had finished
}

// Once the program has noted a fault in its own state, nothing more reaches the disk.
TEST_F(SaveProtocol, NothingIsSavedAfterTheProgramNotedAFault)
{
    put("Quorva.cfg", "old config");
    put("chart.svg", "old picture");
    NoteProgramFault();
    EXPECT_EQ(SaveFileImage(ConfigurationSavePlan(), Image("new config")), SaveResult::Failed);
    EXPECT_FALSE(SaveFileAt(dir / "chart.svg", std::string_view("new picture")));
    EXPECT_EQ(get("Quorva.cfg"), "old config");
    EXPECT_EQ(get("chart.svg"), "old picture");
    EXPECT_EQ(get("Quorva.TEM"), "<missing>");
    ClearProgramFault();
    EXPECT_TRUE(SaveFileAt(dir / "chart.svg", std::string_view("new picture")));
    EXPECT_EQ(get("chart.svg"), "new picture");
    EXPECT_EQ(get("chart.svg.tem"), "<missing>");
}
