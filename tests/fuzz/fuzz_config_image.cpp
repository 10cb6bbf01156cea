// Feeds arbitrary bytes to the "Quorva.cfg" reader, whole and for one slot, then saves over them as a
// single-slot save would: nothing may be read out of bounds, and a saved image must read back whole.
#include "core/ConfigFamilies.h"
#include "core/ConfigFormat.h"
#include "core/ConfigWriter.h"

#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::span<const uint8_t> image(data, size);
    auto state = std::make_unique<qv::ConfigState>();
    qv::ReadConfigImage(*state, image, qv::kWholeConfig);
    int32_t selector = int32_t(qv::config_mask::kNewsTables | (size % 12));
    qv::ReadConfigImage(*state, image, selector);
    auto saved = qv::WriteConfigImage(*state, selector, image);
    auto again = std::make_unique<qv::ConfigState>();
    auto result = qv::ReadConfigImage(*again, saved, qv::kWholeConfig);
    if (result.header != qv::HeaderVerdict::Accepted || result.failed)
        std::abort();
    return 0;
}
