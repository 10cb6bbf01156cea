// The company calendar's events: the calendar dates of the shares of one share list (results,
// year ends, reports, meetings, dividends), filtered by a date range and the kinds ticked, sorted by
// date, event or share.
#pragma once

#include "core/PackedDate.h"
#include "core/RecordCursor.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qv {

struct ShareList;

struct CalendarEvent {
    PackedDate date = 0;
    RecordCursor share;
    int kind = 0;
};

constexpr int kCalendarKinds = 11;
// "Float", "Interim announcement", ... "Final payment" for kinds 0-10.
std::string_view CalendarEventName(int kind);
// The kind of a calendar field (0x60-0x6F), -1 for another field.
int CalendarEventKind(int fieldCode);

// The check boxes: their ids, texts and the kinds each stands for.
struct CalendarTickBox {
    int id;
    const char* text;
    uint16_t kinds; // bit k: kind k
};
inline constexpr size_t kCalendarBoxCount = 7;
extern const std::array<CalendarTickBox, kCalendarBoxCount> kCalendarBoxes;
// The kinds the ticked boxes stand for (bit i of `ticked`: box i).
uint16_t CalendarKindMask(uint16_t ticked);

// Every event of the list's shares, each share once.
std::vector<CalendarEvent> CollectCalendarEvents(ShareList* list);
// The events dated from `from` to `to` (both included) whose kind is in the mask, in their order.
std::vector<CalendarEvent> FilterCalendarEvents(const std::vector<CalendarEvent>& events, PackedDate from, PackedDate to,
                                                uint16_t kindMask);
// Sorts by column 0 date, 1 event name, 2 share name; stable, reversed when asked.
void SortCalendarEvents(std::vector<CalendarEvent>& events, int column, bool descending);

// The ticked boxes, kept with the options between runs; every box at first.
uint16_t& CalendarBoxesTicked();
constexpr uint16_t kAllCalendarBoxes = uint16_t((1u << kCalendarBoxCount) - 1);

} // namespace qv
