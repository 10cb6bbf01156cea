// qvtool infocentre FOLDER [--rebuild] [--unpack]: copies the program folder's InfoCentre content
// (Data\Content and the archives in Data) to a temporary folder, optionally unpacks the archives and
// rebuilds the index there, and lists what the store holds. The folder itself is never changed.
#include "devtools/lib/InfoCentreText.h"
#include "devtools/lib/TempFolder.h"
#include "devtools/qvtool/Verbs.h"
#include "infocentre/ContentArchives.h"
#include "infocentre/InCStore.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "shell/TimerCallbacks.h"

#include <cstdio>
#include <system_error>

namespace qv::tool {
namespace {

namespace fs = std::filesystem;

bool CopyContent(const fs::path& programFolder, const fs::path& data)
{
    std::error_code ec;
    fs::path source = ResolveNoCase(programFolder, "Data");
    fs::create_directories(data, ec);
    fs::path content = ResolveNoCase(source, "Content");
    if (fs::is_directory(content, ec))
        fs::copy(content, data / "Content", fs::copy_options::recursive, ec);
    for (const std::string& name : FindFiles(source, "*.zip"))
        fs::copy_file(source / name, data / name, ec);
    return !ec;
}

int Usage()
{
    std::fprintf(stderr, "usage: qvtool infocentre FOLDER [--rebuild] [--unpack]\n");
    return 2;
}

int RunInfoCentre(const std::vector<std::string>& args)
{
    bool rebuild = false, unpack = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--rebuild")
            rebuild = true;
        else if (args[i] == "--unpack")
            unpack = true;
        else
            return Usage();
    }
    if (args.empty())
        return Usage();
    dev::TempFolder copy{"infocentre"};
    fs::path data = copy / "Data";
    if (!CopyContent(args[0], data)) {
        std::fprintf(stderr, "qvtool: cannot copy the content of %s\n", args[0].c_str());
        return 1;
    }
    if (unpack)
        std::printf("unpack: result %d\n", UnpackContentArchives(data));
    CInCStore store(data / "Content", false);
    store.StopTimer();
    bool opened = rebuild ? store.LoadIndex() : store.OpenIndex();
    if (!opened) {
        std::printf(rebuild ? "rebuild failed\n" : "no index (try --rebuild)\n");
        return 1;
    }
    std::fputs(dev::DescribeInfoCentre(store).c_str(), stdout);
    return 0;
}

const Verb kInfoCentre("infocentre", "infocentre FOLDER [--rebuild] [--unpack]",
                       "lists the InfoCentre store of a program folder, on a copy (unpacks, rebuilds)",
                       RunInfoCentre);

} // namespace
} // namespace qv::tool
