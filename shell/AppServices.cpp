// The application object's small services.
#include "shell/AppServices.h"

#include "core/CashAccounts.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "portfolio/PortfolioFile.h"
#include "views/CommandUpdate.h"

#include <vector>

namespace qv {
namespace {

constexpr size_t kCodeLength = 5;
constexpr uint8_t kKeyFirst = 0x4B;
constexpr uint8_t kKeySecond = 0x21;
constexpr std::array<uint8_t, kCodeLength> kKeyOffsets{0, 0, 1, 6, 7};
constexpr const char* kFallbackCode = "4=7=1";
constexpr const char* kSaveAnalysisEntry = "QVA_SaveAnal";

DefaultPrinterSettings* g_printer = nullptr;
std::function<void()> g_aboutBox;
std::function<void()> g_tipOfTheDay;

// The command is handled only while its dialog is installed.
void Register(uint32_t command, const std::function<void()>& show)
{
    if (show)
        ApplicationCommands().Add(command, show);
    else
        ApplicationCommands().Remove(command);
}

template <typename TableFamily>
void FreeFamily(TableFamily& family)
{
    for (auto& design : family.designs) {
        design.name.reset();
        design.chain.clear();
        design.chain.shrink_to_fit();
    }
}

} // namespace

std::string ScrambleCode(std::string_view text)
{
    if (text.size() != kCodeLength)
        return kFallbackCode;
    std::string out;
    for (size_t i = 0; i < kCodeLength; ++i) {
        uint8_t key = i == 0 ? kKeyFirst : uint8_t(kKeySecond + kKeyOffsets[i]);
        uint8_t byte = uint8_t((uint8_t(text[i]) ^ key) + 1);
        if (byte == 0)
            break;
        out += char(byte);
    }
    return out;
}

void PreloadInProcServer(std::string_view) {}

std::array<PlugInSlot, kPlugInSlots>& PlugInTable()
{
    static std::array<PlugInSlot, kPlugInSlots> table;
    return table;
}

void ResetPlugInTable(bool)
{
    PlugInTable() = {};
}

void SavePlugInAnalyses()
{
    for (PlugInSlot& slot : PlugInTable()) {
        if (!slot.library)
            continue;
        if (std::function<void()> save = slot.library->Entry(kSaveAnalysisEntry))
            save();
        slot.library->Unload();
        slot.library.reset();
    }
}

void SetDefaultPrinterSettings(DefaultPrinterSettings* printer)
{
    g_printer = printer;
}

void SyncPrinterOrientation(bool readBack)
{
    if (!g_printer)
        return;
    uint8_t& landscape = Config().optionsA.bytes[OptionBlockA::kPrintLandscape];
    if (readBack) {
        // An unused layout reads back as the flag it was given; only a flag other than 0 or 1 would
        // come back changed.
        if (!g_printer->LayoutUsed() && landscape <= 1)
            return;
        if (g_printer->Exists())
            landscape = g_printer->Orientation() == DefaultPrinterSettings::kLandscape ? 1 : 0;
        return;
    }
    g_printer->SetOrientationWhenUsed(landscape == 1 ? DefaultPrinterSettings::kLandscape
                                                     : DefaultPrinterSettings::kPortrait);
}

void SetAboutBox(std::function<void()> show)
{
    g_aboutBox = std::move(show);
    Register(kCommandAbout, g_aboutBox);
}

void SetTipOfTheDay(std::function<void()> show)
{
    g_tipOfTheDay = std::move(show);
    Register(kCommandTipOfTheDay, g_tipOfTheDay);
}

void OnAppAbout()
{
    if (g_aboutBox)
        g_aboutBox();
}

void OnTipOfTheDay()
{
    if (g_tipOfTheDay)
        g_tipOfTheDay();
}

void ShowTipAtStartUp(bool splashShown, bool showOnStartUp)
{
    if (splashShown && showOnStartUp)
        OnTipOfTheDay();
}

void ResolvePortfolioShortcuts(std::array<uint32_t, 9>& shortcuts, std::span<const PortfolioLink> chain)
{
    if (chain.empty())
        return;
    const size_t last = chain.size() - 1;
    for (size_t n = 0; n < shortcuts.size(); ++n) {
        size_t at = 0;
        while (at < last && chain[at].number != shortcuts[n])
            ++at;
        if (chain[at].named)
            continue;
        // The (n + 1)th named portfolio, or the end mark when there are fewer.
        size_t counted = 0;
        for (at = 0; at < last; ++at)
            if (chain[at].named && ++counted > n)
                break;
        shortcuts[n] = chain[at].number;
    }
}

void ResolvePortfolioShortcuts(std::array<uint32_t, 9>& shortcuts)
{
    std::vector<PortfolioLink> chain;
    for (const Portfolio* p = PortfolioChain(); p; p = p->next)
        chain.push_back(PortfolioLink{p->number, !p->name.empty()});
    ResolvePortfolioShortcuts(shortcuts, chain);
}

AfterLoadSteps& AfterLoad()
{
    static AfterLoadSteps steps;
    return steps;
}

void RecalculateAfterLoad()
{
    AfterLoadSteps& steps = AfterLoad();
    for (const auto& step : {steps.portfolioSeries, steps.dataMining, steps.marketTable})
        if (step)
            step();
    if (steps.intradayLinks && steps.intradayStoreExists && steps.intradayStoreExists())
        steps.intradayLinks();
    if (steps.releaseRefreshHold)
        steps.releaseRefreshHold();
}

void FreeTables()
{
    ConfigState& config = Config();
    for (TableFamily* family : {&config.listTables, &config.tranTables, &config.dealTables, &config.cashTables,
                                &config.newsTables, &config.dataMiningTables})
        FreeFamily(*family);
    for (TradeTableEntry& entry : config.tradeTables) {
        entry.name.reset();
        entry.chain.clear();
        entry.chain.shrink_to_fit();
    }
    for (auto* names : {&config.dailyGraphs.names, &config.intradayGraphs.names, &config.dataMiningGraphs.names,
                        &config.tickers.names})
        names->fill(std::nullopt);
    FreePortfolioChain();
    FreeCashAccounts();
}

} // namespace qv
