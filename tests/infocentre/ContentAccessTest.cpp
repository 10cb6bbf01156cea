// What a hostile InfoCentre document may reach: links and form posts without the user's click,
// files outside the content folder or beside its pages, and reads from script.
#include "infocentre/ContentAccess.h"

#include "devtools/lib/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace qv;

namespace {

namespace fs = std::filesystem;

TEST(ContentAccess, LinksNeedTheUsersClickToRunCommandsPostFormsOrGoOut)
{
    struct Case {
        const char* url;
        LinkAction click, submit, script;
    };
    using A = LinkAction;
    const Case cases[] = {
        // A page's script (or a timer, or a redirect) reaches no command, form or web address.
        {"qv:command/26103", A::Verb, A::Refuse, A::Refuse},
        {"qv:cmdclose/26103", A::Verb, A::Refuse, A::Refuse},
        {"qv:docsubmit", A::Verb, A::Verb, A::Refuse},
        {"qv:partsubmit/page2.htm", A::Verb, A::Verb, A::Refuse},
        {"http://127.0.0.1:7115/leak?d=root:x:0:0", A::OpenExternal, A::OpenExternal, A::Refuse},
        {"HTTPS://www.example.com/", A::OpenExternal, A::OpenExternal, A::Refuse},
        // Closing, paging back, help and another document run nothing and post nothing.
        {"qv:closewindow", A::Verb, A::Refuse, A::Verb},
        {"qv:backpage", A::Verb, A::Refuse, A::Verb},
        {"qv:help/12", A::Verb, A::Refuse, A::Verb},
        {"qv:document/20", A::Verb, A::Refuse, A::Verb},
        {"qv:launch", A::Verb, A::Refuse, A::Refuse},
        // Pages load when their file is allowed; nothing else loads.
        {"file:///demo/Data/Content/00011.htm", A::Load, A::Load, A::Load},
        {"data:text/html,<script>alert(1)</script>", A::Refuse, A::Refuse, A::Refuse},
        {"javascript:alert(1)", A::Refuse, A::Refuse, A::Refuse},
        {"mailto:someone@example.com?attach=/etc/passwd", A::Refuse, A::Refuse, A::Refuse},
        {"ftp://example.com/", A::Refuse, A::Refuse, A::Refuse},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecideLink(c.url, LinkSource::Click), c.click) << c.url;
        EXPECT_EQ(DecideLink(c.url, LinkSource::Submit), c.submit) << c.url;
        EXPECT_EQ(DecideLink(c.url, LinkSource::Script), c.script) << c.url;
    }
}

class ContentFiles : public ::testing::Test {
protected:
    ContentFiles()
    {
        fs::create_directories(content);
        for (const char* name : {"00020.htm", "inc.css", "logo.gif", "000200.new", "index.dat"})
            std::ofstream(content / name) << "x";
        std::ofstream(root / "Quorva000.por") << "x";
        std::ofstream(root / "secret.htm") << "x";
    }
    dev::TempFolder root{"qvcontent"};
    fs::path content = root.path() / "Data" / "Content";
};

TEST_F(ContentFiles, OnlyThePagesOwnFilesInsideTheFolderAreShownOrUsed)
{
    EXPECT_TRUE(ContentFileAllowed(content, content / "00020.htm", ContentUse::Page));
    EXPECT_TRUE(ContentFileAllowed(content, "00020.htm", ContentUse::Page));
    EXPECT_TRUE(ContentFileAllowed(content, content / "inc.css", ContentUse::Resource));
    EXPECT_TRUE(ContentFileAllowed(content, content / "LOGO.GIF", ContentUse::Resource));
    EXPECT_TRUE(ContentFileAllowed(content, content / "sub" / "later.htm", ContentUse::Page)); // not there yet
    const fs::path refused[] = {
        "/etc/passwd",
        root.path() / "Quorva000.por",
        root.path() / "secret.htm",
        content / ".." / ".." / "secret.htm",
        "../../secret.htm",
        content / "000200.new", // the user's form data beside the pages
        content / "index.dat",
        content,
    };
    for (const fs::path& file : refused) {
        EXPECT_FALSE(ContentFileAllowed(content, file, ContentUse::Page)) << file;
        EXPECT_FALSE(ContentFileAllowed(content, file, ContentUse::Resource)) << file;
    }
}

TEST_F(ContentFiles, NoScriptReadsAnyFileAndNoLinkLeadsOut)
{
    EXPECT_FALSE(ContentFileAllowed(content, content / "00020.htm", ContentUse::ScriptRead));
    EXPECT_FALSE(ContentFileAllowed(content, content / "inc.css", ContentUse::ScriptRead));
    // A link planted in the folder, to a file or to a folder outside it.
    fs::create_symlink(root.path() / "secret.htm", content / "planted.htm");
    fs::create_directory_symlink(root.path(), content / "up");
    EXPECT_FALSE(ContentFileAllowed(content, content / "planted.htm", ContentUse::Page));
    EXPECT_FALSE(ContentFileAllowed(content, content / "up" / "secret.htm", ContentUse::Page));
}

} // namespace
