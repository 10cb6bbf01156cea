// The intraday share alarm record and its percentage-move rows, read and written field by field.
#include "realtime/alarms/RTShareAlarmRecord.h"

#include "core/SettingRecordStore.h"
#include "platform/ByteOrder.h"

#include <cstdio>

namespace qv {

RTAlarmSlot RTAlarmSlot::Read(std::span<const uint8_t, kSize> b)
{
    RTAlarmSlot s;
    s.percentage = LoadF32(b.data());
    s.count = LoadI16(b.data() + 4);
    s.kind = LoadI32(b.data() + 8);
    s.on = b[12] != 0;
    return s;
}

void RTAlarmSlot::Write(std::span<uint8_t, kSize> b) const
{
    std::fill(b.begin(), b.end(), 0);
    StoreF32(b.data(), percentage);
    StoreI16(b.data() + 4, count);
    StoreI32(b.data() + 8, kind);
    b[12] = on ? 1 : 0;
}

std::string IntervalText(const RTAlarmSlot& slot)
{
    char text[40];
    switch (slot.kind) {
    case kIntervalSinceOpen: return "since open";
    case kIntervalSinceClose: return "since close";
    case kIntervalDays: std::snprintf(text, sizeof text, "in %d days", int(slot.count)); return text;
    case kIntervalMinutes: std::snprintf(text, sizeof text, "in %d mins", int(slot.count)); return text;
    case kIntervalHours: std::snprintf(text, sizeof text, "in %d hours", int(slot.count) / 256); return text;
    default: return {};
    }
}

RTShareAlarmRecord RTShareAlarmRecord::Defaults()
{
    RTShareAlarmRecord r;
    constexpr float kSteps[3] = {5, 10, 20};
    for (size_t i = 0; i < 3; ++i) {
        r.moves[i].percentage = kSteps[i];
        r.moves[i + 3].percentage = -kSteps[i];
    }
    r.stopPercent = 10;
    return r;
}

std::optional<RTShareAlarmRecord> RTShareAlarmRecord::Read(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kFixedSize)
        return std::nullopt;
    RTShareAlarmRecord r;
    const uint8_t* p = bytes.data();
    for (size_t i = 0; i < r.moves.size(); ++i)
        r.moves[i] = RTAlarmSlot::Read(std::span<const uint8_t, RTAlarmSlot::kSize>(p + i * RTAlarmSlot::kSize, RTAlarmSlot::kSize));
    r.belowLevel = LoadF32(p + 96);
    r.aboveLevel = LoadF32(p + 100);
    std::copy(p + 104, p + 108, r.kept104.begin());
    r.belowOn = p[108] != 0;
    r.aboveOn = p[109] != 0;
    r.stopOn = p[110] != 0;
    r.timerOn = p[111] != 0;
    r.flag112 = p[112];
    r.newsOn = p[113] != 0;
    std::copy(p + 114, p + 128, r.kept114.begin());
    r.stopPercent = LoadF32(p + 128);
    r.stopFrom = LoadU32(p + 132);
    r.stopHigh = LoadF32(p + 136);
    std::copy(p + 140, p + 168, r.kept140.begin());
    r.timerTime = LoadU32(p + 168);
    // The note is bounded by the sub-record: one without its NUL ends with the record.
    const auto rest = bytes.subspan(kFixedSize);
    size_t n = 0;
    while (n < rest.size() && rest[n] != 0)
        ++n;
    r.note.assign(reinterpret_cast<const char*>(rest.data()), n);
    return r;
}

std::vector<uint8_t> RTShareAlarmRecord::Write() const
{
    std::vector<uint8_t> out(kFixedSize + note.size() + 1, 0);
    uint8_t* p = out.data();
    for (size_t i = 0; i < moves.size(); ++i)
        moves[i].Write(std::span<uint8_t, RTAlarmSlot::kSize>(p + i * RTAlarmSlot::kSize, RTAlarmSlot::kSize));
    StoreF32(p + 96, belowLevel);
    StoreF32(p + 100, aboveLevel);
    std::copy(kept104.begin(), kept104.end(), p + 104);
    p[108] = belowOn;
    p[109] = aboveOn;
    p[110] = stopOn;
    p[111] = timerOn;
    p[112] = flag112;
    p[113] = newsOn;
    std::copy(kept114.begin(), kept114.end(), p + 114);
    StoreF32(p + 128, stopPercent);
    StoreU32(p + 132, stopFrom);
    StoreF32(p + 136, stopHigh);
    std::copy(kept140.begin(), kept140.end(), p + 140);
    StoreU32(p + 168, timerTime);
    std::copy(note.begin(), note.end(), p + kFixedSize);
    return out;
}

bool RTShareAlarmRecord::AnySlotOn() const
{
    for (const RTAlarmSlot& s : moves)
        if (s.on)
            return true;
    return false;
}

bool RTShareAlarmRecord::AnyAlarmSet() const
{
    return belowOn || aboveOn || stopOn || timerOn || newsOn || AnySlotOn();
}

std::optional<RTShareAlarmRecord> LoadShareAlarmRecord(uint16_t share, uint8_t exchange)
{
    const uint8_t* data = GetSettingRecord(share, exchange, RTShareAlarmRecord::kSubRecordId);
    if (!data)
        return std::nullopt;
    return RTShareAlarmRecord::Read({data, SettingDataSize(data)});
}

bool StoreShareAlarmRecord(uint16_t share, uint8_t exchange, const RTShareAlarmRecord& record)
{
    const std::vector<uint8_t> bytes = record.Write();
    return SetSettingRecord(share, exchange, RTShareAlarmRecord::kSubRecordId, bytes.data(), uint32_t(bytes.size()));
}

void RemoveShareAlarmRecord(uint16_t share, uint8_t exchange)
{
    DeleteSettingRecord(share, exchange, RTShareAlarmRecord::kSubRecordId);
}

std::vector<uint32_t> ShareAlarmKeys()
{
    std::vector<uint32_t> keys;
    SettingIterator it;
    it.id = RTShareAlarmRecord::kSubRecordId;
    while (FindNextSettingRecord(it)) {
        // A record begins {u16 length, u16 key, u8 sub-key}.
        keys.push_back(LoadU16(it.record + 2) | uint32_t(it.record[4]) << 16);
    }
    return keys;
}

} // namespace qv
