// List window titles by view kind.
#include "lists/ListTitle.h"

#include <initializer_list>

namespace qv {
namespace {

std::string Join(std::initializer_list<const std::string*> parts)
{
    std::string out;
    bool first = true;
    for (const std::string* p : parts) {
        if (!first)
            out += " - ";
        out += *p;
        first = false;
    }
    return out;
}

} // namespace

std::string ListTitle(const ListTitleParts& p)
{
    switch (p.viewKind) {
    case 4: return "Transactions - " + p.setting + " - " + p.portfolio;
    case 2: return Join({&p.source, &p.setting});
    case 5: {
        std::string title = "Director and major holdings - " + p.setting;
        if (p.dealingOptions & 0x10)
            title += " - Latest only";
        if (((p.dealingOptions >> 5) & 3) == 1)
            title += p.linkedHasSource ? " - Current portfolio only" : " - Current list only";
        return title;
    }
    case 8:
        return p.linkedHasSource ? "ZOD News - " + p.setting + " - " + p.portfolio : "ZOD News - " + p.setting;
    case 10: {
        static const char* const kMarkets[] = {"Trade List", "Quote List", "Trade & Quote List"};
        std::string title = kMarkets[p.tradeMarket >= 0 && p.tradeMarket < 3 ? p.tradeMarket : 0];
        if (!p.shareName.empty())
            title += " - " + p.shareName;
        return title + " - " + p.longDate;
    }
    case 7: return "Cash Account - " + p.setting;
    case 6: return Join({&p.source, &p.sector}).insert(0, "Filter - ");
    default: break;
    }
    // Without a current portfolio the title ends at the setting name.
    if (p.windowNumbering || p.portfolio.empty())
        return Join({&p.source, &p.sector, &p.setting});
    return Join({&p.source, &p.sector, &p.setting, &p.portfolio});
}

} // namespace qv
