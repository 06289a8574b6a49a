// The case locator as the user meets it: the list and its count, narrowing as
// the surname is typed, selecting, Go To, and the popup actions with their
// questions and notes.
#include "cases/CaseListModel.h"
#include "cases/fmLocator.h"
#include "cases/frmDocument.h"
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "shell/AppState.h"
#include "shell/SharedProcs.h"
#include "shell/frmMain.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

namespace {

const QString kTitle = QStringLiteral("Message from the Fenwarra");
const QString kGone = QStringLiteral("This record no longer exists and must have been deleted. Please choose again.");

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
        smith = add(QStringLiteral("Smith"), QStringLiteral("Rex"));
        add(QStringLiteral("Smallwood"), QStringLiteral("Bella"), QStringLiteral("Cat"));
        add(QStringLiteral("Sanders"), QStringLiteral("Max"));
        add(QStringLiteral("Adams"), QStringLiteral("Tom"), QStringLiteral("Cat"));
        add(QStringLiteral("O'Brien"), QStringLiteral("Fido"));
        add(QStringLiteral("Ångström"), QStringLiteral("Sixten"));
        add(QStringLiteral("müller"), QStringLiteral("Felix"), QStringLiteral("Cat"));
        comma = add(QStringLiteral("Smith, Jones"), QStringLiteral("Ruby"));
        ClinicDb::exec(env.db(), QStringLiteral("UPDATE [Clients] SET [Tel No] = ? WHERE [CaseNo] = ?"),
                       {QStringLiteral("555 0101"), smith});
    }
    ~World() { delete loc.data(); }

    int add(const QString &surname, const QString &animal, const QString &species = QStringLiteral("Dog"))
    {
        return env.addCase(
            surname, animal, species, species == QLatin1String("Dog") ? QStringLiteral("Beagle") : QStringLiteral("-"),
            QStringLiteral("Male"), QStringLiteral("kg"), 10, 12, QStringLiteral("11;"), QStringLiteral("2024-01-10"));
    }

    /// What the frame does: bind Data1, press LoadList, show the window.
    fmLocator *open()
    {
        loc = new fmLocator;
        BindToClinicDB(*loc->Data1);
        loc->LoadList_Click();
        loc->show();
        if (!QTest::qWaitForWindowExposed(loc))
            qWarning("locator not exposed");
        return loc;
    }

    QStringList lines() const
    {
        QStringList out;
        for (int i = 0; i < loc->listModel()->rowCount(); ++i)
            out << loc->listModel()->line(i);
        return out;
    }
    int count() const { return loc->listModel()->rowCount(); }
    QString surnameAt(int row)
    {
        return field(int(loc->listModel()->caseNo(row)), QStringLiteral("Surname")).toString();
    }
    QString itemsFound() const { return loc->ItemsFound->text(); }

    void type(const QString &text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(loc->Narrower, &press);
            QApplication::sendEvent(loc->Narrower, &release);
        }
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(loc->Narrower, k, mods); }

    QPoint pointOf(qint64 caseNo) const
    {
        const QModelIndex index = loc->listModel()->index(loc->listModel()->rowOfCase(caseNo));
        loc->ClientListing->scrollTo(index);
        return loc->ClientListing->visualRect(index).center();
    }
    void click(qint64 caseNo, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(loc->ClientListing->viewport(), button, Qt::NoModifier, pointOf(caseNo));
    }

    QVariant field(int caseNo, const QString &name)
    {
        return ClinicDb::scalar(env.db(), QStringLiteral("SELECT [%1] FROM [Clients] WHERE [CaseNo] = ?").arg(name),
                                {caseNo});
    }
    bool exists(int caseNo) { return field(caseNo, QStringLiteral("CaseNo")).isValid(); }
};

void verifyBox(const ShownBox &box, const QString &text, Prompt::Icon icon, Prompt::Buttons buttons,
               const QString &title)
{
    QCOMPARE(box.text, text);
    QCOMPARE(int(box.icon), int(icon));
    QCOMPARE(int(box.buttons), int(buttons));
    QCOMPARE(box.title.isEmpty() ? kTitle : box.title, title);
}

} // namespace

class fmLocatorTest : public QObject {
    Q_OBJECT
private slots:
    void listsEveryCaseInOrder()
    {
        World w;
        w.open();
        QCOMPARE(w.loc->objectName(), QStringLiteral("fmLocator"));
        QCOMPARE(w.loc->windowTitle(), QStringLiteral("Case Locator"));
        QCOMPARE(w.count(), 8);
        QCOMPARE(w.itemsFound(), QStringLiteral(" 8"));
        QVERIFY(w.lines().contains(QStringLiteral("Smith, Rex, Case: 1, Dog, Tel.555 0101")));
        QStringList surnames;
        for (int i = 0; i < w.count(); ++i)
            surnames << w.surnameAt(i);
        // Alphabetical by surname without regard to case.
        QCOMPARE(surnames, (QStringList{"Adams", QStringLiteral("müller"), "O'Brien", "Sanders", "Smallwood", "Smith",
                                        "Smith, Jones", QStringLiteral("Ångström")}));
        QCOMPARE(w.prompt.count(), 0);
        QCOMPARE(w.loc->ClientListing->toolTip(),
                 QStringLiteral("Right mouse click a selected case to delete, inactivate or activate."));
        QCOMPARE(w.loc->listIndex(), -1);
    }

    void emptyFieldsGiveEmptyPartsAndHideNothing()
    {
        World w;
        // A case number reserved by a new-case entry that was never completed.
        ClinicDb::exec(w.env.db(), QStringLiteral("INSERT INTO [Clients] ([CaseNo]) VALUES (?)"), {99});
        w.open();
        QCOMPARE(w.count(), 9);
        QCOMPARE(w.lines().first(), QStringLiteral(", , Case: 99, , Tel."));
        QVERIFY(w.lines().contains(QStringLiteral("Smith, Rex, Case: 1, Dog, Tel.555 0101")));
        QCOMPARE(w.prompt.count(), 0);
    }

    void typingNarrowsAndBackspaceWidens()
    {
        World w;
        w.open();
        w.type(QStringLiteral("S"));
        QCOMPARE(w.loc->Narrower->text(), QStringLiteral("S"));
        QCOMPARE(w.count(), 4);
        QCOMPARE(w.itemsFound(), QStringLiteral(" 4"));
        w.type(QStringLiteral("m"));
        QCOMPARE(w.count(), 3);
        for (const QString &line : w.lines())
            QVERIFY2(line.startsWith(QStringLiteral("Sm")), qPrintable(line));
        w.key(Qt::Key_Backspace);
        QCOMPARE(w.loc->Narrower->text(), QStringLiteral("S"));
        QCOMPARE(w.count(), 4);
        w.key(Qt::Key_Backspace);
        QCOMPARE(w.count(), 8);
        QCOMPARE(w.itemsFound(), QStringLiteral(" 8"));
        // Backspace in an empty box does nothing.
        w.loc->listModel()->clear();
        w.key(Qt::Key_Backspace);
        QCOMPARE(w.count(), 0);
        QCOMPARE(w.prompt.count(), 0);
    }

    void theListFollowsTheTextWhereverTheCaretStands()
    {
        World w;
        w.open();
        w.type(QStringLiteral("Sith"));
        w.key(Qt::Key_Home);
        w.key(Qt::Key_Right);
        w.type(QStringLiteral("m"));
        QCOMPARE(w.loc->Narrower->text(), QStringLiteral("Smith"));
        QCOMPARE(w.count(), 2);
        // Typing over a selection.
        w.loc->Narrower->selectAll();
        w.type(QStringLiteral("a"));
        QCOMPARE(w.loc->Narrower->text(), QStringLiteral("a"));
        QCOMPARE(w.lines(), QStringList{QStringLiteral("Adams, Tom, Case: 4, Cat, Tel.01632 960123")});
    }

    void lettersBeyondAsciiMatchWithoutRegardToCase_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("surname");
        QTest::newRow("ring") << QStringLiteral("åNG") << QStringLiteral("Ångström");
        QTest::newRow("umlaut") << QStringLiteral("MÜ") << QStringLiteral("müller");
        QTest::newRow("apostrophe") << QStringLiteral("o'b") << QStringLiteral("O'Brien");
    }
    void lettersBeyondAsciiMatchWithoutRegardToCase()
    {
        QFETCH(QString, typed);
        QFETCH(QString, surname);
        World w;
        w.open();
        w.type(typed);
        QCOMPARE(w.count(), 1);
        QCOMPARE(w.surnameAt(0), surname);
        QCOMPARE(w.prompt.count(), 0);
    }

    void typedCharactersMatchLiterally_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("surname");
        QTest::newRow("quote") << QStringLiteral("Quote\"") << QStringLiteral("Quote\"d");
        QTest::newRow("percent") << QStringLiteral("100%") << QStringLiteral("100% Pure");
        QTest::newRow("underscore") << QStringLiteral("Under_") << QStringLiteral("Under_score");
        QTest::newRow("star") << QStringLiteral("Star*") << QStringLiteral("Star*");
        QTest::newRow("bracket") << QStringLiteral("[B") << QStringLiteral("[Bracket]");
    }
    void typedCharactersMatchLiterally()
    {
        QFETCH(QString, typed);
        QFETCH(QString, surname);
        World w;
        for (const char *s : {"Quote\"d", "Quoted", "100% Pure", "1000 Pure", "Under_score", "Underwood", "Star*",
                              "Starling", "[Bracket]", "Bracket"})
            w.add(QString::fromUtf8(s), QStringLiteral("Pet"));
        w.open();
        w.type(typed);
        QCOMPARE(w.count(), 1);
        QCOMPARE(w.surnameAt(0), surname);
        QCOMPARE(w.prompt.count(), 0);
    }

    void noMatchEmptiesTheListAndSaysSo()
    {
        World w;
        w.open();
        w.type(QStringLiteral("x"));
        QCOMPARE(w.count(), 0);
        QCOMPARE(w.itemsFound(), QStringLiteral(" 0"));
        QCOMPARE(w.prompt.count(), 1);
        verifyBox(w.prompt.last(), FwError::standardDescription(ErrNo::NoCurrentRecord), Prompt::Icon::Information,
                  Prompt::Buttons::OK, kTitle);
    }

    void invalidKeyStrokeIsRefused()
    {
        World w;
        w.open();
        w.type(QStringLiteral("S"));
        w.key(Qt::Key_Escape);
        QCOMPARE(w.prompt.count(), 1);
        verifyBox(w.prompt.last(), QStringLiteral("Not a valid key stroke to search upon!"), Prompt::Icon::Critical,
                  Prompt::Buttons::OK, kTitle);
        QCOMPARE(w.count(), 4);
        QVERIFY(w.loc->isVisible()); // Escape does not close the window
    }

    void selectingSetsTheCurrentCase_data()
    {
        QTest::addColumn<bool>("withComma");
        QTest::newRow("plain") << false;
        QTest::newRow("surname with a comma") << true;
    }
    void selectingSetsTheCurrentCase()
    {
        QFETCH(bool, withComma);
        World w;
        w.open();
        const int caseNo = withComma ? w.comma : w.smith;
        w.click(caseNo);
        QCOMPARE(w.loc->listIndex(), w.loc->listModel()->rowOfCase(caseNo));
        QCOMPARE(App().CurrCaseNo, QString::number(caseNo));
        QCOMPARE(App().CurrSurname, withComma ? QStringLiteral("Smith, Jones") : QStringLiteral("Smith"));
        QCOMPARE(App().CurrAnimalName, withComma ? QStringLiteral("Ruby") : QStringLiteral("Rex"));
        QCOMPARE(w.loc->Data1->recordset().field(QStringLiteral("CaseNo")).toInt(), caseNo);
        QCOMPARE(w.prompt.count(), 0);
    }

    void goToWithoutSelectionRefuses()
    {
        World w;
        w.open();
        QTest::mouseClick(w.loc->GoToCase, Qt::LeftButton);
        // Enter in the narrowing box presses Go To as well.
        w.key(Qt::Key_Return);
        QCOMPARE(w.prompt.count(), 2);
        for (const ShownBox &box : w.prompt.shown())
            verifyBox(box, QStringLiteral("You must first select a case"), Prompt::Icon::Critical, Prompt::Buttons::OK,
                      kTitle);
        QVERIFY(w.loc->isVisible());
    }

    void goToOpensTheSelectedCase_data()
    {
        QTest::addColumn<int>("how"); // 0 button, 1 double click, 2 Enter
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
        // Another window changes the current case meanwhile.
        App().CurrCaseNo = QString::number(w.comma);
        App().CurrSurname = QStringLiteral("Smith, Jones");
        if (how == 0)
            QTest::mouseClick(w.loc->GoToCase, Qt::LeftButton);
        else if (how == 1)
            QTest::mouseDClick(w.loc->ClientListing->viewport(), Qt::LeftButton, Qt::NoModifier, w.pointOf(w.smith));
        else
            w.key(Qt::Key_Return);
        QTRY_VERIFY(w.loc.isNull()); // the locator unloads itself
        const QString caption = QStringLiteral("Case# 1, Rex Smith");
        QCOMPARE(frame.recentCaption(1), caption);
        auto *doc = qobject_cast<frmDocument *>(frame.activeChild());
        QVERIFY(doc);
        QCOMPARE(doc->windowTitle(), caption);
        QCOMPARE(doc->Data1->recordset().field(QStringLiteral("CaseNo")).toInt(), w.smith);
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
        QCOMPARE(w.loc->Data1->DatabaseName, App().DBFName);
        QCOMPARE(w.count(), 8);
        w.type(QStringLiteral("Sm"));
        QCOMPARE(w.count(), 3);

        // Again while it is open: the same window, the whole list, the box as it was.
        frame.mnuFileOpen_Click();
        QCOMPARE(frame.findChildren<fmLocator *>(), first);
        QCOMPARE(w.count(), 8);
        QCOMPARE(w.loc->Narrower->text(), QStringLiteral("Sm"));

        // Closed, it is built afresh.
        w.loc->close();
        frame.mnuFileOpen_Click();
        QTRY_VERIFY(w.loc.isNull());
        const QList<fmLocator *> second = frame.findChildren<fmLocator *>();
        QCOMPARE(second.size(), 1);
        QCOMPARE(second.first()->Narrower->text(), QString());
        QCOMPARE(second.first()->listModel()->rowCount(), 8);
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
        QVERIFY(w.loc->Hidden->isVisible());
        QStringList items;
        for (QAction *a : w.loc->Hidden->actions())
            items << (a->isSeparator() ? a->objectName() + QStringLiteral("-") : a->objectName() + '=' + a->text());
        QCOMPARE(items, (QStringList{"Activate=&Activate", "Inactivate=&Inactivate", "DeleteCase=&Delete This Case",
                                     "mnuHiddenBar-", "Leave=&Leave"}));
        w.loc->Hidden->hide();
        // Leave changes nothing.
        w.loc->findChild<QAction *>(QStringLiteral("Leave"))->trigger();
        QCOMPARE(w.prompt.count(), 0);
    }

    void popupActions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("activeBefore");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("questionTitle");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("noteTitle");
        QTest::addColumn<int>("activeAfter"); // -1: row deleted

        QTest::newRow("activate, yes") << "Activate" << true << false
                                       << "Are you sure you want to Activate Rex Smith's record?"
                                       << "Activation of Record"
                                       << "Activation complete."
                                       << "Activation Confirmed" << 1;
        QTest::newRow("activate an active case again")
            << "Activate" << true << true << "Are you sure you want to Activate Rex Smith's record?"
            << "Activation of Record"
            << "Activation complete."
            << "Activation Confirmed" << 1;
        QTest::newRow("activate, no") << "Activate" << false << false
                                      << "Are you sure you want to Activate Rex Smith's record?"
                                      << "Activation of Record"
                                      << "Rex Smith's record remains unchanged"
                                      << "No Activation" << 0;
        QTest::newRow("inactivate, yes") << "Inactivate" << true << true
                                         << "Are you sure you want to inactivate Rex Smith's record?"
                                         << "Inactivation of Record"
                                         << "Inactivation complete."
                                         << "Inactivation Confirmed" << 0;
        QTest::newRow("inactivate, no") << "Inactivate" << false << true
                                        << "Are you sure you want to inactivate Rex Smith's record?"
                                        << "Inactivation of Record"
                                        << "Rex Smith's record remains active"
                                        << "No Inactivation" << 1;
        QTest::newRow("delete, yes") << "DeleteCase" << true << true
                                     << "Are you sure you want to delete Rex Smith's record from the database?"
                                     << "Deletion of Record"
                                     << "Deletion completed."
                                     << "Deletion Confirmed" << -1;
        QTest::newRow("delete, no") << "DeleteCase" << false << true
                                    << "Are you sure you want to delete Rex Smith's record from the database?"
                                    << "Deletion of Record"
                                    << "Rex Smith's record remains intact"
                                    << "No Deletion" << 1;
    }
    void popupActions()
    {
        QFETCH(QString, action);
        QFETCH(bool, yes);
        QFETCH(bool, activeBefore);
        QFETCH(QString, question);
        QFETCH(QString, questionTitle);
        QFETCH(QString, note);
        QFETCH(QString, noteTitle);
        QFETCH(int, activeAfter);

        World w;
        ClinicDb::exec(w.env.db(), QStringLiteral("UPDATE [Clients] SET [Active] = ? WHERE [CaseNo] = ?"),
                       {activeBefore ? 1 : 0, w.smith});
        w.open();
        w.type(QStringLiteral("Sm"));
        QCOMPARE(w.count(), 3);
        w.click(w.smith);
        w.prompt.answer(yes ? Prompt::Answer::Yes : Prompt::Answer::No);
        w.loc->findChild<QAction *>(action)->trigger();

        QCOMPARE(w.prompt.count(), 2);
        verifyBox(w.prompt.shown().at(0), question, Prompt::Icon::Question, Prompt::Buttons::YesNo, questionTitle);
        verifyBox(w.prompt.shown().at(1), note, Prompt::Icon::Information, Prompt::Buttons::OK, noteTitle);
        if (activeAfter < 0) {
            QVERIFY(!w.exists(w.smith));
        } else {
            QVERIFY(w.exists(w.smith));
            QCOMPARE(w.field(w.smith, QStringLiteral("Active")).toBool(), activeAfter == 1);
        }
        // A confirmed change lists every case again, whatever the box holds.
        QCOMPARE(w.loc->Narrower->text(), QStringLiteral("Sm"));
        QCOMPARE(w.count(), yes ? (activeAfter < 0 ? 7 : 8) : 3);
        QCOMPARE(w.itemsFound(), yes ? QString(activeAfter < 0 ? " 7" : " 8") : QString(" 3"));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void popupActionsWithoutSelectionRefuse()
    {
        World w;
        w.open();
        for (const char *name : {"Activate", "Inactivate", "DeleteCase"})
            w.loc->findChild<QAction *>(QLatin1String(name))->trigger();
        QCOMPARE(w.prompt.count(), 3);
        for (const ShownBox &box : w.prompt.shown())
            verifyBox(box, QStringLiteral("No case selected! Please select a case before proceeding."),
                      Prompt::Icon::Critical, Prompt::Buttons::OK, kTitle);
        QCOMPARE(w.field(w.smith, QStringLiteral("Active")).toBool(), true);
        QVERIFY(w.exists(w.smith));
    }

    void rowDeletedElsewhereIsReportedNotDone_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("duringQuestion");
        for (const char *a : {"Activate", "Inactivate", "DeleteCase"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, before").arg(a))) << QString(a) << false;
            QTest::newRow(qPrintable(QStringLiteral("%1, during the question").arg(a))) << QString(a) << true;
        }
    }
    void rowDeletedElsewhereIsReportedNotDone()
    {
        QFETCH(QString, action);
        QFETCH(bool, duringQuestion);
        World w;
        w.open();
        w.click(w.smith);
        auto deleteRow = [&] {
            ClinicDb::exec(w.env.db(), QStringLiteral("DELETE FROM [Clients] WHERE [CaseNo] = ?"), {w.smith});
        };
        if (duringQuestion) {
            // Another workstation deletes the case while the question is shown.
            const QString who = QStringLiteral("Rex Smith's record");
            w.prompt.when =
                action == QLatin1String("Activate")
                    ? QStringLiteral("Are you sure you want to Activate ") + who + QLatin1Char('?')
                : action == QLatin1String("Inactivate")
                    ? QStringLiteral("Are you sure you want to inactivate ") + who + QLatin1Char('?')
                    : QStringLiteral("Are you sure you want to delete ") + who + QStringLiteral(" from the database?");
            w.prompt.step = deleteRow;
            w.prompt.answer(Prompt::Answer::Yes);
        } else {
            deleteRow();
        }
        w.loc->findChild<QAction *>(action)->trigger();
        QCOMPARE(w.prompt.count(), duringQuestion ? 2 : 1);
        verifyBox(w.prompt.last(), kGone, Prompt::Icon::Critical, Prompt::Buttons::OK, kTitle);
        QVERIFY(!w.exists(w.smith));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void rowChangedDuringTheQuestionIsNotOverwritten()
    {
        World w;
        w.open();
        w.click(w.smith);
        w.prompt.when = QStringLiteral("Are you sure you want to inactivate Rex Smith's record?");
        w.prompt.step = [&] {
            ClinicDb::exec(w.env.db(), QStringLiteral("UPDATE [Clients] SET [Vet Comments] = ? WHERE [CaseNo] = ?"),
                           {QStringLiteral("Seen elsewhere"), w.smith});
        };
        w.prompt.answer(Prompt::Answer::Yes);
        w.loc->Inactivate_Click();
        QCOMPARE(w.prompt.count(), 2);
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
        QVERIFY(!w.prompt.texts().contains(QStringLiteral("Inactivation complete.")));
        QCOMPARE(w.field(w.smith, QStringLiteral("Vet Comments")).toString(), QStringLiteral("Seen elsewhere"));
        QCOMPARE(w.field(w.smith, QStringLiteral("Active")).toBool(), true);
    }

    void deletingACaseThatIsOpenInAWindow()
    {
        World w;
        frmDocument doc;
        BindToClinicDB(*doc.Data1, QStringLiteral("SELECT * FROM [Clients] WHERE [CaseNo] = ?"), {w.smith});
        w.open();
        w.click(w.smith);
        w.prompt.answer(Prompt::Answer::Yes);
        w.loc->DeleteCase_Click();
        QCOMPARE(w.prompt.count(), 3);
        verifyBox(w.prompt.shown().at(1), QStringLiteral("Deletion completed."), Prompt::Icon::Information,
                  Prompt::Buttons::OK, QStringLiteral("Deletion Confirmed"));
        verifyBox(w.prompt.shown().at(2),
                  QStringLiteral("A case window still shows this case. It stays open, but the case no longer exists, "
                                 "so changes made in it cannot be saved."),
                  Prompt::Icon::Information, Prompt::Buttons::OK, kTitle);
        QVERIFY(!w.exists(w.smith));

        // The window keeps showing the case, and a save from it is refused.
        Recordset &rs = doc.Data1->recordset();
        QCOMPARE(rs.field(QStringLiteral("Surname")).toString(), QStringLiteral("Smith"));
        rs.edit();
        rs.setField(QStringLiteral("Vet Comments"), QStringLiteral("after the deletion"));
        try {
            rs.update();
            QFAIL("a save of a deleted case was accepted");
        } catch (const FwError &e) {
            QCOMPARE(e.number(), int(ErrNo::RowDeleted));
        }
        QVERIFY(!w.exists(w.smith));
    }

    void deletingACaseThatNoWindowShowsSaysNoMore()
    {
        World w;
        frmDocument doc;
        BindToClinicDB(*doc.Data1, QStringLiteral("SELECT * FROM [Clients] WHERE [CaseNo] = ?"), {w.comma});
        w.open();
        w.click(w.smith);
        w.prompt.answer(Prompt::Answer::Yes);
        w.loc->DeleteCase_Click();
        QCOMPARE(w.prompt.texts(), (QStringList{"Are you sure you want to delete Rex Smith's record from the database?",
                                                "Deletion completed."}));
    }
};

FW_TEST(fmLocatorTest)
#include "tst_fmLocator.moc"
