// Tests of the options sheet and its pages, driven by control id, with every page and both small
// dialogs rendered to build/renders/.
#include "tools/options/ui/OptionsSheet.h"

#include "chartmodel/ChartCopy.h"
#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/VexaEdition.h"
#include "core/ShareStatistics.h"
#include "lists/ListOptions.h"
#include "lists/ListViewOptions.h"
#include "shell/FrameSwitches.h"
#include "portfolio/TransactionRecording.h"
#include "shell/FrameDialogSeams.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/ModalDialog.h"
#include "support/FakeMessageBox.h"
#include "support/PrivateRegistry.h"
#include "support/ui/ControlById.h"
#include "support/ui/Render.h"
#include "tools/options/OptionSettings.h"
#include "tools/options/ui/OptionPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace qv;
using qv::test::Control;

namespace {

struct SheetFixture : ::testing::Test {
    void SetUp() override
    {
        ResetOptionHolders();
        realTime = Config().optionsA.data()[OptionBlockA::kRealTimeOption];
        Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 0;
    }
    void TearDown() override
    {
        Config().optionsA.data()[OptionBlockA::kRealTimeOption] = realTime;
        ResetOptionHolders();
        SetModalDialogRunner({});
    }
    template <class T = QWidget>
    T* Find(QWidget& w, const char* name)
    {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    uint8_t realTime = 0;
    test::FakeMessageBox boxes;
    test::PrivateRegistry registry;
};

std::vector<QString> Tabs(const COptions& sheet)
{
    std::vector<QString> out;
    for (int i = 0; i < sheet.tabs()->count(); ++i)
        out.push_back(sheet.tabs()->tabText(i));
    return out;
}

} // namespace

TEST_F(SheetFixture, TheWholeSheetShowsTheNonIntradayPagesInOrder)
{
    COptions sheet(0xFFFF);
    EXPECT_EQ(Tabs(sheet), (std::vector<QString>{"Lists", "Graph", "News", "Portfolios && Transactions", "Pre-set Portfolios",
                                                 "Export", "Import", "Currency", "Communications", "General", "Clipboard"}));
    COptions comms(0x0880);
    EXPECT_EQ(Tabs(comms), std::vector<QString>{"Communications"});
    COptions hours(0x8000);
    EXPECT_EQ(hours.DoModal(), QDialog::Rejected); // no page to show
}

TEST_F(SheetFixture, AOnePageSheetNeitherUsesNorChangesTheRememberedPage)
{
    RememberedOptionsPage() = 4;
    {
        COptions one(0x0020);
        EXPECT_EQ(one.tabs()->currentIndex(), 0);
        one.reject();
    }
    EXPECT_EQ(RememberedOptionsPage(), 4);
    {
        COptions all(0xFFFF);
        EXPECT_EQ(all.tabs()->currentIndex(), 4);
        all.tabs()->setCurrentIndex(6);
        all.reject();
    }
    EXPECT_EQ(RememberedOptionsPage(), 6);
}

TEST_F(SheetFixture, RefusedValuesKeepTheSheetOpenOnTheirPage)
{
    struct Case {
        uint16_t mask;
        const char* page;
        std::function<void(COptions&)> enter;
    };
    auto type = [](const char* id, const char* text) {
        return [id, text](COptions& sheet) { sheet.findChild<QLineEdit*>(QString::fromLatin1(id))->setText(QString::fromLatin1(text)); };
    };
    auto fixed = [](const char* text) {
        return [text](COptions& sheet) {
            sheet.findChild<QRadioButton*>(QStringLiteral("2322"))->setChecked(true);
            sheet.findChild<QLineEdit*>(QStringLiteral("3156"))->setText(QString::fromLatin1(text));
        };
    };
    const std::vector<Case> cases = {
        {0xFFFF, "Clipboard", fixed("99")},
        {0xFFFF, "Clipboard", fixed("5001")},
        {0xFFFF, "Lists", type("2170", "9")},
        {0x0880, "Communications", type("1416", "ABCDEFGH")},
        {0x0880, "Communications", type("1249", "1234567890")},
        {0x0004, "Portfolios && Transactions",
         [](COptions& sheet) {
             sheet.findChild<QRadioButton*>(QStringLiteral("warning2"))->click();
             sheet.findChild<QLineEdit*>(QStringLiteral("warningValue"))->setText(QStringLiteral("4001"));
         }},
        {0x0002, "Pre-set Portfolios",
         [](COptions& sheet) {
             sheet.findChild<QRadioButton*>(QStringLiteral("highLowMethod1"))->click();
             sheet.findChild<QLineEdit*>(QStringLiteral("highLowDays"))->setText(QStringLiteral("1000"));
         }},
    };
    for (const Case& c : cases) {
        const ClipboardCopyOptions copy = CopyOptions();
        COptions sheet(c.mask);
        sheet.tabs()->setCurrentIndex(0);
        c.enter(sheet);
        const size_t before = boxes.shown().size();
        sheet.accept();
        EXPECT_NE(sheet.result(), QDialog::Accepted) << c.page;
        EXPECT_EQ(sheet.tabs()->tabText(sheet.tabs()->currentIndex()), QString::fromLatin1(c.page));
        EXPECT_EQ(boxes.shown().size(), before + 1) << c.page;
        // Nothing was written back, from this page or any other.
        EXPECT_EQ(CopyOptions().width, copy.width);
        EXPECT_EQ(CurrentListOptions().staleDays, 30);
    }
}

TEST_F(SheetFixture, OkWritesThePagesBackAndCancelChangesNothing)
{
    auto edit = [](COptions& sheet) {
        sheet.findChild<QCheckBox*>(QStringLiteral("3067"))->setChecked(false);
        sheet.findChild<QCheckBox*>(QStringLiteral("4028"))->setChecked(false);
        sheet.findChild<QLineEdit*>(QStringLiteral("1537"))->setText(QStringLiteral("3"));
        sheet.findChild<QRadioButton*>(QStringLiteral("3155"))->setChecked(true);
        sheet.findChild<QRadioButton*>(QStringLiteral("2322"))->setChecked(true);
        sheet.findChild<QLineEdit*>(QStringLiteral("3156"))->setText(QStringLiteral("5000"));
        sheet.findChild<QCheckBox*>(QStringLiteral("2323"))->setChecked(true);
        sheet.findChild<QRadioButton*>(QStringLiteral("warning2"))->click();
        sheet.findChild<QLineEdit*>(QStringLiteral("warningValue"))->setText(QStringLiteral("4000"));
        sheet.findChild<QLineEdit*>(QStringLiteral("1416"))->setText(QStringLiteral("ABC1234"));
        sheet.findChild<QCheckBox*>(QStringLiteral("3461"))->setChecked(true);
    };
    ProgramSwitches().calculatorMode = 0x01;
    {
        COptions sheet(0xFFFF);
        edit(sheet);
        sheet.reject();
    }
    EXPECT_TRUE(CurrentListViewOptions().loopViews);
    EXPECT_EQ(CopyOptions().useWindowSize, 1);
    EXPECT_EQ(CopyOptions().bitmapFirst, 1);
    EXPECT_EQ(ProgramSwitches().calculatorMode, 0x01);
    EXPECT_EQ(LoadCommsSettings().account, "");
    {
        COptions sheet(0xFFFF);
        edit(sheet);
        sheet.accept();
        EXPECT_EQ(sheet.result(), QDialog::Accepted);
    }
    EXPECT_FALSE(CurrentListViewOptions().loopViews);
    EXPECT_EQ(CurrentListViewOptions().frozenColumns, 3);
    EXPECT_EQ(CopyOptions().bitmapFirst, 0);
    EXPECT_EQ(CopyOptions().useWindowSize, 0);
    EXPECT_EQ(CopyOptions().width, 5000);
    // The General page's bits and the Communications page's bit 6 share the byte.
    EXPECT_EQ(ProgramSwitches().calculatorMode, 0x01 | 0x04 | 0x40);
    EXPECT_EQ(AddToPortfolioConfirmOption, 0x4000u | 4000u);
    EXPECT_EQ(LoadCommsSettings().account, "ABC1234");
}

TEST_F(SheetFixture, EmptyDelimitersKeepTheOldSeparatorsAndSayWhy)
{
    PriceFileSettings().exportSeparator = ';';
    COptions sheet(0x0020);
    Find<QRadioButton>(sheet, "field2")->click();
    Find<QLineEdit>(sheet, "other")->clear();
    Find<QCheckBox>(sheet, "useDateSeparator")->setChecked(true);
    Find<QLineEdit>(sheet, "dateSeparator")->clear();
    Find<QRadioButton>(sheet, "order2")->click();
    EXPECT_EQ(Find<QLabel>(sheet, "sample")->text(), QStringLiteral("25th May 2000: 2000/05/25"));
    sheet.accept();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"No export delimiter chosen.  It is unchanged",
                                                       "No date delimiter chosen.  It is unchanged"}));
    EXPECT_EQ(PriceFileSettings().exportSeparator, ';');
    EXPECT_EQ(PriceFileSettings().exportFormat & 0x1B, 0x1A);
}

TEST_F(SheetFixture, TheCurrencyPageUpdatesTheRecordsOnlyForAChangedRate)
{
    GetExchangeRates() = {1.4449f, 1.75f, 2.23f, 2.1f};
    {
        COptions sheet(0x0400);
        sheet.accept();
    }
    EXPECT_EQ(GetExchangeRates().euro, 1.4449f); // shown as 1.44, left alone
    {
        COptions sheet(0x0400);
        Find<QWidget>(sheet, "2472")->findChild<QLineEdit*>()->setText(QStringLiteral("1.80"));
        sheet.accept();
    }
    EXPECT_EQ(GetExchangeRates().usDollar, 1.8f);
    EXPECT_EQ(GetExchangeRates().euro, 1.4449f);
}

TEST_F(SheetFixture, TheModemDialogRefusesALongTimeOutAndRestoresItsDefaults)
{
    CommsSettings settings;
    settings.dialCommand = "ATDP";
    CModemAdvancedDlg dialog(settings, nullptr);
    Find<QLineEdit>(dialog, "timeout")->setText(QStringLiteral("901"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(boxes.shown().size(), 1u);
    Find<QPushButton>(dialog, "3")->click();
    EXPECT_EQ(Find<QLineEdit>(dialog, "dial")->text(), QStringLiteral("ATDT"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.dialTimeout, 120);
    EXPECT_EQ(settings.dialCommand, "ATDT");
}

TEST_F(SheetFixture, TheWindowsModemMethodHasNoModemAndTheDefaultsAreThePlaceholders)
{
    COptions sheet(0x0080);
    auto* method = Control<QComboBox>(sheet, 1412);
    EXPECT_EQ(method->count(), 3);
    EXPECT_EQ(Control<QComboBox>(sheet, 1273)->count(), 0);
    method->setCurrentIndex(2);
    Control<QPushButton>(sheet, 1279)->click();
    EXPECT_EQ(Control<QLineEdit>(sheet, 1271)->text(), QStringLiteral("update.quorvantis.example"));
    method->setCurrentIndex(0);
    Control<QPushButton>(sheet, 1279)->click();
    EXPECT_EQ(Control<QLineEdit>(sheet, 1271)->text(), QStringLiteral("01632 960 124"));
    Control<QPushButton>(sheet, 1417)->click();
    EXPECT_EQ(boxes.texts().back(), "No modem is installed.");
}

TEST_F(SheetFixture, EveryPageAndBothDialogsRender)
{
    if (!test::FontsAvailable())
        GTEST_SKIP() << "no fonts";
    COptions sheet(0xFFFF);
    sheet.resize(620, 640);
    for (int i = 0; i < sheet.tabs()->count(); ++i) {
        sheet.tabs()->setCurrentIndex(i);
        QString name = sheet.tabs()->tabText(i).replace(QStringLiteral("&&"), QStringLiteral("and")).replace(' ', '-');
        test::SaveRender(test::RenderWidget(sheet), QStringLiteral("options-%1").arg(name));
    }
    CommsSettings settings;
    CModemAdvancedDlg modem(settings, nullptr);
    test::SaveRender(test::RenderWidget(modem), QStringLiteral("options-modem-advanced"));
    CDialUpSettingsDlg dialUp(settings, nullptr);
    test::SaveRender(test::RenderWidget(dialUp), QStringLiteral("options-dial-up"));
}

TEST_F(SheetFixture, WithoutTheRealTimeOptionTheIntradayControlsAreHiddenAndKept)
{
    MicrographSettings() = {true, true, 123}; // no item carries 123 seconds
    {
        COptions sheet(0x0009);
        sheet.show();
        EXPECT_FALSE(Control<QCheckBox>(sheet, 3061)->isVisibleTo(&sheet));
        EXPECT_FALSE(Control<QComboBox>(sheet, 3099)->isVisibleTo(&sheet));
        EXPECT_EQ(Control<QComboBox>(sheet, 3099)->currentText(), QStringLiteral("  0 mins"));
        sheet.tabs()->setCurrentIndex(1);
        EXPECT_FALSE(Control<QCheckBox>(sheet, 18130)->isVisibleTo(&sheet));
        EXPECT_TRUE(Control<QCheckBox>(sheet, 18128)->isVisibleTo(&sheet));
        sheet.reject();
    }
    EXPECT_EQ(MicrographSettings(), (MicrographOptions{true, true, 123}));
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 1;
    COptions sheet(0x0001);
    sheet.show();
    EXPECT_TRUE(Control<QCheckBox>(sheet, 3061)->isVisibleTo(&sheet));
}

TEST_F(SheetFixture, TheSpecialEditionPageAppliesAChangedChoiceOnceAndNothingOtherwise)
{
    const uint8_t edition = EditionOptionByte();
    const EditionChoice stored = StoredEditionChoice();
    SetEditionOptionByte(kEditionSetUp);
    const int applied = COptionVexa::AppliedCount();
    {
        COptions sheet(0x0010);
        ASSERT_EQ(Tabs(sheet), std::vector<QString>{"Ludrin Ossery"});
        auto* graphs = Find<QListWidget>(sheet, "graphs");
        for (int row : {1, 2, 3})
            graphs->item(row)->setSelected(true);
        EXPECT_FALSE(graphs->item(1)->isSelected()); // the earliest of three is dropped
        EXPECT_TRUE(graphs->item(2)->isSelected());
        sheet.accept();
    }
    EXPECT_EQ(COptionVexa::AppliedCount(), applied + 1);
    EXPECT_EQ(StoredEditionChoice().graphs, (std::array<uint8_t, 2>{2, 3}));
    {
        COptions sheet(0x0010);
        sheet.accept();
    }
    EXPECT_EQ(COptionVexa::AppliedCount(), applied + 1);
    ApplyEditionChoice(StoredEditionChoice(), stored);
    SetEditionOptionByte(edition);
}

TEST_F(SheetFixture, OnlyAChangedHighLowSettingRebuildsNewHighsAndLows)
{
    struct Case {
        const char* what;
        std::function<void(COptions&)> change;
        int rebuilds;
    };
    const std::vector<Case> cases = {
        {"nothing", [](COptions&) {}, 0},
        {"the alarm check-back",
         [](COptions& sheet) {
             sheet.findChild<QRadioButton*>(QStringLiteral("alarmMethod1"))->click();
             sheet.findChild<QLineEdit*>(QStringLiteral("alarmDays"))->setText(QStringLiteral("7"));
         }, 0},
        {"intermediate rises", [](COptions& sheet) { sheet.findChild<QCheckBox*>(QStringLiteral("rises"))->click(); }, 0},
        {"the high/low method",
         [](COptions& sheet) {
             sheet.findChild<QRadioButton*>(QStringLiteral("highLowMethod1"))->click();
             sheet.findChild<QLineEdit*>(QStringLiteral("highLowDays"))->setText(QStringLiteral("5"));
         }, 1},
    };
    for (const Case& c : cases) {
        const int before = COptionPresetPorts::RebuildCount();
        const bool rises = AlarmPortfolioSettings().intermediateRises;
        COptions sheet(0x0002);
        c.change(sheet);
        sheet.accept();
        ASSERT_EQ(sheet.result(), QDialog::Accepted) << c.what;
        EXPECT_EQ(COptionPresetPorts::RebuildCount() - before, c.rebuilds) << c.what;
        if (std::string_view(c.what) == "intermediate rises")
            EXPECT_NE(AlarmPortfolioSettings().intermediateRises, rises);
    }
}

TEST_F(SheetFixture, TheNewsSizeLimitRefusesLessThanAQuarterMegabyte)
{
    // The News page's field check, on a field of its own: the test database has no news loaded.
    QLineEdit size;
    struct Case {
        const char* text;
        bool taken;
    };
    for (const Case& c : {Case{"0.2", false}, Case{"0.25", true}, Case{"600", true}, Case{"600.5", false}, Case{"x", false}}) {
        size.setText(QString::fromLatin1(c.text));
        EXPECT_EQ(CheckRealField(&size, 0.25, 600), c.taken) << c.text;
    }
    EXPECT_EQ(boxes.texts().front(), "Please enter a number between 0.25 and 600.");
}

TEST_F(SheetFixture, APortfolioWindowsSheetLeavesOutTheAddingWarningAndKeepsIt)
{
    AddToPortfolioConfirmOption = 0x4000u | 250u;
    const auto installed = FrameDialogs().optionsSheet;
    const auto installedForView = FrameDialogs().portfolioViewOptionsSheet;
    InstallOptionsSheet();
    for (const bool forView : {false, true}) {
        bool warningShown = !forView;
        SetModalDialogRunner([&](QDialog& dialog) {
            auto& sheet = static_cast<COptions&>(dialog);
            QWidget* page = sheet.tabs()->currentWidget();
            warningShown = page->findChild<QWidget*>(QStringLiteral("warning"))->isVisibleTo(page);
            sheet.findChild<QRadioButton*>(QStringLiteral("expenses1"))->click();
            sheet.accept();
            return sheet.result();
        });
        const auto& run = forView ? FrameDialogs().portfolioViewOptionsSheet : FrameDialogs().optionsSheet;
        ASSERT_TRUE(run);
        EXPECT_TRUE(run(0x0004));
        EXPECT_EQ(warningShown, !forView);
        EXPECT_EQ(TransactionDialogDefaults().expenses, kShowExpenses);
        EXPECT_EQ(AddToPortfolioConfirmOption, 0x4000u | 250u) << "the hidden group writes back what it held";
    }
    FrameDialogs().optionsSheet = installed;
    FrameDialogs().portfolioViewOptionsSheet = installedForView;
}
