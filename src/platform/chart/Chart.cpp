#include "platform/chart/Chart.h"

#include "platform/FwError.h"

#include <QChart>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// How near (in pixels) a click must come to a point to hit it.
constexpr double kHitRadius = 8.0;

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
} // namespace

Chart::Chart(QWidget *parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    auto *c = new QChart;
    c->setBackgroundRoundness(0);
    c->setMargins(QMargins(4, 4, 4, 4));
    c->legend()->setAlignment(Qt::AlignBottom);
    c->legend()->hide();
    setChart(c); // the view owns the chart

    m_axisX = new QValueAxis(c);
    m_axisX->setLabelFormat(QStringLiteral("%d"));
    m_axisY = new QValueAxis(c);
    m_axisY->setLabelFormat(QStringLiteral("%g"));
    c->addAxis(m_axisX, Qt::AlignBottom);
    c->addAxis(m_axisY, Qt::AlignLeft);

    setNumSets(1);
    applyColours();
}

Chart::~Chart() = default;

// --- shape --------------------------------------------------------------------

void Chart::setNumSets(int sets)
{
    sets = std::max(1, sets);
    m_values.resize(sets);
    for (auto &s : m_values)
        s.resize(m_numPoints);
    m_legend.resize(sets);
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
        s->attachAxis(m_axisX);
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
    c->legend()->setLabelColor(fg);
    for (QValueAxis *axis : {m_axisX, m_axisY}) {
        axis->setLabelsColor(fg);
        axis->setTitleBrush(fg);
        axis->setLinePenColor(fg);
        QColor grid = fg;
        grid.setAlpha(60);
        axis->setGridLineColor(grid);
    }

    // Series colours chosen to stand out on the background: bright on a dark
    // one, deep on a light one. Monochrome draws every series in the text
    // colour and tells them apart by the line pattern.
    static const QColor onDark[3] = {QColor(0xFF, 0xFF, 0x40), QColor(0x60, 0xFF, 0x60), QColor(0xFF, 0x70, 0x70)};
    static const QColor onLight[3] = {QColor(0x00, 0x00, 0xA0), QColor(0x00, 0x70, 0x00), QColor(0xC0, 0x00, 0x00)};
    static const Qt::PenStyle patterns[3] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine};
    for (int i = 0; i < m_series.size(); ++i) {
        QColor colour = m_drawStyle == Monochrome ? fg : (dark ? onDark : onLight)[i % 3];
        QPen pen(colour);
        pen.setWidthF(i == 0 ? 2.0 : 1.5);
        pen.setStyle(m_drawStyle == Monochrome ? patterns[i % 3] : (i == 0 ? Qt::SolidLine : Qt::DashLine));
        m_series[i]->setPen(pen);
        m_series[i]->setColor(colour);
    }
    update();
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

bool Chart::writeImageFile()
{
    if (m_imageFile.isEmpty())
        return false;
    ensureBuilt();
    // The view lays its chart out at its own size only when it is on screen;
    // a control that is hidden (or was resized while hidden) would give the
    // picture of a chart laid out at another size, cut off and without its
    // axes. Lay it out at the control's size first.
    if (chart()->size() != QSizeF(size()))
        chart()->resize(QSizeF(size()));
    QImage image(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(paletteColour(m_background));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        chart()->scene()->render(&painter, QRectF(image.rect()), QRectF(rect()));
    }
    return image.save(m_imageFile + QStringLiteral(".bmp"), "BMP");
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

    double lo = std::numeric_limits<double>::max();
    double hi = std::numeric_limits<double>::lowest();
    bool anyLegend = false;
    for (int s = 0; s < m_series.size(); ++s) {
        QList<QPointF> points;
        points.reserve(m_numPoints);
        for (int p = 0; p < m_numPoints; ++p) {
            const double v = m_values[s][p];
            points.append(QPointF(p + 1, v));
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        QLineSeries *series = m_series[s];
        series->replace(points);
        series->setName(m_legend[s]);
        series->setPointsVisible(m_style == LinesWithSymbols);
        series->setMarkerSize(m_numPoints > 200 ? 4.0 : 7.0);
        anyLegend = anyLegend || !m_legend[s].isEmpty();
    }

    const double minValue = lo;
    if (m_numPoints == 0) {
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
    const bool noneNegative = minValue >= 0;
    if (noneNegative && lo < 0)
        lo = 0;
    m_axisY->setRange(lo, hi);
    m_axisY->applyNiceNumbers();
    if (noneNegative && m_axisY->min() < 0)
        m_axisY->setMin(0);
    m_axisY->setTitleText(m_leftTitle);

    // Points are numbered from 1, and every tick stands on a whole point
    // number: 1, 2, 3 ... or 1, 11, 21 ... for a long history.
    const int n = std::max(1, m_numPoints);
    m_axisX->setTickType(QValueAxis::TicksDynamic);
    m_axisX->setTickAnchor(1);
    // Half a point of room at both ends keeps the end symbols whole. The
    // step goes first: a long range with the old step of 1 would lay out a
    // label for every point before the new step arrives.
    m_axisX->setTickInterval(tickStep(n - 1));
    m_axisX->setRange(0.5, n + 0.5);

    chart()->legend()->setVisible(anyLegend);
    // The legend shows a marker for every series; hide those without a text.
    for (int s = 0; s < m_series.size(); ++s)
        for (QLegendMarker *m : chart()->legend()->markers(m_series[s]))
            m->setVisible(!m_legend[s].isEmpty());
}

// --- hits -------------------------------------------------------------------------------

QPoint Chart::pointPosition(int set, int point)
{
    ensureBuilt();
    if (set < 1 || set > NumSets() || point < 1 || point > m_numPoints)
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
    ensureBuilt();
    QChartView::showEvent(event);
}

void Chart::paintEvent(QPaintEvent *event)
{
    ensureBuilt();
    QChartView::paintEvent(event);
}
