#pragma once
// The desktop's own system-information program, where one is installed. None
// is a dependency of Fenwarra: a few well-known programs are looked for in
// the folders of PATH, and the first one found is started directly (never
// through a shell).
#include <QString>
#include <QStringList>

namespace SysInfo {

/// The programs looked for, in this order: hardinfo (the system profiler),
/// kinfocenter (KDE's information centre), lshw-gtk (the hardware lister).
const QStringList &knownPrograms();

/// The full path of the first known program found in PATH, or "".
QString findProgram();

/// Start a program as a process of its own, without arguments and without a
/// shell; true when it started.
bool start(const QString &program);

} // namespace SysInfo
