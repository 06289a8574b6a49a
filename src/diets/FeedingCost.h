#pragma once
// The feeding-cost calculator's arithmetic, apart from any window: how many
// days a bag of dry food or a number of cans lasts, and the cost per day.
//
// The functions take the boxes' texts as typed and return the result box's
// text: two lines joined by CR LF. The day count and the cost are written in
// the blank-led form, so the sentences show two blanks before the day count
// and one between "$" and the amount ("... $ 1.35.").
//
// A figure too large to compute throws FwError(ErrNo::Overflow); no infinity
// or NaN ever reaches a text.
#include <QString>

namespace FeedingCost {

/// The box that gets the focus after a refusal.
enum class Field { None, UnitCost, UnitSizeBag, HowMuchFed, UnitCostCan, CansSold, HowMuchFedCans };

/// The refusals of both calculations, each column's in the order checked.
enum class Refusal {
    None,
    // dry
    CostNotNumeric,
    BagSizeNotNumeric,
    DryFedNotNumeric,
    NegativeCost, // a price below 0
    NoBagSize,    // a bag of 0 kg or less
    NoDryFed,     // 0 gm a day (or less): the bag would last for ever
    BagTooShort,  // the bag lasts under 0.05 days (shown as 0)
    // canned
    CanCostNotNumeric,
    CansSoldNotNumeric,
    CansFedNotNumeric,
    NegativeCanCost, // a price below 0
    NoCansSold,      // 0 cans or fewer
    NoCansFed,       // 0 cans a day (or less)
    CansTooShort,    // the cans last under 0.05 days (shown as 0)
};
QString refusalText(Refusal refusal);
Field refusalField(Refusal refusal);

struct DryInput {
    QString UnitCost;    // price of one bag
    QString UnitSizeBag; // bag size in kg
    QString HowMuchFed;  // gm fed per day
};

struct CannedInput {
    QString UnitCostCan;    // price of one can
    QString CansSold;       // cans bought
    QString HowMuchFedCans; // cans fed per day
};

struct Result {
    Refusal refusal = Refusal::None;
    QString days; // blank-led, rounded to one decimal
    QString cost; // blank-led, rounded to cents, without "$"
    QString text; // the two sentences, joined by CR LF
};

/// The dry column. The cost per day divides by the day count as shown (rounded
/// to one decimal), so a bag of 33.33 days is costed as 33.3 days.
Result dry(const DryInput &in);
/// The canned column. Its sentence repeats the number of cans exactly as typed.
Result canned(const CannedInput &in);

} // namespace FeedingCost
