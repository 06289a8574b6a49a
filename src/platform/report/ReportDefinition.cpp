#include "platform/report/ReportDefinition.h"

#include "platform/FwError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace Report {

namespace {

// The error a caller sees when a definition cannot be used: the number of a
// file that cannot be read, with a description that names the file.
constexpr int kFileError = 75;

// Pictures from files are read at this resolution, so that a printed page
// shows them sharp.
constexpr double kPictureDpi = 300.0;

[[noreturn]] void fail(const QString &origin, const QString &why)
{
    throw FwError(kFileError, QStringLiteral("The report definition %1 cannot be used: %2").arg(origin, why));
}

// The largest length a definition may give, well beyond any paper (1.76 m):
// a larger one (1.25e109) would overflow the conversion to a whole number
// of twips and turn into a negative position.
constexpr double kMaxTwips = 100000;
// The largest font size, in points.
constexpr double kMaxPointSize = 1000;

int twips(const QJsonObject &o, const char *key, const QString &where, const QString &origin, bool required,
          int fallback = 0)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined()) {
        if (required)
            fail(origin, QStringLiteral("%1 has no \"%2\"").arg(where, QLatin1String(key)));
        return fallback;
    }
    if (!v.isDouble() || !(v.toDouble() >= 0 && v.toDouble() <= kMaxTwips))
        fail(origin, QStringLiteral("\"%1\" of %2 is not a length in twips from 0 to %3")
                         .arg(QLatin1String(key), where)
                         .arg(kMaxTwips));
    return qRound(v.toDouble());
}

Qt::Alignment alignment(const QString &text, const QString &where, const QString &origin)
{
    if (text.isEmpty() || text == QLatin1String("left"))
        return Qt::AlignLeft;
    if (text == QLatin1String("center") || text == QLatin1String("centre"))
        return Qt::AlignHCenter;
    if (text == QLatin1String("right"))
        return Qt::AlignRight;
    fail(origin, QStringLiteral("%1 has the unknown alignment \"%2\"").arg(where, text));
}

QColor colour(const QJsonValue &v, const QString &where, const QString &origin)
{
    const QColor c(v.toString());
    if (!c.isValid())
        fail(origin, QStringLiteral("%1 has the unknown colour \"%2\"").arg(where, v.toString()));
    return c;
}

// Font keys of a style or of an object; keys that are absent keep what the
// object already has.
void applyFont(ReportObject &obj, const QJsonObject &o, const QString &where, const QString &origin)
{
    if (o.contains(QLatin1String("family")))
        obj.family = o.value(QLatin1String("family")).toString();
    if (o.contains(QLatin1String("size"))) {
        const double size = o.value(QLatin1String("size")).toDouble();
        if (!(size > 0 && size <= kMaxPointSize))
            fail(origin,
                 QStringLiteral("%1 has no valid font size (from 1 to %2 points)").arg(where).arg(kMaxPointSize));
        obj.pointSize = size;
    }
    if (o.contains(QLatin1String("bold")))
        obj.bold = o.value(QLatin1String("bold")).toBool();
    if (o.contains(QLatin1String("italic")))
        obj.italic = o.value(QLatin1String("italic")).toBool();
    if (o.contains(QLatin1String("colour")))
        obj.colour = colour(o.value(QLatin1String("colour")), where, origin);
}

QImage readPicture(const QString &path, int widthTwips, int heightTwips)
{
    QImageReader reader(path);
    // Vector pictures are drawn at the size they will print; bitmaps keep theirs.
    if (reader.format() == "svg" || path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        const QSize size(qRound(deviceFromTwips(widthTwips, kPictureDpi)),
                         qRound(deviceFromTwips(heightTwips, kPictureDpi)));
        if (!size.isEmpty())
            reader.setScaledSize(reader.size().isValid() ? reader.size().scaled(size, Qt::KeepAspectRatio) : size);
    }
    return reader.read(); // a null image when the file cannot be read
}

SectionKind sectionKind(const QString &text, const QString &where, const QString &origin)
{
    if (text == QLatin1String("pageHeader"))
        return SectionKind::PageHeader;
    if (text == QLatin1String("pageFooter"))
        return SectionKind::PageFooter;
    if (text == QLatin1String("reportHeader"))
        return SectionKind::ReportHeader;
    if (text == QLatin1String("details"))
        return SectionKind::Details;
    if (text == QLatin1String("reportFooter"))
        return SectionKind::ReportFooter;
    fail(origin, QStringLiteral("%1 has the unknown kind \"%2\"").arg(where, text));
}

ReportObject parseObject(const QJsonObject &o, const QJsonObject &styles, const QString &baseDir, const QString &origin)
{
    ReportObject obj;
    obj.name = o.value(QLatin1String("name")).toString();
    if (obj.name.isEmpty())
        fail(origin, QStringLiteral("an object has no name"));
    const QString where = QStringLiteral("the object \"%1\"").arg(obj.name);

    const QString kind = o.value(QLatin1String("kind")).toString();
    if (kind == QLatin1String("text"))
        obj.kind = ObjectKind::Text;
    else if (kind == QLatin1String("line"))
        obj.kind = ObjectKind::Line;
    else if (kind == QLatin1String("box"))
        obj.kind = ObjectKind::Box;
    else if (kind == QLatin1String("picture"))
        obj.kind = ObjectKind::Picture;
    else
        fail(origin, QStringLiteral("%1 has the unknown kind \"%2\"").arg(where, kind));

    obj.left = twips(o, "left", where, origin, true);
    obj.top = twips(o, "top", where, origin, true);
    obj.width = twips(o, "width", where, origin, true);
    // A rule is as tall as it is thick; every other object needs a height.
    obj.height = twips(o, "height", where, origin, obj.kind != ObjectKind::Line);
    obj.thickness = twips(o, "thickness", where, origin, false, obj.thickness);
    if (o.contains(QLatin1String("colour")))
        obj.colour = colour(o.value(QLatin1String("colour")), where, origin);
    if (o.contains(QLatin1String("fill")))
        obj.fill = colour(o.value(QLatin1String("fill")), where, origin);

    if (obj.kind == ObjectKind::Text) {
        const QString style = o.value(QLatin1String("style")).toString();
        if (!style.isEmpty()) {
            if (!styles.contains(style))
                fail(origin, QStringLiteral("%1 uses the unknown style \"%2\"").arg(where, style));
            applyFont(obj, styles.value(style).toObject(), where, origin);
        }
        applyFont(obj, o, where, origin);
        obj.text = o.value(QLatin1String("text")).toString();
        obj.align = alignment(o.value(QLatin1String("align")).toString(), where, origin);
        obj.canGrow = o.value(QLatin1String("canGrow")).toBool(false);
        const QString special = o.value(QLatin1String("special")).toString();
        if (special == QLatin1String("printDate"))
            obj.special = Special::PrintDate;
        else if (special == QLatin1String("pageNofM"))
            obj.special = Special::PageNofM;
        else if (!special.isEmpty())
            fail(origin, QStringLiteral("%1 has the unknown special field \"%2\"").arg(where, special));
    }

    if (obj.kind == ObjectKind::Picture) {
        obj.file = o.value(QLatin1String("file")).toString();
        if (!obj.file.isEmpty())
            obj.image = readPicture(QDir(baseDir).filePath(obj.file), obj.width, obj.height);
    }
    return obj;
}

} // namespace

const ReportObject *ReportDefinition::object(const QString &name) const
{
    for (const Section &s : sections)
        for (const ReportObject &o : s.objects)
            if (o.name == name)
                return &o;
    return nullptr;
}

ReportObject *ReportDefinition::object(const QString &name)
{
    return const_cast<ReportObject *>(static_cast<const ReportDefinition *>(this)->object(name));
}

ReportDefinition parseDefinition(const QByteArray &json, const QString &baseDir, const QString &origin)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (doc.isNull())
        fail(origin, error.errorString() + QStringLiteral(" at character %1").arg(error.offset));
    if (!doc.isObject())
        fail(origin, QStringLiteral("it holds no definition"));
    const QJsonObject root = doc.object();

    ReportDefinition def;
    def.name = root.value(QLatin1String("name")).toString();
    const QJsonObject page = root.value(QLatin1String("page")).toObject();
    const QString orientation = page.value(QLatin1String("orientation")).toString(QStringLiteral("portrait"));
    if (orientation == QLatin1String("portrait"))
        def.orientation = QPageLayout::Portrait;
    else if (orientation == QLatin1String("landscape"))
        def.orientation = QPageLayout::Landscape;
    else
        fail(origin, QStringLiteral("the page has the unknown orientation \"%1\"").arg(orientation));
    const QString pageWhere = QStringLiteral("the page");
    def.width = twips(page, "width", pageWhere, origin, true);
    const QJsonObject margins = page.value(QLatin1String("margins")).toObject();
    def.marginLeft = twips(margins, "left", pageWhere, origin, false, def.marginLeft);
    def.marginTop = twips(margins, "top", pageWhere, origin, false, def.marginTop);
    def.marginRight = twips(margins, "right", pageWhere, origin, false, def.marginRight);
    def.marginBottom = twips(margins, "bottom", pageWhere, origin, false, def.marginBottom);

    const QJsonObject styles = root.value(QLatin1String("styles")).toObject();
    QSet<QString> names;
    for (const QJsonValue &sv : root.value(QLatin1String("sections")).toArray()) {
        const QJsonObject so = sv.toObject();
        Section section;
        section.name = so.value(QLatin1String("name")).toString();
        const QString where = QStringLiteral("the section \"%1\"").arg(section.name);
        section.kind = sectionKind(so.value(QLatin1String("kind")).toString(), where, origin);
        section.height = twips(so, "height", where, origin, true);
        section.keepTogether = so.value(QLatin1String("keepTogether")).toBool(true);
        for (const QJsonValue &ov : so.value(QLatin1String("objects")).toArray()) {
            ReportObject obj = parseObject(ov.toObject(), styles, baseDir, origin);
            if (names.contains(obj.name))
                fail(origin, QStringLiteral("the name \"%1\" is used twice").arg(obj.name));
            names.insert(obj.name);
            section.objects.append(std::move(obj));
        }
        def.sections.append(std::move(section));
    }
    if (def.sections.isEmpty())
        fail(origin, QStringLiteral("it has no sections"));
    return def;
}

ReportDefinition loadDefinition(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QDir::toNativeSeparators(path), file.errorString());
    return parseDefinition(file.readAll(), QFileInfo(path).absolutePath(), QDir::toNativeSeparators(path));
}

} // namespace Report
