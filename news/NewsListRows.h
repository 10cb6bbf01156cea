// The news list's rows without a window: which stories a news view shows under its flags, the
// entries its cells read, the marks of stories, and the texts of its header strip and status panes.
#pragma once

#include "news/NewsRecords.h"
#include "portfolio/HeaderStrip.h"
#include "views/ViewGroupFields.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// The flags word of a news list.
namespace news_list {
constexpr uint32_t kLatestOnly = news_mode::kLatestOnly;
constexpr uint32_t kCurrentList = news_mode::kCurrentList;
constexpr uint32_t kOneShare = news_mode::kOneShare;
constexpr uint32_t kAlarms = news_mode::kAlarms;
// Only so many shares of a parent list filter the stories.
constexpr size_t kListShareLimit = 251;
} // namespace news_list

struct NewsRowFilter {
    uint32_t flags = 0;
    uint32_t shareId = 0;              // a one-share filter; 0 for none
    std::vector<uint32_t> listShares;  // with kCurrentList: the parent list's shares, in order
    uint32_t latestBoundary = 0;       // stories from this index on arrived at this start-up
};

// The stories' indexes the list shows, in story order: with the list flag, those naming one of the
// list's first 251 shares; with a share, those naming it; with the one-share flag and no share,
// none; otherwise all. Latest only keeps the unread stories at or past the boundary.
std::vector<uint32_t> SelectNewsStories(const std::vector<NewsStory>& stories, const NewsRowFilter& filter);

// The stories a search matched, in story order, each once (a story can match for several shares).
struct NewsMatch;
std::vector<uint32_t> MatchedStories(const std::vector<NewsMatch>& matches);

// The name of the share with the id; empty when the database has no such share.
std::string NewsShareName(uint32_t id);

// The 44-byte entry the list cells read for a story (lists/CellValue.h's news entry layout).
using NewsEntry = std::array<uint8_t, 44>;
static_assert(sizeof(NewsEntry) == 44, "entries lie back to back in a vector");
NewsEntry MakeNewsEntry(const NewsStory& story, uint32_t position);

// Gives a row's story the state, in the database and in the row's entry.
void MarkNewsRow(uint8_t* entry, uint8_t state);

// The range of rows a mark command writes, from `first` to `last` inclusive; empty (first > last)
// when the command is no mark or needs a current row there is not.
struct NewsMarkRange {
    int32_t first = 0;
    int32_t last = -1;
    uint8_t state = 0;
};
NewsMarkRange NewsMarkRows(uint32_t command, int32_t current, int32_t rows);

// The mark commands: single rows, all rows, those above and those below the current row.
constexpr uint32_t kNewsMarkKeep = 26642, kNewsMarkDelete = 26643, kNewsMarkRead = 26644, kNewsMarkUnread = 26679;
bool IsNewsSingleMark(uint32_t command);
bool IsNewsMark(uint32_t command);

// What the header strip and the status panes say.
struct NewsListDescription {
    uint32_t flags = 0;
    bool followsParent = false;
    std::string portfolioName;   // with kCurrentList and a portfolio as the list's source
    std::string searchText;      // a search's text; empty without one
    std::string shareName;       // with kOneShare
    uint32_t stories = 0;        // the database's count
    uint32_t rows = 0;
    bool limitOn = false;
    uint16_t limitWeeks = 0;
    std::string currentPortfolio; // the program's current portfolio; empty for none
};
std::vector<HeaderItem> NewsHeaderItems(const NewsListDescription& d);
std::array<std::string, 3> NewsStatusTexts(const NewsListDescription& d);

} // namespace qv
