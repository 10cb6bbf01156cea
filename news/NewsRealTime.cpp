// The real-time news table, its search and its held matches.
#include "news/NewsRealTime.h"

#include "news/NewsDatabase.h"
#include "news/NewsLock.h"
#include "platform/FileOps.h"
#include "shell/ViewGroups.h"
#include "views/ViewKinds.h"

namespace qv {

void NewsRealTimeTable::set(NewsDatabase& database, std::vector<uint32_t> shareIds)
{
    clear();
    shares_ = std::move(shareIds);
    present_ = true;
    scanned_ = uint32_t(database.catalogue().stories.size());
    buildTerms(database);
}

void NewsRealTimeTable::clear()
{
    *this = NewsRealTimeTable();
}

void NewsRealTimeTable::buildTerms(NewsDatabase& database)
{
    std::vector<NewsShareSearch> searches;
    for (uint32_t id : shares_)
        searches.push_back({id, ShareNewsSearchText(database, id)});
    terms_ = MakeNewsPortfolioSearch(database, searches);
}

void NewsRealTimeTable::clearMatches(NewsDatabase& database)
{
    matches_.clear();
    terms_.clear();
    if (present_)
        buildTerms(database);
}

std::vector<NewsAlarmEntry> NewsRealTimeTable::scan(NewsDatabase& database)
{
    std::vector<NewsAlarmEntry> found;
    const std::vector<NewsStory>& stories = database.catalogue().stories;
    if (!present_ || scanned_ >= stories.size())
        return found;
    ForceDelete(NewsDatabase::NewsFolder() / "workINews.dat");
    for (const NewsMatch& match : PerformNewsSearch(database, terms_, scanned_, uint32_t(stories.size()))) {
        matches_.push_back(match);
        const NewsStory& s = database.catalogue().stories[match.story];
        found.push_back({match.story, s.reserved16[0], s.storyDate, uint32_t(s.time) * 2});
    }
    scanned_ = uint32_t(database.catalogue().stories.size());
    return found;
}

NewsRealTimeTable& TheRealTimeNewsTable()
{
    static NewsRealTimeTable table;
    return table;
}

void SetRealTimeNewsTable(std::vector<uint32_t> shareIds)
{
    AcquireNewsWrite();
    TheRealTimeNewsTable().set(TheNewsDatabase(), std::move(shareIds));
    ReleaseNewsWrite();
}

void ClearRealTimeNewsTable()
{
    AcquireNewsWrite();
    TheRealTimeNewsTable().clear();
    ReleaseNewsWrite();
    UpdateAllViewGroups(kViewNews, true, nullptr, false, false);
}

bool HasRealTimeNewsTable() { return TheRealTimeNewsTable().present(); }

void ClearNewsAlarmResults()
{
    AcquireNewsWrite();
    TheRealTimeNewsTable().clearMatches(TheNewsDatabase());
    ReleaseNewsWrite();
}

} // namespace qv
