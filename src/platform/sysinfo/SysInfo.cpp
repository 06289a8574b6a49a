#include "platform/sysinfo/SysInfo.h"

#include <QProcess>
#include <QStandardPaths>

namespace SysInfo {

const QStringList &knownPrograms()
{
    static const QStringList programs = {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
                                         QStringLiteral("lshw-gtk")};
    return programs;
}

QString findProgram()
{
    for (const QString &name : knownPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

bool start(const QString &program)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, QStringList());
}

} // namespace SysInfo
