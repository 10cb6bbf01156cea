// InfoCentre forms and links without a browser: post data checked and filed as the one-line form
// file and the left-over fields, the missing-field message, and the "qv:" verbs.
#include "infocentre/HtmlForms.h"

#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

constexpr const char* kHead = "fieldlist=a,b,c&mandatoryfields=&destemail=forms@example.com&";

class HtmlForms : public ::testing::Test {
protected:
    HtmlForms() { SetProgramFolder(folder.path()); }
    ~HtmlForms() override { SetProgramFolder(previous); }
    std::string File(const char* extension) const
    {
        const auto bytes = ReadFileBytes(AppPath(FormDataFileName("00042", 1, extension)));
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("(none)");
    }

    std::filesystem::path previous = ProgramFolder();
    dev::TempFolder folder{"forms"};
    test::FakeMessageBox boxes;
};

} // namespace

// What each posting writes to the page's form file, or why it is refused.
TEST_F(HtmlForms, PostedFieldsBecomeTheFormLine)
{
    struct Case {
        std::string post;
        FormSaveResult result;
        const char* line; // the form file's line when saved
    };
    const std::string head = kHead;
    const std::string name63(63, 'n'), name64(64, 'n');
    const Case cases[] = {
        {head + "b=2", FormSaveResult::Saved, "\"\",\"2\",\"\""},
        {head + "a=%22quoted%22+%2C+text&b=x&c=y", FormSaveResult::Saved, "\"'quoted' , text\",\"x\",\"y\""},
        {head + "c=1&c=2&a=z", FormSaveResult::Saved, "\"z\",\"\",\"1,2\""},
        // A repeat that does not follow its first value directly is not taken.
        {head + "c=1&a=z&c=2", FormSaveResult::Saved, "\"z\",\"\",\"1\""},
        // A text area's lines are kept as blanks; other control characters are refused.
        {head + "a=one%0D%0Atwo%09three", FormSaveResult::Saved, "\"one  two three\",\"\",\"\""},
        {head + "a=one%00two", FormSaveResult::Malformed, nullptr},
        {head + "a=bad%1b", FormSaveResult::Malformed, nullptr},
        {head + "a=raw text", FormSaveResult::Malformed, nullptr},
        {head + "a=%2", FormSaveResult::Malformed, nullptr},
        {head + "a=%zz", FormSaveResult::Malformed, nullptr},
        {head + "a-b=1", FormSaveResult::Malformed, nullptr},
        {head + "=1", FormSaveResult::Malformed, nullptr},
        {head + "a", FormSaveResult::Malformed, nullptr},
        {head + name63 + "=1&b=2", FormSaveResult::Saved, "\"\",\"2\",\"\""},
        {head + name64 + "=1&b=2", FormSaveResult::Malformed, nullptr},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(folder.path() / "Data");
        FormDescription form;
        EXPECT_EQ(SaveFormData(c.post, form, "00042", 1), c.result) << c.post;
        EXPECT_EQ(File("new"), c.line ? c.line : "(none)") << c.post;
    }
    EXPECT_TRUE(boxes.shown().empty()) << "malformed data closes the window without a message";
}

TEST_F(HtmlForms, FieldsOutsideTheListGoToTheLeftOverFile)
{
    FormDescription form;
    ASSERT_EQ(SaveFormData(std::string(kHead) + "x=1&a=2&y=%22z%22", form, "00042", 1), FormSaveResult::Saved);
    EXPECT_EQ(File("new"), "\"2\",\"\",\"\"");
    EXPECT_EQ(File("err"), "x=\"1\",y=\"'z'\"\n");
}

// A field before the description is complete, and mandatory fields left empty.
TEST_F(HtmlForms, AnIncompleteDescriptionOrAnEmptyMandatoryFieldWritesNothing)
{
    FormDescription early;
    EXPECT_EQ(SaveFormData("fieldlist=a,b&mandatoryfields=&a=1&destemail=x", early, "00042", 1), FormSaveResult::Malformed);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], "Quorvantis is unable to display this InfoCentre document.  Please\ncontact Quorvantis support, "
                                "quoting code 'The document \"00042\"\nappears to be incorrectly formatted or corrupt.  The "
                                "field list, mandatory\nfield list or destination email address may be wrong.'");

    FormDescription form;
    EXPECT_EQ(SaveFormData("fieldlist=a,b,email&mandatoryfields=a:Your+name,email&destemail=x&a=&b=2&email=", form, "00042", 1),
              FormSaveResult::MandatoryMissing);
    EXPECT_EQ(File("new"), "(none)");
    EXPECT_EQ(MissingFieldsMessage(form), "The form cannot be submitted until you have\nfilled in the following:\n\n"
                                          "Your name\n\tEmail\n\nPlease enter them into the form and resubmit.");
    // A value given later in the same post fills it.
    FormDescription filled;
    EXPECT_EQ(SaveFormData("fieldlist=a&mandatoryfields=a:name&destemail=x&a=&a=Ann", filled, "00042", 1), FormSaveResult::Saved);
    EXPECT_EQ(File("new"), "\",Ann\"");
}

TEST_F(HtmlForms, AFormFileThatCannotBeWrittenIsReported)
{
    std::filesystem::create_directories(AppPath(FormDataFileName("00042", 1, "new"), MakeFolders::Yes));
    FormDescription form;
    EXPECT_EQ(SaveFormData(std::string(kHead) + "a=1", form, "00042", 1), FormSaveResult::WriteFailed);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.texts()[0].starts_with("Quorvantis is unable to process the data you have entered on the form.\n"));
    EXPECT_NE(boxes.texts()[0].find("'Open error writing CSV file;\n"), std::string::npos);
    EXPECT_EQ(boxes.shown()[0].icon, MsgIcon::Exclamation);
}

TEST(InCLinks, VerbsAndTheirArguments)
{
    struct Case {
        const char* url;
        InCLinkVerb verb;
        const char* argument;
        std::optional<uint32_t> number;
    };
    const Case cases[] = {
        {"file:///x/intro.htm", InCLinkVerb::None, "", {}},
        {"http://www.example.com", InCLinkVerb::None, "", {}},
        {"qv:closewindow", InCLinkVerb::CloseWindow, "", {}},
        {"qv:backpage", InCLinkVerb::BackPage, "", {}},
        {"qv:command/26622", InCLinkVerb::Command, "26622", 26622u},
        {"qv:cmdclose", InCLinkVerb::CommandClose, "", {}},
        {"qv:cmdclose/20316", InCLinkVerb::CommandClose, "20316", 20316u},
        {"qv:helpkey/Stop%20losses", InCLinkVerb::HelpKey, "Stop%20losses", {}},
        {"qv:help/12", InCLinkVerb::Help, "12", 12u},
        {"qv:partsubmit/page2.htm", InCLinkVerb::PartSubmit, "page2.htm", {}},
        {"qv:docsubmit", InCLinkVerb::DocSubmit, "", {}},
        {"qv:document/17", InCLinkVerb::Document, "17", 17u},
        {"qv:document/x", InCLinkVerb::Document, "x", {}},
        {"qv:launch", InCLinkVerb::Unknown, "", {}},
    };
    for (const Case& c : cases) {
        const InCLink link = ParseInCLink(c.url);
        EXPECT_EQ(link.verb, c.verb) << c.url;
        EXPECT_EQ(link.argument, c.argument) << c.url;
        EXPECT_EQ(link.number, c.number) << c.url;
    }
    EXPECT_EQ(InCHelpTopic(12), 12u + 0x10000u);
}

// The document's first page does not count, so backpage there does nothing; pages opened by a link
// count once, and a form's next page, counted by the program, not again when it loads.
TEST(InCLinks, PageDepthLimitsBackPage)
{
    HtmlPageDepth depth;
    depth.NewDocument(true);
    depth.PageNavigated();
    depth.DocumentComplete();
    EXPECT_FALSE(depth.BackPage());
    EXPECT_EQ(depth.Depth(), 0u);

    depth.PageNavigated();
    depth.DocumentComplete();
    depth.CountPage();
    depth.PageNavigated();
    depth.DocumentComplete();
    EXPECT_EQ(depth.Depth(), 2u);
    EXPECT_TRUE(depth.BackPage());
    depth.PageNavigated(); // going back is no new page
    depth.DocumentComplete();
    EXPECT_EQ(depth.Depth(), 1u);

    depth.NewDocument(true);
    EXPECT_EQ(depth.Depth(), 0u);
}

// helpkey's "%" and the two characters after it become one blank, but only where two follow.
TEST(InCLinks, HelpKeyText)
{
    EXPECT_EQ(HelpKeyText("Stop%20losses"), "Stop losses");
    EXPECT_EQ(HelpKeyText("a%2"), "a%2");
    EXPECT_EQ(HelpKeyText("100%"), "100%");
    EXPECT_EQ(HelpKeyText(std::string(70, 'k')), std::string(63, 'k'));
}

TEST(HtmlKeys, WhatAKeyDoesBeforeThePageSeesIt)
{
    using K = HtmlKey::Kind;
    using A = HtmlKeyAction;
    struct Case {
        HtmlKey key;
        bool autoView, inField;
        A action;
    };
    const Case cases[] = {
        {{K::Escape}, true, false, A::OpenLater},        {{K::Escape}, false, false, A::CloseWindow},
        {{K::Escape, true}, true, false, A::CloseWindow}, {{K::Space}, false, false, A::ScrollDown},
        {{K::Space, false, true}, false, false, A::ScrollUp}, {{K::Space}, false, true, A::PassOn},
        {{K::Enter}, false, true, A::DialogKey},          {{K::Tab}, false, false, A::DialogKey},
        {{K::Character, false, false, 'm'}, false, false, A::OpenFind}, {{K::Character, false, false, 'm'}, false, true, A::PassOn},
        {{K::Character, false, false, 6}, false, false, A::OpenFindEmpty}, {{K::Character, false, false, 1}, false, false, A::PassOn},
        {{K::RightButton}, false, true, A::OpenFindEmpty}, {{K::Other}, false, false, A::PassOn},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(RouteHtmlKey(cases[i].key, cases[i].autoView, cases[i].inField), cases[i].action) << i;
    EXPECT_TRUE(IsFormField("INPUT", "text"));
    EXPECT_TRUE(IsFormField("input", "CheckBox"));
    EXPECT_TRUE(IsFormField("TEXTAREA", ""));
    EXPECT_FALSE(IsFormField("input", "hidden"));
    EXPECT_FALSE(IsFormField("A", ""));
    EXPECT_FALSE(IsFormField("BODY", ""));
}
