// The intraday alarm dialogs: the triggered list's lines and resets, the share editor removing an
// empty record, the global editor's stored counts and checks, the interval chooser and the review list.
#include "realtime/alarms/ui/IntradayAlarmDlgs.h"

#include "core/ConfigState.h"
#include "news/NewsRealTime.h"
#include "platform/MessageDispatch.h"
#include "realtime/alarms/AlarmRules.h"
#include "realtime/TimerQueue.h"
#include "realtime/alarms/AlarmServer.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/DialogHelp.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace qv {
namespace {

constexpr uint16_t kShare = 0x4001;

struct QuietMarket : AlarmMarket {
    int32_t ConnectionStep() const override { return 7; }
    uint32_t Today() const override { return 1; }
    uint32_t LatestTime(uint8_t) const override { return 36000; }
    uint32_t OpenTime(uint8_t) const override { return 28800; }
    std::string ZoneLabel(uint8_t) const override { return "GMT"; }
    std::string ShareName(uint32_t) const override { return "Acme plc"; }
    float LatestPrice(uint32_t) const override { return 0; }
    std::vector<uint32_t> UpdatesSince(uint16_t&) const override { return {}; }
    std::vector<uint32_t> SourceShares(RTAlarmSettings&) const override { return {}; }
    bool Lines(std::vector<ShareLine>&) const override { return true; }
};

class IntradayAlarmDlgsTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = Config().intradayAlarms; }
    void TearDown() override
    {
        RemoveShareAlarmRecord(kShare, 0);
        Config().intradayAlarms = saved_;
        // A server that loads the share records sets the program's real-time news table, which
        // outlives it.
        TheRealTimeNewsTable().clear();
    }
    IntradayAlarmConfig saved_;
    test::FakeMessageBox boxes;
};

IntradayAlarm Alarm(int32_t kind, const char* text)
{
    IntradayAlarm a;
    a.key = kShare;
    a.kind = kind;
    a.text = text;
    a.stamp = 1700000000;
    return a;
}

QPushButton* Button(QWidget& dialog, int id) { return dialog.findChild<QPushButton*>(QString::number(id)); }

TEST_F(IntradayAlarmDlgsTest, TriggeredListLinesAndResets)
{
    CAlarmServer server(std::make_unique<QuietMarket>());
    server.setTimer = nullptr;
    CIntradayAlarmsDlg dialog(server);
    EXPECT_EQ(dialog.windowTitle(), "Intraday triggered alarms");
    ASSERT_EQ(dialog.list()->count(), 1);
    EXPECT_EQ(dialog.list()->item(0)->text(), " No alarms");
    EXPECT_FALSE(Button(dialog, 2948)->isEnabled());
    EXPECT_FALSE(Button(dialog, 26405)->isEnabled());

    RTShareAlarmRecord record;
    record.aboveOn = true;
    record.note = "check the news";
    StoreShareAlarmRecord(kShare, 0, record);
    server.alarms().Raise(Alarm(kAlarmAbove, "Price above alarm level at 10:00 GMT"), {});
    server.alarms().Raise(Alarm(kAlarmMacd, "MACD cross at 10:00 GMT"), {});
    EXPECT_TRUE(dialog.RefreshPass());
    ASSERT_EQ(dialog.list()->count(), 2);
    EXPECT_TRUE(dialog.list()->item(0)->text().endsWith("\tAcme plc\tPrice above alarm level at 10:00 GMT\tcheck the news"));
    EXPECT_TRUE(dialog.list()->item(1)->text().endsWith("\tAcme plc\tMACD cross at 10:00 GMT\tglobal alarm"));
    EXPECT_TRUE(Button(dialog, 2948)->isEnabled());
    test::SaveRender(test::RenderWidget(dialog), "IntradayAlarmsDlg_719");

    // Editing a global alarm opens the global editor, a share alarm the share's.
    std::vector<std::string> opened;
    dialog.editGlobal = [&] { opened.push_back("global"); return true; };
    dialog.editShare = [&](uint16_t, uint8_t) { opened.push_back("share"); return true; };
    dialog.list()->setCurrentRow(1);
    dialog.OnCommand(26404);
    dialog.list()->setCurrentRow(0);
    dialog.OnCommand(26404);
    EXPECT_EQ(opened, (std::vector<std::string>{"global", "share"}));

    boxes.queue(MsgAnswer::No);
    dialog.OnCommand(26405);
    EXPECT_EQ(server.alarms().size(), 2u) << "No keeps them";
    boxes.queue(MsgAnswer::Yes);
    dialog.OnCommand(26405);
    EXPECT_EQ(boxes.texts().back(), "Are you sure you want to delete all alerts?");
    EXPECT_TRUE(server.alarms().empty());
    EXPECT_EQ(dialog.list()->item(0)->text(), " No alarms");
}

// The list fills in passes on the timer queue: 200 ms after a reset; from an empty list at most 50
// lines; later passes 2000 ms apart once one ran, each ending when its 30 ms are up (looked at every
// fourth line); new lines go in at their places and the selection stays on its line.
TEST_F(IntradayAlarmDlgsTest, TheTriggeredListFillsInTimeSlicedPasses)
{
    TimerQueue().Stop(); // the passes run only when this test dispatches the queue
    CAlarmServer server(std::make_unique<QuietMarket>());
    server.setTimer = nullptr;
    auto raise = [&server](int count, uint32_t firstStamp) {
        for (int i = 0; i < count; ++i) {
            IntradayAlarm a = Alarm(kAlarmAbove, "Price above alarm level");
            a.key = 0x4100 + firstStamp + uint32_t(i); // one alarm per share
            a.stamp = firstStamp + uint32_t(i);
            ASSERT_TRUE(server.alarms().Raise(a, {}));
        }
    };
    raise(120, 1000);
    auto dispatchAfter = [](uint32_t ms) {
        TimerQueue().DispatchDue(SteadyTickCount() + ms);
        DeliverPostedMessages();
    };

    const uint32_t before = SteadyTickCount();
    CIntradayAlarmsDlg dialog(server);
    dialog.ticks = [] { return 0u; }; // no pass runs out of time
    EXPECT_EQ(dialog.list()->count(), 0);
    EXPECT_TRUE(dialog.refreshPending());
    TimerQueue().DispatchDue(before + 150);
    DeliverPostedMessages();
    EXPECT_EQ(dialog.list()->count(), 0) << "not before 200 ms";
    dispatchAfter(250);
    EXPECT_EQ(dialog.list()->count(), 50) << "a first pass from an empty list";
    EXPECT_TRUE(dialog.refreshPending());
    dispatchAfter(1500);
    EXPECT_EQ(dialog.list()->count(), 50) << "the next pass waits 2000 ms";
    dispatchAfter(2100);
    EXPECT_EQ(dialog.list()->count(), 120);
    EXPECT_FALSE(dialog.refreshPending());

    // A pass whose clock moves 10 ms a look stops at the first look past 30 ms: 16 lines.
    dialog.list()->setCurrentRow(0);
    const QString selected = dialog.list()->currentItem()->text();
    raise(20, 5000);
    uint32_t clock = 0;
    dialog.ticks = [&clock] { return clock += 10; };
    EXPECT_FALSE(dialog.RefreshPass());
    EXPECT_EQ(dialog.list()->count(), 136);
    EXPECT_EQ(dialog.list()->currentItem()->text(), selected);
    EXPECT_TRUE(dialog.RefreshPass());
    EXPECT_EQ(dialog.list()->count(), 140);
    EXPECT_EQ(dialog.list()->currentRow(), 20);
    const std::list<IntradayAlarm>& alarms = server.alarms().alarms();

    // Resetting one alarm lists the rest anew from a pass 200 ms later; the line chosen is the alarm reset.
    dialog.list()->setCurrentRow(139);
    const uint32_t oldest = alarms.back().key;
    dialog.OnCommand(26403);
    EXPECT_EQ(server.alarms().size(), 139u);
    EXPECT_NE(server.alarms().alarms().back().key, oldest);
    EXPECT_EQ(dialog.list()->count(), 0);
    dialog.ticks = [] { return 0u; };
    dispatchAfter(250);
    EXPECT_EQ(dialog.list()->count(), 50);
    TimerQueue().Clear();
}

// Each list and editor has a Help button (2158) that shows the topic of its own template.
TEST_F(IntradayAlarmDlgsTest, HelpShowsEachDialogsTopic)
{
    CAlarmServer server(std::make_unique<QuietMarket>());
    server.setTimer = nullptr;
    std::vector<uint32_t> topics;
    const DialogHelpHost previous = SetDialogHelpHost([&topics](uint32_t topic, bool popup) {
        if (!popup)
            topics.push_back(topic);
    });
    CIntradayAlarmsDlg triggered(server);
    CReviewShareAlarmsDlg review;
    CShareRTAlarmsDlg share(kShare, 0);
    CGlobalIntradayAlarmsDlg global(RTAlarmSettings::Defaults());
    for (QDialog* dialog : std::initializer_list<QDialog*>{&triggered, &review, &share, &global}) {
        QPushButton* help = Button(*dialog, 2158);
        ASSERT_TRUE(help) << dialog->objectName().toStdString();
        help->click();
    }
    SetDialogHelpHost(previous);
    EXPECT_EQ(topics, (std::vector<uint32_t>{0x20000 + 719, 0x20000 + 561, 0x20000 + 707, 0x20000 + 710}));
}

TEST_F(IntradayAlarmDlgsTest, ViewLogFileNeedsANameAndOffersToEnableTheLog)
{
    CAlarmServer server(std::make_unique<QuietMarket>());
    server.setTimer = nullptr;
    CIntradayAlarmsDlg dialog(server);
    std::vector<std::string> opened;
    const ExternalOpener previous = SetExternalOpener([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    IntradayAlarmActions a = RTAlarmSettings::Actions();
    a.log = false;
    a.logFile.clear();
    RTAlarmSettings::SetActions(a);
    dialog.OnCommand(26854);
    EXPECT_EQ(boxes.texts().back(), "Log file name not set");
    a.logFile = "alarms.log";
    RTAlarmSettings::SetActions(a);
    boxes.queue(MsgAnswer::No);
    dialog.OnCommand(26854);
    EXPECT_EQ(boxes.texts().back(), "Log file currently disabled. Enable log file?");
    EXPECT_TRUE(opened.empty());
    boxes.queue(MsgAnswer::Yes);
    dialog.OnCommand(26854);
    EXPECT_TRUE(RTAlarmSettings::Actions().log);
    EXPECT_EQ(opened, (std::vector<std::string>{"alarms.log"}));
    SetExternalOpener(previous);
}

TEST_F(IntradayAlarmDlgsTest, TheShareEditorRemovesARecordWithEveryAlarmOff)
{
    RTShareAlarmRecord record = RTShareAlarmRecord::Defaults();
    record.belowOn = true;
    record.belowLevel = 95;
    StoreShareAlarmRecord(kShare, 0, record);
    CShareRTAlarmsDlg dialog(kShare, 0);
    test::SaveRender(test::RenderWidget(dialog), "ShareRTAlarmsDlg_707");
    dialog.findChild<QCheckBox*>("18090")->setChecked(false);
    dialog.findChild<QLineEdit*>("18111")->setText("a note alone is no alarm");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(LoadShareAlarmRecord(kShare, 0));

    CShareRTAlarmsDlg again(kShare, 0);
    again.findChild<QCheckBox*>("18100")->setChecked(true);
    again.findChild<QLineEdit*>("18101")->setText("81");
    again.accept();
    EXPECT_EQ(boxes.texts().back(), "Invalid stop loss value");
    again.findChild<QLineEdit*>("18101")->setText("12.5");
    again.findChild<QCheckBox*>("18000")->setChecked(true);
    again.findChild<QLineEdit*>("18001")->setText("abc");
    again.accept();
    EXPECT_EQ(boxes.texts().back(), "Invalid percentage value");
    again.findChild<QLineEdit*>("18001")->setText("7");
    again.accept();
    const auto stored = LoadShareAlarmRecord(kShare, 0);
    ASSERT_TRUE(stored);
    EXPECT_TRUE(stored->stopOn);
    EXPECT_EQ(stored->stopPercent, 12.5f);
    EXPECT_EQ(stored->moves[0].percentage, 7.0f);

    CReviewShareAlarmsDlg review;
    test::SaveRender(test::RenderWidget(review), "ReviewShareAlarmsDlg_561");
    ASSERT_EQ(review.list()->count(), 2);
    EXPECT_TRUE(review.list()->item(0)->text().endsWith("\tIncrease 7.00% since open"));
    EXPECT_EQ(ReviewAlarmLines(*stored), (std::vector<std::string>{"Increase 7.00% since open", "Stop-loss 12.500000%"}));
    boxes.queue(MsgAnswer::Yes);
    review.OnCommand(26405);
    EXPECT_EQ(review.list()->item(0)->text(), " No alarms");
}

TEST_F(IntradayAlarmDlgsTest, TheGlobalEditorStoresCountsNegativeWhileOffAndFiveMinuteBars)
{
    RTAlarmSettings settings = RTAlarmSettings::Defaults();
    CGlobalIntradayAlarmsDlg dialog(settings);
    ASSERT_EQ(dialog.tabs()->count(), 5);
    const char* names[] = {"Percentages", "Moving Av.", "MACD", "RSI", "Stochastic"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(dialog.tabs()->tabText(i), names[i]);
        dialog.tabs()->setCurrentIndex(i);
        test::SaveRender(test::RenderWidget(dialog), QString("GlobalIntradayAlarmsDlg_710_%1").arg(i));
    }
    dialog.findChild<QCheckBox*>("2791")->setChecked(true);
    dialog.findChild<QSpinBox*>("2808")->setValue(12);
    dialog.accept();
    EXPECT_EQ(boxes.texts().back(), "Short period must be shorter than long period");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.findChild<QSpinBox*>("2808")->setValue(6);
    dialog.findChild<QCheckBox*>("2833")->setChecked(true); // stochastic crosses
    dialog.accept();
    const RTAlarmSettings& s = dialog.settings();
    EXPECT_EQ(s.barMinutes, 5);
    EXPECT_EQ(s.maOn, 1);
    EXPECT_EQ(s.maCrossFlags, 1);
    EXPECT_EQ(s.macdLong, -26) << "MACD off: the long count stays negative";
    EXPECT_EQ(s.rsiCount, -20);
    EXPECT_EQ(s.stochCount, 20);
    EXPECT_EQ(s.stochChecks, 2);
    EXPECT_EQ(s.stochSlowing, 9);
    EXPECT_EQ(s.stochSignal, 2);
}

TEST_F(IntradayAlarmDlgsTest, TheIntervalChooserStoresHoursTimes256)
{
    RTAlarmSlot slot;
    CAlarmIntervalDlg dialog(slot);
    EXPECT_FALSE(dialog.findChild<QSpinBox*>("2811")->isEnabled());
    const auto radios = dialog.findChildren<QRadioButton*>();
    ASSERT_EQ(radios.size(), 5);
    radios[3]->setChecked(true);
    EXPECT_TRUE(dialog.findChild<QSpinBox*>("2811")->isEnabled());
    EXPECT_FALSE(dialog.findChild<QSpinBox*>("2804")->isEnabled());
    dialog.findChild<QSpinBox*>("2811")->setValue(3);
    test::SaveRender(test::RenderWidget(dialog), "AlarmIntervalDlg_708");
    dialog.accept();
    EXPECT_EQ(dialog.slot().kind, kIntervalHours);
    EXPECT_EQ(dialog.slot().count, 3 * 256);
    EXPECT_EQ(IntervalText(dialog.slot()), "in 3 hours");
}

} // namespace
} // namespace qv
