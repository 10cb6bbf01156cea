// The alarm sound's plug-in: the wave file through Qt Multimedia's sound effect, built as a library of
// its own so that the program loads Multimedia only when an alarm first sounds.
#include "realtime/alarms/ui/AlarmSoundPlugin.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

#include <type_traits>

// One effect for the program: a new alarm restarts it rather than mixing over the last one.
extern "C" __attribute__((visibility("default"))) bool QvPlayAlarmSound(const char* path, void (*failed)())
{
    static_assert(std::is_same_v<decltype(&QvPlayAlarmSound), qv::AlarmSoundEntry>);
    // Without a sound output the effect would stay silent; the beep is heard instead.
    if (QMediaDevices::defaultAudioOutput().isNull())
        return false;
    static QPointer<QSoundEffect> effect;
    static void (*onFailure)() = nullptr;
    onFailure = failed;
    if (!effect) {
        effect = new QSoundEffect(QCoreApplication::instance());
        // A file that turns out not to be a playable wave still gets the alarm heard.
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [] {
            if (effect->status() == QSoundEffect::Error && onFailure)
                onFailure();
        });
    }
    effect->setSource(QUrl::fromLocalFile(QString::fromUtf8(path)));
    effect->play();
    return true;
}
