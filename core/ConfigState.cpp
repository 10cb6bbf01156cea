// The program's configuration in memory and the packing of its data-mining option bytes.
#include "core/ConfigState.h"

#include "core/ConfigFamilies.h"

namespace qv {

namespace {
constexpr uint32_t kNibble = 0xF;
}

uint32_t DataMiningOptions::pack() const
{
    return (bytes[1] & kNibble) | (uint32_t(bytes[2] & kNibble) << 4) | (uint32_t(bytes[0] != 0) << 8) |
           (uint32_t(bytes[4] != 0) << 9) | (uint32_t(bytes[5] != 0) << 10);
}

void DataMiningOptions::unpack(uint32_t word)
{
    bytes[1] = uint8_t(word & kNibble);
    bytes[2] = uint8_t((word >> 4) & kNibble);
    bytes[0] = uint8_t((word >> 8) & 1);
    bytes[4] = uint8_t((word >> 9) & 1);
    bytes[5] = uint8_t((word >> 10) & 1);
}

ConfigState& Config()
{
    static ConfigState state = [] {
        ConfigState defaults;
        ResetAllConfigFamilies(defaults);
        return defaults;
    }();
    return state;
}

} // namespace qv
