// Fuzzes Base64 decoding in place: any text, of any length, is decoded without reading past its
// end, and what decodes encodes back to a text that decodes to the same bytes.
#include "core/Base64.h"
#include "core/Memory.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    int32_t n = qv::Base64Decode(text.data());
    if (n < 0)
        return 0;
    if (size_t(n) > size)
        std::abort();
    std::vector<uint8_t> bytes(text.begin(), text.begin() + n);
    char* coded = qv::Base64Encode(bytes.data(), uint32_t(bytes.size()));
    int32_t again = qv::Base64Decode(coded);
    if (again != n || std::memcmp(coded, bytes.data(), size_t(n)) != 0)
        std::abort();
    qv::ProFree(coded);
    return 0;
}
