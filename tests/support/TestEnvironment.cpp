// Test process set-up, and the reset of process-wide state before each test.
#include "support/TestEnvironment.h"

#include "app/LayerHooks.h"
#include "core/ConfigFamilies.h"
#include "core/ConfigFile.h"
#include "core/ConfigState.h"
#include "core/FormatNumber.h"
#include "core/Portfolio.h"
#include "core/SectorFilter.h"
#include "core/SettingRecordStore.h"
#include "core/VexaEdition.h"
#include "core/ShareList.h"
#include "lists/CellNumber.h"
#include "lists/HoldList.h"
#include "lists/ListOptions.h"
#include "lists/ListSettings.h"
#include "lists/ListViewOptions.h"
#include "lists/SectorChoice.h"
#include "lists/ViewHold.h"
#include "platform/ProgramExit.h"
#include "chartmodel/ViewGraph.h"
#include "realtime/feed/RTReconnect.h"
#include "realtime/store/RTStore.h"
#include "shell/ColumnFormatter.h"
#include "shell/KeyTable.h"
#include "shell/PortfolioAdd.h"
#include "shell/SoftMenu.h"
#include "shell/StatusPaneTexts.h"
#include "views/FrameState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace qv::test {

namespace {

// Process-wide state one test may leave behind: each test starts as in a fresh process (as CTest
// runs it), whatever ran before it in the same program.
class ProcessCacheReset : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override
    {
        FreeSettingLayouts();
        Config() = ConfigState{};
        ResetAllConfigFamilies(Config());
        // The edition's settings stand in the configuration's slots, and keep the user's aside.
        FreeVexaTables();
        SettingRecords().load({});
        SetSoftMenuKeyTable(nullptr);
        MainFrameState() = FrameState{};
        BusyFlag = DeferredFlag = 0;
        ModalCount = 0;
        SetConfigSavingDisabled(false);
        ClearProgramFault();
        SetConfigLoadDeclined(false);
        KeyTable().clear();
        PortfolioChain() = nullptr;
        LastChosenPortfolio() = nullptr;
        CurrentShareList() = nullptr;
        ShareListChain() = nullptr;
        ResetRTStore();
        DestroyRTStoreObjects();
        SetRTDatabaseLookup(nullptr);
        ResetProgramChoices();
    }

    // The choices a user makes through menu commands live in the program until it ends: a test that
    // runs commands (the menu sweep runs every one) leaves the filter "New Lows", abbreviations
    // expanded or a count of failed reconnects, which the next test would take for the defaults. So
    // would the formatters a test installs with the real list views stand in for the plain ones.
    static void ResetProgramChoices()
    {
        SectorFilterDefaults() = SectorFilter{};
        SetFixedSectorFilter(false);
        LastSectorChoice() = SectorChoice{};
        CurrentListOptions() = ListOptions{};
        ForgetListRows();
        CurrentListViewOptions() = ListViewOptions{};
        CurrentCellSettings() = CellSettings{};
        CurrentFormatOptions() = FormatOptions{};
        HoldOptions() = HoldOptionFlags{};
        ExpandAbbreviations() = false;
        ChartOptions() = ChartViewOptions{};
        RTReconnectState& reconnect = TheRTReconnect();
        reconnect.userStopped = false;
        reconnect.commandStopped = false;
        reconnect.attempts = 0;
        reconnect.scheduled = false;
        SetColumnFormatter({});
        SetPaneTextSource({});
    }
};

} // namespace

void PrepareTestEnvironment()
{
    auto folder = std::filesystem::temp_directory_path() / ("qvtests-config-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ::setenv("QV_CONFIG_HOME", folder.c_str(), 1);
    ::unsetenv("QV_AUTO_ANSWER");
    InstallLayerHooks();
    testing::UnitTest::GetInstance()->listeners().Append(new ProcessCacheReset);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(std::getenv("QV_CONFIG_HOME"), ec);
    });
}

} // namespace qv::test
