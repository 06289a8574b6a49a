// The arithmetic of a weighing: the interval refusal, the weeks, the weekly
// step and the entries that fill in the weeks, the undo's current weight and
// the first-weight correction.
#include "cases/Weighing.h"
#include "platform/FwError.h"
#include "support/TestMain.h"

#include <QTest>

class WeighingTest : public QObject {
    Q_OBJECT

private slots:
    void nextWeighing_data()
    {
        QTest::addColumn<float>("prev");
        QTest::addColumn<double>("newWeight");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("weeks");
        QTest::addColumn<float>("step");
        QTest::addColumn<QString>("appended");
        QTest::addColumn<float>("currentWt");

        QTest::newRow("12 to 11 in 14 days") << 12.0f << 11.0 << 14 << 2 << -0.5f << "11.5;11.;" << 11.0f;
        QTest::newRow("10 to 10.05 in 70 days: weekly change under 0.01")
            << 10.0f << 10.05 << 70 << 10 << 0.0f << QString("10.;").repeated(10) << 10.05f;
        QTest::newRow("20 to 23 in 21 days") << 20.0f << 23.0 << 21 << 3 << 1.0f << "21.;22.;23.;" << 23.0f;
        QTest::newRow("6 days is one week") << 12.0f << 12.4 << 6 << 1 << 0.4f << "12.4;" << 12.4f;
        QTest::newRow("10 days is one week") << 8.0f << 8.0 << 10 << 1 << 0.0f << "8.;" << 8.0f;
        QTest::newRow("11 days is two weeks") << 8.0f << 9.0 << 11 << 2 << 0.5f << "8.5;9.;" << 9.0f;
        QTest::newRow("17 days is two weeks") << 8.0f << 9.0 << 17 << 2 << 0.5f << "8.5;9.;" << 9.0f;
        QTest::newRow("18 days is three weeks") << 3.0f << 3.3 << 18 << 3 << 0.1f << "3.1;3.2;3.3;" << 3.3f;
        QTest::newRow("step rounded to two decimals") << 10.0f << 11.0 << 21 << 3 << 0.33f << "10.3;10.7;11.;" << 11.0f;
        QTest::newRow("below one unit: no zero before the point")
            << 0.5f << 0.8 << 21 << 3 << 0.1f << ".6;.7;.8;" << 0.8f;
        QTest::newRow("new weight with more decimals is kept as entered")
            << 5.0f << 5.126 << 7 << 1 << 0.13f << "5.1;" << 5.126f;
        QTest::newRow("no change") << 7.5f << 7.5 << 14 << 2 << 0.0f << "7.5;7.5;" << 7.5f;
    }

    void nextWeighing()
    {
        QFETCH(float, prev);
        QFETCH(double, newWeight);
        QFETCH(int, days);
        QFETCH(int, weeks);
        QFETCH(float, step);
        QFETCH(QString, appended);
        QFETCH(float, currentWt);

        QVERIFY(!Weighing::tooSoon(static_cast<qint16>(days)));
        const Weighing::Result r = Weighing::nextWeighing(newWeight, prev, static_cast<qint16>(days));
        QCOMPARE(int(r.weeks), weeks);
        QCOMPARE(r.step, step);
        QCOMPARE(r.appended, appended);
        QCOMPARE(r.currentWt, currentWt);
    }

    void historyKeeps_data()
    {
        QTest::addColumn<float>("prev");
        QTest::addColumn<double>("newWeight");
        QTest::addColumn<int>("days");
        QTest::addColumn<bool>("keeps");
        QTest::newRow("0.05 is kept as .1") << 0.3f << 0.05 << 7 << true;
        QTest::newRow("0.04 would be a lone point") << 0.3f << 0.04 << 7 << false;
        QTest::newRow("0.04 from 0.04") << 0.04f << 0.04 << 7 << false;
        // The rounded steps end a little short of 0.05: the week that stands
        // for it would be kept as 0.
        QTest::newRow("the last step falls short") << 1.0f << 0.05 << 21 << false;
        QTest::newRow("0.07 after the same steps") << 1.0f << 0.07 << 21 << true;
    }

    void historyKeeps()
    {
        QFETCH(float, prev);
        QFETCH(double, newWeight);
        QFETCH(int, days);
        QFETCH(bool, keeps);
        const Weighing::Result r = Weighing::nextWeighing(newWeight, prev, static_cast<qint16>(days));
        QCOMPARE(Weighing::historyKeeps(r), keeps);
    }

    void interval_data()
    {
        QTest::addColumn<QDate>("lastWeighed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("message");

        const QDate today(2026, 3, 10);
        QTest::newRow("same day")
            << today << true << "It is only  0 days since the last weight. The minimum re-weigh interval is 6 days.";
        QTest::newRow("5 days") << today.addDays(-5) << true
                                << "It is only  5 days since the last weight. The minimum re-weigh interval is 6 days.";
        QTest::newRow("6 days") << today.addDays(-6) << false << QString();
        QTest::newRow("future") << today.addDays(3) << true
                                << "It is only -3 days since the last weight. The minimum re-weigh interval is 6 days.";
    }

    void interval()
    {
        QFETCH(QDate, lastWeighed);
        QFETCH(bool, refused);
        QFETCH(QString, message);
        const qint16 days = Weighing::daysSince(lastWeighed, QDate(2026, 3, 10));
        QCOMPARE(Weighing::tooSoon(days), refused);
        if (refused)
            QCOMPARE(Weighing::tooSoonText(days), message);
    }

    void daysBeyondSixteenBitsOverflow()
    {
        try {
            Weighing::daysSince(QDate(1900, 1, 1), QDate(2026, 1, 1));
            QFAIL("no overflow");
        } catch (const FwError &e) {
            QCOMPARE(e.number(), ErrNo::Overflow);
        }
    }

    void answers_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("check");
        using C = Weighing::AnswerCheck;
        QTest::newRow("cancelled") << "" << int(C::Empty);
        QTest::newRow("default left") << "?" << int(C::NotNumeric);
        QTest::newRow("unit typed") << "12kg" << int(C::NotNumeric);
        QTest::newRow("comma") << "12,5" << int(C::NotNumeric);
        QTest::newRow("zero") << "0" << int(C::NotPositive);
        QTest::newRow("negative") << "-3" << int(C::NotPositive);
        QTest::newRow("beyond single precision") << "1e39" << int(C::TooLarge);
        QTest::newRow("a digit too many") << "99999" << int(C::TooLarge);
        QTest::newRow("exponent form") << "1e20" << int(C::TooLarge);
        QTest::newRow("near the single limit") << "3e38" << int(C::TooLarge);
        QTest::newRow("just above the largest") << "10000" << int(C::TooLarge);
        QTest::newRow("the largest") << "9999.9" << int(C::Ok);
        QTest::newRow("weight") << "12.5" << int(C::Ok);
        QTest::newRow("with blanks") << " 12.5 " << int(C::Ok);
        QTest::newRow("half") << ".5" << int(C::Ok);
    }

    void answers()
    {
        QFETCH(QString, answer);
        QFETCH(int, check);
        const Weighing::AnswerCheck c = Weighing::checkAnswer(answer);
        QCOMPARE(int(c), check);
        if (c == Weighing::AnswerCheck::NotNumeric)
            QCOMPARE(Weighing::refusalText(c), QString("You must enter a numerical value"));
        if (c == Weighing::AnswerCheck::NotPositive)
            QCOMPARE(Weighing::refusalText(c), QString("The weight must be more than 0"));
        if (c == Weighing::AnswerCheck::TooLarge)
            QCOMPARE(Weighing::refusalText(c),
                     QString("The weight is too large: the largest weight a case can hold is 9999.9"));
    }

    void undoAndCorrection()
    {
        QCOMPARE(Weighing::undoneCurrentWt("12.5;12.;"), 12.0f);
        QCOMPARE(Weighing::undoneCurrentWt("12.50;"), 12.5f);
        QCOMPARE(Weighing::undoneCurrentWt(" 12.5;11.5;.5;"), 0.5f);
        QCOMPARE(Weighing::correctedHistory(12.5f), QString(" 12.5;"));
        QCOMPARE(Weighing::correctedHistory(0.5f), QString(" .5;"));
        // Stored as the decimal the single-precision weight stands for.
        QCOMPARE(Weighing::storedWeight(10.05f), 10.05);
        QCOMPARE(Weighing::storedWeight(11.0f), 11.0);
    }
};

FW_TEST(WeighingTest)
#include "tst_Weighing.moc"
