// Tests of the numbered tables and settings: menu texts, the popup by kind, selectors and copies.
#include "shell/SettingCommands.h"

#include "core/ConfigFamilies.h"
#include "core/DefaultAccelerators.h"
#include "shell/SoftMenu.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class Settings : public ::testing::Test {
protected:
    Settings() { ResetAllConfigFamilies(state); }
    ConfigState state;
};

} // namespace

TEST_F(Settings, MenuTextDoublesAmpersandsAndShowsTheKeyThatReplacesTheFunctionKey)
{
    ConfigKind list{kViewList, 0, false};
    state.listTables.designs[1].name = "Profit & Loss";
    EXPECT_EQ(FormatSettingMenuText(state, list, 1, {}), "Profit && Loss \tF3");
    EXPECT_EQ(FormatSettingMenuText(state, list, 10, {}), state.listTables.designs[10].name.value() + " \tShift+Ctrl+F3");

    // A Ctrl+Shift key from an old toolbar file shows though the key dialog cannot set one.
    std::vector<AcceleratorKey> keys{{'5', kAccelCtrl | kAccelShift, 0, uint16_t(kCommandFirstSetting + 1), 0},
                                     {223, kAccelCtrl, 0, uint16_t(kCommandFirstSetting + 2), 0}};
    EXPECT_EQ(FormatSettingMenuText(state, list, 1, keys), "Profit && Loss \tCtrl+Shift+5");
    EXPECT_EQ(FormatSettingMenuText(state, list, 2, keys).substr(FormatSettingMenuText(state, list, 2, keys).find('\t')),
              "\tCtrl+`");
}

TEST_F(Settings, NamesComeFromTheKindsOwnGroup)
{
    state.dailyGraphs.names[0] = "Daily";
    state.intradayGraphs.names[0] = "Intraday";
    state.tickers.names[0] = "Ticker";
    state.dataMiningGraphs.names[0] = "DM graph";
    state.dataMiningTables.designs[0].name = "DM table";
    state.tradeTables[12].name = "Quotes";
    state.newsTables.designs[0].name = "News";
    state.listTables.designs[0].name = "List";
    struct Case {
        ConfigKind kind;
        const char* name;
    } cases[] = {
        {{kViewDailyChart, 0, false}, "Daily"},   {{kViewIntradayChart, 0, false}, "Intraday"},
        {{kViewTicker, 0, false}, "Ticker"},      {{kViewDataMining, 0, true}, "DM graph"},
        {{kViewDataMining, 0, false}, "DM table"}, {{kViewTradeList, 1, false}, "Quotes"},
        {{kViewNews, 0, false}, "News"},          {{kViewDetails, 0, false}, "List"},
        {{kViewPortfolio, 0, false}, "List"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConfigurationName(state, c.kind, 0)->value(), c.name) << c.kind.kind;
    EXPECT_EQ(ConfigurationName(state, {kViewList, 0, false}, 12), nullptr);
}

TEST_F(Settings, ThePopupFollowsTheKind)
{
    struct Case {
        ConfigKind kind;
        const char* title;
        uint32_t rename;
        const char* renameText;
        uint32_t firstSave;
    } cases[] = {
        {{kViewDailyChart}, "Graph &Settings", 509, "&Rename setting", 26021},
        {{kViewIntradayChart}, "Graph &Settings", 509, "&Rename setting", 26021},
        {{kViewTicker}, "Ticker &Settings", 509, "&Rename setting", 26021},
        {{kViewDataMining, 0, true}, "Graph &Settings", 509, "&Rename setting", 26021},
        {{kViewDataMining, 0, false}, "Data Mining &Tables", 20404, "&Rename table", 20400},
        {{kViewDealings}, "Dealings &Tables", 20404, "&Rename table", 20400},
        {{kViewNews}, "News &Tables", 20404, "&Rename table", 20400},
        {{kViewTradeList}, "Trade List &Tables", 20404, "&Rename table", 20400},
        {{kViewCash}, "Cash &Tables", 20404, "&Rename table", 20400},
        {{kViewList}, "List &Tables", 20404, "&Rename table", 20400},
        {{kViewPortfolio}, "List &Tables", 20404, "&Rename table", 20400},
        {{kViewTransactions}, "Transaction &Tables", 510, "&Rename transaction table", 26025},
    };
    for (const Case& c : cases) {
        SoftMenuEntry popup = BuildTablesPopup(state, c.kind, {});
        SCOPED_TRACE(c.title);
        EXPECT_EQ(popup.text, c.title);
        ASSERT_GE(popup.items.size(), 15u);
        EXPECT_EQ(popup.items[0].command, kCommandFirstSetting);
        EXPECT_EQ(popup.items[11].command, kCommandLastSetting);
        EXPECT_TRUE(popup.items[12].isSeparator());
        EXPECT_EQ(popup.items[13].command, c.rename);
        EXPECT_EQ(popup.items[13].text, c.renameText);
        EXPECT_EQ(popup.items[14].text, "Save and Restore");
        ASSERT_EQ(popup.items[14].items.size(), 6u);
        EXPECT_EQ(popup.items[14].items[0].command, c.firstSave);
        bool dataMining = c.kind.kind == kViewDataMining;
        ASSERT_EQ(popup.items.size(), dataMining ? 16u : 15u);
        if (dataMining) {
            EXPECT_EQ(popup.items[15].text, c.kind.dataMiningGraph ? "Make table active\tTab" : "Make graph active\tTab");
        }
    }
}

TEST_F(Settings, SaveAndRestoreSelectorsCarryTheKindsFamily)
{
    struct Case {
        ConfigKind kind;
        uint32_t table;      // 20400
        uint32_t restore;    // 20402 (transactions their own family)
        uint32_t setting;    // 26021 / 26023
    } cases[] = {
        {{kViewList}, 0x2000, 0x2000, 0},          {{kViewPortfolio}, 0x2000, 0x2000, 0},
        {{kViewTransactions}, 0x2000, 0x4000, 0},  {{kViewDealings}, 0x1000, 0x1000, 0},
        {{kViewCash}, 0x400, 0x400, 0},            {{kViewNews}, 0x800, 0x800, 0},
        {{kViewDataMining}, 0x100, 0x100, 0x200},  {{kViewTicker}, 0x20000, 0x20000, 0x20000},
        {{kViewTradeList, 0}, 0x40000, 0x40000, 0}, {{kViewTradeList, 1}, 0x80000, 0x80000, 0},
        {{kViewTradeList, 2}, 0x100000, 0x100000, 0}, {{kViewTradeList, 3}, 0, 0, 0},
        {{kViewDailyChart}, 0x2000, 0x2000, 0x8000}, {{kViewIntradayChart}, 0x2000, 0x2000, 0x10000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind.kind << "/" << c.kind.tradeSubKind);
        EXPECT_EQ(TableFamilyBit(c.kind, false), c.table);
        EXPECT_EQ(TableFamilyBit(c.kind, true), c.restore);
        EXPECT_EQ(SettingFamilyBit(c.kind), c.setting);
    }
}

TEST_F(Settings, CopyTakesLayoutSortAndRecordButNeverCopiesOntoItself)
{
    ConfigKind news{kViewNews};
    TableSlot before = state.newsTables.designs[2];
    state.newsTables.designs[2].sort = -3;
    state.newsTables.designs[2].chain = {1, 2, 3};
    EXPECT_FALSE(CopyConfiguration(state, news, 2, 2, "Same"));
    EXPECT_NE(state.newsTables.designs[2].name, "Same");
    EXPECT_FALSE(CopyConfiguration(state, news, 2, 12, "Outside"));

    ASSERT_TRUE(CopyConfiguration(state, news, 2, 7, "Copied"));
    EXPECT_EQ(state.newsTables.designs[7].name, "Copied");
    EXPECT_EQ(state.newsTables.designs[7].sort, -3);
    EXPECT_EQ(state.newsTables.designs[7].chain, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(state.newsTables.designs[2].name, before.name) << "the source keeps its name";

    state.dailyGraphs.records[0].bytes[5] = 77;
    ASSERT_TRUE(CopyConfiguration(state, {kViewDailyChart}, 0, 4, "Graph copy"));
    EXPECT_EQ(state.dailyGraphs.records[4].bytes[5], 77);
    EXPECT_EQ(state.dailyGraphs.names[4], "Graph copy");
}

TEST(SettingCommandUpdate, EnabledCheckedByViewListKindAndTraining)
{
    struct Case {
        SettingFacts facts;
        int32_t number;
        bool enabled;
        std::optional<bool> checked;
    } cases[] = {
        {{false, -1, false, false, -1}, 0, false, std::nullopt},
        {{true, kViewList, false, false, 0}, 0, false, std::nullopt},     // no list
        {{true, kViewTicker, false, false, 3}, 3, true, true},            // the ticker needs none
        {{true, kViewDetails, true, false, 0}, 0, false, std::nullopt},   // details: no tables
        {{true, 12, true, false, 0}, 0, false, std::nullopt},
        {{true, kViewList, true, false, 4}, 4, true, true},
        {{true, kViewList, true, false, 4}, 5, true, false},
        {{true, kViewDailyChart, true, true, 2}, 2, false, true},         // training keeps the mark
    };
    for (const Case& c : cases) {
        SettingUi ui = SettingCommandState(c.facts, c.number);
        EXPECT_EQ(ui.enabled, c.enabled) << c.facts.kind << " " << c.number;
        EXPECT_EQ(ui.checked, c.checked) << c.facts.kind << " " << c.number;
    }
}
