// The demo's end-of-day share alarms: a price level, a rise, a stop-loss and a directors' dealing, each
// on a share whose prices (or dealings) make it hold on the demo's last day, written as the setting
// records of the demo folder's "Graph.cfg".
#pragma once

#include "devtools/lib/DealingsFileWriter.h"
#include "devtools/lib/DemoDatabase.h"
#include "tools/alarms/ShareAlarmRecord.h"

#include <vector>

namespace qv::dev {

struct DemoAlarm {
    uint16_t shareId = 0;
    ShareAlarmRecord record;
};

// The closes of a stream as the program decodes them (prices times the running unit), priced days only.
std::vector<float> DecodedCloses(const PriceHistory& history);

DemoAlarm DemoLevelAlarm(uint16_t shareId, const std::vector<float>& closes, uint16_t today);
// The rise over the last ten records, its percentage rounded down to a tenth: false when it did not rise.
bool DemoRiseAlarm(uint16_t shareId, const std::vector<float>& closes, uint16_t today, DemoAlarm& out);
// A stop from the high that the last close crossed: false when the last close did not fall.
bool DemoStopAlarm(uint16_t shareId, const std::vector<float>& closes, uint16_t today, DemoAlarm& out);

// One alarm of each kind, each on its own share; `today` dates the records' defaults.
std::vector<DemoAlarm> BuildDemoAlarms(const DemoDatabase& demo, const DealingsFileSpec& dealings, uint16_t today);
// The "Graph.cfg" image holding the alarms as setting records (sub-record 2 of share and stream 0).
std::vector<uint8_t> DemoGraphConfig(const std::vector<DemoAlarm>& alarms);

} // namespace qv::dev
