// Window and menu captions.
#include "core/Captions.h"

#include <utility>

namespace qv {
namespace {

CommandStringSource& Source()
{
    static CommandStringSource source;
    return source;
}

} // namespace

std::string GetPortfolioCaption(const std::optional<std::string>& listPortfolio,
                                const std::optional<std::string>& currentListPortfolio)
{
    if (listPortfolio)
        return "Portfolio: " + *listPortfolio;
    if (currentListPortfolio)
        return "Portfolio: " + *currentListPortfolio;
    return "Portfolio: None selected";
}

CommandStringSource SetCommandStringSource(CommandStringSource source)
{
    std::swap(Source(), source);
    return source;
}

std::string GetCommandTip(uint32_t commandId)
{
    std::string text = Source() ? Source()(commandId) : std::string();
    auto newline = text.find('\n');
    if (newline == std::string::npos)
        return text;
    return commandId == 26422 ? text.substr(0, newline) : text.substr(newline + 1);
}

} // namespace qv
