// The intraday store's share table: the keys it knows in a sorted index, the instrument records of
// shares whose details come from the feed, and their name bytes.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qv {

// Intraday key: exchange << 16 | share number.
constexpr uint32_t MakeRTKey(uint8_t exchange, uint16_t share) { return (uint32_t(exchange) << 16) | share; }
constexpr uint16_t RTKeyShare(uint32_t key) { return uint16_t(key); }

// A share as the store's callers name it: its database record (may be null) and its exchange.
struct ShareRef {
    const uint8_t* record = nullptr;
    uint8_t exchange = 0;
    uint16_t share = 0; // used when record is null
};
// The key of the reference; 0 when it names no share.
uint32_t GetRTShareKey(const ShareRef& ref);

constexpr uint16_t kRTNoInstrument = 0xFFFF;
constexpr size_t kRTKeyEntryBytes = 8;
constexpr size_t kRTInstrumentBytes = 48;

struct RTKeyEntry {
    uint32_t key = 0;
    uint16_t instrument = 0; // 1-based; kRTNoInstrument for a share of the database
    uint16_t spare = 0;
};

// The 48-byte instrument record; offsets are in docs/DATA.md.
struct RTInstrument {
    uint16_t share = 0;
    uint8_t exchange = 0;
    uint8_t marketType = 0;
    uint8_t definitionByte = 0;
    uint8_t spare5 = 0;
    uint8_t zoneCode = 0;
    uint8_t registeredExtra = 0;
    uint32_t definitionValue = 0;
    uint32_t shortName = 0;
    uint32_t longName = 0;
    uint32_t spare20 = 0;
    float previousClose = 0.0f;
    PackedDate closeDate = 0;
    uint8_t priceScale = 0;
    uint8_t spare31 = 0;
    uint16_t sequence = 0;
    uint8_t rest[14] = {};
};

struct RTShareTable {
    uint16_t keyCount = 0;
    uint16_t keyCapacity = 0;
    std::vector<RTKeyEntry> keys;       // keyCapacity entries, the first keyCount in use
    std::vector<uint32_t> slotIndex;    // key-table entry numbers in ascending key order
    uint16_t instrumentCount = 0;       // in use; number 0 is never handed out
    uint16_t instrumentCapacity = 0;
    std::vector<RTInstrument> instruments;
    uint32_t nameBytesUsed = 0;
    uint32_t nameCapacity = 0;
    std::vector<uint8_t> names;

    uint32_t KeyAtSlot(uint32_t slot) const { return keys[slotIndex[slot]].key; }
    // The instrument record by its 1-based number; null for 0, 0xFFFF or a number out of range.
    RTInstrument* Instrument(uint16_t number);
    const RTInstrument* Instrument(uint16_t number) const;
    // The name at an offset of the name bytes; empty when the offset lies outside them.
    std::string_view NameAt(uint32_t offset) const;
};

// The empty table a missing index starts with: room for 1000 keys, 1 name byte and 1 instrument.
RTShareTable DefaultRTShareTable();

struct RTKeySlot {
    bool found = false;
    uint32_t slot = 0;
};
// Finds the key's position in the sorted index by halving; when missing, the insertion position.
RTKeySlot FindRTKeySlot(const RTShareTable& table, uint32_t key);

// Looks a share up in the end-of-day database; the store installs the database's look-up, tests
// their own. Without one no share is in the database.
using RTDatabaseLookup = bool (*)(uint16_t share);
// Returns the look-up it replaces.
RTDatabaseLookup SetRTDatabaseLookup(RTDatabaseLookup lookup);
bool IsShareInDatabase(uint16_t share);

// Inserts the key at the slot when it is not there yet. A share of the database gets no
// instrument record unless forceInstrument is set, which also gives a known key without one its
// record; any other gets a new one. Returns the slot.
int32_t AddRTKey(RTShareTable& table, uint32_t key, uint32_t slot, const ShareRef& ref, bool forceInstrument);

// Appends length bytes and a 0 to the name bytes; the offset of the name.
int32_t AddRTName(RTShareTable& table, std::string_view text);

// Clears a previous close outside 0.00001 .. 1,000,000; -1 when it did, else 0.
int CheckRTInstrumentClose(RTInstrument& instrument);

} // namespace qv
