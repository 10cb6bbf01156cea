// Tests of the time field, its chooser and from/to pairs, hosted in a small dialog.
#include "shell/ui/TimeEdit.h"

#include "resources/MessageIds.h"
#include "shell/ui/ControlLook.h"
#include "shell/ui/FilteredEdit.h"
#include "support/ui/ControlDialog.h"
#include "support/ui/Render.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace qv;
using test::ControlDialog;

namespace {

constexpr int kHour = 3600;

struct TimeFieldFixture : ::testing::Test {
    ControlDialog dialog;
    CTimeEdit start;
    CTimeEdit end;

    void SetUp() override
    {
        ASSERT_TRUE(start.Create(1301, dialog.Placeholder(QRect(20, 20, 100, 20)), &dialog, &end, true));
        ASSERT_TRUE(end.Create(1302, dialog.Placeholder(QRect(20, 50, 100, 20)), &dialog, &start, false));
        start.SetTime(8 * kHour, true);
        end.SetTime(16 * kHour + 30 * 60, true);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    void Type(CTimeEdit& field, const char* keys)
    {
        field.edit()->setFocus();
        field.edit()->selectAll();
        QApplication::processEvents();
        QTest::keyClicks(field.edit(), QString::fromLatin1(keys));
    }
    void Leave(CTimeEdit& field)
    {
        field.edit()->clearFocus();
        QApplication::processEvents();
    }
};

TEST_F(TimeFieldFixture, TheFieldIsLaidOutAndLinkedToItsPartner)
{
    EXPECT_EQ(start.edit()->geometry(), QRect(0, 0, 80, 20));
    EXPECT_EQ(start.button()->geometry(), QRect(80, 0, 20, 20));
    EXPECT_EQ(start.button()->text(), QStringLiteral("..."));
    EXPECT_EQ(start.edit()->text(), QStringLiteral("08:00"));
    EXPECT_EQ(end.limit(), 8 * kHour) << "a field's time is its partner's limit";
    EXPECT_EQ(start.limit(), 16 * kHour + 30 * 60);
    start.EnableWindow(false);
    EXPECT_FALSE(start.edit()->isEnabled());
    EXPECT_FALSE(start.button()->isEnabled());
    start.EnableWindow(true);
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("time-fields"));
}

TEST_F(TimeFieldFixture, TypedTimesAreFilteredAndRewrittenOnLeaving)
{
    struct Case {
        const char* typed;
        const char* shown;
    };
    for (const Case& c : std::vector<Case>{{"7:5", "07:05"}, {"24:30", "24:00"}, {"25:00", "00:00"}, {"1x0.:3a0", "10:30"}}) {
        CTimeEdit single;
        ASSERT_TRUE(single.Create(1303, &dialog, QRect(150, 20, 100, 20), &dialog, nullptr, false));
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        dialog.received.clear();
        Type(single, c.typed);
        EXPECT_EQ(dialog.Received(MSG_TIME_FIELD).size(), single.edit()->text().size()) << "one notice per character";
        Leave(single);
        EXPECT_EQ(single.edit()->text(), QString::fromLatin1(c.shown)) << c.typed;
        ASSERT_FALSE(dialog.received.empty());
        EXPECT_EQ(dialog.received.back().message, MSG_TIME_FIELD);
        EXPECT_EQ(dialog.received.back().wParam, 0u);
    }
}

TEST_F(TimeFieldFixture, AStartLaterThanItsEndIsSwappedOnLeaving)
{
    Type(start, "17:00");
    EXPECT_EQ(start.edit()->text(), QStringLiteral("17:00")) << "typing rewrites no text";
    EXPECT_EQ(end.edit()->text(), QStringLiteral("16:30"));
    Leave(start);
    EXPECT_EQ(start.edit()->text(), QStringLiteral("16:30"));
    EXPECT_EQ(end.edit()->text(), QStringLiteral("17:00"));
    EXPECT_EQ(end.limit(), 16 * kHour + 30 * 60);
    EXPECT_EQ(start.limit(), 17 * kHour);
}

TEST_F(TimeFieldFixture, TheChooserTakesOnlyTimesAfterTheLimit)
{
    start.SetTime(9 * kHour, true);
    dialog.received.clear();
    QTest::mouseClick(end.button(), Qt::LeftButton);
    ASSERT_FALSE(dialog.received.empty());
    EXPECT_EQ(dialog.received.front().message, WM_COMMAND) << "the dialog is told first";
    EXPECT_EQ(dialog.received.front().wParam, CommandWParam(1302, 0));
    QPointer<CTimeChooser> chooser = end.chooser();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Time Control"));
    EXPECT_EQ(chooser->limit(), 9 * kHour);
    EXPECT_FALSE(chooser->beforeLimit());
    EXPECT_EQ(chooser->geometry().topLeft(), end.button()->mapToGlobal(QPoint(0, 0)));
    test::SaveRender(test::RenderWidget(*chooser), QStringLiteral("time-chooser"));

    const ChooserMetrics m = chooser->metrics();
    test::Click(chooser, chooser->CellCentre(1, 6)); // 09:00
    EXPECT_TRUE(chooser);
    EXPECT_EQ(end.edit()->text(), QStringLiteral("16:30"));
    test::Click(chooser, QPoint(m.margin + m.cellWidth / 2, m.margin + 13 * m.cellHeight + 1)); // below the grid
    EXPECT_TRUE(chooser);
    EXPECT_EQ(end.edit()->text(), QStringLiteral("16:30"));
    dialog.received.clear();
    test::Click(chooser, chooser->CellCentre(1, 7)); // 09:30
    QApplication::processEvents();
    EXPECT_FALSE(chooser);
    EXPECT_EQ(end.edit()->text(), QStringLiteral("09:30"));
    EXPECT_EQ(start.limit(), 9 * kHour + 30 * 60);
    ASSERT_FALSE(dialog.Received(MSG_TIME_FIELD).empty());
    EXPECT_EQ(dialog.Received(MSG_TIME_FIELD).back().wParam, 0u);
}

TEST_F(TimeFieldFixture, TheStartFieldsChooserTakesOnlyTimesBeforeItsEnd)
{
    QTest::mouseClick(start.button(), Qt::LeftButton);
    QPointer<CTimeChooser> chooser = start.chooser();
    ASSERT_TRUE(chooser);
    EXPECT_TRUE(chooser->beforeLimit());
    test::Click(chooser, chooser->CellCentre(2, 10)); // 17:00, after the end's 16:30
    EXPECT_TRUE(chooser);
    test::Click(chooser, chooser->CellCentre(2, 9)); // 16:30 itself
    EXPECT_TRUE(chooser);
    test::Click(chooser, chooser->CellCentre(0, 0)); // 00:00
    QApplication::processEvents();
    EXPECT_FALSE(chooser);
    EXPECT_EQ(start.edit()->text(), QStringLiteral("00:00"));
}

} // namespace
