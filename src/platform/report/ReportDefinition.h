#pragma once
// A report definition as data: the page it wants, its sections in printing
// order and the objects of every section (texts, rules, boxes, pictures), all
// positions in twips. Definitions are read from JSON files shipped in
// data/reports; the renderer (ReportDocument.h) lays them out onto pages.
//
// The file format, one object per definition:
//   {
//     "name": "ClientHO",
//     "page": { "orientation": "portrait", "width": 11295,
//               "margins": { "left": 360, "top": 720, "right": 360, "bottom": 720 } },
//     "styles": { "label": { "family": "Times New Roman", "size": 10, "bold": true } },
//     "sections": [
//       { "name": "PageHeader", "kind": "pageHeader", "height": 1900,
//         "objects": [
//           { "name": "Title", "kind": "text", "style": "label", "text": "Title",
//             "left": 0, "top": 0, "width": 7500, "height": 400,
//             "align": "left", "canGrow": true, "colour": "#c00000" },
//           { "name": "Line1", "kind": "line", "left": 0, "top": 420, "width": 11295,
//             "thickness": 20 },
//           { "name": "Box1", "kind": "box", "left": 0, "top": 0, "width": 100, "height": 100 },
//           { "name": "Picture2", "kind": "picture", "file": "Picture2.svg",
//             "left": 7740, "top": 0, "width": 3555, "height": 900 },
//           { "name": "Field15", "kind": "text", "special": "pageNofM", ... } ] } ] }
// Section kinds: pageHeader, pageFooter, reportHeader, details, reportFooter.
// A text object's own font keys (family, size, bold, italic) override its style.
#include <QColor>
#include <QImage>
#include <QPageLayout>
#include <QString>
#include <QVector>
#include <Qt>

namespace Report {

/// Twips (1440 to the inch) are the unit of every position in a definition;
/// a printer point is 20 twips.
constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerPoint = 20.0;
/// Twips of a length in device units at a resolution in dots per inch.
inline double twipsFromDevice(double units, double dpi)
{
    return units * kTwipsPerInch / dpi;
}
/// Device units of a length in twips at a resolution in dots per inch.
inline double deviceFromTwips(double twips, double dpi)
{
    return twips * dpi / kTwipsPerInch;
}

enum class ObjectKind { Text, Line, Box, Picture };

/// Texts that the renderer writes itself on every page.
enum class Special {
    None,
    PrintDate, // the day the report was built
    PageNofM,  // "Page N of M"
};

enum class SectionKind { PageHeader, PageFooter, ReportHeader, Details, ReportFooter };

struct ReportObject {
    QString name;
    ObjectKind kind = ObjectKind::Text;
    // Position and size in twips, relative to the section's top left.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    // Texts
    QString text; // the design text, shown until the report sets another
    QString family = QStringLiteral("Times New Roman");
    double pointSize = 10;
    bool bold = false;
    bool italic = false;
    QColor colour = Qt::black;
    Qt::Alignment align = Qt::AlignLeft;
    /// A text that needs more room than its height pushes what lies below it
    /// down and makes its section taller; otherwise it is cut at its height.
    bool canGrow = false;
    Special special = Special::None;

    // Rules and boxes
    int thickness = 15; // twips
    QColor fill;        // boxes; invalid: not filled

    // Pictures: the file, relative to the definition's folder, read when the
    // definition is loaded. Without one the picture is set by the report.
    QString file;
    QImage image;
};

struct Section {
    QString name;
    SectionKind kind = SectionKind::Details;
    int height = 0; // twips, before any growth
    /// Printed whole on one page when it fits on one; a section taller than a
    /// page is broken between lines of its texts.
    bool keepTogether = true;
    QVector<ReportObject> objects;
};

struct ReportDefinition {
    QString name;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    /// The width the layout was drawn for, in twips. A page whose printable
    /// width is smaller shows the report scaled down to fit it.
    int width = 0;
    int marginLeft = 360;
    int marginTop = 720;
    int marginRight = 360;
    int marginBottom = 720;
    QVector<Section> sections;

    /// The object of that name and its section; nullptr when there is none.
    const ReportObject *object(const QString &name) const;
    ReportObject *object(const QString &name);
};

/// Read a definition from its JSON file. Pictures named by "file" are read
/// from the same folder; a picture that cannot be read stays empty (its frame
/// prints empty). Throws FwError when the file cannot be read or is not a
/// valid definition (unknown kinds, duplicate names, missing sizes).
ReportDefinition loadDefinition(const QString &path);

/// The same from JSON text already in memory; pictures are looked for in
/// baseDir.
ReportDefinition parseDefinition(const QByteArray &json, const QString &baseDir, const QString &origin);

} // namespace Report
