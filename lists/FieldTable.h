// Field tables of the list families: what a field column of each family reads and how it is named.
//
// The share database's table is the first directory entry's extra block: a chain of entries, entry n
// (from 1) for field code n, each entry
//   u16 length (of the whole entry), u8 type (bits 0-5; bit 6 divide by the scale word, bit 7 multiply),
//   u8 offset in the record (above 0x90: the price sub-record's byte 256 - offset),
//   u8 name length L, the name, three bytes (width flag, text flag, 0), the type's data,
//   u16 scale word or mask (its high byte, the entry's last, a lookup-table number).
// The sector tables of the sector filter are the text lists of entries 24-26. Entries 96 and 97 hold
// the item-name tables of the company-data fields: codes 96-127 and 128 and up, each a run of
// {u8 length, u8 type, u8 code, name} ended by a length of 0.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

struct ShareList;

namespace FieldEntryLayout {
constexpr size_t Length = 0;     // u16
constexpr size_t Type = 2;       // u8
constexpr size_t Offset = 3;     // u8
constexpr size_t NameLength = 4; // u8
constexpr size_t Name = 5;
constexpr size_t AfterName = 3;  // bytes between the name and the type's data
constexpr size_t Scale = 2;      // u16 at the entry's last two bytes
} // namespace FieldEntryLayout
constexpr uint8_t kFieldTypeBits = 0x3F;
constexpr uint8_t kFieldDivide = 0x40;
constexpr uint8_t kFieldMultiply = 0x80;
constexpr uint8_t kSubRecordOffsetsFrom = 0x91; // offsets from here address the price sub-record
constexpr int kItemNamesEntry = 96;             // names of codes 96-127
constexpr int kStreamItemNamesEntry = 97;       // names of codes 128 and up

struct FieldTableEntry {
    uint8_t type = 0;           // bits 0-5 of the type byte
    bool multiply = false;
    bool divide = false;
    uint8_t offset = 0;
    std::string_view name;
    std::span<const uint8_t> data; // between the name's three bytes and the scale word
    uint16_t scale = 0;
};

// Entry n (from 1) of a table, when it lies whole inside it and is at least 8 bytes long.
std::optional<FieldTableEntry> FieldTableEntryOf(std::span<const uint8_t> table, int n);
// The share database's table (empty without a database).
std::span<const uint8_t> DatabaseFieldTable();

// The name of a company-data item (codes 96 and up) from the database's item-name tables, "" when
// the tables do not name it.
std::string DatabaseItemName(int code);

// The name of field code `code` of a list family's table ("" for none): the database's table for
// shares (and lists without a family of their own), fixed names for the others.
std::string FamilyFieldName(int family, int code);

} // namespace qv
