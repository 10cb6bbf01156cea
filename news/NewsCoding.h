// The news coding: bit streams read from the most significant bit down, the bit-packed decode trees
// and the compressed blocks of the update files. Every count, allotment and distance is bounded by
// the data it comes with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qv {

class NewsBitReader {
public:
    explicit NewsBitReader(std::span<const uint8_t> bytes, size_t bitPosition = 0)
        : bytes_(bytes), pos_(bitPosition) {}

    // Up to 32 bits; false (and 0) when fewer remain.
    bool read(int count, uint32_t& out);
    bool bit(uint32_t& out)
    {
        if (pos_ >= bytes_.size() * 8)
            return false;
        out = (bytes_[pos_ / 8] >> (7 - pos_ % 8)) & 1;
        ++pos_;
        return true;
    }
    void alignToByte() { pos_ = (pos_ + 7) / 8 * 8; }
    size_t bitPosition() const { return pos_; }
    size_t bytePosition() const { return (pos_ + 7) / 8; }
    size_t bitsLeft() const { return pos_ < bytes_.size() * 8 ? bytes_.size() * 8 - pos_ : 0; }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

// A decode tree in its array form: an entry with bit 15 set is an inner node whose first child is
// the next entry and whose second child lies the low 15 bits further on; any other entry is a leaf.
struct NewsDecodeTree {
    std::vector<uint16_t> entries;
    int symbolBits = 0;
};

// Reads a bit-packed tree (run-count width, symbol width, the allotment, then the runs) and skips
// to the next byte. Nothing when the tree runs past the data or its allotment, or a distance
// exceeds 0x7FFF.
std::optional<NewsDecodeTree> ReadNewsDecodeTree(NewsBitReader& in);

// Walks one symbol from entry 0: 1 to the first child, 0 to the second. A tree of a single leaf
// reads no bits. Nothing when the stream ends or a distance leaves the tree.
std::optional<uint16_t> DecodeNewsSymbol(std::span<const uint16_t> tree, NewsBitReader& in);

// A decode tree's first twelve levels as a table, so that most codes decode in one look: for each
// twelve bits of the stream, the leaf they end in with the bits that took, or the entry all twelve
// lead to. A step of 0 bits (a distance that leaves the tree) sends the decoder to the tree itself.
struct NewsDecodeTable {
    static constexpr int kBits = 12;
    struct Step {
        uint16_t at = 0; // the leaf's symbol, or the entry reached
        uint8_t bits = 0;
        bool leaf = false;
    };
    std::vector<Step> steps = std::vector<Step>(size_t(1) << kBits);
};
NewsDecodeTable MakeNewsDecodeTable(std::span<const uint16_t> tree);

// A compressed block from the reader's (byte-aligned) position: u32 symbol count, the tree, the
// coded symbols; the reader is left on the byte after it. Symbols are bytes when the tree's symbol
// width is below 9 bits; the caller gets each one widened.
std::optional<std::vector<uint16_t>> ReadNewsCompressedBlock(NewsBitReader& in, size_t maxSymbols);

} // namespace qv
