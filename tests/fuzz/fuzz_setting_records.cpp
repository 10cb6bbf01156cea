// Feeds arbitrary bytes to the setting store as a stored block, then edits and compacts the result:
// nothing may be read or written out of bounds and the block must stay well formed.
#include "core/SettingRecordStore.h"

#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"

#include <cstdlib>

namespace {
class SilentBox : public qv::MessageBoxHost {
public:
    qv::MsgAnswer show(const qv::MessageRequest&) override { return qv::MsgAnswer::Ok; }
};

void CheckWellFormed(const qv::SettingRecordStore& store)
{
    auto b = store.bytes();
    size_t r = 0;
    while (qv::LoadU16(&b[r]) != 0) {
        size_t length = qv::LoadU16(&b[r]);
        if (length < 7 || r + length + 2 > b.size())
            std::abort();
        r += length;
    }
    if (r + 2 != b.size())
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SilentBox box;
    qv::SetMessageBoxHost(&box);
    qv::SettingRecordStore store;
    store.load({data, size});
    CheckWellFormed(store);
    uint16_t key = size >= 4 ? qv::LoadU16(data + 2) : 1;
    store.set(key, 0, 130, data, uint32_t(size < 3000 ? size : 3000));
    store.remove(key, 0, 1);
    store.removeAll(2);
    qv::SettingIterator it;
    it.id = 130;
    while (store.findNext(it)) {
    }
    store.compact();
    CheckWellFormed(store);
    return 0;
}
