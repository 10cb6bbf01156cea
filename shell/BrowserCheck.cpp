// Browser version rule.
#include "shell/BrowserCheck.h"

namespace qv {

bool BrowserVersionUsable(const std::optional<std::string>& version)
{
    if (!version)
        return false;
    size_t dot = version->find('.');
    if (dot == std::string::npos)
        return false;
    if (dot == 2)
        return true;
    return dot == 1 && (*version)[0] >= '4' && (*version)[0] <= '9';
}

bool ShowInfoCentreItem(bool browserUsable, bool infoCentreReady) { return browserUsable && infoCentreReady; }

} // namespace qv
