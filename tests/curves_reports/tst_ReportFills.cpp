#include "support/HandoutSamples.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "curves_reports/ReportFills.h"
#include "curves_reports/ReportVariables.h"
#include "platform/db/ClinicDb.h"
#include "platform/text/Clock.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace ReportFills;

Q_DECLARE_METATYPE(ReportFills::PracticeDetails)

namespace {

PracticeDetails practice()
{
    return {QStringLiteral("Tollmere Veterinary Surgery"),
            QStringLiteral("14 Alder Row"),
            QStringLiteral("Lindow Vale, Tollmere"),
            QStringLiteral("01632 960418"),
            QStringLiteral("01632 960419"),
            QStringLiteral("surgery@example.com")};
}

HandoutFacts rex()
{
    return sampleHandoutRex();
}

QString fill(const Fills &fills, const QString &name)
{
    for (const auto &f : fills)
        if (f.first == name)
            return f.second;
    return QStringLiteral("<not filled>");
}

// The text of a PDF; pdftotext writes a run of blanks as one, so the texts
// compared with it are passed through oneBlank().
QString pdfText(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString oneBlank(QString text)
{
    static const QRegularExpression blanks(QStringLiteral(" {2,}"));
    return text.replace(blanks, QStringLiteral(" "));
}

} // namespace

class ReportFillsTest : public QObject {
    Q_OBJECT
private slots:
    // Every text of the handout for a case with all its figures, in the
    // order of filling.
    void handoutTexts()
    {
        const Fills fills = clientHandout(rex(), practice(), Version{3, 0, 0});
        const Fills expected = {
            {"Title", "Fenwarra Report by Tollmere Veterinary Surgery"},
            {"FWVer", "Fenwarra 3.0.0"},
            {"Regarding", "Regarding Rex O'Hollings"},
            {"AnDetails", "[Dog, Labrador Retriever, Male Neutered, 6 years, 3 months, 2 weeks]"},
            {"ProTargetRange", "Yippee!"},
            {"ProTargetWt", "Oops!"},
            {"Summary", "Rex is overweight and above his target range. (If Adult)"},
            {"IdealWt", "Rex is  1.1 kg over his ideal weight of  30 kg"},
            {"AvWt", "Average weight over the past 11 weeks =  32.65 kg"},
            {"LossGainRate", "Average weight loss over past 4 weeks =  .38 kg/wk"},
            {"TimeToTarget", "Heading to target. Estimated time to ideal weight = 2.9 weeks"},
            {"TelNo", "01632 960555"},
            {"DateLastWt", "06/Dec/26"},
            {"BreedRec", "25-34 kg (55 - 74.8 lb)"},
            {"WtRange", "From  28 to  32 kg"},
            {"IdealWt2", "Rex is  1.1 kg over his ideal weight of  30 kg"},
            {"DietRec", "06/Dec/26\rWeight Control Dry: 310 g a day\rNo treats between meals"},
            {"VetComs", "Good progress.\r06-Dec-2026:\rKeep the evening walk."},
            {"Surgery", "Tollmere Veterinary Surgery"},
            {"Address", "14 Alder Row, Lindow Vale, Tollmere"},
            {"TelFaxEMail", "Tel: 01632 960418, Fax No: 01632 960419, e-mail: surgery@example.com"},
        };
        QCOMPARE(fills, expected);
        QCOMPARE(versionLine(Version{3, 1, 12}), QStringLiteral("Fenwarra 3.1.12"));
    }

    // An empty field of the practice never blanks its line: each labelled
    // part with a value is printed, and separators stand only between parts.
    void practiceWithEmptyFields_data()
    {
        QTest::addColumn<PracticeDetails>("p");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("contacts");
        QTest::addColumn<QString>("curveAddress");
        PracticeDetails p = practice();
        p.FaxNo.clear();
        QTest::newRow("no fax") << p << "14 Alder Row, Lindow Vale, Tollmere"
                                << "Tel: 01632 960418, e-mail: surgery@example.com"
                                << "14 Alder Row, Lindow Vale, Tollmere Tel: 01632 960418, e-mail: surgery@example.com";
        p = practice();
        p.TelNo.clear();
        p.EMail = QString(); // null, as a field that holds no value
        QTest::newRow("fax only") << p << "14 Alder Row, Lindow Vale, Tollmere"
                                  << "Fax No: 01632 960419"
                                  << "14 Alder Row, Lindow Vale, Tollmere Fax No: 01632 960419";
        p = practice();
        p.Address1.clear();
        QTest::newRow("no address 1") << p << "Lindow Vale, Tollmere"
                                      << "Tel: 01632 960418, Fax No: 01632 960419, e-mail: surgery@example.com"
                                      << "Lindow Vale, Tollmere Tel: 01632 960418, Fax No: 01632 960419, e-mail: "
                                         "surgery@example.com";
        p = practice();
        p.Address2 = QStringLiteral("  ");
        QTest::newRow("blank address 2") << p << "14 Alder Row"
                                         << "Tel: 01632 960418, Fax No: 01632 960419, e-mail: surgery@example.com"
                                         << "14 Alder Row Tel: 01632 960418, Fax No: 01632 960419, e-mail: "
                                            "surgery@example.com";
        QTest::newRow("nothing") << PracticeDetails{} << ""
                                 << ""
                                 << "";
    }
    void practiceWithEmptyFields()
    {
        QFETCH(PracticeDetails, p);
        QFETCH(QString, address);
        QFETCH(QString, contacts);
        QFETCH(QString, curveAddress);
        const Fills handout = clientHandout(rex(), p, Version{3, 0, 0});
        QCOMPARE(fill(handout, QStringLiteral("Address")), address);
        QCOMPARE(fill(handout, QStringLiteral("TelFaxEMail")), contacts);
        QCOMPARE(fill(growthCurve(GrowthCurveFacts{}, p), QStringLiteral("Address")), curveAddress);
    }

    // Empty case figures drop their separators; a practice without a name
    // still gets a title.
    void caseWithEmptyFields()
    {
        HandoutFacts f = rex();
        f.Breed.clear();
        f.Surname.clear();
        f.BreedRecWtLb.clear();
        PracticeDetails p = practice();
        p.Surgery.clear();
        Fills fills = clientHandout(f, p, Version{3, 0, 0});
        QCOMPARE(fill(fills, QStringLiteral("Regarding")), QStringLiteral("Regarding Rex"));
        QCOMPARE(fill(fills, QStringLiteral("AnDetails")),
                 QStringLiteral("[Dog, Male Neutered, 6 years, 3 months, 2 weeks]"));
        QCOMPARE(fill(fills, QStringLiteral("BreedRec")), QStringLiteral("25-34 kg"));
        QCOMPARE(fill(fills, QStringLiteral("Title")), QStringLiteral("Fenwarra Report"));
        QCOMPARE(fill(growthCurve(GrowthCurveFacts{}, p), QStringLiteral("Title")),
                 QStringLiteral("Fenwarra Puppy Growth Curve"));

        f.BreedRecWt = QStringLiteral("Nearest Breed");
        f.BreedRecWtLb = QStringLiteral("-");
        fills = clientHandout(f, p, Version{3, 0, 0});
        QCOMPARE(fill(fills, QStringLiteral("BreedRec")), QStringLiteral("Nearest Breed (-)"));
        QCOMPARE(fill(clientHandout(HandoutFacts{}, p, Version{}), QStringLiteral("AnDetails")), QString());
    }

    // The award words of the face codes; any other code keeps the design
    // text of the report.
    void awardCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("progress");
        QTest::addColumn<QString>("target");
        QTest::newRow("J") << "J"
                           << "Yippee!"
                           << "Yippee!";
        QTest::newRow("K") << "K"
                           << "So-So"
                           << "So-So";
        QTest::newRow("L") << "L"
                           << "Oops!"
                           << "Oops!";
        QTest::newRow("lower case") << "j"
                                    << "K"
                                    << "L";
        QTest::newRow("empty") << ""
                               << "K"
                               << "L";
    }
    void awardCodes()
    {
        QFETCH(QString, code);
        QFETCH(QString, progress);
        QFETCH(QString, target);
        HandoutFacts f = rex();
        f.Progress = code;
        f.Target = code;
        const Report::ReportDocument report = buildClientHandout(f, practice(), QImage(), Version{3, 0, 0});
        QCOMPARE(report.text(QStringLiteral("ProTargetRange")), progress);
        QCOMPARE(report.text(QStringLiteral("ProTargetWt")), target);
    }

    void growthCurveTexts()
    {
        const GrowthCurveFacts pup{false, QStringLiteral("Bramble"), 12, 2.5f, QStringLiteral("kg")};
        const Fills expected = {
            {"Title", "Fenwarra Puppy Growth Curve by Tollmere Veterinary Surgery"},
            {"Comments",
             "The location of the spike indicates Bramble's current weight for age, relative to the general "
             "dog population."},
            {"Regarding", "Regarding: Bramble"},
            {"AnDetails", "Weight and Age at last weighing: 12 weeks old, Weight =  2.5 kg"},
            {"Surgery", "Tollmere Veterinary Surgery"},
            {"Address", "14 Alder Row, Lindow Vale, Tollmere Tel: 01632 960418, Fax No: 01632 960419, e-mail: "
                        "surgery@example.com"},
        };
        QCOMPARE(growthCurve(pup, practice()), expected);

        const GrowthCurveFacts kit{true, QStringLiteral("Pip"), 0, 0.75f, QStringLiteral("lb")};
        const Fills kitten = growthCurve(kit, practice());
        QCOMPARE(fill(kitten, QStringLiteral("Title")),
                 QStringLiteral("Fenwarra Kitten Growth Curve by Tollmere Veterinary Surgery"));
        QCOMPARE(fill(kitten, QStringLiteral("Comments")),
                 QStringLiteral("The location of the spike indicates Pip's current weight for age, relative to the "
                                "general cat population."));
        QCOMPARE(fill(kitten, QStringLiteral("AnDetails")),
                 QStringLiteral("Weight and Age at last weighing: 0 weeks old, Weight =  .75 lb"));

        // The curves keep their comment heading and print no version line.
        for (bool isKitten : {false, true}) {
            const Report::ReportDocument report =
                buildGrowthCurve(isKitten ? kit : pup, practice(), QImage(20, 20, QImage::Format_RGB32));
            QCOMPARE(report.name(), isKitten ? kKittenCurve : kPuppyCurve);
            QCOMPARE(report.text(QStringLiteral("CommentTitle")), QStringLiteral("Comments"));
            QCOMPARE(report.text(QStringLiteral("FWVer")), QString());
            QVERIFY(!report.picture(QStringLiteral("TheGraph")).isNull());
            QVERIFY(!report.picture(QStringLiteral("Picture2")).isNull());
        }
    }

    // The shipped handout carries the system's design texts on its labels.
    void handoutDesignTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const char *rows[][2] = {{"Text31", "Analysis "},
                                 {"Text32", "Recommendations"},
                                 {"Text1", "Summary:"},
                                 {"Text2", "Ideal Weight:"},
                                 {"Text3", "Average Weight:"},
                                 {"Text4", "Loss / Gain Rate:"},
                                 {"Text5", "Time To Target:"},
                                 {"Text6", "Awards: Progress to Target:"},
                                 {"ProTargetRange", "K"},
                                 {"Text8", " Target Range:"},
                                 {"ProTargetWt", "L"},
                                 {"Text10", "Client contact #:"},
                                 {"Text12", "Date Last Weighed:"},
                                 {"Text13", "Breed Recommendations:"},
                                 {"Text14", "Acceptable Weight Range:"},
                                 {"Text15", "Ideal Weight:"},
                                 {"Text16", "Diet Recommended"},
                                 {"Text17", "Veterinarian's Comments"},
                                 {"Text33", "Hand Written Comments By Your Vet"},
                                 {"Text30", "Prepared By:"},
                                 {"Title", "Title"},
                                 {"Surgery", "aa"}};
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
    }
    void handoutDesignTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QCOMPARE(loadReport(kClientHandout).text(name), text);
    }

    // The handout of a case as a PDF: every filled text is there, the
    // recommendation and the comments keep their lines, and it fits one page.
    void handoutPdf()
    {
        TestEnv env(false);
        Clock::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        QImage chart(636, 329, QImage::Format_RGB32);
        chart.fill(Qt::white);
        PracticeDetails p = practice();
        p.FaxNo.clear();
        const Report::ReportDocument report = buildClientHandout(rex(), p, chart);
        QTemporaryDir dir;
        for (const QPageSize &size : {QPageSize(QPageSize::A4), QPageSize(QPageSize::Letter)}) {
            QCOMPARE(report.pageCount(report.pageLayout(size)), 1);
            const QString pdf = dir.filePath(size.key() + QStringLiteral(".pdf"));
            QString error;
            QVERIFY2(report.exportPdf(pdf, size, &error), qPrintable(error));
            const QString text = pdfText(pdf);
            for (const char *s : {"Fenwarra Report by Tollmere Veterinary Surgery", "Regarding Rex O'Hollings",
                                  "Yippee!", "Oops!", "Rex is  1.1 kg over his ideal weight of  30 kg",
                                  "25-34 kg (55 - 74.8 lb)", "06/Dec/26\nWeight Control Dry: 310 g a day\nNo treats",
                                  "Good progress.\n06-Dec-2026:\nKeep the evening walk.",
                                  "Tel: 01632 960418, e-mail: surgery@example.com", "06 Dec 2026", "Page 1 of 1"})
                QVERIFY2(text.contains(oneBlank(QString::fromUtf8(s))), s);
        }
    }

    // A handout whose chart could not be taken still prints, with an empty frame.
    void handoutWithoutChart()
    {
        const Report::ReportDocument report = buildClientHandout(rex(), practice(), QImage());
        QTemporaryDir dir;
        QVERIFY(report.exportPdf(dir.filePath(QStringLiteral("h.pdf"))));
        QVERIFY(pdfText(dir.filePath(QStringLiteral("h.pdf"))).contains(QStringLiteral("Regarding Rex")));
    }
};

class ReportVariablesTest : public QObject {
    Q_OBJECT
private slots:
    void writeStoresEveryField()
    {
        TestEnv env;
        HandoutFacts f = rex();
        f.Breed = QString(); // a null text is stored as an empty one
        ReportVariables::write(env.db(), f);
        const HandoutFacts back = ReportVariables::read(env.db());
        QCOMPARE(back.Surname, QStringLiteral("O'Hollings"));
        QCOMPARE(back.DietRec, f.DietRec);
        QCOMPARE(back.VetCom, f.VetCom);
        QCOMPARE(back.Breed, QString(""));
        QCOMPARE(back.Progress, QStringLiteral("J"));
        QCOMPARE(back.WtRange, f.WtRange);
        QCOMPARE(ClinicDb::scalar(env.db(), QStringLiteral("SELECT COUNT(*) FROM [Report Variables]")).toInt(), 1);
    }

    // The row is the record of the last handout: another workstation's
    // handout written in between is overwritten without a conflict, and the
    // same figures written twice are no conflict either.
    void anotherWorkstationIsNoConflict()
    {
        TestEnv env;
        ReportVariables::write(env.db(), rex());
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(env.dbfPath() + ClinicDb::kFileName);
            QVERIFY(other.open());
            HandoutFacts theirs = rex();
            theirs.AnName = QStringLiteral("Tess");
            ReportVariables::write(other, theirs);
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        ReportVariables::write(env.db(), rex());
        ReportVariables::write(env.db(), rex());
        QCOMPARE(ReportVariables::read(env.db()).AnName, QStringLiteral("Rex"));
    }

    void missingRowIsPutBack()
    {
        TestEnv env;
        ClinicDb::exec(env.db(), QStringLiteral("DELETE FROM [Report Variables]"));
        ReportVariables::write(env.db(), rex());
        QCOMPARE(ClinicDb::scalar(env.db(), QStringLiteral("SELECT COUNT(*) FROM [Report Variables]")).toInt(), 1);
        QCOMPARE(ReportVariables::read(env.db()).AnName, QStringLiteral("Rex"));
    }

    void practiceRow()
    {
        TestEnv env;
        const PracticeDetails p = ReportVariables::readPractice(env.db());
        QCOMPARE(p.Surgery, QStringLiteral("Tollmere Veterinary Surgery"));
        QCOMPARE(p.TelNo, QStringLiteral("01632 960418"));
        QCOMPARE(p.EMail, QStringLiteral("surgery@example.com"));
        ClinicDb::exec(env.db(), QStringLiteral("DELETE FROM [Personal]"));
        QCOMPARE(ReportVariables::readPractice(env.db()).Surgery, QString());
    }
};

FW_TEST(ReportFillsTest)
FW_TEST(ReportVariablesTest)
#include "tst_ReportFills.moc"
