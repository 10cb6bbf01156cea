// Tests of loading and saving "Quorva.cfg".
#include "core/ConfigFile.h"

#include "core/ConfigFamilies.h"
#include "core/ConfigFormat.h"
#include "core/ConfigWriter.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "support/ConfigSamples.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

struct InFolder {
    InFolder()
    {
        SetProgramFolder(dir.path());
        Config() = ConfigState{};
    }
    ~InFolder()
    {
        SetProgramFolder(previous);
        SetConfigSavingDisabled(false);
        SetConfigLoadDeclined(false);
        SetFreeSpaceHook({});
        SetSaveFaultHook({});
        Config() = ConfigState{};
    }
    fs::path file() const { return dir / "Quorva.cfg"; }
    std::vector<uint8_t> bytes() const { return ReadFileBytes(file()).value_or(std::vector<uint8_t>{}); }
    fs::path previous = ProgramFolder();
    dev::TempFolder dir;
};

std::vector<uint8_t> SampleImage(uint32_t seed)
{
    auto state = std::make_unique<ConfigState>(test::SampleConfig(seed));
    return WriteConfigImage(*state, kWholeConfig);
}

const char* kCorrupted = "Your Quorva.cfg file appears to be corrupted.\nThis has been automatically corrected, "
                         "but some or all\nof your settings have been reset to the defaults.\n\nPlease contact "
                         "support if you need further assistance.";

} // namespace

TEST(ConfigFile, LoadedFileSavesBackByteForByte)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    auto image = SampleImage(50);
    WriteFileBytes(folder.file(), image);
    EXPECT_EQ(LoadConfig(kWholeConfig, false), 0);
    EXPECT_EQ(SaveConfig(kWholeConfig), SaveResult::Saved);
    EXPECT_EQ(folder.bytes(), image);
    EXPECT_FALSE(fs::exists(folder.dir / "Quorva.TEM"));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(ConfigFile, MissingFileGivesDefaultsOrRefusesARestore)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    Config() = test::SampleConfig(51);
    Config().subVersion = 20;
    ConfigState before = Config();
    EXPECT_EQ(LoadConfig(int32_t(config_mask::kNewsTables | 1), false), -1);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Unable to do restore"});
    EXPECT_TRUE(Config() == before);

    EXPECT_EQ(LoadConfig(kWholeConfig, false), -1);
    EXPECT_EQ(Config().subVersion, 34);
    EXPECT_EQ(Config().listTables.designs[0].name, "Table 1");
    EXPECT_TRUE(Config().optionsB == before.optionsB); // the option blocks are kept
    EXPECT_EQ(Config().optionsA.bytes[120], before.optionsA.bytes[120]);
    EXPECT_EQ(Config().optionsA.dataMiningWord() & 0x7FF, kDefaultDataMiningWord);

    // Ctrl held at start: the file is there but not read.
    WriteFileBytes(folder.file(), SampleImage(52));
    Config() = before;
    EXPECT_EQ(LoadConfig(kWholeConfig, true), -1);
    EXPECT_EQ(Config().newsTables.designs[0].name, "News table 1");
}

TEST(ConfigFile, AFileThatCouldNotBeReadIsNotReplacedUnasked)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    auto image = SampleImage(60);
    WriteFileBytes(folder.file(), image);
    {
        ExclusiveFile holder;
        ASSERT_TRUE(holder.open(folder.file(), ExclusiveFile::Mode::Read));
        EXPECT_EQ(LoadConfig(kWholeConfig, false), -1);
    }
    EXPECT_EQ(SaveConfig(kWholeConfig), SaveResult::Skipped);
    EXPECT_EQ(folder.bytes(), image);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].buttons, MsgButtons::YesNo);
}

TEST(ConfigFile, RejectedHeaderIsShownAndTheFileSetAside)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    auto image = SampleImage(53);
    image[4] = 7;
    WriteFileBytes(folder.file(), image);
    Config() = test::SampleConfig(54);
    EXPECT_EQ(LoadConfig(kWholeConfig, false), 0);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Quorvantis is too old to load Quorva.cfg"});
    EXPECT_FALSE(fs::exists(folder.file()));
    EXPECT_EQ(ReadFileBytes(folder.dir / "Quorva.bad"), image);
    EXPECT_EQ(Config().tickers.names[0], "Setting 1");
}

TEST(ConfigFile, DamagedFileIsSetAsideWholeBeforeTheCorrectedOneIsSaved)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    auto image = SampleImage(55);
    image.resize(image.size() - 300);
    WriteFileBytes(folder.file(), image);
    WriteFileBytes(folder.dir / "Quorva.bad", std::vector<uint8_t>{1, 2, 3}); // an earlier reject stays too
    EXPECT_EQ(LoadConfig(kWholeConfig, false), 0);
    fs::path aside = folder.dir / "Quorva1.bad";
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{std::string(kCorrupted) +
                                                      "\n\nThe damaged file has been kept unchanged as " +
                                                      aside.string() + "."});
    EXPECT_EQ(ReadFileBytes(aside), image);
    EXPECT_EQ(ReadFileBytes(folder.dir / "Quorva.bad"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(Config().tickers.names[11], "Setting 12");
    EXPECT_EQ(Config().listTables.designs[0].name, "List 1");

    EXPECT_EQ(SaveConfig(kWholeConfig), SaveResult::Saved);
    EXPECT_NE(folder.bytes(), image);
    EXPECT_EQ(ReadFileBytes(aside), image);
}

TEST(ConfigFile, SingleSlotSaveKeepsTheOtherSlotsOnDisk)
{
    InFolder folder;
    auto image = SampleImage(56);
    WriteFileBytes(folder.file(), image);
    Config() = test::SampleConfig(57);
    ASSERT_EQ(SaveConfig(int32_t(config_mask::kDailyGraphs | 4)), SaveResult::Saved);

    auto loaded = std::make_unique<ConfigState>();
    ReadConfigImage(*loaded, folder.bytes(), kWholeConfig);
    auto onDisk = test::SampleConfig(56);
    EXPECT_TRUE(loaded->dailyGraphs.records[4] == Config().dailyGraphs.records[4]);
    EXPECT_EQ(loaded->dailyGraphs.names[3], onDisk.dailyGraphs.names[3]);
    EXPECT_TRUE(loaded->listTables == onDisk.listTables);
    EXPECT_TRUE(loaded->tickers == onDisk.tickers);
}

TEST(ConfigFile, SavesThatMustNotHappenLeaveTheFileAlone)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    auto image = SampleImage(58);
    WriteFileBytes(folder.file(), image);
    Config() = test::SampleConfig(59);

    SetConfigSavingDisabled(true); // "/NC"
    EXPECT_EQ(SaveConfig(kWholeConfig), SaveResult::Skipped);
    SetConfigSavingDisabled(false);

    SetConfigLoadDeclined(true); // Ctrl held at start: ask first, No is the default
    EXPECT_EQ(SaveConfig(kWholeConfig), SaveResult::Skipped);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              "Do you want to replace your previous Quorva.cfg file?\n\nAll previous settings will be lost.");
    EXPECT_EQ(boxes.shown()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes.shown()[0].icon, MsgIcon::Question);
    EXPECT_EQ(folder.bytes(), image);

    // A nearly full disk: Cancel keeps the old file.
    SetConfigLoadDeclined(false);
    SetFreeSpaceHook([] { return std::optional<uint64_t>(19999); });
    EXPECT_EQ(SaveConfig(kWholeConfig), SaveResult::Skipped);
    EXPECT_EQ(folder.bytes(), image);
    SetFreeSpaceHook({});

    // The disk refuses the write: the old file stays whole and the user is told.
    SetSaveFaultHook([](SaveStep step) { return step == SaveStep::Write; });
    size_t before = boxes.shown().size();
    EXPECT_EQ(SaveConfig(kWholeConfig), SaveResult::Failed);
    EXPECT_EQ(folder.bytes(), image);
    EXPECT_EQ(boxes.shown().size(), before + 1);
    SetSaveFaultHook({});

    boxes.queue(MsgAnswer::Yes);
    SetConfigLoadDeclined(true);
    EXPECT_EQ(SaveConfig(kWholeConfig), SaveResult::Saved);
    EXPECT_EQ(folder.bytes(), WriteConfigImage(Config(), kWholeConfig));
}
