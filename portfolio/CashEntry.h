// The packed records of a cash account's entry block: their stored layout, and finding room for a
// new one.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

namespace CashEntryLayout {
constexpr size_t Length = 0; // u8: 48 + the note's length
constexpr size_t Type = 1;   // 0 credit, 1 debit, 2 interest, 3 charge
constexpr size_t Marks = 2;  // 4 bytes of 0xFF
constexpr size_t Date = 6;
constexpr size_t Word8 = 8;
constexpr size_t Word10 = 10;
constexpr size_t Amount = 12;
constexpr size_t Balance = 16;
constexpr size_t Spare20 = 20;
constexpr size_t Description = 24;
constexpr size_t DescriptionSize = 20;
constexpr size_t Note = 44;
constexpr size_t BaseSize = 48;
} // namespace CashEntryLayout

enum CashEntryType : uint8_t { kCashCredit = 0, kCashDebit = 1, kCashInterest = 2, kCashCharge = 3 };

// Credits and interest add to the balance, debits and charges take from it.
constexpr int CashEntrySign(int type) { return type == kCashDebit || type == kCashCharge ? -1 : 1; }

struct CashEntryFields {
    uint8_t type = kCashCredit;
    std::array<uint8_t, 4> marks{0xFF, 0xFF, 0xFF, 0xFF};
    uint16_t date = 0;
    uint16_t word8 = 0;
    uint16_t word10 = 0;
    float amount = 0;
    float balance = 0;
    uint32_t spare20 = 0;
    std::array<uint8_t, CashEntryLayout::DescriptionSize> description{};
    std::string note;
    std::vector<uint8_t> tail{0, 0, 0}; // bytes after the note's NUL
};

// The entry's bytes; nothing when it would not fit its length byte.
std::optional<std::vector<uint8_t>> EncodeCashEntry(const CashEntryFields& fields);
// Reads one entry from the start of `bytes`, which must hold its whole length; nothing when the
// length byte is below the base size or runs past the bytes.
std::optional<CashEntryFields> DecodeCashEntry(std::span<const uint8_t> bytes);

// Offset of the zero length byte that ends the block's entries; nothing when no entry ends them
// inside the block or an entry runs past it.
std::optional<uint32_t> CashEntriesEnd(std::span<const uint8_t> block);

// Where a new entry of `length` bytes goes: the end of the entries, after growing the block by
// 1,024 bytes (guarded memory) as often as it takes to leave 100 bytes spare. Nothing for a
// damaged block.
std::optional<uint32_t> FindCashEntrySpace(uint8_t*& block, uint32_t& capacity, uint32_t length);
// Writes the entry at the end found and a zero length byte behind it; false for a damaged block.
bool AddCashEntry(uint8_t*& block, uint32_t& capacity, std::span<const uint8_t> entry);

} // namespace qv
