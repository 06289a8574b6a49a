// The connection to the clinic database and what every statement goes
// through: opening a file once it is known to be ours, statements with bound
// values, a failed statement told in words a nurse can act on, and the
// Transaction that nested steps join. Making a new file, the schema upgrade,
// the wait for another workstation's lock and the surname fold are kept in
// files of their own beside this one, joined by ClinicDbInternal.h.
#include "platform/db/ClinicDb.h"

#include "platform/FwError.h"
#include "platform/db/ClinicDbInternal.h"
#include "platform/db/WriteAccess.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QStringList>

namespace ClinicDb {

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

namespace {

const QString kConnectionPrefix = QStringLiteral("fenwarra:");

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

QString missingText(const QString &dbfName)
{
    return QStringLiteral("The database %1 cannot be found. If it is kept on a network share, check that the share "
                          "is mounted, then try again; or choose the database with File > Network Fenwarra. "
                          "No new, empty database has been made in its place.")
        .arg(nativePath(absolutePath(dbfName)));
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
