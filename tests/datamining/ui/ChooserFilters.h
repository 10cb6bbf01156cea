// Three filters for the chooser and filter-command tests: "Blue Chips" (read-only), "Growth", "Value".
#pragma once

#include "core/DMFilter.h"

#include <memory>

namespace qv::test {

inline void AddChooserFilters()
{
    auto predefined = std::make_unique<DMFilter>();
    predefined->name = "Blue Chips";
    predefined->flags = kFilterReadOnly;
    FilterList().push_back(std::move(predefined));
    for (const char* name : {"Growth", "Value"}) {
        auto f = std::make_unique<DMFilter>();
        f->name = name;
        FilterList().push_back(std::move(f));
    }
}

} // namespace qv::test
