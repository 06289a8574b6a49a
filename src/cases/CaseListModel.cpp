#include "cases/CaseListModel.h"

#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"

#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace {
// Lines read together: a screenful and more, in one statement.
constexpr int kBlock = 128;
// Rows asked for by rowid in one statement: every rowid is a bound value,
// and binding many values costs more than the reading.
constexpr int kChunk = kBlock;

QSqlQuery run(const QSqlDatabase &db, const LocatorSearch::Query &query)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(query.sql))
        throw ClinicDb::errorFrom(q.lastError(), db);
    for (const QVariant &v : query.params)
        q.addBindValue(v);
    if (!q.exec())
        throw ClinicDb::errorFrom(q.lastError(), db);
    return q;
}
} // namespace

namespace {
// The properties of the connection's driver that keep the list of every case
// (a driver lives as long as its connection).
const char *const kEveryCase = "fwEveryCase";
const char *const kEveryCaseMark = "fwEveryCaseMark";
} // namespace

CaseListModel::CaseListModel(QObject *parent) : QAbstractListModel(parent) {}

CaseListModel::~CaseListModel()
{
    keepEveryCase();
}

void CaseListModel::keepEveryCase() const
{
    if (m_everyCaseMark.isEmpty())
        return;
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isValid() || !db.driver())
        return;
    // The lines read and put in order since the reading belong to the same
    // file only while nothing was written; a later listing checks the mark.
    const Listing kept{m_rowIds, m_surnameStarts, m_surnameKeys, m_ordered, m_lines, m_caseNos, m_read};
    db.driver()->setProperty(kEveryCase, QVariant::fromValue(kept));
    db.driver()->setProperty(kEveryCaseMark, m_everyCaseMark);
}

int CaseListModel::load(const QSqlDatabase &db, const LocatorSearch::Query &query)
{
    keepEveryCase();
    const bool everyCase = query.sql == LocatorSearch::listQuery(QString()).sql && query.params.isEmpty();
    // Taken before the rows are read: a write that comes in between moves it.
    const QVariantList mark = everyCase ? ClinicDb::writeMark(db) : QVariantList();
    if (everyCase && !mark.isEmpty() && db.driver()->property(kEveryCaseMark).toList() == mark) {
        const Listing kept = db.driver()->property(kEveryCase).value<Listing>();
        beginResetModel();
        m_connection = db.connectionName();
        m_everyCaseMark = mark;
        m_rowIds = kept.rowIds;
        m_surnameStarts = kept.surnameStarts;
        m_surnameKeys = kept.surnameKeys;
        m_ordered = kept.ordered;
        m_lines = kept.lines;
        m_caseNos = kept.caseNos;
        m_read = kept.read;
        endResetModel();
        return m_rowIds.size();
    }

    // The rows, and their surnames with the number of cases of each, in two
    // statements over the surname index: reading a key with each of a
    // hundred thousand rows costs twice what reading the rowids alone does.
    // Both must see the same register: when something was written in
    // between, they are read again.
    QVector<qint64> rowIds;
    QVector<int> starts;
    QVector<QString> keys;
    QVariantList before = mark;
    for (int attempt = 1;; ++attempt) {
        if (before.isEmpty())
            before = ClinicDb::writeMark(db);
        rowIds.clear();
        starts.clear();
        keys.clear();
        QSqlQuery q = run(db, query);
        while (q.next())
            rowIds.push_back(q.value(0).toLongLong());
        if (q.lastError().isValid())
            throw ClinicDb::errorFrom(q.lastError(), db);
        q.finish();
        QSqlQuery g = run(db, LocatorSearch::surnamesQuery(query));
        int start = 0;
        while (g.next() && start < rowIds.size()) {
            starts.push_back(start);
            keys.push_back(g.value(0).toString());
            start += g.value(1).toInt();
        }
        if (g.lastError().isValid())
            throw ClinicDb::errorFrom(g.lastError(), db);
        g.finish();
        const bool whole = start == rowIds.size() && ClinicDb::writeMark(db) == before;
        if (whole || attempt == 3)
            break;
        before.clear();
    }
    const QVariantList readUnder = everyCase ? before : QVariantList();

    beginResetModel();
    m_connection = db.connectionName();
    m_everyCaseMark = readUnder;
    m_rowIds.swap(rowIds);
    m_surnameStarts.swap(starts);
    m_surnameKeys.swap(keys);
    m_ordered = QBitArray(m_surnameStarts.size());
    m_lines = QVector<QString>(m_rowIds.size());
    m_caseNos = QVector<qint64>(m_rowIds.size(), 0);
    m_read = QBitArray(m_rowIds.size());
    endResetModel();
    return m_rowIds.size();
}

void CaseListModel::clear()
{
    keepEveryCase();
    beginResetModel();
    m_everyCaseMark.clear();
    m_rowIds.clear();
    m_surnameStarts.clear();
    m_surnameKeys.clear();
    m_ordered.clear();
    m_lines.clear();
    m_caseNos.clear();
    m_read.clear();
    endResetModel();
}

int CaseListModel::surnameOf(int row) const
{
    const auto it = std::upper_bound(m_surnameStarts.cbegin(), m_surnameStarts.cend(), row);
    return int(it - m_surnameStarts.cbegin()) - 1;
}

int CaseListModel::firstRowOf(int surname) const
{
    return m_surnameStarts.at(surname);
}

int CaseListModel::endRowOf(int surname) const
{
    return surname + 1 < m_surnameStarts.size() ? m_surnameStarts.at(surname + 1) : int(m_rowIds.size());
}

void CaseListModel::putInOrder(int from, int to) const
{
    // The surnames of more than one case that are not in order yet.
    const int firstSurname = surnameOf(from), lastSurname = surnameOf(to - 1);
    QVector<int> surnames;
    for (int s = firstSurname; s <= lastSurname; ++s) {
        if (m_ordered.testBit(s))
            continue;
        if (endRowOf(s) - firstRowOf(s) > 1)
            surnames << s;
        else
            m_ordered.setBit(s);
    }
    if (surnames.isEmpty())
        return;

    struct Case {
        qint64 rowId = 0;
        qint64 caseNo = 0; // 0: deleted meanwhile
        QString animal;
    };
    const int first = firstRowOf(surnames.constFirst());
    QVector<Case> cases(endRowOf(surnames.constLast()) - first);
    // The rows still to be found, each with its place in cases plus 1.
    QHash<qint64, int> at;
    for (int s : std::as_const(surnames))
        for (int r = firstRowOf(s); r < endRowOf(s); ++r) {
            cases[r - first].rowId = m_rowIds.at(r);
            at.insert(m_rowIds.at(r), r - first + 1);
        }
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    auto take = [&](QSqlQuery &q) {
        while (q.next()) {
            // A case added meanwhile is not in the list.
            const int k = at.take(q.value(0).toLongLong()) - 1;
            if (k < 0)
                continue;
            cases[k].caseNo = q.value(1).toLongLong();
            cases[k].animal = q.value(2).toString();
        }
    };
    // By the range of the surnames' keys: two bound values however many
    // cases they have.
    const QString &lastKey = m_surnameKeys.at(surnames.constLast());
    if (!lastKey.isEmpty()) {
        QSqlQuery q = run(db, LocatorSearch::namesQuery(m_surnameKeys.at(surnames.constFirst()), lastKey));
        take(q);
    }
    // Rows left over (without a surname, or whose surname was changed
    // elsewhere since the list was made) by their rowids.
    const QList<qint64> rest = at.keys();
    for (qsizetype i = 0; i < rest.size(); i += kChunk) {
        QSqlQuery q = run(db, LocatorSearch::namesQuery(rest.mid(i, kChunk)));
        take(q);
    }

    for (int s : std::as_const(surnames)) {
        const auto begin = cases.begin() + (firstRowOf(s) - first), end = cases.begin() + (endRowOf(s) - first);
        std::stable_sort(begin, end, [](const Case &a, const Case &b) {
            const int byName = QString::compare(a.animal, b.animal, Qt::CaseInsensitive);
            return byName != 0 ? byName < 0 : a.caseNo < b.caseNo;
        });
        for (int r = firstRowOf(s); r < endRowOf(s); ++r)
            m_rowIds[r] = cases.at(r - first).rowId;
        m_ordered.setBit(s);
    }
}

void CaseListModel::ensureRead(int row) const
{
    if (m_read.testBit(row))
        return;
    const int first = row / kBlock * kBlock;
    const int last = qMin(first + kBlock, int(m_rowIds.size()));
    putInOrder(first, last);

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
