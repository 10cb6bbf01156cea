// The configuration upgrade: each older version's corrections in ascending order.
#include "core/ConfigUpgrade.h"

#include "core/ConfigFile.h"
#include "core/ConfigFormat.h"
#include "core/ConfigState.h"
#include "core/RegistrySettings.h"
#include "core/UpperHooks.h"
#include "core/VexaEdition.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <string>

namespace qv {
namespace {

constexpr const char* kOldServersSection = "RTComms";
constexpr std::array<const char*, 3> kAddressNames{"IPAddress1", "IPAddress2", "IPAddress3"};
constexpr std::array<const char*, 3> kPortNames{"IPAddPort1", "IPAddPort2", "IPAddPort3"};
constexpr std::array<const char*, kTradeTableKinds> kTradeKindWords{"Trade", "Quote", "T & Q"};
constexpr size_t kMaxTradeTableName = 15;

using Graphs = std::array<GraphSetting, kSettingSlots>;

void ForEachGraph(Graphs& working, const std::function<void(GraphSetting&)>& apply)
{
    if (!apply)
        return;
    for (GraphSetting& record : working)
        apply(record);
    for (GraphSetting& record : Config().intradayGraphs.records)
        apply(record);
}

void WriteServer(int i)
{
    Registry& registry = Registry::Instance();
    registry.setString(kOldServersSection, kAddressNames[size_t(i)], DefaultRealTimeAddresses()[size_t(i)]);
    registry.setString(kOldServersSection, kPortNames[size_t(i)], std::to_string(RealTimeServers::kDefaultPort));
}

void NameTradeTables()
{
    for (size_t kind = 0; kind < kTradeKindWords.size(); ++kind) {
        for (size_t i = 0; i < kSettingSlots; ++i) {
            char text[32];
            std::snprintf(text, sizeof text, "%s table %d", kTradeKindWords[kind], int(i + 1));
            Config().tradeTables[kind * kSettingSlots + i].name = std::string(text).substr(0, kMaxTradeTableName);
        }
    }
}

// Version 1 kept its own sub-versions; the news index of those versions must be built again.
void UpgradeVersion1(uint8_t subVersion)
{
    if (subVersion < 13)
        ForceDelete(AppPath("data\\News\\INews.dat"));
}

uint8_t* OptionsA() { return Config().optionsA.data(); }

void ClearOptionBytes(size_t from, size_t to)
{
    std::fill(OptionsA() + from, OptionsA() + to, uint8_t(0));
}

// The option bytes an older file predates: what an older program kept at those places (if anything)
// means nothing here, so they take a fresh configuration's values.
void ClearOptionsAddedAt21To23(uint8_t subVersion)
{
    using A = OptionBlockA;
    if (subVersion < 21)
        ClearOptionBytes(A::kGridListLines, A::kPriceListFlags + 1);
    if (subVersion < 22)
        ClearOptionBytes(A::kFindUseEpic, A::kFindShowAlphabet + 1);
    if (subVersion < 23)
        ClearOptionBytes(A::kColourPalette, A::kGridListLines); // the palette and the previous colours
}

// A chart copied as a picture of the window, printed upright; a fixed copy size of 600 x 400.
void SetCopyAndPrintDefaults()
{
    using A = OptionBlockA;
    OptionsA()[A::kClipboardFlags] = 0;
    OptionsA()[A::kPrintLandscape] = 0;
    StoreU16(OptionsA() + A::kClipboardWidth, 600);
    StoreU16(OptionsA() + A::kClipboardHeight, 400);
}

void UpgradeVersion3(uint8_t subVersion, Graphs& working, int pixelsPerInchY)
{
    ClearOptionsAddedAt21To23(subVersion);
    if (subVersion < 24) {
        WriteServer(2);
        NameTradeTables();
    }
    if (subVersion < 26) {
        for (int i = 0; i < 3; ++i)
            WriteServer(i);
        LoadRealTimeServers();
    }
    if (subVersion < 27) {
        if (subVersion == 26)
            ForceDelete(AppPath("RTLines.cfg"));
        ForEachGraph(working, CoreUpperHooks().clearRetiredLineField);
    }
    if (subVersion < 28)
        SetCopyAndPrintDefaults();
    if (subVersion < 29)
        ForEachGraph(working, CoreUpperHooks().initPivotPointSettings);
    // Below 30 the colour sets the legend's four text and background pairs start from live in the
    // registry, and take their defaults wherever no legend style was stored: nothing to write here.
    if (subVersion < 31)
        if (const auto& remap = CoreUpperHooks().remapOldLevelWords)
            remap();
    if (subVersion < 32) {
        if (const auto& reset = CoreUpperHooks().resetFontsForScreen)
            reset(pixelsPerInchY);
        ForEachGraph(working, CoreUpperHooks().initSwingChartSettings);
    }
    if (subVersion < 33)
        OptionsA()[kEditionOptionPlace] = 0;
    if (subVersion < 34)
        ForEachGraph(working, CoreUpperHooks().initEventMarkerSettings);
}

} // namespace

void UpgradeConfig(int pixelsPerInchY)
{
    ConfigState& config = Config();
    if (config.version >= kConfigVersion && config.subVersion >= kConfigSubVersion)
        return;
    Graphs working = config.dailyGraphs.records;
    uint8_t subVersion = config.subVersion;
    if (config.version == 1)
        UpgradeVersion1(subVersion);
    if (config.version < kConfigVersion) {
        if (const auto& convert = CoreUpperHooks().convertOldIndicatorRecords)
            for (GraphSetting& record : working)
                convert(record);
        // The version-3 corrections all apply to a converted file.
        subVersion = 0;
    }
    // The option holders carry the blocks' values (and what start-up has mended since the load) into
    // the blocks, take the corrected blocks back, and so store them with the save.
    if (const auto& store = CoreUpperHooks().storeOptionBlocks)
        store();
    UpgradeVersion3(subVersion, working, pixelsPerInchY);
    if (const auto& loaded = CoreUpperHooks().optionBlocksLoaded)
        loaded();
    config.dailyGraphs.records = working;
    SaveConfig(-1);
    config.version = kConfigVersion;
    config.subVersion = kConfigSubVersion;
}

} // namespace qv
