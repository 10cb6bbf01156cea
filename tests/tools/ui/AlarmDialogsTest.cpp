// The end-of-day alarm dialogs: the share editor's record byte for byte, a note-only record deleted,
// the global rows' limits, and the triggered and review lists with their commands.
#include "tools/ui/AlarmListDlgs.h"
#include "tools/ui/GlobalAlarmsDlg.h"
#include "tools/ui/ShareAlarmDlg.h"

#include "core/DateText.h"
#include "core/Portfolio.h"
#include "core/SettingRecordStore.h"
#include "core/SystemDate.h"
#include "devtools/lib/PriceStreamEncoder.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/ModalDialog.h"
#include "support/DatabaseFixture.h"
#include "support/RecordingTarget.h"
#include "support/ui/Render.h"
#include "resources/MessageIds.h"
#include "tools/alarms/MoveAlarm.h"
#include "views/FrameState.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace qv {
namespace {

template <class T>
T* Child(QWidget& parent, int id)
{
    T* w = parent.findChild<T*>(QString::number(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
}

dev::DbRecord PricedShare(uint16_t id, const char* name, const char* epic, std::vector<int> closes)
{
    dev::PriceHistory history;
    history.firstDate = PackDate(4, 1, 1999);
    for (int close : closes) {
        dev::HistoryDay day;
        day.close = close;
        history.days.push_back(day);
    }
    dev::DbRecord r = dev::ShareRecord(id, name, 'O', epic);
    r.subRecords[0].priceScale = 1;
    r.subRecords[0].firstDate = history.firstDate;
    EXPECT_TRUE(dev::EncodePriceStream(history, r.subRecords[0].body));
    return r;
}

class AlarmDialogs : public test::DatabaseFixture {
protected:
    void SetUp() override
    {
        Load(dev::WriteQuorvaDat(test::OneEntry({PricedShare(0x4001, "Alpha Mining", "ALM", {100, 110, 130}),
                                                 PricedShare(0x4002, "Beta Foods", "BFD", {200, 190, 180})})));
        DeleteSettingAll(kShareAlarmSettingId);
        GetAlarmPortfolioHooks().range = {1, 1};
        GetAlarmPortfolioHooks().moveTest = [](std::span<const AlarmDay> days, int day, const MoveCriterion& c, bool rise, int) {
            return CheckMoveAlarm(days, {c.enabled != 0, c.kind, c.threshold, rise}, day, days[size_t(day)].close, 0, false);
        };
    }
    void TearDown() override
    {
        DeleteSettingAll(kShareAlarmSettingId);
        GetAlarmPortfolioHooks() = AlarmPortfolioHooks{};
        AlarmChanges() = AlarmChangeFlags{};
        SetModalDialogRunner(nullptr);
    }
    static std::vector<uint8_t> Stored(uint16_t id)
    {
        const uint8_t* data = GetSettingRecord(id, 0, kShareAlarmSettingId);
        return data ? std::vector<uint8_t>(data, data + SettingDataSize(data)) : std::vector<uint8_t>{};
    }
};

TEST_F(AlarmDialogs, TheShareEditorWritesTheRecordItsFieldsShowAndDeletesANoteOnlyOne)
{
    const PackedDate today = GetTodayDate(0);
    SetModalDialogRunner([](QDialog& d) {
        test::SaveRender(test::RenderWidget(d), "ShareAlarmDlg_560");
        EXPECT_EQ(d.windowTitle(), "Set or edit alarms for Alpha Mining (ALM)");
        // Every alarm of the defaults is off, and each box enables its fields.
        EXPECT_FALSE(Child<QLineEdit>(d, CShareAlarmDlg::kIncreaseLevel)->isEnabled());
        Child<QCheckBox>(d, CShareAlarmDlg::kIncreaseOn)->setChecked(true);
        EXPECT_TRUE(Child<QLineEdit>(d, CShareAlarmDlg::kIncreaseLevel)->isEnabled());
        Child<QLineEdit>(d, CShareAlarmDlg::kIncreaseLevel)->setText("125.5");
        Child<QCheckBox>(d, CShareAlarmDlg::kFallOn[1])->setChecked(true);
        Child<QLineEdit>(d, CShareAlarmDlg::kFallOn[1] + 2)->setText("300"); // days beyond a byte
        d.accept();
        EXPECT_EQ(d.result(), QDialog::Rejected);
        Child<QLineEdit>(d, CShareAlarmDlg::kFallOn[1] + 2)->setText("7");
        Child<QCheckBox>(d, CShareAlarmDlg::kStopOn)->setChecked(true);
        Child<QCheckBox>(d, CShareAlarmDlg::kStopCapped)->setChecked(true);
        Child<QLineEdit>(d, CShareAlarmDlg::kStopPercent)->setText("12.5");
        Child<QCheckBox>(d, CShareAlarmDlg::kDealings)->setChecked(true);
        Child<QLineEdit>(d, CShareAlarmDlg::kNote)->setText("watch");
        d.accept();
        return d.result();
    });
    ASSERT_TRUE(EditShareAlarms(0x4001, 0));
    ShareAlarmRecord expected = ShareAlarmRecord::Defaults(today);
    expected.increaseOn = 1;
    expected.increaseLevel = 125.5f;
    expected.fallOn[1] = 1;
    expected.fallDays[1] = 7;
    expected.stopOn = expected.stopCapped = 1;
    expected.stopPercent = 12.5f;
    expected.dealingsOn = 1;
    expected.note = "watch";
    EXPECT_EQ(Stored(0x4001), expected.Write());
    EXPECT_TRUE(AlarmChanges().shareAlarms);

    // Reopened, the record's fields show; with every alarm turned off and only the note left, OK deletes it.
    SetModalDialogRunner([](QDialog& d) {
        EXPECT_EQ(Child<QLineEdit>(d, CShareAlarmDlg::kIncreaseLevel)->text(), "125.5");
        EXPECT_TRUE(Child<QCheckBox>(d, CShareAlarmDlg::kStopCapped)->isChecked());
        EXPECT_EQ(Child<QLineEdit>(d, CShareAlarmDlg::kNote)->text(), "watch");
        for (int id : {CShareAlarmDlg::kIncreaseOn, CShareAlarmDlg::kFallOn[1], CShareAlarmDlg::kStopOn, CShareAlarmDlg::kDealings})
            Child<QCheckBox>(d, id)->setChecked(false);
        d.accept();
        return d.result();
    });
    ASSERT_TRUE(EditShareAlarms(0x4001, 0));
    EXPECT_TRUE(Stored(0x4001).empty());

    // "Default" turns every alarm off and brings the default values back; Cancel stores nothing.
    SetModalDialogRunner([](QDialog& d) {
        Child<QCheckBox>(d, CShareAlarmDlg::kRiseOn[2])->setChecked(true);
        Child<QLineEdit>(d, CShareAlarmDlg::kRiseOn[2] + 1)->setText("77");
        Child<QPushButton>(d, CShareAlarmDlg::kDefault)->click();
        EXPECT_FALSE(Child<QCheckBox>(d, CShareAlarmDlg::kRiseOn[2])->isChecked());
        EXPECT_EQ(Child<QLineEdit>(d, CShareAlarmDlg::kRiseOn[2] + 1)->text(), "20");
        d.reject();
        return d.result();
    });
    EXPECT_FALSE(EditShareAlarms(0x4001, 0));
    EXPECT_FALSE(EditShareAlarms(0x4999, 0)); // no such share
}

TEST_F(AlarmDialogs, GlobalRowsStayWithinWhatTheirBytesHold)
{
    CGlobalAlarmsDlg dialog(DefaultGlobalAlarmRows());
    test::SaveRender(test::RenderWidget(dialog), "GlobalAlarmsDlg_562");
    EXPECT_EQ(Child<QLineEdit>(dialog, 18011)->text(), "10");
    EXPECT_EQ(Child<QLineEdit>(dialog, 18052)->text(), "10");
    struct Case {
        int box;
        const char* percent;
        const char* days;
        bool taken;
    } cases[] = {
        {18000, "255", "255", true}, {18000, "256", "1", false}, {18000, "5", "0", false},
        {18010, "99", "200", true},  {18010, "100", "1", false}, {18030, "5", "201", false},
        {18050, "5", "255", true},   {18050, "5", "256", false},
    };
    for (const Case& c : cases) {
        Child<QPushButton>(dialog, CGlobalAlarmsDlg::kDefault)->click();
        Child<QCheckBox>(dialog, c.box)->setChecked(true);
        Child<QLineEdit>(dialog, c.box + 1)->setText(c.percent);
        Child<QLineEdit>(dialog, c.box + 2)->setText(c.days);
        dialog.setResult(QDialog::Rejected);
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.taken) << c.box << " " << c.percent << " " << c.days;
    }
    // The last taken: the third fall row at 5 % in 255 days, the rest as the defaults.
    const std::vector<MoveCriterion>& rows = dialog.rows();
    EXPECT_EQ(rows[5].enabled, 1);
    EXPECT_EQ(rows[5].threshold, 5.0f);
    EXPECT_EQ(rows[5].kind, 255);
    EXPECT_EQ(rows[0].enabled, 0);
    EXPECT_EQ(rows[0].threshold, 10.0f);
}

TEST_F(AlarmDialogs, TheListsShowTheAlarmsThatHoldAndThoseSetWithTheirCommands)
{
    ShareAlarmRecord alpha = ShareAlarmRecord::Defaults(GetTodayDate(0));
    alpha.increaseOn = 1;
    alpha.increaseLevel = 120;
    alpha.riseOn[2] = 1; // 20% in 10 days: 100 to 130 holds
    alpha.note = "take profit";
    ShareAlarmRecord beta = ShareAlarmRecord::Defaults(GetTodayDate(0));
    beta.decreaseOn = 1;
    beta.decreaseLevel = 150; // not reached
    StoreShareAlarmRecord(0x4001, 0, alpha);
    StoreShareAlarmRecord(0x4002, 0, beta);

    CTriggeredAlarmsDlg triggered;
    test::SaveRender(test::RenderWidget(triggered), "TriggeredAlarmsDlg_564");
    EXPECT_EQ(triggered.Lines(), (QStringList{" Alpha Mining\tIncrease above 120 to 130\ttake profit",
                                             " Alpha Mining\tIncrease 30% in 2 days\ttake profit"}));
    EXPECT_EQ(triggered.SelectedKey(), 0x4001u);
    CReviewAlarmsDlg review;
    test::SaveRender(test::RenderWidget(review), "ReviewAlarmsDlg_561");
    EXPECT_EQ(review.Lines(), (QStringList{" Alpha Mining\tIncrease to 120\ttake profit",
                                          " Alpha Mining\tIncrease 20.00% in 10 days\ttake profit",
                                          " Beta Foods\tDecrease to 150\t"}));

    // Edit opens the editor for the selected share and refills the list.
    std::vector<uint32_t> edited;
    triggered.editShare = [&](uint16_t id, uint8_t stream) {
        edited.push_back(id + (uint32_t(stream) << 16));
        return true;
    };
    triggered.OnCommand(CAlarmListDlg::kCommandEdit);
    EXPECT_EQ(edited, std::vector<uint32_t>{0x4001});

    // Review's Delete asks first; No keeps the record.
    test::FakeMessageBox& boxes = box;
    review.list()->setCurrentItem(review.list()->topLevelItem(2));
    boxes.queue(MsgAnswer::No);
    review.OnCommand(CAlarmListDlg::kCommandDelete);
    EXPECT_FALSE(Stored(0x4002).empty());
    boxes.queue(MsgAnswer::Yes);
    review.OnCommand(CAlarmListDlg::kCommandDelete);
    EXPECT_TRUE(Stored(0x4002).empty());
    EXPECT_EQ(boxes.texts().back(), "Are you sure you want to delete this alarm?");
    EXPECT_EQ(review.Lines().size(), 2);

    // Reset all asks with No as its default; Yes deletes every record and the list says so.
    triggered.OnCommand(CAlarmListDlg::kCommandDeleteAll);
    EXPECT_FALSE(Stored(0x4001).empty());
    EXPECT_EQ(boxes.shown().back().defaultButton, 1);
    EXPECT_EQ(boxes.texts().back(), "Are you sure you want to delete all alarms?");
    boxes.queue(MsgAnswer::Yes);
    triggered.OnCommand(CAlarmListDlg::kCommandDeleteAll);
    EXPECT_TRUE(Stored(0x4001).empty());
    EXPECT_EQ(triggered.Lines(), QStringList{" No alarms"});
    EXPECT_EQ(triggered.SelectedKey(), 0u);

    // "Options" refills the list after OK only.
    int optionRuns = 0;
    triggered.runOptions = [&] { return ++optionRuns == 2; };
    StoreShareAlarmRecord(0x4001, 0, alpha);
    triggered.findChild<QPushButton*>(QString::number(CTriggeredAlarmsDlg::kOptions))->click();
    EXPECT_EQ(triggered.Lines(), QStringList{" No alarms"});
    triggered.findChild<QPushButton*>(QString::number(CTriggeredAlarmsDlg::kOptions))->click();
    EXPECT_EQ(triggered.Lines().size(), 2);
}

TEST_F(AlarmDialogs, ViewPortfolioAsksTheFrameEvenWithoutAnAlarmsPortfolio)
{
    ASSERT_EQ(PortfolioChain(), nullptr);
    test::RecordingTarget frame;
    MainFrameTarget() = &frame;
    CTriggeredAlarmsDlg dialog;
    dialog.findChild<QPushButton*>(QString::number(CTriggeredAlarmsDlg::kViewPortfolio))->click();
    DeliverPostedMessages();
    MainFrameTarget() = nullptr;
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(frame.received.size(), 1u);
    EXPECT_EQ(frame.received[0].message, WM_COMMAND);
    EXPECT_EQ(frame.received[0].wParam, 20312u);
}

} // namespace
} // namespace qv
