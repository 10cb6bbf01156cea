// Start-up to the main window on the demo data folder: the start-up order in-process with a headless
// host (starts on a folder started from before, and the first start on a new folder), the whole program
// started offscreen and closed as soon as its main window stands, and qvtool started for its shortest
// verb (what loading the libraries costs a program that links the windows); beside them the floor:
// /bin/true and an empty Qt Widgets window program started the same way.
#include "devtools/lib/ProgramFolder.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"
#include "shell/StartUp.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

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

// One start to the main window, and the exit untimed.
void StartAndExit(benchmark::State& state, qv::StartUpHost& host)
{
    qv::ProgramState program;
    qv::RunStartUp(host, program, "/nologo");
    state.PauseTiming();
    qv::RunExit(program);
    state.ResumeTiming();
}

// Starts on a folder started from before. The first start on a folder merges the demo's news updates
// into the news files, which a folder does once: it is timed apart (below), so that this figure does
// not hang on how many starts share that one merge.
void BM_StartUpOrderToMainWindow(benchmark::State& state)
{
    DemoRun demo;
    qv::SetProgramFolder(demo.folder / "demo");
    HeadlessHost host;
    {
        qv::ProgramState program;
        qv::RunStartUp(host, program, "/nologo");
        qv::RunExit(program);
    }
    for (auto _ : state)
        StartAndExit(state, host);
}
BENCHMARK(BM_StartUpOrderToMainWindow)->Unit(benchmark::kMillisecond);

// The first start on a new demo folder, its news merge included.
void BM_StartUpOrderFirstOnNewFolder(benchmark::State& state)
{
    HeadlessHost host;
    for (auto _ : state) {
        state.PauseTiming();
        auto demo = std::make_unique<DemoRun>();
        qv::SetProgramFolder(demo->folder / "demo");
        state.ResumeTiming();
        StartAndExit(state, host);
        state.PauseTiming();
        demo.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpOrderFirstOnNewFolder)->Unit(benchmark::kMillisecond)->Iterations(5);

// The programs lie beside the benchmark's folder in the build tree.
std::filesystem::path BuildTree()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
}

// Starts `program` in `folder` once an iteration and waits for it to end. On a loaded machine the
// mean says more about the load than the program: the best run and the program's own processor time
// (user and system, from its rusage) go beside it.
void RunProgramEachIteration(benchmark::State& state, const std::filesystem::path& program,
                             std::vector<std::string> args, const std::string& folder)
{
    if (!std::filesystem::exists(program)) {
        state.SkipWithError("the program is not built");
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string path = program.string();
    std::vector<char*> argv{path.data()};
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    double best = std::numeric_limits<double>::max();
    double cpu = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        cpu += (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    }
    posix_spawn_file_actions_destroy(&actions);
    state.counters["best_ms"] = best;
    state.counters["cpu_ms"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

void BM_ProgramStartToMainWindowAndClose(benchmark::State& state)
{
    DemoRun demo;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QV_AUTO_ANSWER", "1", 1);
    ::setenv("QV_AUTO_EXIT_MS", "0", 1);
    RunProgramEachIteration(state, BuildTree() / "app" / "quorvantis", {"/nologo"}, (demo.folder / "demo").string());
}
BENCHMARK(BM_ProgramStartToMainWindowAndClose)->Unit(benchmark::kMillisecond)->Iterations(20);

// The floor under the two above on the same machine: starting a program that does nothing, and a
// Qt Widgets program that shows one empty window offscreen and closes.
void BM_TrueProgram(benchmark::State& state) { RunProgramEachIteration(state, "/bin/true", {}, {}); }
BENCHMARK(BM_TrueProgram)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_EmptyQtWindowProgram(benchmark::State& state)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    RunProgramEachIteration(state, BuildTree() / "bench" / "qvemptywindow", {}, {});
}
BENCHMARK(BM_EmptyQtWindowProgram)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_QvtoolDemoVersion(benchmark::State& state)
{
    RunProgramEachIteration(state, BuildTree() / "devtools" / "qvtool", {"demo-version"}, {});
}
BENCHMARK(BM_QvtoolDemoVersion)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
