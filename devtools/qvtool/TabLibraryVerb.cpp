// qvtool tab-library FOLDER: writes the demo's table library, three designs in FOLDER/Library.
#include "devtools/qvtool/Verbs.h"

#include "core/ConfigDefaults.h"
#include "lists/ListDesign.h"
#include "platform/ByteOrder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace qv::tool {
namespace {

StyleBlock DemoStyle(bool dark, int points)
{
    StyleBlock style{};
    ApplyDefaultDesign(style, dark);
    SetStyleWord(style, StyleOffset::PointSize, uint32_t(points));
    std::memcpy(style.data() + StyleOffset::Face, "Arial", 5);
    return style;
}

int Run(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: qvtool tab-library FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = LibraryFolder(args[0]);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    struct Design {
        const char* file;
        const char* name;
        const char* description;
        bool dark;
        int points;
        int layout;
        int8_t sort;
    } designs[] = {
        {"Light prices.tab", "Light prices", "The light design with the first list table's columns", false, 9, 0, 1},
        {"Dark prices.tab", "Dark prices", "The dark design for evening use, sorted on the second column", true, 9, 0, -2},
        {"Large print.tab", "Large print", "Light colours in a 12 point font", false, 12, 1, 0},
    };
    for (const Design& d : designs) {
        TableDesign design;
        design.style = DemoStyle(d.dark, d.points);
        design.layout = DefaultColumnLayout(ColumnLayoutSet::ListTables, d.layout);
        design.sort = d.sort;
        if (!SaveTableFile(folder / d.file, design, d.name, d.description)) {
            std::fprintf(stderr, "qvtool: cannot write %s\n", (folder / d.file).c_str());
            return 1;
        }
    }
    std::printf("table library written to %s\n", folder.c_str());
    return 0;
}

const Verb kVerb("tab-library", "tab-library FOLDER", "writes the demo's table library to FOLDER/Library", Run);

} // namespace
} // namespace qv::tool
