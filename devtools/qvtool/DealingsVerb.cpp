// qvtool dealings FOLDER [EPIC]: the decoded directors' dealings file of a program folder.
#include "core/Database.h"
#include "core/DateText.h"
#include "core/RecordLookup.h"
#include "devtools/qvtool/Verbs.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"
#include "lists/HoldList.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <string>

namespace qv::tool {
namespace {

std::string Kind(const DealingFields& f)
{
    std::string kind = f.majorHolder ? "major" : "director";
    kind += f.holding ? " holding" : " dealing";
    if (f.superseded)
        kind += " (superseded)";
    return kind;
}

void Print(const uint8_t* entry, const DealingsFileInfo& info)
{
    const DealingFields f = DecodeDealing(entry, info, DealingsCodingTables());
    const uint8_t* share = FindDealingShare(f.shareId);
    std::string name = share ? std::string(GetRecordName(const_cast<uint8_t*>(share))) : "(no share)";
    std::printf("%04X %-28s %-26s %-30s", f.shareId, Cp1252ToUtf8(name).c_str(), Kind(f).c_str(),
                Cp1252ToUtf8(f.investor).c_str());
    if (!f.holding)
        std::printf(" %s %s %s %s %.0f shares %.2f%% value %.0f", FormatDate(f.date).c_str(),
                    Cp1252ToUtf8(f.dealType).c_str(), Cp1252ToUtf8(f.role).c_str(), Cp1252ToUtf8(f.shareText).c_str(),
                    f.dealSize, f.dealPercent * 100, f.value);
    std::printf(" held %.0f (%.2f%%)%s\n", f.holdSize, f.holdPercent * 100, f.complete ? "" : " [cut short]");
}

int RunDealings(const std::vector<std::string>& args)
{
    if (args.empty() || args.size() > 2) {
        std::fprintf(stderr, "usage: qvtool dealings FOLDER [EPIC]\n");
        return 2;
    }
    if (!LoadFolderDatabase(args[0]))
        return 1;
    LoadDirDeal();
    if (!DealingsMainBlock) {
        std::fprintf(stderr, "qvtool: no dealings read from %s/data/DirDeal.dat\n", args[0].c_str());
        FreeDatabase(true);
        return 1;
    }
    const DealingsFileInfo& info = DealingsInfo();
    std::printf("dealings of %s: %d entries, base year %d\n", FormatDate(info.date).c_str(), info.entryCount,
                info.baseYear + 1900);
    uint16_t only = 0;
    if (args.size() == 2) {
        const RecordCursor found = FindByEpic(args[1]);
        if (!found.record) {
            std::fprintf(stderr, "qvtool: no share %s\n", args[1].c_str());
            FreeDatabase(true);
            return 1;
        }
        only = RecordId(found.record);
    }
    for (const uint8_t* e = DealingsMainBlock; e[0] != 0; e += e[0])
        if (!only || DealingShareId(e) == only)
            Print(e, info);
    FreeDirDealBlocks();
    FreeDatabase(true);
    return 0;
}

const Verb kDealings("dealings", "dealings FOLDER [EPIC]", "the decoded directors' dealings file of a folder",
                     RunDealings);

} // namespace
} // namespace qv::tool
