// The feed's dialogs: levels, information and recording, backfill, its progress and the purge, each
// rendered to build/renders/.
#include "realtime/ui/RTFeedDialogs.h"
#include "realtime/ui/RTHistoryDialogs.h"

#include "core/ConfigState.h"
#include "core/SystemDate.h"
#include "platform/ByteOrder.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/feed/FeedDecoder.h"
#include "realtime/feed/FeedServerInfo.h"
#include "realtime/feed/RTEngine.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/ModalDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"
#include "tests/realtime/store/RTStoreFixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace qv {
namespace {

QString LabelText(QWidget& w, const char* name) { return w.findChild<QLabel*>(QString::fromLatin1(name))->text(); }

QPushButton* Button(QWidget& w, const QString& text)
{
    for (QPushButton* b : w.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

bool HasLabel(QWidget& w, const QString& text)
{
    for (QLabel* l : w.findChildren<QLabel*>())
        if (l->text() == text)
            return true;
    return false;
}

class RTFeedDialogsTest : public test::RTStoreTest {
protected:
    void SetUp() override
    {
        test::RTStoreTest::SetUp();
        saved_ = Config().optionsA;
        ResetFeedServerInfo();
        // The message counts are totals over the process's session, which a feed test run earlier in
        // the same process leaves behind: this dialog's session starts from none.
        FeedServerInfo& info = TheFeedServerInfo();
        info.frames = 0;
        info.definitions = 0;
        info.control = 0;
        info.catchUpBlocks = 0;
        TheFeedDecodeCounts() = {};
        for (RTExchangeDay& e : TheRTEngine().exchanges)
            e.latestTime = 0;
    }
    void TearDown() override
    {
        Config().optionsA = saved_;
        RTConnectionStep() = 0;
        RTEngineState = 0;
        ResetFeedServerInfo();
        test::RTStoreTest::TearDown();
    }
    OptionBlockA saved_;
};

TEST_F(RTFeedDialogsTest, TheLevelsDialogWelcomesOnceThenStoresBothWordsAndMarksTheCurrentLevels)
{
    {
        CRTFeedLevelsDlg first;
        EXPECT_EQ(first.step(), 1) << "never chosen: the welcome first";
        EXPECT_TRUE(Button(first, "Next >"));
        test::SaveRender(test::RenderWidget(first), "RTFeedLevelsDlg-welcome");
        Button(first, "Next >")->click();
        ASSERT_EQ(first.step(), 2);
        EXPECT_TRUE(Button(first, "Finish"));
        EXPECT_TRUE(Button(first, "< Back")->isVisibleTo(&first));
        first.SetRowLevel(kLevelNasdaq, kLevelMax);
        first.SetRowLevel(kLevelNyseAmex, kLevelNormal);
        first.SetRowLevel(kLevelForex, kLevelMin);
        first.SetRowLevel(kLevelIndices, kLevelNone);
        first.SetRowLevel(kLevelGroups, kLevelNormal);
        first.accept();
        EXPECT_EQ(first.result(), QDialog::Accepted);
    }
    RTFeedSettings s = CurrentRTFeedSettings();
    EXPECT_EQ(s.deliveryLevels, 0x31Bu);
    EXPECT_EQ(s.backfillLevels, 0x31Au);
    EXPECT_TRUE(s.levelsChosen);

    // Chosen before: straight to the grid, each row from the words, the marks only once connected.
    TheFeedServerInfo().currentLevels = 0x3FF;
    CRTFeedLevelsDlg again;
    EXPECT_EQ(again.step(), 2);
    for (int g = 0; g < kLevelGroups; ++g)
        EXPECT_EQ(again.RowLevel(g), GroupLevel(0x31B, g));
    EXPECT_EQ(again.RowLevel(kLevelGroups), kLevelNormal) << "the largest stored backfill level";
    auto visibleMarks = [&again] {
        int n = 0;
        for (QLabel* l : again.findChildren<QLabel*>())
            n += l->text() == "x" && l->isVisibleTo(&again);
        return n;
    };
    again.MarkCurrentLevels();
    EXPECT_EQ(visibleMarks(), 0) << "not connected";
    RTConnectionStep() = kFeedConnected;
    again.MarkCurrentLevels();
    EXPECT_EQ(visibleMarks(), kLevelGroups);
    test::SaveRender(test::RenderWidget(again), "RTFeedLevelsDlg");
}

TEST_F(RTFeedDialogsTest, TheFeedInformationRefreshesAtMostEveryFiveSecondsAndRecordsTheFeed)
{
    CRTFeedInfoDlg dialog;
    EXPECT_TRUE(HasLabel(dialog, "Server: none"));
    EXPECT_TRUE(HasLabel(dialog, "Status: Not connected"));
    const QString before = LabelText(dialog, "values");
    EXPECT_TRUE(before.startsWith("0\n0\n0\n0\n0\n0 (Back 0)\n0 (0)\nNot set\n00:00:00")) << before.toStdString();
    TheFeedServerInfo().frames = 12345;
    dialog.Refresh(false);
    EXPECT_EQ(LabelText(dialog, "values"), before) << "within 5 s of the last refresh";
    dialog.Refresh(true);
    EXPECT_TRUE(LabelText(dialog, "values").startsWith("12,345\n"));
    test::SaveRender(test::RenderWidget(dialog), "RTFeedInfoDlg");
    dialog.adjustSize();
    EXPECT_GE(dialog.width(), 300) << "wide enough for its caption";

    auto* record = dialog.findChild<QPushButton*>(QString::number(CRTFeedInfoDlg::kRecordButton));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->text(), "Record");
    record->click();
    EXPECT_TRUE(RTRecording());
    EXPECT_EQ(record->text(), "Stop recording");
    TheRTStore().recordingBuffer = {1, 2, 3};
    record->click();
    EXPECT_FALSE(RTRecording());
    EXPECT_EQ(record->text(), "Record");
    EXPECT_EQ(ReadFileBytes(dir.path() / "Demo.dat"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(RTFeedDialogsTest, TheBackfillDialogWaitsForTheDaysAndBuildsTheRequest)
{
    RTFeedSettings s = CurrentRTFeedSettings();
    s.backfillLevels = 0x300 | (kLevelNormal << 2); // NYSE/AMEX only
    s.usBackfillNoteOff = true;
    StoreRTFeedSettings(s);
    {
        CRTBackfillDlg silent;
        EXPECT_TRUE(HasLabel(silent, "Please wait"));
        EXPECT_TRUE(HasLabel(silent, "Querying server for available days."));
        for (int i = 0; i < CRTBackfillDlg::kWaitTicks; ++i)
            silent.Tick();
        EXPECT_TRUE(HasLabel(silent, "Service Unavailable."));
        EXPECT_FALSE(silent.dayList()->isEnabled());
        EXPECT_FALSE(silent.exchangeBox(0)->isEnabled());
        test::SaveRender(test::RenderWidget(silent), "RTBackfillDlg-unavailable");
    }

    CRTBackfillDlg dialog;
    EXPECT_TRUE(dialog.exchangeBox(0)->isChecked()) << "London";
    EXPECT_FALSE(dialog.exchangeBox(1)->isEnabled()) << "NASDAQ's backfill level is None";
    EXPECT_TRUE(dialog.exchangeBox(2)->isEnabled());
    QPushButton* request = Button(dialog, "Request");
    EXPECT_FALSE(request->isEnabled());
    const PackedDate today = GetTodayDate(0), earlier = GetTodayDate(3);
    {
        std::lock_guard guard(TheFeedServerInfo().mutex);
        TheFeedServerInfo().days = {{today, 3}, {earlier, 1}};
        TheFeedServerInfo().daysAnswered = true;
    }
    dialog.Tick();
    ASSERT_EQ(dialog.dayList()->count(), 2);
    EXPECT_TRUE(dialog.dayList()->item(0)->text().endsWith(" (today)"));
    EXPECT_FALSE(dialog.dayList()->item(1)->text().contains("PARTIAL"));
    EXPECT_TRUE(HasLabel(dialog, " data available for Both London and non-London"));
    dialog.exchangeBox(2)->setChecked(true);
    EXPECT_TRUE(dialog.dayList()->item(1)->text().endsWith("\tPARTIAL")) << "no NYSE/AMEX data that day";
    EXPECT_FALSE(request->isEnabled()) << "no day chosen";
    dialog.dayList()->item(1)->setSelected(true);
    EXPECT_TRUE(request->isEnabled());
    test::SaveRender(test::RenderWidget(dialog), "RTBackfillDlg");
    dialog.accept();
    ASSERT_EQ(dialog.request().size(), 10u);
    EXPECT_EQ(LoadU32(dialog.request().data()), 0x308u);
    EXPECT_EQ(LoadU16(dialog.request().data() + 8), earlier);
}

TEST_F(RTFeedDialogsTest, TheProgressDialogShowsNoneOrTheRunningBackfill)
{
    CRTBackfillProgressDlg dialog;
    EXPECT_EQ(LabelText(dialog, "status"), "Backfill Status: None in progress");
    EXPECT_EQ(LabelText(dialog, "detail"), "No backfill in progress");
    EXPECT_EQ(dialog.findChild<QProgressBar*>()->value(), 0);
    RTConnectionStep() = kFeedBackfilling;
    dialog.Refresh();
    EXPECT_EQ(LabelText(dialog, "status"), "Awaiting information");
    TheFeedServerInfo().backfillTotal = 10;
    TheFeedServerInfo().backfillDone = 4;
    dialog.Refresh();
    EXPECT_EQ(LabelText(dialog, "status"), "Currently backfilling London ");
    auto* overall = dialog.findChild<QProgressBar*>();
    EXPECT_EQ(overall->maximum(), 10);
    EXPECT_EQ(overall->value(), 4);
    Button(dialog, "More Info >>")->click();
    EXPECT_TRUE(dialog.moreShown());
    EXPECT_TRUE(Button(dialog, "<< Less Info"));
    test::SaveRender(test::RenderWidget(dialog), "RTBackfillProgressDlg");
    Button(dialog, "Abort All")->click();
    EXPECT_TRUE(TheFeedServerInfo().abortAll);
}

TEST_F(RTFeedDialogsTest, ThePurgeDialogShowsBeforeAndAfterAndPurgesByTheChosenMethod)
{
    for (PackedDate d : {test::kFri4, test::kMon7, test::kTue8})
        WriteDay(MakeDay(d, {0x4001, 0x4002}));
    WriteIndex();
    LoadRTIndex();
    RTFeedSettings s = CurrentRTFeedSettings();
    s.keepDays = 2;
    s.keepMBytes = 0;
    StoreRTFeedSettings(s);

    CRTPurgeHistoryDlg dialog(false);
    EXPECT_EQ(dialog.windowTitle(), "Purge Intraday History");
    EXPECT_EQ(LabelText(dialog, "beforeDays"), "3");
    EXPECT_EQ(LabelText(dialog, "afterDays"), "2");
    EXPECT_TRUE(dialog.daysField()->isEnabled());
    EXPECT_FALSE(dialog.mbytesField()->isEnabled());
    EXPECT_EQ(dialog.dateField()->date, GetTodayDate(25)) << "not the date method: 25 days back";
    test::SaveRender(test::RenderWidget(dialog), "RTPurgeHistoryDlg");

    dialog.methods()->button(int(PurgeMethod::Storage))->click();
    EXPECT_FALSE(dialog.daysField()->isEnabled()) << "storage limit: days and date cannot be edited";
    EXPECT_FALSE(dialog.dateField()->edit()->isEnabled());
    EXPECT_EQ(LabelText(dialog, "afterDays"), "0") << "0 MBytes keeps nothing";
    dialog.methods()->button(int(PurgeMethod::Time))->click();
    dialog.daysField()->setText("1");
    EXPECT_EQ(LabelText(dialog, "afterDays"), "1");

    test::FakeMessageBox box;
    box.queue(MsgAnswer::Yes);
    dialog.Purge();
    EXPECT_EQ(TheRTStore().days, (std::vector<PackedDate>{test::kTue8}));
    EXPECT_EQ(CurrentRTFeedSettings().keepDays, 1);

    // Automatic: its own caption, and after 300 s it closes as "Don't purge" would, storing the values.
    CRTPurgeHistoryDlg automatic(true);
    EXPECT_EQ(automatic.windowTitle(), "Auto purge intraday history");
    ASSERT_TRUE(automatic.autoTimer());
    EXPECT_EQ(automatic.autoTimer()->interval(), 300000);
    automatic.daysField()->setText("9");
    automatic.autoTimer()->start(1);
    QTRY_COMPARE(CurrentRTFeedSettings().keepDays, 9);
    EXPECT_EQ(TheRTStore().days.size(), 1u);

    // Not while a backfill runs.
    RTConnectionStep() = kFeedBackfilling;
    size_t shown = box.shown().size();
    EXPECT_FALSE(RunPurgeDialog(false, nullptr));
    ASSERT_EQ(box.shown().size(), shown + 1);
    EXPECT_EQ(box.texts().back(), "Please wait until the intraday backfill has completed before purging");
}

// A new day past the page's limit: "Automatic purge" asks its question and purges down to the limit
// with no dialog; "Remind me to purge" runs the dialog in its automatic form on the page's limit (keep
// days or MBytes), though the dialog was last left on another method; "Manual purge" does nothing.
TEST_F(RTFeedDialogsTest, ANewDayPurgesOrRemindsByThePagesSetting)
{
    const PackedDate days[] = {test::kFri4, test::kMon7, test::kTue8, test::kWed9};
    struct Case {
        uint8_t mode, limit;
        uint32_t mbytes;
        bool dialog;          // the reminder's dialog ran (and Purge was pressed in it)
        size_t daysLeft;      // after answering Yes to the purge's question
        const char* question; // the question asked, "" for none
    };
    // Keep 2 days, or n MBytes: the fixture's days are a few KB, so 100 MBytes keeps all and 0 none
    // but the day being filled.
    const Case cases[] = {
        {0, 0, 100, false, 2, "Intraday auto purge - Do you wish to purge the share history down to 2 days?"},
        {1, 0, 100, true, 2, "Intraday auto purge - Do you wish to purge the share history down to 2 days?"},
        {1, 1, 0, true, 1, "Intraday auto purge - Do you wish to purge the share history down to 0 days?"},
        {1, 1, 100, false, 4, ""},
        {2, 0, 100, false, 4, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << int(c.mode) << " limit " << int(c.limit) << " MBytes " << c.mbytes);
        for (PackedDate d : days)
            WriteDay(MakeDay(d, {0x4001, 0x4002}));
        WriteIndex();
        LoadRTIndex();
        RTFeedSettings s = CurrentRTFeedSettings();
        s.purgeMode = c.mode;
        s.purgeLimit = c.limit;
        s.keepDays = 2;
        s.keepMBytes = c.mbytes;
        s.purgeMethod = PurgeMethod::Date; // where a manual use left the dialog
        StoreRTFeedSettings(s);

        bool ran = false;
        PurgeMethod opened = PurgeMethod::Date;
        QString title;
        SetModalDialogRunner([&](QDialog& d) {
            ran = true;
            auto& purge = dynamic_cast<CRTPurgeHistoryDlg&>(d);
            opened = purge.Method();
            title = purge.windowTitle();
            purge.Purge();
            return d.result();
        });
        test::FakeMessageBox box;
        box.queue(MsgAnswer::Yes);
        RunNewDayPurgeCheck(nullptr);
        SetModalDialogRunner(nullptr);

        EXPECT_EQ(ran, c.dialog);
        if (c.dialog) {
            EXPECT_EQ(opened, c.limit ? PurgeMethod::Storage : PurgeMethod::Time) << "the page's limit, not Date";
            EXPECT_EQ(title, "Auto purge intraday history");
        }
        if (*c.question) {
            ASSERT_EQ(box.texts().size(), 1u);
            EXPECT_EQ(box.texts()[0], c.question);
        } else {
            EXPECT_TRUE(box.shown().empty());
        }
        EXPECT_EQ(TheRTStore().days.size(), c.daysLeft);
        EXPECT_EQ(TheRTStore().days.back(), test::kWed9) << "the newest days stay";
    }
}

// The dialog's keep-days and keep-MBytes methods are the Intraday page's limit choice: choosing one in
// the dialog is what the page (and the next day's check) then shows.
TEST_F(RTFeedDialogsTest, ThePurgeDialogsMethodIsThePagesLimitChoice)
{
    RTFeedSettings s = CurrentRTFeedSettings();
    s.purgeLimit = 0;
    StoreRTFeedSettings(s);
    const std::pair<PurgeMethod, uint8_t> cases[] = {
        {PurgeMethod::Storage, 1}, {PurgeMethod::Date, 1}, {PurgeMethod::Time, 0}, {PurgeMethod::Date, 0}};
    for (auto [method, limit] : cases) {
        CRTPurgeHistoryDlg dialog(false);
        dialog.methods()->button(int(method))->click();
        dialog.DontPurge();
        EXPECT_EQ(CurrentRTFeedSettings().purgeMethod, method);
        EXPECT_EQ(CurrentRTFeedSettings().purgeLimit, limit) << "a date leaves the page's choice as it was";
    }
}

} // namespace
} // namespace qv
