#include "platform/db/WriteAccess.h"

#include <QDir>
#include <QFileInfo>

namespace ClinicDb {

namespace {

// SQLite's primary result code for a write to a database that cannot be
// written; its extended codes keep it in their low byte.
constexpr int kSqliteReadOnly = 8;

// What to do, the same in both messages.
const QString kAdvice = QStringLiteral(
    "Ask whoever looks after the practice's computers to give your user account write access to that file and "
    "to its folder. The README explains how, under \"Sharing and moving the case register\".");

QString nativeFileName(const QString &dbfName)
{
    return QDir::toNativeSeparators(QFileInfo(dbfName).absoluteFilePath());
}

} // namespace

QString connectionName(const QString &dbfName)
{
    return QStringLiteral("fenwarra:") + QFileInfo(dbfName).absoluteFilePath();
}

bool isReadOnlyError(const QSqlError &error)
{
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    if (numeric && (code & 0xff) == kSqliteReadOnly)
        return true;
    return error.databaseText().contains(QLatin1String("readonly database"), Qt::CaseInsensitive);
}

bool isWritable(const QSqlDatabase &db)
{
    if (db.connectOptions().contains(QLatin1String("QSQLITE_OPEN_READONLY")))
        return false;
    const QFileInfo file(db.databaseName());
    // QFileInfo asks the system (access()), so group rights, ACLs and a
    // read-only mount count as they do for SQLite itself.
    return file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
}

QString cannotSaveMessage(const QString &dbfName)
{
    return QStringLiteral("Your user account cannot write to the case register %1 (the file, or the folder it is "
                          "in, is read-only), so the change was not saved.\n\n%2 Until then you can look at the "
                          "records, but changes are not saved.")
        .arg(nativeFileName(dbfName), kAdvice);
}

QString readOnlyWarning(const QString &dbfName)
{
    return QStringLiteral("The case register %1 can be read but not written by your user account: the file, or "
                          "the folder it is in, is read-only.\n\nYou can look at the records, but new cases, weights "
                          "and other changes cannot be saved.\n\n%2 Then start Fenwarra again.")
        .arg(nativeFileName(dbfName), kAdvice);
}

} // namespace ClinicDb
