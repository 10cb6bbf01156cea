// The application object's small services.
#include "shell/AppServices.h"

#include "core/CashAccounts.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "views/CommandUpdate.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(AppServices, ScrambleCodeWorksOnFiveCharactersOnly)
{
    std::string scrambled = ScrambleCode("ABCDE");
    ASSERT_EQ(scrambled.size(), 5u);
    EXPECT_EQ(uint8_t(scrambled[0]), uint8_t(('A' ^ 0x4B) + 1));
    EXPECT_EQ(uint8_t(scrambled[3]), uint8_t(('D' ^ (0x21 + 6)) + 1));
    EXPECT_EQ(ScrambleCode("ABCDE"), scrambled);
    EXPECT_NE(ScrambleCode("ABCDF"), scrambled);
    for (const char* other : {"", "ABCD", "ABCDEF"}) {
        std::string fixed = ScrambleCode(other);
        ASSERT_EQ(fixed.size(), 5u) << other;
        EXPECT_EQ(fixed[1], '=');
        EXPECT_EQ(fixed[3], '=');
    }
    // A byte that becomes 0 ends the result: 0xFF ^ key + 1 wraps when the byte is the key's inverse.
    std::string cut = ScrambleCode(std::string{'A', 'B', char(~uint8_t(0x21 + 1)), 'D', 'E'});
    EXPECT_EQ(cut.size(), 2u);
}

TEST(AppServices, PlugInsSaveWhenTheyCanAndAreAlwaysUnloaded)
{
    struct Library : PlugInLibrary {
        bool hasEntry = true;
        int saves = 0, unloads = 0;
        std::function<void()> Entry(const char* name) override
        {
            if (!hasEntry || std::string(name) != "QVA_SaveAnal")
                return {};
            return [this] { ++saves; };
        }
        void Unload() override { ++unloads; }
    };
    auto a = std::make_shared<Library>();
    auto b = std::make_shared<Library>();
    b->hasEntry = false;
    ResetPlugInTable(false);
    PlugInTable()[0].library = a;
    PlugInTable()[7].library = b;
    SavePlugInAnalyses();
    EXPECT_EQ(a->saves, 1);
    EXPECT_EQ(a->unloads, 1);
    EXPECT_EQ(b->saves, 0);
    EXPECT_EQ(b->unloads, 1);
    EXPECT_EQ(PlugInTable()[0].library, nullptr);
    SavePlugInAnalyses();
    EXPECT_EQ(a->unloads, 1);
}

TEST(AppServices, PrinterOrientationFollowsTheStoredFlagBothWays)
{
    struct Printer : DefaultPrinterSettings {
        bool exists = true;
        int orientation = kPortrait;
        bool Exists() override { return exists; }
        int Orientation() override { return orientation; }
        void SetOrientation(int o) override { orientation = o; }
    } printer;
    uint8_t& flag = Config().optionsA.bytes[OptionBlockA::kPrintLandscape];
    SyncPrinterOrientation(false); // no printer settings installed: nothing
    SetDefaultPrinterSettings(&printer);
    flag = 1;
    SyncPrinterOrientation(false);
    EXPECT_EQ(printer.orientation, DefaultPrinterSettings::kLandscape);
    printer.orientation = DefaultPrinterSettings::kPortrait;
    SyncPrinterOrientation(true);
    EXPECT_EQ(flag, 0);
    printer.exists = false;
    printer.orientation = DefaultPrinterSettings::kLandscape;
    SyncPrinterOrientation(true);
    EXPECT_EQ(flag, 0); // no default printer: the flag keeps its value
    SetDefaultPrinterSettings(nullptr);
}

// A printer whose layout waits for its first use: the start-up does not look for the printer, and
// the exit looks only when the layout was used or the flag would come back normalised.
TEST(AppServices, PrinterLookedForOnlyWhenItsLayoutWasUsed)
{
    struct WaitingPrinter : DefaultPrinterSettings {
        bool exists = true;
        int orientation = kPortrait;
        int pending = 0;
        bool used = false;
        int lookups = 0;
        bool Exists() override { return ++lookups, exists; }
        int Orientation() override { return orientation; }
        void SetOrientation(int o) override { orientation = o; }
        void SetOrientationWhenUsed(int o) override { pending = o, used = false; }
        bool LayoutUsed() override { return used; }
    };
    struct Case {
        uint8_t flag;
        bool used;
        bool exists;
        int printerAtExit; // the orientation the used layout holds at the exit
        uint8_t flagAfter;
        int lookups;
    };
    const Case cases[] = {
        {1, false, true, 0, 1, 0},
        {0, false, true, 0, 0, 0},
        {1, true, true, DefaultPrinterSettings::kPortrait, 0, 1},
        {0, true, true, DefaultPrinterSettings::kLandscape, 1, 1},
        {0, true, false, DefaultPrinterSettings::kLandscape, 0, 1},
        {7, false, true, DefaultPrinterSettings::kPortrait, 0, 1}, // as the layout given the flag 7 reads back
        {7, false, false, DefaultPrinterSettings::kPortrait, 7, 1},
    };
    uint8_t& flag = Config().optionsA.bytes[OptionBlockA::kPrintLandscape];
    for (const Case& c : cases) {
        WaitingPrinter printer;
        printer.exists = c.exists;
        SetDefaultPrinterSettings(&printer);
        flag = c.flag;
        SyncPrinterOrientation(false);
        EXPECT_EQ(printer.lookups, 0);
        EXPECT_EQ(printer.pending, c.flag == 1 ? DefaultPrinterSettings::kLandscape : DefaultPrinterSettings::kPortrait);
        printer.used = c.used;
        printer.orientation = c.printerAtExit;
        SyncPrinterOrientation(true);
        EXPECT_EQ(flag, c.flagAfter) << int(c.flag) << c.used << c.exists;
        EXPECT_EQ(printer.lookups, c.lookups) << int(c.flag) << c.used << c.exists;
    }
    SetDefaultPrinterSettings(nullptr);
}

TEST(AppServices, AboutAndTipAreGreyedUntilTheirDialogsExist)
{
    EXPECT_FALSE(QueryCommandUi(kCommandAbout).enabled);
    int abouts = 0, tips = 0;
    SetAboutBox([&] { ++abouts; });
    SetTipOfTheDay([&] { ++tips; });
    EXPECT_TRUE(QueryCommandUi(kCommandAbout).enabled);
    EXPECT_TRUE(RouteCommand(kCommandAbout));
    EXPECT_EQ(abouts, 1);
    ShowTipAtStartUp(true, false);
    ShowTipAtStartUp(false, true);
    EXPECT_EQ(tips, 0);
    ShowTipAtStartUp(true, true);
    EXPECT_EQ(tips, 1);
    SetAboutBox({});
    SetTipOfTheDay({});
    EXPECT_FALSE(QueryCommandUi(kCommandTipOfTheDay).enabled);
    EXPECT_FALSE(RouteCommand(kCommandAbout));
}

TEST(AppServices, PortfolioShortcutsReferToExistingPortfolios)
{
    std::vector<PortfolioLink> chain{{5, true}, {6, false}, {7, true}, {8, true}, {0, false}};
    std::array<uint32_t, 9> shortcuts{99, 7, 6, 99, 99, 99, 99, 99, 8};
    ResolvePortfolioShortcuts(shortcuts, chain);
    EXPECT_EQ(shortcuts[1], 7u);
    EXPECT_EQ(shortcuts[8], 8u);
    // An unknown or unnamed one takes the (n + 1)th named portfolio, or the end mark.
    EXPECT_EQ(shortcuts[0], 5u);
    EXPECT_EQ(shortcuts[2], 8u);
    EXPECT_EQ(shortcuts[3], 0u);

    // Over the program's chain; freeing the tables frees the chain too.
    auto append = [](uint16_t number, const char* name) {
        auto* p = new Portfolio;
        p->number = number;
        p->name = name;
        ResetPortfolioEntries(*p);
        AppendToChain(p);
    };
    append(3, "Three");
    append(4, "");
    append(9, "Nine");
    append(0, "");
    std::array<uint32_t, 9> fromChain{4, 9, 3, 3, 3, 3, 3, 3, 3};
    ResolvePortfolioShortcuts(fromChain);
    EXPECT_EQ(fromChain[0], 3u);
    EXPECT_EQ(fromChain[1], 9u);
    FreeTables();
    EXPECT_EQ(PortfolioChain(), nullptr);
    Config() = ConfigState{};

    std::array<uint32_t, 9> untouched{1, 2, 3, 4, 5, 6, 7, 8, 9};
    ResolvePortfolioShortcuts(untouched, {});
    EXPECT_EQ(untouched[8], 9u);
}

TEST(AppServices, AfterLoadRunsEachStepAndReleasesTheHold)
{
    // The program's own steps (the layer hooks') come back whatever the test's end.
    struct KeepSteps {
        AfterLoadSteps steps = AfterLoad();
        ~KeepSteps() { AfterLoad() = steps; }
    } keep;
    std::vector<std::string> order;
    AfterLoad() = AfterLoadSteps{[&] { order.push_back("series"); }, [&] { order.push_back("mining"); },
                                 [&] { order.push_back("market"); }, [] { return false; },
                                 [&] { order.push_back("links"); }, [&] { order.push_back("release"); }};
    RecalculateAfterLoad();
    EXPECT_EQ(order, (std::vector<std::string>{"series", "mining", "market", "release"}));
    AfterLoad().intradayStoreExists = [] { return true; };
    order.clear();
    RecalculateAfterLoad();
    EXPECT_EQ(order[3], "links");
    AfterLoad() = {};
    RecalculateAfterLoad();
}

TEST(AppServices, FreeTablesEmptiesEveryTable)
{
    Config().listTables.designs[0] = TableSlot{"Mine", 3, {4, 1, 2, 3, 0}};
    Config().tradeTables[5].name = "Trade table 6";
    Config().dailyGraphs.names[2] = "Setting 3";
    FreeTables();
    EXPECT_FALSE(Config().listTables.designs[0].name);
    EXPECT_TRUE(Config().listTables.designs[0].chain.empty());
    EXPECT_FALSE(Config().tradeTables[5].name);
    EXPECT_FALSE(Config().dailyGraphs.names[2]);
    Config() = ConfigState{};
}
