// Tests of small display controls.
#include "shell/ui/Statics.h"

#include "shell/FeedLevelPane.h"
#include "shell/StaticStyle.h"
#include "shell/ui/ProgressDlg.h"
#include "shell/ui/StatusBarEx.h"
#include "support/ui/Render.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace qv;

namespace {

TEST(Statics, TextFlagsFollowTheStyle)
{
    struct Case {
        uint32_t style;
        uint32_t flags;
    };
    for (const Case& c : std::vector<Case>{
             {kStaticLeft, DT_WORDBREAK},
             {kStaticCentre, DT_CENTER | DT_WORDBREAK},
             {kStaticRight | kStaticNoPrefix, DT_RIGHT | DT_NOPREFIX | DT_WORDBREAK},
             {kStaticCentreImage, DT_VCENTER | DT_SINGLELINE},
             {kStaticLeftNoWordWrap, 0},
             {kStaticEndEllipsis, DT_WORD_ELLIPSIS | DT_END_ELLIPSIS},
             {kStaticPathEllipsis, DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS},
             {kStaticWordEllipsis, DT_WORD_ELLIPSIS},
         })
        EXPECT_EQ(StaticTextFlags(c.style), c.flags) << c.style;
}

TEST(Statics, TheBitmapLabelRepaintsOnlyOnAChange)
{
    CBitmapStatic label(nullptr, kStaticCentre | kStaticCentreImage);
    label.resize(120, 24);
    label.show();
    QApplication::processEvents();
    int before = label.paints();
    label.setText(QStringLiteral("123.5p"));
    label.setText(QStringLiteral("123.5p"));
    EXPECT_EQ(label.paints(), before + 1);
    label.SetTextColour(Qt::red);
    label.SetTextColour(Qt::red);
    EXPECT_EQ(label.paints(), before + 2);
    EXPECT_EQ(label.text(), QStringLiteral("123.5p"));
}

TEST(Statics, ALinkTakesItsTargetFromItsTextAndCanPostACommand)
{
    CLinkStatic link(QStringLiteral("www.example.com"));
    EXPECT_EQ(link.target(), QStringLiteral("www.example.com"));
    EXPECT_EQ(link.toolTip(), QStringLiteral("Open www.example.com"));
    CLinkStatic named(QStringLiteral("Help"), QStringLiteral("help.html"), QStringLiteral("Read the help"));
    EXPECT_EQ(named.toolTip(), QStringLiteral("Read the help"));
    QSignalSpy commands(&named, &CLinkStatic::commandPosted);
    QSignalSpy opens(&named, &CLinkStatic::openRequested);
    named.setCommand(26121);
    named.click();
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands[0][0].toInt(), 26121);
    EXPECT_EQ(opens.count(), 0);
}

TEST(Statics, TheArrowIsDrawnOnlyWhenShown)
{
    CArrowStatic arrow;
    arrow.resize(20, 20);
    QImage hidden = test::RenderWidget(arrow);
    arrow.setShow(true);
    QImage shown = test::RenderWidget(arrow);
    EXPECT_NE(hidden, shown);
    EXPECT_EQ(shown.pixelColor(10, 6), QColor(Qt::black)) << "the tip at (w/2, h/4 + 1)";
    EXPECT_EQ(shown.pixelColor(10, 12), QColor(Qt::white)) << "filled white";
}

TEST(ProgressDialog, StepsFromTheQueueUntilTheStepFunctionEnds)
{
    CProgressDlg dialog;
    dialog.caption = QStringLiteral("Sorting");
    dialog.message = QStringLiteral("Sorting the list");
    dialog.rangeMaximum = 10;
    int calls = 0;
    std::vector<int> positions;
    dialog.stepFunction = [&] {
        positions.push_back(dialog.Pos());
        return ++calls < 5;
    };
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sorting"));
    EXPECT_EQ(dialog.OnMessage(CProgressDlg::kQuery), 1);

    CProgressDlg once;
    once.stepFunction = [] { return false; };
    EXPECT_EQ(once.exec(), QDialog::Rejected);
    EXPECT_EQ(once.steps(), 1u);
    EXPECT_EQ(once.Pos(), 0);
}

TEST(StatusBar, TheLevelPaneDrawsTheFeedLevels)
{
    CStatusBarEx bar;
    ASSERT_TRUE(bar.SetPanes({0, CStatusBarEx::kLevelPaneId}, {100, 28}));
    EXPECT_FALSE(bar.SetPanes({0, 1}, {100}));
    bar.resize(200, 22);
    QImage off = test::RenderWidget(bar);
    CurrentFeedLevels() = FeedLevels{3u << 8, 1u << 8, kFeedConnected};
    QWidget* pane = bar.Pane(1);
    QImage on = test::RenderWidget(*pane);
    int top = (pane->height() - 12) / 2;
    EXPECT_EQ(on.pixelColor(2, top + 9), QColor(0, 0, 0x80)) << "navy in use";
    EXPECT_EQ(on.pixelColor(2, top + 4), QColor(Qt::white)) << "wanted above it";
    EXPECT_EQ(on.pixelColor(7, top + 11), QColor(0, 0, 0x80)) << "bar 1 at level 0";
    CurrentFeedLevels() = FeedLevels{};
    test::SaveRender(on.scaled(on.size() * 4), QStringLiteral("feed-level-pane"));
    (void)off;
}

} // namespace
