// The update message's tabs and tab texts, the date line from the file's time, the stored message
// and the display-after-update setting.
#include "shell/UpdateMessages.h"

#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "shell/StartupChecks.h"
#include "support/PrivateRegistry.h"

#include <gtest/gtest.h>

#include <sys/time.h>
#include <ctime>

using namespace qv;

TEST(UpdateMessages, TabsAndTheirTexts)
{
    struct Case {
        const char* message;
        std::vector<std::string> tabs;
        std::vector<std::string> texts; // tab 0, 1, ... and one past the last
    };
    const Case cases[] = {
        {"Plain text only", {"Message"}, {"Plain text only", kNoMessageStored}},
        {"Intro~SH~Prices~SS~New prices", {"Message", "Prices"}, {"Intro", "New prices", kNoMessageStored}},
        {"Hi~SH~Two\r\nlines~SS~Body one~SH~Second~SS~Body two\r\n",
         {"Message", "Two  lines", "Second"},
         {"Hi", "Body one", "Body two\r\n", kNoMessageStored}},
        {"~SH~Unclosed heading", {"Message", "Unclosed heading"}, {"", kNoMessageStored}},
        {"", {"Message"}, {"", kNoMessageStored}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UpdateMessageTabs(c.message), c.tabs) << c.message;
        for (size_t n = 0; n < c.texts.size(); ++n)
            EXPECT_EQ(UpdateMessageTabText(c.message, int(n)), c.texts[n]) << c.message << " tab " << n;
    }
}

TEST(UpdateMessages, DateLineFromTheFileTimeInLocalTime)
{
    dev::TempFolder folder{"message"};
    std::filesystem::path file = folder / "Message.prv";
    EXPECT_EQ(UpdateMessageDateLine(file), "") << "no file, no date";
    ASSERT_TRUE(WriteFileBytes(file, std::vector<uint8_t>{0, 0, 0, 0}));
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 7;
    local.tm_hour = 18;
    local.tm_min = 5;
    local.tm_isdst = -1;
    std::time_t when = std::mktime(&local);
    struct timeval times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimes(file.c_str(), times), 0);
    EXPECT_EQ(UpdateMessageDateLine(file), "Last Update: Mon 07/12/2026 18:05");
}

TEST(UpdateMessages, TheStoredMessageAndTheDisplaySetting)
{
    std::vector<uint8_t> saved = StoredUpdateMessage();
    StoredUpdateMessage() = {};
    EXPECT_FALSE(UpdateMessageStored());
    StoredUpdateMessage() = {0};
    EXPECT_FALSE(UpdateMessageStored()) << "an empty message is no message";
    StoredUpdateMessage() = {'H', 'i', 0};
    EXPECT_TRUE(UpdateMessageStored());
    EXPECT_EQ(StoredUpdateMessageText(), "Hi");
    StoredUpdateMessage() = saved;

    test::PrivateRegistry registry;
    EXPECT_TRUE(DisplayUpdateMessageAfterUpdate()) << "shown unless the user said otherwise";
    SetDisplayUpdateMessageAfterUpdate(false);
    EXPECT_FALSE(DisplayUpdateMessageAfterUpdate());
}
