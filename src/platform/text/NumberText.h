#pragma once
// Number texts of the program: the blank-led and plain conversions, the
// format patterns ("##.#", "###.00", "##,##0.0", ...), the lenient number
// reading, the numeric test, single-precision rounding and 16-bit counts.
//
// Single-precision values are written with 7 significant digits and
// double-precision ones with 15, so 0.3f * 100 shows "30", not 30.0000012.
#include <QString>
#include <QtGlobal>

namespace NumText {

// --- number to text -------------------------------------------------------
/// Blank-led: shortest general form, "." as decimal point, no thousands
/// separator, no trailing zeros, no zero before the point of a number under 1,
/// one leading blank when not negative. 12.5f -> " 12.5", 0.5f -> " .5",
/// -2.5f -> "-2.5", -0.5f -> "-.5". Zero (also -0) is " 0".
/// Exponent form when the decimal exponent is below -4 or reaches the
/// precision: 1E15 -> " 1E+15", 1E7f -> " 1E+07", 0.00001 -> " 1E-05".
QString Str(float v);
QString Str(double v);
QString Str(int v);
QString Str(qint64 v);

/// Plain: the shortest general form without the blank and with a zero before
/// the point of a number under 1: 12.5, 0.5, -0.5, 44, 8.8.
QString Plain(float v);
QString Plain(double v);
QString Plain(int v);
QString Plain(qint64 v);

/// The number-format patterns: "#" digit shown only when needed, "0" digit
/// always shown, "." decimal point, "," thousands separator. Rounded to the
/// places shown, halves away from zero (on the decimal value as written with
/// the type's significant digits). A value that leaves no digit gives "" (0.4
/// with "#"); 12 with "##.#" gives "12."; 0.5 with "##.#" gives ".5".
/// Patterns with more than one section (";") use the first; literal text
/// before and after the number part is kept. An empty pattern gives Plain.
/// A value that rounds to zero carries no sign (-0.04 with "##.#" gives ".").
QString Format(double v, const QString &pattern);
QString Format(float v, const QString &pattern);
/// Whole numbers (and 16-bit counts) are formatted as doubles; these overloads
/// spare the callers a cast that would otherwise be ambiguous.
QString Format(int v, const QString &pattern);
QString Format(qint64 v, const QString &pattern);

// --- text to number -------------------------------------------------------
/// Lenient reading: leading blanks skipped (tabs and line feeds too), "." as
/// decimal point, an optional sign and exponent; reading stops at the first
/// character that cannot continue the number; no number reads as 0.
/// " 12.5;" -> 12.5, "12.;" -> 12, ".5" -> 0.5, "abc" -> 0, "20-30" -> 20.
/// Only leading blanks are skipped: a blank inside the number ends it
/// ("1 2" -> 1). A number too large for a double throws FwError(Overflow).
double Val(const QString &text);

/// The numeric test of the entry fields: true only when the whole text
/// (leading and trailing blanks allowed) is one number. "12", " 12.5 ", ".5",
/// "-3", "1e3" are numeric; "", "abc", "12kg", "1,000", "." are not.
bool IsNumeric(const QString &text);

// --- single precision and rounding ----------------------------------------
/// Round a double to single precision (every intermediate of the program's
/// weight arithmetic is).
inline float Sng(double v)
{
    return static_cast<float>(v);
}

/// Format with a pattern and read the text back as a number, the program's way
/// of rounding: RoundBy(12.126f, "###.00") == 12.13f. A text that reads as no
/// number ("." from 0 under "#.##") gives 0. Thousands separators are dropped
/// before the text is read back, so grouping patterns round-trip.
float RoundBy(float v, const QString &pattern);
double RoundBy(double v, const QString &pattern);

/// A value formatted with a pattern, then written blank-led: 0.456 with
/// "##.00" gives " .46", 12.3 gives " 12.3". The text is read back in double
/// precision and written blank-led with the double's digits.
QString BlankLedBy(float v, const QString &pattern);

// --- 16-bit counts --------------------------------------------------------
/// Round to the nearest whole number (halves to even, as the program's stored
/// counts have always been rounded) into a 16-bit count; throws FwError(ErrNo::Overflow) when
/// the value is outside -32768..32767.
qint16 CInt(double v);
/// Checked 16-bit arithmetic: overflow throws FwError(ErrNo::Overflow).
qint16 Add16(qint16 a, qint16 b);
qint16 Sub16(qint16 a, qint16 b);
qint16 Mul16(qint16 a, qint16 b);
/// A whole number that must fit 16 bits (no rounding); throws on overflow.
qint16 To16(qint64 v);

/// Round half away from zero to a whole number (what the patterns do, on the
/// same fifteen-digit decimal form, so it always agrees with Format(v, "#")).
double RoundHalfAway(double v);

} // namespace NumText
