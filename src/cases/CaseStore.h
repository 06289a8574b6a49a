#pragma once
// The writes of a case row in [Clients] made by the new-case entry and by the
// weighing entry: reserving a case number, completing the reserved row,
// removing a reservation that was never completed, and storing a weighing, an
// undo or a first-weight correction.
//
// Several windows, and several workstations, may work on one database. Each
// write is one transaction, and a weighing, undo or correction is stored only
// when the row still holds the history and dates that the window loaded;
// otherwise nothing is stored and FwError 3197 (changed meanwhile) or 3167
// (deleted meanwhile) is thrown, so no weighing made elsewhere is ever lost.
#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <optional>

class Recordset;

namespace CaseStore {

/// The history fields of a case row exactly as a window read them.
struct LoadedHistory {
    qint64 caseNo = 0;
    QVariant graphData;
    QVariant graphDataUndo;
    QVariant lastWeighed;
    QVariant lastWeighedUndo;

    /// From the current row of a recordset on [Clients]. Throws
    /// FwError(ErrNo::NoCurrentRecord) when it stands on no row.
    static LoadedHistory fromRecordset(const Recordset &rs);
    /// The current history fields of a case row; nothing when it is gone.
    static std::optional<LoadedHistory> read(const QSqlDatabase &db, qint64 caseNo);
};

/// A weighing: the undo pair takes the loaded history and date, the history
/// becomes newGraphData, the date today and CurrentWt the weight as entered.
void storeWeighing(const QSqlDatabase &db, const LoadedHistory &loaded, const QString &newGraphData, const QDate &today,
                   double currentWt);
/// An undo: the history and date go back to the undo pair (given here as the
/// window read it), CurrentWt to the newest entry of that history.
void storeUndo(const QSqlDatabase &db, const LoadedHistory &loaded, const QDate &lastWeighedUndo,
               const QString &graphDataUndo, double currentWt);
/// A first-weight correction: history and undo history both become the one
/// corrected entry; the date goes back to the undo date.
void storeCorrection(const QSqlDatabase &db, const LoadedHistory &loaded, const QDate &lastWeighed,
                     const QString &history, double currentWt);

/// Reserve the next case number (the highest so far plus one; 1 in an empty
/// table) by appending a row that holds only that number. The number is
/// chosen and the row written in one statement, so two workstations never
/// get the same number.
qint64 reserveCaseNumber(const QSqlDatabase &db);

/// The fields with which the new-case entry completes its reserved row.
struct NewCaseRow {
    QString Units;
    QDate LastWeighed; // also Last Weighed Undo
    QString Surname;
    QString AnimalName;
    QString TelNo;
    QString Species;
    QDate DOB;
    QString Sex;
    QString Breed;
    double UpperWt = 0;
    double LowerWt = 0;
    double CurrentWt = 0;
    QString GraphData; // also Graph Data Undo
    QString VetComments;
    std::optional<qint64> LinkedRecNo; // written only when set
};

/// Complete the reserved row of caseNo. Throws FwError 3167 when the
/// reservation is gone and 3197 when the row is no longer a bare reservation
/// (completed elsewhere); nothing is written then.
void completeReservation(const QSqlDatabase &db, qint64 caseNo, const NewCaseRow &row);

/// Remove the reservation of caseNo when it still holds nothing but its
/// number; a completed row is never touched. Returns true when a row went.
bool releaseReservation(const QSqlDatabase &db, qint64 caseNo);

} // namespace CaseStore
