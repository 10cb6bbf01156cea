// The current setting number of each view kind, and the list scale option.
#pragma once

#include <cstdint>

namespace qv {

// List-table views keep one current table number per list-table index.
constexpr int kListTableIndexes = 35;

// Stores the number (0-11 meaning Setting 1-12) for the kind: kind 1 per table index, kind 6 in the
// slot the data-mining mode flag chooses, kinds 0, 2, 4, 5, 7, 8, 9 and 10 one each; other kinds
// and table indexes out of range store nothing.
void SetViewSettingIndex(int viewKind, int tableIndex, int number);
// The stored number; 0 when it is above 11 or negative, and 0 for kinds 3, 11 and any other kind.
int GetViewSettingIndex(int viewKind, int tableIndex);
// The data-mining mode flag: set, the data-mining view's current setting is its graph number.
void SetDataMiningGraphMode(bool graph);
bool DataMiningGraphMode();

// The list options page's scale buttons.
constexpr int kListScale80Button = 1208;
constexpr int kListScale100Button = 1210;
// Sets the list scale divisor from the chosen button: 125 for "80%", 100 for "100%", else 111.
void ApplyListScaleOption(int chosenButton);
int ListScaleDivisor();

} // namespace qv
