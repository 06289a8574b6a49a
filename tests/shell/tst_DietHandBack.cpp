// The diet calculator serving a case window in the frame: the window's case
// goes to the calculator, the picker's diet to the calculator, and the
// recommendation back into that window's box and the case's row, also when
// another case window is active by then.
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
#include <QTest>
#include <QTimer>

class DietHandBackTest : public QObject {
    Q_OBJECT
private slots:
    void recommendationReachesTheCaseThatAsked()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        Clock::setNow(QDateTime(QDate(2026, 3, 5), QTime(9, 0)));
        frmMain frame;
        frame.setEndProgram([] {});
        frame.resize(1400, 1000);
        frame.show();
        const int rex = CaseBuilder().range(8, 12).add();
        const int tib = CaseBuilder().surname("Jones").animal("Tib").species("Cat").add();
        frmDocument *rexWindow =
            OpenCaseInDocument(OpenVariant::LocatorOrReminder,
                               CaseRef{QString::number(rex), QStringLiteral("Smith"), QStringLiteral("Rex")});
        QVERIFY(rexWindow);

        // The picker opens modally on the calculator: choose the first diet.
        QString picked;
        QTimer::singleShot(0, [&] {
            auto *picker = qobject_cast<fmDiets *>(QApplication::activeModalWidget());
            QVERIFY(picker);
            auto *list = picker->findChild<QListWidget *>(QStringLiteral("DietListing"));
            QVERIFY(list && list->count() > 0);
            list->setCurrentRow(0);
            picker->DietListing_Click();
            picked = list->item(0)->text().trimmed();
            picker->findChild<QAbstractButton *>(QStringLiteral("DryBut"))->click();
        });
        frame.mnuDietCalc_Click(); // presses the active case window's Diet Calc.
        DietCalculator *calculator = frame.findChild<DietCalculator *>();
        QVERIFY(calculator);
        QVERIFY(picked.contains(QStringLiteral("Canine")));
        QCOMPARE(calculator->findChild<QLineEdit *>(QStringLiteral("Weight"))->text(), QStringLiteral(" 10"));
        QCOMPARE(calculator->findChild<QLabel *>(QStringLiteral("DietSelected"))->text(), picked);
        calculator->Calculate_Click();
        QVERIFY(calculator->findChild<QLabel *>(QStringLiteral("KCalPerDay"))->text() != QStringLiteral("0"));

        // Another case window is active when the calculator closes.
        QVERIFY(OpenCaseInDocument(OpenVariant::LocatorOrReminder,
                                   CaseRef{QString::number(tib), QStringLiteral("Jones"), QStringLiteral("Tib")}));
        prompt.answer(Prompt::Answer::Yes);
        calculator->Close_Click();
        const QString box = rexWindow->findChild<QPlainTextEdit *>(QStringLiteral("DietRecMe"))->toPlainText();
        QVERIFY2(box.startsWith(QStringLiteral("05/Mar/26: ")), qPrintable(box));
        QVERIFY(box.contains(picked));
        const QString stored =
            ClinicDb::scalar(env.db(), "SELECT [Diet Recommend] FROM [Clients] WHERE [CaseNo] = ?", {rex}).toString();
        QVERIFY2(stored.contains(picked), qPrintable(stored));
        QCOMPARE(
            ClinicDb::scalar(env.db(), "SELECT [Diet Recommend] FROM [Clients] WHERE [CaseNo] = ?", {tib}).toString(),
            QString());
        frame.mdiArea()->closeAllSubWindows();
        Clock::reset();
    }
};

FW_TEST(DietHandBackTest)
#include "tst_DietHandBack.moc"
