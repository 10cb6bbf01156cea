// A news update file, read whole and checked whole before anything of it is merged: its word lists,
// decode trees, text bit stream and story directory.
#pragma once

#include "core/PackedDate.h"
#include "news/NewsCoding.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

struct NewsUpdateStory {
    PackedDate date = 0;
    uint16_t time = 0;   // units of 2 seconds
    uint32_t start = 0;  // bits 0-23 byte offset in the text stream, bits 24-31 the bit (0 = most significant)
    uint16_t titleSymbols = 0;
    uint8_t codeTable = 0;
};

struct NewsUpdate {
    static constexpr uint16_t kVersion = 1;
    static constexpr size_t kMaxTables = 8;
    static constexpr size_t kDataStart = 52;

    PackedDate date = 0;
    std::vector<uint16_t> classBoundaries; // one fewer than the code tables
    std::vector<std::string> words;        // the first list, then the later ones
    size_t firstListWords = 0;
    std::vector<NewsDecodeTree> trees;
    std::vector<uint8_t> text;
    uint32_t textBits = 0; // the stream's length in bits
    std::vector<NewsUpdateStory> stories;

    // The word class of word i: 0 for the first list; in the later lists 0 rising by one, to at
    // most 4, at each class boundary that word numbers reach.
    int wordClass(size_t i) const;
};

enum class NewsUpdateStatus { Read, WrongVersion, Damaged };

struct NewsUpdateRead {
    NewsUpdateStatus status = NewsUpdateStatus::Damaged;
    std::string fault; // what was wrong, for the debugger output
    NewsUpdate update;
};

// Reads and checks an update file's bytes: every count and offset bounded by the file, every tree
// within its allotment, every story decoding to whole codes of words the update brings.
NewsUpdateRead ReadNewsUpdate(std::span<const uint8_t> bytes, PackedDate date);

// The word numbers of a story's text from its start to its end bit (the next story's start or the
// stream's end), at most maxSymbols of them; empty with ok false when a code is cut short or leaves
// its tree.
struct NewsStorySymbols {
    std::vector<uint16_t> symbols;
    bool ok = false;
};
// With the tree's table the stream is read a byte at a time where it can be.
NewsStorySymbols DecodeNewsStory(std::span<const uint16_t> tree, std::span<const uint8_t> text, uint32_t start,
                                 size_t endBit, size_t maxSymbols, const NewsDecodeTable* table = nullptr);
// The same into a buffer the caller reuses from story to story; false (and the buffer empty) where
// the above answers ok false.
bool DecodeNewsStoryInto(std::span<const uint16_t> tree, std::span<const uint8_t> text, uint32_t start, size_t endBit,
                         size_t maxSymbols, const NewsDecodeTable* table, std::vector<uint16_t>& symbols);

// The bit position a story start stands for.
inline size_t NewsStartBit(uint32_t start) { return size_t(start & 0xFFFFFF) * 8 + (start >> 24); }

} // namespace qv
