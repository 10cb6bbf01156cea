// Tests the progress dialog the breadth build shows: its title, its position and that it goes away.
#include "chartmodel/ui/SeriesProgressDialog.h"
#include "shell/ui/ProgressDlg.h"
#include "support/ui/Render.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(SeriesProgressDialog, ShowsTheBuildsTitleAndPositionThenCloses)
{
    SeriesProgressDialog progress;
    progress.Open("Creating Market Graph Data");
    ASSERT_NE(progress.Dialog(), nullptr);
    EXPECT_TRUE(progress.Dialog()->isVisible());
    EXPECT_EQ(progress.Dialog()->windowTitle(), "Creating Market Graph Data");
    progress.SetPosition(40);
    EXPECT_EQ(progress.Dialog()->Pos(), 40);
    test::SaveRender(test::RenderWidget(*progress.Dialog()), "SeriesProgressDialog");
    progress.Close();
    EXPECT_EQ(progress.Dialog(), nullptr);
    progress.SetPosition(50); // after closing, nothing to move
}

} // namespace
} // namespace qv
