#include "support/CaseBuilder.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "cases/CaseProcs.h"
#include "cases/frmDocument.h"
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "platform/widgets/SelectAllText.h"
#include "shell/frmMain.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimeZone>

Q_DECLARE_METATYPE(Prompt::Icon)

namespace {
const QDateTime kNow(QDate(2024, 6, 15), QTime(10, 0));
const QString kNotADate = QStringLiteral("What you entered doesn't make sense as a date, please re-enter in the "
                                         "format of 31-Dec-1995, ie include the full year expression");
const QString kFuture = QStringLiteral("DOB date cannot be be in the future!");
} // namespace

class SharedProcsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Clock::reset(); }

    void weeksBetweenMoments_data()
    {
        QTest::addColumn<double>("days");
        QTest::addColumn<int>("weeks");
        QTest::newRow("same moment") << 0.0 << 0;
        QTest::newRow("3 days") << 3.0 << 0;
        QTest::newRow("3.49 days") << 3.49 << 0;
        QTest::newRow("3.5 days is half a week, rounds up") << 3.5 << 1;
        QTest::newRow("10.5 days: 1.5 rounds to 2") << 10.5 << 2;
        QTest::newRow("14 days") << 14.0 << 2;
        QTest::newRow("17.4 days: 2.49 weeks") << 17.4 << 2;
        QTest::newRow("-3.49 days") << -3.49 << 0;
        QTest::newRow("-3.5 days rounds away from zero") << -3.5 << -1;
        QTest::newRow("-10.5 days") << -10.5 << -2;
    }
    void weeksBetweenMoments()
    {
        QFETCH(double, days);
        QFETCH(int, weeks);
        ScriptedPrompt prompt;
        const QDateTime first(QDate(2024, 1, 10), QTime(6, 0), Qt::UTC);
        const QDateTime second = first.addMSecs(qRound64(days * 86400000.0));
        QCOMPARE(int(WeeksBetween(first, second)), weeks);
        QCOMPARE(prompt.count(), 0);
    }

    void weeksBetweenDates_data()
    {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("second");
        QTest::addColumn<int>("weeks");
        const QDate d(2024, 1, 10);
        QTest::newRow("0 days") << d << d << 0;
        QTest::newRow("3 days") << d << d.addDays(3) << 0;
        QTest::newRow("4 days") << d << d.addDays(4) << 1;
        QTest::newRow("14 days") << d << d.addDays(14) << 2;
        QTest::newRow("second before first") << d << d.addDays(-11) << -2;
        QTest::newRow("over a leap day") << QDate(2024, 2, 26) << QDate(2024, 3, 4) << 1;
        QTest::newRow("largest count: 32767 weeks") << d << d.addDays(32767 * 7) << 32767;
        QTest::newRow("smallest count: -32768 weeks") << d << d.addDays(-32768 * 7) << -32768;
    }
    void weeksBetweenDates()
    {
        QFETCH(QDate, first);
        QFETCH(QDate, second);
        QFETCH(int, weeks);
        ScriptedPrompt prompt;
        QCOMPARE(int(WeeksBetween(first, second)), weeks);
        QCOMPARE(prompt.count(), 0);
    }

    // A day on which the clocks change is still one calendar day: counting
    // clock milliseconds would lose or gain an hour and tip the rounding.
    void weeksBetweenAcrossDaylightSaving_data()
    {
        QTest::addColumn<QDateTime>("first");
        QTest::addColumn<QDateTime>("second");
        QTest::addColumn<int>("weeks");
        const QTimeZone london("Europe/London");
        if (!london.isValid())
            QSKIP("no time-zone data for Europe/London");
        // Spring: 31 Mar 2024 has 23 hours; 3.5 calendar days are 83 hours.
        QTest::newRow("spring forward, 3.5 calendar days") << QDateTime(QDate(2024, 3, 30), QTime(0, 0), london)
                                                           << QDateTime(QDate(2024, 4, 2), QTime(12, 0), london) << 1;
        // Autumn: 27 Oct 2024 has 25 hours; 3.48 calendar days are 84.5 hours.
        QTest::newRow("fall back, 3.48 calendar days") << QDateTime(QDate(2024, 10, 26), QTime(0, 0), london)
                                                       << QDateTime(QDate(2024, 10, 29), QTime(11, 30), london) << 0;
        QTest::newRow("one week over the spring change") << QDateTime(QDate(2024, 3, 28), QTime(0, 0), london)
                                                         << QDateTime(QDate(2024, 4, 4), QTime(0, 0), london) << 1;
    }
    void weeksBetweenAcrossDaylightSaving()
    {
        QFETCH(QDateTime, first);
        QFETCH(QDateTime, second);
        QFETCH(int, weeks);
        ScriptedPrompt prompt;
        QCOMPARE(int(WeeksBetween(first, second)), weeks);
        QCOMPARE(prompt.count(), 0);
    }

    void weeksBetweenOverflowShowsErrorAndGivesZero_data()
    {
        QTest::addColumn<int>("days");
        QTest::newRow("just past 32767 weeks") << 32767 * 7 + 4;
        QTest::newRow("just past -32768 weeks") << -32768 * 7 - 4;
        QTest::newRow("a thousand years") << 365242;
    }
    void weeksBetweenOverflowShowsErrorAndGivesZero()
    {
        QFETCH(int, days);
        ScriptedPrompt prompt;
        const QDate first(1500, 1, 1);
        QCOMPARE(int(WeeksBetween(first, first.addDays(days))), 0);
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.last().text, FwError::standardDescription(ErrNo::Overflow));
        QCOMPARE(prompt.last().icon, Prompt::Icon::Critical);
        QCOMPARE(prompt.last().buttons, Prompt::Buttons::OK);
        QCOMPARE(prompt.last().title, QStringLiteral("Message from the Fenwarra"));
        FW_VERIFY_PROMPTS(prompt);
    }

    void weeksBetweenMissingDateGivesZero()
    {
        ScriptedPrompt prompt;
        QCOMPARE(int(WeeksBetween(QDate(), QDate(2024, 1, 1))), 0);
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.last().icon, Prompt::Icon::Critical);
    }

    void countChar_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ch");
        QTest::addColumn<int>("count");
        QTest::newRow("three weekly entries") << "12.5;12.3;12.1;"
                                              << ";" << 3;
        QTest::newRow("empty text") << ""
                                    << ";" << 0;
        QTest::newRow("no match") << "12.5"
                                  << ";" << 0;
        QTest::newRow("more than one character never matches") << "a;;b;;"
                                                               << ";;" << 0;
        QTest::newRow("empty character never matches") << "abc"
                                                       << "" << 0;
        QTest::newRow("exact case") << "AaAa"
                                    << "a" << 2;
        QTest::newRow("a blank") << " 12.5; 12;"
                                 << " " << 2;
    }
    void countChar()
    {
        QFETCH(QString, text);
        QFETCH(QString, ch);
        QFETCH(int, count);
        QCOMPARE(int(CountChar(text, ch)), count);
    }

    void countCharBeyond16BitsThrows()
    {
        QCOMPARE(int(CountChar(QString(32767, QLatin1Char(';')), QStringLiteral(";"))), 32767);
        try {
            CountChar(QString(32768, QLatin1Char(';')), QStringLiteral(";"));
            QFAIL("a count past 32767 must not wrap");
        } catch (const FwError &e) {
            QCOMPARE(e.number(), ErrNo::Overflow);
        }
    }

    void checkDOB_data()
    {
        QTest::addColumn<QVariant>("entered");
        QTest::addColumn<int>("ok");
        QTest::addColumn<QString>("message");
        QTest::addColumn<Prompt::Icon>("icon");
        QTest::addColumn<int>("beeps");
        const QDate today = kNow.date();
        QTest::newRow("31-Dec-1995") << QVariant(QStringLiteral("31-Dec-1995")) << 1 << QString() << Prompt::Icon::None
                                     << 0;
        QTest::newRow("today as text") << QVariant(QStringLiteral("15-Jun-2024")) << 1 << QString()
                                       << Prompt::Icon::None << 0;
        QTest::newRow("tomorrow as text")
            << QVariant(QStringLiteral("16-Jun-2024")) << 0 << kFuture << Prompt::Icon::Exclamation << 1;
        QTest::newRow("nonsense") << QVariant(QStringLiteral("nonsense")) << 0 << kNotADate << Prompt::Icon::Critical
                                  << 0;
        QTest::newRow("empty text") << QVariant(QString()) << 0 << kNotADate << Prompt::Icon::Critical << 0;
        QTest::newRow("no value") << QVariant() << 0 << kNotADate << Prompt::Icon::Critical << 0;
        QTest::newRow("an impossible day")
            << QVariant(QStringLiteral("31-Feb-2000")) << 0 << kNotADate << Prompt::Icon::Critical << 0;
        QTest::newRow("masked box left blank")
            << QVariant(QStringLiteral("__-___-____")) << 0 << kNotADate << Prompt::Icon::Critical << 0;
        QTest::newRow("a date value") << QVariant(QDate(2010, 5, 1)) << 1 << QString() << Prompt::Icon::None << 0;
        QTest::newRow("today as a date value") << QVariant(today) << 1 << QString() << Prompt::Icon::None << 0;
        QTest::newRow("tomorrow as a date value")
            << QVariant(today.addDays(1)) << 0 << kFuture << Prompt::Icon::Exclamation << 1;
        QTest::newRow("earlier today") << QVariant(QDateTime(today, QTime(9, 0))) << 1 << QString()
                                       << Prompt::Icon::None << 0;
        QTest::newRow("later today is after the present moment")
            << QVariant(QDateTime(today, QTime(11, 0))) << 0 << kFuture << Prompt::Icon::Exclamation << 1;
    }
    void checkDOB()
    {
        QFETCH(QVariant, entered);
        QFETCH(int, ok);
        QFETCH(QString, message);
        QFETCH(Prompt::Icon, icon);
        QFETCH(int, beeps);
        Clock::setNow(kNow);
        ScriptedPrompt prompt;
        QCOMPARE(int(CheckDOB(entered)), ok);
        QCOMPARE(prompt.beeps(), beeps);
        if (message.isEmpty()) {
            QCOMPARE(prompt.count(), 0);
            return;
        }
        QCOMPARE(prompt.count(), beeps + 1);
        if (beeps) // the beep sounds before the box
            QCOMPARE(prompt.shown().first().kind, ShownBox::Beep);
        QCOMPARE(prompt.last().kind, ShownBox::Message);
        QCOMPARE(prompt.last().text, message);
        QCOMPARE(prompt.last().icon, icon);
        QCOMPARE(prompt.last().buttons, Prompt::Buttons::OK);
        QCOMPARE(prompt.last().title, QString()); // no title of its own
        FW_VERIFY_PROMPTS(prompt);
    }

    // An error in the middle of the check is shown in a plain box, and the
    // date is refused rather than let through unchecked.
    void checkDOBRefusesWhenTheCheckFails()
    {
        struct FailingBeep : ScriptedPrompt {
            void beep() override { throw FwError(5, QStringLiteral("Invalid procedure call")); }
        };
        Clock::setNow(kNow);
        FailingBeep prompt;
        QCOMPARE(int(CheckDOB(QStringLiteral("16-Jun-2024"))), 0);
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.last().text, QStringLiteral("Invalid procedure call"));
        QCOMPARE(prompt.last().icon, Prompt::Icon::None);
        QCOMPARE(prompt.last().buttons, Prompt::Buttons::OK);
        QCOMPARE(prompt.last().title, QString());
    }

    void ageText_data()
    {
        QTest::addColumn<int>("daysOld");
        QTest::addColumn<QString>("text");
        QTest::newRow("born today") << 0 << " 0yrs  0mths  0wks";
        QTest::newRow("365 days") << 365 << " 1yrs  0mths  0wks";
        QTest::newRow("364 days") << 364 << " 0yrs  11mths  4wks";
        QTest::newRow("30 days, not yet a month of 30.42") << 30 << " 0yrs  0mths  4wks";
        QTest::newRow("31 days") << 31 << " 0yrs  1mths  0wks";
        QTest::newRow("1000 days") << 1000 << " 2yrs  8mths  3wks";
        QTest::newRow("3700 days") << 3700 << " 10yrs  1mths  2wks";
        QTest::newRow("born tomorrow") << -1 << "-1yrs  11mths  4wks";
        QTest::newRow("400 days ahead") << -400 << "-2yrs  10mths  3wks";
    }
    void ageText()
    {
        QFETCH(int, daysOld);
        QFETCH(QString, text);
        Clock::setNow(kNow);
        QCOMPARE(AgeText(kNow.date().addDays(-daysOld)), text);
    }

    void ageTextOfNoDateThrows() { QVERIFY_THROWS_EXCEPTION(FwError, AgeText(QDate())); }

    void selectAllTextSelectsEveryTextBox()
    {
        ScriptedPrompt prompt;
        QLineEdit line(QStringLiteral("Smith & Sons"));
        line.setCursorPosition(3);
        SelectAllText(&line);
        QCOMPARE(line.selectedText(), QStringLiteral("Smith & Sons"));

        QTextEdit rich;
        rich.setPlainText(QStringLiteral("first line\nsecond"));
        SelectAllText(&rich);
        QCOMPARE(rich.textCursor().selectedText(), QStringLiteral("first line") + QChar::ParagraphSeparator + "second");

        QPlainTextEdit plain;
        plain.setPlainText(QStringLiteral("None"));
        SelectAllText(&plain);
        QCOMPARE(plain.textCursor().selectedText(), QStringLiteral("None"));
        QCOMPARE(prompt.count(), 0);
    }

    void selectAllTextOfSomethingElseSaysSo()
    {
        ScriptedPrompt prompt;
        QPushButton button(QStringLiteral("&Done"));
        SelectAllText(&button);
        SelectAllText(nullptr);
        QCOMPARE(prompt.count(), 2);
        for (const ShownBox &b : prompt.shown()) {
            QCOMPARE(b.text, QStringLiteral("The cursor must be inside a text box in order to select its text!"));
            QCOMPARE(b.icon, Prompt::Icon::None);
            QCOMPARE(b.buttons, Prompt::Buttons::OK);
            QCOMPARE(b.title, QString());
        }
    }

    void caseCaption()
    {
        QCOMPARE(CaseCaption(QStringLiteral("12"), QStringLiteral("Rex"), QStringLiteral("Smith")),
                 QStringLiteral("Case# 12, Rex Smith"));
        QCOMPARE(CaseCaption(QStringLiteral("1031"), QStringLiteral("Mrs Tiggy"), QStringLiteral("O'Neill")),
                 QStringLiteral("Case# 1031, Mrs Tiggy O'Neill"));
    }

    void bindToClinicDB()
    {
        TestEnv env;
        const int rex = CaseBuilder().add();
        CaseBuilder().surname("Jones").animal("Tibbles").add();

        DataControl data;
        BindToClinicDB(data, QStringLiteral("SELECT * FROM [Clients] WHERE [CaseNo] = ?"), {rex});
        QCOMPARE(data.DatabaseName, App().DBFName);
        QCOMPARE(data.Connect, QStringLiteral(";pwd=rif4471quodo"));
        QCOMPARE(data.recordset().recordCount(), 1);
        QCOMPARE(data.recordset().text(QStringLiteral("AnimalName")), QStringLiteral("Rex"));

        // Without a record source the control keeps its own.
        data.setRecordSource(QStringLiteral("Clients"));
        BindToClinicDB(data);
        QCOMPARE(data.recordset().recordCount(), 2);

        // A database moved elsewhere takes effect at the next binding.
        const QString moved = env.appPath() + QStringLiteral("moved/Fenwarra.mdb");
        ClinicDb::create(moved);
        App().DBFName = moved;
        BindToClinicDB(data);
        QCOMPARE(data.DatabaseName, moved);
        QCOMPARE(data.recordset().recordCount(), 0);
    }

    void openCaseWindowWithoutFrame()
    {
        TestEnv env(false);
        QPointer<frmDocument> a = OpenCaseWindow(QStringLiteral("Case# 12, Rex Smith"));
        QPointer<frmDocument> b = OpenCaseWindow(QStringLiteral("Case# 12, Rex Smith"));
        QVERIFY(a && b);
        QVERIFY(a != b); // the same case opens a second window
        QCOMPARE(a->windowTitle(), QStringLiteral("Case# 12, Rex Smith"));
        QCOMPARE(a->objectName(), QStringLiteral("frmDocument"));
        QVERIFY(a->isVisible());
        a->close();
        b->close();
        QTRY_VERIFY(!a && !b); // closed stand-alone windows are released
    }

    void openCaseWindowInTheFrame()
    {
        TestEnv env;
        frmMain frame;
        frame.show();
        frmDocument *first = OpenCaseWindow(QStringLiteral("Case# 1, Rex Smith"));
        frmDocument *second = OpenCaseWindow(QStringLiteral("Case# 2, Tibbles Jones"));
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 2);
        QMdiSubWindow *holder = frmMain::subWindowOf(first);
        QVERIFY(holder);
        QCOMPARE(holder->mdiArea(), frame.mdiArea());
        QCOMPARE(frame.activeChild(), second); // the newest becomes the active child
        QCOMPARE(frame.mdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("Case# 2, Tibbles Jones"));
        QVERIFY(second->isVisible());
    }
};

FW_TEST(SharedProcsTest)
#include "tst_SharedProcs.moc"
