#include "shell/ui/MainFrame.h"

#include "support/ui/Render.h"

#include <QMdiArea>
#include <gtest/gtest.h>

using namespace qv;

TEST(MainFrame, OpensTitledWithAnEmptyWorkspaceAndRenders)
{
    ASSERT_TRUE(test::FontsAvailable()) << "no font: install fonts-dejavu-core and fontconfig";
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Quorvantis"));
    ASSERT_NE(frame.mdiArea(), nullptr);
    EXPECT_TRUE(frame.mdiArea()->subWindowList().isEmpty());
    QImage image = test::RenderWidget(frame);
    EXPECT_EQ(image.size(), frame.size());
    test::SaveRender(image, QStringLiteral("main-frame"));
    EXPECT_TRUE(frame.close());
}
