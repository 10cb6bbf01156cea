// Price correction nodes and their items in the price correction store.
#include "chartmodel/PriceEdits.h"

#include "core/LinesAndTextFiles.h"
#include "core/Memory.h"
#include "core/PriceSubRecords.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "platform/ByteOrder.h"

#include <cmath>
#include <cstring>

namespace qv {
namespace {

constexpr uint32_t kUpgradedStoreVersion = 8;

uint32_t EntryKey(const RecordCursor& entry)
{
    return ShareItemKey(RecordId(entry.record), uint16_t(entry.count));
}

bool HasRecord(const RecordCursor* entry) { return entry != nullptr && entry->record != nullptr; }

void FreeNode(PriceEdit& node, bool restore)
{
    if (restore && node.record != nullptr && node.record->date == node.unedited.date)
        *node.record = node.unedited;
}

bool SameBytes(const DayRecord& a, const DayRecord& b)
{
    uint8_t left[kDayRecordSize];
    uint8_t right[kDayRecordSize];
    StoreDayRecord(left, a);
    StoreDayRecord(right, b);
    return std::memcmp(left, right, kDayRecordSize) == 0;
}

} // namespace

namespace {

std::span<DayRecord> UpToEnd(DayRecord* records)
{
    size_t n = 0;
    while (records != nullptr && records[n].date != 0)
        ++n;
    return {records, n};
}

} // namespace

DayRecord* FindPriceRecordByDay(std::span<DayRecord> records, uint16_t day)
{
    if (day == 0)
        return nullptr;
    for (DayRecord& r : records)
        if (r.date == day)
            return &r;
    return nullptr;
}

DayRecord* FindPriceRecordByDay(DayRecord* records, uint16_t day) { return FindPriceRecordByDay(UpToEnd(records), day); }

bool PriceRecordDiffers(const DayRecord* a, const DayRecord* b)
{
    if (a == nullptr || b == nullptr || a->date != b->date)
        return false;
    for (float DayRecord::*field : {&DayRecord::open, &DayRecord::high, &DayRecord::low, &DayRecord::close})
        if (std::fabs(double(a->*field) - double(b->*field)) > 0.0001)
            return true;
    return std::fabs(double(a->volume) - double(b->volume)) > 0.9;
}

bool AnyPriceEdited(const PriceEditList& list)
{
    for (const PriceEdit& node : list)
        if (node.record != nullptr && !SameBytes(*node.record, node.unedited))
            return true;
    return false;
}

PriceEdit* FindPriceEdit(PriceEditList& list, const DayRecord* record)
{
    if (record == nullptr)
        return nullptr;
    for (PriceEdit& node : list)
        if (node.unedited.date == record->date)
            return &node;
    return nullptr;
}

PriceEdit* AddPriceEdit(PriceEditList& list, DayRecord* record, uint32_t changed)
{
    if (record == nullptr)
        return nullptr;
    if (PriceEdit* node = FindPriceEdit(list, record)) {
        node->record = record;
        return node;
    }
    auto at = list.begin();
    while (at != list.end() && at->unedited.date <= record->date)
        ++at;
    return &*list.insert(at, PriceEdit{changed, *record, record});
}

void RemovePriceEdit(PriceEditList& list, PriceEdit* node, bool restore)
{
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (&*it != node)
            continue;
        FreeNode(*it, restore);
        list.erase(it);
        return;
    }
}

void FreePriceEdits(PriceEditList& list, bool restore)
{
    for (PriceEdit& node : list)
        FreeNode(node, restore);
    list.clear();
}

void LoadPriceEdits(DayRecord* records, PriceEditList& list, const RecordCursor* entry, bool force)
{
    LoadPriceEdits(UpToEnd(records), list, entry, force);
}

void LoadPriceEdits(std::span<DayRecord> records, PriceEditList& list, const RecordCursor* entry, bool force)
{
    FreePriceEdits(list, false);
    if (!HasRecord(entry))
        return;
    const uint8_t* blob = PriceCorrectionStore().GetItem(EntryKey(*entry), kPriceCorrectionKind, 0);
    uint32_t length = BlobLength(blob);
    if (length <= kPriceCorrectionHeadBytes)
        return;
    for (uint32_t at = kPriceCorrectionHeadBytes; at < length; at += kDayRecordSize) {
        uint8_t bytes[kDayRecordSize] = {};
        std::memcpy(bytes, blob + at, std::min<size_t>(kDayRecordSize, length - at));
        DayRecord stored = LoadDayRecord(bytes);
        DayRecord* day = FindPriceRecordByDay(records, stored.date);
        if (day == nullptr || (!force && !PriceRecordDiffers(&stored, day)))
            continue;
        PriceEdit* node = AddPriceEdit(list, day, 0);
        node->changed = 1;
        *day = stored;
    }
}

void SavePriceEdits(PriceEditList& list, const RecordCursor* entry)
{
    if (!HasRecord(entry))
        return;
    std::vector<const DayRecord*> counted;
    for (PriceEdit& node : list) {
        if (node.record == nullptr || node.record->date == 0 || node.changed == 0)
            continue;
        if (PriceRecordDiffers(node.record, &node.unedited))
            counted.push_back(node.record);
        else
            node.changed = 0;
    }
    Blob blob;
    if (!counted.empty()) {
        uint32_t length = uint32_t(kPriceCorrectionHeadBytes + kDayRecordSize * (counted.size() + 1));
        blob = MakeBlob(length);
        uint8_t* at = blob.get() + kPriceCorrectionHeadBytes;
        for (const DayRecord* record : counted) {
            StoreDayRecord(at, *record);
            at += kDayRecordSize;
        }
    }
    PriceCorrectionStore().SetItem(EntryKey(*entry), kPriceCorrectionKind, 0, std::move(blob));
    RecomputeStreamStatistics(entry);
}

size_t LoadPriceEditFlags(std::vector<uint8_t>& buffer, const RecordCursor* entry)
{
    buffer.clear();
    if (!HasRecord(entry))
        return 0;
    const uint8_t* blob = PriceCorrectionStore().GetItem(EntryKey(*entry), kPriceEditFlagsKind, 0);
    uint32_t length = BlobLength(blob);
    for (uint32_t at = kPriceCorrectionHeadBytes; at + kPriceEditFlagSize <= length; at += kPriceEditFlagSize) {
        if (LoadU16(blob + at) == 0)
            break;
        buffer.insert(buffer.end(), blob + at, blob + at + kPriceEditFlagSize);
    }
    return buffer.size();
}

void SavePriceEditFlags(std::span<const uint8_t> entries, const RecordCursor* entry)
{
    if (!HasRecord(entry))
        return;
    size_t count = 0;
    while ((count + 1) * kPriceEditFlagSize <= entries.size() && LoadU16(entries.data() + count * kPriceEditFlagSize) != 0)
        ++count;
    Blob blob;
    if (count > 0) {
        blob = MakeBlob(uint32_t(kPriceCorrectionHeadBytes + kPriceEditFlagSize * (count + 1)));
        std::memcpy(blob.get() + kPriceCorrectionHeadBytes, entries.data(), count * kPriceEditFlagSize);
    }
    PriceCorrectionStore().SetItem(EntryKey(*entry), kPriceEditFlagsKind, 0, std::move(blob));
}

void UpgradeOldPriceEdits()
{
    KeyedItemStore& store = PriceCorrectionStore();
    if (store.version() < 0 || store.version() >= int32_t(kUpgradedStoreVersion))
        return;
    std::vector<uint32_t> shares;
    store.ForEachItem([&](const KeyedItemKey& key, const uint8_t*) {
        if (key.kind == kPriceCorrectionKind && key.subKey == 0)
            shares.push_back(key.share);
    });
    for (uint32_t share : shares) {
        RecordCursor entry{FindShareRecord(uint16_t(share & 0xFFFF)), share >> 16};
        if (entry.record == nullptr)
            continue;
        DayRecord* days = nullptr;
        RecordCursor cursor = entry;
        if (DecodePriceHistory(&cursor, &days, 0, false, false) > 0) {
            PriceEditList list;
            LoadPriceEdits(days, list, &entry, false);
            SavePriceEdits(list, &entry);
            FreePriceEdits(list, false);
        }
        ProFree(days);
    }
}

} // namespace qv
