// Fuzzes the coded-text decoder: the first bytes are coding tables, the rest a coded stream.
#include "core/CodedText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    size_t tableBytes = size_t(data[0]) * 8 % size;
    int groups = data[1] % 8;
    int kind = data[2] % 22;
    std::span<const uint8_t> all(data + 3, size - 3);
    size_t split = tableBytes < all.size() ? tableBytes : all.size();
    qv::CodingTables tables;
    tables.parse(all.first(split), groups);
    qv::BitCursor cursor{all.subspan(split), data[3] & 7};
    char out[96];
    qv::UnpackText(out, sizeof out, cursor, kind, false, tables);
    qv::UnpackText(out, sizeof out, cursor, kind, true, tables);
    qv::UnpackText(nullptr, 0, cursor, kind, false, tables);
    qv::SkipCodedSymbol(cursor, kind, false, tables);
    qv::AdvanceBitCursor(cursor, data[1]);
    return 0;
}
