// The option holders' places in the option blocks, their defaults, and the registry's comms settings.
#include "tools/options/OptionSettings.h"

#include "core/VexaEdition.h"

#include "chartmodel/ChartCopy.h"
#include "chartmodel/EodPriceEdit.h"
#include "chartmodel/EodTraining.h"
#include "chartmodel/MovAvgLines.h"
#include "chartmodel/ViewGraph.h"
#include "core/DMFilter.h"
#include "core/FormatNumber.h"
#include "core/ShareStatistics.h"
#include "core/StatisticsPeriod.h"
#include "core/VexaEdition.h"
#include "core/ViewSettings.h"
#include "lists/CellNumber.h"
#include "lists/ListOptions.h"
#include "lists/ListViewOptions.h"
#include "platform/ByteOrder.h"
#include "platform/Registry.h"
#include "portfolio/AlarmPortfolios.h"
#include "tools/alarms/ShareAlarmRecord.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/TransactionRecording.h"
#include "shell/FrameSwitches.h"
#include "shell/PortfolioAdd.h"
#include "tools/CompanyCalendar.h"
#include "views/ViewBase.h"

#include <algorithm>

namespace qv {

namespace {

using A = OptionBlockA;
constexpr uint8_t kStamp = 1;
constexpr size_t kEditionFlags = kEditionOptionPlace;
// The company calendar's ticked boxes (u16), with bit 15 set once stored: a file without it keeps
// every box ticked.
constexpr size_t kCalendarBoxesWord = 708;
constexpr uint16_t kCalendarStored = 0x8000;
static_assert(kEditionFlags >= A::kOptionsEnd && kCalendarBoxesWord + 2 <= 720, "the bytes lie in free room");
constexpr const char* kComms = "Comms";

// Bits of the Lists page's word.
enum ListBit : uint16_t {
    kShowOld = 1 << 0, kClassLetters = 1 << 1, kDoubleClick = 1 << 2, kTrustsAreShares = 1 << 3, kStepped = 1 << 4,
    kAutoResort = 1 << 5, kDoubleBuffering = 1 << 6, kLoopViews = 1 << 7, kDataTips = 1 << 8,
};
// Bits of the Graph page's word.
enum GraphBit : uint16_t {
    kAdjusted = 1 << 0, kDeflated = 1 << 1, kRelativeLine = 1 << 2, kRelativePercent = 1 << 3, kEpicTitle = 1 << 4,
    kExchangeTitle = 1 << 5, kAlarmedLines = 1 << 6, kFlickerFree = 1 << 7, kSpikes = 1 << 8, kHundreds = 1 << 9,
    kVerticalOnly = 1 << 10,
};

uint16_t Bit(bool on, uint16_t bit) { return on ? bit : 0; }

// A typed view of a block's bytes for the packing below.
struct Places {
    uint8_t* at;
    uint8_t& u8(size_t offset) { return at[offset]; }
    uint16_t u16(size_t offset) const { return LoadU16(at + offset); }
    void u16(size_t offset, uint16_t v) { StoreU16(at + offset, v); }
    uint32_t u32(size_t offset) const { return LoadU32(at + offset); }
    void u32(size_t offset, uint32_t v) { StoreU32(at + offset, v); }
    float f32(size_t offset) const { return LoadF32(at + offset); }
    void f32(size_t offset, float v) { StoreF32(at + offset, v); }
};

void StoreLists(Places p)
{
    const ListOptions& list = CurrentListOptions();
    const ListViewOptions& view = CurrentListViewOptions();
    const MicrographOptions& micro = MicrographSettings();
    p.u16(A::kListFlags, uint16_t(Bit(list.showOldShares, kShowOld) | Bit(CurrentCellSettings().showClassLetters, kClassLetters) |
                                  Bit(view.doubleClickOpens, kDoubleClick) | Bit(list.trustsAreShares, kTrustsAreShares) |
                                  Bit(micro.stepped, kStepped) | Bit(micro.autoResort, kAutoResort) |
                                  Bit(view.doubleBuffering, kDoubleBuffering) | Bit(view.loopViews, kLoopViews) |
                                  Bit(ListTipOption != 0, kDataTips)));
    p.u16(A::kStaleDays, uint16_t(std::clamp(list.staleDays, 0, 0xFFFF)));
    p.u8(A::kFrozenColumns) = uint8_t(std::clamp(view.frozenColumns, 0, 255));
    p.u8(A::kListScaleButton) = ListScaleButton();
    p.u16(A::kMicrographStart, uint16_t(micro.startOffset));
    p.u8(A::kListPrinting) = view.printFontSize;
    p.u8(A::kListPrinting + 1) = uint8_t((view.dataMiningOwnPrintPage ? 1 : 0) | (view.dataMiningPrintRows ? 2 : 0));
    p.u8(A::kListRowFlags) = uint8_t((list.ranking ? 1 : 0) | (list.perListSettings ? 2 : 0) | (list.perListCurrentRow ? 4 : 0));
}

void LoadLists(Places p)
{
    ListOptions& list = CurrentListOptions();
    ListViewOptions& view = CurrentListViewOptions();
    MicrographOptions& micro = MicrographSettings();
    const uint16_t flags = p.u16(A::kListFlags);
    list.showOldShares = flags & kShowOld;
    CurrentCellSettings().showClassLetters = flags & kClassLetters;
    view.doubleClickOpens = flags & kDoubleClick;
    list.trustsAreShares = flags & kTrustsAreShares;
    micro.stepped = flags & kStepped;
    micro.autoResort = flags & kAutoResort;
    view.doubleBuffering = flags & kDoubleBuffering;
    view.loopViews = flags & kLoopViews;
    ListTipOption = (flags & kDataTips) ? 1 : 0;
    list.staleDays = p.u16(A::kStaleDays);
    view.frozenColumns = p.u8(A::kFrozenColumns);
    ListScaleButton() = std::min<uint8_t>(p.u8(A::kListScaleButton), 2);
    micro.startOffset = int16_t(p.u16(A::kMicrographStart));
    view.printFontSize = p.u8(A::kListPrinting);
    view.dataMiningOwnPrintPage = p.u8(A::kListPrinting + 1) & 1;
    view.dataMiningPrintRows = p.u8(A::kListPrinting + 1) & 2;
    list.ranking = p.u8(A::kListRowFlags) & 1;
    list.perListSettings = p.u8(A::kListRowFlags) & 2;
    list.perListCurrentRow = p.u8(A::kListRowFlags) & 4;
}

void StoreCharts(Places p)
{
    const ChartViewOptions& c = ChartOptions();
    const ChartViewOptions& g = c;
    p.u16(A::kGraphFlags, uint16_t(Bit(g.adjustedPrices, kAdjusted) | Bit(g.deflatedLine, kDeflated) |
                                   Bit(g.relativeLine, kRelativeLine) | Bit(g.relativePercentScale, kRelativePercent) |
                                   Bit(g.epicInTitle, kEpicTitle) | Bit(g.exchangeInTitle, kExchangeTitle) |
                                   Bit(g.alarmedLineMark, kAlarmedLines) | Bit(c.flickerFree, kFlickerFree) |
                                   Bit(c.spikeRemoval, kSpikes) | Bit(c.hundreds, kHundreds) |
                                   Bit(c.verticalLineOnly, kVerticalOnly)));
    p.u32(A::kCrossHairStyle, g.crossHairPen);
    p.u32(A::kCrossHairStyle + 4, g.crossHairExtra);
    p.u8(A::kCrossHairStyle + 8) = g.crossHairStyle;
    p.u8(A::kChartZoom) = uint8_t(std::clamp(c.zoomPercent, 0, 255));
    p.u8(A::kChartZoom + 1) = c.crossHairs;
    const ClipboardCopyOptions& copy = CopyOptions();
    p.u8(A::kClipboardFlags) = uint8_t((copy.bitmapFirst ? 0 : 1) | (copy.useWindowSize ? 0 : 2));
    p.u16(A::kClipboardWidth, uint16_t(std::clamp(copy.width, 0, 0xFFFF)));
    p.u16(A::kClipboardHeight, uint16_t(std::clamp(copy.height, 0, 0xFFFF)));
    p.u8(A::kProgramNotes) = uint8_t((MovAvgAdvancedChosen() ? 1 : 0) | (PriceEditInfoSuppressed() ? 2 : 0) |
                                     (TrainingInfoSuppressed() ? 4 : 0));
}

void LoadCharts(Places p)
{
    ChartViewOptions& c = ChartOptions();
    ChartViewOptions& g = c;
    const uint16_t flags = p.u16(A::kGraphFlags);
    g.adjustedPrices = flags & kAdjusted;
    g.deflatedLine = flags & kDeflated;
    g.relativeLine = flags & kRelativeLine;
    g.relativePercentScale = flags & kRelativePercent;
    g.epicInTitle = flags & kEpicTitle;
    g.exchangeInTitle = flags & kExchangeTitle;
    g.alarmedLineMark = flags & kAlarmedLines;
    c.flickerFree = (flags & kFlickerFree) ? 1 : 0;
    c.spikeRemoval = (flags & kSpikes) ? 1 : 0;
    c.hundreds = (flags & kHundreds) ? 1 : 0;
    c.verticalLineOnly = (flags & kVerticalOnly) ? 1 : 0;
    g.crossHairPen = p.u32(A::kCrossHairStyle);
    g.crossHairExtra = p.u32(A::kCrossHairStyle + 4);
    g.crossHairStyle = p.u8(A::kCrossHairStyle + 8);
    c.zoomPercent = p.u8(A::kChartZoom);
    c.crossHairs = p.u8(A::kChartZoom + 1);
    ClipboardCopyOptions& copy = CopyOptions();
    copy.bitmapFirst = (p.u8(A::kClipboardFlags) & 1) ? 0 : 1;
    copy.useWindowSize = (p.u8(A::kClipboardFlags) & 2) ? 0 : 1;
    copy.width = p.u16(A::kClipboardWidth);
    copy.height = p.u16(A::kClipboardHeight);
    MovAvgAdvancedChosen() = p.u8(A::kProgramNotes) & 1;
    PriceEditInfoSuppressed() = p.u8(A::kProgramNotes) & 2;
    TrainingInfoSuppressed() = p.u8(A::kProgramNotes) & 4;
}

void StoreGeneral(Places p)
{
    const FrameSwitches& s = ProgramSwitches();
    p.u8(A::kCalculatorByte) = s.calculatorMode;
    p.u8(A::kSwitches) = s.notesVisible;
    p.u8(A::kSwitches + 1) = s.slideLoop;
    p.u32(A::kSwitches + 2, uint32_t(s.slideDelayTenths));
    p.u8(A::kCurrencyFlags) = CurrentFormatOptions().plainEuroSign ? 1 : 0;
    const ExchangeRates& r = GetExchangeRates();
    p.f32(A::kExchangeRates, r.euro);
    p.f32(A::kExchangeRates + 4, r.usDollar);
    p.f32(A::kExchangeRates + 8, r.third);
    p.f32(A::kExchangeRates + 12, r.fourth);
    p.u16(A::kStatisticsPeriod, StatisticsPeriod.unit);
    p.u16(A::kStatisticsPeriod + 2, StatisticsPeriod.count);
    p.u8(kEditionFlags) = EditionOptionByte();
    p.u16(kCalendarBoxesWord, uint16_t(kCalendarStored | CalendarBoxesTicked()));
}

void LoadGeneral(Places p)
{
    FrameSwitches& s = ProgramSwitches();
    s.calculatorMode = p.u8(A::kCalculatorByte);
    s.notesVisible = p.u8(A::kSwitches);
    s.slideLoop = p.u8(A::kSwitches + 1);
    s.slideDelayTenths = int32_t(p.u32(A::kSwitches + 2));
    CurrentFormatOptions().plainEuroSign = p.u8(A::kCurrencyFlags) & 1;
    GetExchangeRates() = {p.f32(A::kExchangeRates), p.f32(A::kExchangeRates + 4), p.f32(A::kExchangeRates + 8),
                          p.f32(A::kExchangeRates + 12)};
    StatisticsPeriod.unit = p.u16(A::kStatisticsPeriod);
    StatisticsPeriod.count = p.u16(A::kStatisticsPeriod + 2);
    SetEditionOptionByte(p.u8(kEditionFlags));
    const uint16_t calendar = p.u16(kCalendarBoxesWord);
    CalendarBoxesTicked() = (calendar & kCalendarStored) ? uint16_t(calendar & kAllCalendarBoxes) : kAllCalendarBoxes;
}

void StoreFilesAndPortfolios(Places p)
{
    const PriceFileOptions& f = PriceFileSettings();
    p.u8(A::kExportFormat) = f.exportFormat;
    p.u8(A::kExportFormat + 1) = f.exportFormat2;
    p.u8(A::kExportFormat + 2) = uint8_t(f.exportSeparator);
    p.u8(A::kExportFormat + 3) = uint8_t(f.exportDateSeparator);
    p.u8(A::kImportFormat) = f.importFormat;
    p.u8(A::kImportFormat + 1) = uint8_t(f.importSeparator);
    p.u8(A::kImportFormat + 2) = uint8_t(f.importDateSeparator);
    p.u8(A::kImportFormat + 3) = uint8_t((f.importDateSeparatorUsed ? 1 : 0) | (f.importReplaceDates ? 2 : 0) |
                                         (f.importFileNameForShare ? 4 : 0) | (f.importNoCommaDecimal ? 8 : 0));
    p.u8(A::kImportFormat + 4) = f.importErrorLevel;
    p.u8(A::kImportFormat + 5) = f.importOverwrite;
    p.u8(A::kPortfolioExpenses) = TransactionDialogDefaults().expenses;
    p.u8(A::kIncludeCash) = IncludeAttachedCashOption() ? 1 : 0;
    p.u32(A::kPortfolioWarning, AddToPortfolioConfirmOption);
    const AlarmPortfolioOptions& a = AlarmPortfolioSettings();
    p.u8(A::kAlarmFlags) = uint8_t((a.showAlarmList ? 1 : 0) | (a.goToAlarms ? 2 : 0) | (a.intermediateRises ? 4 : 0));
    const AlarmDayRange& range = GetAlarmPortfolioHooks().range;
    p.u8(A::kAlarmCheckBack) = range.mode;
    p.u16(A::kAlarmCheckBack + 1, range.days);
    StoreGlobalAlarmRows(GetAlarmPortfolioHooks().globalCriteria,
                         std::span<uint8_t, kGlobalAlarmRowsSize>(p.at + A::kGlobalAlarmRows, kGlobalAlarmRowsSize));
    const HighLowOption& h = GetHighLowOption();
    p.u8(A::kHighLowMethod) = h.mode;
    p.u16(A::kHighLowMethod + 2, h.days);
    p.u16(A::kHighLowMethod + 4, h.firstDate);
    p.u16(A::kHighLowMethod + 6, h.secondDate);
}

void LoadFilesAndPortfolios(Places p)
{
    PriceFileOptions& f = PriceFileSettings();
    f.exportFormat = p.u8(A::kExportFormat);
    f.exportFormat2 = p.u8(A::kExportFormat + 1);
    f.exportSeparator = char(p.u8(A::kExportFormat + 2));
    f.exportDateSeparator = char(p.u8(A::kExportFormat + 3));
    f.importFormat = p.u8(A::kImportFormat);
    f.importSeparator = char(p.u8(A::kImportFormat + 1));
    f.importDateSeparator = char(p.u8(A::kImportFormat + 2));
    const uint8_t importFlags = p.u8(A::kImportFormat + 3);
    f.importDateSeparatorUsed = importFlags & 1;
    f.importReplaceDates = importFlags & 2;
    f.importFileNameForShare = importFlags & 4;
    f.importNoCommaDecimal = importFlags & 8;
    f.importErrorLevel = std::min<uint8_t>(p.u8(A::kImportFormat + 4), 2);
    f.importOverwrite = std::min<uint8_t>(p.u8(A::kImportFormat + 5), 1);
    TransactionDialogDefaults().expenses = ExpensesOption(std::min<uint8_t>(p.u8(A::kPortfolioExpenses), 2));
    IncludeAttachedCashOption() = p.u8(A::kIncludeCash) != 0;
    AddToPortfolioConfirmOption = p.u32(A::kPortfolioWarning);
    AlarmPortfolioOptions& a = AlarmPortfolioSettings();
    a.showAlarmList = p.u8(A::kAlarmFlags) & 1;
    a.goToAlarms = p.u8(A::kAlarmFlags) & 2;
    a.intermediateRises = p.u8(A::kAlarmFlags) & 4;
    AlarmDayRange& range = GetAlarmPortfolioHooks().range;
    range.mode = std::min<uint8_t>(p.u8(A::kAlarmCheckBack), 2);
    range.days = p.u16(A::kAlarmCheckBack + 1);
    GetAlarmPortfolioHooks().globalCriteria =
        GlobalAlarmRows(std::span<const uint8_t, kGlobalAlarmRowsSize>(p.at + A::kGlobalAlarmRows, kGlobalAlarmRowsSize));
    HighLowOption& h = GetHighLowOption();
    h.mode = std::min<uint8_t>(p.u8(A::kHighLowMethod), 3);
    h.days = p.u16(A::kHighLowMethod + 2);
    h.firstDate = p.u16(A::kHighLowMethod + 4);
    h.secondDate = p.u16(A::kHighLowMethod + 6);
}

bool ReadFlag(const Registry& registry, const char* name, bool fallback)
{
    return registry.getU32(kComms, name).value_or(fallback ? 1 : 0) != 0;
}

std::string ReadText(const Registry& registry, const char* name, const std::string& fallback)
{
    return registry.getString(kComms, name).value_or(fallback);
}

// The password's bytes are turned by a running key, so no stored byte shows the text.
uint8_t PasswordKey(size_t i) { return uint8_t(0xA5 + 7 * i); }

} // namespace

PriceFileOptions& PriceFileSettings()
{
    static PriceFileOptions options;
    return options;
}

AlarmPortfolioOptions& AlarmPortfolioSettings()
{
    static AlarmPortfolioOptions options;
    return options;
}

uint8_t& RememberedOptionsPage()
{
    static uint8_t page = 0;
    return page;
}

uint8_t& ListScaleButton()
{
    static uint8_t button = 1;
    return button;
}

MicrographOptions& MicrographSettings()
{
    static MicrographOptions options;
    return options;
}

void StoreOptionHolders(ConfigState& state)
{
    Places p{state.optionsA.data()};
    p.u8(A::kOptionsStamp) = kStamp;
    p.u8(A::kSheetPage) = RememberedOptionsPage();
    StoreLists(p);
    StoreCharts(p);
    StoreGeneral(p);
    StoreFilesAndPortfolios(p);
}

void LoadOptionHolders(ConfigState& state)
{
    Places p{state.optionsA.data()};
    if (p.u8(A::kOptionsStamp) != kStamp) {
        ResetOptionHolders();
        StoreOptionHolders(state);
        return;
    }
    RememberedOptionsPage() = p.u8(A::kSheetPage);
    LoadLists(p);
    LoadCharts(p);
    LoadGeneral(p);
    LoadFilesAndPortfolios(p);
}

void ResetOptionHolders()
{
    CurrentListOptions() = ListOptions{};
    CurrentListViewOptions() = ListViewOptions{};
    CurrentCellSettings().showClassLetters = false;
    ListTipOption = 1;
    MicrographSettings() = MicrographOptions{};
    ListScaleButton() = 1;
    // The legend's state is the registry's, not the options'.
    ChartViewOptions& chart = ChartOptions();
    const ChartViewOptions legend = chart;
    chart = ChartViewOptions{};
    chart.legendOnFirstPaint = legend.legendOnFirstPaint;
    chart.legendShown = legend.legendShown;
    CopyOptions() = ClipboardCopyOptions{};
    MovAvgAdvancedChosen() = false;
    PriceEditInfoSuppressed() = false;
    TrainingInfoSuppressed() = false;
    FrameSwitches& switches = ProgramSwitches();
    const FrameSwitches fresh;
    switches.calculatorMode = fresh.calculatorMode;
    switches.notesVisible = fresh.notesVisible;
    switches.slideLoop = fresh.slideLoop;
    switches.slideDelayTenths = fresh.slideDelayTenths;
    CurrentFormatOptions().plainEuroSign = false;
    GetExchangeRates() = ExchangeRates{};
    StatisticsPeriod = {1, 260};
    PriceFileSettings() = PriceFileOptions{};
    TransactionDialogDefaults().expenses = kShowAllExpenses;
    IncludeAttachedCashOption() = true;
    AddToPortfolioConfirmOption = 0;
    AlarmPortfolioSettings() = AlarmPortfolioOptions{};
    GetAlarmPortfolioHooks().range = {1, 1};
    GetAlarmPortfolioHooks().globalCriteria = DefaultGlobalAlarmRows();
    // New highs and lows since the previous update, until the user chooses otherwise.
    GetHighLowOption() = HighLowOption{2, 0, 0, 0};
    RememberedOptionsPage() = 0;
    SetEditionOptionByte(0);
    CalendarBoxesTicked() = kAllCalendarBoxes;
}

void SetOptionBlockDefaults(ConfigState& state)
{
    ResetOptionHolders();
    StoreOptionHolders(state);
}

void ApplyOldOptionDefaults()
{
    ExchangeRates& rates = GetExchangeRates();
    if (rates.euro == 0.0f)
        rates = {1.44f, 1.75f, 2.23f, 2.1f};
    ApplyListScaleOption(kListScaleButtonFirst + ListScaleButton());
}

CommsSettings LoadCommsSettings()
{
    const Registry& r = Registry::Instance();
    const CommsSettings d;
    CommsSettings s;
    s.method = uint8_t(std::min<uint32_t>(r.getU32(kComms, "Method").value_or(d.method), 2));
    s.modem = int32_t(r.getU32(kComms, "Modem").value_or(0));
    s.port = int32_t(std::min<uint32_t>(r.getU32(kComms, "Port").value_or(0), 3));
    s.speed = int32_t(std::min<uint32_t>(r.getU32(kComms, "Speed").value_or(uint32_t(d.speed)), 6));
    s.address = ReadText(r, "Address", "");
    s.alternativeAddress = ReadText(r, "Address2", "");
    s.phone = ReadText(r, "Phone", "");
    s.alternativePhone = ReadText(r, "Phone2", "");
    s.account = ReadText(r, "Account", "");
    const auto stored = r.getBinary(kComms, "Code");
    s.password = stored ? UnscrambleCommsPassword(std::string(stored->begin(), stored->end())) : std::string();
    s.winsock2 = ReadFlag(r, "Winsock2", d.winsock2);
    s.noUpdateAlert = ReadFlag(r, "NoUpdateAlert", d.noUpdateAlert);
    s.dialCommand = ReadText(r, "DialCommand", d.dialCommand);
    s.initString = ReadText(r, "InitString", d.initString);
    s.dialTimeout = int32_t(std::min<uint32_t>(r.getU32(kComms, "DialTimeout").value_or(uint32_t(d.dialTimeout)),
                                               uint32_t(kDialTimeoutMax)));
    s.dialUpEnabled = ReadFlag(r, "DialUp", d.dialUpEnabled);
    s.useExistingConnection = ReadFlag(r, "UseExisting", d.useExistingConnection);
    s.dialUpUser = ReadText(r, "DialUpUser", "");
    const auto dialUpCode = r.getBinary(kComms, "DialUpCode");
    s.dialUpPassword = dialUpCode ? UnscrambleCommsPassword(std::string(dialUpCode->begin(), dialUpCode->end())) : "";
    s.modemName = ReadText(r, "ModemName", "");
    return s;
}

void SaveCommsSettings(const CommsSettings& s)
{
    Registry& r = Registry::Instance();
    r.setU32(kComms, "Method", s.method);
    r.setU32(kComms, "Modem", uint32_t(s.modem));
    r.setU32(kComms, "Port", uint32_t(s.port));
    r.setU32(kComms, "Speed", uint32_t(s.speed));
    r.setString(kComms, "Address", s.address);
    r.setString(kComms, "Address2", s.alternativeAddress);
    r.setString(kComms, "Phone", s.phone);
    r.setString(kComms, "Phone2", s.alternativePhone);
    r.setString(kComms, "Account", s.account);
    const std::string code = ScrambleCommsPassword(s.password);
    r.setBinary(kComms, "Code", std::vector<uint8_t>(code.begin(), code.end()));
    r.setU32(kComms, "Winsock2", s.winsock2 ? 1 : 0);
    r.setU32(kComms, "NoUpdateAlert", s.noUpdateAlert ? 1 : 0);
    r.setString(kComms, "DialCommand", s.dialCommand);
    r.setString(kComms, "InitString", s.initString);
    r.setU32(kComms, "DialTimeout", uint32_t(s.dialTimeout));
    r.setU32(kComms, "DialUp", s.dialUpEnabled ? 1 : 0);
    r.setU32(kComms, "UseExisting", s.useExistingConnection ? 1 : 0);
    r.setString(kComms, "DialUpUser", s.dialUpUser);
    const std::string dialUpCode = ScrambleCommsPassword(s.dialUpPassword);
    r.setBinary(kComms, "DialUpCode", std::vector<uint8_t>(dialUpCode.begin(), dialUpCode.end()));
    r.setString(kComms, "ModemName", s.modemName);
}

std::string ScrambleCommsPassword(const std::string& plain)
{
    std::string out = plain;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = char(uint8_t(out[i]) ^ PasswordKey(i));
    return out;
}

std::string UnscrambleCommsPassword(const std::string& stored) { return ScrambleCommsPassword(stored); }

} // namespace qv
