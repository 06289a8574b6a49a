#pragma once
// A recordset: the rows of a record source (a table name, or a SELECT with
// bound values) read into memory, with a cursor. Rows of a single-table
// source can be edited, added and deleted. An update writes only when the row
// still holds the values that were read (otherwise FwError 3197, or 3167 when
// the row is gone), so a change made meanwhile by another window or
// workstation is never silently overwritten. It knows nothing of widgets.
#include <QHash>
#include <QSqlDatabase>
#include <QSqlField>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVector>

class Recordset {
public:
    Recordset() = default;

    /// Open on a source: a table name ("Clients", "[Dog Breeds]") or SQL text
    /// with '?' placeholders for params. Throws FwError when the query fails.
    void open(const QSqlDatabase &db, const QString &source, const QVariantList &params = {});
    void close();
    bool isOpen() const { return m_open; }

    // Cursor. A move with no row to go to (first or last of no rows, next at
    // the end, previous at the start) throws FwError(ErrNo::NoCurrentRecord).
    // A move ends an edit that was not updated, discarding it.
    bool eof() const;
    bool bof() const;
    int recordCount() const { return m_rows.size(); }
    int absolutePosition() const { return m_pos; }
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    void moveTo(int position);

    // Fields, by name without regard to case. Reading with no current row
    // throws FwError(ErrNo::NoCurrentRecord).
    QStringList fieldNames() const;
    bool hasField(const QString &name) const;
    QVariant field(const QString &name) const;
    /// The field as text; a null field gives "".
    QString text(const QString &name) const;
    bool isNull(const QString &name) const;
    /// The column's description (name and type); an empty field when unknown.
    QSqlField fieldInfo(const QString &name) const;

    // Changing rows (single-table sources only; others throw).
    bool updatable() const { return !m_table.isEmpty(); }
    QString tableName() const { return m_table; }
    void edit();
    void addNew();
    void setField(const QString &name, const QVariant &value);
    /// What an update of an edited row checks before it writes.
    enum class Check {
        WholeRow,     // every column still holds the value read
        WrittenFields // the fields written, and the row's unique keys, still hold the values read
    };
    /// Write the edited or new row in one statement; throws FwError 3197/3167
    /// when the row changed or vanished since it was read (the edit ends), 3022
    /// on a duplicate (the edit stays, to be corrected). A new row becomes the
    /// current row, read back with the table's defaults.
    void update(Check check = Check::WholeRow);
    void cancelUpdate();
    bool editing() const { return m_mode != Mode::None; }
    /// Delete the current row; throws 3167 when it was already gone and 3197
    /// when it was changed meanwhile. The cursor then stands on the row that
    /// followed (or at the end).
    void deleteCurrent();

private:
    enum class Mode { None, Edit, AddNew };
    int column(const QString &name) const; // -1 when unknown
    const QSqlRecord &current() const;
    QSqlRecord readRow(qint64 rowId) const;
    QString sameRowCondition(QVariantList &params, const QList<int> *onlyColumns = nullptr) const;
    QStringList uniqueKeyColumns() const;
    [[noreturn]] void reportMissedRow();

    QSqlDatabase m_db;
    bool m_open = false;
    QString m_table; // base table when updatable
    QSqlRecord m_shape;
    QVector<QSqlRecord> m_rows;
    QVector<qint64> m_rowIds;
    int m_pos = -1;
    Mode m_mode = Mode::None;
    QSqlRecord m_buffer;
    QHash<int, bool> m_dirty;
};
