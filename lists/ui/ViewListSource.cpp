// The list view's commands on the list as a whole: graphing the whole list (its composite, or the
// portfolio's value) and showing one sector.
#include "lists/ui/ViewListBase.h"

#include "core/Memory.h"
#include "core/SectorFilter.h"
#include "core/ShareList.h"
#include "lists/GraphSource.h"
#include "lists/SectorChoice.h"
#include "lists/ui/SelectSector.h"
#include "platform/Beep.h"
#include "resources/MessageIds.h"
#include "shell/ui/ModalDialog.h"
#include "views/CommandUpdate.h"

namespace qv {
namespace {

constexpr uint32_t kGraphWeighted = 25060;
constexpr uint32_t kGraphUnweighted = 25061;
constexpr uint32_t kGraphPortfolioValue = 25185;
constexpr uint32_t kSelectSector = 25076;
constexpr uint32_t kChooseSector = 26105;
constexpr int32_t kIndicesList = 3;

bool ShareListKind(int kind) { return kind == 1 || kind == 2 || kind == 6; }

} // namespace

// Unless lists are numbered, the sector filter is the program's: a list takes it before a change and
// gives it back after.
void CViewListBase::TakeGlobalSectorFilter()
{
    if (!WindowNumberingOption)
        SetSectorFilter(*list, SectorFilterDefaults());
}

bool CViewListBase::UpdateListSourceCommand(CommandUi& ui)
{
    const bool rows = list && ShareListCount(list) > 0;
    switch (ui.command) {
    case kGraphWeighted:
    case kGraphUnweighted:
        if (!ShareListKind(kind))
            return false;
        ui.enabled = rows;
        return true;
    case kGraphPortfolioValue:
        if (kind != 2)
            return false;
        ui.enabled = rows && list->source;
        return true;
    case kSelectSector: {
        if (!ShareListKind(kind) || !list)
            return false;
        const SectorFilter filter = SectorFilterOf(*list);
        ui.checked = filter.sectorFilterOn != 0;
        ui.enabled = !(list->word == kIndicesList && filter.sectorIndex >= 0);
        return true;
    }
    case kChooseSector:
        if (!ShareListKind(kind))
            return false;
        ui.enabled = list != nullptr;
        return true;
    default: return false;
    }
}

bool CViewListBase::RunListSourceCommand(uint32_t command)
{
    if (!ShareListKind(kind))
        return false;
    switch (command) {
    case kGraphWeighted: GraphWholeList(kSourceListWeighted); return true;
    case kGraphUnweighted: GraphWholeList(kSourceListUnweighted); return true;
    case kGraphPortfolioValue:
        if (kind == 2)
            GraphWholeList(kSourcePortfolioValue);
        return kind == 2;
    case kSelectSector: {
        TakeGlobalSectorFilter();
        SectorFilter filter = SectorFilterOf(*list);
        if (!HasToggleableSector(filter)) {
            ChooseSector();
            return true;
        }
        SetSectorFilter(*list, ToggleOneSector(filter));
        Refilter();
        return true;
    }
    case kChooseSector: ChooseSector(); return true;
    default: return false;
    }
}

void CViewListBase::GraphWholeList(uint32_t sourceKind)
{
    // The source title names the graph (" value" for a portfolio's); the mode goes to the chart.
    portfolioGraphMode = int32_t(sourceKind);
    uint8_t* record = nullptr;
    if (!BuildGraphSourceRecord(record, *this, sourceKind)) {
        portfolioGraphMode = 0;
        return;
    }
    HandOverGraphSource(list, sourceKind, record);
    if (!CurrentEntry(list)) {
        SystemBeep();
        return;
    }
    resync_ = kResyncScrollToSelection;
    RouteCommand(ID_INTERNAL_508);
}

void CViewListBase::ChooseSector()
{
    TakeGlobalSectorFilter();
    SectorFilter filter = SectorFilterOf(*list);
    const bool known = HasToggleableSector(filter);
    const SectorChoice& last = LastSectorChoice();
    CSelectSector dialog(filter.sectorFilterOn != 0, known ? filter.sectorGroup : last.level,
                         known ? filter.sectorIndex : last.index, this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    SetSectorFilter(*list, ApplySectorChoice(filter, dialog.choice()));
    Refilter();
}

void CViewListBase::Refilter()
{
    if (!WindowNumberingOption)
        SaveSectorFilter(*list);
    list->filledMark = 0;
    ForceRefresh();
}

} // namespace qv
