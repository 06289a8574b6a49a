#pragma once
// Fields of a recordset's current row bound to widgets: each widget shows its
// field when the recordset stands on a row, and what the user typed is
// written back to the row in one update.
#include <QPointer>
#include <QString>
#include <QVector>

class QWidget;
class Recordset;

class FieldBinder {
public:
    /// Bind a widget to a field: QLineEdit, QTextEdit, QPlainTextEdit,
    /// QComboBox (its text) or QCheckBox.
    void bind(QWidget *widget, const QString &fieldName);

    /// Show the current row of the recordset in the bound widgets (empty
    /// when it stands on no row).
    void show(const Recordset &rs) const;

    /// Write the bound widgets whose text differs from the row, in one
    /// update that checks only the fields written. Returns true when
    /// something was written. Throws FwError as Recordset::update() does, and
    /// 3021 when text was typed with no row to hold it.
    bool save(Recordset &rs) const;

private:
    struct Binding {
        QPointer<QWidget> widget;
        QString field;
    };
    QVector<Binding> m_bindings;
};
