// The older setting-record layouts and their conversion.
#include "core/SettingRecordsV4.h"

#include "core/SettingRecordStore.h"
#include "platform/ByteOrder.h"

#include <algorithm>

namespace qv {

namespace {

constexpr size_t kRecordHead = 5;
constexpr size_t kSubHead = 3;
constexpr size_t kEndMark = 2;
constexpr uint8_t kLevelsId = 1;
constexpr uint8_t kAlarmId = 2;
constexpr size_t kAlarmGrowth = 36;
constexpr size_t kLevelsMinimum = 17;
constexpr size_t kAlarmOldText = 46;
constexpr size_t kAlarmNewText = 83;

std::vector<uint8_t> ConvertLevels(std::span<const uint8_t> old)
{
    std::vector<uint8_t> sub(old.begin(), old.end());
    if (old.size() < kLevelsMinimum)
        return sub;
    uint16_t flags = uint16_t((old[8] > 0 ? 4 : 0) + (old[7] > 0 ? 2 : 0));
    StoreU16(&sub[3], flags);
    StoreU16(&sub[5], LoadU16(&old[15]));
    StoreU32(&sub[7], LoadU32(&old[11]));
    StoreF32(&sub[11], float(LoadI32(&old[3])));
    return sub;
}

// The alarm grows by 36 bytes but its text moves from 46 to 83, 37 further on: the text is copied up
// to its terminator and no further than leaves a zero as the grown sub-record's last byte.
std::vector<uint8_t> ConvertAlarm(std::span<const uint8_t> old)
{
    if (old.size() <= kAlarmOldText)
        return {old.begin(), old.end()};
    std::vector<uint8_t> sub(old.size() + kAlarmGrowth, 0);
    StoreU16(&sub[0], uint16_t(sub.size()));
    sub[2] = kAlarmId;
    std::copy(old.begin() + 3, old.begin() + 11, sub.begin() + 3);
    std::copy(old.begin() + 15, old.begin() + 27, sub.begin() + 11);
    StoreU16(&sub[27], LoadU16(&old[31]));
    StoreF32(&sub[31], float(old[33]));
    StoreF32(&sub[35], float(old[34]));
    StoreF32(&sub[39], float(int8_t(old[35])));
    StoreF32(&sub[43], float(old[36]));
    StoreF32(&sub[47], float(old[37]));
    StoreF32(&sub[51], float(old[38]));
    std::copy(old.begin() + 39, old.begin() + 45, sub.begin() + 55);
    StoreF32(&sub[63], float(old[45]));
    auto text = old.subspan(kAlarmOldText);
    size_t textLength = std::find(text.begin(), text.end(), uint8_t(0)) - text.begin();
    textLength = std::min(textLength, sub.size() - kAlarmNewText - 1);
    std::copy(text.begin(), text.begin() + long(textLength), sub.begin() + kAlarmNewText);
    return sub;
}

} // namespace

std::vector<uint8_t> ConvertSettingBlockV4(std::span<const uint8_t> block)
{
    std::vector<uint8_t> out;
    size_t r = 0;
    while (r + kEndMark <= block.size()) {
        size_t length = LoadU16(&block[r]);
        if (length < kRecordHead + kEndMark || length > block.size() - r)
            break;
        size_t start = out.size();
        out.insert(out.end(), block.begin() + long(r), block.begin() + long(r + kRecordHead));
        size_t end = r + length - kEndMark;
        for (size_t s = r + kRecordHead; s + kSubHead <= end;) {
            size_t subLength = LoadU16(&block[s]);
            if (subLength < kSubHead || subLength > end - s)
                break;
            auto old = block.subspan(s, subLength);
            std::vector<uint8_t> sub = old[2] == kLevelsId  ? ConvertLevels(old)
                                       : old[2] == kAlarmId ? ConvertAlarm(old)
                                                            : std::vector<uint8_t>(old.begin(), old.end());
            out.insert(out.end(), sub.begin(), sub.end());
            s += subLength;
        }
        out.insert(out.end(), kEndMark, 0);
        size_t newLength = out.size() - start;
        if (newLength > UINT16_MAX) {
            out.resize(start);
            break;
        }
        StoreU16(&out[start], uint16_t(newLength));
        r += length;
    }
    out.insert(out.end(), kEndMark, 0);
    return out;
}

void ConvertSettingRecordsV4()
{
    CompactSettingRecords();
    auto block = SettingRecords().bytes();
    SettingRecords().load(ConvertSettingBlockV4(block));
}

} // namespace qv
