// A day block of DNews.dat: the day's code tables as decoded trees, its word list of dictionary
// ids, each story's start and the text bit stream.
#pragma once

#include "core/PackedDate.h"
#include "news/NewsCoding.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qv {

struct NewsUpdate;

struct NewsDayBlock {
    static constexpr size_t kFixedSize = 60;
    static constexpr size_t kMaxTables = 8;

    PackedDate date = 0;
    std::vector<std::vector<uint16_t>> tables;
    std::vector<uint32_t> wordIds; // one per symbol
    std::vector<uint32_t> starts;  // per story: bits 0-23 byte offset, bits 24-31 bit
    std::vector<uint8_t> text;
    uint32_t textBits = 0;
    std::vector<NewsDecodeTable> decodeTables; // one per code table, for decoding a byte at a time

    // The block as stored: length at 8, date at 12, story count at 14, the stream's length in bits
    // at 16, table offsets from 20, stream and word-list offsets at 52 and 56, starts from 60.
    std::vector<uint8_t> bytes() const;
    // Reads a stored block, bounding every offset and count by the block; nothing when damaged.
    static std::optional<NewsDayBlock> Parse(std::span<const uint8_t> bytes);
    // The block an update makes, given the dictionary id of each of its words.
    static NewsDayBlock FromUpdate(const NewsUpdate& update, std::vector<uint32_t> wordIds);

    void makeDecodeTables();
    // A story's symbols (indexes into wordIds) into a buffer reused from story to story; false, and
    // the buffer empty, when the story does not decode or names a symbol the block has no word for.
    bool storySymbols(size_t story, uint8_t table, std::vector<uint16_t>& symbols, size_t maxSymbols = 1u << 20) const;
    // The dictionary ids of a story's text, or nothing when the story does not decode.
    std::optional<std::vector<uint32_t>> storyWords(size_t story, uint8_t table, size_t maxSymbols = 1u << 20) const;
};

} // namespace qv
