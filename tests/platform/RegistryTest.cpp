// Tests of the program's registry key and its sections, kept in a text file rewritten atomically.
#include "platform/Registry.h"

#include "devtools/lib/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace qv;

TEST(Registry, ValuesSurviveAReopen)
{
    dev::TempFolder dir;
    auto file = dir / "cfg" / "registry.ini";
    {
        Registry reg(file);
        EXPECT_TRUE(reg.setString("Settings", "Last File", "C:\\a=b\nline two"));
        EXPECT_TRUE(reg.setU32("Settings", "Debug Level", 3));
        EXPECT_TRUE(reg.setBinary("", "WinCoord", {0, 1, 0xFE, 0xFF}));
        EXPECT_TRUE(reg.setString("RTComms2004", "", "default value"));
    }
    Registry reg(file);
    EXPECT_EQ(reg.getString("Settings", "Last File"), "C:\\a=b\nline two");
    EXPECT_EQ(reg.getU32("Settings", "Debug Level"), 3u);
    EXPECT_EQ(reg.getBinary("", "WinCoord"), (std::vector<uint8_t>{0, 1, 0xFE, 0xFF}));
    EXPECT_EQ(reg.getString("RTComms2004", ""), "default value");
    // A value read as another type counts as absent.
    EXPECT_FALSE(reg.getU32("Settings", "Last File"));
    EXPECT_FALSE(reg.getString("Comms", "Nothing"));

    EXPECT_TRUE(reg.remove("Settings", "Debug Level"));
    EXPECT_FALSE(reg.remove("Settings", "Debug Level"));
    Registry again(file);
    EXPECT_FALSE(again.getU32("Settings", "Debug Level"));
}

TEST(Registry, DamagedLinesAreSkipped)
{
    dev::TempFolder dir;
    auto file = dir / "registry.ini";
    std::ofstream(file) << "[Settings]\ngood=d:7\nnoequals\nbad=x:1\nshort=d\nhex=b:0G\nodd=b:ABC\nnum=d:12z\n";
    Registry reg(file);
    EXPECT_EQ(reg.getU32("Settings", "good"), 7u);
    EXPECT_FALSE(reg.getBinary("Settings", "hex"));
    EXPECT_FALSE(reg.getBinary("Settings", "odd"));
    EXPECT_FALSE(reg.getU32("Settings", "num"));
    EXPECT_FALSE(reg.getString("Settings", "bad"));
}

// The file holds the program and comms passwords: it and the folders made for it are the user's
// alone, whatever the umask, and a file or program folder an earlier version left open is closed.
TEST(Registry, TheFileAndItsFolderAreReadableByTheUserAlone)
{
    namespace fs = std::filesystem;
    const mode_t umaskWas = ::umask(0022);
    dev::TempFolder dir;
    const fs::path file = dir / "config" / "Quorvantis" / "registry.ini";
    {
        Registry reg(file);
        ASSERT_TRUE(reg.setString("Settings", "Colours", "x"));
    }
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(file.parent_path()).permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(dir / "config").permissions(), fs::perms::owner_all);

    fs::permissions(file, fs::perms::others_read | fs::perms::group_read, fs::perm_options::add);
    fs::permissions(file.parent_path(), fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    Registry reopened(file);
    EXPECT_EQ(reopened.getString("Settings", "Colours"), "x");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(file.parent_path()).permissions(), fs::perms::owner_all);
    ::umask(umaskWas);
}
