// The program password: the stored value's round trip for every character, the flags, the settings
// dialog's unlocking and OK rules, and the lock at start-up.
#include "shell/ProgramPassword.h"

#include "platform/Registry.h"
#include "shell/AppServices.h"
#include "support/FakeMessageBox.h"
#include "support/PrivateRegistry.h"

#include <gtest/gtest.h>

#include <deque>

using namespace qv;

namespace {

class PasswordFixture : public ::testing::Test {
protected:
    PasswordFixture()
    {
        SetPasswordRandomSource([this] { return random++; });
    }
    ~PasswordFixture() override { SetPasswordRandomSource({}); }

    static std::optional<std::string> StoredValue()
    {
        return Registry::Instance().getString(kPasswordSection, kPasswordValue);
    }
    static void Store(const std::string& value) { Registry::Instance().setString(kPasswordSection, kPasswordValue, value); }

    // Sets a password through the dialog's rules, as a user would from an unlocked dialog.
    static void SetThroughDialog(const std::string& password, bool on)
    {
        PasswordSettings dialog;
        ASSERT_FALSE(dialog.locked());
        ASSERT_TRUE(dialog.Ok(password, password, on));
    }

    test::PrivateRegistry registry;
    test::FakeMessageBox boxes;
    uint32_t random = 0;
};

} // namespace

TEST(ProgramPasswordCoding, EveryCharacterAndEveryFlagComesBack)
{
    std::string all;
    for (int c = 1; c <= 255; ++c)
        all += char(c);
    for (uint32_t random : {0u, 0xFFu, 0x1234u, 0xFFFFFFFFu}) {
        for (uint8_t flag : {MakeOnFlag(random), MakeOffFlag(random)}) {
            std::string value = EncodePassword(flag, all);
            EXPECT_EQ(value.find('\0'), std::string::npos) << "no character, nor the flag, becomes 0";
            StoredPassword back = DecodePassword(value);
            EXPECT_EQ(back.password, all) << "flag " << int(flag);
            EXPECT_EQ(back.flag, flag);
            EXPECT_FALSE(back.plain);
            EXPECT_EQ(back.lockOn(), flag == MakeOnFlag(random));
        }
    }
    // The key's own character in the middle of a password no longer cuts it.
    std::string withKey{'A', char(kPasswordKey1), 'B'};
    EXPECT_EQ(DecodePassword(EncodePassword(MakeOnFlag(7), withKey)).password, withKey);
    EXPECT_FALSE(DecodePassword("").present);
}

TEST(ProgramPasswordCoding, UpperCaseAndComparisonIgnoreCaseInTheStoredCharacterSet)
{
    EXPECT_EQ(UpperPassword("abc xyz\xE9\xFF\x9A\xF7"), "ABC XYZ\xC9\x9F\x8A\xF7");
    EXPECT_TRUE(PasswordEqualsNoCase("se\xE7ret", "SE\xC7RET"));
    EXPECT_FALSE(PasswordEqualsNoCase("secret", "secrets"));
}

// A password is kept as a salted hash: the stored value tells nobody the password, in any encoding,
// and the same password set twice is stored differently.
TEST_F(PasswordFixture, ASetPasswordIsStoredAsASaltedHashAndLocksAtStartUp)
{
    SetThroughDialog("Sesame", true);
    StoredPassword stored = ReadStoredPassword();
    EXPECT_TRUE(stored.hashed());
    EXPECT_EQ(stored.password, "");
    EXPECT_TRUE(stored.lockOn());
    const std::string value = *StoredValue();
    EXPECT_EQ(value.find(EncodePassword(stored.flag, "SESAME").substr(1)), std::string::npos);
    EXPECT_EQ(value.find("SESAME"), std::string::npos);
    EXPECT_EQ(value.substr(1, kHashedPasswordMarker.size()), kHashedPasswordMarker);
    {
        PasswordSettings dialog;
        ASSERT_TRUE(dialog.TryUnlock("sesame"));
        ASSERT_TRUE(dialog.Ok("Sesame", "Sesame", true));
    }
    EXPECT_NE(*StoredValue(), value);
    EXPECT_NE(ReadStoredPassword().salt, stored.salt);

    // Start-up asks until the password is right; lower case opens the upper-cased one.
    std::deque<std::string> typed{"wrong", "sesame"};
    boxes.queue(MsgAnswer::Retry);
    EXPECT_TRUE(UnlockProgram([&]() -> std::optional<std::string> {
        std::string text = typed.front();
        typed.pop_front();
        return text;
    }));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Incorrect password"});
    // Giving up at the box, or at the dialog, keeps the program locked.
    boxes.queue(MsgAnswer::Cancel);
    EXPECT_FALSE(UnlockProgram([] { return std::optional<std::string>("nope"); }));
    EXPECT_FALSE(UnlockProgram([] { return std::optional<std::string>(); }));
}

TEST_F(PasswordFixture, TheAccountCodeUnlocksAnyPassword)
{
    SetThroughDialog("Sesame", true);
    Registry::Instance().setString("Comms", "Account", "ABCDE");
    std::string code = ScrambleCode("ABCDE");
    EXPECT_TRUE(UnlockProgram([&] { return std::optional<std::string>(code); }));
    PasswordSettings dialog;
    EXPECT_TRUE(dialog.locked());
    EXPECT_TRUE(dialog.TryUnlock(code));
}

// Without a stored account (missing, or empty) neither the scramble's fallback "4=7=1" nor an empty
// text opens the password.
TEST_F(PasswordFixture, WithoutAnAccountNoCodeUnlocks)
{
    SetThroughDialog("Sesame", true);
    for (bool stored : {false, true}) {
        if (stored)
            Registry::Instance().setString("Comms", "Account", "");
        EXPECT_EQ(AccountCode(), "");
        for (const std::string& typed : {ScrambleCode(""), std::string()}) {
            boxes.queue(MsgAnswer::Cancel);
            EXPECT_FALSE(UnlockProgram([&] { return std::optional<std::string>(typed); })) << "'" << typed << "'";
            PasswordSettings dialog;
            EXPECT_FALSE(dialog.TryUnlock(typed)) << "'" << typed << "'";
        }
    }
    EXPECT_TRUE(UnlockProgram([] { return std::optional<std::string>("sesame"); }));
}

TEST_F(PasswordFixture, SwitchingOffKeepsThePasswordAndStillAsksInTheDialog)
{
    SetThroughDialog("Sesame", true);
    {
        PasswordSettings dialog;
        EXPECT_TRUE(dialog.locked());
        EXPECT_TRUE(dialog.lockOnAtOpen());
        EXPECT_FALSE(dialog.TryUnlock("sesam"));
        EXPECT_TRUE(dialog.TryUnlock("sesame"));
        // Unlocking copies the typed text into new and confirm; the user unticks the box.
        EXPECT_TRUE(dialog.Ok("sesame", "sesame", false));
    }
    EXPECT_FALSE(ReadStoredPassword().lockOn());
    EXPECT_TRUE(UnlockProgram([] { return std::optional<std::string>(); })) << "nothing asks at start-up";
    {
        PasswordSettings dialog;
        EXPECT_TRUE(dialog.locked()) << "the dialog still asks for the password";
        EXPECT_FALSE(dialog.lockOnAtOpen());
        EXPECT_TRUE(dialog.TryUnlock("SESAME"));
    }

    // Switching off with the edits emptied replaces only the flag.
    Store(EncodePassword(MakeOnFlag(1), "KEEP"));
    {
        PasswordSettings dialog;
        ASSERT_TRUE(dialog.TryUnlock("keep"));
        EXPECT_TRUE(dialog.Ok("", "", false));
    }
    StoredPassword after = ReadStoredPassword();
    EXPECT_FALSE(after.lockOn());
    EXPECT_EQ(after.password, "KEEP");
}

TEST_F(PasswordFixture, OkRulesShowTheirMessagesAndWriteNothingWhenRefused)
{
    struct Case {
        const char* newText;
        const char* confirm;
        bool on;
        MsgAnswer answer;
        bool closes;
        const char* message;
    };
    const Case cases[] = {
        {"abc", "abd", true, MsgAnswer::Retry, false, "Passwords do not match\r\nPlease re-enter them or cancel"},
        {"abc", "ABC", false, MsgAnswer::Cancel, true, "Passwords do not match\r\nPlease re-enter them or cancel"},
        {"", "", true, MsgAnswer::Retry, false, "A password must be set before it can be turned on"},
        {"", "", true, MsgAnswer::Cancel, true, "A password must be set before it can be turned on"},
        {"", "", false, MsgAnswer::Ok, true, nullptr},
    };
    for (const Case& c : cases) {
        test::FakeMessageBox box;
        box.queue(c.answer);
        PasswordSettings dialog;
        EXPECT_EQ(dialog.Ok(c.newText, c.confirm, c.on), c.closes) << c.newText << "/" << c.confirm;
        EXPECT_EQ(box.texts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        EXPECT_FALSE(StoredValue()) << "nothing is written";
    }
}

TEST_F(PasswordFixture, APlainValueOpensUnlockedAndNeverLocks)
{
    Store(std::string(1, char(kPlainPasswordFlag ^ kPasswordKey2)) + "Plain");
    StoredPassword stored = ReadStoredPassword();
    EXPECT_TRUE(stored.plain);
    EXPECT_EQ(stored.password, "Plain");
    EXPECT_FALSE(stored.lockOn());
    PasswordSettings dialog;
    EXPECT_FALSE(dialog.locked());
    EXPECT_TRUE(UnlockProgram([] { return std::optional<std::string>(); }));
}

TEST_F(PasswordFixture, EveryCharacterSurvivesTheRegistry)
{
    std::string all;
    for (int c = 1; c <= 255; ++c)
        all += char(c);
    SetThroughDialog(all, true);
    Registry::Instance().reopen(Registry::Instance().file()); // read back from the file
    EXPECT_TRUE(ReadStoredPassword().hashed());
    EXPECT_TRUE(UnlockProgram([&] { return std::optional<std::string>(all); }));
    EXPECT_FALSE(PasswordUnlocks(all.substr(1), ReadStoredPassword(), ""));
}

// A value of the older, lightly encoded form still opens with its password, and is stored again as
// a hash once the password has been typed at start-up (not when the account code opened it).
TEST_F(PasswordFixture, AnOlderValueStillOpensAndIsStoredAgainAsAHash)
{
    std::string all;
    for (int c = 1; c <= 255; ++c)
        all += char(c);
    const std::string older = EncodePassword(MakeOnFlag(9), UpperPassword(all));
    Store(older);
    Registry::Instance().setString("Comms", "Account", "ABCDE");
    Registry::Instance().reopen(Registry::Instance().file());
    EXPECT_EQ(ReadStoredPassword().password, UpperPassword(all));
    EXPECT_TRUE(UnlockProgram([] { return std::optional<std::string>(ScrambleCode("ABCDE")); }));
    EXPECT_EQ(*StoredValue(), older);
    EXPECT_TRUE(UnlockProgram([&] { return std::optional<std::string>(all); }));
    StoredPassword now = ReadStoredPassword();
    EXPECT_TRUE(now.hashed());
    EXPECT_EQ(now.flag, MakeOnFlag(9));
    EXPECT_TRUE(PasswordUnlocks(all, now, ""));
    EXPECT_TRUE(now.lockOn());
}
