// The program's own plug-ins: shared libraries that carry a heavy library (the web engine, the sound
// output) and are loaded on first use, so that a program which never needs them never loads them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qv {

// The folder the plug-ins lie in: "plugins" beside the folder of the running program (build/app and
// build/plugins in the build tree, bin and plugins where the program is set up).
std::filesystem::path PluginFolder();

// The file of the plug-in `name` ("qvwebengine" is "libqvwebengine.so").
std::filesystem::path PluginFile(std::string_view name);

// Whether the plug-in's file is there, without loading it.
bool PluginPresent(std::string_view name);

// Loads `file` (once: later calls find it loaded) and gives the address of its function `entry`;
// null when the file is missing, is no library for this program, or lacks the entry, with the reason
// in `error`. A loaded plug-in stays loaded until the program ends.
void* LoadPluginEntry(const std::filesystem::path& file, const char* entry, std::string* error = nullptr);

} // namespace qv
