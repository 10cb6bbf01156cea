// Tests of the trading-times list: banding, selection, the in-place editor, the divider and scrolling.
#include "shell/ui/TimesListBox.h"

#include "core/ui/PenSelect.h"
#include "shell/TimesListRules.h"
#include "shell/ui/ControlLook.h"
#include "shell/ui/FilteredEdit.h"
#include "shell/ui/TimeEdit.h"
#include "support/ui/ControlDialog.h"
#include "support/ui/Render.h"

#include <QCursor>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace qv;
using test::SendMouse;

namespace {

constexpr int kHour = 3600;

struct TimesListFixture : ::testing::Test {
    test::ControlDialog dialog;
    CTimesListBox* list = new CTimesListBox(&dialog);

    void SetUp() override
    {
        const char* exchanges[] = {"London", "Frankfurt", "New York", "Tokyo", "Sydney"};
        int opening = 8 * kHour;
        for (const char* name : exchanges) {
            list->AddRow(QStringLiteral("%1 opens\tGMT").arg(QLatin1String(name)), opening);
            list->AddRow(QStringLiteral("%1 closes\tGMT").arg(QLatin1String(name)), (opening + 8 * kHour + 1800) % (24 * kHour));
            opening = (opening + 5 * kHour) % (24 * kHour);
        }
        list->setGeometry(10, 10, 280, 8 * list->rowHeight() + 2 * list->frameWidth());
        list->SetEditorDialog(&dialog);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QApplication::processEvents();
    }

    QWidget* view() { return list->viewport(); }
    QPoint RowPoint(int row, int x = 20)
    {
        return QPoint(x, list->visualItemRect(list->item(row)).center().y());
    }
};

TEST_F(TimesListFixture, RowsAreBandedByExchange)
{
    QImage image = test::RenderWidget(*list);
    const uint32_t band = BandColour(SystemColourWord(SystemColour::Window), SystemColourWord(SystemColour::Highlight));
    const uint32_t window = SystemColourWord(SystemColour::Window);
    const QPoint offset = view()->mapTo(list, QPoint(0, 0));
    for (int row : {0, 1, 2, 3, 4, 5}) {
        QPoint p = list->visualItemRect(list->item(row)).topLeft() + QPoint(1, 2) + offset;
        EXPECT_EQ(WordFromColour(image.pixelColor(p)), IsBandRow(row) ? band : window) << row;
    }
    EXPECT_EQ(list->divider(), view()->width() / 2) << "half the row width once drawn";
}

TEST_F(TimesListFixture, AClickOnTheSelectedRowOpensTheEditorAndAnotherRowCommits)
{
    test::Click(view(), RowPoint(1));
    EXPECT_EQ(list->hotRow(), 1);
    EXPECT_EQ(list->editor(), nullptr) << "the first click only selects";
    test::Click(view(), RowPoint(1));
    ASSERT_NE(list->editor(), nullptr);
    EXPECT_EQ(list->editRow(), 1);
    EXPECT_EQ(list->editor()->controlId(), CTimesListBox::kEditorId);
    EXPECT_EQ(list->editor()->x(), list->divider() + 3);
    EXPECT_EQ(list->editor()->edit()->text(), QStringLiteral("16:30"));
    EXPECT_EQ(list->editor()->edit()->selectedText(), QStringLiteral("16:30"));
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("times-list-editing"));

    QTest::keyClicks(list->editor()->edit(), QStringLiteral("17:15"));
    test::Click(view(), RowPoint(3));
    EXPECT_EQ(list->editor(), nullptr);
    EXPECT_EQ(list->RowTime(1), 17 * kHour + 15 * 60);
    EXPECT_EQ(list->hotRow(), 3);
    EXPECT_EQ(list->previousRow(), 1);
}

TEST_F(TimesListFixture, ADoubleClickOpensTheEditorAndCancellingKeepsTheTime)
{
    SendMouse(view(), QEvent::MouseButtonPress, RowPoint(4));
    SendMouse(view(), QEvent::MouseButtonRelease, RowPoint(4));
    SendMouse(view(), QEvent::MouseButtonDblClick, RowPoint(4));
    SendMouse(view(), QEvent::MouseButtonRelease, RowPoint(4));
    ASSERT_NE(list->editor(), nullptr);
    EXPECT_EQ(list->editRow(), 4);
    QTest::keyClicks(list->editor()->edit(), QStringLiteral("23:00"));
    list->CancelEdit();
    EXPECT_EQ(list->editor(), nullptr);
    EXPECT_EQ(list->RowTime(4), 18 * kHour);
    EXPECT_EQ(list->hotRow(), -1);
    EXPECT_TRUE(list->selectedItems().isEmpty());

    list->SelectExchange(2);
    EXPECT_EQ(list->hotRow(), 4);
    EXPECT_EQ(list->currentRow(), 4);
}

TEST_F(TimesListFixture, TheDividerIsDraggedAndKeptInsideTheList)
{
    const int divider = list->divider();
    SendMouse(view(), QEvent::MouseButtonPress, QPoint(divider + 3, 5));
    EXPECT_TRUE(list->dragging());
    SendMouse(view(), QEvent::MouseMove, QPoint(2, 5));
    EXPECT_EQ(list->dragX(), 10);
    EXPECT_EQ(view()->mapFromGlobal(QCursor::pos()), QPoint(10, 5)) << "the pointer stays with the line";
    SendMouse(view(), QEvent::MouseButtonRelease, QPoint(-30, 5));
    EXPECT_FALSE(list->dragging());
    EXPECT_EQ(list->divider(), 10);

    SendMouse(view(), QEvent::MouseButtonPress, QPoint(12, 5));
    SendMouse(view(), QEvent::MouseButtonRelease, QPoint(view()->width() + 50, 5));
    EXPECT_EQ(list->divider(), view()->width() - 10);
    EXPECT_EQ(list->hotRow(), -1) << "dragging selects nothing";
}

TEST_F(TimesListFixture, TheWheelScrollsALineAndTheEditorMovesWithItsRow)
{
    test::Click(view(), RowPoint(3));
    test::Click(view(), RowPoint(3));
    ASSERT_NE(list->editor(), nullptr);
    const int before = list->editor()->y();
    QWheelEvent down(QPointF(20, 20), QPointF(view()->mapToGlobal(QPoint(20, 20))), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view(), &down);
    QApplication::processEvents();
    EXPECT_EQ(list->verticalScrollBar()->value(), 1);
    EXPECT_EQ(list->editor()->y(), before - list->rowHeight());
    QWheelEvent up(QPointF(20, 20), QPointF(view()->mapToGlobal(QPoint(20, 20))), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view(), &up);
    QApplication::processEvents();
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
    EXPECT_EQ(list->editor()->y(), before);
}

} // namespace
