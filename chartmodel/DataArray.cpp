// Typed array descriptors: element sizes, allocation and release.
#include "chartmodel/DataArray.h"

#include "core/Memory.h"
#include "platform/ByteOrder.h"

namespace qv {

uint32_t DataArrayElementSize(uint32_t type)
{
    switch (type) {
    case kArrayWords:
    case kArrayFloats:
        return 4;
    case kArrayDoubles:
        return 8;
    case kArrayBars:
        return 20;
    case kArrayTicks:
        return 16;
    case kArrayDaily:
        return kDailyRecordSize;
    case kArrayKeyed24:
        return 24;
    case kArrayTriples:
    case kArrayKeyedTriples:
        return 12;
    default:
        return 0;
    }
}

void* InitDataArray(DataArray& array, uint32_t type, int32_t count, uint32_t paramA, uint32_t paramB)
{
    array = DataArray{};
    array.type = type;
    array.paramA = paramA;
    array.paramB = paramB;
    array.count = count;
    array.ownsData = 1;
    uint32_t size = DataArrayElementSize(type);
    if (count > 0 && size > 0)
        array.data = ProCalloc(uint32_t(count), size, "Graph data");
    return array.data;
}

void FreeDataArray(DataArray& array)
{
    if (array.ownsData && array.data)
        ProFree(array.data);
    array.data = nullptr;
    array.count = 0;
}

BarValues ReadBarValues(const uint8_t* element)
{
    return {LoadF32(element), LoadF32(element + 4), LoadF32(element + 8), LoadF32(element + 12),
            LoadF32(element + 16)};
}

} // namespace qv
