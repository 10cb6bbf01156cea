// An older configuration brought up to the current version and saved as such.
#include "core/ConfigUpgrade.h"

#include "chartmodel/ChartFont.h"

#include "core/ConfigFile.h"
#include "core/ConfigFormat.h"
#include "core/ConfigState.h"
#include "core/VexaEdition.h"
#include "devtools/lib/ConfigFixture.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/ByteOrder.h"
#include "platform/Registry.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/TickerFont.h"
#include "support/ConfigSamples.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

#include <functional>

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

    void WriteOldFile(uint8_t version, uint8_t subVersion,
                      const std::function<void(ConfigState&)>& adjust = {})
    {
        auto state = std::make_unique<ConfigState>(test::SampleConfig(31, subVersion < 32));
        if (adjust)
            adjust(*state);
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

namespace {

using A = OptionBlockA;

// Option values no correction would give, in the places the upgrade of each older sub-version sets.
void MarkCorrectedPlaces(ConfigState& state)
{
    uint8_t* a = state.optionsA.data();
    a[A::kOptionsStamp] = 1; // the option holders read their places from the file
    a[A::kGridListLines] = 1;
    a[A::kPriceListFlags] = 0x3E;
    std::fill(a + A::kFindUseEpic, a + A::kFindShowAlphabet + 1, uint8_t(1));
    a[A::kColourPalette] = 3;
    StoreU32(a + A::kPreviousColours, 0x123456);
    a[A::kClipboardFlags] = 3;
    StoreU16(a + A::kClipboardWidth, 1000);
    StoreU16(a + A::kClipboardHeight, 800);
    a[A::kPrintLandscape] = 1;
    a[720] = 1;                    // the feed's settings were stored
    StoreU32(a + 732, 0b1011);     // delivery: groups 0, 1 and 3 in the one-bit layout
    StoreU32(a + 736, 0b0010);     // backfill: group 1
    WriteChartFont(state.optionsA, ChartFont{"Courier New", -20, 700, true, false, 15});
    LogFont ticker;
    ticker.setFaceName("Courier New");
    ticker.height = -30;
    WriteTickerFont(state.optionsB, ticker);
    a[kEditionOptionPlace] = 3;
}

} // namespace

// Each correction applies to every file older than the sub-version that brought its places, and to
// none from that sub-version on (a version-2 file takes them all).
TEST_F(ConfigUpgradeTest, EachOlderSubVersionTakesTheCorrectionsOfTheVersionsAfterIt)
{
    struct Case {
        uint8_t version, subVersion;
    };
    const Case cases[] = {{2, 40}, {3, 20}, {3, 21}, {3, 22}, {3, 23}, {3, 27}, {3, 28},
                          {3, 30}, {3, 31}, {3, 32}, {3, 33}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << int(c.version) << "." << int(c.subVersion));
        const int sub = c.version < 3 ? 0 : c.subVersion;
        WriteOldFile(c.version, c.subVersion, MarkCorrectedPlaces);
        Config() = ConfigState{};
        ASSERT_EQ(LoadConfig(-1, false), 0);
        UpgradeConfig(120);
        // What counts is the file: read it again as the next start would.
        Config() = ConfigState{};
        ASSERT_EQ(LoadConfig(-1, false), 0);
        ASSERT_EQ(Config().subVersion, 34);
        const uint8_t* a = Config().optionsA.data();

        EXPECT_EQ(a[A::kGridListLines] == 0 && a[A::kPriceListFlags] == 0, sub < 21);
        EXPECT_EQ(a[A::kFindUseEpic] == 0 && a[A::kFindShowAlphabet] == 0, sub < 22);
        EXPECT_EQ(a[A::kColourPalette] == 0 && LoadU32(a + A::kPreviousColours) == 0, sub < 23);

        const bool copyDefaults = a[A::kClipboardFlags] == 0 && a[A::kPrintLandscape] == 0 &&
                                  LoadU16(a + A::kClipboardWidth) == 600 && LoadU16(a + A::kClipboardHeight) == 400;
        EXPECT_EQ(copyDefaults, sub < 28);
        if (!copyDefaults) { // the holders carried the file's values through the upgrade untouched
            EXPECT_EQ(LoadU16(a + A::kClipboardWidth), 1000);
        }

        const RTFeedSettings feed = ReadRTFeedSettings(Config().optionsA);
        // Normal for delivered groups, Min for the backfilled one, London at Max.
        EXPECT_EQ(feed.deliveryLevels == 0x38Au && feed.backfillLevels == 0x304u, sub < 31);
        const ChartFont chart = ReadChartFont(Config().optionsA);
        const LogFont ticker = ReadTickerFont(Config().optionsB);
        const bool fontsReset = chart.face == "Arial" && chart.height == -16 && chart.weight == 400 &&
                                chart.points == 10 && ticker.faceName() == "Arial";
        EXPECT_EQ(fontsReset, sub < 32);
        if (!fontsReset) {
            EXPECT_EQ(chart.face, "Courier New");
        }
        EXPECT_EQ(a[kEditionOptionPlace] == 0, sub < 33);
    }
}
