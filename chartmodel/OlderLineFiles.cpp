// The merge of the older installations' line files into the lines-and-text store.
#include "chartmodel/OlderLineFiles.h"

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/LineObjects.h"
#include "core/KeyedItemStore.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qv {
namespace {

constexpr uint16_t kIntradayObjects = 1;
// The chart slot the older files' lines belonged to: the first.
constexpr uint16_t kFirstSlotBit = 1;
constexpr size_t kPointPrice = 4;
constexpr size_t kRTGraphLineBytes = 24;

std::vector<uint8_t> MergedEntry(std::span<const uint8_t> old)
{
    std::vector<uint8_t> entry(kMergedLineEntryBytes, 0);
    std::memcpy(entry.data(), old.data(), 16);
    std::memcpy(entry.data() + 20, old.data() + 16, 4);
    entry[24] = old[20] != 0 ? 1 : 0;
    entry[25] = old[21];
    StoreU16(entry.data() + 26, kFirstSlotBit);
    return entry;
}

// Appends the merged entries to the item of the key, after what it holds.
void AppendEntries(KeyedItemStore& store, const KeyedItemKey& key, std::span<const uint8_t> body)
{
    std::vector<uint8_t> merged;
    if (const uint8_t* held = store.GetItem(key.share, key.kind, key.subKey)) {
        const uint32_t length = BlobLength(held);
        merged.assign(held + kBlobLengthBytes, held + std::max(length, kBlobLengthBytes));
    }
    for (size_t at = 0; at + kOldLineEntryBytes <= body.size(); at += kOldLineEntryBytes) {
        const std::vector<uint8_t> entry = MergedEntry(body.subspan(at, kOldLineEntryBytes));
        merged.insert(merged.end(), entry.begin(), entry.end());
    }
    if (!merged.empty())
        store.SetItem(key.share, key.kind, key.subKey, MakeBlob(merged));
}

void MergeRTLines(KeyedItemStore& store)
{
    const fs::path path = AppPath("RTLines.cfg");
    const auto bytes = ReadFileBytes(path);
    if (!bytes)
        return;
    ByteReader in(*bytes);
    uint32_t first = 0, second = 0;
    in.u32(first);
    in.u32(second);
    KeyedItemKey key;
    uint32_t length = 0;
    // Every length is checked against what the file still holds: a short record ends the merge.
    while (in.ok() && !in.atEnd()) {
        key.subKey = 0;
        if (!in.u32(key.share) || !in.u16(key.kind) || (first > 0 && !in.u32(key.subKey)) || !in.u32(length) ||
            length > in.remaining())
            break;
        AppendEntries(store, key, in.take(length));
    }
    ForceDelete(path);
}

// The lines of one day become line studies among the intraday objects of the item's key.
void AddDayLines(KeyedItemStore& store, const KeyedItemKey& item, const uint8_t* blob, PackedDate day)
{
    const uint32_t length = BlobLength(blob);
    const int64_t base = DateToCalendarIndex(day);
    LineObjectList list;
    if (const uint8_t* held = store.GetItem(item.share, kIntradayObjects, item.subKey))
        UnpackLineObjects(list, std::span(held, BlobLength(held)));
    for (uint32_t at = kBlobLengthBytes; at + kRTGraphLineBytes <= length; at += kRTGraphLineBytes) {
        const uint8_t* line = blob + at;
        LineObject* object = AddLineObject(list, LoadU32(line + 20), LoadU32(line + 16));
        for (int i = 0; i < 2; ++i) {
            StoreI32(object->point(i), int32_t(base + LoadU32(line + 8 * size_t(i))));
            StoreF32(object->point(i) + kPointPrice, LoadF32(line + 8 * size_t(i) + 4));
        }
        object->setPointCount(2);
    }
    const std::vector<uint8_t> packed = PackLineObjects(list);
    FreeLineObjectList(list);
    if (packed.size() > kBlobLengthBytes)
        store.SetItem(item.share, kIntradayObjects, item.subKey,
                      MakeBlob(std::span(packed).subspan(kBlobLengthBytes)));
}

// "RTGraph.cfg"; false when there is none.
bool MergeRTGraph(KeyedItemStore& store, std::span<const PackedDate> heldDays)
{
    const fs::path path = AppPath("RTGraph.cfg");
    const auto bytes = ReadFileBytes(path);
    if (!bytes)
        return false;
    // Without intraday days the lines have nowhere to stand: the file stays for a later start.
    if (heldDays.empty())
        return true;
    ByteReader in(*bytes);
    uint32_t version = 0, second = 0;
    in.u32(version);
    in.u32(second);
    if (in.ok() && version == kRTGraphVersion)
        ForEachImageItem(*bytes, in.position(), [&](const KeyedItemKey& key, Blob blob) {
            const PackedDate day = PackedDate(key.kind);
            if (std::binary_search(heldDays.begin(), heldDays.end(), day))
                AddDayLines(store, key, blob.get(), day);
        });
    ForceDelete(path);
    return true;
}

} // namespace

void MergeOlderLineFiles(KeyedItemStore& store, std::span<const PackedDate> heldDays)
{
    MergeRTLines(store);
    if (!MergeRTGraph(store, heldDays)) {
        store.MergeEodGraphFile();
        return;
    }
    store.SetVersion(3);
}

} // namespace qv
