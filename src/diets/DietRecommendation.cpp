#include "diets/DietRecommendation.h"

#include "platform/text/Clock.h"
#include "platform/text/DateText.h"

#include <QStringList>

namespace DietRecommendation {

QString text(const Captions &c, const QDate &today)
{
    const QStringList lines{
        DateText::Format(today, QStringLiteral("dd/mmm/yy")) + QStringLiteral(": "),
        QStringLiteral(" To reach the target weight, the Fenwarra suggests:"),
        c.DietSelected,
        QStringLiteral(" Either"),
        QStringLiteral("1]") + c.CupAmt + QStringLiteral(" cup(s) of dry (") + c.ResultDry + QLatin1Char(' ') +
            c.gmozUnitsDry + QStringLiteral(") or"),
        QStringLiteral("2]") + c.CanAmt + QStringLiteral(" can(s) of canned (") + c.ResultCan + QLatin1Char(' ') +
            c.gmozUnitsCan + QLatin1Char(')'),
        QStringLiteral("Or if you wish to use both dry and canned diet then try,"),
        QStringLiteral("3] ") + c.MixCups + QStringLiteral(" cup(s) of dry and ") + c.MixCans +
            QStringLiteral(" can(s) of canned"),
    };
    return lines.join(QStringLiteral("\r\n"));
}

QString text(const Captions &c)
{
    return text(c, Clock::today());
}

} // namespace DietRecommendation
