#pragma once
// The data control: what the windows expect of a data source bound to the
// clinic database. It holds the source's properties (database, connect text,
// record source), the recordset it reads, and the fields bound to the
// window's widgets, which are saved when the row is left or read again.
#include "platform/db/FieldBinder.h"
#include "platform/db/Recordset.h"

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class QWidget;

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

    /// Bind a widget to a field of the current row (see FieldBinder).
    void bind(QWidget *widget, const QString &fieldName);
    /// Write the bound widgets whose text differs from the row (one update).
    /// Returns true when something was written. Throws FwError as
    /// Recordset::update() does.
    bool saveBound();
    /// Show the current row in the bound widgets.
    void showBound();

signals:
    void refreshed();

private:
    Recordset m_rs;
    FieldBinder m_binder;
};

/// Bind a data source to the clinic database: database name DBFName, the
/// connect text, the record source where given (with its bound values), then
/// refresh. Done each time a window is opened, so a database moved elsewhere
/// takes effect at the next opening.
void BindToClinicDB(DataControl &data, const QString &recordSource = QString(), const QVariantList &params = {});
