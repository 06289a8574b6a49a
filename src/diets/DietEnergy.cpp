#include "diets/DietEnergy.h"

#include "diets/DietNumbers.h"
#include "platform/FwError.h"
#include "platform/text/NumberText.h"

#include <cmath>
#include <iterator>

namespace DietEnergy {

namespace {

// Amounts are rounded to one decimal with the grouping pattern (read back
// without the separators, so 2,307.7 gm stays 2307.7); the energy with "#.#".
const QString kAmountPattern = QStringLiteral("##,##0.0");
const QString kEnergyPattern = QStringLiteral("#.#");

const QString kNegativeWeight =
    QStringLiteral("The weight cannot be negative: please enter the weight as a positive number.");
const QString kUnknownUnit =
    QStringLiteral("The unit of the weight is not known: the diet calculator works in kg, gm, lb or oz only.");

// The resting energy per kilogram to the power 0.75, and the further factor of
// a reduction diet.
constexpr double kRestingEnergy = 70.0;
constexpr double kReductionFeline = 0.7;
constexpr double kReductionCanine = 0.6;

// A can's size in ounces uses 0.035 ounces to the gram (the shown amounts use
// GmFactor's 0.0353, so the mix at 100 % canned shows slightly fewer cans).
constexpr double kCanOuncesPerGram = 0.035;

double canSizeFactor(Unit unit)
{
    return (unit == Unit::Lb || unit == Unit::Oz) ? kCanOuncesPerGram : 1.0;
}

// The diet figures that cannot be below 0, in the order they are checked,
// with the names their boxes carry. The refusals of a negative figure stand
// in the same order in both refusal lists, from DryNegative on.
struct DietFigure {
    QString DietFigures::*text;
    Field field;
    const char *name;
};
const DietFigure kDietFigures[] = {
    {&DietFigures::MEDryText, Field::MEDryText, "dry KCal/100 gm"},
    {&DietFigures::MECanText, Field::MECanText, "canned KCal/100 gm"},
    {&DietFigures::MEPerCup, Field::MEPerCup, "KCal/Cup"},
    {&DietFigures::GmPerCan, Field::GmPerCan, "gm/can"},
};

// The place in kDietFigures of the first figure below 0; -1 when there is
// none. A negative energy or size would turn every amount made from it
// negative ("-9447.3" gm a day).
int negativeFigure(const DietFigures &diet)
{
    return DietNumbers::reportingOverflow([&] {
        for (int i = 0; i < int(std::size(kDietFigures)); ++i)
            if (NumText::Val(diet.*kDietFigures[i].text) < 0)
                return i;
        return -1;
    });
}

QString negativeText(int figure)
{
    return QStringLiteral("The %1 cannot be negative: please enter it as a positive number.")
        .arg(QLatin1String(kDietFigures[figure].name));
}

// A single-precision amount, rounded to one decimal.
float amount(double v)
{
    return NumText::RoundBy(DietNumbers::single(v), kAmountPattern);
}

// A double-precision figure rounded to one decimal.
Amount doubleAmount(double v)
{
    return Amount::of(NumText::RoundBy(DietNumbers::finite(v), kAmountPattern));
}

// The energy per day as its label shows it: rounded with a single's digits and
// read back in double precision, the figure the mix divides.
double shownEnergy(float kcal)
{
    return NumText::Val(NumText::Format(kcal, kEnergyPattern));
}

} // namespace

QString text(const Amount &amount)
{
    switch (amount.kind) {
    case Amount::Kind::NoResult:
        break;
    case Amount::Kind::Value:
        return amount.single ? NumText::Str(float(amount.value)) : NumText::Str(amount.value);
    case Amount::Kind::NotAvailable:
        return kNotAvailable;
    case Amount::Kind::Unable:
        return kUnable;
    }
    return kNoResult;
}

Unit unitOf(const QString &units)
{
    if (units == QLatin1String("kg"))
        return Unit::Kg;
    if (units == QLatin1String("gm"))
        return Unit::Gm;
    if (units == QLatin1String("lb"))
        return Unit::Lb;
    if (units == QLatin1String("oz"))
        return Unit::Oz;
    return Unit::Unknown;
}

float WtFactor(Unit unit)
{
    switch (unit) {
    case Unit::Kg:
        return 1.0f;
    case Unit::Gm:
        return 0.001f;
    case Unit::Lb:
        return 0.455f;
    case Unit::Oz:
        return 0.455f / 16.0f;
    case Unit::Unknown:
        break;
    }
    return 0.0f;
}

float GmFactor(Unit unit)
{
    switch (unit) {
    case Unit::Kg:
    case Unit::Gm:
        return 1.0f;
    case Unit::Lb:
    case Unit::Oz:
        return 0.0353f;
    case Unit::Unknown:
        break;
    }
    return 0.0f;
}

UnitTexts unitTexts(Unit unit)
{
    UnitTexts t{QStringLiteral("3. Weight"), QStringLiteral("gm Dry"), QStringLiteral("gm Canned")};
    switch (unit) {
    case Unit::Kg:
        t.WtUnitsLabel = QStringLiteral("3. Weight (in kg)");
        break;
    case Unit::Gm:
        t.WtUnitsLabel = QStringLiteral("3. Weight (in gm)");
        break;
    case Unit::Lb:
        t.WtUnitsLabel = QStringLiteral("3. Weight (in lb)");
        t.gmozUnitsDry = QStringLiteral("oz Dry");
        t.gmozUnitsCan = QStringLiteral("oz Canned");
        break;
    case Unit::Oz:
        t.WtUnitsLabel = QStringLiteral("3. Weight (in oz)");
        t.gmozUnitsDry = QStringLiteral("oz Dry");
        t.gmozUnitsCan = QStringLiteral("oz Canned");
        break;
    case Unit::Unknown:
        break;
    }
    return t;
}

QString refusalText(CalcRefusal refusal)
{
    switch (refusal) {
    case CalcRefusal::None:
        break;
    case CalcRefusal::NoSpecies:
        return QStringLiteral("You must first specify the species before you can calculate");
    case CalcRefusal::ZeroWeight:
        return QStringLiteral("Please enter a none zero weight");
    case CalcRefusal::WeightNotNumeric:
        return QStringLiteral("please enter the weight correctly as a numerical value.");
    case CalcRefusal::DryNotNumeric:
        return QStringLiteral("please enter the Dry ME correctly as a numerical value.");
    case CalcRefusal::CannedNotNumeric:
        return QStringLiteral("please enter the canned ME correctly as a numerical value.");
    case CalcRefusal::DryNegative:
    case CalcRefusal::CannedNegative:
    case CalcRefusal::PerCupNegative:
    case CalcRefusal::PerCanNegative:
        return negativeText(int(refusal) - int(CalcRefusal::DryNegative));
    case CalcRefusal::UnknownUnit:
        return kUnknownUnit;
    }
    return QString();
}

Field refusalField(CalcRefusal refusal)
{
    switch (refusal) {
    case CalcRefusal::WeightNotNumeric:
        return Field::Weight;
    case CalcRefusal::DryNotNumeric:
        return Field::MEDryText;
    case CalcRefusal::CannedNotNumeric:
        return Field::MECanText;
    case CalcRefusal::DryNegative:
    case CalcRefusal::CannedNegative:
    case CalcRefusal::PerCupNegative:
    case CalcRefusal::PerCanNegative:
        return kDietFigures[int(refusal) - int(CalcRefusal::DryNegative)].field;
    default:
        return Field::None;
    }
}

CalcResult calculate(const CalcInput &in)
{
    CalcResult r;
    int negative = -1;
    if (in.species == DietFactors::Species::None)
        r.refusal = CalcRefusal::NoSpecies;
    // Any number that is 0 ("0.0", " 0"), not only the text "0": the
    // calculation of nothing would be shown as a result.
    else if (in.weight.isEmpty() || (NumText::IsNumeric(in.weight) && NumText::Val(in.weight) == 0))
        r.refusal = CalcRefusal::ZeroWeight;
    else if (!NumText::IsNumeric(in.weight))
        r.refusal = CalcRefusal::WeightNotNumeric;
    else if (!NumText::IsNumeric(in.diet.MEDryText))
        r.refusal = CalcRefusal::DryNotNumeric;
    else if (!NumText::IsNumeric(in.diet.MECanText))
        r.refusal = CalcRefusal::CannedNotNumeric;
    else if ((negative = negativeFigure(in.diet)) >= 0)
        r.refusal = CalcRefusal(int(CalcRefusal::DryNegative) + negative);
    else if (in.unit == Unit::Unknown)
        r.refusal = CalcRefusal::UnknownUnit;
    if (r.refusal != CalcRefusal::None)
        return r;

    return DietNumbers::reportingOverflow([&] {
        const float statFactor = DietFactors::StatFactor(in.species, in.stat);
        const float envirFactor = DietFactors::EnvirFactor(in.envir);

        const double kg = NumText::Val(in.weight) * WtFactor(in.unit);
        if (kg < 0) // its 0.75 power does not exist
            throw FwError(ErrNo::InvalidArgument, kNegativeWeight);
        double energy = std::pow(kg, 0.75) * kRestingEnergy * statFactor * envirFactor;
        if (in.plan == Plan::Reduction)
            energy *= in.species == DietFactors::Species::Feline ? kReductionFeline : kReductionCanine;
        r.KCal = DietNumbers::single(energy);
        Results &shown = r.results;
        shown.KCalPerDay = Amount::of(shownEnergy(r.KCal));

        const float gmFactor = GmFactor(in.unit);
        const double dryEnergy = NumText::Val(in.diet.MEDryText);
        if (dryEnergy == 0) {
            shown.ResultDry = shown.MixDry = shown.CupAmt = shown.MixCups = Amount::notAvailable();
        } else {
            shown.ResultDry = shown.MixDry = Amount::of(amount(double(r.KCal) * 100 / dryEnergy * gmFactor));
            // Cups measure the dry food itself, whatever the unit of the amounts.
            const double perCup = NumText::Val(in.diet.MEPerCup);
            if (perCup == 0)
                shown.CupAmt = shown.MixCups = Amount::unable();
            else
                shown.CupAmt = shown.MixCups = doubleAmount(r.KCal / perCup);
        }

        const double cannedEnergy = NumText::Val(in.diet.MECanText);
        if (cannedEnergy == 0) {
            shown.ResultCan = shown.MixCanned = shown.CanAmt = shown.MixCans = Amount::notAvailable();
        } else {
            const float canned = amount(double(r.KCal) * 100 / cannedEnergy * gmFactor);
            shown.ResultCan = Amount::of(canned);
            // The mix starts all dry: no canned food until the slider moves.
            shown.MixCanned = shown.MixCans = Amount();
            const double perCan = NumText::Val(in.diet.GmPerCan);
            if (perCan == 0)
                shown.CanAmt = shown.MixCans = Amount::unable();
            else
                shown.CanAmt = doubleAmount(canned / (perCan * canSizeFactor(in.unit)));
        }
        return r;
    });
}

Shares shares(int position)
{
    const float p = static_cast<float>(position / 10.0);
    const float canned = p * 100.0f;
    const float dry = (1.0f - p) * 100.0f;
    return {NumText::Str(canned).trimmed() + QStringLiteral("% Can"),
            NumText::Str(dry).trimmed() + QStringLiteral("% Dry")};
}

QString refusalText(MixRefusal refusal)
{
    switch (refusal) {
    case MixRefusal::None:
        break;
    case MixRefusal::NoCalculation:
        return QStringLiteral("You must first perform a calculation before you can mix dry and canned diets.");
    case MixRefusal::OneFormOnly:
        return QStringLiteral("For this diet there is only one diet form available.");
    case MixRefusal::NoDryEnergy:
        return QStringLiteral("The dry KCal/100 gm of the diet is now 0 or not a number, so the mix cannot be "
                              "worked out. Please enter it again.");
    case MixRefusal::NoCannedEnergy:
        return QStringLiteral("The canned KCal/100 gm of the diet is now 0 or not a number, so the mix cannot be "
                              "worked out. Please enter it again.");
    case MixRefusal::DryNegative:
    case MixRefusal::CannedNegative:
    case MixRefusal::PerCupNegative:
    case MixRefusal::PerCanNegative:
        return negativeText(int(refusal) - int(MixRefusal::DryNegative));
    case MixRefusal::UnknownUnit:
        return kUnknownUnit;
    }
    return QString();
}

Field refusalField(MixRefusal refusal)
{
    switch (refusal) {
    case MixRefusal::NoDryEnergy:
        return Field::MEDryText;
    case MixRefusal::NoCannedEnergy:
        return Field::MECanText;
    case MixRefusal::DryNegative:
    case MixRefusal::CannedNegative:
    case MixRefusal::PerCupNegative:
    case MixRefusal::PerCanNegative:
        return kDietFigures[int(refusal) - int(MixRefusal::DryNegative)].field;
    default:
        return Field::None;
    }
}

MixResult mix(const MixInput &in)
{
    return DietNumbers::reportingOverflow([&] {
        MixResult r;
        int negative = -1;
        const Amount &dry = in.shown.ResultDry;
        const Amount &canned = in.shown.ResultCan;
        using Kind = Amount::Kind;
        if (dry.kind == Kind::NoResult || canned.kind == Kind::NoResult)
            r.refusal = MixRefusal::NoCalculation;
        else if (dry.kind == Kind::NotAvailable || canned.kind == Kind::NotAvailable)
            r.refusal = MixRefusal::OneFormOnly;
        else if (NumText::Val(in.diet.MEDryText) == 0)
            r.refusal = MixRefusal::NoDryEnergy;
        else if (NumText::Val(in.diet.MECanText) == 0)
            r.refusal = MixRefusal::NoCannedEnergy;
        else if ((negative = negativeFigure(in.diet)) >= 0)
            r.refusal = MixRefusal(int(MixRefusal::DryNegative) + negative);
        else if (in.unit == Unit::Unknown)
            r.refusal = MixRefusal::UnknownUnit;
        if (r.refusal != MixRefusal::None)
            return r;

        const float p = static_cast<float>(in.position / 10.0);
        r.shares = shares(in.position);
        const float cannedShare = p * 100.0f;
        const float dryShare = (1.0f - p) * 100.0f;

        // The energy as the calculation showed it, rounded.
        const double energy = in.shown.KCalPerDay.value;
        const double gmFactor = GmFactor(in.unit);
        const double dryEnergy = NumText::Val(in.diet.MEDryText);
        const double cannedEnergy = NumText::Val(in.diet.MECanText);

        r.MixDry = doubleAmount(dryShare * energy / dryEnergy * gmFactor);
        const double perCup = NumText::Val(in.diet.MEPerCup);
        if (perCup == 0)
            r.MixCups = Amount::unable();
        else
            r.MixCups = doubleAmount(r.MixDry.value * dryEnergy / 100 / perCup / gmFactor);

        r.MixCanned = doubleAmount(cannedShare * energy / cannedEnergy * gmFactor);
        const double perCan = NumText::Val(in.diet.GmPerCan);
        if (perCan == 0)
            r.MixCans = Amount::unable();
        else
            r.MixCans = doubleAmount(r.MixCanned.value / gmFactor / perCan);
        return r;
    });
}

} // namespace DietEnergy
