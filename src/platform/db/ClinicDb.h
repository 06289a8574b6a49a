#pragma once
// The clinic database: one SQLite file (named Fenwarra.mdb, as it always has
// been) that several workstations may share. This header gives the
// connection, statement helpers that bind every value as a parameter, and a
// scoped transaction.
#include "platform/FwError.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>

namespace ClinicDb {

/// The connect text of the data sources. SQLite has no password; the file is
/// protected by its permissions instead (0600 when the program creates it).
inline const QString kConnect = QStringLiteral(";pwd=rif4471quodo");
/// The database's file name inside its folder.
inline const QString kFileName = QStringLiteral("Fenwarra.mdb");
/// The SQLite application id ("FWNR") that schema.sql writes into the file's
/// header: it marks the file as a Fenwarra database.
constexpr quint32 kApplicationId = 0x46574E52;
/// The version of the database's layout and reference rows that this program
/// makes and expects, kept in the file as PRAGMA user_version; schema.sql sets
/// the same number. Raise both when a release adds columns or indexes to the
/// schema or ships reference rows, and upgrade() brings earlier files up to
/// date.
constexpr int kSchemaVersion = 3;
/// The version that shipped the reference rows: a file of an earlier version
/// has the tables empty and gets the rows; a later one has had them already.
constexpr int kRowsVersion = 2;

/// The open connection to a database file, opened on first use (rollback
/// journal, busy timeout, foreign keys). A missing file is never made here:
/// it is reported with FwError(ErrNo::DatabaseError, missingText()); only the
/// start makes a database, and only in the user's default folder. A file that
/// exists but is not a Fenwarra database is refused with
/// FwError(ErrNo::DatabaseError, a clear message) and never altered.
/// A file of an earlier version is upgraded (upgrade()) when it is opened; an
/// upgrade that fails is reported in a message box, the file stays as it was
/// and opens as it is, and the next opening tries again.
QSqlDatabase connection(const QString &dbfName);

/// What upgrade() did.
struct UpgradeResult {
    int fromVersion = 0;      // the file's version before; kSchemaVersion or more: nothing was done
    QStringList loadedFiles;  // the rows files loaded, by file name
    QStringList skippedFiles; // the rows files left out because a table of theirs holds rows
};

/// Bring a file made by an earlier version (PRAGMA user_version below
/// kSchemaVersion) up to date, once, in one transaction: the columns and
/// indexes of the shipped schema that the file lacks are added; a file older
/// than kRowsVersion gets every rows file of rowsDir (*.sql, in name order)
/// whose tables are all empty; a rows file with a table that already holds
/// rows is left out whole, so that nothing the practice has is changed or
/// doubled; then the file is marked with kSchemaVersion, so that the next
/// opening does nothing. Rows files hold INSERT statements only. Any failure (a missing table or folder, a bad
/// statement, a file that cannot be written) throws FwError and leaves the
/// database exactly as it was. Another workstation upgrading the same file
/// at the same moment is waited for, and its upgrade is not repeated.
UpgradeResult upgrade(const QSqlDatabase &db, const QString &rowsDir);

/// The tables a rows script inserts into, in the order of their first
/// statement. Throws FwError for a statement that is not an INSERT INTO.
QStringList tablesOfRows(const QString &script);

/// What the user is told when the database file does not exist: the file,
/// and the ways out (mount the share, or choose the database).
QString missingText(const QString &dbfName);

/// What the user is told when another workstation holds the file locked for
/// longer than the program waits: the file, and to try again shortly.
QString lockedText(const QString &dbfName);

/// What the user is told when a change cannot be saved because the disk that
/// holds the file is full: the file, that nothing was saved, and what to do.
QString diskFullText(const QString &dbfName);

/// What the user is told when the file turns out to be damaged: the file, and
/// to put back the latest backup copy.
QString damagedText(const QString &dbfName);

/// The error a failed statement on db is reported with: 3022 for a unique
/// index; in plain words with the file's name when the file cannot be written
/// (cannotSaveMessage()), another workstation holds the lock (lockedText()),
/// the disk is full (diskFullText()) or the file is damaged (damagedText());
/// else the database's own words.
FwError errorFrom(const QSqlError &error, const QSqlDatabase &db);

/// How long, in milliseconds, a statement waits for another workstation's
/// lock before it gives up (5000). One user step waits this long once: when
/// one of its statements gave up, the others give up at once, until the
/// program's event loop runs again.
int lockWait();
void setLockWait(int ms);

/// The clock a wait for a lock is measured by: milliseconds from any fixed
/// moment, never going back. Tests set one of their own, so that how long the
/// program waited does not depend on how busy the machine is; an empty one
/// returns to the real clock.
using WaitClock = std::function<qint64()>;
void setWaitClock(const WaitClock &clock);

/// Told on the interface thread when a statement has waited a moment for
/// another workstation's lock (once per user step, with the file), and when
/// the step is over (the event loop runs again). The window cannot repaint
/// itself while it waits, so started must draw what it shows at once.
struct WaitHandlers {
    std::function<void(const QString &dbfName)> started;
    std::function<void()> ended;
};
void setWaitHandlers(const WaitHandlers &handlers);
WaitHandlers waitHandlers();

/// Told when a file of an earlier version could not get this version's
/// reference rows as it was opened, with the text for the user: the file is
/// left as it was and opens all the same. The data layer shows no box of its
/// own; the shell shows this one. Without a handler nothing is told.
using UpgradeFailedHandler = std::function<void(const QString &text)>;
void setUpgradeFailedHandler(const UpgradeFailedHandler &handler);

/// Create a new database file from the shipped schema and reference rows.
/// Throws FwError when it cannot or when the file exists. The folder is
/// created when missing. The file is built under a temporary name and put in
/// place by an operation that never replaces a file: when another workstation
/// put the same file in place meanwhile, this copy is dropped and theirs kept.
void create(const QString &dbfName);

/// Create the database as create() does when the file does not exist yet.
/// True when this call made it; false when it existed, or another workstation
/// made it at the same moment (its file is then kept and used).
bool createIfMissing(const QString &dbfName);

/// How a finished file is put under its real name; each is the fallback of
/// the one before, for filesystems that lack it: a rename that refuses to
/// replace, a hard link, a copy into a file made exclusively.
enum class PlaceMethod { Rename, HardLink, Copy };
enum class Placed { Done, TargetExists, Failed };

/// Move temp to path, never replacing a file that exists there: then
/// TargetExists, and both files are left as they were. Done: temp is gone.
/// Failed: *error says why, path is not made, temp is left.
Placed placeWithoutReplacing(const QString &temp, const QString &path, QString *error,
                             PlaceMethod first = PlaceMethod::Rename);

/// True when the file is a SQLite database marked with kApplicationId and
/// holding the table Clients. Looking never changes the file.
bool isFenwarraDatabase(const QString &path);

/// Close every open connection (tests, relocation of the database).
void closeAll();

/// The folder of the shipped data files (schema.sql, rows/, help/, reports/),
/// without a trailing "/": dataDirFrom(App().AppPath, the program's folder,
/// the source tree's data/).
QString dataDir();

/// The first of these that holds schema.sql: appPath; the installed
/// <programDir>/../share/fenwarra; sourceDir. When none does, the installed
/// folder (whose missing schema is then reported where it is needed).
QString dataDirFrom(const QString &appPath, const QString &programDir, const QString &sourceDir);

/// The key under which the case locator searches a surname: the surname
/// case-folded (so "ÅNGSTRÖM" and "Ångström" share one key). The connection
/// keeps [Clients].[SurnameKey] equal to it for every row it writes; a search
/// folds the typed prefix the same way and uses LIKE on [SurnameKey].
QString surnameKey(const QString &surname);

/// Run one statement with bound values; throws FwError with the driver's
/// message (and 3022 for a unique-index violation) when it fails.
QSqlQuery exec(const QSqlDatabase &db, const QString &sql, const QVariantList &params = {});

/// The first column of the first row, or an invalid QVariant when none.
QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantList &params = {});

/// A mark of everything written to the file so far: SQLite's data_version,
/// which moves when another connection (another workstation) commits, and
/// total_changes(), which moves when this connection writes. While two marks
/// taken through the same connection are equal, nothing has been written in
/// between, and what was read from the file then still stands.
QVariantList writeMark(const QSqlDatabase &db);

/// Escape a typed text for a LIKE pattern with ESCAPE '\': %, _ and \ match
/// themselves.
QString likeEscape(const QString &text);

/// A transaction that rolls back unless commit() is called; nested use on the
/// same connection joins the outer transaction.
class Transaction {
public:
    explicit Transaction(const QSqlDatabase &db);
    ~Transaction();
    void commit();
    /// False when it joined an outer transaction, whose end decides.
    bool isOutermost() const { return m_owner; }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    QSqlDatabase m_db;
    bool m_owner = false;
    bool m_done = false;
};

} // namespace ClinicDb
