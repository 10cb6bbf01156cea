// qvtool export FOLDER EPIC FORMAT: a share's price history as the export writes it (format 1-6,
// the Export page's defaults), to standard output.
#include "core/Database.h"
#include "core/PriceExport.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>
#include <cstdlib>

namespace qv::tool {
namespace {

int RunExport(const std::vector<std::string>& args)
{
    int exitCode = 0;
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: qvtool export FOLDER EPIC FORMAT (1 csv, 2 prn, 3 csq, 4 exp, 6 daily csv)\n");
        return 2;
    }
    const int format = std::atoi(args[2].c_str());
    if (format < kExportCsv || format > kExportDailyCsv) {
        std::fprintf(stderr, "FORMAT must be 1 to 6\n");
        return 2;
    }
    auto found = LoadFolderShare({args[0], args[1]}, "export FOLDER EPIC FORMAT", exitCode);
    if (!found)
        return exitCode;
    std::string text;
    WriteShareHistory(*found, ExportStyleFor(format, 0x18, 0, ',', '/'), text);
    std::fwrite(text.data(), 1, text.size(), stdout);
    FreeDatabase(true);
    return 0;
}

const Verb kExport("export", "export FOLDER EPIC FORMAT", "a share's prices as an export file writes them", RunExport);

} // namespace
} // namespace qv::tool
