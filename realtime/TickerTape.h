// The ticker's tape without its drawing: the items that drift along it (one per trade of the recent-
// trades ring that passes the category and portfolio filters), their placing and scrolling, the
// waiting-trade ages behind the speed advice and the excess-data look, the connection state, and
// the tables of steps and intervals by layout and speed.
#pragma once

#include "core/ConfigRecords.h"
#include "realtime/feed/RTEngine.h"

#include <cstdint>
#include <functional>
#include <list>
#include <vector>

namespace qv {

// Layouts: 0 one line, 1 two lines, 2 four lines (two staggered rows), 3 and 4 vertical.
constexpr int kTickerVerticalLayout = 3;
constexpr int kTickerCategories = 6;
constexpr uint32_t kTenthsPerDay = 864000;
constexpr int32_t kTickerUnplaced = 0x7FFFFFFF;

// The market category of a share's record type word: 0 Indices, 1 FTSE 100, 2 FTSE 250, 3 Small
// Cap, 4 Fledgling, 5 Other.
int TickerCategory(uint16_t typeWord);
// Pixels per step and milliseconds per step by layout and speed (1-5).
int TickerStep(int layout, int speed);
uint32_t TickerInterval(int layout, int speed);
// The character cell from the font's average character width and height and the white space.
struct TickerCell {
    int width = 20;
    int height = 20;
};
TickerCell TickerCharacterCell(int charWidth, int charHeight, int whiteSpace);
// Fields on the first line of an item: all for the one-line layouts 0 and 3, else half the fields
// (Name counting 3), at least 1.
int TickerFieldsOnFirstLine(int layout, uint16_t fieldMask);
// The vertical layout the fields take: 3 (one line per item) for fewer than 3 fields, or without
// Name for fewer than 6; else 4 (two lines).
int TickerVerticalLayout(uint16_t fieldMask);
// Tenths of a second from `since` to `now` across midnight.
uint32_t TickerAge(uint32_t now, uint32_t since);

// A settings record's fields.
struct TickerDesign {
    uint16_t fields = 0;
    uint8_t categories = 0;
    uint8_t layout = 0;
    uint8_t flags = 0;
    uint8_t speed = 3;
    uint8_t whiteSpace = 0;
    uint8_t portfolioFilter = 0;
    uint16_t portfolio1 = 0, portfolio2 = 0;
    bool vertical() const { return layout >= kTickerVerticalLayout; }
    bool variableSpeed() const { return flags & 1; }
    bool discardStale() const { return flags & 2; }
};
TickerDesign ReadTickerDesign(const TickerSetting& record);

struct TickerItem {
    RecentTrade trade;            // the ring entry; `last` becomes the share's closing price
    int32_t position = kTickerUnplaced;
    int32_t length = 0;
    uint32_t arrival = 0;         // tenths of a second since midnight
    uint8_t category = 0;
    uint8_t upper = 0;            // layout 2: 1 starts a slot in the upper row
    bool placed() const { return position != kTickerUnplaced; }
};

// Tape states: disconnected, connected (the engine's running or starting), connection lost while
// items remain.
constexpr int kTapeDisconnected = 0, kTapeDraining = 3;

class TickerTape {
public:
    // The item's length along the scroll axis in horizontal layouts (the composer measures text).
    using Measure = std::function<int(const TickerItem&)>;

    void SetSettings(const TickerDesign& design, TickerCell cell, int visibleStart, int visibleEnd);
    void SetMeasure(Measure measure) { measure_ = std::move(measure); }
    // The visible range along the scroll axis (the tape rectangle's left-right or top-bottom).
    void SetVisibleRange(int start, int end);
    // The sorted share ids of the portfolio filter.
    void SetPortfolioShares(std::vector<uint16_t> shares);

    // The share's record facts a trade needs: whether it has a name, its type word, and its closing
    // price (the missing-value marker when none).
    struct ShareFacts {
        bool named = false;
        uint16_t typeWord = 0;
        float close = 0;
    };
    // Takes a ring entry at time `now` (tenths); false when it was not taken.
    bool AddTrade(const RecentTrade& trade, const ShareFacts& share, uint32_t now);
    // One step of d pixels (d < 0) at time t: moves, places, ages and frees items; the speed advice
    // (+1, -1 or 0) at `speed`. Nothing while disconnected or awaiting data.
    int Scroll(uint32_t t, int d, int speed);
    // Places items from `from` on (the head when end()).
    void PlaceItems(std::list<TickerItem>::iterator from);
    // Shifts every placed item by `by` pixels.
    void Shift(int by);
    // The feed engine's state; true when the tape's state changed.
    bool FollowEngine(int32_t engineState);
    void Clear() { items_.clear(); }

    const std::list<TickerItem>& items() const { return items_; }
    std::list<TickerItem>& items() { return items_; }
    const TickerDesign& design() const { return design_; }
    TickerCell cell() const { return cell_; }
    int state() const { return state_; }
    bool awaiting() const { return awaiting_; }
    bool excess() const { return excess_; }
    // True once after the excess look came or went (the window is redrawn whole).
    bool TakeRedraw();
    int visibleStart() const { return start_; }
    int visibleEnd() const { return end_; }
    int firstLineFields() const { return firstLine_; }
    bool Backlogged() const;

private:
    bool Passes(uint16_t share, int category) const;
    int LengthOf(const TickerItem& item) const;

    TickerDesign design_;
    TickerCell cell_;
    Measure measure_;
    std::list<TickerItem> items_;
    std::vector<uint16_t> portfolioShares_;
    int start_ = 0, end_ = 0;
    int firstLine_ = 99;
    int state_ = kTapeDisconnected;
    bool awaiting_ = false;
    bool excess_ = false;
    bool redraw_ = false;
    uint32_t excessUntil_ = 0;
};

} // namespace qv
