#include "cases/Weighing.h"

#include "cases/WeightHistory.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <cmath>

using namespace NumText;

namespace Weighing {

AnswerCheck checkAnswer(const QString &answer)
{
    if (answer.isEmpty())
        return AnswerCheck::Empty;
    if (!IsNumeric(answer))
        return AnswerCheck::NotNumeric;
    // The numeric test refuses a text beyond double precision, so this reads.
    const double weight = Val(answer);
    if (weight <= 0)
        return AnswerCheck::NotPositive;
    if (weight > kMaxWeight)
        return AnswerCheck::TooLarge;
    return AnswerCheck::Ok;
}

QString refusalText(AnswerCheck check)
{
    switch (check) {
    case AnswerCheck::NotPositive:
        return kNotPositive;
    case AnswerCheck::TooLarge:
        return kTooLarge;
    default:
        return kNotNumeric;
    }
}

qint16 daysSince(const QDate &lastWeighed, const QDate &today)
{
    return To16(DateText::DaysBetween(lastWeighed, today));
}

QString tooSoonText(qint16 days)
{
    return QStringLiteral("It is only ") + Str(static_cast<int>(days)) +
           QStringLiteral(" days since the last weight. ") + QStringLiteral("The minimum re-weigh interval is 6 days.");
}

qint16 weeksFor(qint16 days)
{
    // days / 7 is never exactly halfway, so rounding by the pattern and by the
    // integer conversion agree.
    return CInt(RoundBy(static_cast<double>(days) / 7.0, QStringLiteral("##")));
}

float diffOf(double newWeight, float prev)
{
    // Both weights are rounded to two decimals as texts and read back as
    // double; the difference is then held in single precision.
    const double newRounded = RoundBy(newWeight, QStringLiteral("#.##"));
    const double prevRounded = Val(Format(prev, QStringLiteral("#.##")));
    return Sng(newRounded - prevRounded);
}

float stepOf(float diff, qint16 weeks)
{
    if (diff == 0.0f || weeks == 0)
        return 0.0f;
    const float d = RoundBy(diff, QStringLiteral("##.##"));
    const float q = d / static_cast<float>(weeks);
    if (std::abs(q) >= 0.01f)
        return RoundBy(q, QStringLiteral("##.##"));
    return 0.0f;
}

QString entries(float prev, float step, qint16 weeks)
{
    QString out;
    for (qint16 i = 1; i <= weeks; ++i) {
        const float stepped = static_cast<float>(i) * step;
        out += WeightHistory::weighingEntry(prev + stepped) + QLatin1Char(';');
    }
    return out;
}

Result nextWeighing(double newWeight, float prev, qint16 days)
{
    Result r;
    r.weeks = weeksFor(days);
    r.diff = diffOf(newWeight, prev);
    r.step = stepOf(r.diff, r.weeks);
    r.appended = entries(prev, r.step, r.weeks);
    r.currentWt = Sng(newWeight);
    return r;
}

bool historyKeeps(const Result &weighing)
{
    if (Val(WeightHistory::weighingEntry(weighing.currentWt)) <= 0)
        return false;
    // The steps are rounded, so the last entry can fall a little short of
    // the new weight; it stands for the new weight in the history.
    const QString appended = weighing.appended;
    const int lastStart = appended.lastIndexOf(QLatin1Char(';'), -2) + 1;
    return appended.isEmpty() || Val(appended.mid(lastStart)) > 0;
}

float undoneCurrentWt(const QString &undoHistory)
{
    return WeightHistory::lastWeightOfUndo(undoHistory);
}

QString correctedHistory(float weight)
{
    return WeightHistory::correctedFirstWeight(weight);
}

double storedWeight(float weight)
{
    return QString::number(weight, 'g', 7).toDouble();
}

} // namespace Weighing
