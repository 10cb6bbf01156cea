// A view group's fields in its share list's room, and freeing a group's data.
#include "views/ViewGroupFields.h"

#include "core/CodedText.h"
#include "core/Memory.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"
#include "views/ViewBase.h"

#include <cstring>

namespace qv {

static_assert(sizeof(ViewGroupFields) <= sizeof(ShareList::viewGroupRoom));

namespace {

// Record sizes below which the fields read here do not exist.
constexpr uint16_t kTransactionShareEnd = 11;
constexpr uint16_t kDealingShareEnd = 12;
constexpr uint16_t kCashShareEnd = 10;
constexpr uint16_t kNewsShareEnd = 32;

// Records addressed by a list's entries begin with their u16 length; a field is read only when the
// record holds it.
bool RecordHolds(const uint8_t* record, uint16_t end) { return record && LoadU16(record) >= end; }

GroupNewsFreer newsFreer = nullptr;

void FreeGroupNews(ShareList* group)
{
    if (newsFreer) {
        newsFreer(group);
        return;
    }
    ViewGroupFields fields = GetViewGroupFields(group);
    fields.newsResults = nullptr;
    SetViewGroupFields(group, fields);
}

} // namespace

void SetGroupNewsFreer(GroupNewsFreer freer) { newsFreer = freer; }

ViewGroupFields GetViewGroupFields(const ShareList* list)
{
    ViewGroupFields fields;
    if (list)
        std::memcpy(&fields, list->viewGroupRoom, sizeof fields);
    return fields;
}

void SetViewGroupFields(ShareList* list, const ViewGroupFields& fields)
{
    if (list)
        std::memcpy(list->viewGroupRoom, &fields, sizeof fields);
}

void MarkNeedsRefill(ShareList* list)
{
    if (!list)
        return;
    ViewGroupFields fields = GetViewGroupFields(list);
    fields.needsRefill = 1;
    SetViewGroupFields(list, fields);
    // The list tables refill a list whose rows were not filled for its current settings.
    list->filledMark = 0;
}

void FreeViewGroup(ShareList* group)
{
    if (ReleaseViewGroupData(group) < 0)
        return;
    FreeGroupNews(group);
    ViewGroupFields fields = GetViewGroupFields(group);
    ProFree(fields.tradeBlock);
    ProFree(fields.cashAccount);
    fields.tradeBlock = nullptr;
    fields.cashAccount = nullptr;
    SetViewGroupFields(group, fields);
}

int32_t ReleaseViewGroupData(ShareList* group)
{
    if (!group)
        return -1;
    if (group->entries && IsViewGroupUnused(group)) {
        if (CountRowArrayUsers(group) < 2)
            ProFree(group->entries);
        group->entries = nullptr;
        group->capacity = 0;
        group->firstVisible = 0;
        group->current = 0;
        group->last = 0;
    }
    FreeGroupNews(group);
    return 0;
}

void GetViewShare(ShareList* group, uint32_t* shareId, uint32_t* subId)
{
    uint32_t id = 0, sub = 0;
    const RecordCursor* entry = CurrentEntry(group);
    const uint8_t* record = entry ? entry->record : nullptr;
    if (record) {
        ViewGroupFields fields = GetViewGroupFields(group);
        switch (group->family) {
        case kFamilyShares:
            id = EntryRecordId(*entry);
            sub = entry->count;
            break;
        case kFamilyTransactions:
            if (RecordHolds(record, kTransactionShareEnd)) {
                id = LoadU16(record + 8);
                sub = record[10];
            }
            break;
        case kFamilyDealings:
            if (group->currentId != 0) {
                id = group->currentId;
                sub = group->currentSub;
            } else if (RecordHolds(record, kDealingShareEnd)) {
                id = GetBitField(record + 9, 4, 15);
            }
            break;
        case kFamilyCash: {
            const auto* account = static_cast<const uint8_t*>(fields.cashAccount);
            if ((!account || LoadU32(account + 4) == 0) && RecordHolds(record, kCashShareEnd))
                id = LoadU16(record + 8);
            break;
        }
        case kFamilyNews:
            if (group->currentId != 0) {
                id = group->currentId;
                sub = group->currentSub;
            } else if (RecordHolds(record, kNewsShareEnd)) {
                id = LoadU32(record + 28);
            }
            break;
        case kFamilyTrades:
            if (const auto* block = static_cast<const uint8_t*>(fields.tradeBlock))
                id = LoadU16(block + 2);
            sub = group->currentSub;
            break;
        default: break;
        }
    }
    if (shareId)
        *shareId = id;
    if (subId)
        *subId = sub;
}

} // namespace qv
