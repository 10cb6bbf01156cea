// The chart design dialogs beyond the graph design pages, driven by control id: the live preview and
// its enlarged view, the bar-colour dialog, the box-chart extras and the text font of the design,
// Display Events, Swing Chart Design, the chart font chooser, the colour-only trend dialog of a locked
// setting, the legend design opened from the legend window with its stored style, and where the small
// dialogs open.
#include "chartmodel/ChartFont.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/LegendSettings.h"
#include "chartmodel/LegendStyleStore.h"
#include "chartmodel/SwingDesign.h"
#include "chartmodel/ui/DialogPlacement.h"
#include "chartmodel/ui/GraphDesignDlg.h"
#include "chartmodel/ui/GraphLegend.h"
#include "chartmodel/ui/SwingDesignDlg.h"
#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "chartmodel/ui/ViewGraphWindow.h"
#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/VexaEdition.h"
#include "devtools/lib/SyntheticChart.h"
#include "devtools/lib/SyntheticDays.h"
#include "platform/Registry.h"
#include "resources/MessageIds.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StyleButton.h"
#include "support/ui/ControlById.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
#include "views/ViewKinds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>

using namespace qv;
using namespace qv::graphsetting;
using qv::test::Control;
using qv::test::RenderWidget;
using qv::test::SaveRender;

namespace {

// Runs each dialog the code opens through `answer`, restoring the runner afterwards.
struct DialogAnswers {
    explicit DialogAnswers(std::function<int(QDialog&)> answer) { SetModalDialogRunner(std::move(answer)); }
    ~DialogAnswers() { SetModalDialogRunner(nullptr); }
};

struct DailySetting {
    GraphSetting saved = Config().dailyGraphs.records[0];
    DailySetting() { dev::SetUpSyntheticSetting(Config().dailyGraphs.records[0]); }
    ~DailySetting() { Config().dailyGraphs.records[0] = saved; }
    GraphSetting& record() { return Config().dailyGraphs.records[0]; }
};

bool SameBytes(const GraphSetting& a, const GraphSetting& b) { return std::memcmp(a.data(), b.data(), GraphSetting::kSize) == 0; }

} // namespace

TEST(ChartDesignPreview, PreviewDrawsKindTwoWithItsMarginAndTheHeldButtonKindOneOverTheDialog)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    SetU8(setting, kWhiteSpace, 2);
    SetU32(setting, kFramePen, 0x000000); // one pixel wide, solid
    CGraphGridDlg dialog(setting, "Default", 0);
    struct Call {
        int kind, margin;
        QSize size;
    };
    std::vector<Call> calls;
    dialog.SetPreviewPainter([&](QPainter&, const GraphSetting&, QRect area, int kind, int margin) {
        calls.push_back({kind, margin, area.size()});
    });
    dialog.resize(760, 560);
    RenderWidget(dialog);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().kind, 2);
    EXPECT_EQ(calls.back().margin, 5);
    auto* frame = dialog.findChild<QWidget*>(QStringLiteral("1394"));
    EXPECT_EQ(calls.back().size, frame->size() - QSize(4, 2));

    dialog.show();
    QTest::mousePress(frame, Qt::LeftButton, {}, frame->rect().center());
    auto* enlarged = dialog.findChild<QWidget*>(QStringLiteral("enlarged"));
    ASSERT_TRUE(enlarged && enlarged->isVisible());
    EXPECT_EQ(enlarged->geometry(), dialog.rect().adjusted(1, 1, -1, -1));
    calls.clear();
    enlarged->repaint();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().kind, 1);
    EXPECT_EQ(calls.back().size, enlarged->size());
    QTest::mouseRelease(frame, Qt::LeftButton, {}, frame->rect().center());
    EXPECT_FALSE(enlarged->isVisible());
    dialog.reject();
}

TEST(ChartDesignPreview, TheDesignDialogShowsTheChartDrawnByTheViewAndTheViewKeepsItsStyle)
{
    DailySetting fixture;
    dev::SyntheticChart<CViewGraphWnd> chart(100);
    chart.resize(500, 360);
    GraphSetting before = fixture.record();
    DialogAnswers answers([&](QDialog& d) {
        d.resize(900, 520);
        QImage picture = RenderWidget(d);
        SaveRender(picture, "graph_design_live_preview");
        auto* frame = d.findChild<QWidget*>(QStringLiteral("1394"));
        QPoint inside = frame->mapTo(&d, frame->rect().center());
        // More than the background: the synthetic chart's bars and labels are drawn in the frame.
        QRgb back = picture.pixel(frame->mapTo(&d, QPoint(3, 2)));
        int drawn = 0;
        for (int x = -60; x < 60; ++x)
            drawn += picture.pixel(inside + QPoint(x, 0)) != back;
        EXPECT_GT(drawn, 0);
        EXPECT_EQ(chart.StyleRecord(), &chart.privateCopy);
        return int(QDialog::Rejected);
    });
    OpenGraphDesign(chart, "Daily 1");
    EXPECT_TRUE(SameBytes(before, fixture.record()));
}

// Pixels of one colour in a picture, or in a part of it.
int CountColour(const QImage& picture, QRgb colour, QRect part = {})
{
    if (part.isNull())
        part = picture.rect();
    int count = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            count += (picture.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}

int CountDark(const QImage& image, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            n += qRed(p) <= 0x10 && qGreen(p) <= 0x20 && qBlue(p) <= 0x80;
        }
    return n;
}

TEST(ChartDesignPreview, TheDailyChartAndThePreviewDrawTheDesignsColoursUntilCancel)
{
    DailySetting fixture;
    InitGraphSetting(fixture.record(), false);
    const GraphSetting before = fixture.record();
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(300);
    CViewGraphEODWnd chart(kViewDailyChart);
    chart.eod.SetHistory(days.data(), int32_t(days.size()), 1);
    const QRgb bars = qRgb(0xFF, 0xFF, 0x00); // the dark default's price colours (0x00FFFF)
    ASSERT_EQ(CountColour(chart.RenderToImage(700, 420), bars), 0);
    QImage previewed, inDialog;
    QRect frameArea;
    DialogAnswers answers([&](QDialog& d) {
        if (d.objectName() != QStringLiteral("201"))
            return int(QDialog::Rejected);
        Control<QPushButton>(d, 2426)->click(); // "Dark default"
        d.resize(900, 520);
        inDialog = RenderWidget(d);
        auto* frame = d.findChild<QWidget*>(QStringLiteral("1394"));
        frameArea = QRect(frame->mapTo(&d, QPoint(4, 4)), frame->size() - QSize(8, 8));
        Control<QPushButton>(d, 18127)->click(); // Preview
        previewed = chart.RenderToImage(700, 420);
        return int(QDialog::Rejected);
    });
    OpenGraphDesign(chart, "Daily 1");
    EXPECT_GT(CountColour(inDialog, bars, frameArea), 20);
    // The dark design shades its panes from a deep blue at the top down to black.
    EXPECT_GT(CountDark(inDialog, frameArea), frameArea.width() * frameArea.height() / 2);
    EXPECT_GT(CountColour(previewed, bars), 100);
    EXPECT_GT(CountDark(previewed, previewed.rect()), previewed.width() * previewed.height() / 2);
    EXPECT_EQ(CountColour(chart.RenderToImage(700, 420), bars), 0);
    EXPECT_TRUE(SameBytes(before, fixture.record()));
}

TEST(DisplayEvents, TickedHiddenKindGetsModeTwoUntickedKeepsItsColoursAndCancelRestores)
{
    DailySetting fixture;
    GraphSetting& setting = fixture.record();
    InitEventMarkerSettings(setting);
    SetU8(setting, EventEntry(1) + kEventShown, 3); // ex-dividend shown in mode 3
    GraphSetting before = setting;
    CViewGraphEODWnd window(kViewDailyChart);
    CommandUi ui;
    ui.command = 27286;
    EXPECT_TRUE(window.UpdateCommandUi(ui));
    EXPECT_TRUE(ui.enabled);
    for (int answer : {int(QDialog::Rejected), int(QDialog::Accepted)}) {
        setting = before;
        DialogAnswers answers([&](QDialog& d) {
            EXPECT_EQ(d.objectName(), QStringLiteral("27279"));
            EXPECT_TRUE(Control<QCheckBox>(d, 4125)->isChecked());
            EXPECT_FALSE(Control<QCheckBox>(d, 4126)->isEnabled()); // "Show events" is off
            Control<QCheckBox>(d, 4172)->setChecked(true);
            EXPECT_TRUE(Control<QCheckBox>(d, 4126)->isEnabled());
            Control<QCheckBox>(d, 4126)->setChecked(true);  // AGM, hidden
            Control<QCheckBox>(d, 4125)->setChecked(false); // ex-dividend
            Control<QPushButton>(d, 18127)->click();
            EXPECT_EQ(U8(setting, EventEntry(2) + kEventShown), 2);
            if (answer == QDialog::Rejected)
                SaveRender(RenderWidget(d), "display_events");
            d.done(answer);
            return answer;
        });
        EXPECT_EQ(window.onProgramMessage(WM_COMMAND, 27286, 0), 1);
        if (answer == QDialog::Rejected) {
            EXPECT_TRUE(SameBytes(before, setting));
            continue;
        }
        EXPECT_EQ(U32(setting, kEvents), 1u);
        EXPECT_EQ(U8(setting, EventEntry(2) + kEventShown), 2);
        EXPECT_EQ(U8(setting, EventEntry(1) + kEventShown), 0);
        EXPECT_EQ(std::memcmp(setting.data() + EventEntry(1) + 1, before.data() + EventEntry(1) + 1, kEventEntrySize - 1), 0);
    }
}

TEST(DisplayEvents, DefaultRefillsTheEventBlock)
{
    GraphSetting setting{};
    InitEventMarkerSettings(setting);
    SetU8(setting, EventEntry(4) + kEventShown, 5);
    DailySetting fixture;
    fixture.record() = setting;
    CViewGraphEODWnd window(kViewDailyChart);
    DialogAnswers answers([&](QDialog& d) {
        Control<QPushButton>(d, 3)->click();
        EXPECT_FALSE(Control<QCheckBox>(d, 4128)->isChecked());
        d.accept();
        return int(QDialog::Accepted);
    });
    window.onProgramMessage(WM_COMMAND, 27286, 0);
    GraphSetting defaults{};
    InitEventMarkerSettings(defaults);
    EXPECT_EQ(std::memcmp(fixture.record().data() + kEvents, defaults.data() + kEvents, kEventsSize), 0);
}

TEST(ChartFont, TheChooserRefusesASizeOutside5To20AndStoresTheFontOnOk)
{
    OptionBlockA saved = Config().optionsA;
    CViewGraphEODWnd window(kViewDailyChart);
    CommandUi ui;
    ui.command = 21103;
    EXPECT_TRUE(window.UpdateCommandUi(ui) && ui.enabled);
    QStringList messages;
    int fontDialogs = 0;
    DialogAnswers answers([&](QDialog& d) {
        if (auto* box = qobject_cast<QMessageBox*>(&d)) {
            messages << box->text();
            return int(QDialog::Accepted);
        }
        auto* chooser = qobject_cast<QFontDialog*>(&d);
        EXPECT_NE(chooser, nullptr);
        QFont font(QStringLiteral("Liberation Sans"), ++fontDialogs == 1 ? 24 : 14);
        font.setItalic(true);
        chooser->setCurrentFont(font);
        if (fontDialogs == 1)
            SaveRender(RenderWidget(d), "chart_font_chooser");
        for (QComboBox* scripts : d.findChildren<QComboBox*>())
            EXPECT_FALSE(scripts->isVisibleTo(&d)); // no script choice
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(window.onProgramMessage(WM_COMMAND, 21103, 0), 1);
    EXPECT_EQ(fontDialogs, 2);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Size must be between 5 and 20 points.")});
    ChartFont stored = ReadChartFont(Config().optionsA);
    EXPECT_EQ(stored.points, 14);
    EXPECT_TRUE(stored.italic);
    EXPECT_LT(stored.height, 0);
    Config().optionsA = saved;
}

TEST(TrendCommand, ALockedSettingOpensTheColourOnlyDialogOverTheTwoTrendPens)
{
    const ConfigState user = Config();
    Config().optionsA.bytes[OptionBlockA::kEditionTableSlot] = 4;
    Config().optionsA.bytes[OptionBlockA::kEditionGraphSlot1] = 0;
    Config().optionsA.bytes[OptionBlockA::kEditionGraphSlot2] = 11;
    InitVexaTables();
    SetEditionOptionByte(kEditionOn | kEditionSetUp);
    ApplyVexaSettings(true);
    CViewGraphEODWnd window(kViewDailyChart);
    window.viewFlags = 0;
    EXPECT_TRUE(window.ComputeSettingsLocked());
    GraphSetting& setting = *window.ActiveSetting();
    const uint32_t pen = U32(setting, kTrendPen);
    uint32_t previewed = 0;
    QStringList opened, labels;
    DialogAnswers answers([&](QDialog& d) {
        opened << d.objectName();
        for (QLabel* l : d.findChildren<QLabel*>())
            labels << l->text();
        SaveRender(RenderWidget(d), "trend_colours_locked");
        Control<CStyleButton>(d, 4085)->SetColour(0x123456, 0xFFFFFF);
        Control<QPushButton>(d, 18127)->click();
        previewed = U32(setting, kTrendPen) & 0xFFFFFF;
        d.reject();
        return int(QDialog::Rejected);
    });
    window.onProgramMessage(WM_COMMAND, 20206, 0);
    // Preview shows the colour on the chart; Cancel puts the pen back.
    EXPECT_EQ(previewed, 0x123456u);
    EXPECT_EQ(U32(setting, kTrendPen), pen);
    ApplyVexaSettings(false);
    FreeVexaTables();
    SetEditionOptionByte(0);
    RemoveEditionFilters();
    Config() = user;
    ASSERT_EQ(opened.size(), 1);
    EXPECT_NE(opened[0], QStringLiteral("203"));
    EXPECT_TRUE(labels.contains(QStringLiteral("Trend line")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Confidence lines")));
}

TEST(LegendDesignFromLegend, TheContextMenuOpensTheVariantAndCancelRestoresOkKeepsTheStyle)
{
    DailySetting fixture;
    dev::SyntheticChart<CViewGraphWnd> chart(100);
    CGraphLegend& legend = GraphLegendWindow();
    LegendItemRecord& items = ProgramLegendItems(false);
    const LegendItemRecord savedItems = items;
    items = {0, 0};
    LegendSource source;
    source.items = &items;
    source.setting = &fixture.record();
    source.shareName = "Sample plc";
    legend.Bind(&chart, &source);
    legend.resize(220, 120);
    LegendSettings savedSettings = ProgramLegendSettings();
    legenddesign::LegendStyle savedStyle = ProgramLegendStyle();
    auto send = [&] {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), legend.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&legend, &event);
    };
    QString title;
    for (int answer : {int(QDialog::Rejected), int(QDialog::Accepted)}) {
        DialogAnswers answers([&](QDialog& d) {
            title = d.windowTitle();
            Control<QPushButton>(d, 3633)->click(); // Default All: Arial 7 pt
            d.findChild<QSlider*>(QStringLiteral("3628"))->setValue(4);
            Control<QPushButton>(d, 18127)->click();
            EXPECT_EQ(ProgramLegendSettings().fontPoints, 7);
            EXPECT_EQ(ProgramLegendSettings().lineSpacing, 8);
            if (answer == QDialog::Rejected)
                SaveRender(RenderWidget(d), "legend_design_from_legend");
            d.done(answer);
            return answer;
        });
        send();
        EXPECT_EQ(items.word1, answer == QDialog::Accepted ? legenddesign::kItemsDefault : 0u);
        if (answer == QDialog::Rejected) {
            EXPECT_EQ(ProgramLegendStyle().points, savedStyle.points);
            EXPECT_EQ(ProgramLegendStyle().whiteSpace, savedStyle.whiteSpace);
        }
    }
    EXPECT_EQ(title, QStringLiteral("Historic graph legend design"));
    EXPECT_EQ(ProgramLegendStyle().face, "Arial");
    EXPECT_EQ(ProgramLegendStyle().points, 7);
    // The rebuilt legend draws the share's name on the "Details" pair of the light defaults.
    ASSERT_FALSE(legend.model().lines().empty());
    QImage drawn = RenderWidget(legend);
    SaveRender(drawn, "legend_window_styled");
    int row = ProgramLegendSettings().lineSpacing + 1;
    EXPECT_EQ(QColor(drawn.pixel(legend.width() - 4, row)), QColor(0xE0, 0xFF, 0xE0));
    auto stored = Registry::Instance().getBinary("Settings", "LegendStyle");
    ASSERT_TRUE(stored);
    EXPECT_EQ(DecodeLegendStyle(*stored)->whiteSpace, 4);
    ProgramLegendStyle() = savedStyle;
    ProgramLegendSettings() = savedSettings;
    Registry::Instance().remove("Settings", "LegendStyle");
    items = savedItems;
    legend.Hide();
}

TEST(BarColourDlg, PriceColourSchemeButtonEditsTheWorkingCopyPreviewWritesCancelRestores)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    SetU8(setting, kPriceColourMode, 1);
    CGraphGridDlg dialog(setting, "Default", 0);
    auto* scheme = Control<QPushButton>(dialog, 3455);
    EXPECT_EQ(scheme->text(), QStringLiteral("Close/Close"));
    for (int answer : {int(QDialog::Rejected), int(QDialog::Accepted)}) {
        GraphSetting before = dialog.Working();
        DialogAnswers answers([&](QDialog& d) {
            EXPECT_EQ(d.objectName(), QStringLiteral("808"));
            EXPECT_FALSE(Control<QWidget>(d, 3438)->isVisibleTo(&d)); // mode 1 shows three places
            Control<QRadioButton>(d, 3434)->click();                // Swing
            EXPECT_TRUE(Control<QWidget>(d, 3439)->isVisibleTo(&d));
            EXPECT_EQ(Control<QLabel>(d, 3443)->text(), QStringLiteral("Inside day"));
            Control<QPushButton>(d, 18127)->click();
            EXPECT_EQ(U8(dialog.Working(), kPriceColourMode), 6);
            if (answer == QDialog::Rejected) {
                SaveRender(RenderWidget(d), "bar_colour_swing");
                Control<QRadioButton>(d, 3433)->click();
                SaveRender(RenderWidget(d), "bar_colour_graduated");
            }
            d.done(answer);
            return answer;
        });
        scheme->click();
        if (answer == QDialog::Rejected) {
            EXPECT_TRUE(SameBytes(before, dialog.Working()));
            EXPECT_EQ(scheme->text(), QStringLiteral("Close/Close"));
        } else {
            EXPECT_EQ(U8(dialog.Working(), kPriceColourMode), 6);
            EXPECT_EQ(PriceColour(dialog.Working(), 0) >> 28, 1u); // two pixels wide
            EXPECT_EQ(scheme->text(), QStringLiteral("Swing"));
        }
    }
}

TEST(GraphDesignBoxCharts, ChoosingADisplayTicksGridWyckoffSetsTheReversalAndCaptionsFollow)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    CGraphGridDlg dialog(setting, "Default", 0);
    Control<QRadioButton>(dialog, 3723)->click(); // point and figure
    EXPECT_TRUE(Control<QCheckBox>(dialog, 3951)->isChecked());
    Control<QCheckBox>(dialog, 3742)->click(); // Wyckoff
    EXPECT_EQ(Control<QLineEdit>(dialog, 3744)->text(), QStringLiteral("1"));
    EXPECT_EQ(U8(dialog.Working(), kReversal), 1);
    Control<QRadioButton>(dialog, 3833)->click(); // % of value
    auto caption = [&](const char* name) { return dialog.findChild<QLabel*>(QString::fromLatin1(name))->text(); };
    EXPECT_EQ(caption("3743l"), QStringLiteral("% Box"));
    Control<QRadioButton>(dialog, 3724)->click(); // Kagi
    EXPECT_EQ(caption("3744l"), QStringLiteral("% Rev."));
    EXPECT_EQ(Control<QCheckBox>(dialog, 3951)->text(), QStringLiteral("Round to grid"));
    dialog.resize(760, 560);
    SaveRender(RenderWidget(dialog), "graph_design_price_kagi");
    dialog.reject();
}

TEST(GraphDesignFont, AFontChosenOnEitherTextButtonGoesToBothAndItsFaceIsCutTo31)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    CGraphGridDlg dialog(setting, "Default", 0);
    auto* title = Control<CStyleButton>(dialog, 1391);
    auto* scale = Control<CStyleButton>(dialog, 1395);
    EXPECT_EQ(title->mode(), SampleMode::Font);
    QString longFace(40, QLatin1Char('G'));
    title->SetFont(longFace, 3, 14);
    emit title->styleChosen();
    const GraphSetting& w = dialog.Working();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(w.data() + kFontFace)), std::string(31, 'G'));
    EXPECT_EQ(U8(w, kFontFlags), 3);
    EXPECT_EQ(U32(w, kTextSize), 14u);
    QString face;
    uint32_t flags = 0;
    int size = 0;
    scale->GetFont(face, flags, size);
    EXPECT_EQ(face, QString(31, QLatin1Char('G')));
    EXPECT_EQ(size, 14);
    EXPECT_EQ(U32(w, kScaleTextColour), U32(setting, kScaleTextColour));
    dialog.reject();
}

TEST(SwingDesign, CommandOpensThreePagesCancelRestoresOkWritesTheBlock)
{
    DailySetting fixture;
    GraphSetting& setting = fixture.record();
    InitSwingChartSettings(setting);
    SetU32(setting, kSwingFlags, 0);
    GraphSetting before = setting;
    CViewGraphEODWnd window(kViewDailyChart);
    CommandUi ui;
    ui.command = 27240;
    EXPECT_TRUE(window.UpdateCommandUi(ui) && ui.enabled);
    for (int answer : {int(QDialog::Rejected), int(QDialog::Accepted)}) {
        setting = before;
        DialogAnswers answers([&](QDialog& d) {
            EXPECT_EQ(d.objectName(), QStringLiteral("838"));
            EXPECT_FALSE(Control<QWidget>(d, 3895)->isEnabled());
            Control<QCheckBox>(d, 3894)->setChecked(true);  // show
            Control<QCheckBox>(d, 3895)->setChecked(true);  // swing line
            EXPECT_TRUE(Control<QWidget>(d, 3892)->isEnabled());
            EXPECT_FALSE(Control<QWidget>(d, 3897)->isEnabled());
            Control<QCheckBox>(d, 3898)->setChecked(true);  // Rivalland
            EXPECT_FALSE(Control<QWidget>(d, 3903)->isEnabled());
            EXPECT_FALSE(Control<QWidget>(d, 3886)->isEnabled());
            Control<QCheckBox>(d, 3900)->setChecked(true);  // relaxed
            Control<QRadioButton>(d, 3886)->click();        // 3 days
            Control<QPushButton>(d, 18127)->click();
            EXPECT_EQ(U32(setting, kSwingDays), 2u);
            EXPECT_TRUE(Control<QWidget>(d, 3945)->isHidden());
            if (answer == QDialog::Rejected) {
                auto* tabs = Control<QTabWidget>(d, 3940);
                d.resize(620, 520);
                for (int i = 0; i < tabs->count(); ++i) {
                    tabs->setCurrentIndex(i);
                    SaveRender(RenderWidget(d), QStringLiteral("swing_design_page%1").arg(i));
                }
            }
            d.done(answer);
            return answer;
        });
        EXPECT_EQ(window.onProgramMessage(WM_COMMAND, 27240, 0), 1);
        if (answer == QDialog::Rejected) {
            EXPECT_TRUE(SameBytes(before, setting));
            EXPECT_EQ(CSwingDesignDlg::LastPage(), 2);
        } else {
            EXPECT_EQ(U32(setting, kSwingFlags), uint32_t(swingdesign::kShow | swingdesign::kSwingLine |
                                                           swingdesign::kRivalland | swingdesign::kRelaxed));
            EXPECT_EQ(std::memcmp(setting.data(), before.data(), kSwing), 0);
            EXPECT_EQ(std::memcmp(setting.data() + kSwing + kSwingSize, before.data() + kSwing + kSwingSize,
                                  GraphSetting::kSize - kSwing - kSwingSize), 0);
        }
    }
}

TEST(SwingDesign, AnOverrideListOfAnyLengthIsStoredWholeOnOkAndDefaultRefillsTheBlock)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    SetU32(setting, kSwingFlags, 0);
    std::vector<uint8_t> list(8 * 250, 0);
    for (size_t i = 0; i < 250; ++i)
        StoreU16(list.data() + 8 * i, uint16_t(1000 + i));
    std::vector<uint8_t> stored;
    int stores = 0;
    CSwingDesignDlg dialog(setting, list, [&](const std::vector<uint8_t>& entries) {
        stored = entries;
        ++stores;
    }, 0);
    Control<QPushButton>(dialog, 3)->click();
    EXPECT_TRUE(Control<QCheckBox>(dialog, 3895)->isChecked()); // the defaults draw the swing line
    dialog.accept();
    EXPECT_EQ(stores, 1);
    EXPECT_EQ(stored, list);
    GraphSetting defaults = setting;
    InitSwingChartSettings(defaults);
    EXPECT_TRUE(SameBytes(defaults, setting));

    CSwingDesignDlg cancelled(setting, list, [&](const std::vector<uint8_t>&) { ++stores; }, 0);
    cancelled.reject();
    EXPECT_EQ(stores, 1);
}

TEST(DialogPlacement, BesideTheButtonAndInsideTheScreen)
{
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget host;
    host.setGeometry(area);
    auto* button = new QPushButton(QStringLiteral("Box Size"), &host);
    host.show();
    QDialog dialog;
    dialog.resize(200, 150);
    struct Case {
        QPoint at;
        bool toTheRight;
    } cases[] = {{QPoint(10, 10), true}, {QPoint(area.width() - 110, 10), false}};
    for (const Case& c : cases) {
        button->setGeometry(QRect(c.at, QSize(100, 24)));
        PlaceBesideButton(dialog, *button);
        QRect b(button->mapToGlobal(QPoint(0, 0)), button->size());
        EXPECT_EQ(dialog.x() > b.left(), c.toTheRight) << c.at.x();
        EXPECT_TRUE(area.contains(QRect(dialog.pos(), dialog.size()))) << c.at.x();
    }
    button->setGeometry(QRect(QPoint(10, area.height() - 30), QSize(100, 24)));
    PlaceBesideButton(dialog, *button);
    EXPECT_LE(dialog.y() + dialog.height(), area.bottom() + 1);
}

TEST(LegendDesignFromLegend, AnIntradayLegendOpensTheIntradayVariantOnTheIntradayRecord)
{
    DailySetting fixture;
    dev::SyntheticChart<CViewGraphWnd> chart(100);
    CGraphLegend& legend = GraphLegendWindow();
    LegendSource source;
    source.intraday = true;
    source.setting = &fixture.record();
    legend.Bind(&chart, &source);
    LegendItemRecord& intraday = ProgramLegendItems(true);
    const LegendItemRecord saved = intraday;
    const LegendSettings savedSettings = ProgramLegendSettings();
    QString title;
    bool swingShown = true, fifthShown = false;
    DialogAnswers answers([&](QDialog& d) {
        title = d.windowTitle();
        swingShown = !Control<QWidget>(d, 3599)->isHidden();
        fifthShown = !Control<QWidget>(d, 3526)->isHidden();
        Control<QPushButton>(d, 3558)->click(); // the intraday values default
        d.accept();
        return int(QDialog::Accepted);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), legend.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&legend, &event);
    EXPECT_EQ(title, QStringLiteral("Intraday graph legend design"));
    EXPECT_FALSE(swingShown);
    EXPECT_TRUE(fifthShown);
    EXPECT_EQ(intraday.word0, legenddesign::kValuesDefaultIntraday);
    intraday = saved;
    ProgramLegendSettings() = savedSettings;
    Registry::Instance().remove("Settings", "LegendStyle");
    legend.Hide();
}
