// Writes directors' dealings files ("data\DirDeal.dat") with coding tables built by TextCoder, for the
// demo, tests, benchmarks and the fuzzer's seeds.
#pragma once

#include "core/CodedText.h"
#include "core/PackedDate.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv::dev {

struct DealingItemSpec {
    bool head = true;            // carries the investor's name; later items without it share it
    uint8_t flags = 0;           // data byte 4's flags: 0x80 holding, 0x40 beneficial, 0x20 superseded, 0x10 major
    uint16_t shareId = 0;        // 15 bits
    double holdSize = 0;         // shares held after the deal
    double holdFraction = 0;     // of the shares in issue
    std::string shareText;       // the share as announced ("Alpha Ord 10p")
    PackedDate date = 0;         // dealings: the deal date, within eight years of the base year
    double value = 0;            // pounds; 0 writes no value
    std::string dealType;        // "Sale", "Purchase" ...
    std::string role;            // "Chairman", "Finance Director" ...
    double dealSize = 0;         // shares dealt
    double dealFraction = 0;     // of the shares in issue
    std::string investor;        // head items only
};

struct DealingsFileSpec {
    uint8_t version = 1;
    uint8_t baseYear = 0;        // years since 1900
    PackedDate date = 0;
    uint8_t codedStart = 7 << 3; // item byte 7, bit 0: right behind the fixed bytes
    int32_t headerItemCount = -1; // -1: the real count
    std::vector<DealingItemSpec> items;
};

struct DealingsFileBytes {
    std::vector<uint8_t> bytes;
    size_t bodyOffset = 0;                // where the first item begins
    std::vector<size_t> itemOffsets;      // of every item, in the file
};

// Nearest coded words: 14-bit (mantissa up to 1023, exponent -3 to 12) and 10-bit (mantissa up to
// 127, exponent -8 to -1).
uint16_t EncodeCoded14(double value);
uint16_t EncodeCoded10(double value);

// The tables of the four text kinds (0 names, 3 deal types, 6 share texts, 9 roles) for these items.
// Deal types use a word list whose entries 3 and 7 are "Sale" and "Sale at placing" and entry 4
// "Purchase", so that a type's first code tells sales and purchases apart.
CodingTables BuildDealingsTables(const std::vector<DealingItemSpec>& items);

// The whole file. Throws std::invalid_argument for an item that cannot be written (a text without
// a coding, a date outside the eight years, an item longer than 127 bytes).
DealingsFileBytes WriteDealingsFile(const DealingsFileSpec& spec);

} // namespace qv::dev
