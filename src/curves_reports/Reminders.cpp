#include "curves_reports/Reminders.h"

#include "platform/db/ClinicDb.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QSqlQuery>

namespace Reminders {

namespace {

// Whole days from the calendar day of the last weighing to today (bound as
// its ISO text); empty when there is no last weighing. date() drops a time
// of day that a stored value may carry, so that the count is one of calendar
// days.
const QString kDays = QStringLiteral("CAST(julianday(?) - julianday(date([Last Weighed])) AS INTEGER)");

// A text field as a part of the line; an empty field is an empty part.
QString textPart(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

// A weight blank-led, with the single precision in which weights are kept
// (12.3, not 12.3000001907349); an empty field is an empty part.
QString weightPart(const QVariant &v)
{
    if (v.isNull() || v.toString().isEmpty())
        return QString();
    return NumText::Str(NumText::Sng(v.toDouble()));
}

QString caseNoPart(const QVariant &v)
{
    if (v.isNull() || v.toString().isEmpty())
        return QString();
    return NumText::Str(v.toLongLong());
}

} // namespace

QString lineText(const LineFields &f)
{
    return textPart(f.animalName) + QLatin1Char(' ') + textPart(f.surname) + QStringLiteral(", ") +
           textPart(f.species) + QStringLiteral(", Tel.") + textPart(f.telNo) +
           QStringLiteral(". Last recorded WT = ") + weightPart(f.currentWt) + QLatin1Char(' ') + textPart(f.units) +
           QStringLiteral(" [Target = ") + weightPart(f.lowerWt) + QStringLiteral(" - ") + weightPart(f.upperWt) +
           QStringLiteral("] (#") + caseNoPart(f.caseNo) + QLatin1Char(')');
}

int updateAged(const QSqlDatabase &db, const QDate &today)
{
    const QString day = DateText::ToIso(today);
    // Most loads find nothing to change (the same day, or a register whose
    // rows were all brought up to date): a read answers that without taking
    // the write lock that other workstations would have to wait for.
    const QVariant stale = ClinicDb::scalar(
        db, QStringLiteral("SELECT EXISTS (SELECT 1 FROM [Clients] WHERE [Aged] IS NOT ") + kDays + QLatin1Char(')'),
        {day});
    if (!stale.toBool())
        return 0;
    ClinicDb::Transaction tx(db);
    QSqlQuery q = ClinicDb::exec(
        db, QStringLiteral("UPDATE [Clients] SET [Aged] = ") + kDays + QStringLiteral(" WHERE [Aged] IS NOT ") + kDays,
        {day, day});
    const int written = q.numRowsAffected();
    q.finish();
    tx.commit();
    return written;
}

QVector<Line> dueLines(const QSqlDatabase &db, const QDate &today)
{
    // Due from the calendar dates themselves, not from [Aged], which holds
    // the count of whichever load, at whichever workstation, wrote it last.
    QSqlQuery q =
        ClinicDb::exec(db,
                       QStringLiteral("SELECT [AnimalName], [Surname], [Species], [Tel No], [CurrentWt], "
                                      "[Units], [LowerWt], [UpperWt], [CaseNo] FROM [Clients] "
                                      "WHERE [Active] <> 0 AND date([Last Weighed]) BETWEEN ? AND ? "
                                      "ORDER BY [CaseNo]"),
                       {DateText::ToIso(today.addDays(-kLastDueDay)), DateText::ToIso(today.addDays(-kFirstDueDay))});
    QVector<Line> lines;
    while (q.next()) {
        const LineFields f{q.value(0), q.value(1), q.value(2), q.value(3), q.value(4),
                           q.value(5), q.value(6), q.value(7), q.value(8)};
        lines.append({q.value(8).toLongLong(), lineText(f)});
    }
    return lines;
}

Load load(const QSqlDatabase &db, const QDate &today)
{
    Load l;
    l.agedWritten = updateAged(db, today);
    l.lines = dueLines(db, today);
    return l;
}

QString noneDueMessage()
{
    return QStringLiteral("There are no reminders due.");
}

std::optional<Selection> select(const QSqlDatabase &db, qint64 caseNo)
{
    QSqlQuery q = ClinicDb::exec(db, QStringLiteral("SELECT [Surname], [AnimalName] FROM [Clients] WHERE [CaseNo] = ?"),
                                 {caseNo});
    if (!q.next())
        return std::nullopt;
    return Selection{QString::number(caseNo), textPart(q.value(0)), textPart(q.value(1))};
}

} // namespace Reminders
