// Record lists: allocation, unlinking and freeing of nodes with guarded memory.
#include "core/RecordLists.h"

#include "core/Memory.h"

namespace qv {

RecordListNode* ExtraRecordList = nullptr;
int32_t ExtraRecordCount = 0;
uint16_t ExtraRecordsLock = 0;
RecordListNode* ImportedItemList = nullptr;
int32_t ImportedItemCount = 0;
RecordListNode* DataMiningValueList = nullptr;

RecordListNode* NewListNode(uint8_t* record, uint32_t value)
{
    auto* node = static_cast<RecordListNode*>(ProCalloc(1, sizeof(RecordListNode), "List node"));
    node->record = record;
    node->value = value;
    return node;
}

bool RemoveListNode(RecordListNode** head, RecordListNode* node)
{
    if (!head || !node)
        return false;
    for (RecordListNode** link = head; *link; link = &(*link)->next) {
        if (*link == node) {
            *link = node->next;
            ProFree(node);
            return true;
        }
    }
    return false;
}

void FreeRecordList(RecordListNode** head, int32_t* count)
{
    RecordListNode* node = *head;
    while (node) {
        RecordListNode* next = node->next;
        ProFree(node->record);
        ProFree(node);
        node = next;
    }
    *head = nullptr;
    if (count)
        *count = 0;
}

void FreeItemList() { FreeRecordList(&DataMiningValueList, nullptr); }

} // namespace qv
