// Tests of the option holders' places in "Quorva.cfg", their defaults, the comms settings and the
// options sheet's rules.
#include "tools/options/OptionSettings.h"

#include "chartmodel/ChartCopy.h"
#include "chartmodel/MovAvgLines.h"
#include "chartmodel/ViewGraph.h"
#include "core/ConfigFile.h"
#include "core/ConfigFamilies.h"
#include "core/FormatNumber.h"
#include "core/DMFilter.h"
#include "core/ShareStatistics.h"
#include "core/StatisticsPeriod.h"
#include "core/VexaEdition.h"
#include "core/ViewSettings.h"
#include "devtools/lib/TempFolder.h"
#include "lists/ListOptions.h"
#include "lists/ListViewOptions.h"
#include "news/NewsRecords.h"
#include "platform/Paths.h"
#include "portfolio/AlarmPortfolios.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/TransactionRecording.h"
#include "shell/FrameSwitches.h"
#include "shell/PortfolioAdd.h"
#include "support/FakeMessageBox.h"
#include "support/PrivateRegistry.h"
#include "tools/CompanyCalendar.h"
#include "tools/options/OptionRules.h"
#include "views/ViewBase.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

struct InFolder {
    InFolder()
    {
        SetProgramFolder(dir.path());
        Config() = ConfigState{};
        ResetOptionHolders();
    }
    ~InFolder()
    {
        SetProgramFolder(previous);
        Config() = ConfigState{};
        ResetOptionHolders();
    }
    fs::path previous = qv::ProgramFolder();
    dev::TempFolder dir;
};

// Every holder the pages edit set away from its default.
void ChangeEveryHolder()
{
    CurrentListOptions().staleDays = 321;
    CurrentListOptions().showOldShares = true;
    CurrentListOptions().trustsAreShares = true;
    CurrentListViewOptions().doubleClickOpens = false;
    CurrentListViewOptions().loopViews = false;
    CurrentListViewOptions().frozenColumns = 7;
    CurrentListViewOptions().doubleBuffering = false;
    ListTipOption = 0;
    ListScaleButton() = 2;
    MicrographSettings() = {true, true, -900};
    ChartOptions().epicInTitle = true;
    ChartOptions().crossHairPen = 0x123456;
    ChartOptions().verticalLineOnly = 1;
    ChartOptions().hundreds = 1;
    CopyOptions() = {0, 1234, 567, 0};
    ProgramSwitches().calculatorMode = 0xC5;
    GetExchangeRates() = {1.5f, 1.25f, 2.5f, 3.5f};
    StatisticsPeriod = {2, 90};
    PriceFileSettings().exportSeparator = ';';
    PriceFileSettings().importFormat = 0x0A;
    PriceFileSettings().importNoCommaDecimal = false;
    TransactionDialogDefaults().expenses = kShowExpenses;
    IncludeAttachedCashOption() = false;
    AddToPortfolioConfirmOption = 0x4000 | 4000;
    AlarmPortfolioSettings() = {false, true, true};
    GetAlarmPortfolioHooks().range = {2, 999};
    GetAlarmPortfolioHooks().globalCriteria = {{1, 3, 255}, {0, 4, 10}, {1, 10, 20}, {1, 1, 1}, {0, 0, 0}, {1, 99, 7}};
    GetHighLowOption() = {3, 500, PackDate(1, 2, 2020), PackDate(3, 4, 2021)};
    MovAvgAdvancedChosen() = true;
    RememberedOptionsPage() = 5;
    SetEditionOptionByte(kEditionOn | kEditionSetUp);
    CalendarBoxesTicked() = 0x05;
}

} // namespace

TEST(OptionSettings, EverySettingSurvivesASaveAndAReloadOfTheConfigurationFile)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    ChangeEveryHolder();
    ASSERT_EQ(SaveConfig(kWholeConfig), SaveResult::Saved);
    ResetOptionHolders();
    Config() = ConfigState{};
    ASSERT_EQ(LoadConfig(kWholeConfig, false), 0);

    EXPECT_EQ(CurrentListOptions().staleDays, 321);
    EXPECT_TRUE(CurrentListOptions().showOldShares);
    EXPECT_TRUE(CurrentListOptions().trustsAreShares);
    EXPECT_FALSE(CurrentListViewOptions().doubleClickOpens);
    EXPECT_FALSE(CurrentListViewOptions().loopViews);
    EXPECT_EQ(CurrentListViewOptions().frozenColumns, 7);
    EXPECT_FALSE(CurrentListViewOptions().doubleBuffering);
    EXPECT_EQ(ListTipOption, 0);
    EXPECT_EQ(ListScaleButton(), 2);
    EXPECT_EQ(MicrographSettings(), (MicrographOptions{true, true, -900}));
    EXPECT_TRUE(ChartOptions().epicInTitle);
    EXPECT_EQ(ChartOptions().crossHairPen, 0x123456u);
    EXPECT_EQ(ChartOptions().verticalLineOnly, 1);
    EXPECT_EQ(ChartOptions().hundreds, 1);
    EXPECT_EQ(CopyOptions().useWindowSize, 0);
    EXPECT_EQ(CopyOptions().width, 1234);
    EXPECT_EQ(CopyOptions().height, 567);
    EXPECT_EQ(CopyOptions().bitmapFirst, 0);
    EXPECT_EQ(ProgramSwitches().calculatorMode, 0xC5);
    EXPECT_EQ(GetExchangeRates().euro, 1.5f);
    EXPECT_EQ(GetExchangeRates().fourth, 3.5f);
    EXPECT_EQ(StatisticsPeriod.unit, 2);
    EXPECT_EQ(StatisticsPeriod.count, 90);
    EXPECT_EQ(PriceFileSettings().exportSeparator, ';');
    EXPECT_EQ(PriceFileSettings().importFormat, 0x0A);
    EXPECT_FALSE(PriceFileSettings().importNoCommaDecimal);
    EXPECT_EQ(TransactionDialogDefaults().expenses, kShowExpenses);
    EXPECT_FALSE(IncludeAttachedCashOption());
    EXPECT_EQ(AddToPortfolioConfirmOption, 0x4000u | 4000u);
    EXPECT_EQ(AlarmPortfolioSettings(), (AlarmPortfolioOptions{false, true, true}));
    EXPECT_EQ(GetAlarmPortfolioHooks().range.mode, 2);
    EXPECT_EQ(GetAlarmPortfolioHooks().range.days, 999);
    const std::vector<MoveCriterion>& rows = GetAlarmPortfolioHooks().globalCriteria;
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].threshold, 255.0f);
    EXPECT_EQ(rows[5].kind, 99);
    EXPECT_EQ(rows[5].threshold, 7.0f);
    EXPECT_EQ(rows[1].enabled, 0);
    EXPECT_EQ(GetHighLowOption().mode, 3);
    EXPECT_EQ(GetHighLowOption().days, 500);
    EXPECT_EQ(GetHighLowOption().secondDate, PackDate(3, 4, 2021));
    EXPECT_TRUE(MovAvgAdvancedChosen());
    EXPECT_EQ(RememberedOptionsPage(), 5);
    EXPECT_EQ(EditionOptionByte(), kEditionOn | kEditionSetUp);
    EXPECT_EQ(CalendarBoxesTicked(), 0x05);
    EXPECT_TRUE(boxes.shown().empty());
    SetEditionOptionByte(0);
    CalendarBoxesTicked() = kAllCalendarBoxes;
}

TEST(OptionSettings, AFileWithoutTheCalendarWordKeepsEveryCalendarBoxTicked)
{
    ConfigState state;
    CalendarBoxesTicked() = 0x01;
    StoreOptionHolders(state);
    StoreU16(state.optionsA.data() + 708, 0);
    LoadOptionHolders(state);
    EXPECT_EQ(CalendarBoxesTicked(), kAllCalendarBoxes);
}

TEST(OptionSettings, InvertedClipboardFlagsAreStoredAsZeroForBitmapAndWindowSize)
{
    ConfigState state;
    struct Case {
        uint8_t bitmapFirst, useWindowSize, stored;
    };
    for (const Case& c : {Case{1, 1, 0}, Case{0, 1, 1}, Case{1, 0, 2}, Case{0, 0, 3}}) {
        CopyOptions() = {c.useWindowSize, 600, 400, c.bitmapFirst};
        StoreOptionHolders(state);
        EXPECT_EQ(state.optionsA.data()[OptionBlockA::kClipboardFlags], c.stored);
        CopyOptions() = ClipboardCopyOptions{};
        LoadOptionHolders(state);
        EXPECT_EQ(CopyOptions().bitmapFirst, c.bitmapFirst);
        EXPECT_EQ(CopyOptions().useWindowSize, c.useWindowSize);
    }
    ResetOptionHolders();
}

TEST(OptionSettings, AnOlderFileWithoutThePlacesTakesTheDefaultsAndTheFourRates)
{
    InFolder folder;
    ChangeEveryHolder();
    ConfigState older; // every place 0, no stamp
    LoadOptionHolders(older);
    EXPECT_EQ(CurrentListOptions().staleDays, 30);
    EXPECT_EQ(CopyOptions().width, 600);
    EXPECT_EQ(older.optionsA.data()[OptionBlockA::kOptionsStamp], 1);
    EXPECT_EQ(GetExchangeRates().euro, 0.0f);
    ApplyOldOptionDefaults();
    EXPECT_EQ(GetExchangeRates().euro, 1.44f);
    EXPECT_EQ(GetExchangeRates().usDollar, 1.75f);
    EXPECT_EQ(GetExchangeRates().third, 2.23f);
    EXPECT_EQ(GetExchangeRates().fourth, 2.1f);
    EXPECT_EQ(ListScaleDivisor(), 111);
    // Rates the user set are kept; the stored list scale is applied.
    GetExchangeRates() = {1.1f, 1.2f, 0, 0};
    ListScaleButton() = 0;
    ApplyOldOptionDefaults();
    EXPECT_EQ(GetExchangeRates().euro, 1.1f);
    EXPECT_EQ(ListScaleDivisor(), 125);
    ApplyListScaleOption(0);
}

TEST(OptionSettings, CommsSettingsRoundTripThroughTheRegistryWithThePasswordScrambled)
{
    test::PrivateRegistry registry;
    EXPECT_EQ(LoadCommsSettings(), CommsSettings{});
    CommsSettings s;
    s.method = 1;
    s.port = 2;
    s.speed = 3;
    s.phone = "01632 960 124";
    s.address = "update.quorvantis.example";
    s.account = "ABC1234";
    s.password = "secret99";
    s.noUpdateAlert = true;
    s.dialCommand = "ATDP";
    s.dialTimeout = 900;
    s.dialUpEnabled = true;
    s.dialUpUser = "me";
    s.dialUpPassword = "pw";
    SaveCommsSettings(s);
    EXPECT_EQ(LoadCommsSettings(), s);
    const auto stored = Registry::Instance().getBinary("Comms", "Code");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), s.password.size());
    EXPECT_NE(std::string(stored->begin(), stored->end()), s.password);
    // The account stays where the program password's unlock reads it.
    EXPECT_EQ(Registry::Instance().getString("Comms", "Account"), "ABC1234");
}

TEST(OptionRules, PagesFollowTheTableOrderAndTheMask)
{
    using P = OptionPage;
    struct Case {
        uint16_t mask;
        bool realTime, edition;
        std::vector<P> pages;
    };
    const std::vector<Case> cases = {
        {0xFFFF, false, false,
         {P::List, P::Graph, P::News, P::Portfolio, P::PresetPortfolios, P::Export, P::Import, P::Currency, P::Comms,
          P::General, P::Clipboard}},
        {0x0880, false, false, {P::Comms}},
        {0x0880, true, false, {P::Comms, P::RTComms}},
        {0x8000, false, false, {}},
        {0x0010, false, false, {}},
        {0x0010, false, true, {P::Vexa}},
        {0xFFFF, true, true,
         {P::List, P::Graph, P::News, P::Portfolio, P::PresetPortfolios, P::Export, P::Import, P::Vexa, P::Currency,
          P::RTHist, P::RTAlarms, P::Comms, P::RTComms, P::ExchTimes, P::General, P::Clipboard}},
        {0x4200, false, false, {P::General, P::Clipboard}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OptionPagesFor(c.mask, c.realTime, c.edition), c.pages) << std::hex << c.mask;
}

TEST(OptionRules, OnlySheetsOfThreePagesOrMoreUseAndChangeTheRememberedPage)
{
    EXPECT_EQ(OpeningPageIndex(1, 4), 0);
    EXPECT_EQ(RememberedPageAfter(1, 0, 4), 4);
    EXPECT_EQ(OpeningPageIndex(2, 1), 0);
    EXPECT_EQ(RememberedPageAfter(2, 1, 4), 4);
    EXPECT_EQ(OpeningPageIndex(11, 4), 4);
    EXPECT_EQ(OpeningPageIndex(3, 7), 0); // a page the sheet does not have
    EXPECT_EQ(RememberedPageAfter(11, 9, 4), 9);
}

TEST(OptionRules, SampleDatesFollowTheFormat)
{
    struct Case {
        uint8_t format;
        char separator;
        const char* text;
    };
    for (const Case& c : {Case{0x00, '/', "25th May 2000: 250500"}, Case{0x10, '/', "25th May 2000: 25/05/00"},
                          Case{0x18, '-', "25th May 2000: 25-05-2000"}, Case{0x11, '/', "25th May 2000: 05/25/00"},
                          Case{0x1A, '.', "25th May 2000: 2000.05.25"}, Case{0xF8, '/', "25th May 2000: 25/05/2000"}})
        EXPECT_EQ(SampleDateText(c.format, c.separator), c.text) << int(c.format);
}

TEST(OptionRules, SeparatorsAndTheWarningWord)
{
    EXPECT_EQ(ChosenSeparator(0, ""), '\t');
    EXPECT_EQ(ChosenSeparator(1, "x"), ',');
    EXPECT_EQ(ChosenSeparator(2, ";"), ';');
    EXPECT_EQ(ChosenSeparator(2, ""), std::nullopt);
    EXPECT_EQ(SeparatorButton('\t'), 0);
    EXPECT_EQ(SeparatorButton(';'), 2);
    EXPECT_EQ(PackWarningWord(2, 4000), 0x4000u | 4000u);
    EXPECT_EQ(PackWarningWord(1, 12), 0x8000u | 12u);
    EXPECT_EQ(PackWarningWord(0, 12), 12u);
    EXPECT_EQ(WarningButton(0x4000 | 4000), 2);
    EXPECT_EQ(WarningValue(0x4000 | 4000), 4000);
    EXPECT_EQ(MergeBits(0xFF, 0x00, kGeneralPageBits), 0x70);
    EXPECT_EQ(MergeBits(0x0F, 0x00, kOldUpdateProtocolBit), 0x0F);
    EXPECT_EQ(MergeBits(0x0F, 0x40, kOldUpdateProtocolBit), 0x4F);
}

TEST(OptionRules, NewsPageKeepsTheBitsItDoesNotEdit)
{
    NewsHeader header(std::vector<uint8_t>(132, 0));
    header.setU32(news_header::kOptions, 0x00100400u | 0x55u); // bits 10 and 20, method 5, purge 5
    NewsPageValues v = ReadNewsPage(header);
    EXPECT_EQ(v.method, 2);
    EXPECT_EQ(v.purge, 2);
    v = {1, 0, 2, true, true, true, true, PackDate(1, 3, 2020), 12, 0.25};
    WriteNewsPage(header, v);
    EXPECT_EQ(header.u32(news_header::kOptions), 0x00100400u | 1u | (2u << 22) | (1u << 8) | (1u << 13) | (1u << 14) | (1u << 19));
    EXPECT_EQ(header.u16(news_header::kOptionValue), 25);
    EXPECT_EQ(ReadNewsPage(header), v);
    EXPECT_EQ(NewsSpaceText(3 * 1048576 / 2), "1.50 Mb");
    EXPECT_STREQ(PurgeLabels(1)[1], "and remind if more than");
    EXPECT_STREQ(PurgeLabels(2)[0], "Automatically purge news");
}

TEST(OptionRules, TheTwoMostRecentGraphSettingsStayChosen)
{
    EditionChoice c;
    ChooseEditionGraph(c, 3);
    ChooseEditionGraph(c, 5);
    EXPECT_EQ(c.graphs, (std::array<uint8_t, 2>{3, 5}));
    ChooseEditionGraph(c, 7);
    EXPECT_EQ(c.graphs, (std::array<uint8_t, 2>{5, 7}));
    ClearEditionGraph(c, 5);
    EXPECT_EQ(c.graphs, (std::array<uint8_t, 2>{7, kNoSlot}));
}

TEST(OptionRules, AnEditionChoiceAppliesOnlyWhenSomethingChanged)
{
    const uint8_t edition = EditionOptionByte();
    EditionChoice before = StoredEditionChoice();
    EXPECT_FALSE(ApplyEditionChoice(before, before));
    EditionChoice after = before;
    after.table = 4;
    after.graphs = {1, 2};
    EXPECT_TRUE(ApplyEditionChoice(before, after));
    EXPECT_EQ(StoredEditionChoice(), after);
    EXPECT_TRUE(ApplyEditionChoice(after, before));
    SetEditionOptionByte(edition);
}

TEST(OptionRules, TheWizardsFinishMarksTheSetUpCompletedEvenForTheStoredChoice)
{
    const uint8_t edition = EditionOptionByte();
    SetEditionOptionByte(0);
    EditionChoice on = StoredEditionChoice();
    on.enabled = true;
    FinishEditionSetUp(on);
    EXPECT_EQ(EditionOptionByte(), kEditionOn | kEditionSetUp);
    EditionChoice off = on;
    off.enabled = false;
    EXPECT_TRUE(ApplyEditionChoice(on, off));
    SetEditionOptionByte(0);
    FinishEditionSetUp(StoredEditionChoice());
    EXPECT_EQ(EditionOptionByte(), kEditionSetUp) << "nothing changed, yet the set-up is done";
    SetEditionOptionByte(edition);
}

TEST(OptionRules, ACurrencyPageUpdatesTheRecordsOnlyWhenARateChanged)
{
    GetExchangeRates() = {1.44f, 1.75f, 2.23f, 2.1f};
    EXPECT_FALSE(ApplyCurrencyPage(1.44f, 1.75f, true));
    EXPECT_TRUE(CurrentFormatOptions().plainEuroSign);
    EXPECT_TRUE(ApplyCurrencyPage(1.5f, 1.75f, false));
    EXPECT_EQ(GetExchangeRates().euro, 1.5f);
    EXPECT_EQ(GetExchangeRates().third, 2.23f);
    EXPECT_FALSE(CurrentFormatOptions().plainEuroSign);
    GetExchangeRates() = ExchangeRates{};
}
