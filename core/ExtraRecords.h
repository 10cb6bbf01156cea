// Share records that the program builds for shares the end-of-day database does not hold (the
// intraday code meets them), kept in name order with an index by first letter. Every operation
// holds ExtraRecordsLock, as the intraday thread uses them too.
#pragma once

#include "core/PackedDate.h"
#include "core/RecordLists.h"

#include <atomic>
#include <cstdint>
#include <string_view>

namespace qv {

// The float that stands for no value in the statistics of a price sub-record.
constexpr float kNoValueFloat = 3.4028235e38f;
// The longest name an extra record keeps; the code and second texts are kept to 255 characters.
constexpr size_t kExtraNameMax = 79;
constexpr size_t kExtraTextMax = 255;

// The program-wide current trading date, which the intraday code sets; a record built without a date
// takes the weekday before it.
void SetCurrentTradingDate(PackedDate date);
PackedDate CurrentTradingDate();
// Set whenever an extra record is built, for the share lists to take in the new record.
extern std::atomic<bool> ShareListsChanged;

struct ExtraShare {
    uint16_t id = 0;
    std::string_view name;
    std::string_view code;   // the EPIC
    std::string_view second; // a text of the intraday code's, stored as given
    uint8_t streamKind = 0;  // the price sub-record's kind
    uint8_t classByte = 0;
    uint8_t marketCode = 0;
    float price = 0;
    PackedDate date = 0; // 0: the weekday before the current trading date
};

// Builds the record with its one-day price sub-record, lists it and returns it.
uint8_t* BuildShareRecord(const ExtraShare& share);
// Links a node into the name-ordered list (the caller holds ExtraRecordsLock).
void InsertExtraRecord(RecordListNode* node);
// Sets both dates and, for a non-zero price, the last close and a newly coded stream; a zero price
// leaves only the stream's end mark and the last close as it was. False when the id is not listed.
bool SetExtraRecordPrice(uint16_t id, float price, PackedDate date);
// Unlinks and frees the record; false when it is not listed.
bool RemoveExtraRecord(uint16_t id);
bool ExtraRecordExists(uint16_t id);
// The listed record of a share id, or null (the caller holds ExtraRecordsLock).
uint8_t* FindExtraRecordLocked(uint16_t id);

// The link (the list head or a node's next field) that leads to the first record whose name
// begins with the letter (either case), or null (the caller holds ExtraRecordsLock).
RecordListNode** ExtraRecordLetterLink(char letter);

} // namespace qv
