// Request lines of the DDE socket: what parses, into what, and what is refused.
#include "shell/DdeRequest.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

struct RequestCase {
    std::string line;
    bool accepted;
    DdeVerb verb;
    const char* service;
    const char* topic;
    const char* item;
    const char* format;
};

TEST(DdeRequest, ParsesRequestLines)
{
    const RequestCase cases[] = {
        {"CONNECT QuorvantisDDE ALM", true, DdeVerb::Connect, "QuorvantisDDE", "ALM", "", ""},
        {"  connect\tQuorvantisDDE  lse_alm  ", true, DdeVerb::Connect, "QuorvantisDDE", "lse_alm", "", ""},
        {"REQUEST price", true, DdeVerb::Request, "", "", "price", "CF_TEXT"},
        {"request price   Rich Text Format  ", true, DdeVerb::Request, "", "", "price", "Rich Text Format"},
        {"AdvStart mid_high XlTable", true, DdeVerb::AdviseStart, "", "", "mid_high", "XlTable"},
        {"ADVSTOP name", true, DdeVerb::AdviseStop, "", "", "name", "CF_TEXT"},
        {"EXECUTE [anything at all]", true, DdeVerb::Execute, "", "", "", ""},
        {"POKE price 5", true, DdeVerb::Poke, "", "", "", ""},
        {"DISCONNECT", true, DdeVerb::Disconnect, "", "", "", ""},
        {"REQUEST \xA3price", true, DdeVerb::Request, "", "", "\xA3price", "CF_TEXT"},
        {"", false, {}, "", "", "", ""},
        {"   ", false, {}, "", "", "", ""},
        {"FETCH price", false, {}, "", "", "", ""},
        {"CONNECT QuorvantisDDE", false, {}, "", "", "", ""},
        {"CONNECT QuorvantisDDE ALM extra", false, {}, "", "", "", ""},
        {"REQUEST", false, {}, "", "", "", ""},
        {"DISCONNECT now", false, {}, "", "", "", ""},
        {std::string("REQUEST pr\0ice", 13), false, {}, "", "", "", ""},
        {"REQUEST price\r", false, {}, "", "", "", ""},
        {"REQUEST \x7F", false, {}, "", "", "", ""},
        {"REQUEST " + std::string(255, 'p'), true, DdeVerb::Request, "", "", nullptr, "CF_TEXT"},
        {"REQUEST " + std::string(256, 'p'), false, {}, "", "", "", ""},
        {"REQUEST price " + std::string(256, 'f'), false, {}, "", "", "", ""},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.line);
        DdeRequest request;
        std::string error;
        ASSERT_EQ(ParseDdeRequest(c.line, request, error), c.accepted);
        if (!c.accepted) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(request.verb, c.verb);
        EXPECT_EQ(request.service, c.service);
        EXPECT_EQ(request.topic, c.topic);
        if (c.item) {
            EXPECT_EQ(request.item, c.item);
        }
        if (c.verb == DdeVerb::Request || c.verb == DdeVerb::AdviseStart || c.verb == DdeVerb::AdviseStop) {
            EXPECT_EQ(request.format, c.format);
        }
    }
}

TEST(DdeRequest, RepliesCountTheirBytes)
{
    EXPECT_EQ(DdeReplyData(std::string("7\0", 2)), std::string("DATA 2\n7\0", 9));
    EXPECT_EQ(DdeAdviseMessage("price", "Rich Text Format", "{x}"), "ADVISE 3 price Rich Text Format\n{x}");
    EXPECT_EQ(DdeReplyError("why"), "ERR why\n");
}

} // namespace
