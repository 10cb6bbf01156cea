// The price list's rules without windows: its options, title, column heads and the rows of one
// share's days (closes or open-high-low-close, change, volume and the split adjustment).
#pragma once

#include "core/PackedDate.h"
#include "core/RecordAccess.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// The "Settings for the price list" check boxes.
struct PriceListOptions {
    bool ohlc = false;            // "Open, High, Low as well as Close"
    bool volume = false;          // "Volume"
    bool percentChange = false;   // "Percent change"
    bool adjustment = false;      // "Show adjustment for splits and consolidations"
    bool separatorLines = false;  // "Separator lines"
    bool oldestFirst = false;     // "Oldest data first"
    bool daysWithoutData = false; // "Show days where there is no data"
    bool editedOnly = false;      // "Show only edited prices"
    bool operator==(const PriceListOptions&) const = default;
};
PriceListOptions& PriceListSettings();
// The options as one byte (bit 0 ohlc ... bit 7 editedOnly), as the settings keep them.
uint8_t PackPriceListOptions(const PriceListOptions& options);
PriceListOptions UnpackPriceListOptions(uint8_t bits);

// The price list's window rectangle, kept for the next opening.
struct PriceListRect {
    int left = 100, top = 100, width = 400, height = 600;
};
PriceListRect& PriceListWindowRect();

// What one list shows: the options, and the edited-prices mode (open-high-low-close and volume
// always shown, every day listed).
struct PriceListMode {
    PriceListOptions options;
    bool editedPrices = false;
    bool onlyEdited() const { return options.editedOnly && !editedPrices; }
    bool showOhlc() const { return options.ohlc || editedPrices; }
    bool showVolume() const { return options.volume || editedPrices; }
};

// "Price List for NAME - Closing price, Volume" and the like.
std::string PriceListTitle(const std::string& name, const PriceListMode& mode);
// The heads after "Date": "Open" "High" "Low" "Close" or "Close", then "Change", "Volume", "Adjustment".
std::vector<std::string> PriceListHeads(const PriceListMode& mode);
// A volume with only its first five digits kept, in groups of three: 1234567 reads "1,234,500".
std::string FormatPriceListVolume(double volume);

struct PriceListRow {
    std::string text; // the tab-separated cells, date first
    PackedDate date = 0;
    bool edited = false;
};

// The share's rows, newest first unless the oldest-first option is on; "No prices" or "No edited
// prices" alone when none is listed.
std::vector<PriceListRow> BuildPriceListRows(const RecordCursor& share, const PriceListMode& mode);

} // namespace qv
