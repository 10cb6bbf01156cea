// The lower folders' hooks, filled in with the higher folders' work.
#include "app/LayerHooks.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/LineObjects.h"
#include "chartmodel/OldGraphConfig.h"
#include "chartmodel/PortfolioSeriesCache.h"
#include "chartmodel/PriceEdits.h"
#include "core/ShareList.h"
#include "core/UpperHooks.h"
#include "lists/DirectorsDealings.h"
#include "lists/ListRows.h"
#include "lists/ListSort.h"
#include "portfolio/CashReferences.h"
#include "portfolio/PortfolioRoutines.h"
#include "shell/StartupSteps.h"
#include "shell/ViewGroups.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

namespace qv {

namespace {

bool ShownByDataMining(const ShareList* list)
{
    for (const CViewBase* view = list->views; view; view = view->nextInList)
        if (view->kind == kViewDataMining)
            return true;
    return false;
}

void InstallCoreHooks()
{
    UpperHooks& hooks = CoreUpperHooks();
    hooks.sortList = [](ShareList* list, int signedColumn) { SortListByColumn(false, list, signedColumn, false); };
    hooks.sortColumnSetting = GetSortColumn;
    hooks.columnLayout = GetColumnLayout;
    hooks.reloadViews = [](ShareList* list) {
        for (CViewBase* view = list->views; view; view = view->nextInList)
            view->reload = 1;
    };
    hooks.shownByDataMining = ShownByDataMining;
    hooks.loadDirectorsDealings = LoadDirDeal;
    hooks.freeDirectorsDealings = FreeDirDealBlocks;
    hooks.clearPortfolioCashReferences = ClearPortfolioCashReferences;
    hooks.initGraphSetting = InitGraphSetting;
    hooks.initPresetGraphSetting = InitVexaGraphSetting;
    hooks.convertOldIndicatorRecords = ConvertOldIndicatorRecords;
    hooks.clearRetiredLineField = ClearRetiredLineField;
    hooks.initPivotPointSettings = InitPivotPointSettings;
    hooks.initSwingChartSettings = InitSwingChartSettings;
    hooks.initEventMarkerSettings = InitEventMarkerSettings;
}

void InstallStartUpSteps()
{
    steps::UpperSteps& upper = steps::UpperStartUpSteps();
    upper.installMarketGroupRows = [] { SetMarketGroupRows(MarketGroupRowsOf); };
    upper.upgradeOldPriceEdits = UpgradeOldPriceEdits;
    upper.initIndicatorLineStyles = InitIndicatorLineStyles;
    upper.loadGraphConfig = LoadGraphConfig;
    upper.fixOldTextSizes = FixOldTextSizes;
    upper.deleteGraphSettingRecords = DeleteGraphSettingRecords;
}

} // namespace

void InstallLayerHooks()
{
    InstallCoreHooks();
    InstallStartUpSteps();
    GetPortfolioRoutineHooks().refreshGroup = [](ShareList* list) { UpdateViewGroup(list, -1, false, false); };
}

} // namespace qv
