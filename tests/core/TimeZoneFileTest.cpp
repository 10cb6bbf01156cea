// Tests of "Data\Timezone.dat", the newer zone table read at start-up.
#include "core/TimeZoneFile.h"

#include "core/SaveProtocol.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class TimeZoneFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = ProgramFolder();
        SetProgramFolder(dir_.path());
        fs::create_directories(dir_.path() / "Data");
    }
    void TearDown() override
    {
        SetSaveFaultHook({});
        ResetTimeZoneTable();
        SetProgramFolder(previous_);
    }
    fs::path file() const { return dir_.path() / "Data" / "Timezone.dat"; }
    void put(const std::vector<uint8_t>& bytes) { WriteFileBytes(file(), bytes); }
    std::optional<std::vector<uint8_t>> stored() const { return ReadFileBytes(file()); }

    static TimeZoneTable NewerTable()
    {
        TimeZoneTable table = BuiltInTimeZoneTable();
        table.version = 4;
        table.zones[3].daylightStart.occurrence = 3; // some future rule
        table.zones[5].bias = -180;
        table.zones[7].standardName = {'W', 'E', 'T', 0, 'x', 'y'}; // bytes after the NUL survive
        return table;
    }

    dev::TempFolder dir_;
    fs::path previous_;
};

} // namespace

TEST_F(TimeZoneFileTest, SavedTableLoadsBackAndSavesByteForByte)
{
    SetActiveTimeZoneTable(NewerTable());
    ASSERT_TRUE(SaveTimeZones());
    std::vector<uint8_t> first = *stored();
    ASSERT_EQ(first.size(), 16u + 704);
    EXPECT_EQ(std::string(first.begin(), first.begin() + 4), "ZQDT");
    EXPECT_EQ(first[4], 4);
    EXPECT_EQ(LoadU32(first.data() + 12), 704u);

    ResetTimeZoneTable();
    LoadTimeZones();
    EXPECT_EQ(ActiveTimeZoneTable().version, 4);
    EXPECT_EQ(ActiveTimeZoneTable().zones[5].bias, -180);
    ASSERT_TRUE(SaveTimeZones());
    EXPECT_EQ(*stored(), first);
    EXPECT_EQ(BuildTimeZoneFile(ActiveTimeZoneTable()), first);
}

TEST_F(TimeZoneFileTest, BuiltInTableIsNeverWritten)
{
    ASSERT_TRUE(SaveTimeZones());
    EXPECT_FALSE(fs::exists(file()));
    put({1, 2, 3});
    ASSERT_TRUE(SaveTimeZones());
    EXPECT_EQ(*stored(), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(TimeZoneFileTest, DamagedFilesAreReportedAndSetAside)
{
    std::vector<uint8_t> good = BuildTimeZoneFile(NewerTable());
    auto withLength = [&](uint32_t length) {
        std::vector<uint8_t> f = good;
        StoreU32(f.data() + 12, length);
        return f;
    };
    std::vector<uint8_t> wrongTag = good;
    wrongTag[3] = 'X';
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    const std::vector<uint8_t> cases[] = {
        wrongTag,
        std::vector<uint8_t>(good.begin(), good.begin() + 16 + 703), // one byte short
        longer,                                                      // one byte over
        withLength(703),
        withLength(0xFFFFFFFF),
        std::vector<uint8_t>(good.begin(), good.begin() + 10), // not even a header
    };
    for (const auto& bytes : cases) {
        test::FakeMessageBox box;
        put(bytes);
        LoadTimeZones();
        EXPECT_EQ(box.texts(), std::vector<std::string>{"Time Zone file is badly formatted"});
        EXPECT_EQ(ActiveTimeZoneTable().version, 0);
        EXPECT_FALSE(fs::exists(file()));
        ASSERT_TRUE(fs::exists(dir_.path() / "Data" / "Timezone.bad"));
        EXPECT_EQ(*ReadFileBytes(dir_.path() / "Data" / "Timezone.bad"), bytes);
        fs::remove(dir_.path() / "Data" / "Timezone.bad");
    }
}

TEST_F(TimeZoneFileTest, VersionZeroFileIsSetAsideSilently)
{
    TimeZoneTable table = NewerTable();
    table.version = 0;
    put(BuildTimeZoneFile(table));
    test::FakeMessageBox box;
    LoadTimeZones();
    EXPECT_TRUE(box.texts().empty());
    EXPECT_EQ(ActiveTimeZoneTable().zones[5].bias, -120);
    EXPECT_FALSE(fs::exists(file()));
}

TEST_F(TimeZoneFileTest, MissingFileKeepsTheBuiltInTable)
{
    test::FakeMessageBox box;
    LoadTimeZones();
    EXPECT_TRUE(box.texts().empty());
    EXPECT_EQ(ActiveTimeZoneTable().version, 0);
}

TEST_F(TimeZoneFileTest, FailedSaveTellsTheUserAndKeepsTheOldFile)
{
    SetActiveTimeZoneTable(NewerTable());
    put({9, 9});
    SetSaveFaultHook([](SaveStep step) { return step == SaveStep::Write; });
    test::FakeMessageBox box;
    EXPECT_FALSE(SaveTimeZones());
    EXPECT_EQ(box.texts(), std::vector<std::string>{"Unable to save Time Zones update"});
    EXPECT_EQ(*stored(), (std::vector<uint8_t>{9, 9}));
}
