#include "curves_reports/GrowthCurves.h"

#include "platform/db/ClinicDb.h"
#include "platform/text/NumberText.h"

#include <QSqlQuery>

namespace GrowthCurves {

namespace {

const QStringList kPuppyFields = {QStringLiteral("Great Dane"),     QStringLiteral("Newfoundland"),
                                  QStringLiteral("Labrador"),       QStringLiteral("Bulldog"),
                                  QStringLiteral("Cocker Spaniel"), QStringLiteral("Fox Terrier"),
                                  QStringLiteral("Pekingese"),      QStringLiteral("Pomeranian")};
const QStringList kKittenFields = {QStringLiteral("Male Upper"), QStringLiteral("Male Lower"),
                                   QStringLiteral("Female Upper"), QStringLiteral("Female Lower")};
const QStringList kKittenTitles = {
    QStringLiteral("Upper Weight Curve, Male Kitten"), QStringLiteral("Lower Weight Curve, Male Kitten"),
    QStringLiteral("Upper Weight Curve, Female Kitten"), QStringLiteral("Lower Weight Curve, Female Kitten")};
const QString kAnimalLegend = QStringLiteral("Curr. Wt");

QString bracket(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

} // namespace

Texts texts(Kind kind)
{
    Texts t;
    t.bottomTitle = QStringLiteral("Age (Weeks)");
    t.leftTitle = QStringLiteral("kg's");
    if (kind == Kind::Puppy) {
        t.caption = QStringLiteral("Puppy Growth Curves For The First 52 Weeks");
        t.chartTitle = QStringLiteral("Puppy Growth Curves");
        t.table = QStringLiteral("Puppy Curves");
        t.reportName = QStringLiteral("GrowthCurveK9");
    } else {
        t.caption = QStringLiteral("Kitten Growth Curves For The First 52 Weeks");
        t.chartTitle = QStringLiteral("Kitten Growth Curves");
        t.table = QStringLiteral("Kitten Curves");
        t.reportName = QStringLiteral("GrowthCurveFel");
    }
    return t;
}

QStringList fieldNames(Kind kind)
{
    return kind == Kind::Puppy ? kPuppyFields : kKittenFields;
}

QStringList legends(Kind kind)
{
    return fieldNames(kind) << kAnimalLegend;
}

int animalSeries(Kind kind)
{
    return int(fieldNames(kind).size()) + 1;
}

QStringList pointLabels()
{
    QStringList labels;
    labels.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i)
        labels << NumText::Str(2 * i);
    return labels;
}

bool Curves::complete() const
{
    if (series.isEmpty())
        return false;
    for (const QVector<float> &s : series)
        if (s.size() < kPoints)
            return false;
    return true;
}

Curves read(const QSqlDatabase &db, Kind kind)
{
    const QStringList fields = fieldNames(kind);
    QStringList columns;
    for (const QString &f : fields)
        columns << bracket(f);
    // The names are the program's own, never typed text; the rows come in
    // week order however the table stores them, and a table holding more
    // than a year gives its first 27 weeks.
    const QString sql = QStringLiteral("SELECT %1 FROM %2 ORDER BY [Week], rowid LIMIT ?")
                            .arg(columns.join(QStringLiteral(", ")), bracket(texts(kind).table));
    QSqlQuery q = ClinicDb::exec(db, sql, {kPoints});

    Curves c;
    c.kind = kind;
    c.series.resize(fields.size());
    QVector<bool> ended(fields.size(), false);
    while (q.next()) {
        ++c.rowsRead;
        for (int s = 0; s < fields.size(); ++s) {
            const QVariant v = q.value(s);
            // An empty value ends its curve there: a point of 0 would draw a
            // growing animal as one that lost all its weight.
            if (ended[s] || v.isNull()) {
                ended[s] = true;
                continue;
            }
            c.series[s].append(NumText::Sng(v.toDouble()));
        }
    }
    return c;
}

QString shortTableNote(const Curves &curves)
{
    if (curves.complete())
        return QString();
    const QString table = texts(curves.kind).table;
    if (curves.rowsRead == 0)
        return QStringLiteral("The growth curve table %1 holds no rows, so the reference curves cannot be drawn.")
            .arg(table);
    if (curves.rowsRead < kPoints)
        return QStringLiteral("The growth curve table %1 holds only %2 of its %3 weeks; the reference curves are "
                              "drawn for the weeks it holds.")
            .arg(table)
            .arg(curves.rowsRead)
            .arg(kPoints);
    return QStringLiteral("Some values are missing from the growth curve table %1; the reference curves are drawn "
                          "up to the first missing value.")
        .arg(table);
}

std::optional<int> spikePoint(qint16 weeksOld)
{
    if (weeksOld < 0 || weeksOld > 2 * (kPoints - 1))
        return std::nullopt;
    return (weeksOld + 1) / 2;
}

std::optional<float> weightInKg(float weight, const QString &units)
{
    if (units == QLatin1String("kg"))
        return weight;
    if (units == QLatin1String("lb"))
        return NumText::Sng(double(weight) / kLbPerKg);
    return std::nullopt;
}

QVector<double> animalValues(qint16 weeksOld, float weight, const QString &units)
{
    QVector<double> values(kPoints, 0.0);
    const std::optional<int> k = spikePoint(weeksOld);
    const std::optional<float> kg = weightInKg(weight, units);
    if (k && kg)
        values[*k] = *kg;
    return values;
}

Plot plot(const Curves &curves, qint16 weeksOld, float weight, const QString &units)
{
    Plot p;
    p.legends = legends(curves.kind);
    p.labels = pointLabels();
    for (const QVector<float> &s : curves.series) {
        QVector<double> values;
        values.reserve(s.size());
        for (float v : s)
            values.append(v);
        p.values.append(values);
    }
    p.values.append(animalValues(weeksOld, weight, units));
    p.note = shortTableNote(curves);
    return p;
}

std::optional<Prompt::Box> readOut(const Curves &curves, int series, int point)
{
    if (series < 1 || series > curves.series.size())
        return std::nullopt; // the animal's spike, or no series at all
    const QVector<float> &values = curves.series.at(series - 1);
    if (point < 1 || point > values.size())
        return std::nullopt;
    Prompt::Box box;
    box.icon = Prompt::Icon::Information;
    box.buttons = Prompt::Buttons::OK;
    box.title = curves.kind == Kind::Puppy ? kPuppyFields.at(series - 1) : kKittenTitles.at(series - 1);
    box.text = NumText::Plain(values.at(point - 1)) + QStringLiteral(" kg(s) at ") + NumText::Str((point - 1) * 2) +
               QStringLiteral(" weeks old");
    return box;
}

CaseCheck checkCase(const QString &species, qint16 weeksOld)
{
    CaseCheck check;
    auto box = [&](const QString &text, Prompt::Icon icon) {
        check.boxes.append({text, icon, Prompt::Buttons::OK, Prompt::kTitle});
    };
    if (weeksOld > 52) {
        box(QStringLiteral("Growth Curves are only available for pups or kittens under 52 weeks of age."),
            Prompt::Icon::Critical);
        return check;
    }
    box(QStringLiteral("Note that the growth curve displays the animal's weight and age at its last weighing (") +
            NumText::Str(int(weeksOld)) + QStringLiteral(" wks old). NOT its current age."),
        Prompt::Icon::Information);
    if (species == QLatin1String("Cat"))
        check.open = Kind::Kitten;
    else if (species == QLatin1String("Dog"))
        check.open = Kind::Puppy;
    else
        box(QStringLiteral("Growth Curves are for kittens and puppies only"), Prompt::Icon::Information);
    return check;
}

} // namespace GrowthCurves
