// Start-up to the main window on the demo data folder: the start-up order in-process with a headless
// host, and the whole program started offscreen and closed as soon as its main window stands.
#include "devtools/lib/ProgramFolder.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"
#include "shell/StartUp.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace {

class HeadlessHost : public qv::StartUpHost {
public:
    qv::ScreenInfo screen() const override { return {}; }
    void showSplash() override {}
    void endSplash() override {}
    void createFrameObject() override {}
    bool createFrameWindow(qv::CDoc&) override { return true; }
    int placeFrame(const qv::FramePlacement&) override { return 800; }
    void setFrameCaption(const std::string&) override {}
    void createLayoutWindows() override {}
    void rebuildMenuBarAndShow() override {}
    void showTipOfTheDay() override {}
    void postFrameCommand(uint32_t) override {}
    void checkBrowserVersion() override {}
};

struct DemoRun {
    qv::dev::TempFolder folder{"qv-bench-startup"};
    DemoRun()
    {
        qv::dev::WriteProgramFolder(folder / "demo");
        std::filesystem::create_directories(folder / "run");
        ::setenv("QV_CONFIG_HOME", (folder / "config").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (folder / "run").c_str(), 1);
    }
};

void BM_StartUpOrderToMainWindow(benchmark::State& state)
{
    DemoRun demo;
    qv::SetProgramFolder(demo.folder / "demo");
    HeadlessHost host;
    for (auto _ : state) {
        qv::ProgramState program;
        qv::RunStartUp(host, program, "/nologo");
        state.PauseTiming();
        qv::RunExit(program);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpOrderToMainWindow)->Unit(benchmark::kMillisecond);

// The program lies beside the benchmark's folder in the build tree.
std::filesystem::path ProgramPath()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "app" / "quorvantis";
}

void BM_ProgramStartToMainWindowAndClose(benchmark::State& state)
{
    DemoRun demo;
    std::filesystem::path program = ProgramPath();
    if (!std::filesystem::exists(program)) {
        state.SkipWithError("the program is not built");
        return;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QV_AUTO_ANSWER", "1", 1);
    ::setenv("QV_AUTO_EXIT_MS", "0", 1);
    std::string demoFolder = (demo.folder / "demo").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, demoFolder.c_str());
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string path = program.string();
    char nologo[] = "/nologo";
    char* argv[] = {path.data(), nologo, nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK(BM_ProgramStartToMainWindowAndClose)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
