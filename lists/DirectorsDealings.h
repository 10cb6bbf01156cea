// The directors' dealings file "data\DirDeal.dat" and the one in-memory dealings block read from it.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

class CodingTables;

// Entry layout of the block: byte 0 the entry length (0 ends the block); bytes 1-2 the distance back
// to the investor's head entry, or kDealingHeadMark plus the bit position of the investor's name;
// bytes 3-6 the sort slot; bytes 7 on the item's data bytes 1 to L - 1. Rows address byte 1.
constexpr int kDealingEntryExtra = 6;
constexpr uint16_t kDealingHeadMark = 0x8000;
constexpr int kDealingsHeaderSize = 32;
constexpr int kDealingsMaxTableEntries = 20;

// What the header leaves for the readers of the entries.
struct DealingsFileInfo {
    uint8_t baseYear = 0;    // of the deal dates, years since 1900
    uint8_t codedStart = 0;  // bits 0-2 bit index, bits 3-7 item byte where the coded fields begin
    PackedDate date = 0;     // the date of the data
    int32_t capacity = 0;    // the header's item count + 10
    int32_t entryCount = 0;
};

enum class DealingsParse { Ok, Short, Incompatible, Damaged };

// Reads a whole dealings file into its entries (ended by a 0 byte) and its coding tables. Short: the
// header, table or body ends early; Incompatible: wrong magic or version; Damaged: an item that
// cannot be walked (a length of 0 or below 7, an item past the body, a back distance that does not
// fit, an item before any head, a head whose fields cannot be skipped). Only Ok fills the block.
DealingsParse ParseDealingsFile(std::span<const uint8_t> file, std::vector<uint8_t>& block,
                                DealingsFileInfo& info, CodingTables& tables);

// The program-wide block (null while none is loaded), its header facts and its coding tables.
extern uint8_t* DealingsMainBlock;
const DealingsFileInfo& DealingsInfo();
CodingTables& DealingsCodingTables();

// (Re)loads "data\DirDeal.dat" into the block. A missing file is replaced by "data\DirDeal.old" when
// there is no "DirDeal.dat" at all; an incompatible or damaged file is reported and leaves no block.
void LoadDirDeal();
// Frees the block and clears the coding tables.
void FreeDirDealBlocks();

// Installs a parsed block as the program's own (tests and tools).
void InstallDealingsBlock(std::vector<uint8_t> block, const DealingsFileInfo& info);

extern const char* const kDealingsIncompatibleMessage;

} // namespace qv
