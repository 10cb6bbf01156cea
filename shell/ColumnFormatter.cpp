// The column formatter seam and its stand-in.
#include "shell/ColumnFormatter.h"

#include "core/RecordAccess.h"
#include "core/RecordLookup.h"

namespace qv {

std::string PreviousNamesText(const RecordCursor& cursor)
{
    const uint8_t* descriptor = nullptr;
    const uint8_t* value = GetFieldDescriptor(ColumnField::PreviousNames, &descriptor, &cursor, 0);
    if (!value || !descriptor || (descriptor[1] & 0xF0) != 0x00)
        return {};
    return std::string(reinterpret_cast<const char*>(value + 1), value[0]);
}

namespace {

const char* ShareTypeWord(uint8_t kind)
{
    switch (kind) {
    case SubRecordKind::Index: return "Index";
    case SubRecordKind::Preference:
    case SubRecordKind::Preference2: return "Preference";
    case SubRecordKind::Income: return "Income";
    case SubRecordKind::Capital: return "Capital";
    case SubRecordKind::Ordinary:
    case SubRecordKind::Ordinary2: return "Ordinary";
    case SubRecordKind::Gilt: return "Gilt";
    case SubRecordKind::UnitTrust: return "Unit trust";
    case SubRecordKind::ExchangeRate: return "Exchange rate";
    case SubRecordKind::Commodity: return "Commodity";
    default: return "Other";
    }
}

std::string StandIn(const RecordCursor& cursor, uint32_t field)
{
    if (!cursor.record)
        return {};
    switch (field) {
    case ColumnField::Name:
    case ColumnField::ShortName:
    case ColumnField::PortfolioName: return std::string(GetRecordName(cursor.record));
    case ColumnField::PreviousNames: return PreviousNamesText(cursor);
    case ColumnField::Epic: {
        std::string code;
        GetShareFileCode(cursor, code, false);
        return code;
    }
    case ColumnField::ShareType: {
        const uint8_t* sub = GetSubRecord(cursor, cursor.count);
        return sub ? ShareTypeWord(SubRecordKindOf(sub)) : "";
    }
    default: return {};
    }
}

ColumnFormatter& Formatter()
{
    static ColumnFormatter formatter = StandIn;
    return formatter;
}

} // namespace

ColumnFormatter SetColumnFormatter(ColumnFormatter formatter)
{
    ColumnFormatter previous = Formatter();
    Formatter() = formatter ? std::move(formatter) : ColumnFormatter(StandIn);
    return previous;
}

std::string FormatShareField(const RecordCursor& cursor, uint32_t field) { return Formatter()(cursor, field); }

} // namespace qv
