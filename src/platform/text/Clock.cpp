#include "platform/text/Clock.h"

namespace {
QDateTime &fixedMoment()
{
    static QDateTime moment;
    return moment;
}
} // namespace

QDateTime Clock::now()
{
    return fixedMoment().isValid() ? fixedMoment() : QDateTime::currentDateTime();
}
QDate Clock::today()
{
    return now().date();
}
void Clock::setNow(const QDateTime &moment)
{
    fixedMoment() = moment;
}
void Clock::reset()
{
    fixedMoment() = QDateTime();
}
