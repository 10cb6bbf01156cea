// Tests of the program folder and the backslashed relative names every file is found by.
#include "platform/Paths.h"

#include "devtools/lib/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace qv;

TEST(Paths, ComponentsMatchWithoutRegardToCase)
{
    dev::TempFolder dir;
    fs::create_directories(dir.path() / "Data" / "RT");
    std::ofstream(dir.path() / "Data" / "Quorva.DAT") << "x";

    struct Case { const char* relative; fs::path expected; };
    const Case cases[] = {
        {"data\\Quorva.dat", dir.path() / "Data" / "Quorva.DAT"},
        {"Data\\quorva.dat", dir.path() / "Data" / "Quorva.DAT"},
        {"DATA/rt", dir.path() / "Data" / "RT"},
        {"data\\Missing.cfg", dir.path() / "Data" / "Missing.cfg"},
        {"News\\INews.dat", dir.path() / "News" / "INews.dat"},
        {"Quorva.cfg", dir.path() / "Quorva.cfg"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveNoCase(dir.path(), c.relative), c.expected) << c.relative;
}

TEST(Paths, ExactSpellingWinsAndMissingFoldersAreMade)
{
    dev::TempFolder dir;
    fs::create_directories(dir.path() / "data");
    fs::create_directories(dir.path() / "Data");
    EXPECT_EQ(ResolveNoCase(dir.path(), "Data\\x"), dir.path() / "Data" / "x");
    EXPECT_EQ(ResolveNoCase(dir.path(), "data\\x"), dir.path() / "data" / "x");

    auto made = ResolveNoCase(dir.path(), "MAILBOX\\OUT\\form.txt", MakeFolders::Yes);
    EXPECT_EQ(made, dir.path() / "MAILBOX" / "OUT" / "form.txt");
    EXPECT_TRUE(fs::is_directory(dir.path() / "MAILBOX" / "OUT"));
    EXPECT_FALSE(fs::exists(made));
}

TEST(Paths, AppPathUsesTheProgramFolder)
{
    dev::TempFolder dir;
    fs::path old = ProgramFolder();
    SetProgramFolder(dir.path());
    EXPECT_EQ(AppPath("Quorva.cfg"), dir.path() / "Quorva.cfg");
    SetProgramFolder(old);
}
