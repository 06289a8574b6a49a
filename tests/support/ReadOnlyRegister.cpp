#include "support/ReadOnlyRegister.h"

#include "platform/db/ClinicDb.h"
#include "platform/db/WriteAccess.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>

#include <unistd.h>

namespace {
constexpr QFileDevice::Permissions kReadOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr QFileDevice::Permissions kFolderReadOnly =
    kReadOnly | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
constexpr QFileDevice::Permissions kOwnerWrites = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
} // namespace

ReadOnlyRegister::ReadOnlyRegister(const QString &dbfName, Kind kind)
    : m_path(QFileInfo(dbfName).absoluteFilePath()), m_kind(kind)
{
    ClinicDb::closeAll();
    switch (kind) {
    case OpenedReadOnly: {
        // Opened under the program's own name for the file, connection()
        // hands this read-only connection to every caller.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ClinicDb::connectionName(m_path));
        db.setDatabaseName(m_path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
        break;
    }
    case FileReadOnly:
        QFile::setPermissions(m_path, kReadOnly);
        break;
    case FolderReadOnly:
        QFile::setPermissions(QFileInfo(m_path).absolutePath(), kFolderReadOnly);
        break;
    }
}

ReadOnlyRegister::~ReadOnlyRegister()
{
    ClinicDb::closeAll();
    if (m_kind == FileReadOnly)
        QFile::setPermissions(m_path, kOwnerWrites);
    if (m_kind == FolderReadOnly)
        QFile::setPermissions(QFileInfo(m_path).absolutePath(), kOwnerWrites | QFileDevice::ExeOwner);
}

QString ReadOnlyRegister::skipReason(Kind kind)
{
    if (kind != OpenedReadOnly && geteuid() == 0)
        return QStringLiteral("running as root, whom permission bits do not stop from writing");
    return QString();
}
