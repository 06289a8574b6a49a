// The windows a practice-management program writes into, driven over the
// real socket by the real fenwarra-link tool: the link window of link mode 2
// and, for link mode 1, the new-case window's topic.
#include "support/CaseBuilder.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "cases/CaseDetails.h"
#include "cases/CaseDetailsLinkTopic.h"
#include "cases/CaseProcs.h"
#include "cases/frmDocument.h"
#include "platform/db/ClinicDb.h"
#include "platform/link/LinkProtocol.h"
#include "platform/link/LinkServer.h"
#include "platform/settings/Settings.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "shell/Startup.h"
#include "shell/frmLink.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

namespace {

const QString kNoLinkedRecords =
    QStringLiteral("There are no existing linked records for this animal / client. The Fenwarra will now close and "
                   "return you to your management application. Next time request a New Case rather than an "
                   "Existing Case.'.");

/// Run fenwarra-link while the event loop keeps serving the socket; its exit
/// code, or -1 when it did not end normally.
int runTool(const QStringList &args)
{
    QProcess tool;
    tool.start(QStringLiteral(FENWARRA_LINK_TOOL), args);
    if (!tool.waitForStarted(5000))
        return -1;
    QDeadlineTimer deadline(20000);
    while (tool.state() != QProcess::NotRunning && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    tool.waitForFinished(100);
    if (tool.exitStatus() != QProcess::NormalExit)
        return -1;
    if (tool.exitCode() != 0)
        qWarning("%s", tool.readAllStandardError().constData());
    return tool.exitCode();
}

int write(const QString &topic, const QString &item, const QString &text)
{
    return runTool({"--wait", "5", "--write", topic, item, text});
}

/// A frame started in link mode 2: the splash has shown the link window.
struct LinkedStart {
    TestEnv env;
    ScriptedPrompt prompt;
    frmMain frame;
    int ended = 0;
    QPointer<frmLink> link;

    LinkedStart()
    {
        App().Linked = QStringLiteral("2");
        Settings::save("LinkData", "Linked", "2");
        frame.setEndProgram([this] { ++ended; });
        frmSplash splash(&frame);
        splash.Form_Load();
        link = frame.findChild<frmLink *>();
    }
};

} // namespace

class LinkWindowTest : public QObject {
    Q_OBJECT
private slots:
    void waitsWithTheFrameHidden()
    {
        LinkedStart s;
        QVERIFY(s.link);
        QVERIFY(s.link->isVisible());
        QVERIFY(!s.frame.isVisible());
        QCOMPARE(s.link->windowTitle(), QStringLiteral("Fenwarra"));
        QCOMPARE(control<QLineEdit>(s.link, "HiddenText")->text(), QStringLiteral("Wait"));
        QCOMPARE(control<LinkGaugeLabel>(s.link, "LinkGauge")->text(), QStringLiteral("linking..."));
        const QTimer *timer = control<QTimer>(s.link, "Timer1");
        QCOMPARE(timer->interval(), 1000);
        QVERIFY(timer->isActive());
        QCOMPARE(Link::offeredTopics(), QStringList{"frmLink"});
    }

    // The gauge cycles through its six widths for as long as it waits, well
    // past the 32,767 ticks a 16-bit count would hold.
    void gaugeCyclesWithoutEnd()
    {
        LinkedStart s;
        control<QTimer>(s.link, "Timer1")->stop();
        const LinkGaugeLabel *gauge = control<LinkGaugeLabel>(s.link, "LinkGauge");
        QList<int> widths;
        for (int i = 0; i < 7; ++i) {
            s.link->Timer1_Timer();
            widths << gauge->fillWidthTwips();
        }
        QCOMPARE(widths, QList<int>({891, 1782, 2673, 3564, 4455, 0, 891}));
        for (int i = 0; i < 40000; ++i)
            s.link->Timer1_Timer();
        QCOMPARE(gauge->fillWidthTwips(), ((7 + 40000) % 6) * 891);
        QVERIFY(s.link->isVisible());
        QCOMPARE(s.prompt.count(), 0);
    }

    void recordNumberOpensTheLinkedCase()
    {
        LinkedStart s;
        const int caseNo = CaseBuilder().linkedRecNo(4711).add();
        QCOMPARE(write("frmLink", "HiddenText", "4711"), 0);
        QCOMPARE(App().LinkRecNo, QStringLiteral("4711"));
        QCOMPARE(control<LinkGaugeLabel>(s.link, "LinkGauge")->text(), QStringLiteral("Link successful"));

        // Within about a second: the window closes, the frame shows, the case opens.
        QVERIFY(QTest::qWaitFor([&] { return s.link.isNull(); }, 3000));
        QVERIFY(s.frame.isVisible());
        auto *doc = qobject_cast<frmDocument *>(s.frame.activeChild());
        QVERIFY(doc);
        QCOMPARE(doc->windowTitle(), CaseCaption(QString::number(caseNo), "Rex", "Smith"));
        QVERIFY(Link::offeredTopics().isEmpty());
        QCOMPARE(s.ended, 0);
        FW_VERIFY_PROMPTS(s.prompt);
    }

    void unknownNumberSaysSoAndEnds()
    {
        LinkedStart s;
        CaseBuilder().linkedRecNo(4711).add();
        QCOMPARE(write("frmLink", "HiddenText", "999"), 0);
        QVERIFY(QTest::qWaitFor([&] { return s.ended > 0; }, 3000));
        QCOMPARE(s.prompt.texts(), QStringList{kNoLinkedRecords});
        QCOMPARE(s.prompt.last().icon, Prompt::Icon::Critical);
        QCOMPARE(Settings::get("LinkData", "Linked"), QStringLiteral("0"));
        QCOMPARE(s.frame.activeChild(), nullptr);
    }

    void partnerWritingWaitKeepsItWaiting()
    {
        LinkedStart s;
        QCOMPARE(write("frmLink", "HiddenText", "Wait"), 0);
        s.link->Timer1_Timer();
        QVERIFY(s.link && s.link->isVisible());
        QVERIFY(!s.frame.isVisible());
    }

    void closedByHandShowsTheFrameOnly()
    {
        LinkedStart s;
        CaseBuilder().linkedRecNo(0).add();
        s.link->close();
        QVERIFY(s.frame.isVisible());
        QCOMPARE(s.frame.activeChild(), nullptr);
        QVERIFY(Link::offeredTopics().isEmpty());
        QCOMPARE(s.ended, 0);
        QCOMPARE(s.prompt.count(), 0);
    }

    // A second Fenwarra started for the partner while the first still waits
    // says so and ends before it shows anything or writes any setting.
    void secondLinkedStartEnds()
    {
        TestEnv env(false);
        ScriptedPrompt prompt;
        QLocalServer waiting; // the first Fenwarra's socket
        QVERIFY(waiting.listen(Link::socketPath()));
        Settings::save("LinkData", "Linked", "2");
        Settings::save("Paths", "DBFPath", env.dbfPath());
        const QString before = [] {
            QFile f(Settings::storeFile());
            return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
        }();

        Main();
        QCoreApplication::processEvents(); // the pending end finds no loop to leave here

        QCOMPARE(prompt.texts(), QStringList{Link::kHeldElsewhereMessage});
        QCOMPARE(prompt.last().icon, Prompt::Icon::Critical);
        QVERIFY(frmMain::instance());
        QVERIFY(!frmMain::instance()->isVisible());
        QVERIFY(!frmMain::instance()->findChild<frmLink *>());
        QFile f(Settings::storeFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), before);
        QVERIFY(!QFile::exists(env.dbfPath() + "Fenwarra.mdb"));
        delete frmMain::instance();
    }
};
FW_TEST(LinkWindowTest)

// Link mode 1: the partner fills the new-case window over the link.
class CaseDetailsLinkTest : public QObject {
    Q_OBJECT
private slots:
    void refusals_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason"); // "" taken
        QTest::newRow("record number") << "HiddenText"
                                       << "4711"
                                       << "";
        QTest::newRow("record number not whole") << "HiddenText"
                                                 << "47.11"
                                                 << "The client's record number must be a whole number";
        QTest::newRow("record number text") << "HiddenText"
                                            << "Hidden Text"
                                            << "The client's record number must be a whole number";
        QTest::newRow("surname of 30") << "SSurname" << QString(30, 'x') << "";
        QTest::newRow("surname of 31") << "SSurname" << QString(31, 'x')
                                       << "The Surname must be 30 characters or less in length";
        QTest::newRow("name of 21") << "AnName" << QString(21, 'x')
                                    << "The animal's name must be 20 characters or less in length";
        QTest::newRow("telephone of 21") << "TelNo" << QString(21, '1')
                                         << "The Telephone number must be 20 characters or less in length";
        QTest::newRow("two-line surname") << "SSurname"
                                          << "Smith\nJones"
                                          << "The text for SSurname must be one line";
        QTest::newRow("weight") << "UpperWt"
                                << "123.45"
                                << "";
        QTest::newRow("weight of 7") << "UpperWt"
                                     << "123.456"
                                     << "The upper weight should contain 6 characters in length";
        QTest::newRow("weight no number") << "CurrWt"
                                          << "heavy"
                                          << "Numeric data only";
        QTest::newRow("empty weight") << "LowerWt"
                                      << ""
                                      << "Numeric data only";
        QTest::newRow("date of birth") << "DOB"
                                       << "31-Dec-1995"
                                       << "";
        QTest::newRow("date of birth tomorrow") << "DOB"
                                                << "02-Jan-2025"
                                                << "DOB date cannot be be in the future!";
        QTest::newRow("no date") << "DOB"
                                 << "last spring"
                                 << "What you entered doesn't make sense as a date, please re-enter in the format "
                                    "of 31-Dec-1995, ie include the full year expression";
        QTest::newRow("units") << "Units"
                               << "lb"
                               << "";
        QTest::newRow("units unknown") << "Units"
                                       << "stone"
                                       << "The units must be kg, gm, lb or oz";
        QTest::newRow("comments of two lines") << "VetCom"
                                               << "Seen\nweekly"
                                               << "";
        QTest::newRow("any other box") << "Done"
                                       << "1"
                                       << "The case details window has no item Done";
    }
    void refusals()
    {
        QFETCH(QString, item);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        Clock::setNow(QDateTime(QDate(2025, 1, 1), QTime(10, 0)));
        QCOMPARE(CaseDetailsLinkTopic::refusal(item, text), reason);
        Clock::reset();
    }

    void partnerFillsTheNewCase()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        App().Linked = QStringLiteral("1");
        frmMain frame;
        frame.Hidden1_Click(); // as the splash presses it
        CaseDetails *w = CaseDetails::instance();
        QVERIFY(w);
        const qint64 caseNo = w->reservedCaseNo();
        QVERIFY(caseNo > 0);
        // The window offers its topic while the reserved entry waits.
        QCOMPARE(
            runTool({"--write",   "CaseDetails", "HiddenText", "4711",        "--write", "CaseDetails",
                     "SSurname",  "Jones",       "--write",    "CaseDetails", "AnName",  "Bella",
                     "--write",   "CaseDetails", "SSpecies",   "Cat",         "--write", "CaseDetails",
                     "BBreedFel", "Siamese",     "--write",    "CaseDetails", "SSex",    "Female",
                     "--write",   "CaseDetails", "DOB",        "12-Mar-2019", "--write", "CaseDetails",
                     "Units",     "lb",          "--write",    "CaseDetails", "UpperWt", "11",
                     "--write",   "CaseDetails", "LowerWt",    "9",           "--write", "CaseDetails",
                     "CurrWt",    "10.5",        "--write",    "CaseDetails", "VetCom",  "Referred\nfor weight loss"}),
            0);
        QVERIFY(control<QComboBox>(w, "BBreedFel")->isVisible());
        QVERIFY(!control<QComboBox>(w, "BBreedK9")->isVisible());
        QCOMPARE(control<QLabel>(w, "DOB")->text(), QStringLiteral("12-Mar-2019"));
        QVERIFY(control<QRadioButton>(w, "Units", 2)->isChecked());
        // A text the box would not take is refused whole; the box keeps its text.
        QCOMPARE(write("CaseDetails", "CurrWt", "heavy"), 5);
        QCOMPARE(control<QLineEdit>(w, "CurrWt")->text(), QStringLiteral("10.5"));
        QCOMPARE(write("CaseDetails", "Done", "1"), 5);

        w->Done_Click();
        // Closed, the window no longer offers the topic.
        QVERIFY(runTool({"--wait", "0", "--write", "CaseDetails", "SSurname", "Late"}) != 0);

        const QSqlDatabase db = env.db();
        QSqlQuery q = ClinicDb::exec(db,
                                     "SELECT [LinkedRecNo], [Surname], [AnimalName], [Species], [Breed], [Sex], "
                                     "[Units], [CurrentWt], [Vet Comments] FROM [Clients] WHERE [CaseNo] = ?",
                                     {caseNo});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toLongLong(), 4711);
        QCOMPARE(q.value(1).toString(), QStringLiteral("Jones"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("Bella"));
        QCOMPARE(q.value(3).toString(), QStringLiteral("Cat"));
        QCOMPARE(q.value(4).toString(), QStringLiteral("Siamese"));
        QCOMPARE(q.value(5).toString(), QStringLiteral("Female"));
        QCOMPARE(q.value(6).toString(), QStringLiteral("lb"));
        QCOMPARE(q.value(7).toDouble(), 10.5);
        QCOMPARE(q.value(8).toString(), QStringLiteral("Referred\nfor weight loss"));
        QCOMPARE(App().LinkRecNo, QStringLiteral("4711"));
        QVERIFY(qobject_cast<frmDocument *>(frame.activeChild()));
        QVERIFY(Link::offeredTopics().isEmpty());
        FW_VERIFY_PROMPTS(prompt);
    }
};
FW_TEST(CaseDetailsLinkTest)

#include "tst_LinkWindows.moc"
