// The InfoCentre settings dialog's rules that need no window: the settings word of its two AutoView
// boxes, and the categories AutoView leaves out, offered as ten boxes and the survey box and
// written back to "disabled_categories.txt".
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qv {

// "After an update" gives 2, "On start up" 1.
uint16_t InCSettingsWord(bool onStartUp, bool afterUpdate);

constexpr size_t kAutoViewCategoryBoxes = 10;
struct AutoViewChoices {
    // The first ten categories of the tree, each checked unless disabled.
    std::vector<std::pair<std::string, bool>> categories;
    bool surveys = true; // unless the survey category is disabled
};
AutoViewChoices AutoViewChoicesFor(const std::vector<std::string>& categories, const std::vector<std::string>& disabled);
// The offered categories left clear, then the survey category when its box is clear.
std::vector<std::string> DisabledCategoriesOf(const AutoViewChoices& choices);
// One name a line ("%s\n"); false when the file cannot be written.
bool WriteDisabledCategories(const std::filesystem::path& folder, const std::vector<std::string>& names);

} // namespace qv
