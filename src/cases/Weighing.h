#pragma once
// The arithmetic of a weighing and of its undo, apart from any window.
//
// A weighing fills in every week since the previous one by even steps from
// the previous weight (the newest entry of the history) towards the new one.
// The weekly step is rounded to two decimals and dropped when the weekly
// change is under 0.01, so the last filled-in entry need not equal the new
// weight: the new weight itself is kept, exactly as entered, as CurrentWt.
//
// Every weight and intermediate is single precision, and values are rounded
// the program's way: formatted with a pattern and the text read back.
#include <QDate>
#include <QString>
#include <QtGlobal>

namespace Weighing {

/// Shown when a typed weight is not a number.
inline const QString kNotNumeric = QStringLiteral("You must enter a numerical value");
/// Shown when a typed weight is a number but 0 or less: no animal weighs that,
/// and such an entry would corrupt the history and the analysis.
inline const QString kNotPositive = QStringLiteral("The weight must be more than 0");
/// The largest weight a case holds: what the case entry's six-character
/// weight boxes hold at the one decimal place the weight history keeps
/// ("9999.9"). A larger figure is a slip of the keyboard (99999) or reaches
/// only through the exponent form (1e20, 3e38, stored as a history entry of
/// 39 digits); either would make every figure of the case nonsense.
constexpr double kMaxWeight = 9999.9;
/// The end of every too-large message, which names the limit.
inline const QString kLargestWeight = QStringLiteral(": the largest weight a case can hold is 9999.9");
/// Shown when a typed weight is above kMaxWeight.
inline const QString kTooLarge = QStringLiteral("The weight is too large") + kLargestWeight;

/// Shown when a typed weight would be kept in the weekly history as 0: the
/// history keeps a weighing's weeks to one decimal place, so 0.04 would be
/// written as a lone "." and read back as nothing.
inline const QString kTooSmall =
    QStringLiteral("The weight is too small: the weight history keeps one decimal place and would store it as 0");

/// What a typed weight is worth.
enum class AnswerCheck {
    Empty,       // the user cancelled or cleared the box: the operation ends
    NotNumeric,  // refused with kNotNumeric, asked again
    NotPositive, // refused with kNotPositive, asked again
    TooLarge,    // above kMaxWeight: refused with kTooLarge, asked again
    Ok,
};
AnswerCheck checkAnswer(const QString &answer);
/// The refusal message of a check that is neither Empty nor Ok.
QString refusalText(AnswerCheck check);

/// Calendar days from the last weighing to today; negative when the last
/// weighing lies in the future. Throws FwError(ErrNo::Overflow) beyond 16 bits.
qint16 daysSince(const QDate &lastWeighed, const QDate &today);

/// The shortest interval between two weighings, in days.
constexpr qint16 kMinimumDays = 6;
/// True when a weighing so soon after the last one is refused.
inline bool tooSoon(qint16 days)
{
    return days < kMinimumDays;
}
/// "It is only " + days blank-led + " days since the last weight. " +
/// "The minimum re-weigh interval is 6 days."
QString tooSoonText(qint16 days);

/// Whole weeks in a number of days (6 to 10 give 1, 11 to 17 give 2).
qint16 weeksFor(qint16 days);

/// The change from the previous weight to the new one, both rounded to two
/// decimals first.
float diffOf(double newWeight, float prev);
/// The weekly step: the change spread over the weeks, rounded to two
/// decimals; 0 when there is no change or the weekly change is under 0.01.
float stepOf(float diff, qint16 weeks);
/// The entries a weighing appends: for i = 1 to weeks, prev + i * step
/// written "##.#" and trimmed, each followed by ";".
QString entries(float prev, float step, qint16 weeks);

/// Everything a weighing stores, worked out from the typed weight, the
/// window's previous weight and the days since the last weighing.
struct Result {
    qint16 weeks = 0;
    float diff = 0;
    float step = 0;
    QString appended;    // the entries to add to the history
    float currentWt = 0; // the new weight as entered, single precision
};
/// Precondition: !tooSoon(days).
Result nextWeighing(double newWeight, float prev, qint16 days);
/// False when the history would keep the new weight as 0: the weight itself,
/// or the last entry the weighing appends for it, reads back as 0 once it is
/// written to one decimal place.
bool historyKeeps(const Result &weighing);

/// The weight an undo restores as CurrentWt: the newest entry of the undo
/// history, read leniently.
float undoneCurrentWt(const QString &undoHistory);
/// The one-entry history of a first-weight correction: the weight blank-led,
/// then ";" (12.5 gives " 12.5;").
QString correctedHistory(float weight);

/// The value a single-precision weight is stored as: the decimal number it
/// stands for (10.05f is stored as 10.05, not as 10.050000190734863).
double storedWeight(float weight);

} // namespace Weighing
