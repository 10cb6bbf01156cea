// The daily chart's added-graph commands.
#include "chartmodel/AddedGraphCommands.h"

#include "chartmodel/AddedGraphSet.h"
#include "chartmodel/ViewGraph.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "lists/ListPortfolioAdd.h"
#include "lists/SyntheticRecords.h"
#include "portfolio/HoldingsPass.h"
#include "shell/FrameDialogSeams.h"
#include "views/CommandUpdate.h"

namespace qv {
namespace {

constexpr uint32_t kGraphKindProfit = 8;
constexpr const char* kRemoveTexts[kAddedGraphEntries] = {"Remove &1st: ", "Remove &2nd: ", "Remove &3rd: ",
                                                          "Remove &4th: "};

bool IsRemoveCommand(uint32_t c) { return c >= kCmdRemoveFirstGraph && c < kCmdRemoveFirstGraph + kAddedGraphEntries; }

} // namespace

bool AddedGraphCommands::Locked() const
{
    return view_.ComputeSettingsLocked() || view_.graphSourceKind == kGraphKindProfit;
}

uint32_t AddedGraphCommands::Background() const { return view_.backgroundColour; }

void AddedGraphCommands::Changed()
{
    view_.NotifyGraphSettings(0);
    view_.InvalidateWindow();
}

bool AddedGraphCommands::FileChosenItem(int entry)
{
    const auto& choose = AddedGraphDialogSeams().chooseShare;
    ShareList* list = view_.GetActiveShareList();
    std::optional<RecordCursor> chosen = choose ? choose(view_.GetSourceTitle(false), list) : std::nullopt;
    if (!chosen || !chosen->record)
        return false;
    return SetAddedGraphEntry(*view_.ActiveSetting(), RecordId(chosen->record), chosen->count, entry, Background());
}

bool AddedGraphCommands::AddPortfolioGraph()
{
    const auto& choose = FrameDialogs().portfolioChooser;
    bool deleteFlag = false;
    Portfolio* portfolio = choose ? choose(2, deleteFlag) : nullptr;
    PortfolioHistoryInput input;
    if (!portfolio || !PortfolioHistoryInputOf(*portfolio, IncludeAttachedCashOption(), input))
        return false;
    input.title = "Portfolio: " + input.title;
    uint8_t* record = nullptr;
    if (BuildPortfolioHistoryRecord(record, input, false) != 0) {
        ProFree(record);
        return false;
    }
    const uint32_t handle = KeepOwnRecord(record);
    GraphSetting& setting = *view_.ActiveSetting();
    if (SetAddedGraphEntry(setting, kAddedOwnRecord, handle, AddedGraphTarget(setting), Background()))
        return true;
    FreeOwnRecord(handle);
    return false;
}

bool AddedGraphCommands::Run(uint32_t command)
{
    GraphSetting& setting = *view_.ActiveSetting();
    bool changed = false;
    if (command == kCmdChartAddToPortfolio || command == kCmdChartAddToChosenPortfolio) {
        if (RunAddCommand(command == kCmdChartAddToPortfolio ? kCmdAddShareToCurrent : kCmdAddShareToChosen,
                          view_.GetActiveShareList()))
            view_.InvalidateWindow();
        return true;
    }
    switch (command) {
    case kCmdAddGraphItem: changed = FileChosenItem(AddedGraphTarget(setting)); break;
    case kCmdAddSectorIndex: changed = ToggleAddedGraph(setting, kAddedShareIndex, Background()); break;
    case kCmdAddFtse100: changed = ToggleAddedGraph(setting, kAddedFtse100, Background()); break;
    case kCmdAddPortfolioGraph: changed = AddPortfolioGraph(); break;
    case kCmdRelativeFtse100: changed = ToggleRelativeGraph(setting, kAddedFtse100, Background()); break;
    case kCmdRelativeSectorIndex: changed = ToggleRelativeGraph(setting, kAddedShareIndex, Background()); break;
    case kCmdRelativeItem:
        changed = ReadAddedGraph(setting, kRelativeEntry).id == 0 ? FileChosenItem(kRelativeEntry)
                                                                  : RemoveAddedGraph(setting, kRelativeEntry);
        break;
    case kCmdRemoveAllGraphs:
        for (int k = 0; k < kAddedGraphEntries; ++k)
            changed |= RemoveAddedGraph(setting, k);
        break;
    default:
        if (!IsRemoveCommand(command))
            return false;
        changed = RemoveAddedGraph(setting, int(command - kCmdRemoveFirstGraph));
        break;
    }
    if (changed)
        Changed();
    return true;
}

bool AddedGraphCommands::Update(CommandUi& ui) const
{
    const GraphSetting& setting = *view_.ActiveSetting();
    const uint32_t c = ui.command;
    const bool open = !Locked();
    const bool share = view_.graphSourceKind == 0;
    const bool anyFree = FirstFreeAddedGraph(setting) >= 0;
    const uint16_t relative = ReadAddedGraph(setting, kRelativeEntry).id;
    auto toggle = [&](uint16_t id) {
        const bool present = FindAddedGraph(setting, id) >= 0;
        ui.enabled = open && (present || anyFree);
        ui.checked = present;
    };
    const int rows = ShareListCount(view_.GetActiveShareList());
    switch (c) {
    case kCmdAddGraphItem: ui.enabled = open; return true;
    case kCmdAddSectorIndex:
        toggle(kAddedShareIndex);
        ui.enabled = ui.enabled && share;
        return true;
    case kCmdAddFtse100: toggle(kAddedFtse100); return true;
    // The choosers stay greyed until the portfolio views install them.
    case kCmdAddPortfolioGraph:
        ui.enabled = open && PortfolioChain() != nullptr && FrameDialogs().portfolioChooser != nullptr;
        return true;
    case kCmdRelativeFtse100:
        ui.enabled = open;
        ui.checked = relative == kAddedFtse100;
        return true;
    case kCmdRelativeSectorIndex:
        ui.enabled = open && share;
        ui.checked = relative == kAddedShareIndex;
        return true;
    case kCmdRelativeItem:
        ui.enabled = open;
        ui.checked = relative != 0 && relative != kAddedFtse100 && relative != kAddedShareIndex;
        return true;
    case kCmdRemoveAllGraphs:
        ui.enabled = false;
        for (int k = 0; k < kAddedGraphEntries; ++k)
            ui.enabled = ui.enabled || (open && ReadAddedGraph(setting, k).id != 0);
        return true;
    case kCmdChartAddToPortfolio: {
        const CurrentPortfolioView current = GetCurrentPortfolioView();
        ui.enabled = AddCommandEnabled(kCmdAddShareToCurrent, rows, current);
        if (current.exists && current.portfolio)
            ui.text = "Add to &portfolio " + std::string(current.portfolio->name.str());
        return true;
    }
    case kCmdChartAddToChosenPortfolio: ui.enabled = rows > 0 && PortfolioChooserInstalled(); return true;
    default: break;
    }
    if (!IsRemoveCommand(c))
        return false;
    const int entry = int(c - kCmdRemoveFirstGraph);
    ui.enabled = open && ReadAddedGraph(setting, entry).id != 0;
    if (!graphs_.slot(entry).name.empty())
        ui.text = kRemoveTexts[entry] + graphs_.slot(entry).name;
    return true;
}

} // namespace qv
