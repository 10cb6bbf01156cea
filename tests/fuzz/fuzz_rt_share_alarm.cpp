// Fuzzes the intraday share alarm record as the setting store hands it over: the record is read only
// within its bytes, the note never runs past them, and a record written and read back writes the
// same bytes.
#include "core/SettingRecordStore.h"
#include "realtime/alarms/RTShareAlarmRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Straight from the bytes, in a buffer of exactly their size.
    std::vector<uint8_t> exact(data, data + size);
    if (auto record = qv::RTShareAlarmRecord::Read(exact)) {
        if (record->note.size() > size - qv::RTShareAlarmRecord::kFixedSize)
            std::abort();
        // Compared as bytes: a level read from the bytes may be a NaN, which equals nothing.
        const std::vector<uint8_t> written = record->Write();
        const auto again = qv::RTShareAlarmRecord::Read(written);
        if (!again || again->Write() != written)
            std::abort();
    }
    // Through the setting store, which bounds the sub-record by its length.
    qv::SettingRecordStore store;
    if (store.load({data, size})) {
        qv::SettingIterator it;
        it.id = qv::RTShareAlarmRecord::kSubRecordId;
        while (store.findNext(it))
            (void)qv::RTShareAlarmRecord::Read({it.data, qv::SettingDataSize(it.data)});
    }
    return 0;
}
