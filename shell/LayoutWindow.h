// One window of a window layout as the factory reads it: the 152-byte record's fields, the rules
// that tidy a layout's group numbers, the default layouts, the order windows are created in and the
// renumbering of the share lists afterwards.
#pragma once

#include "core/WindowLayouts.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qv {

struct ShareList;

// The default layouts name their shares by number among the shares: share n is the record 0x4000 + n,
// inside the share ids. The list of the main layout opens on the first; the nine-graph layout shows the
// others, and the one-share layout the third.
constexpr uint32_t DefaultLayoutShareId(uint32_t number) { return 0x4000 + number; }
constexpr std::array<uint32_t, 10> kDefaultLayoutShares = {433, 849, 1906, 313, 3428, 16, 2406, 860, 1503, 4};
// The indices of the "Main layout"'s two intraday windows of their own: the FTSE 100 and the US
// industrials index.
constexpr std::array<uint32_t, 2> kLayoutIndexShares = {46597, 49167};

// Saved group numbers sit 1000 above the live share-list numbers.
constexpr int32_t kSavedGroupOffset = 1000;

struct LayoutWindow {
    uint32_t shareId = 0;
    uint32_t shareSub = 0;
    uint32_t reserved8 = 0;
    int32_t ownGroup = -1;         // own group number plus 1000; -1 none
    int32_t linkGroup = -1;        // group it is linked to, plus 1000; -1 none
    int32_t kind = 0;
    int32_t listTable = 0;
    int32_t setting = 0;           // 0-12
    int32_t graphSetting = 0;      // the view's second key, 0-12
    int32_t providerKind = -1;     // the kind of view that fills the list; -1 none
    int32_t word40 = -1;
    std::array<int32_t, 5> listWords{}; // copied through unchanged
    int32_t portfolio = -1;
    uint8_t displayByte = 1;       // trade lists: display byte; others 1
    uint8_t maximised = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t signedSortColumn = 0;  // column times direction
    uint8_t dealingsOption = 0;
    uint8_t active = 0;
    uint8_t tradeListMode = 0;
    uint16_t tradeFilter = 0;
    uint32_t cashAccount = 0;
    uint32_t chartOption = 0;
    uint32_t filterIndex = 0;
    uint32_t listOptionA = 0;
    uint32_t listOptionB = 0;
    uint32_t newsMode = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

// Reads the fields from a record; Encode writes them back over the record, leaving its reserved
// bytes as they were.
LayoutWindow DecodeLayoutWindow(const LayoutWindowRecord& record);
void EncodeLayoutWindow(const LayoutWindow& window, LayoutWindowRecord& record);

// Gives links that no record owns an owner (a table kind first, then a shares-family kind, then the
// first linked), lets unowned linked records own their link, and keeps tickers out of every group.
void NormaliseLayoutLinks(std::vector<LayoutWindow>& windows);

// The default layouts (0-4 and the single-window layout 12) for the client rectangle of the
// multiple-document area; an empty list for the others.
struct AreaRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};
std::vector<LayoutWindow> BuildDefaultLayout(int index, const AreaRect& area);

// Names of the reset layouts: slots 0-4 by name, 5-11 "Layout 6" .. "Layout 12".
std::string ResetLayoutName(int slot);

// The record as the factory creates it: kinds above 8 mapped with the real-time option off, a
// negative kind a list of table 0 with own number 0, settings outside 0-12 made 0.
LayoutWindow NormaliseForCreation(LayoutWindow window, bool realTimeOn);

// The record indexes in the order the factory creates them: unlinked owners last to first, then
// the rest last to first; with a maximised record only that one (the caller drops the maximised
// rule when its creation fails).
struct CreationPlan {
    int maximised = -1;            // lowest index with the maximised byte, -1 none
    std::vector<int> order;
};
CreationPlan PlanLayoutCreation(const std::vector<LayoutWindow>& windows);
std::vector<int> CreationOrderWithoutMaximised(const std::vector<LayoutWindow>& windows);

// Renumbers the chain 0, 1, 2 ... in chain order; lists that shared a number keep sharing it.
void RenumberShareLists(ShareList* chain);

// The captured record's group numbers: a linked list of the same family as the own list is
// written as own -1 linked to the own list (or unlinked when it is the first record).
struct GroupNumbers {
    int32_t own = -1;
    int32_t link = -1;
};
GroupNumbers SavedGroupNumbers(int32_t ownNumber, int32_t ownFamily, bool linked, int32_t linkNumber,
                               int32_t linkFamily, bool isFirst);

// Layout commands: "Window layout  1" .. 12 are 21147-21158.
constexpr uint32_t kCommandFirstLayout = 21147;
constexpr uint32_t kCommandLastLayout = 21158;
constexpr uint32_t kCommandRenameLayout = 26949;
constexpr uint32_t kCommandSaveLayout = 26950;
constexpr uint32_t kCommandSaveAllLayouts = 26951;
constexpr uint32_t kCommandRestoreLayout = 26952;
constexpr uint32_t kCommandRestoreAllLayouts = 26953;
constexpr uint32_t kCommandResetLayouts = 26986;
constexpr uint32_t kCommandRelayLayout = 507;

} // namespace qv
