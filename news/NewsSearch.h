// The news search: a share's default search text, the search text parsed into terms, and the
// search of the word index with exclusions, alternatives, phrases and the limit date.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class NewsDatabase;
class NewsReindexProgress;

struct NewsSearchTerm {
    static constexpr uint16_t kRequired = 0, kAlternative = 1, kExclusion = 2, kLiteral = 10, kSeparator = 128;

    uint32_t owner = 0; // the share whose search this is, or 0; the share id in a separator
    uint32_t slot = 0;
    bool known = false;   // the word is in the dictionary
    bool literalStart = false;
    uint16_t kind = kRequired;
};

// "'" + the name's words up to "plc" + "'", with a second literal using the short form of
// "holdings", "corporation", "communications" or "telecommunications" when the name holds one.
std::string MakeNewsSearchText(std::string_view shareName);

// A share's search text: the one the user set for it in the catalogue, else the default made from
// its name in the database ("" when the share is not there).
std::string ShareNewsSearchText(NewsDatabase& database, uint32_t shareId);
// The default made from the share's name ("" when the share is not in the database).
std::string DefaultNewsSearchText(uint32_t shareId);

// One word of a search text as it is read: folded to lower case (at most 64 characters), with its
// sign (required, alternative or exclusion), inside a literal phrase or not, and whether it begins one.
struct NewsSearchWord {
    std::string word;
    uint16_t sign = 0;
    bool literal = false;
    bool literalStart = false;
};
std::vector<NewsSearchWord> SplitNewsSearchText(std::string_view text);

// Parses a search text: blank-separated words are all required, "," makes the next word an
// alternative, "-" an exclusion, quotes make a literal phrase.
std::vector<NewsSearchTerm> MakeNewsSearchWords(NewsDatabase& database, uint32_t owner, std::string_view text);

// One group of terms per share (the first 251 shares), each closed by a separator with its id.
struct NewsShareSearch {
    uint32_t shareId = 0;
    std::string text;
};
inline constexpr size_t kNewsPortfolioShares = 251;
std::vector<NewsSearchTerm> MakeNewsPortfolioSearch(NewsDatabase& database, const std::vector<NewsShareSearch>& shares);

struct NewsMatch {
    uint32_t story = 0;
    uint32_t owner = 0;
    bool operator==(const NewsMatch&) const = default;
};

// Shows how far a search has gone (the story reached of the story count); false once the user has
// asked to stop (Esc).
using NewsSearchStep = std::function<bool(uint32_t story, uint32_t stories)>;

// Clears an index that is damaged (a day's section too short or beyond INews.dat) and indexes the
// days that have no section (showing the progress when given); false when the user stopped it.
bool PrepareNewsIndex(NewsDatabase& database, NewsReindexProgress* progress = nullptr);

// The stories from first up to (not including) end that match, in story order per group. Indexes
// the days that have no section first (showing the progress when given); a reindex stopped by the
// user ends the search with nothing. With the header's limit flag, stories dated before the limit
// (the set number of weeks before the latest story) are skipped. A search stopped at a step ends
// with the matches of what it had weighed.
std::vector<NewsMatch> PerformNewsSearch(NewsDatabase& database, const std::vector<NewsSearchTerm>& terms,
                                         uint32_t first = 0, uint32_t end = UINT32_MAX,
                                         NewsReindexProgress* progress = nullptr, const NewsSearchStep& step = {});

// A search that weighs the stories in steps, from the first story on, so that its caller can go
// back to the user between steps and stop with the matches found so far. The index must be
// prepared (PrepareNewsIndex) before the first step.
class NewsSearchRun {
public:
    static constexpr uint32_t kStoriesPerStep = 500;

    NewsSearchRun(NewsDatabase& database, std::vector<NewsSearchTerm> terms, uint32_t storiesPerStep = kStoriesPerStep);

    // Weighs the next stories; false once every story there was at the start has been weighed.
    bool Step();
    bool done() const { return next_ >= end_; }
    uint32_t reached() const { return next_; }
    const std::vector<NewsMatch>& matches() const { return matches_; }

private:
    NewsDatabase& database_;
    std::vector<NewsSearchTerm> terms_;
    std::vector<uint8_t> index_;
    uint32_t perStep_;
    uint32_t next_ = 0;
    uint32_t end_;
    std::vector<NewsMatch> matches_;
};

} // namespace qv
