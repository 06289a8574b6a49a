#include "platform/sound/Sound.h"
#include "platform/plugin/PluginLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

QString &lastPath()
{
    static QString path;
    return path;
}

int &requests()
{
    static int count = 0;
    return count;
}

using PlayFunction = void (*)(const QString &absolutePath);

/// The play function of the sound player library (player/SoundPlayer.cpp),
/// loaded on first use: the installed copy in lib/fenwarra beside the
/// program's bin folder, else the one in the build tree. Null when neither
/// can be loaded; the program then plays no sound.
PlayFunction playFunction()
{
    static const auto play = reinterpret_cast<PlayFunction>(
        resolvePluginFunction(QStringLiteral(FENWARRA_SOUND_PLAYER), "fenwarraPlaySound"));
    return play;
}

} // namespace

namespace Sound {

void play(const QString &path)
{
    lastPath() = path;
    ++requests();
    // A sound is a greeting, never a requirement: a missing file, no audio
    // device or a file that cannot be decoded simply plays nothing.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || !info.isReadable())
        return;
    if (!QCoreApplication::instance())
        return;
    if (const PlayFunction playFile = playFunction())
        playFile(info.absoluteFilePath());
}

QString lastRequested()
{
    return lastPath();
}

int requestCount()
{
    return requests();
}

} // namespace Sound
