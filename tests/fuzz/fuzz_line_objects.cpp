// Fuzzes the unpacking of a drawing-object item and packs what it made again.
#include "chartmodel/LineObjects.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::LineObjectList list;
    qv::UnpackLineObjects(list, std::span<const uint8_t>(data, size));
    std::vector<uint8_t> packed = qv::PackLineObjects(list);
    qv::LineObjectList again;
    qv::UnpackLineObjects(again, packed);
    qv::FreeLineObjectList(list);
    qv::FreeLineObjectList(again);
    return 0;
}
