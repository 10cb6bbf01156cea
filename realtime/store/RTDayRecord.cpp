// Day records and the stored forms of their share entries.
#include "realtime/store/RTDayRecord.h"

#include "platform/ByteOrder.h"

namespace qv {
namespace {

constexpr size_t kEntryGrowth = 200;
// The stored entry field by field: key, time, six registers, the seventh, bit count, seven classes,
// four bytes, spare, count, capacity, offset, pointer, load flags, time class, spare, stream offset,
// two pointers, kept bytes.
static_assert(4 + 4 + 6 * 4 + 2 + 1 + 7 + 4 + 2 + 4 * 4 + 2 + 2 + 2 + 2 + 8 + 8 == kRTEntryBytes);

void ReadCurrentLayout(ByteReader& r, RTDayShareEntry& e, size_t bytes)
{
    r.u32(e.key);
    r.u32(e.lastRecordTime);
    for (uint32_t& reg : e.registers)
        r.u32(reg);
    r.u16(e.seventhRegister);
    r.u8(e.bitsInLastWord);
    for (uint8_t& c : e.classes)
        r.u8(c);
    r.u8(e.exchange);
    r.u8(e.source);
    r.u8(e.flags);
    r.u8(e.keptMarker);
    r.skip(2);
    r.u32(e.tickCount);
    r.u32(e.tickCapacity);
    r.u32(e.fileOffset);
    r.skip(4); // tick-word pointer slot
    r.u16(e.loadFlags);
    r.u16(e.timeClass);
    r.skip(2);
    r.u16(e.streamOffset);
    r.skip(8); // extras and summary pointer slots
    if (bytes == kRTEntryBytes)
        r.bytes(e.tail.data(), e.tail.size());
}

// Versions 0-2: the 72-byte entry, field by field into the current layout.
void ReadOldLayout(std::span<const uint8_t> b, RTDayShareEntry& e, uint8_t version)
{
    e.key = LoadU32(b.data());
    e.lastRecordTime = LoadU32(b.data() + 4);
    for (size_t i = 0; i < 4; ++i)
        e.registers[i] = LoadU32(b.data() + 8 + 4 * i);
    e.seventhRegister = LoadU16(b.data() + 26);
    e.bitsInLastWord = b[28];
    e.classes[0] = b[29];
    e.classes[1] = b[30];
    e.classes[2] = b[31];
    e.classes[3] = b[32];
    e.classes[4] = b[33];
    bool oldest = version < 2;
    e.exchange = oldest ? 0 : b[24];
    e.source = oldest ? 0 : b[34];
    e.flags = b[25];
    e.keptMarker = b[48];
    e.tickCount = LoadU32(b.data() + 44);
    e.tickCapacity = LoadU32(b.data() + 40);
    e.fileOffset = LoadU32(b.data() + 36);
    e.streamOffset = LoadU16(b.data() + 60);
}

} // namespace

size_t RTEntryBytesForVersion(uint8_t version)
{
    if (version >= 5)
        return 88;
    return version >= 3 ? 80 : 72;
}

RTDayShareEntry ReadRTDayShareEntry(std::span<const uint8_t> bytes, uint8_t version)
{
    RTDayShareEntry e;
    size_t size = RTEntryBytesForVersion(version);
    if (bytes.size() < size)
        return e;
    if (size == 72) {
        ReadOldLayout(bytes, e, version);
    } else {
        ByteReader r(bytes.first(size));
        ReadCurrentLayout(r, e, size);
    }
    if (version < 5)
        e.tickCapacity = e.tickCount + 1;
    return e;
}

void WriteRTDayShareEntry(const RTDayShareEntry& e, std::span<uint8_t, kRTEntryBytes> out)
{
    ByteWriter w;
    w.u32(e.key);
    w.u32(e.lastRecordTime);
    for (uint32_t reg : e.registers)
        w.u32(reg);
    w.u16(e.seventhRegister);
    w.u8(e.bitsInLastWord);
    for (uint8_t c : e.classes)
        w.u8(c);
    w.u8(e.exchange);
    w.u8(e.source);
    w.u8(e.flags);
    w.u8(e.keptMarker);
    w.zeros(2);
    w.u32(e.tickCount);
    w.u32(e.tickCapacity);
    w.u32(e.fileOffset);
    w.zeros(4);
    w.u16(e.loadFlags);
    w.u16(e.timeClass);
    w.zeros(2);
    w.u16(e.streamOffset);
    w.zeros(8);
    w.bytes(e.tail.data(), e.tail.size());
    std::copy(w.data().begin(), w.data().end(), out.begin());
}

RTDayShareEntry* RTDayRecord::EntryFor(uint32_t keyEntry, uint32_t key)
{
    if (keyEntry < slotMap.size()) {
        uint32_t n = slotMap[keyEntry];
        if (n && n <= entries.size() && entries[n - 1].key == key)
            return &entries[n - 1];
    }
    // A map value that names another share (or none) is not trusted: the key itself is looked for.
    // The map is left as it is, as readers sharing the store's lock must not write.
    for (RTDayShareEntry& e : entries)
        if (e.key == key)
            return &e;
    return nullptr;
}

RTDayShareEntry& RTDayRecord::AddEntry(uint32_t keyEntry, uint32_t key)
{
    if (entries.size() == entries.capacity()) {
        entries.reserve(entries.size() + kEntryGrowth);
        work.reserve(entries.size() + kEntryGrowth);
    }
    entries.emplace_back().key = key;
    work.emplace_back();
    if (keyEntry >= slotMap.size())
        slotMap.resize(keyEntry + kEntryGrowth);
    slotMap[keyEntry] = uint16_t(entries.size());
    return entries.back();
}

void ResetRTDayWork(RTDayRecord& day)
{
    day.work.assign(day.entries.size(), {});
}

} // namespace qv
