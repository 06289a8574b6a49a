// Growth curves: the delivered reference rows (27 weeks, never falling, in
// line with the breed weights and with kitten growth), reading in week order,
// a short table, the animal's spike, the read-out of a point and the check of
// the case.
#include "curves_reports/GrowthCurves.h"
#include "platform/db/ClinicDb.h"
#include "platform/text/NumberText.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QTest>

using GrowthCurves::Kind;

Q_DECLARE_METATYPE(GrowthCurves::Kind)

namespace {

// The general weight range of a breed, from the delivered Dog Breeds rows.
QPair<double, double> breedRange(const QSqlDatabase &db, const QString &breed)
{
    const QString range =
        ClinicDb::scalar(db, "SELECT [Wt Range] FROM [Dog Breeds] WHERE [Breed] = ?", {breed}).toString();
    return {range.section('-', 0, 0).toDouble(), range.section('-', 1, 1).toDouble()};
}

double maleWeight(const QSqlDatabase &db, const QString &breed)
{
    return ClinicDb::scalar(db, "SELECT [Wt Male] FROM [Dog Breeds] WHERE [Breed] = ?", {breed}).toDouble();
}

} // namespace

class GrowthCurvesTest : public QObject {
    Q_OBJECT
private slots:
    void deliveredRowsHaveTheirShape_data();
    void deliveredRowsHaveTheirShape();
    void puppyCurvesMatchTheBreedWeights();
    void kittenCurvesFormABand();
    void rowsAreReadInWeekOrder();
    void shortTablePlotsWhatItHas();
    void spike_data();
    void spike();
    void readOut();
    void checkCase_data();
    void checkCase();
};

void GrowthCurvesTest::deliveredRowsHaveTheirShape_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("puppy") << Kind::Puppy;
    QTest::newRow("kitten") << Kind::Kitten;
}

void GrowthCurvesTest::deliveredRowsHaveTheirShape()
{
    QFETCH(Kind, kind);
    TestEnv env;
    const QString table = GrowthCurves::texts(kind).table;
    QSqlQuery q = ClinicDb::exec(env.db(), QStringLiteral("SELECT [Week] FROM [%1] ORDER BY [Week]").arg(table));
    QList<int> weeks;
    while (q.next())
        weeks << q.value(0).toInt();
    QList<int> expected;
    for (int w = 0; w <= 52; w += 2)
        expected << w;
    QCOMPARE(weeks, expected);

    const GrowthCurves::Curves c = GrowthCurves::read(env.db(), kind);
    QCOMPARE(c.rowsRead, 27);
    QVERIFY(c.complete());
    QVERIFY(GrowthCurves::shortTableNote(c).isEmpty());
    for (int s = 0; s < c.series.size(); ++s) {
        const QVector<float> &v = c.series.at(s);
        QVERIFY(v.first() > 0);
        for (int i = 1; i < v.size(); ++i)
            QVERIFY2(
                v.at(i) >= v.at(i - 1),
                qPrintable(QStringLiteral("%1 falls at week %2").arg(GrowthCurves::fieldNames(kind).at(s)).arg(2 * i)));
    }
}

void GrowthCurvesTest::puppyCurvesMatchTheBreedWeights()
{
    TestEnv env;
    const GrowthCurves::Curves c = GrowthCurves::read(env.db(), Kind::Puppy);
    // Curve name to the breed of Dog Breeds it stands for.
    const QStringList breeds = {"Great Dane",     "Newfoundland", "Labrador Retriever", "Bulldog",
                                "Cocker Spaniel", "Fox Terrier",  "Pekingese",          "Pomeranian"};
    constexpr int week40 = 20, week50 = 25, week52 = 26;
    for (int s = 0; s < breeds.size(); ++s) {
        const QString breed = breeds.at(s);
        const QVector<float> &v = c.series.at(s);
        const auto [lo, hi] = breedRange(env.db(), breed);
        QVERIFY2(hi > 0, qPrintable(breed));
        // A typical birth weight: under a tenth of the lightest adult.
        QVERIFY2(v.first() < lo / 10, qPrintable(breed));
        QVERIFY2(v.at(week52) >= lo && v.at(week52) <= hi, qPrintable(breed));
        if (hi <= 15) {
            // Small breeds are close to their adult weight by nine to ten months.
            QVERIFY2(v.at(week40) >= lo && v.at(week40) >= 0.9 * v.at(week52), qPrintable(breed));
        }
        if (hi >= 70) {
            // Giant breeds are still growing at one year, short of the adult male.
            QVERIFY2(v.at(week52) > v.at(week50), qPrintable(breed));
            QVERIFY2(v.at(week52) < maleWeight(env.db(), breed), qPrintable(breed));
        }
    }
}

void GrowthCurvesTest::kittenCurvesFormABand()
{
    TestEnv env;
    const GrowthCurves::Curves c = GrowthCurves::read(env.db(), Kind::Kitten);
    // Male Upper, Male Lower, Female Upper, Female Lower.
    for (int s = 0; s < 4; ++s) {
        QVERIFY(c.series.at(s).first() >= 0.07f && c.series.at(s).first() <= 0.14f);
        QVERIFY(c.series.at(s).at(6) >= 0.9f && c.series.at(s).at(6) <= 1.6f); // week 12
    }
    for (int i = 1; i < 27; ++i) {
        QVERIFY(c.series.at(0).at(i) > c.series.at(1).at(i));
        QVERIFY(c.series.at(2).at(i) > c.series.at(3).at(i));
    }
}

void GrowthCurvesTest::rowsAreReadInWeekOrder()
{
    TestEnv env;
    const GrowthCurves::Curves before = GrowthCurves::read(env.db(), Kind::Kitten);
    // The same rows stored backwards.
    ClinicDb::exec(env.db(), "CREATE TEMP TABLE k AS SELECT * FROM [Kitten Curves] ORDER BY [Week] DESC");
    ClinicDb::exec(env.db(), "DELETE FROM [Kitten Curves]");
    ClinicDb::exec(env.db(), "INSERT INTO [Kitten Curves] SELECT * FROM k ORDER BY [Week] DESC");
    QCOMPARE(ClinicDb::scalar(env.db(), "SELECT [Week] FROM [Kitten Curves] ORDER BY rowid LIMIT 1").toInt(), 52);
    const GrowthCurves::Curves after = GrowthCurves::read(env.db(), Kind::Kitten);
    QCOMPARE(after.series, before.series);
}

void GrowthCurvesTest::shortTablePlotsWhatItHas()
{
    TestEnv env;
    ClinicDb::exec(env.db(), "DELETE FROM [Puppy Curves] WHERE [Week] > 38");
    GrowthCurves::Curves c = GrowthCurves::read(env.db(), Kind::Puppy);
    QCOMPARE(c.rowsRead, 20);
    const GrowthCurves::Plot p = GrowthCurves::plot(c, 30, 10.0f, "kg");
    QCOMPARE(p.values.size(), 9);
    QCOMPARE(p.values.at(2).size(), 20);
    QCOMPARE(p.values.at(8).size(), 27);
    QCOMPARE(p.values.at(8).at(15), 10.0);
    QCOMPARE(p.note, QStringLiteral("The growth curve table Puppy Curves holds only 20 of its 27 weeks; the reference "
                                    "curves are drawn for the weeks it holds."));
    QVERIFY(GrowthCurves::readOut(c, 3, 20));
    QVERIFY(!GrowthCurves::readOut(c, 3, 21));

    // An empty value ends its curve there; the others keep every week.
    ClinicDb::exec(env.db(), "UPDATE [Puppy Curves] SET [Bulldog] = NULL WHERE [Week] = 10");
    c = GrowthCurves::read(env.db(), Kind::Puppy);
    QCOMPARE(c.series.at(3).size(), 5);
    QCOMPARE(c.series.at(2).size(), 20);

    ClinicDb::exec(env.db(), "DELETE FROM [Puppy Curves]");
    c = GrowthCurves::read(env.db(), Kind::Puppy);
    QCOMPARE(c.rowsRead, 0);
    QCOMPARE(GrowthCurves::plot(c, 10, 5.0f, "kg").values.size(), 9);
    QCOMPARE(GrowthCurves::shortTableNote(c),
             QStringLiteral("The growth curve table Puppy Curves holds no rows, so the reference curves cannot be "
                            "drawn."));
}

void GrowthCurvesTest::spike_data()
{
    QTest::addColumn<int>("weeks");
    QTest::addColumn<float>("weight");
    QTest::addColumn<QString>("units");
    QTest::addColumn<int>("point"); // -1: no spike
    QTest::addColumn<double>("kg");
    QTest::newRow("0 weeks") << 0 << 1.0f << "kg" << 0 << 1.0;
    QTest::newRow("1 week") << 1 << 1.0f << "kg" << 1 << 1.0;
    QTest::newRow("10 weeks in lb") << 10 << 3.3f << "lb" << 5 << 1.5;
    QTest::newRow("51 weeks") << 51 << 20.0f << "kg" << 26 << 20.0;
    QTest::newRow("52 weeks") << 52 << 20.0f << "kg" << 26 << 20.0;
    QTest::newRow("53 weeks") << 53 << 20.0f << "kg" << -1 << 0.0;
    QTest::newRow("before birth") << -1 << 1.0f << "kg" << -1 << 0.0;
    QTest::newRow("other unit") << 10 << 900.0f << "gm" << -1 << 0.0;
}

void GrowthCurvesTest::spike()
{
    QFETCH(int, weeks);
    QFETCH(float, weight);
    QFETCH(QString, units);
    QFETCH(int, point);
    QFETCH(double, kg);
    const QVector<double> v = GrowthCurves::animalValues(qint16(weeks), weight, units);
    QCOMPARE(v.size(), 27);
    for (int i = 0; i < v.size(); ++i) {
        if (i == point)
            QVERIFY(qAbs(v.at(i) - kg) < 1e-5);
        else
            QCOMPARE(v.at(i), 0.0);
    }
}

void GrowthCurvesTest::readOut()
{
    TestEnv env;
    const GrowthCurves::Curves puppy = GrowthCurves::read(env.db(), Kind::Puppy);
    // The Labrador curve at week 20 (point 11).
    const auto box = GrowthCurves::readOut(puppy, 3, 11);
    QVERIFY(box);
    QCOMPARE(box->title, QStringLiteral("Labrador"));
    QCOMPARE(box->icon, Prompt::Icon::Information);
    QCOMPARE(box->text, NumText::Plain(puppy.series.at(2).at(10)) + QStringLiteral(" kg(s) at  20 weeks old"));
    QCOMPARE(GrowthCurves::readOut(puppy, 8, 1)->text,
             NumText::Plain(puppy.series.at(7).at(0)) + QStringLiteral(" kg(s) at  0 weeks old"));
    QVERIFY(!GrowthCurves::readOut(puppy, 9, 11)); // the animal's spike
    QVERIFY(!GrowthCurves::readOut(puppy, 3, 28));

    const GrowthCurves::Curves kitten = GrowthCurves::read(env.db(), Kind::Kitten);
    QCOMPARE(GrowthCurves::readOut(kitten, 4, 27)->title, QStringLiteral("Lower Weight Curve, Female Kitten"));
    QVERIFY(!GrowthCurves::readOut(kitten, 5, 1));
    QCOMPARE(GrowthCurves::legends(Kind::Kitten).last(), QStringLiteral("Curr. Wt"));
    QCOMPARE(GrowthCurves::pointLabels().first(), QStringLiteral(" 0"));
    QCOMPARE(GrowthCurves::pointLabels().last(), QStringLiteral(" 52"));
}

void GrowthCurvesTest::checkCase_data()
{
    QTest::addColumn<QString>("species");
    QTest::addColumn<int>("weeks");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("opens"); // -1 nothing, 0 puppy, 1 kitten
    const QString refusal = "Growth Curves are only available for pups or kittens under 52 weeks of age.";
    auto note = [](const char *weeks) {
        return QStringLiteral(
                   "Note that the growth curve displays the animal's weight and age at its last weighing (") +
               weeks + QStringLiteral(" wks old). NOT its current age.");
    };
    const QString only = "Growth Curves are for kittens and puppies only";
    QTest::newRow("dog of 52 weeks") << "Dog" << 52 << QStringList{note(" 52")} << 0;
    QTest::newRow("cat of 0 weeks") << "Cat" << 0 << QStringList{note(" 0")} << 1;
    QTest::newRow("53 weeks") << "Dog" << 53 << QStringList{refusal} << -1;
    QTest::newRow("cat in lower case") << "cat" << 12 << QStringList{note(" 12"), only} << -1;
    QTest::newRow("cat with blanks") << " Cat" << 12 << QStringList{note(" 12"), only} << -1;
}

void GrowthCurvesTest::checkCase()
{
    QFETCH(QString, species);
    QFETCH(int, weeks);
    QFETCH(QStringList, texts);
    QFETCH(int, opens);
    const GrowthCurves::CaseCheck check = GrowthCurves::checkCase(species, qint16(weeks));
    QStringList shown;
    for (const Prompt::Box &b : check.boxes) {
        shown << b.text;
        QCOMPARE(b.title, QStringLiteral("Message from the Fenwarra"));
    }
    QCOMPARE(shown, texts);
    QCOMPARE(check.boxes.first().icon, weeks > 52 ? Prompt::Icon::Critical : Prompt::Icon::Information);
    QCOMPARE(check.open.has_value(), opens >= 0);
    if (opens >= 0)
        QCOMPARE(*check.open, opens == 0 ? Kind::Puppy : Kind::Kitten);
}

FW_TEST(GrowthCurvesTest)
#include "tst_GrowthCurves.moc"
