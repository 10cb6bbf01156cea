// Database writer: the stored forms of Quorva.dat and Comp.dat, field by field.
#include "devtools/lib/DatabaseWriter.h"

#include "core/CompanyData.h"
#include "core/Database.h"
#include "core/RecordFlags.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"

#include <stdexcept>

namespace qv::dev {
namespace {

constexpr size_t kStoredHeadSize = 10;
constexpr size_t kLargestLoadedRecord = 0xFFFF;

void WriteFieldValue(ByteWriter& out, const FieldDescriptor& descriptor, const std::vector<uint8_t>* value)
{
    if ((descriptor.type & 0xF0) == 0x00) {
        if (value && value->size() > 255)
            throw std::invalid_argument("company-data text longer than 255 bytes");
        out.u8(value ? uint8_t(value->size()) : 0);
        if (value)
            out.bytes(value->data(), value->size());
        return;
    }
    size_t width = FixedFieldWidth(descriptor.type);
    if (!value) {
        out.zeros(width);
        return;
    }
    if (value->size() != width)
        throw std::invalid_argument("company-data value of the wrong width");
    out.bytes(value->data(), width);
}

} // namespace

DbItem MakeItem(uint8_t type, float value, uint16_t date)
{
    DbItem item;
    item.bytes[2] = type;
    StoreF32(item.bytes.data() + 8, value);
    StoreU16(item.bytes.data() + 12, date);
    return item;
}

DbRecord ShareRecord(uint16_t id, std::string_view name, uint8_t classByte, std::string_view epic)
{
    DbRecord record;
    record.id = id;
    record.text.append(name);
    record.text.push_back('\0');
    record.text.push_back(char(classByte));
    record.text.append(epic);
    record.text.push_back('\0');
    record.head[kRecordFlagsOffset - 4] = uint8_t(kRecordFlagsNone);
    record.head[kRecordFlagsOffset - 3] = uint8_t(kRecordFlagsNone >> 8);
    record.subRecords.emplace_back();
    return record;
}

std::vector<uint8_t> EncodeRecord(const DbRecord& record, bool oneByteLengths)
{
    if (record.text.size() > 255 || record.items.size() > 255)
        throw std::length_error("record text or item count past 255");
    if (record.subRecords.empty())
        throw std::length_error("a record needs at least one sub-record");
    ByteWriter out;
    out.zeros(oneByteLengths ? 1 : 2);
    out.u16(record.id);
    out.bytes(record.head.data(), oneByteLengths ? 7 : 6);
    out.u8(uint8_t(record.text.size()));
    out.bytes(record.text.data(), record.text.size());
    out.u8(uint8_t(record.items.size()));
    for (const DbItem& item : record.items)
        out.bytes(item.bytes.data(), item.bytes.size());
    for (size_t i = 0; i < record.subRecords.size(); ++i) {
        const DbSubRecord& sub = record.subRecords[i];
        bool last = i + 1 == record.subRecords.size();
        size_t stored = SubRecordLayout::MinStoredLength + sub.body.size();
        if (!last && stored > 0xFFFF)
            throw std::length_error("sub-record too long");
        out.u16(last ? 0 : uint16_t(stored));
        out.u8(sub.kind);
        out.u8(sub.byte3);
        out.f32(sub.issueFigure);
        out.i16(sub.priceScale);
        out.u16(sub.firstDate);
        out.bytes(sub.bytes12.data(), sub.bytes12.size());
        out.bytes(sub.body.data(), sub.body.size());
    }
    std::vector<uint8_t> bytes = out.take();
    size_t loaded = bytes.size() + RecordLayout::SpareAfterHead + SubRecordLayout::RoomSize * record.subRecords.size();
    if (bytes.size() > (oneByteLengths ? 0xFFu : 0xFFFFu) || loaded > kLargestLoadedRecord)
        throw std::length_error("record too long for its length field");
    if (oneByteLengths)
        bytes[0] = uint8_t(bytes.size());
    else
        StoreU16(bytes.data(), uint16_t(bytes.size()));
    return bytes;
}

std::vector<uint8_t> WriteQuorvaDat(const DbFile& file)
{
    std::vector<std::vector<uint8_t>> streams;
    for (const DbEntry& entry : file.entries) {
        ByteWriter stream;
        for (const DbRecord& record : entry.records) {
            std::vector<uint8_t> bytes = EncodeRecord(record, entry.oneByteLengths);
            stream.bytes(bytes.data(), bytes.size());
        }
        if (entry.zeroRecordAfter)
            stream.zeros(kStoredHeadSize);
        if (entry.extra.size() > 0xFFFF)
            throw std::length_error("extra block too long");
        streams.push_back(stream.take());
    }

    ByteWriter out;
    out.bytes("ZQDA", 4);
    out.u8(file.formatVersion);
    out.u8(file.databaseVersion);
    out.zeros(2);
    out.u16(file.wordA);
    out.u16(file.date);
    out.zeros(4);
    out.u32(uint32_t((file.entries.size() + 1) * kDirectoryEntrySize));
    for (size_t i = 0; i < file.entries.size(); ++i) {
        const DbEntry& entry = file.entries[i];
        // A stream size of 0 would end the directory: an entry without bytes states one.
        out.u32(streams[i].empty() ? 1 : uint32_t(streams[i].size()));
        out.u32(0);
        out.u16(entry.statedCount ? *entry.statedCount : uint16_t(entry.records.size()));
        out.u16(uint16_t(entry.extra.size()));
        out.u32(0);
        out.u8(uint8_t(kStoredHeadSize));
        out.u8(0);
        out.u8(entry.oneByteLengths ? 1 : 0);
        out.u8(0);
    }
    out.zeros(kDirectoryEntrySize);
    for (const DbEntry& entry : file.entries)
        out.bytes(entry.extra.data(), entry.extra.size());
    for (const std::vector<uint8_t>& stream : streams)
        out.bytes(stream.data(), stream.size());
    return out.take();
}

std::vector<uint8_t> Text(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> EncodeCompSection(const CompSection& section, bool streams)
{
    ByteWriter descriptors;
    for (const FieldDescriptor& d : section.descriptors) {
        if (d.field == 0 || d.extra.size() > 252)
            throw std::invalid_argument("bad field descriptor");
        descriptors.u8(uint8_t(3 + d.extra.size()));
        descriptors.u8(d.type);
        descriptors.u8(d.field);
        descriptors.bytes(d.extra.data(), d.extra.size());
    }
    descriptors.u8(3);
    descriptors.u8(0);
    descriptors.u8(0);

    ByteWriter data;
    for (const CompanyItem& item : section.items) {
        size_t start = data.size();
        data.u16(0);
        data.u16(item.id);
        if (streams)
            data.u8(item.subRecord);
        for (const FieldDescriptor& d : section.descriptors) {
            auto value = item.values.find(d.field);
            WriteFieldValue(data, d, value == item.values.end() ? nullptr : &value->second);
        }
        if (data.size() - start > 0xFFFF)
            throw std::length_error("company-data item too long");
        data.patchU16(start, uint16_t(data.size() - start));
    }
    if (descriptors.size() > 0xFFFF)
        throw std::length_error("field-descriptor table too long");

    ByteWriter out;
    out.bytes("ZQDC", 4);
    out.u8(section.version);
    out.zeros(3);
    out.u16(section.word);
    out.zeros(2);
    out.u32(uint32_t(data.size()));
    out.u16(uint16_t(descriptors.size()));
    out.bytes(descriptors.data().data(), descriptors.size());
    out.bytes(data.data().data(), data.size());
    return out.take();
}

std::vector<uint8_t> WriteCompDat(const CompFile& file)
{
    std::vector<uint8_t> bytes = EncodeCompSection(file.records, false);
    std::vector<uint8_t> second = EncodeCompSection(file.streams, true);
    bytes.insert(bytes.end(), second.begin(), second.end());
    return bytes;
}

bool WriteDatabaseFolder(const std::filesystem::path& folder, const DbFile& file, const CompFile* comp)
{
    std::error_code error;
    std::filesystem::create_directories(folder / "data", error);
    if (!WriteFileBytes(folder / "data" / "Quorva.dat", WriteQuorvaDat(file)))
        return false;
    return !comp || WriteFileBytes(folder / "data" / "Comp.dat", WriteCompDat(*comp));
}

} // namespace qv::dev
