// The alarm sound through the sound output plug-in, loaded when the first alarm sounds; without the
// plug-in (or when it cannot load) there is no player and the caller beeps.
#include "realtime/alarms/ui/AlarmSound.h"

#include "platform/Beep.h"
#include "platform/DebugOutput.h"
#include "platform/PluginLibrary.h"
#include "realtime/alarms/ui/AlarmSoundPlugin.h"

#include <filesystem>

namespace qv {
namespace {

// The plug-in's entry, looked up once: a plug-in that failed to load is not tried again.
AlarmSoundEntry SoundOutput()
{
    static const AlarmSoundEntry entry = [] {
        std::string error;
        auto found = reinterpret_cast<AlarmSoundEntry>(LoadPluginEntry(PluginFile(kAlarmSoundPlugin), kAlarmSoundEntry, &error));
        if (!found)
            OutputDebugText("alarm sound: " + error);
        return found;
    }();
    return entry;
}

bool PlayThroughPlugin(const std::string& path)
{
    const AlarmSoundEntry play = SoundOutput();
    return play && play(path.c_str(), [] { SystemBeep(); });
}

AlarmSoundPlayer& Player()
{
    static AlarmSoundPlayer player = PlayThroughPlugin;
    return player;
}

} // namespace

bool PlayAlarmSound(const std::string& path)
{
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error))
        return false;
    const AlarmSoundPlayer& player = Player();
    return player && player(path);
}

AlarmSoundPlayer SetAlarmSoundPlayer(AlarmSoundPlayer player)
{
    if (!player)
        player = PlayThroughPlugin;
    std::swap(Player(), player);
    return player;
}

bool AlarmSoundOutputLoads()
{
    return SoundOutput() != nullptr;
}

} // namespace qv
