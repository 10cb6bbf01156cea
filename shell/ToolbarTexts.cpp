// Toolbar button texts.
#include "shell/ToolbarTexts.h"

#include "core/Portfolio.h"
#include "core/WindowLayouts.h"
#include "core/ConfigState.h"
#include "shell/SettingCommands.h"
#include "shell/ToolbarCatalogue.h"
#include "views/FrameState.h"

#include <cstdio>

namespace qv {
namespace {

constexpr size_t kTooltipLength = 79;

std::string Numbered(const char* format, int n)
{
    char text[48];
    std::snprintf(text, sizeof text, format, n);
    return text;
}

} // namespace

std::string PortfolioNameOf(uint32_t number)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next.get())
        if (p->number == number)
            return p->name.str();
    return {};
}

std::string ButtonTooltipText(uint16_t code, uint32_t portfolio)
{
    std::string text;
    if (IsPortfolioCode(code)) {
        std::string name = portfolio ? PortfolioNameOf(portfolio) : std::string();
        text = name.empty() ? "Portfolio - not set" : "Portfolio: " + name;
    } else if (IsSettingCode(code)) {
        text = WideButtonLabel(code, 0);
    } else {
        text = ButtonTooltip(code);
    }
    return text.substr(0, kTooltipLength);
}

std::string WideButtonLabel(uint16_t code, uint32_t portfolio)
{
    if (IsPortfolioCode(code)) {
        std::string name = portfolio ? PortfolioNameOf(portfolio) : std::string();
        return name.empty() ? Numbered("Portfolio %i", code - kFirstPortfolioCode + 1) : name;
    }
    if (IsLayoutCode(code)) {
        int slot = code - kFirstLayoutCode;
        const std::string& name = WindowLayouts().layouts[size_t(slot)].name;
        return name.empty() ? DefaultLayoutName(slot) : name;
    }
    if (IsSettingCode(code))
        return SettingName(Config(), ConfigKindOfView(MainFrameState().activeView), code - kFirstSettingCode);
    return ButtonLabel(code);
}

} // namespace qv
