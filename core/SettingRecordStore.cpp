// The setting record store: insertion, removal, lookup, compaction and the corruption report.
#include "core/SettingRecordStore.h"

#include "core/Memory.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qv {
namespace {

constexpr uint32_t kRecordHead = 5;
constexpr uint32_t kSubHead = 3;
constexpr uint32_t kEndMark = 2;

bool IsStoredId(uint8_t id) { return (id >= 1 && id <= 4) || (id >= 128 && id <= 143); }

} // namespace

SettingRecordStore::SettingRecordStore()
    : block_(static_cast<uint8_t*>(ProCalloc(kStep, 1, "Setting records"))), capacity_(kStep)
{
}

SettingRecordStore::~SettingRecordStore() { ProFree(block_); }

// Record lengths are checked on every walk; the block is kept well formed, so a length that does
// not fit can only end the walk.
uint32_t SettingRecordStore::recordLength(uint32_t record) const
{
    if (record + kEndMark > capacity_)
        return 0;
    uint32_t length = LoadU16(block_ + record);
    if (length < kEmptyRecordSize || record + length + kEndMark > capacity_)
        return 0;
    return length;
}

uint32_t SettingRecordStore::used() const
{
    uint32_t r = 0;
    while (uint32_t length = recordLength(r))
        r += length;
    return r + kEndMark;
}

uint32_t SettingRecordStore::findRecord(uint16_t key, uint8_t subKey) const
{
    for (uint32_t r = 0, length; (length = recordLength(r)) != 0; r += length)
        if (LoadU16(block_ + r + 2) == key && block_[r + 4] == subKey)
            return r;
    return kNone;
}

uint32_t SettingRecordStore::findRecordWithKey(uint16_t key) const
{
    for (uint32_t r = 0, length; (length = recordLength(r)) != 0; r += length)
        if (LoadU16(block_ + r + 2) == key)
            return r;
    return kNone;
}

uint32_t SettingRecordStore::findSub(uint32_t record, uint8_t id) const
{
    uint32_t end = record + recordLength(record) - kEndMark;
    for (uint32_t s = record + kRecordHead; s + kSubHead <= end;) {
        uint32_t length = LoadU16(block_ + s);
        if (length < kSubHead || s + length > end)
            return kNone;
        if (block_[s + 2] == id)
            return s;
        s += length;
    }
    return kNone;
}

void SettingRecordStore::removeBytes(uint32_t offset, uint32_t count)
{
    uint32_t end = used();
    std::memmove(block_ + offset, block_ + offset + count, end - offset - count);
    std::memset(block_ + end - count, 0, count);
}

void SettingRecordStore::removeSub(uint32_t record, uint32_t sub)
{
    uint32_t length = LoadU16(block_ + sub);
    uint32_t recordSize = LoadU16(block_ + record) - length;
    removeBytes(sub, length);
    StoreU16(block_ + record, uint16_t(recordSize));
    if (recordSize == kEmptyRecordSize)
        removeBytes(record, kEmptyRecordSize);
}

// Grows in whole steps until the insertion leaves the slack free, however large the record.
bool SettingRecordStore::makeRoom(uint32_t extra)
{
    uint64_t needed = uint64_t(used()) + extra + kSlack;
    uint64_t capacity = capacity_;
    while (capacity < needed)
        capacity += kStep;
    if (capacity == capacity_)
        return true;
    if (capacity > UINT32_MAX)
        return false;
    block_ = static_cast<uint8_t*>(ProRealloc(block_, uint32_t(capacity)));
    std::memset(block_ + capacity_, 0, size_t(capacity - capacity_));
    capacity_ = uint32_t(capacity);
    return true;
}

uint8_t* SettingRecordStore::get(uint16_t key, uint8_t subKey, uint8_t id)
{
    uint32_t r = findRecord(key, subKey);
    if (r == kNone)
        return nullptr;
    uint32_t s = findSub(r, id);
    return s == kNone ? nullptr : block_ + s + kSubHead;
}

bool SettingRecordStore::set(uint16_t key, uint8_t subKey, uint8_t id, const void* data, uint32_t size)
{
    if (size > 0xFFFF - kSubHead)
        return false;
    uint32_t subSize = size + kSubHead;
    uint32_t r = findRecord(key, subKey);
    uint32_t s = r == kNone ? kNone : findSub(r, id);
    uint32_t recordAfter = (r == kNone ? kEmptyRecordSize : LoadU16(block_ + r)) + subSize -
                           (s == kNone ? 0 : LoadU16(block_ + s));
    if (recordAfter > 0xFFFF)
        return false;
    if (s != kNone) {
        removeSub(r, s);
        r = findRecord(key, subKey);
    }
    if (!makeRoom(subSize + (r == kNone ? kEmptyRecordSize : 0)))
        return false;
    if (r == kNone) {
        r = used() - kEndMark;
        StoreU16(block_ + r, uint16_t(kEmptyRecordSize));
        StoreU16(block_ + r + 2, key);
        block_[r + 4] = subKey;
        StoreU16(block_ + r + 5, 0);
        StoreU16(block_ + r + kEmptyRecordSize, 0);
    }
    uint32_t recordSize = LoadU16(block_ + r);
    uint32_t at = r + recordSize - kEndMark;
    uint32_t end = used();
    std::memmove(block_ + at + subSize, block_ + at, end - at);
    StoreU16(block_ + at, uint16_t(subSize));
    block_[at + 2] = id;
    if (size)
        std::memcpy(block_ + at + kSubHead, data, size);
    StoreU16(block_ + r, uint16_t(recordSize + subSize));
    return true;
}

void SettingRecordStore::remove(uint16_t key, uint8_t subKey, uint8_t id)
{
    uint32_t r = findRecord(key, subKey);
    uint32_t s = r == kNone ? kNone : findSub(r, id);
    if (s != kNone)
        removeSub(r, s);
}

void SettingRecordStore::removeAll(uint8_t id)
{
    for (uint32_t r = 0, length; (length = recordLength(r)) != 0;) {
        uint32_t s = findSub(r, id);
        if (s == kNone) {
            r += length;
            continue;
        }
        removeSub(r, s); // the record may vanish; r then holds the next one
    }
}

void SettingRecordStore::removeKey(uint16_t key)
{
    uint32_t r = findRecordWithKey(key);
    if (r != kNone)
        removeBytes(r, LoadU16(block_ + r));
}

bool SettingRecordStore::has(uint8_t id) const
{
    for (uint32_t r = 0, length; (length = recordLength(r)) != 0; r += length)
        if (findSub(r, id) != kNone)
            return true;
    return false;
}

SettingIterator* SettingRecordStore::findNext(SettingIterator& it)
{
    uint32_t r = it.record ? uint32_t(it.record - block_) : 0;
    uint32_t after = it.data ? uint32_t(it.data - block_) : 0;
    for (uint32_t length; (length = recordLength(r)) != 0; r += length) {
        uint32_t end = r + length - kEndMark;
        for (uint32_t s = r + kRecordHead; s + kSubHead <= end;) {
            uint32_t subLength = LoadU16(block_ + s);
            if (subLength < kSubHead || s + subLength > end)
                break;
            if (block_[s + 2] == it.id && s + kSubHead > after) {
                it.record = block_ + r;
                it.data = block_ + s + kSubHead;
                return &it;
            }
            s += subLength;
        }
    }
    return nullptr;
}

uint8_t SettingRecordStore::findFreeId(uint16_t key, uint8_t subKey, uint8_t first, uint32_t count) const
{
    uint32_t r = findRecord(key, subKey);
    if (r == kNone)
        return first;
    for (uint32_t id = first; id < uint32_t(first) + count && id <= 0xFF; ++id)
        if (findSub(r, uint8_t(id)) == kNone)
            return uint8_t(id);
    return 0;
}

bool SettingRecordStore::rebuildFrom(const uint8_t* old, uint32_t oldSize)
{
    ProFree(block_);
    block_ = static_cast<uint8_t*>(ProCalloc(kStep, 1, "Setting records"));
    capacity_ = kStep;
    bool clean = true;
    for (uint32_t r = 0; r + kEndMark <= oldSize;) {
        uint32_t length = LoadU16(old + r);
        if (length == 0)
            break;
        if (length < kEmptyRecordSize || r + length > oldSize) {
            ReportDataCorruption();
            return false; // no later record can be found past a broken length
        }
        uint16_t key = LoadU16(old + r + 2);
        uint8_t subKey = old[r + 4];
        uint32_t end = r + length - kEndMark;
        for (uint32_t s = r + kRecordHead; s + kSubHead <= end;) {
            uint32_t subLength = LoadU16(old + s);
            if (subLength < kSubHead || s + subLength > end)
                break;
            uint8_t id = old[s + 2];
            if (!IsStoredId(id)) {
                ReportDataCorruption();
                clean = false;
                break;
            }
            set(key, subKey, id, old + s + kSubHead, subLength - kSubHead);
            s += subLength;
        }
        r += length;
    }
    return clean;
}

bool SettingRecordStore::compact()
{
    uint8_t* old = block_;
    uint32_t oldSize = used();
    block_ = nullptr;
    bool clean = rebuildFrom(old, oldSize);
    ProFree(old);
    return clean;
}

bool SettingRecordStore::load(std::span<const uint8_t> bytes)
{
    // A copy, so that the bytes may even come from this store's own block.
    std::vector<uint8_t> copy(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), UINT32_MAX));
    return rebuildFrom(copy.data(), uint32_t(copy.size()));
}

std::span<const uint8_t> SettingRecordStore::bytes() const { return {block_, used()}; }

SettingRecordStore& SettingRecords()
{
    static SettingRecordStore store;
    return store;
}

uint8_t* GetSettingRecord(uint16_t key, uint8_t subKey, uint8_t id) { return SettingRecords().get(key, subKey, id); }

uint32_t SettingDataSize(const uint8_t* data) { return data ? LoadU16(data - kSubHead) - kSubHead : 0; }

bool SetSettingRecord(uint16_t key, uint8_t subKey, uint8_t id, const void* data, uint32_t size)
{
    return SettingRecords().set(key, subKey, id, data, size);
}

void DeleteSettingRecord(uint16_t key, uint8_t subKey, uint8_t id) { SettingRecords().remove(key, subKey, id); }
void DeleteSettingAll(uint8_t id) { SettingRecords().removeAll(id); }
void DeleteSettingKey(uint16_t key) { SettingRecords().removeKey(key); }
bool HasSettingRecord(uint8_t id) { return SettingRecords().has(id); }
SettingIterator* FindNextSettingRecord(SettingIterator& iterator) { return SettingRecords().findNext(iterator); }

uint8_t FindFreeSettingId(uint16_t key, uint8_t subKey, uint8_t first, uint32_t count)
{
    return SettingRecords().findFreeId(key, subKey, first, count);
}

void CompactSettingRecords() { SettingRecords().compact(); }

namespace {
bool graphConfigSetAside = false;
} // namespace

void ReportDataCorruption()
{
    bool& setAside = graphConfigSetAside;
    ShowMessage("There appears to be some data corruption. Please contact Quorvantis support.", {}, MsgButtons::Ok);
    if (setAside)
        return;
    setAside = true;
    RenameNoReplace(AppPath("Graph.cfg"), AppPath("Graph.bak"));
}

void ResetDataCorruptionReport() { graphConfigSetAside = false; }

} // namespace qv
