// Status-bar texts of a list's current share.
#include "shell/StatusPaneTexts.h"

#include "core/ShareList.h"
#include "portfolio/TransactionRows.h"

namespace qv {
namespace {

PaneTextSource& Source()
{
    static PaneTextSource source;
    return source;
}

RecordCursor CurrentShare(ShareList* list)
{
    const RecordCursor* entry = CurrentEntry(list);
    return entry ? ShareOfRow(*list, *entry) : RecordCursor{};
}

std::string Column(const RecordCursor& share, ShareList* list, int32_t code)
{
    return Source().column ? Source().column(share, list, code) : "";
}

} // namespace

void SetPaneTextSource(PaneTextSource source) { Source() = std::move(source); }

std::string FormatSharePaneText(ShareList* list, int32_t columnCode, bool indexFlag)
{
    const RecordCursor share = CurrentShare(list);
    if (!share.record)
        return {};
    std::string text = Column(share, list, columnCode);
    return text.empty() && indexFlag ? "Index" : text;
}

std::string FormatMarketPaneText(ShareList* list)
{
    const RecordCursor share = CurrentShare(list);
    if (!share.record)
        return {};
    std::string text = Column(share, list, kMarketColumn);
    // A part the database does not keep for the share leaves no separator behind.
    auto add = [&text](const std::string& part) {
        if (!part.empty())
            text += (text.empty() ? "" : ", ") + part;
    };
    if ((EntryRecordId(share) & 0x3000) < 0x3000)
        add(Column(share, list, kMarketDetailColumn));
    if (Source().flagWord && (Source().flagWord(share) & (1u << 14)))
        add("FTSE30");
    return text;
}

} // namespace qv
