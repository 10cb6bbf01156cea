// The four intraday option pages: shown only with the real-time option, ports 7003 and 7004 refused,
// the log-file checks, the history page's enabling and "Purge Now", and the market hours round trip.
#include "tools/options/ui/OptionsSheet.h"

#include "core/ConfigState.h"
#include "core/RegistrySettings.h"
#include "core/SystemDate.h"
#include "core/TimeZones.h"
#include "devtools/lib/TempFolder.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "shell/ui/TimeEdit.h"
#include "shell/ui/TimesListBox.h"
#include "support/FakeMessageBox.h"
#include "support/PrivateRegistry.h"
#include "support/ui/ControlById.h"
#include "support/ui/Render.h"
#include "tools/options/OptionSettings.h"
#include "tools/options/ui/OptionPages.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace qv;
using qv::test::Control;

namespace {

constexpr uint16_t kIntradayPages = 0x1000 | 0x2000 | 0x0800 | 0x8000;

struct IntradayPagesTest : ::testing::Test {
    void SetUp() override
    {
        saved = Config().optionsA;
        savedAlarms = Config().intradayAlarms;
        Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 1;
    }
    void TearDown() override
    {
        Config().optionsA = saved;
        Config().intradayAlarms = savedAlarms;
        RTConnectionStep() = 0;
    }
    OptionBlockA saved;
    IntradayAlarmConfig savedAlarms;
    test::FakeMessageBox boxes;
    test::PrivateRegistry registry;
};

TEST_F(IntradayPagesTest, ThePagesJoinTheSheetOnlyWithTheRealTimeOptionAndRender)
{
    COptions sheet(kIntradayPages);
    ASSERT_EQ(sheet.tabs()->count(), 4);
    EXPECT_EQ(sheet.tabs()->tabText(0), "Intraday");
    sheet.resize(640, 560);
    for (int i = 0; i < sheet.tabs()->count(); ++i) {
        sheet.tabs()->setCurrentIndex(i);
        test::SaveRender(test::RenderWidget(sheet),
                         QStringLiteral("options-%1").arg(sheet.tabs()->tabText(i).replace(' ', '-')));
    }
    EXPECT_TRUE(LoadCommsSettings().dialUpEnabled) << "opening the feed page turns dial-up networking on";
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 0;
    COptions off(kIntradayPages);
    EXPECT_EQ(off.tabs()->count(), 0);
}

TEST_F(IntradayPagesTest, PortsSevenThousandThreeAndFourAreRefusedWithTheFocusOnThatPort)
{
    struct Case {
        int portId;
        const char* port;
        bool refused;
    };
    const Case cases[] = {{2962, "7003", true}, {2959, "7004", true}, {2961, "7004x", true}, {2961, "7005", false}};
    for (const Case& c : cases) {
        COptions sheet(0x0800);
        sheet.show();
        sheet.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
        Control<QLineEdit>(sheet, c.portId)->setText(QString::fromLatin1(c.port));
        const size_t before = boxes.shown().size();
        sheet.accept();
        EXPECT_EQ(sheet.isVisible(), c.refused) << c.port;
        EXPECT_EQ(boxes.shown().size(), before + (c.refused ? 1 : 0));
        if (!c.refused)
            continue;
        EXPECT_EQ(boxes.texts().back(), "This version of Quorvantis will not connect to any server\nrunning on port 7003 "
                                        "or 7004.\n\nPlease specify another port (or hit the default button)");
        EXPECT_EQ(QApplication::focusWidget(), Control<QLineEdit>(sheet, c.portId)) << c.port;
        sheet.reject();
    }
    // The default buttons give the built-in rows with port 7005; OK writes "RTComms2004".
    COptions sheet(0x0800);
    Control<QLineEdit>(sheet, 2962)->setText("9");
    Control<QPushButton>(sheet, 2673)->click();
    EXPECT_EQ(Control<QLineEdit>(sheet, 2672)->text(), QString::fromStdString(DefaultRealTimeAddresses()[1]));
    EXPECT_EQ(Control<QLineEdit>(sheet, 2962)->text(), "7005");
    Control<QLineEdit>(sheet, 2669)->setText("127.0.0.2");
    Control<QLineEdit>(sheet, 2961)->setText("7010");
    Control<QCheckBox>(sheet, 2834)->setChecked(true);
    sheet.accept();
    EXPECT_EQ(LoadRealTimeServers().addresses[0], "127.0.0.2");
    EXPECT_EQ(LoadRealTimeServers().ports[0], 7010);
    EXPECT_TRUE(CurrentRTFeedSettings().autoConnect);
}

// Leaving the Intraday Feed page checks its ports as OK does: the user stays on the page. And the
// Communications page's OK keeps the dial-up networking the feed page turned on.
TEST_F(IntradayPagesTest, LeavingThePageChecksItsPortsAndOkKeepsDialUpNetworking)
{
    COptions sheet(0x0800 | 0x0080);
    sheet.show();
    sheet.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    int feedIndex = -1, commsIndex = -1;
    for (int i = 0; i < sheet.tabs()->count(); ++i)
        (sheet.tabs()->tabText(i) == "Intraday Feed" ? feedIndex : commsIndex) = i;
    ASSERT_GE(feedIndex, 0);
    ASSERT_GE(commsIndex, 0);
    sheet.tabs()->setCurrentIndex(feedIndex);
    Control<QLineEdit>(sheet, 2961)->setText("7004");
    const size_t before = boxes.shown().size();
    sheet.tabs()->setCurrentIndex(commsIndex);
    EXPECT_EQ(sheet.tabs()->currentIndex(), feedIndex) << "refused on leaving";
    EXPECT_EQ(boxes.shown().size(), before + 1);
    Control<QLineEdit>(sheet, 2961)->setText("7005");
    sheet.tabs()->setCurrentIndex(commsIndex);
    EXPECT_EQ(sheet.tabs()->currentIndex(), commsIndex);
    EXPECT_TRUE(LoadCommsSettings().dialUpEnabled);
    sheet.accept();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_TRUE(LoadCommsSettings().dialUpEnabled) << "OK keeps what the feed page stored";
}

TEST_F(IntradayPagesTest, TheAlarmPageChecksTheLogFileAndWritesTheActions)
{
    dev::TempFolder dir;
    struct Case {
        std::string name;
        const char* refusal;
    };
    const Case cases[] = {{"a", "No log file specified"},
                          {(dir.path() / "missing" / "log.txt").string(), "Cannot open specified log file"},
                          {(dir.path() / "alarms.txt").string(), nullptr}};
    for (const Case& c : cases) {
        COptions sheet(0x2000);
        sheet.show();
        auto* log = Control<QCheckBox>(sheet, 2824);
        EXPECT_FALSE(Control<QLineEdit>(sheet, 2807)->isEnabled());
        log->setChecked(true);
        EXPECT_TRUE(Control<QLineEdit>(sheet, 2807)->isEnabled());
        Control<QLineEdit>(sheet, 2807)->setText(QString::fromStdString(c.name));
        const size_t before = boxes.shown().size();
        sheet.accept();
        EXPECT_EQ(sheet.isVisible(), c.refusal != nullptr) << c.name;
        if (c.refusal) {
            ASSERT_EQ(boxes.shown().size(), before + 1);
            EXPECT_EQ(boxes.texts().back(), c.refusal);
            sheet.reject();
        }
    }
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "alarms.txt")) << "opened for appending and closed";
    const IntradayAlarmActions a = RTAlarmSettings::Actions();
    EXPECT_TRUE(a.log);
    EXPECT_EQ(a.logFile, (dir.path() / "alarms.txt").string());
    EXPECT_EQ(a.minutes, 60) << "a stored 0 reads as 60";
}

TEST_F(IntradayPagesTest, TheHistoryPageEnablesItsKeepFieldsAndPurgeNowWaitsForABackfill)
{
    COptions sheet(0x1000);
    auto* days = sheet.findChild<QLineEdit*>("keepDays");
    auto* mbytes = sheet.findChild<QLineEdit*>("keepMBytes");
    EXPECT_FALSE(days->isEnabled()) << "manual purge by default";
    EXPECT_FALSE(mbytes->isEnabled());
    for (QRadioButton* r : sheet.findChildren<QRadioButton*>())
        if (r->text() == "Automatic purge")
            r->click();
    EXPECT_TRUE(days->isEnabled());
    EXPECT_FALSE(mbytes->isEnabled());

    RTConnectionStep() = kFeedBackfilling;
    Control<QPushButton>(sheet, 2678)->click();
    EXPECT_EQ(boxes.texts().back(), "Please wait until the intraday backfill has completed before purging");

    days->setText("12");
    sheet.findChild<QLineEdit*>("updateRate")->setText("26");
    sheet.accept();
    EXPECT_EQ(boxes.texts().back(), "Please enter an integer between 1 and 25.");
    sheet.findChild<QLineEdit*>("updateRate")->setText("10");
    sheet.accept();
    const RTFeedSettings s = CurrentRTFeedSettings();
    EXPECT_EQ(s.purgeMode, 0);
    EXPECT_EQ(s.keepDays, 12);
    EXPECT_EQ(s.updateRate, 10);
}

TEST_F(IntradayPagesTest, MarketHoursRoundTripInSecondsAndMinutesAndResetAllRestoresTheDefaults)
{
    {
        COptions sheet(0x8000);
        auto* page = static_cast<COptionExchTimes*>(sheet.page(OptionPage::ExchTimes));
        CTimesListBox* list = page->list();
        ASSERT_EQ(list->count(), 2 * kMarketHoursExchanges);
        EXPECT_EQ(list->item(2)->text().section('\t', 0, 0), "NYSE Open");
        const std::string_view newYork = GetMarketTimeZoneName(1, GetTodayDate(0));
        ASSERT_FALSE(newYork.empty());
        EXPECT_EQ(list->item(3)->text().section('\t', 1).toStdString(), newYork) << "the zone's name follows the time";
        EXPECT_EQ(list->RowTime(2), 9 * 3600 + 30 * 60);
        list->item(3)->setData(Qt::UserRole, 15 * 3600 + 45 * 60);
        ASSERT_EQ(list->RowTime(3), 15 * 3600 + 45 * 60) << "the row's time is its item data";
        sheet.accept();
    }
    RTFeedSettings s = CurrentRTFeedSettings();
    EXPECT_EQ(s.userClose[1], 15u * 3600 + 45 * 60);
    EXPECT_EQ(s.userOpen[1], 9u * 3600 + 30 * 60);
    COptions again(0x8000);
    auto* page = static_cast<COptionExchTimes*>(again.page(OptionPage::ExchTimes));
    EXPECT_EQ(page->list()->RowTime(3), 15 * 3600 + 45 * 60);
    Control<QPushButton>(again, 3504)->click();
    EXPECT_EQ(page->list()->RowTime(3), 16 * 3600);
}

} // namespace
