// Opening a case into a window: the callers' variants (first caption, the
// inactive mark, names from the row, when the recent-cases menu is pushed),
// the reopening from the recent-cases menu and the linked opening with their
// failure paths, and a second window on a case that is already open.
#include "cases/CaseOpening.h"
#include "cases/frmDocument.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/settings/Settings.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "shell/frmMain.h"
#include "support/CaseBuilder.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>

Q_DECLARE_METATYPE(OpenVariant)

namespace {

const QString kRexCaption = QStringLiteral("Case# 12, Rex Smith");

struct World {
    TestEnv env;
    ScriptedPrompt prompt;
    frmMain frame;
    bool ended = false;
    int rex = 0;
    // What the frame showed when a case window first became active: its
    // caption then, and the newest recent-cases item then.
    QString firstCaption;
    QString recentAtOpening;

    World()
    {
        Clock::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        frame.setEndProgram([this] { ended = true; });
        for (int i = 1; i <= 10; ++i)
            frame.setRecentCaption(i, QStringLiteral("Case# %1, Pet%1 Owner%1").arg(100 + i));
        rex = CaseBuilder().caseNo(12).history("12.5;12.1;11.8;").linkedRecNo(5001).add();
        QObject::connect(frame.mdiArea(), &QMdiArea::subWindowActivated, [this](QMdiSubWindow *sub) {
            if (sub && firstCaption.isEmpty()) {
                firstCaption = frmMain::childOf(sub)->windowTitle();
                recentAtOpening = frame.recentCaption(1);
            }
        });
    }
    ~World()
    {
        frame.setEndProgram([] {});
        frame.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The case the caller hands to the opening.
    CaseRef ref;
    void setCase(int no, const QString &animal, const QString &surname)
    {
        ref = CaseRef{QString::number(no), surname, animal};
    }
    int windows() const { return frame.mdiArea()->subWindowList().size(); }
    frmDocument *active() const { return qobject_cast<frmDocument *>(frame.activeChild()); }
    bool markedInactive(frmDocument *doc) const
    {
        return !control<QLabel>(doc, "Activity")->isHidden() && control<QLabel>(doc, "Details")->autoFillBackground() &&
               control<QLabel>(doc, "Details")->palette().color(QPalette::Window) == QColor(255, 0, 0) &&
               control<QLabel>(doc, "Details")->palette().color(QPalette::WindowText) == QColor(255, 255, 255);
    }
};

} // namespace

class CaseOpeningTest : public QObject {
    Q_OBJECT

private slots:
    void theCaseQueryBindsTheNumber()
    {
        World w;
        w.setCase(w.rex, "Rex", "Smith");
        frmDocument *doc = OpenCaseInDocument(OpenVariant::LocatorOrReminder, w.ref);
        QVERIFY(doc);
        QCOMPARE(control<DataControl>(doc, "Data1")->RecordSource,
                 QStringLiteral("SELECT * FROM [Clients] WHERE [CASENO] = ?"));
        QCOMPARE(control<DataControl>(doc, "Data1")->Parameters, QVariantList{qint64(12)});
        QCOMPARE(control<DataControl>(doc, "Data2")->recordset().recordCount(), 1);      // Report Variables
        QCOMPARE(control<QLabel>(doc, "RecBreedWt")->text(), QStringLiteral("9-14 kg")); // Dog Breeds bound
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void variants_data()
    {
        QTest::addColumn<OpenVariant>("variant");
        QTest::addColumn<QString>("firstCaption");
        QTest::addColumn<bool>("pushedBefore");
        QTest::addColumn<bool>("pushedAfter");
        QTest::addColumn<bool>("marksInactive");
        // The names the caller had in hand differ from the row's: only the
        // variants that take the names from the row show the row's.
        QTest::addColumn<QString>("caption");

        QTest::newRow("locator or reminder") << OpenVariant::LocatorOrReminder << "Case# 12, Rexy Smyth" << true << true
                                             << true << "Case# 12, Rexy Smyth";
        QTest::newRow("new case") << OpenVariant::NewCase << "Case# 12, Rexy Smyth" << true << true << false
                                  << "Case# 12, Rexy Smyth";
        QTest::newRow("edited case") << OpenVariant::Edited << "Case# 12, Rexy Smyth" << false << false << false
                                     << "Case# 12, Rexy Smyth";
        QTest::newRow("recent") << OpenVariant::Recent << "Case# 12" << false << true << true << kRexCaption;
        QTest::newRow("linked") << OpenVariant::Linked << "Linked Case =5001" << false << true << false << kRexCaption;
    }

    void variants()
    {
        QFETCH(OpenVariant, variant);
        QFETCH(QString, firstCaption);
        QFETCH(bool, pushedBefore);
        QFETCH(bool, pushedAfter);
        QFETCH(bool, marksInactive);
        QFETCH(QString, caption);

        World w;
        ClinicDb::exec(w.env.db(), QStringLiteral("UPDATE [Clients] SET [Active] = 0 WHERE [CaseNo] = ?"), {w.rex});
        w.setCase(w.rex, "Rexy", "Smyth");
        if (variant == OpenVariant::Linked)
            w.ref = CaseRef(); // the link finds the case by its own number
        const QString before1 = w.frame.recentCaption(1);
        const QString before2 = w.frame.recentCaption(2);

        QPointer<frmDocument> doc = OpenCaseInDocument(variant, w.ref, QStringLiteral("5001"));
        QVERIFY(doc);
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(w.firstCaption, firstCaption);
        QCOMPARE(w.recentAtOpening == caption, pushedBefore);
        QCOMPARE(w.recentAtOpening == before1, !pushedBefore);
        QCOMPARE(doc->windowTitle(), caption);
        QCOMPARE(w.frame.recentCaption(1), pushedAfter ? caption : before1);
        QCOMPARE(w.frame.recentCaption(2), pushedAfter ? before1 : before2);
        QCOMPARE(w.markedInactive(doc), marksInactive);
        QCOMPARE(App().CurrCaseNo, QStringLiteral("12"));
        QCOMPARE(int(doc->NumWts()), 3); // loaded in every variant
    }

    void reopeningRecentItem3()
    {
        World w;
        w.frame.setRecentCaption(3, kRexCaption);
        QStringList before;
        for (int i = 1; i <= 10; ++i)
            before << w.frame.recentCaption(i);

        w.frame.RecentCli_Click(3);
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(w.windows(), 1);
        QCOMPARE(w.active()->windowTitle(), kRexCaption);
        QCOMPARE(w.frame.recentCaption(1), kRexCaption);
        QCOMPARE(w.frame.recentCaption(2), before[0]);
        QCOMPARE(w.frame.recentCaption(3), before[1]);
        QCOMPARE(w.frame.recentCaption(4), kRexCaption);
        QCOMPARE(w.frame.recentCaption(10), before[8]);
        for (int i = 1; i <= 10; ++i)
            QVERIFY(w.frame.recentCaption(i) != before[9]);
        QVERIFY(!w.markedInactive(w.active()));
    }

    void reopeningACaseThatIsGone_data()
    {
        QTest::addColumn<QString>("item");
        QTest::newRow("never filled") << "?";
        QTest::newRow("deleted case") << kRexCaption;
    }

    void reopeningACaseThatIsGone()
    {
        QFETCH(QString, item);
        World w;
        // Another case stays open all along and must not be the one closed.
        w.setCase(w.rex, "Rex", "Smith");
        QPointer<frmDocument> other = OpenCaseInDocument(OpenVariant::Edited, w.ref);
        QVERIFY(other);
        if (item == kRexCaption) {
            const int keep = CaseBuilder().surname("Jones").animal("Bess").add();
            w.setCase(keep, "Bess", "Jones");
            other = OpenCaseInDocument(OpenVariant::Edited, w.ref);
            ClinicDb::exec(w.env.db(), QStringLiteral("DELETE FROM [Clients] WHERE [CaseNo] = ?"), {w.rex});
        }
        w.frame.setRecentCaption(5, item);
        const QString item1 = w.frame.recentCaption(1);
        const int open = w.windows();

        w.frame.RecentCli_Click(5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(w.prompt.texts(),
                 QStringList{"This record no longer exists and must have been deleted. Please choose again."});
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
        QCOMPARE(w.prompt.last().title, QStringLiteral("Message from the Fenwarra"));
        QCOMPARE(w.windows(), open); // the new window closed again, the others still open
        QVERIFY(other);
        QCOMPARE(w.frame.recentCaption(5), item);
        QCOMPARE(w.frame.recentCaption(1), item1);
    }

    void aSecondWindowOnAnOpenCase()
    {
        World w;
        w.setCase(w.rex, "Rex", "Smith");
        QPointer<frmDocument> first = OpenCaseInDocument(OpenVariant::LocatorOrReminder, w.ref);
        QPointer<frmDocument> second = OpenCaseInDocument(OpenVariant::LocatorOrReminder, w.ref);
        QVERIFY(first && second && first != second);
        QCOMPARE(w.windows(), 2);
        QCOMPARE(w.frame.recentCaption(1), kRexCaption);
        QCOMPARE(w.frame.recentCaption(2), kRexCaption);
        QCOMPARE(second->WtDataText(1, 1), first->WtDataText(1, 1));
    }

    void eachWindowKeepsItsOwnCase()
    {
        World w;
        const int tib = CaseBuilder().surname("Jones").animal("Tiddles").species("Cat").add();
        w.setCase(w.rex, "Rex", "Smith");
        QPointer<frmDocument> rex = OpenCaseInDocument(OpenVariant::LocatorOrReminder, w.ref);
        w.setCase(tib, "Tiddles", "Jones");
        QPointer<frmDocument> tiddles = OpenCaseInDocument(OpenVariant::LocatorOrReminder, w.ref);
        QVERIFY(rex && tiddles);
        QCOMPARE(App().CurrCaseNo + App().CurrSpecies, QString::number(tib) + "Cat");
        // The window made active makes its case the current one.
        w.frame.mdiArea()->setActiveSubWindow(frmMain::subWindowOf(rex));
        QCOMPARE(App().CurrCaseNo + App().CurrAnimalName + App().CurrSpecies, QString("12RexDog"));
        QCOMPARE(rex->caseRef(), (CaseRef{"12", "Smith", "Rex"}));
        // A reload of the other window shows its own case.
        tiddles->Command1_Click();
        QCOMPARE(tiddles->facts().ref, (CaseRef{QString::number(tib), "Jones", "Tiddles"}));
        QCOMPARE(App().CurrCaseNo, QString::number(tib));
        QCOMPARE(rex->facts().species, QString("Dog"));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void linkedOpeningWithoutARecord_data()
    {
        QTest::addColumn<QString>("linkRecNo");
        QTest::newRow("no such record") << "777";
        QTest::newRow("not a whole number") << "5001 OR 1=1";
        QTest::newRow("empty") << "";
    }

    void linkedOpeningWithoutARecord()
    {
        QFETCH(QString, linkRecNo);
        World w;
        App().Linked = QStringLiteral("2");
        Settings::save(QStringLiteral("LinkData"), QStringLiteral("Linked"), QStringLiteral("2"));
        const QString item1 = w.frame.recentCaption(1);

        w.frame.Hidden2_Click(linkRecNo);
        QCOMPARE(w.prompt.texts(),
                 QStringList{"There are no existing linked records for this animal / client. The Fenwarra will "
                             "now close and return you to your management application. Next time request a New "
                             "Case rather than an Existing Case.'."});
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
        QCOMPARE(Settings::get(QStringLiteral("LinkData"), QStringLiteral("Linked")), QStringLiteral("0"));
        QCOMPARE(App().Linked, QStringLiteral("0"));
        QVERIFY(w.ended);
        QCOMPARE(w.frame.recentCaption(1), item1);
    }
};

FW_TEST(CaseOpeningTest)
#include "tst_CaseOpening.moc"
