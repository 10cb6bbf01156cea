// Fuzzes a day's word-index section: any bytes are read within their bounds, and no story index
// at or beyond the day's count comes back.
#include "news/NewsIndex.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    uint32_t stories = data[0] + 1;
    qv::NewsIndexSectionReader reader({data + 1, size - 1}, stories);
    for (uint32_t slot : {0u, 1u, 5u, 100u, 70000u, 1299826u})
        for (uint16_t story : reader.stories(slot))
            if (story >= stories)
                std::abort();
    return 0;
}
