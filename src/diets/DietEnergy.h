#pragma once
// The diet calculator's arithmetic, apart from any window: the daily energy
// need for maintenance or for a reduction diet, the amounts of a diet's dry
// and canned forms, and the mix of both set with the slider.
//
// The functions take what the user typed into the calculator's boxes, as
// typed (the numeric test is part of the calculation), and return the results
// as values (Amount): a number, or one of three markers, written "0" (no
// calculation yet), "N/A" (the diet has no such form) and "Unable" (an energy
// per cup or a can size of 0). The window keeps the last results and writes
// each label with text(). Energy and amounts are rounded the program's way,
// by formatting them with a pattern and reading the text back, and written in
// the blank-led form (" 179.9").
//
// Failures that are not refusals throw FwError: a negative weight, or a
// figure too large to compute. No infinity or NaN ever reaches a text.
#include "diets/DietFactors.h"

#include <QString>

namespace DietEnergy {

inline const QString kNoResult = QStringLiteral("0");
inline const QString kNotAvailable = QStringLiteral("N/A");
inline const QString kUnable = QStringLiteral("Unable");

/// One figure of the results: a number, or a marker.
struct Amount {
    enum class Kind { NoResult, Value, NotAvailable, Unable };
    Kind kind = Kind::NoResult;
    /// The number, already rounded to one decimal (Kind::Value only).
    double value = 0;
    /// Worked out in single precision, so written with a single's digits
    /// (179.9f shows " 179.9", not its double's " 179.899993896484").
    bool single = false;

    static Amount of(float v) { return {Kind::Value, double(v), true}; }
    static Amount of(double v) { return {Kind::Value, v, false}; }
    static Amount notAvailable() { return {Kind::NotAvailable, 0, false}; }
    static Amount unable() { return {Kind::Unable, 0, false}; }
    bool isValue() const { return kind == Kind::Value; }
};

/// The label text of an amount: blank-led for a number, else its marker.
QString text(const Amount &amount);

// --- the unit of a calculation -------------------------------------------
// Dogs and cats are weighed in kg or lb. A case of another species may be
// weighed in gm or oz; such a weight is converted to kilograms like the
// others, and the amounts are shown in grams (gm) or ounces (oz), so the
// calculator gives real figures for every unit a case can have.
enum class Unit { Kg, Gm, Lb, Oz, Unknown };
/// "kg", "gm", "lb", "oz" (exactly); any other text is Unknown, which every
/// calculation refuses.
Unit unitOf(const QString &units);
/// The weight unit to kilograms: 1.0 (kg), 0.001 (gm), 0.455 (lb), 0.455 / 16
/// (oz); 0 for Unknown.
float WtFactor(Unit unit);
/// Grams to the unit the amounts are shown in: 1.0 (kg, gm: grams), 0.0353
/// (lb, oz: ounces); 0 for Unknown.
float GmFactor(Unit unit);

/// The captions that name the unit: the weight frame ("3. Weight (in kg)") and
/// the units of the dry and canned amounts ("gm Dry", "gm Canned").
struct UnitTexts {
    QString WtUnitsLabel;
    QString gmozUnitsDry;
    QString gmozUnitsCan;
};
UnitTexts unitTexts(Unit unit);

// --- the calculation -------------------------------------------------------

/// The diet's four figures, as typed (or as the diet picker wrote them).
struct DietFigures {
    QString MEDryText = kNoResult; // KCal per 100 gm of the dry form
    QString MEPerCup = kNoResult;  // KCal per cup of the dry form
    QString MECanText = kNoResult; // KCal per 100 gm of the canned form
    QString GmPerCan = kNoResult;  // grams in one can
};

enum class Plan { Maintenance, Reduction };

struct CalcInput {
    Plan plan = Plan::Maintenance;
    DietFactors::Species species = DietFactors::Species::None;
    QString weight; // the Weight box as typed, in `unit`
    Unit unit = Unit::Kg;
    int stat = DietFactors::kResetStat;   // the selected Stat button, 0 to 18
    int envir = DietFactors::kResetEnvir; // the selected Envir button, 0 to 3
    DietFigures diet;
};

/// The refusals of a calculation, in the order they are checked.
enum class CalcRefusal {
    None,
    NoSpecies,
    ZeroWeight, // the weight is empty or a number that is 0 ("0", "0.0", " 0")
    WeightNotNumeric,
    DryNotNumeric,
    CannedNotNumeric,
    // A diet figure below 0: every amount made from it would be negative.
    DryNegative,
    CannedNegative,
    PerCupNegative,
    PerCanNegative,
    UnknownUnit,
};

/// The box that gets the focus after a refusal.
enum class Field { None, Weight, MEDryText, MECanText, MEPerCup, GmPerCan };

QString refusalText(CalcRefusal refusal);
Field refusalField(CalcRefusal refusal);

/// What the result labels show, by the labels' names: the energy per day, the
/// full amounts of each form and the amounts of the mix. A default Results is
/// the state after a reset (every label "0").
struct Results {
    Amount KCalPerDay; // rounded to one decimal, as shown
    Amount ResultDry, CupAmt, ResultCan, CanAmt;
    Amount MixDry, MixCups, MixCanned, MixCans;
};

/// What a calculation gives. When `refusal` is not None, nothing is shown but
/// the slider's reset (which the window does first in any case).
struct CalcResult {
    CalcRefusal refusal = CalcRefusal::None;
    float KCal = 0; // the energy per day before rounding
    Results results;
};

/// Maintenance or reduction. Throws FwError: a negative weight
/// (ErrNo::InvalidArgument), a figure too large (ErrNo::Overflow); the window then
/// shows the error's description and writes nothing, so the labels never mix
/// figures of two calculations.
CalcResult calculate(const CalcInput &in);

// --- the mix ---------------------------------------------------------------

/// The shares of the mix at a slider position 0 to 10: "30% Can", "70% Dry".
struct Shares {
    QString PCanned;
    QString PDry;
};
Shares shares(int position);

/// The mix reads the diet boxes as they stand when the slider moves, and the
/// results shown (the day's energy as the calculation rounded it).
struct MixInput {
    int position = 0; // tenths of canned food, 0 to 10
    Results shown;
    DietFigures diet;
    Unit unit = Unit::Kg;
};

/// The refusals of the mix, in the order they are checked. After any of them
/// the slider goes back to 0.
enum class MixRefusal {
    None,
    NoCalculation,  // a full amount shows no result ("0")
    OneFormOnly,    // a result shows "N/A"
    NoDryEnergy,    // the dry energy box now reads as 0: nothing to divide by
    NoCannedEnergy, // the canned energy box now reads as 0
    // A diet figure changed to below 0 since the calculation.
    DryNegative,
    CannedNegative,
    PerCupNegative,
    PerCanNegative,
    UnknownUnit,
};
QString refusalText(MixRefusal refusal);
Field refusalField(MixRefusal refusal);

struct MixResult {
    MixRefusal refusal = MixRefusal::None;
    Shares shares;
    Amount MixDry, MixCups, MixCanned, MixCans;
};

/// Throws FwError(ErrNo::Overflow) for a figure too large.
MixResult mix(const MixInput &in);

} // namespace DietEnergy
