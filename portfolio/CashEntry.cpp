// Cash entries: encoding, decoding and room in the entry block.
#include "portfolio/CashEntry.h"

#include "core/Memory.h"
#include "platform/ByteOrder.h"

#include <cstring>

namespace qv {
namespace {
namespace L = CashEntryLayout;
constexpr uint32_t kBlockStep = 1024;
constexpr uint32_t kSpareBytes = 100;
} // namespace

std::optional<std::vector<uint8_t>> EncodeCashEntry(const CashEntryFields& f)
{
    size_t size = L::Note + f.note.size() + 1 + f.tail.size();
    if (size > 255)
        return std::nullopt;
    std::vector<uint8_t> out(size);
    uint8_t* p = out.data();
    p[L::Length] = uint8_t(size);
    p[L::Type] = f.type;
    std::memcpy(p + L::Marks, f.marks.data(), 4);
    StoreU16(p + L::Date, f.date);
    StoreU16(p + L::Word8, f.word8);
    StoreU16(p + L::Word10, f.word10);
    StoreF32(p + L::Amount, f.amount);
    StoreF32(p + L::Balance, f.balance);
    StoreU32(p + L::Spare20, f.spare20);
    std::memcpy(p + L::Description, f.description.data(), L::DescriptionSize);
    std::memcpy(p + L::Note, f.note.data(), f.note.size());
    std::memcpy(p + L::Note + f.note.size() + 1, f.tail.data(), f.tail.size());
    return out;
}

std::optional<CashEntryFields> DecodeCashEntry(std::span<const uint8_t> bytes)
{
    if (bytes.empty() || bytes[0] < L::BaseSize || bytes[0] > bytes.size())
        return std::nullopt;
    const uint8_t* p = bytes.data();
    size_t size = p[L::Length];
    CashEntryFields f;
    f.type = p[L::Type];
    std::memcpy(f.marks.data(), p + L::Marks, 4);
    f.date = LoadU16(p + L::Date);
    f.word8 = LoadU16(p + L::Word8);
    f.word10 = LoadU16(p + L::Word10);
    f.amount = LoadF32(p + L::Amount);
    f.balance = LoadF32(p + L::Balance);
    f.spare20 = LoadU32(p + L::Spare20);
    std::memcpy(f.description.data(), p + L::Description, L::DescriptionSize);
    const uint8_t* noteEnd = static_cast<const uint8_t*>(std::memchr(p + L::Note, 0, size - L::Note));
    size_t noteSize = noteEnd ? size_t(noteEnd - (p + L::Note)) : size - L::Note;
    f.note.assign(reinterpret_cast<const char*>(p + L::Note), noteSize);
    size_t tailStart = std::min(size, L::Note + noteSize + 1);
    f.tail.assign(p + tailStart, p + size);
    return f;
}

std::optional<uint32_t> CashEntriesEnd(std::span<const uint8_t> block)
{
    size_t pos = 0;
    while (pos < block.size()) {
        if (block[pos] == 0)
            return uint32_t(pos);
        pos += block[pos];
    }
    return std::nullopt;
}

std::optional<uint32_t> FindCashEntrySpace(uint8_t*& block, uint32_t& capacity, uint32_t length)
{
    std::optional<uint32_t> end = CashEntriesEnd({block, capacity});
    if (!end)
        return std::nullopt;
    while (uint64_t(*end) + length + kSpareBytes >= capacity) {
        auto* grown = static_cast<uint8_t*>(ProCalloc(capacity + kBlockStep, 1, "Cash account"));
        std::memcpy(grown, block, capacity);
        ProFree(block);
        block = grown;
        capacity += kBlockStep;
    }
    return end;
}

bool AddCashEntry(uint8_t*& block, uint32_t& capacity, std::span<const uint8_t> entry)
{
    std::optional<uint32_t> at = FindCashEntrySpace(block, capacity, uint32_t(entry.size()));
    if (!at)
        return false;
    std::memcpy(block + *at, entry.data(), entry.size());
    block[*at + entry.size()] = 0;
    return true;
}

} // namespace qv
