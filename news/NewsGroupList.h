// The news a view group's share list holds for the stories shown in it: the parsed search terms and
// their text, kept in the group's news field and freed with the group's data.
#pragma once

#include "news/NewsSearch.h"

#include <string>
#include <vector>

namespace qv {

struct ShareList;

struct NewsGroupList {
    std::vector<NewsSearchTerm> terms;
    std::string searchText;
};

// The list's news search, made empty when it has none; null for a null list.
NewsGroupList* GroupNewsList(ShareList* list);
// The list's news search, or null.
const NewsGroupList* FindGroupNewsList(const ShareList* list);
// Frees the list's search terms and leaves its news field empty; nothing for a null list.
void FreeGroupNewsList(ShareList* list);

} // namespace qv
