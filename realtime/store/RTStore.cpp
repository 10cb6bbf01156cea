// The intraday store's state, its day chain and the look-ups of days and share entries.
#include "realtime/store/RTStore.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/ExtraRecords.h"
#include "core/ReadersWriterLock.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "platform/Clock.h"
#include "realtime/IntradayState.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStoreFiles.h"

#include <algorithm>
#include <atomic>

namespace qv {
namespace {

std::atomic<bool> g_exists{false};

uint16_t AccessTime()
{
    LocalDateTime now = NowLocal();
    return uint16_t((now.hour * 3600 + now.minute * 60 + now.second) / 2);
}

void LinkDay(std::unique_ptr<RTDayRecord> record)
{
    auto& chain = TheRTStore().dayChain;
    auto at = std::find_if(chain.begin(), chain.end(), [&](const auto& r) { return r->day < record->day; });
    chain.insert(at, std::move(record));
}

void AddToDayList(PackedDate day)
{
    RTStore& s = TheRTStore();
    auto at = std::lower_bound(s.days.begin(), s.days.end(), day);
    if (at == s.days.end() || *at != day)
        s.days.insert(at, day);
    if (day > s.latestDay)
        s.latestDay = day;
}

RTDayRecord* FindInChain(PackedDate day)
{
    for (auto& r : TheRTStore().dayChain)
        if (r->day == day)
            return r.get();
    return nullptr;
}

bool DatabaseHolds(uint16_t share) { return FindShareRecord(share) != nullptr; }

bool RealTimeOptionOn() { return Config().optionsA.data()[OptionBlockA::kRealTimeOption] != 0; }

} // namespace

// Instruments of shares the database does not hold become extra items, so lists can show them.
void RegisterRTInstrumentExtras()
{
    RTShareTable& t = TheRTStore().table;
    for (uint16_t n = 1; n < t.instrumentCount && n < t.instruments.size(); ++n) {
        RTInstrument& x = t.instruments[n];
        if (!IsShareId(x.share) || FindShareRecord(x.share)) // the database or an extra item has it
            continue;
        CheckRTInstrumentClose(x);
        std::string name(t.NameAt(x.longName)), code(t.NameAt(x.shortName));
        ExtraShare extra;
        extra.id = x.share;
        extra.name = name.empty() ? code : name;
        extra.code = code;
        extra.streamKind = 10; // an ordinary share's prices
        extra.classByte = x.exchange;
        extra.marketCode = x.zoneCode;
        extra.price = x.previousClose;
        extra.date = x.closeDate;
        if (BuildShareRecord(extra))
            x.registeredExtra = 1;
    }
}

std::vector<std::string> NewRTShareLines(const RTShareTable& t)
{
    std::vector<std::string> lines;
    for (uint16_t n = 1; n < t.instrumentCount && n < t.instruments.size(); ++n) {
        const RTInstrument& x = t.instruments[n];
        // An instrument the program registered as an extra item is still one the database lacks.
        if (!IsShareId(x.share) || (IsShareInDatabase(x.share) && !x.registeredExtra))
            continue;
        lines.push_back(std::string(t.NameAt(x.shortName)) + "  " + std::string(t.NameAt(x.longName)));
    }
    return lines;
}

std::mutex& RTDayChainMutex()
{
    static std::mutex m;
    return m;
}

RTDayRecord* CurrentRTDay()
{
    std::lock_guard chain(RTDayChainMutex());
    auto& c = TheRTStore().dayChain;
    return c.empty() ? nullptr : c.front().get();
}

RTStore& TheRTStore()
{
    static RTStore store;
    return store;
}

void CreateRTStoreObjects()
{
    IntradayStoreLock().Create(&IntradayLockFlag);
    NewsLock().Create();
}

void DestroyRTStoreObjects()
{
    IntradayStoreLock().Destroy();
    NewsLock().Destroy();
}

void ResetRTStore()
{
    TheRTStore() = RTStore{};
    TheRTStore().table = DefaultRTShareTable();
    g_exists = false;
}

void InitRTStore()
{
    ResetRTStore();
    CreateRTStoreObjects();
    TheRTStore().workAreaReady = true;
    SetRTDatabaseLookup(DatabaseHolds);
    LoadRTIndex();
    if (RealTimeOptionOn())
        RegisterRTInstrumentExtras();
    g_exists = true;
}

void CloseRTStore()
{
    if (!IntradayStoreLock().Exists())
        return;
    // Nothing runs on the store afterwards, so the lock goes with it rather than being released.
    LockRTExclusive();
    DumpRTSamples();
    PurgeOldRTDays(false);
    ResetRTStore();
    TheRTStore().table = RTShareTable{};
    DestroyRTStoreObjects();
}

bool RTStoreExists() { return g_exists; }

bool IsRTDayStored(PackedDate day)
{
    const auto& days = TheRTStore().days;
    return std::binary_search(days.begin(), days.end(), day);
}

RTDayRecord* GetRTDay(int32_t day, bool create)
{
    std::lock_guard chain(RTDayChainMutex());
    RTStore& s = TheRTStore();
    RTDayRecord* found = nullptr;
    if (day <= 0) {
        size_t back = size_t(-int64_t(day));
        found = back < s.dayChain.size() ? s.dayChain[back].get() : nullptr;
    } else if (day <= 0xFFFF) {
        PackedDate date = PackedDate(day);
        found = FindInChain(date);
        if (!found && !create && s.days.empty())
            return nullptr;
        if (!found && IsRTDayStored(date)) {
            if (auto loaded = LoadRTDayFile(date)) {
                found = loaded.get();
                LinkDay(std::move(loaded));
            }
        }
        if (!found && create) {
            auto made = std::make_unique<RTDayRecord>();
            made->day = date;
            made->entries.reserve(16);
            made->work.reserve(16);
            made->slotMap.resize(16);
            found = made.get();
            AddToDayList(date);
            LinkDay(std::move(made));
        }
    }
    // Readers share the lock, so the stamp is written atomically.
    if (found)
        std::atomic_ref<uint16_t>(found->lastAccess).store(AccessTime(), std::memory_order_relaxed);
    return found;
}

RTDayRecord* GetRTDayOfAge(int32_t n)
{
    if (n == 0)
        return GetRTDay(0, false);
    if (n >= 1)
        return GetRTDay(n, false);
    RTDayRecord* current = CurrentRTDay();
    if (!current)
        return nullptr;
    PackedDate date = current->day;
    for (int32_t i = 0; i < -n && date; ++i)
        date = PreviousWeekday(date, false);
    return date ? GetRTDay(date, false) : nullptr;
}

RTDayShareEntry* GetRTDayShare(uint32_t key, RTDayRecord& day, int32_t& slot, bool create)
{
    RTStore& s = TheRTStore();
    RTShareTable& table = s.table;
    std::atomic_ref<uint32_t>(s.accessCounter).fetch_add(1, std::memory_order_relaxed);
    if (slot < 0 || uint32_t(slot) >= table.keyCount || table.KeyAtSlot(uint32_t(slot)) != key) {
        RTKeySlot at = FindRTKeySlot(table, key);
        if (!at.found) {
            if (!create)
                return nullptr;
            ShareRef ref{nullptr, uint8_t(key >> 16), RTKeyShare(key)};
            int32_t added = AddRTKey(table, key, at.slot, ref, false);
            if (added < 0)
                return nullptr;
            at.slot = uint32_t(added);
        }
        slot = int32_t(at.slot);
    }
    uint32_t keyEntry = table.slotIndex[uint32_t(slot)];
    if (RTDayShareEntry* e = day.EntryFor(keyEntry, key))
        return e;
    if (!create || day.entries.size() >= 0xFFFF)
        return nullptr;
    return &day.AddEntry(keyEntry, key);
}

const uint32_t* GetRTShareTickData(RTDayShareEntry& entry, RTDayRecord& day, uint16_t kind)
{
    std::lock_guard chain(RTDayChainMutex());
    bool inMemory = !entry.ticks.empty() &&
                    ((entry.loadFlags & kind) || (entry.loadFlags & kRTLoadAllTicks) || entry.fileOffset == 0);
    if (inMemory)
        return entry.ticks.data();
    if (LoadRTShareTicks(day, entry, nullptr, kind) != 0)
        return nullptr;
    return entry.ticks.data();
}

int GetRTSummaryBlock(RTDayShareEntry* entry, std::array<uint32_t, kRTSummaryWords>& out, RTDayRecord& day)
{
    const uint32_t* words = entry ? GetRTShareTickData(*entry, day, kRTLoadSummary) : nullptr;
    if (!words || entry->ticks.size() < kRTSummaryWords) {
        out = EmptyRTSummaryWords();
        return -1;
    }
    std::copy(words, words + kRTSummaryWords, out.begin());
    return 0;
}

void PurgeOldRTDays(bool lock)
{
    if (lock)
        LockRTExclusive();
    {
        std::lock_guard guard(RTDayChainMutex());
        // A day with no history file lives only in memory: freeing it would lose it.
        auto& chain = TheRTStore().dayChain;
        if (chain.size() > 1)
            chain.erase(std::remove_if(chain.begin() + 1, chain.end(),
                                       [](const auto& r) { return RTHistoryFileExists(r->day); }),
                        chain.end());
    }
    if (lock)
        UnlockRTExclusive();
}

} // namespace qv
