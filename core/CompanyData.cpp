// Comp.dat: two sections read one after the other from one open file. Tables that the file cuts
// short are kept as far as they go; every walk over them is bounded by their size.
#include "core/CompanyData.h"

#include "core/DatabaseSource.h"
#include "core/Memory.h"
#include "core/RecordAccess.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cstring>

namespace qv {

CompanyTable RecordFieldDescriptors;
CompanyTable RecordFieldData;
CompanyTable StreamFieldDescriptors;
CompanyTable StreamFieldData;
uint16_t CompanyDataWord = 0;

namespace {

constexpr size_t kSectionHeaderSize = 16;
constexpr uint8_t kNewestSectionVersion = 1;

void FreeTable(CompanyTable& table)
{
    ProFree(table.bytes);
    table = {};
}

// Reads a table of the stated size, or as much of it as the file holds (FileEnded).
CompanySectionResult ReadTable(DatabaseSource& file, CompanyTable& table, uint32_t stated)
{
    FreeTable(table);
    uint32_t size = uint32_t(std::min<uint64_t>(stated, file.remaining()));
    if (size) {
        table.bytes = static_cast<uint8_t*>(ProCalloc(size, 1, "Company data"));
        table.size = size;
        if (!file.read(table.bytes, size)) {
            FreeTable(table);
            return CompanySectionResult::BadlyFormatted;
        }
    }
    return size == stated ? CompanySectionResult::Read : CompanySectionResult::FileEnded;
}

// Bytes a field's value takes in field data, by its data type; -1 when the count byte is missing.
long FieldWidth(uint8_t type, const uint8_t* data, const uint8_t* end)
{
    if ((type & 0xF0) == 0x00)
        return data < end ? 1L + data[0] : -1;
    return long(FixedFieldWidth(type));
}

FieldData ItemFieldData(const CompanyTable& table, uint32_t link, uint32_t itemHead)
{
    if (!table.bytes || link < itemHead || link > table.size)
        return {};
    uint32_t item = link - itemHead;
    if (table.size - item < 2)
        return {};
    uint16_t length = LoadU16(table.bytes + item);
    if (length < itemHead || length > table.size - item)
        return {};
    return {table.bytes + link, table.bytes + item + length};
}

} // namespace

size_t FixedFieldWidth(uint8_t type)
{
    switch (type & 0xF0) {
    case 0x80:
        return type & 0x0F;
    case 0xD0:
        return 4;
    case 0xE0:
        return 1;
    case 0xF0:
        return 2;
    default:
        return 0;
    }
}

CompanySectionResult LoadCompanySection(DatabaseSource& file, CompanyTable& descriptors, CompanyTable& data)
{
    uint8_t header[kSectionHeaderSize];
    if (!file.read(header, sizeof header) || std::memcmp(header, "ZQD", 3) != 0)
        return CompanySectionResult::BadlyFormatted;
    uint32_t dataSize = LoadU32(header + 12);
    uint8_t sizeBytes[2] = {};
    bool haveDescriptorSize = file.read(sizeBytes, 2);
    uint16_t descriptorSize = LoadU16(sizeBytes);
    if (header[4] > kNewestSectionVersion) {
        // Skipped by its sizes, so that the next section starts where it really lies.
        if (!haveDescriptorSize || !file.skip(uint64_t(descriptorSize) + dataSize))
            file.seek(file.size());
        return CompanySectionResult::NotUnderstood;
    }
    CompanyDataWord = LoadU16(header + 8);
    if (!haveDescriptorSize)
        return file.remaining() ? CompanySectionResult::BadlyFormatted : CompanySectionResult::FileEnded;
    CompanySectionResult result = ReadTable(file, descriptors, descriptorSize);
    if (result != CompanySectionResult::Read)
        return result;
    return ReadTable(file, data, dataSize);
}

void LoadCompanyData(DatabaseSource& file)
{
    CompanyTable* tables[2][2] = {{&RecordFieldDescriptors, &RecordFieldData},
                                  {&StreamFieldDescriptors, &StreamFieldData}};
    for (auto& section : tables) {
        switch (LoadCompanySection(file, *section[0], *section[1])) {
        case CompanySectionResult::Read:
            break;
        case CompanySectionResult::NotUnderstood:
            ShowMessage("Comp.dat can not be understood");
            break;
        case CompanySectionResult::BadlyFormatted:
            ShowMessage("Comp.dat badly formatted");
            break;
        case CompanySectionResult::FileEnded:
            return;
        }
    }
}

void FreeCompanyData()
{
    FreeTable(RecordFieldDescriptors);
    FreeTable(RecordFieldData);
    FreeTable(StreamFieldDescriptors);
    FreeTable(StreamFieldData);
}

FieldData RecordFieldDataOf(const uint8_t* record)
{
    if (!record || RecordId(record) >= 0x8000)
        return {};
    return ItemFieldData(RecordFieldData, LoadU32(record + RecordLayout::CompanyData), kRecordItemHead);
}

FieldData SubRecordFieldDataOf(const uint8_t* subRecord)
{
    if (!subRecord)
        return {};
    return ItemFieldData(StreamFieldData, LoadU32(subRecord + SubRecordLayout::CompanyData), kStreamItemHead);
}

const uint8_t* FindFieldData(const CompanyTable& descriptors, FieldData data, uint32_t field,
                             const uint8_t** descriptor, size_t* width)
{
    if (descriptor)
        *descriptor = nullptr;
    if (!data || !descriptors.bytes)
        return nullptr;
    const uint8_t* d = descriptors.bytes;
    const uint8_t* tableEnd = descriptors.bytes + descriptors.size;
    const uint8_t* value = data.begin;
    for (;;) {
        // A descriptor is {length, data type, field number, ...}; a length of 0 or one that does not
        // cover those three bytes, or runs past the table, ends the walk without an answer.
        if (tableEnd - d < 3 || d[0] < 3 || d[0] > tableEnd - d)
            return nullptr;
        if (descriptor)
            *descriptor = d;
        if (d[2] == 0)
            return nullptr;
        long bytes = FieldWidth(d[1], value, data.end);
        if (bytes < 0 || bytes > data.end - value)
            return nullptr;
        if (d[2] == field) {
            if (width)
                *width = size_t(bytes);
            return value;
        }
        value += bytes;
        d += d[0];
    }
}

CompanyItemLinker::CompanyItemLinker(const CompanyTable& table, uint32_t itemHead)
    : table_(table), itemHead_(itemHead)
{
    uint32_t offset = 0;
    while (table.bytes && table.size - offset >= itemHead) {
        uint16_t length = LoadU16(table.bytes + offset);
        if (length < itemHead || length > table.size - offset)
            break;
        uint8_t sub = itemHead == kStreamItemHead ? table.bytes[offset + 4] : 0;
        first_.try_emplace(Key(LoadU16(table.bytes + offset + 2), sub), items_.size());
        items_.push_back(offset);
        offset += length;
    }
}

uint32_t CompanyItemLinker::link(uint16_t id, uint8_t subRecord)
{
    auto keyAt = [this](size_t i) {
        const uint8_t* item = table_.bytes + items_[i];
        return Key(LoadU16(item + 2), itemHead_ == kStreamItemHead ? item[4] : 0);
    };
    size_t found;
    if (cursor_ < items_.size() && keyAt(cursor_) == Key(id, subRecord)) {
        found = cursor_;
    } else {
        auto it = first_.find(Key(id, subRecord));
        if (it == first_.end())
            return 0;
        found = it->second;
    }
    cursor_ = found + 1;
    return items_[found] + itemHead_;
}

} // namespace qv
