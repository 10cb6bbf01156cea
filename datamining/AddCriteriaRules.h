// The rules of the Add Criteria dialog: which controls a kind and parameter show, the moving-average
// setting word, and each kind's parameter and setting kept while the dialog is open.
#pragma once

#include "datamining/CriterionValue.h"

#include <array>
#include <cstdint>
#include <span>

namespace qv {

struct AddCriteriaControls {
    bool parameterList = false; // enabled only when the kind has more than one parameter
    bool averageGroup = false;  // moving-average type and periods
    bool resultLists = false;   // year and result-type lists
    bool variantList = false;   // the advanced parameter's variants
    bool firstDate = false;
    bool secondDate = false;
    bool lookBack = false;
};
AddCriteriaControls AddCriteriaControlsFor(uint8_t kind, int parameter);

// The year and result-type words of a results kind (value class 1 or 4); empty for other kinds.
std::span<const char* const> ResultYearWords(int valueClass);
std::span<const char* const> ResultTypeWords(int valueClass);
// The named variants of an advanced item (none past the first empty slot).
int AdvancedVariantCount(int item);

inline constexpr std::array<const char*, 5> kMovingAverageTypeNames = {"Simple", "Exponential", "Weighted",
                                                                      "Triangular", "Variable"};
inline constexpr int kPeriodOneLow = 5, kPeriodOneHigh = 9999, kPeriodTwoLow = 5, kPeriodTwoHigh = 8000;
inline constexpr int kDefaultPeriodOne = 20, kDefaultPeriodTwo = 60;

struct MovingAverageChoice {
    int typeIndex = 0; // 0 simple .. 4 variable
    int periodOne = kDefaultPeriodOne;
    int periodTwo = kDefaultPeriodTwo;
};
// (period 2 << 18) + (period 1 << 4) + (type + 1), period 2 clamped into 5..8000 without a message.
uint32_t MovingAverageSetting(const MovingAverageChoice& choice);
MovingAverageChoice UnpackMovingAverageSetting(uint32_t setting);

// One (parameter, setting) pair per kind, kept while the dialog is open.
class KindChoiceMemory {
public:
    struct Choice {
        int parameter = 0;
        uint32_t setting = 0;
        bool set = false;
    };
    void Remember(uint8_t kind, int parameter, uint32_t setting);
    // The kind's pair; unset for a kind never left.
    Choice Recall(uint8_t kind) const;

private:
    std::array<Choice, 16> choices_{};
};

} // namespace qv
