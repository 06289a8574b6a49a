#include "curves_reports/Reminders.h"

#include "platform/db/ClinicDb.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QHash>
#include <QSqlDriver>
#include <QSqlQuery>
#include <algorithm>

namespace Reminders {

namespace {

// Whole days from the calendar day of the last weighing to today, with today
// bound as its day number (QDate::toJulianDay(), the number of the day's
// noon); empty when there is no last weighing. julianday() of a stored
// "YYYY-MM-DD" is the midnight before that noon, and a time of day that a
// stored value may carry lies between them, so adding half a day and
// dropping the fraction gives the day's own number: calendar days, never
// hours.
const QString kDays = QStringLiteral("(? - CAST(julianday([Last Weighed]) + 0.5 AS INTEGER))");

// A text field as a part of the line; an empty field is an empty part.
QString textPart(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

bool isEmptyField(const QVariant &v)
{
    return v.isNull() || (v.metaType().id() == QMetaType::QString && v.toString().isEmpty());
}

// Weights blank-led, in the single precision in which they are kept (12.3,
// not 12.3000001907349); an empty field is an empty part. A list repeats the
// same few target weights many times over, so each text is made once.
class WeightTexts {
public:
    QString operator()(const QVariant &v)
    {
        if (isEmptyField(v))
            return QString();
        const float w = NumText::Sng(v.toDouble());
        auto it = m_texts.constFind(w);
        if (it == m_texts.cend())
            it = m_texts.insert(w, NumText::Str(w));
        return *it;
    }

private:
    QHash<float, QString> m_texts;
};

QString caseNoPart(const QVariant &v)
{
    return isEmptyField(v) ? QString() : NumText::Str(v.toLongLong());
}

QString joinLine(const LineFields &f, WeightTexts &weight)
{
    QString line;
    line.reserve(160);
    line += textPart(f.animalName);
    line += QLatin1Char(' ');
    line += textPart(f.surname);
    line += QLatin1String(", ");
    line += textPart(f.species);
    line += QLatin1String(", Tel.");
    line += textPart(f.telNo);
    line += QLatin1String(". Last recorded WT = ");
    line += weight(f.currentWt);
    line += QLatin1Char(' ');
    line += textPart(f.units);
    line += QLatin1String(" [Target = ");
    line += weight(f.lowerWt);
    line += QLatin1String(" - ");
    line += weight(f.upperWt);
    line += QLatin1String("] (#");
    line += caseNoPart(f.caseNo);
    line += QLatin1Char(')');
    return line;
}

} // namespace

QString lineText(const LineFields &f)
{
    WeightTexts weight;
    return joinLine(f, weight);
}

namespace {

// The day for which every row's [Aged] was last found or made up to date
// through a connection, with the file's write mark (ClinicDb::writeMark) as
// it stood then. While the mark has not moved, nothing can have made a row
// stale, and a second load that day need not read every row to learn so.
// The mark lives on the connection's driver, so that a connection opened
// afresh starts without one.
const char *const kAgedMark = "fwAgedUpToDate";
const char *const kListedMark = "fwDueListedFor";
const char *const kListedLines = "fwDueLines";

QVariantList agedMark(const QSqlDatabase &db, qint64 day)
{
    return QVariantList{day} + ClinicDb::writeMark(db);
}

} // namespace

int updateAged(const QSqlDatabase &db, const QDate &today)
{
    const qint64 day = today.toJulianDay();
    // Read before the rows are: a write that comes in between moves a counter
    // and is looked at next time.
    const QVariantList before = agedMark(db, day);
    if (db.driver()->property(kAgedMark).toList() == before)
        return 0;
    // Most loads find nothing to change (the same day, or a register whose
    // rows were all brought up to date): a read answers that without taking
    // the write lock that other workstations would have to wait for.
    const QVariant stale = ClinicDb::scalar(
        db, QStringLiteral("SELECT EXISTS (SELECT 1 FROM [Clients] WHERE [Aged] IS NOT ") + kDays + QLatin1Char(')'),
        {day});
    if (!stale.toBool()) {
        db.driver()->setProperty(kAgedMark, before);
        return 0;
    }
    ClinicDb::Transaction tx(db);
    QSqlQuery q = ClinicDb::exec(
        db, QStringLiteral("UPDATE [Clients] SET [Aged] = ") + kDays + QStringLiteral(" WHERE [Aged] IS NOT ") + kDays,
        {day, day});
    const int written = q.numRowsAffected();
    q.finish();
    // No other connection can commit while this one holds the write lock.
    const QVariantList after = agedMark(db, day);
    tx.commit();
    if (tx.isOutermost())
        db.driver()->setProperty(kAgedMark, after);
    return written;
}

QVector<Line> dueLines(const QSqlDatabase &db, const QDate &today)
{
    // Due from the calendar dates themselves, not from [Aged], which holds
    // the count of whichever load, at whichever workstation, wrote it last.
    // Dates are stored as ISO texts, which sort as the days do; a time of day
    // after the date still sorts within its day, so the last due day is
    // bounded by the start of the day after it.
    QSqlQuery q = ClinicDb::exec(
        db,
        QStringLiteral("SELECT [AnimalName], [Surname], [Species], [Tel No], [CurrentWt], "
                       "[Units], [LowerWt], [UpperWt], [CaseNo] FROM [Clients] "
                       "WHERE [Active] <> 0 AND [Last Weighed] >= ? AND [Last Weighed] < ?"),
        {DateText::ToIso(today.addDays(-kLastDueDay)), DateText::ToIso(today.addDays(1 - kFirstDueDay))});
    QVector<Line> lines;
    WeightTexts weight;
    while (q.next()) {
        const LineFields f{q.value(0), q.value(1), q.value(2), q.value(3), q.value(4),
                           q.value(5), q.value(6), q.value(7), q.value(8)};
        lines.append({q.value(8).toLongLong(), joinLine(f, weight)});
    }
    // The index on [Last Weighed] gives the window's rows by date; the list
    // goes by case number. Sorting the finished lines costs less than having
    // SQLite sort the rows with all their fields.
    std::sort(lines.begin(), lines.end(), [](const Line &a, const Line &b) { return a.caseNo < b.caseNo; });
    return lines;
}

Load load(const QSqlDatabase &db, const QDate &today)
{
    Load l;
    l.agedWritten = updateAged(db, today);
    // The same day, with nothing written to the file since the last listing
    // (the counters of the [Aged] mark tell), lists the same lines: they are
    // kept on the connection's driver with the mark they were read under.
    // The mark is taken before the rows are read, so that a write that comes
    // in between is seen next time.
    QSqlDriver *driver = db.driver();
    const QVariantList mark = agedMark(db, today.toJulianDay());
    if (driver->property(kListedMark).toList() == mark) {
        l.lines = driver->property(kListedLines).value<QVector<Line>>();
        return l;
    }
    l.lines = dueLines(db, today);
    driver->setProperty(kListedMark, mark);
    driver->setProperty(kListedLines, QVariant::fromValue(l.lines));
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
