// Tests of the date field and its calendar, hosted in a small dialog and driven by keys and clicks.
#include "shell/ui/DateEdit.h"

#include "core/DateText.h"
#include "resources/MessageIds.h"
#include "shell/ui/ControlLook.h"
#include "shell/ui/DateControl.h"
#include "support/FakeMessageBox.h"
#include "support/ui/ControlDialog.h"
#include "support/ui/Render.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qv;
using test::ControlDialog;

namespace {

constexpr int kFieldId = 1203;

QPoint Client(int x, int y) { return QPoint(x + CDateControl::kFrame, y + CDateControl::kFrame); }

struct DateFieldFixture : ::testing::Test {
    ControlDialog dialog;
    CDateEdit field;

    void SetUp() override
    {
        ASSERT_TRUE(field.Create(kFieldId, dialog.Placeholder(QRect(20, 20, 150, 42)), &dialog, PackDate(9, 12, 2026)));
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    void TearDown() override { DeliverPostedMessages(); }

    void Type(const char* keys)
    {
        field.edit()->setFocus();
        QApplication::processEvents();
        QTest::keyClicks(field.edit(), QString::fromLatin1(keys));
    }
    void Leave()
    {
        field.edit()->clearFocus();
        QApplication::processEvents();
    }
};

TEST_F(DateFieldFixture, TheFieldIsLaidOutFromThePlaceholder)
{
    EXPECT_EQ(field.geometry(), QRect(20, 20, 150, 42));
    EXPECT_EQ(field.edit()->geometry(), QRect(0, 0, 118, 22));
    EXPECT_EQ(field.dropButton()->geometry(), QRect(119, 0, 22, 22));
    EXPECT_EQ(field.longDate()->geometry(), QRect(0, 24, 150, 18));
    EXPECT_EQ(field.dropButton()->text(), QStringLiteral("..."));
    EXPECT_EQ(field.edit()->text(), QStringLiteral("09/12/26"));
    EXPECT_EQ(field.longDate()->text(), QString::fromStdString(FormatLongDate(PackDate(9, 12, 2026))));
    EXPECT_EQ(field.edit()->mode(), 0);
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("date-field"));

    field.EnableWindow(false);
    EXPECT_FALSE(field.edit()->isEnabled());
    EXPECT_FALSE(field.dropButton()->isEnabled());
    EXPECT_TRUE(field.longDate()->isEnabled());
}

TEST_F(DateFieldFixture, TypingFiltersCharactersAndFollowsEachGoodDate)
{
    field.edit()->setFocus();
    QApplication::processEvents();
    auto commands = dialog.Received(WM_COMMAND);
    ASSERT_FALSE(commands.empty()) << "taking the focus tells the dialog";
    EXPECT_EQ(commands.back().wParam, CommandWParam(kFieldId, 0));
    EXPECT_EQ(commands.back().lParam, intptr_t(&field));

    field.edit()->selectAll();
    Type("1a4.-/3/27");
    EXPECT_EQ(field.edit()->text(), QStringLiteral("14/3/27"));
    EXPECT_EQ(field.date, PackDate(14, 3, 2027));
    EXPECT_EQ(field.longDate()->text(), QString::fromStdString(FormatLongDate(PackDate(14, 3, 2027))));
    auto typed = dialog.Received(MSG_DATE_FIELD_A);
    ASSERT_FALSE(typed.empty());
    EXPECT_EQ(typed.back().wParam, kEditChanged);
    Leave();
    EXPECT_EQ(field.edit()->text(), QStringLiteral("14/03/27")) << "rewritten on leaving";
    ASSERT_FALSE(dialog.Received(MSG_DATE_FIELD_B).empty());
    EXPECT_EQ(dialog.Received(MSG_DATE_FIELD_B).back().wParam, kEditLeft);
}

TEST_F(DateFieldFixture, SelectAllTakesTheWholeDateSoTypingReplacesIt)
{
    field.edit()->setFocus();
    field.edit()->setCursorPosition(2);
    QApplication::processEvents();
    QTest::keyClick(field.edit(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field.edit()->selectedText(), QStringLiteral("09/12/26"));
    Type("1/12/26");
    EXPECT_EQ(field.edit()->text(), QStringLiteral("1/12/26"));
    EXPECT_EQ(field.date, PackDate(1, 12, 2026));
}

TEST_F(DateFieldFixture, AnImpossibleDateLeavesTheHeldDateAndIsRewrittenOnLeaving)
{
    field.edit()->setFocus();
    field.edit()->selectAll();
    dialog.received.clear();
    Type("31/2/27");
    EXPECT_EQ(field.date, PackDate(9, 12, 2026));
    EXPECT_EQ(field.longDate()->text(), QString::fromStdString(FormatLongDate(PackDate(9, 12, 2026))));
    EXPECT_TRUE(dialog.Received(MSG_DATE_FIELD_A).empty()) << "no step of the text was a date";
    Leave();
    EXPECT_EQ(field.edit()->text(), QStringLiteral("09/12/26"));
}

// A typed date the program cannot hold (after 2027) or that does not exist is refused when the user
// moves on or presses Return: the text and the focus stay, and no other date is taken for it.
TEST_F(DateFieldFixture, ATypedDateThatCannotBeHeldIsRefusedWithTheFieldsMessage)
{
    for (const char* typed : {"15/03/28", "31/2/27", "29/2/27", "1/13/27", "15/03/2028"}) {
        SCOPED_TRACE(typed);
        test::FakeMessageBox box;
        field.date = PackDate(9, 12, 2026);
        field.FormatDate(true);
        field.edit()->setFocus();
        field.edit()->selectAll();
        Type(typed);
        dialog.received.clear();
        QTest::keyClick(field.edit(), Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_EQ(box.texts(), std::vector<std::string>{std::string(CDateEdit::kBadDateMessage)});
        EXPECT_TRUE(field.edit()->hasFocus());
        EXPECT_EQ(field.edit()->text(), QString::fromLatin1(typed));
        EXPECT_TRUE(dialog.Received(MSG_DATE_FIELD_B).empty()) << "the text is not rewritten from another date";
        QTest::keyClick(field.edit(), Qt::Key_Return);
        EXPECT_EQ(box.texts().size(), 2u);
        EXPECT_TRUE(field.RefuseBadText());
    }

    test::FakeMessageBox box;
    field.edit()->selectAll();
    Type("15/03/27");
    QTest::keyClick(field.edit(), Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_TRUE(box.texts().empty());
    EXPECT_EQ(field.date, PackDate(15, 3, 2027));
    EXPECT_EQ(field.edit()->text(), QStringLiteral("15/03/27"));

    // The field's own text is never refused, even when it is no date (a dialog's empty date).
    field.date = 0;
    field.FormatDate(true);
    EXPECT_FALSE(field.RefuseBadText());
    EXPECT_TRUE(box.texts().empty());
}

TEST_F(DateFieldFixture, TheCalendarPostsEachMoveToTheField)
{
    dialog.received.clear();
    QTest::mouseClick(field.dropButton(), Qt::LeftButton);
    ASSERT_FALSE(dialog.received.empty());
    EXPECT_EQ(dialog.received.front().message, WM_COMMAND) << "the dialog is told before the calendar opens";
    EXPECT_EQ(dialog.received.front().wParam, CommandWParam(kFieldId, 0));
    CDateControl* calendar = field.calendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->windowTitle(), QStringLiteral("Date Control"));
    EXPECT_EQ(calendar->size(), QSize(180, 167));
    EXPECT_EQ(calendar->geometry().topLeft(), field.dropButton()->mapToGlobal(QPoint(0, 0)));

    QTest::keyClick(calendar, Qt::Key_Right);
    DeliverPostedMessages();
    EXPECT_EQ(field.date, PackDate(10, 12, 2026));
    EXPECT_EQ(field.edit()->text(), QStringLiteral("10/12/26"));
    auto chosen = dialog.Received(MSG_DATE_FIELD_B);
    ASSERT_FALSE(chosen.empty());
    EXPECT_EQ(chosen.back().wParam, PackDate(10, 12, 2026));
    EXPECT_EQ(chosen.back().lParam, PackDate(10, 12, 2026));

    QTest::keyClick(calendar, Qt::Key_PageDown); // January 2027
    DeliverPostedMessages();
    EXPECT_EQ(field.date, PackDate(10, 1, 2027));
    // 1 January 2027 is a Friday: cells 0-3 are December, cell 4 the 1st; row 2 column 6 is the 17th.
    QPointer<CDateControl> open = calendar;
    test::Click(calendar, Client(0, 50));
    DeliverPostedMessages();
    EXPECT_TRUE(open) << "a day of December posts nothing and keeps the calendar open";
    EXPECT_EQ(field.date, PackDate(10, 1, 2027));
    test::Click(calendar, Client(6 * 23 + 2, 50 + 2 * 18 + 2));
    DeliverPostedMessages();
    QApplication::processEvents();
    EXPECT_EQ(field.date, PackDate(17, 1, 2027));
    EXPECT_FALSE(open) << "choosing a day closes and destroys the calendar";
}

TEST(DateControl, KeysAtTheRangeEndsAndEscape)
{
    test::RecordingTarget owner;
    QWidget anchor;
    anchor.show();
    QPointer<CDateControl> calendar = CDateControl::Open(PackDate(31, 12, 2027), &anchor, &owner);
    QTest::keyClick(calendar, Qt::Key_Right);
    QTest::keyClick(calendar, Qt::Key_Down);
    DeliverPostedMessages();
    ASSERT_EQ(owner.received.size(), 2u);
    for (const auto& m : owner.received)
        EXPECT_EQ(FormatDate(PackedDate(m.wParam)), "31/12/27");

    test::Click(calendar, Client(170, 60)); // right of the last column
    DeliverPostedMessages();
    EXPECT_EQ(FormatDate(PackedDate(owner.received.back().wParam)), "31/12/27");
    EXPECT_TRUE(calendar);

    owner.received.clear();
    QTest::keyClick(calendar, Qt::Key_Escape);
    QApplication::processEvents();
    DeliverPostedMessages();
    EXPECT_FALSE(calendar);
    EXPECT_TRUE(owner.received.empty()) << "Escape posts nothing and restores nothing";
}

TEST(DateControl, RunWithoutAnOwnerPostsToTheDialogAboveAndReturnsOnClosing)
{
    ControlDialog dialog;
    auto* anchor = new QWidget(&dialog);
    dialog.show();
    QTimer::singleShot(0, &dialog, [&] {
        auto* calendar = anchor->findChild<CDateControl*>();
        ASSERT_NE(calendar, nullptr);
        QTest::keyClick(calendar, Qt::Key_Left);
        QTest::keyClick(calendar, Qt::Key_Return);
    });
    CDateControl::Run(PackDate(1, 1, 1960), anchor);
    DeliverPostedMessages();
    auto posted = dialog.Received(MSG_DATE_FIELD_A);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, PackDate(1, 1, 1960)) << "Left on 1 January 1960 stays there";
}

TEST(DateControl, RendersOfEachPage)
{
    ASSERT_TRUE(test::FontsAvailable());
    test::RecordingTarget owner;
    QWidget anchor;
    anchor.show();
    QPointer<CDateControl> calendar = CDateControl::Open(PackDate(9, 12, 2026), &anchor, &owner);
    const char* names[] = {"date-control-days", "date-control-months", "date-control-years"};
    for (int page = 0; page < 3; ++page) {
        EXPECT_EQ(calendar->state().page, page);
        QImage image = test::RenderWidget(*calendar);
        test::SaveRender(image, QString::fromLatin1(names[page]));
        test::Click(calendar, Client(87, 12)); // the title
    }
    EXPECT_EQ(calendar->state().page, CalendarDays);
    DeliverPostedMessages();
    calendar->close();
}

TEST(DateEditField, ModeOneServesTheCalculatorField)
{
    test::RecordingTarget owner;
    QWidget host;
    CDateEditField field(1, &owner, &host);
    host.show();
    field.setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(owner.received.empty());
    EXPECT_EQ(owner.received.front().message, MSG_CALCULATOR_FIELD_A);
    EXPECT_EQ(owner.received.front().wParam, kEditChanged) << "taking the focus";
    QTest::keyClicks(&field, QStringLiteral("12.5./3"));
    EXPECT_EQ(field.text(), QStringLiteral("12.53"));
    field.setText(QStringLiteral("0.00"));
    field.end(false);
    QTest::keyClicks(&field, QStringLiteral("."));
    EXPECT_EQ(field.text(), QStringLiteral("0.00."));
    field.clearFocus();
    EXPECT_EQ(owner.received.back().wParam, kEditLeft);
    for (const auto& m : owner.received)
        EXPECT_EQ(m.message, MSG_CALCULATOR_FIELD_A);
}

} // namespace
