// Field places in records, sub-records and company data.
#include "lists/FieldValue.h"

#include "core/CompanyData.h"
#include "core/PriceSubRecords.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"

namespace qv {

int ListFamily(const ShareList* list) { return list ? list->family : kFamilyShares; }

std::span<const uint8_t> ListFieldTable(const ShareList* list)
{
    int family = ListFamily(list);
    if (family == kFamilyShares || family == kFamilyTicker || family < 0 || family > kFamilyTicker)
        return DatabaseFieldTable();
    return {};
}

std::span<uint8_t> RowSubRecord(uint8_t* record, uint32_t extra)
{
    if (!record || RecordBytes(record) < RecordLayout::TextLength)
        return {};
    SubRecordSpan span = SubRecordOf(record, extra);
    if (!span || span.end < span.sub + SubRecordLayout::Stream)
        return {};
    return {span.sub, size_t(span.end - span.sub)};
}

std::span<const uint8_t> FieldBytes(const FieldTableEntry& entry, uint8_t* record, uint32_t extra, int code)
{
    if (!record)
        return {};
    if (entry.offset >= kSubRecordOffsetsFrom) {
        std::span<uint8_t> sub = RowSubRecord(record, extra);
        size_t at = 256u - entry.offset;
        return at < sub.size() ? std::span<const uint8_t>(sub.subspan(at)) : std::span<const uint8_t>{};
    }
    if (entry.offset == 0) {
        const uint8_t* descriptor = nullptr;
        RecordCursor cursor{record, extra};
        const uint8_t* data = GetFieldDescriptor(uint32_t(code), &descriptor, &cursor, 0);
        if (!data || !descriptor)
            return {};
        uint8_t type = descriptor[1];
        size_t width = FixedFieldWidth(type);
        if (width == 0)
            width = 1 + size_t(data[0]);
        return {data, width};
    }
    const size_t length = RecordBytes(record);
    return entry.offset < length ? std::span<const uint8_t>(record + entry.offset, length - entry.offset)
                                 : std::span<const uint8_t>{};
}

bool ReadU8(std::span<const uint8_t> b, size_t at, uint32_t& out)
{
    if (at >= b.size())
        return false;
    out = b[at];
    return true;
}

bool ReadU16(std::span<const uint8_t> b, size_t at, uint32_t& out)
{
    if (b.size() < 2 || at > b.size() - 2)
        return false;
    out = LoadU16(b.data() + at);
    return true;
}

bool ReadU32(std::span<const uint8_t> b, size_t at, uint32_t& out)
{
    if (b.size() < 4 || at > b.size() - 4)
        return false;
    out = LoadU32(b.data() + at);
    return true;
}

bool ReadF32(std::span<const uint8_t> b, size_t at, float& out)
{
    uint32_t bits = 0;
    if (!ReadU32(b, at, bits))
        return false;
    std::memcpy(&out, &bits, 4);
    return true;
}

} // namespace qv
