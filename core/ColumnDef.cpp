// Column records: the walk to column n, the layout check and building records.
#include "core/ColumnDef.h"

#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace qv {
namespace {

constexpr int kFallbackColumn = 2;

template <typename Byte>
Byte* WalkTo(Byte* layout, int n)
{
    if (!layout)
        return nullptr;
    if (n >= kMaxLayoutColumns)
        n = kFallbackColumn;
    Byte* p = layout;
    for (int i = 0; i < n && *p != 0; ++i)
        p += *p;
    return p;
}

// True when a NUL lies in record bytes [from, length).
bool NulInside(std::span<const uint8_t> record, size_t from)
{
    return from < record.size() && std::find(record.begin() + long(from), record.end(), 0) != record.end();
}

bool RecordIsSound(std::span<const uint8_t> record)
{
    using namespace ColumnDefLayout;
    if (record.size() == 1)
        return true; // a filler
    if (record.size() < kColumnDefBytes)
        return false;
    size_t title = record[TitleOffset];
    if (title != 0 && (title < kColumnDefBytes || !NulInside(record, title)))
        return false;
    if (record[Kind] != kColumnFormula)
        return true;
    size_t formula = record.size() > FormulaLength ? record[FormulaLength] : 0;
    size_t titleAt = FormulaLength + formula;
    // The expression holds at least its 0xFF, which is its last byte.
    if (formula < 2 || titleAt >= record.size() || record[titleAt - 1] != kExpressionEnd)
        return false;
    return NulInside(record, titleAt);
}

} // namespace

const uint8_t* GetColumnDef(const uint8_t* layout, int n) { return WalkTo(layout, n < 0 ? 0 : n); }

uint8_t* GetColumnDef(uint8_t* layout, int n) { return WalkTo(layout, n < 0 ? 0 : n); }

int ColumnOfSignedNumber(int signedColumn)
{
    int column = (signedColumn < 0 ? -signedColumn : signedColumn) - 1;
    return column >= kMaxLayoutColumns ? kFallbackColumn : column;
}

size_t ValidateColumnLayout(std::span<const uint8_t> layout)
{
    size_t pos = 0;
    for (int records = 0; pos < layout.size(); ++records) {
        size_t length = layout[pos];
        if (length == 0)
            return pos + 1;
        if (records == kMaxLayoutColumns || length > layout.size() - pos ||
            !RecordIsSound(layout.subspan(pos, length)))
            return 0;
        pos += length;
    }
    return 0;
}

int CountColumnDefs(const uint8_t* layout)
{
    int n = 0;
    for (const uint8_t* p = layout; p && *p != 0; p += *p)
        ++n;
    return n;
}

uint16_t ColumnDefWidth(const uint8_t* def) { return LoadU16(def + ColumnDefLayout::Width); }

const char* ColumnDefOwnTitle(const uint8_t* def)
{
    uint8_t title = def[ColumnDefLayout::TitleOffset];
    return title != 0 && def[0] > title ? reinterpret_cast<const char*>(def + title) : nullptr;
}

const char* ColumnDefFormulaTitle(const uint8_t* def)
{
    using namespace ColumnDefLayout;
    if (def[0] <= FormulaLength || def[Kind] != kColumnFormula)
        return nullptr;
    size_t at = FormulaLength + def[FormulaLength];
    return at < def[0] ? reinterpret_cast<const char*>(def + at) : nullptr;
}

void AppendColumnDef(std::vector<uint8_t>& layout, const ColumnDefSpec& spec)
{
    using namespace ColumnDefLayout;
    std::vector<uint8_t> record(kColumnDefBytes, 0);
    record[Kind] = spec.kind;
    record[Align] = spec.align;
    record[FormatA] = spec.formatA;
    record[FormatB] = spec.formatB;
    record[Option] = uint8_t(spec.option);
    record[TextColumn] = spec.textColumn ? 1 : 0;
    record[SubKind] = spec.subKind;
    StoreU16(record.data() + Width, spec.width);
    record[FieldCode] = spec.code;
    record.insert(record.end(), spec.parameters.begin(), spec.parameters.end());
    if (!spec.ownTitle.empty()) {
        record[TitleOffset] = uint8_t(record.size());
        record.insert(record.end(), spec.ownTitle.begin(), spec.ownTitle.end());
        record.push_back(0);
    }
    if (record.size() > 255)
        throw std::length_error("a column record is longer than 255 bytes");
    record[Length] = uint8_t(record.size());
    layout.insert(layout.end(), record.begin(), record.end());
}

} // namespace qv
