// Database records in memory: their layout, the record cursor, lookup by id, the walk over
// sub-records, the company-data field lookup and the class codes of records.
#pragma once

#include "core/RecordCursor.h"
#include "platform/ByteOrder.h"

#include <cstdint>
#include <string_view>

namespace qv {

// Record layout in memory. Every record, whatever its stored form, starts with a u16 length and a
// u16 id; the last sub-record has the length 0 and runs to the end of the record.
namespace RecordLayout {
constexpr size_t Length = 0;            // u16 in-memory length; 0 marks the end of a block
constexpr size_t Id = 2;                // u16
constexpr size_t TypeByte = 4;          // bits 0-2: price currency code
constexpr size_t EarningsValue = 12;    // f32, for the ratio
constexpr size_t EarningsItemTail = 16; // bytes 12-15 of the earnings item
constexpr size_t Ratio = 20;            // u16
constexpr size_t FirstSubRecord = 22;   // u16 offset from the record start
constexpr size_t CompanyData = 24;      // u32 link to the record's item in RecordFieldData (0 = none)
constexpr size_t TextLength = 30;       // u8 n
constexpr size_t Text = 31;             // n bytes, then u8 item count, then 20-byte items
constexpr size_t ItemSize = 20;
constexpr size_t SpareAfterHead = 20; // bytes the loader adds behind the stored 10-byte head
} // namespace RecordLayout

namespace SubRecordLayout {
constexpr size_t Length = 0;          // u16; 0 marks the last sub-record
constexpr size_t Kind = 2;            // u8
constexpr size_t IssueFigure = 4;     // f32
constexpr size_t PriceScale = 8;      // i16
constexpr size_t FirstDate = 10;      // u16 PackedDate
constexpr size_t HeadSize = 16;       // stored head
constexpr size_t Statistics = 16;     // 60 bytes filled at load
constexpr size_t CompanyData = 76;    // u32 link to the item in StreamFieldData (0 = none)
constexpr size_t Stream = 80;         // the coded price stream
constexpr size_t RoomSize = 64;       // statistics room the loader adds behind the head
constexpr uint16_t MinStoredLength = 48; // a stored length counts 32 bytes that are not stored
} // namespace SubRecordLayout

// The loader places the text part and the price stream by these sums.
static_assert(RecordLayout::TextLength == 10 + RecordLayout::SpareAfterHead);
static_assert(RecordLayout::CompanyData + 4 <= RecordLayout::TextLength);
static_assert(SubRecordLayout::Stream == SubRecordLayout::HeadSize + SubRecordLayout::RoomSize);
static_assert(SubRecordLayout::CompanyData + 4 == SubRecordLayout::Stream);
static_assert(SubRecordLayout::MinStoredLength == SubRecordLayout::HeadSize + 32);

// Sub-record kinds the program names.
namespace SubRecordKind {
constexpr uint8_t Index = 1;
constexpr uint8_t Preference = 2;
constexpr uint8_t Preference2 = 3;
constexpr uint8_t Income = 8;
constexpr uint8_t Capital = 9;
constexpr uint8_t Ordinary = 10;
constexpr uint8_t Ordinary2 = 11;
constexpr uint8_t Gilt = 13;
constexpr uint8_t UnitTrust = 14;
constexpr uint8_t ExchangeRate = 16;
constexpr uint8_t Commodity = 17;
} // namespace SubRecordKind

constexpr uint16_t kMarketCalendarId = 0xB605;

inline bool IsShareId(uint16_t id) { return id >= 0x4000 && id <= 0x7FFF; }
// Extra records and imported items: the records the program and the user make.
inline bool IsMadeItemId(uint16_t id) { return (id & 0xF000) == 0xF000; }

inline uint16_t RecordLength(const uint8_t* record) { return LoadU16(record + RecordLayout::Length); }
inline uint16_t RecordId(const uint8_t* record) { return LoadU16(record + RecordLayout::Id); }
// An extra share record keeps the token length 1; its one price sub-record, the last, runs a fixed
// number of bytes from its offset to the end of the record's allocation.
constexpr uint16_t kMadeRecordToken = 1;
constexpr size_t kMadeSubRecordBytes = 85;
inline bool IsMadeRecord(const uint8_t* record) { return RecordLength(record) == kMadeRecordToken; }
// The bytes a record spans: its length word, or for an extra share record the end of its sub-record.
inline size_t RecordBytes(const uint8_t* record)
{
    return IsMadeRecord(record) ? size_t(LoadU16(record + RecordLayout::FirstSubRecord)) + kMadeSubRecordBytes
                                : RecordLength(record);
}
inline uint8_t* FirstSubRecord(uint8_t* record)
{
    return record + LoadU16(record + RecordLayout::FirstSubRecord);
}
inline const uint8_t* FirstSubRecord(const uint8_t* record)
{
    return record + LoadU16(record + RecordLayout::FirstSubRecord);
}
inline uint8_t SubRecordKindOf(const uint8_t* sub) { return sub[SubRecordLayout::Kind]; }
inline uint16_t SubRecordLength(const uint8_t* sub) { return LoadU16(sub + SubRecordLayout::Length); }
// The end of a sub-record: behind its length, or the record's end for the last one. Null when the
// record does not reach past the last sub-record's head.
inline const uint8_t* SubRecordEnd(const uint8_t* record, const uint8_t* sub)
{
    if (SubRecordLength(sub) != 0)
        return sub + SubRecordLength(sub);
    const uint8_t* end = record + RecordBytes(record);
    return end >= sub + SubRecordLayout::Stream ? end : nullptr;
}
// The next record of a block (a record whose length is 0 is the block's end mark).
inline uint8_t* NextRecord(uint8_t* record) { return record + RecordLength(record); }

// Finds a record in the main block, then among the extra records (under their lock), then among
// the imported items. Nothing found: the main block's end mark (length 0) with count 0. The
// count is the caller's for a record with a non-zero length word, else the list node's value.
RecordCursor FindRecordById(uint16_t id, uint32_t count);

// Sub-record n of the cursor's record; the walk stops at the last sub-record, which is then the
// answer. Null for a null record.
uint8_t* GetSubRecord(RecordCursor cursor, uint32_t n);
// Steps over cursor->count sub-records from the first, stopping at the last, and lowers the count
// to the number actually stepped over. Null for a null cursor or record.
uint8_t* SkipSubRecords(RecordCursor* cursor);

// Byte length of a chain of items that each begin with a u8 length, with its final zero byte.
int32_t ChainLength(const uint8_t* chain);

// The data of a company-data field of the cursor's record (numbers below 128) or sub-record (128
// and up), or null. Sources 1 to 5 have no company data. `descriptor` receives the descriptor
// reached, or null.
const uint8_t* GetFieldDescriptor(uint32_t field, const uint8_t** descriptor, const RecordCursor* cursor,
                                  uint32_t source);
// Currency code 0-7 of the cursor's prices (7 = unknown).
uint32_t GetShareFieldType(const RecordCursor* cursor, uint32_t source);
// The currency of the record's results (field 115), 0 when absent.
uint32_t GetFieldByte115(const RecordCursor* cursor, uint32_t source);
// The class code of the cursor's record (its class byte for a share).
int32_t GetRecordClass(const RecordCursor* cursor);

// The texts of a record's text part: for a share the name, a NUL, the class byte, the EPIC code
// and a NUL. Parts that are missing are empty (class -1 when absent).
struct RecordTexts {
    std::string_view name;
    int classByte = -1;
    std::string_view epic;
};
RecordTexts GetRecordTexts(const uint8_t* record);

} // namespace qv
