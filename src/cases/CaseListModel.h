#pragma once
// The locator's list of cases: one line per case, kept in alphabetical order
// of the line text (so by surname), each line with the case number and names
// of its row. A register of a hundred thousand cases is one model behind one
// view, not a widget item per line.
#include "cases/LocatorSearch.h"

#include <QAbstractListModel>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

class CaseListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        CaseNoRole = Qt::UserRole + 1, // qint64
        SurnameRole,
        AnimalNameRole,
    };

    explicit CaseListModel(QObject *parent = nullptr);

    /// Run the query and show its rows in place of the present ones. When the
    /// query fails, FwError is thrown and the present lines stay. Returns the
    /// number of lines.
    int load(const QSqlDatabase &db, const LocatorSearch::Query &query);
    void clear();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QString line(int row) const;
    qint64 caseNo(int row) const;
    QString surname(int row) const;
    QString animalName(int row) const;
    /// The row showing a case, or -1.
    int rowOfCase(qint64 caseNo) const;

    /// The order of the lines: the case-folded line text, then the exact text,
    /// then the case number (so equal lines keep a fixed order).
    static bool lessThan(const QString &keyA, const QString &lineA, qint64 caseA, const QString &keyB,
                         const QString &lineB, qint64 caseB);

private:
    struct Entry {
        QString key; // case-folded line, the sort key
        QString line;
        QString surname;
        QString animalName;
        qint64 caseNo = 0;
    };
    QVector<Entry> m_rows;
};
