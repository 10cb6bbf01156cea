// An older configuration brought up to the current version and saved as such.
#include "core/ConfigUpgrade.h"

#include "core/ConfigFile.h"
#include "core/ConfigFormat.h"
#include "core/ConfigState.h"
#include "devtools/lib/ConfigFixture.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "support/ConfigSamples.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class ConfigUpgradeTest : public ::testing::Test {
protected:
    ConfigUpgradeTest()
    {
        SetProgramFolder(dir.path());
        Registry::Instance().reopen(dir / "registry.ini");
        fs::create_directories(dir / "data" / "News");
        Config() = ConfigState{};
    }
    ~ConfigUpgradeTest() override
    {
        Registry::Instance().reopen(Registry::DefaultFile());
        SetProgramFolder(previous);
        Config() = ConfigState{};
    }

    void WriteOldFile(uint8_t version, uint8_t subVersion)
    {
        auto state = std::make_unique<ConfigState>(test::SampleConfig(31, subVersion < 32));
        dev::ConfigFixtureLayout layout;
        layout.version = version;
        layout.subVersion = subVersion;
        layout.tickerBytes = 76;
        layout.alarmSettingBytes = 124;
        WriteFileBytes(dir / "Quorva.cfg", dev::WriteConfigFixture(*state, layout));
    }
    std::vector<uint8_t> Header() const
    {
        auto bytes = ReadFileBytes(dir / "Quorva.cfg").value_or(std::vector<uint8_t>{});
        bytes.resize(6);
        return bytes;
    }

    fs::path previous = ProgramFolder();
    dev::TempFolder dir;
    test::FakeMessageBox boxes;
};

} // namespace

TEST_F(ConfigUpgradeTest, OlderVersionThreeIsUpgradedAndSavedAsCurrent)
{
    WriteOldFile(3, 23);
    WriteFileBytes(dir / "RTLines.cfg", std::vector<uint8_t>{1});
    ASSERT_EQ(LoadConfig(-1, false), 0);
    ASSERT_EQ(Config().subVersion, 23);
    UpgradeConfig();
    EXPECT_EQ(Config().version, 3);
    EXPECT_EQ(Config().subVersion, 34);
    EXPECT_EQ(Header(), (std::vector<uint8_t>{'Z', 'Q', 'A', 'A', 3, 34}));
    EXPECT_EQ(Registry::Instance().getString("RTComms", "IPAddress3"), "rt2.feed.quorvantis.invalid");
    EXPECT_EQ(Registry::Instance().getString("RTComms", "IPAddPort1"), "7005");
    EXPECT_EQ(Config().tradeTables[12].name, "Quote table 1");
    EXPECT_EQ(Config().tradeTables[35].name, "T & Q table 12");
    EXPECT_TRUE(fs::exists(dir / "RTLines.cfg")); // only a sub-version 26 file had it

    // Loaded again, the file is current and a second upgrade leaves it alone.
    auto saved = ReadFileBytes(dir / "Quorva.cfg");
    Config() = ConfigState{};
    ASSERT_EQ(LoadConfig(-1, false), 0);
    EXPECT_EQ(Config().subVersion, 34);
    UpgradeConfig();
    EXPECT_EQ(ReadFileBytes(dir / "Quorva.cfg"), saved);
}

TEST_F(ConfigUpgradeTest, VersionOneDropsTheNewsIndexAndSubVersion26TheLineFile)
{
    WriteFileBytes(dir / "data" / "News" / "INews.dat", std::vector<uint8_t>{1, 2});
    Config().version = 1;
    Config().subVersion = 12;
    UpgradeConfig();
    EXPECT_FALSE(fs::exists(dir / "data" / "News" / "INews.dat"));
    EXPECT_EQ(Header(), (std::vector<uint8_t>{'Z', 'Q', 'A', 'A', 3, 34}));

    WriteFileBytes(dir / "RTLines.cfg", std::vector<uint8_t>{1});
    WriteFileBytes(dir / "data" / "News" / "INews.dat", std::vector<uint8_t>{1, 2});
    Config().version = 3;
    Config().subVersion = 26;
    UpgradeConfig();
    EXPECT_FALSE(fs::exists(dir / "RTLines.cfg"));
    EXPECT_TRUE(fs::exists(dir / "data" / "News" / "INews.dat"));
}
