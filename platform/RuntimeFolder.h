// The folder of the user's own for the program's lock and local sockets.
#pragma once

#include <filesystem>
#include <optional>

namespace qv {

// $XDG_RUNTIME_DIR when it is set; otherwise "quorvantis-UID" in $TMPDIR (or /tmp), then
// "~/.cache/quorvantis-UID". A folder is made 0700 and taken only when it is a real folder (not a
// link) of this user that no one else may enter, so that another user of a shared temporary folder
// can neither hold the lock nor plant a file or link there. Nothing when none will do.
std::optional<std::filesystem::path> PrivateRuntimeFolder();
// Makes or checks one such folder.
bool MakePrivateRuntimeFolder(const std::filesystem::path& folder);

} // namespace qv
