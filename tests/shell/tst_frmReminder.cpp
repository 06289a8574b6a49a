// The reminder list as the frame opens it: due cases by the clock, nothing
// due (old lines cleared, Print off until cases are due again), the double
// click that opens the case kept with its line and closes the list, and
// Print on the frame's printer, read back from a PDF file.
#include "cases/frmDocument.h"
#include "curves_reports/frmReminder.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "shell/frmMain.h"
#include "support/CaseBuilder.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QListWidget>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kNoneDue = "There are no reminders due.";

struct World {
    TestEnv env;
    ScriptedPrompt prompt;
    frmMain frame;
    QPointer<frmReminder> list;

    World()
    {
        frame.setEndProgram([] {});
        Clock::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    }
    ~World() { delete list.data(); }

    static QDate ago(int days) { return Clock::today().addDays(-days); }
    /// The frame's Reminders command.
    void open()
    {
        frame.findChild<QAction *>("mnuReminders")->trigger();
        list = frame.findChild<frmReminder *>();
        QVERIFY(list && list->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(list));
    }
    QStringList lines() const
    {
        const QListWidget *listing = control<QListWidget>(list, "ClientListing");
        QStringList out;
        for (int i = 0; i < listing->count(); ++i)
            out << listing->item(i)->text();
        return out;
    }
    QPoint pointOf(int row) const
    {
        const QListWidget *listing = control<QListWidget>(list, "ClientListing");
        return listing->visualItemRect(listing->item(row)).center();
    }
};

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(20000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class frmReminderTest : public QObject {
    Q_OBJECT
private slots:
    void dueCasesByTheClock()
    {
        World w;
        CaseBuilder().lastWeighed(w.ago(13)).add();
        const int first = CaseBuilder().range(25, 30).history("32.5;").lastWeighed(w.ago(14)).add();
        CaseBuilder().lastWeighed(w.ago(43)).add();
        const int last =
            CaseBuilder().surname("FortyTwo").animal("C").range(25, 30).history("32.5;").lastWeighed(w.ago(42)).add();
        CaseBuilder().lastWeighed(w.ago(20)).inactive().add();
        w.open();
        QCOMPARE(w.list->windowTitle(), QString("Reminders due"));
        ClinicDb::exec(w.env.db(), "UPDATE [Clients] SET [Tel No] = '555 0101' WHERE [CaseNo] = ?", {first});
        w.open(); // given again while open: the same window, loaded afresh
        QCOMPARE(w.frame.findChildren<frmReminder *>().size(), 1);
        QCOMPARE(w.lines(),
                 (QStringList{QString("Rex Smith, Dog, Tel.555 0101. Last recorded WT =  32.5 kg [Target =  25 -  30] "
                                      "(# %1)")
                                  .arg(first),
                              QString("C FortyTwo, Dog, Tel.01632 960123. Last recorded WT =  32.5 kg [Target =  25 - "
                                      " 30] (# %1)")
                                  .arg(last)}));
        QVERIFY(control<QPushButton>(w.list, "PrintBut")->isEnabled());

        // Selecting a line selects its case, with the names of its row.
        QTest::mouseClick(control<QListWidget>(w.list, "ClientListing")->viewport(), Qt::LeftButton, {}, w.pointOf(0));
        QCOMPARE(w.list->selectedCase(), (CaseRef{QString::number(first), "Smith", "Rex"}));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void nothingDue()
    {
        World w;
        const int rex = CaseBuilder().lastWeighed(w.ago(20)).add();
        w.open();
        QCOMPARE(w.lines().size(), 1);
        // Weighed today: the next load finds nothing, and the old line goes.
        ClinicDb::exec(w.env.db(), "UPDATE [Clients] SET [Last Weighed] = ? WHERE [CaseNo] = ?",
                       {Clock::today().toString(Qt::ISODate), rex});
        w.list->LoadList_Click();
        QCOMPARE(w.prompt.texts(), QStringList{kNoneDue});
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
        QCOMPARE(w.lines(), QStringList());
        QVERIFY(!control<QPushButton>(w.list, "PrintBut")->isEnabled());
        // Due again a fortnight later: listed, and Print is back.
        Clock::setNow(QDateTime(Clock::today().addDays(14), QTime(9, 0)));
        w.list->LoadList_Click();
        QCOMPARE(w.lines().size(), 1);
        QVERIFY(control<QPushButton>(w.list, "PrintBut")->isEnabled());
        QCOMPARE(w.prompt.count(), 1);
    }

    void doubleClickOpensTheCaseOfTheLine()
    {
        World w;
        CaseBuilder().lastWeighed(w.ago(20)).add();
        // A name that reads like another case's number.
        const int odd = CaseBuilder().surname("Jones").animal("(#1)").lastWeighed(w.ago(21)).add();
        w.open();
        // A double click: its first click selects the line, its second opens it.
        QTest::mouseClick(control<QListWidget>(w.list, "ClientListing")->viewport(), Qt::LeftButton, {}, w.pointOf(1));
        App().CurrCaseNo = "1"; // meanwhile another window changes the current case
        QTest::mouseDClick(control<QListWidget>(w.list, "ClientListing")->viewport(), Qt::LeftButton, {}, w.pointOf(1));
        QTRY_VERIFY(w.list.isNull()); // the list unloads itself
        const QString caption = QString("Case# %1, (#1) Jones").arg(odd);
        QCOMPARE(w.frame.recentCaption(1), caption);
        auto *doc = qobject_cast<frmDocument *>(w.frame.activeChild());
        QVERIFY(doc);
        QCOMPARE(doc->windowTitle(), caption);
        QCOMPARE(App().CurrCaseNo, QString::number(odd));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void printsOnTheFramesPrinter()
    {
        World w;
        const int a = CaseBuilder().lastWeighed(w.ago(14)).add();
        const int b = CaseBuilder().surname("Jones").animal("Bella").lastWeighed(w.ago(20)).add();
        const int c = CaseBuilder().surname("Brown").animal("Max").lastWeighed(w.ago(30)).add();
        QTemporaryDir dir;
        const QString pdf = dir.filePath("reminders.pdf");
        w.frame.printer()->setOutputFormat(QPrinter::PdfFormat);
        w.frame.printer()->setOutputFileName(pdf);
        w.open();
        QTest::keyClick(control<QListWidget>(w.list, "ClientListing"), Qt::Key_Return); // Enter prints
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains("FENWARRA REMINDERS DUE FOR 06 Dec 2026"), qPrintable(text));
        QVERIFY(text.contains(QString(72, '-')));
        int at = 0;
        for (const auto &[n, caseNo, who] :
             {std::tuple{1, a, "Rex Smith"}, {2, b, "Bella Jones"}, {3, c, "Max Brown"}}) {
            const int found = int(text.indexOf(QString("%1. %2, Dog").arg(n).arg(who), at));
            QVERIFY2(found > at, qPrintable(text));
            QVERIFY(text.indexOf(QString("(# %1)").arg(caseNo), found) > found);
            at = found;
        }
        // The list ends on its last line, whose case is the one selected.
        QCOMPARE(w.list->listIndex(), 2);
        QCOMPARE(w.list->selectedCase().caseNo, QString::number(c));

        // A printer that cannot print says so once.
        w.frame.printer()->setOutputFileName(dir.filePath("no/such/folder/reminders.pdf"));
        QTest::mouseClick(control<QPushButton>(w.list, "PrintBut"), Qt::LeftButton);
        QCOMPARE(w.prompt.count(), 1);
        QVERIFY(w.prompt.last().text.startsWith("The reminder list could not be printed"));
    }

    // With nowhere to print (no print queue, no file chosen) Print says so;
    // the printer stays ready, so Printer Setup can then choose a PDF file
    // and the next Print writes it, without a restart.
    void printsAfterAPrinterIsChosen()
    {
        World w;
        CaseBuilder().lastWeighed(w.ago(20)).add();
        w.frame.printer()->setOutputFormat(QPrinter::PdfFormat);
        w.frame.printer()->setOutputFileName(QString());
        w.open();
        QTest::mouseClick(control<QPushButton>(w.list, "PrintBut"), Qt::LeftButton);
        QCOMPARE(w.prompt.texts(),
                 QStringList{"The reminder list could not be printed: the printer could not be started. "
                             "Choose a printer with File > Printer Setup."});
        QTemporaryDir dir;
        const QString pdf = dir.filePath("reminders.pdf");
        w.prompt.printToFile(pdf);
        w.frame.findChild<QAction *>("mnuFilePrintSetup")->trigger();
        QTest::mouseClick(control<QPushButton>(w.list, "PrintBut"), Qt::LeftButton);
        QVERIFY2(pdfText(pdf).contains("1. Rex Smith, Dog"), qPrintable(pdfText(pdf)));
        QCOMPARE(w.prompt.count(), 2); // the refusal and the printer setup
        FW_VERIFY_PROMPTS(w.prompt);
    }
};

FW_TEST(frmReminderTest)
#include "tst_frmReminder.moc"
