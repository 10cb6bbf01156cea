// The daily chart's added-graph commands: adding a share or index, the sector index and the FTSE 100
// (toggles), a portfolio's value, the relative-price graph, removing graphs, and putting the shown
// share into a portfolio; with their menu states and texts.
#pragma once

#include <cstdint>

namespace qv {

class AddedGraphSet;
class CViewGraph;
struct CommandUi;

enum AddedGraphCommand : uint32_t {
    kCmdAddGraphItem = 25087,
    kCmdAddSectorIndex = 26482,
    kCmdAddFtse100 = 26011,
    kCmdAddPortfolioGraph = 26060,
    kCmdRelativeFtse100 = 26012,
    kCmdRelativeSectorIndex = 27106,
    kCmdRelativeItem = 25027,
    kCmdRemoveFirstGraph = 25081, // .. 25084
    kCmdRemoveAllGraphs = 25079,
    kCmdChartAddToPortfolio = 20803,
    kCmdChartAddToChosenPortfolio = 26548,
};

class AddedGraphCommands {
public:
    AddedGraphCommands(CViewGraph& view, const AddedGraphSet& graphs) : view_(view), graphs_(graphs) {}

    // True when the command is one of these (carried out, or refused by its rule).
    bool Run(uint32_t command);
    bool Update(CommandUi& ui) const;

private:
    bool Locked() const;
    uint32_t Background() const;
    // The share chooser's item filed into the entry; false on Cancel.
    bool FileChosenItem(int entry);
    bool AddPortfolioGraph();
    void Changed();

    CViewGraph& view_;
    const AddedGraphSet& graphs_;
};

} // namespace qv
