// Help topic mapping and the stand-in's text.
#include "shell/HelpTopics.h"

#include "core/StringPrintf.h"
#include "views/ViewKinds.h"

#include <map>

namespace qv {
namespace {

std::map<uint32_t, std::string> BuiltInNames()
{
    return {
        {504, "Refresh"},
        {26119, "Print"},
        {26121, "Information about new features"},
    };
}

std::map<uint32_t, std::string>& Names()
{
    static std::map<uint32_t, std::string> names = BuiltInNames();
    return names;
}

const char* const kKindWindows[kViewKindCount] = {
    "Graph", "List", "Portfolio", "Details", "Transactions", "Dealings",
    "Data mining", "Cash", "News", "Intraday graph", "Trade list", "Ticker",
};

} // namespace

uint32_t MapHelpRequest(uint32_t data, int32_t activeKind)
{
    if (data == kHelpFrameRequest)
        return activeKind >= 0 ? kHelpViewKindBase + uint32_t(activeKind) : data;
    if (data == kHelpFrameResource)
        return uint32_t(int64_t(kHelpViewKindBase) + activeKind);
    if (data < kHelpCommandBase)
        return data + kHelpCommandBase;
    return data;
}

void RegisterCommandName(uint32_t command, const std::string& name) { Names()[command] = name; }

void ResetCommandNames() { Names() = BuiltInNames(); }

std::string CommandName(uint32_t command)
{
    auto it = Names().find(command);
    return it == Names().end() ? std::string() : it->second;
}

std::string HelpTopicText(uint32_t topic)
{
    std::string text = StringPrintf("Help topic 0x%X", unsigned(topic));
    std::string about;
    if (topic >= kHelpViewKindBase && topic < kHelpViewKindBase + kViewKindCount)
        about = std::string(kKindWindows[topic - kHelpViewKindBase]) + " window";
    else if (topic >= kHelpCommandBase && topic < 2 * kHelpCommandBase) {
        uint32_t command = topic - kHelpCommandBase;
        about = CommandName(command);
        if (about.empty())
            about = StringPrintf("Command %u", unsigned(command));
    } else if (topic == kHelpFrameRequest || topic == kHelpFrameResource)
        about = "Quorvantis";
    return about.empty() ? text : text + ": " + about;
}

} // namespace qv
