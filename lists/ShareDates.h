// The dates of one share that "Share's Dates" lists: its company calendar fields (float date,
// results, reports, meetings, dividends), each read through the database's field table with its name.
#pragma once

#include "core/RecordCursor.h"
#include "lists/DetailDialogRules.h"

#include <vector>

namespace qv {

constexpr int kFirstShareDateField = 0x60, kLastShareDateField = 0x6F;

// The calendar fields the share has a date in, as (field code, date) in code order.
struct ShareDateField {
    int code = 0;
    PackedDate date = 0;
};
std::vector<ShareDateField> ReadShareDateFields(const RecordCursor& share);

// The calendar fields the share has a date in (codes 0x60-0x6F in code order), named by the
// database's item-name tables.
std::vector<ShareDateRow> ReadShareDates(const RecordCursor& share);

} // namespace qv
