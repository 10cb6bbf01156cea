// Tests of news update files waiting in the data folder.
#include "core/NewsUpdateFiles.h"

#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"
#include "tests/support/DebugCapture.h"

#include <fstream>
#include <gtest/gtest.h>
#include <set>

using namespace qv;
namespace fs = std::filesystem;

namespace {

// Records the calls of the pass and merges the files it is told to.
class RecordingHost : public NewsMergeHost {
public:
    std::set<std::string> mergeable;
    std::set<std::string> damaged;
    std::vector<std::string> calls;

    void showProgress(std::string_view text) override { calls.push_back("progress " + std::string(text)); }
    void lockExclusive() override { calls.push_back("lock"); }
    void unlock() override { calls.push_back("unlock"); }
    void loadNewsDatabase() override { calls.push_back("load"); }
    NewsMergeResult mergeNewsUpdate(const std::string& fileName, const fs::path& folder) override
    {
        calls.push_back("merge " + fileName + " in " + folder.filename().string());
        if (damaged.count(fileName))
            return NewsMergeResult::SetAside;
        return mergeable.count(fileName) ? NewsMergeResult::Merged : NewsMergeResult::NotMerged;
    }
};

class NewsUpdateFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = ProgramFolder();
        SetProgramFolder(dir_.path());
        fs::create_directories(dir_.path() / "Data");
        installed_ = SetNewsMergeHost(nullptr);
    }
    void TearDown() override
    {
        SetNewsMergeHost(installed_);
        SetProgramFolder(previous_);
    }
    void touch(const std::string& name) { std::ofstream(dir_.path() / "Data" / name) << "news"; }
    bool exists(const std::string& name) const { return fs::exists(dir_.path() / "Data" / name); }

    dev::TempFolder dir_;
    fs::path previous_;
    NewsMergeHost* installed_ = nullptr;
};

} // namespace

TEST(NewsUpdateFileName, ElevenCharactersFromNToUpdWithoutRegardToCase)
{
    struct Case { const char* name; bool expected; };
    const Case cases[] = {
        {"N1234567.UPD", false}, {"N123456.UPD", true}, {"n123456.upd", true}, {"NABCDEF.Upd", true},
        {"N1.UPD", false},       {"N1234567890.UPD", false}, {"X123456.UPD", false},
        {"N123456.UPX", false},  {"N123456XUPD", false}, {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewsUpdateFileName(c.name), c.expected) << c.name;
}

TEST_F(NewsUpdateFilesTest, OnlyMergedFilesAreDeletedAndTheLockIsExclusive)
{
    for (const char* name : {"N000001.UPD", "n000002.upd", "N0003.UPD", "N000000004.UPD", "X000005.UPD",
                             "N000006.TXT"})
        touch(name);
    fs::create_directories(dir_.path() / "Data" / "N000007.UPD"); // a folder, not an update file
    RecordingHost host;
    host.mergeable = {"N000001.UPD"};
    SetNewsMergeHost(&host);

    NewsUpdateOutcome outcome = ApplyNewsUpdateFiles();

    EXPECT_EQ(outcome.found, 2);
    EXPECT_EQ(outcome.merged, 1);
    EXPECT_EQ(outcome.kept, 1);
    const std::vector<std::string> expected = {
        "progress Creating List", "lock", "load", "merge N000001.UPD in Data", "merge n000002.upd in Data",
        "unlock"};
    EXPECT_EQ(host.calls, expected);
    EXPECT_FALSE(exists("N000001.UPD"));
    for (const char* name : {"n000002.upd", "N0003.UPD", "N000000004.UPD", "X000005.UPD", "N000006.TXT"})
        EXPECT_TRUE(exists(name)) << name;
    EXPECT_TRUE(fs::is_directory(dir_.path() / "Data" / "N000007.UPD"));
}

TEST_F(NewsUpdateFilesTest, UpdatesSetAsideAreCountedApartFromThoseKept)
{
    touch("N000001.UPD");
    touch("N000002.UPD");
    RecordingHost host;
    host.damaged = {"N000001.UPD"};
    SetNewsMergeHost(&host);
    NewsUpdateOutcome outcome = ApplyNewsUpdateFiles();
    EXPECT_EQ(outcome.found, 2);
    EXPECT_EQ(outcome.setAside, 1);
    EXPECT_EQ(outcome.kept, 1);
    EXPECT_EQ(outcome.merged, 0);
}

TEST_F(NewsUpdateFilesTest, TheStandInHostKeepsEveryFile)
{
    touch("N000001.UPD");
    test::DebugCapture debug;
    NewsUpdateOutcome outcome = ApplyNewsUpdateFiles();
    EXPECT_EQ(outcome.found, 1);
    EXPECT_EQ(outcome.kept, 1);
    EXPECT_TRUE(exists("N000001.UPD"));
    ASSERT_EQ(debug.lines().size(), 1u);
    EXPECT_EQ(debug.lines()[0], "News update N000001.UPD not merged; kept");
}

TEST_F(NewsUpdateFilesTest, MissingDataFolderFindsNothing)
{
    fs::remove_all(dir_.path() / "Data");
    EXPECT_TRUE(FindNewsUpdateFiles().empty());
    EXPECT_EQ(ApplyNewsUpdateFiles().found, 0);
}
