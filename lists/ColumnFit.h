// Fitting a column's width to its widest cell and heading word.
#pragma once

#include <string_view>

namespace qv {

class ListRowSource;
class TextMetrics;

struct FitMeasures {
    const TextMetrics* body = nullptr;    // the list font
    const TextMetrics* heading = nullptr; // the bold heading font
    int whiteSpace = 3;                   // the style's, halved by the caller when it must be
    bool arrow = false;                   // the up/down arrow is shown
};

// The widest of every row's cell text plus twice the white space and 1 (and the arrow allowance: the
// height of "Text" plus 3), and each blank-separated heading word plus 7. 0 for a blank separator.
int FitColumnWidth(ListRowSource& rows, const uint8_t* column, std::string_view heading, const FitMeasures& measures);

} // namespace qv
