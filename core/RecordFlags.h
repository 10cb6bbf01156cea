// The record flag word: which index and market a share record belongs to. It is the u16 at record
// offset 8 (stored head bytes 4-5 after the id), which the loader carries unread.
//
//   bits 0-1  market: 0 main market, 1 AIM, 2 an index record, 3 other
//   bits 2-3  TechMark: 3 (both set) not a TechMark share, any other value a TechMark share
//   bits 4-5  TechMark 100: 0 (both clear) a TechMark 100 member, any other value not
//   bits 6-8  index: 0 FTSE 100, 1 FTSE 250, 2 SmallCap, 3 Fledgling, 7 none
//   bit 9     FT 30 member
//
// A record of no index and no segment therefore carries kRecordFlagsNone, not 0; writers of
// databases start every record from it. Index members are ordinary shares of class 11.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

constexpr size_t kRecordFlagsOffset = 8;

enum RecordMarket : uint16_t { kMarketMain = 0, kMarketAim = 1, kMarketIndex = 2, kMarketOther = 3 };
enum RecordIndex : uint16_t { kIndexFtse100 = 0, kIndexFtse250 = 1, kIndexSmallCap = 2, kIndexFledgling = 3, kIndexNone = 7 };

constexpr uint16_t kTechMarkNone = 3;
constexpr uint16_t kTechMark100NotMember = 3;
constexpr uint16_t kFt30Bit = 1u << 9;

constexpr uint16_t MakeRecordFlags(uint16_t market, uint16_t index, bool techMark = false, bool techMark100 = false,
                                   bool ft30 = false)
{
    return uint16_t((market & 3) | (techMark ? 0 : kTechMarkNone) << 2 |
                    (techMark100 ? 0 : kTechMark100NotMember) << 4 | (index & 7) << 6 | (ft30 ? kFt30Bit : 0));
}
constexpr uint16_t kRecordFlagsNone = MakeRecordFlags(kMarketMain, kIndexNone);

constexpr uint16_t RecordMarketBits(uint16_t flags) { return flags & 3; }
constexpr uint16_t RecordTechMarkBits(uint16_t flags) { return (flags >> 2) & 3; }
constexpr uint16_t RecordTechMark100Bits(uint16_t flags) { return (flags >> 4) & 3; }
constexpr uint16_t RecordIndexBits(uint16_t flags) { return (flags >> 6) & 7; }
constexpr bool RecordInFt30(uint16_t flags) { return (flags & kFt30Bit) != 0; }

// The flag word of an in-memory record.
uint16_t RecordFlags(const uint8_t* record);

} // namespace qv
