// Placement of indicator records among the add-on windows.
#include "chartmodel/IndicatorPlacement.h"

#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorTable.h"

#include <algorithm>

namespace qv {

namespace gs = graphsetting;

namespace {

uint8_t SlotType(const GraphSetting& s, int w, int k) { return gs::IndicatorSlot(s, w, k)[gs::kSlotType]; }

bool TakesWholeWindow(int type)
{
    return type == IndicatorType::PointAndFigure || type == IndicatorType::EquiVolume;
}

int FirstEmptySlot(const GraphSetting& s, int w)
{
    for (int k = 0; k < gs::kIndicatorsPerWindow; ++k)
        if (SlotType(s, w, k) == 0)
            return k;
    return -1;
}

int16_t Weight(const GraphSetting& s, int w)
{
    return LoadI16(gs::IndicatorSlot(s, w, 0).data() + gs::kSlotHeightWeight);
}

void SetWeight(GraphSetting& s, int w, int16_t v) { StoreI16(gs::IndicatorSlot(s, w, 0).data() + gs::kSlotHeightWeight, v); }

} // namespace

WindowUsage ComputeWindowUsage(const GraphSetting& setting, int type)
{
    WindowUsage usage;
    usage.noFreeWindow = true;
    for (int w = 0; w < gs::kAddOnWindowCount; ++w) {
        int first = SlotType(setting, w, 0);
        if (first == 0) {
            usage.noFreeWindow = false;
        } else {
            usage.mask |= uint8_t(1u << w);
        }
        bool refuses = SlotType(setting, w, 3) != 0 || TakesWholeWindow(first) || (TakesWholeWindow(type) && first != 0);
        if (refuses)
            usage.mask |= uint8_t(1u << (4 + w));
    }
    return usage;
}

TargetChoice ChooseTargets(const WindowUsage& usage, bool openedFromWindow, bool locked)
{
    TargetChoice choice;
    if (locked) {
        choice.selected = kTargetReplace;
        return choice;
    }
    choice.enabled[0] = !usage.noFreeWindow;
    choice.enabled[1] = openedFromWindow;
    for (int w = 0; w < 4; ++w)
        choice.enabled[size_t(2 + w)] = usage.holds(w) && !usage.refuses(w);
    if (openedFromWindow) {
        choice.selected = kTargetReplace;
    } else if (!usage.noFreeWindow) {
        choice.selected = kTargetNewWindow;
    } else {
        int w = 0;
        while (w < 3 && usage.refuses(w))
            ++w;
        choice.selected = w;
    }
    return choice;
}

int FirstEmptyWindow(const GraphSetting& setting)
{
    for (int w = 0; w < gs::kAddOnWindowCount; ++w)
        if (SlotType(setting, w, 0) == 0)
            return w;
    return -1;
}

bool PlaceIndicator(GraphSetting& setting, IndicatorRecord record, int target, int editedWindow, int editedIndex,
                    const IndicatorRecord& original)
{
    bool editing = editedWindow >= 0 && editedWindow < gs::kAddOnWindowCount;
    if (target == kTargetReplace) {
        if (editing)
            record.Write(gs::IndicatorSlot(setting, editedWindow, editedIndex));
        return editing;
    }
    int window = target == kTargetNewWindow ? FirstEmptyWindow(setting) : target;
    if (window < 0 || window >= gs::kAddOnWindowCount)
        return false;
    int slot = target == kTargetNewWindow ? 0 : FirstEmptySlot(setting, window);
    if (slot < 0)
        return false;
    if (target == kTargetNewWindow)
        record.heightWeight = kNewWindowWeight;
    record.Write(gs::IndicatorSlot(setting, window, slot));
    if (editing)
        original.Write(gs::IndicatorSlot(setting, editedWindow, editedIndex));
    if (target == kTargetNewWindow)
        RebalanceWindowWeights(setting);
    return true;
}

void RebalanceWindowWeights(GraphSetting& setting)
{
    int sum = 0;
    int used = 0;
    for (; used < gs::kAddOnWindowCount && SlotType(setting, used, 0) != 0; ++used)
        sum += Weight(setting, used);
    int excess = sum - kMaxWindowWeightSum;
    if (excess <= 0)
        return;
    for (int w = 0; w < used; ++w) {
        if (Weight(setting, w) - excess > 100) {
            SetWeight(setting, w, int16_t(Weight(setting, w) - excess));
            return;
        }
    }
}

void DeleteIndicatorRecord(GraphSetting& setting, int window, int k)
{
    if (k == 0 && SlotType(setting, window, 1) == 0) {
        DeleteAddOnWindow(setting, window);
        return;
    }
    int16_t weight = Weight(setting, window);
    for (int j = k; j < gs::kIndicatorsPerWindow - 1; ++j) {
        auto to = gs::IndicatorSlot(setting, window, j);
        auto from = gs::IndicatorSlot(setting, window, j + 1);
        std::copy(from.begin(), from.end(), to.begin());
    }
    auto last = gs::IndicatorSlot(setting, window, gs::kIndicatorsPerWindow - 1);
    std::fill(last.begin(), last.end(), uint8_t(0));
    SetWeight(setting, window, weight);
}

void DeleteAddOnWindow(GraphSetting& setting, int window)
{
    uint8_t* base = setting.data() + gs::kAddOnWindows;
    for (int w = window; w < gs::kAddOnWindowCount - 1; ++w)
        std::copy_n(base + size_t(w + 1) * gs::kAddOnWindowSize, gs::kAddOnWindowSize, base + size_t(w) * gs::kAddOnWindowSize);
    std::fill_n(base + size_t(gs::kAddOnWindowCount - 1) * gs::kAddOnWindowSize, gs::kAddOnWindowSize, uint8_t(0));
}

bool AnyAddOnWindow(const GraphSetting& setting) { return SlotType(setting, 0, 0) != 0; }

} // namespace qv
