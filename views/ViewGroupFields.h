// The fields a view group (a share list with its chain of views) keeps in the room its share list
// leaves for them, and the freeing of a group's data once nothing uses it.
#pragma once

#include <cstdint>

namespace qv {

struct ShareList;

// The bits of the news mode word: the newest day only, the stories of the list's shares, one share's
// stories, the stories of the shares with alarms.
namespace news_mode {
constexpr uint32_t kLatestOnly = 1u << 15;
constexpr uint32_t kCurrentList = 1u << 16;
constexpr uint32_t kOneShare = 1u << 17;
constexpr uint32_t kAlarms = 1u << 21;
} // namespace news_mode

// The view-group fields a share list keeps in the room it leaves for them.
struct ViewGroupFields {
    int32_t builtFor = -1;        // table number its rows were last built for; -1 none
    uint8_t needsRefill = 0;
    uint8_t reserved[3] = {};
    uint32_t newsMode = 0;        // news: the list's news mode word (latest, list, one share, alarms)
    void* tradeBlock = nullptr;   // trades: the block whose second word is the share id
    void* cashAccount = nullptr;  // cash: the account whose second word hides the share
    void* newsResults = nullptr;  // news: the search result the list shows
};
ViewGroupFields GetViewGroupFields(const ShareList* list);
void SetViewGroupFields(ShareList* list, const ViewGroupFields& fields);
void MarkNeedsRefill(ShareList* list);

// The share id and sub-id of the group's current entry, by its family; 0 and 0 when there is none.
void GetViewShare(ShareList* group, uint32_t* shareId, uint32_t* subId);

// Frees the group's data: its rows when unused, its news search, its trade block and cash account.
void FreeViewGroup(ShareList* group);
int32_t ReleaseViewGroupData(ShareList* group);

// The news database frees a group's news search (FreeGroupNewsList); without it the field is only
// cleared.
using GroupNewsFreer = void (*)(ShareList* group);
void SetGroupNewsFreer(GroupNewsFreer freer);

} // namespace qv
