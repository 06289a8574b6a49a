#include "platform/db/DataControl.h"

#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"

#include <optional>

DataControl::DataControl(QObject *parent) : QObject(parent) {}

void DataControl::setRecordSource(const QString &source, const QVariantList &params)
{
    RecordSource = source;
    Parameters = params;
}

QSqlDatabase DataControl::database() const
{
    return ClinicDb::connection(DatabaseName.isEmpty() ? App().DBFName : DatabaseName);
}

void DataControl::Refresh()
{
    // When the row changed or vanished meanwhile, the boxes' text cannot be
    // saved; the source is read anew all the same, so that the boxes show the
    // latest values (as the error's text says) and the next save can succeed.
    std::optional<FwError> unsaved;
    if (m_rs.isOpen()) {
        try {
            saveBound();
        } catch (const FwError &e) {
            if (e.number() != ErrNo::WriteConflict && e.number() != ErrNo::RowDeleted)
                throw;
            unsaved = e;
        }
    }
    Requery();
    if (unsaved)
        throw *unsaved;
}

void DataControl::Requery()
{
    m_rs.close();
    if (!RecordSource.trimmed().isEmpty())
        m_rs.open(database(), RecordSource, Parameters);
    showBound();
    emit refreshed();
}

void DataControl::bind(QWidget *widget, const QString &fieldName)
{
    m_binder.bind(widget, fieldName);
    if (widget && m_rs.isOpen() && !m_rs.eof() && !m_rs.bof())
        showBound();
}

bool DataControl::saveBound()
{
    return m_binder.save(m_rs);
}

void DataControl::showBound()
{
    m_binder.show(m_rs);
}

void BindToClinicDB(DataControl &data, const QString &recordSource, const QVariantList &params)
{
    data.DatabaseName = App().DBFName;
    data.Connect = ClinicDb::kConnect;
    if (!recordSource.isEmpty())
        data.setRecordSource(recordSource, params);
    data.Refresh();
}
