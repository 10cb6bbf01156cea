// One stored trading day of the intraday store: its header, its share entries (88 bytes each in
// memory and in the day file), the slot map from key-table entries to share entries, and the
// coverage map.
#pragma once

#include "core/PackedDate.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace qv {

constexpr size_t kRTEntryBytes = 88;
constexpr size_t kRTDayHeaderBytes = 256;
constexpr size_t kRTOldDayHeaderBytes = 192;
constexpr uint32_t kRTCoverageBytes = 23168;
constexpr uint32_t kRTSummaryWords = 36;
constexpr uint32_t kRTSummaryBytes = kRTSummaryWords * 4;
static_assert(kRTSummaryBytes == 144);
static_assert(kRTCoverageBytes == 15 * 386 * 4 + 8); // 15 rows of 1,544 bytes and 8 bytes more

// Entry flags.
constexpr uint8_t kRTEntryNotInDatabase = 0x01;
constexpr uint8_t kRTEntryInstrumentApplied = 0x08;
// Load flags.
constexpr uint16_t kRTLoadWritten = 0x10;
constexpr uint16_t kRTLoadRebuildSummary = 0x20;
constexpr uint16_t kRTLoadPounds = 0x80;
constexpr uint16_t kRTLoadSummary = 0x200;
constexpr uint16_t kRTLoadAllTicks = 0x400;

// One share within one day (the 88-byte entry; offsets in docs/DATA.md). Pointer slots of the
// stored form are not kept: the tick words live in `ticks`.
struct RTDayShareEntry {
    uint32_t key = 0;
    uint32_t lastRecordTime = 0;
    std::array<uint32_t, 6> registers{};
    uint16_t seventhRegister = 0;
    uint8_t bitsInLastWord = 0; // bits of the last tick word in use (0: all 32)
    std::array<uint8_t, 7> classes{}; // registers 1, 2, 7, 3, 4, 5, 6
    uint8_t exchange = 0;
    uint8_t source = 0;
    uint8_t flags = 0;
    uint8_t keptMarker = 0;
    uint32_t tickCount = 0;
    uint32_t tickCapacity = 0;
    uint32_t fileOffset = 0;
    uint16_t loadFlags = 0;
    uint16_t timeClass = 0; // width class of the record-time register
    uint16_t streamOffset = 0; // word offset of the tick stream behind the summary
    std::array<uint8_t, 8> tail{};
    std::vector<uint32_t> ticks; // empty until loaded

    // The summary words, when at least the summary is in memory.
    bool HasSummary() const { return ticks.size() >= kRTSummaryWords && (loadFlags & (kRTLoadSummary | kRTLoadAllTicks)); }
};

// Reads one entry of a day file of the given version (88, 80 or 72 bytes).
size_t RTEntryBytesForVersion(uint8_t version);
RTDayShareEntry ReadRTDayShareEntry(std::span<const uint8_t> bytes, uint8_t version);
// The 88-byte stored form.
void WriteRTDayShareEntry(const RTDayShareEntry& entry, std::span<uint8_t, kRTEntryBytes> out);

struct RTDayRecord {
    std::array<uint8_t, kRTDayHeaderBytes> header{}; // as read; fields below win over it
    uint8_t version = 0;
    PackedDate day = 0;
    std::vector<RTDayShareEntry> entries;
    std::vector<uint16_t> slotMap; // by key-table entry number: share entry number + 1
    uint16_t lastAccess = 0;        // seconds since midnight / 2
    uint32_t flags = 0;
    uint32_t trailingOffset = 0;
    std::vector<std::array<uint8_t, 12>> work;
    std::vector<uint8_t> coverage; // empty or kRTCoverageBytes
    std::vector<uint8_t> extra;
    uint64_t feedWords = 0; // tick words the feed wrote into the day (its ceiling is the feed's)

    // The entry a key-table entry number maps to, checked against its key; null when none.
    RTDayShareEntry* EntryFor(uint32_t keyEntry, uint32_t key);
    // Adds an entry for the key and maps it; the new entry.
    RTDayShareEntry& AddEntry(uint32_t keyEntry, uint32_t key);
};

// Clears the per-entry work records of a day.
void ResetRTDayWork(RTDayRecord& day);

} // namespace qv
