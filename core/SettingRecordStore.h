// Small per-share and per-list settings in one growable block of variable-length records:
// record {u16 length, u16 key, u8 sub-key, sub-records, u16 0}, sub-record {u16 length, u8 id, data},
// and a u16 0 where the next record's length would stand at the end of the block.
#pragma once

#include <cstdint>
#include <span>

namespace qv {

// Walks every sub-record with one id across the block. `record` null means the start of the block.
// The pointers stay valid only until the store changes.
struct SettingIterator {
    uint8_t* record = nullptr;
    uint8_t* data = nullptr;
    uint8_t id = 0;
};

class SettingRecordStore {
public:
    static constexpr uint32_t kEmptyRecordSize = 7;
    static constexpr uint32_t kStep = 1000;
    static constexpr uint32_t kSlack = 500;

    SettingRecordStore();
    ~SettingRecordStore();
    SettingRecordStore(const SettingRecordStore&) = delete;
    SettingRecordStore& operator=(const SettingRecordStore&) = delete;

    // The sub-record's data, or null.
    uint8_t* get(uint16_t key, uint8_t subKey, uint8_t id);
    // Adds the sub-record, replacing one with the same id, creating the record when needed. False
    // (store unchanged) when the record would outgrow its 16-bit length.
    bool set(uint16_t key, uint8_t subKey, uint8_t id, const void* data, uint32_t size);
    void remove(uint16_t key, uint8_t subKey, uint8_t id);
    void removeAll(uint8_t id);
    void removeKey(uint16_t key);
    bool has(uint8_t id) const;
    SettingIterator* findNext(SettingIterator& iterator);
    // The first id in [first, first + count) the record does not use; `first` when there is no such
    // record; 0 when every id is taken.
    uint8_t findFreeId(uint16_t key, uint8_t subKey, uint8_t first, uint32_t count) const;

    // Rebuilds the block keeping only well-formed sub-records with stored ids (1-4, 128-143); a
    // foreign id is reported as corruption and ends its record. True when nothing was corrupt.
    bool compact();
    // Takes a block read from a file through the same rules, so that nothing unchecked is walked.
    bool load(std::span<const uint8_t> bytes);

    // The block up to and including its end mark, as it is saved.
    std::span<const uint8_t> bytes() const;
    uint32_t capacity() const { return capacity_; }

private:
    static constexpr uint32_t kNone = UINT32_MAX;

    uint32_t used() const;
    uint32_t findRecord(uint16_t key, uint8_t subKey) const;
    uint32_t findRecordWithKey(uint16_t key) const;
    uint32_t findSub(uint32_t record, uint8_t id) const;
    uint32_t recordLength(uint32_t record) const;
    void removeBytes(uint32_t offset, uint32_t count);
    void removeSub(uint32_t record, uint32_t sub);
    bool makeRoom(uint32_t extra);
    bool rebuildFrom(const uint8_t* old, uint32_t oldSize);

    uint8_t* block_ = nullptr;
    uint32_t capacity_ = 0;
};

// The program's store, saved inside "Graph.cfg".
SettingRecordStore& SettingRecords();

uint8_t* GetSettingRecord(uint16_t key, uint8_t subKey, uint8_t id);
// Bytes of data behind a pointer that GetSettingRecord or an iterator gave.
uint32_t SettingDataSize(const uint8_t* data);
bool SetSettingRecord(uint16_t key, uint8_t subKey, uint8_t id, const void* data, uint32_t size);
void DeleteSettingRecord(uint16_t key, uint8_t subKey, uint8_t id);
void DeleteSettingAll(uint8_t id);
void DeleteSettingKey(uint16_t key);
bool HasSettingRecord(uint8_t id);
SettingIterator* FindNextSettingRecord(SettingIterator& iterator);
uint8_t FindFreeSettingId(uint16_t key, uint8_t subKey, uint8_t first, uint32_t count);
void CompactSettingRecords();

// Tells the user the stored settings are damaged; the first time in a run it also sets the program
// folder's "Graph.cfg" aside as "Graph.bak".
void ReportDataCorruption();
// Forgets that "Graph.cfg" was set aside this run (for tests, which run many "runs" in one process).
void ResetDataCorruptionReport();

} // namespace qv
