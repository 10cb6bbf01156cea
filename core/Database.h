// The end-of-day database in memory: loading "data\Quorva.dat" and "data\Comp.dat" into record
// blocks, the record index and the database-wide values, and freeing them.
//
// Each directory entry's records lie in one block of their own, in the in-memory record layout of
// core/RecordAccess.h (u16 length, id at offset 2, 20 spare bytes behind the stored head, 64 bytes
// of statistics room behind every sub-record head), ended by a u16 0. The first block is the share
// database proper (MainRecordBlock).
#pragma once

#include "core/PackedDate.h"
#include "core/RecordAccess.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace qv {

struct DayRecord;

constexpr size_t kDatabaseHeaderSize = 16;
constexpr size_t kDirectoryEntrySize = 20;
constexpr uint8_t kNewestDatabaseFormat = 1;

// Directory entry fields (the directory is kept as read; see DirectoryBlockHandle).
namespace DirectoryLayout {
constexpr size_t StreamBytes = 0;   // u32; 0 ends the directory
constexpr size_t Block = 4;         // u32 handle of the entry's record block (entry number + 1)
constexpr size_t RecordCount = 8;   // u16
constexpr size_t ExtraSize = 10;    // u16; 0 = no extra block
constexpr size_t ExtraBlock = 12;   // u32 handle of the extra block (entry number + 1), 0 = none
constexpr size_t HeadSize = 16;     // u8; always 10
constexpr size_t Flags = 18;        // u8; bit 0: stored record lengths are one byte
} // namespace DirectoryLayout

// One directory entry's memory.
struct DatabaseBlock {
    uint8_t* records = nullptr; // the records, ended by a u16 0
    uint32_t size = 0;          // bytes of the block
    uint8_t* extra = nullptr;   // the extra block, or null
    uint32_t extraSize = 0;
    uint32_t recordCount = 0;    // records read
    uint32_t subRecordCount = 0; // sub-records read
};

// Counts shown in the About box.
enum KindCountSlot {
    KindCompanies,     // records whose first sub-record is not an index
    KindIndices,       // kind 1
    KindPreference,    // kinds 2, 3
    KindIncome,        // kind 8
    KindCapital,       // kind 9
    KindOrdinary,      // kinds 10, 11
    KindGilts,         // kind 13
    KindUnitTrusts,    // kind 14
    KindExchangeRates, // kind 16
    KindCommodities,   // kind 17
    KindOther,         // any other kind
    KindCountSlots
};
KindCountSlot KindCountSlotOf(uint8_t subRecordKind);
// The About box's word for a slot ("companies", "indices", "preference shares", ...).
const char* KindCountName(int slot);

// Program-wide state set by loading and freed by FreeDatabase.
extern uint8_t* DatabaseDirectory;      // the directory as read
extern uint32_t DatabaseDirectorySize;  // L
extern uint8_t* MainRecordBlock;        // the first entry's records
extern uint8_t* MainBlockEnd;           // the end of the main block's allocation
extern uint8_t* RecordIndex[0x8000];    // the record of each id below 0x8000, or null
extern PackedDate LatestDatabaseDate;    // last priced day of the market calendar record
extern DayRecord* TradingDays;          // the market calendar's days (guarded memory)
extern int32_t TradingDayCount;
extern int32_t DatabaseVersion;         // header byte 4 (the format)
extern int32_t DatabaseMinorVersion;    // header byte 5 ("Database version 1.%i")
// Header words; the configuration file keeps these three at offsets 0, 4 and 6 of its second
// option block. FirstLoadDate takes the date of the first database loaded while it is 0.
extern uint16_t DatabaseWordA;
extern PackedDate DatabaseDate;
extern PackedDate FirstLoadDate;
extern int32_t DatabaseElementCount;    // sub-records over all blocks: one listable item each
extern int32_t TotalItemCount;          // elements + extra records + imported items
extern int32_t KindCounts[KindCountSlots];
// Work entries for the find-a-share dialog, zeroed at each index build; it fills at most
// FindShareWorkArraySize entries (TotalItemCount + 1 at the build).
extern RecordCursor* FindShareWorkArray;
extern uint32_t FindShareWorkArraySize;
// Read by the list-table code: the data of the 24th and 25th items of the first extra block (null
// when absent), a limit value and a selection value.
extern const uint8_t* ExtraBlockItem24;
extern const uint8_t* ExtraBlockItem25;
extern double ListValueLimit;
extern int32_t ListSelectionValue;

// Reads the file at `path` and "data\Comp.dat" and builds the index. False only when the file
// cannot be opened; every format fault shows its message and ends the program with code 1.
bool LoadDatabase(const std::filesystem::path& path);
// The same from images in memory (tests, tools, fuzzing); a null `companyData` stands for a missing
// Comp.dat.
void LoadDatabaseFromMemory(std::span<const uint8_t> database, const std::span<const uint8_t>* companyData);
// Derived state after a load: index, counts, company-data links, statistics, trading days.
void BuildRecordIndex();
// Frees the blocks, directory, imported items, company data and index arrays; with `all` also the
// extra-record list.
void FreeDatabase(bool all);

int DatabaseBlockCount();
const DatabaseBlock& GetDatabaseBlock(int entry);
// The entry of a directory handle word (offset 4 or 12), or -1 when it names none.
int DirectoryBlockHandle(uint32_t handle);

// The fatal messages of the database file, shown with the stop icon; both end with code 1.
[[noreturn]] void DatabaseBadlyFormatted();
[[noreturn]] void DatabaseNotCompatible();

} // namespace qv
