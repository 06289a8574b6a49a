#pragma once
// The locator's list of cases: one line per case, each line with the number
// of its case, in alphabetical order as the user reads the lines: by surname
// without regard to case, the cases of one surname by the animal's name
// (also without regard to case), then by case number.
//
// A register may hold a hundred thousand cases. The model keeps only the
// rowids of the listed cases, which the surname index gives in surname order
// without reading the table. When a line is first shown, the cases of the
// surnames around it are put in order of their animals' names (all the cases
// of a surname at once, before any of them shows), and the text and case
// number of that line and its neighbours are read and kept. A case deleted
// elsewhere before its line was read shows an empty line with case number 0.
//
// The list of every case, as read, put in order and shown so far, is kept on
// the connection with the file's write mark of its reading: while nothing has
// been written to the file since, a Backspace that empties the narrowing box,
// or the next opening of the locator, lists it again without reading it.
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
    ~CaseListModel() override;

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

    /// What the model lists, as read so far.
    struct Listing {
        QVector<qint64> rowIds;
        QVector<int> surnameStarts;
        QVector<QString> surnameKeys;
        QBitArray ordered;
        QVector<QString> lines;
        QVector<qint64> caseNos;
        QBitArray read;
    };

private:
    /// Keep the list of every case, when it is the one shown, on the connection.
    void keepEveryCase() const;
    void ensureRead(int row) const;
    /// Put the cases of every surname that has lines in [from, to) in order.
    void putInOrder(int from, int to) const;
    /// The surname (its index in m_surnameStarts) that a row belongs to, and
    /// the first row of a surname and the row after its last.
    int surnameOf(int row) const;
    int firstRowOf(int surname) const;
    int endRowOf(int surname) const;

    QString m_connection;         // the connection's name, looked up when lines are read
    QVariantList m_everyCaseMark; // the write mark under which every case was read; empty: a narrowed list
    // Until a surname is put in order, its rows stand in order of entry.
    mutable QVector<qint64> m_rowIds;
    QVector<int> m_surnameStarts;   // the first row of each surname, ascending
    QVector<QString> m_surnameKeys; // the folded surname of each
    mutable QBitArray m_ordered;    // by surname: its cases are in order
    // Filled as lines are first shown.
    mutable QVector<QString> m_lines;
    mutable QVector<qint64> m_caseNos;
    mutable QBitArray m_read;
};
