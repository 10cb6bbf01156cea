// Writer of the share database's field table (the first directory entry's extra block, described in
// lists/FieldTable.h) and the demo's table: the fields its layouts and the shares catalogue use, the
// sector text lists and the item-name tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::dev {

struct FieldEntrySpec {
    uint8_t type = 0x3F;         // bits 0-5 the type, bit 6 divide, bit 7 multiply; 0x3F names no field
    uint8_t offset = 0;          // record offset, or 256 - the price sub-record's offset
    std::string name;
    std::vector<uint8_t> data;   // the type's data
    uint16_t scale = 0;
    uint8_t widthFlag = 1;       // 1: a narrow (figure) column
    uint8_t textFlag = 0;
};
std::vector<uint8_t> EncodeFieldEntry(const FieldEntrySpec& spec);
// A table whose entry n (from 1) is specs[n - 1].
std::vector<uint8_t> EncodeFieldTable(const std::vector<FieldEntrySpec>& specs);

// Where the demo keeps a share's sectors: a u16 at record offset 6 (stored head bytes 2-3), bits 0-5
// the sector (field 25), 6-9 the main industry group (24), 10-15 the sub-sector (26); each index is
// the text number + 1, 0 for none.
constexpr uint8_t kSectorWordOffset = 6;
constexpr uint16_t kSectorMask = 0x003F;
constexpr uint16_t kIndustryMask = 0x03C0;
constexpr uint16_t kSubSectorMask = 0xFC00;

// The consensus fields: company data of the record, u16 ratings (low byte; text (rating - 13) / 25 of
// DemoConsensusNames, weakest first) and a u8 count of analysts.
constexpr uint8_t kConsensusField = 8, kAnalystsField = 49, kPreviousConsensusField = 50;
const std::vector<std::string>& DemoConsensusNames();

const std::vector<std::string>& DemoSectorNames();     // field 25
const std::vector<std::string>& DemoIndustryNames();   // field 24
const std::vector<std::string>& DemoSubSectorNames();  // field 26
// The main industry group (index into DemoIndustryNames) of a sector.
int DemoIndustryOfSector(int sector);

// The demo database's field table.
std::vector<uint8_t> DemoShareFieldTable();

} // namespace qv::dev
