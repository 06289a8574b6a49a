#pragma once
// The growth curves of puppies and kittens, apart from any window: the
// reference curves read from the clinic database, the chart's series, legends
// and point labels, the animal's own weight as a spike at its age, the
// read-out of a clicked point and the check of a case before its curve is
// shown.
//
// Everything about the animal comes in as values (species, weight, weeks old,
// units), so a curve always belongs to the case that asked for it.
#include "platform/prompt/Box.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>
#include <optional>

namespace GrowthCurves {

enum class Kind { Puppy, Kitten };

/// Points of every series: weeks 0, 2, ..., 52.
constexpr int kPoints = 27;
/// Pounds per kilogram, as everywhere in the program.
constexpr double kLbPerKg = 2.2;

/// The texts of a growth-curve window.
struct Texts {
    QString caption;    // "Puppy Growth Curves For The First 52 Weeks"
    QString chartTitle; // "Puppy Growth Curves"
    QString bottomTitle;
    QString leftTitle;
    QString table;      // the curve table, "Puppy Curves"
    QString reportName; // "GrowthCurveK9"
};
Texts texts(Kind kind);

/// The reference fields of the curve table, in series order.
QStringList fieldNames(Kind kind);
/// The legend of every series, the animal's "Curr. Wt" last (9 or 5).
QStringList legends(Kind kind);
/// Series number (from 1) of the animal's own weight: 9 or 5.
int animalSeries(Kind kind);
/// The labels of the points: a blank and the week, " 0", " 2", ... " 52".
QStringList pointLabels();

/// The reference curves as the table holds them.
struct Curves {
    Kind kind = Kind::Puppy;
    /// One list per reference field, in series order; point i is week 2 * i.
    /// A series ends before its first empty value.
    QVector<QVector<float>> series;
    int rowsRead = 0;
    /// True when every series has all 27 points.
    bool complete() const;
};

/// Read the curve table: its rows in order of [Week], at most 27. Throws
/// FwError when the table cannot be read.
Curves read(const QSqlDatabase &db, Kind kind);

/// What the window says, once per plot, when the curves are not complete:
/// an empty text when they are.
QString shortTableNote(const Curves &curves);

/// The point (from 0) that carries the spike of an animal weeksOld weeks old:
/// half its age in weeks, halves rounded up (1 week: point 1, 51 and 52 weeks:
/// point 26). Nothing for an age outside 0 to 52 weeks.
std::optional<int> spikePoint(qint16 weeksOld);

/// A weight in kg from the case's units: "kg" as it is, "lb" divided by 2.2.
/// Nothing for any other unit (dogs and cats are weighed in kg or lb only).
std::optional<float> weightInKg(float weight, const QString &units);

/// The animal's series: 27 values, 0 everywhere but at its spike point, which
/// holds its weight in kg. All 0 when there is no spike (age or unit unknown).
QVector<double> animalValues(qint16 weeksOld, float weight, const QString &units);

/// Everything the chart shows, ready to be stored.
struct Plot {
    QStringList legends;             // one per series
    QStringList labels;              // one per point
    QVector<QVector<double>> values; // one list per series; a short curve has fewer points
    QString note;                    // shortTableNote(), to be shown once
};
Plot plot(const Curves &curves, qint16 weeksOld, float weight, const QString &units);

/// The read-out of a clicked point of a reference curve (series and point from
/// 1): the box's title and text, the value plain, " kg(s) at ", the week
/// blank-led and " weeks old". Nothing for the animal's series, a series or
/// point out of range, or a point the curve does not have.
std::optional<Prompt::Box> readOut(const Curves &curves, int series, int point);

/// What the case window does when asked for a growth curve: the boxes to show
/// in order, and the curve to open (nothing when refused).
struct CaseCheck {
    QVector<Prompt::Box> boxes;
    std::optional<Kind> open;
};
/// Refused over 52 weeks; otherwise the note about the last weighing, then
/// "Cat" gives the kitten curves, "Dog" the puppy curves (compared exactly),
/// any other species a note that the curves are for kittens and puppies only.
CaseCheck checkCase(const QString &species, qint16 weeksOld);

} // namespace GrowthCurves
