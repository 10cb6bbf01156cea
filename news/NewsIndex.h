// The word index INews.dat: one section per day listing, for each hash slot of the day's words, the
// stories that hold the word; built by the reindex and read by the search.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace qv {

class NewsDatabase;

// A day's section: u32 n (entries + 1), u32 d (the word table's offset from byte 8), the postings
// from byte 8, then the bit-packed word table of (slot delta, offset delta) pairs.
std::vector<uint8_t> NewsIndexSection(const std::map<uint32_t, std::vector<uint16_t>>& postings);
// The same from (slot, story indexes) pairs in ascending slot order.
using NewsPostingList = std::pair<uint32_t, std::vector<uint16_t>>;
std::vector<uint8_t> NewsIndexSection(const std::vector<NewsPostingList>& postings);

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

// What a reindex shows while it runs: the "News reindex" dialog or a search dialog's bar.
class NewsReindexProgress {
public:
    virtual ~NewsReindexProgress() = default;
    virtual void open(size_t days) = 0;
    // Shows the day reached; false once the user has asked to stop (Esc).
    virtual bool step(size_t day) = 0;
    virtual void close() = 0;
};

// The progress a reindex owned by a window shows; installed by the window layer (none: the reindex
// shows nothing).
using NewsReindexProgressMaker = std::unique_ptr<NewsReindexProgress> (*)();
void SetNewsReindexProgressMaker(NewsReindexProgressMaker maker);
std::unique_ptr<NewsReindexProgress> MakeNewsReindexProgress();

enum class NewsReindexResult { Done, Stopped, Failed };

// The first day without an index section (the day count when every day has one).
size_t FirstUnindexedNewsDay(const NewsDatabase& database);

// Builds the index of the days from firstDay on in workINews.dat, keeping the sections of the days
// before it, and puts it in place of INews.dat. One waiting message is dispatched per day, and the
// progress, when given, may stop it: workINews.dat is then deleted, no index remains and every day
// is unindexed. No intraday lock is taken, as no intraday data is read. Failed when a file cannot
// be read or written (the days are then unindexed too).
NewsReindexResult ReindexNews(NewsDatabase& database, NewsReindexProgress* progress = nullptr, size_t firstDay = 0);

} // namespace qv
