#pragma once
// The one clock of the program. "Today" and "now" come from here so that tests
// can set the day.
#include <QDate>
#include <QDateTime>

namespace Clock {
QDateTime now();
QDate today();
/// Fix the clock at a moment (tests). An invalid moment returns to the real clock.
void setNow(const QDateTime &moment);
void reset();
} // namespace Clock
