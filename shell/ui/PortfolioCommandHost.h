// The frame's portfolio and cash-account commands: choosing, showing, creating, copying, combining,
// deleting and reverting portfolios, stepping through them and through Portfolio 1-9, undo and redo,
// and choosing, showing, creating and deleting cash accounts.
#pragma once

#include "views/CommandUpdate.h"

#include <cstdint>

namespace qv {

class CMainFrame;
class CViewRequests;
class CViewBase;
struct Portfolio;

class CPortfolioCommandHost : public CommandTarget {
public:
    CPortfolioCommandHost(CMainFrame& frame, CViewRequests& requests);
    ~CPortfolioCommandHost() override;

    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;

    void SelectPortfolio(int32_t kind);
    void ShowPortfolio(CViewBase* view, Portfolio* portfolio, int32_t kind, uint32_t flags);
    void FixCurrentPortfolio(uint16_t number);
    void UndoPortfolioStep();
    void RedoPortfolioStep();
    void RevertPortfolio();
    Portfolio* selectedPortfolio() const { return selected_; }

private:
    void ShowPortfolioStep(Portfolio* target);
    // Deletes the portfolio after its undo step; a portfolio view that showed it asks for another
    // and shows list 0 when none is chosen.
    void DeleteChosenPortfolio(Portfolio* p);
    void MakeStandardPortfolio(const Portfolio* source);
    void AfterUndoOrRedo(bool redo);
    void RefreshAllViews();

    CMainFrame& frame_;
    CViewRequests& requests_;
    Portfolio* selected_ = nullptr;
};

} // namespace qv
