// The intraday alarms triggered today and their de-duplication.
#include "realtime/alarms/IntradayAlarmList.h"

#include "realtime/alarms/AlarmRules.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace qv {

bool IntradayAlarmList::Duplicate(const IntradayAlarm& a) const
{
    const auto share = byShare_.find(a.key);
    if (share == byShare_.end())
        return false;
    for (const Position& p : share->second) {
        const IntradayAlarm& b = *p;
        if (b.kind != a.kind)
            continue;
        if (IsIndicatorAlarmKind(a.kind)) {
            if (std::abs(int64_t(b.timeOfDay) - int64_t(a.timeOfDay)) < 300)
                return true;
        } else if (a.kind == kAlarmShareMove || a.kind == kAlarmGlobalMove) {
            if (b.slot == a.slot)
                return true;
        } else if (a.kind == kAlarmLine) {
            if (b.line == a.line)
                return true;
        } else {
            return true;
        }
    }
    return false;
}

bool IntradayAlarmList::Raise(IntradayAlarm alarm, const AlarmLimit& limit)
{
    if (limit.on && alarm.kind != kAlarmTimer && int64_t(alarm.timeOfDay) < int64_t(limit.latest) - int64_t(limit.minutes) * 60)
        return false;
    if (Duplicate(alarm))
        return false;
    // Newest first; a new alarm goes after those with the same stamp.
    Position at = alarms_.begin();
    if (hint_ && hintStamp_ == alarm.stamp) {
        at = hintPosition_;
    } else {
        while (at != alarms_.end() && at->stamp >= alarm.stamp)
            ++at;
    }
    const uint32_t key = alarm.key, stamp = alarm.stamp;
    const Position added = alarms_.insert(at, std::move(alarm));
    byShare_[key].push_back(added);
    hint_ = true;
    hintStamp_ = stamp;
    hintPosition_ = std::next(added);
    return true;
}

void IntradayAlarmList::Clear()
{
    alarms_.clear();
    byShare_.clear();
    hint_ = false;
}

void IntradayAlarmList::Remove(size_t position)
{
    if (position >= alarms_.size())
        return;
    const Position at = std::next(alarms_.begin(), std::ptrdiff_t(position));
    auto& share = byShare_[at->key];
    share.erase(std::find(share.begin(), share.end(), at));
    if (hint_ && hintPosition_ == at)
        hint_ = false;
    alarms_.erase(at);
}

} // namespace qv
