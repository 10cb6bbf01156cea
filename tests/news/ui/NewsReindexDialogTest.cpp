// The reindex's progress dialog: its title, text and range, and Esc during a reindex stopping it
// while the reindex dispatches the waiting messages.
#include "news/ui/NewsReindexDialog.h"

#include "core/NewsUpdateFiles.h"
#include "devtools/lib/NewsUpdateWriter.h"
#include "news/NewsDatabase.h"
#include "platform/FileOps.h"
#include "shell/IdleWork.h"
#include "shell/ui/ProgressDlg.h"
#include "support/ui/Render.h"
#include "tests/news/NewsFixture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace qv {
namespace {

class NewsReindexDialogTest : public test::NewsFolderTest {
protected:
    void SetUp() override
    {
        test::NewsFolderTest::SetUp();
        for (int d = 0; d < 4; ++d) {
            PackedDate date = PackDate(uint16_t(6 + d), 1, 2025);
            dev::NewsUpdateInput input;
            input.stories.push_back({date, 100, "GBR Alpha day " + std::to_string(d) + "\nBody."});
            WriteFileBytes(NewsDatabase::DataFolder() / dev::NewsUpdateFileName(date), dev::WriteNewsUpdate(input));
        }
        ApplyNewsUpdateFiles();
        SetEventPump([](bool) { QCoreApplication::processEvents(); });
    }
    void TearDown() override
    {
        SetEventPump(nullptr);
        test::NewsFolderTest::TearDown();
    }
};

TEST_F(NewsReindexDialogTest, ShowsTheDaysAndTheirProgress)
{
    NewsReindexDialog progress;
    progress.open(4);
    ASSERT_NE(progress.Dialog(), nullptr);
    EXPECT_TRUE(progress.Dialog()->isVisible());
    EXPECT_EQ(progress.Dialog()->windowTitle(), "News reindex");
    EXPECT_EQ(progress.Dialog()->findChild<QLabel*>()->text(), " News reindexing progress ");
    EXPECT_TRUE(progress.step(3));
    EXPECT_EQ(progress.Dialog()->Pos(), 3);
    test::SaveRender(test::RenderWidget(*progress.Dialog()), "NewsReindexDialog");
    progress.close();
    EXPECT_EQ(progress.Dialog(), nullptr);
}

TEST_F(NewsReindexDialogTest, EscDuringTheReindexStopsIt)
{
    NewsReindexDialog progress;
    QTimer::singleShot(0, [&progress] {
        if (progress.Dialog())
            QTest::keyClick(progress.Dialog(), Qt::Key_Escape);
    });
    EXPECT_EQ(ReindexNews(TheNewsDatabase(), &progress), NewsReindexResult::Stopped);
    EXPECT_EQ(progress.Dialog(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(NewsDatabase::NewsFolder() / "INews.dat"));

    NewsReindexDialog quiet;
    EXPECT_EQ(ReindexNews(TheNewsDatabase(), &quiet), NewsReindexResult::Done);
    EXPECT_TRUE(TheNewsDatabase().catalogue().indexed());
}

} // namespace
} // namespace qv
