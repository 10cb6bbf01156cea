// The InfoCentre settings: the AutoView word and the disabled categories.
#include "infocentre/InCSettings.h"

#include "infocentre/InCStore.h"
#include "platform/FileOps.h"

#include <algorithm>

namespace qv {

uint16_t InCSettingsWord(bool onStartUp, bool afterUpdate)
{
    return uint16_t((afterUpdate ? 2 : 0) | (onStartUp ? 1 : 0));
}

AutoViewChoices AutoViewChoicesFor(const std::vector<std::string>& categories, const std::vector<std::string>& disabled)
{
    auto isDisabled = [&disabled](const std::string& name) { return std::find(disabled.begin(), disabled.end(), name) != disabled.end(); };
    AutoViewChoices choices;
    for (size_t i = 0; i < categories.size() && i < kAutoViewCategoryBoxes; ++i)
        choices.categories.emplace_back(categories[i], !isDisabled(categories[i]));
    choices.surveys = !isDisabled(kSurveyCategory);
    return choices;
}

std::vector<std::string> DisabledCategoriesOf(const AutoViewChoices& choices)
{
    std::vector<std::string> names;
    for (const auto& category : choices.categories)
        if (!category.second)
            names.push_back(category.first);
    if (!choices.surveys)
        names.emplace_back(kSurveyCategory);
    return names;
}

bool WriteDisabledCategories(const std::filesystem::path& folder, const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += name + "\n";
    return WriteFileBytes(folder / "disabled_categories.txt", std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace qv
