// The singly linked lists of records beside the main block (extra records, imported items) and the
// data-mining value list.
#pragma once

#include <cstdint>

namespace qv {

// A list node: the next node, its record (or, in the data-mining value list, its value block) and
// a word of the list's own.
struct RecordListNode {
    RecordListNode* next = nullptr;
    uint8_t* record = nullptr;
    uint32_t value = 0;
};

// Share records the program builds for the intraday store. Every walk and change holds
// ExtraRecordsLock (a table-lock flag).
extern RecordListNode* ExtraRecordList;
extern int32_t ExtraRecordCount;
extern uint16_t ExtraRecordsLock;

// The user's imported items (read from the imports file); not locked.
extern RecordListNode* ImportedItemList;
extern int32_t ImportedItemCount;

// The data-mining value list: each node's record word points at a block of values.
extern RecordListNode* DataMiningValueList;

// Allocates a zeroed node (guarded memory).
RecordListNode* NewListNode(uint8_t* record, uint32_t value);
// Unlinks the node (head or inner) and frees it; false when the list or node is null or the node
// is not in the list.
bool RemoveListNode(RecordListNode** head, RecordListNode* node);
// Frees every node of a list and the block each node points to, clears the head and zeroes the
// count (count may be null).
void FreeRecordList(RecordListNode** head, int32_t* count);
// Frees the data-mining value list with its value blocks.
void FreeItemList();

} // namespace qv
