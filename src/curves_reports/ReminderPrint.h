#pragma once
// The printed reminder list, apart from the window: its text and its layout
// on pages. It draws onto any paged device, a printer or a PDF file alike.
//
// The page: from 600 twips in from the left and the top, in Times New Roman
// 10 point, the heading "FENWARRA REMINDERS DUE FOR " and the day, then a
// rule, an empty line and one numbered line per listed case; every line after
// the heading begins with a 10-blank indent. Each line stands below the one
// before it, at the same left edge. A line too long for the page is wrapped
// at a blank, and its continuation starts under the text that follows its
// number. A list longer than a page goes on at the top of the next page.
#include <QDate>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace ReminderPrint {

/// The left and top position of the text, and the margin kept at the right
/// and the bottom, in twips.
constexpr int kMarginTwips = 600;
/// Blanks at the start of every line after the heading.
constexpr int kIndent = 10;
/// Printer error: the page could not be started or continued.
constexpr int kPrinterError = 482;

/// The lines of the printed text: the heading with the day as "dd mmm yyyy";
/// the indent and a rule of 72 "-"; an empty line; for each listed line the
/// indent, its number blank-led (" 1"), ". " and the line; last the indent
/// alone.
QStringList pageLines(const QDate &today, const QStringList &listLines);

/// Lay out the lines on the device's pages and end the document. Returns
/// the number of pages. Throws FwError(kPrinterError) when the device cannot
/// be drawn on or cannot start a new page.
int print(QPagedPaintDevice &device, const QStringList &lines);

} // namespace ReminderPrint
