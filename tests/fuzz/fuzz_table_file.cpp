// Fuzzes the table library file reader; a design it accepts is written and read back the same.
#include "lists/TableFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<qv::TableDesign> design = qv::ReadTableFile(text);
    qv::ReadTableFileTitle(text);
    if (design && qv::ReadTableFile(qv::WriteTableFile(*design, "t", "d")) != design)
        std::abort();
    return 0;
}
