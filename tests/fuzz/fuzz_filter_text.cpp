// Fuzzes the ".flt" reader: any bytes are read without running past their end, and every filter made
// keeps its axes within its criteria and its criteria within the kind table.
#include "datamining/CriterionKinds.h"
#include "datamining/FilterText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const qv::FilterTextContents contents = qv::ParseFilterText(text, [](std::string_view) { return false; });
    for (const auto& filter : contents.filters) {
        for (uint32_t axis : filter->axes)
            if (axis > filter->criteria.size())
                std::abort();
        for (const qv::DMCriterion& c : filter->criteria)
            if (!qv::CriterionKindOf(c.kind) || c.lower > c.upper)
                std::abort();
    }
    return 0;
}
