#pragma once
// What the files of the clinic database share with each other and with
// nothing else: ClinicDb.cpp (the connection and statements), ClinicDbFiles.cpp
// (file kinds and making a new file), SchemaUpgrade.cpp (the shipped scripts
// and the upgrade), LockWait.cpp (the wait for another workstation's lock) and
// CaseFold.cpp (the SQLite library, the fold and the surname keys). Callers
// outside platform/db use ClinicDb.h.
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace ClinicDb {

// ---- ClinicDb.cpp

QString absolutePath(const QString &path);
QString nativePath(const QString &path);
/// The text of a failed statement: the database's own words where it gave any.
QString errorText(const QSqlError &error);

// Waiting for another workstation's lock before giving up, in milliseconds,
// where the program's own wait (busyHandler in LockWait.cpp) cannot be
// installed.
inline const QString kConnectOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");

// ---- ClinicDbFiles.cpp

/// False for a named pipe, a device or a folder: only a regular file can hold
/// a database.
bool isRegularFile(const QString &path);

// ---- SchemaUpgrade.cpp

/// Run every statement of a script file; throws FwError with the file's name
/// and the statement that failed.
void runScript(const QSqlDatabase &db, const QString &path);
/// Bring a file of an earlier version up to date as it is opened. A failure
/// leaves the file as it was and is told through setUpgradeFailedHandler's
/// handler.
void upgradeOnOpening(const QSqlDatabase &db, const QString &path);

// ---- CaseFold.cpp: the SQLite library that the Qt driver runs on, whose own
// functions give the fold and the program's wait for a lock.

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

/// The library's functions, resolved once; ok is false when what the fold
/// needs is missing.
const SqliteApi &sqliteApi();
/// The driver's SQLite handle when the library above is the one the driver
/// runs on; else null.
FwSqlite *sqliteHandle(const QSqlDatabase &db);
/// Give the connection fw_fold() and the temporary triggers that keep
/// [SurnameKey] equal to the fold of [Surname]; false when it cannot.
bool installFold(const QSqlDatabase &db);
/// Set the missing surname keys of rows written by an older copy of the
/// program or by hand.
void mendSurnameKeys(const QSqlDatabase &db);

// ---- LockWait.cpp

/// Have the statements of db wait for another workstation's lock through the
/// program's own wait, which names path to the wait handlers.
void installBusyHandler(const QSqlDatabase &db, const QString &path);

} // namespace ClinicDb
