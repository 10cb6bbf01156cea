// Command routing for menus: each command is offered to the command targets in order (the active
// view, then the frame, then the application); a command that no target handles is greyed, so the
// menus show every command of the tables even before its handler exists.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace qv {

// What a menu item of one command should show.
struct CommandUi {
    uint32_t command = 0;
    bool enabled = false;
    std::optional<bool> checked;
    // A text the menu item shows instead of its own (Windows-1252), when the rule gives one.
    std::optional<std::string> text;
    // The menu leaves the item out while this holds (a command that makes no sense in the view's mode).
    bool hidden = false;
};

class CommandTarget {
public:
    virtual ~CommandTarget();
    // True when this target handles the command; it then sets the command's state.
    virtual bool UpdateCommand(CommandUi& ui) = 0;
    // True when this target carried the command out.
    virtual bool RunCommand(uint32_t command) = 0;
};

// A target made of a table of handlers; a command with a handler and no update function is enabled.
class CommandHandlerTable : public CommandTarget {
public:
    using Handler = std::function<void()>;
    using Updater = std::function<void(CommandUi&)>;

    void Add(uint32_t command, Handler handler, Updater updater = {});
    void Remove(uint32_t command);
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;

private:
    struct Entry {
        Handler handler;
        Updater updater;
    };
    std::unordered_map<uint32_t, Entry> entries_;
};

// The routing order: targets added first are asked first. A target removes itself before it goes.
void AddCommandTarget(CommandTarget* target);
void RemoveCommandTarget(CommandTarget* target);

// The state a menu item of the command shows: greyed when no target handles it.
CommandUi QueryCommandUi(uint32_t command);
// Runs the command at the first target that handles it; false when none does.
bool RouteCommand(uint32_t command);

// A handler that finds its dialog or seam missing notes it: its item was enabled with nothing to
// run. The command sweep and the menu-state test take the notes and fail on any.
void NoteNothingToRun(uint32_t command);
std::vector<uint32_t> TakeCommandsWithNothingToRun();

// The application's own handlers (about box, tip of the day, ...), asked after every other target.
CommandHandlerTable& ApplicationCommands();

} // namespace qv
