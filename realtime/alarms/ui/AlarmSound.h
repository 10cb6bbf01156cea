// The alarm sound: the chosen wave file through the desktop's sound output, when it can play.
#pragma once

#include <functional>
#include <string>

namespace qv {

// Starts the wave file `path`; false when it names no file or there is no player (the caller beeps).
bool PlayAlarmSound(const std::string& path);

// Whether the sound output plug-in is there and loads (loading it on the first call).
bool AlarmSoundOutputLoads();

// The player that gets an existing file; tests install their own (empty restores the built-in one).
using AlarmSoundPlayer = std::function<bool(const std::string& path)>;
AlarmSoundPlayer SetAlarmSoundPlayer(AlarmSoundPlayer player);

} // namespace qv
