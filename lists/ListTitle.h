// The title of a list window by view kind, from the parts the view knows.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

struct ListTitleParts {
    int viewKind = 1;
    std::string source;        // GetSourceTitle
    std::string sector;        // the sector filter's caption
    std::string setting;       // the setting name of the kind
    std::string portfolio;     // the current portfolio's caption
    bool windowNumbering = false;
    // Directors' dealings: the share list's dealing options and whether the linked view has a source.
    uint32_t dealingOptions = 0;
    bool linkedHasSource = false;
    // Trade list: the market selector 0-2, the share's name (empty without one), the long date.
    int tradeMarket = 0;
    std::string shareName;
    std::string longDate;
};

// The undecorated title (DecorateTitle adds the window number and " (Linked)").
std::string ListTitle(const ListTitleParts& parts);

} // namespace qv
