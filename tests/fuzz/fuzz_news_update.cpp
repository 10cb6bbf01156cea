// Fuzzes the news update reader: any file is read whole or refused, and every story of an update
// that reads decodes to words the update brings.
#include "news/NewsDayBlock.h"
#include "news/NewsUpdateFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numeric>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::NewsUpdateRead read = qv::ReadNewsUpdate({data, size}, 0);
    if (read.status != qv::NewsUpdateStatus::Read)
        return 0;
    std::vector<uint32_t> ids(read.update.words.size());
    std::iota(ids.begin(), ids.end(), 128u);
    qv::NewsDayBlock block = qv::NewsDayBlock::FromUpdate(read.update, ids);
    std::optional<qv::NewsDayBlock> back = qv::NewsDayBlock::Parse(block.bytes());
    if (!back)
        std::abort();
    for (size_t i = 0; i < read.update.stories.size(); ++i)
        if (!back->storyWords(i, read.update.stories[i].codeTable))
            std::abort();
    return 0;
}
