// What a window layout keeps of a cash view's own state: the layer that owns the view installs how
// its account is read and set, so the window factory need not know the view's class.
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
};
LayoutStateHooks& GetLayoutStateHooks();

} // namespace qv
