// The program options the list views read, with their defaults in one place:
//   double buffering on (every paint goes through one off-screen image),
//   one frozen column (the share's name stays while the others scroll; the Lists page takes 1-50),
//   live prices off until start-up turns them on with the run's real-time option ("/RT"),
//   print font size 0 (printing scales the screen font; bit 7 set prints with the screen's fonts),
//   a data-mining printout without a first page of its own and with its rows,
//   double-click opens the default view on, and the loop option on (Enter, Escape and a double click
//   in the details page step between the list, graph and details).
#pragma once

#include <cstdint>

namespace qv {

struct ListViewOptions {
    bool doubleBuffering = true;
    int frozenColumns = 1;
    bool livePrices = false;
    uint8_t printFontSize = 0;
    bool dataMiningOwnPrintPage = false;
    bool dataMiningPrintRows = true;
    bool doubleClickOpens = true;
    bool loopViews = true;
};
ListViewOptions& CurrentListViewOptions();

} // namespace qv
