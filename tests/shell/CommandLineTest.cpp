// Tests of the program's start-up switches.
#include "shell/CommandLine.h"

#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace qv;

namespace {

// Each case starts from the settings of an empty command line and names what it changes.
struct Case {
    const char* text;
    void (*expect)(CommandLineSettings&);
};

} // namespace

TEST(CommandLine, SwitchesTable)
{
    const Case cases[] = {
        {"", [](CommandLineSettings&) {}},
        {"/nologo", [](CommandLineSettings& s) { s.showSplash = false; }},
        {"/nologox", [](CommandLineSettings&) {}},
        {"/L:english /SP:abc", [](CommandLineSettings& s) { s.languageText = "english"; s.spText = "abc"; }},
        {"/L:", [](CommandLineSettings&) {}},
        // "/P:" inside "/SP:" is not the port switch.
        {"/SP:x/P:9", [](CommandLineSettings& s) { s.spText = "x/P:9"; }},
        {"/P:7010", [](CommandLineSettings& s) { s.portNumber = 7010; }},
        {"/P:12ab", [](CommandLineSettings& s) { s.portNumber = 12; }},
        {"/P: 7010", [](CommandLineSettings& s) { s.portNumber = 0; }},
        {"/P:-5", [](CommandLineSettings& s) { s.portNumber = -5; }},
        {"/P:99999999999999", [](CommandLineSettings& s) { s.portNumber = 2147483647; }},
        {"/P:-99999999999999", [](CommandLineSettings& s) { s.portNumber = -2147483647 - 1; }},
        {"/C:10,20,800,600",
         [](CommandLineSettings& s) { s.windowX = 10; s.windowY = 20; s.windowWidth = 800; s.windowHeight = 600; }},
        {"/C:-1600,0,1024,768",
         [](CommandLineSettings& s) { s.windowX = -1600; s.windowWidth = 1024; s.windowHeight = 768; }},
        {"/C:10,20,800", [](CommandLineSettings&) {}},
        {"/C:10,20,800 ,600", [](CommandLineSettings&) {}},
        {"/C:", [](CommandLineSettings&) {}},
        {"/D:8", [](CommandLineSettings& s) { s.commsMode = 150; }},
        {"/D:4", [](CommandLineSettings& s) { s.commsMode = 151; }},
        {"/D:12", [](CommandLineSettings& s) { s.commsMode = 151; }},
        {"/D:64", [](CommandLineSettings& s) { s.commsFlag = 1; }},
        {"/D:76", [](CommandLineSettings& s) { s.commsMode = 151; s.commsFlag = 1; }},
        {"/D:x", [](CommandLineSettings&) {}},
        {"/d:test\\Quorva2.dat", [](CommandLineSettings& s) { s.databaseName = "test\\Quorva2.dat"; }},
        {"/m:57", [](CommandLineSettings& s) { s.secondCopy = true; }},
        {"/m:5", [](CommandLineSettings&) {}},
        {"/U", [](CommandLineSettings& s) { s.unattended = true; s.showSplash = false; }},
        // "/U" is still found anywhere, even inside a path.
        {"/d:data/Upd.dat",
         [](CommandLineSettings& s) { s.databaseName = "data/Upd.dat"; s.unattended = true; s.showSplash = false; }},
        {"/X", [](CommandLineSettings&) {}},
        {"/U /X", [](CommandLineSettings& s) { s.unattended = true; s.showSplash = false; s.unattendedExtra = 1; }},
        {"/X /U", [](CommandLineSettings& s) { s.unattended = true; s.showSplash = false; s.unattendedExtra = 1; }},
        {"/T",
         [](CommandLineSettings& s) {
             s.timedUpdate = true; s.unattended = true; s.showSplash = false; s.unattendedExtra = 1;
         }},
        {"/NC /GC", [](CommandLineSettings& s) { s.noConfigSave = true; s.noChartCaption = true; }},
        {"/R", [](CommandLineSettings& s) { s.removeDataFiles = true; }},
        {"  /R\t", [](CommandLineSettings& s) { s.removeDataFiles = true; }},
        // "/R" as part of another token does not remove anything.
        {"/d:data/Real.dat", [](CommandLineSettings& s) { s.databaseName = "data/Real.dat"; }},
        {"/RX /Run", [](CommandLineSettings&) {}},
        {"/RT", [](CommandLineSettings& s) { s.realTime = true; }},
        {"/R /RT", [](CommandLineSettings& s) { s.removeDataFiles = true; s.realTime = true; }},
        // "/R" does not take "/RT", nor "/RT" a longer token.
        {"/RTX /rt", [](CommandLineSettings&) {}},
        {"/r", [](CommandLineSettings&) {}},
        {"/T1 /NCX /GCC /Xs", [](CommandLineSettings&) {}},
        {"/nologo /P:7005 /C:0,0,640,480 /D:8 /d:x.dat /m:57 /NC /GC",
         [](CommandLineSettings& s) {
             s.showSplash = false; s.portNumber = 7005; s.windowX = 0; s.windowWidth = 640; s.windowHeight = 480;
             s.commsMode = 150; s.databaseName = "x.dat"; s.secondCopy = true; s.noConfigSave = true;
             s.noChartCaption = true;
         }},
    };
    for (const Case& c : cases) {
        CommandLineSettings expected;
        c.expect(expected);
        CommandLineSettings got = ParseCommandLine(c.text);
        SCOPED_TRACE(std::string("command line \"") + c.text + "\"");
        EXPECT_EQ(got.showSplash, expected.showSplash);
        EXPECT_EQ(got.languageText, expected.languageText);
        EXPECT_EQ(got.spText, expected.spText);
        EXPECT_EQ(got.portNumber, expected.portNumber);
        EXPECT_EQ(got.windowX, expected.windowX);
        EXPECT_EQ(got.windowY, expected.windowY);
        EXPECT_EQ(got.windowWidth, expected.windowWidth);
        EXPECT_EQ(got.windowHeight, expected.windowHeight);
        EXPECT_EQ(got.commsMode, expected.commsMode);
        EXPECT_EQ(got.commsFlag, expected.commsFlag);
        EXPECT_EQ(got.databaseName, expected.databaseName);
        EXPECT_EQ(got.secondCopy, expected.secondCopy);
        EXPECT_EQ(got.unattended, expected.unattended);
        EXPECT_EQ(got.removeDataFiles, expected.removeDataFiles);
        EXPECT_EQ(got.unattendedExtra, expected.unattendedExtra);
        EXPECT_EQ(got.noConfigSave, expected.noConfigSave);
        EXPECT_EQ(got.timedUpdate, expected.timedUpdate);
        EXPECT_EQ(got.noChartCaption, expected.noChartCaption);
        EXPECT_EQ(got.realTime, expected.realTime);
    }
}

TEST(CommandLine, ArgumentsJoinIntoOneText)
{
    const char* argv[] = {"quorvantis", "/nologo", "/C:1,2,3,4"};
    EXPECT_EQ(JoinCommandLine(3, argv), "/nologo /C:1,2,3,4");
    EXPECT_EQ(JoinCommandLine(1, argv), "");
    EXPECT_TRUE(ParseCommandLine(JoinCommandLine(3, argv)).hasWindowPlacement());
}

TEST(CommandLine, RemoveDataFilesDeletesOnlyTheFourDataFiles)
{
    dev::TempFolder dir;
    fs::path previous = ProgramFolder();
    SetProgramFolder(dir.path());
    fs::create_directories(dir.path() / "data");
    for (const char* name : {"Quorva.dat", "dirdeal.DAT", "Cash.dat", "Comp.dat"})
        std::ofstream(dir.path() / "data" / name) << "x";
    RemoveDataFiles(); // "Imports.dat" is missing: no error
    EXPECT_FALSE(fs::exists(dir.path() / "data" / "Quorva.dat"));
    EXPECT_FALSE(fs::exists(dir.path() / "data" / "dirdeal.DAT"));
    EXPECT_FALSE(fs::exists(dir.path() / "data" / "Cash.dat"));
    EXPECT_TRUE(fs::exists(dir.path() / "data" / "Comp.dat"));
    SetProgramFolder(previous);
}
