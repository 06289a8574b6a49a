#pragma once
// The re-weighing reminders, apart from any window: which active cases are
// due (last weighed 14 to 42 days before the given day), the line each is
// listed with, the days since the last weighing kept in [Aged], and the
// case a selected line stands for.
//
// Several workstations share the register. A load decides which cases are
// due from the calendar dates in the query itself, and writes [Aged] only in
// the rows whose value changes, all in one transaction: a second load on the
// same day writes nothing, and no workstation's open rows look changed.
// When nothing at all has been written to the file since the last load that
// day, a load neither reads every row nor lists them afresh: SQLite's
// counters of writes say so, and the lines of that load are listed again.
#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>
#include <optional>

namespace Reminders {

/// Days since the last weighing within which a case is due, both included.
constexpr int kFirstDueDay = 14;
constexpr int kLastDueDay = 42;

/// One listed case: its number is kept with its text, so that selecting a
/// line never depends on what the text holds.
struct Line {
    qint64 caseNo = 0;
    QString text;
};

/// The fields a line is built from, as read (an empty field is a null).
struct LineFields {
    QVariant animalName, surname, species, telNo, currentWt, units, lowerWt, upperWt, caseNo;
};
/// The list line: animal name, " ", surname, ", ", species, ", Tel.",
/// telephone, ". Last recorded WT = ", the weight blank-led, " ", units,
/// " [Target = ", the lower weight blank-led, " - ", the upper weight
/// blank-led, "] (#", the case number blank-led, ")". An empty field is an
/// empty part.
QString lineText(const LineFields &f);

/// Write [Aged] (whole days from the last weighing to today; empty without a
/// last weighing) in every row where it differs, in one transaction. Returns
/// the number of rows written. Throws FwError; nothing is written then.
int updateAged(const QSqlDatabase &db, const QDate &today);

/// The active cases last weighed kFirstDueDay to kLastDueDay days before
/// today, by case number, with their lines.
QVector<Line> dueLines(const QSqlDatabase &db, const QDate &today);

/// A reminder load: [Aged] brought up to date, then the due cases listed.
struct Load {
    QVector<Line> lines;
    int agedWritten = 0;
};
Load load(const QSqlDatabase &db, const QDate &today);

/// The text shown when no case is due.
QString noneDueMessage();

/// The case of a selected line as its row holds it now: the case
/// number as digits, the surname and the animal's name. Nothing when the row
/// is gone.
struct Selection {
    QString caseNo;
    QString surname;
    QString animalName;
};
std::optional<Selection> select(const QSqlDatabase &db, qint64 caseNo);

} // namespace Reminders
