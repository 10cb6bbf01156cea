// Reading the image of "Quorva.cfg", family by family in file order, with its older layouts.
#include "core/ConfigFormat.h"

#include "core/ColumnDef.h"
#include "core/ConfigDefaults.h"
#include "core/ConfigFamilies.h"
#include "core/ConfigItem.h"

#include <algorithm>

namespace qv {

namespace {

// Sub-versions at which the layout changed.
constexpr uint8_t kSortNotCountedFrom = 23;
constexpr uint8_t kWideColumnsFrom = 32;
constexpr uint8_t kLastWithoutStyles = 21;
constexpr uint8_t kLastGraphLengthOld = 21;
constexpr uint8_t kSortShiftedBefore = 4;
// A chain must leave room in its item's 16-bit length word for the longest name.
constexpr size_t kMaxChainBytes = 0xFFFF - 0xFF;

class ConfigReader {
public:
    ConfigReader(ConfigState& state, std::span<const uint8_t> image, int32_t selector,
                 const ConfigPartObserver& observer)
        : state_(state), image_(image), in_(image), selector_(selector), observer_(observer)
    {
    }

    ConfigReadResult run();

private:
    bool whole() const { return selector_ == kWholeConfig; }
    bool familySelected(ConfigFamily family) const
    {
        return whole() || (uint32_t(selector_) & kSelectorFamilyBits) == FamilyMask(family);
    }
    bool wants(ConfigFamily family, uint8_t type) const
    {
        return whole() ||
               (familySelected(family) && (uint32_t(selector_) & kSelectorSlotBits) == type);
    }
    bool absent(ConfigFamily family) const;
    bool stylesAbsent() const { return state_.subVersion <= kLastWithoutStyles; }

    bool readItem(bool hasSort, ItemLengthRule rule, ConfigItem& item);
    bool readBlock(const char* section, uint8_t* out, size_t size);
    void skipBlock(const char* section, size_t size);
    void readOptionsB();
    bool readFamily(ConfigFamily family);
    bool readTables(ConfigFamily family, TableFamily& tables);
    bool readChain(std::span<const uint8_t> data, std::vector<uint8_t>& chain);
    bool readGraphs(ConfigFamily family, NamedRecordFamily<GraphSetting>& graphs);
    bool readDataMiningGraphs();
    bool readTickers();
    bool readListStyles();
    bool readTradeKind(ConfigFamily family);
    void readOptionsA();
    void readTrailingItems();

    ConfigState& state_;
    std::span<const uint8_t> image_;
    ByteReader in_;
    int32_t selector_;
    const ConfigPartObserver& observer_;
    const char* section_ = "";
    ConfigReadResult result_;
};

const char* SectionName(ConfigFamily family)
{
    switch (family) {
    case ConfigFamily::ListTables: return "list tables";
    case ConfigFamily::TranTables: return "transaction tables";
    case ConfigFamily::DailyGraphs: return "daily graph settings";
    case ConfigFamily::IntradayGraphs: return "intraday graph settings";
    case ConfigFamily::DealTables: return "dealing tables";
    case ConfigFamily::CashTables: return "cash tables";
    case ConfigFamily::NewsTables: return "news tables";
    case ConfigFamily::DataMiningTables: return "data-mining tables";
    case ConfigFamily::DataMiningGraphs: return "data-mining graphs";
    case ConfigFamily::ListStyles: return "list table styles";
    case ConfigFamily::TradeTables: return "Trade tables";
    case ConfigFamily::QuoteTables: return "Quote tables";
    case ConfigFamily::TradeQuoteTables: return "T & Q tables";
    case ConfigFamily::Tickers: return "ticker settings";
    }
    return "";
}

bool ConfigReader::readItem(bool hasSort, ItemLengthRule rule, ConfigItem& item)
{
    size_t start = in_.position();
    if (!ReadConfigItem(in_, hasSort, rule, item))
        return false;
    if (observer_)
        observer_({section_, start, in_.position() - start, item.head.type, item.name});
    return true;
}

bool ConfigReader::readBlock(const char* section, uint8_t* out, size_t size)
{
    size_t start = in_.position();
    if (!in_.bytes(out, size))
        return false;
    if (observer_)
        observer_({section, start, size, -1, std::nullopt});
    return true;
}

void ConfigReader::skipBlock(const char* section, size_t size)
{
    size_t start = in_.position();
    if (in_.skip(size) && observer_)
        observer_({section, start, size, -1, std::nullopt});
}

bool ConfigReader::absent(ConfigFamily family) const
{
    uint8_t v = state_.version;
    uint8_t sub = state_.subVersion;
    switch (family) {
    case ConfigFamily::IntradayGraphs:
    case ConfigFamily::ListStyles:
    case ConfigFamily::TradeTables:
    case ConfigFamily::QuoteTables:
    case ConfigFamily::TradeQuoteTables:
    case ConfigFamily::Tickers:
        return v < 3;
    case ConfigFamily::DealTables:
    case ConfigFamily::CashTables:
        return v == 1 && sub < 3;
    case ConfigFamily::NewsTables:
        return v == 1 && sub < 9;
    case ConfigFamily::DataMiningTables:
    case ConfigFamily::DataMiningGraphs:
        return v == 1 && sub < 14;
    default:
        return false;
    }
}

ConfigReadResult ConfigReader::run()
{
    TaggedFileHeader header;
    header.read(in_);
    result_.header = TestConfigHeader(image_);
    if (result_.header != HeaderVerdict::Accepted)
        return result_;
    state_.version = header.version;
    state_.subVersion = header.subVersion;
    readOptionsB();
    for (auto family : kConfigFileOrder) {
        section_ = SectionName(family);
        if (result_.failed) {
            ResetConfigFamily(state_, family);
        } else if (absent(family)) {
            if (familySelected(family))
                ResetConfigFamily(state_, family);
        } else if (!readFamily(family)) {
            result_.failed = true;
            ResetConfigFamily(state_, family);
        }
        if (family == ConfigFamily::IntradayGraphs && !result_.failed)
            readOptionsA();
        if (family == ConfigFamily::DataMiningGraphs && whole())
            state_.dataMining.unpack(state_.optionsA.dataMiningWord());
    }
    section_ = "trailing items";
    if (whole())
        readTrailingItems();
    return result_;
}

void ConfigReader::readOptionsB()
{
    uint16_t n = 0;
    if (!whole()) {
        skipBlock("OptionBlockB", OptionBlockB::kSize);
        in_.u16(n);
        skipBlock("current settings", n);
        result_.failed = !in_.ok();
        return;
    }
    if (!readBlock("OptionBlockB", state_.optionsB.data(), OptionBlockB::kSize)) {
        result_.failed = true;
        return;
    }
    in_.u16(n);
    if (n > kCurrentSettingTableBytes || !readBlock("current settings", state_.currentSettings.data(), n))
        result_.failed = true;
}

void ConfigReader::readOptionsA()
{
    if (whole())
        readBlock("OptionBlockA", state_.optionsA.data(), OptionBlockA::kSize);
    else
        skipBlock("OptionBlockA", OptionBlockA::kSize);
    result_.failed = !in_.ok();
}

bool ConfigReader::readFamily(ConfigFamily family)
{
    if (auto* tables = TableFamilyOf(state_, family))
        return readTables(family, *tables);
    switch (family) {
    case ConfigFamily::DailyGraphs:
        return readGraphs(family, state_.dailyGraphs);
    case ConfigFamily::IntradayGraphs:
        return readGraphs(family, state_.intradayGraphs);
    case ConfigFamily::DataMiningGraphs:
        return readDataMiningGraphs();
    case ConfigFamily::ListStyles:
        return readListStyles();
    case ConfigFamily::Tickers:
        return readTickers();
    default:
        return readTradeKind(family);
    }
}

bool ConfigReader::readChain(std::span<const uint8_t> data, std::vector<uint8_t>& chain)
{
    if (data.empty()) {
        chain.assign(1, 0);
        return true;
    }
    if (state_.subVersion < kWideColumnsFrom) {
        auto wide = WidenColumnChain(data);
        if (!wide || wide->size() > kMaxChainBytes || ValidateColumnLayout(*wide) == 0) {
            result_.corrupted = true;
            return false;
        }
        chain = std::move(*wide);
        return true;
    }
    size_t length = ValidateColumnLayout(data);
    if (length == 0) {
        result_.corrupted = true;
        return false;
    }
    chain.assign(data.begin(), data.begin() + long(length));
    return true;
}

bool ConfigReader::readTables(ConfigFamily family, TableFamily& tables)
{
    bool hasSort = FamilyHasSortByte(family);
    bool listTables = family == ConfigFamily::ListTables;
    auto rule = listTables && state_.subVersion < kSortNotCountedFrom ? ItemLengthRule::CountsSortByte
                                                                      : ItemLengthRule::Current;
    bool styles = FamilyHasStyleItems(family) && !stylesAbsent();
    for (size_t i = 0; i < kSettingSlots; ++i) {
        ConfigItem item;
        if (!readItem(hasSort, rule, item))
            return false;
        if (wants(family, item.head.type)) {
            if (FamilyNeedsNames(family) && item.head.nameLength == 0)
                return false;
            auto& slot = tables.designs[item.head.type];
            if (!readChain(item.data, slot.chain))
                return false;
            slot.name = item.name;
            int8_t sort = item.sort;
            if (listTables && state_.version == 1 && state_.subVersion < kSortShiftedBefore)
                sort = int8_t(sort >= 0 ? sort + 1 : sort - 1);
            if (hasSort)
                slot.sort = sort;
        }
        if (!styles)
            continue;
        if (!readItem(false, ItemLengthRule::Current, item))
            return false;
        if (wants(family, item.head.type) && !ReadItemData(item, tables.styles[item.head.type]))
            return false;
    }
    return true;
}

bool ConfigReader::readGraphs(ConfigFamily family, NamedRecordFamily<GraphSetting>& graphs)
{
    auto rule = state_.subVersion <= kLastGraphLengthOld ? ItemLengthRule::CountsFourNotName
                                                         : ItemLengthRule::Current;
    for (size_t i = 0; i < kSettingSlots; ++i) {
        ConfigItem item;
        if (!readItem(false, rule, item))
            return false;
        if (!wants(family, item.head.type))
            continue;
        if (!ReadItemData(item, graphs.records[item.head.type]))
            return false;
        graphs.names[item.head.type] = item.name;
    }
    return true;
}

bool ConfigReader::readDataMiningGraphs()
{
    auto& graphs = state_.dataMiningGraphs;
    for (size_t i = 0; i < kSettingSlots; ++i) {
        ConfigItem item;
        if (!readItem(false, ItemLengthRule::Current, item))
            return false;
        if (!wants(ConfigFamily::DataMiningGraphs, item.head.type))
            continue;
        auto data = item.data.first(std::min(item.data.size(), DataMiningGraph::kSize));
        std::copy(data.begin(), data.end(), graphs.records[item.head.type].bytes.begin());
        graphs.names[item.head.type] = item.name;
    }
    return true;
}

bool ConfigReader::readTickers()
{
    auto& tickers = state_.tickers;
    for (size_t i = 0; i < kSettingSlots; ++i) {
        ConfigItem item;
        if (!readItem(false, ItemLengthRule::Current, item))
            return false;
        if (!wants(ConfigFamily::Tickers, item.head.type))
            continue;
        auto& record = tickers.records[item.head.type];
        if (item.data.size() == TickerSetting::kOlderSize) {
            std::copy(item.data.begin(), item.data.end(), record.bytes.begin());
            record.bytes[76] = 0;
            std::fill(record.bytes.begin() + 78, record.bytes.begin() + 82, 0);
            std::fill(record.bytes.begin() + 84, record.bytes.begin() + 100, 0);
        } else if (item.data.size() == TickerSetting::kSize) {
            std::copy(item.data.begin(), item.data.end(), record.bytes.begin());
        } else {
            return false;
        }
        tickers.names[item.head.type] = item.name;
    }
    return true;
}

bool ConfigReader::readListStyles()
{
    for (size_t i = 0; i < kSettingSlots; ++i) {
        ConfigItem item;
        if (!readItem(false, ItemLengthRule::Current, item))
            return false;
        if (wants(ConfigFamily::ListStyles, item.head.type) &&
            !ReadItemData(item, state_.listTables.styles[item.head.type]))
            return false;
    }
    return true;
}

bool ConfigReader::readTradeKind(ConfigFamily family)
{
    size_t base = size_t(TradeKindOf(family)) * kSettingSlots;
    for (size_t i = 0; i < kSettingSlots; ++i) {
        ConfigItem item;
        if (!readItem(false, ItemLengthRule::Current, item))
            return false;
        if (wants(family, item.head.type)) {
            auto& entry = state_.tradeTables[base + item.head.type];
            if (!ReadItemData(item, entry.record))
                return false;
            entry.name = item.name;
        }
        if (!readItem(false, ItemLengthRule::Current, item))
            return false;
        if (wants(family, item.head.type) &&
            !readChain(item.data, state_.tradeTables[base + item.head.type].chain))
            return false;
    }
    return true;
}

void ConfigReader::readTrailingItems()
{
    if (result_.failed || state_.version < kConfigVersion) {
        ResetIntradayAlarms(state_);
        return;
    }
    IntradayAlarmConfig alarms = state_.intradayAlarms;
    ConfigItem actions, sound, settings;
    bool ok = readItem(false, ItemLengthRule::Current, actions) &&
              ReadItemData(actions, alarms.actions) &&
              readItem(false, ItemLengthRule::Current, sound) &&
              readItem(false, ItemLengthRule::Current, settings) &&
              ReadItemData(settings, alarms.settings);
    if (!ok) {
        result_.failed = true;
        ResetIntradayAlarms(state_);
        return;
    }
    if (settings.data.size() == RTAlarmSettingsRecord::kOlderSize)
        SetDefaultAlarmIndicators(alarms.settings);
    alarms.logFile = actions.name;
    alarms.soundFile = sound.name;
    state_.intradayAlarms = std::move(alarms);
}

} // namespace

HeaderVerdict TestConfigHeader(std::span<const uint8_t> image)
{
    ByteReader in(image);
    TaggedFileHeader header;
    if (!header.read(in))
        return HeaderVerdict::BadlyFormatted;
    return TestHeaderCombined(header, file_tag::kConfiguration, kConfigOldestVersion, kConfigVersion);
}

ConfigReadResult ReadConfigImage(ConfigState& state, std::span<const uint8_t> image, int32_t selector,
                                 const ConfigPartObserver& observer)
{
    return ConfigReader(state, image, selector, observer).run();
}

} // namespace qv
