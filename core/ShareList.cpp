// Share lists: creation, copying from the source, cursors, positions and the list chain.
#include "core/ShareList.h"

#include "core/CompanyData.h"
#include "core/DataMiningProgress.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/UpperHooks.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qv {
namespace {

constexpr int32_t kExtraEntries = 64;
constexpr int kDataMiningKind = 6;

std::array<uint16_t, kWindowSlots> publishedIds{};
std::array<uint16_t, kWindowSlots> publishedSubs{};

ViewShareReader& ShareReader()
{
    static ViewShareReader reader;
    return reader;
}

ListViewsInvalidator& ViewsInvalidator()
{
    static ListViewsInvalidator invalidator;
    return invalidator;
}

// The view kind whose table holds the stored sort setting of a family.
int SortKindOfFamily(int32_t family)
{
    switch (family) {
    case kFamilyShares: return 1;
    case kFamilyDealings: return 5;
    case kFamilyNews: return 8;
    case kFamilyTrades: return 10;
    default: return -1;
    }
}

bool SameEntry(const RecordCursor& entry, uint32_t id, uint32_t sub)
{
    return entry.record && EntryRecordId(entry) == id && entry.count == sub;
}

// Entries of a source before its empty entry, never past the room its array has.
int32_t SourceCount(const Portfolio& source)
{
    if (!source.entries)
        return 0;
    int32_t room = int32_t(PortfolioEntrySlots(source));
    int32_t n = 0;
    while (n < room && source.entries[n].record)
        ++n;
    return n;
}

void AllocateEntries(ShareList* list, int32_t capacity)
{
    ProFree(list->entries);
    list->capacity = capacity > 0 ? capacity : 1;
    list->entries = static_cast<RecordCursor*>(ProCalloc(uint32_t(list->capacity), sizeof(RecordCursor), "Share list"));
}

void GrowEntries(ShareList* list, int32_t capacity)
{
    list->entries =
        static_cast<RecordCursor*>(ProRealloc(list->entries, uint32_t(capacity) * uint32_t(sizeof(RecordCursor))));
    for (int32_t i = list->capacity; i < capacity; ++i)
        list->entries[i] = RecordCursor{};
    list->capacity = capacity;
}

void SetAllCursors(ShareList* list, int32_t index)
{
    list->firstVisible = index;
    list->current = index;
    list->last = index;
}

void InvalidateViews(ShareList* list)
{
    if (const ListViewsInvalidator& invalidate = ViewsInvalidator())
        invalidate(list);
}

void SortByOwnSetting(ShareList* list)
{
    if (list->sortColumn < 0) {
        list->sortColumn = -list->sortColumn;
        list->sortDirection = -1;
    }
    if (list->columnLayout)
        if (const auto& sort = CoreUpperHooks().sortList)
            sort(list, (list->sortColumn + 1) * list->sortDirection);
}

bool BelongsToDataMining(const ShareList* list)
{
    const auto& shown = CoreUpperHooks().shownByDataMining;
    return shown && shown(list);
}

// The share of a list of another family, as the view-group code reads it.
void ReadViewShare(ShareList* list, uint32_t& id, uint32_t& sub)
{
    if (const ViewShareReader& reader = ShareReader()) {
        reader(list, id, sub);
        return;
    }
    const RecordCursor* entry = CurrentEntry(list);
    id = entry ? EntryRecordId(*entry) : 0;
    sub = entry ? entry->count : 0;
}

void CopySourceEntries(ShareList* list, Portfolio* source, uint32_t& id, uint32_t& sub, bool force)
{
    int32_t n = SourceCount(*source);
    for (int32_t* index : {&source->current, &source->last, &source->firstVisible})
        if (*index < 0 || *index > n)
            *index = 0;
    if (id == 0) {
        const RecordCursor* keep =
            force && source->current < n ? &source->entries[source->current] : CurrentEntry(list);
        id = keep ? EntryRecordId(*keep) : 0;
        sub = keep ? keep->count : 0;
    }
    if (list->capacity <= n + 1)
        GrowEntries(list, n + 1);
    for (int32_t i = 0; i < n; ++i)
        list->entries[i] = source->entries[i];
    list->entries[n] = RecordCursor{};
    list->firstVisible = 0;
    list->current = 0;
    list->last = n > 0 ? n - 1 : 0;
}

} // namespace

void ApplyListSortSetting(ShareList* list, int which)
{
    int kind = SortKindOfFamily(list->family);
    if (kind < 0)
        return;
    const auto& sortSetting = CoreUpperHooks().sortColumnSetting;
    int setting = sortSetting ? sortSetting(list->tableSetting, list->family == kFamilyShares ? which : 0, kind) : 0;
    if (setting == 0)
        return;
    list->sortDirection = setting < 0 ? -1 : 1;
    list->sortColumn = (setting < 0 ? -setting : setting) - 1;
}

ShareList*& ShareListChain()
{
    static ShareList* head = nullptr;
    return head;
}

ShareList*& CurrentShareList()
{
    static ShareList* current = nullptr;
    return current;
}

void PublishWindowShare(int slot, uint32_t id, uint32_t sub)
{
    if (slot < 0 || slot >= kWindowSlots)
        return;
    publishedIds[size_t(slot)] = uint16_t(id);
    publishedSubs[size_t(slot)] = uint16_t(sub);
}

uint16_t PublishedShareId(int slot) { return slot >= 0 && slot < kWindowSlots ? publishedIds[size_t(slot)] : 0; }
uint16_t PublishedShareSub(int slot) { return slot >= 0 && slot < kWindowSlots ? publishedSubs[size_t(slot)] : 0; }

const void* CompanyTablesInUse() { return &RecordFieldDescriptors; }

uint16_t EntryRecordId(const RecordCursor& entry) { return entry.record ? LoadU16(entry.record + 2) : 0; }

RecordCursor* ShareListEntry(ShareList* list, int32_t index)
{
    if (!list || !list->entries || index < 0 || index >= list->capacity)
        return nullptr;
    return &list->entries[index];
}

RecordCursor* CurrentEntry(ShareList* list) { return list ? ShareListEntry(list, list->current) : nullptr; }

bool ListRowsAreOwnRecords(const ShareList* list)
{
    return list && (list->family == kFamilyTransactions || list->family == kFamilyCash);
}

void ForgetRowsShowing(const uint8_t* record)
{
    if (!record)
        return;
    for (ShareList* list = ShareListChain(); list; list = list->next) {
        if (!ListRowsAreOwnRecords(list) || !list->entries)
            continue;
        RecordCursor* end = list->entries + list->capacity;
        RecordCursor* shown = std::find_if(list->entries, end, [record](const RecordCursor& row) {
            return !row.record || row.record == record;
        });
        if (shown == end || !shown->record)
            continue;
        std::fill(list->entries, end, RecordCursor{});
        list->rowsEnd = 0;
        if (const auto& reload = CoreUpperHooks().reloadViews)
            reload(list);
        InvalidateViews(list);
    }
}

int32_t ShareListCount(const ShareList* list)
{
    if (!list || !list->entries)
        return 0;
    int32_t n = 0;
    while (n < list->capacity && list->entries[n].record)
        ++n;
    return n;
}

int32_t NextFreeGroupNumber()
{
    if (!ShareListChain())
        return 0;
    std::vector<bool> used;
    for (const ShareList* l = ShareListChain(); l; l = l->next) {
        if (l->number < 0)
            continue;
        if (size_t(l->number) >= used.size())
            used.resize(size_t(l->number) + 1);
        used[size_t(l->number)] = true;
    }
    for (size_t n = 1; n < used.size(); ++n)
        if (!used[n])
            return int32_t(n);
    return int32_t(used.size() < 1 ? 1 : used.size());
}

void CreateFirstShareList()
{
    if (!ShareListChain())
        ShareListChain() = static_cast<ShareList*>(ProCalloc(1, sizeof(ShareList), "Share list"));
}

ShareList* CreateShareList(int32_t base, int32_t extra, int32_t family, Portfolio* source, bool link)
{
    auto* list = static_cast<ShareList*>(ProCalloc(1, sizeof(ShareList), "Share list"));
    list->sourceNumber = -1;
    list->capacity = base + extra;
    list->family = family;
    list->number = NextFreeGroupNumber();
    list->sortDirection = 1;
    list->sortColumn = 1;
    list->companyTables = CompanyTablesInUse();
    ApplyListSortSetting(list, 0);
    if (family != kFamilyTicker) {
        if (family == kFamilyShares && source) {
            list->capacity = int32_t(source->entryBytes) + kExtraEntries;
            list->sourceNumber = source->number;
            SetShareListSource(list, source, 0, 0, true, false);
        } else {
            AllocateEntries(list, list->capacity);
        }
        if (!list->entries)
            AllocateEntries(list, list->capacity);
        SetAllCursors(list, 0);
        if (family == kFamilyTransactions)
            SetShareListSource(list, source, 0, 0, true, false);
    }
    if (link) {
        list->next = ShareListChain();
        ShareListChain() = list;
    }
    return list;
}

ShareList* GetShareListForSource(Portfolio* source)
{
    if (source)
        for (ShareList* l = ShareListChain(); l; l = l->next)
            if (l->source == source)
                return l;
    return CreateShareList(1, 0, kFamilyShares, source, true);
}

void DropListSource(ShareList* list)
{
    if (!list || !list->source)
        return;
    list->source = nullptr;
    list->sourceNumber = -1;
    list->filledMark = 0;
}

int32_t SetShareListSource(ShareList* list, Portfolio* source, uint32_t id, uint32_t sub, bool force, bool refresh)
{
    if (!list || DataMiningProgress())
        return 0;
    if (source != list->source)
        force = true;
    if (list->entries && !list->entries[0].record)
        SetAllCursors(list, ShareList::kNoEntry);
    list->source = source;
    list->sourceNumber = source ? source->number : -1;
    if (list->family == kFamilyTransactions) {
        if (const auto& reload = CoreUpperHooks().reloadViews)
            reload(list);
        if (refresh)
            InvalidateViews(list);
        return 0;
    }
    if (list->family != kFamilyShares)
        return 0;
    if (!list->entries)
        AllocateEntries(list, (source ? int32_t(source->entryBytes) : 0) + kExtraEntries);
    int32_t n = 0;
    if (source) {
        CopySourceEntries(list, source, id, sub, force);
        n = ShareListCount(list);
    } else if (force) {
        list->entries[0] = RecordCursor{};
        SetAllCursors(list, 0);
    }
    SortByOwnSetting(list);
    SetShareListPosition(list, id, sub, false);
    if (refresh)
        InvalidateViews(list);
    return n;
}

void SetShareListPosition(ShareList* list, uint32_t id, uint32_t sub, bool publish)
{
    if (!list || !list->entries)
        return;
    int32_t index = FindListEntryIndex(list->entries, list->capacity, id, sub);
    list->current = index;
    list->firstVisible = index > 4 ? index - 4 : 0;
    if (publish) {
        const RecordCursor& entry = list->entries[index];
        PublishWindowShare(list->windowSlot, EntryRecordId(entry), entry.count);
    }
}

void ClampShareListCursors(ShareList* list)
{
    if (!list)
        return;
    // The cursors also stay inside the array, which a last entry past it would otherwise allow.
    int32_t top = list->capacity > 0 ? list->capacity - 1 : 0;
    if (list->last < 0)
        list->last = 0;
    if (list->last > top)
        list->last = top;
    if (list->firstVisible < 0 || list->firstVisible > list->last)
        list->firstVisible = 0;
    if (list->current < 0 || list->current > list->last)
        list->current = 0;
}

int32_t FindEntryIndex(const RecordCursor* entries, int32_t room, uint32_t id, uint32_t sub)
{
    if (!entries)
        return -1;
    for (int32_t i = 0; i < room && entries[i].record; ++i)
        if (SameEntry(entries[i], id, sub))
            return i;
    return -1;
}

int32_t FindListEntryIndex(const RecordCursor* entries, int32_t room, uint32_t id, uint32_t sub)
{
    return std::max(FindEntryIndex(entries, room, id, sub), 0);
}

int32_t GetSourceEntryIndex(const Portfolio* source, const RecordCursor* entry)
{
    if (!source || !entry || !entry->record)
        return 0;
    return FindListEntryIndex(source->entries, int32_t(PortfolioEntrySlots(*source)), EntryRecordId(*entry),
                              entry->count);
}

bool SourceHoldsEntry(const Portfolio* source, uint32_t id, uint32_t sub)
{
    return source && id != 0 && FindEntryIndex(source->entries, int32_t(PortfolioEntrySlots(*source)), id, sub) >= 0;
}

void SetSourceCurrentIndex(Portfolio* source, uint32_t id, uint32_t sub)
{
    if (source)
        source->current = FindListEntryIndex(source->entries, int32_t(PortfolioEntrySlots(*source)), id, sub);
}

bool ShareListHasEntries(const ShareList* list)
{
    if (!list || !list->entries || !list->entries[0].record)
        return false;
    return list->current >= 0 && list->current < list->capacity && list->entries[list->current].record;
}

void SyncSourceCursors(ShareList* list)
{
    if (!list || list->family != kFamilyShares || !list->source || !ShareListCount(list))
        return;
    ClampShareListCursors(list);
    list->source->firstVisible = list->firstVisible;
    list->source->current = list->current;
    list->source->last = list->last;
}

void ResortShareList(ShareList* list)
{
    if (!list || !list->entries)
        return;
    uint32_t id = 0, sub = 0;
    if (list->current > 0) {
        if (const RecordCursor* entry = CurrentEntry(list)) {
            id = EntryRecordId(*entry);
            sub = entry->count;
        }
    }
    list->companyTables = CompanyTablesInUse();
    const auto& layout = CoreUpperHooks().columnLayout;
    list->columnLayout = layout ? layout(list->tableSetting, BelongsToDataMining(list) ? kDataMiningKind : 1) : nullptr;
    if (const auto& sort = CoreUpperHooks().sortList)
        sort(list, (list->sortColumn + 1) * list->sortDirection);
    list->current = FindListEntryIndex(list->entries, list->capacity, id, sub);
}

void StoreShareListPosition(ShareList* list, ShareList* other, bool publish)
{
    if (!list || list->family == kFamilyTicker)
        return;
    ShareList* position = other ? other : list;
    ClampShareListCursors(list);
    ClampShareListCursors(position);
    Portfolio* first = PortfolioChain();
    const RecordCursor* current = CurrentEntry(position);
    if (list->source && current && current->record) {
        if (list->family == kFamilyTransactions) {
            int32_t index = position->current <= position->last ? position->current : 0;
            list->rowIndex = index;
            list->rowIndex2 = index;
            list->currentId = LoadU16(current->record + 8);
            list->currentSub = current->record[10];
        } else if (list->family != kFamilyShares) {
            ReadViewShare(list, list->currentId, list->currentSub);
        } else {
            list->currentId = EntryRecordId(*current);
            list->currentSub = current->count;
            list->source->current = GetSourceEntryIndex(list->source, current);
            list->source->last = GetSourceEntryIndex(list->source, ShareListEntry(position, position->last));
            // The pre-set list at the head of the portfolio chain keeps the first-visible row.
            if (first)
                first->firstVisible =
                    GetSourceEntryIndex(list->source, ShareListEntry(position, position->firstVisible));
        }
    } else if (list->source) {
        list->source->current = 0;
        list->source->last = 0;
        if (first)
            first->firstVisible = 0;
        list->rowIndex = 0;
        list->rowIndex2 = 0;
        list->currentId = position->currentId;
        list->currentSub = position->currentSub;
    } else {
        ReadViewShare(list, list->currentId, list->currentSub);
    }
    if (publish && list->windowSlot >= 0 && list->currentId != 0)
        PublishWindowShare(list->windowSlot, list->currentId, list->currentSub);
}

bool PortfolioIncludes(const Portfolio* portfolio, int32_t number)
{
    if (!portfolio || number < 0 || portfolio->type != kGroupPortfolio)
        return false;
    for (const PortfolioMember* m = portfolio->members; m; m = m->next)
        if (m->numberPlusOne == uint32_t(number) + 1)
            return true;
    return false;
}

void SetViewShareReader(ViewShareReader reader) { ShareReader() = std::move(reader); }
void SetListViewsInvalidator(ListViewsInvalidator invalidator) { ViewsInvalidator() = std::move(invalidator); }

} // namespace qv
