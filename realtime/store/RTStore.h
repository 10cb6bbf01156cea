// The intraday store: the day list, the share table, the chain of day records (newest first), the
// active shares and the watch lists, all behind the store's readers-writer lock.
#pragma once

#include "core/PackedDate.h"
#include "realtime/store/RTActiveShares.h"
#include "realtime/store/RTDayRecord.h"
#include "realtime/store/RTShareTable.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace qv {

struct RTStore {
    PackedDate latestDay = 0;
    std::vector<PackedDate> days; // ascending stored days
    uint32_t historyBytes = 0;
    PackedDate newestDaySeen = 0;
    RTShareTable table;
    std::vector<std::unique_ptr<RTDayRecord>> dayChain; // descending; the head is the current day
    std::vector<std::unique_ptr<RTActiveShare>> activeShares; // newest first
    std::vector<RTWatchList*> watchLists;
    uint32_t accessCounter = 0;
    uint32_t loadCounter = 0;
    uint8_t rollUpLevel = 0;
    uint8_t minorFormat = 0;
    // Recording and playback of feed blocks, and the engine's sample buffers.
    bool recording = false;
    std::vector<uint8_t> recordingBuffer;
    bool playback = false;
    uint32_t playbackPace = 0;
    uint32_t playbackStartTick = 0;
    std::vector<uint8_t> playbackBuffer;
    std::array<std::vector<uint32_t>, 10> samples;
    // The decode work area's busy flag (the table lock).
    uint16_t workAreaLock = 0;
    bool workAreaReady = false;
};

RTStore& TheRTStore();

// Creates the store's lock and the news lock; the store lock's exclusive use sets IntradayLockFlag.
void CreateRTStoreObjects();
void DestroyRTStoreObjects();

// Start-up: clears the store, creates the locks and the work area and loads the index and history.
void InitRTStore();
// Exit: under the exclusive lock, writes the sample dumps and frees everything; the locks go too.
void CloseRTStore();
// Registers the share table's instruments that the database lacks as extra items (once each).
void RegisterRTInstrumentExtras();
// The share table's instruments that the end-of-day database lacks, as "CODE  Name" in number order.
std::vector<std::string> NewRTShareLines(const RTShareTable& table);
// True once InitRTStore has run and until CloseRTStore.
bool RTStoreExists();

// Readers under the shared lock may load a day or an entry's tick words; this mutex keeps those
// loads and every walk of the day chain apart. Held only briefly, never while waiting for the lock.
std::mutex& RTDayChainMutex();
// The head of the chain (the current day), or null.
RTDayRecord* CurrentRTDay();

// The day record: a day > 0 is a date, a day <= 0 that many records back from the current day.
// Loaded from its file when stored; made when create is set.
RTDayRecord* GetRTDay(int32_t day, bool create);
// n < 0: the day n weekdays back from the current day; n >= 1 the date n; 0 the current day.
RTDayRecord* GetRTDayOfAge(int32_t n);
bool IsRTDayStored(PackedDate day);

// The share's entry in a day, or null. A negative slot is looked up first and given back; a missing
// key or entry is added when create is set.
RTDayShareEntry* GetRTDayShare(uint32_t key, RTDayRecord& day, int32_t& slot, bool create);
// Makes sure the entry's tick words are in memory (kind kRTLoadSummary or kRTLoadAllTicks); null
// when they cannot be had.
const uint32_t* GetRTShareTickData(RTDayShareEntry& entry, RTDayRecord& day, uint16_t kind);
// Copies the share's summary; without one, zeros with every time-mask bit set and -1.
int GetRTSummaryBlock(RTDayShareEntry* entry, std::array<uint32_t, kRTSummaryWords>& out, RTDayRecord& day);
// Frees every day record but the current one, under the exclusive lock when asked.
void PurgeOldRTDays(bool lock);

// Clears every state of the store (tests and start-up).
void ResetRTStore();

} // namespace qv
