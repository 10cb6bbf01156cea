// The alarm sound through Qt Multimedia's sound effect; a build without Multimedia has no player.
#include "realtime/alarms/ui/AlarmSound.h"

#include "platform/Beep.h"

#include <filesystem>

#ifdef QV_SOUND_EFFECT
#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>
#endif

namespace qv {
namespace {

#ifdef QV_SOUND_EFFECT
// One effect for the program: a new alarm restarts it rather than mixing over the last one.
bool PlayThroughSoundEffect(const std::string& path)
{
    // Without a sound output the effect would stay silent; the beep is heard instead.
    if (QMediaDevices::defaultAudioOutput().isNull())
        return false;
    static QPointer<QSoundEffect> effect;
    if (!effect) {
        effect = new QSoundEffect(QCoreApplication::instance());
        // A file that turns out not to be a playable wave still gets the alarm heard.
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [] {
            if (effect->status() == QSoundEffect::Error)
                SystemBeep();
        });
    }
    effect->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    effect->play();
    return true;
}
#endif

AlarmSoundPlayer BuiltInPlayer()
{
#ifdef QV_SOUND_EFFECT
    return PlayThroughSoundEffect;
#else
    return {};
#endif
}

AlarmSoundPlayer& Player()
{
    static AlarmSoundPlayer player = BuiltInPlayer();
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
        player = BuiltInPlayer();
    std::swap(Player(), player);
    return player;
}

} // namespace qv
