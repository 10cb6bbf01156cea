// The word index INews.dat: one section per day listing, for each hash slot of the day's words, the
// stories that hold the word; built by the reindex and read by the search.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace qv {

class NewsDatabase;

// A day's section: u32 n (entries + 1), u32 d (the word table's offset from byte 8), the postings
// from byte 8, then the bit-packed word table of (slot delta, offset delta) pairs.
std::vector<uint8_t> NewsIndexSection(const std::map<uint32_t, std::vector<uint16_t>>& postings);

// A section read back: bounded by its length; story indexes at or beyond the day's count dropped.
class NewsIndexSectionReader {
public:
    NewsIndexSectionReader(std::span<const uint8_t> section, uint32_t dayStories);
    // The day's stories (ascending indexes within the day) holding the word of the slot.
    std::vector<uint16_t> stories(uint32_t slot) const;
    size_t words() const { return pairs_.size(); }

private:
    std::span<const uint8_t> section_;
    uint32_t dayStories_;
    std::vector<std::pair<uint32_t, uint32_t>> pairs_; // (slot, postings offset from byte 8)
};

// Rebuilds INews.dat for every day (through workINews.dat) and records each day's section. False
// when a file cannot be read or written; the old index is then gone and the days are unindexed.
bool ReindexNews(NewsDatabase& database);

} // namespace qv
