// Loading the database: header, directory, extra blocks and record streams into blocks that are
// staged until the whole file has been read, then Comp.dat and the record index. A fault anywhere
// shows the file's message and ends the program; nothing half-read is published.
#include "core/Database.h"
#include "core/PriceWalkIndex.h"
#include "core/UpperHooks.h"

#include "core/CompanyData.h"
#include "core/DatabaseCodingTables.h"
#include "core/DatabaseNeighbours.h"
#include "core/DatabaseSource.h"
#include "core/Memory.h"
#include "core/PriceStatisticsHooks.h"
#include "core/RecordLists.h"
#include "core/RecordStreamReader.h"
#include "core/TableLock.h"
#include "platform/ByteOrder.h"
#include "platform/MemoryHints.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ProgramExit.h"

#include <cstring>
#include <memory>
#include <vector>

namespace qv {

uint8_t* DatabaseDirectory = nullptr;
uint32_t DatabaseDirectorySize = 0;
uint8_t* MainRecordBlock = nullptr;
uint8_t* MainBlockEnd = nullptr;
uint32_t DatabaseLoadGeneration = 0;
uint8_t* RecordIndex[0x8000] = {};
PackedDate LatestDatabaseDate = 0;
DayRecord* TradingDays = nullptr;
int32_t TradingDayCount = 0;
int32_t DatabaseVersion = 0;
int32_t DatabaseMinorVersion = 0;
uint16_t DatabaseWordA = 0;
PackedDate DatabaseDate = 0;
PackedDate FirstLoadDate = 0;
int32_t DatabaseElementCount = 0;
int32_t TotalItemCount = 0;
int32_t KindCounts[KindCountSlots] = {};
RecordCursor* FindShareWorkArray = nullptr;
uint32_t FindShareWorkArraySize = 0;
const uint8_t* ExtraBlockItem24 = nullptr;
const uint8_t* ExtraBlockItem25 = nullptr;
double ListValueLimit = 0.0;
int32_t ListSelectionValue = 0;

namespace {

constexpr uint32_t kDatabaseTag = 'Z' | 'Q' << 8 | 'D' << 16 | uint32_t('A') << 24;
constexpr uint8_t kStoredHeadSize = 10;
constexpr size_t kLargePageBytes = size_t(2) << 20;

struct ProDeleter {
    void operator()(uint8_t* block) const { ProFree(block); }
};
using OwnedBlock = std::unique_ptr<uint8_t, ProDeleter>;

OwnedBlock Allocate(size_t bytes, const char* context)
{
    return OwnedBlock(static_cast<uint8_t*>(ProCalloc(uint32_t(bytes), 1, context)));
}

// A block the reader fills from end to end at once: a whole record block, megabytes on a full
// database, is first touched there.
OwnedBlock AllocateFilled(size_t bytes, const char* context)
{
    OwnedBlock block = Allocate(bytes, context);
    if (bytes >= kLargePageBytes)
        PreferLargePages(block.get(), bytes);
    return block;
}

struct StagedEntry {
    OwnedBlock records;
    uint32_t size = 0;
    OwnedBlock extra;
    uint32_t extraSize = 0;
    EntryShape shape;
};

std::vector<DatabaseBlock>& Blocks()
{
    static std::vector<DatabaseBlock> blocks;
    return blocks;
}

void FreeBlocks()
{
    for (DatabaseBlock& block : Blocks()) {
        ProFree(block.records);
        ProFree(block.extra);
    }
    Blocks().clear();
    ProFree(DatabaseDirectory);
    DatabaseDirectory = nullptr;
    DatabaseDirectorySize = 0;
    MainRecordBlock = nullptr;
    MainBlockEnd = nullptr;
    ++DatabaseLoadGeneration;
}

void FreeIndexArrays()
{
    std::memset(RecordIndex, 0, sizeof RecordIndex);
    ProFree(FindShareWorkArray);
    FindShareWorkArray = nullptr;
    FindShareWorkArraySize = 0;
    ProFree(TradingDays);
    TradingDays = nullptr;
    TradingDayCount = 0;
    ExtraBlockItem24 = nullptr;
    ExtraBlockItem25 = nullptr;
}

// Reads the header into the program-wide words; ends the program on a fault.
void ReadHeader(DatabaseSource& source)
{
    uint8_t header[kDatabaseHeaderSize];
    if (!source.read(header, sizeof header) || LoadU32(header) != kDatabaseTag)
        DatabaseBadlyFormatted();
    DatabaseVersion = header[4];
    DatabaseMinorVersion = header[5];
    DatabaseWordA = LoadU16(header + 8);
    DatabaseDate = LoadU16(header + 10);
    if (header[4] > kNewestDatabaseFormat)
        DatabaseNotCompatible();
}

// The directory as read, with its entry count; it must hold its terminating entry.
OwnedBlock ReadDirectory(DatabaseSource& source, uint32_t& size, int& entries)
{
    uint8_t sizeBytes[4];
    if (!source.read(sizeBytes, 4))
        DatabaseBadlyFormatted();
    size = LoadU32(sizeBytes);
    if (size < 4 || size > source.remaining())
        DatabaseBadlyFormatted();
    OwnedBlock directory = Allocate(size, "Database directory");
    if (!source.read(directory.get(), size))
        DatabaseBadlyFormatted();
    entries = 0;
    for (uint32_t at = 0;; at += kDirectoryEntrySize, ++entries) {
        if (size - at < 4)
            DatabaseBadlyFormatted();
        if (LoadU32(directory.get() + at) == 0)
            break;
        if (size - at < kDirectoryEntrySize || directory.get()[at + DirectoryLayout::HeadSize] != kStoredHeadSize)
            DatabaseBadlyFormatted();
    }
    if (entries == 0)
        DatabaseBadlyFormatted();
    return directory;
}

std::vector<StagedEntry> ReadBlocks(DatabaseSource& source, uint8_t* directory, int entries)
{
    std::vector<StagedEntry> staged(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        uint16_t extraSize = LoadU16(directory + i * kDirectoryEntrySize + DirectoryLayout::ExtraSize);
        if (extraSize == 0)
            continue;
        staged[i].extra = Allocate(extraSize, "Database extra block");
        staged[i].extraSize = extraSize;
        if (!source.read(staged[i].extra.get(), extraSize))
            DatabaseBadlyFormatted();
    }
    for (int i = 0; i < entries; ++i) {
        const uint8_t* entry = directory + i * kDirectoryEntrySize;
        uint16_t count = LoadU16(entry + DirectoryLayout::RecordCount);
        bool oneByte = entry[DirectoryLayout::Flags] & 1;
        uint64_t start = source.position();
        StagedEntry& s = staged[i];
        source.expectSkips(true);
        if (MeasureEntryStream(source, oneByte, count, s.shape) != StreamRead::Ok)
            DatabaseBadlyFormatted();
        source.expectSkips(false);
        s.records = AllocateFilled(s.shape.blockBytes, "Database block");
        s.size = uint32_t(s.shape.blockBytes);
        if (!source.seek(start) ||
            ReadEntryStream(source, oneByte, count, s.records.get(), s.shape) != StreamRead::Ok)
            DatabaseBadlyFormatted();
    }
    return staged;
}

void Publish(OwnedBlock directory, uint32_t directorySize, std::vector<StagedEntry>& staged)
{
    FreeBlocks();
    FreeIndexArrays();
    DatabaseDirectory = directory.release();
    DatabaseDirectorySize = directorySize;
    DatabaseElementCount = 0;
    for (size_t i = 0; i < staged.size(); ++i) {
        StagedEntry& s = staged[i];
        uint8_t* entry = DatabaseDirectory + i * kDirectoryEntrySize;
        StoreU32(entry + DirectoryLayout::Block, uint32_t(i + 1));
        StoreU32(entry + DirectoryLayout::ExtraBlock, s.extra ? uint32_t(i + 1) : 0);
        DatabaseBlock block;
        block.size = s.size;
        block.records = s.records.release();
        block.extraSize = s.extraSize;
        block.extra = s.extra.release();
        block.recordCount = s.shape.records;
        block.subRecordCount = s.shape.subRecords;
        DatabaseElementCount += int32_t(s.shape.subRecords);
        Blocks().push_back(block);
    }
    MainRecordBlock = Blocks()[0].records;
    MainBlockEnd = MainRecordBlock + Blocks()[0].size;
    ++DatabaseLoadGeneration;
}

void LoadFromSources(DatabaseSource& database, DatabaseSource* companyData)
{
    ReadHeader(database);
    uint32_t directorySize = 0;
    int entries = 0;
    OwnedBlock directory = ReadDirectory(database, directorySize, entries);
    std::vector<StagedEntry> staged = ReadBlocks(database, directory.get(), entries);
    Publish(std::move(directory), directorySize, staged);
    LoadDatabaseCodingTables();
    if (FirstLoadDate == 0)
        FirstLoadDate = DatabaseDate;

    FreeCompanyData();
    if (companyData)
        LoadCompanyData(*companyData);
    BuildRecordIndex();
}

// The data of item n (from 0) of the first extra block's chain: item + 8 + its byte 4, or null.
const uint8_t* ExtraBlockItemData(int n)
{
    const DatabaseBlock& first = Blocks()[0];
    uint32_t at = 0;
    for (int i = 0; first.extra && first.extraSize - at >= 2; ++i) {
        uint16_t length = LoadU16(first.extra + at);
        if (length < 8 || length > first.extraSize - at)
            return nullptr;
        if (i == n) {
            uint32_t data = 8u + first.extra[at + 4];
            return data <= length ? first.extra + at + data : nullptr;
        }
        at += length;
    }
    return nullptr;
}

uint32_t CountRecords(uint8_t* block)
{
    uint32_t total = 0;
    for (uint8_t* r = block; RecordLength(r) != 0; r = NextRecord(r))
        ++total;
    return total;
}

void IndexRecord(uint8_t* record, CompanyItemLinker& records, CompanyItemLinker& streams)
{
    uint16_t id = RecordId(record);
    uint8_t* sub = FirstSubRecord(record);
    if (SubRecordKindOf(sub) != SubRecordKind::Index)
        ++KindCounts[KindCompanies];
    if (id < 0x8000) {
        RecordIndex[id] = record;
        StoreU32(record + RecordLayout::CompanyData, records.link(id));
    }
    for (uint32_t j = 0;; ++j) {
        ++KindCounts[KindCountSlotOf(SubRecordKindOf(sub))];
        StoreU32(sub + SubRecordLayout::CompanyData, j < 256 ? streams.link(id, uint8_t(j)) : 0);
        if (SubRecordLength(sub) == 0)
            break;
        sub += SubRecordLength(sub);
    }
    std::memset(record + RecordLayout::EarningsValue, 0, RecordLayout::FirstSubRecord - RecordLayout::EarningsValue);
}

} // namespace

KindCountSlot KindCountSlotOf(uint8_t kind)
{
    switch (kind) {
    case 1:
        return KindIndices;
    case 2:
    case 3:
        return KindPreference;
    case 8:
        return KindIncome;
    case 9:
        return KindCapital;
    case 10:
    case 11:
        return KindOrdinary;
    case 13:
        return KindGilts;
    case 14:
        return KindUnitTrusts;
    case 16:
        return KindExchangeRates;
    case 17:
        return KindCommodities;
    default:
        return KindOther;
    }
}

const char* KindCountName(int slot)
{
    static const char* const names[KindCountSlots] = {
        "companies",         "indices",     "preference shares", "income shares", "capital shares",
        "Ord. shares",       "gilts",       "unit trusts",       "exchange rates", "commodities",
        "other shares"};
    return slot >= 0 && slot < KindCountSlots ? names[slot] : "";
}

void DatabaseBadlyFormatted()
{
    ShowMessage("The data file Quorva.dat is badly formatted\n\nQuorvantis is unable to continue\n\n"
                "Please refer to User Guide for help",
                {}, MsgButtons::Ok, MsgIcon::Stop);
    EndProgram(1);
}

void DatabaseNotCompatible()
{
    ShowMessage("The data file Quorva.dat is not compatible with this version of the program\n\n"
                "Quorvantis is unable to continue\n\nPlease refer to User Guide for help",
                {}, MsgButtons::Ok, MsgIcon::Stop);
    EndProgram(1);
}

bool LoadDatabase(const std::filesystem::path& path)
{
    DatabaseFileSource database;
    if (!database.open(path))
        return false;
    DatabaseFileSource companyData;
    bool haveCompanyData = companyData.open(AppPath("data\\Comp.dat"));
    LoadFromSources(database, haveCompanyData ? &companyData : nullptr);
    return true;
}

void LoadDatabaseFromMemory(std::span<const uint8_t> database, const std::span<const uint8_t>* companyData)
{
    DatabaseMemorySource source(database);
    if (!companyData) {
        LoadFromSources(source, nullptr);
        return;
    }
    DatabaseMemorySource company(*companyData);
    LoadFromSources(source, &company);
}

void BuildRecordIndex()
{
    if (Blocks().empty())
        return;
    DatabaseNeighbours& neighbours = GetDatabaseNeighbours();
    MainRecordBlock = Blocks()[0].records;
    MainBlockEnd = MainRecordBlock + Blocks()[0].size;

    uint8_t* calendar = nullptr;
    for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0 && !calendar; r = NextRecord(r)) {
        if (RecordId(r) == kMarketCalendarId)
            calendar = r;
    }
    LatestDatabaseDate = calendar ? FindLastPriceDate(calendar) : 0;
    {
        TableLockGuard hold(&ExtraRecordsLock);
        TotalItemCount = DatabaseElementCount + ExtraRecordCount + ImportedItemCount;
    }
    if (neighbours.createFirstShareList)
        neighbours.createFirstShareList();

    ProFree(FindShareWorkArray);
    FindShareWorkArraySize = uint32_t(TotalItemCount) + 1;
    FindShareWorkArray = static_cast<RecordCursor*>(
        ProCalloc(FindShareWorkArraySize, sizeof(RecordCursor), "Find share work array"));
    std::memset(KindCounts, 0, sizeof KindCounts);
    std::memset(RecordIndex, 0, sizeof RecordIndex);

    CompanyItemLinker records(RecordFieldData, kRecordItemHead);
    CompanyItemLinker streams(StreamFieldData, kStreamItemHead);
    uint32_t total = CountRecords(MainRecordBlock);
    uint32_t i = 1;
    for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r), ++i) {
        if (i % 100 == 0 && neighbours.setSplashProgress)
            neighbours.setSplashProgress(int(35 + 40ull * i / total));
        IndexRecord(r, records, streams);
    }
    FillBlockStatistics(MainRecordBlock);
    // The ratio reads the last close the statistics have just filled in.
    for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r))
        if ((r[RecordLayout::TypeByte] & 7) != 3 && SubRecordKindOf(FirstSubRecord(r)) != SubRecordKind::UnitTrust)
            FillRecordRatio(r);

    ProFree(TradingDays);
    TradingDays = nullptr;
    TradingDayCount = calendar ? DecodeTradingCalendar(calendar, &TradingDays) : 0;
    ExtraBlockItem24 = ExtraBlockItemData(23);
    ExtraBlockItem25 = ExtraBlockItemData(24);
    ListValueLimit = 9.999e102;
    ListSelectionValue = -2;
}

void FreeDatabase(bool all)
{
    ForgetPriceWalkIndexes();
    if (const auto& free = CoreUpperHooks().freeDirectorsDealings)
        free();
    FreeBlocks();
    FreeRecordList(&ImportedItemList, &ImportedItemCount);
    if (all) {
        TableLockGuard hold(&ExtraRecordsLock);
        FreeRecordList(&ExtraRecordList, &ExtraRecordCount);
    }
    FreeIndexArrays();
    FreeCompanyData();
    DatabaseElementCount = 0;
    TotalItemCount = 0;
    std::memset(KindCounts, 0, sizeof KindCounts);
    if (GetDatabaseNeighbours().freeFixedSourceLists)
        GetDatabaseNeighbours().freeFixedSourceLists();
}

int DatabaseBlockCount() { return int(Blocks().size()); }

const DatabaseBlock& GetDatabaseBlock(int entry) { return Blocks().at(size_t(entry)); }

int DirectoryBlockHandle(uint32_t handle)
{
    return handle >= 1 && handle <= Blocks().size() ? int(handle) - 1 : -1;
}

} // namespace qv
