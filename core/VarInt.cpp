// Encoder of the price stream's variable-length integers.
#include "core/VarInt.h"

namespace qv {

uint8_t* EncodeVarInt(int32_t v, uint8_t* out)
{
    uint32_t m = v < 0 ? 0u - uint32_t(v) : uint32_t(v);
    if (m > uint32_t(kVarIntLimit))
        return nullptr;
    uint8_t sign = v < 0 ? 0x20 : 0;
    if (m < 32) {
        *out++ = uint8_t(m | sign);
        return out;
    }
    int groups = m < 4096 ? 1 : m < 0x80000 ? 2 : 3;
    *out++ = uint8_t((m >> (7 * groups)) | sign | 0x80);
    for (int g = groups - 1; g > 0; --g)
        *out++ = uint8_t(((m >> (7 * g)) & 0x7F) | 0x80);
    *out++ = uint8_t(m & 0x7F);
    return out;
}

} // namespace qv
