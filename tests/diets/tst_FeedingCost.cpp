// The feeding-cost calculator's arithmetic: the sentences of both columns,
// the refusals in their order, and the divisions by zero that are refused
// rather than shown as infinity.
#include "diets/FeedingCost.h"
#include "platform/FwError.h"
#include "support/TestMain.h"

#include <QTest>

using namespace FeedingCost;

Q_DECLARE_METATYPE(FeedingCost::Refusal)
Q_DECLARE_METATYPE(FeedingCost::Field)

class FeedingCostTest : public QObject {
    Q_OBJECT

private slots:
    void dry_data()
    {
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("fed");
        QTest::addColumn<QString>("text");

        QTest::newRow("90 for 15 kg, 250 gm a day")
            << "90"
            << "15"
            << "250"
            << "This bag will last you  60 days.\r\nThe feeding cost per day will be $ 1.5.";
        QTest::newRow("costed from the rounded day count: 45 / 33.3")
            << "45"
            << "10"
            << "300"
            << "This bag will last you  33.3 days.\r\nThe feeding cost per day will be $ 1.35.";
        QTest::newRow("under a unit: no zero before the point")
            << "2"
            << " 1"
            << "200"
            << "This bag will last you  5 days.\r\nThe feeding cost per day will be $ .4.";
    }

    void dry()
    {
        QFETCH(QString, cost);
        QFETCH(QString, size);
        QFETCH(QString, fed);
        QFETCH(QString, text);
        const Result r = FeedingCost::dry({cost, size, fed});
        QCOMPARE(r.refusal, Refusal::None);
        QCOMPARE(r.text, text);
    }

    void canned_data()
    {
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QString>("sold");
        QTest::addColumn<QString>("fed");
        QTest::addColumn<QString>("text");

        QTest::newRow("1.25 a can, 24 cans, 2 a day")
            << "1.25"
            << "24"
            << "2"
            << "24 cans will last you  12 days.\r\nThe feeding cost per day will be $ 2.5.";
        QTest::newRow("1234.5 a day: no thousands separator, no trailing zero; cans as typed")
            << "1234.5"
            << " 24"
            << "1"
            << " 24 cans will last you  24 days.\r\nThe feeding cost per day will be $ 1234.5.";
    }

    void canned()
    {
        QFETCH(QString, cost);
        QFETCH(QString, sold);
        QFETCH(QString, fed);
        QFETCH(QString, text);
        const Result r = FeedingCost::canned({cost, sold, fed});
        QCOMPARE(r.refusal, Refusal::None);
        QCOMPARE(r.text, text);
    }

    void refusals_data()
    {
        QTest::addColumn<bool>("isDry");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<Refusal>("refusal");
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("message");

        // Each row also breaks every later check, so the order is tested too.
        QTest::newRow("bag price") << true << QStringList{"", "x", "0"} << Refusal::CostNotNumeric << Field::UnitCost
                                   << "Please enter the cost per bag correctly as a numerical value.";
        QTest::newRow("bag size") << true << QStringList{"90", "15kg", "x"} << Refusal::BagSizeNotNumeric
                                  << Field::UnitSizeBag
                                  << "Please enter the bag size in kg correctly as a numerical value.";
        QTest::newRow("amount fed") << true << QStringList{"90", "15", "lots"} << Refusal::DryFedNotNumeric
                                    << Field::HowMuchFed
                                    << "Please enter the amount (gm) of dry food fed per day correctly as a numerical "
                                       "value.";
        QTest::newRow("negative bag price") << true << QStringList{"-5", "0", "0"} << Refusal::NegativeCost
                                            << Field::UnitCost << "Please enter a cost per bag that is 0 or more.";
        QTest::newRow("bag of 0 kg") << true << QStringList{"90", "0", "0"} << Refusal::NoBagSize << Field::UnitSizeBag
                                     << "Please enter a bag size in kg that is more than 0.";
        QTest::newRow("negative bag") << true << QStringList{"90", "-15", "250"} << Refusal::NoBagSize
                                      << Field::UnitSizeBag << "Please enter a bag size in kg that is more than 0.";
        QTest::newRow("0 gm a day") << true << QStringList{"90", "15", "0"} << Refusal::NoDryFed << Field::HowMuchFed
                                    << "Please enter an amount (gm) of dry food fed per day that is more than 0.";
        QTest::newRow("a bag shown as lasting 0 days")
            << true << QStringList{"90", "0.00001", "250"} << Refusal::BagTooShort << Field::UnitSizeBag
            << "This bag would last less than 0.05 days, so no cost per day can be worked out. Please check the bag "
               "size in kg and the amount fed per day.";
        QTest::newRow("can price") << false << QStringList{"$1", "x", "0"} << Refusal::CanCostNotNumeric
                                   << Field::UnitCostCan
                                   << "Please enter the cost per can correctly as a numerical value.";
        QTest::newRow("cans sold") << false << QStringList{"1.25", "", "x"} << Refusal::CansSoldNotNumeric
                                   << Field::CansSold
                                   << "Please enter the number of cans to be sold correctly as a numerical value.";
        QTest::newRow("cans fed") << false << QStringList{"1.25", "24", "two"} << Refusal::CansFedNotNumeric
                                  << Field::HowMuchFedCans
                                  << "Please enter the number of cans fed per day correctly as a numerical value.";
        QTest::newRow("negative can price") << false << QStringList{"-1.25", "-5", "0"} << Refusal::NegativeCanCost
                                            << Field::UnitCostCan << "Please enter a cost per can that is 0 or more.";
        QTest::newRow("negative cans sold")
            << false << QStringList{"1.25", "-5", "0"} << Refusal::NoCansSold << Field::CansSold
            << "Please enter a number of cans to be sold that is more than 0.";
        QTest::newRow("0 cans sold") << false << QStringList{"1.25", "0", "2"} << Refusal::NoCansSold << Field::CansSold
                                     << "Please enter a number of cans to be sold that is more than 0.";
        QTest::newRow("0 cans a day") << false << QStringList{"1.25", "24", "0"} << Refusal::NoCansFed
                                      << Field::HowMuchFedCans
                                      << "Please enter a number of cans fed per day that is more than 0.";
        QTest::newRow("cans shown as lasting 0 days")
            << false << QStringList{"1.25", "1e-300", "2"} << Refusal::CansTooShort << Field::CansSold
            << "These cans would last less than 0.05 days, so no cost per day can be worked out. Please check the "
               "number of cans to be sold and the number fed per day.";
    }

    void refusals()
    {
        QFETCH(bool, isDry);
        QFETCH(QStringList, boxes);
        QFETCH(Refusal, refusal);
        QFETCH(Field, field);
        QFETCH(QString, message);
        const Result r = isDry ? FeedingCost::dry({boxes[0], boxes[1], boxes[2]})
                               : FeedingCost::canned({boxes[0], boxes[1], boxes[2]});
        QCOMPARE(r.refusal, refusal);
        QCOMPARE(refusalField(r.refusal), field);
        QCOMPARE(refusalText(r.refusal), message);
        QVERIFY(r.text.isEmpty());
    }

    void overflowIsReported()
    {
        QVERIFY_THROWS_EXCEPTION(FwError, FeedingCost::dry({"90", "1e308", "0.5"}));
        try {
            FeedingCost::canned({"1e308", "1e11", "1e10"});
            QFAIL("no error");
        } catch (const FwError &e) {
            QCOMPARE(e.number(), int(ErrNo::Overflow));
        }
    }
};

FW_TEST(FeedingCostTest)
#include "tst_FeedingCost.moc"
