// The case locator as the user meets it: the list and its count, narrowing as
// the surname is typed, selecting, Go To, the frame's command, and the popup
// actions with their questions and notes, also when the row changes meanwhile.
#include "cases/CaseListModel.h"
#include "cases/CaseOpening.h"
#include "cases/fmLocator.h"
#include "cases/frmDocument.h"
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/state/AppState.h"
#include "shell/frmMain.h"
#include "support/CaseBuilder.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <functional>

namespace {

const QString kGone = "This record no longer exists and must have been deleted. Please choose again.";

/// A scripted prompt that runs a step when a box with the given text shows:
/// what another workstation does while the user reads a question.
class InterruptingPrompt : public ScriptedPrompt {
public:
    QString when;
    std::function<void()> step;
    Prompt::Answer message(const Prompt::Box &box) override
    {
        if (step && box.text == when)
            step();
        return ScriptedPrompt::message(box);
    }
};

struct World {
    TestEnv env;
    InterruptingPrompt prompt;
    QPointer<fmLocator> loc;
    int smith = 0, comma = 0;

    World()
    {
        smith = CaseBuilder().telNo("555 0101").add();
        for (const char *s : {"Smallwood", "Sanders", "Adams", "O'Brien", "Ångström", "müller"})
            CaseBuilder().surname(QString::fromUtf8(s)).add();
        comma = CaseBuilder().surname("Smith, Jones").animal("Ruby").add();
    }
    ~World() { delete loc.data(); }

    /// What the frame does: bind Data1, press LoadList, show the window.
    void open()
    {
        loc = new fmLocator;
        BindToClinicDB(*control<DataControl>(loc, "Data1"));
        loc->LoadList_Click();
        loc->show();
        QVERIFY(QTest::qWaitForWindowExposed(loc));
    }
    int count() const { return loc->listModel()->rowCount(); }
    QString surnameAt(int row) { return field(loc->listModel()->caseNo(row), "Surname").toString(); }
    void type(const QString &text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(control<QLineEdit>(loc, "Narrower"), &press);
        }
    }
    void key(Qt::Key k) { QTest::keyClick(control<QLineEdit>(loc, "Narrower"), k); }
    QPoint pointOf(qint64 caseNo) const
    {
        const QModelIndex index = loc->listModel()->index(loc->listModel()->rowOfCase(caseNo));
        return control<QListView>(loc, "ClientListing")->visualRect(index).center();
    }
    void click(qint64 caseNo, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(control<QListView>(loc, "ClientListing")->viewport(), button, Qt::NoModifier,
                          pointOf(caseNo));
    }
    void trigger(const QString &action) { loc->findChild<QAction *>(action)->trigger(); }
    QVariant field(qint64 caseNo, const QString &name)
    {
        return ClinicDb::scalar(env.db(), QString("SELECT [%1] FROM [Clients] WHERE [CaseNo] = ?").arg(name), {caseNo});
    }
    /// The boxes shown so far: text, icon, buttons and title (empty: the usual one).
    QStringList boxes() const
    {
        QStringList out;
        for (const ShownBox &b : prompt.shown())
            out << QString("%1|%2|%3|%4").arg(b.text).arg(int(b.icon)).arg(int(b.buttons)).arg(b.title);
        return out;
    }
};

QString box(const QString &text, Prompt::Icon icon, const QString &title = Prompt::kTitle,
            Prompt::Buttons buttons = Prompt::Buttons::OK)
{
    return QString("%1|%2|%3|%4").arg(text).arg(int(icon)).arg(int(buttons)).arg(title);
}

} // namespace

class fmLocatorTest : public QObject {
    Q_OBJECT
private slots:
    void listsEveryCase()
    {
        World w;
        // Entered after Rex Smith: the lines of one surname go by the animal's
        // name, then by case number.
        const int max = CaseBuilder().surname("SMITH").animal("max").add();
        const int bella = CaseBuilder().surname("smith").animal("Bella").add();
        for (int reserved : {99, 98}) // never completed
            ClinicDb::exec(w.env.db(), "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {reserved});
        w.open();
        QCOMPARE(w.loc->windowTitle(), QString("Case Locator"));
        QCOMPARE(w.count(), 12);
        QCOMPARE(control<QLabel>(w.loc, "ItemsFound")->text(), QString(" 12"));
        QCOMPARE(w.loc->listModel()->line(0), QString(", , Case: 98, , Tel."));
        QCOMPARE(w.loc->listModel()->line(1), QString(", , Case: 99, , Tel."));
        QStringList surnames;
        for (int i = 2; i < w.count(); ++i)
            surnames << w.surnameAt(i);
        QCOMPARE(surnames, (QStringList{"Adams", QString::fromUtf8("müller"), "O'Brien", "Sanders", "Smallwood",
                                        "smith", "SMITH", "Smith", "Smith, Jones", QString::fromUtf8("Ångström")}));
        QCOMPARE(w.loc->listModel()->line(7), QString("smith, Bella, Case: %1, Dog, Tel.01632 960123").arg(bella));
        QCOMPARE(w.loc->listModel()->line(8), QString("SMITH, max, Case: %1, Dog, Tel.01632 960123").arg(max));
        QCOMPARE(w.loc->listModel()->line(9), QString("Smith, Rex, Case: 1, Dog, Tel.555 0101"));
        QCOMPARE(w.loc->listIndex(), -1);
        QCOMPARE(w.prompt.count(), 0);
    }

    void typingNarrowsAndBackspaceWidens()
    {
        World w;
        w.open();
        w.type("S");
        QCOMPARE(w.count(), 4);
        QCOMPARE(control<QLabel>(w.loc, "ItemsFound")->text(), QString(" 4"));
        w.type("m");
        QCOMPARE(w.count(), 3);
        w.key(Qt::Key_Backspace);
        QCOMPARE(control<QLineEdit>(w.loc, "Narrower")->text(), QString("S"));
        QCOMPARE(w.count(), 4);
        w.key(Qt::Key_Backspace);
        QCOMPARE(w.count(), 8);
        w.loc->listModel()->clear();
        w.key(Qt::Key_Backspace); // in an empty box: nothing
        QCOMPARE(w.count(), 0);
        // The list follows the box wherever the caret stands.
        w.type("Sith");
        w.key(Qt::Key_Home);
        w.key(Qt::Key_Right);
        w.type("m");
        QCOMPARE(control<QLineEdit>(w.loc, "Narrower")->text(), QString("Smith"));
        QCOMPARE(w.count(), 2);
        QCOMPARE(w.prompt.texts(), QStringList(3, "No current record.")); // "Si", "Sit", "Sith"
    }

    void typedTextMatchesLiterallyWithoutRegardToCase_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("surname");
        QTest::newRow("ring") << QString::fromUtf8("åNG") << QString::fromUtf8("Ångström");
        QTest::newRow("umlaut") << QString::fromUtf8("MÜ") << QString::fromUtf8("müller");
        QTest::newRow("apostrophe") << "o'b"
                                    << "O'Brien";
        QTest::newRow("quote") << "Quote\""
                               << "Quote\"d";
        QTest::newRow("percent") << "100%"
                                 << "100% Pure";
        QTest::newRow("underscore and star") << "U_*"
                                             << "U_*x";
    }
    void typedTextMatchesLiterallyWithoutRegardToCase()
    {
        QFETCH(QString, typed);
        QFETCH(QString, surname);
        World w;
        for (const char *s : {"Quote\"d", "Quoted", "100% Pure", "1000 Pure", "U_*x", "Ua*x", "U_yx"})
            CaseBuilder().surname(s).add();
        w.open();
        w.type(typed);
        QCOMPARE(w.count(), 1);
        QCOMPARE(w.surnameAt(0), surname);
        QCOMPARE(w.prompt.count(), 0);
    }

    void keyStrokesThatFindNothingOrAreRefused()
    {
        World w;
        w.open();
        w.type("S");
        w.key(Qt::Key_Escape);
        QCOMPARE(w.count(), 4);
        QVERIFY(w.loc->isVisible());
        w.type("x");
        QCOMPARE(w.count(), 0);
        QCOMPARE(control<QLabel>(w.loc, "ItemsFound")->text(), QString(" 0"));
        QCOMPARE(w.boxes(), (QStringList{box("Not a valid key stroke to search upon!", Prompt::Icon::Critical),
                                         box("No current record.", Prompt::Icon::Information)}));
    }

    void selectingStandsOnTheCase()
    {
        World w;
        w.open();
        for (int caseNo : {w.smith, w.comma}) {
            w.click(caseNo);
            QCOMPARE(w.loc->listIndex(), w.loc->listModel()->rowOfCase(caseNo));
            const CaseRef selected = w.loc->selectedCase();
            QCOMPARE(selected.caseNo, QString::number(caseNo));
            // The names are the row's, whole: a surname may hold a comma.
            QCOMPARE(selected.surname, caseNo == w.smith ? QString("Smith") : QString("Smith, Jones"));
            QCOMPARE(selected.animalName, caseNo == w.smith ? QString("Rex") : QString("Ruby"));
            QCOMPARE(control<DataControl>(w.loc, "Data1")->recordset().field("CaseNo").toInt(), caseNo);
        }
        QCOMPARE(w.prompt.count(), 0);
    }

    void goToWithoutSelectionRefuses()
    {
        World w;
        w.open();
        QTest::mouseClick(control<QPushButton>(w.loc, "GoToCase"), Qt::LeftButton);
        w.key(Qt::Key_Return); // Enter presses Go To
        const QString refusal = box("You must first select a case", Prompt::Icon::Critical);
        QCOMPARE(w.boxes(), (QStringList{refusal, refusal}));
        QVERIFY(w.loc->isVisible());
    }

    void goToOpensTheSelectedCase_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("button") << 0;
        QTest::newRow("double click") << 1;
        QTest::newRow("enter") << 2;
    }
    void goToOpensTheSelectedCase()
    {
        QFETCH(int, how);
        World w;
        frmMain frame;
        frame.setEndProgram([] {});
        w.open();
        w.click(w.smith);
        App().CurrCaseNo = QString::number(w.comma); // another window changes the current case
        if (how == 0)
            QTest::mouseClick(control<QPushButton>(w.loc, "GoToCase"), Qt::LeftButton);
        else if (how == 1)
            QTest::mouseDClick(control<QListView>(w.loc, "ClientListing")->viewport(), Qt::LeftButton, Qt::NoModifier,
                               w.pointOf(w.smith));
        else
            w.key(Qt::Key_Return);
        QTRY_VERIFY(w.loc.isNull()); // the locator unloads itself
        QCOMPARE(frame.recentCaption(1), QString("Case# 1, Rex Smith"));
        auto *doc = qobject_cast<frmDocument *>(frame.activeChild());
        QVERIFY(doc);
        QCOMPARE(doc->windowTitle(), QString("Case# 1, Rex Smith"));
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void theFramesCommandKeepsOneLocator()
    {
        World w;
        frmMain frame;
        frame.setEndProgram([] {});
        frame.mnuFileOpen_Click();
        const QList<fmLocator *> first = frame.findChildren<fmLocator *>();
        QCOMPARE(first.size(), 1);
        w.loc = first.first();
        QVERIFY(w.loc->isVisible());
        QCOMPARE(w.count(), 8);
        w.type("Sm");
        // Again while open: the same window, the whole list, the box as it was.
        frame.mnuFileOpen_Click();
        QCOMPARE(frame.findChildren<fmLocator *>(), first);
        QCOMPARE(w.count(), 8);
        QCOMPARE(control<QLineEdit>(w.loc, "Narrower")->text(), QString("Sm"));
        // Closed, it is built afresh.
        w.loc->close();
        frame.mnuFileOpen_Click();
        QTRY_VERIFY(w.loc.isNull());
        const QList<fmLocator *> second = frame.findChildren<fmLocator *>();
        QCOMPARE(second.size(), 1);
        QCOMPARE(control<QLineEdit>(second.first(), "Narrower")->text(), QString());
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void rightClickShowsThePopupForTheSelectedLine()
    {
        World w;
        w.open();
        w.click(w.smith);
        const int selected = w.loc->listIndex();
        w.click(w.comma, Qt::RightButton);
        QCOMPARE(w.loc->listIndex(), selected);
        QVERIFY(control<QMenu>(w.loc, "Hidden")->isVisible());
        QStringList items;
        for (QAction *a : control<QMenu>(w.loc, "Hidden")->actions())
            items << a->objectName() + '=' + a->text();
        QCOMPARE(items, (QStringList{"Activate=&Activate", "Inactivate=&Inactivate", "DeleteCase=&Delete This Case",
                                     "mnuHiddenBar=", "Leave=&Leave"}));
        control<QMenu>(w.loc, "Hidden")->hide();
    }

    void popupActions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("questionTitle");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("noteTitle");
        QTest::addColumn<int>("activeAfter"); // -1: deleted; the case starts inactive
        const QString act = "Are you sure you want to Activate Rex Smith's record?";
        const QString inact = "Are you sure you want to inactivate Rex Smith's record?";
        const QString del = "Are you sure you want to delete Rex Smith's record from the database?";
        QTest::newRow("activate, yes") << "Activate" << true << act << "Activation of Record"
                                       << "Activation complete."
                                       << "Activation Confirmed" << 1;
        QTest::newRow("activate, no") << "Activate" << false << act << "Activation of Record"
                                      << "Rex Smith's record remains unchanged"
                                      << "No Activation" << 0;
        QTest::newRow("inactivate, yes") << "Inactivate" << true << inact << "Inactivation of Record"
                                         << "Inactivation complete."
                                         << "Inactivation Confirmed" << 0;
        QTest::newRow("inactivate, no") << "Inactivate" << false << inact << "Inactivation of Record"
                                        << "Rex Smith's record remains active"
                                        << "No Inactivation" << 0;
        QTest::newRow("delete, yes") << "DeleteCase" << true << del << "Deletion of Record"
                                     << "Deletion completed."
                                     << "Deletion Confirmed" << -1;
        QTest::newRow("delete, no") << "DeleteCase" << false << del << "Deletion of Record"
                                    << "Rex Smith's record remains intact"
                                    << "No Deletion" << 0;
    }
    void popupActions()
    {
        QFETCH(QString, action);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        QFETCH(QString, questionTitle);
        QFETCH(QString, note);
        QFETCH(QString, noteTitle);
        QFETCH(int, activeAfter);
        World w;
        ClinicDb::exec(w.env.db(), "UPDATE [Clients] SET [Active] = 0 WHERE [CaseNo] = ?", {w.smith});
        w.open();
        w.type("Sm");
        w.click(w.smith);
        w.prompt.answer(yes ? Prompt::Answer::Yes : Prompt::Answer::No);
        w.trigger(action);
        QCOMPARE(w.boxes(), (QStringList{box(question, Prompt::Icon::Question, questionTitle, Prompt::Buttons::YesNo),
                                         box(note, Prompt::Icon::Information, noteTitle)}));
        const QVariant active = w.field(w.smith, "Active");
        QCOMPARE(active.isValid() ? active.toInt() : -1, activeAfter);
        // A confirmed change lists every case again, whatever the box holds.
        QCOMPARE(control<QLineEdit>(w.loc, "Narrower")->text(), QString("Sm"));
        QCOMPARE(w.count(), yes ? (activeAfter < 0 ? 7 : 8) : 3);
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void popupActionsWithoutSelectionRefuse()
    {
        World w;
        w.open();
        for (const char *name : {"Activate", "Inactivate", "DeleteCase"})
            w.trigger(name);
        const QString refusal =
            box("No case selected! Please select a case before proceeding.", Prompt::Icon::Critical);
        QCOMPARE(w.boxes(), (QStringList{refusal, refusal, refusal}));
        QCOMPARE(w.field(w.smith, "Active").toInt(), 1);
    }

    void rowChangedElsewhereIsReportedNotDone_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("change"); // SQL run by "another workstation"
        QTest::addColumn<bool>("duringQuestion");
        QTest::addColumn<QString>("message");
        const QString gone = "DELETE FROM [Clients] WHERE [CaseNo] = ?";
        const QString weighed = "UPDATE [Clients] SET [Graph Data] = '11;10.5;' WHERE [CaseNo] = ?";
        for (const char *a : {"Activate", "Inactivate", "DeleteCase", "GoToCase"})
            QTest::newRow(qPrintable(QString("%1, deleted before").arg(a))) << a << gone << false << kGone;
        for (const char *a : {"Inactivate", "DeleteCase"}) {
            QTest::newRow(qPrintable(QString("%1, deleted during the question").arg(a))) << a << gone << true << kGone;
            QTest::newRow(qPrintable(QString("%1, weighed during the question").arg(a)))
                << a << weighed << true << FwError::standardDescription(ErrNo::WriteConflict);
        }
    }
    void rowChangedElsewhereIsReportedNotDone()
    {
        QFETCH(QString, action);
        QFETCH(QString, change);
        QFETCH(bool, duringQuestion);
        QFETCH(QString, message);
        World w;
        w.open();
        w.click(w.smith);
        auto otherWorkstation = [&] { ClinicDb::exec(w.env.db(), change, {w.smith}); };
        if (duringQuestion) {
            w.prompt.when = action == "Inactivate"
                                ? "Are you sure you want to inactivate Rex Smith's record?"
                                : "Are you sure you want to delete Rex Smith's record from the database?";
            w.prompt.step = otherWorkstation;
            w.prompt.answer(Prompt::Answer::Yes);
        } else {
            otherWorkstation();
        }
        if (action == "GoToCase")
            w.loc->GoToCase_Click();
        else
            w.trigger(action);
        QCOMPARE(w.prompt.count(), duringQuestion ? 2 : 1);
        QCOMPARE(w.boxes().last(), box(message, Prompt::Icon::Critical));
        const QVariant active = w.field(w.smith, "Active");
        QVERIFY(!active.isValid() || active.toInt() == 1); // gone, or as it was
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void theCasesOpenWindowsFollowTheChange()
    {
        World w;
        QPointer<frmDocument> doc =
            OpenCaseInDocument(OpenVariant::LocatorOrReminder, CaseRef{QString::number(w.smith), "Smith", "Rex"});
        QVERIFY(doc);
        QLabel *activity = control<QLabel>(doc, "Activity");
        QVERIFY(activity->isHidden());
        w.open();
        w.click(w.smith);
        w.prompt.answer(Prompt::Answer::Yes);
        w.trigger("Inactivate");
        QTRY_VERIFY(!activity->isHidden());
        w.click(w.smith);
        w.prompt.answer(Prompt::Answer::Yes);
        w.trigger("Activate");
        QTRY_VERIFY(activity->isHidden());
        // A deleted case's window stays as it was, without a word.
        const QString details = control<QLabel>(doc, "Details")->text();
        w.click(w.smith);
        w.prompt.answer(Prompt::Answer::Yes);
        w.trigger("DeleteCase");
        QTest::qWait(20);
        QVERIFY(doc);
        QCOMPARE(control<QLabel>(doc, "Details")->text(), details);
        QCOMPARE(w.prompt.count(), 6); // three questions, three notes
        FW_VERIFY_PROMPTS(w.prompt);
        delete doc.data();
    }

    void everyCaseListedAgainAsTheRegisterNowIs()
    {
        World w;
        w.open();
        QCOMPARE(w.count(), 8);
        w.type("S");
        w.key(Qt::Key_Backspace);
        QCOMPARE(w.count(), 8);
        // Added here since: the emptied box lists it.
        const int added = CaseBuilder().surname("Abbott").add();
        w.type("S");
        w.key(Qt::Key_Backspace);
        QCOMPARE(w.count(), 9);
        QCOMPARE(w.surnameAt(0), QString("Abbott"));
        QCOMPARE(w.loc->listModel()->caseNo(0), qint64(added));
        // Renamed at another workstation, through a connection of its own.
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other workstation");
            other.setDatabaseName(App().DBFName);
            QVERIFY(other.open());
            QSqlQuery q(other);
            QVERIFY(q.exec("UPDATE [Clients] SET [Surname] = 'Zeller', [SurnameKey] = 'zeller' "
                           "WHERE [Surname] = 'Abbott'"));
            other.close();
        }
        QSqlDatabase::removeDatabase("other workstation");
        w.type("S");
        w.key(Qt::Key_Backspace);
        QCOMPARE(w.count(), 9);
        QCOMPARE(w.surnameAt(7), QString("Zeller"));
        // The next opening, after a deletion meanwhile, lists the register as it is.
        w.loc->close();
        delete w.loc.data();
        ClinicDb::exec(w.env.db(), "DELETE FROM [Clients] WHERE [CaseNo] = ?", {added});
        w.open();
        QCOMPARE(w.count(), 8);
        QCOMPARE(control<QLabel>(w.loc, "ItemsFound")->text(), QString(" 8"));
        QCOMPARE(w.prompt.count(), 0);
    }

    void deletingACaseThatIsOpenInAWindow()
    {
        World w;
        frmDocument doc;
        BindToClinicDB(*control<DataControl>(&doc, "Data1"), "SELECT * FROM [Clients] WHERE [CaseNo] = ?", {w.smith});
        w.open();
        w.click(w.smith);
        w.prompt.answer(Prompt::Answer::Yes);
        w.loc->DeleteCase_Click();
        QCOMPARE(w.prompt.texts(), (QStringList{"Are you sure you want to delete Rex Smith's record from the database?",
                                                "Deletion completed."}));
        // The window keeps showing the case, and a save from it is refused.
        Recordset &rs = control<DataControl>(&doc, "Data1")->recordset();
        QCOMPARE(rs.text("Surname"), QString("Smith"));
        rs.edit();
        rs.setField("Vet Comments", "after the deletion");
        try {
            rs.update();
            QFAIL("a save of a deleted case was accepted");
        } catch (const FwError &e) {
            QCOMPARE(e.number(), int(ErrNo::RowDeleted));
        }
        QVERIFY(!w.field(w.smith, "CaseNo").isValid());
    }
};

FW_TEST(fmLocatorTest)
#include "tst_fmLocator.moc"
