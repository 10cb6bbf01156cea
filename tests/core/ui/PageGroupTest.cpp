// Tests of page groups of dialog controls and of the shared off-screen bitmap.
#include "core/ui/MemBitmap.h"
#include "core/ui/PageGroup.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QTabBar>
#include <gtest/gtest.h>

namespace qv {
namespace {

QWidget* Control(QWidget* parent, uint16_t id, QRect rect)
{
    auto* w = new QLabel(QString::number(id), parent);
    w->setObjectName(QString::number(id));
    w->setGeometry(rect);
    return w;
}

// Three pages laid side by side (anchors 10, 20, 30, each with two controls) and a reference frame
// 5 at the left; a tab bar 99.
class PageGroupDialog : public ::testing::Test {
protected:
    PageGroupDialog()
    {
        dialog.resize(900, 300);
        Control(&dialog, 5, {10, 20, 200, 150});
        for (int p = 0; p < 3; ++p) {
            int x = 250 + p * 210;
            uint16_t anchor = uint16_t(10 * (p + 1));
            Control(&dialog, anchor, {x, 40, 180 + p * 10, 120});
            Control(&dialog, uint16_t(anchor + 1), {x + 10, 50, 60, 20});
            Control(&dialog, uint16_t(anchor + 2), {x + 10, 80, 60, 20});
        }
        auto* tabs = new QTabBar(&dialog);
        tabs->setObjectName(QStringLiteral("99"));
    }
    QWidget* At(uint16_t id) { return DialogControl(&dialog, id); }
    void Fill(CPageGroup& group, bool showAnchor = true)
    {
        for (int p = 0; p < 3; ++p) {
            uint16_t anchor = uint16_t(10 * (p + 1));
            group.SetPage(p, anchor, showAnchor, {uint16_t(anchor + 1), uint16_t(anchor + 2)});
        }
    }
    QWidget dialog;
};

TEST_F(PageGroupDialog, AligningMovesEveryPageOntoTheReference)
{
    CPageGroup group(&dialog);
    Fill(group);
    group.AlignPages(5, 0);
    for (uint16_t anchor : {10, 20, 30}) {
        EXPECT_EQ(At(anchor)->pos(), QPoint(10, 20)) << anchor;
        EXPECT_EQ(At(uint16_t(anchor + 1))->pos(), QPoint(20, 30)) << anchor;
    }
    // With bit 0 the right edges meet, with bit 1 the bottom edges.
    MoveControlGroup(&dialog, 5, 30, {31}, 3);
    EXPECT_EQ(At(30)->geometry().right(), At(5)->geometry().right());
    EXPECT_EQ(At(30)->geometry().bottom(), At(5)->geometry().bottom());
    EXPECT_EQ(At(31)->pos() - At(30)->pos(), QPoint(10, 10));
}

TEST_F(PageGroupDialog, SelectingHidesOtherPagesOnceThenOnlyThePrevious)
{
    CPageGroup group(&dialog);
    Fill(group);
    group.SelectPage(1);
    EXPECT_TRUE(At(11)->isHidden());
    EXPECT_TRUE(At(10)->isHidden());
    EXPECT_FALSE(At(21)->isHidden());
    EXPECT_TRUE(At(32)->isHidden());
    // A control of page 2 shown by hand stays shown: a later choice hides only the page it leaves.
    At(31)->show();
    group.SelectPage(0);
    EXPECT_FALSE(At(31)->isHidden());
    EXPECT_TRUE(At(21)->isHidden());
    EXPECT_FALSE(At(11)->isHidden());
    At(21)->show();
    group.SelectPage(0);
    EXPECT_FALSE(At(21)->isHidden()) << "choosing the current page again changes nothing";
    EXPECT_EQ(group.current(), 0);
}

TEST_F(PageGroupDialog, AnAnchorNotInThePageStaysVisible)
{
    CPageGroup group(&dialog);
    Fill(group, false);
    group.HideAllPages();
    EXPECT_FALSE(At(20)->isHidden());
    EXPECT_TRUE(At(21)->isHidden());
}

TEST_F(PageGroupDialog, TabsSelectPages)
{
    CTabPageGroup group(&dialog);
    group.SetTabControl(99);
    auto* tabs = static_cast<QTabBar*>(At(99));
    group.AddTab(0, 10, true, {11, 12}, "First");
    group.AddTab(1, 20, true, {21, 22}, "Second");
    group.AddTab(2, 0, true, {}, "never");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Second"));
    group.AddTab(1, 20, true, {21, 22}, "Renamed");
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Renamed"));
    group.SelectTab(1);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_TRUE(At(11)->isHidden());
    group.OnTabSelected(0);
    EXPECT_FALSE(At(11)->isHidden());
    group.RemoveTab(1);
    EXPECT_EQ(tabs->count(), 1);
}

TEST(MemBitmap, NeverShrinks)
{
    ReleaseMemBitmap();
    MemBitmap() = CMemBitmap{};
    QPixmap& first = CreateMemBitmap(nullptr, 300, 100);
    EXPECT_GE(first.width(), 300);
    CreateMemBitmap(nullptr, 100, 400);
    EXPECT_EQ(MemBitmap().width(), 300);
    EXPECT_EQ(MemBitmap().height(), 400);
    QPixmap* kept = MemBitmap().pixmap();
    CreateMemBitmap(nullptr, 50, 50);
    EXPECT_EQ(MemBitmap().pixmap(), kept) << "a smaller request keeps the bitmap";
    ReleaseMemBitmap();
    EXPECT_EQ(MemBitmap().pixmap(), nullptr);
    MemBitmap() = CMemBitmap{};
}

} // namespace
} // namespace qv
