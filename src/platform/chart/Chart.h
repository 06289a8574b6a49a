#pragma once
// The chart control of the case window, the growth curves and the reports: a
// line chart of a few series over numbered points, addressed the way the
// windows were written for it. A window sets the number of series and points,
// then writes values one after another (with automatic advance the point
// index moves on after every value, and on to the next series after the last
// point), sets texts and colours, and asks for a redraw.
//
// Values live in the control's own table; the drawing is rebuilt from it only
// when a redraw is asked for (or before the control is painted), so filling a
// thousand points costs no more than one rebuild.
//
// Up to nine series stay apart at a glance: in colour each has a colour of
// its own, in monochrome each a line pattern of its own. The legend, below
// the chart in as many rows as its texts need, shows a piece of each line
// long enough to read its pattern.
#include <QChartView>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPen>
#include <QString>
#include <QStringList>
#include <QVector>

class ChartLegendItem;
class QCategoryAxis;
class QLineSeries;
class QValueAxis;

class Chart : public QChartView {
    Q_OBJECT
public:
    explicit Chart(QWidget *parent = nullptr);
    ~Chart() override;

    // --- shape of the data (series and points are numbered from 1) ---------
    int NumSets() const { return m_values.size(); }
    /// Number of series, at least 1. Existing values are kept where they fit;
    /// the current series and point go back to 1.
    void setNumSets(int sets);
    int NumPoints() const { return m_numPoints; }
    /// Number of points in every series, 0 or more. Existing values are kept
    /// where they fit, new points are 0; the current series and point go back to 1.
    void setNumPoints(int points);

    /// With automatic advance on, each value written moves the current point
    /// on by one; after the last point it goes to point 1 of the next series,
    /// and after the last series back to series 1.
    bool AutoInc() const { return m_autoInc; }
    void setAutoInc(bool on) { m_autoInc = on; }

    int ThisSet() const { return m_thisSet; }
    void setThisSet(int set);
    int ThisPoint() const { return m_thisPoint; }
    void setThisPoint(int point);

    /// The value at the current series and point.
    double GraphData() const;
    /// Write the value at the current series and point (then advance, see AutoInc).
    void setGraphData(double value);
    /// The value of a point; 0 for a point outside the data. A value that is
    /// not a number (NaN) is a point without a value: it is not drawn.
    double value(int set, int point) const;

    // --- texts --------------------------------------------------------------
    /// Legend text of the current series. The legend is shown when any
    /// series has a text.
    void setLegendText(const QString &text);
    QString LegendText() const { return legendText(m_thisSet); }
    QString legendText(int set) const;
    /// Whether the legend is shown (any series has a text).
    bool legendShown() const;
    /// The font of the legend's texts.
    void setLegendFont(const QFont &font);
    void setLeftTitle(const QString &title);
    QString LeftTitle() const { return m_leftTitle; }
    /// Title of the bottom axis.
    void setBottomTitle(const QString &title);
    QString BottomTitle() const { return m_bottomTitle; }
    /// Title above the chart; none when empty.
    void setGraphTitle(const QString &title);
    QString GraphTitle() const { return m_graphTitle; }
    /// Label of the current point on the bottom axis. While any point has a
    /// label, the axis shows the labels under their points instead of the
    /// point numbers.
    void setLabelText(const QString &text);
    QString LabelText() const { return labelText(m_thisPoint); }
    QString labelText(int point) const;

    // --- appearance ---------------------------------------------------------
    enum Style { LinesOnly = 4, LinesWithSymbols = 5 };
    int GraphStyle() const { return m_style; }
    /// 4 lines without point symbols, 5 lines with point symbols; other codes
    /// are not line charts and are ignored. In style 5 the symbols are drawn
    /// while neighbouring points stand apart on the screen; a history too long
    /// for its width shows its line alone.
    void setGraphStyle(int style);

    /// Background colour number 0-15 of the classic 16-colour palette.
    int Background() const { return m_background; }
    void setBackground(int colourIndex);
    static QColor paletteColour(int colourIndex);

    enum DrawStyleCode { Monochrome = 0, Colour = 1 };
    int DrawStyle() const { return m_drawStyle; }
    void setDrawStyle(int style);

    /// Line pattern of the current series in colour. Automatic: the first
    /// series solid, the others dashed. Monochrome always gives every series
    /// a pattern of its own, whatever is set here.
    enum PatternCode { AutoPattern = 0, SolidPattern = 1, DashedPattern = 2 };
    void setPatternData(int pattern);
    int PatternData() const { return m_pattern.value(m_thisSet - 1, AutoPattern); }

    /// The pen a series is drawn with now (series from 1).
    QPen seriesPen(int set) const;

    // --- actions ------------------------------------------------------------
    enum ResetCode { ResetValues = 1, ResetLegendText = 5, ResetAllData = 9 };
    /// 1: every value back to 0; 5: legend texts cleared; 9 (all data): no
    /// points left, the legend texts and point labels cleared, the patterns
    /// automatic again. Other codes change nothing.
    void setDataReset(int code);

    enum DrawModeCode { Draw = 2, DrawBlit = 3, WriteImage = 6 };
    /// 2 and 3 redraw now; 6 writes the picture to ImageFile + ".bmp" and
    /// throws FwError when the file cannot be written.
    void setDrawMode(int mode);
    int DrawMode() const { return m_drawMode; }

    /// Picture file name without its extension; the control adds ".bmp".
    void setImageFile(const QString &baseName) { m_imageFile = baseName; }
    QString ImageFile() const { return m_imageFile; }
    /// Write the chart as it looks now to ImageFile + ".bmp"; false on failure.
    bool writeImageFile();
    /// The chart as a picture at the control's size times scale, on its
    /// background, as it is drawn now (style, background, data).
    QImage picture(qreal scale = 1);

    /// Rebuild the drawing from the values and repaint.
    void refresh();

    /// Where a point is drawn, in the coordinates of the control's viewport
    /// (the drawing is brought up to date first); (-1, -1) for no such point.
    QPoint pointPosition(int set, int point);
    /// The series and point drawn nearest to pos within a few pixels, as a
    /// pair (series, point), or (0, 0) when none is that near.
    QPair<int, int> pointAt(const QPoint &pos);

    /// How often the drawing was rebuilt (tests: filling must not rebuild per value).
    int rebuildCount() const { return m_rebuilds; }

    /// Send the argument-free notification. Nothing in the program calls this:
    /// the notification exists for a window that wants to react to an explicit
    /// request, and it is deliberately never tied to painting or resizing,
    /// because the case window answers it by clearing all data.
    void sendNotification() { emit notified(); }

signals:
    /// The user clicked on a drawn point (series and point numbered from 1).
    void pointClicked(int series, int point);
    /// The argument-free notification (see sendNotification).
    void notified();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void markDirty();
    void ensureBuilt();
    void rebuild();
    void applyColours();
    void advance();
    bool darkBackground() const;
    bool anyLabel() const;
    void layOutLegend();
    void useBottomAxis(bool labelled);
    /// Point symbols in style 5 wherever neighbouring points can be told apart.
    void showSymbolsWhereApart();

    QVector<QVector<double>> m_values; // [set][point], both from 0
    QVector<QString> m_legend;
    QVector<int> m_pattern;    // [set]
    QVector<QString> m_labels; // [point], from 0
    int m_numPoints = 0;
    int m_thisSet = 1;
    int m_thisPoint = 1;
    bool m_autoInc = true;
    QString m_leftTitle;
    QString m_bottomTitle;
    QString m_graphTitle;
    int m_style = LinesOnly;
    int m_background = 15;
    int m_drawStyle = Colour;
    int m_drawMode = Draw;
    QString m_imageFile;

    bool m_dirty = true;
    bool m_rebuildQueued = false;
    bool m_updatesAsSignal = false; // see showEvent
    int m_rebuilds = 0;
    QList<QLineSeries *> m_series;
    QValueAxis *m_axisX = nullptr;
    QValueAxis *m_axisY = nullptr;
    // The bottom axis while points have labels; it takes m_axisX's place.
    QCategoryAxis *m_axisLabels = nullptr;
    ChartLegendItem *m_legendItem = nullptr;
    bool m_labelled = false;
    QStringList m_shownLabels;
};
