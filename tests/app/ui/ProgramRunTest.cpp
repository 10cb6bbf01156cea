// The real program started as a user would, offscreen with every box answered by its default: it
// reaches its main window over a demo folder, a second copy ends with code 3 (or goes on with
// "/m:57"), the files its exit writes are read back by the next start, and settings it changes are
// there at the next start.
#include "core/ConfigFormat.h"
#include "core/ConfigState.h"
#include "devtools/lib/ProgramFolder.h"
#include "platform/ByteOrder.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Registry.h"
#include "shell/ProgramPassword.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

const QString kProgram = QStringLiteral(QV_BINARY_DIR "/app/quorvantis");
const char* const kTips = QV_SOURCE_DIR "/resources/Quorvantis Zoze Tips.txt";

struct RunResult {
    int exitCode = -1;
    QString errors; // standard error: the boxes' texts and the tip
};

class ProgramRun : public ::testing::Test {
protected:
    ProgramRun()
    {
        std::filesystem::create_directories(folder / "run");
        std::filesystem::permissions(folder / "run", std::filesystem::perms::owner_all);
        EXPECT_TRUE(qv::dev::WriteProgramFolder(folder / "demo", kTips));
    }

    QProcess* Start(const QStringList& args, int autoExitMs, const QString& renderDir = {})
    {
        auto* process = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        env.insert(QStringLiteral("QV_AUTO_ANSWER"), QStringLiteral("1"));
        env.insert(QStringLiteral("QV_AUTO_EXIT_MS"), QString::number(autoExitMs));
        env.insert(QStringLiteral("QV_CONFIG_HOME"), QString::fromStdString((folder / "config").string()));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString((folder / "run").string()));
        env.remove(QStringLiteral("QV_RENDER_DIR"));
        if (!renderDir.isEmpty())
            env.insert(QStringLiteral("QV_RENDER_DIR"), renderDir);
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(QString::fromStdString((folder / "demo").string()));
        process->start(kProgram, args);
        EXPECT_TRUE(process->waitForStarted(60000));
        processes_.emplace_back(process);
        return process;
    }

    static RunResult Finish(QProcess* process)
    {
        EXPECT_TRUE(process->waitForFinished(60000));
        return {process->exitCode(), QString::fromLocal8Bit(process->readAllStandardError())};
    }

    RunResult Run(const QStringList& args = {}, int autoExitMs = 200, const QString& renderDir = {})
    {
        return Finish(Start(args, autoExitMs, renderDir));
    }

    static QByteArray Contents(const std::filesystem::path& file)
    {
        QFile in(QString::fromStdString(file.string()));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    static QString TipShown(const RunResult& run)
    {
        qsizetype at = run.errors.indexOf(QStringLiteral("Tip of the Day: "));
        return at < 0 ? QString() : run.errors.mid(at).section(QLatin1Char('\n'), 0, 0);
    }

    qv::dev::TempFolder folder{"qv-program"};
    QString platform = QStringLiteral("offscreen");

private:
    std::vector<std::unique_ptr<QProcess>> processes_;
};

} // namespace

TEST_F(ProgramRun, StartsOnTheDemoFolderAndSavesItsRenders)
{
    QString renders = QStringLiteral(QV_RENDER_DIR "/program");
    QDir(renders).removeRecursively();
    RunResult run = Run({}, 200, renders);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains(QStringLiteral("Tip of the Day: "))) << run.errors.toStdString();
    EXPECT_TRUE(QFile::exists(renders + QStringLiteral("/splash.png")));
    EXPECT_TRUE(QFile::exists(renders + QStringLiteral("/main-window.png")));
    for (const char* saved : {"Quorva.cfg", "View.cfg", "Filter.cfg"})
        EXPECT_TRUE(std::filesystem::exists(folder / "demo" / saved)) << saved;

    RunResult quiet = Run({QStringLiteral("/nologo")});
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_FALSE(quiet.errors.contains(QStringLiteral("Tip of the Day: "))) << quiet.errors.toStdString();
}

TEST_F(ProgramRun, TheFilesTheExitWritesAreReadBackByTheNextStartWithoutABox)
{
    RunResult first = Run();
    EXPECT_EQ(first.exitCode, 0) << first.errors.toStdString();
    EXPECT_FALSE(first.errors.contains(QStringLiteral("[message]"))) << first.errors.toStdString();
    const std::filesystem::path demo = folder / "demo";
    const std::vector<std::filesystem::path> saved{"Quorva.cfg", "View.cfg",  "Filter.cfg",       "Graph.cfg",
                                                   "EditPrice.cfg", "data/Cash.dat", "data/Imports.dat"};
    std::vector<QByteArray> before;
    for (const std::filesystem::path& name : saved) {
        EXPECT_TRUE(std::filesystem::exists(demo / name)) << name;
        before.push_back(Contents(demo / name));
    }

    // Every box goes to standard error: the second start finds nothing to complain of, and writes
    // back what it read.
    RunResult second = Run();
    EXPECT_EQ(second.exitCode, 0) << second.errors.toStdString();
    EXPECT_FALSE(second.errors.contains(QStringLiteral("[message]"))) << second.errors.toStdString();
    for (size_t i : {size_t(0), size_t(2), size_t(5), size_t(6)})
        EXPECT_EQ(Contents(demo / saved[i]), before[i]) << saved[i];
    // The tip of the day moves on at each start.
    EXPECT_FALSE(TipShown(first).isEmpty());
    EXPECT_FALSE(TipShown(second).isEmpty());
    EXPECT_NE(TipShown(first), TipShown(second));
}

TEST_F(ProgramRun, TheWindowPlacementOfOneRunIsThereAtTheNextStart)
{
    // The first run is placed by the command line; closing stores the place, and the next start,
    // told nothing, puts the window there instead of maximising it.
    QString firstRenders = QString::fromStdString((folder / "first").string());
    RunResult first = Run({QStringLiteral("/nologo"), QStringLiteral("/C:10,20,640,480")}, 200, firstRenders);
    EXPECT_EQ(first.exitCode, 0) << first.errors.toStdString();
    EXPECT_EQ(QImage(firstRenders + QStringLiteral("/main-window.png")).size(), QSize(640, 480));

    QString secondRenders = QString::fromStdString((folder / "second").string());
    RunResult second = Run({QStringLiteral("/nologo")}, 200, secondRenders);
    EXPECT_EQ(second.exitCode, 0) << second.errors.toStdString();
    EXPECT_EQ(QImage(secondRenders + QStringLiteral("/main-window.png")).size(), QSize(640, 480));
}

TEST_F(ProgramRun, ASecondCopyEndsWithCodeThreeAndGoesOnWithM57)
{
    QString renders = QString::fromStdString((folder / "first").string());
    QProcess* first = Start({QStringLiteral("/nologo")}, 600000, renders); // ended below
    // The first copy has its main window once it has saved the window's render.
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(renders + QStringLiteral("/main-window.png")) && waited.elapsed() < 120000) // a hang guard
        QThread::msleep(20);
    ASSERT_TRUE(QFile::exists(renders + QStringLiteral("/main-window.png")));

    RunResult second = Run({QStringLiteral("/nologo")});
    EXPECT_EQ(second.exitCode, 3);
    EXPECT_TRUE(second.errors.contains(QStringLiteral("A copy of Quorvantis is already running, loading or closing")))
        << second.errors.toStdString();

    RunResult told = Run({QStringLiteral("/nologo"), QStringLiteral("/m:57")});
    EXPECT_EQ(told.exitCode, 0) << told.errors.toStdString();
    EXPECT_TRUE(told.errors.contains(QStringLiteral("A copy of Quorvantis is already running")));

    first->terminate();
    Finish(first);
}

TEST_F(ProgramRun, TheResolutionAdviceCounterSurvivesARestart)
{
    // A 640 x 480 screen: the first start advises and counts; the next start remembers it.
    std::filesystem::path screens = folder / "screens.json";
    {
        std::ofstream out(screens);
        out << R"({"screens": [{"name": "narrow", "x": 0, "y": 0, "width": 640, "height": 480,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    }
    platform = QStringLiteral("offscreen:configfile=") + QString::fromStdString(screens.string());
    const QString advice = QStringLiteral("screen resolution of 800 x 600 or more");

    RunResult firstRun = Run({QStringLiteral("/nologo")});
    EXPECT_EQ(firstRun.exitCode, 0) << firstRun.errors.toStdString();
    EXPECT_TRUE(firstRun.errors.contains(advice)) << firstRun.errors.toStdString();

    RunResult secondRun = Run({QStringLiteral("/nologo")});
    EXPECT_EQ(secondRun.exitCode, 0);
    EXPECT_FALSE(secondRun.errors.contains(advice)) << secondRun.errors.toStdString();
}

TEST_F(ProgramRun, AProgramPasswordIsAskedBeforeTheMainWindowAndUnansweredEndsTheRun)
{
    QString renders = QString::fromStdString((folder / "locked").string());
    {
        qv::Registry registry(folder / "config" / "registry.ini");
        registry.setString(qv::kPasswordSection, qv::kPasswordValue, qv::EncodePassword(qv::MakeOnFlag(5), "OPEN"));
    }
    RunResult locked = Run({QStringLiteral("/nologo")}, 200, renders);
    EXPECT_EQ(locked.exitCode, 5) << locked.errors.toStdString();
    EXPECT_TRUE(locked.errors.contains(QStringLiteral("Dialog: Please enter password"))) << locked.errors.toStdString();
    EXPECT_FALSE(QFile::exists(renders + QStringLiteral("/main-window.png")));
}

TEST_F(ProgramRun, AFirstStartAndTheNextShowTheSameDataWindow)
{
    // No configuration yet: the window shows its list's own source, not an empty pre-set portfolio,
    // and the exit stores no pre-set that the next start would show instead.
    const QString renders = QStringLiteral(QV_RENDER_DIR "/first-start");
    QDir(renders).removeRecursively();
    RunResult first = Run({QStringLiteral("/nologo")}, 400, renders + QStringLiteral("/first"));
    ASSERT_EQ(first.exitCode, 0) << first.errors.toStdString();
    RunResult second = Run({QStringLiteral("/nologo")}, 400, renders + QStringLiteral("/second"));
    ASSERT_EQ(second.exitCode, 0) << second.errors.toStdString();
    const QImage once(renders + QStringLiteral("/first/main-window.png"));
    const QImage again(renders + QStringLiteral("/second/main-window.png"));
    ASSERT_FALSE(once.isNull());
    EXPECT_EQ(once, again) << "the second start shows another window";
    // A chart of prices: the middle of the window holds the bars' ink, far more than the few letters
    // of "No price data" on an empty list's chart.
    int ink = 0, seen = 0;
    for (int y = once.height() / 4; y < once.height() / 2; y += 2)
        for (int x = once.width() / 8; x < once.width() * 3 / 4; x += 2, ++seen)
            ink += qGray(once.pixel(x, y)) < 128;
    EXPECT_GT(ink * 100, seen) << "the first window shows no prices";
    // The exit stored no current portfolio (-1 at offset 120 of the first option block).
    const QByteArray cfg = Contents(folder / "demo" / "Quorva.cfg");
    qv::ConfigState state;
    qv::ReadConfigImage(state, std::span(reinterpret_cast<const uint8_t*>(cfg.data()), size_t(cfg.size())), -1);
    EXPECT_EQ(qv::LoadU32(state.optionsA.data() + qv::OptionBlockA::kCurrentPortfolio), 0xFFFFFFFFu);
}
