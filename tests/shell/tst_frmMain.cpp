// The main frame: menus, toolbar, status bar, command routing to the active
// case window, the recent-cases menu and leaving the program.
#include "support/CaseBuilder.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "cases/frmDocument.h"
#include "diets/DietCalculator.h"
#include "diets/frmUnitsChoice.h"
#include "platform/help/Help.h"
#include "platform/help/HelpWindow.h"
#include "platform/prompt/Prompt.h"
#include "platform/settings/Settings.h"
#include "platform/sound/Sound.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

namespace {

const QString kTitle = QStringLiteral("Message from the Fenwarra");

/// A stand-in case window: it records the commands the frame gives it
/// instead of carrying them out.
class FakeCase : public frmDocument {
public:
    explicit FakeCase(const QString &caption, const QString &caseNo = QStringLiteral("12"),
                      const QString &species = QStringLiteral("Dog"))
    {
        setWindowTitle(caption);
        setCaseRef(CaseRef{caseNo, QString(), QString()});
        m_species = species;
        DietRecMe = control<QPlainTextEdit>(this, "DietRecMe");
        DietRecMe->setPlainText(QStringLiteral("before"));
    }

    // No row behind the stand-in to load the case from.
    CaseFacts facts() const override
    {
        CaseFacts f = frmDocument::facts();
        f.species = m_species;
        return f;
    }
    void NextWt_Click() override { press("NextWt"); }
    void UndoToLastWt_Click() override { press("UndoToLastWt"); }
    void Zoom_Click() override { press("Zoom"); }
    void GrowthCv_Click() override { press("GrowthCv"); }
    void DietCalcMe_Click() override { press("DietCalcMe"); }
    // No row behind the stand-in to save the text to.
    void receiveDietRecommendation(const QString &text) override { DietRecMe->setPlainText(text); }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        if (keepOpen)
            event->ignore();
    }

public:
    bool keepOpen = false; // as a case window whose typed text could not be saved
    QStringList pressed;
    QString caseNoAtPress;
    QString speciesAtPress;
    QPlainTextEdit *DietRecMe = nullptr;

private:
    QString m_species;

    void press(const char *name)
    {
        pressed << QLatin1String(name);
        caseNoAtPress = App().CurrCaseNo;
        speciesAtPress = App().CurrSpecies;
    }
};

/// One test's world: fresh settings and database, scripted boxes, a frame
/// whose end is recorded instead of leaving the test program.
struct World {
    TestEnv env;
    ScriptedPrompt prompt;
    frmMain frame;
    int ended = 0;
    World()
    {
        frame.setEndProgram([this] { ++ended; });
    }

    QAction *action(const QString &name) const { return frame.findChild<QAction *>(name); }
    FakeCase *addCase(const QString &caption)
    {
        auto *c = new FakeCase(caption);
        frame.addChild(c);
        return c;
    }
    int openChildren() const { return frame.mdiArea()->subWindowList().size(); }
};

QString setting(const QString &section, const QString &key)
{
    return Settings::get(section, key, QStringLiteral("<unset>"));
}

} // namespace

class FrameTest : public QObject {
    Q_OBJECT
private slots:
    void menus_data();
    void menus();
    void toolbarLayout();
    void toolbarRouting_data();
    void toolbarRouting();
    void helpButtonOpensSearch();
    void noCaseMessages_data();
    void noCaseMessages();
    void forwardingPressesButtons_data();
    void forwardingPressesButtons();
    void childThatIsNoCaseWindow();
    void dietCalculatorWithoutCase();
    void closeAndCloseAll();
    void dietRecommendationHandBack();
    void exitNoChangesNothing();
    void exitYesSavesAndEnds();
    void exitYesNormalStartLeavesLinkMode();
    void exitRunsOnWhenAWindowStaysOpen();
    void exitMinimisedKeepsGeometry();
    void endAtOnceAsksAndSavesNothing();
    void frameLoadGeometry_data();
    void frameLoadGeometry();
    void fitFrameToScreen_data();
    void fitFrameToScreen();
    void frameFitsANarrowScreen();
    void recentCaseNumber_data();
    void recentCaseNumber();
    void recentMenu();
    void recentItemReopensCase();
    void windowMenuListsChildren();
    void largeChildOpensAtTheTopLeft();
    void arrangement();
    void tiledCaseWindowsScroll();
    void barToggles();
    void printerSetupChoosesAFile();
    void helpWithoutHelpFile();
    void statusBarAndSound();
};

// Each menu: its caption, then its items in order as "name=caption", or
// "-name" for a separator.
void FrameTest::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items");
    QStringList file{"mnuFileNew=&New Case", "mnuFileOpen=&Open Existing Case", "mnuFileClose=&Close Current Case",
                     "mnuFileCloseAll=Close &All Cases", "-mnuFileBar1"};
    for (int i = 1; i <= 10; ++i)
        file << QStringLiteral("RecentCli(%1)=?").arg(i);
    file << "-mnuFileBar2"
         << "mnuFilePrintSetup=P&rinter Setup..."
         << "mnuFilePrint=Report &Preview"
         << "-mnuFileBar3"
         << "NetWorkFW=Net&work Fenwarra"
         << "-mnuFileBar4"
         << "mnuFileExit=E&xit";
    QTest::newRow("File") << "mnuFile"
                          << "&File" << file;
    QTest::newRow("Edit") << "mnuEdit"
                          << "&Edit"
                          << QStringList{"mnuEditCaseDet=&Case Details", "-mnuEditBar1",
                                         "mnuPersonalize=&Personalization"};
    QTest::newRow("View") << "mnuView"
                          << "&View"
                          << QStringList{"mnuViewToolbar=&Toolbar",
                                         "mnuViewStatusBar=Status &Bar",
                                         "-mnuViewBar2",
                                         "mnuZoom=&Zoom Graph",
                                         "mnuGrowthCurve=&Growth Curve",
                                         "mnuDietCalc=&Diet Calculator",
                                         "mnuCostCalc=&Cost Calculator",
                                         "mnuReminders=&Reminders",
                                         "mnuViewBrowser=&Web Browser",
                                         "-mnuWindowBar1",
                                         "mnuViewOptions=&Options..."};
    QTest::newRow("Weight") << "mnuWeight"
                            << "Weigh&t"
                            << QStringList{"mnuNextWt=&Next Weight", "mnuUndoLastWt=&Undo To Last Weight",
                                           "-mnuWeightBar1", "mnuBreedWt=&Breed Weights"};
    QTest::newRow("Window") << "mnuWindow"
                            << "&Window"
                            << QStringList{"mnuWindowCascade=&Cascade", "mnuWindowTileHorizontal=Tile &Horizontal",
                                           "mnuWindowTileVertical=Tile &Vertical",
                                           "mnuWindowArrangeIcons=&Arrange Icons"};
    QTest::newRow("Help") << "mnuHelp"
                          << "&Help"
                          << QStringList{"MsgTorvin=&Message from Dr Torvin Ashgrove",
                                         "-mnuHelpBar1",
                                         "mnuHelpContents=&Contents",
                                         "mnuHelpSearch=&Search For Help On...",
                                         "-mnuHelpBar2",
                                         "Examples=&Example Cases Discussed",
                                         "-mnuHelpBar3",
                                         "mnuHelpAbout=&About Fenwarra2..."};
}

void FrameTest::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);
    World w;
    auto *m = w.frame.findChild<QMenu *>(menu);
    QVERIFY(m);
    QCOMPARE(m->title(), caption);
    QCOMPARE(w.action(menu), m->menuAction());
    QStringList seen;
    for (QAction *a : m->actions()) {
        seen << (a->isSeparator() ? QLatin1Char('-') + a->objectName()
                                  : a->objectName() + QLatin1Char('=') + a->text());
        // Only the database relocation waits for the start-up to enable it.
        QCOMPARE(a->isEnabled(), a->objectName() != QLatin1String("NetWorkFW"));
    }
    QCOMPARE(seen, items);
}

void FrameTest::toolbarLayout()
{
    World w;
    auto *bar = w.frame.findChild<QToolBar *>(QStringLiteral("tbToolBar"));
    QVERIFY(bar);
    QStringList keys;
    QStringList tips;
    for (QAction *a : bar->actions()) {
        keys << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
        if (!a->isSeparator()) {
            tips << a->toolTip();
            QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
        }
    }
    QCOMPARE(keys,
             (QStringList{"EExit",        "New",       "Open",        "CloseCase",   "CloseAllCases", "EditCaseBut",
                          "RemindersBut", "|",         "DietCalcBut", "CostCalcBut", "PupKitBut",     "ZoomBut",
                          "UndoBut",      "NextWtBut", "|",           "PrintSetUp",  "PrintRepBut",   "|",
                          "BreedsBut",    "OptionBut", "Personalise", "|",           "WebBut",        "Help"}));
    QCOMPARE(tips, (QStringList{"Exit Fenwarra",
                                "New Case",
                                "Open Existing Case",
                                "Close Case",
                                "Close All Cases",
                                "Edit Case Details",
                                "List cases due a re-weighing",
                                "Diet Calculator",
                                "Diet Cost Calculator",
                                "View Growth Curves",
                                "Zoom Graph",
                                "Undo to previous weight data",
                                "Enter Next Weight",
                                "Printer Setup",
                                "Print Preview of Report",
                                "List of K9 Breed Weights",
                                "Options",
                                "Personalisation",
                                "Web Browser",
                                "Help File"}));
}

// Toolbar keys with no case window open: what the user is told.
void FrameTest::toolbarRouting_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("message");
    QTest::newRow("NextWtBut") << "NextWtBut"
                               << "No document open to enter a next weight!";
    QTest::newRow("UndoBut") << "UndoBut"
                             << "No document open to undo to previous weight!";
    QTest::newRow("ZoomBut") << "ZoomBut"
                             << "No document open to zoom!";
    QTest::newRow("PupKitBut") << "PupKitBut"
                               << "No document open for which to display a growth curve!";
    QTest::newRow("CloseCase") << "CloseCase"
                               << "No open documents to close";
    QTest::newRow("EExit") << "EExit"
                           << "Do you really want to exit the Fenwarra?";
    QTest::newRow("CloseAllCases silent") << "CloseAllCases"
                                          << "";
    QTest::newRow("DietCalcBut asks the unit, no message") << "DietCalcBut"
                                                           << "";
    // Keys are compared exactly: another case or an unknown key does nothing.
    QTest::newRow("nextwtbut") << "nextwtbut"
                               << "";
    QTest::newRow("unknown") << "Nothing"
                             << "";
}

void FrameTest::toolbarRouting()
{
    QFETCH(QString, key);
    QFETCH(QString, message);
    World w;
    if (key == QLatin1String("EExit"))
        w.prompt.answer(Prompt::Answer::No);
    bool unitsAsked = false;
    if (key == QLatin1String("DietCalcBut"))
        QTimer::singleShot(0, [&unitsAsked] {
            if (auto *choice = qobject_cast<frmUnitsChoice *>(QApplication::activeModalWidget())) {
                unitsAsked = true;
                choice->reject();
            }
        });
    w.frame.tbToolBar_ButtonClick(key);
    QCOMPARE(unitsAsked, key == QLatin1String("DietCalcBut"));
    QCOMPARE(w.prompt.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(w.ended, 0);
    FW_VERIFY_PROMPTS(w.prompt);
}

void FrameTest::helpButtonOpensSearch()
{
    World w;
    App().HelpFilePath = w.env.appPath() + QStringLiteral("FW2P0.hlp");
    w.frame.findChild<QAction *>(QStringLiteral("Help"))->trigger();
    FW_VERIFY_PROMPTS(w.prompt);
    QCOMPARE(w.prompt.count(), 0);
    auto *help = qobject_cast<HelpWindow *>(Help::window());
    QVERIFY(help);
    QVERIFY(help->browser()->showsSearch());
    // The Contents item shows the contents, not the search.
    w.action(QStringLiteral("mnuHelpContents"))->trigger();
    QVERIFY(!help->browser()->showsSearch());
    help->close();
}

void FrameTest::noCaseMessages_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("icon");
    const int critical = int(Prompt::Icon::Critical);
    QTest::newRow("Next Weight") << "mnuNextWt"
                                 << "No document open to enter a next weight!" << critical;
    QTest::newRow("Undo") << "mnuUndoLastWt"
                          << "No document open to undo to previous weight!" << critical;
    QTest::newRow("Zoom") << "mnuZoom"
                          << "No document open to zoom!" << critical;
    QTest::newRow("Growth Curve") << "mnuGrowthCurve"
                                  << "No document open for which to display a growth curve!" << critical;
    QTest::newRow("Close") << "mnuFileClose"
                           << "No open documents to close" << int(Prompt::Icon::Exclamation);
}

void FrameTest::noCaseMessages()
{
    QFETCH(QString, item);
    QFETCH(QString, message);
    QFETCH(int, icon);
    World w;
    App().CurrCaseNo = QStringLiteral("7");
    w.action(item)->trigger();
    QCOMPARE(w.prompt.count(), 1);
    QCOMPARE(w.prompt.last().text, message);
    QCOMPARE(int(w.prompt.last().icon), icon);
    QCOMPARE(w.prompt.last().buttons, Prompt::Buttons::OK);
    QCOMPARE(w.prompt.last().title, kTitle);
    // Nothing of the current case changes when there is no window to take it.
    QCOMPARE(App().CurrCaseNo, QStringLiteral("7"));
}

void FrameTest::forwardingPressesButtons_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("button");
    QTest::newRow("Next Weight") << "mnuNextWt"
                                 << "NextWt";
    QTest::newRow("Undo") << "mnuUndoLastWt"
                          << "UndoToLastWt";
    QTest::newRow("Zoom") << "mnuZoom"
                          << "Zoom";
    QTest::newRow("Growth Curve") << "mnuGrowthCurve"
                                  << "GrowthCv";
    QTest::newRow("Diet Calculator") << "mnuDietCalc"
                                     << "DietCalcMe";
}

void FrameTest::forwardingPressesButtons()
{
    QFETCH(QString, item);
    QFETCH(QString, button);
    World w;
    FakeCase *first = w.addCase(QStringLiteral("Case# 3, Tib Jones"));
    FakeCase *second = w.addCase(QStringLiteral("Case# 12, Rex Smith"));
    App().DietCalcStandAlone = -1;
    w.action(item)->trigger();
    // Only the active window's button is pressed, once.
    QCOMPARE(second->pressed, QStringList{button});
    QVERIFY(first->pressed.isEmpty());
    QCOMPARE(w.prompt.count(), 0);
    if (button == QLatin1String("GrowthCv")) {
        // The case and species are handed over before the button is pressed.
        QCOMPARE(second->caseNoAtPress, QStringLiteral("12"));
        QCOMPARE(second->speciesAtPress, QStringLiteral("Dog"));
    }
    if (button == QLatin1String("DietCalcMe"))
        QCOMPARE(App().DietCalcStandAlone, qint16(0));
}

void FrameTest::childThatIsNoCaseWindow()
{
    World w;
    auto *viewer = new QWidget;
    viewer->setWindowTitle(QStringLiteral("Report"));
    w.frame.addChild(viewer);
    App().CurrCaseNo = QStringLiteral("4");
    w.action(QStringLiteral("mnuNextWt"))->trigger();
    w.action(QStringLiteral("mnuGrowthCurve"))->trigger();
    const QString description = QStringLiteral("Object doesn't support this property or method");
    QCOMPARE(w.prompt.texts(), (QStringList{description, description}));
    QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
    QCOMPARE(w.prompt.last().title, kTitle);
    QCOMPARE(App().CurrCaseNo, QStringLiteral("4"));
    // Close works on any child window.
    w.action(QStringLiteral("mnuFileClose"))->trigger();
    QCOMPARE(w.openChildren(), 0);
}

void FrameTest::dietCalculatorWithoutCase()
{
    World w;
    // The units choice comes first; closing it opens no calculator.
    auto answerUnitsChoice = [](bool proceed) {
        QTimer::singleShot(0, [proceed] {
            auto *choice = qobject_cast<frmUnitsChoice *>(QApplication::activeModalWidget());
            QVERIFY(choice);
            if (proceed)
                choice->Continue_Click();
            else
                choice->reject();
        });
    };
    App().DietCalcStandAlone = 0;
    answerUnitsChoice(false);
    w.action(QStringLiteral("mnuDietCalc"))->trigger();
    QCOMPARE(App().DietCalcStandAlone, qint16(-1));
    QVERIFY(!w.frame.findChild<DietCalculator *>());
    QCOMPARE(w.prompt.count(), 0);
    // A child that is no case window also leaves the calculator on its own.
    App().DietCalcStandAlone = 0;
    w.frame.addChild(new QWidget);
    answerUnitsChoice(true);
    w.action(QStringLiteral("mnuDietCalc"))->trigger();
    QCOMPARE(App().DietCalcStandAlone, qint16(-1));
    auto *calc = w.frame.findChild<DietCalculator *>();
    QVERIFY(calc && calc->isVisible() && !calc->servesCase());
    QCOMPARE(w.prompt.count(), 0);
}

void FrameTest::closeAndCloseAll()
{
    World w;
    w.addCase(QStringLiteral("Case# 1, A B"));
    w.addCase(QStringLiteral("Case# 2, C D"));
    FakeCase *third = w.addCase(QStringLiteral("Case# 3, E F"));
    QPointer<QMdiSubWindow> thirdWindow = w.frame.mdiArea()->currentSubWindow();
    QCOMPARE(w.frame.activeChild(), third);

    w.action(QStringLiteral("mnuFileClose"))->trigger();
    QCOMPARE(w.openChildren(), 2);
    QVERIFY(!w.frame.mdiArea()->subWindowList().contains(thirdWindow.data()));
    // The next window becomes the active one.
    QVERIFY(w.frame.activeChild());

    w.action(QStringLiteral("mnuFileCloseAll"))->trigger();
    QCOMPARE(w.openChildren(), 0);
    QVERIFY(!w.frame.activeChild());
    w.action(QStringLiteral("mnuFileCloseAll"))->trigger();
    QCOMPARE(w.prompt.count(), 0);
    FW_VERIFY_PROMPTS(w.prompt);
}

void FrameTest::dietRecommendationHandBack()
{
    World w;
    // No case window: the hand-back is dropped without a word.
    w.frame.Command1_Click(nullptr, QStringLiteral("Feed 2 cups a day"));
    QCOMPARE(w.prompt.count(), 0);

    FakeCase *c = w.addCase(QStringLiteral("Case# 5, Rex Smith"));
    w.frame.Command1_Click(c, QStringLiteral("*"));
    QCOMPARE(c->DietRecMe->toPlainText(), QStringLiteral("before"));

    w.frame.Command1_Click(c, QStringLiteral("**"));
    QCOMPARE(c->DietRecMe->toPlainText(), QStringLiteral("before"));
    QCOMPARE(c->focusWidget(), c->DietRecMe);

    w.frame.Command1_Click(c, QStringLiteral("Feed 2 cups a day"));
    QCOMPARE(c->DietRecMe->toPlainText(), QStringLiteral("Feed 2 cups a day"));
    QCOMPARE(w.prompt.count(), 0);
}

void FrameTest::exitNoChangesNothing()
{
    World w;
    w.frame.show();
    w.addCase(QStringLiteral("Case# 5, Rex Smith"));
    w.frame.setRecentCaption(1, QStringLiteral("Case# 5, Rex Smith"));
    App().Linked = QStringLiteral("1");
    w.prompt.answer(Prompt::Answer::No);
    QVERIFY(!w.frame.close());

    QCOMPARE(w.prompt.count(), 1);
    QCOMPARE(w.prompt.last().text, QStringLiteral("Do you really want to exit the Fenwarra?"));
    QCOMPARE(w.prompt.last().icon, Prompt::Icon::Question);
    QCOMPARE(w.prompt.last().buttons, Prompt::Buttons::YesNo);
    QCOMPARE(w.prompt.last().title, kTitle);
    QVERIFY(w.frame.isVisible());
    QCOMPARE(w.openChildren(), 1);
    QCOMPARE(w.ended, 0);
    QCOMPARE(setting("Recent", "C1"), QStringLiteral("<unset>"));
    QCOMPARE(setting("LinkData", "Linked"), QStringLiteral("<unset>"));
    QCOMPARE(setting("Settings", "MainLeft"), QStringLiteral("<unset>"));
    FW_VERIFY_PROMPTS(w.prompt);
}

void FrameTest::exitRunsOnWhenAWindowStaysOpen()
{
    World w;
    w.frame.show();
    w.addCase(QStringLiteral("Case# 5, Rex Smith"))->keepOpen = true;
    w.prompt.answer(Prompt::Answer::Yes);
    w.action(QStringLiteral("mnuFileExit"))->trigger();
    QCOMPARE(w.ended, 0);
    QCOMPARE(w.openChildren(), 1);
    QVERIFY(w.frame.isVisible());
    FW_VERIFY_PROMPTS(w.prompt);
}

void FrameTest::exitYesSavesAndEnds()
{
    World w;
    w.frame.move(100, 50);
    w.frame.resize(600, 400);
    w.frame.show();
    w.addCase(QStringLiteral("Case# 5, Rex Smith"));
    w.addCase(QStringLiteral("Case# 6, Tib Jones"));
    w.frame.setRecentCaption(1, QStringLiteral("Case# 6, Tib Jones"));
    w.frame.setRecentCaption(2, QStringLiteral("Case# 5, Rex Smith"));
    App().Linked = QStringLiteral("1");
    w.prompt.answer(Prompt::Answer::Yes);
    w.action(QStringLiteral("mnuFileExit"))->trigger();

    QCOMPARE(w.ended, 1);
    QCOMPARE(w.openChildren(), 0);
    QVERIFY(!w.frame.isVisible());
    QCOMPARE(setting("Recent", "C1"), QStringLiteral("Case# 6, Tib Jones"));
    QCOMPARE(setting("Recent", "C2"), QStringLiteral("Case# 5, Rex Smith"));
    for (int i = 3; i <= 10; ++i)
        QCOMPARE(setting("Recent", QStringLiteral("C%1").arg(i)), QStringLiteral("?"));
    QCOMPARE(setting("LinkData", "Linked"), QStringLiteral("0"));
    QCOMPARE(setting("Settings", "MainLeft"), QString::number(w.frame.pos().x() * 15));
    QCOMPARE(setting("Settings", "MainTop"), QString::number(w.frame.pos().y() * 15));
    QCOMPARE(setting("Settings", "MainWidth"), QStringLiteral("9000"));
    QCOMPARE(setting("Settings", "MainHeight"), QStringLiteral("6000"));
    FW_VERIFY_PROMPTS(w.prompt);
}

void FrameTest::exitYesNormalStartLeavesLinkMode()
{
    World w;
    App().Linked = QStringLiteral("0");
    w.prompt.answer(Prompt::Answer::Yes);
    QVERIFY(w.frame.MDIForm_QueryUnload());
    QCOMPARE(setting("LinkData", "Linked"), QStringLiteral("<unset>"));
    QCOMPARE(setting("Recent", "C10"), QStringLiteral("?"));
    QCOMPARE(w.ended, 1);
}

void FrameTest::exitMinimisedKeepsGeometry()
{
    World w;
    Settings::save(QStringLiteral("Settings"), QStringLiteral("MainLeft"), QStringLiteral("2000"));
    w.frame.show();
    w.frame.showMinimized();
    QVERIFY(w.frame.isMinimized());
    w.prompt.answer(Prompt::Answer::Yes);
    QVERIFY(w.frame.MDIForm_QueryUnload());
    QCOMPARE(setting("Settings", "MainLeft"), QStringLiteral("2000"));
    QCOMPARE(setting("Settings", "MainWidth"), QStringLiteral("<unset>"));
    QCOMPARE(setting("Recent", "C1"), QStringLiteral("?"));
}

void FrameTest::endAtOnceAsksAndSavesNothing()
{
    World w;
    w.frame.show();
    w.addCase(QStringLiteral("Case# 5, Rex Smith"));
    App().Linked = QStringLiteral("2");
    w.frame.endAtOnce();
    QCOMPARE(w.ended, 1);
    QCOMPARE(w.openChildren(), 0);
    QCOMPARE(w.prompt.count(), 0);
    QCOMPARE(setting("Recent", "C1"), QStringLiteral("<unset>"));
    QCOMPARE(setting("Settings", "MainLeft"), QStringLiteral("<unset>"));
    // Closing the frame afterwards asks nothing either.
    QVERIFY(w.frame.close());
    QCOMPARE(w.prompt.count(), 0);
}

void FrameTest::frameLoadGeometry_data()
{
    QTest::addColumn<QStringList>("twips"); // left, top, width, height; empty: not set
    QTest::addColumn<QRect>("expected");
    QTest::newRow("defaults") << QStringList() << QRect(67, 67, 433, 433);
    QTest::newRow("saved") << QStringList{"1500", "750", "9000", "6000"} << QRect(100, 50, 600, 400);
    QTest::newRow("not numbers") << QStringList{"abc", "", "9000", "x1"} << QRect(67, 67, 600, 433);
}

void FrameTest::frameLoadGeometry()
{
    QFETCH(QStringList, twips);
    QFETCH(QRect, expected);
    TestEnv env;
    ScriptedPrompt prompt;
    const char *keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    for (int i = 0; i < twips.size(); ++i)
        Settings::save(QStringLiteral("Settings"), QLatin1String(keys[i]), twips[i]);
    frmMain frame;
    QCOMPARE(QRect(frame.pos(), frame.size()), expected);
    QCOMPARE(frame.windowTitle(), QStringLiteral("Fenwarra 3.0.0 NW"));
    // Every window shows the program's paw, not the toolkit's logo.
    QCOMPARE(QApplication::windowIcon().availableSizes(), (QList<QSize>{QSize(32, 32), QSize(64, 64)}));
}

void FrameTest::fitFrameToScreen_data()
{
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("frame"); // borders at the sides; title bar and borders above and below
    QTest::addColumn<QRect>("expected");
    const QRect small(0, 0, 1280, 770); // 1280x800 less a panel
    const QSize titleBar(0, 30);
    QTest::newRow("fits as saved") << QRect(67, 67, 433, 433) << small << titleBar << QRect(67, 67, 433, 433);
    QTest::newRow("saved on a large screen")
        << QRect(0, 0, 1920, 1061) << small << titleBar << QRect(0, 0, 1280, 770 - 30);
    QTest::newRow("off to the right and below")
        << QRect(1000, 600, 800, 500) << small << titleBar << QRect(480, 240, 800, 500);
    QTest::newRow("above and left of the screen")
        << QRect(-300, -50, 600, 400) << small << titleBar << QRect(0, 0, 600, 400);
    QTest::newRow("second screen to the right")
        << QRect(1500, 100, 2000, 900) << QRect(1280, 0, 1920, 1050) << titleBar << QRect(1280, 100, 1920, 900);
    QTest::newRow("scale 2: the screen is half as large in window units")
        << QRect(0, 0, 1920, 1061) << QRect(0, 0, 640, 385) << titleBar << QRect(0, 0, 640, 355);
    QTest::newRow("borders: as wide as the screen")
        << QRect(0, 0, 800, 433) << QRect(0, 0, 800, 600) << QSize(8, 38) << QRect(0, 0, 792, 433);
    QTest::newRow("borders: wider, to the right")
        << QRect(300, 0, 900, 433) << QRect(0, 0, 800, 600) << QSize(8, 38) << QRect(0, 0, 792, 433);
    QTest::newRow("borders: fits as saved")
        << QRect(100, 50, 600, 400) << QRect(0, 0, 800, 600) << QSize(8, 38) << QRect(100, 50, 600, 400);
}

void FrameTest::fitFrameToScreen()
{
    QFETCH(QRect, wanted);
    QFETCH(QRect, available);
    QFETCH(QSize, frame);
    QFETCH(QRect, expected);
    const QRect fitted = FitFrameToScreen(wanted, available, frame);
    QCOMPARE(fitted, expected);
    // The whole frame, borders and title bar included, lies on the screen.
    QVERIFY(available.contains(QRect(fitted.topLeft(), fitted.size() + frame)));
}

// A frame saved as wide as the screen comes back, once shown with its menus,
// toolbar, status bar and window frame, no wider than the screen.
void FrameTest::frameFitsANarrowScreen()
{
    TestEnv env;
    ScriptedPrompt prompt;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const auto &[key, twips] :
         {std::pair{"MainLeft", 0}, {"MainTop", 0}, {"MainWidth", area.width() * 15}, {"MainHeight", 6500}})
        Settings::save(QStringLiteral("Settings"), QLatin1String(key), QString::number(twips));
    frmMain frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY2(
        area.contains(frame.frameGeometry()),
        qPrintable(QStringLiteral("%1 wide on a screen %2 wide").arg(frame.frameGeometry().width()).arg(area.width())));
}

void FrameTest::recentCaseNumber_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("caseNo");
    QTest::newRow("case caption") << "Case# 12, Rex Smith"
                                  << "12";
    QTest::newRow("long number") << "Case# 1234, Tib Jones"
                                 << "1234";
    QTest::newRow("never filled") << "?"
                                  << "0";
    QTest::newRow("Case: form") << "Smith, Rex, Case: 12, Dog"
                                << "12";
    QTest::newRow("first Case: counts") << "Case: 7 and Case: 9"
                                        << "7";
    QTest::newRow("case: differs") << "Smith case: 12"
                                   << "0";
    QTest::newRow("empty") << ""
                           << "0";
}

void FrameTest::recentCaseNumber()
{
    QFETCH(QString, caption);
    QFETCH(QString, caseNo);
    QCOMPARE(RecentCaseNumber(caption), caseNo);
}

void FrameTest::recentMenu()
{
    World w;
    for (int i = 1; i <= 10; ++i)
        QCOMPARE(w.frame.recentCaption(i), QStringLiteral("?"));
    for (int i = 1; i <= 10; ++i)
        w.frame.setRecentCaption(i, QStringLiteral("Case# %1, Dog Owner").arg(i));
    w.frame.pushRecent(QStringLiteral("Case# 42, Rex Smith & Sons"));
    QCOMPARE(w.frame.recentCaption(1), QStringLiteral("Case# 42, Rex Smith & Sons"));
    QCOMPARE(w.frame.recentCaption(2), QStringLiteral("Case# 1, Dog Owner"));
    QCOMPARE(w.frame.recentCaption(10), QStringLiteral("Case# 9, Dog Owner"));
    // An ampersand in a name is shown, not taken as an accelerator.
    QCOMPARE(w.action(QStringLiteral("RecentCli(1)"))->text(), QStringLiteral("Case# 42, Rex Smith && Sons"));
    QCOMPARE(w.action(QStringLiteral("RecentCli(10)"))->text(), QStringLiteral("Case# 9, Dog Owner"));
}

void FrameTest::recentItemReopensCase()
{
    World w;
    const int no = CaseBuilder().add();
    const QString caption = QStringLiteral("Case# %1, Rex Smith").arg(no);
    w.frame.setRecentCaption(3, caption);
    w.action(QStringLiteral("RecentCli(3)"))->trigger();
    QCOMPARE(App().CurrCaseNo, QString::number(no));
    QCOMPARE(w.openChildren(), 1);
    QCOMPARE(w.frame.recentCaption(1), caption);
    QCOMPARE(w.frame.recentCaption(4), caption);

    // An entry never filled reads case 0, which no case has.
    w.prompt.clear();
    w.action(QStringLiteral("RecentCli(10)"))->trigger();
    // The case still open is the current one again.
    QCOMPARE(App().CurrCaseNo, QString::number(no));
    QCOMPARE(w.prompt.texts(), QStringList{QStringLiteral(
                                   "This record no longer exists and must have been deleted. Please choose again.")});
    QCOMPARE(w.openChildren(), 1);
}

void FrameTest::windowMenuListsChildren()
{
    World w;
    auto *menu = w.frame.findChild<QMenu *>(QStringLiteral("mnuWindow"));
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().size(), 4);

    w.addCase(QStringLiteral("Case# 1, Rex Smith"));
    FakeCase *second = w.addCase(QStringLiteral("Case# 2, Tib & Co"));
    QMdiSubWindow *secondWindow = w.frame.mdiArea()->currentSubWindow();
    w.frame.mdiArea()->setActiveSubWindow(w.frame.mdiArea()->subWindowList().first());
    emit menu->aboutToShow();
    QList<QAction *> items = menu->actions();
    QCOMPARE(items.size(), 7);
    QVERIFY(items[4]->isSeparator());
    QCOMPARE(items[5]->text(), QStringLiteral("&1 Case# 1, Rex Smith"));
    QCOMPARE(items[6]->text(), QStringLiteral("&2 Case# 2, Tib && Co"));
    QVERIFY(items[5]->isChecked());
    QVERIFY(!items[6]->isChecked());
    // Choosing an entry makes that window the active one.
    items[6]->trigger();
    QCOMPARE(w.frame.mdiArea()->currentSubWindow(), secondWindow);
    QCOMPARE(w.frame.activeChild(), second);
    // The list follows the windows: one closed, one entry less.
    w.frame.mnuFileClose_Click();
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().size(), 6);
}

// A child larger than the frame's area opens at the area's top left corner,
// as small as it can go, so its caption and left side are in sight; a child
// that fits keeps its size.
void FrameTest::largeChildOpensAtTheTopLeft()
{
    World w;
    w.frame.show(); // the default frame, 433 x 433 pixels
    QVERIFY(QTest::qWaitForWindowExposed(&w.frame));
    const QSize area = w.frame.mdiArea()->viewport()->size();
    auto *large = new QWidget;
    large->setMinimumSize(area.width() + 100, area.height() / 2);
    large->resize(area.width() + 200, area.height() + 200);
    QMdiSubWindow *largeWindow = w.frame.addChild(large);
    QCOMPARE(largeWindow->pos(), QPoint(0, 0));
    QCOMPARE(large->width(), area.width() + 100);
    QCOMPARE(largeWindow->height(), area.height());
    QCOMPARE(w.frame.activeChild(), large);

    auto *small = new QWidget;
    small->setMinimumSize(area / 3);
    w.frame.addChild(small);
    QCOMPARE(small->size(), area / 3);
}

// Tiled in a small frame, case windows keep the size their layout needs and
// are scrolled inside their sub-windows, so every control stays in reach;
// commands still reach the active case and closing a sub-window closes its case.
void FrameTest::tiledCaseWindowsScroll()
{
    World w;
    w.frame.resize(800, 600);
    w.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.frame));
    const QSize caseSize(989, 565);
    QList<FakeCase *> cases;
    for (int i = 1; i <= 3; ++i) {
        auto *c = new FakeCase(QStringLiteral("Case# %1, A B").arg(i));
        c->setMinimumSize(caseSize);
        w.frame.addChild(c);
        cases << c;
    }

    w.frame.mnuWindowTileVertical_Click();
    QCoreApplication::processEvents();
    for (FakeCase *c : cases) {
        QMdiSubWindow *sw = w.frame.subWindowOf(c);
        QVERIFY(sw);
        QCOMPARE(w.frame.childOf(sw), c);
        QCOMPARE(sw->windowTitle(), c->windowTitle());
        QVERIFY(sw->width() < caseSize.width());
        QVERIFY(c->width() >= caseSize.width() && c->height() >= caseSize.height());
        auto *scroll = qobject_cast<QScrollArea *>(sw->widget());
        QVERIFY(scroll);
        QVERIFY(scroll->horizontalScrollBar()->isVisible());
        QVERIFY(scroll->verticalScrollBar()->isVisible());
        // Scrolled to its end, the case's bottom right corner is in sight.
        scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum());
        scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
        const QPoint corner = c->mapTo(scroll->viewport(), c->rect().bottomRight());
        QVERIFY(scroll->viewport()->rect().contains(corner));
    }

    // The caption follows the case's own.
    cases[1]->setWindowTitle(QStringLiteral("Case# 2, C D"));
    QCOMPARE(w.frame.subWindowOf(cases[1])->windowTitle(), QStringLiteral("Case# 2, C D"));

    w.frame.mdiArea()->setActiveSubWindow(w.frame.subWindowOf(cases[1]));
    QCOMPARE(w.frame.activeChild(), cases[1]);
    w.action(QStringLiteral("mnuNextWt"))->trigger();
    QCOMPARE(cases[1]->pressed, QStringList{QStringLiteral("NextWt")});
    QVERIFY(cases[0]->pressed.isEmpty() && cases[2]->pressed.isEmpty());

    // Closing the sub-window asks the case to close.
    struct CloseCounter : QObject {
        int count = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Close)
                ++count;
            return false;
        }
    } counter;
    QPointer<FakeCase> second = cases[1];
    second->installEventFilter(&counter);
    w.frame.mnuFileClose_Click();
    QCOMPARE(counter.count, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!second);
    QCOMPARE(w.openChildren(), 2);
    QCOMPARE(w.prompt.count(), 0);
}

void FrameTest::arrangement()
{
    World w;
    w.frame.resize(800, 600);
    w.frame.show();
    for (int i = 1; i <= 3; ++i)
        w.addCase(QStringLiteral("Case# %1, A B").arg(i));
    const QList<QMdiSubWindow *> windows = w.frame.mdiArea()->subWindowList();
    const QRect area = w.frame.mdiArea()->viewport()->rect();

    w.frame.mnuWindowTileHorizontal_Click();
    for (QMdiSubWindow *sw : windows) {
        QCOMPARE(sw->width(), area.width());
        QVERIFY(qAbs(sw->height() - area.height() / 3) <= 1);
    }
    w.frame.mnuWindowTileVertical_Click();
    for (QMdiSubWindow *sw : windows) {
        QCOMPARE(sw->height(), area.height());
        QVERIFY(qAbs(sw->width() - area.width() / 3) <= 1);
    }
    // Minimised windows line up along the bottom, left to right.
    windows[0]->showMinimized();
    windows[2]->showMinimized();
    windows[0]->move(300, 100);
    windows[2]->move(20, 40);
    w.frame.mnuWindowArrangeIcons_Click();
    QCOMPARE(windows[0]->x(), 0);
    QCOMPARE(windows[0]->geometry().bottom(), area.bottom());
    QCOMPARE(windows[2]->y(), windows[0]->y());
    QVERIFY(windows[2]->x() >= windows[0]->geometry().right());
    w.frame.mnuWindowCascade_Click();
    QCOMPARE(w.prompt.count(), 0);
}

void FrameTest::barToggles()
{
    World w;
    w.frame.show();
    QAction *toolbarItem = w.action(QStringLiteral("mnuViewToolbar"));
    QAction *statusItem = w.action(QStringLiteral("mnuViewStatusBar"));
    auto *bar = w.frame.findChild<QToolBar *>(QStringLiteral("tbToolBar"));
    QVERIFY(toolbarItem->isChecked() && statusItem->isChecked());
    QVERIFY(bar->isVisible() && w.frame.statusBar()->isVisible());

    toolbarItem->trigger(); // through the menu
    QVERIFY(!toolbarItem->isChecked());
    QVERIFY(!bar->isVisible());
    w.frame.mnuViewToolbar_Click(); // as the handler
    QVERIFY(toolbarItem->isChecked());
    QVERIFY(bar->isVisible());

    statusItem->trigger();
    QVERIFY(!statusItem->isChecked());
    QVERIFY(!w.frame.statusBar()->isVisible());
    statusItem->trigger();
    QVERIFY(statusItem->isChecked());
    QVERIFY(w.frame.statusBar()->isVisible());
}

// Printer Setup is the platform's print dialog, with the printers it knows,
// printing to a PDF file among them; choosing that entry and a file name sets
// up the frame's printer to print there.
void FrameTest::printerSetupChoosesAFile()
{
    World w;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("setup.pdf"));
    Prompt::setBackend(nullptr); // the real dialog
    QString title;
    QStringList printers;
    auto *timer = new QTimer(&w.frame);
    timer->setInterval(10);
    connect(timer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        title = dialog->windowTitle();
        auto *list = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
        if (!list || !file) {
            dialog->reject();
            return;
        }
        for (int i = 0; i < list->count(); ++i)
            printers << list->itemText(i);
        list->setCurrentIndex(list->findText(QStringLiteral("PDF"), Qt::MatchContains));
        file->setText(pdf);
        dialog->accept();
    });
    timer->start();
    w.frame.findChild<QAction *>(QStringLiteral("mnuFilePrintSetup"))->trigger();
    Prompt::setBackend(&w.prompt);
    QCOMPARE(title, QStringLiteral("Printer Setup"));
    QVERIFY2(printers.filter(QStringLiteral("PDF")).size() == 1, qPrintable(printers.join(QLatin1String(", "))));
    QCOMPARE(w.frame.printer()->outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(w.frame.printer()->outputFileName(), pdf);
    QCOMPARE(w.prompt.count(), 0);
}

void FrameTest::helpWithoutHelpFile()
{
    World w;
    App().HelpFilePath.clear();
    w.action(QStringLiteral("mnuHelpContents"))->trigger();
    w.action(QStringLiteral("mnuHelpSearch"))->trigger();
    const QString text =
        QStringLiteral("Unable to display Help Contents. There is no Help associated with this project.");
    QCOMPARE(w.prompt.texts(), (QStringList{text, text}));
    QCOMPARE(w.prompt.last().icon, Prompt::Icon::Information);
    QCOMPARE(w.prompt.last().title, QStringLiteral("Fenwarra 3.0.0 NW"));
}

void FrameTest::statusBarAndSound()
{
    TestEnv env;
    ScriptedPrompt prompt;
    Clock::setNow(QDateTime(QDate(2024, 3, 5), QTime(14, 7)));
    frmMain frame;
    QCOMPARE(frame.statusBar()->objectName(), QStringLiteral("sbStatusBar"));
    QCOMPARE(frame.findChild<QLabel *>(QStringLiteral("Panels(1)"))->text(), QStringLiteral("Status"));
    QCOMPARE(frame.findChild<QLabel *>(QStringLiteral("Panels(2)"))->text(), QStringLiteral("05/03/2024"));
    QVERIFY(frame.findChild<QLabel *>(QStringLiteral("Panels(3)"))->text().contains(QLatin1String("07")));
    auto *hidden = frame.findChild<QLineEdit *>(QStringLiteral("HiddenText"));
    QVERIFY(hidden && hidden->isHidden());

    frame.findChild<QAction *>(QStringLiteral("MsgTorvin"))->trigger();
    QCOMPARE(Sound::lastRequested(), env.appPath() + QStringLiteral("Welcome.wav"));
    QCOMPARE(prompt.count(), 0);
}

FW_TEST(FrameTest)
#include "tst_frmMain.moc"
