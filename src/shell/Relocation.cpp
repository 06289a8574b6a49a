#include "shell/Relocation.h"

#include "platform/db/ClinicDb.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace Relocation {

namespace {

/// Two names of one file: the same file system entry once links are
/// followed, whatever the spelling.
bool sameFile(const QString &a, const QString &b)
{
    struct stat sa;
    struct stat sb;
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

Verdict refused(Verdict::Outcome outcome, const QString &message)
{
    Verdict v;
    v.outcome = outcome;
    v.message = message;
    v.icon = Prompt::Icon::Critical;
    return v;
}

} // namespace

QString PathFromLocn(const QString &fullPath)
{
    const qsizetype at = fullPath.indexOf(ClinicDb::kFileName, 0, Qt::CaseInsensitive);
    return at < 0 ? QString() : fullPath.left(at);
}

QString locateMessage(const QString &currentDbfName)
{
    return QStringLiteral("Please locate the file named 'Fenwarra.mdb' on") +
           QStringLiteral(" your network server. The current setting is: ") + currentDbfName;
}

QString successMessage(const QString &dbfName)
{
    return QStringLiteral("You have successfully completed resetting the location of the database") +
           QStringLiteral("'Fenwarra.mdb' to the server at: ") + dbfName;
}

Verdict checkChoice(const QString &chosen)
{
    if (chosen.isEmpty())
        return Verdict();
    if (!chosen.contains(ClinicDb::kFileName, Qt::CaseSensitive))
        return refused(Verdict::Outcome::Refused, kFailedMessage);
    if (!QFileInfo::exists(chosen))
        return refused(Verdict::Outcome::NotFound, kNotFoundMessage);
    // The setting keeps only the folder part; the next start adds the file
    // name to it, and must arrive at this very file.
    const QString dbfPath = PathFromLocn(chosen);
    if (!sameFile(dbfPath + ClinicDb::kFileName, chosen))
        return refused(Verdict::Outcome::Refused, kFailedMessage);
    if (!ClinicDb::isFenwarraDatabase(chosen))
        return refused(Verdict::Outcome::Refused, kFailedMessage);

    Verdict v;
    v.outcome = Verdict::Outcome::Accepted;
    v.dbfPath = dbfPath;
    v.dbfName = chosen;
    v.message = successMessage(chosen);
    v.icon = Prompt::Icon::Exclamation;
    return v;
}

} // namespace Relocation
