// The diet calculator serving a case window in the frame: the window's case
// goes to the calculator, the picker's diet to the calculator, and the
// recommendation back into that window's box and the case's row, also when
// another case window is active by then; a diet picked after a calculation
// sends none of the first diet's amounts, and a case window closed meanwhile
// gets nothing, which the user is told.
#include "support/CaseBuilder.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "cases/CaseOpening.h"
#include "cases/frmDocument.h"
#include "diets/DietCalculator.h"
#include "diets/fmDiets.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "shell/frmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

struct World {
    TestEnv env;
    ScriptedPrompt prompt;
    frmMain frame;
    int rex = 0;
    QPointer<frmDocument> rexWindow;

    World()
    {
        Clock::setNow(QDateTime(QDate(2026, 3, 5), QTime(9, 0)));
        frame.setEndProgram([] {});
        frame.resize(1400, 1000);
        frame.show();
        rex = CaseBuilder().range(8, 12).add();
        rexWindow = OpenCaseInDocument(OpenVariant::LocatorOrReminder,
                                       CaseRef{QString::number(rex), QStringLiteral("Smith"), QStringLiteral("Rex")});
    }
    ~World()
    {
        frame.mdiArea()->closeAllSubWindows();
        Clock::reset();
    }

    /// When the picker opens modally on the calculator: the diet of a line,
    /// returned. The diet's name lands in picked.
    void pickLineWhenPickerOpens(int row, QString *picked)
    {
        QTimer::singleShot(0, [row, picked] {
            auto *picker = qobject_cast<fmDiets *>(QApplication::activeModalWidget());
            QVERIFY(picker);
            auto *list = picker->findChild<QListWidget *>(QStringLiteral("DietListing"));
            QVERIFY(list && list->count() > row);
            list->setCurrentRow(row);
            picker->DietListing_Click();
            *picked = list->item(row)->text().trimmed();
            picker->findChild<QAbstractButton *>(QStringLiteral("DryBut"))->click();
        });
    }
    /// Rex's Diet Calc. through the frame, the picker returning the line's diet.
    DietCalculator *calculatorForRex(int row, QString *picked)
    {
        pickLineWhenPickerOpens(row, picked);
        frame.mnuDietCalc_Click(); // presses the active case window's Diet Calc.
        return frame.findChild<DietCalculator *>();
    }
    QString storedRecommendation(int caseNo) const
    {
        return ClinicDb::scalar(env.db(), "SELECT [Diet Recommend] FROM [Clients] WHERE [CaseNo] = ?", {caseNo})
            .toString();
    }
};

QString textOf(const DietCalculator *calculator, const char *name)
{
    return calculator->findChild<QLabel *>(QLatin1String(name))->text();
}

} // namespace

class DietHandBackTest : public QObject {
    Q_OBJECT
private slots:
    void recommendationReachesTheCaseThatAsked()
    {
        World w;
        const int tib = CaseBuilder().surname("Jones").animal("Tib").species("Cat").add();
        QVERIFY(w.rexWindow);
        QString picked;
        DietCalculator *calculator = w.calculatorForRex(0, &picked);
        QVERIFY(calculator);
        QVERIFY(picked.contains(QStringLiteral("Canine")));
        QCOMPARE(calculator->findChild<QLineEdit *>(QStringLiteral("Weight"))->text(), QStringLiteral(" 10"));
        QCOMPARE(textOf(calculator, "DietSelected"), picked);
        calculator->Calculate_Click();
        QVERIFY(textOf(calculator, "KCalPerDay") != QStringLiteral("0"));

        // Another case window is active when the calculator closes.
        QVERIFY(OpenCaseInDocument(OpenVariant::LocatorOrReminder,
                                   CaseRef{QString::number(tib), QStringLiteral("Jones"), QStringLiteral("Tib")}));
        w.prompt.answer(Prompt::Answer::Yes);
        calculator->Close_Click();
        const QString box = w.rexWindow->findChild<QPlainTextEdit *>(QStringLiteral("DietRecMe"))->toPlainText();
        QVERIFY2(box.startsWith(QStringLiteral("05/Mar/26: ")), qPrintable(box));
        QVERIFY(box.contains(picked));
        const QString stored = w.storedRecommendation(w.rex);
        QVERIFY2(stored.contains(picked), qPrintable(stored));
        QCOMPARE(w.storedRecommendation(tib), QString());
    }

    // Calculate, pick another diet, Close: the case gets the second diet's
    // name with no amounts of the first.
    void anotherDietAfterTheCalculation()
    {
        World w;
        QString first;
        DietCalculator *calculator = w.calculatorForRex(0, &first);
        QVERIFY(calculator);
        calculator->Calculate_Click();
        const QString firstDry = textOf(calculator, "ResultDry");
        QVERIFY(firstDry != QStringLiteral("0"));

        QString second;
        w.pickLineWhenPickerOpens(1, &second);
        calculator->DietButton_Click();
        QVERIFY(second != first);
        QCOMPARE(textOf(calculator, "DietSelected"), second);

        w.prompt.answer(Prompt::Answer::Yes).answer(Prompt::Answer::Yes);
        calculator->Close_Click();
        QCOMPARE(w.prompt.texts(),
                 (QStringList{"You have no calculated result, is that OK?",
                              "Would you like to transfer this calculation back to the case record?"}));
        const QString stored = w.storedRecommendation(w.rex);
        QVERIFY2(stored.contains(second), qPrintable(stored));
        QVERIFY2(!stored.contains(firstDry), qPrintable(stored));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // The case window that opened the calculator is closed before Close: no
    // transfer is offered, nothing is written, and the user is told why.
    void caseWindowClosedMeanwhile()
    {
        World w;
        QString picked;
        DietCalculator *calculator = w.calculatorForRex(0, &picked);
        QVERIFY(calculator);
        calculator->Calculate_Click();
        w.frame.mnuFileClose_Click();
        QTRY_VERIFY(!w.rexWindow);

        calculator->Close_Click();
        QCOMPARE(w.prompt.count(), 1);
        QVERIFY2(w.prompt.last().text.startsWith("This calculation has not been stored as a diet recommendation"),
                 qPrintable(w.prompt.last().text));
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Information);
        QCOMPARE(w.storedRecommendation(w.rex), QString());
        FW_VERIFY_PROMPTS(w.prompt);
    }
};

FW_TEST(DietHandBackTest)
#include "tst_DietHandBack.moc"
