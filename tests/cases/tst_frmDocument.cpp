// The case window: what a load shows (grid, chart, texts, pictures, faces),
// failures of the load, the layout and the two zoom toggles, the chart's
// read-out, the date stamp, the hand-over refusals, and that typed comments
// reach the row and are never overwritten silently.
#include "cases/CaseHost.h"
#include "cases/CaseOpening.h"
#include "cases/frmDocument.h"
#include "platform/FwError.h"
#include "platform/chart/Chart.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "support/CaseBuilder.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using Prompt::Icon;

namespace {

const QString kTitle = QStringLiteral("Message from the Fenwarra");

// A history of n weekly entries from first, changing by step each week.
QString history(int n, double first, double step)
{
    QString h;
    for (int i = 0; i < n; ++i)
        h += QString::number(first + i * step) + QLatin1Char(';');
    return h;
}

struct World {
    TestEnv env;
    ScriptedPrompt prompt;

    World() { Clock::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0))); }
    ~World()
    {
        // Windows let go of the database before it is removed.
        for (QWidget *top : QApplication::topLevelWidgets())
            if (qobject_cast<frmDocument *>(top))
                top->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Rex Smith's Labrador as case 12: 20 weeks from 38 down by 0.25 a week.
    /// Another owner's cat, for the tests of two cases open at once.
    static CaseBuilder tiddles()
    {
        return CaseBuilder()
            .surname("Jones")
            .animal("Tiddles")
            .species("Cat")
            .history("4.8;4.7;")
            .lastWeighed(QDate(2026, 11, 20));
    }
    static CaseBuilder rex()
    {
        return CaseBuilder()
            .caseNo(12)
            .breed("Labrador Retriever")
            .range(28, 32)
            .history(history(20, 38, -0.25))
            .lastWeighed(QDate(2026, 12, 1))
            .dob(QDate(2024, 6, 1));
    }

    // The case as the locator opens it.
    frmDocument *open(int caseNo, const QString &animal, const QString &surname)
    {
        return OpenCaseInDocument(OpenVariant::LocatorOrReminder, CaseRef{QString::number(caseNo), surname, animal});
    }

    QVariant field(int caseNo, const QString &name)
    {
        return ClinicDb::scalar(env.db(), QStringLiteral("SELECT [%1] FROM [Clients] WHERE [CaseNo] = ?").arg(name),
                                {caseNo});
    }
};

QStringList visiblePictures(frmDocument *doc)
{
    QStringList names;
    for (QLabel *p : {control<QLabel>(doc, "Baloons"), control<QLabel>(doc, "Clouds"), control<QLabel>(doc, "Smile"),
                      control<QLabel>(doc, "Bland"), control<QLabel>(doc, "Frown")})
        if (!p->isHidden())
            names << p->objectName();
    return names;
}

void focusOut(QWidget *w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &out);
}

} // namespace

class frmDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void loadFillsGridChartAndMirrors()
    {
        World w;
        const int no = w.rex().add();
        QPointer<frmDocument> doc = w.open(no, "Rex", "Smith");
        QVERIFY(doc);
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(doc->windowTitle(), QStringLiteral("Case# 12, Rex Smith"));

        // The table: heading row, then the weighings newest first.
        QCOMPARE(doc->WtDataRows(), 21);
        QCOMPARE(doc->WtDataText(0, 1), QStringLiteral("Wt     "));
        const QStringList newest{doc->WtDataText(1, 0), doc->WtDataText(1, 1), doc->WtDataText(1, 2)};
        QCOMPARE(newest, (QStringList{" 19", " 33.25", "01-Dec-26"}));
        QCOMPARE(doc->WtDataText(2, 2), QStringLiteral("24-Nov-26"));
        QCOMPARE(doc->WtDataText(20, 1), QStringLiteral(" 38"));
        QCOMPARE(control<QTableView>(doc, "WtData")->model()->index(0, 2).data().toString(),
                 QStringLiteral("01-Dec-26"));

        // The chart: weights oldest first, the bounds at every point.
        QCOMPARE(control<Chart>(doc, "Graph1")->NumPoints(), 20);
        for (int p = 1; p <= 20; ++p) {
            QCOMPARE(control<Chart>(doc, "Graph1")->value(1, p), 38 - (p - 1) * 0.25);
            QCOMPARE(control<Chart>(doc, "Graph1")->value(2, p), 28.0);
            QCOMPARE(control<Chart>(doc, "Graph1")->value(3, p), 32.0);
        }

        // Mirror boxes, breed weight and the current case.
        QCOMPARE(control<QLineEdit>(doc, "LocalAcRange")->text(), QStringLiteral("From  28 to  32 kg"));
        QCOMPARE(control<QLineEdit>(doc, "LocalCurrWt")->text(), QStringLiteral("33.25"));
        QCOMPARE(control<QLineEdit>(doc, "WeeksOldLastWeighed")->text(), QStringLiteral(" 130"));
        QCOMPARE(App().CurrWeight, 33.25f);
        QCOMPARE(doc->IdealWtVal(), 30.0f);
        QVERIFY(control<QLabel>(doc, "Details")
                    ->text()
                    .endsWith(QStringLiteral("\r\nSex =Male\r\nContact #: 01632 960123 ")));
        QCOMPARE(control<QLabel>(doc, "RecBreedWt")->text() + " / " + control<QLabel>(doc, "RecBreedWtLb")->text(),
                 QStringLiteral("25-36 kg / 55 - 79.2 lb"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void analysisShownInTheWindow_data()
    {
        QTest::addColumn<QString>("sex");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<QString>("graphData");
        QTest::addColumn<QStringList>("texts"); // Congrats, IdealWtLbl, AvWtLbl, LossRate, TimeToTargetlbl
        QTest::addColumn<QStringList>("pictures");
        QTest::addColumn<QString>("faces");

        QTest::newRow("above the range and losing")
            << "Male" << 28.0 << 32.0 << history(20, 38, -0.25)
            << QStringList{"Bess is over weight and above his target range. (If Adult)",
                           "Bess is  3.25 kg over his ideal weight of  30 kg",
                           "Average weight over the past 12 weeks =  34.63 kg",
                           "Average weight loss over past 4 weeks =  .25 kg/wk",
                           "Heading to target. Estimated time to ideal weight = 13 weeks"}
            << QStringList{"Clouds", "Smile"} << "LJ";
        QTest::newRow("lower half and gaining, female")
            << "Female Neutered" << 4.0 << 5.0 << "4.2;4.3;4.4;"
            << QStringList{"Congratulations, Bess is within her target weight range! (If Adult)",
                           "Bess is  .1 kg under her ideal weight of  4.5 kg",
                           "Average weight over the past  2 weeks =  4.3 kg",
                           "Average weight gain over past  2 weeks =  .1 kg/wk",
                           "Heading to target. Estimated time to ideal weight = 1 weeks"}
            << QStringList{"Baloons", "Smile"} << "JJ";
        QTest::newRow("one weighing below the range")
            << "Male" << 4.0 << 5.0 << "3.50;"
            << QStringList{"Bess is underweight. (If Adult)", "Bess is  1 kg under his ideal weight of  4.5 kg",
                           "Average weight = current weight of  3.5 kg",
                           "Cannot calculate a rate change with 1 data point.",
                           "Bess is below the target range of  4 -  5 kg"}
            << QStringList{"Clouds", "Bland"} << "LK";
    }

    void analysisShownInTheWindow()
    {
        QFETCH(QString, sex);
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(QString, graphData);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, pictures);
        QFETCH(QString, faces);

        World w;
        const int no = CaseBuilder()
                           .surname("Jones")
                           .animal("Bess")
                           .species("Cat")
                           .sex(sex)
                           .range(lower, upper)
                           .history(graphData)
                           .add();
        QPointer<frmDocument> doc = w.open(no, "Bess", "Jones");
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE((QStringList{control<QLabel>(doc, "Congrats")->text(), control<QLabel>(doc, "IdealWtLbl")->text(),
                              control<QLabel>(doc, "AvWtLbl")->text(), control<QLabel>(doc, "LossRate")->text(),
                              control<QLabel>(doc, "TimeToTargetlbl")->text()}),
                 texts);
        QCOMPARE(visiblePictures(doc), pictures);
        QCOMPARE(control<QLineEdit>(doc, "LocalTarget")->text() + control<QLineEdit>(doc, "LocalProgress")->text(),
                 faces);
        // One weighing gives two equal points per series.
        QCOMPARE(control<Chart>(doc, "Graph1")->NumPoints(), std::max(2, int(doc->NumWts())));
        // A reload shows the same two pictures again, not four.
        doc->Command1_Click();
        QCOMPARE(visiblePictures(doc), pictures);
    }

    void breedLabel_data()
    {
        QTest::addColumn<QString>("breed");
        QTest::addColumn<QString>("recBreedWt");
        QTest::addColumn<QString>("pounds");
        QTest::newRow("cross breed") << "Cross Breed"
                                     << "Nearest Breed"
                                     << "-";
        QTest::newRow("not listed: the label keeps its text") << "Moon Hound"
                                                              << ""
                                                              << "-";
    }

    void breedLabel()
    {
        QFETCH(QString, breed);
        QFETCH(QString, recBreedWt);
        QFETCH(QString, pounds);
        World w;
        QPointer<frmDocument> doc = w.open(w.rex().history(history(3, 30, 0)).breed(breed).add(), "Rex", "Smith");
        QCOMPARE(control<QLabel>(doc, "RecBreedWt")->text(), recBreedWt);
        QCOMPARE(control<QLabel>(doc, "RecBreedWtLb")->text(), pounds);
        QVERIFY(!control<QLabel>(doc, "Congrats")->text().isEmpty()); // the analysis goes on

        // The pound label follows the kg label when it is clicked.
        control<QLabel>(doc, "RecBreedWt")->setText(QStringLiteral("20 kg"));
        QTest::mouseClick(control<QLabel>(doc, "RecBreedWtLb"), Qt::LeftButton);
        QCOMPARE(control<QLabel>(doc, "RecBreedWtLb")->text(), QStringLiteral("44 - 0 lb"));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void loadFailures()
    {
        World w;
        // A row reserved by a new-case entry that was never completed.
        ClinicDb::exec(w.env.db(), QStringLiteral("INSERT INTO [Clients] ([CaseNo]) VALUES (7)"));
        QPointer<frmDocument> doc = w.open(7, QString(), QString());
        QVERIFY(doc);
        QCOMPARE(w.prompt.texts(),
                 QStringList{"This case has no weighings or details yet (its entry was never completed)."});
        QCOMPARE(w.prompt.last().icon, Icon::Critical);
        QCOMPARE(w.prompt.last().title, kTitle);
        QVERIFY(visiblePictures(doc).isEmpty());

        // An empty history: the details are shown, the grid has its heading
        // only, the chart no points, and no result is written.
        w.prompt.clear();
        const int no = CaseBuilder().surname("Jones").animal("Bess").species("Cat").history("").add();
        doc = w.open(no, "Bess", "Jones");
        QCOMPARE(w.prompt.texts(), QStringList{"This case has no weighings yet: its weight history is empty."});
        QVERIFY(control<QLabel>(doc, "Details")->text().startsWith(QStringLiteral("Bess Jones, Cat")));
        QCOMPARE(doc->WtDataRows(), 1);
        QCOMPARE(control<Chart>(doc, "Graph1")->NumPoints(), 0);
        QCOMPARE(control<QLabel>(doc, "Congrats")->text() + control<QLineEdit>(doc, "LocalCurrWt")->text(), QString());
        QCOMPARE(QApplication::overrideCursor(), nullptr); // the hourglass went away
    }

    void layoutAndZoom()
    {
        World w;
        QPointer<frmDocument> doc = w.open(w.rex().add(), "Rex", "Smith");
        doc->resize(1200, 810);
        QApplication::processEvents();
        // The chart takes all the room the right column and the buttons leave:
        // the column ends at the window's right edge, the buttons near its bottom.
        const QSize normal = control<Chart>(doc, "Graph1")->size();
        const int X = control<QTableView>(doc, "WtData")->x();
        QCOMPARE(X, control<Chart>(doc, "Graph1")->geometry().right() + 1 + qRound(70 / 15.0));
        QVERIFY(1200 - (X + control<QTableView>(doc, "WtData")->width()) <= 10);
        QVERIFY(810 - (control<QPushButton>(doc, "NextWt")->geometry().bottom() + 1) <= 10);
        for (QWidget *c : {static_cast<QWidget *>(control<QTableView>(doc, "WtData")),
                           static_cast<QWidget *>(control<QLabel>(doc, "Label5")),
                           static_cast<QWidget *>(control<QPlainTextEdit>(doc, "DietRecMe")),
                           static_cast<QWidget *>(control<QPlainTextEdit>(doc, "VetComBox"))})
            QCOMPARE(c->x(), X);
        QCOMPARE(control<QLabel>(doc, "Label1")->x(), X + control<QPushButton>(doc, "DateIt")->width());
        QCOMPARE(control<QLabel>(doc, "RecBreedWtLb")->x(), X + control<QLabel>(doc, "RecBreedWt")->width());
        // The table of weighings takes the column's extra height: the comments
        // box ends with the chart.
        QCOMPARE(control<QPlainTextEdit>(doc, "VetComBox")->geometry().bottom(),
                 control<Chart>(doc, "Graph1")->geometry().bottom());
        QVERIFY(control<QTableView>(doc, "WtData")->height() > qRound(2720 / 15.0));

        // A larger window gives the chart and the table all the extra room.
        const QSize table = control<QTableView>(doc, "WtData")->size();
        doc->resize(1500, 1000);
        QApplication::processEvents();
        QCOMPARE(control<Chart>(doc, "Graph1")->size(), normal + QSize(300, 190));
        QCOMPARE(control<QTableView>(doc, "WtData")->size(), table + QSize(0, 190));
        doc->resize(1200, 810);
        QApplication::processEvents();

        // Zoom: full outer width, then a resize restores the normal size but
        // not the caption, and the next press gives the normal size again.
        doc->Zoom_Click();
        QCOMPARE(control<Chart>(doc, "Graph1")->size(), QSize(doc->frameGeometry().width(), normal.height()));
        QCOMPARE(control<QPushButton>(doc, "Zoom")->text(), QStringLiteral("&Zoom Out"));
        QVERIFY(control<QPushButton>(doc, "DateIt")->isHidden());
        doc->resize(1180, 810);
        QApplication::processEvents();
        QCOMPARE(control<QPushButton>(doc, "Zoom")->text(), QStringLiteral("&Zoom Out"));
        QVERIFY(control<Chart>(doc, "Graph1")->width() < 1180);
        doc->Zoom_Click();
        QCOMPARE(control<Chart>(doc, "Graph1")->width(), 1180 - (1200 - normal.width()));
        QCOMPARE(control<QPushButton>(doc, "Zoom")->text(), QStringLiteral("&Zoom In"));
        QVERIFY(!control<QPushButton>(doc, "DateIt")->isHidden());

        // Print size: fixed; pressed twice it leaves the layout's size.
        const QSize layout = QSize(1180 - (1200 - normal.width()), normal.height());
        doc->PrintZoom_Click();
        QCOMPARE(control<Chart>(doc, "Graph1")->size(), QSize(636, 329));
        QCOMPARE(control<QPushButton>(doc, "PrintZoom")->text(), QStringLiteral("&PrintZoom Out"));
        QVERIFY(control<QPushButton>(doc, "DateIt")->isHidden());
        doc->PrintZoom_Click();
        QCOMPARE(control<Chart>(doc, "Graph1")->size(), layout);
        QCOMPARE(control<QPushButton>(doc, "PrintZoom")->text(), QStringLiteral("&PrintZoom In"));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void chartReadOutAndSetUp()
    {
        World w;
        QPointer<frmDocument> doc = w.open(w.rex().add(), "Rex", "Smith");
        QVERIFY(QTest::qWaitForWindowExposed(doc));
        // A real click on the newest weight; the bounds have no read-out.
        QTest::mouseClick(control<Chart>(doc, "Graph1")->viewport(), Qt::LeftButton, {},
                          control<Chart>(doc, "Graph1")->pointPosition(1, 20));
        doc->Graph1_PointClick(2, 5);
        doc->Graph1_PointClick(3, 5);
        QCOMPARE(w.prompt.texts(), QStringList{"33.25 kg"});
        QCOMPARE(w.prompt.last().title, QStringLiteral("Weight at this point ="));
        QCOMPARE(w.prompt.last().icon, Icon::Information);

        // Only the explicit notification clears the chart, never a repaint.
        doc->resize(doc->width() + 10, doc->height() + 10);
        doc->repaint();
        QApplication::processEvents();
        QCOMPARE(control<Chart>(doc, "Graph1")->NumPoints(), 20);
        QCOMPARE(control<Chart>(doc, "Graph1")->legendText(3), QStringLiteral("Upper"));
        control<Chart>(doc, "Graph1")->sendNotification();
        QCOMPARE(control<Chart>(doc, "Graph1")->NumPoints(), 0);

        // The options decide legend, symbols and background when a window opens.
        App().LegendCheck = "0";
        App().SymbolCheck = "0";
        App().BackColour = "14";
        frmDocument plain;
        QCOMPARE(control<Chart>(&plain, "Graph1")->legendText(1), QString());
        QCOMPARE(control<Chart>(&plain, "Graph1")->GraphStyle(), int(Chart::LinesOnly));
        QCOMPARE(control<Chart>(&plain, "Graph1")->Background(), 14);
    }

    void dateStamp()
    {
        World w;
        const int no = w.rex().add();
        QPointer<frmDocument> doc = w.open(no, "Rex", "Smith");
        QTest::mouseClick(control<QPushButton>(doc, "DateIt"), Qt::LeftButton);
        QCOMPARE(doc->VetComBoxText(), QStringLiteral("None\r\n06-Dec-2026:\r\n"));
        // The stamp reaches the row with the typed text.
        QVERIFY(doc->saveTypedText());
        QCOMPARE(w.field(no, "Vet Comments").toString().remove('\r'), QStringLiteral("None\n06-Dec-2026:\n"));
    }

    void typedTextReachesTheRow()
    {
        World w;
        const int no = w.rex().add();
        QPointer<frmDocument> doc = w.open(no, "Rex", "Smith");

        control<QPlainTextEdit>(doc, "VetComBox")->setPlainText(QStringLiteral("Lost 1 kg"));
        focusOut(control<QPlainTextEdit>(doc, "VetComBox")); // leaving the box
        QCOMPARE(w.field(no, "Vet Comments").toString(), QStringLiteral("Lost 1 kg"));

        control<QPlainTextEdit>(doc, "DietRecMe")->setPlainText(QStringLiteral("Light diet"));
        doc->Command1_Click(); // a reload, as after a weighing
        QCOMPARE(w.field(no, "Diet Recommend").toString(), QStringLiteral("Light diet"));
        QCOMPARE(control<QPlainTextEdit>(doc, "DietRecMe")->toPlainText(), QStringLiteral("Light diet"));

        control<QPlainTextEdit>(doc, "VetComBox")->setPlainText(QStringLiteral("Closing"));
        doc->close();
        QCOMPARE(w.field(no, "Vet Comments").toString(), QStringLiteral("Closing"));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void aRecommendationHandedBackIsSaved()
    {
        World w;
        const int no = w.rex().add();
        QPointer<frmDocument> doc = w.open(no, "Rex", "Smith");
        control<QPlainTextEdit>(doc, "DietRecMe")->setPlainText(QStringLiteral("typed before"));
        doc->receiveDietRecommendation(QStringLiteral("06/Dec/26: \r\n Either"));
        // The whole earlier text is replaced, and stored at once.
        QCOMPARE(control<QPlainTextEdit>(doc, "DietRecMe")->toPlainText(), QStringLiteral("06/Dec/26: \n Either"));
        QCOMPARE(w.field(no, "Diet Recommend").toString().remove('\r'), QStringLiteral("06/Dec/26: \n Either"));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void commentsTypedInTwoWindowsAreNeverLost_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("kept");
        QTest::newRow("mine") << 0 << "From the vet";
        QTest::newRow("the stored text") << 1 << "From reception";
        QTest::newRow("both") << 2 << "From reception\nFrom the vet";
    }
    void commentsTypedInTwoWindowsAreNeverLost()
    {
        QFETCH(int, button);
        QFETCH(QString, kept);
        World w;
        const int no = w.rex().add();
        QPointer<frmDocument> reception = w.open(no, "Rex", "Smith");
        QPointer<frmDocument> vet = w.open(no, "Rex", "Smith");
        auto *receptionBox = control<QPlainTextEdit>(reception, "VetComBox");
        auto *vetBox = control<QPlainTextEdit>(vet, "VetComBox");

        // Both type; the reception's text is stored first.
        receptionBox->setPlainText(QStringLiteral("From reception"));
        vetBox->setPlainText(QStringLiteral("From the vet"));
        focusOut(receptionBox);
        QCOMPARE(w.field(no, "Vet Comments").toString(), QStringLiteral("From reception"));
        // Leaving the vet's box shows both texts and lets the user choose.
        w.prompt.pick(button);
        focusOut(vetBox);
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(w.prompt.texts(),
                 QStringList{"While you were typing here (Case# 12, Rex Smith), another window or another "
                             "workstation changed the comments of this case. Keep your text, the text now stored, "
                             "or both (the stored text first, yours after it)?"});
        QCOMPARE(w.prompt.last().details, QStringLiteral("Now stored:\nFrom reception\n\nTyped here:\nFrom the vet"));
        QCOMPARE(w.prompt.last().choices, (QStringList{"Keep &mine", "Keep the &stored text", "Keep &both"}));
        QCOMPARE(w.field(no, "Vet Comments").toString(), kept);
        QCOMPARE(vetBox->toPlainText(), kept);
        // Leaving the box again asks nothing more.
        focusOut(vetBox);
        QCOMPARE(w.prompt.count(), 1);
    }

    void typedTextForADeletedCaseIsReported()
    {
        World w;
        const int no = w.rex().add();
        QPointer<frmDocument> doc = w.open(no, "Rex", "Smith");
        ClinicDb::exec(w.env.db(), "DELETE FROM [Clients] WHERE [CaseNo] = ?", {no});
        control<QPlainTextEdit>(doc, "VetComBox")->setPlainText(QStringLiteral("Still typing"));
        doc->close();
        QCOMPARE(w.prompt.texts(), QStringList{FwError::standardDescription(ErrNo::RowDeleted)});
    }

    void aWeighingAfterACommentConflictIsStoredAndShown()
    {
        World w;
        const int no = w.rex().add();
        QPointer<frmDocument> doc = w.open(no, "Rex", "Smith");
        const int weeks = doc->NumWts();

        // The comments are changed in another window; here the user types a
        // comment and then enters the next weight, 14 days after the last.
        ClinicDb::exec(w.env.db(), "UPDATE [Clients] SET [Vet Comments] = 'Owner: eating well' WHERE [CaseNo] = ?",
                       {no});
        Clock::setNow(QDateTime(QDate(2026, 12, 15), QTime(10, 0)));
        control<QPlainTextEdit>(doc, "VetComBox")->setPlainText(QStringLiteral("Nurse: kitten food"));
        w.prompt.type(QStringLiteral("33")).pick(0);
        doc->NextWt_Click();

        QCOMPARE(w.prompt.count(), 2); // the weight asked for, the comments conflict settled
        QVERIFY(w.prompt.texts().at(1).startsWith("While you were typing here"));
        QCOMPARE(int(doc->NumWts()), weeks + 2); // stored and shown
        QCOMPARE(w.field(no, "CurrentWt").toDouble(), 33.0);
        QCOMPARE(w.field(no, "Vet Comments").toString(), QStringLiteral("Nurse: kitten food"));
        QCOMPARE(control<QPlainTextEdit>(doc, "VetComBox")->toPlainText(), QStringLiteral("Nurse: kitten food"));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void typedTextThatCannotBeSavedIsNeverDroppedSilently()
    {
        World w;
        const int no = w.rex().add();
        QPointer<frmDocument> doc = w.open(no, "Rex", "Smith");
        // The comments cannot be written (a disk or lock failure, say).
        ClinicDb::exec(w.env.db(), "CREATE TEMP TRIGGER no_comments BEFORE UPDATE OF [Vet Comments] ON [Clients] "
                                   "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END");
        control<QPlainTextEdit>(doc, "VetComBox")->setPlainText(QStringLiteral("Check teeth"));

        // A weighing still goes through; its reload keeps the typed text.
        Clock::setNow(QDateTime(QDate(2026, 12, 15), QTime(10, 0)));
        w.prompt.type(QStringLiteral("33"));
        doc->NextWt_Click();
        QCOMPARE(w.field(no, "CurrentWt").toDouble(), 33.0);
        QCOMPARE(control<QPlainTextEdit>(doc, "VetComBox")->toPlainText(), QStringLiteral("Check teeth"));
        QVERIFY(w.prompt.texts().last().contains(QStringLiteral("disk trouble")));

        // Closing asks before the text is lost; No keeps the window.
        w.prompt.clear();
        w.prompt.answer(Prompt::Answer::OK).answer(Prompt::Answer::No); // the failure, then the question
        QVERIFY(!doc->close());
        QVERIFY(doc);
        QCOMPARE(w.prompt.texts().last(), QStringLiteral("The comments and diet recommendation typed in this window "
                                                         "could not be saved. Close the window and lose them?"));
        FW_VERIFY_PROMPTS(w.prompt);

        // Once the failure is gone, closing saves the text.
        ClinicDb::exec(w.env.db(), "DROP TRIGGER no_comments");
        w.prompt.clear();
        QVERIFY(doc->close());
        QCOMPARE(w.field(no, "Vet Comments").toString(), QStringLiteral("Check teeth"));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void twoWindowsOnOneCaseAgree()
    {
        World w;
        const int rex = w.rex().add();
        const int tib = w.tiddles().add();
        QPointer<frmDocument> first = w.open(rex, "Rex", "Smith");
        QPointer<frmDocument> second = w.open(rex, "Rex", "Smith");
        QPointer<frmDocument> tiddles = w.open(tib, "Tiddles", "Jones"); // the current case
        // Typed in both windows, not yet stored.
        control<QPlainTextEdit>(first, "VetComBox")->setPlainText(QStringLiteral("Typed in the first"));
        control<QPlainTextEdit>(second, "VetComBox")->setPlainText(QStringLiteral("Typed in the second"));

        // A weighing in the first window (which stores its comments first)
        // shows in the second.
        Clock::setNow(QDateTime(QDate(2026, 12, 15), QTime(10, 0)));
        w.prompt.type(QStringLiteral("33")).pick(2);
        first->NextWt_Click();
        tiddles->makeCurrent(); // the user turns to the other case's window
        QTRY_COMPARE(int(second->NumWts()), 22);
        QCOMPARE(second->WtDataText(1, 1), QStringLiteral(" 33"));
        QCOMPARE(control<QLineEdit>(second, "LocalCurrWt")->text(), QStringLiteral("33"));
        // The second window's typed text met the first's: the user kept both.
        QVERIFY(w.prompt.texts().last().startsWith("While you were typing here (Case# 12, Rex Smith)"));
        const QString both = QStringLiteral("Typed in the first\nTyped in the second");
        QCOMPARE(control<QPlainTextEdit>(second, "VetComBox")->toPlainText(), both);
        QCOMPARE(w.field(rex, "Vet Comments").toString(), both);
        // The other case's window is untouched, and stays the current case:
        // a window shown afresh in the background does not take it over.
        QCOMPARE(int(tiddles->NumWts()), 2);
        QCOMPARE(App().CurrCaseNo, QString::number(tib));

        // The undo in the second window shows in the first.
        w.prompt.answer(Prompt::Answer::Yes);
        second->UndoToLastWt_Click();
        QTRY_COMPARE(int(first->NumWts()), 20);
        QCOMPARE(first->WtDataText(1, 1), QStringLiteral(" 33.25"));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void aReloadShowsTheWindowsOwnCase()
    {
        World w;
        const int rex = w.rex().add();
        const int tib = w.tiddles().add();
        QPointer<frmDocument> tiddles = w.open(tib, "Tiddles", "Jones");
        QPointer<frmDocument> rexWindow = w.open(rex, "Rex", "Smith"); // now the current case
        QCOMPARE(App().CurrCaseNo, QString::number(rex));

        // A weighing in Tiddles' window reloads it: it must still be Tiddles.
        w.prompt.type(QStringLiteral("4.6"));
        tiddles->NextWt_Click();
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(control<QLineEdit>(tiddles, "LocalCaseNo")->text(), QString::number(tib));
        QCOMPARE(control<QLineEdit>(tiddles, "LocalAnName")->text(), QStringLiteral("Tiddles"));
        QVERIFY(control<QLabel>(tiddles, "Details")->text().startsWith(QStringLiteral("Tiddles Jones, Cat")));
        QVERIFY(control<QLabel>(tiddles, "Congrats")->text().contains(QStringLiteral("Tiddles")));
        QCOMPARE(App().CurrCaseNo, QString::number(tib)); // the case loaded last
        QCOMPARE(control<QLineEdit>(rexWindow, "LocalCaseNo")->text(), QString::number(rex));
    }

    // The growth curves and the diet calculator are the host's: each gets
    // this window's own case, whatever case another window made current.
    void handOversGoThroughTheHost()
    {
        World w;
        struct Host : CaseHost {
            QList<CaseFacts> curves;
            QList<frmDocument *> diets;
            void addCaseWindow(QWidget *) override {}
            void closeCaseWindow(QWidget *) override {}
            void pushRecent(const QString &) override {}
            void endAtOnce() override {}
            void showGrowthCurve(const CaseFacts &facts) override { curves << facts; }
            void showDietCalculator(frmDocument *window) override { diets << window; }
        } host;
        // A kitten of 12 weeks at its last weighing, at 3.5 kg.
        const QDate lastWeighed(2026, 12, 1);
        QPointer<frmDocument> doc = w.open(CaseBuilder()
                                               .animal("Tiddles")
                                               .species("Cat")
                                               .breed("Siamese")
                                               .range(3, 4)
                                               .dob(lastWeighed.addDays(-12 * 7))
                                               .history("3.4;3.5;")
                                               .lastWeighed(lastWeighed)
                                               .add(),
                                           "Tiddles", "Smith");
        QVERIFY(doc);
        CaseHost::install(&host);
        App().CurrSpecies = QStringLiteral("Dog"); // another window's case
        doc->GrowthCv_Click();
        App().DietCalcStandAlone = -1;
        doc->DietCalcMe_Click();
        CaseHost::install(nullptr);
        QCOMPARE(host.curves.size(), 1);
        QCOMPARE(host.curves.first().species, QStringLiteral("Cat"));
        QCOMPARE(host.curves.first().weeksOld, qint16(12));
        QCOMPARE(host.curves.first().currentWt, 3.5f);
        QCOMPARE(host.diets, QList<frmDocument *>{doc.data()});
        QCOMPARE(App().CurrSpecies, QStringLiteral("Cat"));
        QCOMPARE(App().DietCalcStandAlone, qint16(0));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void layoutIsReadable_data()
    {
        QTest::addColumn<QSize>("asked");
        QTest::newRow("as designed") << QSize();
        // Asked smaller than the design, the window stops where the table,
        // the comments and the buttons are still whole.
        QTest::newRow("smaller") << QSize(640, 420);
        QTest::newRow("larger") << QSize(1360, 860);
    }

    void layoutIsReadable()
    {
        QFETCH(QSize, asked);
        World w;
        QPointer<frmDocument> doc = w.open(w.rex().add(), "Rex", "Smith");
        QVERIFY(QTest::qWaitForWindowExposed(doc));
        QCOMPARE(doc->size(), doc->sizeHint());
        if (asked.isValid()) {
            doc->resize(asked);
            QApplication::processEvents();
        }
        // No two visible controls overlap, and all lie inside the window.
        QList<QWidget *> shown;
        for (QWidget *c : doc->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (c->isVisible())
                shown << c;
        for (int i = 0; i < shown.size(); ++i) {
            QVERIFY2(doc->rect().contains(shown[i]->geometry()), qPrintable(shown[i]->objectName()));
            for (int j = i + 1; j < shown.size(); ++j)
                QVERIFY2(!shown[i]->geometry().intersects(shown[j]->geometry()),
                         qPrintable(shown[i]->objectName() + " / " + shown[j]->objectName()));
        }
        // The result texts fit their labels.
        for (QLabel *l :
             {control<QLabel>(doc, "Congrats"), control<QLabel>(doc, "IdealWtLbl"), control<QLabel>(doc, "AvWtLbl"),
              control<QLabel>(doc, "LossRate"), control<QLabel>(doc, "TimeToTargetlbl")})
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(), qPrintable(l->objectName()));
        const QString shotDir = qEnvironmentVariable("FW_SCREENSHOT_DIR");
        if (!shotDir.isEmpty())
            doc->grab().save(QDir(shotDir).filePath(QStringLiteral("frmDocument-%1.png").arg(QTest::currentDataTag())));
    }
};

FW_TEST(frmDocumentTest)
#include "tst_frmDocument.moc"
