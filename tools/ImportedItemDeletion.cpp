// Removing imported items and every reference to them.
#include "tools/ImportedItemDeletion.h"

#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "core/RecordLists.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "portfolio/Transaction.h"

#include <algorithm>
#include <cstdio>

namespace qv {
namespace {

constexpr uint8_t kLatestRow = 15;

// Closes the gaps that removed entries leave; returns how many went. The zero entry ends the array.
int32_t RemoveEntries(RecordCursor* entries, size_t slots, const uint8_t* record)
{
    size_t kept = 0, i = 0;
    for (; entries && i < slots && entries[i].record; ++i)
        if (entries[i].record != record)
            entries[kept++] = entries[i];
    for (size_t j = kept; j < i; ++j)
        entries[j] = RecordCursor{};
    return int32_t(i - kept);
}

void LowerCursors(int32_t removed, int32_t& last, int32_t& current)
{
    last = std::max(0, last - removed);
    current = std::min(current, last);
}

void RemoveTransactions(Portfolio& p, uint16_t id)
{
    Transaction* head = p.transactions;
    Transaction** link = &head;
    while (*link) {
        Transaction* t = *link;
        if (t->shareId() == id) {
            *link = t->next;
            delete t;
        } else {
            link = &t->next;
        }
    }
    p.transactions = head;
}

void RemoveReferences(const uint8_t* record)
{
    const uint16_t id = RecordId(record);
    for (Portfolio* p = PortfolioChain(); p; p = p->next) {
        const int32_t removed = RemoveEntries(p->entries, PortfolioEntrySlots(*p), record);
        LowerCursors(removed, p->last, p->current);
        RemoveTransactions(*p, id);
        if (removed)
            p->changed = 1;
    }
    for (ShareList* list = ShareListChain(); list; list = list->next) {
        if (ListRowsAreOwnRecords(list))
            continue;
        const int32_t removed = RemoveEntries(list->entries, size_t(std::max(0, list->capacity)), record);
        if (!removed)
            continue;
        LowerCursors(removed, list->last, list->current);
        ClampShareListCursors(list);
    }
}

} // namespace

ImportedItemUse CountImportedItemUse(uint16_t id)
{
    ImportedItemUse use;
    for (Portfolio* p = PortfolioChain(); p; p = p->next) {
        for (uint32_t i = 0; i < CountPortfolioEntries(*p); ++i)
            use.entries += EntryRecordId(p->entries[i]) == id;
        for (const Transaction* t = p->transactions; t; t = t->next)
            use.transactions += t->shareId() == id && t->type() != kLatestRow;
    }
    return use;
}

std::string DeleteImportedItemQuestion(const std::string& name, const ImportedItemUse& use)
{
    std::string text = "Are you sure you want to delete " + name + "?";
    if (use.entries != 0) {
        char counts[120];
        std::snprintf(counts, sizeof counts, "\n\nThis will delete %i portfolio entries and %i transactions",
                      use.entries, use.transactions);
        text += counts;
    }
    return text;
}

bool DeleteImportedItem(uint16_t id)
{
    for (RecordListNode* node = ImportedItemList; node; node = node->next) {
        if (!node->record || RecordId(node->record) != id)
            continue;
        uint8_t* record = node->record;
        RemoveReferences(record);
        RemoveListNode(&ImportedItemList, node);
        --ImportedItemCount;
        ProFree(record);
        return true;
    }
    return false;
}

void DeleteAllImportedItems()
{
    while (ImportedItemList)
        DeleteImportedItem(RecordId(ImportedItemList->record));
}

} // namespace qv
