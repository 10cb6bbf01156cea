// No HTML control host or browser servers on this platform.
#include "platform/HtmlHosting.h"

namespace qv {

bool InstallHtmlControlHosting()
{
    return false;
}

bool PreloadInProcessServer(std::string_view)
{
    return false;
}

} // namespace qv
