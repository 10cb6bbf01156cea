// The view base: what every view that shows data has, whatever window shows it. A view is attached
// to a share list (its list source), sits in the chain of the views of that list (its view group),
// titles itself from the list and re-syncs the other views of the group. The window layer derives
// its view windows from it and answers the window questions (alive, visible, repaint).
#pragma once

#include "platform/MessageDispatch.h"

#include <cstdint>
#include <string>

namespace qv {

struct ShareList;
struct Portfolio;
struct RecordCursor;
struct CommandUi;
struct TradeTotals;

class CViewBase : public MessageTarget {
public:
    explicit CViewBase(int32_t viewKind = 0);
    // Unlinks the view from every share list's chain.
    ~CViewBase() override;

    int32_t kind = 0;                   // view kind 0-11
    ShareList* list = nullptr;          // its own share list (the list source)
    ShareList* secondList = nullptr;    // the linked share list it follows, when it follows one
    CViewBase* nextInList = nullptr;    // next view attached to the same list
    uint8_t reload = 0;                 // set when its portfolio changed under it
    int32_t secondKey = 0;              // its own setting number (kinds 0, 3, 9)
    int32_t portfolioGraphMode = 0;     // charts of a list: 1 composite, 2 not weighted, 4 a portfolio's value, 8 its profit or loss
    uint8_t active = 0;                 // its child window is the active one
    uint8_t hasFocus = 0;
    uint8_t redrawPending = 0;
    uint8_t mouseTracking = 0;
    uint16_t viewDate = 0;              // the program's chosen date, else today
    uint8_t currencyUnit = 7;           // of the current share; 7 none
    uint8_t intradayMark = 0;
    uint8_t newsRefreshPending = 0;     // news views: a refresh waits for the news timer
    uint8_t recomputeMarker = 0;        // chart views: cleared by a refresh that resets charts
    uint32_t windowId = 0;              // the id of the child window that holds it
    int32_t previousListKind = -1;      // the table kind a one-share view returns to
    // What a dealings view opened on one share's dealings from another view returns to ("Return to
    // previous screen"): that view's kind (-1: it was not opened so), list number, portfolio source
    // number (-1 none), share and previous list kind.
    struct ReturnPoint {
        int32_t kind = -1;
        int32_t listNumber = -1;
        int32_t sourceNumber = -1;
        uint32_t shareId = 0;
        uint32_t sub = 0;
        int32_t previousListKind = -1;
    };
    ReturnPoint returnPoint;

    void SetKind(int32_t viewKind);

    // The window side. Without a window layer the view counts as a live, visible window.
    virtual bool WindowExists() const { return windowExists_; }
    virtual bool WindowVisible() const { return windowVisible_; }
    virtual void InvalidateWindow() { ++invalidations_; }
    void SetWindowState(bool exists, bool visible);
    int invalidations() const { return invalidations_; }

    // Program messages: command 504 refreshes the view; 25062 and 25063 toggle the new highs and
    // lows. A view kind that runs more commands answers for them in UpdateCommandUi as well.
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    // The state of a command the view runs itself; false for a command it does not run.
    virtual bool UpdateCommandUi(CommandUi& ui) const;
    virtual void OnRefresh();

    // The operations every view may override.
    virtual void SetResyncCode(uint32_t code);
    virtual const void* GetDataMiningFilter() const { return nullptr; }
    virtual std::string GetDataMiningFilterName() const { return {}; }
    virtual void OnFilterChanged() {}
    // The day's trades of the view's share: all, buys, sells and unknowns, and the latest time; the
    // share and day they are of. False when there are none. Views answer from the intraday store for
    // their current share and the newest stored day.
    virtual bool GetTradeTotals(TradeTotals& out);
    virtual bool OnFindShareKey(uint32_t character);
    // The share the view names of its own (its share index), not a row's: 0 for none.
    virtual uint32_t OwnShareId() const { return 0; }
    virtual void OnSetFocus();
    // Daily and intraday graphs: the training-mode byte (0 for every other view).
    virtual uint8_t GraphTrainingMode() const { return 0; }
    // Installs configuration `number` of its kind (its table, or for graphs and the ticker its
    // setting); a negative number keeps the current one. List views rebuild their columns.
    virtual void SelectColumnSetting(int32_t number, bool resetColumns, bool keepPosition);
    // Whether the view's numbered settings are graph, ticker or data-mining graph settings that it
    // keeps itself (secondKey), rather than the table settings of its list.
    bool KeepsOwnSetting() const;

    // Attaches the view to a list of the given source kind; a negative capacity means the database's
    // items plus 4100. False without room for a list.
    bool AttachListSource(int32_t sourceKind, Portfolio* source, int32_t capacity);
    void InvalidateLinkedViews(bool resync, bool clear);
    void InvalidateAllViews();
    void ForceRefresh();
    std::string GetSourceTitle(bool detail) const;
    std::string DecorateTitle(const std::string& title) const;
    ShareList* GetActiveShareList() const;
    int32_t GetSettingIndex() const;
    void FollowLinkedShare();
    bool IsNotCurrentRow(const RecordCursor* entry) const;
    bool ClearPendingRedraw();
    void OnKillFocus();
    // Loads the intraday record of the current row's share into the list; true when the share has
    // intraday data. Clears the intraday mark.
    bool LoadRowIntraday();

    // New highs and new lows (commands 25062, 25063): each toggles its filter of the list, clearing
    // the other and the sector filter, makes the list's filter the default and refreshes.
    void OnToggleNewHighs() { ToggleHighsLows(true); }
    void OnToggleNewLows() { ToggleHighsLows(false); }
    struct CommandState {
        bool enabled = false;
        bool checked = false;
        bool pressed = false; // the toolbar button shows pressed while either filter is on
    };
    CommandState OnUpdateNewHighs() const { return HighsLowsState(true); }
    CommandState OnUpdateNewLows() const { return HighsLowsState(false); }

private:
    void ToggleHighsLows(bool highs);
    CommandState HighsLowsState(bool highs) const;

    bool windowExists_ = true;
    bool windowVisible_ = true;
    int invalidations_ = 0;
};

constexpr uint32_t kCommandNewHighs = 25062;
constexpr uint32_t kCommandNewLows = 25063;

// Loads a share's intraday record into a list under the intraday store's lock; the intraday store
// fills it in. Without it no share has intraday data.
using IntradayRowLoader = bool (*)(ShareList* list, uint32_t shareId, uint32_t subId);
void SetIntradayRowLoader(IntradayRowLoader loader);

// The training-mode byte of a daily or intraday graph, 0 for any other view or none.
uint8_t GetGraphViewOption(const CViewBase* view);
// A daily graph opened from a list keeps a link to it: it follows a list and returns to a table kind.
bool HasParentLink(const CViewBase& view);

// Creates a share list of the kind for the view in place of its old one (freed when nothing else
// uses it), linked back to the view and marked as needing a refill.
ShareList* CreateListSource(CViewBase* view, int32_t number, int32_t kind, Portfolio* source);

// Unlinks the view from the chain of every share list.
void UnlinkViewFromLists(CViewBase* view);

// Share lists and the views that name them.
int32_t CountRowArrayUsers(const ShareList* list);
bool IsViewGroupUnused(const ShareList* list);
bool IsShareListLive(const ShareList* list);
int32_t CountLinkedViews(const CViewBase* view, const ShareList* list, uint32_t* kindMask);
// Every view that exists, in order of creation, for walks over all views.
template <typename Fn>
void ForEachView(Fn fn);
int32_t LiveViewCount();
CViewBase* LiveView(int32_t index);

// Program options the titles and settings read.
extern uint8_t WindowNumberingOption;      // starts off
extern uint8_t DataMiningOwnSettingOption; // data-mining views use their own setting number
extern uint8_t ListTipOption;              // the list cell tips, with their extras (EPIC, previous names); starts on
// The application title, "Quorvantis" and, once start-up has chosen it, " Pro" or " Zoze".
std::string& ApplicationTitle();
// The name of a built-in list code ("All", "Shares" ...), "" outside 0-34.
const char* ListCodeName(int32_t code);
// The name of a user portfolio ("Portfolio n" while it has none).
std::string PortfolioDisplayName(const Portfolio* portfolio);

// A bit set {bits, count, capacity}; setting the count clears every bit.
struct BitSet {
    uint8_t* bits = nullptr;
    uint16_t count = 0;
    uint16_t capacity = 0;
};
void ResizeBitSet(BitSet& set, uint16_t count);

// Six display options packed into one byte.
struct DisplayOptions {
    bool bit0 = false, bit1 = false, bit2 = false, bit3 = false, bit4 = false;
    int threeWay = 0; // 1 gives bit 6, 2 gives bit 5
};
uint8_t PackDisplayFlags(const DisplayOptions& options);

template <typename Fn>
void ForEachView(Fn fn)
{
    for (int32_t i = 0; i < LiveViewCount(); ++i)
        fn(LiveView(i));
}

// The other views attached to the view's list (its second list when it follows one), as a newly
// allocated chain; null when there are none. FreeViewNodes releases it.
struct ViewNode {
    CViewBase* view;
    ViewNode* next;
};
ViewNode* GetOtherViewsOfList(const CViewBase* view);
void FreeViewNodes(ViewNode* nodes);
bool ShareListHasOtherViews(const CViewBase* view);

} // namespace qv
