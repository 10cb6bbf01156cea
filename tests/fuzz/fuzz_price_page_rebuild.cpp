// Fuzzes the share editor's stream rebuild: any price array (prices, missing, closed and suspended
// days) becomes a record that reads back as the same entries from the first to the last price,
// prices within a unit.
#include "core/ImportsFile.h"
#include "core/PriceImport.h"
#include "core/RecordAccess.h"
#include "platform/ByteOrder.h"
#include "tools/ShareEditing.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    qv::EditedItem item;
    item.fundamentals.name = "Fuzz";
    item.firstDate = qv::PackDate(4, 1, 2010);
    const double magnitude = std::pow(10.0, data[0] % 8 - 2);
    for (size_t i = 1; i + 1 < size && item.prices.size() < 3000; i += 2) {
        const uint16_t word = uint16_t(data[i] | data[i + 1] << 8);
        switch (word % 8) {
        case 0: item.prices.push_back(qv::kEntryMissing); break;
        case 1: item.prices.push_back(qv::kEntryClosed); break;
        case 2: item.prices.push_back(qv::kEntrySuspended); break;
        default: item.prices.push_back(float(1 + (word >> 3) * magnitude)); break;
        }
    }
    std::vector<uint8_t> record;
    if (qv::RebuildEditedRecord(item, record) != qv::RebuildResult::Built)
        return 0;
    qv::FinishImportedRecord(record.data(), qv::LoadU16(&record[qv::RecordLayout::FirstSubRecord]), record.size());
    const qv::EditedItem back = qv::ReadEditedItem(record.data(), 0);
    size_t first = 0;
    while (item.prices[first] == qv::kEntryMissing)
        ++first;
    size_t last = item.prices.size();
    while (item.prices[last - 1] < 0)
        --last;
    if (back.prices.size() != last - first)
        std::abort();
    const int16_t scale = int16_t(qv::LoadU16(qv::FirstSubRecord(record.data()) + qv::SubRecordLayout::PriceScale));
    const double unit = scale > 0 ? 1.0 / scale : double(-scale);
    for (size_t i = 0; i < back.prices.size(); ++i) {
        const float want = item.prices[first + i], got = back.prices[i];
        if (want < 0 ? got != want : std::fabs(got - want) > unit + std::fabs(want) * 1e-5)
            std::abort();
    }
    return 0;
}
