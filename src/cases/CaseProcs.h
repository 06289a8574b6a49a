#pragma once
// The small procedures of the case windows: weeks and ages, the check of an
// entered date of birth, counting a character, the case caption, and the
// creation of a case window in the frame.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

class frmDocument;

/// Whole weeks from the first date to the second, rounded half away from zero
/// (3.5 days gives 1, -10.5 days gives -2), counted in calendar days. A result
/// beyond 16 bits, or a missing date, shows the error's description in a
/// critical box and gives 0.
qint16 WeeksBetween(const QDate &first, const QDate &second);
/// The same with moments: fractions of a day count, read from the wall clock
/// so that a daylight-saving change does not shift the count.
qint16 WeeksBetween(const QDateTime &first, const QDateTime &second);

/// Create a new case window with the caption and show it in the frame; it
/// becomes the frame's active child window. Without a frame (a test, a tool)
/// the window stands alone and goes away when it is closed.
frmDocument *OpenCaseWindow(const QString &caption);

/// How many times ch (one character, exact case) stands in text; a ch of any
/// other length counts 0. More than 32767 matches throws FwError(Overflow).
qint16 CountChar(const QString &text, const QString &ch);

/// Check an entered date of birth (a text, a QDate or a QDateTime): 1 valid,
/// 0 refused (with the program's messages: no date, a date in the future, or
/// the description of an error that stopped the check).
qint16 CheckDOB(const QVariant &entered);

/// The age text of a date of birth at today's date:
/// " 1yrs  0mths  0wks" (each number blank-led when not negative). An invalid
/// date throws FwError(InvalidUseOfNull) for the caller's handler to report.
QString AgeText(const QDate &dob);

/// The case caption: "Case#" + blank-led number + ", " + animal + " " + surname.
QString CaseCaption(const QString &caseNo, const QString &animalName, const QString &surname);
