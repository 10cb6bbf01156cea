// Criteria in words, long and short, as the criterion rows, the chooser, the graph axes and the Z legend
// name them.
#pragma once

#include "core/DMFilter.h"

#include <cstdint>
#include <span>
#include <string>

namespace qv {

// One period word (value and unit as its low and high halves): a date ("3/1/94"), or "2 weeks ago" /
// "2wk ago"; the value is taken without its sign.
std::string FormatPeriodWord(int32_t value, uint32_t unit, bool longForm);
// The criterion's text; a kind outside the table gives an empty text.
std::string DescribeCriterion(const DMCriterion& criterion, bool longForm);

// The long words of the results kinds' years (the second setting) and result types (the setting).
std::span<const char* const> HeadlineYearWords();
std::span<const char* const> HeadlineChangeWords();
std::span<const char* const> AdvancedYearWords();
std::span<const char* const> AdvancedChangeWords();

} // namespace qv
