// Box arithmetic of the box charts: the box size at a price, the number of the box that holds a
// price, and the value range that puts a run of boxes on a pane.
#pragma once

#include <cstdint>

namespace qv {

struct ValueRange;

struct BoxTable {
    uint32_t percentage = 0;       // non-zero: the box size is sizes[0] per cent of the price
    int32_t bandCount = 0;
    int32_t baseBox = 0;           // for percentage tables and tables of one band
    uint32_t word = 0;
    const float* bandLows = nullptr; // ascending
    const float* boxSizes = nullptr;
};

// The band whose low is not above the price and whose successor's low is; 0 when n < 1.
int32_t FindPriceBand(float price, const float* lows, int32_t n);
float GetBoxSize(float price, const BoxTable& table);
// The box of the price; 0 where no box can be worked out (a price at or below 0 in a percentage table,
// a percentage of 0, a band of size 0).
int32_t PriceToBoxNumber(float price, const BoxTable& table);
// Fills the range so that the first box sits on the bottom row and each box is f pixels tall; with f
// too small for a whole pixel per box the range is left empty.
void GetBoxPriceRange(ValueRange& range, int32_t topRow, int32_t bottomRow, const BoxTable& table, float f,
                      int32_t firstBox);

} // namespace qv
