#include "support/CaseBuilder.h"
#include "support/Controls.h"
#include "support/NamedPipe.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "cases/CaseDetails.h"
#include "cases/CaseListModel.h"
#include "cases/fmLocator.h"
#include "curves_reports/GrowthCurveWindow.h"
#include "curves_reports/frmReminder.h"
#include "platform/db/ClinicDb.h"
#include "platform/settings/Settings.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "shell/Relocation.h"
#include "shell/frmMain.h"

#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMdiArea>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

namespace {

enum class Content { Database, Text, OtherSqlite, Nothing };

void put(const QString &path, Content content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    switch (content) {
    case Content::Database:
        ClinicDb::closeAll();
        QVERIFY(QFile::copy(App().DBFName, path));
        break;
    case Content::Text: {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a database\n");
        break;
    }
    case Content::OtherSqlite: {
        // Another program's SQLite file: no Fenwarra mark, no Clients table.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery(db).exec(QStringLiteral("CREATE TABLE Stock (Item TEXT)"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        break;
    }
    case Content::Nothing:
        break;
    }
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// A child window of the frame that may refuse to close, as a case window
/// whose typed text could not be saved does when the user keeps it.
class StubbornCase : public QWidget {
public:
    bool keepOpen = false;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        if (keepOpen)
            event->ignore();
    }
};

/// Records the window each message box opens over.
class OverPrompt : public ScriptedPrompt {
public:
    QList<QWidget *> over;
    Prompt::Answer message(const Prompt::Box &box) override
    {
        over << Prompt::parentWindow();
        return ScriptedPrompt::message(box);
    }
};

QString savedDbfPath()
{
    return Settings::get(QStringLiteral("Paths"), QStringLiteral("DBFPath"), QStringLiteral("<unset>"));
}

} // namespace

Q_DECLARE_METATYPE(Content)
Q_DECLARE_METATYPE(Relocation::Verdict::Outcome)

class RelocationTest : public QObject {
    Q_OBJECT
private slots:
    void pathFromLocn_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("folder and name") << "/srv/clinic/Fenwarra.mdb"
                                         << "/srv/clinic/";
        QTest::newRow("other letter case") << "/srv/clinic/fenwarra.MDB"
                                           << "/srv/clinic/";
        QTest::newRow("name with a prefix") << "/srv/Old Fenwarra.mdb"
                                            << "/srv/Old ";
        QTest::newRow("name also in a folder") << "/srv/Fenwarra.mdb files/Fenwarra.mdb"
                                               << "/srv/";
        QTest::newRow("name alone") << "Fenwarra.mdb"
                                    << "";
        QTest::newRow("no name") << "/srv/clinic/other.mdb"
                                 << "";
    }
    void pathFromLocn()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(Relocation::PathFromLocn(path), folder);
    }

    void messagesReadAsTheProgramWritesThem()
    {
        QCOMPARE(Relocation::locateMessage("/srv/Fenwarra.mdb"),
                 QString("Please locate the file named 'Fenwarra.mdb' on your network server. The current setting "
                         "is: /srv/Fenwarra.mdb"));
        QCOMPARE(Relocation::successMessage("/srv/Fenwarra.mdb"),
                 QString("You have successfully completed resetting the location of the database'Fenwarra.mdb' "
                         "to the server at: /srv/Fenwarra.mdb"));
        QCOMPARE(Relocation::kFailedMessage,
                 QString("You have failed to reset the location of 'Fenwarra.mdb'. the previous setting remains "
                         "intact."));
    }

    void checkChoice_data()
    {
        QTest::addColumn<QString>("name"); // inside a new folder
        QTest::addColumn<Content>("content");
        QTest::addColumn<QString>("beside"); // another file put beside it ("" none)
        QTest::addColumn<Relocation::Verdict::Outcome>("outcome");
        QTest::addColumn<QString>("folderTail"); // the accepted DBFPath after the new folder
        using O = Relocation::Verdict::Outcome;
        QTest::newRow("copy of the database") << "Fenwarra.mdb" << Content::Database << "" << O::Accepted << "/";
        QTest::newRow("copy with a prefix") << "Old Fenwarra.mdb" << Content::Database << "" << O::Accepted << "/Old ";
        QTest::newRow("another file name") << "Clinic.mdb" << Content::Database << "" << O::Refused << "";
        QTest::newRow("other letter case") << "fenwarra.mdb" << Content::Database << "" << O::Refused << "";
        QTest::newRow("name with a suffix") << "Fenwarra.mdb.bak" << Content::Database << "" << O::Refused << "";
        QTest::newRow("suffix, database beside")
            << "Fenwarra.mdb.bak" << Content::Database << "Fenwarra.mdb" << O::Refused << "";
        QTest::newRow("name in a folder in other case")
            << "FENWARRA.MDB.d/Fenwarra.mdb" << Content::Database << "" << O::Refused << "";
        QTest::newRow("not a database") << "Fenwarra.mdb" << Content::Text << "" << O::Refused << "";
        QTest::newRow("another program's database") << "Fenwarra.mdb" << Content::OtherSqlite << "" << O::Refused << "";
        QTest::newRow("missing") << "Fenwarra.mdb" << Content::Nothing << "" << O::NotFound << "";
    }
    void checkChoice()
    {
        QFETCH(QString, name);
        QFETCH(Content, content);
        QFETCH(QString, beside);
        QFETCH(Relocation::Verdict::Outcome, outcome);
        QFETCH(QString, folderTail);
        TestEnv env;
        QTemporaryDir share;
        const QString chosen = share.path() + "/" + name;
        put(chosen, content);
        if (!beside.isEmpty())
            put(share.path() + "/" + beside, Content::Database);
        const QByteArray before = bytesOf(chosen);

        const Relocation::Verdict v = Relocation::checkChoice(chosen);
        QCOMPARE(v.outcome, outcome);
        switch (outcome) {
        case Relocation::Verdict::Outcome::Accepted:
            QCOMPARE(v.dbfPath, share.path() + folderTail);
            QCOMPARE(v.dbfName, chosen);
            QCOMPARE(v.dbfPath + ClinicDb::kFileName, chosen); // what the next start opens
            QCOMPARE(v.message, Relocation::successMessage(chosen));
            QCOMPARE(v.icon, Prompt::Icon::Exclamation);
            break;
        case Relocation::Verdict::Outcome::NotFound:
            QCOMPARE(v.message, Relocation::kNotFoundMessage);
            QCOMPARE(v.icon, Prompt::Icon::Critical);
            QVERIFY(!QFile::exists(chosen)); // never created
            break;
        default:
            QCOMPARE(v.message, Relocation::kFailedMessage);
            QCOMPARE(v.icon, Prompt::Icon::Critical);
            break;
        }
        QVERIFY(v.outcome == Relocation::Verdict::Outcome::Accepted || v.dbfPath.isEmpty());
        QCOMPARE(bytesOf(chosen), before); // looking changed nothing
    }

    // A pipe named like the database is refused at once, as any file that is
    // not a Fenwarra database: looking into it must not wait for a writer.
    void namedPipeIsRefusedAtOnce()
    {
        TestEnv env;
        QTemporaryDir share;
        const QString chosen = share.path() + "/Fenwarra.mdb";
        NamedPipe pipe(chosen);
        QVERIFY(pipe.made());
        QElapsedTimer took;
        took.start();
        const Relocation::Verdict v = Relocation::checkChoice(chosen);
        QVERIFY2(took.elapsed() < 1000, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(v.outcome, Relocation::Verdict::Outcome::Refused);
        QCOMPARE(v.message, Relocation::kFailedMessage);
        QVERIFY(v.dbfPath.isEmpty());
    }

    void cancelSaysNothing()
    {
        const Relocation::Verdict v = Relocation::checkChoice(QString());
        QCOMPARE(v.outcome, Relocation::Verdict::Outcome::Cancelled);
        QVERIFY(v.message.isEmpty());
    }
};
FW_TEST(RelocationTest)

// The frame's command: the case windows closed first, the checks, and the
// names and the setting switched together or not at all.
class RelocationCommandTest : public QObject {
    Q_OBJECT
private slots:
    void acceptedCopyServesEveryLaterWindow()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        frmMain frame;
        CaseBuilder().surname("Original").add();
        const QString oldName = App().DBFName;
        // An open locator lists the register in use.
        fmLocator *locator = fmLocator::Launch(&frame);
        QCOMPARE(locator->listModel()->rowCount(), 1);
        frame.addChild(new StubbornCase);

        QTemporaryDir share;
        const QString copy = share.path() + "/Fenwarra.mdb";
        put(copy, Content::Database);
        ClinicDb::exec(ClinicDb::connection(copy),
                       "INSERT INTO [Clients] ([CaseNo], [Surname], [AnimalName]) VALUES (?, ?, ?)",
                       {2, "Moved", "Tess"});
        ClinicDb::closeAll();

        prompt.chooseFile(copy);
        frame.NetWorkFW_Click();

        QCOMPARE(frame.mdiArea()->subWindowList().size(), 0);
        QCOMPARE(prompt.texts(), QStringList({Relocation::locateMessage(oldName), Relocation::successMessage(copy)}));
        QCOMPARE(prompt.shown().at(0).icon, Prompt::Icon::Information);
        QCOMPARE(prompt.shown().at(2).icon, Prompt::Icon::Exclamation);
        QCOMPARE(App().DBFName, copy);
        QCOMPARE(App().DBFPath, share.path() + "/");
        QCOMPARE(savedDbfPath(), share.path() + "/");
        // The locator left open, and every later opening, list the new register.
        QCOMPARE(locator->listModel()->rowCount(), 2);
        locator->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(fmLocator::Launch(&frame)->listModel()->rowCount(), 2);
        FW_VERIFY_PROMPTS(prompt);
    }

    // A reminder list left open lists the new register's due cases, so that
    // a double click opens a case of the new register under its own names;
    // a growth curve of the old register's case closes.
    void openListsFollowTheMove()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        Clock::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        frmMain frame;
        frame.setEndProgram([] {});
        frame.resize(1200, 900);
        frame.show();
        const QDate dueDay = Clock::today().addDays(-20);
        CaseBuilder().caseNo(1).surname("Original").animal("Rex").lastWeighed(dueDay).add();
        frame.mnuReminders_Click();
        QPointer<frmReminder> reminders = frame.findChild<frmReminder *>();
        QVERIFY(reminders && control<QListWidget>(reminders, "ClientListing")->count() == 1);
        QPointer<GrowthCurveWindow> curve = frmPuppy::Launch(&frame, GrowthCase{"Dog", 2.5f, 12, "kg", "1", "Rex"});
        QVERIFY(curve && curve->isVisible());

        QTemporaryDir share;
        const QString copy = share.path() + "/Fenwarra.mdb";
        put(copy, Content::Database);
        ClinicDb::exec(ClinicDb::connection(copy),
                       "UPDATE [Clients] SET [Surname] = ?, [AnimalName] = ? WHERE [CaseNo] = ?", {"Moved", "Tess", 1});
        ClinicDb::closeAll();
        prompt.chooseFile(copy);
        frame.NetWorkFW_Click();
        QCOMPARE(App().DBFName, copy);

        QVERIFY(reminders && reminders->isVisible());
        const QListWidget *listing = control<QListWidget>(reminders, "ClientListing");
        QCOMPARE(listing->count(), 1);
        QVERIFY2(listing->item(0)->text().startsWith("Tess Moved"), qPrintable(listing->item(0)->text()));
        QVERIFY(!curve || !curve->isVisible());
        reminders->setListIndex(0);
        reminders->ClientListing_DblClick();
        const QString caption = QStringLiteral("Case# 1, Tess Moved");
        QCOMPARE(frame.recentCaption(1), caption);
        QVERIFY(frame.activeChild());
        QCOMPARE(frame.activeChild()->windowTitle(), caption);
        FW_VERIFY_PROMPTS(prompt);
        frame.mdiArea()->closeAllSubWindows();
        Clock::reset();
    }

    void refusalsChangeNothing_data()
    {
        QTest::addColumn<QString>("name"); // "" cancels the dialog
        QTest::addColumn<Content>("content");
        QTest::newRow("another file name") << "Clinic.mdb" << Content::Database;
        QTest::newRow("other letter case") << "fenwarra.mdb" << Content::Database;
        QTest::newRow("not a Fenwarra database") << "Fenwarra.mdb" << Content::Text;
        QTest::newRow("cancel") << "" << Content::Nothing;
    }
    void refusalsChangeNothing()
    {
        QFETCH(QString, name);
        QFETCH(Content, content);
        TestEnv env;
        ScriptedPrompt prompt;
        frmMain frame;
        frame.addChild(new StubbornCase);
        const QString oldName = App().DBFName;
        const QString oldPath = App().DBFPath;
        QTemporaryDir share;
        const QString chosen = name.isEmpty() ? QString() : share.path() + "/" + name;
        if (!chosen.isEmpty())
            put(chosen, content);

        prompt.chooseFile(chosen);
        frame.NetWorkFW_Click();

        QCOMPARE(frame.mdiArea()->subWindowList().size(), 0); // closed first in every path
        QStringList expected{Relocation::locateMessage(oldName)};
        if (!name.isEmpty())
            expected << Relocation::kFailedMessage;
        QCOMPARE(prompt.texts(), expected);
        QCOMPARE(App().DBFName, oldName);
        QCOMPARE(App().DBFPath, oldPath);
        QCOMPARE(savedDbfPath(), QStringLiteral("<unset>"));
        FW_VERIFY_PROMPTS(prompt);
    }

    void caseWindowKeptOpenStopsTheMove()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        frmMain frame;
        auto *kept = new StubbornCase;
        kept->keepOpen = true;
        frame.addChild(kept);
        const QString oldName = App().DBFName;

        frame.NetWorkFW_Click(); // no file dialog is scripted: none may open

        QCOMPARE(prompt.texts(), QStringList{Relocation::kCaseWindowOpenMessage});
        QCOMPARE(App().DBFName, oldName);
        QCOMPARE(savedDbfPath(), QStringLiteral("<unset>"));
        FW_VERIFY_PROMPTS(prompt);
        kept->keepOpen = false;
    }

    void caseEntryStopsTheMove()
    {
        TestEnv env;
        OverPrompt prompt;
        frmMain frame;
        frame.addChild(new StubbornCase);
        CaseDetails::NewCaseCommand(&frame);
        QVERIFY(CaseDetails::instance());
        const QString oldName = App().DBFName;
        QWidget *const boxesBefore = Prompt::parentWindow();

        frame.NetWorkFW_Click();

        QCOMPARE(frame.mdiArea()->subWindowList().size(), 0);
        QCOMPARE(prompt.texts(), QStringList{Relocation::kCaseEntryOpenMessage});
        // The entry window stays above the frame: the box is seen over it.
        QCOMPARE(prompt.over, QList<QWidget *>{CaseDetails::instance()});
        QCOMPARE(Prompt::parentWindow(), boxesBefore);
        QCOMPARE(App().DBFName, oldName);
        QCOMPARE(savedDbfPath(), QStringLiteral("<unset>"));
        FW_VERIFY_PROMPTS(prompt);
        CaseDetails::instance()->unload();
    }
};
FW_TEST(RelocationCommandTest)

#include "tst_Relocation.moc"
