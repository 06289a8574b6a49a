// The date-of-birth and age window: a typed date of birth gives the age, a
// typed age gives a date of birth; refusals keep the window open and write
// nothing into the case details.
#include "cases/CaseDetails.h"
#include "cases/frmDOBAge.h"
#include "platform/FwError.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "platform/text/DateText.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTest>

class DobEntryTest : public QObject {
    Q_OBJECT

    const QDateTime m_now{QDate(2026, 3, 10), QTime(10, 30)};

    // A case details window with its date-of-birth window open.
    struct Fixture {
        TestEnv env{false};
        ScriptedPrompt prompt;
        CaseDetails details;
        QPointer<frmDOBAge> dob;
        Fixture(const QDateTime &now)
        {
            Clock::setNow(now);
            control<QLabel>(&details, "DOB")->setText(QStringLiteral("was"));
            control<QLabel>(&details, "AAge")->setText(QStringLiteral("was"));
            details.CalcAge_Click();
            dob = details.dobWindow();
        }
        void typeDob(const QString &keys)
        {
            control<QRadioButton>(dob, "Option1", 0)->click();
            control<QLineEdit>(dob, "MaskEdDOB")->setFocus();
            control<QLineEdit>(dob, "MaskEdDOB")->setCursorPosition(0);
            QTest::keyClicks(control<QLineEdit>(dob, "MaskEdDOB"), keys);
        }
        void typeAge(const QString &keys)
        {
            control<QRadioButton>(dob, "Option1", 1)->click();
            control<QLineEdit>(dob, "MaskEdAge")->setCursorPosition(0);
            QTest::keyClicks(control<QLineEdit>(dob, "MaskEdAge"), keys);
        }
        bool untouched() const
        {
            return control<QLabel>(&details, "DOB")->text() == QLatin1String("was") &&
                   control<QLabel>(&details, "AAge")->text() == QLatin1String("was");
        }
    };

private slots:
    void ageToDate_data()
    {
        QTest::addColumn<QString>("age");
        QTest::addColumn<int>("days");
        QTest::newRow("2 years 3 months 3 weeks") << "02yrs 03mths 03wks" << 835;
        QTest::newRow("one month is 28 days") << "00yrs 01mths 00wks" << 28;
        QTest::newRow("89 years still fits") << "89yrs 00mths 00wks" << 32485;
        // The prompt "_" is an empty place: the box shows 2, 3 and 4, and so they are read.
        QTest::newRow("prompt left in the first place reads the digit shown") << "_2yrs 03mths _3wks" << 835;
        QTest::newRow("prompt before the months") << "00yrs _4mths 00wks" << 112;
        QTest::newRow("nothing typed in a field reads 0") << "__yrs 01mths __wks" << 28;
        QTest::newRow("digit only in the first place") << "2_yrs 00mths 00wks" << 730;
    }

    void ageToDate()
    {
        QFETCH(QString, age);
        QFETCH(int, days);
        QCOMPARE(dobFromAgeText(age, m_now), m_now.addDays(-days));
    }

    void unreadableAges_data()
    {
        QTest::addColumn<QString>("age");
        QTest::addColumn<int>("error");
        QTest::newRow("16-bit overflow") << "89yrs 11mths 03wks" << int(ErrNo::Overflow);
        QTest::newRow("unit word missing") << "02yrs 03mths 03" << 5;
        QTest::newRow("unit word at the start") << "yrs 03mths 03wks" << 5;
    }

    void unreadableAges()
    {
        QFETCH(QString, age);
        QFETCH(int, error);
        try {
            dobFromAgeText(age, m_now);
            QFAIL("an age that cannot be read gave a date");
        } catch (const FwError &e) {
            QCOMPARE(e.number(), error);
        }
    }

    void dateModeWritesDateAndAge()
    {
        Fixture f(m_now);
        f.typeDob("10Mar2025");
        QCOMPARE(frmDOBAge::maskedText(control<QLineEdit>(f.dob, "MaskEdDOB")), QString("10-Mar-2025"));
        f.dob->Done_Click();
        QCOMPARE(control<QLabel>(&f.details, "DOB")->text(), QString("10-Mar-2025"));
        QCOMPARE(control<QLabel>(&f.details, "AAge")->text(), QString(" 1yrs  0mths  0wks"));
        QCOMPARE(App().CurrAgeText, QString(" 1yrs  0mths  0wks"));
        QVERIFY(!f.dob->isVisible());
        QCOMPARE(f.prompt.count(), 0);
    }

    void refusedDatesKeepTheWindowOpen_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("message");
        QTest::newRow("tomorrow") << "11Mar2026"
                                  << "DOB date cannot be be in the future!";
        QTest::newRow("no such month") << "31Xyz1997"
                                       << "What you entered doesn't make sense as a date, please re-enter in the "
                                          "format of 31-Dec-1995, ie include the full year expression";
        QTest::newRow("nothing typed") << ""
                                       << "What you entered doesn't make sense as a date, please re-enter in the "
                                          "format of 31-Dec-1995, ie include the full year expression";
    }

    void refusedDatesKeepTheWindowOpen()
    {
        QFETCH(QString, keys);
        QFETCH(QString, message);
        Fixture f(m_now);
        f.typeDob(keys);
        f.dob->Done_Click();
        QVERIFY(f.prompt.texts().contains(message));
        QVERIFY(f.untouched());
        QVERIFY(f.dob->isVisible());
    }

    void ageModeWritesTypedAgeAndDate()
    {
        Fixture f(m_now);
        f.typeAge("020303");
        f.dob->Done_Click();
        QCOMPARE(control<QLabel>(&f.details, "AAge")->text(), QString("02yrs 03mths 03wks"));
        QCOMPARE(control<QLabel>(&f.details, "DOB")->text(),
                 DateText::Format(m_now.date().addDays(-835), "dd-mmm-yyyy"));
        QCOMPARE(control<QLabel>(&f.details, "DOB")->text(), QString("26-Nov-2023"));
        QVERIFY(!f.dob->isVisible());
    }

    void unreadableAgeKeepsTheWindowOpen()
    {
        Fixture f(m_now);
        f.typeAge("891103");
        f.dob->Done_Click();
        QCOMPARE(f.prompt.count(), 1);
        QCOMPARE(f.prompt.last().text, QString("Overflow"));
        QCOMPARE(int(f.prompt.last().icon), int(Prompt::Icon::Critical));
        QCOMPARE(f.prompt.last().title, QString("Message from the Fenwarra"));
        QVERIFY(f.untouched());
        QVERIFY(f.dob->isVisible());
    }

    void modeSwitchShowsOneBox()
    {
        Fixture f(m_now);
        control<QRadioButton>(f.dob, "Option1", 1)->click();
        QVERIFY(control<QLineEdit>(f.dob, "MaskEdAge")->isVisible());
        QVERIFY(!control<QLineEdit>(f.dob, "MaskEdDOB")->isVisible());
        f.typeDob("10Mar2025");
        QVERIFY(control<QLineEdit>(f.dob, "MaskEdDOB")->isVisible());
        QVERIFY(!control<QLineEdit>(f.dob, "MaskEdAge")->isVisible());
        f.dob->Done_Click();
        QCOMPARE(control<QLabel>(&f.details, "DOB")->text(), QString("10-Mar-2025"));
    }

    void doneWithoutAModeClosesAndWritesNothing()
    {
        Fixture f(m_now);
        f.dob->Done_Click();
        QVERIFY(!f.dob->isVisible());
        QVERIFY(f.untouched());
        QCOMPARE(f.prompt.count(), 0);
    }

    void eachShowingStartsAfresh()
    {
        Fixture f(m_now);
        f.typeDob("10Mar2025");
        f.dob->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.dob.isNull());
        f.details.CalcAge_Click();
        QCOMPARE(frmDOBAge::maskedText(control<QLineEdit>(f.details.dobWindow(), "MaskEdDOB")), QString("__-___-____"));
        QVERIFY(!control<QRadioButton>(f.details.dobWindow(), "Option1", 0)->isChecked());
    }
};

FW_TEST(DobEntryTest)
#include "tst_DobEntry.moc"
