// "Find a share" over a written database: typing narrows the list, the keys, Fast EPIC with its
// question, the alphabet, the share-type chooser and the frame's seam; and the message dialog.
#include "shell/ui/FindShareDlg.h"

#include "core/ConfigState.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/TableLock.h"
#include "shell/KeyRouting.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/KeyForwarding.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SelectShareType.h"
#include "shell/ui/SuppressibleMessage.h"
#include "support/DatabaseFixture.h"
#include "support/ui/Render.h"
#include "views/ViewBase.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::dev;

namespace {

class FindShareDlgTest : public test::DatabaseFixture {
protected:
    FindShareDlgTest()
    {
        CreateDataLock();
        Config() = ConfigState{};
        DbRecord alpha = ShareRecord(0x4001, "Alpha Mining", 'O', "ALM");
        DbRecord beta = ShareRecord(0x4002, "Beta Banks", 'O', "BEB");
        beta.subRecords.resize(2);
        beta.subRecords[1].kind = SubRecordKind::Preference;
        DbRecord delta = ShareRecord(0x4003, "Delta Drilling", 'O', "DED");
        DbRecord gamma = ShareRecord(0x4004, "Gamma Gold", 'O', "GAG");
        Load(WriteQuorvaDat(test::OneEntry({alpha, beta, delta, gamma})));
    }
    ~FindShareDlgTest() override
    {
        SetModalDialogRunner(nullptr);
        SetFindShareDialog(nullptr);
        Config() = ConfigState{};
    }

    static QString Selected(const CFindShareDlg& dialog)
    {
        QListWidgetItem* item = dialog.list()->currentItem();
        return item ? item->text() : QString();
    }
    static std::string ChosenName(const CFindShareDlg& dialog) { return std::string(GetRecordName(dialog.chosen().record)); }
};

} // namespace

TEST_F(FindShareDlgTest, TypingNarrowsAndListKeysMoveTheSelection)
{
    CFindShareDlg dialog;
    dialog.setFirstKey('d');
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.edit()->text(), "d") << "the opening letter is typed";
    EXPECT_EQ(Selected(dialog), "Delta Drilling");
    EXPECT_EQ(dialog.list()->count(), 5) << "the first-letter neighbourhood is not filtered";

    QTest::keyClick(&dialog, Qt::Key_Up);
    EXPECT_EQ(Selected(dialog), "Beta Banks - Preference") << "a share in two classes tells them apart";
    EXPECT_EQ(ChosenName(dialog), "Beta Banks");
    QTest::keyClick(dialog.edit(), Qt::Key_Down);
    EXPECT_EQ(Selected(dialog), "Delta Drilling") << "the edit hands list keys to the list";
    QTest::keyClick(&dialog, Qt::Key_E);
    EXPECT_EQ(dialog.edit()->text(), "de") << "other keys go to the edit";
    QTest::keyClick(&dialog, Qt::Key_Shift);
    QTest::keyClick(dialog.edit(), Qt::Key_F5);
    EXPECT_EQ(dialog.edit()->text(), "de") << "a key the edit leaves unused does not bounce between them";

    dialog.firstLetterBox()->setChecked(false);
    QTest::keyClicks(dialog.edit(), "zz");
    EXPECT_EQ(dialog.list()->count(), 1);
    EXPECT_EQ(dialog.list()->item(0)->text(), "No match found");
    EXPECT_FALSE(dialog.list()->isEnabled());
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted) << "OK with nothing chosen does nothing";
    EXPECT_TRUE(LoadFindShareChoices().firstLetter == false) << "the choice is remembered";
}

// Letters typed after the one that opened the dialog, while the window system still sends them to the
// window underneath, go into the text after it and in their order.
TEST_F(FindShareDlgTest, LettersTypedWhileTheDialogComesUpFollowTheOpeningLetter)
{
    QWidget underneath;
    underneath.show();
    QString typed;
    SetModalDialogRunner([&](QDialog& shown) {
        auto& dialog = static_cast<CFindShareDlg&>(shown);
        dialog.show();
        QTest::keyClicks(&underneath, "et");
        QApplication::processEvents();
        typed = dialog.edit()->text();
        return int(QDialog::Rejected);
    });
    CFindShareDlg dialog(&underneath);
    dialog.setFirstKey('b');
    dialog.run();
    EXPECT_EQ(typed, "bet");
}

TEST_F(FindShareDlgTest, FastEpicAskedOnceThenTypingAWholeEpicCloses)
{
    int asked = 0;
    SetModalDialogRunner([&](QDialog& shown) {
        auto* message = qobject_cast<CSuppressibleMessage*>(&shown);
        if (!message)
            return int(QDialog::Rejected);
        ++asked;
        EXPECT_EQ(message->windowTitle(), "Quorvantis message");
        EXPECT_TRUE(message->textLabel()->text().startsWith("Do you want to set 'Fast EPIC'."));
        EXPECT_EQ(message->firstButton()->text(), "Yes");
        EXPECT_EQ(message->secondButton()->text(), "No");
        message->setSuppressChecked(true);
        return int(QDialog::Accepted);
    });
    {
        CFindShareDlg dialog;
        dialog.show();
        dialog.epicBox()->setChecked(true);
        EXPECT_EQ(asked, 1);
        EXPECT_TRUE(dialog.choices().fastEpic);
        QTest::keyClicks(dialog.edit(), "DE");
        EXPECT_TRUE(dialog.isVisible()) << "a part of an EPIC does not close";
        QTest::keyClicks(dialog.edit(), "D");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(ChosenName(dialog), "Delta Drilling");
    }
    FindShareChoices stored = LoadFindShareChoices();
    EXPECT_TRUE(stored.useEpic && stored.fastEpic && stored.fastEpicQuestionSuppressed);

    CFindShareDlg again;
    again.show();
    again.epicBox()->setChecked(false);
    again.epicBox()->setChecked(true);
    EXPECT_EQ(asked, 1) << "a suppressed question is not asked again";
}

TEST_F(FindShareDlgTest, AlphabetShowsHidesAndTypes)
{
    CFindShareDlg dialog;
    dialog.show();
    QApplication::processEvents();
    EXPECT_FALSE(dialog.alphabetGroup()->isVisible());
    EXPECT_EQ(dialog.alphabetButton()->text(), "Show Alphabet");
    if (test::FontsAvailable())
        test::SaveRender(test::RenderWidget(dialog), "find_share");
    int shortHeight = dialog.height();

    dialog.alphabetButton()->click();
    QApplication::processEvents();
    EXPECT_TRUE(dialog.alphabetGroup()->isVisible());
    EXPECT_EQ(dialog.alphabetButton()->text(), "Hide Alphabet");
    EXPECT_GT(dialog.height(), shortHeight);
    EXPECT_TRUE(LoadFindShareChoices().showAlphabet);

    std::vector<AlphabetKey> keys = AlphabetKeys(dialog.alphabet()->cellSize());
    ASSERT_EQ(keys.size(), 38u);
    EXPECT_EQ(keys[0].text, "1");
    EXPECT_EQ(keys[9].text, "0");
    EXPECT_EQ(keys[10].text, "A");
    auto click = [&](int n) { QTest::mouseClick(dialog.alphabet(), Qt::LeftButton, {}, keys[size_t(n)].rect.center()); };
    click(10 + 'G' - 'A');
    click(10 + 'A' - 'A');
    EXPECT_EQ(dialog.edit()->text(), "GA");
    click(36);
    EXPECT_EQ(dialog.edit()->text(), "G") << "Del is a backspace";
    QTest::mouseClick(dialog.alphabet(), Qt::LeftButton, {}, QPoint(keys[0].rect.right() + 2, keys[0].rect.center().y()));
    EXPECT_EQ(dialog.edit()->text(), "G") << "a click between keys does nothing";
    if (test::FontsAvailable())
        test::SaveRender(test::RenderWidget(dialog), "find_share_alphabet");
    click(37);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ChosenName(dialog), "Gamma Gold");
}

TEST_F(FindShareDlgTest, AShareOnSeveralLinesAsksForItsType)
{
    std::vector<int> answers = {QDialog::Rejected, QDialog::Accepted};
    QString caption;
    SetModalDialogRunner([&](QDialog& shown) {
        auto* chooser = qobject_cast<CSelectShareType*>(&shown);
        caption = shown.windowTitle();
        if (!chooser || answers.empty())
            return int(QDialog::Rejected);
        int answer = answers.front();
        answers.erase(answers.begin());
        EXPECT_EQ(chooser->list()->count(), 2);
        EXPECT_EQ(chooser->list()->item(1)->text(), "Beta Banks : Preference");
        if (answer == QDialog::Accepted) {
            chooser->list()->setCurrentRow(1);
            chooser->accept();
        }
        return answer;
    });
    CFindShareDlg dialog;
    dialog.show();
    QTest::keyClicks(dialog.edit(), "Beta");
    dialog.accept();
    EXPECT_EQ(caption, "Choose share type for Beta Banks");
    EXPECT_NE(dialog.result(), QDialog::Accepted) << "Cancel in the chooser keeps the dialog open";
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosen().count, 1u);
}

TEST_F(FindShareDlgTest, TheFrameSeamMakesTheShareFoundCurrent)
{
    RecordCursor entries[4] = {{RecordIndex[0x4001], 0}, {RecordIndex[0x4003], 0}, {RecordIndex[0x4004], 0}, {}};
    ShareList list{};
    list.entries = entries;
    list.capacity = 4;
    list.last = 2;
    CViewBase view(0);
    view.list = &list;
    InstallFindShareDialog(nullptr);
    uint32_t typed = 0;
    SetModalDialogRunner([&](QDialog& shown) {
        shown.show();
        QApplication::processEvents();
        auto& dialog = static_cast<CFindShareDlg&>(shown);
        typed = dialog.edit()->text().isEmpty() ? 0 : dialog.edit()->text()[0].unicode();
        QTest::keyClicks(dialog.edit(), "amma");
        dialog.accept();
        return dialog.result();
    });
    KeyState keys;
    EXPECT_TRUE(CarryOutFindShare(&view, PlanFindShare('g', keys, &view, false), 'g', nullptr));
    EXPECT_EQ(typed, uint32_t('g'));
    EXPECT_EQ(list.current, 2);

    SetModalDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_TRUE(CarryOutFindShare(&view, PlanFindShare('a', keys, &view, false), 'a', nullptr));
    EXPECT_EQ(list.current, 2) << "Cancel leaves the list as it was";

    SetModalDialogRunner([](QDialog& shown) {
        if (auto* chooser = qobject_cast<CSelectShareType*>(&shown)) {
            chooser->accept();
            return chooser->result();
        }
        auto& dialog = static_cast<CFindShareDlg&>(shown);
        QTest::keyClicks(dialog.edit(), "Beta");
        dialog.accept();
        return dialog.result();
    });
    EXPECT_TRUE(CarryOutFindShare(&view, PlanFindShare('b', keys, &view, false), 'b', nullptr));
    EXPECT_EQ(list.current, 0) << "a share the list does not hold makes the first entry current";
}

TEST_F(FindShareDlgTest, UnattendedRunsNeverWait)
{
    qputenv("QV_AUTO_ANSWER", "1");
    CFindShareDlg dialog;
    EXPECT_EQ(dialog.run(), QDialog::Rejected);
    CSuppressibleMessage message("Text", {});
    EXPECT_EQ(message.run(), QDialog::Rejected);
    qunsetenv("QV_AUTO_ANSWER");
}

TEST(SuppressibleMessageTest, ButtonsByOptionsAndHelpNeverCloses)
{
    CSuppressibleMessage::Options single;
    single.singleButton = true;
    single.checkDisabled = true;
    CSuppressibleMessage one("Saved.", single);
    one.show();
    EXPECT_FALSE(one.secondButton()->isVisible());
    EXPECT_EQ(one.firstButton()->text(), "OK");
    EXPECT_FALSE(one.checkBox()->isEnabled());

    uint32_t shownTopic = 0;
    bool popup = false;
    DialogHelpHost previous = SetDialogHelpHost([&](uint32_t topic, bool isPopup) {
        shownTopic = topic;
        popup = isPopup;
    });
    CSuppressibleMessage::Options help;
    help.help = true;
    help.helpTopic = 0x123;
    CSuppressibleMessage withHelp("Look this up.", help);
    withHelp.show();
    EXPECT_EQ(withHelp.secondButton()->text(), "Help");
    withHelp.setSuppressChecked(true);
    withHelp.secondButton()->click();
    EXPECT_TRUE(withHelp.isVisible());
    EXPECT_EQ(shownTopic, 0x10123u);
    EXPECT_TRUE(popup);
    if (test::FontsAvailable())
        test::SaveRender(test::RenderWidget(withHelp), "suppressible_message");
    withHelp.firstButton()->click();
    EXPECT_EQ(withHelp.result(), QDialog::Accepted);
    EXPECT_TRUE(withHelp.suppressChecked());
    SetDialogHelpHost(previous);

    CSuppressibleMessage plain("Go on?", {});
    plain.show();
    EXPECT_EQ(plain.secondButton()->text(), "Cancel");
    plain.secondButton()->click();
    EXPECT_EQ(plain.result(), QDialog::Rejected);
}

TEST_F(FindShareDlgTest, OneClickInTheListChoosesAndALetterTypedThereGoesIntoTheText)
{
    CFindShareDlg dialog;
    dialog.show();
    QApplication::processEvents();
    QListWidget* list = dialog.list();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_G);
    EXPECT_EQ(dialog.edit()->text(), "g");
    EXPECT_EQ(Selected(dialog), "Gamma Gold");
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(Selected(dialog), "Delta Drilling") << "the list's own moves stay in the list";
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    const QList<QListWidgetItem*> alpha = list->findItems(QStringLiteral("Alpha Mining"), Qt::MatchExactly);
    ASSERT_EQ(alpha.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(alpha.front()).center());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ChosenName(dialog), "Alpha Mining");
}
