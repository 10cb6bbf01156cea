// The price list box and its editor, the list cell tip, the sector list and the table-library button,
// each hosted in a small test dialog.
#include "devtools/lib/TempFolder.h"
#include "platform/Beep.h"
#include "shell/ColumnFormatter.h"
#include "shell/PriceListRules.h"
#include "shell/ui/LibraryButton.h"
#include "shell/ui/ListCtrlEx.h"
#include "shell/ui/PopupListTip.h"
#include "shell/ui/PriceListBox.h"
#include "support/FakeMessageBox.h"
#include "support/ui/ControlDialog.h"
#include "support/ui/Render.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QWidgetAction>
#include <gtest/gtest.h>

#include <fstream>

using namespace qv;

namespace {

struct PriceListFixture : ::testing::Test {
    test::ControlDialog dialog;
    test::FakeMessageBox box;
    CPriceListBox* list = new CPriceListBox(&dialog);
    float prices[6] = {100.0f, 101.5f, kHolidayPrice, 99.25f, 102.0f, 103.0f};
    std::vector<int> changed;
    int beeps = 0;
    BeepHandler previousBeep;

    void SetUp() override
    {
        PriceListDisplay() = {};
        auto* third = new QLabel("Change", &dialog);
        third->setObjectName("2837");
        third->move(130, 4);
        auto* fourth = new QLabel("%", &dialog);
        fourth->setObjectName("1089");
        fourth->move(200, 4);
        list->setGeometry(10, 24, 290, 200);
        list->setDayText([](int element) { return QString("%1 Mar").arg(element + 2, 2, 10, QChar('0')); });
        list->setPrices(prices, 6);
        QObject::connect(list, &CPriceListBox::priceChanged, [this](int element) { changed.push_back(element); });
        previousBeep = SetBeepHandler([this] { ++beeps; });
        dialog.show();
        list->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        SetBeepHandler(previousBeep);
        PriceListDisplay() = {};
    }
};

} // namespace

TEST_F(PriceListFixture, RowsShowNewestFirstAndMarksNeedASelectedRow)
{
    EXPECT_EQ(list->item(0)->text(), "07 Mar\t103.00") << "row 0 shows the last element";
    EXPECT_EQ(list->item(3)->text(), "04 Mar\tClosed");
    int unit = list->fontMetrics().averageCharWidth();
    EXPECT_EQ(list->columnStops().mid(0, 2), (QList<int>{2 * unit / 4, 30 * unit / 4}));

    list->setCurrentRow(-1);
    QTest::keyClick(list, Qt::Key_M);
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_5);
    EXPECT_TRUE(changed.empty()) << "with no row selected nothing is written";
    EXPECT_EQ(list->editor(), nullptr);

    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_M);
    EXPECT_EQ(prices[4], kMissingPrice);
    QTest::keyClick(list, Qt::Key_C);
    EXPECT_EQ(prices[4], kHolidayPrice);
    EXPECT_EQ(changed, (std::vector<int>{4, 4}));
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(list->currentRow(), 2);
    QTest::keyClick(list, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(list->currentRow(), 1);

    list->onCommand(26206);
    EXPECT_TRUE(list->item(0)->text().startsWith("02 Mar\t100.00")) << "oldest first";
    EXPECT_EQ(changed.back(), -1);
}

// Laid out beside other controls, as the share editor lays it, the box keeps room for its change
// column: the widest change stays inside the viewport whether the column is shown or not.
TEST(PriceListLayout, TheBoxIsNeverNarrowerThanItsColumns)
{
    PriceListDisplay() = {};
    QDialog dialog;
    auto* box = new CPriceListBox(&dialog);
    auto* layout = new QHBoxLayout(&dialog);
    layout->addWidget(box, 1);
    layout->addWidget(new QLabel(QString(60, QChar('x')), &dialog));
    float prices[2] = {50.0f, 97.75f};
    box->setDayText([](int element) { return QString("Thu\t%1/12/26").arg(element + 2); });
    box->setPrices(prices, 2);
    for (bool percent : {false, true}) {
        if (percent)
            box->onCommand(26220);
        ASSERT_EQ(PriceListDisplay().percent, percent);
        dialog.resize(dialog.minimumSizeHint());
        dialog.show();
        QApplication::processEvents();
        const QStringList pieces = box->item(0)->text().split('\t');
        const int lastStart = box->columnStops().value(pieces.size() - 1);
        EXPECT_GE(box->viewport()->width(), lastStart + box->fontMetrics().horizontalAdvance(pieces.last()))
            << pieces.join(' ').toStdString();
    }
    PriceListDisplay() = {};
}

TEST_F(PriceListFixture, TheEditorCommitsMovesCancelsAndBeepsAtTheEnd)
{
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_NE(list->editor(), nullptr);
    EXPECT_EQ(list->editor()->text(), "103.00");
    list->editor()->clear();
    QTest::keyClicks(list->editor(), "12x.5");
    EXPECT_EQ(list->editor()->text(), "12.5") << "only digits, \".\" and the marks are typed";
    if (test::FontsAvailable())
        test::SaveRender(test::RenderWidget(dialog), "price_list_editing");
    QTest::keyClick(list->editor(), Qt::Key_Tab);
    EXPECT_FLOAT_EQ(prices[5], 12.5f);
    EXPECT_EQ(changed, std::vector<int>{5});
    EXPECT_EQ(list->currentRow(), 1);
    ASSERT_NE(list->editor(), nullptr) << "the editor moves to the next row";
    EXPECT_EQ(list->editor()->element(), 4);

    list->editor()->setText("0");
    QTest::keyClick(list->editor(), Qt::Key_Return);
    ASSERT_EQ(box.texts().size(), 1u);
    EXPECT_EQ(box.texts()[0], kBadPriceMessage);
    EXPECT_FLOAT_EQ(prices[4], 102.0f) << "0 stores nothing";

    QTest::keyClick(list->editor(), Qt::Key_Escape);
    EXPECT_EQ(list->editor(), nullptr);

    list->setCurrentRow(5);
    QTest::keyClick(list, Qt::Key_7);
    ASSERT_NE(list->editor(), nullptr);
    EXPECT_EQ(list->editor()->text(), "7") << "a digit opens the editor with it";
    QTest::keyClick(list->editor(), Qt::Key_Tab);
    EXPECT_FLOAT_EQ(prices[0], 7.0f);
    EXPECT_EQ(beeps, 1) << "Tab on the last row beeps";
    EXPECT_EQ(list->editor(), nullptr);
}

TEST_F(PriceListFixture, ContextMenuChecksTheFlags)
{
    PriceListDisplay().lines = true;
    std::unique_ptr<QMenu> menu(list->createContextMenu());
    std::map<uint32_t, bool> checks;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            checks[action->data().toUInt()] = action->isChecked();
    EXPECT_EQ(checks.size(), 4u);
    EXPECT_TRUE(checks[26208]);
    EXPECT_FALSE(checks[26206]);
    EXPECT_FALSE(checks[26220]);
    list->onCommand(26220);
    EXPECT_TRUE(PriceListDisplay().percent);
    EXPECT_EQ(list->columnStops().size(), 5) << "a fifth column with the percent change";
    EXPECT_EQ(list->item(0)->text(), "07 Mar\t103.00\t+1.0%");
    EXPECT_EQ(list->item(3)->text(), "04 Mar\tClosed") << "a closed day has no change";
    EXPECT_EQ(list->item(2)->text(), "05 Mar\t99.25") << "nor the day after it";
}

namespace {

struct OneRowView : ListTipView {
    bool hasEntries() const override { return true; }
    TipListKind listKind() const override { return TipListKind::PlainList; }
    RecordCursor rowShare(int) const override { return {}; }
    int textWidth(const std::string& text) const override { return int(text.size()) * 7; }
    int cellMargin() const override { return 3; }
    std::string vgItem(int, int, PackedDate*) const override { return {}; }
};

} // namespace

TEST(PopupListTipTest, ShowsWithoutTakingTheMouseAndKeepsInsideTheLimit)
{
    ColumnFormatter previous = SetColumnFormatter([](const RecordCursor&, uint32_t field) -> std::string {
        if (field == ColumnField::PreviousNames)
            return "Alpha Mining|Alpha Gold Mines|Alpha Prospecting";
        return field == ColumnField::Epic ? "ALM" : "Alpha Mining and Metals";
    });
    test::ControlDialog dialog;
    dialog.resize(400, 300);
    dialog.show();
    OneRowView view;
    CPopupListTip tip;
    tip.Create(0, 0, &dialog);
    EXPECT_TRUE(tip.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(tip.testAttribute(Qt::WA_ShowWithoutActivating));
    tip.SetState({false, false, true});
    tip.SetCell(41, 30, &view, 0, {ColumnField::PreviousNames, 1}, 60, dialog.font());

    tip.ShowAfter(400);
    EXPECT_TRUE(tip.timerRunning());
    EXPECT_FALSE(tip.isVisible());
    tip.ShowAfter(0);
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.content().subtitle, "Other previous names:");
    EXPECT_EQ(tip.content().body, "Alpha Gold Mines\nAlpha Prospecting");
    EXPECT_EQ(tip.pos(), dialog.mapToGlobal(QPoint(40, 30))) << "with a title, at the cell (left one less)";
    if (test::FontsAvailable())
        test::SaveRender(test::RenderWidget(tip), "list_cell_tip");

    tip.SetRightLimit(100);
    tip.ShowNow();
    EXPECT_EQ(dialog.mapFromGlobal(tip.pos()).x() + tip.width(), 100) << "moved left to the limit";
    tip.Hide();
    EXPECT_FALSE(tip.isVisible());

    tip.SetCell(41, 30, &view, 0, {ColumnField::Epic, 1}, 200, dialog.font());
    tip.SetState({false, false, false});
    EXPECT_FALSE(tip.ShowNow()) << "a text that fits, with no extra information";
    SetColumnFormatter(previous);
}

TEST(ListCtrlExTest, ShadesBoldsAlignsAndSortsByHeaderClicks)
{
    SectorRow rows[] = {
        {{"Mining", "50.0", "12%"}, {50, 12}, 1, 2}, {{"Gold", "5.0", "3%"}, {5, 3}, 1, 6},
        {{"Coal", "7.0", "9%"}, {7, 9}, 1, 6},      {{"Banks", "30.0", "8%"}, {30, 8}, 2, 2},
        {{"Lenders", "3.0", "1%"}, {3, 1}, 2, 6},   {{"Total", "95.0", "33%"}, {95, 33}, 0, 8},
    };
    test::ControlDialog dialog;
    auto* list = new CListCtrlEx(&dialog);
    list->setGeometry(5, 5, 310, 230);
    list->SetHeaders({"Sector", "Value", "Share"});
    list->SetFirstData(rows, 6);
    dialog.show();
    SectorRowModel* model = list->rowModel();
    EXPECT_EQ(model->data(model->index(1, 0), Qt::DisplayRole).toString(), "    Gold");
    EXPECT_TRUE(model->data(model->index(0, 0), Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(model->data(model->index(1, 0), Qt::FontRole).isValid());
    EXPECT_EQ(model->data(model->index(0, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);
    // Group 1 sets the marker: odd rows the window colour, even rows t2.
    EXPECT_EQ(model->data(model->index(2, 0), Qt::BackgroundRole).value<QColor>(),
              QColor(list->tints().t2.r, list->tints().t2.g, list->tints().t2.b));

    list->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(QString(rows[1].texts[0]), "Coal");
    list->horizontalHeader()->sectionClicked(0);
    EXPECT_TRUE(list->descending());
    EXPECT_EQ(QString(rows[1].texts[0]), "Gold") << "the same header again reverses within the groups";
    EXPECT_EQ(QString(rows[0].texts[0]), "Mining");
    EXPECT_EQ(QString(rows[5].texts[0]), "Total");
    list->horizontalHeader()->sectionClicked(1);
    EXPECT_FALSE(list->descending()) << "another column sorts ascending";
    if (test::FontsAvailable())
        test::SaveRender(test::RenderWidget(dialog), "sector_list");
}

TEST(LibraryButtonTest, MenuOfLibraryFilesCommandsAndTheFolder)
{
    dev::TempFolder folder;
    for (int i = 0; i < 20; ++i)
        std::ofstream(folder / ("table" + std::to_string(10 + i) + ".tab"))
            << "!QV table\n!Income table " << i << "\n!Yield, cover and dividend columns for income seekers, set " << i << "\n";
    test::ControlDialog dialog;
    auto* button = new CLibraryButton("Library", &dialog);
    button->setGeometry(10, 10, 120, 26);
    button->setFolder(folder.path(), "tab");
    std::vector<uint32_t> commands;
    QObject::connect(button, &CLibraryButton::commandToParent, [&](uint32_t command) { commands.push_back(command); });
    dialog.show();

    std::unique_ptr<QMenu> menu(button->buildMenu());
    QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 19);
    EXPECT_NE(qobject_cast<QWidgetAction*>(actions[0]), nullptr) << "file rows are drawn by the button";
    EXPECT_EQ(actions[0]->data().toUInt(), 27223u);
    EXPECT_EQ(actions[15]->data().toUInt(), 27238u);
    EXPECT_TRUE(actions[16]->isSeparator());
    EXPECT_EQ(actions[17]->text(), "Open library folder...");
    EXPECT_EQ(actions[18]->text(), "Add current table to library");
    menu->triggered(actions[2]);
    menu->triggered(actions[18]);
    EXPECT_EQ(commands, (std::vector<uint32_t>{27225, 27221}));
    if (test::FontsAvailable()) {
        menu->adjustSize();
        test::SaveRender(test::RenderWidget(*menu), "library_menu");
        test::SaveRender(test::RenderWidget(*button), "library_button");
    }

    test::FakeMessageBox box;
    std::vector<std::filesystem::path> opened;
    button->setFolderOpener([&](const std::filesystem::path& path) { opened.push_back(path); });
    button->setFolder(folder.path() / "Library", "tab");
    box.queue(MsgAnswer::No);
    menu->triggered(actions[17]);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "Library")) << "No creates nothing";
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(box.texts().size(), 1u);
    EXPECT_EQ(box.texts()[0], kNoLibraryFolderQuestion);
    box.queue(MsgAnswer::Yes);
    button->openFolder();
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "Library"));
    EXPECT_EQ(opened.size(), 1u);
    std::unique_ptr<QMenu> empty(button->buildMenu());
    EXPECT_EQ(empty->actions().size(), 2) << "no files: no separator";
}
