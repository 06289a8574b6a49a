#include "curves_reports/ReminderPrint.h"

#include "platform/FwError.h"
#include "platform/printer/Printing.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>

namespace ReminderPrint {

namespace {

constexpr int kRuleLength = 72;

[[noreturn]] void printerError(const QString &what)
{
    throw FwError(kPrinterError, QStringLiteral("The reminder list could not be printed: %1.").arg(what));
}

// Where the continuation of a wrapped line starts: under the text after the
// line's number (" 12. "), or under the text after its leading blanks.
int hangingLength(const QString &line)
{
    static const QRegularExpression numbered(QStringLiteral("^ *-?\\d+\\. "));
    const QRegularExpressionMatch m = numbered.match(line);
    if (m.hasMatch())
        return int(m.capturedLength());
    int n = 0;
    while (n < line.size() && line.at(n) == QLatin1Char(' '))
        ++n;
    return n;
}

// Split a line into the pieces that fit the width: breaks at blanks, and
// inside a word only when the word alone is too wide. The first piece starts
// at the left edge, the others at hang (device units).
QStringList wrap(const QString &line, const QFontMetricsF &fm, qreal width, qreal hang)
{
    QStringList pieces;
    QString rest = line;
    qreal available = width;
    while (fm.horizontalAdvance(rest) > available) {
        // The longest head that fits, preferably ending before a blank.
        int fit = 0;
        while (fit < rest.size() && fm.horizontalAdvance(rest.left(fit + 1)) <= available)
            ++fit;
        int cut = fit;
        const int blank = rest.lastIndexOf(QLatin1Char(' '), fit);
        const bool onlyIndent = rest.left(blank).trimmed().isEmpty();
        if (blank > 0 && !onlyIndent)
            cut = blank;
        if (cut <= 0)
            cut = 1; // not even one character fits: one per piece, never endless
        pieces << rest.left(cut);
        rest = rest.mid(cut);
        while (rest.startsWith(QLatin1Char(' ')))
            rest.remove(0, 1);
        available = width - hang;
        if (rest.isEmpty())
            return pieces;
    }
    pieces << rest;
    return pieces;
}

} // namespace

QStringList pageLines(const QDate &today, const QStringList &listLines)
{
    const QString indent(kIndent, QLatin1Char(' '));
    QStringList lines;
    lines << QStringLiteral("FENWARRA REMINDERS DUE FOR ") + DateText::Format(today, QStringLiteral("dd mmm yyyy"));
    lines << indent + QString(kRuleLength, QLatin1Char('-'));
    lines << QString();
    for (int i = 0; i < listLines.size(); ++i)
        lines << indent + NumText::Str(i + 1) + QStringLiteral(". ") + listLines.at(i);
    lines << indent;
    return lines;
}

int print(QPagedPaintDevice &device, const QStringList &lines)
{
    QPainter painter;
    if (!Printing::begin(painter, device))
        printerError(QStringLiteral("the printer could not be started. Choose a printer with File > Printer Setup"));

    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(10);
    painter.setFont(font);
    const QFontMetricsF fm(painter.font(), &device);

    const qreal dpiX = device.logicalDpiX();
    const qreal dpiY = device.logicalDpiY();
    const qreal left = kMarginTwips * dpiX / 1440.0;
    const qreal top = kMarginTwips * dpiY / 1440.0;
    const qreal right = device.width() - kMarginTwips * dpiX / 1440.0;
    const qreal bottom = device.height() - kMarginTwips * dpiY / 1440.0;
    const qreal width = qMax<qreal>(right - left, fm.averageCharWidth());
    const qreal step = fm.lineSpacing();

    // A last line of blanks only (the indent that ends the text) shows
    // nothing, so it never starts a page of its own.
    int count = int(lines.size());
    while (count > 0 && lines.at(count - 1).trimmed().isEmpty() && count > 3)
        --count;

    int pages = 1;
    qreal y = top;
    for (int i = 0; i < count; ++i) {
        const QString &line = lines.at(i);
        const qreal hang = fm.horizontalAdvance(line.left(hangingLength(line)));
        const QStringList pieces = wrap(line, fm, width, hang);
        for (int p = 0; p < pieces.size(); ++p) {
            if (y + step > bottom && y > top) {
                if (!device.newPage())
                    printerError(QStringLiteral("a new page could not be started"));
                ++pages;
                y = top;
            }
            painter.drawText(QPointF(left + (p == 0 ? 0 : hang), y + fm.ascent()), pieces.at(p));
            y += step;
        }
    }
    if (!painter.end())
        printerError(QStringLiteral("the document could not be ended"));
    return pages;
}

} // namespace ReminderPrint
