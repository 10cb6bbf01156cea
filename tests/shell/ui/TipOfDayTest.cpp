// The tip-of-the-day dialog: its tip and buttons with and without a tips file, and what "&Close"
// stores.
#include "shell/ui/TipOfDay.h"

#include "devtools/lib/TempFolder.h"
#include "platform/Registry.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QPushButton>
#include <fstream>
#include <gtest/gtest.h>

using namespace qv;

namespace {

class TipOfDayFixture : public ::testing::Test {
protected:
    TipOfDayFixture()
    {
        previousRegistry_ = Registry::Instance().file();
        Registry::Instance().reopen(folder / "registry.ini");
    }
    ~TipOfDayFixture() override { Registry::Instance().reopen(previousRegistry_); }

    dev::TempFolder folder{"qv-tipdlg"};

private:
    std::filesystem::path previousRegistry_;
};

} // namespace

TEST_F(TipOfDayFixture, NextTipWalksTheFileAndCloseStoresTheCheckBox)
{
    {
        std::ofstream out(folder / kTipsFileName);
        out << "Press F2 for the first graph setting.\nHold Shift to open a new window.\n";
    }
    CTipOfDay dialog(folder.path());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Quorvantis's Tip of the Day"));
    EXPECT_EQ(dialog.tipText(), QStringLiteral("Press F2 for the first graph setting."));
    EXPECT_TRUE(dialog.nextButton()->isEnabled());
    EXPECT_TRUE(dialog.showOnStartUp()->isChecked());
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("tip-of-the-day"));

    dialog.nextButton()->click();
    EXPECT_EQ(dialog.tipText(), QStringLiteral("Hold Shift to open a new window."));
    dialog.showOnStartUp()->setChecked(false);
    dialog.accept();
    EXPECT_EQ(Registry::Instance().getU32("Settings", "ShowTipOnStartUp"), 1u);
}

TEST_F(TipOfDayFixture, WithoutAFileTheWelcomeShowsAndNextIsDisabled)
{
    CTipOfDay dialog(folder.path());
    EXPECT_EQ(dialog.tipText(), QStringLiteral("Welcome to Quorvantis from Pelmor Information"));
    EXPECT_FALSE(dialog.nextButton()->isEnabled());
}
