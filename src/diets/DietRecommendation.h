#pragma once
// The dated diet recommendation that the diet calculator hands back to a case:
// eight lines joined by CR LF, no line break at the end, built from the
// calculator's captions as they stand (number texts keep their leading blank;
// the markers "0", "N/A" and "Unable" are copied as they are).
#include <QDate>
#include <QString>

namespace DietRecommendation {

/// The captions the recommendation quotes.
struct Captions {
    QString DietSelected;
    QString CupAmt, ResultDry, gmozUnitsDry;
    QString CanAmt, ResultCan, gmozUnitsCan;
    QString MixCups, MixCans;
};

/// The text, headed by `today` as "dd/mmm/yy: ".
QString text(const Captions &c, const QDate &today);
/// The text headed by the program clock's today.
QString text(const Captions &c);

} // namespace DietRecommendation
