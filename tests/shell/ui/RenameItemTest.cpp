// The rename and function-key dialogs: captions, the name limit and the key index.
#include "shell/ui/RenameItem.h"

#include "shell/ui/DialogHelp.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

TEST(RenameItemTest, CaptionAndLabelNameTheKind)
{
    struct {
        int kind;
        bool current;
        bool tables;
        const char* caption;
    } cases[] = {
        {-2, true, false, "Rename the current layout"},
        {0, false, false, "Rename this graph setting"},
        {6, true, false, "Rename the current data mining setting"},
        {6, true, true, "Rename the current data mining table"},
        {11, false, false, "Rename this ticker setting"},
    };
    for (const auto& c : cases) {
        CRenameItem dialog(c.kind, QStringLiteral("Main layout"), c.current, c.tables);
        EXPECT_EQ(dialog.windowTitle().toStdString(), c.caption);
    }
    CRenameItem dialog(1, QStringLiteral("Table 1"), true);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("1342"))->text(), QStringLiteral("New name for list table (Table 1)"));
    SaveRender(RenderWidget(dialog), "rename-item");

    CRenameItem unknown(12, QStringLiteral("x"), true);
    EXPECT_EQ(unknown.exec(), int(QDialog::Rejected)); // closes as cancelled at once
}

TEST(RenameItemTest, NamesStopAtFiftyCharacters)
{
    CRenameItem dialog(1, QString(), true);
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("1050"));
    edit->clear();
    QTest::keyClicks(edit, QString(60, QLatin1Char('a')));
    EXPECT_EQ(dialog.name().size(), 50);
    CTableKey key(QString(70, QLatin1Char('b')), 0);
    EXPECT_EQ(key.name().size(), 50);
}

TEST(RenameItemTest, KeyIndexShowsAndComesBack)
{
    for (int index = 0; index < 12; ++index) {
        CTableKey dialog(QStringLiteral("Table 3"), index);
        EXPECT_EQ(dialog.keyIndex(), index);
    }
    CTableKey dialog(QStringLiteral("Table 3"), 11);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Save Table 3 to another key combination"));
    EXPECT_TRUE(dialog.findChild<QRadioButton*>(QStringLiteral("1045"))->isChecked()); // F4
    EXPECT_TRUE(dialog.findChild<QCheckBox*>(QStringLiteral("1046"))->isChecked());
    EXPECT_TRUE(dialog.findChild<QCheckBox*>(QStringLiteral("1047"))->isChecked());
    dialog.findChild<QRadioButton*>(QStringLiteral("1043"))->setChecked(true);
    dialog.findChild<QCheckBox*>(QStringLiteral("1046"))->setChecked(false);
    EXPECT_EQ(dialog.keyIndex(), 6); // Ctrl+F2
    SaveRender(RenderWidget(dialog), "table-key");
}

TEST(RenameItemTest, HelpOnTheDialogAndItsControls)
{
    std::vector<std::pair<uint32_t, bool>> asked;
    DialogHelpHost previous = SetDialogHelpHost([&](uint32_t topic, bool popup) { asked.emplace_back(topic, popup); });
    CTableKey dialog(QStringLiteral("Table 3"), 0);
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("1106"));
    dialog.show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_F1);
    auto* help = dialog.findChild<QPushButton*>();
    for (auto* button : dialog.findChildren<QPushButton*>())
        if (button->text().contains(QStringLiteral("Help")))
            help = button;
    help->click();
    SetDialogHelpHost(previous);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], std::make_pair(1106u + 0x10000u, true));
    EXPECT_EQ(asked[1], std::make_pair(86459u, false));
}
