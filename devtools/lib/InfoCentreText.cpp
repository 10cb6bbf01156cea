// The store's entries through its index and category tree, and its queues.
#include "devtools/lib/InfoCentreText.h"

#include "core/StringPrintf.h"
#include "infocentre/InCStore.h"

#include <cinttypes>
#include <map>

namespace qv::dev {
namespace {

struct Texts {
    std::string title, category, subCategory;
};

std::map<uint16_t, Texts> TextsByNumber(CInCStore& store)
{
    std::map<uint16_t, Texts> texts;
    for (const auto& [name, category] : store.GetCategories()) {
        for (const InCDocumentItem& doc : category.documents)
            texts[doc.number] = {doc.title, name, {}};
        for (const auto& [subName, sub] : category.subCategories)
            for (const InCDocumentItem& doc : sub.documents)
                texts[doc.number] = {doc.title, name, subName};
    }
    return texts;
}

std::string Numbers(const std::vector<uint16_t>& numbers)
{
    std::string out;
    for (uint16_t n : numbers)
        AppendPrintf(out, " %u", unsigned(n));
    return out.empty() ? " none" : out;
}

} // namespace

std::string DescribeInfoCentre(CInCStore& store)
{
    std::string out;
    CInCIndex* index = store.Index();
    if (!index)
        return "no index\n";
    std::map<uint16_t, Texts> texts = TextsByNumber(store);
    InCEntryHead head;
    int entries = 0;
    while (index->ReadNextEntry(head, nullptr)) {
        if (CInCIndex::TableBit(index->GetTable(), head.number))
            continue;
        ++entries;
        uint16_t expiry = EntryExpiry(head);
        const Texts& t = texts[head.number];
        AppendPrintf(out, "%05u flags 0x%04X due %" PRId64 " expires %s \"%s\" in \"%s\"", unsigned(head.number),
                     unsigned(head.flags), head.time,
                     (head.flags & kInCFlagExpires)
                         ? StringPrintf("%04d-%02d-%02d", 2004 + (expiry >> 9), (expiry >> 5) & 0x0F, expiry & 0x1F).c_str()
                         : "never",
                     t.title.c_str(), t.category.c_str());
        if (!t.subCategory.empty())
            AppendPrintf(out, " / \"%s\"", t.subCategory.c_str());
        out += "\n";
    }
    AppendPrintf(out, "%d entries, introduction %u\n", entries, unsigned(store.Introduction()));
    AppendPrintf(out, "priority queue:%s\n", Numbers(store.PriorityQueue()).c_str());
    AppendPrintf(out, "due queue:%s\n", Numbers(store.DueQueue()).c_str());
    std::string schedule;
    for (const CInCStore::ScheduleItem& item : store.Schedule())
        AppendPrintf(schedule, " %u@%" PRId64, unsigned(item.number), item.due);
    AppendPrintf(out, "schedule:%s\n", schedule.empty() ? " none" : schedule.c_str());
    AppendPrintf(out, "next new: %u%s\n", unsigned(store.NextNew()), store.MoreNew() ? " (more follow)" : "");
    return out;
}

} // namespace qv::dev
