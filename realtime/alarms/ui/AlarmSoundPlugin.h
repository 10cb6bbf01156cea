// What the alarm sound's plug-in (the sound output on Qt Multimedia) offers the program: one function,
// looked up by name when the first alarm sound is played.
#pragma once

namespace qv {

inline constexpr char kAlarmSoundPlugin[] = "qvmultimedia";
inline constexpr char kAlarmSoundEntry[] = "QvPlayAlarmSound";

// Starts the wave file `path`; false when there is no sound output to play it on. `failed` runs later
// when the file turns out not to be a playable wave.
using AlarmSoundEntry = bool (*)(const char* path, void (*failed)());

} // namespace qv
