// The intraday alarms of one share (setting sub-record 3) and the percentage-move row they share with
// the global alarm settings.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

// Interval kinds of a percentage-move row.
constexpr int32_t kIntervalSinceOpen = 1, kIntervalSinceClose = 2, kIntervalDays = 4, kIntervalMinutes = 5,
                  kIntervalHours = 6;

// A percentage-move row: {f32 percentage (negative for a fall), i16 count, 2 pad, i32 kind, u8 on, 3 pad}.
// Hours are held in the count's high byte (count / 256).
struct RTAlarmSlot {
    static constexpr size_t kSize = 16;
    float percentage = 0;
    int16_t count = 1;
    int32_t kind = kIntervalSinceOpen;
    bool on = false;

    static RTAlarmSlot Read(std::span<const uint8_t, kSize> bytes);
    void Write(std::span<uint8_t, kSize> bytes) const;
    bool operator==(const RTAlarmSlot&) const = default;
};

// The text that ends a move alarm's message: "since open", "in 3 hours" ...; empty for kind 3.
std::string IntervalText(const RTAlarmSlot& slot);

struct RTShareAlarmRecord {
    static constexpr uint8_t kSubRecordId = 3;
    static constexpr size_t kFixedSize = 172; // the note follows, NUL-ended
    static constexpr float kMaxStopLoss = 80;

    std::array<RTAlarmSlot, 6> moves{}; // increases 0-2, decreases 3-5 (stored negative)
    float belowLevel = 0, aboveLevel = 0;
    std::array<uint8_t, 4> kept104{};
    bool belowOn = false, aboveOn = false, stopOn = false, timerOn = false;
    uint8_t flag112 = 0;
    bool newsOn = false;
    std::array<uint8_t, 14> kept114{};
    float stopPercent = 0;
    uint32_t stopFrom = 0;  // seconds since 1970
    float stopHigh = 0;
    std::array<uint8_t, 28> kept140{};
    uint32_t timerTime = 0; // seconds since 1970
    std::string note;

    // A record as the share editor starts it: moves of 5, 10 and 20 % since open, all off.
    static RTShareAlarmRecord Defaults();
    // Null when the bytes are shorter than the fixed part; the note stops at its NUL or at the end of
    // the bytes, whichever comes first.
    static std::optional<RTShareAlarmRecord> Read(std::span<const uint8_t> bytes);
    std::vector<uint8_t> Write() const;

    bool AnySlotOn() const;
    // Whether anything is set: a level, a slot, the stop loss, the timer or the news alarm.
    bool AnyAlarmSet() const;
    bool operator==(const RTShareAlarmRecord&) const = default;
};

// The share's record in the program's setting records (share id, exchange); null when it has none.
std::optional<RTShareAlarmRecord> LoadShareAlarmRecord(uint16_t share, uint8_t exchange);
bool StoreShareAlarmRecord(uint16_t share, uint8_t exchange, const RTShareAlarmRecord& record);
void RemoveShareAlarmRecord(uint16_t share, uint8_t exchange);
// Every share that has a record, as share id + exchange << 16, in the store's order.
std::vector<uint32_t> ShareAlarmKeys();

} // namespace qv
