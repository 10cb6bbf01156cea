// The program-wide legend settings.
#include "chartmodel/LegendSettings.h"

#include "platform/ByteOrder.h"
#include "platform/Registry.h"

namespace qv {
namespace {
constexpr const char* kSection = "Settings";
constexpr const char* kValue = "LegendPlace";
} // namespace

LegendSettings& ProgramLegendSettings()
{
    static LegendSettings settings;
    return settings;
}

void ResetLegendSettings() { ProgramLegendSettings() = LegendSettings{}; }

std::vector<uint8_t> EncodeLegendPlace(const LegendPlace& place)
{
    std::vector<uint8_t> out(kLegendPlaceRecordSize);
    StoreI32(out.data(), place.left);
    StoreI32(out.data() + 4, place.top);
    StoreI32(out.data() + 8, place.right);
    StoreI32(out.data() + 12, place.bottom);
    return out;
}

std::optional<LegendPlace> DecodeLegendPlace(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() != kLegendPlaceRecordSize)
        return std::nullopt;
    const LegendPlace place{LoadI32(bytes.data()), LoadI32(bytes.data() + 4), LoadI32(bytes.data() + 8),
                            LoadI32(bytes.data() + 12)};
    if (place.right <= place.left || place.bottom <= place.top)
        return std::nullopt;
    return place;
}

void SaveLegendPlace(const LegendSettings& settings)
{
    if (settings.placed)
        Registry::Instance().setBinary(kSection, kValue,
                                       EncodeLegendPlace({settings.left, settings.top, settings.right, settings.bottom}));
}

void LoadStoredLegendPlace(LegendSettings& settings)
{
    const auto bytes = Registry::Instance().getBinary(kSection, kValue);
    const auto place = bytes ? DecodeLegendPlace(*bytes) : std::nullopt;
    if (!place)
        return;
    settings.placed = true;
    settings.left = place->left;
    settings.top = place->top;
    settings.right = place->right;
    settings.bottom = place->bottom;
}

} // namespace qv
