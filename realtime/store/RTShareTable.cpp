// The intraday share table: sorted keys, instrument records and names.
#include "realtime/store/RTShareTable.h"

#include "core/RecordAccess.h"

#include <algorithm>
#include <utility>

namespace qv {
namespace {

constexpr uint16_t kKeyGrowth = 200;
constexpr uint16_t kInstrumentGrowth = 32;
constexpr uint32_t kNameGrowth = 256;
RTDatabaseLookup g_lookup = nullptr;

uint16_t NewInstrument(RTShareTable& table, uint16_t share, uint8_t exchange)
{
    // Number 0 is never handed out, so record 0 stays unused.
    if (table.instrumentCount == 0)
        table.instrumentCount = 1;
    if (table.instrumentCount >= 0xFFFE)
        return 0;
    if (table.instrumentCount >= table.instrumentCapacity) {
        table.instrumentCapacity = uint16_t(std::min<uint32_t>(0xFFFE, table.instrumentCapacity + kInstrumentGrowth));
        table.instruments.resize(table.instrumentCapacity);
    }
    uint16_t number = table.instrumentCount++;
    RTInstrument& rec = table.instruments[number];
    rec = RTInstrument{};
    rec.share = share;
    rec.exchange = exchange;
    return number;
}

} // namespace

uint32_t GetRTShareKey(const ShareRef& ref)
{
    uint16_t share = ref.record ? RecordId(ref.record) : ref.share;
    return share ? MakeRTKey(ref.exchange, share) : 0;
}

RTInstrument* RTShareTable::Instrument(uint16_t number)
{
    return number && number < instrumentCount && number < instruments.size() ? &instruments[number] : nullptr;
}

const RTInstrument* RTShareTable::Instrument(uint16_t number) const
{
    return const_cast<RTShareTable*>(this)->Instrument(number);
}

std::string_view RTShareTable::NameAt(uint32_t offset) const
{
    uint32_t used = std::min<uint32_t>(nameBytesUsed, uint32_t(names.size()));
    if (offset >= used)
        return {};
    const char* start = reinterpret_cast<const char*>(names.data() + offset);
    size_t n = 0;
    while (offset + n < used && start[n])
        ++n;
    return {start, n};
}

RTShareTable DefaultRTShareTable()
{
    RTShareTable t;
    t.keyCapacity = 1000;
    t.keys.resize(1000);
    t.slotIndex.resize(1000);
    t.instrumentCapacity = 1;
    t.instruments.resize(1);
    t.nameCapacity = 1;
    t.names.resize(1);
    return t;
}

RTKeySlot FindRTKeySlot(const RTShareTable& table, uint32_t key)
{
    uint32_t count = table.keyCount;
    if (count == 0 || key < table.KeyAtSlot(0))
        return {false, 0};
    if (key == table.KeyAtSlot(0))
        return {true, 0};
    uint32_t last = count - 1;
    if (key == table.KeyAtSlot(last))
        return {true, last};
    if (key > table.KeyAtSlot(last))
        return {false, count};
    // The key lies strictly between the first and the last.
    uint32_t low = 0, high = last;
    while (high - low >= 2) {
        uint32_t mid = low + (high - low) / 2;
        uint32_t k = table.KeyAtSlot(mid);
        if (k == key)
            return {true, mid};
        (k < key ? low : high) = mid;
    }
    return {false, high};
}

RTDatabaseLookup SetRTDatabaseLookup(RTDatabaseLookup lookup) { return std::exchange(g_lookup, lookup); }

bool IsShareInDatabase(uint16_t share) { return g_lookup && g_lookup(share); }

int32_t AddRTKey(RTShareTable& table, uint32_t key, uint32_t slot, const ShareRef& ref, bool forceInstrument)
{
    RTKeySlot at = FindRTKeySlot(table, key);
    if (at.found) {
        // A forced add gives a known key its instrument record when it has none yet.
        RTKeyEntry& known = table.keys[table.slotIndex[at.slot]];
        if (forceInstrument && known.instrument == kRTNoInstrument)
            known.instrument = NewInstrument(table, RTKeyShare(key), uint8_t(key >> 16));
        return int32_t(at.slot);
    }
    slot = at.slot; // a caller's stale slot must not break the order
    if (table.keyCount == 0xFFFF)
        return -1;
    if (table.keyCount >= table.keyCapacity || table.keys.size() < table.keyCapacity) {
        table.keyCapacity = uint16_t(std::min<uint32_t>(0xFFFF, uint32_t(table.keyCount) + kKeyGrowth));
        table.keys.resize(table.keyCapacity);
        table.slotIndex.resize(table.keyCapacity);
    }
    uint16_t share = RTKeyShare(key);
    bool inDatabase = ref.record != nullptr || IsShareInDatabase(share);
    RTKeyEntry entry{key, kRTNoInstrument, 0};
    if (!inDatabase || forceInstrument)
        entry.instrument = NewInstrument(table, share, uint8_t(key >> 16));
    uint32_t number = table.keyCount;
    table.keys[number] = entry;
    table.slotIndex.insert(table.slotIndex.begin() + slot, number);
    table.slotIndex.resize(table.keyCapacity);
    ++table.keyCount;
    return int32_t(slot);
}

int32_t AddRTName(RTShareTable& table, std::string_view text)
{
    if (table.names.empty())
        return -1;
    uint32_t need = table.nameBytesUsed + uint32_t(text.size()) + 1;
    if (need > table.nameCapacity || table.names.size() < need) {
        table.nameCapacity = std::max(table.nameCapacity, need + kNameGrowth);
        table.names.resize(table.nameCapacity);
    }
    uint32_t offset = table.nameBytesUsed;
    std::copy(text.begin(), text.end(), table.names.begin() + offset);
    table.names[offset + text.size()] = 0;
    table.nameBytesUsed = need;
    return int32_t(offset);
}

int CheckRTInstrumentClose(RTInstrument& instrument)
{
    float c = instrument.previousClose;
    if (c >= 0.00001f && c <= 1000000.0f)
        return 0;
    instrument.previousClose = 0.0f;
    return -1;
}

} // namespace qv
