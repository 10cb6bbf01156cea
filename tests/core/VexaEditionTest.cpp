// The special edition's settings swapped in and out, the repair of left-over edition tables, and
// the save that keeps the user's own settings.
#include "core/VexaEdition.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "core/ConfigFile.h"
#include "core/ConfigFormat.h"
#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/UpperHooks.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "support/ConfigSamples.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class VexaEditionTest : public ::testing::Test {
protected:
    VexaEditionTest()
    {
        SetProgramFolder(dir.path());
        Config() = test::SampleConfig(77);
        Config().optionsA.bytes[OptionBlockA::kEditionTableSlot] = 4;
        Config().optionsA.bytes[OptionBlockA::kEditionGraphSlot1] = 0;
        Config().optionsA.bytes[OptionBlockA::kEditionGraphSlot2] = 11;
        InitVexaTables();
        // The edition's byte is one of the options a save writes back: the block holds it as a
        // loaded file would.
        SetEditionOptionByte(kEditionOn | kEditionSetUp);
        CoreUpperHooks().storeOptionBlocks();
    }
    ~VexaEditionTest() override
    {
        FreeVexaTables();
        SetEditionOptionByte(0);
        RemoveEditionFilters();
        SetProgramFolder(previous);
        Config() = ConfigState{};
    }

    fs::path previous = ProgramFolder();
    dev::TempFolder dir;
};

} // namespace

TEST_F(VexaEditionTest, ApplyAndRevertRoundTripAndRepeatsChangeNothing)
{
    const ConfigState user = Config();
    ApplyVexaSettings(true);
    EXPECT_TRUE(VexaSettingsApplied());
    EXPECT_EQ(Config().dailyGraphs.names[0], "Ludrin Ossery Settings 1 - Momentum");
    EXPECT_EQ(Config().dailyGraphs.names[11], "Ludrin Ossery Settings 2 - Breadth");
    EXPECT_EQ(Config().listTables.designs[4].name, "Ludrin Table");
    EXPECT_EQ(Config().listTables.designs[4].sort, 2);
    EXPECT_NE(Config().dailyGraphs.records[0], user.dailyGraphs.records[0]);
    EXPECT_EQ(Config().listTables.designs[3], user.listTables.designs[3]);

    const ConfigState applied = Config();
    ApplyVexaSettings(true);
    EXPECT_EQ(Config(), applied);

    // The slots may change while applied; switching out restores the slots that were used.
    Config().optionsA.bytes[OptionBlockA::kEditionTableSlot] = 255;
    ApplyVexaSettings(false);
    Config().optionsA.bytes[OptionBlockA::kEditionTableSlot] = 4;
    EXPECT_FALSE(VexaSettingsApplied());
    EXPECT_EQ(Config(), user);
    ApplyVexaSettings(false);
    EXPECT_EQ(Config(), user);
}

TEST_F(VexaEditionTest, NothingGoesInWithTheEditionOffOrWithoutSlots)
{
    const ConfigState user = Config();
    SetEditionOptionByte(kEditionSetUp);
    ApplyVexaSettings(true);
    EXPECT_FALSE(VexaSettingsApplied());
    EXPECT_EQ(Config(), user);

    SetEditionOptionByte(kEditionOn);
    for (size_t offset : {OptionBlockA::kEditionTableSlot, OptionBlockA::kEditionGraphSlot1, OptionBlockA::kEditionGraphSlot2})
        Config().optionsA.bytes[offset] = offset == OptionBlockA::kEditionTableSlot ? 200 : 255;
    ConfigState noSlots = Config();
    ApplyVexaSettings(true);
    EXPECT_EQ(Config(), noSlots);
    ApplyVexaSettings(false);
    EXPECT_EQ(Config(), noSlots);
}

TEST_F(VexaEditionTest, UpdateFollowsTheEditionByte)
{
    UpdateVexaEdition();
    EXPECT_TRUE(VexaSettingsApplied());
    SetEditionOptionByte(0);
    UpdateVexaEdition();
    EXPECT_FALSE(VexaSettingsApplied());
}

TEST_F(VexaEditionTest, CheckRenamesLeftOverEditionTables)
{
    Config().optionsA.bytes[OptionBlockA::kRealTimeOption] = 0;
    Config().listTables.designs[2].name = "Ludrin Table";
    Config().listTables.designs[7].name = "Ludrin Table";
    Config().dailyGraphs.names[5] = "Ludrin Ossery Settings 2 - Breadth";
    Config().dailyGraphs.records[5].bytes[10] = 9;
    Config().listTables.designs[8].name = "Ludrin Table 2"; // not exactly the edition's name
    EXPECT_TRUE(CheckVexaTables());
    EXPECT_EQ(Config().listTables.designs[2].name, "Table 3");
    EXPECT_EQ(Config().listTables.designs[2].sort, 8);
    EXPECT_EQ(Config().listTables.designs[7].name, "Table 8");
    EXPECT_EQ(Config().listTables.designs[7].sort, 2);
    EXPECT_EQ(Config().listTables.designs[8].name, "Ludrin Table 2");
    EXPECT_EQ(Config().dailyGraphs.names[5], "Setting 6");
    GraphSetting daily;
    InitGraphSetting(daily, false);
    EXPECT_EQ(Config().dailyGraphs.records[5].bytes, daily.bytes);
    EXPECT_FALSE(CheckVexaTables());

    Config().optionsA.bytes[OptionBlockA::kRealTimeOption] = 1;
    Config().listTables.designs[0].name = "Ludrin Table";
    EXPECT_TRUE(CheckVexaTables());
    EXPECT_EQ(Config().listTables.designs[0].sort, 2);
}

TEST_F(VexaEditionTest, SavedFileKeepsTheUserSettingsAndTheEditionStaysIn)
{
    test::FakeMessageBox boxes;
    const ConfigState user = Config();
    ApplyVexaSettings(true);
    const ConfigState applied = Config();
    ASSERT_EQ(SaveConfig(-1), SaveResult::Saved);
    EXPECT_TRUE(VexaSettingsApplied());
    EXPECT_EQ(Config(), applied);

    FreeVexaTables();
    Config() = ConfigState{};
    ASSERT_EQ(LoadConfig(-1, false), 0);
    EXPECT_EQ(Config().dailyGraphs.names[0], user.dailyGraphs.names[0]);
    EXPECT_EQ(Config().listTables.designs[4], user.listTables.designs[4]);
}
