// The price list's rules.
#include "shell/PriceListRules.h"

#include "core/StringPrintf.h"

#include <algorithm>
#include <cstdlib>

namespace qv {

int PriceRowElement(int row, int count, bool oldestFirst)
{
    if (row < 0 || row >= count)
        return -1;
    return oldestFirst ? row : count - 1 - row;
}

PriceCommit ReadPriceInput(std::string_view text)
{
    std::string copy(text);
    double value = std::atof(copy.c_str());
    PriceCommit commit;
    if (value > 0 && value <= kLargestPrice) {
        commit.value = float(value);
    } else {
        char first = copy.empty() ? 0 : copy.front();
        if (first >= 'a' && first <= 'z')
            first = char(first - 32);
        if (first == 'M' || first == 0) {
            commit.value = kMissingPrice;
        } else if (first == 'H' || first == 'C') {
            commit.value = kHolidayPrice;
        } else {
            commit.badInput = true;
            return commit;
        }
    }
    commit.store = !copy.empty() && commit.value != 0;
    return commit;
}

std::string PriceEditText(float value) { return value > 0 ? StringPrintf("%.2f", double(value)) : std::string(); }

float PriceMarkForKey(char key)
{
    switch (key) {
    case 'M':
    case 'm':
    case kBackspaceKey: return kMissingPrice;
    case 'H':
    case 'h':
    case 'C':
    case 'c': return kHolidayPrice;
    default: return 0;
    }
}

PriceMove PlanPriceMove(int row, bool forward, int count)
{
    PriceMove move;
    int target = forward ? row + 1 : row - 1;
    if (target < 0 || target >= count)
        return move;
    move.inside = true;
    move.target = target;
    move.top = std::clamp(forward ? row - 1 : row - 3, 0, count - 1);
    return move;
}

PriceListFlags& PriceListDisplay()
{
    static PriceListFlags flags;
    return flags;
}

} // namespace qv
