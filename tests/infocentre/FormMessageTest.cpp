// A submitted form's pages gathered into one message in the outgoing mailbox: its fields byte by
// byte, the header from the registry, the pages in page order, and nothing lost when the mailbox
// cannot be written.
#include "infocentre/FormMessage.h"

#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(FormMessage, FieldsByteByByte)
{
    struct Case {
        FormMessage message;
        uint32_t titleLengthAt; // where T sits
        uint32_t m;             // H + B
    };
    const std::string header = FormMailHeader("ann", "00042 Form Field Contents");
    EXPECT_EQ(header, "From: ann@quorvantis.example\r\nSubject: 00042 Form Field Contents\r\n\r\n");
    const Case cases[] = {
        // An address of 12 characters puts the title's length at 28; no header: M is B, 8 for 7 characters.
        {{"ab@cd.ef.ghi", "00042 Form Field Contents", "", "\"a\",\"b\""}, 28, 8},
        {{"x@y.z", "00042 Form Field Contents", header, "\"a\""}, 21, uint32_t(header.size() + 4)},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = FormMessageBytes(c.message);
        EXPECT_EQ(LoadU32(bytes.data()), 1u);
        EXPECT_EQ(LoadU32(bytes.data() + 4), 1u);
        EXPECT_EQ(LoadU32(bytes.data() + 8), c.message.destination.size());
        EXPECT_EQ(LoadU32(bytes.data() + 12), 0u);
        ASSERT_EQ(LoadU32(bytes.data() + c.titleLengthAt), c.message.title.size() + 1);
        const size_t mAt = c.titleLengthAt + 4 + c.message.title.size() + 1;
        EXPECT_EQ(LoadU32(bytes.data() + mAt), c.m);
        EXPECT_EQ(bytes.size(), mAt + 4 + c.m);
        EXPECT_EQ(bytes.back(), 0);
        const std::optional<FormMessage> back = ParseFormMessage(bytes);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->destination, c.message.destination);
        EXPECT_EQ(back->title, c.message.title);
        EXPECT_EQ(back->header, c.message.header);
        EXPECT_EQ(back->body, c.message.body);
        for (size_t cut = 0; cut < bytes.size(); ++cut)
            EXPECT_FALSE(ParseFormMessage(std::span(bytes).first(cut))) << cut;
    }
}

namespace {

class SendForm : public ::testing::Test {
protected:
    SendForm()
    {
        SetProgramFolder(folder.path());
        Registry::Instance().reopen(folder.path() / "registry.ini");
    }
    ~SendForm() override
    {
        SetProgramFolder(previousFolder);
        Registry::Instance().reopen(previousRegistry);
    }
    void Page(const std::string& name, const std::string& line)
    {
        WriteFileBytes(AppPath("Data\\Content\\" + name, MakeFolders::Yes), std::vector<uint8_t>(line.begin(), line.end()));
    }
    std::vector<std::string> Mailbox() const { return FindFiles(folder.path() / "MAILBOX" / "OUT", "*"); }

    std::filesystem::path previousFolder = ProgramFolder();
    std::filesystem::path previousRegistry = Registry::Instance().file();
    dev::TempFolder folder{"mailbox"};
    test::FakeMessageBox boxes;
};

} // namespace

// Pages gather in page order (page 10 after page 2), others' pages stay, and the user named by
// "Address", else by "Account", signs the header.
TEST_F(SendForm, ThePagesBecomeOneMessageAndAreThenDeleted)
{
    Page("000421.new", "\"a\"");
    Page("0004210.new", "\"c\"");
    Page("000422.new", "\"b\"\r\n");
    Page("000423.new", "");
    Page("000431.new", "\"other\"");
    Registry::Instance().setString("Comms", "Account", "acct7");
    ASSERT_TRUE(SendFormData("forms@example.com", "00042"));
    const std::vector<std::string> out = Mailbox();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(WildcardMatchNoCase("FRM????.MBO", out[0])) << out[0];
    const auto bytes = ReadFileBytes(folder.path() / "MAILBOX" / "OUT" / out[0]);
    ASSERT_TRUE(bytes);
    const std::optional<FormMessage> m = ParseFormMessage(*bytes);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->destination, "forms@example.com");
    EXPECT_EQ(m->body, "\"a\",\"b\",\"c\"");
    EXPECT_EQ(m->header, "From: acct7@quorvantis.example\r\nSubject: 00042 Form Field Contents\r\n\r\n");
    EXPECT_EQ(FindFiles(folder.path() / "Data" / "Content", "*.new"), std::vector<std::string>{"000431.new"});

    Registry::Instance().setString("Email", "Address", "ann");
    Page("000421.new", "\"d\"");
    ASSERT_TRUE(SendFormData("forms@example.com", "00042"));
    ASSERT_EQ(Mailbox().size(), 2u) << "a second message takes a name of its own";
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(SendForm, AMailboxThatCannotBeWrittenKeepsThePages)
{
    Page("000421.new", "\"a\"");
    // A file where the mailbox folder should be.
    WriteFileBytes(folder.path() / "MAILBOX", std::vector<uint8_t>{1});
    EXPECT_FALSE(SendFormData("forms@example.com", "00042"));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_NE(boxes.texts()[0].find("quoting code: 'Error writing the outgoing message;\n"), std::string::npos);
    EXPECT_EQ(FindFiles(folder.path() / "Data" / "Content", "*.new"), std::vector<std::string>{"000421.new"});
}
