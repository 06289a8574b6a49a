#include "platform/db/ClinicDb.h"

#include "platform/FwError.h"
#include "platform/db/WriteAccess.h"
#include "platform/state/AppState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QStringList>
#include <QThread>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace ClinicDb {

namespace {

const QString kConnectionPrefix = QStringLiteral("fenwarra:");
const QString kCheckPrefix = QStringLiteral("fenwarra-check:");
const QString kCreatePrefix = QStringLiteral("fenwarra-create:");
// Waiting for another workstation's lock before giving up, in milliseconds,
// where the program's own wait (busyHandler below) cannot be installed.
const QString kConnectOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
// Looking at a file to see whether it is ours does not wait: a file locked
// just now counts as ours, and opening it then waits as any statement does.
const QString kCheckOptions = QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=0");

QString absolutePath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The text of a failed statement: the database's own words where it gave any.
QString errorText(const QSqlError &error)
{
    const QString db = error.databaseText().trimmed();
    return db.isEmpty() ? error.text().trimmed() : db;
}

bool isUniqueViolation(const QSqlError &error)
{
    // SQLITE_CONSTRAINT_UNIQUE (2067) and SQLITE_CONSTRAINT_PRIMARYKEY (1555)
    // when extended codes are on; the text otherwise.
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("2067") || code == QLatin1String("1555") ||
           error.databaseText().contains(QLatin1String("UNIQUE constraint failed"), Qt::CaseInsensitive);
}

// SQLITE_BUSY and SQLITE_LOCKED, with their extended codes: another
// connection holds the lock this statement needs.
bool isLockError(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok && ((code & 0xff) == 5 || (code & 0xff) == 6);
}

// SQLite's primary result codes, which its extended codes keep in their low
// byte: the disk (or the file's size limit) is full; the file is damaged; the
// file is no database at all (overwritten, or cut short).
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteNotADb = 26;

int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

bool isDiskFullError(const QSqlError &error)
{
    return primaryCode(error) == kSqliteFull;
}

bool isDamagedError(const QSqlError &error)
{
    const int code = primaryCode(error);
    return code == kSqliteCorrupt || code == kSqliteNotADb;
}

[[noreturn]] void throwFor(const QSqlError &error, const QSqlDatabase &db)
{
    throw errorFrom(error, db);
}

// ---- Scripts ---------------------------------------------------------------

// Split a script into statements at the semicolons that end them; semicolons
// in quoted texts, quoted or bracketed names and comments do not count.
QStringList splitStatements(const QString &script)
{
    QStringList out;
    QString current;
    const int n = script.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = script.at(i);
        if (c == QLatin1Char('-') && i + 1 < n && script.at(i + 1) == QLatin1Char('-')) {
            while (i < n && script.at(i) != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && script.at(i + 1) == QLatin1Char('*')) {
            const int end = script.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 1;
            current += QLatin1Char(' ');
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[') || c == QLatin1Char('`')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            current += c;
            ++i;
            while (i < n) {
                current += script.at(i);
                if (script.at(i) == close) {
                    // A doubled quote stands for the quote itself.
                    if (close != QLatin1Char(']') && i + 1 < n && script.at(i + 1) == close) {
                        current += script.at(++i);
                    } else {
                        break;
                    }
                }
                ++i;
            }
            continue;
        }
        if (c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                out << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

QString readText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw FwError(ErrNo::DatabaseError,
                      QStringLiteral("The file %1 could not be read: %2").arg(nativePath(path), f.errorString()));
    return QString::fromUtf8(f.readAll());
}

void runScript(const QSqlDatabase &db, const QString &path)
{
    const QStringList statements = splitStatements(readText(path));
    for (const QString &sql : statements) {
        QSqlQuery q(db);
        if (!q.exec(sql))
            throw FwError(
                ErrNo::DatabaseError,
                QStringLiteral("%1: %2\n%3").arg(QFileInfo(path).fileName(), errorText(q.lastError()), sql.left(200)));
    }
}

// ---- Case folding inside SQLite --------------------------------------------
//
// The surname key must be the same fold wherever a surname is written, also
// by plain SQL. SQLite's own lower() knows only ASCII, so the connection gets
// a function fw_fold() that folds with Qt, and temporary triggers (they live
// in the connection, not in the file) keep [SurnameKey] equal to the fold of
// [Surname]. The function is registered through the SQLite library that the
// Qt driver already uses; when that cannot be done safely, writes through a
// Recordset still set the key and connection() mends missing keys on opening.

struct FwSqlite;
struct FwSqliteContext;
struct FwSqliteValue;

using XFunc = void (*)(FwSqliteContext *, int, FwSqliteValue **);
using XDestroy = void (*)(void *);
using CreateFunctionFn = int (*)(FwSqlite *, const char *, int, int, void *, XFunc, XFunc, void (*)(FwSqliteContext *),
                                 XDestroy);
using ValueText16Fn = const void *(*)(FwSqliteValue *);
using ValueBytes16Fn = int (*)(FwSqliteValue *);
using ValueTypeFn = int (*)(FwSqliteValue *);
using ResultText16Fn = void (*)(FwSqliteContext *, const void *, int, XDestroy);
using ResultNullFn = void (*)(FwSqliteContext *);
using LibVersionNumberFn = int (*)();
using BusyCallback = int (*)(void *, int);
using BusyHandlerFn = int (*)(FwSqlite *, BusyCallback, void *);

constexpr int kSqliteUtf16 = 4;
constexpr int kSqliteDeterministic = 0x800;
constexpr int kSqliteNull = 5;

struct SqliteApi {
    bool ok = false;
    int versionNumber = 0;
    CreateFunctionFn createFunction = nullptr;
    ValueText16Fn valueText16 = nullptr;
    ValueBytes16Fn valueBytes16 = nullptr;
    ValueTypeFn valueType = nullptr;
    ResultText16Fn resultText16 = nullptr;
    ResultNullFn resultNull = nullptr;
    BusyHandlerFn busyHandler = nullptr;
};

const SqliteApi &sqliteApi()
{
    static const SqliteApi api = [] {
        SqliteApi a;
        QLibrary lib(QStringLiteral("sqlite3"), 0);
        if (!lib.load())
            return a;
        a.createFunction = reinterpret_cast<CreateFunctionFn>(lib.resolve("sqlite3_create_function_v2"));
        a.valueText16 = reinterpret_cast<ValueText16Fn>(lib.resolve("sqlite3_value_text16"));
        a.valueBytes16 = reinterpret_cast<ValueBytes16Fn>(lib.resolve("sqlite3_value_bytes16"));
        a.valueType = reinterpret_cast<ValueTypeFn>(lib.resolve("sqlite3_value_type"));
        a.resultText16 = reinterpret_cast<ResultText16Fn>(lib.resolve("sqlite3_result_text16"));
        a.resultNull = reinterpret_cast<ResultNullFn>(lib.resolve("sqlite3_result_null"));
        a.busyHandler = reinterpret_cast<BusyHandlerFn>(lib.resolve("sqlite3_busy_handler"));
        auto version = reinterpret_cast<LibVersionNumberFn>(lib.resolve("sqlite3_libversion_number"));
        a.versionNumber = version ? version() : 0;
        a.ok = a.createFunction && a.valueText16 && a.valueBytes16 && a.valueType && a.resultText16 && a.resultNull &&
               a.versionNumber > 0;
        return a;
    }();
    return api;
}

void foldFunction(FwSqliteContext *ctx, int argc, FwSqliteValue **argv)
{
    const SqliteApi &api = sqliteApi();
    if (argc != 1 || api.valueType(argv[0]) == kSqliteNull) {
        api.resultNull(ctx);
        return;
    }
    const auto *data = static_cast<const char16_t *>(api.valueText16(argv[0]));
    const int bytes = api.valueBytes16(argv[0]);
    const QString folded = QString::fromUtf16(data, bytes / 2).toCaseFolded();
    // SQLITE_TRANSIENT: SQLite copies the text before the QString goes away.
    api.resultText16(ctx, folded.utf16(), int(folded.size() * 2), reinterpret_cast<XDestroy>(-1));
}

// The version number SQLite reports through this connection, as 3040001.
int connectionSqliteVersion(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT sqlite_version()")) || !q.next())
        return -1;
    const QStringList parts = q.value(0).toString().split(QLatin1Char('.'));
    if (parts.size() < 3)
        return -1;
    return parts.at(0).toInt() * 1000000 + parts.at(1).toInt() * 1000 + parts.at(2).toInt();
}

// The driver's SQLite handle, when the library loaded here is the same SQLite
// that the driver runs on, so that it may be handed to it; else null.
FwSqlite *sqliteHandle(const QSqlDatabase &db)
{
    const SqliteApi &api = sqliteApi();
    if (!api.ok || connectionSqliteVersion(db) != api.versionNumber)
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<FwSqlite *const *>(handle.constData());
}

bool installFold(const QSqlDatabase &db)
{
    const SqliteApi &api = sqliteApi();
    FwSqlite *sqlite = sqliteHandle(db);
    if (!sqlite)
        return false;
    if (api.createFunction(sqlite, "fw_fold", 1, kSqliteUtf16 | kSqliteDeterministic, nullptr, &foldFunction, nullptr,
                           nullptr, nullptr) != 0)
        return false;
    const char *triggers[] = {
        "CREATE TEMP TRIGGER IF NOT EXISTS [fw_surname_key_insert] AFTER INSERT ON main.[Clients] BEGIN "
        "UPDATE [Clients] SET [SurnameKey] = fw_fold(NEW.[Surname]) "
        "WHERE rowid = NEW.rowid AND [SurnameKey] IS NOT fw_fold(NEW.[Surname]); END",
        "CREATE TEMP TRIGGER IF NOT EXISTS [fw_surname_key_update] AFTER UPDATE OF [Surname], [SurnameKey] "
        "ON main.[Clients] BEGIN "
        "UPDATE [Clients] SET [SurnameKey] = fw_fold(NEW.[Surname]) "
        "WHERE rowid = NEW.rowid AND [SurnameKey] IS NOT fw_fold(NEW.[Surname]); END",
    };
    for (const char *sql : triggers) {
        QSqlQuery q(db);
        if (!q.exec(QString::fromLatin1(sql)))
            return false;
    }
    return true;
}

// ---- Waiting for another workstation's lock ---------------------------------
//
// SQLite's own busy timeout waits silently: the window froze for as long as
// another workstation held the lock, once per statement. The program's own
// wait tells the program when it begins (a busy cursor and a status text),
// gives up after lockWait(), and spends that time once per turn of the event
// loop: when one wait has given up, the further statements of the same user
// step give up at once instead of freezing the window again.

int &lockWaitMs()
{
    static int ms = 5000;
    return ms;
}

// The window shows that the program waits once it has waited this long.
constexpr int kShowWaitAfterMs = 150;

struct WaitTurn {
    bool shown = false;  // the started handler was called in this turn
    bool gaveUp = false; // a wait gave up in this turn
    bool endQueued = false;
};

WaitTurn &waitTurn()
{
    static WaitTurn turn;
    return turn;
}

WaitHandlers &handlers()
{
    static WaitHandlers h;
    return h;
}

bool onInterfaceThread()
{
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

// When the event loop runs again, the step that waited is over.
void endTurnLater()
{
    WaitTurn &turn = waitTurn();
    if (turn.endQueued)
        return;
    turn.endQueued = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            const bool shown = waitTurn().shown;
            waitTurn() = WaitTurn();
            if (shown && handlers().ended)
                handlers().ended();
        },
        Qt::QueuedConnection);
}

// The file each connection's wait names; they live as long as the program.
const QString *waitName(const QString &path)
{
    static QHash<QString, QString> names;
    auto it = names.find(path);
    if (it == names.end())
        it = names.insert(path, path);
    return &it.value();
}

WaitClock &waitClock()
{
    static WaitClock clock;
    return clock;
}

qint64 waitClockNow()
{
    if (waitClock())
        return waitClock()();
    static QElapsedTimer steady;
    if (!steady.isValid())
        steady.start();
    return steady.elapsed();
}

int busyHandler(void *file, int count)
{
    // One start per wait: SQLite counts the calls of one wait from 0.
    static qint64 waitStarted = 0;
    if (count == 0)
        waitStarted = waitClockNow();
    const bool interfaceThread = onInterfaceThread();
    WaitTurn &turn = waitTurn();
    if (interfaceThread && turn.gaveUp)
        return 0;
    const qint64 elapsed = waitClockNow() - waitStarted;
    if (elapsed >= lockWaitMs()) {
        if (interfaceThread) {
            turn.gaveUp = true;
            endTurnLater();
        }
        return 0;
    }
    if (interfaceThread && !turn.shown && elapsed >= kShowWaitAfterMs) {
        turn.shown = true;
        endTurnLater();
        if (handlers().started)
            handlers().started(*static_cast<const QString *>(file));
    }
    // Short sleeps first: most locks are held for a few milliseconds.
    static const int delays[] = {1, 2, 5, 10, 15, 20};
    const int delay = count < int(std::size(delays)) ? delays[count] : 25;
    QThread::msleep(ulong(qBound(qint64(1), qint64(lockWaitMs()) - elapsed, qint64(delay))));
    return 1;
}

void installBusyHandler(const QSqlDatabase &db, const QString &path)
{
    const SqliteApi &api = sqliteApi();
    if (!api.busyHandler)
        return;
    if (FwSqlite *sqlite = sqliteHandle(db))
        api.busyHandler(sqlite, &busyHandler, const_cast<QString *>(waitName(path)));
}

// Rows written by an older copy of the program or by hand may lack their key.
void mendSurnameKeys(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral(
            "SELECT rowid, [Surname] FROM [Clients] WHERE [SurnameKey] IS NULL AND [Surname] IS NOT NULL")))
        return;
    QVector<QPair<qint64, QString>> rows;
    while (q.next())
        rows.append({q.value(0).toLongLong(), q.value(1).toString()});
    q.finish();
    if (rows.isEmpty())
        return;
    try {
        Transaction tx(db);
        for (const auto &row : rows)
            exec(db, QStringLiteral("UPDATE [Clients] SET [SurnameKey] = ? WHERE rowid = ?"),
                 {surnameKey(row.second), row.first});
        tx.commit();
    } catch (const FwError &) {
        // A file on a read-only share: the keys stay missing and the locator
        // does not find those rows by surname, but the file can be used.
    }
}

// ---- Transactions ----------------------------------------------------------

struct TxState {
    bool open = false;
    bool rollbackOnly = false;
};

QHash<QString, TxState> &txStates()
{
    static QHash<QString, TxState> states;
    return states;
}

// Only a regular file can hold a database. A named pipe in its place would
// hold the program in open() until something writes to it, for ever; a
// device or a folder is no database either.
bool isRegularFile(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

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

void removeConnection(const QString &name)
{
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(name);
    txStates().remove(name);
}

} // namespace

// ---- Public ------------------------------------------------------------------

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

QString surnameKey(const QString &surname)
{
    return surname.toCaseFolded();
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

QString lockedText(const QString &dbfName)
{
    return QStringLiteral("Fenwarra could not read or save in the case register %1 just now, because another "
                          "workstation is writing to it. Please try again shortly.")
        .arg(nativePath(absolutePath(dbfName)));
}

QString diskFullText(const QString &dbfName)
{
    return QStringLiteral("Fenwarra could not save in the case register %1 because the disk it is on is full. "
                          "Nothing of this change was saved; what the register held before is unharmed.\n\n"
                          "Make room on that disk (or ask whoever looks after the practice's computers to), then "
                          "try again.")
        .arg(nativePath(absolutePath(dbfName)));
}

QString damagedText(const QString &dbfName)
{
    return QStringLiteral("The case register %1 is damaged, so Fenwarra could not read or save what was asked.\n\n"
                          "Close Fenwarra on every workstation that uses this file, and ask whoever looks after the "
                          "practice's computers to put back the latest backup copy of it. Until then, changes may "
                          "be lost.")
        .arg(nativePath(absolutePath(dbfName)));
}

FwError errorFrom(const QSqlError &error, const QSqlDatabase &db)
{
    if (isUniqueViolation(error))
        return FwError(ErrNo::DuplicateKey);
    // A write refused because the file cannot be written is told in plain
    // words, with the file's name, wherever it happens.
    if (isReadOnlyError(error))
        return FwError(ErrNo::DatabaseError, cannotSaveMessage(db.databaseName()));
    if (isLockError(error))
        return FwError(ErrNo::DatabaseError, lockedText(db.databaseName()));
    // SQLite's own words ("database or disk is full", "database disk image is
    // malformed") name no file and say nothing of what to do.
    if (isDiskFullError(error))
        return FwError(ErrNo::DatabaseError, diskFullText(db.databaseName()));
    if (isDamagedError(error))
        return FwError(ErrNo::DatabaseError, damagedText(db.databaseName()));
    QString text = errorText(error);
    if (text.isEmpty())
        text = FwError::standardDescription(ErrNo::DatabaseError);
    return FwError(ErrNo::DatabaseError, text);
}

int lockWait()
{
    return lockWaitMs();
}

void setLockWait(int ms)
{
    lockWaitMs() = ms;
}

void setWaitClock(const WaitClock &clock)
{
    waitClock() = clock;
}

void setWaitHandlers(const WaitHandlers &h)
{
    handlers() = h;
}

WaitHandlers waitHandlers()
{
    return handlers();
}

namespace {
UpgradeFailedHandler &upgradeFailed()
{
    static UpgradeFailedHandler handler;
    return handler;
}

void reportNoUpgrade(const QString &text)
{
    if (upgradeFailed())
        upgradeFailed()(text);
}
} // namespace

void setUpgradeFailedHandler(const UpgradeFailedHandler &handler)
{
    upgradeFailed() = handler;
}

QString missingText(const QString &dbfName)
{
    return QStringLiteral("The database %1 cannot be found. If it is kept on a network share, check that the share "
                          "is mounted, then try again; or choose the database with File > Network Fenwarra. "
                          "No new, empty database has been made in its place.")
        .arg(nativePath(absolutePath(dbfName)));
}

namespace {
int userVersion(const QSqlDatabase &db)
{
    return scalar(db, QStringLiteral("PRAGMA user_version")).toInt();
}

// A file of an earlier version gets this version's reference rows. A failure
// leaves the file as it was; it is still the practice's database and opens,
// and the next opening tries again.
void upgradeOnOpening(const QSqlDatabase &db, const QString &path)
{
    // A file this user cannot write is upgraded at a later start, by someone
    // who can; start-up says once that it cannot be written.
    if (!isWritable(db))
        return;
    try {
        upgrade(db, QDir(dataDir()).filePath(QStringLiteral("rows")));
    } catch (const FwError &e) {
        reportNoUpgrade(QStringLiteral("The reference rows of this version of the program (such as the diet "
                                       "catalogue) could not be added to the database %1:\n%2\n\nThe database has "
                                       "not been changed and can be used as it was; the program will try again at "
                                       "its next start.")
                            .arg(nativePath(path), e.description()));
    }
}
} // namespace

QStringList tablesOfRows(const QString &script)
{
    // A bracketed, double-quoted, back-quoted or plain name after INSERT INTO.
    static const QRegularExpression insert(
        QStringLiteral(
            "^INSERT\\s+INTO\\s+(?:\\[([^\\]]*)\\]|\"((?:[^\"]|\"\")*)\"|`([^`]*)`|([A-Za-z_][A-Za-z0-9_]*))"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList tables;
    const QStringList statements = splitStatements(script);
    for (const QString &sql : statements) {
        const QRegularExpressionMatch m = insert.match(sql);
        if (!m.hasMatch())
            throw FwError(ErrNo::DatabaseError,
                          QStringLiteral("A reference rows file may hold INSERT INTO statements only, not: %1")
                              .arg(sql.left(80)));
        QString table;
        for (int group = 1; group <= 4 && table.isEmpty(); ++group)
            table = m.captured(group);
        table.replace(QLatin1String("\"\""), QLatin1String("\""));
        bool known = false;
        for (const QString &t : std::as_const(tables))
            known = known || t.compare(table, Qt::CaseInsensitive) == 0;
        if (!known)
            tables << table;
    }
    return tables;
}

// Columns that a later schema added to a table (the week of the growth-curve
// rows) are added to a file of an earlier version before its rows are loaded,
// so that the same rows files serve old and new files alike; so are the
// indexes it added (the one on [Last Weighed]). The shipped schema is read
// into a scratch database in memory to learn the columns and indexes.
void addMissingColumnsAndIndexes(const QSqlDatabase &db, const QString &schemaPath)
{
    const QString scratchName = QStringLiteral("fenwarra-schema-scratch");
    QList<QPair<QString, QPair<QString, QString>>> missing; // table, (column, type)
    QStringList missingIndexes;                             // their CREATE INDEX statements
    {
        QSqlDatabase scratch = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), scratchName);
        scratch.setDatabaseName(QStringLiteral(":memory:"));
        if (!scratch.open())
            throw FwError(ErrNo::DatabaseError, errorText(scratch.lastError()));
        runScript(scratch, schemaPath);
        QSqlQuery tables(scratch);
        tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
        while (tables.next()) {
            const QString table = tables.value(0).toString();
            QSet<QString> have;
            QSqlQuery info(db);
            info.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
            info.addBindValue(table);
            if (!info.exec())
                throw FwError(ErrNo::DatabaseError, errorText(info.lastError()));
            while (info.next())
                have.insert(info.value(0).toString().toLower());
            if (have.isEmpty())
                continue; // a table the file lacks altogether is not ours to make here
            QSqlQuery wanted(scratch);
            wanted.prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"));
            wanted.addBindValue(table);
            wanted.exec();
            while (wanted.next())
                if (!have.contains(wanted.value(0).toString().toLower()))
                    missing.append({table, {wanted.value(0).toString(), wanted.value(1).toString()}});
            QSqlQuery indexes(scratch);
            indexes.prepare(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND "
                                           "tbl_name = ? AND sql IS NOT NULL"));
            indexes.addBindValue(table);
            indexes.exec();
            while (indexes.next())
                if (!scalar(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?"),
                            {indexes.value(0)})
                         .isValid())
                    missingIndexes << indexes.value(1).toString();
        }
        scratch.close();
    }
    QSqlDatabase::removeDatabase(scratchName);
    auto quoted = [](QString name) {
        return QLatin1Char('"') + name.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    };
    for (const auto &[table, column] : std::as_const(missing)) {
        // Names and types come from the shipped schema, never from outside.
        QString type = column.second;
        type.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9() ]")));
        exec(db, QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(quoted(table), quoted(column.first), type));
    }
    // The statements are the shipped schema's own, after the columns they
    // may index.
    for (const QString &sql : std::as_const(missingIndexes))
        exec(db, sql);
}

UpgradeResult upgrade(const QSqlDatabase &db, const QString &rowsDir)
{
    UpgradeResult result;
    result.fromVersion = userVersion(db);
    if (result.fromVersion >= kSchemaVersion)
        return result;

    const QDir rows(rowsDir);
    // A file that has had the reference rows does not get them again: a table
    // the practice has emptied since stays empty.
    const bool wantsRows = result.fromVersion < kRowsVersion;
    QStringList files = wantsRows ? rows.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name) : QStringList();
    // Without the shipped rows there is nothing to bring the file up to date
    // with; marking it would make the next start, with the rows in place,
    // skip them.
    if (wantsRows && files.isEmpty())
        throw FwError(ErrNo::DatabaseError,
                      QStringLiteral("The reference rows in %1 are missing; the program's data files are not "
                                     "installed.")
                          .arg(nativePath(rowsDir)));
    // Nor without the shipped schema, which tells the columns and indexes.
    const QString schemaPath = rows.absoluteFilePath(QStringLiteral("../schema.sql"));
    if (!QFileInfo::exists(schemaPath))
        throw FwError(ErrNo::DatabaseError,
                      QStringLiteral("The schema %1 is missing; the program's data files are not installed.")
                          .arg(nativePath(QDir::cleanPath(schemaPath))));

    Transaction tx(db);
    // Another workstation may have upgraded the file while this one waited
    // for the lock.
    result.fromVersion = userVersion(db);
    if (result.fromVersion >= kSchemaVersion)
        return result; // the transaction rolls back: nothing was written
    if (result.fromVersion >= kRowsVersion)
        files.clear();

    addMissingColumnsAndIndexes(db, schemaPath);

    // Which files to load is decided on the tables as the file had them
    // before this upgrade, so that two files filling one table both load,
    // as they do when a new file is made.
    QList<QPair<QString, QStringList>> plan;
    QHash<QString, bool> emptyTables; // by lower-case name
    for (const QString &file : files) {
        QStringList tables;
        try {
            tables = tablesOfRows(readText(rows.filePath(file)));
        } catch (const FwError &e) {
            throw FwError(e.number(), QStringLiteral("%1: %2").arg(file, e.description()));
        }
        for (const QString &table : std::as_const(tables)) {
            if (emptyTables.contains(table.toLower()))
                continue;
            QString quoted = table;
            quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("SELECT 1 FROM \"%1\" LIMIT 1").arg(quoted)))
                throw FwError(ErrNo::DatabaseError, QStringLiteral("%1: %2").arg(file, errorText(q.lastError())));
            emptyTables.insert(table.toLower(), !q.next());
        }
        plan.append({file, tables});
    }
    for (const auto &[file, tables] : std::as_const(plan)) {
        bool empty = true;
        for (const QString &table : tables)
            empty = empty && emptyTables.value(table.toLower());
        if (!empty) {
            result.skippedFiles << file;
            continue;
        }
        runScript(db, rows.filePath(file));
        result.loadedFiles << file;
    }
    // A whole number of this program's own, not a value from outside.
    exec(db, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    tx.commit();
    return result;
}

QSqlDatabase connection(const QString &dbfName)
{
    const QString path = absolutePath(dbfName);
    const QString name = kConnectionPrefix + path;
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && QFileInfo::exists(path))
            return db;
    }
    if (QSqlDatabase::contains(name))
        removeConnection(name);

    if (!QFileInfo::exists(path)) {
        // Opening never makes a database: a missing file most often lives on
        // a share that is not mounted (or went away), and a new, empty file
        // there would split the practice's case register in two.
        throw FwError(ErrNo::DatabaseError, missingText(path));
    }
    if (!isRegularFile(path))
        throw FwError(
            ErrNo::DatabaseError,
            QStringLiteral("%1 is not a file but a named pipe, a device or a folder, so it cannot be the case "
                           "register. It has not been opened. Choose the database with File > Network "
                           "Fenwarra.")
                .arg(nativePath(path)));
    if (!isFenwarraDatabase(path))
        throw FwError(ErrNo::DatabaseError,
                      QStringLiteral("%1 is not a Fenwarra database. It has not been changed.").arg(nativePath(path)));

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(kConnectOptions);
    if (!db.open()) {
        const QString text = errorText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw FwError(ErrNo::DatabaseError,
                      QStringLiteral("The database %1 could not be opened: %2").arg(nativePath(path), text));
    }
    installBusyHandler(db, path);
    // The first read: when another workstation holds the file locked beyond
    // the wait, say so now rather than wait again at every step below.
    try {
        scalar(db, QStringLiteral("SELECT COUNT(*) FROM sqlite_master"));
    } catch (const FwError &) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw;
    }
    QSqlQuery(db).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    // A rollback journal, not WAL: the file may live on a shared folder,
    // where WAL's shared memory does not work.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    // Room for a large practice's whole register (SQLite's default is 2 MiB):
    // the lists read all of it, and the reminders' daily write of every row
    // would otherwise spill pages to the file in the middle of its
    // transaction. The pages are kept only while no other workstation writes.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA cache_size = -65536"));
    installFold(db);
    mendSurnameKeys(db);
    upgradeOnOpening(db, path);
    return db;
}

void closeAll()
{
    const QStringList names = QSqlDatabase::connectionNames();
    for (const QString &name : names)
        if (name.startsWith(kConnectionPrefix))
            removeConnection(name);
    txStates().clear();
}

QSqlQuery exec(const QSqlDatabase &db, const QString &sql, const QVariantList &params)
{
    QSqlQuery q(db);
    if (!q.prepare(sql))
        throwFor(q.lastError(), db);
    for (const QVariant &v : params)
        q.addBindValue(v);
    if (!q.exec())
        throwFor(q.lastError(), db);
    return q;
}

QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantList &params)
{
    QSqlQuery q = exec(db, sql, params);
    if (!q.next())
        return QVariant();
    const QVariant v = q.value(0);
    q.finish();
    return v;
}

QVariantList writeMark(const QSqlDatabase &db)
{
    QSqlQuery q = exec(db, QStringLiteral("SELECT (SELECT [data_version] FROM pragma_data_version), total_changes()"));
    if (!q.next())
        return {};
    const QVariantList mark{q.value(0).toLongLong(), q.value(1).toLongLong()};
    q.finish();
    return mark;
}

QString likeEscape(const QString &text)
{
    QString out;
    out.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

// ---- Transaction ---------------------------------------------------------------

Transaction::Transaction(const QSqlDatabase &db) : m_db(db)
{
    TxState &state = txStates()[m_db.connectionName()];
    if (state.open)
        return; // joins the outer transaction
    // IMMEDIATE takes the write lock at once, so that a read followed by a
    // write (the next case number) cannot interleave with another
    // workstation's.
    exec(m_db, QStringLiteral("BEGIN IMMEDIATE"));
    state.open = true;
    state.rollbackOnly = false;
    m_owner = true;
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    auto it = txStates().find(m_db.connectionName());
    if (m_owner) {
        if (m_db.isOpen())
            QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        if (it != txStates().end())
            *it = TxState();
    } else if (it != txStates().end() && it->open) {
        // An inner step failed: the outer transaction must not commit the
        // rest as if it were whole.
        it->rollbackOnly = true;
    }
}

void Transaction::commit()
{
    if (m_done)
        return;
    m_done = true;
    if (!m_owner)
        return;
    TxState &state = txStates()[m_db.connectionName()];
    if (state.rollbackOnly) {
        QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        state = TxState();
        throw FwError(ErrNo::DatabaseError, QStringLiteral("A step of this change failed; nothing of it was saved."));
    }
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("COMMIT"))) {
        const QSqlError error = q.lastError();
        QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        state = TxState();
        throwFor(error, m_db);
    }
    state = TxState();
}

} // namespace ClinicDb
