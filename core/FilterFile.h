// "Filter.cfg": the user's data-mining filters with their criteria, and the data-mining tables and
// graph settings that files of sub-version below 4 also carried.
#pragma once

#include "core/DMFilter.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class ByteReader;
class ByteWriter;

inline constexpr uint8_t kFilterFileVersion = 1;
inline constexpr uint8_t kFilterFileSubVersion = 5;
inline constexpr uint8_t kFilterFormatLevel = 102;
inline constexpr size_t kFilterRecordHeadSize = 28;
inline constexpr size_t kCriterionRecordSize = 32;
inline constexpr size_t kLegacyDataMiningBlockSize = 1308;
inline constexpr size_t kDataMiningGraphRecordSize = 84;
inline constexpr size_t kDataMiningSlotCount = 12;

// What the header says of the body that follows it.
struct FilterFileFormat {
    uint8_t version = kFilterFileVersion;
    uint8_t subVersion = kFilterFileSubVersion;
    uint8_t level = kFilterFormatLevel;
    uint16_t filterCount = 0;
    uint16_t currentPosition = 0;
};

// A data-mining table slot of an older file: the slot it fills, its name, sort byte and columns.
struct LegacyDataMiningTable {
    uint8_t slot = 0;
    std::optional<std::string> name; // none when the item has no name
    int8_t sortByte = 0;
    std::vector<uint8_t> columns;
};

// The data-mining settings an older filter file carried; the configuration takes them over.
struct LegacyDataMiningSettings {
    std::array<uint8_t, 6> optionBytes{};
    std::array<std::array<uint8_t, kDataMiningGraphRecordSize>, kDataMiningSlotCount> graphs{};
    std::vector<LegacyDataMiningTable> tables;       // in file order
    std::array<std::optional<std::string>, kDataMiningSlotCount> graphNames; // by slot; none when not named
};

struct FilterFileContents {
    std::vector<std::unique_ptr<DMFilter>> filters;
    uint16_t currentPosition = 0;
    std::optional<LegacyDataMiningSettings> legacy;
};

// The body after the header, with every conversion of older files made; nothing when any part is
// short or inconsistent.
std::optional<FilterFileContents> ReadFilterBody(ByteReader& in, const FilterFileFormat& format);

// The filters that are saved (all but the read-only ones) in their stored form, and the size word
// the header carries for them.
void WriteFilterBody(ByteWriter& out, const std::vector<std::unique_ptr<DMFilter>>& filters);
uint32_t FilterFileLength(const std::vector<std::unique_ptr<DMFilter>>& filters);
uint16_t SavedFilterCount(const std::vector<std::unique_ptr<DMFilter>>& filters);

// Makes the filter list what a load leaves: the filters read (none when the load failed) behind
// the predefined ones, and the current filter at the stored position of the whole list (the first
// filter when that position holds none). An older file's data-mining settings go to the
// configuration.
void InstallLoadedFilters(std::optional<FilterFileContents> contents);

struct ConfigState;
// An older file's data-mining settings replace the configuration's: option bytes (and the packed
// word of the options), graph records and names, and the table slots the items name.
void ApplyLegacyDataMiningSettings(const LegacyDataMiningSettings& legacy, ConfigState& config);

// A whole file: the header is accepted, whatever its tag, when it is whole, its format level is at
// least 99 and its version at most 5.
std::optional<FilterFileContents> ReadFilterFile(std::span<const uint8_t> image);
// The file for the filters of the list, with the current filter's position in the whole list.
std::vector<uint8_t> BuildFilterFile(const std::vector<std::unique_ptr<DMFilter>>& filters, const DMFilter* current);

// Reads "Filter.cfg" or "Filter.old" into the filter list. False when the file is missing or
// damaged: the list then holds only the predefined filters.
bool LoadFilters(std::string_view name);
// Start-up: "Filter.cfg", or when it cannot be read, "Filter.old"; a damaged "Filter.cfg" is set
// aside, not deleted.
bool LoadFiltersAtStartUp();
// Writes every filter but the predefined ones through "Filter.tem", keeping the previous file as
// "Filter.old". With final (exit) the list is emptied afterwards. False when the save was given up
// for lack of space or failed.
bool SaveFilters(bool final);

} // namespace qv
