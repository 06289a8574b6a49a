// The sound player proper, over Qt Multimedia. It is built as a small library
// of its own that Sound::play loads when the first sound is asked for: Qt
// Multimedia and the audio libraries beneath it take a few milliseconds to
// load, and the program has no sound to play while it starts.
#include <QCoreApplication>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

/// Start playing the .wav file at absolutePath and return at once; a new
/// sound replaces the one playing.
extern "C" Q_DECL_EXPORT void fenwarraPlaySound(const QString &absolutePath)
{
    // One player for the whole program.
    static QPointer<QSoundEffect> effect;
    if (!effect) {
        if (!QCoreApplication::instance())
            return;
        effect = new QSoundEffect(QCoreApplication::instance());
        effect->setObjectName(QStringLiteral("SoundPlayer"));
    }
    effect->stop();
    // The file is loaded in the background and played when ready; play()
    // returns at once.
    effect->setSource(QUrl::fromLocalFile(absolutePath));
    effect->play();
}
