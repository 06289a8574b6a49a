#pragma once
// The data control and its recordset: what the windows expect of a data
// source bound to the clinic database. A recordset reads the rows of its
// record source (a table name, or a SELECT with bound values) into memory and
// keeps a cursor; rows of a single-table source can be edited, added and
// deleted. An update writes only when the row still holds the values that were
// read (otherwise FwError 3197, or 3167 when the row is gone), so a change made
// meanwhile by another window or workstation is never silently overwritten.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlField>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVector>

class QWidget;

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

class DataControl : public QObject {
    Q_OBJECT
public:
    explicit DataControl(QObject *parent = nullptr);

    // The properties a window sets before Refresh().
    QString DatabaseName;
    QString Connect;
    QString RecordSource;
    QVariantList Parameters;

    void setRecordSource(const QString &source, const QVariantList &params = {});
    /// Save the bound widgets of the current row, open the record source anew
    /// and stand on its first row; the bound widgets show it. When the save
    /// meets a row changed or deleted meanwhile, the source is still opened
    /// anew and shown, then the FwError (3197/3167) is thrown.
    void Refresh();
    /// Open the record source anew and show its first row, without saving
    /// the bound widgets first (their text is replaced).
    void Requery();
    Recordset &recordset() { return m_rs; }
    const Recordset &recordset() const { return m_rs; }
    QSqlDatabase database() const;

    /// Bind a widget to a field of the current row: QLineEdit, QTextEdit,
    /// QPlainTextEdit, QComboBox (its text) or QCheckBox. The widget shows the
    /// row when the control stands on it, and its changed text is saved to the
    /// row by saveBound().
    void bind(QWidget *widget, const QString &fieldName);
    /// Write the bound widgets whose text differs from the row (one update).
    /// Returns true when something was written. Throws FwError as update() does.
    bool saveBound();
    /// Show the current row in the bound widgets.
    void showBound();

signals:
    void refreshed();

private:
    struct Binding {
        QPointer<QWidget> widget;
        QString field;
    };
    Recordset m_rs;
    QVector<Binding> m_bindings;
};

/// Bind a data source to the clinic database: database name DBFName, the
/// connect text, the record source where given (with its bound values), then
/// refresh. Done each time a window is opened, so a database moved elsewhere
/// takes effect at the next opening.
void BindToClinicDB(DataControl &data, const QString &recordSource = QString(), const QVariantList &params = {});
