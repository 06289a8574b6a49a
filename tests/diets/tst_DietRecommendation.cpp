// The recommendation handed back to a case: eight lines dated by the program's
// clock, quoting the calculator's captions with their blanks and markers.
#include "diets/DietRecommendation.h"
#include "platform/text/Clock.h"
#include "support/TestMain.h"

#include <QTest>

class DietRecommendationTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Clock::reset(); }

    void workedExample()
    {
        Clock::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        DietRecommendation::Captions c;
        c.DietSelected = "Slim Diet";
        c.CupAmt = " 1.3";
        c.ResultDry = " 108";
        c.gmozUnitsDry = "gm Dry";
        c.CanAmt = " 1";
        c.ResultCan = " 419.9";
        c.gmozUnitsCan = "gm Canned";
        c.MixCups = " .8";
        c.MixCans = " .4";
        QCOMPARE(DietRecommendation::text(c), QString("06/Dec/26: \r\n"
                                                      " To reach the target weight, the Fenwarra suggests:\r\n"
                                                      "Slim Diet\r\n"
                                                      " Either\r\n"
                                                      "1] 1.3 cup(s) of dry ( 108 gm Dry) or\r\n"
                                                      "2] 1 can(s) of canned ( 419.9 gm Canned)\r\n"
                                                      "Or if you wish to use both dry and canned diet then try,\r\n"
                                                      "3]  .8 cup(s) of dry and  .4 can(s) of canned"));
    }

    void markersAreCopied()
    {
        DietRecommendation::Captions c;
        c.CupAmt = "Unable";
        c.ResultDry = " 6.4";
        c.gmozUnitsDry = "oz Dry";
        c.CanAmt = "N/A";
        c.ResultCan = "N/A";
        c.gmozUnitsCan = "oz Canned";
        c.MixCups = "Unable";
        c.MixCans = "0";
        const QStringList lines = DietRecommendation::text(c, QDate(2027, 1, 2)).split("\r\n");
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines[0], QString("02/Jan/27: "));
        QCOMPARE(lines[2], QString());
        QCOMPARE(lines[4], QString("1]Unable cup(s) of dry ( 6.4 oz Dry) or"));
        QCOMPARE(lines[5], QString("2]N/A can(s) of canned (N/A oz Canned)"));
        QCOMPARE(lines[7], QString("3] Unable cup(s) of dry and 0 can(s) of canned"));
    }
};

FW_TEST(DietRecommendationTest)
#include "tst_DietRecommendation.moc"
