#include "cases/CaseStore.h"

#include "cases/LocatorSearch.h"
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/text/DateText.h"

#include <QStringList>
#include <QVariantList>
#include <utility>
#include <vector>

namespace CaseStore {

namespace {

const QString kChanged =
    QStringLiteral("The weight history of this case was changed in another window or at another workstation after this "
                   "window loaded it. Nothing was stored; the window now shows the case as it is.");
const QString kDeleted =
    QStringLiteral("This case was deleted in another window or at another workstation after this window loaded it. "
                   "Nothing was stored.");

using Assignments = std::vector<std::pair<QString, QVariant>>;

QVariant isoOrNull(const QDate &date)
{
    return date.isValid() ? QVariant(DateText::ToIso(date)) : QVariant();
}

bool caseExists(const QSqlDatabase &db, qint64 caseNo)
{
    return ClinicDb::scalar(db, QStringLiteral("SELECT COUNT(*) FROM [Clients] WHERE [CaseNo] = ?"), {caseNo})
               .toLongLong() > 0;
}

// Write the assignments to the case row only while it still holds the history
// and dates that were loaded; one transaction, one row or nothing.
void updateLoadedRow(const QSqlDatabase &db, const LoadedHistory &loaded, const Assignments &set)
{
    QStringList parts;
    QVariantList params;
    for (const auto &a : set) {
        parts << QLatin1Char('[') + a.first + QStringLiteral("] = ?");
        params << a.second;
    }
    const QString sql = QStringLiteral("UPDATE [Clients] SET ") + parts.join(QStringLiteral(", ")) +
                        QStringLiteral(" WHERE [CaseNo] = ? AND [Graph Data] IS ? AND [Graph Data Undo] IS ?"
                                       " AND [Last Weighed] IS ? AND [Last Weighed Undo] IS ?");
    params << loaded.caseNo << loaded.graphData << loaded.graphDataUndo << loaded.lastWeighed << loaded.lastWeighedUndo;

    ClinicDb::Transaction tx(db);
    QSqlQuery q = ClinicDb::exec(db, sql, params);
    const int touched = q.numRowsAffected();
    if (touched != 1) {
        // More than one row can only mean a duplicated case number; store
        // nothing rather than write two cases.
        if (touched == 0 && !caseExists(db, loaded.caseNo))
            throw FwError(ErrNo::RowDeleted, kDeleted);
        throw FwError(ErrNo::WriteConflict, kChanged);
    }
    tx.commit();
}

} // namespace

LoadedHistory LoadedHistory::fromRecordset(const Recordset &rs)
{
    LoadedHistory h;
    h.caseNo = rs.field(QStringLiteral("CaseNo")).toLongLong();
    h.graphData = rs.field(QStringLiteral("Graph Data"));
    h.graphDataUndo = rs.field(QStringLiteral("Graph Data Undo"));
    h.lastWeighed = rs.field(QStringLiteral("Last Weighed"));
    h.lastWeighedUndo = rs.field(QStringLiteral("Last Weighed Undo"));
    return h;
}

std::optional<LoadedHistory> LoadedHistory::read(const QSqlDatabase &db, qint64 caseNo)
{
    QSqlQuery q = ClinicDb::exec(db,
                                 QStringLiteral("SELECT [Graph Data], [Graph Data Undo], [Last Weighed], "
                                                "[Last Weighed Undo] FROM [Clients] WHERE [CaseNo] = ?"),
                                 {caseNo});
    if (!q.next())
        return std::nullopt;
    LoadedHistory h;
    h.caseNo = caseNo;
    h.graphData = q.value(0);
    h.graphDataUndo = q.value(1);
    h.lastWeighed = q.value(2);
    h.lastWeighedUndo = q.value(3);
    return h;
}

void storeWeighing(const QSqlDatabase &db, const LoadedHistory &loaded, const QString &newGraphData, const QDate &today,
                   double currentWt)
{
    // The undo date is the loaded date as a date, stored in the database's form.
    const QDate previous = DateText::CDate(loaded.lastWeighed.toString());
    updateLoadedRow(db, loaded,
                    {{QStringLiteral("Last Weighed Undo"), isoOrNull(previous)},
                     {QStringLiteral("Graph Data Undo"), loaded.graphData},
                     {QStringLiteral("Last Weighed"), isoOrNull(today)},
                     {QStringLiteral("CurrentWt"), currentWt},
                     {QStringLiteral("Graph Data"), newGraphData}});
}

void storeUndo(const QSqlDatabase &db, const LoadedHistory &loaded, const QDate &lastWeighedUndo,
               const QString &graphDataUndo, double currentWt)
{
    updateLoadedRow(db, loaded,
                    {{QStringLiteral("Last Weighed"), isoOrNull(lastWeighedUndo)},
                     {QStringLiteral("Graph Data"), graphDataUndo},
                     {QStringLiteral("CurrentWt"), currentWt}});
}

void storeCorrection(const QSqlDatabase &db, const LoadedHistory &loaded, const QDate &lastWeighed,
                     const QString &history, double currentWt)
{
    updateLoadedRow(db, loaded,
                    {{QStringLiteral("Last Weighed"), isoOrNull(lastWeighed)},
                     {QStringLiteral("CurrentWt"), currentWt},
                     {QStringLiteral("Graph Data Undo"), history},
                     {QStringLiteral("Graph Data"), history}});
}

qint64 reserveCaseNumber(const QSqlDatabase &db)
{
    ClinicDb::Transaction tx(db);
    QSqlQuery q = ClinicDb::exec(
        db, QStringLiteral("INSERT INTO [Clients] ([CaseNo]) SELECT COALESCE(MAX([CaseNo]), 0) + 1 FROM [Clients]"));
    const QVariant rowId = q.lastInsertId();
    const QVariant caseNo =
        ClinicDb::scalar(db, QStringLiteral("SELECT [CaseNo] FROM [Clients] WHERE rowid = ?"), {rowId});
    if (!caseNo.isValid())
        throw FwError(ErrNo::DatabaseError, QStringLiteral("The new case number could not be reserved."));
    tx.commit();
    return caseNo.toLongLong();
}

// A bare reservation: nothing but the number (and the table's defaults).
static const QString kStillReserved =
    QStringLiteral("[Surname] IS NULL AND [AnimalName] IS NULL AND [Graph Data] IS NULL AND [Last Weighed] IS NULL");

void completeReservation(const QSqlDatabase &db, qint64 caseNo, const NewCaseRow &row)
{
    QStringList fields = {QStringLiteral("Units"),
                          QStringLiteral("Last Weighed"),
                          QStringLiteral("Last Weighed Undo"),
                          QStringLiteral("Surname"),
                          QStringLiteral("SurnameKey"),
                          QStringLiteral("AnimalName"),
                          QStringLiteral("Tel No"),
                          QStringLiteral("Species"),
                          QStringLiteral("DOB"),
                          QStringLiteral("Sex"),
                          QStringLiteral("Breed"),
                          QStringLiteral("UpperWt"),
                          QStringLiteral("LowerWt"),
                          QStringLiteral("CurrentWt"),
                          QStringLiteral("Graph Data"),
                          QStringLiteral("Graph Data Undo"),
                          QStringLiteral("Vet Comments")};
    QVariantList params = {row.Units,
                           isoOrNull(row.LastWeighed),
                           isoOrNull(row.LastWeighed),
                           row.Surname,
                           LocatorSearch::foldKey(row.Surname),
                           row.AnimalName,
                           row.TelNo,
                           row.Species,
                           isoOrNull(row.DOB),
                           row.Sex,
                           row.Breed,
                           row.UpperWt,
                           row.LowerWt,
                           row.CurrentWt,
                           row.GraphData,
                           row.GraphData,
                           row.VetComments};
    if (row.LinkedRecNo) {
        fields << QStringLiteral("LinkedRecNo");
        params << *row.LinkedRecNo;
    }
    QStringList parts;
    for (const QString &f : fields)
        parts << QLatin1Char('[') + f + QStringLiteral("] = ?");
    params << caseNo;

    ClinicDb::Transaction tx(db);
    QSqlQuery q = ClinicDb::exec(db,
                                 QStringLiteral("UPDATE [Clients] SET ") + parts.join(QStringLiteral(", ")) +
                                     QStringLiteral(" WHERE [CaseNo] = ? AND ") + kStillReserved,
                                 params);
    if (q.numRowsAffected() != 1) {
        if (!caseExists(db, caseNo))
            throw FwError(ErrNo::RowDeleted,
                          QStringLiteral("The row reserved for case number %1 was deleted meanwhile. "
                                         "Nothing was stored.")
                              .arg(caseNo));
        throw FwError(ErrNo::WriteConflict,
                      QStringLiteral("Case number %1 was stored meanwhile in another window or at another "
                                     "workstation. Nothing was stored.")
                          .arg(caseNo));
    }
    tx.commit();
}

bool releaseReservation(const QSqlDatabase &db, qint64 caseNo)
{
    ClinicDb::Transaction tx(db);
    QSqlQuery q =
        ClinicDb::exec(db, QStringLiteral("DELETE FROM [Clients] WHERE [CaseNo] = ? AND ") + kStillReserved, {caseNo});
    const bool removed = q.numRowsAffected() > 0;
    tx.commit();
    return removed;
}

} // namespace CaseStore
