#pragma once
// Sounds: played asynchronously; a missing file or no audio device plays
// nothing and never blocks or reports an error.
#include <QString>

namespace Sound {
/// Start playing a .wav file and return at once.
void play(const QString &path);
/// The last file asked for (tests).
QString lastRequested();
/// How many sounds were asked for since the program started (tests).
int requestCount();
} // namespace Sound
