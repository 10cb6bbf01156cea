// The command targets in routing order and the application's handler table.
#include "views/CommandUpdate.h"

#include <algorithm>
#include <vector>

namespace qv {
namespace {

std::vector<CommandTarget*>& Targets()
{
    // Never destroyed: targets with static lifetime leave the list during exit.
    static auto* targets = new std::vector<CommandTarget*>;
    return *targets;
}

} // namespace

CommandTarget::~CommandTarget()
{
    RemoveCommandTarget(this);
}

void CommandHandlerTable::Add(uint32_t command, Handler handler, Updater updater)
{
    entries_[command] = Entry{std::move(handler), std::move(updater)};
}

void CommandHandlerTable::Remove(uint32_t command)
{
    entries_.erase(command);
}

bool CommandHandlerTable::UpdateCommand(CommandUi& ui)
{
    auto found = entries_.find(ui.command);
    if (found == entries_.end())
        return false;
    ui.enabled = true;
    if (found->second.updater)
        found->second.updater(ui);
    return true;
}

bool CommandHandlerTable::RunCommand(uint32_t command)
{
    auto found = entries_.find(command);
    if (found == entries_.end() || !found->second.handler)
        return false;
    // A copy: the handler may replace its own entry.
    Handler handler = found->second.handler;
    handler();
    return true;
}

void AddCommandTarget(CommandTarget* target)
{
    std::vector<CommandTarget*>& targets = Targets();
    if (std::find(targets.begin(), targets.end(), target) == targets.end())
        targets.push_back(target);
}

void RemoveCommandTarget(CommandTarget* target)
{
    std::erase(Targets(), target);
}

CommandUi QueryCommandUi(uint32_t command)
{
    CommandUi ui{command, false, std::nullopt, std::nullopt};
    for (CommandTarget* target : Targets())
        if (target->UpdateCommand(ui))
            return ui;
    ApplicationCommands().UpdateCommand(ui);
    return ui;
}

bool RouteCommand(uint32_t command)
{
    for (CommandTarget* target : Targets())
        if (target->RunCommand(command))
            return true;
    return ApplicationCommands().RunCommand(command);
}

CommandHandlerTable& ApplicationCommands()
{
    static CommandHandlerTable table;
    return table;
}

namespace {

std::vector<uint32_t>& IdleCommands()
{
    static std::vector<uint32_t> commands;
    return commands;
}

} // namespace

void NoteNothingToRun(uint32_t command) { IdleCommands().push_back(command); }

std::vector<uint32_t> TakeCommandsWithNothingToRun()
{
    std::vector<uint32_t> taken;
    taken.swap(IdleCommands());
    return taken;
}

} // namespace qv
