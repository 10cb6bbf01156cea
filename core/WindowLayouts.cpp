// The thirteen window layouts in memory (twelve of the user's and the single-window layout) and
// the single-window layout's default record.
#include "core/WindowLayouts.h"

#include "core/ConfigRecords.h"
#include "platform/ByteOrder.h"

namespace qv {

namespace {

template <size_t N> uint32_t WordAt(const SizedRecord<N>& block, size_t offset)
{
    static_assert(N >= 168);
    return LoadU32(block.data() + offset);
}

constexpr uint32_t kSingleWindowId = 1002;
constexpr uint32_t kSingleWindowState = 2;
constexpr uint32_t kTransactionsViewKind = 4;

} // namespace

WindowLayoutSet& WindowLayouts()
{
    static WindowLayoutSet set;
    return set;
}

std::string DefaultLayoutName(int slot)
{
    static const char* const kNames[] = {"Main layout", "9 Graphs", "One Share", "Portfolio", "Data Mining"};
    if (slot >= 0 && slot < 5)
        return kNames[slot];
    if (slot == kSingleWindowLayout)
        return "EOD Layout";
    return "Layout " + std::to_string(slot + 1);
}

void FreeLayouts(WindowLayoutSet& set, int layout)
{
    if (layout >= kUserLayoutCount)
        return;
    for (int slot = 0; slot < kUserLayoutCount; ++slot)
        if (layout < 0 || slot == layout)
            set.layouts[slot] = WindowLayout{};
}

LayoutWindowRecord FillSingleWindowRecord(const OptionBlockA& a, const OptionBlockB& b, uint8_t displayFlags)
{
    LayoutWindowRecord record{};
    uint8_t* r = record.data();
    uint32_t kind = WordAt(b, 120);
    StoreU32(r + 0, WordAt(b, 140));
    StoreU32(r + 4, WordAt(b, 144));
    StoreU32(r + 12, kSingleWindowId);
    StoreU32(r + 16, kSingleWindowState);
    StoreU32(r + 20, kind);
    StoreU32(r + 24, WordAt(b, 132));
    StoreU32(r + 28, kind == kTransactionsViewKind ? b.bytes[116] : WordAt(b, 112));
    StoreU32(r + 32, WordAt(b, 136));
    StoreU32(r + 36, WordAt(b, 124));
    StoreU32(r + 40, WordAt(b, 128));
    for (size_t i = 0; i < 5; ++i)
        StoreU32(r + 44 + 4 * i, WordAt(b, 148 + 4 * i));
    StoreU32(r + 64, WordAt(a, OptionBlockA::kCurrentPortfolio));
    r[92] = displayFlags;
    StoreU32(r + 104, WordAt(a, 440));
    StoreU32(r + 112, WordAt(a, OptionBlockA::kFilterPosition));
    return record;
}

} // namespace qv
