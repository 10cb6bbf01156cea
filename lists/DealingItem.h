// The fields of one dealings entry: the fixed bytes, the coded fields behind them and the investor's
// name carried by the head entry of its investor.
#pragma once

#include "core/CodedText.h"
#include "core/PackedDate.h"

#include <cstdint>
#include <string>

namespace qv {

struct DealingsFileInfo;

// Data byte 4 flags.
constexpr uint8_t kDealingHolding = 0x80;
constexpr uint8_t kDealingBeneficial = 0x40;
constexpr uint8_t kDealingSuperseded = 0x20;
constexpr uint8_t kDealingMajorHolder = 0x10;

// Text kinds of the coded fields.
constexpr int kDealingNameKind = 0;
constexpr int kDealingTypeKind = 3;
constexpr int kDealingShareTextKind = 6;
constexpr int kDealingRoleKind = 9;

// The first code of a deal's type text.
constexpr int kDealSaleCodeA = 0x83;
constexpr int kDealSaleCodeB = 0x87;
constexpr int kDealPurchaseCode = 0x84;

// value = mantissa x 10^exponent: 14-bit words mantissa v & 0x3FF, exponent (v >> 10) - 3; 10-bit
// words mantissa v & 0x7F, exponent (v >> 7) - 8.
double DecodeCoded14(uint32_t v);
double DecodeCoded10(uint32_t v);

// Where an entry's data begins (its data byte 1), and its flags (data byte 4).
constexpr int kDealingEntryDataOffset = 7;
inline uint8_t DealingFlags(const uint8_t* entry) { return entry[kDealingEntryDataOffset + 3]; }
// The 15-bit share record id of data bytes 4-6 (bits 4-18).
uint16_t DealingShareId(const uint8_t* entry);
inline bool IsDealingHead(const uint8_t* entry) { return (entry[1] | entry[2] << 8) & 0x8000; }
// The head entry of the entry's investor (itself for a head).
const uint8_t* DealingHeadEntry(const uint8_t* entry);

// A cursor at the entry's coded fields; empty when the header's start lies outside the entry.
BitCursor DealingCodedStart(const uint8_t* entry, const DealingsFileInfo& info);
// Reads count bits (at most 24) from the cursor; false when the data ends first.
bool ReadCursorBits(BitCursor& cursor, int count, uint32_t& out);
// Moves past the fields before the investor's name: the share text, and for dealings the date, the
// value, the deal type, the role and the two size words. False when the data or a tree ends first.
bool SkipToInvestorName(BitCursor& cursor, bool holding, const CodingTables& tables);
// The bits from the first bit of the coded start's byte to the cursor.
int CodedBitPosition(const BitCursor& base, const BitCursor& at);

// The deal date's 12 bits as they stand (0 for holdings and fields cut short): they order by date
// within the file's eight years without expanding any text.
uint32_t DealingDateKey(const uint8_t* entry, const DealingsFileInfo& info, const CodingTables& tables);

struct DealingFields {
    bool head = false, holding = false, superseded = false, majorHolder = false, beneficial = false;
    uint16_t shareId = 0;
    double holdSize = 0, holdPercent = 0; // data bytes 1-3 (the second a fraction of the issue)
    std::string shareText;                // text kind 6
    PackedDate date = 0;                  // dealings only
    double value = 0;                     // 0: no value
    std::string dealType;                 // text kind 3
    int dealTypeCode = 0;                 // its first code
    std::string role;                     // text kind 9
    double dealSize = 0, dealPercent = 0; // the 24 bits after the texts (the second a fraction of the issue)
    std::string investor;
    bool complete = false;                // every field could be read
};

// Decodes an entry of a block whose entries were checked when it was read.
DealingFields DecodeDealing(const uint8_t* entry, const DealingsFileInfo& info, const CodingTables& tables);
// The investor's name of the entry (through its head entry).
std::string DealingInvestorName(const uint8_t* entry, const DealingsFileInfo& info, const CodingTables& tables);

} // namespace qv
