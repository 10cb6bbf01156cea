// View requests in the active window and the commands built on them: show the current share or
// list as another view kind (in the same window, or a new one where asked), cycle between list,
// graph and details, unlink a view, and switch the predefined list a window shows.
#pragma once

#include "shell/ViewRequest.h"

#include <functional>

class QWidget;

namespace qv {

class CMainFrame;
class CWindowFactory;
class CViewBase;
class CViewBaseWnd;
struct ShareList;
struct Portfolio;
struct RecordCursor;

class CViewRequests {
public:
    // Installs itself as the frame's handler of the view commands and of the deferred request.
    CViewRequests(CMainFrame& frame, CWindowFactory& factory);

    CViewBase* ShowViewKind(int32_t kind, int32_t number, uint32_t flags, CViewBase* view = nullptr);
    CViewBase* ShowKindForCurrent(int32_t kind);
    // "Share's News": a news view of the current share's stories; in a news view, the switch between
    // the current story's share and every story.
    void ShowShareNews();
    // "Portfolio news": a news view of the stories of the active list's shares in the active window.
    void ShowPortfolioNews();
    CViewBase* OpenViewForRequest(ViewRequest& request);
    void ActivateRequestedView(CViewBase* view, ViewRequest& request);
    bool UnlinkActiveView();

    void ShowList(int32_t number);
    void ShowListSameWindow(int32_t number);
    void UseList(int32_t number);

    bool HasCurrentShare() const;
    bool CanShowCurrentShare() const;
    // The enable and check state of a current-share, list or view-cycling command for the active
    // view (imported items and loaded dealings read from their stores).
    CommandUiState UpdateCommand(uint32_t id) const;

    bool OnCommand(uint32_t command);
    bool OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

    // The portfolio chooser of the transactions command: null on Cancel.
    using PortfolioChooser = std::function<Portfolio*()>;
    void SetPortfolioChooser(PortfolioChooser chooser) { chooser_ = std::move(chooser); }
    // A transactions view has a portfolio to show: the active list's own, or the chooser's.
    bool TransactionsPortfolioAtHand() const;
    Portfolio* ChoosePortfolio() const { return chooser_ ? chooser_() : nullptr; }
    // The transactions of the active view's portfolio (else a chosen one); in a new window with
    // Shift held or when asked.
    void ShowTransactions(bool newWindow = false);

    // Program-wide display switches the commands toggle.
    static uint8_t TransactionsDisplaySwitch;
    static uint8_t UnpricedSharesSwitch;
    static uint8_t DataMiningDisplayA;
    static uint8_t DataMiningDisplayB;

private:
    // A fixed list in the active window, or in a new one.
    void ShowListIn(int32_t number, bool newWindow);
    bool ShiftHeld() const;
    void FollowLinkedViews(CViewBase* view, const ViewRequest& request);
    void PickRequestList(ShareList* found, ViewRequest& request);
    void CycleKind(bool next);
    // "Share's Dates" for the active view's current share.
    void ShowShareDates();
    // 26395-26397: the current share's directors' dealings in the same window, and back: a dealings
    // view opened so returns to the view it came from; another dealings view switches between the
    // current row's share and every share.
    void ShowSelectedShareDealings();
    void ReturnFromDealings(CViewBase* dealings);
    void OnListCommand(const ListCommand& command);
    void RepaintKind(int32_t kind);

    CMainFrame& frame_;
    CWindowFactory& factory_;
    PortfolioChooser chooser_;
};

// The view's list of the family: its own, else the list it follows, else that of the first view
// of the group that shows the family.
ShareList* FindViewListOfKind(const CViewBase* view, int32_t family);
// Takes the view out of every group when it is linked to another view; true when it was.
bool UnlinkView(CViewBase* view);

// What the view requests need of the list tables: whether directors' dealings are loaded, and the
// share-dates dialog for a share (its name and entry). The list tables install them; without them
// the dealings count as not loaded and the dates are not shown.
struct ViewRequestHooks {
    std::function<bool()> dealingsLoaded;
    std::function<void(const RecordCursor& entry, QWidget* parent)> showShareDates;
    // A dealings view limited to one share's dealings (a share id), or showing every share's again
    // (0); and the share of its current row (0 none).
    std::function<void(CViewBase* dealings, uint16_t shareId)> limitDealingsToShare;
    std::function<uint16_t(const CViewBase* dealings)> dealingsRowShare;
    // The program-wide dealings display flags packed into a list's filter byte; a dealings view the
    // request makes starts from them (0: the view's own defaults).
    std::function<uint8_t()> dealingsDisplayFlags;
    // A news view limited to one share's stories (its id), or showing every story again (0); and, in
    // a news view, the switch between the current story's share and every story.
    std::function<void(CViewBase* news, uint32_t shareId)> limitNewsToShare;
    std::function<void(CViewBase* news)> switchNewsShare;
    // A news view showing the stories of its list's shares.
    std::function<void(CViewBase* news)> showListNews;
    // "Show historic shares": the lists take in (or leave out again) the shares without a recent
    // price, and fill their rows afresh.
    std::function<void(bool show)> showHistoricShares;
};
ViewRequestHooks& GetViewRequestHooks();

} // namespace qv
