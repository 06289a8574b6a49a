// The frame's commands of the diets: the diet calculator without a case window
// (the units choice first; closing it cancels), which never writes into a
// case, and the cost calculator with its two columns.
#include "diets/DietCalculator.h"
#include "diets/frmCostCalc.h"
#include "diets/frmUnitsChoice.h"
#include "platform/state/AppState.h"
#include "shell/frmMain.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

/// Act on the units choice once it is up (it runs its own event loop).
void whenUnitsChoiceShows(std::function<void(frmUnitsChoice *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *choice = qobject_cast<frmUnitsChoice *>(QApplication::activeModalWidget());
        QVERIFY(choice);
        QCOMPARE(choice->windowTitle(), QStringLiteral("Calculate with....."));
        act(choice);
    });
}

DietCalculator *calculatorOf(frmMain &frame)
{
    for (DietCalculator *c : frame.findChildren<DietCalculator *>())
        if (!c->closed())
            return c;
    return nullptr;
}

QString textOf(QWidget *window, const char *name)
{
    if (auto *l = window->findChild<QLabel *>(QLatin1String(name)))
        return l->text();
    if (auto *g = window->findChild<QGroupBox *>(QLatin1String(name)))
        return g->title();
    return window->findChild<QLineEdit *>(QLatin1String(name))->text();
}

/// A tool window is first shown over the middle of the frame (as near as the
/// screen allows), wholly on the screen.
void verifyPlacedOverFrame(QWidget *tool, QWidget *frame)
{
    const QRect free = tool->screen()->availableGeometry();
    QVERIFY2(
        free.contains(tool->frameGeometry()),
        qPrintable(QStringLiteral("%1,%2 %3x%4").arg(tool->x()).arg(tool->y()).arg(tool->width()).arg(tool->height())));
    QVERIFY(tool->frameGeometry().contains(frame->frameGeometry().center()));
}

/// A frame in the lower right quarter of the screen, so that a window left
/// where a new window first lands is not over it.
void showFrameLowerRight(QWidget &frame)
{
    const QRect free = frame.screen()->availableGeometry();
    frame.setGeometry(free.left() + free.width() / 2, free.top() + free.height() / 2, free.width() / 2,
                      free.height() / 2);
    frame.show();
}

} // namespace

class DietCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void unitsChoiceClosedCancelsTheCommand()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        frmMain frame;
        frame.setEndProgram([] {});
        App().CurrUnits = QStringLiteral("kg");
        whenUnitsChoiceShows([](frmUnitsChoice *choice) { choice->reject(); });
        frame.mnuDietCalc_Click();
        QVERIFY(!calculatorOf(frame));
        QCOMPARE(App().CurrUnits, QStringLiteral("kg"));
        QCOMPARE(prompt.count(), 0);
    }

    // Without a case window: pounds chosen, a calculation, Close asks nothing
    // and writes into no case; the next opening starts afresh.
    void standAloneInPounds()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        frmMain frame;
        frame.setEndProgram([] {});
        App().CurrUnits = QStringLiteral("kg"); // the unit of the last case loaded
        App().DietRecTransfer = QStringLiteral("*");
        whenUnitsChoiceShows([](frmUnitsChoice *choice) {
            choice->findChild<QAbstractButton *>(QStringLiteral("UnitsChoice(1)"))->click();
            choice->Continue_Click();
        });
        showFrameLowerRight(frame);
        frame.mnuDietCalc_Click();
        QPointer<DietCalculator> calc = calculatorOf(frame);
        QVERIFY(calc && calc->isVisible());
        verifyPlacedOverFrame(calc, &frame);
        QCOMPARE(App().DietCalcStandAlone, qint16(-1));
        QCOMPARE(calc->units(), QStringLiteral("lb"));
        QCOMPARE(textOf(calc, "WtUnitsLabel"), QStringLiteral("3. Weight (in lb)"));
        QCOMPARE(App().CurrUnits, QStringLiteral("kg")); // the case's unit is left alone

        calc->findChild<QAbstractButton *>(QStringLiteral("SpeciesOp(1)"))->click();
        calc->findChild<QLineEdit *>(QStringLiteral("Weight"))->setText("22");
        calc->receiveDiet("Canine Maintenance", "350", "300", "90", "400");
        calc->Calculate_Click();
        QCOMPARE(textOf(calc, "gmozUnitsCan"), QStringLiteral("oz Canned"));
        QVERIFY(textOf(calc, "ResultDry").startsWith(QLatin1Char(' ')));

        calc->Close_Click();
        QCOMPARE(prompt.count(), 0);
        QCOMPARE(App().DietRecTransfer, QStringLiteral("*"));
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!calc);

        // Opened again: a new window, all at zero, in kilograms this time.
        whenUnitsChoiceShows([](frmUnitsChoice *choice) { choice->Continue_Click(); });
        frame.mnuDietCalc_Click();
        calc = calculatorOf(frame);
        QVERIFY(calc);
        QCOMPARE(calc->units(), QStringLiteral("kg"));
        QCOMPARE(textOf(calc, "ResultDry"), QStringLiteral("0"));
        QCOMPARE(textOf(calc, "Weight"), QString());
    }

    void costCalculator()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        frmMain frame;
        frame.setEndProgram([] {});
        showFrameLowerRight(frame);
        frame.mnuCostCalc_Click();
        QPointer<frmCostCalc> cost = frame.findChild<frmCostCalc *>();
        QVERIFY(cost && cost->isVisible());
        verifyPlacedOverFrame(cost, &frame);
        QCOMPARE(cost->windowTitle(), QStringLiteral("Cost Calculator"));
        frame.mnuCostCalc_Click();
        QCOMPARE(frame.findChildren<frmCostCalc *>().size(), 1);

        auto box = [&](const char *name) { return cost->findChild<QLineEdit *>(QLatin1String(name)); };
        auto result = [&](const char *name) { return cost->findChild<QPlainTextEdit *>(QLatin1String(name)); };

        // Dry: the fields are checked in order, each refusal puts the cursor there.
        box("UnitCost")->setText("45");
        box("UnitSizeBag")->setText("ten");
        box("HowMuchFed")->setText("");
        cost->CalculateDry_Click();
        QCOMPARE(prompt.last().text, QStringLiteral("Please enter the bag size in kg correctly as a numerical value."));
        QCOMPARE(prompt.last().icon, Prompt::Icon::Critical);
        QCOMPARE(cost->focusWidget(), box("UnitSizeBag"));
        box("UnitSizeBag")->setText("10");
        box("HowMuchFed")->setText("300");
        cost->CalculateDry_Click();
        QCOMPARE(result("HowLongAndCost")->toPlainText(),
                 QStringLiteral("This bag will last you  33.3 days.\nThe feeding cost per day will be $ 1.35."));
        // Nothing fed: refused, the last result stays.
        box("HowMuchFed")->setText("0");
        cost->CalculateDry_Click();
        QCOMPARE(cost->focusWidget(), box("HowMuchFed"));
        QVERIFY(result("HowLongAndCost")->toPlainText().contains(QLatin1String("33.3")));
        QVERIFY(result("HowLongAndCost")->isReadOnly());

        // Canned: the count of cans is repeated as typed.
        box("UnitCostCan")->setText("1.25");
        box("CansSold")->setText(" 24");
        box("HowMuchFedCans")->setText("2");
        cost->CalculateCan_Click();
        QCOMPARE(result("HowLongAndCostCan")->toPlainText(),
                 QStringLiteral(" 24 cans will last you  12 days.\nThe feeding cost per day will be $ 2.5."));
        QVERIFY(!result("HowLongAndCostCan")->isReadOnly());
        QCOMPARE(prompt.count(), 2);

        cost->Command1_Click();
        QVERIFY(!cost->isVisible());
    }
};

FW_TEST(DietCommandsTest)
#include "tst_DietCommands.moc"
