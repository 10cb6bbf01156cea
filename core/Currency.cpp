// Currency texts: the names, the symbols and the letters the results titles carry.
#include "core/Currency.h"

#include <atomic>
#include <iterator>

namespace qv {
namespace {

std::atomic<bool> g_euroAsLetter{false};

const char* const kMajor[] = {"Pounds", "Punts", "", "US Dollars", "French Francs", "DM", "Euro"};
const char* const kMinor[] = {"Pence", "Irish Pence", "", "Cents", "Centimes", "Pfennigs", "Cents"};

const char* const kResultsTitles[] = {
    "Date", "Profit (|m)", "EPS (^)", "Dividend (^)", "Turnover (|m)", "NAV (|m)", "Final Div. (^)",
    "|m", "^", "^", "|m", "|m", "^",
    "Date", "Profit (millions)", "EPS", "Dividend", "Turnover (millions)", "NAV (millions)", "Final Div.",
};

// The euro sign is byte 0x80 of the Windows code page, the pound sign 0xA3.
constexpr char kEuroSign = '\x80';
constexpr char kPoundSign = '\xA3';

char EuroLetter() { return EuroAsLetter() ? 'E' : kEuroSign; }

char CurrencyLetter(int code)
{
    switch (code) {
    case 0:
    case 1: return kPoundSign;
    case 3: return '$';
    case 4: return 'F';
    case 5: return 'D';
    case 6: return EuroLetter();
    default: return ' ';
    }
}

char MinorUnitLetter(int code)
{
    switch (code) {
    case 0:
    case 1:
    case 5: return 'p';
    case 3:
    case 4:
    case 6: return 'c';
    default: return ' ';
    }
}

bool Named(int code) { return code >= 0 && code <= 6; }

} // namespace

const char* GetMajorCurrencyName(int code) { return Named(code) ? kMajor[code] : ""; }
const char* GetMinorCurrencyName(int code) { return Named(code) ? kMinor[code] : ""; }

std::string GetCurrencySymbol(int code)
{
    switch (code) {
    case 0: return std::string(1, kPoundSign);
    case 3: return "$";
    case 6: return "Euro";
    default: return "*";
    }
}

std::string GetCurrencySymbolShort(int code)
{
    return code == 6 ? std::string(1, EuroLetter()) : GetCurrencySymbol(code);
}

void SetEuroAsLetter(bool on) { g_euroAsLetter = on; }
bool EuroAsLetter() { return g_euroAsLetter; }

std::string GetResultsColumnTitle(int entry, int code)
{
    if (entry < 0 || entry >= int(std::size(kResultsTitles)))
        return {};
    std::string title = kResultsTitles[entry];
    if (auto bar = title.find('|'); bar != std::string::npos)
        title[bar] = CurrencyLetter(code);
    if (auto caret = title.find('^'); caret != std::string::npos)
        title[caret] = MinorUnitLetter(code);
    return title;
}

} // namespace qv
