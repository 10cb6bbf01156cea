// The ticker's tape.
#include "realtime/TickerTape.h"

#include "core/ConfigDefaults.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>

namespace qv {
namespace {

constexpr std::array<int, 5> kHorizontalSteps = {1, 1, 2, 3, 4};
constexpr std::array<int, 5> kVerticalSteps = {1, 1, 1, 1, 2};
constexpr std::array<uint32_t, 5> kHorizontalIntervals = {20, 8, 10, 10, 5};
constexpr std::array<uint32_t, 5> kVerticalIntervals = {50, 30, 20, 10, 8};
// Waiting ages in tenths: fresh from 2.1 s, old from 3.6 s, stale beyond 15 s; the excess look stays 3 s.
constexpr uint32_t kFreshAge = 21, kOldAge = 36, kStaleAge = 151, kExcessTenths = 30;
constexpr uint16_t kNameField = 1;
constexpr int32_t kFreedBefore = -10;

size_t SpeedIndex(int speed) { return size_t(std::clamp(speed, 1, 5) - 1); }

} // namespace

int TickerCategory(uint16_t typeWord)
{
    if ((typeWord & 0x38) == 0x18)
        return 0;
    const int index = (typeWord >> 6) & 7;
    return index <= 3 ? index + 1 : 5;
}

int TickerStep(int layout, int speed)
{
    return (layout >= kTickerVerticalLayout ? kVerticalSteps : kHorizontalSteps)[SpeedIndex(speed)];
}

uint32_t TickerInterval(int layout, int speed)
{
    return (layout >= kTickerVerticalLayout ? kVerticalIntervals : kHorizontalIntervals)[SpeedIndex(speed)];
}

TickerCell TickerCharacterCell(int charWidth, int charHeight, int whiteSpace)
{
    TickerCell cell;
    cell.width = std::abs((whiteSpace + 9) * charWidth / 10);
    cell.height = std::abs((whiteSpace + 9) * charHeight / 10 + 1);
    if (cell.width == 0)
        cell.width = 20;
    if (cell.height == 0)
        cell.height = 20;
    return cell;
}

int TickerFieldsOnFirstLine(int layout, uint16_t fieldMask)
{
    // The one-line layouts have no second line to take the rest.
    if (layout == 0 || layout == kTickerVerticalLayout)
        return 99;
    const int fields = std::popcount(fieldMask) + ((fieldMask & kNameField) ? 2 : 0);
    return std::max(fields / 2, 1);
}

int TickerVerticalLayout(uint16_t fieldMask)
{
    const int fields = std::popcount(uint16_t(fieldMask & 0x1FF));
    return fields < 3 || (!(fieldMask & kNameField) && fields < 6) ? 3 : 4;
}

uint32_t TickerAge(uint32_t now, uint32_t since) { return now >= since ? now - since : now + kTenthsPerDay - since; }

TickerDesign ReadTickerDesign(const TickerSetting& record)
{
    using namespace TickerLayout;
    const uint8_t* p = record.data();
    TickerDesign d;
    d.fields = LoadU16(p + FieldMask);
    d.categories = p[Categories];
    d.layout = std::min<uint8_t>(p[Layout], 4);
    d.flags = p[Flags];
    d.speed = std::clamp<uint8_t>(p[Speed], 1, 5);
    d.whiteSpace = p[WhiteSpace];
    d.portfolioFilter = p[PortfolioFilter];
    d.portfolio1 = LoadU16(p + Portfolio1);
    d.portfolio2 = LoadU16(p + Portfolio2);
    return d;
}

void TickerTape::SetSettings(const TickerDesign& design, TickerCell cell, int visibleStart, int visibleEnd)
{
    design_ = design;
    cell_ = cell;
    SetVisibleRange(visibleStart, visibleEnd);
    firstLine_ = TickerFieldsOnFirstLine(design.layout, design.fields);
    std::erase_if(items_, [this](const TickerItem& item) { return !item.placed() && !Passes(item.trade.share, item.category); });
    for (TickerItem& item : items_)
        if (!item.placed())
            item.length = LengthOf(item);
}

void TickerTape::SetVisibleRange(int start, int end)
{
    start_ = start;
    end_ = end;
}

void TickerTape::SetPortfolioShares(std::vector<uint16_t> shares)
{
    std::sort(shares.begin(), shares.end());
    shares.erase(std::unique(shares.begin(), shares.end()), shares.end());
    portfolioShares_ = std::move(shares);
}

bool TickerTape::Passes(uint16_t share, int category) const
{
    if (design_.categories & (1u << category))
        return true;
    return design_.portfolioFilter != 0 && std::binary_search(portfolioShares_.begin(), portfolioShares_.end(), share);
}

int TickerTape::LengthOf(const TickerItem& item) const
{
    if (design_.vertical())
        return design_.layout == kTickerVerticalLayout ? cell_.height : 2 * cell_.height;
    return measure_ ? std::max(measure_(item), 1) : cell_.width;
}

bool TickerTape::Backlogged() const { return !items_.empty() && (!items_.back().placed() || items_.back().position >= end_); }

bool TickerTape::AddTrade(const RecentTrade& trade, const ShareFacts& share, uint32_t now)
{
    if (!share.named)
        return false;
    const int category = TickerCategory(share.typeWord);
    if (!Passes(trade.share, category))
        return false;
    awaiting_ = false;
    // While a backlog waits, a share's newer trade takes the place of its waiting one.
    if (Backlogged()) {
        auto waiting = std::find_if(items_.begin(), items_.end(), [&](const TickerItem& item) {
            return !item.placed() && item.trade.share == trade.share;
        });
        if (waiting != items_.end()) {
            waiting->trade.time = trade.time;
            waiting->trade.price = trade.price;
            waiting->trade.volume = trade.volume;
            waiting->arrival = now;
            waiting->length = LengthOf(*waiting);
            return true;
        }
    }
    TickerItem item;
    item.trade = trade;
    item.category = uint8_t(category);
    item.arrival = now;
    const float close = share.close;
    item.trade.last = close == FLT_MAX || close > 9e9f ? -9e9f : close;
    item.length = LengthOf(item);
    items_.push_back(item);
    return true;
}

void TickerTape::PlaceItems(std::list<TickerItem>::iterator from)
{
    for (auto it = from == items_.end() ? items_.begin() : from; it != items_.end(); ++it) {
        const bool wasPlaced = it->placed();
        // The head keeps a place it has; otherwise an item starts at the end of the visible range.
        int32_t position = wasPlaced && it == items_.begin() ? it->position : end_;
        it->upper = 1;
        if (it != items_.begin()) {
            TickerItem& before = *std::prev(it);
            const bool shareSlot = design_.layout == 2 && before.upper == 1 && before.placed() && before.position >= end_;
            if (shareSlot) {
                position = before.position;
                it->upper = 0;
                const int32_t length = std::max(before.length, it->length);
                before.length = it->length = length;
            } else if (before.placed()) {
                position = before.position + before.length;
            }
        }
        if (!wasPlaced)
            position = std::max(position, int32_t(end_));
        it->position = position;
        if (position >= end_ && (design_.layout != 2 || it->upper == 0))
            return;
    }
}

void TickerTape::Shift(int by)
{
    for (TickerItem& item : items_)
        if (item.placed())
            item.position += by;
}

int TickerTape::Scroll(uint32_t t, int d, int speed)
{
    if (state_ == kTapeDisconnected || awaiting_)
        return 0;
    bool fresh = false, old = false, stale = false;
    for (auto it = items_.begin(); it != items_.end();) {
        if (!it->placed()) {
            // A waiting item goes on once its predecessor has begun to appear.
            if (it == items_.begin() || (std::prev(it)->placed() && std::prev(it)->position < end_))
                PlaceItems(it);
        }
        if (it->placed()) {
            it->position += d;
            if (it->position + it->length < kFreedBefore) {
                it = items_.erase(it);
                continue;
            }
            ++it;
            continue;
        }
        const uint32_t age = TickerAge(t, it->arrival);
        fresh = fresh || (age >= kFreshAge && age < kOldAge);
        old = old || age >= kOldAge;
        if (age >= kStaleAge) {
            stale = true;
            if (design_.discardStale()) {
                it = items_.erase(it);
                continue;
            }
        }
        ++it;
    }
    if (stale) {
        redraw_ = redraw_ || !excess_;
        excess_ = true;
        excessUntil_ = (t + kExcessTenths) % kTenthsPerDay;
    } else if (excess_) {
        const uint32_t past = TickerAge(t, excessUntil_);
        if (past > 0 && past < kTenthsPerDay / 2) {
            excess_ = false;
            redraw_ = true;
        }
    }
    if (old)
        return speed < 5 ? 1 : 0;
    return !fresh && speed > 1 ? -1 : 0;
}

bool TickerTape::TakeRedraw()
{
    const bool redraw = redraw_;
    redraw_ = false;
    return redraw;
}

bool TickerTape::FollowEngine(int32_t engineState)
{
    const int before = state_;
    if (engineState == 1 || engineState == 2) {
        if (state_ == kTapeDisconnected || state_ == kTapeDraining)
            awaiting_ = true;
        state_ = engineState;
    } else if (!items_.empty()) {
        state_ = kTapeDraining;
        std::erase_if(items_, [](const TickerItem& item) { return !item.placed(); });
    } else {
        state_ = kTapeDisconnected;
    }
    return state_ != before;
}

} // namespace qv
