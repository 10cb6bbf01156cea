// The alarm sound: only an existing file reaches the player; anything else reports "not played" so
// the server beeps instead. The program's own player is its sound output plug-in, found and loaded
// from the build tree as the program does.
#include "realtime/alarms/ui/AlarmSound.h"

#include "devtools/lib/TempFolder.h"
#include "platform/PluginLibrary.h"
#include "realtime/alarms/ui/AlarmSoundPlugin.h"

#include <fstream>
#include <vector>

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(AlarmSoundTest, OnlyAnExistingFileIsHandedToThePlayer)
{
    dev::TempFolder folder;
    const std::string wave = (folder / "ring.wav").string();
    std::ofstream(wave, std::ios::binary) << "RIFF";
    std::vector<std::string> handed;
    bool accepts = true;
    const AlarmSoundPlayer previous = SetAlarmSoundPlayer([&](const std::string& path) {
        handed.push_back(path);
        return accepts;
    });

    struct Case {
        std::string path;
        bool played;
    };
    const Case cases[] = {
        {wave, true},
        {(folder / "missing.wav").string(), false},
        {"", false},
        {folder.path().string(), false}, // a folder is no sound
    };
    for (const Case& c : cases) {
        handed.clear();
        EXPECT_EQ(PlayAlarmSound(c.path), c.played) << c.path;
        EXPECT_EQ(handed, c.played ? std::vector<std::string>{c.path} : std::vector<std::string>{}) << c.path;
    }
    accepts = false;
    EXPECT_FALSE(PlayAlarmSound(wave)) << "a player that cannot start leaves it to the beep";

    SetAlarmSoundPlayer(previous);
}

TEST(AlarmSoundTest, TheSoundOutputPluginLoadsAsTheProgramLoadsIt)
{
    if (!PluginPresent(kAlarmSoundPlugin))
        GTEST_SKIP() << "built without Qt Multimedia: alarms beep";
    EXPECT_TRUE(AlarmSoundOutputLoads());
    // Whether a desktop sound output is there or not, a real file is played or left to the beep.
    dev::TempFolder folder;
    const std::string wave = (folder / "ring.wav").string();
    std::ofstream(wave, std::ios::binary) << "RIFF";
    PlayAlarmSound(wave);
}

} // namespace
} // namespace qv
