#pragma once
// The clinic database: one SQLite file (named Fenwarra.mdb, as it always has
// been) that several workstations may share. This header gives the
// connection, statement helpers that bind every value as a parameter, and a
// scoped transaction.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace ClinicDb {

/// The connect text of the data sources. SQLite has no password; the file is
/// protected by its permissions instead (0600 when the program creates it).
inline const QString kConnect = QStringLiteral(";pwd=rif4471quodo");
/// The database's file name inside its folder.
inline const QString kFileName = QStringLiteral("Fenwarra.mdb");

/// The open connection to a database file, opened on first use (rollback
/// journal, busy timeout, foreign keys). When the file does not exist it is
/// created from dataDir()/schema.sql and the reference rows in dataDir()/rows.
/// A file that exists but is not a Fenwarra database is refused with
/// FwError(ErrNo::DatabaseError, a clear message) and never altered.
QSqlDatabase connection(const QString &dbfName);

/// Create a new database file from the shipped schema and reference rows.
/// Throws FwError when it cannot. The folder is created when missing.
void create(const QString &dbfName);

/// True when the file is a SQLite database holding the table Clients.
bool isFenwarraDatabase(const QString &path);

/// Close every open connection (tests, relocation of the database).
void closeAll();

/// The folder of the shipped data files (schema.sql, rows/, help/, reports/):
/// App().AppPath when it holds schema.sql, else the source tree's data/.
QString dataDir();

/// Run one statement with bound values; throws FwError with the driver's
/// message (and 3022 for a unique-index violation) when it fails.
QSqlQuery exec(const QSqlDatabase &db, const QString &sql, const QVariantList &params = {});

/// The first column of the first row, or an invalid QVariant when none.
QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantList &params = {});

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
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    QSqlDatabase m_db;
    bool m_owner = false;
    bool m_done = false;
};

} // namespace ClinicDb
