#include "platform/sound/Sound.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace {

QString &lastPath()
{
    static QString path;
    return path;
}

/// One player for the whole program: a new sound replaces the one playing.
QSoundEffect *player()
{
    static QPointer<QSoundEffect> effect;
    if (!effect && QCoreApplication::instance()) {
        effect = new QSoundEffect(QCoreApplication::instance());
        effect->setObjectName(QStringLiteral("SoundPlayer"));
    }
    return effect;
}

} // namespace

namespace Sound {

void play(const QString &path)
{
    lastPath() = path;
    // A sound is a greeting, never a requirement: a missing file, no audio
    // device or a file that cannot be decoded simply plays nothing.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || !info.isReadable())
        return;
    QSoundEffect *effect = player();
    if (!effect)
        return;
    effect->stop();
    // The file is loaded in the background and played when ready; play()
    // returns at once.
    effect->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    effect->play();
}

QString lastRequested() { return lastPath(); }

} // namespace Sound
