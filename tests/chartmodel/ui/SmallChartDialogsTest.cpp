// The arrow and default-range dialogs by control id, with renders.
#include "chartmodel/ui/ArrowDlg.h"
#include "chartmodel/ui/IntradayRangeDlg.h"

#include "shell/ui/ModalDialog.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <gtest/gtest.h>

using namespace qv;

TEST(ArrowDlg, GivesAndReadsTheCheckedControlId)
{
    CArrowDlg dialog(1401, 2);
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("1401")->isChecked());
    test::SaveRender(test::RenderWidget(dialog), "arrow_dialog");
    dialog.findChild<QRadioButton*>("1399")->click();
    dialog.findChild<QSlider*>("1403")->setValue(3);
    EXPECT_EQ(dialog.ArrowId(), 1399);
    EXPECT_EQ(dialog.ArrowSize(), 3);
    EXPECT_EQ(CArrowDlg(7, 0).ArrowId(), 1398);
}

TEST(IntradayRangeDlg, MinutesOutsideTheBoundsAreRefused)
{
    int warnings = 0;
    SetModalDialogRunner([&](QDialog&) {
        ++warnings;
        return int(QDialog::Rejected);
    });
    CIntradayRangeDlg dialog;
    test::SaveRender(test::RenderWidget(dialog), "default_range_dialog");
    EXPECT_EQ(dialog.Minutes(), 60);
    dialog.findChild<QLineEdit*>("3341")->setText("4");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(warnings, 1);
    dialog.findChild<QLineEdit*>("3341")->setText("5");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    dialog.findChild<QCheckBox*>("3340")->setChecked(false);
    EXPECT_FALSE(dialog.findChild<QLineEdit*>("3341")->isEnabled());
    SetModalDialogRunner(nullptr);
}
