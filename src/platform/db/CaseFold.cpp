// Case folding inside SQLite, and the surname keys of the case locator.
//
// The surname key must be the same fold wherever a surname is written, also
// by plain SQL. SQLite's own lower() knows only ASCII, so the connection gets
// a function fw_fold() that folds with Qt, and temporary triggers (they live
// in the connection, not in the file) keep [SurnameKey] equal to the fold of
// [Surname]. The function is registered through the SQLite library that the
// Qt driver already uses; when that cannot be done safely, writes through a
// Recordset still set the key and connection() mends missing keys on opening.
// The program's wait for a lock (LockWait.cpp) is installed through the same
// library, so sqliteApi() and sqliteHandle() serve it too.
#include "platform/db/ClinicDb.h"

#include "platform/FwError.h"
#include "platform/db/ClinicDbInternal.h"

#include <QLibrary>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QStringList>
#include <QVector>

namespace ClinicDb {

namespace {

constexpr int kSqliteUtf16 = 4;
constexpr int kSqliteDeterministic = 0x800;
constexpr int kSqliteNull = 5;

} // namespace

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

namespace {

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

} // namespace

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

QString surnameKey(const QString &surname)
{
    return surname.toCaseFolded();
}

} // namespace ClinicDb
