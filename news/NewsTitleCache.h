// The titles the story list asks for most: a cache of up to 100 titles taken from the story texts,
// and the samples of the title file read at load (about one record in a thousand).
#pragma once

#include "news/NewsTitles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// One cached title: the story's number + 1 (0 for an empty entry) and up to 201 characters of its
// title line.
struct NewsTitleEntry {
    static constexpr size_t kMaxText = 201;
    uint32_t key = 0;
    std::string text;
};

class NewsTitleCache {
public:
    static constexpr size_t kEntries = 100;

    // Looks from the last hit onward, then from the start; null on a miss.
    const NewsTitleEntry* find(uint32_t story);
    // Replaces the cache by the titles of the stories from first on (at most 100, each cut to 201).
    void fill(uint32_t first, const std::vector<std::string>& titles);
    void clear();
    size_t size() const { return entries_.size(); }

private:
    std::vector<NewsTitleEntry> entries_;
    size_t lastHit_ = 0;
};

// The samples of a title file of r records: r / 1000 + 2 of them, one every r / (r / 1000 + 1)
// records (the last sample taken from the last record), each one's story field holding the number
// of records it stands for. None for an empty file.
std::vector<NewsTitleRecord> NewsTitleSamples(const std::vector<NewsTitleRecord>& records);

} // namespace qv
