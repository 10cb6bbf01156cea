// Status-bar texts of a list's current share.
#include "shell/StatusPaneTexts.h"

#include "core/ShareList.h"

namespace qv {
namespace {

PaneTextSource& Source()
{
    static PaneTextSource source;
    return source;
}

bool HasCurrentShare(ShareList* list)
{
    const RecordCursor* entry = CurrentEntry(list);
    return entry && entry->record;
}

std::string Column(ShareList* list, int32_t code) { return Source().column ? Source().column(list, code) : ""; }

} // namespace

void SetPaneTextSource(PaneTextSource source) { Source() = std::move(source); }

std::string FormatSharePaneText(ShareList* list, int32_t columnCode, bool indexFlag)
{
    if (!HasCurrentShare(list))
        return {};
    std::string text = Column(list, columnCode);
    return text.empty() && indexFlag ? "Index" : text;
}

std::string FormatMarketPaneText(ShareList* list)
{
    if (!HasCurrentShare(list))
        return {};
    std::string text = Column(list, kMarketColumn);
    uint16_t id = EntryRecordId(*CurrentEntry(list));
    if ((id & 0x3000) < 0x3000)
        text += ", " + Column(list, kMarketDetailColumn);
    if (Source().flagWord && (Source().flagWord(list) & (1u << 14)))
        text += ", FTSE30";
    return text;
}

} // namespace qv
