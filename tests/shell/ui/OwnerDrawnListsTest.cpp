// The shared list controls: grid rows in columns with their display commands, keys passed between the
// find dialogs' list and edit, and item tooltips.
#include "core/ConfigState.h"
#include "shell/ui/GridListBox.h"
#include "shell/ui/ItemListBox.h"
#include "shell/ui/KeyForwarding.h"
#include "support/ui/Render.h"

#include <QDialog>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

struct OptionsGuard {
    OptionBlockA saved = Config().optionsA;
    ~OptionsGuard() { Config().optionsA = saved; }
};

// A dialog that records the keys its controls hand it.
class KeyRecorder : public QDialog {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

} // namespace

TEST(OwnerDrawnLists, GridColumnsAndPieces)
{
    GridColumns columns = EvenGridColumns(300, 3);
    EXPECT_EQ(columns.stops[0], 10);
    EXPECT_EQ(columns.stops[1], 110);
    EXPECT_EQ(columns.stops[2], 210);
    EXPECT_EQ(EvenGridColumns(30, 3).stops[0], 1); // w / 6 when that is less than 10
    QString many;
    for (int i = 0; i < 20; ++i)
        many += QStringLiteral("p%1\t").arg(i);
    QStringList pieces = GridPieces(many);
    ASSERT_EQ(pieces.size(), kGridPieces);
    EXPECT_EQ(pieces.last(), QStringLiteral("p15"));
}

TEST(OwnerDrawnLists, GridCommandsToggleTheProgramWideFlags)
{
    OptionsGuard guard;
    QWidget window;
    window.setGeometry(50, 60, 400, 300);
    CGridListBox grid(true, &window);
    QSignalSpy changed(&grid, &CGridListBox::priceListFlagsChanged);
    EXPECT_TRUE(grid.OnCommand(26208));
    EXPECT_TRUE(GridListLines());
    EXPECT_TRUE(grid.OnCommand(26220));
    EXPECT_TRUE(PriceListFlag(2));
    EXPECT_TRUE(grid.OnCommand(26664));
    EXPECT_TRUE(PriceListFlag(4));
    EXPECT_EQ(window.width(), 550);
    EXPECT_TRUE(grid.OnCommand(26665));
    EXPECT_EQ(window.width(), 300);
    EXPECT_TRUE(grid.OnCommand(26207));
    EXPECT_TRUE(grid.OnCommand(26774)); // clears 2-5, keeps 1
    EXPECT_TRUE(PriceListFlag(1));
    for (int n = 2; n <= 5; ++n)
        EXPECT_FALSE(PriceListFlag(n)) << n;
    EXPECT_EQ(changed.count(), 5);
    EXPECT_FALSE(grid.OnCommand(12345));
}

TEST(OwnerDrawnLists, GridRowsDrawInColumnsWithLines)
{
    ASSERT_TRUE(FontsAvailable());
    OptionsGuard guard;
    SetGridListLines(true);
    CGridListBox grid(true);
    grid.resize(360, 120);
    grid.SetColumnCount(3);
    grid.addItem(QStringLiteral("Barclays\t212.5p\t+1.2%"));
    grid.addItem(QStringLiteral("A very long name that cannot fit its column\t1,234p\t-0.4%"));
    grid.addItem(QStringLiteral("Tesco\t301p\t0.0%"));
    grid.setCurrentRow(1);
    QImage image = RenderWidget(grid);
    SaveRender(image, "grid-list");
    EXPECT_EQ(grid.sizeHintForRow(0), kGridRowHeight);
}

TEST(OwnerDrawnLists, KeysGoWhereTheyBelong)
{
    KeyRecorder dialog;
    auto* list = new CSmallListBox(&dialog);
    auto* edit = new CKeyEdit(&dialog);
    list->addItems({QStringLiteral("one"), QStringLiteral("two")});
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_B);    // a letter reaches the dialog, not the list
    QTest::keyClick(list, Qt::Key_Down); // a move stays in the list
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(edit, Qt::Key_X);
    QTest::keyClick(edit, Qt::Key_PageDown);
    EXPECT_EQ(edit->text(), QStringLiteral("x"));
    EXPECT_EQ(dialog.keys, (std::vector<int>{Qt::Key_B, Qt::Key_PageDown}));

    QSignalSpy chosen(list, &QListWidget::itemDoubleClicked);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(chosen.count(), 1); // one click chooses

    CKeyForwardButton button(QStringLiteral("A"), &dialog);
    QSignalSpy forwarded(&button, &CKeyForwardButton::keyForwarded);
    QTest::keyClick(&button, Qt::Key_Q);
    ASSERT_EQ(forwarded.count(), 1);
    EXPECT_EQ(forwarded.first().at(0).toInt(), int(Qt::Key_Q));
}

TEST(OwnerDrawnLists, ItemTipsComeFromTheArray)
{
    CItemListBox list;
    list.resize(200, 100);
    list.addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    list.SetItem(1, QStringLiteral("Second item"));
    EXPECT_EQ(list.TipAt(list.visualItemRect(list.item(1)).center()), QStringLiteral("Second item"));
    EXPECT_TRUE(list.TipAt(list.visualItemRect(list.item(2)).center()).isEmpty()); // beyond the array
    list.RemoveAll();
    EXPECT_EQ(list.count(), 0);
}
