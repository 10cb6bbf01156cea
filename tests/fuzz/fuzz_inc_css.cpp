// Fuzzes the style-sheet reader: any text is matched without overrunning a field, the family keeps
// at most 31 characters, and what reads whole writes back to the same settings.
#include "infocentre/InCStyle.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    qv::InCStyle style;
    qv::SetDefaultStyle(style);
    bool whole = qv::ParseIncCss(text, style);
    if (style.fontFamily.size() > 31)
        std::abort();
    if (!whole || style.fontFamily.find('"') != std::string::npos || style.fontFamily.empty())
        return 0;
    qv::InCStyle again;
    if (!qv::ParseIncCss(qv::IncCssText(style), again))
        std::abort();
    return 0;
}
