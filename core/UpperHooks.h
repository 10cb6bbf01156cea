// What the core asks of the folders above it: the list sort, which views show a list, directors'
// dealings, cash references held by portfolios, and the chart settings' defaults and upgrades.
// Those folders install them (app/LayerHooks); an empty hook is skipped.
#pragma once

#include <cstdint>
#include <functional>

namespace qv {

struct ShareList;
struct DataMiningGraph;
struct GraphSetting;

struct UpperHooks {
    // Sorts the list by its signed column (column + 1, negative for a falling order).
    std::function<void(ShareList* list, int signedColumn)> sortList;
    // The stored sort column of a table setting (signed as above; 0 none) and its column layout.
    std::function<int(int setting, int mode, int viewKind)> sortColumnSetting;
    std::function<const uint8_t*(int setting, int viewKind)> columnLayout;
    // The list's source changed under views that must load their rows again.
    std::function<void(ShareList* list)> reloadViews;
    // True when a data-mining view shows the list.
    std::function<bool(const ShareList* list)> shownByDataMining;
    std::function<void()> loadDirectorsDealings;
    std::function<void()> freeDirectorsDealings;
    // The cash account is gone: the portfolios' transactions no longer name it.
    std::function<void(uint32_t accountNumber)> clearPortfolioCashReferences;
    // Graph settings: the defaults of a setting and of an edition's preset, and the steps that
    // bring an older setting up to date.
    std::function<void(GraphSetting& record, bool intraday)> initGraphSetting;
    std::function<void(GraphSetting& record, int preset)> initPresetGraphSetting;
    std::function<void(GraphSetting& record)> convertOldIndicatorRecords;
    std::function<void(GraphSetting& record)> clearRetiredLineField;
    std::function<void(GraphSetting& record)> initPivotPointSettings;
    std::function<void(GraphSetting& record)> initSwingChartSettings;
    std::function<void(GraphSetting& record)> initEventMarkerSettings;
    // An older configuration's upgrade: the chart and ticker fonts reset to Arial for the screen's
    // pixels per inch, and the feed's two level words re-mapped from their older bit layout.
    std::function<void(int pixelsPerInchY)> resetFontsForScreen;
    std::function<void()> remapOldLevelWords;
    // The data-mining graph-settings record of a fresh configuration.
    std::function<void(DataMiningGraph& record)> initDataMiningGraph;
    // The program-wide option holders: taken from the option blocks after a whole configuration was
    // read (or defaults set), and put back into them before every save.
    std::function<void()> optionBlocksLoaded;
    std::function<void()> storeOptionBlocks;
};

UpperHooks& CoreUpperHooks();

// The installed defaults of a graph setting; the record is left as it is without them.
void InitGraphSettingDefaults(GraphSetting& record, bool intraday);
// The installed defaults of a data-mining graph record; left as it is without them.
void InitDataMiningGraphDefaults(DataMiningGraph& record);

} // namespace qv
