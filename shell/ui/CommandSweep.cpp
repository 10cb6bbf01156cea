// The command sweep: layouts, windows and menu commands walked as a user would.
#include "shell/ui/CommandSweep.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/LayoutWindow.h"
#include "shell/ui/DialogAnswerer.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/MenuWalk.h"
#include "shell/ui/ModalDialog.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <cstdio>
#include <set>

namespace qv {
namespace {

constexpr uint32_t kCommandExit = 57665;
constexpr int kDefaultLayouts = 5;

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class Sweep {
public:
    Sweep(CMainFrame& frame, SweepDialogs dialogs) : frame_(frame), dialogs_(dialogs) {}

    CommandSweepResult Run()
    {
        // Dialogs that run their modal loops in any case (printing) are cancelled as Escape would.
        CDialogAnswerer answerer(CDialogAnswerer::Answer::Cancel);
        if (dialogs_ == SweepDialogs::CancelledUnseen) {
            RunPass();
        } else {
            SetUnattendedDialogsRun(true);
            answerer.SetAnswer(CDialogAnswerer::Answer::Ok);
            RunPass();
            answerer.SetAnswer(CDialogAnswerer::Answer::Cancel);
            done_.clear();
            holdLayouts_ = true;
            RunPass();
            SetUnattendedDialogsRun(false);
        }
        result_.dialogsAnswered = int(answerer.answered().size());
        for (const QString& dialog : answerer.answered())
            result_.dialogs << dialog;
        return result_;
    }

private:
    void RunPass()
    {
        SweepWindows();
        SweepLayouts();
        // The default layouts lay out several windows only with the multiple-windows option, which
        // start-up turns off: they are swept again with it on, as the options would set it.
        uint8_t& multiple = Config().optionsA.data()[OptionBlockA::kMultipleWindows];
        uint8_t saved = multiple;
        multiple = 1;
        frame_.ReloadMainMenu();
        Settle();
        SweepLayouts();
        // The layout commands the sweep did not choose itself run last: each replaces the windows.
        holdLayouts_ = false;
        SweepActiveWindow(nullptr);
        multiple = saved;
        frame_.ReloadMainMenu();
        Settle();
    }

    void SweepLayouts()
    {
        for (int layout = 0; layout < kDefaultLayouts; ++layout) {
            uint32_t command = kCommandFirstLayout + uint32_t(layout);
            frame_.OnCommand(command);
            Settle();
            done_.insert(command);
            SweepWindows();
        }
    }

    // As many windows as the layout laid out, in the order they were made, taken afresh for
    // each: a command may replace them all (restoring a layout), and the sweep goes on with the
    // next. Windows the commands add (a ticker shows other kinds in new windows) are not walked
    // in turn, so that the sweep ends.
    void SweepWindows()
    {
        ++result_.layouts;
        qsizetype count = frame_.mdiArea()->subWindowList().size();
        if (count == 0)
            SweepActiveWindow(nullptr);
        QStringList kinds;
        qsizetype index = 0;
        for (; index < count && index < frame_.mdiArea()->subWindowList().size(); ++index) {
            QPointer<QMdiSubWindow> sub = frame_.mdiArea()->subWindowList()[index];
            frame_.mdiArea()->setActiveSubWindow(sub);
            Settle();
            int32_t kind = MainFrameState().activeKind;
            kinds << QString::number(kind);
            SweepActiveWindow(sub);
            // Then each other view kind the window can show, as the view commands would switch it.
            for (int32_t other = 0; other < kViewKindCount && sub; ++other) {
                if (other == kind || !Restore(sub, other) || MainFrameState().activeKind != other)
                    continue;
                kinds << QString::number(other);
                SweepActiveWindow(sub);
            }
            Restore(sub, kind);
        }
        result_.windows << QStringLiteral("%1 windows, kinds shown %2").arg(index).arg(kinds.join(QLatin1Char(',')));
    }

    // Brings the window back as it was before a command changed it: active again, showing its
    // kind again (asked for as the frame's deferred view request, in the same window). False when
    // the window has gone.
    bool Restore(const QPointer<QMdiSubWindow>& sub, int32_t kind)
    {
        if (!sub)
            return false;
        if (frame_.mdiArea()->activeSubWindow() != sub) {
            frame_.mdiArea()->setActiveSubWindow(sub);
            Settle();
        }
        if (kind >= 0 && MainFrameState().activeKind != kind) {
            SendProgramMessage(frame_, MSG_VIEW_REQUEST_DEFERRED, uintptr_t(uint32_t(kind)), -1);
            Settle();
        }
        return true;
    }

    // Runs the enabled commands not run yet, reading the menus again after each, in the window's
    // own view kind: a command may switch the view, and with it the menus.
    void SweepActiveWindow(const QPointer<QMdiSubWindow>& sub)
    {
        int32_t kind = MainFrameState().activeKind;
        while (const MenuCommandItem* item = NextItem()) {
            uint32_t command = item->command;
            QString path = item->path;
            done_.insert(command);
            qsizetype before = frame_.commands().size();
            if (!ChooseWithMouse(*frame_.menuBar(), *item)) {
                result_.unchosen << QStringLiteral("%1 (%2)").arg(path).arg(command);
                continue;
            }
            Settle();
            ++result_.commandsRun;
            result_.run << QStringLiteral("%1 (%2)").arg(path).arg(command);
            for (qsizetype i = before; i < frame_.commands().size(); ++i)
                result_.unhandled << QStringLiteral("%1 (%2 gave %3)").arg(path).arg(command).arg(frame_.commands()[i]);
            for (uint32_t idle : TakeCommandsWithNothingToRun())
                result_.idle << QStringLiteral("%1 (%2 gave %3)").arg(path).arg(command).arg(idle);
            if (sub && !Restore(sub, kind))
                return;
        }
    }

    const MenuCommandItem* NextItem()
    {
        items_ = OpenMenusAsUser(*frame_.menuBar());
        for (const MenuCommandItem& item : items_) {
            if (done_.count(item.command) || !item.action->isEnabled())
                continue;
            if (holdLayouts_ && item.command >= kCommandFirstLayout && item.command <= kCommandLastLayout)
                continue;
            if (SweepSkipsItem(item.command, item.action->text())) {
                done_.insert(item.command);
                result_.skipped << item.path;
                continue;
            }
            return &item;
        }
        return nullptr;
    }

    CMainFrame& frame_;
    SweepDialogs dialogs_;
    CommandSweepResult result_;
    std::set<uint32_t> done_;
    // While the sweep walks the layouts' windows it chooses the layouts itself.
    bool holdLayouts_ = true;
    std::vector<MenuCommandItem> items_;
};

} // namespace

bool SweepSkipsItem(uint32_t command, const QString& text)
{
    // Exit ends the sweep; a slide show, once started, runs until the user presses Esc.
    constexpr uint32_t kSlideShow = 26730;
    if (command == kCommandExit || command == kSlideShow)
        return true;
    QString plain = text;
    plain.remove(QLatin1Char('&'));
    for (const char* word : {"Exit", "Delete", "Remove", "Purge", "Erase", "Clear", "Empty"})
        if (plain.contains(QLatin1String(word), Qt::CaseInsensitive))
            return true;
    return false;
}

CommandSweepResult RunCommandSweep(CMainFrame& frame, SweepDialogs dialogs)
{
    return Sweep(frame, dialogs).Run();
}

void ReportCommandSweep(const CommandSweepResult& result)
{
    for (const QString& windows : result.windows)
        std::fprintf(stderr, "Command sweep: layout with %s\n", windows.toLocal8Bit().constData());
    for (const QString& path : result.run)
        std::fprintf(stderr, "Command sweep: ran %s\n", path.toLocal8Bit().constData());
    for (const QString& path : result.skipped)
        std::fprintf(stderr, "Command sweep: skipped %s\n", path.toLocal8Bit().constData());
    for (const QString& dialog : result.dialogs)
        std::fprintf(stderr, "Command sweep: dialog %s\n", dialog.toLocal8Bit().constData());
    for (const QString& item : result.unhandled)
        std::fprintf(stderr, "Command sweep: enabled but not handled: %s\n", item.toLocal8Bit().constData());
    for (const QString& item : result.unchosen)
        std::fprintf(stderr, "Command sweep: enabled but not chosen with the mouse: %s\n", item.toLocal8Bit().constData());
    for (const QString& item : result.idle)
        std::fprintf(stderr, "Command sweep: enabled with nothing to run: %s\n", item.toLocal8Bit().constData());
    std::fprintf(stderr, "Command sweep: %d layouts, %d commands run, %d dialogs answered, %lld skipped, %lld not handled, %lld not chosen, %lld with nothing to run\n",
                 result.layouts, result.commandsRun, result.dialogsAnswered, qlonglong(result.skipped.size()),
                 qlonglong(result.unhandled.size()), qlonglong(result.unchosen.size()), qlonglong(result.idle.size()));
}

} // namespace qv
