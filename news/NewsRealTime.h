// The real-time news table: the shares the intraday alarm server watches for news, the search made
// of their search texts, and the matches held for the news view's alarms mode.
#pragma once

#include "news/NewsSearch.h"

#include <cstdint>
#include <vector>

namespace qv {

// One entry of a scan's answer: the story, its first reserved word, its date and its time of day in
// seconds.
struct NewsAlarmEntry {
    uint32_t story = 0;
    uint32_t reserved = 0;
    uint16_t date = 0;
    uint32_t seconds = 0;
    bool operator==(const NewsAlarmEntry&) const = default;
};

class NewsRealTimeTable {
public:
    // Keeps the shares and builds their search, one group per share as for a share list.
    void set(NewsDatabase& database, std::vector<uint32_t> shareIds);
    // Frees the table, its search and the held matches.
    void clear();
    bool present() const { return present_; }
    const std::vector<uint32_t>& shares() const { return shares_; }
    const std::vector<NewsSearchTerm>& terms() const { return terms_; }

    // The held matches (story, owner share) the alarms mode shows.
    const std::vector<NewsMatch>& matches() const { return matches_; }
    // Frees the held matches and builds the table's search again.
    void clearMatches(NewsDatabase& database);
    // Runs the table's search over the stories that arrived since the last scan, holds the new
    // matches and answers them; nothing without a table or new stories.
    std::vector<NewsAlarmEntry> scan(NewsDatabase& database);

private:
    void buildTerms(NewsDatabase& database);

    bool present_ = false;
    std::vector<uint32_t> shares_;
    std::vector<NewsSearchTerm> terms_;
    std::vector<NewsMatch> matches_;
    uint32_t scanned_ = 0;
};

NewsRealTimeTable& TheRealTimeNewsTable();

// The swap and the clear write the table, so they take the news lock exclusively (the caller holds
// no news lock); the clear then refreshes the news views.
void SetRealTimeNewsTable(std::vector<uint32_t> shareIds);
void ClearRealTimeNewsTable();
bool HasRealTimeNewsTable();
// The news view's command "Clear all the stories held for triggered news alarms".
void ClearNewsAlarmResults();

} // namespace qv
