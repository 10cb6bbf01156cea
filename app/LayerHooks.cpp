// The lower folders' hooks, filled in with the higher folders' work.
#include "app/LayerHooks.h"

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/ChartFont.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/LineObjects.h"
#include "chartmodel/OldGraphConfig.h"
#include "chartmodel/OlderLineFiles.h"
#include "chartmodel/PortfolioSeriesCache.h"
#include "chartmodel/StudyKey.h"
#include "chartmodel/StudyKeyCollector.h"
#include "chartmodel/PriceEdits.h"
#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/ShareList.h"
#include "core/UpperHooks.h"
#include "datamining/DataMiningGraphs.h"
#include "datamining/FilterEvaluation.h"
#include "datamining/FilterValues.h"
#include "lists/ColumnCatalogues.h"
#include "lists/IntradayCellSources.h"
#include "lists/DirectorsDealings.h"
#include "lists/ListRows.h"
#include "lists/ListSort.h"
#include "news/NewsCells.h"
#include "news/NewsDatabase.h"
#include "news/NewsGroupList.h"
#include "news/NewsRealTime.h"
#include "news/NewsRecords.h"
#include "platform/DebugOutput.h"
#include "portfolio/CashReferences.h"
#include "portfolio/PortfolioRoutines.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/RTMarketTable.h"
#include "realtime/TickerFont.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTStoreHooks.h"
#include "shell/AppServices.h"
#include "shell/ColumnFormatter.h"
#include "shell/FeedClient.h"
#include "shell/FrameDialogSeams.h"
#include "shell/PortfolioAdd.h"
#include "shell/StartupChecks.h"
#include "shell/StartupSteps.h"
#include "shell/ViewGroups.h"
#include "tools/alarms/AlarmLines.h"
#include "tools/alarms/ShareAlarmRecord.h"
#include "tools/options/OptionSettings.h"
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
    hooks.resetFontsForScreen = [](int pixelsPerInchY) {
        ChartFont chart;
        chart.height = FontHeightForPoints(chart.points, pixelsPerInchY);
        WriteChartFont(Config().optionsA, chart);
        WriteTickerFont(Config().optionsB, DefaultTickerFont());
    };
    hooks.remapOldLevelWords = [] { RemapOldLevelWords(Config().optionsA); };
    hooks.optionBlocksLoaded = [] { LoadOptionHolders(Config()); };
    hooks.storeOptionBlocks = [] { StoreOptionHolders(Config()); };
}

void InstallStartUpSteps()
{
    steps::UpperSteps& upper = steps::UpperStartUpSteps();
    upper.installMarketGroupRows = [] {
        SetMarketGroupRows(MarketGroupRowsOf);
        SetShareFieldText(ShareColumnText);
    };
    upper.upgradeOldPriceEdits = UpgradeOldPriceEdits;
    upper.initIndicatorLineStyles = InitIndicatorLineStyles;
    upper.loadGraphConfig = LoadGraphConfig;
    upper.fixOldTextSizes = FixOldTextSizes;
    upper.breadthStudyKey = BreadthStudyKeyOf;
    upper.mergeOlderLineFiles = [](KeyedItemStore& store) {
        MergeOlderLineFiles(store, BuildSortedDayList(TheRTStore().days));
    };
    upper.collectStudyKeys = [] { CollectStudyKeys(); };
    upper.deleteGraphSettingRecords = DeleteGraphSettingRecords;
    upper.setOptionDefaults = [] { SetOptionBlockDefaults(Config()); };
    upper.applyOldOptionDefaults = ApplyOldOptionDefaults;
}

// The news database merges the update files at start-up, is saved and freed at exit, and tells the
// frame's command rules whether it is loaded and holds changed search texts.
void InstallNewsHooks()
{
    SetNewsMergeHost(&NewsDatabaseMergeHost());
    InstallNewsCells();
    SetGroupNewsFreer(FreeGroupNewsList);
    steps::UpperStartUpSteps().saveNewsDatabase = [] {
        NewsDatabase& news = TheNewsDatabase();
        if (news.loaded() && news.save(false) != SaveResult::Saved)
            OutputDebugText("News catalogue not saved at exit; the previous one stays");
        news.free();
        TheRealTimeNewsTable().clear();
    };
    FrameDialogs().newsLoaded = [] { return TheNewsDatabase().loaded(); };
    FrameDialogs().newsModified = [] {
        return TheNewsDatabase().loaded() && TheNewsDatabase().catalogue().header.u32(news_header::kSearchTextCount) > 0;
    };
}

// The intraday store answers the lists' row loader and the after-load question whether it exists.
void InstallIntradayHooks()
{
    SetIntradayRowLoader(RTShareHasIntraday);
    AfterLoad().intradayStoreExists = RTStoreExists;
    InstallIntradayCellSources();
    InstallFeedClient();
}

// After a load or an import the filters' candidates are rebuilt, which marks the filter-driven
// portfolio for refilling; a list showing it refills it through its filter.
void InstallDataMiningHooks()
{
    InstallColumnCatalogues(); // the criteria read list cells through the catalogue's templates
    CoreUpperHooks().initDataMiningGraph = [](DataMiningGraph& record) { DefaultDataMiningGraphSettings().Write(record); };
    AfterLoad().dataMining = RebuildFilterCandidates;
    SetFilterPortfolioFill([](Portfolio* portfolio) { FillFilterPortfolio(CurrentFilter(), portfolio); });
}

} // namespace

void InstallLayerHooks()
{
    InstallDataMiningHooks();
    InstallCoreHooks();
    InstallStartUpSteps();
    InstallIntradayHooks();
    InstallNewsHooks();
    GetPortfolioRoutineHooks().refreshGroup = [](ShareList* list) { UpdateViewGroup(list, -1, false, false); };
    GetPortfolioRoutineHooks().portfolioDeleted = [](uint16_t number) { TheRTMarketTable().RemoveShare(number); };
    AfterLoad().marketTable = [] {
        TheRTMarketTable().NameSources([](uint16_t number) -> std::optional<std::string> {
            const Portfolio* p = FindPortfolioByNumber(number);
            return p ? std::optional<std::string>(p->name.c_str()) : std::nullopt;
        });
    };
    GetAlarmPortfolioHooks().moveTest = ProgramMoveTest;
    GetAlarmPortfolioHooks().shareAlarms = ReadStoredShareAlarms;
    GetAlarmPortfolioHooks().dealing = ProgramShareDealing;
    // The company's web and e-mail addresses (columns 113 and 114) as the list tables show them.
    FrameDialogs().shareColumnText = [](const RecordCursor& share, int column) {
        return FormatShareField(share, uint32_t(column));
    };
    // A load or an import brings new prices: every breadth series is built again when next drawn.
    AfterLoad().portfolioSeries = [] { SeriesCache().Clear(); };
    // A changed portfolio's breadth entry is dropped, so the pane that shows it counts the
    // portfolio's present shares again when it next rebuilds.
    PortfolioChangeListener() = [](const Portfolio* portfolio) {
        if (!portfolio) {
            SeriesCache().Clear();
            return;
        }
        SeriesCache().InvalidatePortfolio(*portfolio);
        TheRTMarketTable().ForgetPortfolio(portfolio->number);
    };
}

} // namespace qv
