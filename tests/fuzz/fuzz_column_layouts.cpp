// Feeds arbitrary bytes to the layout check; a layout it passes is walked column by column and every
// column is named, in a buffer of exactly its length, so that no walk may leave it.
#include "core/ColumnDef.h"
#include "lists/ColumnHeading.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t length = qv::ValidateColumnLayout(std::span<const uint8_t>(data, size));
    if (length == 0)
        return 0;
    if (length > size || data[length - 1] != 0)
        std::abort();
    std::vector<uint8_t> layout(data, data + length);
    int columns = qv::CountColumnDefs(layout.data());
    if (columns > qv::kMaxLayoutColumns)
        std::abort();
    for (int n = -1; n <= qv::kMaxLayoutColumns + 10; ++n) {
        const uint8_t* def = qv::GetColumnDef(layout.data(), n);
        if (def < layout.data() || def >= layout.data() + layout.size())
            std::abort();
        if (*def >= qv::kColumnDefBytes) {
            std::vector<uint8_t> column(def, def + *def);
            (void)qv::GetColumnHeading(nullptr, column.data(), false);
            (void)qv::GetColumnHeading(nullptr, column.data(), true);
        }
    }
    return 0;
}
