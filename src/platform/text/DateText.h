#pragma once
// Date texts of the program with English month abbreviations whatever the
// locale: "dd-mmm-yyyy", "dd/mmm/yy", "dd-mmm-yy", "dd mmm yyyy", plus the
// program's short date form, and the reading of a typed or stored date text.
#include <QDate>
#include <QString>
#include <optional>

namespace DateText {

/// Format with a pattern of the program: "dd" two-digit day, "d" day, "mmm"
/// English month abbreviation (Jan..Dec), "mm" two-digit month, "yyyy" year,
/// "yy" two-digit year; every other character is copied. An invalid date gives "".
QString Format(const QDate &date, const QString &pattern);

/// The program's short date form, used where a date is shown on its own
/// ("dd/mm/yyyy").
QString ShortDate(const QDate &date);

/// The program's date conversion: reads "31-Dec-1995", "31 Dec 1995",
/// "06/Dec/26", "6-dec-26", "December 31, 1995", ISO "1995-12-31" (as stored in
/// the database), and numeric day/month/year "31/12/1995". Two-digit years
/// 00-29 are 2000-2029, 30-99 are 1930-1999. Month names are English, full or
/// abbreviated, without regard to case. Numeric dates are always day first
/// (12/13/2000 is refused, never read month first); a four-digit first part is
/// a year (1995/12/31). An ISO text may carry a time of day, which is ignored.
/// Returns nothing when the text is no date (including impossible days such as
/// 31-Feb-2000, a missing year, or a three-digit year).
std::optional<QDate> Parse(const QString &text);

/// Like Parse, but throws FwError(ErrNo::TypeMismatch) when the text is no
/// date and FwError(ErrNo::InvalidUseOfNull) when it is empty.
QDate CDate(const QString &text);

/// Whole days from a to b (b - a), from calendar dates, never from clock
/// milliseconds, so daylight-saving days count as one day. An invalid (empty)
/// date throws FwError(ErrNo::InvalidUseOfNull) rather than counting as 0 days.
qint64 DaysBetween(const QDate &a, const QDate &b);

/// The ISO text (YYYY-MM-DD) in which dates are stored in the database.
QString ToIso(const QDate &date);

} // namespace DateText
