// Composite and portfolio records for charts, and their hand-over from a list to its chart.
#include "lists/GraphSource.h"

#include "core/Memory.h"
#include "core/ShareList.h"
#include "lists/SyntheticRecords.h"
#include "platform/MessageBox.h"
#include "portfolio/HoldingsPass.h"
#include "views/ViewBase.h"

namespace qv {
namespace {

constexpr const char* kNotEnoughData = "Not enough data to construct graph";

struct HandedSource {
    const ShareList* list = nullptr;
    uint32_t kind = 0;
    uint8_t* record = nullptr;
};

HandedSource& Handed()
{
    static HandedSource handed;
    return handed;
}

} // namespace

bool BuildGraphSourceRecord(uint8_t*& target, const CViewBase& view, uint32_t sourceKind)
{
    const ShareList* list = view.list;
    if (!list)
        return false;
    if (sourceKind == kSourceListWeighted || sourceKind == kSourceListUnweighted) {
        if (!ShareListHasEntries(list)) {
            ShowMessage(kNotEnoughData);
            return false;
        }
        return BuildListCompositeSeries(target, view.GetSourceTitle(false), list->entries, true,
                                        sourceKind == kSourceListWeighted);
    }
    PortfolioHistoryInput input;
    if (sourceKind != kSourcePortfolioValue && sourceKind != kSourcePortfolioProfit)
        return false;
    if (!PortfolioHistoryInputOf(*list, IncludeAttachedCashOption(), input))
        return false;
    input.title = view.GetSourceTitle(false);
    return BuildPortfolioHistoryRecord(target, input, sourceKind == kSourcePortfolioProfit) == 0;
}

void HandOverGraphSource(const ShareList* list, uint32_t sourceKind, uint8_t* record)
{
    HandedSource& handed = Handed();
    ProFree(handed.record);
    handed = {list, sourceKind, record};
}

uint8_t* TakeGraphSource(const ShareList* list, uint32_t sourceKind)
{
    HandedSource& handed = Handed();
    if (!handed.record || handed.list != list || handed.kind != sourceKind)
        return nullptr;
    uint8_t* record = handed.record;
    handed = {};
    return record;
}

} // namespace qv
