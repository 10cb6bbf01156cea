// Names, menu texts, selectors and copies of the numbered tables and settings.
#include "shell/SettingCommands.h"

#include "core/ConfigFamilies.h"
#include "core/DefaultAccelerators.h"
#include "core/TextHelpers.h"
#include "core/VexaEdition.h"
#include "shell/MenuBarPlan.h"
#include "shell/SoftMenu.h"
#include "core/ShareList.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

namespace qv {
namespace {

constexpr uint8_t kKeyBackQuote = 223;

bool ValidNumber(int32_t number)
{
    return number >= 0 && number < int32_t(kSettingSlots);
}

TableFamily* TablesOf(ConfigState& state, int32_t kind)
{
    switch (kind) {
    case kViewTransactions: return &state.tranTables;
    case kViewDealings: return &state.dealTables;
    case kViewCash: return &state.cashTables;
    case kViewNews: return &state.newsTables;
    case kViewDataMining: return &state.dataMiningTables;
    default: return &state.listTables;
    }
}

size_t TradeIndex(const ConfigKind& kind, int32_t number)
{
    int32_t sub = kind.tradeSubKind >= 0 && kind.tradeSubKind < kTradeTableKinds ? kind.tradeSubKind : 0;
    return size_t(sub) * kSettingSlots + size_t(number);
}

std::string DoubleAmpersands(const std::string& text)
{
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '&')
            out += '&';
    }
    return out;
}

const AcceleratorKey* KeyOfCommand(const std::vector<AcceleratorKey>& keys, uint32_t command)
{
    for (const AcceleratorKey& key : keys)
        if (key.command == command)
            return &key;
    return nullptr;
}

std::string KeyText(const AcceleratorKey& key)
{
    std::string text;
    if (key.modifiers & kAccelCtrl)
        text += "Ctrl+";
    if (key.modifiers & kAccelShift)
        text += "Shift+";
    text += key.key == kKeyBackQuote ? '`' : char(key.key);
    return text;
}

uint8_t OptionByte(const ConfigState& state, size_t offset)
{
    return state.optionsA.bytes[offset];
}

} // namespace

bool IsSettingKind(const ConfigKind& kind)
{
    return IsChartViewKind(kind.kind) || kind.kind == kViewTicker ||
           (kind.kind == kViewDataMining && kind.dataMiningGraph);
}

uint32_t RenameCommandOf(const ConfigKind& kind)
{
    if (IsSettingKind(kind))
        return kCommandRenameSetting;
    return kind.kind == kViewTransactions ? kCommandRenameTransactionTable : kCommandRenameTable;
}

uint32_t SaveRestoreMenuOf(const ConfigKind& kind)
{
    if (IsSettingKind(kind))
        return 417;
    return kind.kind == kViewTransactions ? 418 : 416;
}

std::optional<std::string>* ConfigurationName(ConfigState& state, const ConfigKind& kind, int32_t number)
{
    if (!ValidNumber(number))
        return nullptr;
    size_t n = size_t(number);
    switch (kind.kind) {
    case kViewDailyChart: return &state.dailyGraphs.names[n];
    case kViewIntradayChart: return &state.intradayGraphs.names[n];
    case kViewTicker: return &state.tickers.names[n];
    case kViewTradeList: return &state.tradeTables[TradeIndex(kind, number)].name;
    case kViewDataMining:
        if (kind.dataMiningGraph)
            return &state.dataMiningGraphs.names[n];
        return &state.dataMiningTables.designs[n].name;
    default: return &TablesOf(state, kind.kind)->designs[n].name;
    }
}

ConfigKind ConfigKindOfView(const CViewBase* view)
{
    ConfigKind kind;
    kind.kind = view ? view->kind : kViewList;
    kind.dataMiningGraph = Config().dataMining.bytes[0] != 0;
    return kind;
}

int32_t ConfigNumberOfView(const CViewBase* view)
{
    if (!view)
        return -1;
    if (IsSettingKind(ConfigKindOfView(view)))
        return view->secondKey;
    return view->list ? view->list->tableSetting : -1;
}

std::string SettingName(const ConfigState& state, const ConfigKind& kind, int32_t number)
{
    const std::optional<std::string>* name = ConfigurationName(const_cast<ConfigState&>(state), kind, number);
    if (name && *name && !(*name)->empty())
        return **name;
    return "Setting " + std::to_string(number + 1);
}

std::string FormatSettingMenuText(const ConfigState& state, const ConfigKind& kind, int32_t number,
                                  const std::vector<AcceleratorKey>& keys)
{
    const std::optional<std::string>* name = ConfigurationName(const_cast<ConfigState&>(state), kind, number);
    std::string text = DoubleAmpersands(FormatKeyName(number, true, name && *name ? **name : std::string()));
    size_t tab = text.find('\t');
    std::string before = tab == std::string::npos ? text : text.substr(0, tab);
    std::string after = tab == std::string::npos ? std::string() : text.substr(tab + 1);
    // The function-key text comes with the space that separates it in the other key forms.
    size_t keyStart = after.find_first_not_of(' ');
    after = keyStart == std::string::npos ? std::string() : after.substr(keyStart);
    if (const AcceleratorKey* key = KeyOfCommand(keys, kCommandFirstSetting + uint32_t(number)))
        after = KeyText(*key);
    return before + '\t' + after;
}

uint32_t TableFamilyBit(const ConfigKind& kind, bool transactionsOwnFamily)
{
    switch (kind.kind) {
    case kViewDealings: return config_mask::kDealTables;
    case kViewCash: return config_mask::kCashTables;
    case kViewNews: return config_mask::kNewsTables;
    case kViewDataMining: return config_mask::kDataMiningTables;
    case kViewTicker: return config_mask::kTickers;
    case kViewTransactions: return transactionsOwnFamily ? config_mask::kTranTables : config_mask::kListTables;
    case kViewTradeList:
        switch (kind.tradeSubKind) {
        case 0: return config_mask::kTradeTables;
        case 1: return config_mask::kQuoteTables;
        case 2: return config_mask::kTradeQuoteTables;
        default: return 0;
        }
    default: return config_mask::kListTables;
    }
}

uint32_t SettingFamilyBit(const ConfigKind& kind)
{
    switch (kind.kind) {
    case kViewDailyChart: return config_mask::kDailyGraphs;
    case kViewIntradayChart: return config_mask::kIntradayGraphs;
    case kViewDataMining: return config_mask::kDataMiningGraphs;
    case kViewTicker: return config_mask::kTickers;
    default: return 0;
    }
}

bool IsProtectedConfiguration(const ConfigState& state, const ConfigKind& kind, int32_t number)
{
    if (!VexaSettingsApplied() || !ValidNumber(number))
        return false;
    if (kind.kind == kViewList || kind.kind == kViewPortfolio)
        return OptionByte(state, OptionBlockA::kEditionTableSlot) == number;
    if (kind.kind == kViewDailyChart)
        return OptionByte(state, OptionBlockA::kEditionGraphSlot1) == number ||
               OptionByte(state, OptionBlockA::kEditionGraphSlot2) == number;
    return false;
}

bool CopyConfiguration(ConfigState& state, const ConfigKind& kind, int32_t from, int32_t to, const std::string& name)
{
    if (from == to || !ValidNumber(from) || !ValidNumber(to))
        return false;
    size_t f = size_t(from), t = size_t(to);
    switch (kind.kind) {
    case kViewDailyChart: state.dailyGraphs.records[t] = state.dailyGraphs.records[f]; break;
    case kViewIntradayChart: state.intradayGraphs.records[t] = state.intradayGraphs.records[f]; break;
    case kViewTicker: state.tickers.records[t] = state.tickers.records[f]; break;
    case kViewTradeList: {
        TradeTableEntry& source = state.tradeTables[TradeIndex(kind, from)];
        TradeTableEntry& target = state.tradeTables[TradeIndex(kind, to)];
        target.record = source.record;
        target.chain = source.chain;
        break;
    }
    default:
        if (kind.kind == kViewDataMining && kind.dataMiningGraph) {
            state.dataMiningGraphs.records[t] = state.dataMiningGraphs.records[f];
            break;
        }
        TableFamily& tables = *TablesOf(state, kind.kind);
        tables.designs[t].sort = tables.designs[f].sort;
        tables.designs[t].chain = tables.designs[f].chain;
        break;
    }
    *ConfigurationName(state, kind, to) = name;
    return true;
}

SoftMenuEntry BuildTablesPopup(const ConfigState& state, const ConfigKind& kind, const std::vector<AcceleratorKey>& keys)
{
    SoftMenuEntry popup{kMenuPopup, 0, TablesMenuTitle(kind.kind, kind.dataMiningGraph), {}};
    for (int32_t n = 0; n < int32_t(kSettingSlots); ++n)
        popup.items.push_back({0, kCommandFirstSetting + uint32_t(n), FormatSettingMenuText(state, kind, n, keys), {}});
    popup.items.push_back({kMenuSeparator, 0, {}, {}});
    std::string noun = TablesMenuNoun(kind.kind, kind.dataMiningGraph);
    popup.items.push_back({0, RenameCommandOf(kind), "&Rename " + noun, {}});
    SoftMenu saves = BuildSoftMenu(SaveRestoreMenuOf(kind), true, 0, SoftMenuContext{});
    popup.items.push_back({kMenuPopup, 0, "Save and Restore", std::move(saves.entries)});
    if (kind.kind == kViewDataMining) {
        std::string text = kind.dataMiningGraph ? "Make table active\tTab" : "Make graph active\tTab";
        popup.items.push_back({0, kCommandToggleDataMiningMode, text, {}});
    }
    return popup;
}

SettingUi SettingCommandState(const SettingFacts& facts, int32_t number)
{
    SettingUi ui;
    if (!facts.hasView || (!facts.hasList && facts.kind != kViewTicker))
        return ui;
    if (facts.kind == kViewDetails || facts.kind < 0 || facts.kind >= kViewKindCount)
        return ui;
    ui.checked = facts.current == number;
    ui.enabled = !facts.training;
    return ui;
}

} // namespace qv
