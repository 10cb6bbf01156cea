// The document window on the real web engine, loaded from its plug-in in the build tree as the program
// loads it, which needs a display (run under Xvfb): a demo form
// filled in and submitted becomes a message in the outgoing mailbox and the thanks page, a missing
// field is listed, the window takes each size mode, and a hostile page reaches no file, command, form
// or web address without the user's click; renders of the windows go to build/renders.
#include "app/ui/WindowLayerHooks.h"
#include "devtools/lib/InfoCentreWriter.h"
#include "devtools/lib/TempFolder.h"
#include "infocentre/FormMessage.h"
#include "infocentre/InCStore.h"
#include "infocentre/ui/HtmlCtrl.h"
#include "infocentre/ui/InCDocDlg.h"
#include "platform/FileOps.h"
#include "platform/MessageDispatch.h"
#include "platform/Paths.h"
#include "resources/MessageIds.h"
#include "shell/FrameCommands.h"
#include "shell/FrameDialogSeams.h"
#include "shell/TimerCallbacks.h"
#include "support/FakeMessageBox.h"
#include "support/PrivateRegistry.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace qv;

namespace {

namespace fs = std::filesystem;

struct WindowHost : InCStoreHost {
    std::unique_ptr<InCDocumentWindow> CreateDocumentWindow(CInCStore& store, uint16_t number,
                                                            const InCDocSummary& summary, bool autoView) override
    {
        auto window = std::make_unique<CInCDocDlg>(store, number, summary, autoView);
        if (!window->Open())
            return nullptr;
        return window;
    }
    void InfoCentreLoaded(bool) override {}
};

// Waits, handling events, until the test holds or the time is up.
template <class Test>
bool WaitFor(Test test, int ms = 60000)
{
    QElapsedTimer timer;
    timer.start();
    while (!test()) {
        if (timer.elapsed() > ms)
            return false;
        QTest::qWait(50);
    }
    return true;
}

std::vector<fs::path> Messages(const fs::path& program)
{
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(program / "MAILBOX" / "OUT", error))
        if (entry.path().extension() == ".MBO")
            found.push_back(entry.path());
    return found;
}

void SaveWindowRender(QWidget& window, const char* name)
{
    // The engine paints a frame or two after the load has finished.
    QTest::qWait(500);
    QDir().mkpath(QV_RENDER_DIR);
    window.grab().toImage().save(QString(QV_RENDER_DIR) + "/" + name + ".png");
}

// What a script in the page gives back.
QVariant Evaluate(CInCDocDlg& window, const QString& script)
{
    QVariant result;
    bool done = false;
    window.control().RunScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    WaitFor([&] { return done; });
    return result;
}

// Clicks the element as the user does: the mouse pressed and released on its middle.
void ClickElement(CInCDocDlg& window, const QString& selector)
{
    CHtmlCtrl& control = window.control();
    QWidget* view = control.View();
    ASSERT_NE(view, nullptr);
    const QVariantList centre = Evaluate(window, "(function () { var r = document.querySelector('" + selector +
                                                     "').getBoundingClientRect();"
                                                     " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                                    .toList();
    ASSERT_EQ(centre.size(), 2) << selector.toStdString();
    const QPoint at(int(centre[0].toDouble() * control.ZoomFactor()), int(centre[1].toDouble() * control.ZoomFactor()));
    QWidget* input = view->focusProxy() ? view->focusProxy() : view;
    QTest::mouseMove(input, at);
    QTest::mousePress(input, Qt::LeftButton, {}, at);
    QTest::qWait(50);
    QTest::mouseRelease(input, Qt::LeftButton, {}, at);
}

// Stands for the main window: the commands posted to it.
struct FrameRecorder : MessageTarget {
    std::vector<uint32_t> commands;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t) override
    {
        if (message == WM_COMMAND)
            commands.push_back(uint32_t(wParam));
        return 0;
    }
};

struct DocWindows : ::testing::Test {
    dev::TempFolder folder{"incweb"};
    fs::path previous = ProgramFolder();
    test::PrivateRegistry registry;
    test::FakeMessageBox messages;
    WindowHost host;
    std::unique_ptr<CInCStore> store;

    void SetUp() override
    {
        ClearTimerCallbacks();
        SetProgramFolder(folder.path());
        fs::create_directories(folder / "MAILBOX" / "OUT");
        ASSERT_TRUE(dev::WriteDemoInfoCentre(folder / "Data" / "Content"));
        store = std::make_unique<CInCStore>(folder / "Data" / "Content", false, &host);
        ASSERT_TRUE(store->LoadIndex());
    }
    void TearDown() override
    {
        store.reset();
        ClearTimerCallbacks();
        SetProgramFolder(previous);
    }
    CInCDocDlg* Open(uint16_t number)
    {
        EXPECT_TRUE(store->OpenDocument(number, false)) << number;
        auto* window = dynamic_cast<CInCDocDlg*>(store->Window(number));
        if (window) {
            QSignalSpy loaded(&window->control(), &CHtmlCtrl::loadFinished);
            EXPECT_TRUE(loaded.wait(60000)) << "document " << number << " did not load";
        }
        return window;
    }
};

} // namespace

TEST_F(DocWindows, AFilledFormBecomesAMessageAndAMissingFieldIsListed)
{
    CInCDocDlg* window = Open(30);
    ASSERT_NE(window, nullptr);
    SaveWindowRender(*window, "InCDocumentForm");

    ClickElement(*window, "input[type=submit]");
    ASSERT_TRUE(WaitFor([&] { return !messages.texts().empty(); }));
    EXPECT_NE(messages.texts()[0].find("Your name\nYour email address\n"), std::string::npos) << messages.texts()[0];
    EXPECT_TRUE(Messages(folder.path()).empty());

    QSignalSpy thanks(&window->control(), &CHtmlCtrl::loadFinished);
    window->control().RunScript("document.querySelector('input[name=name]').value = 'Ann Example';"
                                "document.querySelector('input[name=email]').value = 'ann@example.com';"
                                "document.querySelectorAll('input[name=interest]').forEach(function (b) { b.checked = true; });");
    ClickElement(*window, "input[type=submit]");
    ASSERT_TRUE(WaitFor([&] { return !Messages(folder.path()).empty(); }));
    const auto bytes = ReadFileBytes(Messages(folder.path()).front());
    ASSERT_TRUE(bytes);
    const auto message = ParseFormMessage(*bytes);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->destination, "forms@quorvantis.example");
    EXPECT_EQ(message->body, "\"Ann Example\",\"ann@example.com\",\"shares,funds\"");
    EXPECT_TRUE(!thanks.isEmpty() || thanks.wait(60000));
    EXPECT_FALSE(fs::exists(folder / "Data" / "Content" / "000300.new")) << "the page went into the message";
    InCEntryHead head;
    ASSERT_TRUE(store->Index()->ReadEntryHead(30, head));
    EXPECT_TRUE(head.flags & kInCFlagDone);
    SaveWindowRender(*window, "InCDocumentThanks");
}

// Size modes 1 (A6 upright and on its side), 2 (zeros: 400 by 500 pixels) and 3 (per cent).
TEST_F(DocWindows, TheWindowTakesTheSizeItsDescriptorAsks)
{
    struct Mode {
        uint8_t mode;
        uint16_t a, b;
        const char* render;
    };
    const Mode modes[] = {{1, 2, 0, "InCDocumentPaper"}, {1, 2, 1, "InCDocumentPaperSideways"},
                          {2, 0, 0, "InCDocumentPixels"}, {3, 40, 50, "InCDocumentPercent"}};
    const fs::path descriptor = folder / "Data" / "Content" / "00020.InC";
    for (const Mode& m : modes) {
        auto bytes = *ReadFileBytes(descriptor);
        bytes[15] = m.mode;
        bytes[16] = uint8_t(m.a), bytes[17] = uint8_t(m.a >> 8);
        bytes[18] = uint8_t(m.b), bytes[19] = uint8_t(m.b >> 8);
        ASSERT_TRUE(WriteFileBytes(descriptor, bytes));
        CInCDocDlg* window = Open(20);
        ASSERT_NE(window, nullptr);
        if (m.mode == 2) {
            // The page is the control's area; the window is widened where the button row needs it.
            EXPECT_EQ(window->control().height(), 500);
            EXPECT_GE(window->control().width(), 400);
            EXPECT_LE(window->control().width(), std::max(400, window->minimumWidth()));
        }
        if (m.mode == 1) {
            EXPECT_EQ(window->control().width() > window->control().height(), m.b == 1) << m.render;
        }
        SaveWindowRender(*window, m.render);
        window->CloseQuietly();
        QTest::qWait(100);
    }
}

// A "qv:" link runs its verb and leaves no blank page: document/20 shows the FAQ in the window.
TEST_F(DocWindows, AVerbLinkShowsTheLinkedDocument)
{
    CInCDocDlg* window = Open(1);
    ASSERT_NE(window, nullptr);
    QSignalSpy loaded(&window->control(), &CHtmlCtrl::loadFinished);
    window->control().RunScript("document.querySelector('a[href=\"qv:document/20\"]').click();");
    ASSERT_TRUE(loaded.wait(60000));
    EXPECT_EQ(window->Number(), 20);
    EXPECT_EQ(window->windowTitle(), "Frequently asked questions");
    EXPECT_EQ(store->Window(20), window);
    EXPECT_EQ(window->control().PageDepth(), 0u);
    // The page it left was read, as Next leaves it: AutoView does not show it again.
    InCEntryHead head;
    ASSERT_TRUE(store->Index()->ReadEntryHead(1, head));
    EXPECT_FALSE(head.flags & kInCFlagNew) << head.flags;
    SaveWindowRender(*window, "InCDocumentLinked");
}

// Find selects each hit once, then says the document is done instead of starting again silently; the
// Find after that starts from the top again.
TEST_F(DocWindows, FindSaysWhenTheDocumentIsDone)
{
    CInCDocDlg* window = Open(1);
    ASSERT_NE(window, nullptr);
    const size_t before = messages.texts().size();
    CHtmlCtrl& control = window->control();
    // Each Find as the user gives it: after the answer to the one before.
    const auto find = [&] {
        const int answered = control.FindsAnswered();
        control.FindText("questions", 0);
        return WaitFor([&] { return control.FindsAnswered() > answered; });
    };
    for (int round = 1; round <= 2; ++round) {
        ASSERT_TRUE(find());
        EXPECT_EQ(messages.texts().size(), before + size_t(round - 1)) << "the one hit, selected";
        ASSERT_TRUE(find());
        ASSERT_EQ(messages.texts().size(), before + size_t(round)) << "then the end, each time round";
        EXPECT_EQ(messages.texts().back(), "Finished searching document");
    }
}

// Keys reach the control before the page: a typed letter opens the find dialog with it, Ctrl+F opens
// it empty; and each text size command is the one checked once run.
TEST_F(DocWindows, TypedKeysOpenFindAndTheTextSizesCheckTheirOwn)
{
    CInCDocDlg* window = Open(20);
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    QWidget* page = window->control().focusProxy();
    ASSERT_NE(page, nullptr);
    page->setFocus();
    QTest::qWait(200);
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : page;
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* seed;
    };
    for (const Key& k : {Key{Qt::Key_Q, Qt::NoModifier, "q"}, Key{Qt::Key_F, Qt::ControlModifier, ""}}) {
        // The find dialog runs its own loop: a timer looks for it, however long it takes to come up.
        QString seen = "(no dialog)";
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&seen, &look] {
            if (auto* find = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen = find->findChild<QLineEdit*>("3505")->text();
                look.stop();
                find->reject();
            }
        });
        look.start(50);
        QTest::keyClick(target, k.key, k.modifiers);
        EXPECT_TRUE(WaitFor([&look] { return !look.isActive(); }));
        look.stop();
        EXPECT_EQ(seen, k.seed);
    }

    for (uint32_t command = kTextSizeLargestCommand; command <= kTextSizeSmallestCommand; ++command) {
        ASSERT_TRUE(window->control().OnTextSizeCommand(command));
        for (uint32_t other = kTextSizeLargestCommand; other <= kTextSizeSmallestCommand; ++other)
            EXPECT_EQ(window->control().IsTextSizeChecked(other), other == command) << command << " " << other;
    }
    EXPECT_EQ(window->control().TextSize(), 0);
    EXPECT_FALSE(window->control().OnTextSizeCommand(27128));
}

// A hostile page: script reads of files, a frame of a file outside, a verb, a form post, a web
// address with data and a file page, each made by script without a click. Nothing is read, run,
// posted or opened; the same controls clicked by the user still work.
TEST_F(DocWindows, AHostilePageReachesNothingWithoutTheUsersClick)
{
    std::ifstream hostile(QV_SOURCE_DIR "/tests/web/data/hostile.htm", std::ios::binary);
    ASSERT_TRUE(hostile);
    std::ofstream(folder / "Data" / "Content" / "00020.htm", std::ios::binary) << hostile.rdbuf();
    std::ofstream(folder / "Data" / "Content" / "000200.new") << "\"earlier form data\"";
    std::ofstream(folder / "secret.txt") << "TOP SECRET";
    FrameRecorder frame;
    SetFrameCommandTarget(&frame);
    std::vector<std::string> opened;
    ExternalOpener previousOpener = SetExternalOpener([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });

    CInCDocDlg* window = Open(20);
    ASSERT_NE(window, nullptr);
    auto log = [&] { return Evaluate(*window, "document.getElementById('out').innerText").toString().toStdString(); };
    ASSERT_TRUE(WaitFor([&] { return log().find("done") != std::string::npos; })) << log();
    QTest::qWait(500);
    SaveWindowRender(*window, "InCDocumentHostile");
    const std::string seen = log();
    EXPECT_EQ(seen.find("READ"), std::string::npos) << seen;
    for (const char* refused : {"fetch refused file:///etc/passwd", "xhr refused file:///etc/passwd",
                                "fetch refused ../../secret.txt", "xhr refused ../../secret.txt",
                                "fetch refused 000200.new", "xhr refused 000200.new", "qt: undefined"})
        EXPECT_NE(seen.find(refused), std::string::npos) << refused << "\n" << seen;
    EXPECT_EQ(Evaluate(*window, "document.getElementById('fr').contentDocument ?"
                                " document.getElementById('fr').contentDocument.body.innerText : ''")
                  .toString(),
              "");
    EXPECT_TRUE(window->control().Url().path().endsWith("00020.htm")) << window->control().Url().toString().toStdString();
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_TRUE(opened.empty()) << opened.front();
    EXPECT_TRUE(Messages(folder.path()).empty());
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(window->Number(), 20) << "the window is still open on its document";

    // The user's own clicks on the same controls go through.
    ClickElement(*window, "#cmdlink");
    EXPECT_TRUE(WaitFor([&] { return !frame.commands.empty(); }));
    EXPECT_EQ(frame.commands, std::vector<uint32_t>{27123});
    ClickElement(*window, "#weblink");
    EXPECT_TRUE(WaitFor([&] { return !opened.empty(); }));
    EXPECT_EQ(opened, std::vector<std::string>{"http://127.0.0.1:7115/clicked"});
    ClickElement(*window, "#send");
    EXPECT_TRUE(WaitFor([&] { return !Messages(folder.path()).empty(); }));

    SetExternalOpener(previousOpener);
    SetFrameCommandTarget(nullptr);
}

// A page that sends itself to a command as it loads: the engine stops a page's own navigation to a
// "qv:" address (the page shows about:blank#blocked), and the control's rule would refuse a command
// from script if one came through; either way the command never reaches the program.
TEST_F(DocWindows, APageThatNavigatesToACommandOnLoadRunsNothing)
{
    std::ofstream(folder / "Data" / "Content" / "00020.htm")
        << "<html><head><title>Frequently asked questions</title></head><body><p>FAQ</p>"
           "<script>location.href = 'qv:command/26103';</script></body></html>";
    FrameRecorder frame;
    SetFrameCommandTarget(&frame);
    ASSERT_TRUE(store->OpenDocument(20, false));
    auto* window = dynamic_cast<CInCDocDlg*>(store->Window(20));
    ASSERT_NE(window, nullptr);
    CHtmlCtrl& control = window->control();
    EXPECT_TRUE(WaitFor([&] { return control.Url().scheme() == "about"; })) << control.Url().toString().toStdString();
    // A command would have been posted while the navigation was decided.
    DeliverPostedMessages();
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(window->Number(), 20);
    SetFrameCommandTarget(nullptr);
}

int main(int argc, char** argv)
{
    ::setenv("FONTCONFIG_FILE", QV_SOURCE_DIR "/tests/support/fonts.conf", 1);
    qv::test::PrepareTestEnvironment();
    qv::InstallWindowLayerHooks();
    qv::PrepareHtmlEngine();
    QApplication app(argc, argv);
    // Commands posted to the main window are delivered from the event loop, as in the program.
    qv::SetPostWakeup([] { QMetaObject::invokeMethod(qApp, [] { qv::DeliverPostedMessages(); }, Qt::QueuedConnection); });
    testing::InitGoogleTest(&argc, argv);
    if (!qv::HtmlEngineAvailable()) {
        std::fprintf(stderr, "no display for the web engine\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
