#pragma once
// Checked arithmetic of the diet and cost calculators: a figure that does not
// fit its type is reported as an overflow, so that no infinity or NaN is ever
// written into a label.
#include "platform/FwError.h"

#include <QString>
#include <cmath>
#include <limits>

namespace DietNumbers {

/// A double result that must be a number; throws FwError(ErrNo::Overflow).
inline double finite(double v)
{
    if (!std::isfinite(v))
        throw FwError(ErrNo::Overflow);
    return v;
}

/// A result held in single precision; throws FwError(ErrNo::Overflow) when it
/// is beyond what a single can hold.
inline float single(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max())
        throw FwError(ErrNo::Overflow);
    return static_cast<float>(v);
}

/// What an overflow says to the user of the calculators.
inline const QString kTooLarge =
    QStringLiteral("The result is too large to work out: please check the figures you entered.");

/// Runs a calculation; an overflow (of a result, or of a typed number too
/// large to read) is reported with kTooLarge instead of the bare "Overflow".
template <typename F> auto reportingOverflow(F &&calculation) -> decltype(calculation())
{
    try {
        return calculation();
    } catch (const FwError &e) {
        if (e.number() == ErrNo::Overflow)
            throw FwError(ErrNo::Overflow, kTooLarge);
        throw;
    }
}

} // namespace DietNumbers
