// The news list's rows, marks and texts.
#include "news/NewsListRows.h"

#include "core/RecordAccess.h"
#include "core/StringPrintf.h"
#include "lists/CellValue.h"
#include "news/NewsDatabase.h"
#include "news/NewsSearch.h"
#include "platform/ByteOrder.h"

#include <algorithm>

namespace qv {
namespace {

bool NamesShare(const NewsStory& story, uint32_t id)
{
    return id != 0 && std::find(story.shareIds.begin(), story.shareIds.end(), id) != story.shareIds.end();
}

bool NamesAnyOf(const NewsStory& story, const std::vector<uint32_t>& shares)
{
    for (uint32_t id : story.shareIds)
        if (id != 0 && std::find(shares.begin(), shares.end(), id) != shares.end())
            return true;
    return false;
}

} // namespace

std::vector<uint32_t> SelectNewsStories(const std::vector<NewsStory>& stories, const NewsRowFilter& filter)
{
    std::vector<uint32_t> rows;
    std::vector<uint32_t> shares = filter.listShares;
    if (shares.size() > news_list::kListShareLimit)
        shares.resize(news_list::kListShareLimit);
    const bool byList = (filter.flags & news_list::kCurrentList) != 0;
    const bool byShare = !byList && filter.shareId != 0;
    if (!byList && !byShare && (filter.flags & news_list::kOneShare))
        return rows;
    const bool latest = (filter.flags & news_list::kLatestOnly) != 0;
    for (uint32_t i = 0; i < stories.size(); ++i) {
        const NewsStory& s = stories[i];
        if (byList && !NamesAnyOf(s, shares))
            continue;
        if (byShare && !NamesShare(s, filter.shareId))
            continue;
        if (latest && (i < filter.latestBoundary || s.state != kNewsStateUnread))
            continue;
        rows.push_back(i);
    }
    return rows;
}

std::vector<uint32_t> MatchedStories(const std::vector<NewsMatch>& matches)
{
    std::vector<uint32_t> stories;
    stories.reserve(matches.size());
    for (const NewsMatch& m : matches)
        stories.push_back(m.story);
    std::sort(stories.begin(), stories.end());
    stories.erase(std::unique(stories.begin(), stories.end()), stories.end());
    return stories;
}

std::string NewsShareName(uint32_t id)
{
    if (id == 0 || id > 0xFFFF)
        return {};
    const RecordCursor share = FindRecordById(uint16_t(id), 0);
    if (!share.record || RecordLength(share.record) == 0)
        return {};
    return std::string(GetRecordTexts(share.record).name);
}

NewsEntry MakeNewsEntry(const NewsStory& story, uint32_t position)
{
    NewsEntry e{};
    StoreU16(e.data() + NewsEntryLayout::Date, story.storyDate);
    e[NewsEntryLayout::Status] = story.state;
    StoreU32(e.data() + NewsEntryLayout::Time, uint32_t(story.time) * 2);
    for (size_t i = 0; i < story.shareIds.size(); ++i)
        StoreU16(e.data() + NewsEntryLayout::Companies + 2 * i, uint16_t(story.shareIds[i]));
    StoreU16(e.data() + NewsEntryLayout::Code, story.country);
    StoreU16(e.data() + NewsEntryLayout::Industry, story.industry);
    StoreU16(e.data() + NewsEntryLayout::Subject, story.subject);
    StoreU32(e.data() + NewsEntryLayout::Position, position);
    StoreU32(e.data() + NewsEntryLayout::ShareId, story.shareIds[0]);
    return e;
}

void MarkNewsRow(uint8_t* entry, uint8_t state)
{
    entry[NewsEntryLayout::Status] = state;
    TheNewsDatabase().setStoryState(LoadU32(entry + NewsEntryLayout::Position), state);
}

bool IsNewsSingleMark(uint32_t command)
{
    return command == kNewsMarkKeep || command == kNewsMarkDelete || command == kNewsMarkRead ||
           command == kNewsMarkUnread;
}

bool IsNewsMark(uint32_t command)
{
    return IsNewsSingleMark(command) || (command >= 26680 && command <= 26690) || command == 26673;
}

NewsMarkRange NewsMarkRows(uint32_t command, int32_t current, int32_t rows)
{
    const bool hasCurrent = current >= 0 && current < rows;
    const int32_t last = rows - 1;
    switch (command) {
    case kNewsMarkKeep: return hasCurrent ? NewsMarkRange{current, current, kNewsStateKept} : NewsMarkRange{};
    case kNewsMarkDelete: return hasCurrent ? NewsMarkRange{current, current, kNewsStateDelete} : NewsMarkRange{};
    case kNewsMarkRead: return hasCurrent ? NewsMarkRange{current, current, kNewsStateRead} : NewsMarkRange{};
    case kNewsMarkUnread: return hasCurrent ? NewsMarkRange{current, current, kNewsStateUnread} : NewsMarkRange{};
    case 26673: return {0, last, kNewsStateRead};
    case 26680: return {0, last, kNewsStateUnread};
    case 26681: return {0, last, kNewsStateKept};
    case 26682: return {0, last, kNewsStateDelete};
    default: break;
    }
    if (!hasCurrent)
        return {};
    switch (command) {
    case 26683: return {0, current, kNewsStateKept};
    case 26684: return {0, current, kNewsStateUnread};
    case 26685: return {0, current, kNewsStateDelete};
    case 26686: return {0, current, kNewsStateRead};
    case 26687: return {current, last, kNewsStateRead};
    case 26688: return {current, last, kNewsStateUnread};
    case 26689: return {current, last, kNewsStateKept};
    case 26690: return {current, last, kNewsStateDelete};
    default: return {};
    }
}

namespace {

std::string SourceText(const NewsListDescription& d)
{
    if (d.followsParent)
        return " from parent list";
    if (!d.searchText.empty())
        return StringPrintf("Search result on <%s>", d.searchText.c_str());
    if (d.flags & news_list::kCurrentList)
        return " for portfolio " + d.portfolioName;
    if (d.flags & news_list::kOneShare)
        return d.shareName.empty() ? std::string("No share selected") : " for share " + d.shareName;
    return {};
}

} // namespace

std::vector<HeaderItem> NewsHeaderItems(const NewsListDescription& d)
{
    const char* mode = (d.flags & news_list::kAlarms) ? "ALARMS" : (d.flags & news_list::kLatestOnly) ? "LATEST" : "FULL";
    const char* title = (d.flags & news_list::kLatestOnly) ? "Latest news" : "News";
    std::vector<HeaderItem> items;
    const std::string source = SourceText(d);
    items.push_back({mode, source.empty() || source[0] == ' ' ? title + source : title + (" " + source)});
    items.push_back({"Total Stories", StringPrintf("%5d", int(d.stories))});
    items.push_back({"Stories present", StringPrintf("%5d", int(d.rows))});
    if (d.limitOn)
        items.push_back({"Search limit", StringPrintf("%3d wks", int(d.limitWeeks))});
    return items;
}

std::array<std::string, 3> NewsStatusTexts(const NewsListDescription& d)
{
    std::string second = "All news";
    if (!d.searchText.empty())
        second = StringPrintf("Search <%s>", d.searchText.c_str());
    else if ((d.flags & news_list::kOneShare) && !d.shareName.empty())
        second = StringPrintf("For %s", d.shareName.c_str());
    else if (d.flags & news_list::kCurrentList)
        second = StringPrintf("Port %s", d.portfolioName.c_str());
    else if (d.followsParent)
        second = "Parent list";
    else if (d.flags & news_list::kLatestOnly)
        second = "Latest Only";
    std::string third = d.currentPortfolio.empty() ? std::string("Latest news") : "Curr. Port: " + d.currentPortfolio;
    return {"ZOD News", second, third};
}

} // namespace qv
