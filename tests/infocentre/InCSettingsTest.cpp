// The settings dialog's rules: its word, the ten category boxes and the survey box, and the file
// they are written to, read back as the store reads it.
#include "infocentre/InCSettings.h"

#include "devtools/lib/TempFolder.h"
#include "infocentre/InCStore.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(InCSettings, TheWordOfTheTwoBoxes)
{
    EXPECT_EQ(InCSettingsWord(false, false), 0);
    EXPECT_EQ(InCSettingsWord(true, false), 1);
    EXPECT_EQ(InCSettingsWord(false, true), 2);
    EXPECT_EQ(InCSettingsWord(true, true), 3);
}

// Twelve categories: ten are offered, and the last two can never be disabled here; clearing the
// survey box writes the survey category's line.
TEST(InCSettings, TenCategoriesAndTheSurveyAreOfferedAndWrittenBack)
{
    std::vector<std::string> tree;
    for (int i = 1; i <= 12; ++i)
        tree.push_back("Category " + std::to_string(i));
    AutoViewChoices choices = AutoViewChoicesFor(tree, {"Category 2", "Category 12"});
    ASSERT_EQ(choices.categories.size(), 10u);
    EXPECT_TRUE(choices.categories[0].second);
    EXPECT_FALSE(choices.categories[1].second);
    EXPECT_TRUE(choices.surveys);

    choices.categories[4].second = false;
    choices.surveys = false;
    const std::vector<std::string> disabled = DisabledCategoriesOf(choices);
    EXPECT_EQ(disabled, (std::vector<std::string>{"Category 2", "Category 5", kSurveyCategory}));
    dev::TempFolder folder{"incsettings"};
    ASSERT_TRUE(WriteDisabledCategories(folder.path(), disabled));
    EXPECT_EQ(ReadDisabledCategories(folder.path()), disabled);
    EXPECT_FALSE(AutoViewChoicesFor(tree, ReadDisabledCategories(folder.path())).surveys);
}
