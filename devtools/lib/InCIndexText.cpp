// Listing of an InfoCentre index file through the index's own reading operations.
#include "devtools/lib/InCIndexText.h"

#include "core/StringPrintf.h"
#include "infocentre/InCIndex.h"

#include <cinttypes>

namespace qv::dev {

std::string DescribeInCIndex(const std::filesystem::path& file)
{
    CInCIndex index(file);
    std::string out;
    if (index.GetStatus() != CInCIndex::kGood) {
        AppendPrintf(out, "cannot read the index: status %d\n", index.GetStatus());
        return out;
    }
    InCEntryHead head;
    std::string category;
    int entries = 0;
    while (index.ReadNextEntry(head, &category)) {
        ++entries;
        AppendPrintf(out, "%5u flags 0x%04X time %" PRId64 " category \"%s\"\n", unsigned(head.number),
                     unsigned(head.flags), head.time, category.c_str());
    }
    if (index.GetStatus() != CInCIndex::kGood)
        AppendPrintf(out, "walk stopped: status %d\n", index.GetStatus());
    AppendPrintf(out, "%d entries\n", entries);
    std::string withdrawn;
    for (uint32_t n = 1; n <= CInCIndex::kLastNumber; ++n)
        if (CInCIndex::TableBit(index.GetTable(), uint16_t(n)))
            AppendPrintf(withdrawn, " %u", unsigned(n));
    AppendPrintf(out, "withdrawn:%s\n", withdrawn.empty() ? " none" : withdrawn.c_str());
    std::map<std::string, CInCCategory> categories;
    if (!index.ReadCategories(categories)) {
        AppendPrintf(out, "categories: status %d\n", index.GetStatus());
        return out;
    }
    for (const auto& [name, cat] : categories) {
        AppendPrintf(out, "category \"%s\" (%d done)\n", name.c_str(), cat.doneCount);
        for (const InCDocumentItem& doc : cat.documents)
            AppendPrintf(out, "  %5u %s%s\n", unsigned(doc.number), doc.title.c_str(), doc.done ? " (done)" : "");
        for (const auto& [subName, sub] : cat.subCategories) {
            AppendPrintf(out, "  sub-category \"%s\"\n", subName.c_str());
            for (const InCDocumentItem& doc : sub.documents)
                AppendPrintf(out, "    %5u %s%s\n", unsigned(doc.number), doc.title.c_str(), doc.done ? " (done)" : "");
        }
    }
    return out;
}

} // namespace qv::dev
