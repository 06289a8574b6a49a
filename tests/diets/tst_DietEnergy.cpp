// The diet calculator's arithmetic: energy and amounts with their markers, the
// refusals in their order, the failures that are reported instead of shown as
// nonsense, and the mix of dry and canned food.
#include "diets/DietEnergy.h"
#include "diets/DietNumbers.h"
#include "platform/FwError.h"
#include "support/TestMain.h"

#include <QTest>

using namespace DietEnergy;
using DietFactors::Species;

Q_DECLARE_METATYPE(DietEnergy::Plan)
Q_DECLARE_METATYPE(DietEnergy::Unit)
Q_DECLARE_METATYPE(DietFactors::Species)
Q_DECLARE_METATYPE(DietEnergy::DietFigures)
Q_DECLARE_METATYPE(DietEnergy::CalcRefusal)
Q_DECLARE_METATYPE(DietEnergy::MixRefusal)
Q_DECLARE_METATYPE(DietEnergy::Field)
Q_DECLARE_METATYPE(DietEnergy::Amount)

namespace {

DietFigures figures(const QString &dry, const QString &perCup, const QString &canned, const QString &perCan)
{
    DietFigures d;
    d.MEDryText = dry;
    d.MEPerCup = perCup;
    d.MECanText = canned;
    d.GmPerCan = perCan;
    return d;
}

// The diet of the worked example: 350 KCal/100 gm dry, 300 KCal a cup, 90
// KCal/100 gm canned, 400 gm cans.
DietFigures example()
{
    return figures("350", "300", "90", "400");
}

CalcInput dog(const QString &weight, Unit unit = Unit::Kg, Plan plan = Plan::Maintenance)
{
    CalcInput in;
    in.plan = plan;
    in.species = Species::Canine;
    in.weight = weight;
    in.unit = unit;
    in.diet = example();
    return in;
}

MixInput mixAfter(const CalcInput &in, const CalcResult &r, int position)
{
    MixInput m;
    m.position = position;
    m.shown = r.results;
    m.diet = in.diet;
    m.unit = in.unit;
    return m;
}

} // namespace

class DietEnergyTest : public QObject {
    Q_OBJECT

private slots:
    void calculate_data()
    {
        QTest::addColumn<Plan>("plan");
        QTest::addColumn<Species>("species");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<int>("stat");
        QTest::addColumn<int>("envir");
        QTest::addColumn<DietFigures>("diet");
        // KCalPerDay, ResultDry, CupAmt, ResultCan, CanAmt, MixDry, MixCups, MixCanned, MixCans
        QTest::addColumn<QStringList>("texts");

        const auto M = Plan::Maintenance;
        const auto R = Plan::Reduction;
        const auto dog = Species::Canine;
        const auto cat = Species::Feline;
        QTest::newRow("10 kg neutered dog, 0-8.5 degrees")
            << M << dog << "10" << Unit::Kg << 2 << 1 << example()
            << QStringList{" 629.8", " 179.9", " 2.1", " 699.8", " 1.7", " 179.9", " 2.1", "0", "0"};
        QTest::newRow("the same dog, reduction: 0.6")
            << R << dog << "10" << Unit::Kg << 2 << 1 << example()
            << QStringList{" 377.9", " 108", " 1.3", " 419.9", " 1", " 108", " 1.3", "0", "0"};
        QTest::newRow("4 kg neutered cat")
            << M << cat << "4" << Unit::Kg << 2 << 1 << example()
            << QStringList{" 237.6", " 67.9", " .8", " 264", " .7", " 67.9", " .8", "0", "0"};
        QTest::newRow("the same cat, reduction: 0.7")
            << R << cat << "4" << Unit::Kg << 2 << 1 << example()
            << QStringList{" 166.3", " 47.5", " .6", " 184.8", " .5", " 47.5", " .6", "0", "0"};
        QTest::newRow("22 lb dog: ounces, cans of 400 gm at 0.035 oz a gram")
            << M << dog << "22" << Unit::Lb << 2 << 1 << example()
            << QStringList{" 630.3", " 6.4", " 2.1", " 24.7", " 1.8", " 6.4", " 2.1", "0", "0"};
        QTest::newRow("352 oz is 22 lb") << M << dog << "352" << Unit::Oz << 2 << 1 << example()
                                         << QStringList{" 630.3", " 6.4", " 2.1", " 24.7", " 1.8",
                                                        " 6.4",   " 2.1", "0",    "0"};
        QTest::newRow("10000 gm is 10 kg")
            << M << dog << "10000" << Unit::Gm << 2 << 1 << example()
            << QStringList{" 629.8", " 179.9", " 2.1", " 699.8", " 1.7", " 179.9", " 2.1", "0", "0"};
        QTest::newRow("amounts of 1000 and more keep their digits after the grouping pattern")
            << M << dog << "40" << Unit::Kg << 3 << 2 << figures("350", "100", "60", "400")
            << QStringList{" 3507.1", " 1002", " 35.1", " 5845.2", " 14.6", " 1002", " 35.1", "0", "0"};
        QTest::newRow("a tiny weight computes amounts that round to 0, with their blank")
            << M << dog << "0.00001" << Unit::Kg << 2 << 1 << example()
            << QStringList{" 0", " 0", " 0", " 0", " 0", " 0", " 0", "0", "0"};
        QTest::newRow("no dry form: N/A")
            << M << dog << "10" << Unit::Kg << 2 << 1 << figures("0", "300", "90", "400")
            << QStringList{" 629.8", "N/A", "N/A", " 699.8", " 1.7", "N/A", "N/A", "0", "0"};
        QTest::newRow("no canned form: N/A")
            << M << dog << "10" << Unit::Kg << 2 << 1 << figures("350", "300", "0", "400")
            << QStringList{" 629.8", " 179.9", " 2.1", "N/A", "N/A", " 179.9", " 2.1", "N/A", "N/A"};
        QTest::newRow("letters per cup, empty can size: Unable")
            << M << dog << "10" << Unit::Kg << 2 << 1 << figures("350", "abc", "90", "")
            << QStringList{" 629.8", " 179.9", "Unable", " 699.8", "Unable", " 179.9", "Unable", "0", "Unable"};
    }

    void calculate()
    {
        QFETCH(Plan, plan);
        QFETCH(Species, species);
        QFETCH(QString, weight);
        QFETCH(Unit, unit);
        QFETCH(int, stat);
        QFETCH(int, envir);
        QFETCH(DietFigures, diet);
        QFETCH(QStringList, texts);

        CalcInput in;
        in.plan = plan;
        in.species = species;
        in.weight = weight;
        in.unit = unit;
        in.stat = stat;
        in.envir = envir;
        in.diet = diet;
        const CalcResult r = DietEnergy::calculate(in);
        QCOMPARE(r.refusal, CalcRefusal::None);
        const Results &s = r.results;
        const QStringList got{text(s.KCalPerDay), text(s.ResultDry), text(s.CupAmt),
                              text(s.ResultCan),  text(s.CanAmt),    text(s.MixDry),
                              text(s.MixCups),    text(s.MixCanned), text(s.MixCans)};
        QCOMPARE(got, texts);
    }

    void refusals_data()
    {
        QTest::addColumn<Species>("species");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<DietFigures>("diet");
        QTest::addColumn<CalcRefusal>("refusal");
        QTest::addColumn<QString>("message");
        QTest::addColumn<Field>("field");

        // Each row also breaks every later check, so the order is tested too.
        const DietFigures bad = figures("x", "300", "y", "400");
        QTest::newRow("no species") << Species::None << "" << Unit::Unknown << bad << CalcRefusal::NoSpecies
                                    << "You must first specify the species before you can calculate" << Field::None;
        QTest::newRow("weight empty") << Species::Feline << "" << Unit::Unknown << bad << CalcRefusal::ZeroWeight
                                      << "Please enter a none zero weight" << Field::None;
        QTest::newRow("weight exactly 0") << Species::Feline << "0" << Unit::Unknown << bad << CalcRefusal::ZeroWeight
                                          << "Please enter a none zero weight" << Field::None;
        QTest::newRow("weight 0.0") << Species::Feline << "0.0" << Unit::Unknown << bad << CalcRefusal::ZeroWeight
                                    << "Please enter a none zero weight" << Field::None;
        QTest::newRow("weight 0 after a blank")
            << Species::Feline << " 0" << Unit::Unknown << bad << CalcRefusal::ZeroWeight
            << "Please enter a none zero weight" << Field::None;
        QTest::newRow("weight -0") << Species::Feline << "-0" << Unit::Unknown << bad << CalcRefusal::ZeroWeight
                                   << "Please enter a none zero weight" << Field::None;
        QTest::newRow("weight not numeric")
            << Species::Canine << "10kg" << Unit::Unknown << bad << CalcRefusal::WeightNotNumeric
            << "please enter the weight correctly as a numerical value." << Field::Weight;
        QTest::newRow("dry energy not numeric")
            << Species::Canine << " 10" << Unit::Unknown << bad << CalcRefusal::DryNotNumeric
            << "please enter the Dry ME correctly as a numerical value." << Field::MEDryText;
        QTest::newRow("canned energy not numeric")
            << Species::Canine << "10" << Unit::Unknown << figures("350", "300", "", "400")
            << CalcRefusal::CannedNotNumeric << "please enter the canned ME correctly as a numerical value."
            << Field::MECanText;
        // A negative figure is refused before anything is computed from it; the
        // unit is not known yet, so the order is tested too.
        QTest::newRow("dry energy negative")
            << Species::Canine << "10" << Unit::Unknown << figures("-350", "-300", "-90", "-400")
            << CalcRefusal::DryNegative
            << "The dry KCal/100 gm cannot be negative: please enter it as a positive number." << Field::MEDryText;
        QTest::newRow("canned energy negative")
            << Species::Canine << "10" << Unit::Unknown << figures("350", "-300", "-90", "-400")
            << CalcRefusal::CannedNegative
            << "The canned KCal/100 gm cannot be negative: please enter it as a positive number." << Field::MECanText;
        QTest::newRow("energy per cup negative")
            << Species::Canine << "10" << Unit::Unknown << figures("350", "-300", "90", "-400")
            << CalcRefusal::PerCupNegative << "The KCal/Cup cannot be negative: please enter it as a positive number."
            << Field::MEPerCup;
        QTest::newRow("can size negative")
            << Species::Canine << "10" << Unit::Unknown << figures("350", "300", "90", "-400")
            << CalcRefusal::PerCanNegative << "The gm/can cannot be negative: please enter it as a positive number."
            << Field::GmPerCan;
        QTest::newRow("unit not known") << Species::Canine << "10" << Unit::Unknown << example()
                                        << CalcRefusal::UnknownUnit
                                        << "The unit of the weight is not known: the diet calculator works in kg, "
                                           "gm, lb or oz only."
                                        << Field::None;
    }

    void refusals()
    {
        QFETCH(Species, species);
        QFETCH(QString, weight);
        QFETCH(Unit, unit);
        QFETCH(DietFigures, diet);
        QFETCH(CalcRefusal, refusal);
        QFETCH(QString, message);
        QFETCH(Field, field);

        CalcInput in;
        in.species = species;
        in.weight = weight;
        in.unit = unit;
        in.diet = diet;
        const CalcResult r = DietEnergy::calculate(in);
        QCOMPARE(r.refusal, refusal);
        QCOMPARE(refusalText(r.refusal), message);
        QCOMPARE(refusalField(r.refusal), field);
        const Results &s = r.results;
        QVERIFY(!s.KCalPerDay.isValue() && !s.ResultDry.isValue() && !s.CanAmt.isValue());
    }

    // Figures that cannot be computed are reported, never written as inf or NaN.
    void failures_data()
    {
        QTest::addColumn<QString>("weight");
        QTest::addColumn<DietFigures>("diet");
        QTest::addColumn<int>("number");

        QTest::newRow("negative weight") << "-10" << example() << int(ErrNo::InvalidArgument);
        QTest::newRow("energy beyond single precision") << "1e60" << example() << int(ErrNo::Overflow);
        QTest::newRow("dry amount beyond single precision")
            << "10" << figures("1e-40", "300", "90", "400") << int(ErrNo::Overflow);
        QTest::newRow("cups beyond double") << "10" << figures("350", "1e-320", "90", "400") << int(ErrNo::Overflow);
        QTest::newRow("can size too large to read")
            << "10" << figures("350", "300", "90", "1e999") << int(ErrNo::Overflow);
    }

    void failures()
    {
        QFETCH(QString, weight);
        QFETCH(DietFigures, diet);
        QFETCH(int, number);

        CalcInput in = dog(weight);
        in.diet = diet;
        try {
            DietEnergy::calculate(in);
            QFAIL("no error");
        } catch (const FwError &e) {
            QCOMPARE(e.number(), number);
            QCOMPARE(
                e.description(),
                number == ErrNo::Overflow
                    ? DietNumbers::kTooLarge
                    : QStringLiteral("The weight cannot be negative: please enter the weight as a positive number."));
        }
    }

    void mix_data()
    {
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<int>("position");
        // PCanned, PDry, MixDry, MixCups, MixCanned, MixCans
        QTest::addColumn<QStringList>("texts");

        QTest::newRow("0: all dry, from the rounded energy")
            << Unit::Kg << "10" << 0 << QStringList{"0% Can", "100% Dry", " 179.9", " 2.1", " 0", " 0"};
        QTest::newRow("3") << Unit::Kg << "10" << 3
                           << QStringList{"30% Can", "70% Dry", " 126", " 1.5", " 209.9", " .5"};
        QTest::newRow("10: all canned") << Unit::Kg << "10" << 10
                                        << QStringList{"100% Can", "0% Dry", " 0", " 0", " 699.8", " 1.7"};
        // The calculation counts 1.8 cans (0.035 oz a gram), the mix 1.7 (0.0353).
        QTest::newRow("10 in lb") << Unit::Lb << "22" << 10
                                  << QStringList{"100% Can", "0% Dry", " 0", " 0", " 24.7", " 1.7"};
    }

    void mix()
    {
        QFETCH(Unit, unit);
        QFETCH(QString, weight);
        QFETCH(int, position);
        QFETCH(QStringList, texts);

        const CalcInput in = dog(weight, unit);
        const CalcResult calc = DietEnergy::calculate(in);
        const MixResult r = DietEnergy::mix(mixAfter(in, calc, position));
        QCOMPARE(r.refusal, MixRefusal::None);
        const QStringList got{r.shares.PCanned, r.shares.PDry,     text(r.MixDry),
                              text(r.MixCups),  text(r.MixCanned), text(r.MixCans)};
        QCOMPARE(got, texts);
    }

    // Single-precision tenths times 100 are written as whole percentages.
    void sharesAreWholePercentages()
    {
        for (int position = 0; position <= 10; ++position) {
            const Shares s = shares(position);
            QCOMPARE(s.PCanned, QString::number(position * 10) + "% Can");
            QCOMPARE(s.PDry, QString::number(100 - position * 10) + "% Dry");
        }
    }

    void mixUnableAndRefusals_data()
    {
        QTest::addColumn<Amount>("resultDry");
        QTest::addColumn<Amount>("resultCan");
        QTest::addColumn<DietFigures>("diet");
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<MixRefusal>("refusal");
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("mixCups");
        QTest::addColumn<QString>("mixCans");

        // A refused mix works nothing out: its amounts stay "0".
        const QString none = kNoResult;
        const Amount noResult;
        const Amount dry = Amount::of(179.9f);
        const Amount canned = Amount::of(699.8f);
        QTest::newRow("after a reset") << noResult << canned << example() << Unit::Kg << MixRefusal::NoCalculation
                                       << Field::None << none << none;
        QTest::newRow("no canned result")
            << dry << noResult << example() << Unit::Kg << MixRefusal::NoCalculation << Field::None << none << none;
        QTest::newRow("only one form") << dry << Amount::notAvailable() << example() << Unit::Kg
                                       << MixRefusal::OneFormOnly << Field::None << none << none;
        QTest::newRow("dry energy changed to 0 since") << dry << canned << figures("0", "300", "90", "400") << Unit::Kg
                                                       << MixRefusal::NoDryEnergy << Field::MEDryText << none << none;
        QTest::newRow("canned energy changed to letters since")
            << dry << canned << figures("350", "300", "abc", "400") << Unit::Kg << MixRefusal::NoCannedEnergy
            << Field::MECanText << none << none;
        QTest::newRow("dry energy changed to negative since")
            << dry << canned << figures("-350", "300", "90", "400") << Unit::Kg << MixRefusal::DryNegative
            << Field::MEDryText << none << none;
        QTest::newRow("canned energy changed to negative since")
            << dry << canned << figures("350", "300", "-90", "400") << Unit::Kg << MixRefusal::CannedNegative
            << Field::MECanText << none << none;
        QTest::newRow("energy per cup changed to negative since")
            << dry << canned << figures("350", "-300", "90", "400") << Unit::Kg << MixRefusal::PerCupNegative
            << Field::MEPerCup << none << none;
        QTest::newRow("can size changed to negative since")
            << dry << canned << figures("350", "300", "90", "-400") << Unit::Kg << MixRefusal::PerCanNegative
            << Field::GmPerCan << none << none;
        QTest::newRow("unit not known") << dry << canned << example() << Unit::Unknown << MixRefusal::UnknownUnit
                                        << Field::None << none << none;
        QTest::newRow("no cup or can size: Unable") << dry << canned << figures("350", "0", "90", "0") << Unit::Kg
                                                    << MixRefusal::None << Field::None << "Unable"
                                                    << "Unable";
    }

    void mixUnableAndRefusals()
    {
        QFETCH(Amount, resultDry);
        QFETCH(Amount, resultCan);
        QFETCH(DietFigures, diet);
        QFETCH(Unit, unit);
        QFETCH(MixRefusal, refusal);
        QFETCH(Field, field);
        QFETCH(QString, mixCups);
        QFETCH(QString, mixCans);

        MixInput in;
        in.position = 3;
        in.shown.ResultDry = resultDry;
        in.shown.ResultCan = resultCan;
        in.shown.KCalPerDay = Amount::of(629.8);
        in.diet = diet;
        in.unit = unit;
        const MixResult r = DietEnergy::mix(in);
        QCOMPARE(r.refusal, refusal);
        QCOMPARE(refusalField(r.refusal), field);
        QCOMPARE(text(r.MixCups), mixCups);
        QCOMPARE(text(r.MixCans), mixCans);
        if (refusal == MixRefusal::None) {
            QCOMPARE(text(r.MixDry), QString(" 126"));
        } else {
            QVERIFY(!refusalText(r.refusal).isEmpty());
            QVERIFY(r.shares.PCanned.isEmpty());
        }
    }

    // The markers and the two precisions of a number, as the labels show them.
    void amountTexts()
    {
        QCOMPARE(text(Amount()), QString("0"));
        QCOMPARE(text(Amount::notAvailable()), QString("N/A"));
        QCOMPARE(text(Amount::unable()), QString("Unable"));
        QCOMPARE(text(Amount::of(179.9f)), QString(" 179.9"));
        QCOMPARE(text(Amount::of(double(179.9f))), QString(" 179.899993896484"));
        QCOMPARE(text(Amount::of(0.8)), QString(" .8"));
    }

    void mixRefusalTexts()
    {
        QCOMPARE(refusalText(MixRefusal::NoCalculation),
                 QString("You must first perform a calculation before you can mix dry and canned diets."));
        QCOMPARE(refusalText(MixRefusal::OneFormOnly), QString("For this diet there is only one diet form available."));
    }

    void units()
    {
        QCOMPARE(unitOf("kg"), Unit::Kg);
        QCOMPARE(unitOf("lb"), Unit::Lb);
        QCOMPARE(unitOf("gm"), Unit::Gm);
        QCOMPARE(unitOf("oz"), Unit::Oz);
        QCOMPARE(unitOf("KG"), Unit::Unknown);
        QCOMPARE(unitOf(""), Unit::Unknown);
        const UnitTexts lb = unitTexts(Unit::Lb);
        QCOMPARE(lb.WtUnitsLabel, QString("3. Weight (in lb)"));
        QCOMPARE(lb.gmozUnitsDry, QString("oz Dry"));
        QCOMPARE(lb.gmozUnitsCan, QString("oz Canned"));
        const UnitTexts unknown = unitTexts(Unit::Unknown);
        QCOMPARE(unknown.WtUnitsLabel, QString("3. Weight"));
        QCOMPARE(unknown.gmozUnitsDry, QString("gm Dry"));
    }
};

FW_TEST(DietEnergyTest)
#include "tst_DietEnergy.moc"
