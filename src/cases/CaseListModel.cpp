#include "cases/CaseListModel.h"

#include "platform/FwError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

CaseListModel::CaseListModel(QObject *parent) : QAbstractListModel(parent) {}

bool CaseListModel::lessThan(const QString &keyA, const QString &lineA, qint64 caseA, const QString &keyB,
                             const QString &lineB, qint64 caseB)
{
    if (const int c = QString::compare(keyA, keyB, Qt::CaseSensitive))
        return c < 0;
    if (const int c = QString::compare(lineA, lineB, Qt::CaseSensitive))
        return c < 0;
    return caseA < caseB;
}

int CaseListModel::load(const QSqlDatabase &db, const LocatorSearch::Query &query)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(query.sql))
        throw FwError(ErrNo::DatabaseError, q.lastError().text());
    for (const QVariant &v : query.params)
        q.addBindValue(v);
    if (!q.exec())
        throw FwError(ErrNo::DatabaseError, q.lastError().text());

    QVector<Entry> rows;
    rows.reserve(1024);
    while (q.next()) {
        Entry e;
        e.caseNo = q.value(0).toLongLong();
        // A null field (a case number reserved and never completed) is an
        // empty part of the line; it never ends the list.
        e.surname = q.value(1).toString();
        e.animalName = q.value(2).toString();
        e.line = LocatorSearch::listLine(e.surname, e.animalName, e.caseNo, q.value(3).toString(),
                                         q.value(4).toString());
        e.key = e.line.toCaseFolded();
        rows.push_back(std::move(e));
    }
    if (q.lastError().isValid())
        throw FwError(ErrNo::DatabaseError, q.lastError().text());

    std::sort(rows.begin(), rows.end(), [](const Entry &a, const Entry &b) {
        return lessThan(a.key, a.line, a.caseNo, b.key, b.line, b.caseNo);
    });

    beginResetModel();
    m_rows.swap(rows);
    endResetModel();
    return m_rows.size();
}

void CaseListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int CaseListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows.size(); }

QVariant CaseListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_rows.size())
        return QVariant();
    const Entry &e = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole: return e.line;
    case CaseNoRole: return e.caseNo;
    case SurnameRole: return e.surname;
    case AnimalNameRole: return e.animalName;
    default: return QVariant();
    }
}

QString CaseListModel::line(int row) const { return row >= 0 && row < m_rows.size() ? m_rows.at(row).line : QString(); }
qint64 CaseListModel::caseNo(int row) const { return row >= 0 && row < m_rows.size() ? m_rows.at(row).caseNo : 0; }
QString CaseListModel::surname(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).surname : QString();
}
QString CaseListModel::animalName(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).animalName : QString();
}

int CaseListModel::rowOfCase(qint64 caseNo) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).caseNo == caseNo)
            return i;
    return -1;
}
