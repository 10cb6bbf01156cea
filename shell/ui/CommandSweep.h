// The command sweep of unattended runs (QV_COMMAND_SWEEP): each default window layout in turn, and
// in each of its windows every enabled menu command once, chosen with the mouse from the menus as a
// user would; message boxes are answered by QV_AUTO_ANSWER. Dialogs are cancelled unseen, or, in the
// dialog mode (QV_COMMAND_SWEEP=dialogs), run in their real modal loops and answered from a timer:
// OK on a first pass over every command, Cancel on a second. Commands that end the program or delete
// the user's data are left out. What it finds goes to standard error.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace qv {

class CMainFrame;

// Whether the sweep leaves a menu item out: it ends the program or deletes or purges data.
bool SweepSkipsItem(uint32_t command, const QString& text);

enum class SweepDialogs {
    CancelledUnseen, // closed as Cancel would before any modal loop runs
    RunAndAnswered,  // run in their modal loops: OK on one pass, Cancel on the next
};

struct CommandSweepResult {
    int layouts = 0;
    int commandsRun = 0;
    int dialogsAnswered = 0;
    QStringList windows;   // each layout's windows and their view kinds
    QStringList run;       // menu paths with their commands, in order
    QStringList skipped;   // menu paths
    QStringList unhandled; // enabled items whose command no handler took
    QStringList unchosen;  // enabled items the mouse could not choose
    QStringList dialogs;   // the dialogs answered, with their answers
    QStringList idle;      // enabled items whose handler had nothing to run
};

// Runs the sweep on the frame (the caller's event loop keeps running underneath, so dialogs and
// posted messages behave as in use). Layout commands go through the frame's routing.
CommandSweepResult RunCommandSweep(CMainFrame& frame, SweepDialogs dialogs = SweepDialogs::CancelledUnseen);
// Writes the result to standard error: a summary line and one line per item not handled.
void ReportCommandSweep(const CommandSweepResult& result);

} // namespace qv
