#include "diets/FeedingCost.h"

#include "diets/DietNumbers.h"
#include "platform/FwError.h"
#include "platform/text/NumberText.h"

namespace FeedingCost {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kDaysPattern = QStringLiteral("###.0");

// The day count rounded to one decimal, blank-led.
QString daysText(double days)
{
    return NumText::Str(NumText::RoundBy(DietNumbers::finite(days), kDaysPattern));
}

// A cost formatted with a currency pattern and read back: the "$" the pattern
// writes and its thousands separators are dropped, and so are trailing zeros
// ("$1,234.50" gives " 1234.5").
QString costText(double cost, const QString &pattern)
{
    QString formatted = NumText::Format(DietNumbers::finite(cost), pattern);
    formatted.remove(QLatin1Char('$'));
    formatted.remove(QLatin1Char(','));
    if (!NumText::IsNumeric(formatted))
        throw FwError(ErrNo::TypeMismatch);
    return NumText::Str(NumText::Val(formatted));
}

QString costSentence(const QString &cost)
{
    return QStringLiteral("The feeding cost per day will be $") + cost + QLatin1Char('.');
}

} // namespace

QString refusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None:
        break;
    case Refusal::CostNotNumeric:
        return QStringLiteral("Please enter the cost per bag correctly as a numerical value.");
    case Refusal::BagSizeNotNumeric:
        return QStringLiteral("Please enter the bag size in kg correctly as a numerical value.");
    case Refusal::DryFedNotNumeric:
        return QStringLiteral("Please enter the amount (gm) of dry food fed per day correctly as a numerical value.");
    case Refusal::NegativeCost:
        return QStringLiteral("Please enter a cost per bag that is 0 or more.");
    case Refusal::NoBagSize:
        return QStringLiteral("Please enter a bag size in kg that is more than 0.");
    case Refusal::NoDryFed:
        return QStringLiteral("Please enter an amount (gm) of dry food fed per day that is more than 0.");
    case Refusal::BagTooShort:
        return QStringLiteral(
            "This bag would last less than 0.05 days, so no cost per day can be worked out. Please check the bag "
            "size in kg and the amount fed per day.");
    case Refusal::CanCostNotNumeric:
        return QStringLiteral("Please enter the cost per can correctly as a numerical value.");
    case Refusal::CansSoldNotNumeric:
        return QStringLiteral("Please enter the number of cans to be sold correctly as a numerical value.");
    case Refusal::CansFedNotNumeric:
        return QStringLiteral("Please enter the number of cans fed per day correctly as a numerical value.");
    case Refusal::NegativeCanCost:
        return QStringLiteral("Please enter a cost per can that is 0 or more.");
    case Refusal::NoCansSold:
        return QStringLiteral("Please enter a number of cans to be sold that is more than 0.");
    case Refusal::NoCansFed:
        return QStringLiteral("Please enter a number of cans fed per day that is more than 0.");
    case Refusal::CansTooShort:
        return QStringLiteral(
            "These cans would last less than 0.05 days, so no cost per day can be worked out. Please check the "
            "number of cans to be sold and the number fed per day.");
    }
    return QString();
}

Field refusalField(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None:
        break;
    case Refusal::CostNotNumeric:
    case Refusal::NegativeCost:
        return Field::UnitCost;
    case Refusal::BagSizeNotNumeric:
    case Refusal::NoBagSize:
    case Refusal::BagTooShort:
        return Field::UnitSizeBag;
    case Refusal::DryFedNotNumeric:
    case Refusal::NoDryFed:
        return Field::HowMuchFed;
    case Refusal::CanCostNotNumeric:
    case Refusal::NegativeCanCost:
        return Field::UnitCostCan;
    case Refusal::CansSoldNotNumeric:
    case Refusal::NoCansSold:
    case Refusal::CansTooShort:
        return Field::CansSold;
    case Refusal::CansFedNotNumeric:
    case Refusal::NoCansFed:
        return Field::HowMuchFedCans;
    }
    return Field::None;
}

Result dry(const DryInput &in)
{
    return DietNumbers::reportingOverflow([&] {
        Result r;
        if (!NumText::IsNumeric(in.UnitCost))
            r.refusal = Refusal::CostNotNumeric;
        else if (!NumText::IsNumeric(in.UnitSizeBag))
            r.refusal = Refusal::BagSizeNotNumeric;
        else if (!NumText::IsNumeric(in.HowMuchFed))
            r.refusal = Refusal::DryFedNotNumeric;
        // A price may be 0 (a free sample); no price, bag or amount is below it.
        else if (NumText::Val(in.UnitCost) < 0)
            r.refusal = Refusal::NegativeCost;
        else if (NumText::Val(in.UnitSizeBag) <= 0)
            r.refusal = Refusal::NoBagSize;
        else if (NumText::Val(in.HowMuchFed) <= 0)
            r.refusal = Refusal::NoDryFed;
        if (r.refusal != Refusal::None)
            return r;

        r.days = daysText(NumText::Val(in.UnitSizeBag) * 1000 / NumText::Val(in.HowMuchFed));
        // The cost is that of a day as shown: the rounded count is the divisor.
        const double shownDays = NumText::Val(r.days);
        if (shownDays <= 0) {
            r.refusal = Refusal::BagTooShort;
            r.days.clear();
            return r;
        }
        r.cost = costText(NumText::Val(in.UnitCost) / shownDays, QStringLiteral("$#0.00"));
        r.text = QStringLiteral("This bag will last you ") + r.days + QStringLiteral(" days.") + kCrLf +
                 costSentence(r.cost);
        return r;
    });
}

Result canned(const CannedInput &in)
{
    return DietNumbers::reportingOverflow([&] {
        Result r;
        if (!NumText::IsNumeric(in.UnitCostCan))
            r.refusal = Refusal::CanCostNotNumeric;
        else if (!NumText::IsNumeric(in.CansSold))
            r.refusal = Refusal::CansSoldNotNumeric;
        else if (!NumText::IsNumeric(in.HowMuchFedCans))
            r.refusal = Refusal::CansFedNotNumeric;
        else if (NumText::Val(in.UnitCostCan) < 0)
            r.refusal = Refusal::NegativeCanCost;
        else if (NumText::Val(in.CansSold) <= 0)
            r.refusal = Refusal::NoCansSold;
        else if (NumText::Val(in.HowMuchFedCans) <= 0)
            r.refusal = Refusal::NoCansFed;
        if (r.refusal != Refusal::None)
            return r;

        const double perDay = NumText::Val(in.HowMuchFedCans);
        r.days = daysText(NumText::Val(in.CansSold) / perDay);
        // A cost per day needs days to spread it over, as in the dry column.
        if (NumText::Val(r.days) <= 0) {
            r.refusal = Refusal::CansTooShort;
            r.days.clear();
            return r;
        }
        r.cost = costText(perDay * NumText::Val(in.UnitCostCan), QStringLiteral("$#,###.00"));
        r.text = in.CansSold + QStringLiteral(" cans will last you ") + r.days + QStringLiteral(" days.") + kCrLf +
                 costSentence(r.cost);
        return r;
    });
}

} // namespace FeedingCost
