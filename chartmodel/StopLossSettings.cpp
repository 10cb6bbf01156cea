// Stop records and the program-wide stop-loss settings.
#include "chartmodel/StopLossSettings.h"

#include "core/ConfigState.h"
#include "core/SettingRecordStore.h"
#include "platform/ByteOrder.h"

#include <algorithm>

namespace qv {

namespace {

using B = OptionBlockB;

uint8_t* Options() { return Config().optionsB.data(); }

size_t GlobalMaskAt(bool intraday) { return intraday ? B::kIntradayGlobalStopMask : B::kDailyGlobalStopMask; }
size_t IndividualMaskAt(bool intraday) { return intraday ? B::kIntradayIndividualStopMask : B::kDailyIndividualStopMask; }
uint8_t RecordId(bool intraday) { return intraday ? kIntradayStopRecordId : kDailyStopRecordId; }

// The intraday global record has no room in the option block; it lives in the setting record store
// under a key no share has, as sub-record 4 like the shares' intraday records.
constexpr uint16_t kGlobalRecordKey = 0xFFFF;
constexpr uint8_t kGlobalRecordSubKey = 0xFF;
constexpr uint8_t kIntradayGlobalRecordId = kIntradayStopRecordId;

} // namespace

std::array<uint8_t, kStopRecordSize> StopRecordBytes(const StopRecord& record)
{
    std::array<uint8_t, kStopRecordSize> out{};
    WriteStopRecord(record, out.data());
    return out;
}

uint16_t GlobalStopMask(bool intraday) { return LoadU16(Options() + GlobalMaskAt(intraday)); }
void SetGlobalStopMask(bool intraday, uint16_t mask) { StoreU16(Options() + GlobalMaskAt(intraday), mask); }
uint16_t IndividualStopMask(bool intraday) { return LoadU16(Options() + IndividualMaskAt(intraday)); }
void SetIndividualStopMask(bool intraday, uint16_t mask) { StoreU16(Options() + IndividualMaskAt(intraday), mask); }
uint32_t NewStopRecordPen() { return LoadU32(Options() + B::kNewStopRecordPen); }
void SetNewStopRecordPen(uint32_t pen) { StoreU32(Options() + B::kNewStopRecordPen, pen); }

StopRecord GlobalStopRecord(bool intraday)
{
    if (!intraday)
        return ReadStopRecord(Options() + B::kDailyGlobalStopRecord);
    const uint8_t* data = GetSettingRecord(kGlobalRecordKey, kGlobalRecordSubKey, kIntradayGlobalRecordId);
    if (data == nullptr || SettingDataSize(data) < kStopRecordSize)
        return StopRecord{0, 0, 0, 0.0f, 0};
    return ReadStopRecord(data);
}

void SetGlobalStopRecord(bool intraday, const StopRecord& record)
{
    if (!intraday) {
        WriteStopRecord(record, Options() + B::kDailyGlobalStopRecord);
        return;
    }
    auto bytes = StopRecordBytes(record);
    SetSettingRecord(kGlobalRecordKey, kGlobalRecordSubKey, kIntradayGlobalRecordId, bytes.data(), uint32_t(bytes.size()));
}

std::optional<StopRecord> ShareStopRecord(const StopShareKey& share, bool intraday)
{
    const uint8_t* data = GetSettingRecord(share.shareId, share.exchange, RecordId(intraday));
    if (data == nullptr || SettingDataSize(data) < kStopRecordSize)
        return std::nullopt;
    return ReadStopRecord(data);
}

void StoreShareStopRecord(const StopShareKey& share, bool intraday, const StopRecord& record)
{
    auto bytes = StopRecordBytes(record);
    SetSettingRecord(share.shareId, share.exchange, RecordId(intraday), bytes.data(), uint32_t(bytes.size()));
}

void DeleteShareStopRecord(const StopShareKey& share, bool intraday)
{
    DeleteSettingRecord(share.shareId, share.exchange, RecordId(intraday));
}

StopRecord DefaultStopRecord(bool intraday, PackedDate latestTradingDate)
{
    StopRecord r;
    r.flags = StopFlag::MoveBothWays;
    r.startDate = latestTradingDate;
    r.pen = NewStopRecordPen();
    r.percent = intraday ? 1.0f : 10.0f;
    return r;
}

StopRecord AdjustShareStop(const StopShareKey& share, bool intraday, int setting, float step, PackedDate latestTradingDate)
{
    StopRecord record;
    if (auto own = ShareStopRecord(share, intraday)) {
        record = *own;
        record.percent += step;
    } else if (StopRecord global = GlobalStopRecord(intraday); global.percent > 0) {
        record = global;
        record.percent += step;
    } else {
        // A global record never set is all zeros.
        record = DefaultStopRecord(intraday, latestTradingDate);
    }
    SetIndividualStopMask(intraday, uint16_t(IndividualStopMask(intraday) | (1u << setting)));
    record.percent = std::clamp(record.percent, 0.01f, 80.0f);
    StoreShareStopRecord(share, intraday, record);
    return record;
}

float StopAdjustStep(bool increase, bool shift, bool intraday)
{
    float step = intraday ? 0.1f : 1.0f;
    // Increasing the stop brings it nearer the price: a smaller percentage.
    bool down = increase != shift;
    return down ? -step : step;
}

std::string StopApplyText(uint16_t mask, int setting)
{
    mask &= kAllSettingsMask;
    if (mask == 0)
        return "No settings";
    if (mask == kAllSettingsMask)
        return "Apply to all settings";
    if (mask == (1u << setting))
        return "Apply to this setting only";
    return "Apply to several settings";
}

bool AnyShareStopRecord(bool intraday)
{
    SettingIterator it{};
    it.id = RecordId(intraday);
    // A record starts {u16 length, u16 key, u8 sub-key}.
    while (FindNextSettingRecord(it) != nullptr)
        if (!(LoadU16(it.record + 2) == kGlobalRecordKey && it.record[4] == kGlobalRecordSubKey))
            return true;
    return false;
}

void DeleteAllShareStopRecords(bool intraday)
{
    std::optional<StopRecord> global;
    if (intraday)
        global = GlobalStopRecord(true);
    DeleteSettingAll(RecordId(intraday));
    if (global && global->percent > 0)
        SetGlobalStopRecord(true, *global);
    SetIndividualStopMask(intraday, 0);
}

std::string StopMenuText(bool global, bool intraday, const std::optional<StopRecord>& share)
{
    if (global)
        return (GlobalStopRecord(intraday).flags & StopFlag::StopGain) ? "Stop gain - Global" : "";
    return share && (share->flags & StopFlag::StopGain) ? "Stop gain - This Share" : "";
}

double CheckStopPercent(double value) { return value < 0.01 || value > 99.0 ? 10.0 : value; }

} // namespace qv
