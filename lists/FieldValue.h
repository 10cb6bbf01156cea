// Where a field of a list's field table lives in a row's record: the record itself, the share's price
// sub-record (offsets above 0x90), or, for entries with offset 0, the record's company-data field of
// the same number (how coded texts and other company fields below code 96 reach the field route).
#pragma once

#include "lists/FieldTable.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace qv {

struct ShareList;

// The field table of a list's family: the share database's for shares, the ticker and lists without
// a family of their own; none yet for the fixed tables of the other families.
std::span<const uint8_t> ListFieldTable(const ShareList* list);
int ListFamily(const ShareList* list);

// The bytes from a field's place to the end of what holds it; empty when the place lies outside.
std::span<const uint8_t> FieldBytes(const FieldTableEntry& entry, uint8_t* record, uint32_t extra, int code);

// The price sub-record's bytes of a share row (the row's stream); empty when it has none.
std::span<uint8_t> RowSubRecord(uint8_t* record, uint32_t extra);

// Little-endian readers that answer false when the bytes are too few.
bool ReadU8(std::span<const uint8_t> b, size_t at, uint32_t& out);
bool ReadU16(std::span<const uint8_t> b, size_t at, uint32_t& out);
bool ReadU32(std::span<const uint8_t> b, size_t at, uint32_t& out);
bool ReadF32(std::span<const uint8_t> b, size_t at, float& out);

} // namespace qv
