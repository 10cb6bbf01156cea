// The intraday alarms triggered today: newest first, with the rules that keep one alarm per event.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

namespace qv {

struct IntradayAlarm {
    uint32_t key = 0;        // share number + exchange << 16
    uint32_t stamp = 0;      // seconds since 1970, when raised
    uint32_t timeOfDay = 0;  // the exchange time of the event
    std::string text;
    int32_t kind = 0;
    uint8_t slot = 0;        // kinds 1 and 6
    std::array<uint32_t, 4> line{}; // a line alarm's two ends (time, price bits)
    bool logged = false;
    bool listed = false;     // shown in the triggered-alarms list
    bool resetByUser = false;
};

struct AlarmLimit {
    bool on = false;
    uint32_t minutes = 60;
    uint32_t latest = 0; // the exchange's latest time of day
};

class IntradayAlarmList {
public:
    // Adds the alarm unless a rule drops it: too old under the limit (timers excepted), an indicator
    // cross of the share and kind less than 300 s away, a move of the same slot, any other kind
    // already raised for the share. True when added.
    bool Raise(IntradayAlarm alarm, const AlarmLimit& limit);
    void Clear();
    // Removes the alarm at the position in list order.
    void Remove(size_t position);
    size_t size() const { return alarms_.size(); }
    bool empty() const { return alarms_.empty(); }
    std::list<IntradayAlarm>& alarms() { return alarms_; }
    const std::list<IntradayAlarm>& alarms() const { return alarms_; }

private:
    using Position = std::list<IntradayAlarm>::iterator;
    bool Duplicate(const IntradayAlarm& alarm) const;
    std::list<IntradayAlarm> alarms_;
    // Each share's alarms, so that the rules look at that share's only.
    std::unordered_map<uint32_t, std::vector<Position>> byShare_;
    // Where the next alarm of the latest stamp goes (after the last one added with it).
    bool hint_ = false;
    uint32_t hintStamp_ = 0;
    Position hintPosition_;
};

} // namespace qv
