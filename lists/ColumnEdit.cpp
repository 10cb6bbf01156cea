// Layout edits as plain functions over the packed records.
#include "lists/ColumnEdit.h"

#include "core/ColumnDef.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstdlib>

namespace qv {
namespace {

using namespace ColumnDefLayout;

constexpr uint8_t kUpDownBit = 0x10;

// Byte offsets of every record of a sound layout, plus the terminator's.
std::optional<std::vector<size_t>> RecordOffsets(std::span<const uint8_t> layout)
{
    if (ValidateColumnLayout(layout) == 0)
        return std::nullopt;
    std::vector<size_t> offsets;
    size_t pos = 0;
    while (layout[pos] != 0) {
        offsets.push_back(pos);
        pos += layout[pos];
    }
    offsets.push_back(pos);
    return offsets;
}

std::vector<uint8_t> Spliced(std::span<const uint8_t> layout, size_t at, size_t removed, std::span<const uint8_t> inserted)
{
    std::vector<uint8_t> out(layout.begin(), layout.begin() + long(at));
    out.insert(out.end(), inserted.begin(), inserted.end());
    const size_t end = ValidateColumnLayout(layout);
    out.insert(out.end(), layout.begin() + long(at + removed), layout.begin() + long(end));
    return out;
}

int MulDiv(int a, int b, int c)
{
    const long long product = (long long)a * b;
    const long long half = c / 2;
    return int(product >= 0 ? (product + half) / c : (product - half) / c);
}

// Where parameter bytes may go: inside the template, before its own title, never into an expression.
size_t ParameterLimit(const std::vector<uint8_t>& record)
{
    if (record[Kind] == kColumnFormula)
        return 0;
    return record[TitleOffset] != 0 ? record[TitleOffset] : record.size();
}

void PutByte(std::vector<uint8_t>& record, int k, uint32_t value)
{
    const size_t at = Parameters + 1 + size_t(k);
    if (at < ParameterLimit(record))
        record[at] = uint8_t(value);
}

void PutWord(std::vector<uint8_t>& record, int k, uint32_t value)
{
    PutByte(record, k, value & 0xFF);
    PutByte(record, k + 1, (value >> 8) & 0xFF);
}

void PackParameters(std::vector<uint8_t>& record, int32_t p1, int32_t p2)
{
    const uint32_t u1 = uint32_t(p1);
    const uint32_t u2 = uint32_t(p2);
    if (record[FieldCode] == 94 && record[SubKind] < 8) {
        PutByte(record, 0, u1);
        PutWord(record, 1, u2);
        return;
    }
    if (p2 == 0 || p2 == -1) {
        if (p1 != 0 && p1 != -1) {
            PutByte(record, 0, u1 >> 16);
            PutWord(record, 1, u1);
        }
        return;
    }
    PutWord(record, 1, u1);
    PutByte(record, 0, u1 >> 16);
    PutByte(record, 3, u2 >> 16);
    PutWord(record, 4, u2);
}

bool TakesUpDown(const std::vector<uint8_t>& record)
{
    switch (record[FieldCode]) {
    case 18: case 27: case 31: case 56: case 57: return true;
    case 94: return record[SubKind] == 6 || record[SubKind] == 7;
    default: return false;
    }
}

void ScaleWidth(std::vector<uint8_t>& record, int pointSize, int dpi)
{
    StoreU16(record.data() + Width, ScaleTemplateWidth(LoadU16(record.data() + Width), pointSize, dpi));
}

std::optional<std::vector<uint8_t>> InsertRecord(std::span<const uint8_t> layout, const std::vector<uint8_t>& record, int insertAt)
{
    const auto offsets = RecordOffsets(layout);
    if (!offsets || int(offsets->size()) - 1 >= kMaxLayoutColumns)
        return std::nullopt;
    const int count = int(offsets->size()) - 1;
    const int at = insertAt < 0 || insertAt > count ? count : insertAt;
    std::vector<uint8_t> out = Spliced(layout, (*offsets)[size_t(at)], 0, record);
    if (ValidateColumnLayout(out) == 0)
        return std::nullopt;
    return out;
}

bool IsColumnRecord(std::span<const uint8_t> record)
{
    return record.size() >= kColumnDefBytes && record[Length] == record.size();
}

} // namespace

uint16_t ScaleTemplateWidth(int width12, int pointSize, int dpi)
{
    const int h = MulDiv(pointSize, dpi, 72);
    const int width = std::abs(width12 * h / 12);
    return uint16_t(std::clamp(width, int(kMinColumnWidth), int(kMaxColumnWidth)));
}

std::optional<std::vector<uint8_t>> AddTemplateColumn(std::span<const uint8_t> layout, std::span<const uint8_t> templ,
    const AddColumnRequest& request)
{
    if (!IsColumnRecord(templ))
        return std::nullopt;
    std::vector<uint8_t> record(templ.begin(), templ.end());
    PackParameters(record, request.parameter1, request.parameter2);
    ScaleWidth(record, request.pointSize, request.dpi);
    if (request.parameter1 == -1)
        record[Kind] = kColumnHolding;
    if (record[Kind] == kColumnNote)
        record[FormatA] = uint8_t(request.noteNumber);
    if (TakesUpDown(record))
        record[Align] |= kUpDownBit;
    return InsertRecord(layout, record, request.insertAt);
}

std::optional<std::vector<uint8_t>> InsertColumnRecord(std::span<const uint8_t> layout, std::span<const uint8_t> prepared,
    int insertAt, int pointSize, int dpi)
{
    if (!IsColumnRecord(prepared))
        return std::nullopt;
    std::vector<uint8_t> record(prepared.begin(), prepared.end());
    const uint8_t first = record.size() > Parameters + 1 ? uint8_t(record[Parameters + 1] & ~0x20) : 0;
    if (first == 1 || first == 2)
        record[FormatA] = 1;
    const uint8_t code = record[FieldCode];
    if ((code == 75 && (first == 1 || first == 2 || first == 5 || first == 6)) || (code == 73 && first == 0))
        record[Align] |= kUpDownBit;
    ScaleWidth(record, pointSize, dpi);
    return InsertRecord(layout, record, insertAt);
}

std::optional<std::vector<uint8_t>> InsertRecordAsIs(std::span<const uint8_t> layout, std::span<const uint8_t> record, int insertAt)
{
    if (!IsColumnRecord(record))
        return std::nullopt;
    return InsertRecord(layout, std::vector<uint8_t>(record.begin(), record.end()), insertAt);
}

std::vector<uint8_t> ResultsColumnRecord(int itemGroup, int item, int8_t year)
{
    const uint8_t formatB = (itemGroup & 7) != 0 ? 1 : 2;
    std::vector<uint8_t> record;
    AppendColumnDef(record, ColumnOf(kColumnResults, uint8_t((itemGroup << 4) | (item & 15))).withAlign(1).withFormatA(1)
        .withFormatB(formatB).withOption(year).withWidth(60).withParameters(std::vector<uint8_t>{0}));
    return record;
}

std::vector<uint8_t> ResultsChangeColumnRecord(int itemCode, uint8_t yearByte)
{
    std::vector<uint8_t> record;
    AppendColumnDef(record, ColumnOf(kColumnResultsChange, uint8_t(itemCode)).withAlign(1).withWidth(70).withFormatB(2)
        .withOption(int8_t(yearByte)));
    return record;
}

std::vector<uint8_t> FieldColumnRecord(uint8_t code, bool narrow)
{
    ColumnDefSpec spec = ColumnOf(kColumnField, code).withWidth(narrow ? 60 : 120);
    if (code == 0x71 || code == 0x72 || code == 0x75)
        spec.withAlign(0);
    spec.withTextColumn(code == 0x70 || code == 0x71 || code == 0x72 || code == 0x75);
    std::vector<uint8_t> record;
    AppendColumnDef(record, spec);
    return record;
}

std::optional<std::vector<uint8_t>> RemoveColumn(std::span<const uint8_t> layout, int column)
{
    const auto offsets = RecordOffsets(layout);
    if (!offsets || column < 0 || column >= int(offsets->size()) - 1 || offsets->size() <= 2)
        return std::nullopt;
    const size_t at = (*offsets)[size_t(column)];
    return Spliced(layout, at, layout[at], {});
}

std::optional<std::vector<uint8_t>> MoveColumn(std::span<const uint8_t> layout, int from, int to)
{
    const auto offsets = RecordOffsets(layout);
    if (!offsets)
        return std::nullopt;
    const int count = int(offsets->size()) - 1;
    if (from < 0 || from >= count)
        return std::nullopt;
    to = std::clamp(to, 0, count - 1);
    const size_t at = (*offsets)[size_t(from)];
    const std::vector<uint8_t> record(layout.begin() + long(at), layout.begin() + long(at + layout[at]));
    std::vector<uint8_t> without = Spliced(layout, at, record.size(), {});
    return InsertRecord(without, record, to);
}

std::optional<std::vector<uint8_t>> RetitleColumn(std::span<const uint8_t> layout, int column, std::string_view title,
    std::string_view defaultHeading)
{
    const auto offsets = RecordOffsets(layout);
    if (!offsets || column < 0 || column >= int(offsets->size()) - 1)
        return std::nullopt;
    const size_t at = (*offsets)[size_t(column)];
    std::vector<uint8_t> record(layout.begin() + long(at), layout.begin() + long(at + layout[at]));
    if (record.size() < kColumnDefBytes)
        return std::nullopt;
    if (record[TitleOffset] != 0)
        record.resize(record[TitleOffset]);
    record[TitleOffset] = 0;
    if (!title.empty() && title != defaultHeading && record.size() < 254) {
        const size_t room = 255 - record.size() - 1;
        const std::string_view kept = title.substr(0, std::min(room, title.find('\0')));
        record[TitleOffset] = uint8_t(record.size());
        record.insert(record.end(), kept.begin(), kept.end());
        record.push_back(0);
    }
    record[Length] = uint8_t(record.size());
    return Spliced(layout, at, layout[at], record);
}

void SetColumnWidth(uint8_t* def, int width)
{
    StoreU16(def + Width, uint16_t(std::clamp(width, int(kMinColumnWidth), int(kMaxColumnWidth))));
}

int SortAfterInsert(int signedSort, int insertedAt)
{
    const int column = std::abs(signedSort) - 1;
    if (signedSort == 0 || insertedAt > column)
        return signedSort;
    return signedSort > 0 ? signedSort + 1 : signedSort - 1;
}

int SortAfterRemove(int signedSort, int removed, bool& unsorted)
{
    unsorted = false;
    const int column = std::abs(signedSort) - 1;
    if (removed == column) {
        unsorted = true;
        return 1;
    }
    if (signedSort == 0 || removed > column)
        return signedSort;
    return signedSort > 0 ? signedSort - 1 : signedSort + 1;
}

int SortAfterMove(int signedSort, int from, int to)
{
    if (signedSort == 0)
        return 0;
    const int column = std::abs(signedSort) - 1;
    int moved = column;
    if (column == from)
        moved = to;
    else if (from < column && to >= column)
        moved = column - 1;
    else if (from > column && to <= column)
        moved = column + 1;
    return signedSort < 0 ? -(moved + 1) : moved + 1;
}

int SortForColumnCommand(int signedSort, int column)
{
    return signedSort == column + 1 ? -(column + 1) : column + 1;
}

} // namespace qv
