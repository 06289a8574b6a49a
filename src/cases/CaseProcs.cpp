#include "cases/CaseProcs.h"

#include "cases/CaseHost.h"

#include "cases/frmDocument.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/prompt/Prompt.h"
#include "platform/text/Clock.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QDateTime>
#include <QTimeZone>

#include <cmath>
#include <exception>

namespace {

constexpr double kDaysPerWeek = 7.0;
constexpr double kMsPerDay = 86400000.0;

/// Weeks from a day count, rounded half away from zero into 16 bits. An
/// overflow is reported in the program's usual critical box and gives 0.
qint16 weeksFromDays(double days)
{
    qint16 result = 0;
    runGuarded([&] {
        const double weeks = NumText::RoundHalfAway(days / kDaysPerWeek);
        if (!(weeks >= -32768.0 && weeks <= 32767.0))
            throw FwError(ErrNo::Overflow);
        result = static_cast<qint16>(weeks);
    });
    return result;
}

/// Days between two moments as the calendar sees them: whole days from the
/// dates plus the difference of the wall-clock times. A day with a
/// daylight-saving change still counts as one day, not 23 or 25 hours.
double calendarDays(const QDateTime &first, QDateTime second)
{
    if (second.timeSpec() != first.timeSpec() || second.offsetFromUtc() != first.offsetFromUtc() ||
        (first.timeSpec() == Qt::TimeZone && second.timeZone() != first.timeZone())) {
        // Read both moments on the same clock before comparing wall times.
        if (first.timeSpec() == Qt::TimeZone)
            second = second.toTimeZone(first.timeZone());
        else if (first.timeSpec() == Qt::OffsetFromUTC)
            second = second.toOffsetFromUtc(first.offsetFromUtc());
        else
            second = second.toTimeSpec(first.timeSpec());
    }
    const double wholeDays = static_cast<double>(DateText::DaysBetween(first.date(), second.date()));
    return wholeDays + first.time().msecsTo(second.time()) / kMsPerDay;
}

/// A number of the age text: blank-led when not negative, minus sign otherwise.
QString ageNumber(double v)
{
    return NumText::Str(v);
}

} // namespace

qint16 WeeksBetween(const QDate &first, const QDate &second)
{
    if (!first.isValid() || !second.isValid()) {
        Prompt::Message(FwError::standardDescription(ErrNo::InvalidUseOfNull), Prompt::Icon::Critical);
        return 0;
    }
    return weeksFromDays(static_cast<double>(DateText::DaysBetween(first, second)));
}

qint16 WeeksBetween(const QDateTime &first, const QDateTime &second)
{
    if (!first.isValid() || !second.isValid()) {
        Prompt::Message(FwError::standardDescription(ErrNo::InvalidUseOfNull), Prompt::Icon::Critical);
        return 0;
    }
    return weeksFromDays(calendarDays(first, second));
}

frmDocument *OpenCaseWindow(const QString &caption)
{
    auto *doc = new frmDocument;
    doc->setWindowTitle(caption);
    if (CaseHost *host = CaseHost::current()) {
        host->addCaseWindow(doc);
    } else {
        doc->setAttribute(Qt::WA_DeleteOnClose);
        doc->show();
    }
    return doc;
}

qint16 CountChar(const QString &text, const QString &ch)
{
    qint16 count = 0;
    if (ch.size() != 1)
        return count;
    const QChar c = ch.at(0);
    for (const QChar t : text) {
        if (t == c)
            count = NumText::Add16(count, 1); // throws on overflow, never wraps
    }
    return count;
}

qint16 CheckDOB(const QVariant &entered)
{
    qint16 ok = 1;
    // A check that could not be completed never passes the date.
    const bool checked = runGuarded(
        [&] {
            std::optional<QDateTime> moment;
            switch (entered.typeId()) {
            case QMetaType::QDate:
                if (entered.toDate().isValid())
                    moment = QDateTime(entered.toDate(), QTime(0, 0));
                break;
            case QMetaType::QDateTime:
                if (entered.toDateTime().isValid())
                    moment = entered.toDateTime();
                break;
            default:
                if (entered.canConvert<QString>() && !entered.isNull()) {
                    if (const std::optional<QDate> d = DateText::Parse(entered.toString()))
                        moment = QDateTime(*d, QTime(0, 0));
                }
                break;
            }

            if (moment) {
                // A date means the start of that day, so today is never in the future.
                if (*moment > Clock::now()) {
                    Prompt::Beep();
                    Prompt::MsgBox(QStringLiteral("DOB date cannot be be in the future!"), Prompt::Buttons::OK,
                                   Prompt::Icon::Exclamation, QString());
                    ok = 0;
                }
            } else {
                Prompt::MsgBox(QStringLiteral("What you entered doesn't make sense as a date, please re-enter in the "
                                              "format of 31-Dec-1995, ie include the full year expression"),
                               Prompt::Buttons::OK, Prompt::Icon::Critical, QString());
                ok = 0;
            }
        },
        Prompt::Icon::None);
    if (!checked)
        ok = 0;
    return ok;
}

QString AgeText(const QDate &dob)
{
    if (!dob.isValid())
        throw FwError(ErrNo::InvalidUseOfNull);

    const double days = static_cast<double>(DateText::DaysBetween(dob, Clock::today()));
    const double years = std::floor(days / 365.0);
    const double monthsExact = (days / 365.0 - years) * 365.0 / 30.42;
    const double months = std::floor(monthsExact);
    const double weeks = std::floor((monthsExact - months) * 30.42 / 7.0);

    return ageNumber(years) + QStringLiteral("yrs ") + ageNumber(months) + QStringLiteral("mths ") + ageNumber(weeks) +
           QStringLiteral("wks");
}

QString CaseCaption(const QString &caseNo, const QString &animalName, const QString &surname)
{
    return QStringLiteral("Case#") + NumText::Str(NumText::Val(caseNo)) + QStringLiteral(", ") + animalName +
           QStringLiteral(" ") + surname;
}
