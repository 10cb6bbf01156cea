// The intraday store's files written field by field, the inverse of the store's readers.
#include "devtools/lib/RtStoreWriter.h"

#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "realtime/store/RTStoreFiles.h"

#include <algorithm>

namespace qv::dev {
namespace {

void WriteInstrument(ByteWriter& w, const RTInstrument& x)
{
    w.u16(x.share);
    w.u8(x.exchange);
    w.u8(x.marketType);
    w.u8(x.definitionByte);
    w.u8(x.spare5);
    w.u8(x.zoneCode);
    w.u8(x.registeredExtra);
    w.u32(x.definitionValue);
    w.u32(x.shortName);
    w.u32(x.longName);
    w.u32(x.spare20);
    w.f32(x.previousClose);
    w.u16(x.closeDate);
    w.u8(x.priceScale);
    w.u8(x.spare31);
    w.u16(x.sequence);
    w.bytes(x.rest, sizeof x.rest);
}

// The 72-byte entry of versions 0-2.
void WriteOldEntry(const RTDayShareEntry& e, uint8_t* b)
{
    StoreU32(b, e.key);
    StoreU32(b + 4, e.lastRecordTime);
    for (size_t i = 0; i < 4; ++i)
        StoreU32(b + 8 + 4 * i, e.registers[i]);
    b[24] = e.exchange;
    b[25] = e.flags;
    StoreU16(b + 26, e.seventhRegister);
    b[28] = e.bitsInLastWord;
    std::copy(e.classes.begin(), e.classes.begin() + 5, b + 29);
    b[34] = e.source;
    StoreU32(b + 36, e.fileOffset);
    StoreU32(b + 40, e.tickCapacity);
    StoreU32(b + 44, e.tickCount);
    b[48] = e.keptMarker;
    StoreU16(b + 60, e.streamOffset);
}

} // namespace

std::vector<uint8_t> RtIndexImage(const RTShareTable& t, PackedDate latestDay, uint16_t dayCount,
                                  uint32_t historyBytes, const RtIndexFormat& f)
{
    ByteWriter w;
    w.bytes("QVRT", 4);
    w.u8(f.major);
    w.u8(f.minor);
    w.zeros(2);
    w.u32(f.build);
    w.u16(latestDay);
    w.u16(dayCount);
    w.zeros(4);
    if (f.minor >= 2) {
        w.u32(historyBytes);
        w.zeros(32);
    }
    if (f.minor >= 3) {
        w.u16(t.keyCount);
        w.u16(t.keyCapacity);
        w.zeros(8);
        w.u16(t.instrumentCount);
        w.u16(t.instrumentCapacity);
        w.zeros(4);
        w.u32(t.nameBytesUsed);
        w.u32(t.nameCapacity);
        w.zeros(36);
    } else {
        w.u16(t.keyCount);
        w.u16(t.keyCapacity);
        w.zeros(8);
        w.u16(t.instrumentCount);
        w.zeros(6);
        w.u16(uint16_t(t.nameBytesUsed));
        w.zeros(6);
    }
    for (uint32_t i = 0; i < t.keyCount; ++i) {
        w.u32(t.keys[i].key);
        w.u16(t.keys[i].instrument);
        w.u16(t.keys[i].spare);
    }
    for (uint32_t i = 0; i < t.keyCount; ++i)
        w.u32(t.slotIndex[i]);
    w.bytes(t.names.data(), t.nameBytesUsed);
    for (uint32_t i = 0; i < t.instrumentCount; ++i)
        WriteInstrument(w, t.instruments[i]);
    return w.take();
}

std::vector<uint8_t> RtDayFileImage(const RTDayRecord& day, uint8_t version)
{
    size_t headerSize = version >= 2 ? kRTDayHeaderBytes : kRTOldDayHeaderBytes;
    size_t entryBytes = RTEntryBytesForVersion(version);
    size_t count = day.entries.size();
    size_t slotsAt = headerSize + count * entryBytes;
    size_t trailing = slotsAt + day.slotMap.size() * 2 + 1;
    size_t coverage = version >= 2 ? day.coverage.size() : 0;
    size_t extra = version >= 2 ? day.extra.size() : 0;
    size_t ticksAt = trailing + (version >= 2 ? extra + coverage + 2 : 0);

    std::vector<uint8_t> out(ticksAt, 0);
    std::copy(day.header.begin(), day.header.begin() + headerSize, out.begin());
    uint8_t* h = out.data();
    h[5] = version;
    StoreU16(h + 8, day.day);
    StoreU16(h + 10, uint16_t(count));
    StoreU32(h + 20, uint32_t(day.slotMap.size()));
    if (version >= 2) {
        StoreU32(h + 216, uint32_t(trailing));
        StoreU32(h + 224, uint32_t(coverage));
        StoreU32(h + 232, uint32_t(extra));
        std::copy(day.extra.begin(), day.extra.end(), out.begin() + trailing);
        std::copy(day.coverage.begin(), day.coverage.end(), out.begin() + trailing + extra);
    }
    for (size_t i = 0; i < count; ++i) {
        RTDayShareEntry e = day.entries[i];
        size_t used = std::min<size_t>(e.tickCount, e.ticks.size());
        e.tickCount = uint32_t(used);
        e.tickCapacity = e.tickCount + 1;
        e.fileOffset = used ? uint32_t(out.size()) : 0;
        if (used) {
            ByteWriter words;
            for (size_t k = 0; k < used; ++k)
                words.u32(e.ticks[k]);
            words.u32(0);
            out.insert(out.end(), words.data().begin(), words.data().end());
        }
        uint8_t* at = out.data() + headerSize + i * entryBytes;
        if (entryBytes == 72) {
            WriteOldEntry(e, at);
        } else {
            std::array<uint8_t, kRTEntryBytes> full{};
            WriteRTDayShareEntry(e, full);
            std::copy(full.begin(), full.begin() + entryBytes, at);
        }
    }
    for (size_t i = 0; i < day.slotMap.size(); ++i)
        StoreU16(out.data() + slotsAt + 2 * i, day.slotMap[i]);
    return out;
}

bool WriteRtStore(const std::filesystem::path& folder, const RTShareTable& table,
                  const std::vector<const RTDayRecord*>& days, std::string* error)
{
    std::error_code ec;
    std::filesystem::create_directories(folder / "data" / "RT", ec);
    uint64_t historyBytes = 0;
    PackedDate latest = 0;
    for (const RTDayRecord* day : days) {
        std::vector<uint8_t> image = RtDayFileImage(*day);
        historyBytes += image.size();
        latest = std::max(latest, day->day);
        if (!WriteFileBytes(folder / "data" / "RT" / RTHistoryFileName(day->day), image)) {
            if (error)
                *error = "cannot write " + RTHistoryFileName(day->day);
            return false;
        }
    }
    auto index = RtIndexImage(table, latest, uint16_t(days.size()), uint32_t(historyBytes));
    if (!WriteFileBytes(folder / "data" / "RT.dat", index)) {
        if (error)
            *error = "cannot write RT.dat";
        return false;
    }
    return true;
}

} // namespace qv::dev
