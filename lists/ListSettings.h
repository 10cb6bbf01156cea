// The twelve settings of each list view kind: their layouts (one owned buffer per setting, shared by
// every share list showing it), styles and sort bytes on the configuration's tables; selecting a
// setting for a share list, storing its sort, replacing a layout, the deferred sort of a list build
// and the live re-sort throttle.
//
// Sort byte: 0 unsorted, else |byte| - 1 the column and the sign the direction; written as
// (column + 1) x direction. Kinds 4 (transactions) and 7 (cash) have none.
#pragma once

#include <cstdint>

namespace qv {

struct ShareList;
struct TableStyle;

enum ListViewKind : int {
    kListKindDailyChart = 0,
    kListKindShares = 1,
    kListKindPortfolio = 2,
    kListKindTransactions = 4,
    kListKindDealings = 5,
    kListKindDataMining = 6,
    kListKindCash = 7,
    kListKindNews = 8,
    kListKindIntradayChart = 9,
    kListKindTrades = 10,
    kListKindTicker = 11,
};

constexpr int kListSettings = 12;
constexpr int kTradeMarkets = 3;

// In-memory trade-list setting: the style, the signed sort byte, three bytes of padding, the
// layout (a 32-bit index of the owned layout buffer in place of a pointer) and a word kept for the
// real-time code (its meaning is that code's).
struct TradeListSetting {
    uint8_t style[200];
    int8_t sort;
    uint8_t padding[3];
    uint32_t layoutIndex;
    uint32_t realtimeWord;
};
static_assert(sizeof(TradeListSetting) == 212);
TradeListSetting& TradeSetting(int market, int setting);

// A trade list's market selector, with any value but 0-2 reset to 0.
int NormalisedTradeMarket(ShareList& list);

// The layout buffer of a setting (market: the trade list's selector), taken from the configuration
// on first use and owned here; null for kinds without layouts or settings out of range.
const uint8_t* SettingLayout(int kind, int setting, int market = 0);
TableStyle* SettingStyle(int kind, int setting, int market = 0);

// The stored sort byte; 0 for kinds without sort bytes.
int GetSettingSort(int kind, int setting, int market = 0);
void SetSettingSort(int kind, int setting, int market, int value);
// Writes (column + 1) x direction of the list into its current setting's sort byte, for kinds 1, 2,
// 5, 6, 8 and 10.
void StoreSortColumn(const ShareList* list, int kind);

// Makes `layout` (a ProCalloc'd buffer, taken over) the layout of the list's current setting of the
// kind: every share list that used the old buffer now uses the new one, and the old buffer is freed
// once. The configuration's copy follows.
void SetLayoutPointer(const ShareList* list, int kind, uint8_t* layout);
// After an edit made in place in the layout of the list's current setting (a width, a format, the
// borders and shading): the configuration's copy takes it, so that it is saved.
void KeepLayoutEdit(const ShareList* list, int kind);
// Frees every owned layout (tests, exit); the next use takes the configuration's again.
void FreeSettingLayouts();

// The kind's current setting number: kind 1 per list number (a u32 per list number in the
// configuration's current-setting table), kind 2 the portfolio's own, the others one program-wide
// byte each.
int CurrentSettingOf(const ShareList* list, int kind);

// What the list view does after selecting a setting.
struct SettingSelection {
    bool resetGrid = false;         // back to scroll position 0 and row 0
    const TableStyle* style = nullptr;
    int setting = 0;
};
// Installs setting n (n < 0 keeps the current one) of the kind into the list: its setting number,
// layout, field table, sort column and direction from the sort byte, and the deferred-sort flag.
// A null list does nothing. For the chart kinds (0, 9, 11) only the kind's current number is
// stored; their views install the setting themselves.
SettingSelection SelectColumnSetting(ShareList* list, int kind, int n, bool deferredSort, bool reset);

// When the list's deferred sort is due and it has a current row: sorts by the setting, makes the
// same row current again (else the first), asks for it to be scrolled into view and clears the flag.
// True when it sorted.
bool ContinueListBuild(ShareList* list);

// The live re-sort throttle: on every sixteenth tick a view whose sort column is a live column may
// re-sort when the 32-bit tick count has passed its next allowed time (with wrap-around); the next
// allowed time then moves 300000 ms on. Returns the signed column to re-sort by, 0 for none.
struct LiveResortClock {
    uint32_t nextAllowed = 0;
    uint32_t ticks = 0;
};
int LiveResortColumn(LiveResortClock& clock, const ShareList& list, uint32_t nowMs);

} // namespace qv
