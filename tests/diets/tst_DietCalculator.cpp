// The diet calculator as the user meets it: a case handed over with its
// picker opened, the worked example, the mix, every refusal in its order, the
// one group of states across three tabs, a hand-over to an open calculator,
// and the hand-back that reaches only the case window that asked, while it
// is still open.
#include "diets/DietCalculator.h"
#include "platform/help/Help.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <memory>

namespace {

const QString kExample = QStringLiteral("Canine Reducing Formula");

/// A calculator in the test's hands, with a picker that returns the worked
/// example's diet and a case window stand-in that receives the hand-back.
struct Calc {
    QPointer<DietCalculator> w;
    std::unique_ptr<QObject> requester = std::make_unique<QObject>();
    QStringList delivered;
    int pickerOpened = 0;
    QString pickerSpecies;

    explicit Calc(const QString &units = QStringLiteral("kg"))
    {
        w = new DietCalculator(units);
        w->setPickerOpener([this](DietCalculator &c, const QString &species) {
            ++pickerOpened;
            pickerSpecies = species;
            c.receiveDiet(kExample, "350", "300", "90", "400");
        });
    }
    ~Calc() { delete w.data(); }

    void handOver(const QString &species, float weight, const QString &units = QStringLiteral("kg"))
    {
        w->handOverCase({species, weight, units}, requester.get(), [this](const QString &text) { delivered << text; });
    }
    QString text(const char *name) const
    {
        if (auto *l = w->findChild<QLabel *>(QLatin1String(name)))
            return l->text();
        if (auto *e = w->findChild<QLineEdit *>(QLatin1String(name)))
            return e->text();
        if (auto *g = w->findChild<QGroupBox *>(QLatin1String(name)))
            return g->title();
        qFatal("no control %s", name);
    }
    void set(const char *name, const QString &value) { w->findChild<QLineEdit *>(QLatin1String(name))->setText(value); }
    QAbstractButton *button(const QString &name) const { return w->findChild<QAbstractButton *>(name); }
    bool checked(const QString &name) const { return button(name)->isChecked(); }
    QSlider *slider() const { return w->findChild<QSlider *>(QStringLiteral("Slider1")); }
    /// The worked example's 10 kg dog calculated, and mixed at 30 % canned.
    void calculatedAndMixed()
    {
        handOver("Dog", 10);
        w->Calculate_Click();
        moveSlider(3);
    }
    /// The user picks another diet through the diet button.
    void pickDietB()
    {
        w->setPickerOpener([](DietCalculator &calc, const QString &) {
            calc.receiveDiet(QStringLiteral("Canine Diet B"), "400", "350", "100", "350");
        });
        w->DietButton_Click();
    }
    /// The user moves the slider (the program's own moves run no mix).
    void moveSlider(int position) { slider()->setValue(position); }
    QString focused() const { return w->focusWidget() ? w->focusWidget()->objectName() : QString(); }
    int checkedStates() const
    {
        int n = 0;
        for (int i = 0; i < 19; ++i)
            n += checked(QStringLiteral("Stat(%1)").arg(i));
        return n;
    }
};

} // namespace

class DietCalculatorTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Clock::reset(); }

    void opensWithTheFourTabsInOrderAndEveryResultAtZero()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c;
        auto *tabs = c.w->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
        QCOMPARE(captions, QStringList({"Illness", "Environment", "Reproduction", "Growth + Activity"}));
        for (const char *name : {"KCalPerDay", "ResultDry", "CupAmt", "ResultCan", "CanAmt", "MixDry", "MixCups",
                                 "MixCanned", "MixCans", "MEDryText", "MECanText", "MEPerCup", "GmPerCan"})
            QCOMPARE(c.text(name), QStringLiteral("0"));
        QCOMPARE(c.text("WtUnitsLabel"), QStringLiteral("3. Weight (in kg)"));
        QVERIFY(c.checked("Stat(2)") && c.checked("Envir(1)"));
        QVERIFY(!c.checked("SpeciesOp(0)") && !c.checked("SpeciesOp(1)"));
        QCOMPARE(prompt.count(), 0);
    }

    // A 10 kg dog from its case window, the diet typed by the picker.
    void workedExampleThroughTheHandOver()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c;
        c.handOver("Dog", 10);
        QVERIFY(c.w->isVisible());
        QCOMPARE(c.pickerOpened, 1);
        QCOMPARE(c.pickerSpecies, QStringLiteral("canine"));
        QCOMPARE(App().DietSpecies, QStringLiteral("canine"));
        QVERIFY(c.checked("SpeciesOp(1)"));
        QCOMPARE(c.text("Weight"), QStringLiteral(" 10"));
        QCOMPARE(c.text("DietSelected"), kExample);

        // The calculator keeps the case's unit whatever case loads meanwhile.
        App().CurrUnits = QStringLiteral("lb");
        c.w->Calculate_Click();
        QCOMPARE(c.text("KCalPerDay"), QStringLiteral(" 629.8"));
        QCOMPARE(c.text("ResultDry"), QStringLiteral(" 179.9"));
        QCOMPARE(c.text("CupAmt"), QStringLiteral(" 2.1"));
        QCOMPARE(c.text("ResultCan"), QStringLiteral(" 699.8"));
        QCOMPARE(c.text("CanAmt"), QStringLiteral(" 1.7"));
        QCOMPARE(c.text("MixDry"), QStringLiteral(" 179.9"));
        QCOMPARE(c.text("MixCanned"), QStringLiteral("0"));

        c.moveSlider(3);
        QCOMPARE(c.text("PCanned"), QStringLiteral("30% Can"));
        QCOMPARE(c.text("PDry"), QStringLiteral("70% Dry"));
        QCOMPARE(c.text("MixDry"), QStringLiteral(" 126"));
        QCOMPARE(c.text("MixCanned"), QStringLiteral(" 209.9"));

        // A calculation puts the slider back without running the mix.
        c.w->CalcRed_Click();
        QCOMPARE(c.text("KCalPerDay"), QStringLiteral(" 377.9"));
        QCOMPARE(c.slider()->value(), 0);
        QCOMPARE(c.text("PCanned"), QStringLiteral("0% Can"));
        QCOMPARE(c.text("MixDry"), c.text("ResultDry"));
        QCOMPARE(prompt.count(), 0);
    }

    void refusals_data()
    {
        QTest::addColumn<bool>("species");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<QString>("dry");
        QTest::addColumn<QString>("canned");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");

        // Each row breaks everything after its own check too: the first check
        // that fails speaks.
        QTest::newRow("no species") << false << "0"
                                    << "x"
                                    << "x"
                                    << "st"
                                    << "You must first specify the species before you can calculate"
                                    << "";
        QTest::newRow("weight 0") << true << "0"
                                  << "x"
                                  << "x"
                                  << "st"
                                  << "Please enter a none zero weight"
                                  << "";
        QTest::newRow("weight empty") << true << ""
                                      << "x"
                                      << "x"
                                      << "st"
                                      << "Please enter a none zero weight"
                                      << "";
        QTest::newRow("weight letters") << true << "ten"
                                        << "x"
                                        << "x"
                                        << "st"
                                        << "please enter the weight correctly as a numerical value."
                                        << "Weight";
        QTest::newRow("dry letters") << true << "10"
                                     << "x"
                                     << "x"
                                     << "st"
                                     << "please enter the Dry ME correctly as a numerical value."
                                     << "MEDryText";
        QTest::newRow("canned letters") << true << "10"
                                        << "350"
                                        << "x"
                                        << "st"
                                        << "please enter the canned ME correctly as a numerical value."
                                        << "MECanText";
        QTest::newRow("a unit it cannot convert")
            << true << "10"
            << "350"
            << "90"
            << "st"
            << "The unit of the weight is not known: the diet calculator works in kg, gm, lb or oz only."
            << "";
        QTest::newRow("weight 0.0") << true << "0.0"
                                    << "350"
                                    << "90"
                                    << "kg"
                                    << "Please enter a none zero weight"
                                    << "";
        QTest::newRow("negative dry energy") << true << "10"
                                             << "-350"
                                             << "90"
                                             << "kg"
                                             << "The dry KCal/100 gm cannot be negative: please enter it as a "
                                                "positive number."
                                             << "MEDryText";
        QTest::newRow("negative weight: the error's description")
            << true << "-10"
            << "350"
            << "90"
            << "kg"
            << "The weight cannot be negative: please enter the weight as a positive number."
            << "";
    }

    void refusals()
    {
        QFETCH(bool, species);
        QFETCH(QString, weight);
        QFETCH(QString, dry);
        QFETCH(QString, canned);
        QFETCH(QString, units);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c(units);
        if (species)
            c.w->SpeciesOp_Click(1), c.button("SpeciesOp(1)")->setChecked(true);
        c.set("Weight", weight);
        c.set("MEDryText", dry);
        c.set("MECanText", canned);
        c.moveSlider(0);
        c.w->Calculate_Click();
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.last().text, message);
        QCOMPARE(prompt.last().icon, Prompt::Icon::Critical);
        QCOMPARE(prompt.last().title, Prompt::kTitle);
        if (!focus.isEmpty())
            QCOMPARE(c.focused(), focus);
        QCOMPARE(c.text("KCalPerDay"), QStringLiteral("0"));
        QCOMPARE(c.text("ResultDry"), QStringLiteral("0"));
    }

    void mixRefusals()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c;
        c.moveSlider(4);
        QCOMPARE(prompt.last().text,
                 QStringLiteral("You must first perform a calculation before you can mix dry and canned diets."));
        QCOMPARE(c.slider()->value(), 0);

        // A diet without a canned form.
        c.handOver("Dog", 10);
        c.set("MECanText", "0");
        c.w->Calculate_Click();
        for (const char *name : {"ResultCan", "MixCanned", "CanAmt", "MixCans"})
            QCOMPARE(c.text(name), QStringLiteral("N/A"));
        c.moveSlider(5);
        QCOMPARE(prompt.last().text, QStringLiteral("For this diet there is only one diet form available."));
        QCOMPARE(c.slider()->value(), 0);

        // The dry energy changed to 0 after the calculation: refused, not "inf".
        c.set("MECanText", "90");
        c.w->Calculate_Click();
        c.set("MEDryText", "0");
        c.moveSlider(5);
        QVERIFY(prompt.last().text.startsWith(QStringLiteral("The dry KCal/100 gm of the diet is now 0")));
        QCOMPARE(c.focused(), QStringLiteral("MEDryText"));
        QCOMPARE(c.slider()->value(), 0);
        QCOMPARE(c.text("PCanned"), QStringLiteral("0% Can"));
        QCOMPARE(prompt.count(), 3);
        for (const ShownBox &b : prompt.shown())
            QCOMPARE(b.icon, Prompt::Icon::Critical);
    }

    void oneStateAcrossTheThreeTabs()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c;
        c.button("Stat(17)")->click(); // Sepsis, on the Illness tab
        QVERIFY(c.checked("Stat(17)"));
        QVERIFY(!c.checked("Stat(2)"));
        QCOMPARE(c.checkedStates(), 1);
        c.button("Stat(10)")->click(); // Reproduction
        QCOMPARE(c.checkedStates(), 1);
        c.w->Reset_Click();
        QVERIFY(c.checked("Stat(2)"));
        QCOMPARE(c.checkedStates(), 1);
        QCOMPARE(prompt.count(), 0); // a reset runs no mix
    }

    void dietButtonWithoutSpecies()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c;
        c.w->DietButton_Click();
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.last().text, QStringLiteral(" you must first specify a species."));
        QCOMPARE(prompt.last().icon, Prompt::Icon::Information);
        QCOMPARE(c.pickerOpened, 0);
    }

    // A case handed to a calculator that is open with another case's results
    // starts clean, in that case's unit.
    void handOverResetsAnOpenCalculator()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c;
        c.calculatedAndMixed();
        QCOMPARE(c.text("CanAmt"), QStringLiteral(" 1.7"));

        c.w->setPickerOpener({}); // the user cancels the picker this time
        c.handOver("Cat", 9.5f, "lb");
        QVERIFY(c.checked("SpeciesOp(0)") && !c.checked("SpeciesOp(1)"));
        QCOMPARE(App().DietSpecies, QStringLiteral("feline"));
        QCOMPARE(c.text("Weight"), QStringLiteral(" 9.5"));
        QCOMPARE(c.text("DietSelected"), QString());
        for (const char *name : {"KCalPerDay", "ResultDry", "CanAmt", "MixCans", "MEDryText", "GmPerCan"})
            QCOMPARE(c.text(name), QStringLiteral("0"));
        QCOMPARE(c.slider()->value(), 0);
        QCOMPARE(c.text("WtUnitsLabel"), QStringLiteral("3. Weight (in lb)"));
        QCOMPARE(c.text("gmozUnitsDry"), QStringLiteral("oz Dry"));
        QCOMPARE(prompt.count(), 0);
    }

    void closeHandsBackToTheCaseThatAsked()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        Clock::setNow(QDateTime(QDate(2026, 3, 5), QTime(9, 0)));
        Calc c;
        c.handOver("Dog", 10);
        c.w->Calculate_Click();
        prompt.answer(Prompt::Answer::Yes);
        c.w->Close_Click();
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.last().text,
                 QStringLiteral("Would you like to transfer this calculation back to the case record?"));
        QCOMPARE(prompt.last().icon, Prompt::Icon::Information);
        QCOMPARE(prompt.last().buttons, Prompt::Buttons::YesNo);
        QCOMPARE(c.delivered.size(), 1);
        QCOMPARE(c.delivered.first(),
                 QStringLiteral("05/Mar/26: \r\n To reach the target weight, the Fenwarra suggests:\r\n") + kExample +
                     QStringLiteral("\r\n Either\r\n1] 2.1 cup(s) of dry ( 179.9 gm Dry) or\r\n"
                                    "2] 1.7 can(s) of canned ( 699.8 gm Canned)\r\n"
                                    "Or if you wish to use both dry and canned diet then try,\r\n"
                                    "3]  2.1 cup(s) of dry and 0 can(s) of canned"));
        QVERIFY(!c.w->isVisible());
        FW_VERIFY_PROMPTS(prompt);
    }

    // A diet picked after a calculation: the amounts were the other diet's,
    // so they go, and Close finds no result until the user calculates again.
    void dietPickedAfterACalculationClearsTheResults()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c;
        c.calculatedAndMixed();
        QCOMPARE(c.text("ResultDry"), QStringLiteral(" 179.9"));

        c.pickDietB();
        QCOMPARE(c.text("DietSelected"), QStringLiteral("Canine Diet B"));
        QCOMPARE(c.text("MEDryText"), QStringLiteral("400"));
        for (const char *name :
             {"KCalPerDay", "ResultDry", "CupAmt", "ResultCan", "CanAmt", "MixDry", "MixCups", "MixCanned", "MixCans"})
            QCOMPARE(c.text(name), QStringLiteral("0"));
        QCOMPARE(c.slider()->value(), 0);
        QCOMPARE(c.text("PCanned"), QStringLiteral("0% Can"));
        QCOMPARE(c.text("Weight"), QStringLiteral(" 10"));

        // Close: no result, and what goes back holds none of the first diet's amounts.
        prompt.answer(Prompt::Answer::Yes).answer(Prompt::Answer::Yes);
        c.w->Close_Click();
        QCOMPARE(prompt.texts(), (QStringList{"You have no calculated result, is that OK?",
                                              "Would you like to transfer this calculation back to the case record?"}));
        QCOMPARE(c.delivered.size(), 1);
        QVERIFY(c.delivered.first().contains(QStringLiteral("Canine Diet B")));
        for (const char *amount : {"179.9", "2.1", "699.8", "1.7"})
            QVERIFY2(!c.delivered.first().contains(QLatin1String(amount)), amount);
        FW_VERIFY_PROMPTS(prompt);

        // Calculated again, the amounts are the new diet's.
        Calc again;
        again.handOver("Dog", 10);
        again.w->Calculate_Click();
        again.pickDietB();
        again.w->Calculate_Click();
        QCOMPARE(again.text("ResultDry"), QStringLiteral(" 157.5"));
    }

    void closeWithoutTransfer_data()
    {
        QTest::addColumn<QString>("species");
        QTest::addColumn<bool>("requesterGone");
        QTest::addColumn<QStringList>("answers"); // "Yes"/"No" for the questions asked
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("delivered");

        const QString noResult = QStringLiteral("You have no calculated result, is that OK?");
        const QString kCaseWindowClosed =
            QStringLiteral("This calculation has not been stored as a diet recommendation: the case window that "
                           "opened the diet calculator has been closed. Open the case and use its Diet Calc. button "
                           "to calculate for it again.");
        const QString transfer = QStringLiteral("Would you like to transfer this calculation back to the case record?");
        const QString other =
            QStringLiteral("To enter a recommendation for another species just type directly into the diet "
                           "recommendations box");
        QTest::newRow("No: nothing goes back")
            << "Dog" << false << QStringList{"No"} << QStringList{transfer} << QStringList{};
        QTest::newRow("case window closed meanwhile: the user is told")
            << "Dog" << true << QStringList{} << QStringList{kCaseWindowClosed} << QStringList{};
        QTest::newRow("another species: the box only gets the focus")
            << "Rabbit" << false << QStringList{"Yes"} << QStringList{noResult, other} << QStringList{"**"};
        QTest::newRow("dog in lower case counts as another species")
            << "dog" << false << QStringList{"Yes"} << QStringList{noResult, other} << QStringList{"**"};
    }

    void closeWithoutTransfer()
    {
        QFETCH(QString, species);
        QFETCH(bool, requesterGone);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, delivered);
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c;
        c.handOver(species, 10);
        if (species == QLatin1String("Dog"))
            c.w->Calculate_Click();
        else // the note that the calculator is for dogs and cats only
            QCOMPARE(prompt.texts(), QStringList{"The diet calculator is for either dog or cat diets only"});
        prompt.clear();
        if (requesterGone)
            c.requester.reset();
        for (const QString &a : answers)
            prompt.answer(a == QLatin1String("Yes") ? Prompt::Answer::Yes : Prompt::Answer::No);
        c.w->Close_Click();
        QCOMPARE(prompt.texts(), texts);
        QCOMPARE(c.delivered, delivered);
        QVERIFY(!c.w->isVisible());
        FW_VERIFY_PROMPTS(prompt);
    }

    // Opened again without a case, the calculator no longer serves the case
    // that asked before: Close asks nothing and hands nothing back.
    void openedOnItsOwnAfterACase()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c;
        c.handOver("Dog", 10);
        c.w->Calculate_Click();
        c.w->openStandAlone(QStringLiteral("kg"));
        QVERIFY(!c.w->servesCase());
        QCOMPARE(c.text("KCalPerDay"), QStringLiteral(" 629.8")); // same unit: the figures stay
        c.w->Close_Click();
        QCOMPARE(prompt.count(), 0);
        QVERIFY(c.delivered.isEmpty());
        QVERIFY(!c.w->isVisible());
    }

    void closeWithoutResultCanBeRefused()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c;
        c.handOver("Dog", 10);
        c.w->activateWindow();
        prompt.answer(Prompt::Answer::No);
        c.w->Close_Click();
        QCOMPARE(prompt.texts(), QStringList{"You have no calculated result, is that OK?"});
        QCOMPARE(prompt.last().icon, Prompt::Icon::Information);
        QVERIFY(c.w->isVisible());
        QCOMPARE(c.focused(), QStringLiteral("Calculate"));
        QVERIFY(c.delivered.isEmpty());
        FW_VERIFY_PROMPTS(prompt);
    }

    void helpShowsItsTopic()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        Calc c;
        c.w->HHelp_Click();
        QWidget *help = Help::window();
        QVERIFY(help);
        auto *browser = help->findChild<QTextBrowser *>(QStringLiteral("HelpBrowser"));
        QCOMPARE(QFileInfo(browser->source().toLocalFile()).fileName(), QStringLiteral("1123.html"));
        delete help;
        QCOMPARE(prompt.count(), 0);
    }
};

FW_TEST(DietCalculatorTest)
#include "tst_DietCalculator.moc"
