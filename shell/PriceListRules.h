// The price list's rules: which day a row shows, what a typed correction means, where the editor moves
// and the program-wide display flags of the list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

constexpr float kMissingPrice = -1.0f;
constexpr float kHolidayPrice = -2.0f;
constexpr float kSuspendedPrice = -3.0f;
constexpr double kLargestPrice = 99999999.9;
constexpr const char* kBadPriceMessage =
    "Input a positive value less than 100,000,000, 'M' for missing or 'H' for holiday";

// The array element of a list row: newest first unless oldestFirst; -1 outside the list.
int PriceRowElement(int row, int count, bool oldestFirst);

// What the editor's text commits: a value to store, nothing (an empty text), or the bad-input message.
struct PriceCommit {
    bool store = false;
    bool badInput = false;
    float value = 0;
};
PriceCommit ReadPriceInput(std::string_view text);

// The editor's text for a stored value: "%.2f" above 0, empty for a mark or 0.
std::string PriceEditText(float value);

// A key typed on the list: the mark it sets on the selected day, or 0 for none.
float PriceMarkForKey(char key);
constexpr char kBackspaceKey = 8;

// Moving the editor one row on (forward) or back from `row`: inside the list the target row and the
// new top row; at either end nothing (the list beeps).
struct PriceMove {
    bool inside = false;
    int target = -1;
    int top = 0;
};
PriceMove PlanPriceMove(int row, bool forward, int count);

// Program-wide display flags of the price list (for the life of the program).
struct PriceListFlags {
    bool oldestFirst = false;
    bool lines = false;
    bool percent = false;
};
PriceListFlags& PriceListDisplay();

} // namespace qv
