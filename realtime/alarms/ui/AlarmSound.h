// The alarm sound: the chosen wave file through the desktop's sound output, when it can play.
#pragma once

#include <functional>
#include <string>

namespace qv {

// Starts the wave file `path`; false when it names no file or no player is built in (the caller beeps).
bool PlayAlarmSound(const std::string& path);

// The player that gets an existing file; tests install their own (empty restores the built-in one).
using AlarmSoundPlayer = std::function<bool(const std::string& path)>;
AlarmSoundPlayer SetAlarmSoundPlayer(AlarmSoundPlayer player);

} // namespace qv
