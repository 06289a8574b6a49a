#pragma once
// Whether this user may write the case register, and what a nurse is told
// when they may not. SQLite's own words ("attempt to write a readonly
// database") name no file and give no advice; every write that fails for that
// reason is reported with the messages here instead.
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace ClinicDb {

/// The name of the connection that connection() opens for a database file
/// (tests open a read-only connection under it, as a read-only share would).
QString connectionName(const QString &dbfName);

/// True when a statement failed because the database cannot be written: the
/// file or its folder is read-only for this user, or the connection was
/// opened read-only (SQLITE_READONLY and its extended codes).
bool isReadOnlyError(const QSqlError &error);

/// True when this user can save changes in the open database: the connection
/// was not opened read-only, and both the file and its folder (where SQLite
/// writes its journal while it saves) are writable. Looking takes no lock, so
/// it never waits for another workstation.
bool isWritable(const QSqlDatabase &db);

/// The message of a change that could not be saved because the file cannot
/// be written: which file, why, and what to do.
QString cannotSaveMessage(const QString &dbfName);

/// The warning given once at start-up when the file cannot be written.
QString readOnlyWarning(const QString &dbfName);

} // namespace ClinicDb
