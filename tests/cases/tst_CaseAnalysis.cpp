// The target analysis of a case: status tables, bands and their boundaries,
// rate and average over the right weeks, the texts with their exact blanks,
// the breed weight and its pound range, the table of weighings, the chart,
// and loads that fail part way.
#include "cases/CaseAnalysis.h"
#include "cases/CaseRecord.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "support/CaseBuilder.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QSqlQuery>
#include <QtTest>

Q_DECLARE_METATYPE(CasePictures)
Q_DECLARE_METATYPE(WeightBand)

namespace {

CaseRecord makeRow(const QString &history, const QString &lower, const QString &upper,
                   const QString &sex = QStringLiteral("Male"), const QString &species = QStringLiteral("Dog"),
                   const QString &breed = QStringLiteral("Beagle"))
{
    CaseRecord r;
    r.CaseNo = QStringLiteral("7");
    r.Surname = QStringLiteral("Smith");
    r.AnimalName = QStringLiteral("Rex");
    r.TelNo = QStringLiteral("555 1234");
    r.Species = species;
    r.DOB = QStringLiteral("2020-01-15");
    r.Sex = sex;
    r.Breed = breed;
    r.Units = QStringLiteral("kg");
    r.LowerWt = lower;
    r.UpperWt = upper;
    r.GraphData = history;
    r.GraphDataUndo = history;
    r.LastWeighed = QStringLiteral("2026-12-06");
    r.LastWeighedUndo = QStringLiteral("2026-12-06");
    r.VetComments = QStringLiteral("None");
    return r;
}

CaseAnalysisInput makeInput(const CaseRecord &row)
{
    CaseAnalysisInput in;
    in.row = row;
    in.animalName = QStringLiteral("Rex");
    in.surname = QStringLiteral("Smith");
    in.ageText = QStringLiteral(" 6yrs  10mths  3wks");
    in.lastWeighed = QDate(2026, 12, 6);
    return in;
}

TargetAnalysis target(const QString &history, const QString &lower = QStringLiteral("10"),
                      const QString &upper = QStringLiteral("14"), const QString &sex = QStringLiteral("Male"))
{
    const CaseAnalysis a = analyseCase(makeInput(makeRow(history, lower, upper, sex)));
    if (a.error)
        qWarning() << "load failed:" << a.error->description();
    return a.target;
}

QString heading(const char *weeks)
{
    return QStringLiteral("Heading to target. Estimated time to ideal weight = ") + QLatin1String(weeks) +
           QStringLiteral(" weeks");
}

} // namespace

class CaseAnalysisTest : public QObject {
    Q_OBJECT
private slots:
    // Every row of the two status tables (range 10-14, ideal 12).
    void status_data()
    {
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("congrats");
        QTest::addColumn<QString>("timeToTarget");
        QTest::addColumn<CasePictures>("pictures");
        QTest::addColumn<QString>("localTarget");
        QTest::addColumn<QString>("localProgress");

        using P = CasePicture;
        const QString congratsHis = "Congratulations, Rex is within his target weight range! (If Adult)";
        const QString congratsHer = "Congratulations, Rex is within her target weight range! (If Adult)";

        QTest::newRow("one: above") << "15;"
                                    << "Male"
                                    << "Rex is overweight. (If Adult)"
                                    << "Rex is above the target range of  10 -  14 kg" << (P::Clouds | P::Bland) << "L"
                                    << "K";
        QTest::newRow("one: upper half") << "13;"
                                         << "Female" << congratsHer
                                         << "Rex is above ideal weight, but within target range."
                                         << (P::Baloons | P::Bland) << "J"
                                         << "K";
        QTest::newRow("one: lower half") << "11;"
                                         << "Male" << congratsHis
                                         << "Rex is below ideal weight, but within target range."
                                         << (P::Baloons | P::Bland) << "J"
                                         << "K";
        QTest::newRow("one: below") << "9;"
                                    << "Male"
                                    << "Rex is underweight. (If Adult)"
                                    << "Rex is below the target range of  10 -  14 kg" << (P::Clouds | P::Bland) << "L"
                                    << "K";

        QTest::newRow("above, gaining") << "15;16;"
                                        << "Male"
                                        << "Rex is overweight and above his target range. (If Adult)"
                                        << "Warning! Rex is overweight and gaining weight!" << (P::Clouds | P::Frown)
                                        << "L"
                                        << "L";
        QTest::newRow("above, losing") << "17;16;"
                                       << "Spayed Female"
                                       << "Rex is over weight and above her target range. (If Adult)" << heading("4")
                                       << (P::Clouds | P::Smile) << "L"
                                       << "J";
        QTest::newRow("upper half, gaining")
            << "12.5;13;"
            << "Male" << congratsHis << "Care! Rex is on average gaining weight!" << (P::Baloons | P::Bland) << "J"
            << "K";
        QTest::newRow("upper half, losing") << "13.5;12.5;"
                                            << "Male" << congratsHis << heading("0.5") << (P::Baloons | P::Smile) << "J"
                                            << "J";
        QTest::newRow("lower half, gaining") << "10.5;11;"
                                             << "Male" << congratsHis << heading("2") << (P::Baloons | P::Smile) << "J"
                                             << "J";
        QTest::newRow("lower half, losing")
            << "11.5;11;"
            << "Male" << congratsHis << "Care! Rex is on average losing weight!" << (P::Baloons | P::Bland) << "J"
            << "K";
        QTest::newRow("below, gaining") << "8;9;"
                                        << "Male"
                                        << "Rex is underweight and below his target range. (If Adult)" << heading("3")
                                        << (P::Clouds | P::Smile) << "L"
                                        << "J";
        QTest::newRow("below, losing") << "10;9;"
                                       << "Male"
                                       << "Rex is underweight and below his target range. (If Adult)"
                                       << "Warning! Rex is underweight and losing weight!" << (P::Clouds | P::Frown)
                                       << "L"
                                       << "L";
    }
    void status()
    {
        QFETCH(QString, history);
        QFETCH(QString, sex);
        QFETCH(QString, congrats);
        QFETCH(QString, timeToTarget);
        QFETCH(CasePictures, pictures);
        QFETCH(QString, localTarget);
        QFETCH(QString, localProgress);

        const TargetAnalysis t = target(history, QStringLiteral("10"), QStringLiteral("14"), sex);
        QCOMPARE(t.Congrats, congrats);
        QCOMPARE(t.TimeToTargetlbl, timeToTarget);
        QCOMPARE(pictureNames(t.pictures), pictureNames(pictures));
        QCOMPARE(t.LocalTarget, localTarget);
        QCOMPARE(t.LocalProgress, localProgress);
    }

    void bands_data()
    {
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<WeightBand>("band");
        QTest::addColumn<QString>("idealWtLbl");

        QTest::newRow("at ideal: over, upper half")
            << "12;"
            << "10"
            << "14" << WeightBand::UpperHalf << "Rex is  0 kg over his ideal weight of  12 kg";
        QTest::newRow("at upper: upper half")
            << "14;"
            << "10"
            << "14" << WeightBand::UpperHalf << "Rex is  2 kg over his ideal weight of  12 kg";
        QTest::newRow("just above upper")
            << "14.1;"
            << "10"
            << "14" << WeightBand::Above << "Rex is  2.1 kg over his ideal weight of  12 kg";
        QTest::newRow("at lower: lower half")
            << "10;"
            << "10"
            << "14" << WeightBand::LowerHalf << "Rex is  2 kg under his ideal weight of  12 kg";
        QTest::newRow("just below lower")
            << "9.9;"
            << "10"
            << "14" << WeightBand::Below << "Rex is  2.1 kg under his ideal weight of  12 kg";
        QTest::newRow("ideal rounded half away")
            << "11;"
            << "10.1"
            << "12.15" << WeightBand::LowerHalf << "Rex is  .13 kg under his ideal weight of  11.13 kg";
        // Bounds entered the wrong way round: still tested Above, upper half,
        // lower half, below, so only the outer bands can be met.
        QTest::newRow("exchanged bounds, between")
            << "11;"
            << "14"
            << "10" << WeightBand::Above << "Rex is  1 kg under his ideal weight of  12 kg";
        QTest::newRow("exchanged bounds, low")
            << "9;"
            << "14"
            << "10" << WeightBand::Below << "Rex is  3 kg under his ideal weight of  12 kg";
        QTest::newRow("exchanged bounds, high")
            << "15;"
            << "14"
            << "10" << WeightBand::Above << "Rex is  3 kg over his ideal weight of  12 kg";
    }
    void bands()
    {
        QFETCH(QString, history);
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        QFETCH(WeightBand, band);
        QFETCH(QString, idealWtLbl);
        const TargetAnalysis t = target(history, lower, upper);
        QCOMPARE(t.band, band);
        QCOMPARE(t.IdealWtLbl, idealWtLbl);
    }

    // How many weighings decide the weeks of the rate and of the average.
    void periods_data()
    {
        QTest::addColumn<QString>("history");
        QTest::addColumn<float>("rate");
        QTest::addColumn<float>("average");
        QTest::addColumn<QString>("avWtLbl");
        QTest::addColumn<QString>("lossRate");

        QTest::newRow("1") << "12.5;" << 0.0f << 12.5f << "Average weight = current weight of  12.5 kg"
                           << "Cannot calculate a rate change with 1 data point.";
        QTest::newRow("4") << "14;13.5;13;12.5;" << 0.5f << 13.25f
                           << "Average weight over the past  3 weeks =  13.25 kg"
                           << "Average weight loss over past  3 weeks =  .5 kg/wk";
        QTest::newRow("5") << "15;14;13;12;11;" << 1.0f << 13.0f << "Average weight over the past  4 weeks =  13 kg"
                           << "Average weight loss over past 4 weeks =  1 kg/wk";
        QTest::newRow("6: rate over the last 4 weeks")
            << "20;15;14;13;12;11;" << 1.0f << 14.1666667f << "Average weight over the past  5 weeks =  14.17 kg"
            << "Average weight loss over past 4 weeks =  1 kg/wk";
        QTest::newRow("11") << "10;11;12;13;14;15;16;17;18;19;20;" << -1.0f << 15.0f
                            << "Average weight over the past  10 weeks =  15 kg"
                            << "Average weight gain over past 4 weeks =  1 kg/wk";
        QTest::newRow("12") << "10;11;12;13;14;15;16;17;18;19;20;21;" << -1.0f << 15.5f
                            << "Average weight over the past 12 weeks =  15.5 kg"
                            << "Average weight gain over past 4 weeks =  1 kg/wk";
        QTest::newRow("13: the oldest is left out") << "90;10;11;12;13;14;15;16;17;18;19;20;21;" << -1.0f << 15.5f
                                                    << "Average weight over the past 12 weeks =  15.5 kg"
                                                    << "Average weight gain over past 4 weeks =  1 kg/wk";
        QTest::newRow("average .456") << ".456;.456;" << 0.0f << 0.456f
                                      << "Average weight over the past  1 weeks =  .46 kg"
                                      << "Average weight gain over past  1 weeks =  0 kg/wk";
        QTest::newRow("average 12.30") << "12.3;12.3;" << 0.0f << 12.3f
                                       << "Average weight over the past  1 weeks =  12.3 kg"
                                       << "Average weight gain over past  1 weeks =  0 kg/wk";
        QTest::newRow("rate shown to 2 places")
            << "12;11;10;" << 1.0f << 11.0f << "Average weight over the past  2 weeks =  11 kg"
            << "Average weight loss over past  2 weeks =  1 kg/wk";
        QTest::newRow("rate of a third") << "12;11.9;11.8;11;" << 0.3333333f << 11.675f
                                         << "Average weight over the past  3 weeks =  11.68 kg"
                                         << "Average weight loss over past  3 weeks =  .33 kg/wk";
    }
    void periods()
    {
        QFETCH(QString, history);
        QFETCH(float, rate);
        QFETCH(float, average);
        QFETCH(QString, avWtLbl);
        QFETCH(QString, lossRate);
        const TargetAnalysis t = target(history, QStringLiteral("0"), QStringLiteral("100"));
        QCOMPARE(t.Rate, rate);
        QCOMPARE(t.Average, average);
        QCOMPARE(t.AvWtLbl, avWtLbl);
        QCOMPARE(t.LossRate, lossRate);
    }

    void weeksToIdeal_data()
    {
        QTest::addColumn<QString>("history");
        QTest::addColumn<bool>("known");
        QTest::addColumn<float>("weeks");
        QTest::addColumn<QString>("timeToTarget");
        QTest::newRow("rounded to one decimal") << "10.7;11;" << true << 3.3f << heading("3.3");
        QTest::newRow("whole") << "17;16;" << true << 4.0f << heading("4");
        // No change in weight: the rows for "0 or less" apply, but there is no
        // estimate to give.
        QTest::newRow("rate 0, lower half") << "11;11;" << false << 0.0f
                                            << "Heading to target. Estimated time to ideal weight unknown (no change "
                                               "in weight)";
        QTest::newRow("rate 0, below") << "9;9;9;" << false << 0.0f
                                       << "Heading to target. Estimated time to ideal weight unknown (no change in "
                                          "weight)";
        QTest::newRow("rate 0, upper half") << "13;13;" << false << 0.0f << "Care! Rex is on average gaining weight!";
        QTest::newRow("rate 0, above") << "15;15;" << false << 0.0f << "Warning! Rex is overweight and gaining weight!";
    }
    void weeksToIdeal()
    {
        QFETCH(QString, history);
        QFETCH(bool, known);
        QFETCH(float, weeks);
        QFETCH(QString, timeToTarget);
        const TargetAnalysis t = target(history);
        QCOMPARE(t.weeksKnown, known);
        if (known)
            QCOMPARE(t.Weeks, weeks);
        QCOMPARE(t.TimeToTargetlbl, timeToTarget);
    }

    void currentWeightIsTheNewestEntry()
    {
        CaseRecord row = makeRow(QStringLiteral("12.50;11.;.5;"), QStringLiteral("0.25"), QStringLiteral("1"));
        row.CurrentWt = QStringLiteral("0.45"); // as typed; the history's entry is what counts
        const TargetAnalysis t = analyseCase(makeInput(row)).target;
        QCOMPARE(t.Curr, 0.5f);
        QCOMPARE(t.LocalCurrWt, QStringLiteral("0.5"));
        QCOMPARE(t.IdealWtVal, 0.63f); // (0.25 + 1) / 2 = .625, rounded half away
        QCOMPARE(t.Diff, -0.13f);
        QCOMPARE(t.IdealWtLbl, QStringLiteral("Rex is  .13 kg under his ideal weight of  .63 kg"));
    }

    void hisHer_data()
    {
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("word");
        QTest::newRow("Female") << "Female"
                                << "her";
        QTest::newRow("Female (Spayed)") << "Female (Spayed)"
                                         << "her";
        QTest::newRow("lower case female") << "female"
                                           << "his";
        QTest::newRow("Male") << "Male"
                              << "his";
        QTest::newRow("empty") << ""
                               << "his";
    }
    void hisHer()
    {
        QFETCH(QString, sex);
        QFETCH(QString, word);
        const TargetAnalysis t = target(QStringLiteral("13;"), QStringLiteral("10"), QStringLiteral("14"), sex);
        QCOMPARE(t.IdealWtLbl, QStringLiteral("Rex is  1 kg over %1 ideal weight of  12 kg").arg(word));
        QCOMPARE(t.Congrats,
                 QStringLiteral("Congratulations, Rex is within %1 target weight range! (If Adult)").arg(word));
    }

    void texts()
    {
        QCOMPARE(Analysis::AcRangeText(10, 12, QStringLiteral("kg")), QStringLiteral("From  10 to  12 kg"));
        QCOMPARE(Analysis::AcRangeText(0.5f, 1.25f, QStringLiteral("lb")), QStringLiteral("From  .5 to  1.25 lb"));
        QCOMPARE(Analysis::DetailsText(QStringLiteral("Rex"), QStringLiteral("Smith"), QStringLiteral("Dog"),
                                       QStringLiteral(" 6yrs  10mths  3wks"), QStringLiteral("Beagle"),
                                       QStringLiteral("Male"), QStringLiteral("555 1234")),
                 QStringLiteral("Rex Smith, Dog\r\nAge =  6yrs  10mths  3wks\r\nBreed = Beagle\r\nSex =Male\r\n"
                                "Contact #: 555 1234 "));
    }

    void breedWeight_data()
    {
        QTest::addColumn<QString>("species");
        QTest::addColumn<QString>("breed");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("recBreedWt");
        QTest::addColumn<QString>("recBreedWtLb");

        QTest::newRow("dog found") << "Dog"
                                   << "Labrador" << true << "25-36"
                                   << "" << true << "25-36 kg"
                                   << "55 - 79.2 lb";
        QTest::newRow("cross breed") << "Dog"
                                     << "Cross Breed" << false << ""
                                     << "" << true << "Nearest Breed"
                                     << "-";
        QTest::newRow("cross breed in the table") << "Dog"
                                                  << "Cross Breed" << true << "10-20"
                                                  << "" << true << "Nearest Breed"
                                                  << "-";
        QTest::newRow("dog not found, new window") << "Dog"
                                                   << "Dingo" << false << ""
                                                   << "" << false << ""
                                                   << "-";
        QTest::newRow("dog not found, keeps the old text") << "Dog"
                                                           << "Dingo" << false << ""
                                                           << "20-30 kg" << false << "20-30 kg"
                                                           << "44 - 66 lb";
        QTest::newRow("lower case dog") << "dog"
                                        << "Labrador" << true << "25-36"
                                        << "" << true << "Canines Only"
                                        << "-";
        QTest::newRow("cat") << "Cat"
                             << "Siamese" << false << ""
                             << "20-30 kg" << true << "Canines Only"
                             << "-";
    }
    void breedWeight()
    {
        QFETCH(QString, species);
        QFETCH(QString, breed);
        QFETCH(bool, found);
        QFETCH(QString, range);
        QFETCH(QString, before);
        QFETCH(bool, changed);
        QFETCH(QString, recBreedWt);
        QFETCH(QString, recBreedWtLb);

        CaseAnalysisInput in = makeInput(makeRow(QStringLiteral("12;"), QStringLiteral("10"), QStringLiteral("14"),
                                                 QStringLiteral("Male"), species, breed));
        if (found)
            in.breedWtRange = range;
        in.recBreedWtBefore = before;
        const CaseAnalysis a = analyseCase(in);
        QVERIFY(!a.error);
        QCOMPARE(a.recBreedWtChanged, changed);
        QCOMPARE(a.RecBreedWt, recBreedWt);
        QCOMPARE(a.RecBreedWtLb, recBreedWtLb);
        // A breed missing from the table is no failure: the rest still loads.
        QCOMPARE(a.done, CaseAnalysis::Part::Target);
        QCOMPARE(a.WtData.size(), 1);
    }

    void poundRange_data()
    {
        QTest::addColumn<QString>("recBreedWt");
        QTest::addColumn<QString>("cvt");
        QTest::addColumn<QString>("label");
        QTest::newRow("kg range") << "20-30 kg"
                                  << "44 - 66"
                                  << "44 - 66 lb";
        QTest::newRow("decimals") << "2.5-4"
                                  << "5.5 - 8.8"
                                  << "5.5 - 8.8 lb";
        QTest::newRow("no second number") << "20 kg"
                                          << "44 - 0"
                                          << "44 - 0 lb";
        QTest::newRow("small") << "5-10 kg"
                               << "11 - 22"
                               << "11 - 22 lb";
        QTest::newRow("blanks around") << "  30-40 kg "
                                       << "66 - 88"
                                       << "66 - 88 lb";
        QTest::newRow("nearest breed") << "Nearest Breed"
                                       << "0 - 0"
                                       << "-";
        QTest::newRow("canines only") << "Canines Only"
                                      << "0 - 0"
                                      << "-";
        QTest::newRow("empty") << ""
                               << "0 - 0"
                               << "-";
    }
    void poundRange()
    {
        QFETCH(QString, recBreedWt);
        QFETCH(QString, cvt);
        QFETCH(QString, label);
        QCOMPARE(Analysis::CvtRangeLB(recBreedWt.trimmed()), cvt);
        QCOMPARE(Analysis::PoundRangeText(recBreedWt), label);
    }

    void weighingsTable()
    {
        const QVector<WtDataRow> rows = Analysis::WtDataRows({12.5f, 12.3f, 12.1f, 0.5f}, QDate(2026, 12, 6));
        QCOMPARE(rows.size(), 4);
        const QStringList expected[] = {{" 3", " .5", "06-Dec-26"},
                                        {" 2", " 12.1", "29-Nov-26"},
                                        {" 1", " 12.3", "22-Nov-26"},
                                        {" 0", " 12.5", "15-Nov-26"}};
        for (int r = 0; r < rows.size(); ++r)
            QCOMPARE((QStringList{rows[r].Week, rows[r].Wt, rows[r].Date}), expected[r]);
        QVERIFY(Analysis::WtDataRows({}, QDate(2026, 12, 6)).isEmpty());
    }

    void chart()
    {
        const WeightChart one = Analysis::ChartSeries({12.5f}, 10, 14, QStringLiteral("kg"));
        QCOMPARE(one.points(), 2);
        QCOMPARE(one.weights, (QVector<double>{12.5, 12.5}));
        QCOMPARE(one.lower, (QVector<double>{10, 10}));
        QCOMPARE(one.upper, (QVector<double>{14, 14}));
        QCOMPARE(one.axisTitle, QStringLiteral("kg"));

        const WeightChart three = Analysis::ChartSeries({12.5f, 12.25f, 12}, 10.5, 14, QStringLiteral("lb"));
        QCOMPARE(three.weights, (QVector<double>{12.5, 12.25, 12}));
        QCOMPARE(three.lower, (QVector<double>(3, 10.5)));
        QCOMPARE(three.upper, (QVector<double>(3, 14)));

        const WeightChart none = Analysis::ChartSeries({}, 10, 14, QStringLiteral("kg"));
        QCOMPARE(none.points(), 0);
        QVERIFY(none.lower.isEmpty() && none.upper.isEmpty());
    }

    void completeLoad()
    {
        CaseAnalysisInput in =
            makeInput(makeRow(QStringLiteral("12.50;12.;11.5;"), QStringLiteral("10"), QStringLiteral("11")));
        in.breedWtRange = QStringLiteral("8-14");
        const CaseAnalysis a = analyseCase(in);
        QVERIFY(!a.error);
        QCOMPARE(a.done, CaseAnalysis::Part::Target);
        QCOMPARE(a.LocalAcRange, QStringLiteral("From  10 to  11 kg"));
        QCOMPARE(a.RecBreedWt, QStringLiteral("8-14 kg"));
        QCOMPARE(a.RecBreedWtLb, QStringLiteral("17.6 - 30.8 lb"));
        QCOMPARE(a.NumWts, qint16(3));
        QCOMPARE(a.WtData.first().Week, QStringLiteral(" 2"));
        QCOMPARE(a.WtData.last().Date, QStringLiteral("22-Nov-26"));
        QCOMPARE(a.chart.points(), 3);
        QCOMPARE(a.target.NumWts, qint16(3));
        QCOMPARE(a.target.IdealWtVal, 10.5f);
        QCOMPARE(a.target.Congrats, QStringLiteral("Rex is over weight and above his target range. (If Adult)"));
        QCOMPARE(a.target.TimeToTargetlbl, heading("2"));
        QCOMPARE(pictureNames(a.target.pictures), (QStringList{"Clouds", "Smile"}));
    }

    void emptyHistoryFailsAfterTableAndChart()
    {
        CaseAnalysisInput in = makeInput(makeRow(QString(), QStringLiteral("10"), QStringLiteral("14")));
        in.breedWtRange = QStringLiteral("8-14");
        const CaseAnalysis a = analyseCase(in);
        QVERIFY(a.error);
        QCOMPARE(a.error->number(), ErrNo::SubscriptOutOfRange);
        QVERIFY(!a.error->description().isEmpty());
        QCOMPARE(a.done, CaseAnalysis::Part::History);
        QCOMPARE(a.LocalAcRange, QStringLiteral("From  10 to  14 kg"));
        QCOMPARE(a.RecBreedWt, QStringLiteral("8-14 kg"));
        QCOMPARE(a.NumWts, qint16(0));
        QVERIFY(a.WtData.isEmpty());
        QCOMPARE(a.chart.points(), 0);
        QCOMPARE(a.chart.axisTitle, QStringLiteral("kg"));
        QVERIFY(a.target.Congrats.isEmpty());
        QVERIFY(a.target.pictures == CasePictures());

        QVERIFY_THROWS_EXCEPTION(FwError, Analysis::Target({}, 14, 10, "Rex", "Male", "kg"));
    }

    void missingFieldsFail()
    {
        // A row reserved by a new-case entry that was never completed.
        CaseRecord reserved;
        reserved.CaseNo = QStringLiteral("12");
        reserved.NullFields = {"Surname",      "AnimalName",     "Tel No",          "Species",      "DOB",
                               "Sex",          "Breed",          "Units",           "UpperWt",      "LowerWt",
                               "CurrentWt",    "Graph Data",     "Graph Data Undo", "Last Weighed", "Last Weighed Undo",
                               "Vet Comments", "Diet Recommend", "LinkedRecNo"};
        QVERIFY(reserved.isReservedOnly());
        CaseAnalysis a = analyseCase(makeInput(reserved));
        QVERIFY(a.error);
        QCOMPARE(a.done, CaseAnalysis::Part::None);
        QCOMPARE(a.error->description(),
                 QStringLiteral("This case has no weighings or details yet (its entry was never completed)."));

        // A single empty field where a value is needed names the field.
        CaseRecord noTel = makeRow(QStringLiteral("12;"), QStringLiteral("10"), QStringLiteral("14"));
        noTel.TelNo.clear();
        noTel.NullFields.insert(QStringLiteral("Tel No"));
        a = analyseCase(makeInput(noTel));
        QVERIFY(a.error);
        QCOMPARE(a.done, CaseAnalysis::Part::None);
        QVERIFY(a.error->description().contains(QStringLiteral("Tel No")));

        // An empty telephone text that is not NULL is a value like any other.
        noTel.NullFields.clear();
        a = analyseCase(makeInput(noTel));
        QVERIFY(!a.error);
        QVERIFY(a.Details.endsWith(QStringLiteral("Contact #:  ")));

        CaseRecord noUpper = makeRow(QStringLiteral("12;"), QStringLiteral("10"), QString());
        a = analyseCase(makeInput(noUpper));
        QVERIFY(a.error);
        QVERIFY(a.error->description().contains(QStringLiteral("UpperWt")));
    }

    void recordFromDatabase()
    {
        TestEnv env;
        const int caseNo = CaseBuilder()
                               .range(10, 14.5)
                               .history(" 12.5;12.;.5;")
                               .lastWeighed(QDate(2026, 12, 6))
                               .dob(QDate(2020, 1, 15))
                               .add();
        ClinicDb::exec(env.db(), QStringLiteral("INSERT INTO Clients (CaseNo) VALUES (?)"), {caseNo + 1});

        Recordset rs;
        rs.open(env.db(), QStringLiteral("SELECT * FROM Clients WHERE CaseNo = ?"), {caseNo});
        const CaseRecord r = CaseRecord::fromRecordset(rs);
        QCOMPARE(r.CaseNo, QString::number(caseNo));
        QCOMPARE(r.AnimalName, QStringLiteral("Rex"));
        QCOMPARE(r.Species, QStringLiteral("Dog"));
        QCOMPARE(r.upper(), 14.5f);
        QCOMPARE(r.lower(), 10.0f);
        QCOMPARE(r.GraphData, QStringLiteral(" 12.5;12.;.5;"));
        QCOMPARE(r.lastWeighedDate(), QDate(2026, 12, 6));
        QCOMPARE(r.dobDate(), QDate(2020, 1, 15));
        QVERIFY(!r.isReservedOnly());
        r.checkLoadable();

        rs.open(env.db(), QStringLiteral("SELECT * FROM Clients WHERE CaseNo = ?"), {caseNo + 1});
        const CaseRecord reserved = CaseRecord::fromRecordset(rs);
        QVERIFY(reserved.isReservedOnly());
        QVERIFY(reserved.isNull(QStringLiteral("Graph Data")));
        QVERIFY(reserved.isNull(QStringLiteral("Tel No")));
        QVERIFY_THROWS_EXCEPTION(FwError, reserved.checkLoadable());
        try {
            reserved.lastWeighedDate();
            QFAIL("an empty date must fail");
        } catch (const FwError &e) {
            QCOMPARE(e.number(), ErrNo::InvalidUseOfNull);
            QVERIFY(e.description().contains(QStringLiteral("Last Weighed")));
        }
    }

    void badDateIsReported()
    {
        CaseRecord r = makeRow(QStringLiteral("12;"), QStringLiteral("10"), QStringLiteral("14"));
        r.DOB = QStringLiteral("31-Feb-2000");
        try {
            r.dobDate();
            QFAIL("no such day");
        } catch (const FwError &e) {
            QCOMPARE(e.number(), ErrNo::TypeMismatch);
            QVERIFY(e.description().contains(QStringLiteral("31-Feb-2000")));
        }
    }
};

FW_TEST(CaseAnalysisTest)
#include "tst_CaseAnalysis.moc"
