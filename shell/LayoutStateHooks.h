// What a window layout keeps of a cash view's and a daily graph's own state: the layer that owns the
// view installs how it is read and set, so the window factory need not know the view's class.
#pragma once

#include <cstdint>
#include <functional>

namespace qv {

class CViewBase;

struct LayoutStateHooks {
    // The account number a cash view shows (0 for none).
    std::function<uint32_t(const CViewBase& view)> saveCashAccount;
    // Shows the numbered account in the view, or the first account when none has the number.
    std::function<void(CViewBase& view, uint32_t number)> applyCashAccount;
    // A daily graph's option word (0 for any other view); bits 0x04 and 0x08 grey the day's trades
    // list, any bit the linking of its window.
    std::function<uint32_t(const CViewBase& view)> chartOption;
    std::function<void(CViewBase& view, uint32_t word)> applyChartOption;
};
LayoutStateHooks& GetLayoutStateHooks();
// The installed hook's answer, 0 without one.
uint32_t ChartOptionOf(const CViewBase& view);

} // namespace qv
