#include "cases/CaseAnalysis.h"

#include "cases/Species.h"
#include "cases/WeightHistory.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <cmath>

using NumText::Plain;
using NumText::Str;

namespace {

const QString CRLF = QStringLiteral("\r\n");

struct PictureName {
    CasePicture picture;
    const char *name;
};
constexpr PictureName PictureNames[] = {
    {CasePicture::Baloons, "Baloons"}, {CasePicture::Clouds, "Clouds"}, {CasePicture::Smile, "Smile"},
    {CasePicture::Bland, "Bland"},     {CasePicture::Frown, "Frown"},
};

QString hisHer(const QString &sex)
{
    return sex.contains(QLatin1String("Female"), Qt::CaseSensitive) ? QStringLiteral("her") : QStringLiteral("his");
}

// A status row: the two texts, the two pictures and the two face codes.
void setStatus(TargetAnalysis &t, const QString &congrats, const QString &timeToTarget, CasePicture first,
               CasePicture second, const char *target, const char *progress)
{
    t.Congrats = congrats;
    t.TimeToTargetlbl = timeToTarget;
    t.pictures = CasePictures(first) | second;
    t.LocalTarget = QLatin1String(target);
    t.LocalProgress = QLatin1String(progress);
}

} // namespace

QStringList allPictureNames()
{
    QStringList names;
    for (const PictureName &p : PictureNames)
        names << QLatin1String(p.name);
    return names;
}

QStringList pictureNames(CasePictures pictures)
{
    QStringList names;
    for (const PictureName &p : PictureNames)
        if (pictures.testFlag(p.picture))
            names << QLatin1String(p.name);
    return names;
}

namespace Analysis {

QString AcRangeText(float lower, float upper, const QString &units)
{
    return QStringLiteral("From ") + Str(lower) + QStringLiteral(" to ") + Str(upper) + QLatin1Char(' ') + units;
}

QString DetailsText(const QString &animalName, const QString &surname, const QString &species, const QString &ageText,
                    const QString &breed, const QString &sex, const QString &telNo)
{
    return animalName + QLatin1Char(' ') + surname + QStringLiteral(", ") + species + CRLF + QStringLiteral("Age = ") +
           ageText + CRLF + QStringLiteral("Breed = ") + breed + CRLF + QStringLiteral("Sex =") + sex + CRLF +
           QStringLiteral("Contact #: ") + telNo + QLatin1Char(' ');
}

std::optional<QString> RecBreedWtText(const QString &species, const QString &breed,
                                      const std::optional<QString> &breedWtRange)
{
    if (Species::parse(species) != Species::Kind::Dog)
        return QStringLiteral("Canines Only");
    if (breed == QLatin1String("Cross Breed"))
        return QStringLiteral("Nearest Breed");
    if (breedWtRange)
        return *breedWtRange + QStringLiteral(" kg");
    return std::nullopt;
}

QString CvtRangeLB(const QString &rangeKg)
{
    const float low = NumText::Sng(NumText::Val(rangeKg));
    // The upper bound starts right after the lower one as written; the "-"
    // between them reads as a sign, which the absolute value drops.
    const qsizetype n = Plain(low).size();
    const float high = NumText::Sng(std::fabs(NumText::Val(rangeKg.mid(n))));
    return Plain(NumText::Sng(low * 2.2)) + QStringLiteral(" - ") + Plain(NumText::Sng(high * 2.2));
}

QString PoundRangeText(const QString &recBreedWt)
{
    const QString s = recBreedWt.trimmed();
    if (NumText::Val(s) == 0)
        return QStringLiteral("-");
    return CvtRangeLB(s) + QStringLiteral(" lb");
}

QVector<WtDataRow> WtDataRows(const QVector<float> &weights, const QDate &lastWeighed)
{
    const qsizetype n = weights.size();
    QVector<WtDataRow> rows;
    rows.reserve(n);
    for (qsizetype r = 1; r <= n; ++r) {
        WtDataRow row;
        row.Week = Str(static_cast<qint64>(n - r));
        row.Wt = Str(weights[n - r]);
        row.Date = DateText::Format(lastWeighed.addDays(-7 * static_cast<qint64>(r - 1)), QStringLiteral("dd-mmm-yy"));
        rows.append(row);
    }
    return rows;
}

WeightChart ChartSeries(const QVector<float> &weights, double lower, double upper, const QString &units)
{
    WeightChart chart;
    chart.axisTitle = units;
    // A line needs two points: a single weighing is drawn as a flat line.
    const QVector<float> shown = weights.size() == 1 ? QVector<float>{weights[0], weights[0]} : weights;
    chart.weights.reserve(shown.size());
    for (float w : shown)
        chart.weights.append(w);
    chart.lower = QVector<double>(shown.size(), lower);
    chart.upper = QVector<double>(shown.size(), upper);
    return chart;
}

QString HeadingText(float weeks, bool weeksKnown)
{
    if (!weeksKnown)
        return QStringLiteral("Heading to target. Estimated time to ideal weight unknown (no change in weight)");
    return QStringLiteral("Heading to target. Estimated ") + QStringLiteral("time to ideal weight = ") + Plain(weeks) +
           QStringLiteral(" weeks");
}

TargetAnalysis Target(const QVector<float> &weights, float upper, float lower, const QString &name, const QString &sex,
                      const QString &units)
{
    TargetAnalysis t;
    const qint16 n = NumText::To16(weights.size());
    t.NumWts = n;
    if (n == 0)
        throw FwError(ErrNo::SubscriptOutOfRange,
                      QStringLiteral("This case has no weighings yet: its weight history is empty."));

    const float curr = weights[n - 1];
    t.Curr = curr;
    t.LocalCurrWt = Plain(curr);
    t.Upper = upper;
    t.Lower = lower;
    const float ideal = NumText::RoundBy(float((upper + lower) / 2.0f), QStringLiteral("###.00"));
    const float diff = NumText::RoundBy(float(curr - ideal), QStringLiteral("###.00"));
    t.IdealWtVal = ideal;
    t.Diff = diff;

    const QString his = hisHer(sex);
    t.IdealWtLbl = name + QStringLiteral(" is ") + Str(std::fabs(diff)) + QLatin1Char(' ') + units + QLatin1Char(' ') +
                   (diff >= 0 ? QStringLiteral("over") : QStringLiteral("under")) + QLatin1Char(' ') + his +
                   QStringLiteral(" ideal weight of ") + Str(ideal) + QLatin1Char(' ') + units;

    if (curr > upper)
        t.band = WeightBand::Above;
    else if (curr >= ideal)
        t.band = WeightBand::UpperHalf;
    else if (curr >= lower)
        t.band = WeightBand::LowerHalf;
    else
        t.band = WeightBand::Below;

    const QString congratulations = QStringLiteral("Congratulations, ") + name + QStringLiteral(" is within ") + his +
                                    QStringLiteral(" target weight range! (If Adult)");
    const QString range = Str(lower) + QStringLiteral(" - ") + Str(upper) + QLatin1Char(' ') + units;
    using P = CasePicture;

    if (n == 1) {
        t.Average = curr;
        t.AvWtLbl = QStringLiteral("Average weight = current weight of ") + Str(curr) + QLatin1Char(' ') + units;
        t.LossRate = QStringLiteral("Cannot calculate a rate change with 1 data point.");
        switch (t.band) {
        case WeightBand::Above:
            setStatus(t, name + QStringLiteral(" is overweight. (If Adult)"),
                      name + QStringLiteral(" is above the target range of ") + range, P::Clouds, P::Bland, "L", "K");
            break;
        case WeightBand::UpperHalf:
            setStatus(t, congratulations, name + QStringLiteral(" is above ideal weight, but within target range."),
                      P::Baloons, P::Bland, "J", "K");
            break;
        case WeightBand::LowerHalf:
            setStatus(t, congratulations, name + QStringLiteral(" is below ideal weight, but within target range."),
                      P::Baloons, P::Bland, "J", "K");
            break;
        case WeightBand::Below:
            setStatus(t, name + QStringLiteral(" is underweight. (If Adult)"),
                      name + QStringLiteral(" is below the ") + QStringLiteral("target range of ") + range, P::Clouds,
                      P::Bland, "L", "K");
            break;
        }
        return t;
    }

    // Rate: the average weekly loss over the last 4 weeks, or over all the
    // weeks there are when fewer.
    float rate;
    if (n >= 5)
        rate = float(weights[n - 5] - curr) / 4.0f;
    else
        rate = float(weights[0] - curr) / float(n - 1);
    t.Rate = rate;

    // Average: over the 12 newest weights, or over all of them when fewer;
    // summed oldest to newest in single precision.
    const int first = n >= 12 ? n - 12 : 0;
    float sum = 0;
    for (int i = first; i < n; ++i)
        sum = sum + weights[i];
    const float average = sum / float(n - first);
    t.Average = average;
    const QString averageText = NumText::BlankLedBy(average, QStringLiteral("##.00"));
    if (n >= 12)
        t.AvWtLbl = QStringLiteral("Average weight over the past 12 weeks = ") + averageText + QLatin1Char(' ') + units;
    else
        t.AvWtLbl = QStringLiteral("Average weight over the past ") + Str(n - 1) + QStringLiteral(" weeks = ") +
                    averageText + QLatin1Char(' ') + units;

    // With no change in weight there is nothing to divide by: no estimate.
    t.weeksKnown = rate != 0;
    if (t.weeksKnown)
        t.Weeks = NumText::RoundBy(float(diff / rate), QStringLiteral("###.0"));

    const bool losing = rate > 0;
    const QString lossGain = losing ? QStringLiteral("loss") : QStringLiteral("gain");
    const QString rateText = NumText::BlankLedBy(std::fabs(rate), QStringLiteral("##.00"));
    const QString period = n >= 5 ? QStringLiteral(" over past 4 weeks = ")
                                  : QStringLiteral(" over past ") + Str(n - 1) + QStringLiteral(" weeks = ");
    t.LossRate = QStringLiteral("Average weight ") + lossGain + period + rateText + QLatin1Char(' ') + units +
                 QStringLiteral("/wk");

    const QString heading = HeadingText(t.Weeks, t.weeksKnown);
    const QString underweight =
        name + QStringLiteral(" is underweight and below ") + his + QStringLiteral(" target range. (If Adult)");
    switch (t.band) {
    case WeightBand::Above:
        if (!losing)
            setStatus(t,
                      name + QStringLiteral(" is overweight and above ") + his +
                          QStringLiteral(" target range. (If Adult)"),
                      QStringLiteral("Warning! ") + name + QStringLiteral(" is overweight and gaining weight!"),
                      P::Clouds, P::Frown, "L", "L");
        else
            setStatus(t,
                      name + QStringLiteral(" is over weight and above ") + his +
                          QStringLiteral(" target range. (If Adult)"),
                      heading, P::Clouds, P::Smile, "L", "J");
        break;
    case WeightBand::UpperHalf:
        if (!losing)
            setStatus(t, congratulations,
                      QStringLiteral("Care! ") + name + QStringLiteral(" is on average gaining weight!"), P::Baloons,
                      P::Bland, "J", "K");
        else
            setStatus(t, congratulations, heading, P::Baloons, P::Smile, "J", "J");
        break;
    case WeightBand::LowerHalf:
        if (!losing)
            setStatus(t, congratulations, heading, P::Baloons, P::Smile, "J", "J");
        else
            setStatus(t, congratulations,
                      QStringLiteral("Care! ") + name + QStringLiteral(" is on average losing weight!"), P::Baloons,
                      P::Bland, "J", "K");
        break;
    case WeightBand::Below:
        if (!losing)
            setStatus(t, underweight, heading, P::Clouds, P::Smile, "L", "J");
        else
            setStatus(t, underweight,
                      QStringLiteral("Warning! ") + name + QStringLiteral(" is underweight and losing weight!"),
                      P::Clouds, P::Frown, "L", "L");
        break;
    }
    return t;
}

} // namespace Analysis

namespace {

// A number field needs a value: NULL, or an empty text, cannot be read as a bound.
void requireNumber(const CaseRecord &row, const QString &fieldName, const QString &text)
{
    row.require(fieldName);
    if (text.trimmed().isEmpty())
        throw FwError(ErrNo::InvalidUseOfNull, QStringLiteral("The field %1 of this case is empty.").arg(fieldName));
}

} // namespace

CaseAnalysis analyseCase(const CaseAnalysisInput &input)
{
    CaseAnalysis a;
    const CaseRecord &row = input.row;
    try {
        row.checkLoadable();

        // The details and the acceptable range.
        for (const char *field : {"Breed", "Tel No", "Sex", "Species", "Units"})
            row.require(QLatin1String(field));
        requireNumber(row, QStringLiteral("LowerWt"), row.LowerWt);
        requireNumber(row, QStringLiteral("UpperWt"), row.UpperWt);
        const float lower = row.lower();
        const float upper = row.upper();
        a.LocalAcRange = Analysis::AcRangeText(lower, upper, row.Units);
        a.Details = Analysis::DetailsText(input.animalName, input.surname, row.Species, input.ageText, row.Breed,
                                          row.Sex, row.TelNo);
        a.done = CaseAnalysis::Part::Texts;

        // The recommended weight of the dog's breed, in kg and in lb.
        const std::optional<QString> breedWt = Analysis::RecBreedWtText(row.Species, row.Breed, input.breedWtRange);
        a.recBreedWtChanged = breedWt.has_value();
        a.RecBreedWt = breedWt.value_or(input.recBreedWtBefore);
        a.RecBreedWtLb = Analysis::PoundRangeText(a.RecBreedWt);
        a.done = CaseAnalysis::Part::Breed;

        // The history, its table and its chart. A missing history is shown
        // like an empty one: no rows, no points, and no analysis below.
        const WeightHistory history(row.GraphData);
        a.NumWts = history.count();
        a.weights = history.weights();
        a.WtData = Analysis::WtDataRows(a.weights, input.lastWeighed);
        a.chart = Analysis::ChartSeries(a.weights, NumText::Val(row.LowerWt), NumText::Val(row.UpperWt), row.Units);
        a.done = CaseAnalysis::Part::History;

        a.target = Analysis::Target(a.weights, upper, lower, input.animalName, row.Sex, row.Units);
        a.done = CaseAnalysis::Part::Target;
    } catch (const FwError &e) {
        a.error = e;
    }
    return a;
}
