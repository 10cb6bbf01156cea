// The company calendar's events.
#include "tools/CompanyCalendar.h"

#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "lists/ShareDates.h"

#include <algorithm>
#include <set>

namespace qv {

namespace {

const char* const kEventNames[kCalendarKinds] = {
    "Float",          "Interim announcement", "Year End",    "Prelim. Results", "Annual Report", "AGM",
    "Interim payment", "Interim ex-div",      "Interim End", "Final ex-div",    "Final payment",
};

// The kind of each calendar field from 0x60 on.
constexpr int kFieldKinds[] = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 7, 8, 9, 10};

} // namespace

const std::array<CalendarTickBox, kCalendarBoxCount> kCalendarBoxes = {{
    {4174, "Float Date", 1u << 0},
    {4176, "Year and Interim End", (1u << 2) | (1u << 8)},
    {4177, "Announcements", (1u << 1) | (1u << 3)},
    {4178, "Annual Report", 1u << 4},
    {4179, "AGM", 1u << 5},
    {4180, "Dividend Payments", (1u << 6) | (1u << 10)},
    {4181, "Ex-dividend Dates", (1u << 7) | (1u << 9)},
}};

std::string_view CalendarEventName(int kind)
{
    return kind >= 0 && kind < kCalendarKinds ? kEventNames[kind] : "";
}

int CalendarEventKind(int fieldCode)
{
    const int i = fieldCode - kFirstShareDateField;
    return i >= 0 && i < int(std::size(kFieldKinds)) ? kFieldKinds[i] : -1;
}

uint16_t CalendarKindMask(uint16_t ticked)
{
    uint16_t mask = 0;
    for (size_t i = 0; i < kCalendarBoxes.size(); ++i)
        if (ticked & (1u << i))
            mask |= kCalendarBoxes[i].kinds;
    return mask;
}

std::vector<CalendarEvent> CollectCalendarEvents(ShareList* list)
{
    std::vector<CalendarEvent> events;
    std::set<const uint8_t*> met;
    const int32_t count = ShareListCount(list);
    for (int32_t i = 0; i < count; ++i) {
        const RecordCursor& share = list->entries[i];
        if (!share.record || !met.insert(share.record).second)
            continue;
        for (const ShareDateField& field : ReadShareDateFields(share)) {
            const int kind = CalendarEventKind(field.code);
            if (kind >= 0 && field.date != 0 && field.date != 0xFFFF)
                events.push_back({field.date, share, kind});
        }
    }
    return events;
}

std::vector<CalendarEvent> FilterCalendarEvents(const std::vector<CalendarEvent>& events, PackedDate from, PackedDate to,
                                                uint16_t kindMask)
{
    std::vector<CalendarEvent> out;
    for (const CalendarEvent& e : events)
        if (e.date >= from && e.date <= to && (kindMask & (1u << e.kind)))
            out.push_back(e);
    return out;
}

void SortCalendarEvents(std::vector<CalendarEvent>& events, int column, bool descending)
{
    auto key = [column](const CalendarEvent& a, const CalendarEvent& b) {
        switch (column) {
        case 1: return CalendarEventName(a.kind) < CalendarEventName(b.kind);
        case 2: return GetRecordName(a.share.record) < GetRecordName(b.share.record);
        default: return a.date < b.date;
        }
    };
    std::stable_sort(events.begin(), events.end(), [&](const CalendarEvent& a, const CalendarEvent& b) {
        return descending ? key(b, a) : key(a, b);
    });
}

uint16_t& CalendarBoxesTicked()
{
    static uint16_t ticked = kAllCalendarBoxes;
    return ticked;
}

} // namespace qv
