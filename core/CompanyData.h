// Company data from "data\Comp.dat": the field-descriptor and data tables of records and of
// sub-records, the linking of records to their items, and the field lookup inside an item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace qv {

class DatabaseSource;

// A table as read; its size bounds every walk over it.
struct CompanyTable {
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
};

// First section: fields of records (numbers below 128); data items {u16 length, u16 id, data}.
extern CompanyTable RecordFieldDescriptors;
extern CompanyTable RecordFieldData;
// Second section: fields of sub-records (128 and up); items {u16 length, u16 id, u8 sub-record, data}.
extern CompanyTable StreamFieldDescriptors;
extern CompanyTable StreamFieldData;
extern uint16_t CompanyDataWord;

constexpr uint32_t kRecordItemHead = 4;
constexpr uint32_t kStreamItemHead = 5;

enum class CompanySectionResult {
    Read,
    NotUnderstood,  // a newer section, skipped by its sizes
    BadlyFormatted, // header unreadable, without its tag, or a failing read
    FileEnded,      // the file ends inside the tables: read as far as it goes
};

// Reads one section from the file's position into the two tables (freed and replaced).
CompanySectionResult LoadCompanySection(DatabaseSource& file, CompanyTable& descriptors, CompanyTable& data);
// Reads both sections, showing the boxes of a newer or badly formatted section.
void LoadCompanyData(DatabaseSource& file);
void FreeCompanyData();

// The field data of an item linked to a record or sub-record: [begin, end), or empty.
struct FieldData {
    const uint8_t* begin = nullptr;
    const uint8_t* end = nullptr;
    explicit operator bool() const { return begin != nullptr; }
};
// The field data of a record (ids below 0x8000 only) or of a sub-record, checked against the table.
FieldData RecordFieldDataOf(const uint8_t* record);
FieldData SubRecordFieldDataOf(const uint8_t* subRecord);

// The bytes a field of this descriptor type takes when its width is fixed by the type (0 for texts,
// whose first byte holds their length).
size_t FixedFieldWidth(uint8_t type);

// The data of field `field` in an item's field data as the descriptor table lays it out, or null;
// the field's own bytes lie inside the data. `descriptor` receives the descriptor reached (or null),
// `width` the bytes the value takes.
const uint8_t* FindFieldData(const CompanyTable& descriptors, FieldData data, uint32_t field,
                             const uint8_t** descriptor, size_t* width = nullptr);

// Links records and sub-records to their items: the item at the running cursor when its key
// matches, else the first item with the key; the cursor moves behind a linked item.
class CompanyItemLinker {
public:
    CompanyItemLinker(const CompanyTable& table, uint32_t itemHead);
    // The link word for an item with this key (offset of its field data in the table), 0 for none.
    uint32_t link(uint16_t id, uint8_t subRecord = 0);

private:
    static uint32_t Key(uint16_t id, uint8_t subRecord) { return uint32_t(id) << 8 | subRecord; }

    const CompanyTable& table_;
    uint32_t itemHead_;
    std::vector<uint32_t> items_; // item offsets in chain order
    std::unordered_map<uint32_t, size_t> first_;
    size_t cursor_ = 0;
};

} // namespace qv
