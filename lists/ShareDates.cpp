// A share's calendar dates.
#include "lists/ShareDates.h"

#include "core/ShareList.h"
#include "lists/CellValue.h"
#include "lists/ColumnEdit.h"
#include "lists/FieldTable.h"

namespace qv {

std::vector<ShareDateField> ReadShareDateFields(const RecordCursor& share)
{
    std::vector<ShareDateField> fields;
    if (!share.record)
        return fields;
    char text[128];
    for (int code = kFirstShareDateField; code <= kLastShareDateField; ++code) {
        const std::vector<uint8_t> column = FieldColumnRecord(uint8_t(code), true);
        LastCellValue() = {};
        if (FormatColumnValue(share.record, share.count, column.data(), text, sizeof text, 0, nullptr, 0) == 0)
            continue;
        const float date = LastCellValue().value;
        if (date <= 0 || date > 0xFFFF)
            continue;
        fields.push_back({code, PackedDate(date)});
    }
    return fields;
}

std::vector<ShareDateRow> ReadShareDates(const RecordCursor& share)
{
    std::vector<ShareDateRow> rows;
    for (const ShareDateField& field : ReadShareDateFields(share)) {
        std::string name = DatabaseItemName(field.code);
        if (name.empty())
            name = FamilyFieldName(kFamilyShares, field.code);
        rows.push_back({name, field.date});
    }
    return rows;
}

} // namespace qv
