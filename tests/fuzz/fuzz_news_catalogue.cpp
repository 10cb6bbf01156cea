// Fuzzes the News.dat loader: any image either loads into tables whose sizes agree with their
// counts, and writes back to an image that loads again, or is refused.
#include "news/NewsCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::NewsCatalogue c;
    if (qv::ParseNewsCatalogue({data, size}, true, c).status != qv::NewsCatalogueStatus::Loaded)
        return 0;
    if (c.hashTable.size() != c.prime())
        std::abort();
    qv::NewsSearchTexts(c);
    std::vector<uint8_t> image = qv::NewsCatalogueImage(c);
    qv::NewsCatalogue again;
    if (qv::ParseNewsCatalogue(image, true, again).status != qv::NewsCatalogueStatus::Loaded ||
        again.stories.size() != c.stories.size() || again.days.size() != c.days.size())
        std::abort();
    return 0;
}
