// The update message's date line, tabs and tab texts.
#include "shell/UpdateMessages.h"

#include "core/StringPrintf.h"
#include "platform/Registry.h"
#include "shell/StartupChecks.h"

#include <sys/stat.h>
#include <ctime>

namespace qv {
namespace {

constexpr std::string_view kHeading = "~SH~";
constexpr std::string_view kBody = "~SS~";
constexpr std::string_view kAnyMarker = "~S";
constexpr const char* kDisplayValue = "DisplayUpdateMessage";

std::string_view CutAtMarker(std::string_view text)
{
    return text.substr(0, text.find(kAnyMarker));
}

} // namespace

std::string UpdateMessageDateLine(const std::filesystem::path& file)
{
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        return {};
    std::time_t when = st.st_mtime != 0 ? st.st_mtime : st.st_ctime;
    std::tm local {};
    if (!localtime_r(&when, &local))
        return {};
    static const char* const kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return StringPrintf("Last Update: %s %02i/%02i/%02i %02i:%02i", kDays[local.tm_wday], local.tm_mday,
                        local.tm_mon + 1, local.tm_year + 1900, local.tm_hour, local.tm_min);
}

std::vector<std::string> UpdateMessageTabs(std::string_view message)
{
    std::vector<std::string> tabs{"Message"};
    for (size_t at = message.find(kHeading); at != std::string_view::npos; at = message.find(kHeading, at)) {
        at += kHeading.size();
        std::string heading(CutAtMarker(message.substr(at)));
        for (char& c : heading)
            if (uint8_t(c) < 32)
                c = ' ';
        tabs.push_back(std::move(heading));
    }
    return tabs;
}

std::string UpdateMessageTabText(std::string_view message, int tab)
{
    std::string_view text = message;
    for (int n = 0; n < tab; ++n) {
        size_t at = text.find(kBody);
        if (at == std::string_view::npos)
            return kNoMessageStored;
        text = text.substr(at + kBody.size());
    }
    return std::string(CutAtMarker(text));
}

std::string StoredUpdateMessageText()
{
    const std::vector<uint8_t>& block = StoredUpdateMessage();
    std::string text(block.begin(), block.end());
    return text.substr(0, text.find('\0'));
}

bool UpdateMessageStored()
{
    return !StoredUpdateMessageText().empty();
}

bool DisplayUpdateMessageAfterUpdate()
{
    return Registry::Instance().getU32("Settings", kDisplayValue).value_or(1) != 0;
}

void SetDisplayUpdateMessageAfterUpdate(bool display)
{
    Registry::Instance().setU32("Settings", kDisplayValue, display ? 1 : 0);
}

} // namespace qv
