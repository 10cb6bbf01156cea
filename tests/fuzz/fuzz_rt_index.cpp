// Fuzzes the intraday index reader and the share-table look-ups on what it accepts.
#include "realtime/store/RTStoreFiles.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto table = qv::ParseRTIndex(std::span<const uint8_t>(data, size));
    if (!table)
        return 0;
    for (uint32_t slot = 0; slot < table->keyCount; ++slot) {
        uint32_t key = table->KeyAtSlot(slot);
        qv::FindRTKeySlot(*table, key);
        const qv::RTKeyEntry& entry = table->keys[table->slotIndex[slot]];
        if (const qv::RTInstrument* x = table->Instrument(entry.instrument)) {
            table->NameAt(x->shortName);
            table->NameAt(x->longName);
        }
    }
    uint32_t key = table->keyCount ? table->KeyAtSlot(0) + 1 : 7;
    qv::AddRTKey(*table, key, qv::FindRTKeySlot(*table, key).slot, qv::ShareRef{nullptr, 0, uint16_t(key)}, true);
    qv::AddRTName(*table, "name");
    return 0;
}
