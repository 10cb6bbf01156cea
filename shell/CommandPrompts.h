// The status-bar prompt and tooltip of a command, as one text "prompt\ntooltip".
#pragma once

#include <cstdint>
#include <string_view>

namespace qv {

// Empty when the command has none.
std::string_view CommandPrompt(uint32_t command);

} // namespace qv
