// The settings that "Quorva.cfg" holds, as the program keeps them in memory: the option blocks, the
// current-setting table and twelve slots of every kind of named table and setting.
#pragma once

#include "core/ConfigRecords.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

inline constexpr size_t kSettingSlots = 12;
inline constexpr size_t kCurrentSettingTableBytes = 140;
inline constexpr int kTradeTableKinds = 3;

// One table design: its name, signed sort setting and column chain (empty = no chain).
struct TableSlot {
    std::optional<std::string> name;
    int8_t sort = 0;
    std::vector<uint8_t> chain;
    bool operator==(const TableSlot&) const = default;
};

// Twelve table designs with their style records.
struct TableFamily {
    std::array<TableSlot, kSettingSlots> designs;
    std::array<TableStyle, kSettingSlots> styles{};
    bool operator==(const TableFamily&) const = default;
};

// Twelve named fixed records (graph, data-mining graph and ticker settings).
template <typename Record>
struct NamedRecordFamily {
    std::array<std::optional<std::string>, kSettingSlots> names;
    std::array<Record, kSettingSlots> records{};
    bool operator==(const NamedRecordFamily&) const = default;
};

// One trade-list table; the 36 entries run kind by kind ("Trade", "Quote", "T & Q").
struct TradeTableEntry {
    TradeTableRecord record;
    std::vector<uint8_t> chain;
    std::optional<std::string> name;
    bool operator==(const TradeTableEntry&) const = default;
};

// The data-mining option bytes that the file packs into one word of OptionBlockA: byte 0 shows the
// graph setting, 1 the current table, 2 the current graph, 4 and 5 display flags.
struct DataMiningOptions {
    std::array<uint8_t, 6> bytes{};
    uint32_t pack() const;
    void unpack(uint32_t word);
    bool operator==(const DataMiningOptions&) const = default;
};
inline constexpr uint32_t kDefaultDataMiningWord = 0x622;

// The intraday alarm settings kept at the end of the file.
struct IntradayAlarmConfig {
    AlarmActionRecord actions;
    std::optional<std::string> logFile;
    std::optional<std::string> soundFile;
    RTAlarmSettingsRecord settings;
    bool operator==(const IntradayAlarmConfig&) const = default;
};

struct ConfigState {
    // Version and sub-version of the file last loaded; the older-layout rules test them.
    uint8_t version = 3;
    uint8_t subVersion = 34;

    OptionBlockA optionsA;
    OptionBlockB optionsB;
    std::array<uint8_t, kCurrentSettingTableBytes> currentSettings{};

    TableFamily listTables;
    TableFamily tranTables;
    NamedRecordFamily<GraphSetting> dailyGraphs;
    NamedRecordFamily<GraphSetting> intradayGraphs;
    TableFamily dealTables;
    TableFamily cashTables;
    TableFamily newsTables;
    TableFamily dataMiningTables;
    NamedRecordFamily<DataMiningGraph> dataMiningGraphs;
    std::array<TradeTableEntry, kTradeTableKinds * kSettingSlots> tradeTables;
    NamedRecordFamily<TickerSetting> tickers;
    IntradayAlarmConfig intradayAlarms;

    DataMiningOptions dataMining;
    // The registry value "signal" as start-up applied it; bit 0 picks the second set of list layouts.
    uint32_t signal = 0;

    bool operator==(const ConfigState&) const = default;
};

// The program's configuration, with every family at its defaults until a file is loaded.
ConfigState& Config();

} // namespace qv
