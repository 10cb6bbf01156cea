// A share list's news search, kept in its view-group fields.
#include "news/NewsGroupList.h"

#include "views/ViewGroupFields.h"

namespace qv {

NewsGroupList* GroupNewsList(ShareList* list)
{
    if (!list)
        return nullptr;
    ViewGroupFields fields = GetViewGroupFields(list);
    if (!fields.newsResults) {
        fields.newsResults = new NewsGroupList();
        SetViewGroupFields(list, fields);
    }
    return static_cast<NewsGroupList*>(fields.newsResults);
}

const NewsGroupList* FindGroupNewsList(const ShareList* list)
{
    return static_cast<const NewsGroupList*>(GetViewGroupFields(list).newsResults);
}

void FreeGroupNewsList(ShareList* list)
{
    if (!list)
        return;
    ViewGroupFields fields = GetViewGroupFields(list);
    delete static_cast<NewsGroupList*>(fields.newsResults);
    fields.newsResults = nullptr;
    SetViewGroupFields(list, fields);
}

} // namespace qv
