// Start-up's checks: log trimming at its limit, the stored update message against damaged lengths,
// the screen advice, the keys held at start and the font heights.
#include "shell/StartupChecks.h"

#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace qv;

namespace {

void WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> LengthThen(uint32_t length, const std::string& text)
{
    std::vector<uint8_t> bytes{uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16), uint8_t(length >> 24)};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

} // namespace

TEST(StartupChecks, LogsAreDeletedOnlyBeyondTheirLimit)
{
    dev::TempFolder folder;
    struct Case {
        uint64_t size;
        bool kept;
    } cases[] = {{0, true}, {32000, true}, {32001, false}};
    for (const Case& c : cases) {
        auto log = folder / "comms.log";
        WriteBytes(log, std::vector<uint8_t>(c.size, 'x'));
        TrimLogFile(log, 32000);
        EXPECT_EQ(std::filesystem::exists(log), c.kept) << c.size;
    }
    TrimLogFile(folder / "missing.log", 0); // left alone, no fault
}

TEST(StartupChecks, StoredUpdateMessageIsBoundedByTheFileAndEndsInAZero)
{
    dev::TempFolder folder;
    auto file = folder / "Message.prv";
    EXPECT_TRUE(ReadStoredUpdateMessage(file).empty()) << "missing file";

    WriteBytes(file, {5, 0, 0});
    EXPECT_TRUE(ReadStoredUpdateMessage(file).empty()) << "length cut short";

    struct Case {
        uint32_t length;
        std::string body;
        std::string expected;
    } cases[] = {
        {5, "Hello", "Hello"},
        {3, "Hello", "Hel"},
        {0xFFFFFFF0, "Huge", "Huge"}, // a damaged length never asks for gigabytes
        {0, "", ""},
    };
    for (const Case& c : cases) {
        WriteBytes(file, LengthThen(c.length, c.body));
        std::vector<uint8_t> message = ReadStoredUpdateMessage(file);
        ASSERT_EQ(message.size(), c.expected.size() + 1) << c.length;
        EXPECT_EQ(message.back(), 0);
        EXPECT_EQ(std::string(message.begin(), message.end() - 1), c.expected);
    }
}

TEST(StartupChecks, ResolutionAdviceAtMostOnceInTwentyStarts)
{
    test::FakeMessageBox box;
    uint8_t counter = 0;
    std::vector<int> shownOn;
    for (int start = 0; start < 45; ++start)
        if (CheckResolution(640, counter))
            shownOn.push_back(start);
    EXPECT_EQ(shownOn, (std::vector<int>{0, 21, 42}));
    ASSERT_FALSE(box.texts().empty());
    EXPECT_EQ(box.texts()[0], "Quorvantis runs best with a screen resolution of 800 x 600 or more\n\n"
                              "If you need help changing this please ring support on 01632 960 123");

    EXPECT_FALSE(CheckResolution(800, counter));
    EXPECT_EQ(counter, 0) << "a wide screen resets the counter";
}

TEST(StartupChecks, ColourAdviceAtEightBitsOrFewer)
{
    test::FakeMessageBox box;
    CheckColourDepth(16);
    CheckColourDepth(32);
    EXPECT_TRUE(box.texts().empty());
    CheckColourDepth(8);
    ASSERT_EQ(box.texts().size(), 1u);
    EXPECT_EQ(box.texts()[0].rfind("Quorvantis runs best with a colour depth of 16 bits or more\n\n", 0), 0u);
}

TEST(StartupChecks, KeysHeldAtStart)
{
    dev::TempFolder folder;
    auto previous = ProgramFolder();
    SetProgramFolder(folder.path());
    std::filesystem::create_directories(folder / "data" / "News");
    for (const char* name : {"TNews.dat", "INews.dat"})
        WriteBytes(folder.path() / "data" / "News" / name, {1});

    {
        test::FakeMessageBox box;
        box.queue(MsgAnswer::No);
        EXPECT_FALSE(HandleKeysHeldAtStart(true, false));
        EXPECT_TRUE(std::filesystem::exists(folder.path() / "data" / "News" / "TNews.dat"));
        box.queue(MsgAnswer::Yes);
        EXPECT_FALSE(HandleKeysHeldAtStart(true, false));
        EXPECT_FALSE(std::filesystem::exists(folder.path() / "data" / "News" / "TNews.dat"));
        EXPECT_FALSE(std::filesystem::exists(folder.path() / "data" / "News" / "INews.dat"));
        EXPECT_EQ(box.texts()[0], "Are you sure you wish to clear the news index & title files?");
    }
    {
        test::FakeMessageBox box;
        EXPECT_TRUE(HandleKeysHeldAtStart(false, true)) << "No is the default: the file is skipped";
        ASSERT_EQ(box.shown().size(), 1u);
        EXPECT_EQ(box.shown()[0].text, "Do you want to load Quorva.cfg?");
        box.queue(MsgAnswer::Yes);
        EXPECT_FALSE(HandleKeysHeldAtStart(false, true));
        EXPECT_FALSE(HandleKeysHeldAtStart(false, false));
    }
    SetProgramFolder(previous);
}

TEST(StartupChecks, FontHeightsByScreenWidthAndResolution)
{
    struct Case {
        int width, height;
    } cases[] = {{640, -11}, {999, -11}, {1000, -12}, {1199, -12}, {1200, -15}, {2560, -15}};
    for (const Case& c : cases)
        EXPECT_EQ(ListFontHeightForWidth(c.width), c.height) << c.width;
    PrepareFonts(1024, 96);
    EXPECT_EQ(ProgramFonts().largeHeight, -13);
    EXPECT_EQ(ProgramFonts().smallHeight, -10);
    EXPECT_EQ(ProgramFonts().listHeight, -12);
}
