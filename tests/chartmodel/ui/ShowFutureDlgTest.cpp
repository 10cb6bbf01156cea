// The "Show Future" dialog: its fields, the amount's range check, Preview and Cancel.
#include "chartmodel/ui/ShowFutureDlg.h"

#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace qv {
namespace {

template <typename T>
T* Child(QWidget& dialog, const char* name)
{
    return dialog.findChild<T*>(QString::fromLatin1(name));
}

TEST(ShowFutureDlg, EditsTheFieldsAndChecksTheAmount)
{
    test::FakeMessageBox box;
    FutureSetting future{0, 2, 3};
    int applied = 0;
    CShowFuture dialog(future, [&] { ++applied; });
    EXPECT_FALSE(Child<QCheckBox>(dialog, "on")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(dialog, "months")->isChecked());
    EXPECT_EQ(Child<QLineEdit>(dialog, "amount")->text(), "3");
    test::SaveRender(test::RenderWidget(dialog), "show_future_dialog");

    // A percentage above 99 is refused and nothing is stored.
    Child<QCheckBox>(dialog, "on")->setChecked(true);
    Child<QRadioButton>(dialog, "percent")->setChecked(true);
    Child<QLineEdit>(dialog, "amount")->setText("150");
    EXPECT_FALSE(dialog.preview());
    ASSERT_EQ(box.texts().size(), 1u);
    EXPECT_EQ(box.texts()[0], "Please enter an integer between 1 and 99.");
    EXPECT_EQ(future.on, 0);
    // Preview stores and applies; Cancel puts the old fields back and applies them again.
    Child<QLineEdit>(dialog, "amount")->setText("40");
    EXPECT_TRUE(dialog.preview());
    EXPECT_EQ(future.on, 1);
    EXPECT_EQ(future.unit, 4);
    EXPECT_EQ(future.amount, 40);
    EXPECT_EQ(applied, 1);
    dialog.reject();
    EXPECT_EQ(future.on, 0);
    EXPECT_EQ(future.unit, 2);
    EXPECT_EQ(future.amount, 3);
    EXPECT_EQ(applied, 2);
}

} // namespace
} // namespace qv
