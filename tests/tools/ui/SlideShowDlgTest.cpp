// The slide-show dialog: the frame's values shown, a delay outside 0.1 to 60 seconds refused with
// the dialog left open, "Start" handing back the delay and the loop, Cancel leaving them.
#include "tools/ui/SlideShowDlg.h"

#include "shell/ui/ModalDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(SlideShowDlgTest, TheDelayIsKeptWithinItsRangeAndHandedBack)
{
    test::FakeMessageBox box;
    CSlideShow dialog(2.5, false);
    EXPECT_EQ(dialog.windowTitle(), "Slide show");
    EXPECT_EQ(dialog.delayField()->text(), "2.5");
    EXPECT_FALSE(dialog.loopBox()->isChecked());
    test::SaveRender(test::RenderWidget(dialog), "SlideShowDlg");
    struct Case {
        const char* typed;
        bool taken;
    } cases[] = {{"0.05", false}, {"61", false}, {"abc", false}, {"", false}, {"0.1", true}, {"60", true}, {" 7.5 ", true}};
    for (const Case& k : cases) {
        dialog.setResult(QDialog::Rejected);
        dialog.delayField()->setText(QString::fromLatin1(k.typed));
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, k.taken) << k.typed;
    }
    EXPECT_DOUBLE_EQ(dialog.seconds(), 7.5);
    EXPECT_EQ(box.texts().size(), 4u);
    EXPECT_EQ(box.texts().front(), "Please enter a number between 0.1 and 60.");

    SetModalDialogRunner([](QDialog& d) {
        auto& show = dynamic_cast<CSlideShow&>(d);
        show.delayField()->setText("4");
        show.loopBox()->setChecked(true);
        show.accept();
        return d.result();
    });
    double seconds = 2.5;
    bool loop = false;
    EXPECT_TRUE(RunSlideShowDialog(seconds, loop));
    EXPECT_DOUBLE_EQ(seconds, 4);
    EXPECT_TRUE(loop);
    SetModalDialogRunner([](QDialog& d) {
        d.reject();
        return d.result();
    });
    EXPECT_FALSE(RunSlideShowDialog(seconds, loop));
    EXPECT_DOUBLE_EQ(seconds, 4);
    SetModalDialogRunner(nullptr);
}

} // namespace
} // namespace qv
