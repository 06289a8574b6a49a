#include "platform/report/ReportDocument.h"

#include "platform/printer/Printing.h"
#include "platform/text/Clock.h"
#include "platform/text/DateText.h"

#include <QFileInfo>
#include <QFont>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <memory>

namespace Report {

namespace {

// Serif families with the metrics of Times New Roman, for machines that do
// not have it: lines then break where the layout was drawn for.
const QStringList kTimesFallbacks = {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                                     QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif")};

// Fonts are sized in twips (a pixel size of 20 per point) and drawn through a
// painter scaled from twips to the device, so that a layout measured once
// holds on every device; hinting is off so that widths do not depend on the
// resolution.
QFont fontFor(const ReportObject &obj)
{
    QFont font;
    QStringList families{obj.family};
    if (obj.family.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
        families += kTimesFallbacks;
    font.setFamilies(families);
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(std::max(1, qRound(obj.pointSize * kTwipsPerPoint)));
    font.setBold(obj.bold);
    font.setItalic(obj.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

QString withLineSeparators(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

// A text laid out in lines across its object's width; line positions start at 0.
std::shared_ptr<QTextLayout> layOutText(const ReportObject &obj, const QString &text)
{
    auto layout = std::make_shared<QTextLayout>(withLineSeparators(text), fontFor(obj));
    QTextOption option(obj.align);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    double y = 0;
    for (;;) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(obj.width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    return layout;
}

} // namespace

// One thing to draw: an object, or one line of a text object, at its place.
struct Item {
    const ReportObject *obj = nullptr;
    QRectF rect;   // twips, relative to the top of its section or page band
    int line = -1; // the line of `text` drawn here
    std::shared_ptr<QTextLayout> text;
};

struct LaidOutSection {
    QVector<Item> items;
    double height = 0;
};

struct ReportDocument::Layout {
    QPageLayout page;
    double scale = 1;      // from layout twips to page twips
    double dx = 0;         // layout twips from the left margin to the report's left edge
    double bodyHeight = 0; // layout twips between the margins
    LaidOutSection header;
    LaidOutSection footer;
    QVector<QVector<Item>> pages; // body items, tops relative to the end of the page header
};

namespace {

double extentAcross(const ReportObject &obj)
{
    return obj.kind == ObjectKind::Line ? std::max(obj.width, obj.thickness) : obj.width;
}

bool overlapsAcross(const ReportObject &a, const ReportObject &b)
{
    return a.left < b.left + extentAcross(b) && b.left < a.left + extentAcross(a);
}

// Lay out one section: texts that may grow push down what lies wholly below
// them and across the same columns, by their growth (the largest push wins
// where several texts lie above an object), and the section grows with them.
// A label as wide as its column, with its value laid over its right part,
// thus moves down together with the value above it.
LaidOutSection layOutSection(const Section &section)
{
    struct Placed {
        const ReportObject *obj;
        std::shared_ptr<QTextLayout> text;
        double growth = 0;
        double shift = 0;
    };
    QVector<Placed> placed;
    for (const ReportObject &obj : section.objects) {
        Placed p{&obj, nullptr};
        if (obj.kind == ObjectKind::Text && obj.special == Special::None) {
            p.text = layOutText(obj, obj.text);
            const double needed =
                p.text->lineCount() > 0 ? p.text->lineAt(p.text->lineCount() - 1).rect().bottom() : 0.0;
            if (obj.canGrow && needed > obj.height)
                p.growth = needed - obj.height;
        }
        placed.append(p);
    }
    // Shifts follow the design order from top to bottom.
    QVector<int> order(placed.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return placed[a].obj->top < placed[b].obj->top; });
    double sectionGrowth = 0;
    for (int i : order) {
        Placed &p = placed[i];
        for (int j : order) {
            const Placed &above = placed[j];
            if (j == i || above.obj->top >= p.obj->top || above.obj->top + above.obj->height > p.obj->top)
                continue;
            // Only what stands in the same columns is pushed, so that texts
            // side by side grow independently.
            if (!overlapsAcross(*above.obj, *p.obj))
                continue;
            p.shift = std::max(p.shift, above.shift + above.growth);
        }
        sectionGrowth = std::max(sectionGrowth, p.shift + p.growth);
    }

    LaidOutSection out;
    out.height = section.height + sectionGrowth;
    for (const Placed &p : placed) {
        const ReportObject &obj = *p.obj;
        const double top = obj.top + p.shift;
        if (!p.text) {
            out.items.append(Item{&obj, QRectF(obj.left, top, obj.width, obj.height), -1, nullptr});
            continue;
        }
        const double limit = obj.height + p.growth;
        for (int l = 0; l < p.text->lineCount(); ++l) {
            const QRectF r = p.text->lineAt(l).rect();
            // A text that may not grow keeps to its height, but always shows its first line.
            if (l > 0 && r.bottom() > limit + 0.5)
                break;
            out.items.append(Item{&obj, QRectF(obj.left, top + r.top(), obj.width, r.height()), l, p.text});
        }
    }
    return out;
}

LaidOutSection joinBands(const ReportDefinition &def, SectionKind kind)
{
    LaidOutSection band;
    for (const Section &s : def.sections) {
        if (s.kind != kind)
            continue;
        LaidOutSection one = layOutSection(s);
        for (Item &item : one.items) {
            item.rect.translate(0, band.height);
            band.items.append(item);
        }
        band.height += one.height;
    }
    return band;
}

} // namespace

ReportDocument::ReportDocument(ReportDefinition definition) : m_def(std::move(definition)), m_printDate(Clock::today())
{
}

ReportDocument ReportDocument::load(const QString &path)
{
    return ReportDocument(loadDefinition(path));
}

bool ReportDocument::setText(const QString &name, const QString &text)
{
    ReportObject *obj = m_def.object(name);
    if (!obj || obj->kind != ObjectKind::Text)
        return false;
    obj->text = text;
    return true;
}

QString ReportDocument::text(const QString &name) const
{
    const ReportObject *obj = m_def.object(name);
    return obj && obj->kind == ObjectKind::Text ? obj->text : QString();
}

bool ReportDocument::setPicture(const QString &name, const QImage &image)
{
    ReportObject *obj = m_def.object(name);
    if (!obj || obj->kind != ObjectKind::Picture)
        return false;
    obj->image = image;
    return true;
}

QImage ReportDocument::picture(const QString &name) const
{
    const ReportObject *obj = m_def.object(name);
    return obj && obj->kind == ObjectKind::Picture ? obj->image : QImage();
}

QPageLayout ReportDocument::pageLayout(const QPageSize &size) const
{
    const QMarginsF margins(m_def.marginLeft / kTwipsPerPoint, m_def.marginTop / kTwipsPerPoint,
                            m_def.marginRight / kTwipsPerPoint, m_def.marginBottom / kTwipsPerPoint);
    return QPageLayout(size, m_def.orientation, margins, QPageLayout::Point);
}

void ReportDocument::applyPageSetup(QPagedPaintDevice &device) const
{
    device.setPageLayout(pageLayout(device.pageLayout().pageSize()));
}

ReportDocument::Layout ReportDocument::layout(const QPageLayout &page) const
{
    Layout out;
    out.page = page;
    const QRectF paint = page.paintRect(QPageLayout::Point);
    const double bodyWidth = paint.width() * kTwipsPerPoint;
    out.scale = m_def.width > bodyWidth ? bodyWidth / m_def.width : 1.0;
    out.dx = std::max(0.0, (bodyWidth / out.scale - m_def.width) / 2);
    out.bodyHeight = paint.height() * kTwipsPerPoint / out.scale;

    out.header = joinBands(m_def, SectionKind::PageHeader);
    out.footer = joinBands(m_def, SectionKind::PageFooter);
    // Whatever the header and footer take, at least an inch stays for the body.
    const double room = std::max(kTwipsPerInch, out.bodyHeight - out.header.height - out.footer.height);

    out.pages.append(QVector<Item>());
    double y = 0;
    auto newPage = [&] {
        out.pages.append(QVector<Item>());
        y = 0;
    };
    for (const Section &s : m_def.sections) {
        if (s.kind == SectionKind::PageHeader || s.kind == SectionKind::PageFooter)
            continue;
        LaidOutSection section = layOutSection(s);
        if (section.height > room - y && s.keepTogether && section.height <= room && y > 0)
            newPage();
        while (section.height > room - y) {
            // Break at the top of the first item that would cross the page's end.
            double cut = room - y;
            for (const Item &item : section.items)
                if (item.rect.top() < cut && item.rect.bottom() > cut + 0.5)
                    cut = std::min(cut, item.rect.top());
            if (cut <= 0 && y > 0) {
                newPage();
                continue;
            }
            if (cut <= 0)
                cut = room; // one item taller than a page: it is cut at the page's end
            QVector<Item> rest;
            for (Item item : section.items) {
                if (item.rect.top() < cut) {
                    item.rect.translate(0, y);
                    out.pages.last().append(item);
                } else {
                    item.rect.translate(0, -cut);
                    rest.append(item);
                }
            }
            section.items = rest;
            section.height -= cut;
            newPage();
        }
        for (Item item : section.items) {
            item.rect.translate(0, y);
            out.pages.last().append(item);
        }
        y += section.height;
    }
    return out;
}

int ReportDocument::pageCount(const QPageLayout &page) const
{
    return layout(page).pages.size();
}

int ReportDocument::pageCount() const
{
    return pageCount(pageLayout(defaultPageSize()));
}

void ReportDocument::drawPage(QPainter &painter, const Layout &lay, int index, double dpi) const
{
    const int pages = lay.pages.size();
    const double bodyWidth = lay.page.paintRect(QPageLayout::Point).width() * kTwipsPerPoint / lay.scale;
    painter.save();
    painter.scale(dpi / kTwipsPerInch * lay.scale, dpi / kTwipsPerInch * lay.scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(QRectF(0, 0, bodyWidth, lay.bodyHeight));

    auto draw = [&](const Item &item, double top) {
        const ReportObject &obj = *item.obj;
        const QRectF r = item.rect.translated(lay.dx, top);
        switch (obj.kind) {
        case ObjectKind::Text: {
            painter.setPen(obj.colour);
            if (item.text) {
                const QTextLine line = item.text->lineAt(item.line);
                line.draw(&painter, QPointF(r.left(), r.top() - line.y()));
                break;
            }
            // A field the report writes on every page.
            const QString text = obj.special == Special::PrintDate  ? printDateText(m_printDate)
                                 : obj.special == Special::PageNofM ? pageText(index + 1, pages)
                                                                    : obj.text;
            const auto once = layOutText(obj, text);
            if (once->lineCount() > 0)
                once->lineAt(0).draw(&painter, r.topLeft());
            break;
        }
        case ObjectKind::Line: {
            const double thick = std::max(1, obj.thickness);
            const QRectF rule = obj.height > obj.width ? QRectF(r.left(), r.top(), thick, obj.height)
                                                       : QRectF(r.left(), r.top(), obj.width, thick);
            painter.fillRect(rule, obj.colour);
            break;
        }
        case ObjectKind::Box: {
            if (obj.fill.isValid())
                painter.fillRect(r, obj.fill);
            QPen pen(obj.colour, std::max(1, obj.thickness));
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r);
            break;
        }
        case ObjectKind::Picture: {
            if (obj.image.isNull()) {
                // No picture: its place stays as an empty frame.
                painter.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 10));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(r);
                break;
            }
            QSizeF size = obj.image.size();
            size.scale(r.size(), Qt::KeepAspectRatio);
            const QRectF target(r.left() + (r.width() - size.width()) / 2, r.top() + (r.height() - size.height()) / 2,
                                size.width(), size.height());
            painter.drawImage(target, obj.image);
            break;
        }
        }
    };

    for (const Item &item : lay.header.items)
        draw(item, 0);
    for (const Item &item : lay.pages.value(index))
        draw(item, lay.header.height);
    const double footerTop = lay.bodyHeight - lay.footer.height;
    for (const Item &item : lay.footer.items)
        draw(item, footerTop);
    painter.restore();
}

int ReportDocument::render(QPagedPaintDevice &device) const
{
    applyPageSetup(device);
    const Layout lay = layout(device.pageLayout());
    QPainter painter;
    if (!Printing::begin(painter, device))
        return 0;
    const double dpi = device.logicalDpiX();
    for (int i = 0; i < lay.pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        drawPage(painter, lay, i, dpi);
    }
    painter.end();
    return lay.pages.size();
}

QImage ReportDocument::pageImage(int index, const QPageLayout &page, double dpi) const
{
    const Layout lay = layout(page);
    if (index < 0 || index >= lay.pages.size())
        return QImage();
    const QSizeF full = page.fullRect(QPageLayout::Inch).size() * dpi;
    QImage image(full.toSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    const QPointF origin = page.paintRect(QPageLayout::Inch).topLeft() * dpi;
    painter.translate(origin);
    drawPage(painter, lay, index, dpi);
    return image;
}

bool ReportDocument::exportPdf(const QString &path, const QPageSize &size, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Fenwarra"));
        writer.setTitle(text(QStringLiteral("Title")).isEmpty() ? m_def.name : text(QStringLiteral("Title")));
        writer.setPageLayout(pageLayout(size));
        if (render(writer) == 0) {
            file.cancelWriting();
            if (error)
                *error = QStringLiteral("The report could not be drawn.");
            return false;
        }
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QPageSize ReportDocument::defaultPageSize()
{
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                      : QPageSize(QPageSize::A4);
}

QString ReportDocument::printDateText(const QDate &date)
{
    return DateText::Format(date, QStringLiteral("dd mmm yyyy"));
}

QString ReportDocument::pageText(int page, int pages)
{
    return QStringLiteral("Page %1 of %2").arg(page).arg(pages);
}

} // namespace Report
