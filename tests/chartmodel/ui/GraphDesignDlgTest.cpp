// The graph design dialog driven by control id: Cancel leaves the setting untouched after any edits
// and Previews, the box-value and reversal checks, the defaults, and a render of every page.
#include "chartmodel/ui/GraphDesignDlg.h"

#include "chartmodel/DialogPages.h"
#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "chartmodel/ui/ViewGraphWindow.h"
#include "core/ConfigState.h"
#include "devtools/lib/SyntheticChart.h"
#include "platform/Registry.h"
#include "resources/MessageIds.h"
#include "views/CommandUpdate.h"
#include "views/ViewKinds.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "shell/ui/ModalDialog.h"
#include "support/ui/ControlById.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <cstring>

using namespace qv;
using namespace qv::graphsetting;
using qv::test::Control;
using qv::test::RenderWidget;
using qv::test::SaveRender;

namespace {

// Records the texts of the message boxes the dialog raises.
struct MessageRecorder {
    QStringList texts;
    MessageRecorder()
    {
        SetModalDialogRunner([this](QDialog& d) {
            if (auto* box = qobject_cast<QMessageBox*>(&d))
                texts << box->text();
            return int(QDialog::Rejected);
        });
    }
    ~MessageRecorder() { SetModalDialogRunner(nullptr); }
};

void Leave(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    emit edit->editingFinished();
}

struct Fixture {
    GraphSetting setting{};
    GraphSetting viewCopy{};
    Fixture()
    {
        InitGraphSetting(setting, false);
        viewCopy = setting;
    }
};

} // namespace

TEST(GraphDesignDlg, CancelAfterEditsAndPreviewsLeavesTheSettingByteIdentical)
{
    Fixture f;
    GraphSetting before = f.setting;
    int redraws = 0;
    {
        CGraphGridDlg dialog(f.viewCopy, "Default", 0);
        dialog.SetRedraw([&] { ++redraws; });
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Graph design - Default (Setting 1)"));
        CGraphGridDlg plain(f.viewCopy, "Setting 3", 2);
        EXPECT_EQ(plain.windowTitle(), QStringLiteral("Graph design - Setting 3")) << "the default name once";
        Control<QRadioButton>(dialog, 3722)->click();   // candlestick
        Control<QCheckBox>(dialog, 2176)->click();
        Control<QSlider>(dialog, 1012)->setValue(4);
        dialog.Preview();
        EXPECT_EQ(U8(f.viewCopy, kPriceDisplay), 4);
        EXPECT_EQ(U8(f.viewCopy, kWhiteSpace), 4);
        Control<QPushButton>(dialog, 2426)->click();
        Control<QPushButton>(dialog, 18127)->click();
        EXPECT_EQ(redraws, 2);
        dialog.reject();
    }
    EXPECT_EQ(std::memcmp(before.data(), f.setting.data(), GraphSetting::kSize), 0);
}

TEST(GraphDesignDlg, OkWritesEveryChangeIntoTheViewCopyAndNothingElse)
{
    Fixture f;
    CGraphGridDlg dialog(f.viewCopy, "Default", 2);
    Control<QRadioButton>(dialog, 3719)->click();   // OHLC
    Control<QCheckBox>(dialog, 3344)->click();
    Control<QCheckBox>(dialog, 2793)->click();
    dialog.accept();
    GraphSetting expected = f.setting;
    SetU8(expected, kPriceDisplay, 1);
    SetU16(expected, kWatermarks, uint16_t(U16(f.setting, kWatermarks) ^ 1));
    SetU16(expected, kDisplayFlags, (U16(f.setting, kDisplayFlags) & 16) ? 0 : 16);
    SetU16(expected, kScaleFlags, uint16_t(U16(f.setting, kScaleFlags) & ~8u));
    for (size_t i = 0; i < GraphSetting::kSize; ++i)
        EXPECT_EQ(f.viewCopy.bytes[i], expected.bytes[i]) << "offset " << i;
}

TEST(GraphDesignDlg, BoxValueAndReversalChecks)
{
    Fixture f;
    SetU8(f.viewCopy, kPriceDisplay, 5);
    MessageRecorder messages;
    CGraphGridDlg dialog(f.viewCopy, "Default", 0);
    Control<QRadioButton>(dialog, 3833)->click();   // "% of value"
    EXPECT_EQ(Control<QRadioButton>(dialog, 3833)->text(), QStringLiteral("% of value"));
    QLineEdit* box = Control<QLineEdit>(dialog, 3743);
    Leave(box, "150");
    EXPECT_EQ(box->text(), QStringLiteral("1.00"));
    Control<QRadioButton>(dialog, 3832)->click();
    Leave(box, "150");
    EXPECT_EQ(box->text(), QStringLiteral("150.00"));
    EXPECT_EQ(U16(dialog.Working(), kBoxValue), 15000);
    QLineEdit* reversal = Control<QLineEdit>(dialog, 3744);
    Leave(reversal, "11");
    EXPECT_EQ(reversal->text(), QStringLiteral("3"));
    Leave(reversal, "7");
    EXPECT_EQ(U8(dialog.Working(), kReversal), 7);
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_EQ(messages.texts[0], QStringLiteral("Please enter a value between 0.01 and 99"));
    EXPECT_EQ(messages.texts[1], QStringLiteral("Please enter a Reversal between 1 and 10"));
}

TEST(GraphDesignDlg, CorrectionsOnOpeningAndFilledPensOnLeavingCloseLine)
{
    Fixture f;
    SetU8(f.viewCopy, kBarPeriod, 12);
    SetU8(f.viewCopy, kPriceDisplay, 0);
    SetU32(f.viewCopy, kPriceColours, 0x050000FF);
    CGraphGridDlg dialog(f.viewCopy, "Default", 0);
    EXPECT_TRUE(Control<QRadioButton>(dialog, 2378)->isChecked());
    Control<QRadioButton>(dialog, 3722)->click();
    EXPECT_EQ(PriceColour(dialog.Working(), 0), 0x000000FFu);
}

TEST(GraphDesignDlg, RendersEveryPage)
{
    Fixture f;
    CGraphGridDlg dialog(f.viewCopy, "Default", 0);
    auto* tabs = Control<QTabWidget>(dialog, 2330);
    dialog.resize(760, 560);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        SaveRender(RenderWidget(dialog), QStringLiteral("graph_design_page%1").arg(i));
    }
    dialog.reject();
    EXPECT_EQ(CGraphGridDlg::LastPage(), tabs->count() - 1);
}

TEST(GraphDesignDlg, ReopensOnThePageKeptInTheProgramSettingsAndAPageAboveFiveOnTheFirst)
{
    Fixture f;
    for (auto [stored, opened] : {std::pair{3, 3}, std::pair{9, 0}}) {
        StoreDialogPage(kGraphDesignPage, stored);
        CGraphGridDlg dialog(f.viewCopy, "Default", 0);
        EXPECT_EQ(Control<QTabWidget>(dialog, 2330)->currentIndex(), opened) << stored;
        dialog.reject();
    }
    EXPECT_EQ(Registry::Instance().getU32("Settings", kGraphDesignPage), 0u);
}

namespace {
using Chart = qv::dev::SyntheticChart<CViewGraphWnd>;

struct ChartSetting {
    GraphSetting saved = Config().dailyGraphs.records[0];
    ChartSetting() { dev::SetUpSyntheticSetting(Config().dailyGraphs.records[0]); }
    ~ChartSetting() { Config().dailyGraphs.records[0] = saved; }
};
} // namespace

TEST(GraphDesignDlg, TheViewDrawsFromItsPrivateCopyOnlyWhileTheDialogIsOpen)
{
    ChartSetting fixture;
    Chart chart(100);
    GraphSetting& setting = Config().dailyGraphs.records[0];
    for (int answer : {int(QDialog::Rejected), int(QDialog::Accepted)}) {
        GraphSetting before = setting;
        bool privateWhileOpen = false;
        SetModalDialogRunner([&](QDialog& d) {
            privateWhileOpen = chart.privateCopyOn && chart.StyleRecord() == &chart.privateCopy;
            d.findChild<QSlider*>("1012")->setValue(5);
            static_cast<CGraphGridDlg&>(d).Preview();
            return answer;
        });
        EXPECT_EQ(OpenGraphDesign(chart, "Daily 1"), answer);
        SetModalDialogRunner(nullptr);
        EXPECT_TRUE(privateWhileOpen);
        EXPECT_FALSE(chart.privateCopyOn);
        EXPECT_EQ(chart.StyleRecord(), &setting);
        if (answer == QDialog::Rejected)
            EXPECT_EQ(std::memcmp(before.data(), setting.data(), GraphSetting::kSize), 0);
        else
            EXPECT_EQ(U8(setting, kWhiteSpace), 5);
    }
}

TEST(GraphDesignDlg, BoxSizeDialogAppliesOnReleaseAndCancelRestoresTheByte)
{
    Fixture f;
    SetU8(f.viewCopy, kPriceDisplay, 7);
    SetU8(f.viewCopy, kBoxSizeSpace, 0x23);
    CGraphGridDlg dialog(f.viewCopy, "Default", 0);
    for (int answer : {int(QDialog::Rejected), int(QDialog::Accepted)}) {
        SetModalDialogRunner([&](QDialog& d) {
            d.findChild<QSlider*>("3948")->setValue(8);
            d.findChild<QSlider*>("3949")->setValue(5);
            EXPECT_EQ(U8(dialog.Working(), kBoxSizeSpace), 0x58);
            if (answer == QDialog::Rejected)
                SaveRender(RenderWidget(d), "box_size_dialog");
            d.done(answer);
            return answer;
        });
        Control<QPushButton>(dialog, 3952)->click();
        SetModalDialogRunner(nullptr);
        EXPECT_EQ(U8(dialog.Working(), kBoxSizeSpace), answer == QDialog::Accepted ? 0x58 : 0x23);
    }
}

TEST(GraphDesignDlg, GraphDesignCommandOnADailyChartOpensTheDialogForItsSetting)
{
    ChartSetting fixture;
    Config().dailyGraphs.names[0] = "Daily 1";
    CViewGraphEODWnd window(kViewDailyChart);
    CommandUi ui;
    ui.command = 25002;
    EXPECT_TRUE(window.UpdateCommandUi(ui));
    EXPECT_TRUE(ui.enabled);
    QString title;
    SetModalDialogRunner([&](QDialog& d) {
        title = d.windowTitle();
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(window.onProgramMessage(WM_COMMAND, 25002, 0), 1);
    SetModalDialogRunner(nullptr);
    Config().dailyGraphs.names[0].reset();
    EXPECT_EQ(title, QStringLiteral("Graph design - Daily 1 (Setting 1)"));
}

TEST(GraphDesignDlg, TrendAndPivotCommandsOpenTheirDialogsByTheViewFlags)
{
    ChartSetting fixture;
    CViewGraphEODWnd window(kViewDailyChart);
    QStringList opened;
    SetModalDialogRunner([&](QDialog& d) {
        opened << d.objectName();
        return int(QDialog::Rejected);
    });
    struct Case {
        uint32_t command, flags;
        const char* dialog;
        bool enabled;
        const char* text; // the item's own text when null
    } cases[] = {{20206, 0, "203", true, nullptr},
                 {20206, 1, "837", true, "Support and Resistance Lines"},
                 {20206, 3, "837", true, "Support and Resistance Lines"},
                 {20206, 2, nullptr, false, nullptr},
                 {27054, 0, "27065", true, nullptr},
                 {27078, 0, "27065", true, nullptr}};
    for (const Case& c : cases) {
        opened.clear();
        window.viewFlags = c.flags;
        EXPECT_EQ(window.onProgramMessage(WM_COMMAND, c.command, 0), 1);
        EXPECT_EQ(opened, c.dialog ? QStringList{QString::fromLatin1(c.dialog)} : QStringList{}) << c.command;
        CommandUi ui{c.command};
        ASSERT_TRUE(window.UpdateCommandUi(ui)) << c.command;
        EXPECT_EQ(ui.enabled, c.enabled) << c.command << " flags " << c.flags;
        EXPECT_EQ(ui.text, c.text ? std::optional<std::string>(c.text) : std::nullopt) << c.command << " flags " << c.flags;
    }
    SetModalDialogRunner(nullptr);
}
