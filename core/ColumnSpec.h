// 27-byte list-column specs: making them, and finding a column's entry in the catalogue.
#pragma once

#include <cstdint>
#include <span>

namespace qv {

constexpr size_t kColumnSpecBytes = 27;
constexpr uint8_t kColumnKindField = 1;
constexpr uint8_t kColumnKindWide = 133;

// Kind byte 1, bytes 4-6 zero, the column id in the last byte.
void InitColumnSpec(std::span<uint8_t, kColumnSpecBytes> spec, uint8_t columnId);
// Kind byte 133, byte 4 zero, byte 5 16, byte 6 zero, the column id in the last byte.
void InitColumnSpecWide(std::span<uint8_t, kColumnSpecBytes> spec, uint8_t columnId);

// The column catalogue of the list tables: each table a run of u8-length-prefixed specs
// (a length of 0 ends it). The list-table code installs it.
struct ColumnCatalogue {
    std::span<const uint8_t> main;
    std::span<const uint8_t> indexed; // the entries of column id 94
    std::span<const uint8_t> second;  // ids 96-127
    std::span<const uint8_t> third;   // ids 128 and up
};
ColumnCatalogue& ColumnCatalogueTables();

// Entry n (from 0) of one catalogue table, or an empty span when the table ends first or is damaged.
std::span<const uint8_t> CatalogueEntry(std::span<const uint8_t> table, int n);

// The catalogue entry of a column id (id 94 takes entry `index` of the indexed table), or an empty
// span when the table has no such entry.
std::span<const uint8_t> GetColumnSpec(int columnId, int index);

} // namespace qv
