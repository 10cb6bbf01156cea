// The daily chart's event array: the dated events that the price pane marks (price-scale changes, the
// share's dated corporate events), kept sorted by date without repeats in a typed array of 12-byte
// entries that starts with room for 10 and doubles when full.
#pragma once

#include "chartmodel/DataArray.h"
#include "core/DayRecord.h"

#include <cstdint>
#include <vector>

namespace qv {

struct GraphSetting;
struct Portfolio;
struct RecordCursor;

// One event: its date, the close of that day, and the offset of its marker record in the setting's
// event block (marker k at k x 16 + 4).
struct ChartEventEntry {
    uint32_t date = 0;
    float price = 0;
    uint32_t marker = 0;
};
constexpr uint32_t kEventEntryBytes = 12;

inline uint32_t EventMarkerOffset(int k) { return uint32_t(k) * 16 + 4; }
inline int EventMarkerIndex(uint32_t offset) { return int((offset - 4) / 16); }

class EventArray {
public:
    EventArray();
    ~EventArray();
    EventArray(const EventArray&) = delete;
    EventArray& operator=(const EventArray&) = delete;

    // Inserts the event in date order (after those of the same date); false when an event of the same
    // date and marker is already there.
    bool AddEvent(uint32_t date, float price, uint32_t marker);
    ChartEventEntry At(int32_t i) const;
    int32_t count() const { return count_; }
    int32_t capacity() const { return array_.count; }
    std::vector<ChartEventEntry> Entries() const;

private:
    DataArray array_;
    int32_t count_ = 0;
};

// The events of a share in the order the chart gathers them: the fifteen dated fields of its record,
// each whose marker is shown, then every record whose price scale differs from the record before
// (marker 8, when shown). Each is priced at the close of its day (the last day before it when the
// share has no price that day); events before the first record are left out.
// Then the share's transactions in the portfolio: purchases (type 1) with marker 5, sales (type 2)
// with marker 6, any other type but the 'Latest' row (15) with marker 7.
void GatherChartEvents(EventArray& events, const GraphSetting& setting, const DayRecord* days, int32_t count,
                       const RecordCursor* share, const Portfolio* portfolio = nullptr);

} // namespace qv
