// The program options the list views read, with their defaults in one place:
//   double buffering on (every paint goes through one off-screen image),
//   no frozen columns (the normal arrangement scrolls every column),
//   live prices off (no intraday store feeds the live cells yet),
//   print font size 0 (printing scales the screen font; bit 7 set prints with the screen's fonts).
#pragma once

#include <cstdint>

namespace qv {

struct ListViewOptions {
    bool doubleBuffering = true;
    int frozenColumns = 0;
    bool livePrices = false;
    uint8_t printFontSize = 0;
};
ListViewOptions& CurrentListViewOptions();

} // namespace qv
