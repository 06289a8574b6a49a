#include "platform/db/Recordset.h"

#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <algorithm>

namespace {

const QString kRowIdColumn = QStringLiteral("fw_rowid__");

QString stripBrackets(QString name)
{
    name = name.trimmed();
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    return name;
}

QString bracket(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

// "SELECT * FROM [T]" or "SELECT * FROM T", optionally followed by WHERE,
// ORDER BY or LIMIT: the rows of one table, which can be written back.
const QRegularExpression &singleTableSelect()
{
    static const QRegularExpression re(
        QStringLiteral(
            R"(^\s*SELECT\s+\*\s+FROM\s+(\[[^\]]+\]|[A-Za-z_][A-Za-z0-9_]*)\s*((?:WHERE|ORDER\s+BY|LIMIT)\b.*)?$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return re;
}

const QRegularExpression &startsWithSelect()
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*(SELECT|WITH|VALUES|PRAGMA)\b)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

// The table's name as the schema spells it, or "" when it is no table.
QString canonicalTable(const QSqlDatabase &db, const QString &name)
{
    const QVariant v = ClinicDb::scalar(
        db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"), {name});
    return v.isValid() ? v.toString() : QString();
}

// Columns the program derives from others or recomputes for every row at
// once: a change of them is no change by another user. [SurnameKey] follows
// [Surname]; [Aged] is rewritten in all rows by every reminder load, which
// must not make the open case windows' next save a conflict.
bool derivedColumn(const QString &table, const QString &column)
{
    return table.compare(QLatin1String("Clients"), Qt::CaseInsensitive) == 0 &&
           (column.compare(QLatin1String("SurnameKey"), Qt::CaseInsensitive) == 0 ||
            column.compare(QLatin1String("Aged"), Qt::CaseInsensitive) == 0);
}

} // namespace

// ---- Recordset -----------------------------------------------------------------

void Recordset::open(const QSqlDatabase &db, const QString &source, const QVariantList &params)
{
    close();
    QString sql;
    QString table;
    const QString trimmed = source.trimmed();
    if (!startsWithSelect().match(trimmed).hasMatch()) {
        // A bare table name, as data controls take it ("Clients", "[Dog Breeds]").
        table = canonicalTable(db, stripBrackets(trimmed));
        if (table.isEmpty())
            throw FwError(ErrNo::DatabaseError,
                          QStringLiteral("The table '%1' does not exist in the database.").arg(stripBrackets(trimmed)));
        sql = QStringLiteral("SELECT rowid AS %1, * FROM %2").arg(kRowIdColumn, bracket(table));
    } else {
        const QRegularExpressionMatch m = singleTableSelect().match(trimmed);
        if (m.hasMatch())
            table = canonicalTable(db, stripBrackets(m.captured(1)));
        if (!table.isEmpty())
            sql = QStringLiteral("SELECT rowid AS %1, * FROM %2 %3").arg(kRowIdColumn, bracket(table), m.captured(2));
        else
            sql = trimmed; // read only
    }

    QSqlQuery q = ClinicDb::exec(db, sql, params);
    QSqlRecord shape = q.record();
    const bool withRowId = !table.isEmpty();
    if (withRowId)
        shape.remove(0);
    while (q.next()) {
        QSqlRecord row = q.record();
        if (withRowId) {
            m_rowIds.append(row.value(0).toLongLong());
            row.remove(0);
        }
        m_rows.append(row);
    }
    if (q.lastError().isValid())
        throw ClinicDb::errorFrom(q.lastError(), db);
    q.finish();
    shape.clearValues();

    m_db = db;
    m_table = table;
    m_shape = shape;
    m_open = true;
    m_pos = m_rows.isEmpty() ? -1 : 0;
}

void Recordset::close()
{
    m_db = QSqlDatabase();
    m_open = false;
    m_table.clear();
    m_shape = QSqlRecord();
    m_rows.clear();
    m_rowIds.clear();
    m_pos = -1;
    m_mode = Mode::None;
    m_buffer = QSqlRecord();
    m_dirty.clear();
}

bool Recordset::eof() const
{
    return m_rows.isEmpty() || m_pos >= m_rows.size();
}
bool Recordset::bof() const
{
    return m_rows.isEmpty() || m_pos < 0;
}

// Moving the cursor ends an edit that was not updated, as a data control's
// recordset does; windows save their bound boxes before they move.
void Recordset::moveFirst()
{
    if (m_rows.isEmpty())
        throw FwError(ErrNo::NoCurrentRecord);
    cancelUpdate();
    m_pos = 0;
}

void Recordset::moveLast()
{
    if (m_rows.isEmpty())
        throw FwError(ErrNo::NoCurrentRecord);
    cancelUpdate();
    m_pos = m_rows.size() - 1;
}

void Recordset::moveNext()
{
    if (eof())
        throw FwError(ErrNo::NoCurrentRecord);
    cancelUpdate();
    ++m_pos;
}

void Recordset::movePrevious()
{
    if (bof())
        throw FwError(ErrNo::NoCurrentRecord);
    cancelUpdate();
    --m_pos;
}

void Recordset::moveTo(int position)
{
    if (position < 0 || position >= m_rows.size())
        throw FwError(ErrNo::NoCurrentRecord);
    cancelUpdate();
    m_pos = position;
}

QStringList Recordset::fieldNames() const
{
    QStringList out;
    for (int i = 0; i < m_shape.count(); ++i)
        out << m_shape.fieldName(i);
    return out;
}

bool Recordset::hasField(const QString &name) const
{
    return column(name) >= 0;
}

int Recordset::column(const QString &name) const
{
    // QSqlRecord matches names without regard to (ASCII) case, as the windows
    // have always named the fields.
    return m_shape.indexOf(stripBrackets(name));
}

const QSqlRecord &Recordset::current() const
{
    if (m_mode != Mode::None)
        return m_buffer;
    if (!m_open || eof() || bof())
        throw FwError(ErrNo::NoCurrentRecord);
    return m_rows.at(m_pos);
}

QVariant Recordset::field(const QString &name) const
{
    const QSqlRecord &row = current();
    const int c = column(name);
    if (c < 0)
        throw FwError(ErrNo::ItemNotFound);
    return row.value(c);
}

QString Recordset::text(const QString &name) const
{
    const QVariant v = field(name);
    return v.isNull() ? QString() : v.toString();
}

bool Recordset::isNull(const QString &name) const
{
    return field(name).isNull();
}

QSqlField Recordset::fieldInfo(const QString &name) const
{
    const int c = column(name);
    return c < 0 ? QSqlField() : m_shape.field(c);
}

void Recordset::edit()
{
    if (!updatable())
        throw FwError(ErrNo::NotUpdatable);
    if (m_mode != Mode::None)
        cancelUpdate();
    if (eof() || bof())
        throw FwError(ErrNo::NoCurrentRecord);
    m_buffer = m_rows.at(m_pos);
    m_dirty.clear();
    m_mode = Mode::Edit;
}

void Recordset::addNew()
{
    if (!updatable())
        throw FwError(ErrNo::NotUpdatable);
    m_buffer = m_shape;
    m_buffer.clearValues();
    m_dirty.clear();
    m_mode = Mode::AddNew;
}

void Recordset::setField(const QString &name, const QVariant &value)
{
    if (m_mode == Mode::None)
        throw FwError(ErrNo::NoEditInProgress);
    const int c = column(name);
    if (c < 0)
        throw FwError(ErrNo::ItemNotFound);
    m_buffer.setValue(c, value);
    m_dirty.insert(c, true);
}

QSqlRecord Recordset::readRow(qint64 rowId) const
{
    QSqlQuery q =
        ClinicDb::exec(m_db, QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(bracket(m_table)), {rowId});
    if (!q.next())
        throw FwError(ErrNo::RowDeleted);
    QSqlRecord row = q.record();
    q.finish();
    return row;
}

QStringList Recordset::uniqueKeyColumns() const
{
    QStringList uniqueIndexes;
    QSqlQuery list = ClinicDb::exec(m_db, QStringLiteral("PRAGMA index_list(%1)").arg(bracket(m_table)));
    while (list.next()) {
        const QSqlRecord r = list.record();
        if (r.value(QStringLiteral("unique")).toInt() == 1)
            uniqueIndexes << r.value(QStringLiteral("name")).toString();
    }
    list.finish();
    QStringList keys;
    for (const QString &index : std::as_const(uniqueIndexes)) {
        QSqlQuery info = ClinicDb::exec(m_db, QStringLiteral("PRAGMA index_info(%1)").arg(bracket(index)));
        while (info.next())
            keys << info.record().value(QStringLiteral("name")).toString();
    }
    return keys;
}

QString Recordset::sameRowCondition(QVariantList &params, const QList<int> *onlyColumns) const
{
    // The row is the one that was read only while every column still holds
    // the value read; a row changed meanwhile, or a rowid given to another
    // row after a deletion, does not match. When only some columns are
    // checked (the fields being written), the row's unique keys are checked
    // too, so that a rowid given to another row is still never written.
    const QSqlRecord &orig = m_rows.at(m_pos);
    QString where = QStringLiteral("rowid = ?");
    params << m_rowIds.at(m_pos);
    const QStringList keys = onlyColumns ? uniqueKeyColumns() : QStringList();
    for (int i = 0; i < orig.count(); ++i) {
        if (derivedColumn(m_table, orig.fieldName(i)))
            continue;
        if (onlyColumns && !onlyColumns->contains(i) && !keys.contains(orig.fieldName(i), Qt::CaseInsensitive))
            continue;
        where += QStringLiteral(" AND %1 IS ?").arg(bracket(orig.fieldName(i)));
        params << orig.value(i);
    }
    return where;
}

void Recordset::reportMissedRow()
{
    const qint64 rowId = m_rowIds.at(m_pos);
    const QVariant still =
        ClinicDb::scalar(m_db, QStringLiteral("SELECT 1 FROM %1 WHERE rowid = ?").arg(bracket(m_table)), {rowId});
    m_mode = Mode::None;
    m_buffer = QSqlRecord();
    m_dirty.clear();
    throw FwError(still.isValid() ? ErrNo::WriteConflict : ErrNo::RowDeleted);
}

void Recordset::update(Check check)
{
    if (m_mode == Mode::None)
        throw FwError(ErrNo::NoEditInProgress);

    // The fields to write, in column order; the surname key goes with the
    // surname of a case, so that the locator finds it at once.
    QStringList names;
    QVariantList values;
    QList<int> columns = m_dirty.keys();
    std::sort(columns.begin(), columns.end());
    const int surnameKeyColumn =
        m_table.compare(QLatin1String("Clients"), Qt::CaseInsensitive) == 0 ? column(QStringLiteral("SurnameKey")) : -1;
    const int surnameColumn = surnameKeyColumn >= 0 ? column(QStringLiteral("Surname")) : -1;
    for (int c : columns) {
        if (c == surnameKeyColumn)
            continue;
        names << bracket(m_buffer.fieldName(c));
        values << m_buffer.value(c);
        if (c == surnameColumn) {
            const QVariant surname = m_buffer.value(c);
            names << bracket(m_buffer.fieldName(surnameKeyColumn));
            values << (surname.isNull() ? QVariant() : QVariant(ClinicDb::surnameKey(surname.toString())));
        }
    }

    if (m_mode == Mode::AddNew) {
        QString sql;
        if (names.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(bracket(m_table));
        } else {
            QStringList marks;
            for (int i = 0; i < names.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(bracket(m_table), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        }
        // A duplicate (3022) leaves the new row in the buffer to be corrected.
        QSqlQuery q = ClinicDb::exec(m_db, sql, values);
        const qint64 rowId = q.lastInsertId().toLongLong();
        q.finish();
        // The row as stored, with the table's defaults; it becomes current.
        m_rows.append(readRow(rowId));
        m_rowIds.append(rowId);
        m_pos = m_rows.size() - 1;
        m_mode = Mode::None;
        m_buffer = QSqlRecord();
        m_dirty.clear();
        return;
    }

    if (names.isEmpty()) { // nothing was changed: nothing to write
        cancelUpdate();
        return;
    }
    QStringList sets;
    for (const QString &n : names)
        sets << n + QStringLiteral(" = ?");
    QVariantList params = values;
    const QString where = sameRowCondition(params, check == Check::WrittenFields ? &columns : nullptr);
    QSqlQuery q = ClinicDb::exec(
        m_db, QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(bracket(m_table), sets.join(QStringLiteral(", ")), where),
        params);
    const int touched = q.numRowsAffected();
    q.finish();
    if (touched != 1)
        reportMissedRow();
    m_rows[m_pos] = readRow(m_rowIds.at(m_pos));
    m_mode = Mode::None;
    m_buffer = QSqlRecord();
    m_dirty.clear();
}

void Recordset::cancelUpdate()
{
    m_mode = Mode::None;
    m_buffer = QSqlRecord();
    m_dirty.clear();
}

void Recordset::deleteCurrent()
{
    if (!updatable())
        throw FwError(ErrNo::NotUpdatable);
    cancelUpdate();
    if (eof() || bof())
        throw FwError(ErrNo::NoCurrentRecord);
    QVariantList params;
    const QString where = sameRowCondition(params);
    QSqlQuery q = ClinicDb::exec(m_db, QStringLiteral("DELETE FROM %1 WHERE %2").arg(bracket(m_table), where), params);
    const int touched = q.numRowsAffected();
    q.finish();
    if (touched != 1)
        reportMissedRow();
    // The cursor stands on the row that followed, or at the end.
    m_rows.remove(m_pos);
    m_rowIds.remove(m_pos);
    if (m_rows.isEmpty())
        m_pos = -1;
}
