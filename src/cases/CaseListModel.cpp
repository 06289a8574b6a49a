#include "cases/CaseListModel.h"

#include "platform/FwError.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

namespace {
// Lines read together: a screenful and more, in one statement.
constexpr int kBlock = 128;

QSqlQuery run(const QSqlDatabase &db, const LocatorSearch::Query &query)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(query.sql))
        throw FwError(ErrNo::DatabaseError, q.lastError().text());
    for (const QVariant &v : query.params)
        q.addBindValue(v);
    if (!q.exec())
        throw FwError(ErrNo::DatabaseError, q.lastError().text());
    return q;
}
} // namespace

CaseListModel::CaseListModel(QObject *parent) : QAbstractListModel(parent) {}

int CaseListModel::load(const QSqlDatabase &db, const LocatorSearch::Query &query)
{
    QSqlQuery q = run(db, query);
    QVector<qint64> rowIds;
    while (q.next())
        rowIds.push_back(q.value(0).toLongLong());
    if (q.lastError().isValid())
        throw FwError(ErrNo::DatabaseError, q.lastError().text());
    q.finish();

    beginResetModel();
    m_connection = db.connectionName();
    m_rowIds.swap(rowIds);
    m_lines = QVector<QString>(m_rowIds.size());
    m_caseNos = QVector<qint64>(m_rowIds.size(), 0);
    m_read = QBitArray(m_rowIds.size());
    endResetModel();
    return m_rowIds.size();
}

void CaseListModel::clear()
{
    beginResetModel();
    m_rowIds.clear();
    m_lines.clear();
    m_caseNos.clear();
    m_read.clear();
    endResetModel();
}

void CaseListModel::ensureRead(int row) const
{
    if (m_read.testBit(row))
        return;
    const int first = row / kBlock * kBlock;
    const int last = qMin(first + kBlock, int(m_rowIds.size()));
    QList<qint64> wanted;
    QHash<qint64, int> rowOf;
    for (int r = first; r < last; ++r) {
        if (m_read.testBit(r))
            continue;
        wanted << m_rowIds.at(r);
        rowOf.insert(m_rowIds.at(r), r);
    }
    QSqlQuery q = run(QSqlDatabase::database(m_connection, false), LocatorSearch::linesQuery(wanted));
    while (q.next()) {
        const int r = rowOf.value(q.value(0).toLongLong(), -1);
        if (r < 0)
            continue;
        m_caseNos[r] = q.value(1).toLongLong();
        m_lines[r] = q.value(2).toString();
    }
    // Rows deleted meanwhile stay empty; they are not asked for again.
    for (int r : std::as_const(rowOf))
        m_read.setBit(r);
}

int CaseListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowIds.size();
}

QVariant CaseListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_rowIds.size())
        return QVariant();
    if (role != Qt::DisplayRole && role != CaseNoRole)
        return QVariant();
    try {
        ensureRead(index.row());
    } catch (const FwError &) {
        // The view asks while painting: a line that cannot be read shows empty
        // and is asked for again when next painted.
        return QVariant();
    }
    if (role == CaseNoRole)
        return m_caseNos.at(index.row());
    return m_lines.at(index.row());
}

QString CaseListModel::line(int row) const
{
    if (row < 0 || row >= m_rowIds.size())
        return QString();
    ensureRead(row);
    return m_lines.at(row);
}

qint64 CaseListModel::caseNo(int row) const
{
    if (row < 0 || row >= m_rowIds.size())
        return 0;
    ensureRead(row);
    return m_caseNos.at(row);
}

int CaseListModel::rowOfCase(qint64 caseNo) const
{
    for (int r = 0; r < m_rowIds.size(); ++r)
        if (this->caseNo(r) == caseNo)
            return r;
    return -1;
}
