// The "Show Future" dialog: its fields, the amount's range check, Preview and Cancel.
#include "chartmodel/ui/ShowFutureDlg.h"

#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace qv {
namespace {

template <typename T>
T* Child(QWidget& dialog, const char* name)
{
    return name ? dialog.findChild<T*>(QString::fromLatin1(name)) : dialog.findChild<T*>();
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

    // Each unit's maximum is named, and OK and Preview wait for an amount within it.
    auto* ok = Child<QDialogButtonBox>(dialog, nullptr)->button(QDialogButtonBox::Ok);
    auto* preview = Child<QPushButton>(dialog, "preview");
    auto* limit = Child<QLabel>(dialog, "1967");
    struct Case {
        const char* unit;
        const char* amount;
        bool enabled;
        const char* label;
    };
    for (const Case& c : {Case{"days", "3650", true, " (3650 max.)"}, Case{"days", "3651", false, " (3650 max.)"},
                          Case{"weeks", "3651", false, " (520 max.)"}, Case{"weeks", "520", true, " (520 max.)"},
                          Case{"months", "121", false, " (120 max.)"}, Case{"years", "10", true, " (10 max.)"},
                          Case{"years", "11", false, " (10 max.)"}, Case{"percent", "75", true, " (75% max.)"},
                          Case{"percent", "0", false, " (75% max.)"}, Case{"days", "x", false, " (3650 max.)"}}) {
        Child<QRadioButton>(dialog, c.unit)->setChecked(true);
        Child<QLineEdit>(dialog, "amount")->setText(QString::fromLatin1(c.amount));
        EXPECT_EQ(ok->isEnabled(), c.enabled) << c.unit << " " << c.amount;
        EXPECT_EQ(preview->isEnabled(), c.enabled) << c.unit << " " << c.amount;
        EXPECT_EQ(limit->text(), QString::fromLatin1(c.label)) << c.unit;
    }
    // A percentage above 75 is refused and nothing is stored.
    Child<QCheckBox>(dialog, "on")->setChecked(true);
    Child<QRadioButton>(dialog, "percent")->setChecked(true);
    Child<QLineEdit>(dialog, "amount")->setText("150");
    EXPECT_FALSE(dialog.preview());
    ASSERT_EQ(box.texts().size(), 1u);
    EXPECT_EQ(box.texts()[0], "Please enter an integer between 1 and 75.");
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
