#pragma once
// The locator's list of cases: one line per case, in the order of the
// surnames without regard to case, each line with the number of its case.
//
// A register may hold a hundred thousand cases. The model keeps only the
// rowids of the listed cases, which the surname index gives in list order
// without reading the table; the text and case number of a line are read
// when the line is first shown (a block of neighbouring lines at a time) and
// kept. A case deleted elsewhere before its line was read shows an empty line
// with case number 0.
#include "cases/LocatorSearch.h"

#include <QAbstractListModel>
#include <QBitArray>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

class CaseListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        CaseNoRole = Qt::UserRole + 1, // qint64: the case the line shows
    };

    explicit CaseListModel(QObject *parent = nullptr);

    /// Run a query of LocatorSearch::listQuery and list its rows in place of
    /// the present ones. When the query fails, FwError is thrown and the
    /// present lines stay. Returns the number of lines.
    int load(const QSqlDatabase &db, const LocatorSearch::Query &query);
    void clear();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    /// The text of a line and its case number (read on first use; FwError
    /// when the database cannot be read).
    QString line(int row) const;
    qint64 caseNo(int row) const;
    /// The row showing a case, or -1 (reads every line: for short lists).
    int rowOfCase(qint64 caseNo) const;

private:
    void ensureRead(int row) const;

    QString m_connection; // the connection's name, looked up when lines are read
    QVector<qint64> m_rowIds;
    // Filled as lines are first shown.
    mutable QVector<QString> m_lines;
    mutable QVector<qint64> m_caseNos;
    mutable QBitArray m_read;
};
