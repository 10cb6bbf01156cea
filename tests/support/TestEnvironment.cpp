// Test process set-up, and the reset of process-wide state before each test.
#include "support/TestEnvironment.h"

#include "app/LayerHooks.h"
#include "core/ConfigFamilies.h"
#include "core/ConfigFile.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/SettingRecordStore.h"
#include "core/ShareList.h"
#include "lists/ListSettings.h"
#include "platform/ProgramExit.h"
#include "realtime/store/RTStore.h"
#include "shell/KeyTable.h"
#include "shell/PortfolioAdd.h"
#include "shell/SoftMenu.h"
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
