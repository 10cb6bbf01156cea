// The configuration upgrade: each older version's corrections in ascending order.
#include "core/ConfigUpgrade.h"

#include "core/ConfigFile.h"
#include "core/ConfigFormat.h"
#include "core/ConfigState.h"
#include "core/RegistrySettings.h"
#include "core/UpperHooks.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

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

void UpgradeVersion3(uint8_t subVersion, Graphs& working)
{
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
    if (subVersion < 29)
        ForEachGraph(working, CoreUpperHooks().initPivotPointSettings);
    if (subVersion < 32)
        ForEachGraph(working, CoreUpperHooks().initSwingChartSettings);
    if (subVersion < 34)
        ForEachGraph(working, CoreUpperHooks().initEventMarkerSettings);
}

} // namespace

void UpgradeConfig()
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
    UpgradeVersion3(subVersion, working);
    config.dailyGraphs.records = working;
    SaveConfig(-1);
    config.version = kConfigVersion;
    config.subVersion = kConfigSubVersion;
}

} // namespace qv
