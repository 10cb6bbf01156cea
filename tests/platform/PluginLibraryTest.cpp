// The program's plug-ins: found in build/plugins from a program of the build tree, and a plug-in that
// is missing, no library or without its entry gives nothing (the caller's fallback) and says why.
#include "platform/PluginLibrary.h"

#include "devtools/lib/TempFolder.h"

#include <fstream>

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(PluginLibrary, PluginsLieInTheBuildTreesPluginFolder)
{
    EXPECT_EQ(PluginFolder(), std::filesystem::path(QV_BINARY_DIR) / "plugins");
    EXPECT_EQ(PluginFile("qvsound"), PluginFolder() / "libqvsound.so");
    EXPECT_FALSE(PluginPresent("no-such-plugin"));
}

TEST(PluginLibrary, AnUnusableFileGivesNoEntryAndTheReason)
{
    dev::TempFolder folder;
    std::ofstream(folder / "libbroken.so", std::ios::binary) << "not a shared library";
    struct Case {
        std::filesystem::path file;
        std::string reason;
    };
    const Case cases[] = {
        {folder / "libmissing.so", "no such plug-in"},
        {folder / "libbroken.so", "libbroken.so"},
        {folder.path(), "no such plug-in"}, // a folder
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(LoadPluginEntry(c.file, "Entry", &error), nullptr) << c.file;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

} // namespace
} // namespace qv
