// The New Shares dialog: the lines it is given, OK and Cancel closing it.
#include "realtime/ui/NewSharesDlg.h"

#include "support/ui/Render.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(NewSharesDlgTest, ListsTheLinesAndClosesWithEitherButton)
{
    for (const char* button : {"1", "2"}) {
        CNewSharesDlg dialog({"NWCO  New Company", "ANOT  Another plc"});
        EXPECT_EQ(dialog.windowTitle(), "New Shares");
        ASSERT_EQ(dialog.list()->count(), 2);
        EXPECT_EQ(dialog.list()->item(1)->text(), "ANOT  Another plc");
        test::SaveRender(test::RenderWidget(dialog), "NewSharesDlg_704");
        dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
        EXPECT_EQ(dialog.result(), button[0] == '1' ? QDialog::Accepted : QDialog::Rejected);
    }
}

} // namespace
} // namespace qv
