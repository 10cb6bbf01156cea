// qvtool alarms FOLDER: the end-of-day share alarms of a program folder ("Graph.cfg") that hold on
// the database's last day, one line each as the triggered-alarms list shows them, under the folder's
// own alarm options ("Quorva.cfg", read without being changed).
#include "core/ConfigFamilies.h"
#include "core/ConfigFormat.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/KeyedItemStore.h"
#include "core/LinesAndTextFiles.h"
#include "devtools/qvtool/Verbs.h"
#include "lists/DirectorsDealings.h"
#include "core/UpperHooks.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"
#include "tools/alarms/AlarmLines.h"

#include <cstdio>

namespace qv::tool {
namespace {

// The options the alarm lines follow ("Check intermediate rises"), as the program reads them at start.
void LoadFolderOptions()
{
    const std::optional<std::vector<uint8_t>> image = ReadFileBytes(AppPath("Quorva.cfg"));
    if (!image || ReadConfigImage(Config(), *image, kWholeConfig).header != HeaderVerdict::Accepted)
        return;
    if (const auto& loaded = CoreUpperHooks().optionBlocksLoaded)
        loaded();
}

int RunAlarms(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: qvtool alarms FOLDER\n");
        return 2;
    }
    if (!LoadFolderDatabase(args[0]))
        return 1;
    LoadFolderOptions();
    LoadDirDeal();
    LinesAndTextStore().Load("Graph.cfg");
    LinesAndTextStore().LoadSettingRecords();
    const PackedDate today = DatabaseDate;
    std::printf("alarms that hold on %s:\n", FormatDate(today).c_str());
    const std::vector<AlarmListLine> lines = ListTriggeredAlarms(today);
    if (lines.empty())
        std::printf(" No alarms\n");
    for (const AlarmListLine& line : lines)
        std::printf(" %s\t%s%s%s\t%s\n", Cp1252ToUtf8(line.name).c_str(), line.text[0].c_str(), line.text[1].c_str(),
                    line.text[2].c_str(), Cp1252ToUtf8(line.note).c_str());
    FreeDirDealBlocks();
    FreeDatabase(true);
    return 0;
}

const Verb kVerb("alarms", "alarms FOLDER", "the share alarms of a program folder that hold on the database's last day",
                 RunAlarms);

} // namespace
} // namespace qv::tool
