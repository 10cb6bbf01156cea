// A share's calendar dates.
#include "lists/ShareDates.h"

#include "core/ShareList.h"
#include "lists/CellValue.h"
#include "lists/ColumnEdit.h"
#include "lists/FieldTable.h"

namespace qv {

std::vector<ShareDateRow> ReadShareDates(const RecordCursor& share)
{
    constexpr int kFirstDateField = 0x60, kLastDateField = 0x6F;
    std::vector<ShareDateRow> rows;
    if (!share.record)
        return rows;
    char text[128];
    for (int code = kFirstDateField; code <= kLastDateField; ++code) {
        const std::vector<uint8_t> column = FieldColumnRecord(uint8_t(code), true);
        LastCellValue() = {};
        if (FormatColumnValue(share.record, share.count, column.data(), text, sizeof text, 0, nullptr, 0) == 0)
            continue;
        const float date = LastCellValue().value;
        if (date <= 0 || date > 0xFFFF)
            continue;
        std::string name = DatabaseItemName(code);
        if (name.empty())
            name = FamilyFieldName(kFamilyShares, code);
        rows.push_back({name, PackedDate(date)});
    }
    return rows;
}

} // namespace qv
