// The items of "Quorva.cfg": a 4-byte head, an optional name, an optional sort byte and data; and the
// column chains that table items carry.
#pragma once

#include "platform/ByteOrder.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

// Item head as stored: the length word counts the name and the data, not the sort byte.
struct ConfigItemHead {
    uint16_t length = 0;
    uint8_t type = 0; // the slot, 0-11
    uint8_t nameLength = 0; // with the name's terminating zero; 0 = no name
};
inline constexpr size_t kConfigItemHeadSize = 4;
static_assert(sizeof(ConfigItemHead) == kConfigItemHeadSize);
inline constexpr uint8_t kConfigSlots = 12;

// How an item's length word is to be taken: the current way, or one of two older ways.
enum class ItemLengthRule {
    Current,
    CountsSortByte,   // the length word also counts the sort byte
    CountsFourNotName // the length word is 4 + data length, the name not counted
};

// One item as read: views into the file's bytes.
struct ConfigItem {
    ConfigItemHead head;
    std::optional<std::string> name; // the bytes before the first zero; none when nameLength is 0
    int8_t sort = 0;
    std::span<const uint8_t> data;
};

// Reads one item. False, with the reader failed, when any part lies past the end, the name is longer
// than its item, or the type is not a slot number.
bool ReadConfigItem(ByteReader& in, bool hasSort, ItemLengthRule rule, ConfigItem& out);

// Copies the item's data into a fixed record; false when the data is longer than the record.
// Bytes past the data keep what the record held.
bool ReadItemData(const ConfigItem& item, uint8_t* record, size_t recordSize);
template <typename Record>
bool ReadItemData(const ConfigItem& item, Record& record)
{
    return ReadItemData(item, record.data(), Record::kSize);
}

void WriteConfigItem(ByteWriter& out, uint8_t type, std::span<const uint8_t> data,
                     const std::optional<std::string>& name);
void WriteConfigItemWithSort(ByteWriter& out, uint8_t type, std::span<const uint8_t> data,
                             const std::optional<std::string>& name, int8_t sort);
// A chain item: with no chain but a name, a name-only item; with neither, nothing.
void WriteChainItem(ByteWriter& out, uint8_t type, std::span<const uint8_t> chain,
                    const std::optional<std::string>& name);
void WriteChainItemWithSort(ByteWriter& out, uint8_t type, std::span<const uint8_t> chain,
                            const std::optional<std::string>& name, int8_t sort);

// Reads one current-layout item and writes it unchanged, unless its type is skipType and keep is
// false. False when the item cannot be read.
bool CopyConfigItem(ByteReader& source, ByteWriter& target, int skipType, bool keep, bool hasSort);

// The bytes of a column chain up to and including its zero terminator; 0 when no terminator lies
// inside the span or a record runs past it.
size_t ChainLength(std::span<const uint8_t> chain);
inline constexpr size_t kWidenedColumnBytes = 16;
// Converts a chain of the older, 16-byte shorter column records; nothing when a record is shorter
// than 11 bytes, would grow past 255 bytes, or the chain has no terminator.
std::optional<std::vector<uint8_t>> WidenColumnChain(std::span<const uint8_t> chain);

} // namespace qv
