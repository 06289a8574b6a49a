// Where the database's files are, what they are, and how a new one is made:
// the folder of the shipped data files; whether a file is a Fenwarra
// database, seen from its header and a read-only look that never changes it;
// and a new file built from the shipped schema and rows under a temporary
// name, then put in place without ever replacing the file another
// workstation may have made meanwhile.
#include "platform/db/ClinicDb.h"

#include "platform/FwError.h"
#include "platform/db/ClinicDbInternal.h"
#include "platform/state/AppState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QThread>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ClinicDb {

namespace {

const QString kCheckPrefix = QStringLiteral("fenwarra-check:");
const QString kCreatePrefix = QStringLiteral("fenwarra-create:");
// Looking at a file to see whether it is ours does not wait: a file locked
// just now counts as ours, and opening it then waits as any statement does.
const QString kCheckOptions = QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=0");

} // namespace

// Only a regular file can hold a database. A named pipe in its place would
// hold the program in open() until something writes to it, for ever; a
// device or a folder is no database either.
bool isRegularFile(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

bool hasSqliteHeader(const QString &path, QByteArray *header)
{
    // Opened without waiting, and read only once it is known to be a regular
    // file: whatever is put in the file's place meanwhile cannot hold us.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (regular) {
        header->resize(100);
        qsizetype got = 0;
        while (got < header->size()) {
            const ssize_t n = ::read(fd, header->data() + got, size_t(header->size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += n;
        }
        header->resize(got);
    }
    ::close(fd);
    return regular && header->size() == 100 && header->startsWith(QByteArrayLiteral("SQLite format 3\0"));
}

quint32 bigEndian32(const QByteArray &bytes, int offset)
{
    return (quint32(quint8(bytes.at(offset))) << 24) | (quint32(quint8(bytes.at(offset + 1))) << 16) |
           (quint32(quint8(bytes.at(offset + 2))) << 8) | quint32(quint8(bytes.at(offset + 3)));
}

} // namespace

QString dataDirFrom(const QString &appPath, const QString &programDir, const QString &sourceDir)
{
    const auto holdsSchema = [](const QString &folder) {
        return !folder.isEmpty() && QFileInfo::exists(QDir(folder).filePath(QStringLiteral("schema.sql")));
    };
    if (holdsSchema(appPath))
        return QDir::cleanPath(QDir(appPath).absolutePath());
    // An installed program uses its installed files, even while the source
    // tree it was built from still exists: that tree may have moved on since.
    const QString installed = QDir::cleanPath(programDir + QStringLiteral("/../share/fenwarra"));
    if (holdsSchema(installed))
        return installed;
    if (holdsSchema(sourceDir))
        return QDir::cleanPath(sourceDir);
    return installed;
}

QString dataDir()
{
#ifdef FENWARRA_SOURCE_DATA_DIR
    const QString source = QStringLiteral(FENWARRA_SOURCE_DATA_DIR);
#else
    const QString source;
#endif
    return dataDirFrom(App().AppPath, QCoreApplication::applicationDirPath(), source);
}

namespace {

enum class FileKind { Foreign, Ours, OursUnreadable };

FileKind fileKind(const QString &path)
{
    QByteArray header;
    if (!hasSqliteHeader(path, &header))
        return FileKind::Foreign;
    if (bigEndian32(header, 68) != kApplicationId)
        return FileKind::Foreign;
    // Read only, so that looking never changes the file.
    const QString name = kCheckPrefix + absolutePath(path);
    bool hasClients = false;
    bool readable = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(kCheckOptions);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'Clients' "
                                      "COLLATE NOCASE"))) {
                readable = true;
                hasClients = q.next();
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!readable)
        return FileKind::OursUnreadable;
    return hasClients ? FileKind::Ours : FileKind::Foreign;
}

// Copy a finished file to a name that must not exist yet, for filesystems
// that know neither a no-replace rename nor hard links. O_EXCL makes the
// name ours alone; until the copy is complete another workstation may see a
// short file, which is why a start that finds the file waits for it.
Placed copyExclusive(const QByteArray &from, const QByteArray &to, QString *error)
{
    const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        if (errno == EEXIST)
            return Placed::TargetExists;
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return Placed::Failed;
    }
    QFile in(QFile::decodeName(from));
    bool ok = in.open(QIODevice::ReadOnly);
    if (!ok) {
        *error = in.errorString();
        ::close(out);
        ::unlink(to.constData());
        return Placed::Failed;
    }
    while (ok) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty())
            break;
        qint64 done = 0;
        while (ok && done < chunk.size()) {
            const ssize_t n = ::write(out, chunk.constData() + done, size_t(chunk.size() - done));
            ok = n > 0 || (n < 0 && errno == EINTR);
            if (n > 0)
                done += n;
        }
    }
    if (ok && in.error() != QFileDevice::NoError) {
        ok = false;
        *error = in.errorString();
    } else if (!ok || ::fsync(out) != 0) {
        ok = false;
        *error = QString::fromLocal8Bit(std::strerror(errno));
    }
    ::close(out);
    if (!ok) {
        // The half copy is ours alone (O_EXCL): nobody else's file is lost.
        ::unlink(to.constData());
        return Placed::Failed;
    }
    ::unlink(from.constData());
    return Placed::Done;
}

} // namespace

// A plain rename would replace an existing file, and QFile::rename copies
// over an existing target when renaming fails: another workstation that made
// the same database a moment earlier may already be writing to it.
Placed placeWithoutReplacing(const QString &temp, const QString &path, QString *error, PlaceMethod first)
{
    const QByteArray from = QFile::encodeName(temp);
    const QByteArray to = QFile::encodeName(path);
    if (first == PlaceMethod::Rename) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
            return Placed::Done;
        if (errno == EEXIST)
            return Placed::TargetExists;
    }
    // Filesystems without RENAME_NOREPLACE (several network filesystems): a
    // hard link, which fails when the name exists, then the temporary name
    // goes.
    if (first != PlaceMethod::Copy) {
        if (::link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
            return Placed::Done;
        }
        if (errno == EEXIST)
            return Placed::TargetExists;
    }
    return copyExclusive(from, to, error);
}

namespace {

// Another workstation has just made the database: wait a little for its copy
// to be complete (see copyExclusive), never for long.
void waitUntilComplete(const QString &path)
{
    QElapsedTimer waited;
    waited.start();
    while (fileKind(path) != FileKind::Ours && waited.elapsed() < 5000)
        QThread::msleep(50);
}

} // namespace

bool isFenwarraDatabase(const QString &path)
{
    // A file marked as ours that cannot be read just now (locked by another
    // workstation, a journal left by a crash) is still ours.
    return fileKind(path) != FileKind::Foreign;
}

namespace {

// Build a new database under a temporary name and put it in place. False when
// another workstation put its own in place first; this one is then dropped.
bool build(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw FwError(ErrNo::DatabaseError,
                      QStringLiteral("The folder %1 could not be created.").arg(nativePath(folder)));

    const QString data = dataDir();
    const QString schema = QDir(data).filePath(QStringLiteral("schema.sql"));
    if (!QFileInfo::exists(schema))
        throw FwError(ErrNo::DatabaseError,
                      QStringLiteral("The database schema %1 is missing; the program's data files are not installed.")
                          .arg(nativePath(schema)));

    // Built under a temporary name and renamed when complete, so that a
    // failure never leaves a half-made database under the real name.
    // The temporary name is this build's own, so that two workstations
    // creating the same shared file at once never remove each other's.
    const QString temp = path + QStringLiteral(".new-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    QFile::remove(temp);
    QFile::remove(temp + QStringLiteral("-journal"));
    {
        QFile f(temp);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            throw FwError(ErrNo::DatabaseError,
                          QStringLiteral("%1 could not be created: %2").arg(nativePath(path), f.errorString()));
    }

    const QString name = kCreatePrefix + path;
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(temp);
        db.setConnectOptions(kConnectOptions);
        if (!db.open()) {
            failure = errorText(db.lastError());
        } else {
            try {
                QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
                exec(db, QStringLiteral("BEGIN IMMEDIATE"));
                try {
                    runScript(db, schema);
                    QDir rows(QDir(data).filePath(QStringLiteral("rows")));
                    const QStringList files = rows.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
                    for (const QString &file : files)
                        runScript(db, rows.filePath(file));
                    exec(db, QStringLiteral("COMMIT"));
                } catch (...) {
                    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
                    throw;
                }
            } catch (const FwError &e) {
                failure = e.description();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);

    Placed placed = Placed::Failed;
    if (failure.isEmpty()) {
        QString error;
        placed = placeWithoutReplacing(temp, path, &error);
        if (placed == Placed::Failed)
            failure = QStringLiteral("the new file could not be moved into place: %1").arg(error);
    }
    QFile::remove(temp);
    QFile::remove(temp + QStringLiteral("-journal"));
    if (!failure.isEmpty())
        throw FwError(ErrNo::DatabaseError,
                      QStringLiteral("The database %1 could not be created: %2").arg(nativePath(path), failure));
    if (placed == Placed::TargetExists) {
        // Another workstation made it meanwhile: theirs is the one to use.
        waitUntilComplete(path);
        return false;
    }
    return true;
}

} // namespace

void create(const QString &dbfName)
{
    const QString path = absolutePath(dbfName);
    if (QFileInfo::exists(path))
        throw FwError(ErrNo::DatabaseError,
                      QStringLiteral("%1 already exists; a new database was not created.").arg(nativePath(path)));
    build(path);
}

bool createIfMissing(const QString &dbfName)
{
    const QString path = absolutePath(dbfName);
    if (QFileInfo::exists(path))
        return false;
    return build(path);
}
} // namespace ClinicDb
