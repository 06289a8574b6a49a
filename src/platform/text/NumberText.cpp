#include "platform/text/NumberText.h"

#include "platform/FwError.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace NumText {

namespace {

// Significant digits with which each type is written. A float carries about
// seven correct decimal digits and a double about fifteen; writing more would
// show the binary noise (0.3f * 100 as 30.0000019).
constexpr int FloatDigits = 7;
constexpr int DoubleDigits = 15;

// A finite number as decimal digits: value = 0.d1 d2 d3 ... x 10^point.
// digits holds no leading and no trailing zeros; zero has no digits.
struct Decimal {
    bool negative = false;
    std::string digits;
    int point = 0;

    bool isZero() const { return digits.empty(); }
};

// The decimal form of v rounded to `significant` digits. Everything else
// (general form, patterns, rounding) works on these digits, so a float is
// rounded as the seven-digit number it is written as: 12.45f (binary
// 12.4499998) rounds to 12.5 under "##.#".
Decimal toDecimal(double v, int significant)
{
    Decimal d;
    d.negative = std::signbit(v);
    if (v == 0)
        return d;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, significant - 1);
    const std::string text(buf, res.ptr);
    const auto e = text.find('e');
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.')
            d.digits.push_back(text[i]);
    }
    d.point = std::stoi(text.substr(e + 1)) + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// Round to `places` digits after the point, halves away from zero (the digits
// hold the magnitude, so rounding the magnitude up is away from zero).
void roundTo(Decimal &d, int places)
{
    if (d.isZero())
        return;
    const int keep = d.point + places; // digits that stay
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) { // the first digit lies more than one place beyond
        d.digits.clear();
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else { // 9.96 -> 10.0: the carry adds a digit in front
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

// The i-th digit (0 is the leading one, worth 10^(point-1)); zeros before and
// after the stored digits.
char digitAt(const Decimal &d, int i)
{
    return (i >= 0 && i < static_cast<int>(d.digits.size())) ? d.digits[static_cast<std::size_t>(i)] : '0';
}

// The whole-number digits ("" for a magnitude under 1).
std::string integerDigits(const Decimal &d)
{
    std::string s;
    for (int i = 0; i < d.point; ++i)
        s.push_back(digitAt(d, i));
    return s;
}

// `places` digits after the point.
std::string fractionDigits(const Decimal &d, int places)
{
    std::string s;
    for (int i = 0; i < places; ++i)
        s.push_back(digitAt(d, d.point + i));
    return s;
}

// The shortest general form: fixed notation while the decimal exponent lies
// between -4 and one less than the precision (so a double reaches 999999999999999 before it
// turns into 1E+15, a float 9999999 before 1E+07, and 0.0001 stays fixed while
// 0.00001 becomes 1E-05); no trailing zeros; the exponent is written "E+nn".
// leadingZero: "0.5" (plain) or ".5" (blank-led).
// Infinity and NaN cannot come from a typed number; they are written out so
// that a division by zero shows as such rather than as a plausible weight.
QString general(double v, int significant, bool leadingZero)
{
    if (std::isnan(v))
        return QStringLiteral("NaN");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    const Decimal d = toDecimal(v, significant);
    if (d.isZero()) // -0 too: a zero has no sign
        return QStringLiteral("0");
    std::string out;
    if (d.negative)
        out.push_back('-');
    const int exponent = d.point - 1;
    if (exponent < -4 || exponent >= significant) {
        out.push_back(d.digits[0]);
        if (d.digits.size() > 1) {
            out.push_back('.');
            out.append(d.digits, 1, std::string::npos);
        }
        out.push_back('E');
        out.push_back(exponent < 0 ? '-' : '+');
        std::string e = std::to_string(std::abs(exponent));
        if (e.size() < 2)
            e.insert(e.begin(), '0');
        out += e;
    } else {
        const std::string whole = integerDigits(d);
        const int places = std::max(0, static_cast<int>(d.digits.size()) - d.point);
        if (whole.empty()) {
            if (leadingZero)
                out.push_back('0');
        } else {
            out += whole;
        }
        if (places > 0) {
            out.push_back('.');
            out += fractionDigits(d, places);
        }
    }
    return QString::fromLatin1(out.data(), static_cast<int>(out.size()));
}

QString blankLed(const QString &plainText)
{
    return plainText.startsWith(QLatin1Char('-')) ? plainText : QLatin1Char(' ') + plainText;
}

// --- patterns -------------------------------------------------------------

struct Pattern {
    QString prefix;     // literal text before the first placeholder
    QString suffix;     // literal text after the last placeholder
    int minInteger = 0; // whole-number digits always shown ("0" from the first "0" on)
    bool grouping = false;
    bool hasPoint = false;
    int places = 0;    // digit placeholders after the point
    int minPlaces = 0; // places always shown (up to the last "0" after the point)
};

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0');
}

// A pattern is literal text, then the number part made of "#", "0", "," and
// one ".", then literal text. Only the first section (before any ";") is used:
// the program's patterns have one.
Pattern parsePattern(const QString &text)
{
    Pattern p;
    QString section = text.section(QLatin1Char(';'), 0, 0);
    const auto isNumberChar = [](QChar c) {
        return isPlaceholder(c) || c == QLatin1Char('.') || c == QLatin1Char(',');
    };
    int first = 0;
    while (first < section.size() && !isNumberChar(section[first]))
        ++first;
    int last = section.size() - 1;
    while (last >= first && !isNumberChar(section[last]))
        --last;
    p.prefix = section.left(first);
    p.suffix = section.mid(last + 1);

    bool afterPoint = false;
    bool seenZero = false;
    for (int i = first; i <= last; ++i) {
        const QChar c = section[i];
        if (c == QLatin1Char('.')) {
            if (afterPoint)
                continue; // a second point is not a pattern character
            afterPoint = true;
            p.hasPoint = true;
        } else if (!afterPoint) {
            if (c == QLatin1Char(','))
                p.grouping = true;
            else if (c == QLatin1Char('0'))
                seenZero = true;
            if (isPlaceholder(c) && seenZero)
                ++p.minInteger;
        } else if (isPlaceholder(c)) {
            ++p.places;
            if (c == QLatin1Char('0'))
                p.minPlaces = p.places;
        }
    }
    return p;
}

QString formatDecimal(double v, int significant, const QString &patternText)
{
    if (patternText.isEmpty())
        return general(v, significant, true);
    if (!std::isfinite(v))
        return general(v, significant, true);
    const Pattern p = parsePattern(patternText);
    Decimal d = toDecimal(v, significant);
    roundTo(d, p.places);

    std::string whole = integerDigits(d);
    while (static_cast<int>(whole.size()) < p.minInteger)
        whole.insert(whole.begin(), '0');
    if (p.grouping && whole.size() > 3) {
        std::string grouped;
        const int n = static_cast<int>(whole.size());
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                grouped.push_back(',');
            grouped.push_back(whole[static_cast<std::size_t>(i)]);
        }
        whole.swap(grouped);
    }
    std::string fraction = fractionDigits(d, p.places);
    while (static_cast<int>(fraction.size()) > p.minPlaces && fraction.back() == '0')
        fraction.pop_back();

    std::string out;
    // A value that rounds to zero carries no sign: -0.04 under "##.#" is ".",
    // which reads back as the zero it is.
    if (d.negative && !d.isZero())
        out.push_back('-');
    out += whole;
    if (p.hasPoint) {
        out.push_back('.');
        out += fraction;
    }
    return p.prefix + QString::fromLatin1(out.data(), static_cast<int>(out.size())) + p.suffix;
}

// --- reading --------------------------------------------------------------

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\v') || c == QLatin1Char('\f');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

struct Scan {
    bool found = false; // at least one mantissa digit
    int end = 0;        // index after the last character of the number
    double value = 0;
    bool overflow = false;
};

// The longest number at `start`: [sign] digits [. digits] [e [sign] digits],
// with a digit before or after the point. An exponent without digits ("1e",
// "1e+") is not part of the number.
Scan scanNumber(const QString &s, int start)
{
    Scan r;
    int i = start;
    std::string text;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        if (s[i] == QLatin1Char('-'))
            text.push_back('-');
        ++i;
    }
    int mantissaDigits = 0;
    int wholeDigits = 0;
    // Decimal order of the first significant digit (before the exponent):
    // tells an overflow from an underflow when the value is out of range.
    long long order = 0;
    bool significantSeen = false;
    while (i < s.size() && isDigit(s[i])) {
        text.push_back(static_cast<char>(s[i].unicode()));
        if (s[i] != QLatin1Char('0'))
            significantSeen = true;
        if (significantSeen)
            ++order;
        ++i;
        ++mantissaDigits;
        ++wholeDigits;
    }
    if (wholeDigits == 0)
        text.push_back('0');
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        int j = i + 1;
        std::string fraction;
        while (j < s.size() && isDigit(s[j])) {
            fraction.push_back(static_cast<char>(s[j].unicode()));
            if (s[j] != QLatin1Char('0'))
                significantSeen = true;
            if (!significantSeen)
                --order;
            ++j;
        }
        if (wholeDigits > 0 || !fraction.empty()) {
            text.push_back('.');
            text += fraction.empty() ? std::string("0") : fraction;
            mantissaDigits += static_cast<int>(fraction.size());
            i = j;
        }
    }
    if (mantissaDigits == 0)
        return r;
    r.found = true;
    long long exponent = 0;
    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        int j = i + 1;
        bool negativeExp = false;
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-'))) {
            negativeExp = s[j] == QLatin1Char('-');
            ++j;
        }
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j])) {
                if (exponent < 100000) // far beyond any double; keeps the count bounded
                    exponent = exponent * 10 + (s[j].unicode() - '0');
                ++j;
            }
            if (negativeExp)
                exponent = -exponent;
            text += 'e' + std::to_string(exponent);
            i = j;
        }
    }
    r.end = i;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), r.value);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large is an overflow; too small is zero.
        r.overflow = exponent + order > 0;
        r.value = 0;
    }
    return r;
}

} // namespace

// --- number to text ---------------------------------------------------------

QString Str(float v)
{
    return blankLed(general(v, FloatDigits, false));
}
QString Str(double v)
{
    return blankLed(general(v, DoubleDigits, false));
}
QString Str(int v)
{
    return blankLed(QString::number(v));
}
QString Str(qint64 v)
{
    return blankLed(QString::number(v));
}

QString Plain(float v)
{
    return general(v, FloatDigits, true);
}
QString Plain(double v)
{
    return general(v, DoubleDigits, true);
}
QString Plain(int v)
{
    return QString::number(v);
}
QString Plain(qint64 v)
{
    return QString::number(v);
}

QString Format(double v, const QString &pattern)
{
    return formatDecimal(v, DoubleDigits, pattern);
}
QString Format(float v, const QString &pattern)
{
    return formatDecimal(v, FloatDigits, pattern);
}
QString Format(int v, const QString &pattern)
{
    return formatDecimal(v, DoubleDigits, pattern);
}
QString Format(qint64 v, const QString &pattern)
{
    return formatDecimal(static_cast<double>(v), DoubleDigits, pattern);
}

// --- text to number ---------------------------------------------------------

double Val(const QString &text)
{
    int i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    const Scan r = scanNumber(text, i);
    if (r.overflow)
        throw FwError(ErrNo::Overflow);
    return r.found ? r.value : 0.0;
}

bool IsNumeric(const QString &text)
{
    int i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    const Scan r = scanNumber(text, i);
    if (!r.found || r.overflow)
        return false;
    int j = r.end;
    while (j < text.size() && isBlank(text[j]))
        ++j;
    return j == text.size();
}

// --- single precision and rounding ----------------------------------------

namespace {
// The formatted text read back. Grouping commas are dropped first, so that
// 1234.56 under "##,##0.0" comes back as 1234.6 and not as the 1 before the
// first comma.
double readBack(const QString &formatted)
{
    QString s = formatted;
    s.remove(QLatin1Char(','));
    return Val(s);
}
} // namespace

float RoundBy(float v, const QString &pattern)
{
    return Sng(readBack(Format(v, pattern)));
}
double RoundBy(double v, const QString &pattern)
{
    return readBack(Format(v, pattern));
}

QString BlankLedBy(float v, const QString &pattern)
{
    return Str(readBack(Format(v, pattern)));
}

// --- 16-bit counts --------------------------------------------------------

qint16 To16(qint64 v)
{
    if (v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
        throw FwError(ErrNo::Overflow);
    return static_cast<qint16>(v);
}

qint16 CInt(double v)
{
    if (std::isnan(v) || v < -32768.5 || v > 32767.5)
        throw FwError(ErrNo::Overflow);
    // Halves go to the even neighbour: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2.
    double whole = std::floor(v);
    const double rest = v - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return To16(static_cast<qint64>(whole));
}

qint16 Add16(qint16 a, qint16 b)
{
    return To16(static_cast<qint64>(a) + b);
}
qint16 Sub16(qint16 a, qint16 b)
{
    return To16(static_cast<qint64>(a) - b);
}
qint16 Mul16(qint16 a, qint16 b)
{
    return To16(static_cast<qint64>(a) * b);
}

double RoundHalfAway(double v)
{
    if (!std::isfinite(v))
        return v;
    // Rounded on the fifteen-digit decimal form, as the patterns round, so
    // that RoundHalfAway(v) always agrees with Format(v, "#").
    Decimal d = toDecimal(v, DoubleDigits);
    roundTo(d, 0);
    if (d.isZero())
        return 0.0;
    const std::string whole = integerDigits(d);
    double magnitude = 0;
    std::from_chars(whole.data(), whole.data() + whole.size(), magnitude);
    return d.negative ? -magnitude : magnitude;
}

} // namespace NumText
