// Feeds arbitrary bytes to the keyed item store as a file image and writes it back: nothing may be
// read out of bounds, no blob may be larger than the file, and the written image must read back.
#include "core/KeyedItemStore.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::KeyedItemStore store;
    store.ReadImage({data, size});
    bool fits = true;
    store.ForEachItem([&](const qv::KeyedItemKey&, const uint8_t* blob) { fits = fits && qv::BlobLength(blob) <= size; });
    if (!fits)
        std::abort();
    auto image = store.WriteImage();
    qv::KeyedItemStore again;
    if (again.ReadImage(image) != qv::KeyedStoreHeader::Items || again.WriteImage().size() != image.size())
        std::abort();
    return 0;
}
