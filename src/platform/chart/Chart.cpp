#include "platform/chart/Chart.h"

#include "platform/FwError.h"

#include <QCategoryAxis>
#include <QChart>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QValueAxis>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// How near (in pixels) a click must come to a point to hit it.
constexpr double kHitRadius = 8.0;
// Point symbols are drawn while neighbouring points stand at least this far
// apart (in pixels): as far as the smaller symbol is wide.
constexpr double kMinSymbolSpacing = 4.0;

/// A whole-number step between ticks that gives at most about ten of them:
/// 1, 2, 5, 10, 20, 50 ...
int tickStep(int span)
{
    int step = 1;
    for (int scale = 1;; scale *= 10) {
        for (int m : {1, 2, 5}) {
            step = m * scale;
            if (span / step <= 10)
                return step;
        }
    }
}

QColor textColourOn(bool dark)
{
    return dark ? QColor(Qt::white) : QColor(Qt::black);
}

// Series colours, one for each of nine series, chosen to stand out on the
// background and from one another: bright on a dark one, deep on a light one.
constexpr int kStyles = 9;
// One table indexed by the background, not a choice between two arrays that
// is then indexed: GCC 12 with -fsanitize=undefined checks the index in one
// arm of such a choice only and reports the other as out of bounds.
const QRgb kSeriesColours[2][kStyles] = {
    {0x0000A0, 0x007000, 0xC00000, 0xE07000, 0x7B2FBE, 0x008B8B, 0xC0007F, 0x8B5A2B, 0x000000}, // on light
    {0xFFFF40, 0x60FF60, 0xFF7070, 0xFFA040, 0xC890FF, 0x40E0FF, 0xFF80C0, 0xD2B48C, 0xFFFFFF}, // on dark
};

// Monochrome: one line pattern for each of nine series. Lengths of dashes
// and gaps are in pixels.
struct MonoLine {
    double width;
    Qt::PenStyle style;
    QVector<qreal> dashes; // for Qt::CustomDashLine
};
const MonoLine kMono[kStyles] = {
    {2.0, Qt::SolidLine, {}},
    {1.5, Qt::CustomDashLine, {6, 3}},
    {1.5, Qt::CustomDashLine, {1.5, 3}},
    {1.5, Qt::CustomDashLine, {9, 3, 1.5, 3}},
    {1.5, Qt::CustomDashLine, {9, 3, 1.5, 3, 1.5, 3}},
    {1.5, Qt::CustomDashLine, {18, 5}},
    {1.5, Qt::CustomDashLine, {16, 4, 5, 4}},
    {1.5, Qt::CustomDashLine, {1.5, 7}},
    {3.5, Qt::SolidLine, {}},
};

// A bottom-axis label for every point, without the blanks around it (the
// room between labels is the axis's to give); labels must differ from one
// another on the axis, so a repeated text is told apart by invisible blanks.
QStringList distinctLabels(const QVector<QString> &labels)
{
    QStringList out;
    QSet<QString> used;
    for (const QString &label : labels) {
        QString text = label.trimmed();
        while (used.contains(text))
            text += QChar(0x200B);
        used.insert(text);
        out << text;
    }
    return out;
}
} // namespace

/// The chart's legend: for each series with a text, a piece of its line and
/// the text, in rows as wide as the chart.
class ChartLegendItem : public QGraphicsItem {
public:
    struct Entry {
        QPen pen;
        QString text;
    };
    using QGraphicsItem::QGraphicsItem;

    QVector<Entry> entries;
    QFont font;
    QColor textColour;

    /// Place the entries in rows of at most width; returns the height needed.
    qreal layOut(qreal width)
    {
        const QFontMetricsF fm(font);
        const qreal rowHeight = fm.height() + 4;
        m_places.clear();
        QVector<QVector<int>> rows(1);
        QVector<qreal> rowWidths(1, 0.0);
        for (int i = 0; i < entries.size(); ++i) {
            const qreal w = kSample + kGap + fm.horizontalAdvance(entries.at(i).text);
            const qreal needed = rows.last().isEmpty() ? w : rowWidths.last() + kSpacing + w;
            if (needed > width && !rows.last().isEmpty()) {
                rows.append(QVector<int>());
                rowWidths.append(w);
            } else {
                rowWidths.last() = needed;
            }
            rows.last().append(i);
        }
        m_places.resize(entries.size());
        for (int r = 0; r < rows.size(); ++r) {
            qreal x = std::max(0.0, (width - rowWidths.at(r)) / 2);
            for (int i : rows.at(r)) {
                const qreal w = kSample + kGap + fm.horizontalAdvance(entries.at(i).text);
                m_places[i] = QRectF(x, r * rowHeight, w, rowHeight);
                x += w + kSpacing;
            }
        }
        prepareGeometryChange();
        m_bounds = QRectF(0, 0, width, rows.size() * rowHeight);
        return m_bounds.height();
    }

    QRectF boundingRect() const override { return m_bounds; }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setFont(font);
        for (int i = 0; i < entries.size() && i < m_places.size(); ++i) {
            const QRectF &place = m_places.at(i);
            const qreal y = place.center().y();
            painter->setPen(entries.at(i).pen);
            painter->drawLine(QPointF(place.left(), y), QPointF(place.left() + kSample, y));
            painter->setPen(textColour);
            painter->drawText(QRectF(place.left() + kSample + kGap, place.top(), place.width(), place.height()),
                              Qt::AlignLeft | Qt::AlignVCenter, entries.at(i).text);
        }
    }

private:
    // Length of the piece of line, and the room after it and between entries.
    static constexpr qreal kSample = 40;
    static constexpr qreal kGap = 6;
    static constexpr qreal kSpacing = 18;
    QVector<QRectF> m_places;
    QRectF m_bounds;
};

// The chart is handed to the view's constructor: a view made without one
// makes a chart of its own, and replacing that with setChart() would leave it
// to nobody.
Chart::Chart(QWidget *parent) : QChartView(new QChart, parent)
{
    setRenderHint(QPainter::Antialiasing);
    QChart *c = chart(); // owned by the view
    c->setBackgroundRoundness(0);
    c->setMargins(QMargins(4, 4, 4, 4));
    // The chart's own legend takes the place of the one Qt Charts draws, whose
    // pieces of line are too short to show a pattern and whose texts are
    // cut short rather than put in a second row.
    c->legend()->hide();
    m_legendItem = new ChartLegendItem(c);
    m_legendItem->font = c->legend()->font();
    m_legendItem->setVisible(false);
    connect(c, &QGraphicsWidget::geometryChanged, this, [this] { layOutLegend(); });
    // A resize (zoom, print size) can bring points closer or further apart.
    connect(c, &QChart::plotAreaChanged, this, [this] { showSymbolsWhereApart(); });
    QFont titleFont = c->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    c->setTitleFont(titleFont);

    m_axisX = new QValueAxis(c);
    m_axisX->setLabelFormat(QStringLiteral("%d"));
    m_axisY = new QValueAxis(c);
    m_axisY->setLabelFormat(QStringLiteral("%g"));
    c->addAxis(m_axisX, Qt::AlignBottom);
    c->addAxis(m_axisY, Qt::AlignLeft);
    m_axisLabels = new QCategoryAxis(c);
    m_axisLabels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);

    setNumSets(1);
    applyColours();
}

Chart::~Chart()
{
    // The bottom axis that is not in use belongs to no chart.
    QValueAxis *spare = m_labelled ? m_axisX : m_axisLabels;
    if (!chart()->axes().contains(spare))
        delete spare;
}

// --- shape --------------------------------------------------------------------

void Chart::setNumSets(int sets)
{
    sets = std::max(1, sets);
    m_values.resize(sets);
    for (auto &s : m_values)
        s.resize(m_numPoints);
    m_legend.resize(sets);
    m_pattern.resize(sets);
    m_thisSet = 1;
    m_thisPoint = 1;

    // One line series per set.
    while (m_series.size() > sets) {
        QLineSeries *s = m_series.takeLast();
        chart()->removeSeries(s);
        delete s;
    }
    while (m_series.size() < sets) {
        auto *s = new QLineSeries(chart());
        chart()->addSeries(s);
        s->attachAxis(m_labelled ? m_axisLabels : m_axisX);
        s->attachAxis(m_axisY);
        m_series.append(s);
    }
    applyColours();
    markDirty();
}

void Chart::setNumPoints(int points)
{
    m_numPoints = std::max(0, points);
    for (auto &s : m_values)
        s.resize(m_numPoints);
    m_labels.resize(m_numPoints);
    m_thisSet = 1;
    m_thisPoint = 1;
    markDirty();
}

void Chart::setThisSet(int set)
{
    m_thisSet = std::clamp(set, 1, NumSets());
}

void Chart::setThisPoint(int point)
{
    m_thisPoint = std::max(1, point);
}

double Chart::GraphData() const
{
    return value(m_thisSet, m_thisPoint);
}

void Chart::setGraphData(double v)
{
    if (m_thisPoint >= 1 && m_thisPoint <= m_numPoints)
        m_values[m_thisSet - 1][m_thisPoint - 1] = v;
    markDirty();
    if (m_autoInc)
        advance();
}

void Chart::advance()
{
    if (++m_thisPoint > std::max(1, m_numPoints)) {
        m_thisPoint = 1;
        if (++m_thisSet > NumSets())
            m_thisSet = 1;
    }
}

double Chart::value(int set, int point) const
{
    if (set < 1 || set > NumSets() || point < 1 || point > m_numPoints)
        return 0.0;
    return m_values[set - 1][point - 1];
}

// --- texts ----------------------------------------------------------------------

void Chart::setLegendText(const QString &text)
{
    m_legend[m_thisSet - 1] = text;
    markDirty();
}

bool Chart::legendShown() const
{
    return std::any_of(m_legend.begin(), m_legend.end(), [](const QString &t) { return !t.isEmpty(); });
}

void Chart::setLegendFont(const QFont &font)
{
    m_legendItem->font = font;
    layOutLegend();
}

void Chart::layOutLegend()
{
    constexpr int kMargin = 4;
    QVector<ChartLegendItem::Entry> entries;
    for (int s = 0; s < m_series.size() && s < m_legend.size(); ++s)
        if (!m_legend[s].isEmpty())
            entries.append({seriesPen(s + 1), m_legend[s]});
    m_legendItem->entries = entries;
    m_legendItem->textColour = textColourOn(darkBackground());
    m_legendItem->setVisible(!entries.isEmpty());
    if (entries.isEmpty()) {
        chart()->setMargins(QMargins(kMargin, kMargin, kMargin, kMargin));
        return;
    }
    const QSizeF size = chart()->size();
    const qreal height = m_legendItem->layOut(std::max<qreal>(1, size.width() - 2 * kMargin));
    m_legendItem->setPos(kMargin, size.height() - kMargin - height);
    m_legendItem->update();
    chart()->setMargins(QMargins(kMargin, kMargin, kMargin, kMargin + int(std::ceil(height)) + 2));
}

QString Chart::legendText(int set) const
{
    if (set < 1 || set > NumSets())
        return QString();
    return m_legend[set - 1];
}

void Chart::setLeftTitle(const QString &title)
{
    m_leftTitle = title;
    markDirty();
}

void Chart::setBottomTitle(const QString &title)
{
    m_bottomTitle = title;
    markDirty();
}

void Chart::setGraphTitle(const QString &title)
{
    m_graphTitle = title;
    markDirty();
}

void Chart::setLabelText(const QString &text)
{
    if (m_thisPoint < 1 || m_thisPoint > m_numPoints)
        return;
    m_labels[m_thisPoint - 1] = text;
    markDirty();
}

QString Chart::labelText(int point) const
{
    if (point < 1 || point > m_numPoints)
        return QString();
    return m_labels[point - 1];
}

bool Chart::anyLabel() const
{
    return std::any_of(m_labels.begin(), m_labels.end(), [](const QString &l) { return !l.isEmpty(); });
}

// --- appearance -------------------------------------------------------------------

void Chart::setGraphStyle(int style)
{
    if (style != LinesOnly && style != LinesWithSymbols)
        return;
    m_style = style;
    markDirty();
}

QColor Chart::paletteColour(int i)
{
    static const QRgb palette[16] = {
        0x000000, // 0 black
        0x000080, // 1 blue
        0x008000, // 2 green
        0x008080, // 3 cyan
        0x800000, // 4 red
        0x800080, // 5 magenta
        0x808000, // 6 brown
        0xC0C0C0, // 7 light grey
        0x808080, // 8 dark grey
        0x0000FF, // 9 light blue
        0x00FF00, // 10 light green
        0x00FFFF, // 11 light cyan
        0xFF0000, // 12 light red
        0xFF00FF, // 13 light magenta
        0xFFFF00, // 14 yellow
        0xFFFFFF, // 15 white
    };
    return QColor(palette[std::clamp(i, 0, 15)]);
}

void Chart::setBackground(int colourIndex)
{
    m_background = std::clamp(colourIndex, 0, 15);
    applyColours();
}

void Chart::setDrawStyle(int style)
{
    m_drawStyle = style == Monochrome ? Monochrome : Colour;
    applyColours();
}

bool Chart::darkBackground() const
{
    return paletteColour(m_background).lightness() < 140;
}

void Chart::applyColours()
{
    QChart *c = chart();
    const QColor bg = paletteColour(m_background);
    const bool dark = darkBackground();
    const QColor fg = textColourOn(dark);

    c->setBackgroundBrush(bg);
    c->setBackgroundPen(QPen(bg));
    c->setPlotAreaBackgroundVisible(false);
    setBackgroundBrush(bg);
    for (QValueAxis *axis : {m_axisX, m_axisY, static_cast<QValueAxis *>(m_axisLabels)}) {
        axis->setLabelsColor(fg);
        axis->setTitleBrush(fg);
        axis->setLinePenColor(fg);
        QColor grid = fg;
        grid.setAlpha(60);
        axis->setGridLineColor(grid);
    }

    c->setTitleBrush(fg);
    for (int i = 0; i < m_series.size(); ++i) {
        const QPen pen = seriesPen(i + 1);
        m_series[i]->setPen(pen);
        m_series[i]->setColor(pen.color());
    }
    layOutLegend();
    update();
}

void Chart::setPatternData(int pattern)
{
    if (pattern != AutoPattern && pattern != SolidPattern && pattern != DashedPattern)
        return;
    m_pattern[m_thisSet - 1] = pattern;
    applyColours();
}

QPen Chart::seriesPen(int set) const
{
    const int i = std::max(0, set - 1);
    const bool dark = darkBackground();
    if (m_drawStyle == Monochrome) {
        const MonoLine &line = kMono[i % kStyles];
        QPen pen(textColourOn(dark), line.width, line.style);
        if (line.style == Qt::CustomDashLine) {
            // A pen's dashes are counted in widths of the pen.
            QVector<qreal> dashes;
            for (qreal d : line.dashes)
                dashes << d / line.width;
            pen.setDashPattern(dashes);
        }
        return pen;
    }
    QPen pen{QColor(kSeriesColours[dark ? 1 : 0][i % kStyles])};
    pen.setWidthF(i == 0 ? 2.0 : 1.5);
    const int pattern = m_pattern.value(i, AutoPattern);
    const bool solid = pattern == SolidPattern || (pattern == AutoPattern && i == 0);
    pen.setStyle(solid ? Qt::SolidLine : Qt::DashLine);
    return pen;
}

// --- actions ------------------------------------------------------------------------

void Chart::setDataReset(int code)
{
    switch (code) {
    case ResetValues:
        for (auto &s : m_values)
            std::fill(s.begin(), s.end(), 0.0);
        break;
    case ResetLegendText:
        std::fill(m_legend.begin(), m_legend.end(), QString());
        break;
    case ResetAllData:
        setNumPoints(0);
        std::fill(m_legend.begin(), m_legend.end(), QString());
        std::fill(m_pattern.begin(), m_pattern.end(), int(AutoPattern));
        applyColours();
        break;
    default:
        return;
    }
    m_thisSet = 1;
    m_thisPoint = 1;
    markDirty();
}

void Chart::setDrawMode(int mode)
{
    m_drawMode = mode;
    if (mode == Draw || mode == DrawBlit) {
        refresh();
    } else if (mode == WriteImage) {
        if (!writeImageFile())
            throw FwError(
                ErrNo::PathFileAccess,
                QStringLiteral("Path/File access error: %1").arg(QDir::toNativeSeparators(m_imageFile + ".bmp")));
    }
}

QImage Chart::picture(qreal scale)
{
    ensureBuilt();
    // The view lays its chart out at its own size only when it is on screen;
    // a control that is hidden (or was resized while hidden) would give the
    // picture of a chart laid out at another size, cut off and without its
    // axes. Lay it out at the control's size first.
    if (chart()->size() != QSizeF(size()))
        chart()->resize(QSizeF(size()));
    const QSize pixels = (QSizeF(size()) * std::max<qreal>(scale, 0.1)).toSize().expandedTo(QSize(1, 1));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(paletteColour(m_background));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        chart()->scene()->render(&painter, QRectF(image.rect()), QRectF(rect()));
    }
    return image;
}

bool Chart::writeImageFile()
{
    if (m_imageFile.isEmpty())
        return false;
    return picture().save(m_imageFile + QStringLiteral(".bmp"), "BMP");
}

void Chart::refresh()
{
    m_dirty = true;
    ensureBuilt();
    viewport()->update();
}

void Chart::markDirty()
{
    m_dirty = true;
    // One rebuild after the caller has finished writing values, unless a
    // redraw is asked for first.
    if (!m_rebuildQueued) {
        m_rebuildQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_rebuildQueued = false;
                ensureBuilt();
            },
            Qt::QueuedConnection);
    }
}

void Chart::ensureBuilt()
{
    if (m_dirty)
        rebuild();
}

void Chart::rebuild()
{
    m_dirty = false;
    ++m_rebuilds;

    // Qt Charts lays every point of every series out again whenever an axis
    // range, the plot area or a series' symbols change. The axes and the
    // layout are therefore settled first and each series filled in one call
    // at the end: a long history is laid out once. (The series are not
    // emptied first: a series emptied and filled again keeps a little memory
    // of Qt Charts' own for as long as the program runs. A reload of the same
    // case leaves the axes as they are, so its old points are not laid out
    // again before the new ones.)
    double lo = std::numeric_limits<double>::max();
    double hi = std::numeric_limits<double>::lowest();
    for (int s = 0; s < m_series.size(); ++s) {
        for (double v : std::as_const(m_values[s])) {
            if (std::isnan(v))
                continue;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        QLineSeries *series = m_series[s];
        series->setName(m_legend[s]);
        series->setMarkerSize(m_numPoints > 200 ? 4.0 : 7.0);
    }

    const double minValue = lo;
    if (m_numPoints == 0 || lo > hi) {
        lo = 0;
        hi = 1;
    } else if (hi - lo < 1e-9) {
        // A flat line still needs a visible range around it.
        const double pad = std::max(1.0, std::fabs(hi) * 0.1);
        lo -= pad;
        hi += pad;
    } else {
        const double pad = (hi - lo) * 0.08;
        lo -= pad;
        hi += pad;
    }
    // Weights are never below zero: the padding must not make the axis run
    // into negative numbers.
    const bool noneNegative = lo > hi || minValue >= 0;
    if (noneNegative && lo < 0)
        lo = 0;
    // The axis lays its labels out at every change of its range, so the
    // rounding to nice numbers is worked out on an axis that belongs to no
    // chart, and the weight axis changes once.
    QValueAxis nice;
    nice.setTickCount(m_axisY->tickCount());
    nice.setRange(lo, hi);
    nice.applyNiceNumbers();
    m_axisY->setTickCount(nice.tickCount());
    m_axisY->setRange(noneNegative && nice.min() < 0 ? 0.0 : nice.min(), nice.max());
    m_axisY->setTitleText(m_leftTitle);

    chart()->setTitle(m_graphTitle);

    // Points are numbered from 1, and every tick stands on a whole point
    // number: 1, 2, 3 ... or 1, 11, 21 ... for a long history. Points with
    // labels show their labels instead.
    const int n = std::max(1, m_numPoints);
    useBottomAxis(anyLabel());
    if (m_labelled) {
        const QStringList labels = distinctLabels(m_labels);
        if (labels != m_shownLabels) {
            for (const QString &old : m_axisLabels->categoriesLabels())
                m_axisLabels->remove(old);
            m_axisLabels->setStartValue(0.5);
            for (int p = 0; p < labels.size(); ++p)
                m_axisLabels->append(labels.at(p), p + 1);
            m_shownLabels = labels;
        }
        m_axisLabels->setRange(0.5, n + 0.5);
        m_axisLabels->setTitleText(m_bottomTitle);
    }
    m_axisX->setTitleText(m_bottomTitle);
    m_axisX->setTickType(QValueAxis::TicksDynamic);
    m_axisX->setTickAnchor(1);
    // Half a point of room at both ends keeps the end symbols whole. The
    // step goes first: a long range with the old step of 1 would lay out a
    // label for every point before the new step arrives.
    m_axisX->setTickInterval(tickStep(n - 1));
    m_axisX->setRange(0.5, n + 0.5);

    layOutLegend();
    // The plot area as it will be drawn, now rather than at the next turn of
    // the event loop, which would lay the points out once more. A chart not
    // on the screen is laid out when it is shown, at the size it is shown at.
    if (QGraphicsLayout *layout = chart()->layout(); layout && isVisible())
        layout->activate();
    showSymbolsWhereApart();

    for (int s = 0; s < m_series.size(); ++s) {
        QList<QPointF> points;
        points.reserve(m_numPoints);
        for (int p = 0; p < m_numPoints; ++p) {
            const double v = m_values[s][p];
            if (!std::isnan(v))
                points.append(QPointF(p + 1, v));
        }
        m_series[s]->replace(points);
    }
}

void Chart::showSymbolsWhereApart()
{
    // Symbols mark single weighings only as long as neighbouring ones stand
    // apart; closer together they merge into a band along the line, which
    // shows nothing the line does not, and drawing thousands of them is what
    // a long history's chart would spend most of its time on.
    // A control never shown has no plot area of its own yet: its width stands in.
    const qreal width = isVisible() ? chart()->plotArea().width() : qreal(this->width());
    const bool apart = width / std::max(1, m_numPoints) >= kMinSymbolSpacing;
    const bool show = m_style == LinesWithSymbols && apart;
    for (QLineSeries *series : std::as_const(m_series))
        if (series->pointsVisible() != show)
            series->setPointsVisible(show);
}

void Chart::useBottomAxis(bool labelled)
{
    if (labelled == m_labelled)
        return;
    QValueAxis *from = m_labelled ? m_axisLabels : m_axisX;
    QValueAxis *to = labelled ? m_axisLabels : m_axisX;
    for (QLineSeries *s : m_series)
        s->detachAxis(from);
    chart()->removeAxis(from);
    // The axis that takes over looks like the one it replaces.
    to->setLabelsFont(from->labelsFont());
    to->setTitleFont(from->titleFont());
    chart()->addAxis(to, Qt::AlignBottom);
    for (QLineSeries *s : m_series)
        s->attachAxis(to);
    m_labelled = labelled;
}

// --- hits -------------------------------------------------------------------------------

QPoint Chart::pointPosition(int set, int point)
{
    ensureBuilt();
    if (set < 1 || set > NumSets() || point < 1 || point > m_numPoints || std::isnan(m_values[set - 1][point - 1]))
        return QPoint(-1, -1);
    const QPointF scenePos = chart()->mapToPosition(QPointF(point, m_values[set - 1][point - 1]), m_series[set - 1]);
    return mapFromScene(chart()->mapToScene(scenePos));
}

QPair<int, int> Chart::pointAt(const QPoint &pos)
{
    ensureBuilt();
    QPair<int, int> best(0, 0);
    double bestDist = kHitRadius * kHitRadius;
    const QPointF inChart = chart()->mapFromScene(mapToScene(pos));
    for (int s = 0; s < m_series.size(); ++s) {
        for (int p = 0; p < m_numPoints; ++p) {
            if (std::isnan(m_values[s][p]))
                continue;
            const QPointF at = chart()->mapToPosition(QPointF(p + 1, m_values[s][p]), m_series[s]);
            const double dx = at.x() - inChart.x();
            const double dy = at.y() - inChart.y();
            const double d = dx * dx + dy * dy;
            // Strictly nearer only: where points of several series lie on one
            // spot, the first series wins.
            if (d < bestDist) {
                bestDist = d;
                best = qMakePair(s + 1, p + 1);
            }
        }
    }
    return best;
}

void Chart::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const QPair<int, int> hit = pointAt(event->position().toPoint());
        if (hit.first > 0)
            emit pointClicked(hit.first, hit.second);
    }
    QChartView::mousePressEvent(event);
}

void Chart::showEvent(QShowEvent *event)
{
    // A scene without a receiver of its changed() signal hands its updates
    // straight to the view, which then paints its whole window at once. Shown
    // in a window that is already on the screen (a case window opened in the
    // frame), that paint comes ahead of the layouts still pending in the
    // window (its sub-window, its table), which then paint it all a second
    // time. With a receiver the changes come as an ordinary update, painted
    // with everything else in one frame. A chart in a window of its own that
    // is yet to appear keeps the direct way: that window's first paint comes
    // from the window system before any update, and takes the changes with it.
    if (!m_updatesAsSignal) {
        const QWindow *shownIn = window()->windowHandle();
        if (shownIn && shownIn->isExposed()) {
            connect(scene(), &QGraphicsScene::changed, this, [] {});
            m_updatesAsSignal = true;
        }
    }

    // Built before a new window's first paint, which the window system may
    // ask for before any queued rebuild runs; a rebuild inside that paint
    // would change the scene and paint the chart a second time. A chart
    // without points is left to its first paint: a case window is shown
    // before its load fills the chart, and would lay out its axes twice.
    if (m_numPoints > 0)
        ensureBuilt();
    QChartView::showEvent(event);
}

void Chart::paintEvent(QPaintEvent *event)
{
    ensureBuilt();
    QChartView::paintEvent(event);
}
