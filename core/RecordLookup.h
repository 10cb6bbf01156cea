// Record lookups that many windows share: by share id (extra records first), the static record
// cursor, free imported-item ids, names, titles, file codes and the list field text.
#pragma once

#include "core/RecordAccess.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Share ids look among the extra records first (under their lock); ids 0x8000-0xEFFF walk the main
// block; ids from 0xF000 the imported items; other ids, and shares not among the extra records,
// come from the record index. Null when there is no such record.
uint8_t* FindShareRecord(uint16_t id);

// The one record cursor that all callers share: ids from 0xF000 among the imported items, others
// in the main block; its record is null when none matches.
RecordCursor& GetRecordCursor(uint16_t id);

// The lowest id from 0xF000 to 0xFFFE that no imported item uses, 0 when all are used.
uint16_t NewImportedId();

// The number of sub-records of a record (the last one, of length 0, included).
int CountSubRecords(const uint8_t* record);

// The name: the length byte at offset 30 and the text from 31, cut at a NUL.
std::string_view GetRecordName(const uint8_t* record);

// The market-letter option, and the list-table flag that keeps the letters out of titles (the
// list-table views clear it when they are made).
extern std::atomic<bool> MarketLettersOption;
extern std::atomic<bool> ListTableTitleFlag;
// The record's name, after "X - " (X the market letter of the sub-record's kind 0-10) when the
// option is on and the flag is clear.
std::string FormatShareTitle(const RecordCursor& entry);

// The share's code for titles and file names: field 128 of the sub-record's company data, or for a
// share without company data the text after its name and class byte. Upper case, cut at the first
// character that is not A-Z, 0-9, "_" or "."; for a file name "." becomes "_" and the device names
// AUX, CON, PRN and NUL get "_" in front. True when no code results (out is then empty).
bool GetShareFileCode(const RecordCursor& cursor, std::string& out, bool forFileName);

// The record's field 117 (a counted text) with every "|" shown as ", "; empty when absent.
std::string GetListFieldText(const RecordCursor& cursor);

} // namespace qv
