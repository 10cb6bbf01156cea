// Database descriptions: what the About box counts and what a record holds, as plain text.
#include "devtools/lib/DatabaseDump.h"

#include "core/CompanyData.h"
#include "core/Database.h"
#include "core/RecordAccess.h"
#include "platform/ByteOrder.h"
#include "platform/TextCodec.h"

#include <cstdarg>
#include <cstdio>

namespace qv::dev {
namespace {

void Add(std::string& out, const char* format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out += line;
}

std::string Utf8(std::string_view text) { return Cp1252ToUtf8(std::string(text)); }

int CountItems(const CompanyTable& table, uint32_t itemHead)
{
    int items = 0;
    for (uint32_t at = 0; table.bytes && table.size - at >= itemHead; ++items) {
        uint16_t length = LoadU16(table.bytes + at);
        if (length < itemHead || length > table.size - at)
            break;
        at += length;
    }
    return items;
}

void AddFieldData(std::string& out, FieldData data)
{
    if (!data) {
        out += "none\n";
        return;
    }
    Add(out, "%d bytes:", int(data.end - data.begin));
    for (const uint8_t* p = data.begin; p < data.end && p < data.begin + 24; ++p)
        Add(out, " %02x", *p);
    out += data.end - data.begin > 24 ? " ...\n" : "\n";
}

} // namespace

std::string PackedDateText(uint16_t date)
{
    if (date == 0)
        return "none";
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", (date & 31) + 1, ((date >> 5) & 15) + 1, (date >> 9) + 1900);
    return text;
}

std::string DescribeDatabase()
{
    std::string out;
    Add(out, "Database version 1.%d (format %d), dated %s, word A %u\n", DatabaseMinorVersion, DatabaseVersion,
        PackedDateText(DatabaseDate).c_str(), DatabaseWordA);
    Add(out, "Latest date: %s\n", PackedDateText(LatestDatabaseDate).c_str());
    for (int i = 0; i < DatabaseBlockCount(); ++i) {
        const DatabaseBlock& block = GetDatabaseBlock(i);
        Add(out, "Block %d: %u records, %u sub-records, %u bytes, extra block %u bytes\n", i, block.recordCount,
            block.subRecordCount, block.size, block.extraSize);
    }
    Add(out, "Elements: %d, items in all: %d\n", DatabaseElementCount, TotalItemCount);
    for (int slot = 0; slot < KindCountSlots; ++slot)
        Add(out, "%8d %s\n", KindCounts[slot], KindCountName(slot));
    Add(out, "Company data: %d record items, %d sub-record items\n", CountItems(RecordFieldData, kRecordItemHead),
        CountItems(StreamFieldData, kStreamItemHead));
    return out;
}

std::string DescribeRecord(uint16_t id)
{
    std::string out;
    RecordCursor cursor = FindRecordById(id, 0);
    if (!cursor.record || RecordLength(cursor.record) == 0) {
        Add(out, "Record 0x%04X: none\n", id);
        return out;
    }
    const uint8_t* r = cursor.record;
    RecordTexts texts = GetRecordTexts(r);
    Add(out, "Record 0x%04X \"%s\" EPIC \"%s\" class %d, %u bytes, type byte 0x%02X\n", id, Utf8(texts.name).c_str(),
        Utf8(texts.epic).c_str(), GetRecordClass(&cursor), RecordLength(r), r[RecordLayout::TypeByte]);
    uint8_t textLength = r[RecordLayout::TextLength];
    uint8_t items = r[RecordLayout::Text + textLength];
    for (int i = 0; i < items; ++i) {
        const uint8_t* item = r + RecordLayout::Text + textLength + 1 + i * RecordLayout::ItemSize;
        Add(out, "  item %d: type %u value %g date %s\n", i, item[2], double(LoadF32(item + 8)),
            PackedDateText(LoadU16(item + 12)).c_str());
    }
    out += "  company data: ";
    AddFieldData(out, RecordFieldDataOf(r));
    const uint8_t* sub = FirstSubRecord(r);
    for (uint32_t j = 0;; ++j) {
        uint16_t length = SubRecordLength(sub);
        size_t bytes = length ? length : size_t(r + RecordLength(r) - sub);
        Add(out, "  sub-record %u: kind %u (%s), %zu bytes, issue %g, scale %d, first day %s, last close %g\n", j,
            sub[SubRecordLayout::Kind], KindCountName(KindCountSlotOf(sub[SubRecordLayout::Kind])), bytes,
            double(LoadF32(sub + SubRecordLayout::IssueFigure)), LoadI16(sub + SubRecordLayout::PriceScale),
            PackedDateText(LoadU16(sub + SubRecordLayout::FirstDate)).c_str(), double(LoadF32(sub + 24)));
        out += "    company data: ";
        AddFieldData(out, SubRecordFieldDataOf(sub));
        if (length == 0)
            break;
        sub += length;
    }
    return out;
}

} // namespace qv::dev
