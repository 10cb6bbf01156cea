// The debugger output channel: texts that are written for a developer and never shown to the user.
#pragma once

#include <functional>
#include <string>

namespace qv {

using DebugSink = std::function<void(const std::string& text)>;

// Writes a line to the debugger output: to the installed sink, else to stderr when QV_DEBUG is set.
void OutputDebugText(const std::string& text);

// Installs a sink (empty restores the default); returns the previous one.
DebugSink SetDebugSink(DebugSink sink);

} // namespace qv
