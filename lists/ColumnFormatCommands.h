// The column menu's format commands: what each does to the column record, whether its item is
// enabled and checked, and the menu bits that choose which format submenus a column's menu shows.
#pragma once

#include <cstdint>

namespace qv {

namespace ColumnCommand {
constexpr int SetWidth = 20150;
constexpr int LeftJustify = 20155;
constexpr int RightJustify = 20156;
constexpr int CentreJustify = 20157;
constexpr int ZeroBlank = 20159;
constexpr int ZeroAsZero = 20160;
constexpr int ZeroAsHyphen = 20165;
constexpr int Thousands = 20166;
constexpr int Fractions = 20168;
constexpr int Decimals0 = 20169; // to 20174 for 5
constexpr int Rename = 20175;
constexpr int Remove = 20176;
constexpr int Sort = 20177;
constexpr int Move = 25012;
constexpr int Significant1 = 26241; // to 26245 for 5
constexpr int ManyDecimals = 27024;
constexpr int Pounds = 27025;
constexpr int Pence = 27026;
constexpr int Simplest = 27027;
constexpr int UpDownArrow = 27028;
constexpr int ArrowPlacement = 27209;
constexpr int Fit = 27033;
constexpr int ChangeContents = 27218;
constexpr int Borders = 27220;
constexpr int ConsensusNumbers = 538;
constexpr int ExchangeCode = 27086;
} // namespace ColumnCommand

// Applies a format command to a column record; false when the id is not a format command.
bool ApplyColumnFormat(uint8_t* def, int command);

struct ColumnItemState {
    bool enabled = false;
    bool checked = false;
};
// The state of a format item for the column under the cursor (null for none), and of Remove with
// the layout's column count.
ColumnItemState ColumnFormatState(const uint8_t* def, int command, int columnCount);

// List families of the menu-bit tables.
enum class MenuFamily : uint8_t { Shares, Results, Transactions, Dealings, Cash, News, Trades };
// Bit 0 sorting; bits 1-3 the number submenus: 2 numbers, 4 numbers with B/M/k, 6 money, 8 money
// with B/M/k.
uint8_t FamilyMenuBits(MenuFamily family, int code);
// The menu bits of a column of a family's layout, with the share family's rules by kind and flags.
uint8_t ColumnMenuBits(MenuFamily family, const uint8_t* def);

} // namespace qv

namespace qv {

// What a column's heading menu holds beyond the kind's fixed items.
struct ColumnMenuPlan {
    bool sort = false;             // keep 20177
    bool numberSubmenu = false;    // the decimals submenu of menu 771 (its first, or for money its fifth)
    bool moneySubmenu = false;     // the fifth submenu in place of the first
    bool zeroSubmenu = false;      // "Display zero"
    bool thousands = false;        // a separator and 20166 after them
    bool consensusItem = false;    // 538
    bool exchangeItem = false;     // 27086
    bool changeContents = false;   // keep 27218
    bool fitAndJustify = true;     // 27033 and the justification items
};
// `shareFamily` for the share lists (and portfolio and data-mining tables).
ColumnMenuPlan PlanColumnMenu(MenuFamily family, const uint8_t* def);

} // namespace qv
