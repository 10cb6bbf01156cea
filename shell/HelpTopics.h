// Help topic numbers: the frame's own topic follows the active view kind, and a command's topic is
// its id plus 0x10000. Until a help viewer exists a stand-in shows the topic and what it is about.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

constexpr uint32_t kHelpFrameRequest = 0x20000;
constexpr uint32_t kHelpFrameResource = 0x2012C;
constexpr uint32_t kHelpViewKindBase = 0x2012D;
constexpr uint32_t kHelpCommandBase = 0x10000;
constexpr uint32_t kHelpNewFeatures = 0x16609;

// The topic a help request opens, with the active view kind (-1 when none).
uint32_t MapHelpRequest(uint32_t data, int32_t activeKind);

// Names of commands for the help stand-in; the menus register theirs when they are built.
void RegisterCommandName(uint32_t command, const std::string& name);
std::string CommandName(uint32_t command);
// Forgets every registered name but the built-in ones, so a test starts from what start-up knows.
void ResetCommandNames();

// What the stand-in says about a topic: its number and the command or window it is about.
std::string HelpTopicText(uint32_t topic);

} // namespace qv
