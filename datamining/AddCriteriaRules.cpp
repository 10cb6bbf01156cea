// Add Criteria dialog rules.
#include "datamining/AddCriteriaRules.h"

#include "datamining/CriterionKinds.h"
#include "datamining/CriterionText.h"

#include <algorithm>
#include <cstring>

namespace qv {

AddCriteriaControls AddCriteriaControlsFor(uint8_t kind, int parameter)
{
    AddCriteriaControls c;
    const CriterionKind* k = CriterionKindOf(kind);
    if (!k)
        return c;
    c.parameterList = k->parameterCount > 1;
    c.averageGroup = k->valueClass == kValueMovingAverage;
    c.resultLists = k->valueClass == kValueHeadline || k->valueClass == kValueAdvanced;
    c.variantList = k->valueClass == kValueAdvanced && AdvancedVariantCount(parameter) > 1;
    DMCriterion probe;
    probe.kind = kind;
    probe.parameter = uint8_t(std::max(parameter, 0));
    const int dates = CriterionDatesUsed(probe);
    c.firstDate = dates >= 1;
    c.secondDate = dates == 2;
    c.lookBack = k->valueClass == kValuePrice && size_t(parameter) < kPriceLookBack.size() &&
                 kPriceLookBack[size_t(parameter)] == 1;
    return c;
}

std::span<const char* const> ResultYearWords(int valueClass)
{
    if (valueClass == kValueHeadline)
        return HeadlineYearWords();
    if (valueClass == kValueAdvanced)
        return AdvancedYearWords();
    return {};
}

std::span<const char* const> ResultTypeWords(int valueClass)
{
    if (valueClass == kValueHeadline)
        return HeadlineChangeWords();
    if (valueClass == kValueAdvanced)
        return AdvancedChangeWords();
    return {};
}

int AdvancedVariantCount(int item)
{
    const auto items = AdvancedResultItems();
    if (item < 0 || size_t(item) >= items.size())
        return 0;
    int n = 0;
    while (n < 5 && std::strlen(items[size_t(item)].variants[size_t(n)]) > 0)
        ++n;
    return n;
}

uint32_t MovingAverageSetting(const MovingAverageChoice& choice)
{
    const uint32_t two = uint32_t(std::clamp(choice.periodTwo, kPeriodTwoLow, kPeriodTwoHigh));
    const uint32_t one = uint32_t(std::clamp(choice.periodOne, 0, 0x3FFF));
    const uint32_t type = uint32_t(std::clamp(choice.typeIndex, 0, 14));
    return (two << 18) + (one << 4) + (type + 1);
}

MovingAverageChoice UnpackMovingAverageSetting(uint32_t setting)
{
    MovingAverageChoice c;
    c.typeIndex = std::clamp(int(setting & 0x0F) - 1, 0, int(kMovingAverageTypeNames.size()) - 1);
    c.periodOne = int((setting >> 4) & 0x3FFF);
    c.periodTwo = int((setting >> 18) & 0x3FFF);
    return c;
}

void KindChoiceMemory::Remember(uint8_t kind, int parameter, uint32_t setting)
{
    if (kind < choices_.size())
        choices_[kind] = {parameter, setting, true};
}

KindChoiceMemory::Choice KindChoiceMemory::Recall(uint8_t kind) const
{
    return kind < choices_.size() ? choices_[kind] : Choice{};
}

} // namespace qv
