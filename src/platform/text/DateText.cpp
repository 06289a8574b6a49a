#include "platform/text/DateText.h"

#include "platform/FwError.h"

#include <QRegularExpression>
#include <QStringList>

namespace DateText {

namespace {

// English names whatever the locale: the stored date texts ("06/Dec/26") must
// read back on every workstation, and QLocale would translate them.
const char *const MonthAbbrev[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const MonthName[12] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

int runLength(const QString &s, int at, QChar c)
{
    int n = 0;
    while (at + n < s.size() && s[at + n] == c)
        ++n;
    return n;
}

// A month name or its three-letter abbreviation, without regard to case: 1..12, or 0.
int monthFromName(const QString &word)
{
    for (int m = 0; m < 12; ++m) {
        if (word.compare(QLatin1String(MonthAbbrev[m]), Qt::CaseInsensitive) == 0 ||
            word.compare(QLatin1String(MonthName[m]), Qt::CaseInsensitive) == 0)
            return m + 1;
    }
    return 0;
}

// A year as typed: two digits (or one) fall into 1930-2029; four are taken as
// they stand. Three digits are refused: "995" is far likelier a slip than the
// tenth century. 0 means refused.
int yearFromDigits(const QString &digits)
{
    const int n = digits.toInt();
    switch (digits.size()) {
    case 1:
    case 2:
        return n < 30 ? 2000 + n : 1900 + n;
    case 4:
        return n >= 100 ? n : 0;
    default:
        return 0;
    }
}

std::optional<QDate> makeDate(int year, int month, int day)
{
    if (year <= 0 || !QDate::isValid(year, month, day))
        return std::nullopt;
    return QDate(year, month, day);
}

bool isSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('-') || c == QLatin1Char('/') || c == QLatin1Char('.') ||
           c == QLatin1Char(',') || c == QLatin1Char('\t');
}

} // namespace

QString Format(const QDate &date, const QString &pattern)
{
    if (!date.isValid())
        return QString();
    QString out;
    int i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('d')) {
            if (runLength(pattern, i, c) >= 2) {
                out += twoDigits(date.day());
                i += 2;
            } else {
                out += QString::number(date.day());
                ++i;
            }
        } else if (c == QLatin1Char('m')) {
            const int n = runLength(pattern, i, c);
            if (n >= 3) {
                out += QLatin1String(MonthAbbrev[date.month() - 1]);
                i += 3;
            } else if (n == 2) {
                out += twoDigits(date.month());
                i += 2;
            } else {
                out += QString::number(date.month());
                ++i;
            }
        } else if (c == QLatin1Char('y') && runLength(pattern, i, c) >= 4) {
            out += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            i += 4;
        } else if (c == QLatin1Char('y') && runLength(pattern, i, c) >= 2) {
            out += twoDigits(date.year() % 100);
            i += 2;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString ShortDate(const QDate &date)
{
    return Format(date, QStringLiteral("dd/mm/yyyy"));
}

std::optional<QDate> Parse(const QString &text)
{
    const QString s = text.trimmed();
    if (s.isEmpty())
        return std::nullopt;

    // The stored form, possibly with a time of day behind it when a database
    // driver hands a date column back as a date and time.
    static const QRegularExpression iso(
        QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})"
                       "(?:[T ][0-9]{1,2}:[0-9]{2}(?::[0-9]{2}(?:\\.[0-9]+)?)?(?:Z|[+-][0-9]{2}:?[0-9]{2})?)?$"));
    const auto m = iso.match(s);
    if (m.hasMatch())
        return makeDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());

    // Otherwise three parts: runs of ASCII digits or of letters, with blanks,
    // "-", "/", "." or "," between them.
    QStringList parts;
    int i = 0;
    while (i < s.size()) {
        int start = i;
        if (s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9')) {
            while (i < s.size() && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9'))
                ++i;
        } else if ((s[i] >= QLatin1Char('a') && s[i] <= QLatin1Char('z')) ||
                   (s[i] >= QLatin1Char('A') && s[i] <= QLatin1Char('Z'))) {
            while (i < s.size() && ((s[i] >= QLatin1Char('a') && s[i] <= QLatin1Char('z')) ||
                                    (s[i] >= QLatin1Char('A') && s[i] <= QLatin1Char('Z'))))
                ++i;
        } else {
            return std::nullopt;
        }
        parts << s.mid(start, i - start);
        if (i == s.size())
            break;
        if (!isSeparator(s[i]))
            return std::nullopt; // "31Dec1995", "12kg"
        while (i < s.size() && isSeparator(s[i]))
            ++i;
        if (i == s.size())
            return std::nullopt; // a trailing separator
    }
    if (parts.size() != 3)
        return std::nullopt;

    const auto isNumber = [](const QString &p) { return p[0].isDigit(); };
    const auto dayOf = [](const QString &p) { return p.size() <= 2 ? p.toInt() : 0; };

    if (isNumber(parts[0]) && !isNumber(parts[1]) && isNumber(parts[2])) {
        // 31-Dec-1995, 31 Dec 1995, 06/Dec/26, 31-December-1995
        return makeDate(yearFromDigits(parts[2]), monthFromName(parts[1]), dayOf(parts[0]));
    }
    if (!isNumber(parts[0]) && isNumber(parts[1]) && isNumber(parts[2])) {
        // December 31, 1995
        return makeDate(yearFromDigits(parts[2]), monthFromName(parts[0]), dayOf(parts[1]));
    }
    if (isNumber(parts[0]) && isNumber(parts[1]) && isNumber(parts[2])) {
        if (parts[0].size() == 4) // 1995/12/31
            return makeDate(yearFromDigits(parts[0]), dayOf(parts[1]), dayOf(parts[2]));
        // Day first always: the practice writes dates so, and a month that
        // cannot be a month (12/13/2000) is refused, never swapped.
        return makeDate(yearFromDigits(parts[2]), dayOf(parts[1]), dayOf(parts[0]));
    }
    return std::nullopt;
}

QDate CDate(const QString &text)
{
    if (text.isEmpty())
        throw FwError(ErrNo::InvalidUseOfNull);
    const auto d = Parse(text);
    if (!d)
        throw FwError(ErrNo::TypeMismatch);
    return *d;
}

qint64 DaysBetween(const QDate &a, const QDate &b)
{
    // A missing date would otherwise count as 0 days and pass for a real span.
    if (!a.isValid() || !b.isValid())
        throw FwError(ErrNo::InvalidUseOfNull);
    return a.daysTo(b);
}

QString ToIso(const QDate &date)
{
    return Format(date, QStringLiteral("yyyy-mm-dd"));
}

} // namespace DateText
