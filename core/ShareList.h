// The share list behind every list a window shows: its entries copied from a source portfolio, the
// current, first-visible and last entries, its sort setting and the views attached to it, and the
// program-wide chain of all lists.
#pragma once

#include "core/RecordAccess.h"

#include <cstdint>
#include <functional>

namespace qv {

class CViewBase;
struct Portfolio;

// The families of records a list holds.
enum ListFamily : int32_t {
    kFamilyShares = 0,
    kFamilyTransactions = 1,
    kFamilyDealings = 2,
    kFamilyCash = 3,
    kFamilyNews = 4,
    kFamilyTrades = 5,
    kFamilyTicker = 6,
};

// 208 bytes, zero-filled at creation. The three cursors are indexes into the entry array (-1: none)
// so that growing the array never leaves them dangling.
struct ShareList {
    static constexpr int32_t kNoEntry = -1;

    RecordCursor* entries;       // ended by the first entry whose record is null
    const uint8_t* columnLayout; // column records used for sorting
    const void* companyTables;   // company-data tables in use, taken at creation and each re-sort
    Portfolio* source;
    CViewBase* views;            // first view attached; the views chain through their own field
    ShareList* next;             // next list of the program-wide chain
    int32_t capacity;            // entries the array can hold
    int32_t firstVisible;
    int32_t current;
    int32_t last;                // upper bound for the two cursors
    int32_t word;
    int32_t sortDirection;       // 1 ascending, -1 descending
    int32_t sortColumn;          // 0-based column of the list's column layout
    int32_t tableSetting;        // table setting (Table 1-12) whose layout the list uses
    uint8_t changed;
    uint8_t flag2;
    uint8_t viewState1;
    uint8_t viewState2;
    int32_t sourceNumber;        // the source's number, -1 without a source
    int32_t family;              // ListFamily
    int32_t windowSlot;          // slot in the published-current-share tables (negative: none)
    uint32_t currentId;          // record id of the current entry, kept across rebuilds
    uint32_t currentSub;
    int32_t sectorIndex;
    int32_t sectorGroup;
    int32_t sectorFilterOn;
    int32_t newHighsOnly;
    int32_t newLowsOnly;
    int32_t number;              // unique in the chain; the window number in titles is number + 1
    int32_t rowIndex;            // current row of a transactions list
    int32_t rowIndex2;
    uint8_t viewGroupRoom[40];   // fields the view-group code keeps in the list
    // Kept by the list-table engine (lists/ListRows, lists/RowSort, lists/ListSettings). `word`
    // above is the fixed list number (0 "All" ... 34 "U.K.").
    int32_t filledMark;          // list number + 1 the rows were last filled for; 0: a refill is due
    uint8_t sorted;              // set after each sort ...
    uint8_t sortedNeighbour;     // ... which clears this one
    uint8_t deferredSort;        // sort and re-find the current row at the next build step
    uint8_t pendingScroll;       // scroll the current row into view at the next paint
    const uint8_t* fieldTable;   // field table of the list family (names, types, offsets)
    uint32_t fieldTableSize;
    int32_t tradeMarket;         // trade lists: 0 trades, 1 quotes, 2 trades and quotes
    int32_t rowsEnd;             // rows written by the last fill
};
static_assert(sizeof(ShareList) == 208);

// Program-wide state.
ShareList*& ShareListChain();
ShareList*& CurrentShareList();
constexpr int kWindowSlots = 64;
// The published current share of a window slot: {id, sub-record number}; {0, 0} out of range.
void PublishWindowShare(int slot, uint32_t id, uint32_t sub);
uint16_t PublishedShareId(int slot);
uint16_t PublishedShareSub(int slot);
// The company-data tables in use, which a list notes at creation and at each re-sort.
const void* CompanyTablesInUse();

// The record id of an entry (u16 at byte 2 of its record), 0 for an empty entry.
uint16_t EntryRecordId(const RecordCursor& entry);

// The program's first list, made while the database is indexed when no list exists yet: 208 zero
// bytes at the head of the chain.
void CreateFirstShareList();
ShareList* CreateShareList(int32_t base, int32_t extra, int32_t family, Portfolio* source, bool link);
ShareList* GetShareListForSource(Portfolio* source);
int32_t SetShareListSource(ShareList* list, Portfolio* source, uint32_t id, uint32_t sub, bool force, bool refresh);
// The list goes back to its fixed list: a portfolio source is dropped, and as its rows are then the
// portfolio's the list counts as unfilled, so it is filled again from its number.
void DropListSource(ShareList* list);
void SetShareListPosition(ShareList* list, uint32_t id, uint32_t sub, bool publish);
void StoreShareListPosition(ShareList* list, ShareList* other, bool publish);
void SyncSourceCursors(ShareList* list);
void ResortShareList(ShareList* list);
// Sets the list's sort column and direction from the stored signed setting of its table; `which`
// picks between the two settings of share lists.
void ApplyListSortSetting(ShareList* list, int which);
void ClampShareListCursors(ShareList* list);
// Index of the entry {id, sub} among the first `room` entries (stopping at the empty entry), -1 when absent.
int32_t FindEntryIndex(const RecordCursor* entries, int32_t room, uint32_t id, uint32_t sub);
// The row a list stands on for {id, sub}: its index, else the first entry (0).
int32_t FindListEntryIndex(const RecordCursor* entries, int32_t room, uint32_t id, uint32_t sub);
int32_t GetSourceEntryIndex(const Portfolio* source, const RecordCursor* entry);
// True when the source's own entries hold the share (id and sub-record).
bool SourceHoldsEntry(const Portfolio* source, uint32_t id, uint32_t sub);
void SetSourceCurrentIndex(Portfolio* source, uint32_t id, uint32_t sub);
bool ShareListHasEntries(const ShareList* list);
bool PortfolioIncludes(const Portfolio* portfolio, int32_t number);

// The entry a cursor names, or null when the list has no such entry.
RecordCursor* ShareListEntry(ShareList* list, int32_t index);
RecordCursor* CurrentEntry(ShareList* list);
// Entries before the empty entry.
int32_t ShareListCount(const ShareList* list);
// Whether the list's rows are records of its own views (transactions, cash entries) rather than
// share records.
bool ListRowsAreOwnRecords(const ShareList* list);
// The rows of transaction and cash lists point into records that portfolios and views own. A record
// about to be freed or moved takes the rows of every list showing it: they are emptied (the cursors
// kept) and the list's views refill them at their next refresh, so no row is left dangling.
void ForgetRowsShowing(const uint8_t* record);

// The lowest group number free for a new list: 0 for the program's first list, else the lowest
// number from 1 that no list in the chain uses.
int32_t NextFreeGroupNumber();

// Seams the view-group and refresh code fill in: reading the current share of a list of another
// family, and invalidating the visible views of a list.
using ViewShareReader = std::function<void(ShareList* list, uint32_t& id, uint32_t& sub)>;
void SetViewShareReader(ViewShareReader reader);
using ListViewsInvalidator = std::function<void(ShareList* list)>;
void SetListViewsInvalidator(ListViewsInvalidator invalidator);

} // namespace qv
