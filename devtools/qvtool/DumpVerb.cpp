// qvtool dump FOLDER [ID...]: loads a data folder's database and describes it and any records.
#include "core/Database.h"
#include "devtools/lib/DatabaseDump.h"
#include "devtools/qvtool/Verbs.h"
#include "platform/Paths.h"

#include <cstdio>
#include <cstdlib>

namespace qv::tool {
namespace {

int Dump(const std::vector<std::string>& args)
{
    if (args.empty()) {
        std::fprintf(stderr, "usage: qvtool dump FOLDER [ID...]\n");
        return 2;
    }
    SetProgramFolder(args[0]);
    if (!LoadDatabase(AppPath("data\\Quorva.dat"))) {
        std::fprintf(stderr, "qvtool: cannot open %s\n", AppPath("data\\Quorva.dat").c_str());
        return 1;
    }
    std::fputs(dev::DescribeDatabase().c_str(), stdout);
    for (size_t i = 1; i < args.size(); ++i) {
        char* end = nullptr;
        unsigned long id = std::strtoul(args[i].c_str(), &end, 0);
        if (!end || *end || id > 0xFFFF) {
            std::fprintf(stderr, "qvtool: not a record id: %s\n", args[i].c_str());
            return 2;
        }
        std::fputs(dev::DescribeRecord(uint16_t(id)).c_str(), stdout);
    }
    FreeDatabase(true);
    return 0;
}

Verb dump("dump", "dump FOLDER [ID...]", "About-box counts, latest date and records (0x4001) of a database",
          Dump);

} // namespace
} // namespace qv::tool
