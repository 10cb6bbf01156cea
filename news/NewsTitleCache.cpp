// The title cache and the title file's samples.
#include "news/NewsTitleCache.h"

#include <algorithm>

namespace qv {

const NewsTitleEntry* NewsTitleCache::find(uint32_t story)
{
    const uint32_t key = story + 1;
    for (size_t pass = 0; pass < 2; ++pass) {
        for (size_t i = pass == 0 ? lastHit_ : 0; i < entries_.size(); ++i) {
            if (entries_[i].key == key) {
                lastHit_ = i;
                return &entries_[i];
            }
        }
    }
    return nullptr;
}

void NewsTitleCache::fill(uint32_t first, const std::vector<std::string>& titles)
{
    entries_.clear();
    lastHit_ = 0;
    for (size_t i = 0; i < titles.size() && i < kEntries; ++i)
        entries_.push_back({first + uint32_t(i) + 1, titles[i].substr(0, NewsTitleEntry::kMaxText)});
}

void NewsTitleCache::clear()
{
    entries_.clear();
    lastHit_ = 0;
}

std::vector<NewsTitleRecord> NewsTitleSamples(const std::vector<NewsTitleRecord>& records)
{
    std::vector<NewsTitleRecord> samples;
    const size_t r = records.size();
    if (r == 0)
        return samples;
    const size_t count = r / 1000 + 2;
    const size_t step = std::max<size_t>(1, r / (r / 1000 + 1));
    for (size_t k = 0; k < count; ++k) {
        const size_t at = std::min(k * step, r - 1);
        const size_t next = k + 1 < count ? std::min((k + 1) * step, r) : r;
        NewsTitleRecord sample = records[at];
        sample.story = uint32_t(next > at ? next - at : 1);
        samples.push_back(sample);
    }
    return samples;
}

} // namespace qv
