// Fuzzes the loading of a drawing-object item from the lines-and-text store and packs what it made
// again.
#include "chartmodel/LineObjects.h"
#include "core/KeyedItemStore.h"
#include "core/LinesAndTextFiles.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The store's blobs always hold their own length in their first word.
    qv::Blob blob = qv::MakeBlob(uint32_t(std::max<size_t>(size, qv::kBlobLengthBytes)));
    if (size > qv::kBlobLengthBytes)
        std::memcpy(blob.get() + qv::kBlobLengthBytes, data + qv::kBlobLengthBytes, size - qv::kBlobLengthBytes);
    qv::LinesAndTextStore().SetItem(1, 0, 0, std::move(blob));
    qv::LineObjectList list;
    qv::LoadLineObjects(list, qv::KeyedItemKey{1, 0, 0});
    qv::UnpackLineObjects(list, std::span<const uint8_t>(data, size));
    std::vector<uint8_t> packed = qv::PackLineObjects(list);
    qv::LineObjectList again;
    qv::UnpackLineObjects(again, packed);
    qv::FreeLineObjectList(list);
    qv::FreeLineObjectList(again);
    qv::LinesAndTextStore().FreeItems();
    return 0;
}
