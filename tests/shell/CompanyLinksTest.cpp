// A share's website and e-mail texts as links: the text cut at its first blank, the scheme added
// only where the text has none.
#include "shell/CompanyLinks.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(CompanyLinks, WebsiteAndMailTextsBecomeLinks)
{
    struct Case {
        const char* text;
        const char* link;
    };
    for (const Case& c : {Case{"www.example.co.uk; more text", "http://www.example.co.uk"},
                          Case{"www.example.co.uk", "http://www.example.co.uk"}, Case{"www.a.com other", "http://www.a.com"},
                          Case{"www.a.com;b", "http://www.a.com;b"}, Case{"https://ir.a.com/x more", "https://ir.a.com/x"},
                          Case{"HTTP://A.COM", "HTTP://A.COM"}})
        EXPECT_EQ(WebsiteLink(c.text), c.link) << c.text;
    EXPECT_EQ(MailLink("ir@example.com"), "mailto:ir@example.com");
    EXPECT_EQ(MailLink("mailto:ir@example.com"), "mailto:ir@example.com");
}
