// The shipped SQL scripts, and a file of an earlier version brought up to
// date: the columns and indexes that the shipped schema added since, and the
// reference rows, once, in one transaction, so that a failure leaves the file
// exactly as it was. The opening of a file runs the upgrade and tells a
// failure through the handler the shell installs.
#include "platform/db/ClinicDb.h"

#include "platform/FwError.h"
#include "platform/db/ClinicDbInternal.h"
#include "platform/db/WriteAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace ClinicDb {

namespace {

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

} // namespace

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

int userVersion(const QSqlDatabase &db)
{
    return scalar(db, QStringLiteral("PRAGMA user_version")).toInt();
}
} // namespace

void setUpgradeFailedHandler(const UpgradeFailedHandler &handler)
{
    upgradeFailed() = handler;
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

} // namespace ClinicDb
