#include "support/TestMain.h"

#include "platform/FwError.h"
#include "platform/report/ReportDocument.h"

#include <QFile>
#include <QLocale>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using Report::ReportDocument;

namespace {

// A small definition: a header, a footer with the page fields, two columns
// of label and value, and a picture.
const char *kSample = R"({
  "name": "Sample",
  "page": { "orientation": "portrait", "width": 10000,
            "margins": { "left": 720, "top": 720, "right": 720, "bottom": 720 } },
  "styles": { "label": { "family": "Times New Roman", "size": 10, "bold": true },
              "value": { "family": "Times New Roman", "size": 10 } },
  "sections": [
    { "name": "Head", "kind": "pageHeader", "height": 500, "objects": [
      { "name": "Title", "kind": "text", "style": "label", "size": 16, "text": "Design title",
        "left": 0, "top": 0, "width": 10000, "height": 400 } ] },
    { "name": "Foot", "kind": "pageFooter", "height": 300, "objects": [
      { "name": "Field45", "kind": "text", "style": "value", "special": "printDate",
        "left": 0, "top": 0, "width": 3000, "height": 240 },
      { "name": "Field15", "kind": "text", "style": "value", "special": "pageNofM",
        "left": 7000, "top": 0, "width": 3000, "height": 240, "align": "right" } ] },
    { "name": "Body", "kind": "details", "height": 800, "objects": [
      { "name": "LeftLabel1", "kind": "text", "style": "label", "text": "Alpha:",
        "left": 0, "top": 0, "width": 4800, "height": 240 },
      { "name": "LeftValue1", "kind": "text", "style": "value", "text": "",
        "left": 1500, "top": 0, "width": 3300, "height": 240, "canGrow": true },
      { "name": "LeftLabel2", "kind": "text", "style": "label", "text": "Bravo:",
        "left": 0, "top": 260, "width": 4800, "height": 240 },
      { "name": "RightLabel2", "kind": "text", "style": "label", "text": "Charlie:",
        "left": 5200, "top": 260, "width": 4800, "height": 240 },
      { "name": "Rule", "kind": "line", "left": 0, "top": 560, "width": 10000 } ] },
    { "name": "Notes", "kind": "details", "height": 500, "objects": [
      { "name": "Notes", "kind": "text", "style": "value", "text": "",
        "left": 0, "top": 0, "width": 10000, "height": 240, "canGrow": true },
      { "name": "Chart", "kind": "picture", "file": "nothere.png",
        "left": 0, "top": 260, "width": 2000, "height": 200 } ] }
  ] })";

ReportDocument sample()
{
    return ReportDocument(Report::parseDefinition(kSample, QStringLiteral("/nonexistent"), QStringLiteral("sample")));
}

QString pdfText(const QString &path, const QStringList &options = {})
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), options + QStringList{path, QStringLiteral("-")});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The top of the first word that reads `word` in the PDF, in points ("-1" when absent).
double wordTop(const QString &bboxHtml, const QString &word)
{
    static const QRegularExpression re(
        QStringLiteral(R"re(<word xMin="[0-9.]+" yMin="([0-9.]+)"[^>]*>([^<]*)</word>)re"));
    for (auto it = re.globalMatch(bboxHtml); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(2) == word)
            return m.captured(1).toDouble();
    }
    return -1;
}

} // namespace

class ReportTest : public QObject {
    Q_OBJECT
private slots:
    // The texts set by name, the print date and the page number all reach the
    // PDF as text.
    void namedTextsReachThePdf()
    {
        QTemporaryDir dir;
        ReportDocument doc = sample();
        QVERIFY(doc.setText(QStringLiteral("Title"), QStringLiteral("Fenwarra Report by Tollmere")));
        QVERIFY(doc.setText(QStringLiteral("LeftValue1"), QStringLiteral("Rex is within his range")));
        QVERIFY(doc.setText(QStringLiteral("Notes"), QStringLiteral("First line\rSecond line\r\nThird line\nFourth")));
        doc.setPrintDate(QDate(2026, 12, 6));
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        QString error;
        QVERIFY2(doc.exportPdf(pdf, QPageSize(QPageSize::A4), &error), qPrintable(error));

        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Fenwarra Report by Tollmere")));
        QVERIFY(!text.contains(QStringLiteral("Design title")));
        QVERIFY(text.contains(QStringLiteral("Rex is within his range")));
        QVERIFY(text.contains(QStringLiteral("06 Dec 2026")));
        QVERIFY(text.contains(QStringLiteral("Page 1 of 1")));
        // Every kind of line break gives a line of its own.
        QVERIFY(text.contains(QStringLiteral("First line\nSecond line\nThird line\nFourth")));
    }

    void unknownNamesAreRefused()
    {
        ReportDocument doc = sample();
        QVERIFY(!doc.setText(QStringLiteral("NoSuchObject"), QStringLiteral("x")));
        QVERIFY(!doc.setText(QStringLiteral("Chart"), QStringLiteral("x"))); // a picture, not a text
        QVERIFY(!doc.setPicture(QStringLiteral("Title"), QImage(4, 4, QImage::Format_RGB32)));
        QCOMPARE(doc.text(QStringLiteral("Title")), QStringLiteral("Design title"));
    }

    // A value that wraps pushes the label below it in its own column down,
    // below its last line, and leaves the other column where it was drawn.
    void growingTextPushesItsColumnOnly()
    {
        QTemporaryDir dir;
        ReportDocument doc = sample();
        doc.setText(QStringLiteral("LeftValue1"),
                    QStringLiteral("one two three four five six seven eight nine ten eleven twelve thirteen fourteen "
                                   "fifteen sixteen seventeen eighteen nineteen twenty lastword"));
        const QString pdf = dir.filePath(QStringLiteral("grow.pdf"));
        QVERIFY(doc.exportPdf(pdf, QPageSize(QPageSize::A4)));
        const QString html = pdfText(pdf, {QStringLiteral("-bbox")});
        const double first = wordTop(html, QStringLiteral("one"));
        const double last = wordTop(html, QStringLiteral("lastword"));
        const double bravo = wordTop(html, QStringLiteral("Bravo:"));
        const double charlie = wordTop(html, QStringLiteral("Charlie:"));
        QVERIFY(first > 0 && last > first + 20); // at least three lines
        QVERIFY2(bravo > last, qPrintable(QStringLiteral("Bravo %1, last line %2").arg(bravo).arg(last)));
        // Charlie stays 260 twips (13 pt) below the first line.
        QVERIFY2(qAbs(charlie - first - 13) < 1.5, qPrintable(QStringLiteral("Charlie %1").arg(charlie)));
    }

    // A text longer than a page goes on over further pages, each with its
    // header and footer, and no line is lost or printed twice at a break.
    void longTextGoesOnOverPages()
    {
        QTemporaryDir dir;
        ReportDocument doc = sample();
        QStringList lines;
        for (int i = 1; i <= 150; ++i)
            lines.append(QStringLiteral("Note%1").arg(i));
        doc.setText(QStringLiteral("Notes"), lines.join(QLatin1Char('\r')));
        const int pages = doc.pageCount(doc.pageLayout(QPageSize(QPageSize::A4)));
        QVERIFY(pages >= 2);
        const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
        QVERIFY(doc.exportPdf(pdf, QPageSize(QPageSize::A4)));
        const QString text = pdfText(pdf);
        for (int i = 1; i <= 150; ++i)
            QCOMPARE(text.count(QRegularExpression(QStringLiteral("\\bNote%1\\b").arg(i))), 1);
        QCOMPARE(text.count(QStringLiteral("Design title")), pages);
        QVERIFY(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));

        // No line runs into the footer: a page ends before the line that would cross it.
        const QStringList htmlPages = pdfText(pdf, {QStringLiteral("-bbox")}).split(QStringLiteral("<page "));
        static const QRegularExpression word(QStringLiteral(
            R"re(<word xMin="[0-9.]+" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)">([^<]*)</word>)re"));
        for (const QString &html : htmlPages) {
            const double footerTop = wordTop(html, QStringLiteral("Page"));
            for (auto it = word.globalMatch(html); it.hasNext();) {
                const auto m = it.next();
                if (m.captured(3).startsWith(QLatin1String("Note")))
                    QVERIFY2(m.captured(2).toDouble() <= footerTop + 0.5, qPrintable(m.captured(3)));
            }
        }
    }

    // A picture that could not be read, or none at all, leaves an empty
    // frame where it would stand; a picture fills its frame.
    void missingPictureLeavesEmptyFrame()
    {
        ReportDocument doc = sample();
        QVERIFY(doc.picture(QStringLiteral("Chart")).isNull());
        const QPageLayout page = doc.pageLayout(QPageSize(QPageSize::A4));
        // The frame: 2000 x 200 twips at the top of the Notes section, below
        // the header (500) and the body (800), inside a 720-twip margin.
        const double dpi = 72;
        auto at = [&](double xTwips, double yTwips) {
            return QPoint(qRound((720 + xTwips) * dpi / 1440), qRound((720 + 500 + 800 + 260 + yTwips) * dpi / 1440));
        };
        QImage empty = doc.pageImage(0, page, dpi);
        QVERIFY(!empty.isNull());
        QVERIFY(QColor(empty.pixel(at(1000, 0))) != QColor(Qt::white));  // the frame's top edge
        QCOMPARE(QColor(empty.pixel(at(1000, 100))), QColor(Qt::white)); // nothing inside

        QImage red(40, 4, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(doc.setPicture(QStringLiteral("Chart"), red));
        const QImage filled = doc.pageImage(0, page, dpi);
        QCOMPARE(QColor(filled.pixel(at(1000, 100))), QColor(Qt::red));

        QVERIFY(doc.setPicture(QStringLiteral("Chart"), QImage()));
        QTemporaryDir dir;
        QVERIFY(doc.exportPdf(dir.filePath(QStringLiteral("none.pdf")), QPageSize(QPageSize::A4)));
    }

    // The paper is the one asked for, turned as the definition says; without
    // a printer it follows the user's locale.
    void paperAndOrientation()
    {
        QTemporaryDir dir;
        ReportDocument doc = sample();
        const QString letter = dir.filePath(QStringLiteral("letter.pdf"));
        QVERIFY(doc.exportPdf(letter, QPageSize(QPageSize::Letter)));
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {letter});
        QVERIFY(info.waitForFinished(20000));
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("612 x 792 pts")));

        QByteArray json(kSample);
        json.replace("\"portrait\"", "\"landscape\"");
        ReportDocument wide(Report::parseDefinition(json, QString(), QStringLiteral("wide")));
        const QImage page = wide.pageImage(0, wide.pageLayout(QPageSize(QPageSize::A4)), 20);
        QVERIFY(page.width() > page.height());

        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(ReportDocument::defaultPageSize().id(), QPageSize::Letter);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        QCOMPARE(ReportDocument::defaultPageSize().id(), QPageSize::A4);
        QLocale::setDefault(before);
    }

    // A printer keeps the paper of its setup and gets the report's
    // orientation and margins; the printed pages hold the report's texts.
    void printerKeepsItsPaper()
    {
        QTemporaryDir dir;
        QByteArray json(kSample);
        json.replace("\"portrait\"", "\"landscape\"");
        ReportDocument doc(Report::parseDefinition(json, QString(), QStringLiteral("wide")));
        doc.setText(QStringLiteral("Title"), QStringLiteral("Printed title"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        printer.setPageSize(QPageSize(QPageSize::Letter));
        QCOMPARE(doc.render(printer), 1);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::Letter);
        QVERIFY(pdfText(printer.outputFileName()).contains(QStringLiteral("Printed title")));
    }

    // A PDF that cannot be written is reported and leaves no file behind.
    void unwritablePdfIsReported()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("no/such/folder/out.pdf"));
        QString error;
        QVERIFY(!sample().exportPdf(path, QPageSize(QPageSize::A4), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    void brokenDefinitionsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not JSON") << QByteArray("\"sections\": [") << QByteArray("\"sections\": [[[")
                                  << QStringLiteral("sample");
        QTest::newRow("unknown kind") << QByteArray("\"kind\": \"line\"") << QByteArray("\"kind\": \"arrow\"")
                                      << QStringLiteral("unknown kind \"arrow\"");
        QTest::newRow("name twice") << QByteArray("\"name\": \"RightLabel2\"") << QByteArray("\"name\": \"LeftLabel2\"")
                                    << QStringLiteral("\"LeftLabel2\" is used twice");
        QTest::newRow("no height") << QByteArray("\"width\": 2000, \"height\": 200") << QByteArray("\"width\": 2000")
                                   << QStringLiteral("\"Chart\" has no \"height\"");
        // Lengths no page has, beyond what a whole number of twips holds.
        QTest::newRow("length beyond any page")
            << QByteArray("\"left\": 5200") << QByteArray("\"left\": 1.25e109")
            << QStringLiteral("\"left\" of the object \"RightLabel2\" is not a length in twips from 0 to 100000");
        QTest::newRow("page width beyond any page") << QByteArray("\"width\": 10000,") << QByteArray("\"width\": 3e9,")
                                                    << QStringLiteral("\"width\" of the page is not a length in twips");
        QTest::newRow("font size beyond any page") << QByteArray("\"size\": 16,") << QByteArray("\"size\": 1e300,")
                                                   << QStringLiteral("\"Title\" has no valid font size");
        QTest::newRow("unknown style") << QByteArray("\"style\": \"value\", \"special\": \"printDate\"")
                                       << QByteArray("\"style\": \"small\", \"special\": \"printDate\"")
                                       << QStringLiteral("unknown style \"small\"");
    }
    void brokenDefinitionsAreRefused()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, reason);
        QByteArray json(kSample);
        QVERIFY(json.contains(from));
        json.replace(from, to);
        try {
            Report::parseDefinition(json, QString(), QStringLiteral("sample"));
            QFAIL("accepted");
        } catch (const FwError &e) {
            QVERIFY2(e.description().contains(QStringLiteral("sample")) && e.description().contains(reason),
                     qPrintable(e.description()));
        }
        QVERIFY_THROWS_EXCEPTION(FwError, Report::loadDefinition(QStringLiteral("/nonexistent/none.json")));
    }
};

FW_TEST(ReportTest)
#include "tst_Report.moc"
