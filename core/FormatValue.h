// List-cell values and prices: the one configurable formatter behind table cells, DDE and reports.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

struct RecordCursor;

// The largest float marks "no value" in cells, results figures and formula results.
inline constexpr float kNoValue = 3.4028235e38f;

// Style bits of a value request.
enum ValueStyle : uint8_t {
    kStyleDecimalsMask = 0x0F, // number of decimals
    kStyleFractionGlyph = 0x10, // a quarter, half or three quarters shown as a glyph
    kStylePlusSign = 0x20,      // "+" before positive values
    kStyleScaleSuffix = 0x40,   // thousands, millions, billions with "k", "m", "b"
};

struct ValueTextRequest {
    std::string out;          // the text written
    float value = 0;          // kNoValue for none
    uint32_t digitLimit = 0;  // significant digits to keep, 0 for all; consumed while the text is cut
    uint8_t noSeparators = 0; // non-zero: no thousands commas
    uint8_t autoDecimals = 0; // non-zero: decimals chosen from the value
    uint8_t zeroMode = 0;     // bits 0-1: a zero shows as nothing (0), "0" (1) or "-" (2)
    uint8_t style = 0;        // ValueStyle bits
    char suffix = 0;          // out: 'k', 'm', 'b' or 0
};

// Writes the value's text to req.out and returns its length. No value, not-a-number, infinities and
// texts of 18 characters or more give an empty text (length 0).
int FormatValueText(ValueTextRequest& req);

// Currency unit symbols: two major characters (0 where absent) and one minor character.
struct CurrencySymbols {
    char major[2] = {0, 0};
    char minor = 0;
};
static_assert(sizeof(CurrencySymbols) == 3);

// Symbols of currency codes 0-6 (pounds, Irish pounds, none, dollars, francs, marks, euros); other
// codes have none. The euro's major symbol is "E" while the plain-euro option is on.
CurrencySymbols GetCurrencyUnitSymbols(int currency);

// "Current price: %g %c": the price with the share's own minor unit (pence, cents), without one where
// its currency has none (an index), as the alarm dialogs show it.
std::string CurrentPriceText(const RecordCursor& share, double price);

// A price kept in pence (or cents): small prices in pence with the minor symbol, larger ones in pounds
// with the major symbol (mode 2 keeps pence); `percent` shows a percentage, divided by 100 unless
// `percentUnscaled`. Returns the length written to req.out.
int FormatPriceText(ValueTextRequest& req, const CurrencySymbols& symbols, int mode, bool percent,
                    bool percentUnscaled);

} // namespace qv
