// The add-indicator dialogs, the colour-only dialog, the moving-average dialogs and the stop-loss
// dialogs, driven headless by control id; each is rendered to PNG.
#include "chartmodel/ui/AddIndicatorDlg.h"
#include "chartmodel/ui/IndicatorColourDlg.h"
#include "chartmodel/ui/MovAvgSettingsDlg.h"
#include "chartmodel/ui/SelectSetting.h"
#include "chartmodel/ui/StopLossDlg.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/PortfolioSeriesCache.h"
#include "core/ConfigState.h"
#include "core/SettingRecordStore.h"
#include "core/SystemDate.h"
#include "realtime/RTMarketTable.h"
#include "shell/ui/StyleButton.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

template <class W = QWidget>
W* Control(QWidget& dialog, int id)
{
    return dialog.findChild<W*>(QString::number(id));
}

void Render(QWidget& dialog, const QString& name)
{
    dialog.adjustSize();
    SaveRender(RenderWidget(dialog), name);
}

AddIndicatorContext NewContext(const GraphSetting& s, int type)
{
    AddIndicatorContext c;
    c.usage = ComputeWindowUsage(s, type);
    return c;
}

} // namespace

TEST(AddIndicatorDialogs, TemplatesFieldsAndDefaults)
{
    struct Case {
        int type;
        int templateId;
        std::vector<std::pair<int, QString>> edits; // control id, text shown for a new record
        std::vector<int> hidden;
    };
    const std::vector<Case> cases = {
        {5, 544, {{1072, "20"}}, {}},
        {3, 544, {}, {1072}},
        {58, 27247, {{1074, "9"}}, {}},
        {11, 549, {{1072, "20"}, {1652, "10"}}, {}},
        {9, 548, {{1072, "26"}, {1074, "9"}}, {}},
        {46, 548, {{1074, "9"}}, {1072}},
        {8, 650, {{1072, "13"}, {1652, "26"}, {1074, "9"}}, {}},
        {12, 552, {{1072, "20"}, {1651, "2"}, {1074, "9"}}, {}},
        {55, 27067, {{3413, "3"}}, {}},
        {15, 547, {{1073, "4"}, {1654, "3"}}, {}},
        {41, 632, {}, {}},
        {54, 633, {{1072, "14"}}, {}},
        {6, 553, {{1072, "20"}}, {2357}},
        {59, 553, {}, {1072}},
        {2, 672, {{1072, "20"}}, {}},
        {57, 27076, {{1072, "14"}}, {}},
        {22, 546, {}, {}},
    };
    GraphSetting s{};
    for (const Case& c : cases) {
        IndicatorRecord r = IndicatorRecord::Of(c.type, 0);
        auto d = CAddIndicatorDlg::Create(r, NewContext(s, c.type));
        EXPECT_EQ(d->objectName(), QString::number(c.templateId)) << c.type;
        d->show();
        for (const auto& [id, text] : c.edits) {
            auto* edit = Control<QLineEdit>(*d, id);
            ASSERT_NE(edit, nullptr) << c.type << " " << id;
            EXPECT_EQ(edit->text(), text) << c.type << " " << id;
        }
        for (int id : c.hidden) {
            QWidget* w = Control(*d, id);
            ASSERT_NE(w, nullptr) << c.type << " " << id;
            EXPECT_TRUE(w->isHidden()) << c.type << " " << id;
        }
        // Preview is hidden for a new record; the only target is a new window.
        EXPECT_TRUE(Control(*d, 18127)->isHidden()) << c.type;
        EXPECT_TRUE(Control<QRadioButton>(*d, 1077)->isChecked());
        EXPECT_EQ(d->helpTopic(), c.type == 6 ? 84542u : c.type == 59 ? 92819u : 84536u + uint32_t(c.type));
        Render(*d, QStringLiteral("add_indicator_%1").arg(c.type));
        d->hide();
    }
}

TEST(AddIndicatorDialogs, TheOtherShareButtonHasARowOfItsOwnAndEnterPressesOk)
{
    GraphSetting s{};
    for (int type : {6, 16, 59}) {
        SCOPED_TRACE(type);
        IndicatorRecord r = IndicatorRecord::Of(type, 0);
        auto d = CAddIndicatorDlg::Create(r, NewContext(s, type));
        d->show();
        d->adjustSize();
        auto* select = Control<QPushButton>(*d, 1879);
        QWidget* colour = Control(*d, 1459);
        ASSERT_TRUE(select && colour);
        EXPECT_FALSE(select->geometry().intersects(colour->geometry()));
        EXPECT_FALSE(select->autoDefault()) << "Enter goes to OK, wherever the focus is";
        bool correlationShown = false;
        for (QLabel* label : d->findChildren<QLabel*>())
            correlationShown |= label->text() == QStringLiteral("Other share for correlation") && label->isVisibleTo(d.get());
        EXPECT_EQ(correlationShown, type != 59);
        d->hide();
    }
}

TEST(AddIndicatorDialogs, RangesAndStoredFields)
{
    FakeMessageBox boxes;
    GraphSetting s{};
    {
        IndicatorRecord r = IndicatorRecord::Of(8, 0);
        auto d = CAddIndicatorDlg::Create(r, NewContext(s, 8));
        Control<QLineEdit>(*d, 1072)->setText("4");
        EXPECT_FALSE(d->Apply());
        EXPECT_EQ(boxes.texts().back(), "Enter a number between 5 and 999");
        EXPECT_EQ(r.period1, 0);
        Control<QLineEdit>(*d, 1072)->setText("5");
        Control<QLineEdit>(*d, 1652)->setText("5");
        EXPECT_FALSE(d->Apply());
        EXPECT_EQ(boxes.texts().back(), "Enter a number between 6 and 999");
        Control<QLineEdit>(*d, 1652)->setText("30");
        ASSERT_TRUE(d->Apply());
        EXPECT_EQ(r.period1, 5);
        EXPECT_EQ(r.period2, 30);
        EXPECT_EQ(r.period3, 9);
        EXPECT_EQ(r.flags, 1); // lines drawn, no histogram
        EXPECT_EQ(d->target(), kTargetNewWindow);
    }
    {
        IndicatorRecord r = IndicatorRecord::Of(5, 0);
        auto d = CAddIndicatorDlg::Create(r, NewContext(s, 5));
        Control<QLineEdit>(*d, 1072)->setText("1");
        EXPECT_TRUE(d->Apply());
        EXPECT_EQ(r.period1, 1);
        Control<QLineEdit>(*d, 1072)->setText("1000");
        EXPECT_FALSE(d->Apply());
        EXPECT_EQ(boxes.texts().back(), "Enter a number between 1 and 999");
    }
    {
        // A box of 2.5 is stored as 25 tenths and shown again as 2.5.
        IndicatorRecord r = IndicatorRecord::Of(15, 0);
        auto d = CAddIndicatorDlg::Create(r, NewContext(s, 15));
        Control<QLineEdit>(*d, 1073)->setText("2.5");
        Control<QCheckBox>(*d, 2171)->setChecked(false);
        EXPECT_EQ(Control<QLabel>(*d, 2469)->text(), "p");
        ASSERT_TRUE(d->Apply());
        EXPECT_EQ(r.period2, 25);
        EXPECT_EQ(r.flags & 1, 0);
        AddIndicatorContext edit = NewContext(s, 15);
        edit.editing = true;
        auto again = CAddIndicatorDlg::Create(r, edit);
        EXPECT_EQ(Control<QLineEdit>(*again, 1073)->text(), "2.5");
        EXPECT_EQ(Control<QLabel>(*again, 2469)->text(), "p");
    }
    {
        // The stochastic's slowing is a byte at offset 8; its method the word at 10.
        IndicatorRecord r = IndicatorRecord::Of(12, 0);
        auto d = CAddIndicatorDlg::Create(r, NewContext(s, 12));
        Control<QLineEdit>(*d, 1651)->setText("201");
        EXPECT_FALSE(d->Apply());
        EXPECT_EQ(boxes.texts().back(), "Enter a number between 1 and 200");
        Control<QLineEdit>(*d, 1651)->setText("7");
        Control<QComboBox>(*d, 1710)->setCurrentIndex(3);
        EXPECT_EQ(Control<QComboBox>(*d, 1710)->currentText(), "Triangualar");
        ASSERT_TRUE(d->Apply());
        EXPECT_EQ(r.period3, 7);
        EXPECT_EQ(r.period4, 3);
    }
}

TEST(AddIndicatorDialogs, DirectionalBoxesKeepOneTicked)
{
    GraphSetting s{};
    IndicatorRecord r = IndicatorRecord::Of(54, 0);
    auto d = CAddIndicatorDlg::Create(r, NewContext(s, 54));
    auto* di = Control<QCheckBox>(*d, 2208);
    auto* adx = Control<QCheckBox>(*d, 2205);
    EXPECT_TRUE(di->isChecked() && adx->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(*d, 2206)->isChecked());
    EXPECT_FALSE(Control(*d, 1461)->isEnabled());
    di->click();
    EXPECT_FALSE(di->isChecked());
    EXPECT_FALSE(Control(*d, 1462)->isEnabled());
    adx->click(); // the last ticked box stays ticked
    EXPECT_TRUE(adx->isChecked());
    ASSERT_TRUE(d->Apply());
    EXPECT_EQ(r.flags, 2);
}

TEST(AddIndicatorDialogs, EditPreviewCancelAndLocked)
{
    GraphSetting s{};
    IndicatorRecord stored = IndicatorRecord::Of(5, 0, 12);
    stored.Write(graphsetting::IndicatorSlot(s, 0, 0));
    IndicatorRecord r = stored;
    std::vector<IndicatorRecord> previews;
    AddIndicatorContext c = NewContext(s, 5);
    c.editing = c.openedFromWindow = true;
    c.preview = [&](const IndicatorRecord& shown) { previews.push_back(shown); };
    auto d = CAddIndicatorDlg::Create(r, c);
    d->show();
    EXPECT_FALSE(Control(*d, 18127)->isHidden());
    EXPECT_TRUE(Control<QRadioButton>(*d, 1078)->isChecked());
    EXPECT_EQ(Control<QLineEdit>(*d, 1072)->text(), "12");
    Control<QLineEdit>(*d, 1072)->setText("30");
    Control<QPushButton>(*d, 18127)->click();
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_EQ(previews[0].period1, 30);
    // Another target turns Preview off.
    Control<QRadioButton>(*d, 1077)->click();
    EXPECT_FALSE(Control(*d, 18127)->isEnabled());
    d->reject();
    ASSERT_EQ(previews.size(), 2u);
    EXPECT_EQ(previews[1].period1, 12);
    EXPECT_EQ(r.period1, 12);

    // A locked record: targets all off, "Replace window", periods hidden, bit 7 kept.
    IndicatorRecord locked = IndicatorRecord::Of(8, 0x81, 12, 26, 9);
    AddIndicatorContext lc = NewContext(s, 8);
    lc.editing = lc.openedFromWindow = true;
    auto l = CAddIndicatorDlg::Create(locked, lc);
    l->show();
    for (int id = 1077; id <= 1082; ++id)
        EXPECT_FALSE(Control(*l, id)->isEnabled()) << id;
    EXPECT_TRUE(Control<QRadioButton>(*l, 1078)->isChecked());
    EXPECT_TRUE(Control(*l, 1072)->isHidden());
    EXPECT_TRUE(Control(*l, 1652)->isHidden());
    EXPECT_FALSE(Control(*l, 2359)->isEnabled());
    ASSERT_TRUE(l->Apply());
    EXPECT_EQ(locked.flags, 0x81);
    EXPECT_EQ(locked.period1, 12);
    Render(*l, QStringLiteral("add_indicator_locked_macd"));
}

TEST(IndicatorColourDlg, RowsPreviewOkAndCancel)
{
    std::array<uint32_t, 8> words = {1, 2, 3, 4, 0x0000FF, 6, 7, 8};
    int redraws = 0;
    {
        CIndicatorColourDlg d(words, -1, kMovingAverageStyles, 0xFFFFFF, [&] { ++redraws; });
        d.AddColour(4, 0, QStringLiteral("Moving average"));
        d.AddColour(0, 4, QStringLiteral("Bollinger bands"));
        d.show();
        EXPECT_EQ(Control<QLabel>(d, 4079)->text(), "Moving average");
        EXPECT_EQ(Control<QLabel>(d, 4080)->text(), "Bollinger bands");
        EXPECT_TRUE(Control(d, 4081)->isHidden());
        EXPECT_TRUE(Control(d, 4088)->isHidden());
        Render(d, QStringLiteral("indicator_colour_845"));
        Control<CStyleButton>(d, 4086)->CreateColourBox(0x00FF00, false);
        d.Preview();
        EXPECT_EQ(words[0], 0x00FF00u);
        d.reject();
        EXPECT_EQ(words[0], 1u);
        EXPECT_EQ(redraws, 2);
    }
    // OK stores the words as the defaults of the scheme and sub-key.
    CIndicatorColourDlg d(words, 2, kMovingAverageStyles, 0xFFFFFF, nullptr);
    d.AddColour(4, 0, QStringLiteral("Moving average"));
    d.AddColour(0, 4, QStringLiteral("Bollinger bands"));
    Control<CStyleButton>(d, 4086)->CreateColourBox(0x123456, false);
    d.accept();
    std::array<uint32_t, kMaxLineStyles> pens{};
    ASSERT_EQ(LoadIndicatorLineStyles(pens, 2, kMovingAverageStyles), 2);
    EXPECT_EQ(pens[1], 0x123456u);
}

TEST(MovAvgDialogs, StandardAdvancedSwitchCancelAndDefault)
{
    GraphSetting s{};
    InitGraphSetting(s, false);
    graphsetting::SetU32(s, graphsetting::kLineBandColours, 0x00FFFF);
    const GraphSetting before = s;
    int notices = 0;
    MovAvgSession session;
    session.setting = &s;
    session.working = session.cancelCopy = ReadMovAvgWords(s);
    session.notify = [&] { ++notices; };

    {
        CMovAvgSettingsDlg standard(session, false);
        EXPECT_EQ(standard.objectName(), "202");
        EXPECT_EQ(Control<QCheckBox>(standard, 1190)->text(), "Simple MA. 1");
        EXPECT_EQ(Control<QLineEdit>(standard, 1194)->text(), "20");
        Render(standard, QStringLiteral("movavg_standard_202"));
        Control<QLineEdit>(standard, 1194)->setText("1");
        Control<QLineEdit>(standard, 1195)->setText("5000");
        Control<QCheckBox>(standard, 1190)->setChecked(true);
        standard.Switch();
        EXPECT_TRUE(standard.switched());
        EXPECT_TRUE(MovAvgAdvancedChosen());
    }
    EXPECT_EQ(UnpackMovAvgLine(session.working, 0).period, 2);
    EXPECT_EQ(UnpackMovAvgLine(session.working, 1).period, 4000);
    {
        CMovAvgSettingsDlg advanced(session, true);
        advanced.show();
        EXPECT_EQ(Control<QLineEdit>(advanced, 1194)->text(), "2");
        EXPECT_EQ(Control<QLineEdit>(advanced, 1689)->maxLength(), 2);
        Control<QComboBox>(advanced, 1625)->setCurrentIndex(1);
        EXPECT_EQ(Control<QCheckBox>(advanced, 1190)->text(), "Exponential");
        Control<QComboBox>(advanced, 1633)->setCurrentIndex(1);
        EXPECT_EQ(Control<QCheckBox>(advanced, 1629)->text(), "Envelopes");
        EXPECT_EQ(Control<QLabel>(advanced, 1122)->text(), "%");
        EXPECT_TRUE(Control(advanced, 1641)->isHidden());
        Control<QLineEdit>(advanced, 1689)->setText("0");
        Render(advanced, QStringLiteral("movavg_advanced_551"));
        advanced.Switch();
        EXPECT_FALSE(MovAvgAdvancedChosen());
    }
    MovAvgLine packed = UnpackMovAvgLine(session.working, 0);
    EXPECT_TRUE(packed.envelope);
    EXPECT_EQ(packed.envelopeWidth, 1);
    EXPECT_EQ(packed.type, 1);
    {
        CMovAvgSettingsDlg standard(session, false);
        standard.Preview();
        EXPECT_NE(s, before);
        standard.reject();
    }
    EXPECT_EQ(s, before);
    EXPECT_EQ(notices, 2);

    // OK in Standard: each band takes its line's colour. Default shows the daily periods unticked.
    {
        session.working = session.cancelCopy = ReadMovAvgWords(s);
        CMovAvgSettingsDlg standard(session, false);
        standard.Default();
        EXPECT_EQ(Control<QLineEdit>(standard, 1197)->text(), "250");
        EXPECT_FALSE(Control<QCheckBox>(standard, 1190)->isChecked());
        standard.accept();
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(graphsetting::LineBandColour(s, i), graphsetting::LineColour(s, i)) << i;
}

namespace {

class StopLossDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        Config() = ConfigState{};
        SettingRecords().load({});
    }
    void TearDown() override
    {
        Config() = ConfigState{};
        SettingRecords().load({});
    }
    StopLossContext Context(bool individual, bool intraday = false)
    {
        StopLossContext c;
        c.individual = individual;
        c.intraday = intraday;
        c.share = {321, 0};
        c.setting = 2;
        c.latestTradingDate = 9000;
        c.notify = [this] { ++notices; };
        return c;
    }
    int notices = 0;
};

} // namespace

TEST_F(StopLossDialogs, IndividualNewRecordPreviewCancelLeavesNone)
{
    {
        CStopLossDlg d(Context(true));
        EXPECT_EQ(d.windowTitle(), "Set this Graph's Stop-Loss settings");
        EXPECT_FALSE(Control(d, 26564)->isEnabled());
        EXPECT_FALSE(Control(d, 26565)->isEnabled());
        EXPECT_EQ(Control<QLabel>(d, 2126)->text(), "Apply to this setting only");
        EXPECT_EQ(Control<QLineEdit>(d, 1339)->text(), "10.00");
        Render(d, QStringLiteral("stoploss_342_individual"));
        Control<QLineEdit>(d, 1339)->setText("5");
        d.Apply();
        ASSERT_TRUE(ShareStopRecord({321, 0}, false));
        EXPECT_FLOAT_EQ(ShareStopRecord({321, 0}, false)->percent, 5.0f);
        EXPECT_EQ(IndividualStopMask(false), 4);
        d.reject();
    }
    EXPECT_FALSE(ShareStopRecord({321, 0}, false));
    EXPECT_EQ(IndividualStopMask(false), 0);
    {
        CStopLossDlg d(Context(true));
        d.reject();
    }
    EXPECT_FALSE(ShareStopRecord({321, 0}, false));
    EXPECT_EQ(notices, 3);
}

TEST_F(StopLossDialogs, GlobalDialogTitleMaskAndPercentField)
{
    SetGlobalStopMask(false, 4095);
    CStopLossDlg d(Context(false));
    EXPECT_TRUE(Control(d, 26564)->isHidden());
    EXPECT_EQ(Control<QLabel>(d, 2126)->text(), "Apply to all settings");
    Control<QRadioButton>(d, 3421)->setChecked(true);
    EXPECT_EQ(d.windowTitle(), "Change the Global Stop-gain settings");
    Control<QLineEdit>(d, 1339)->setText("120");
    d.CheckPercent();
    EXPECT_EQ(Control<QLineEdit>(d, 1339)->text(), "10.00");
    Control<QLineEdit>(d, 1339)->setText("2.5");
    d.accept();
    EXPECT_FLOAT_EQ(GlobalStopRecord(false).percent, 2.5f);
    EXPECT_EQ(GlobalStopRecord(false).flags & StopFlag::StopGain, StopFlag::StopGain);
    EXPECT_EQ(GlobalStopMask(false), 4095);
}

TEST_F(StopLossDialogs, SelectSettingsAndDeleteAll)
{
    FakeMessageBox boxes;
    StoreShareStopRecord({321, 0}, false, StopRecord{});
    StoreShareStopRecord({7, 0}, false, StopRecord{});
    StopLossContext c = Context(true);
    uint16_t offered = 0;
    c.selectSettings = [&](int, uint16_t& mask) {
        offered = mask;
        mask = 0;
        return true;
    };
    CStopLossDlg d(c);
    EXPECT_TRUE(Control(d, 26564)->isEnabled());
    d.SelectSettings();
    EXPECT_EQ(offered, 4);
    EXPECT_EQ(Control<QLabel>(d, 2126)->text(), "No settings");
    boxes.queue(MsgAnswer::Cancel);
    d.DeleteAll();
    EXPECT_TRUE(AnyShareStopRecord(false));
    boxes.queue(MsgAnswer::Ok);
    d.DeleteAll();
    EXPECT_EQ(boxes.texts().back(), "Are you sure you want to delete all individual stop-loss settings?");
    EXPECT_FALSE(AnyShareStopRecord(false));
}

TEST_F(StopLossDialogs, IntradayEnablingTitleAndReset)
{
    StopLossContext c = Context(true, true);
    c.zoneName = "BST";
    c.feedState = 6;
    {
        CStopLossDlg d(c);
        d.show();
        EXPECT_EQ(d.objectName(), "27245");
        EXPECT_EQ(d.windowTitle(), "This Graph's Intraday Stop-loss settings");
        EXPECT_FALSE(Control(d, 3659)->isEnabled());
        EXPECT_EQ(Control<QLabel>(d, 3716)->text(), "BST");
        EXPECT_EQ(Control<QLineEdit>(d, 1339)->text(), "1.00");
        EXPECT_FALSE(Control(d, 3658)->isEnabled());
        Control<QCheckBox>(d, 1264)->setChecked(true);
        EXPECT_TRUE(Control(d, 3658)->isEnabled());
        Control<QCheckBox>(d, 3658)->setChecked(true);
        Control<QCheckBox>(d, 1264)->setChecked(false);
        EXPECT_FALSE(Control<QCheckBox>(d, 3658)->isChecked());
        Render(d, QStringLiteral("stoploss_27245_intraday"));
    }
    c.feedState = 7;
    c.individual = false;
    c.today = GetTodayDate(0);
    c.resetTime = 8 * 3600;
    CStopLossDlg g(c);
    EXPECT_EQ(Control<QLabel>(g, 3716)->text(), "GMT");
    ASSERT_TRUE(Control(g, 3659)->isEnabled());
    g.ResetToNow();
    Control<QRadioButton>(g, 3661)->setChecked(true);
    g.accept();
    StopRecord r = GlobalStopRecord(true);
    EXPECT_EQ(r.startDate, GetTodayDate(0));
    EXPECT_EQ(r.startTime, 8u * 3600);
    EXPECT_EQ(r.flags & (StopFlag::StartAtDate | StopFlag::StartTime | StopFlag::PriceBasisMask),
              StopFlag::StartAtDate | StopFlag::StartTime | 0x10);
}

// "Reset start date/time to now" starts a share's line at its market's open (the user's hours), and
// the global line at the first market's open on GMT, as the view's dialog is given them.
TEST_F(StopLossDialogs, IntradayResetStartsAtTheMarketsOpen)
{
    auto& hours = ExchangeTimesTable();
    const auto saved = hours;
    hours[0] = {8 * 3600 + 15 * 60, 16 * 3600 + 30 * 60};
    for (bool individual : {true, false}) {
        StopLossContext c = Context(individual, true);
        c.feedState = 7;
        c.today = PackDate(7, 12, 2026); // winter: GMT is London's clock
        SetIntradayStopTimes(c, nullptr);
        EXPECT_EQ(c.resetTime, 8u * 3600 + 15 * 60) << individual;
        CStopLossDlg d(c);
        d.ResetToNow();
        d.accept();
        const StopRecord r = individual ? *ShareStopRecord(c.share, true) : GlobalStopRecord(true);
        EXPECT_EQ(r.startTime, 8u * 3600 + 15 * 60) << individual;
        EXPECT_EQ(r.startDate, c.today);
    }
    hours = saved;
}

TEST_F(StopLossDialogs, SelectSettingOpensInTheModeOfTheMaskAndAnswersInTheCallersForm)
{
    Config().dailyGraphs.names[1] = "Weekly";
    struct Case {
        uint16_t given;
        CSelectSetting::Mode mode;
        uint16_t answer; // OK pressed at once
    } cases[] = {
        {4095, CSelectSetting::All, 4095},
        {0x8000, CSelectSetting::All, 0x8000},            // bit 15 is all too, and comes back as given
        {0x8005, CSelectSetting::All, 0x8000},
        {0x0002, CSelectSetting::CurrentOnly, 0x0002},    // the current setting's bit (setting 1)
        {0x0005, CSelectSetting::Selected, 0x0005},
    };
    for (const Case& c : cases) {
        CSelectSetting d(c.given, 1, false, nullptr);
        EXPECT_EQ(d.mode(), c.mode) << c.given;
        EXPECT_EQ(d.mask(), c.answer) << c.given;
        EXPECT_EQ(d.box(0)->isEnabled(), c.mode == CSelectSetting::Selected) << c.given;
    }
    CSelectSetting d(0x0005, 1, false, nullptr);
    EXPECT_EQ(d.box(1)->text(), "Weekly (current)");
    d.box(11)->setChecked(true);
    d.box(0)->setChecked(false);
    EXPECT_EQ(d.mask(), 0x0804);
    d.setMode(CSelectSetting::CurrentOnly);
    EXPECT_FALSE(d.box(11)->isEnabled());
    EXPECT_EQ(d.mask(), 0x0002);
    d.setMode(CSelectSetting::All);
    EXPECT_EQ(d.mask(), 4095);
    EXPECT_FALSE(d.setAsDefault());
    Render(d, QStringLiteral("select_setting_614"));
}

TEST(AddIndicatorDialogs, AMarketGraphOverAPortfolioKeepsItsNumber)
{
    SetMarketGraphPortfolios([] { return std::vector<MarketGraphPortfolio>{{0, "Growth"}, {7, "Income"}}; });
    GraphSetting s{};
    IndicatorRecord r = IndicatorRecord::Of(19, 0);
    {
        auto d = CAddIndicatorDlg::Create(r, NewContext(s, 19));
        auto* list = Control<QComboBox>(*d, 3710);
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->itemText(2), "Income");
        Control<QRadioButton>(*d, 1664)->click();
        list->setCurrentIndex(2);
        ASSERT_TRUE(d->Apply());
        EXPECT_EQ(r.flags & kMarketGraphPortfolioFlag, kMarketGraphPortfolioFlag);
        EXPECT_EQ(r.period4, 7);  // the u16 field after period 3
        EXPECT_EQ(r.period3, 0);
    }
    AddIndicatorContext edit = NewContext(s, 19);
    edit.editing = true;
    {
        auto again = CAddIndicatorDlg::Create(r, edit);
        EXPECT_TRUE(Control<QRadioButton>(*again, 1664)->isChecked());
        EXPECT_EQ(Control<QComboBox>(*again, 3710)->currentText(), "Income");
        // "FTSE 100" is a market group again, without the portfolio flag.
        Control<QRadioButton>(*again, 1665)->click();
        ASSERT_TRUE(again->Apply());
        EXPECT_EQ(r.flags & kMarketGraphPortfolioFlag, 0);
        EXPECT_EQ(r.period3, 4);
        EXPECT_EQ(r.period4, 0);
    }
    SetMarketGraphPortfolios({});
}
