// Currency names and symbols by currency code, and the titles of the results columns.
#pragma once

#include <string>

namespace qv {

// Codes: 0 pounds, 1 punts, 2 none, 3 US dollars, 4 French francs, 5 Deutschmarks, 6 euro, 7 none.
const char* GetMajorCurrencyName(int code);
const char* GetMinorCurrencyName(int code);
std::string GetCurrencySymbol(int code);
// As GetCurrencySymbol, but the euro is "E" when the euro-as-E option is set.
std::string GetCurrencySymbolShort(int code);

// The option that writes the euro as the letter E where a one-character symbol is wanted.
void SetEuroAsLetter(bool on);
bool EuroAsLetter();

// Entry 0-19 of the results-column titles with "|" replaced by the currency letter and "^" by the
// minor-unit letter of the code. The text is the caller's to keep.
std::string GetResultsColumnTitle(int entry, int code);

} // namespace qv
