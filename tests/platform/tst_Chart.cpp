// The chart control: filling values with automatic advance, reading them
// back, resets, appearance codes, point hits and the picture file.
#include "platform/FwError.h"
#include "platform/chart/Chart.h"
#include "support/TestMain.h"

#include <QCategoryAxis>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

class ChartTest : public QObject {
    Q_OBJECT

    static void fill(Chart &c, const QVector<double> &values)
    {
        for (double v : values)
            c.setGraphData(v);
    }

private slots:
    void valuesAdvanceAndReadBack()
    {
        Chart c;
        c.setNumSets(3);
        c.setNumPoints(2);
        fill(c, {1, 2, 10, 10, 20, 20});
        QCOMPARE(c.value(1, 2), 2.0);
        QCOMPARE(c.value(3, 1), 20.0);
        // After the last point of the last series the cursor wraps to the start.
        QCOMPARE(c.ThisSet(), 1);
        QCOMPARE(c.ThisPoint(), 1);
        QCOMPARE(c.value(4, 1), 0.0); // outside the data
        QCOMPARE(c.value(1, 3), 0.0);

        // Without automatic advance the cursor stays.
        c.setAutoInc(false);
        c.setThisSet(2);
        c.setThisPoint(2);
        fill(c, {7.5, 8.5});
        QCOMPARE(c.value(2, 2), 8.5);
        QCOMPARE(c.ThisPoint(), 2);

        // Growing keeps what fits; new points are 0.
        c.setNumPoints(3);
        QCOMPARE(c.value(2, 2), 8.5);
        QCOMPARE(c.value(2, 3), 0.0);

        // Reset code 9 leaves no points and no legend texts, but the axis title.
        c.setLegendText(QStringLiteral("Lower"));
        c.setLeftTitle(QStringLiteral("kg"));
        c.setDataReset(Chart::ResetAllData);
        QCOMPARE(c.NumPoints(), 0);
        QCOMPARE(c.legendText(2), QString());
        QCOMPARE(c.LeftTitle(), QStringLiteral("kg"));
    }

    void appearanceCodes()
    {
        Chart c;
        c.setNumSets(3);
        c.setNumPoints(3);
        const auto series = c.chart()->series();
        auto line = [&](int i) { return qobject_cast<QLineSeries *>(series[i]); };
        c.setGraphStyle(Chart::LinesWithSymbols);
        c.refresh();
        QVERIFY(line(0)->pointsVisible());
        c.setGraphStyle(1); // not a line chart: ignored
        c.refresh();
        QVERIFY(line(0)->pointsVisible());

        c.setThisSet(2);
        c.setLegendText(QStringLiteral("Lower"));
        c.refresh();
        QVERIFY(c.legendShown());
        QCOMPARE(series[1]->name(), QStringLiteral("Lower"));

        c.setBackground(99);
        QCOMPARE(c.Background(), 15);
        c.setBackground(6);
        QCOMPARE(c.chart()->backgroundBrush().color(), QColor(0x80, 0x80, 0)); // brown
        // In colour every series has its own colour, standing out on a light
        // and on a dark background alike.
        for (int background : {15, 0}) {
            c.setBackground(background);
            const QColor bg = c.chart()->backgroundBrush().color();
            QSet<QRgb> colours;
            for (int i = 0; i < 3; ++i) {
                QVERIFY(line(i)->pen().color() != bg);
                colours.insert(line(i)->pen().color().rgb());
            }
            QCOMPARE(colours.size(), 3);
        }
        // Monochrome: one colour, series told apart by the line pattern.
        c.setDrawStyle(Chart::Monochrome);
        QCOMPARE(line(0)->pen().color(), line(2)->pen().color());
        QVERIFY(line(0)->pen().style() != line(1)->pen().style());
    }

    void nineSeriesStayApart()
    {
        Chart c;
        c.setNumSets(9);
        auto key = [&](int set) {
            const QPen p = c.seriesPen(set);
            QStringList dashes;
            for (qreal d : p.dashPattern())
                dashes << QString::number(d * p.widthF());
            return QStringLiteral("%1 %2 %3 %4")
                .arg(p.color().name())
                .arg(int(p.style()))
                .arg(p.widthF())
                .arg(p.style() == Qt::SolidLine ? QString() : dashes.join(','));
        };
        for (int background : {15, 0}) {
            c.setBackground(background);
            for (int style : {int(Chart::Colour), int(Chart::Monochrome)}) {
                c.setDrawStyle(style);
                QSet<QString> pens, colours;
                for (int s = 1; s <= 9; ++s) {
                    pens.insert(key(s));
                    colours.insert(c.seriesPen(s).color().name());
                }
                QCOMPARE(pens.size(), 9);
                // In colour by colour alone; in monochrome all in the text colour.
                QCOMPARE(colours.size(), style == Chart::Colour ? 9 : 1);
                QVERIFY(!colours.contains(Chart::paletteColour(background).name()));
            }
        }
    }

    void pointLabelsTitlesAndMissingValues()
    {
        Chart c;
        c.resize(500, 320);
        c.setNumSets(2);
        c.setNumPoints(3);
        fill(c, {1, 2, 3, 4, std::nan(""), std::nan("")});
        c.setGraphTitle(QStringLiteral("Growth"));
        c.setBottomTitle(QStringLiteral("Age (Weeks)"));
        for (int p = 1; p <= 3; ++p) {
            c.setThisPoint(p);
            c.setLabelText(QStringLiteral(" 0")); // the same text under every point
        }
        c.refresh();
        QCOMPARE(c.chart()->title(), QStringLiteral("Growth"));
        auto *labels = qobject_cast<QCategoryAxis *>(c.chart()->axes(Qt::Horizontal).first());
        QVERIFY(labels);
        QCOMPARE(labels->count(), 3);
        QCOMPARE(labels->titleText(), QStringLiteral("Age (Weeks)"));
        // A point without a value is not drawn, and cannot be hit.
        QCOMPARE(qobject_cast<QLineSeries *>(c.chart()->series().at(1))->count(), 1);
        QCOMPARE(c.pointPosition(2, 2), QPoint(-1, -1));
        // Reset 9 takes the labels away, and the point numbers come back.
        c.setDataReset(Chart::ResetAllData);
        c.setNumPoints(3);
        c.refresh();
        QCOMPARE(c.labelText(1), QString());
        QVERIFY(!qobject_cast<QCategoryAxis *>(c.chart()->axes(Qt::Horizontal).first()));
        QCOMPARE(c.chart()->axes(Qt::Horizontal).size(), 1);
    }

    void fillingManyValuesRebuildsOnce()
    {
        Chart c;
        c.setNumSets(3);
        c.setNumPoints(1040);
        const int before = c.rebuildCount();
        for (int i = 0; i < 3 * 1040; ++i)
            c.setGraphData(10 + (i % 7));
        QCOMPARE(c.rebuildCount(), before);
        c.setDrawMode(Chart::Draw);
        QCOMPARE(c.rebuildCount(), before + 1);
        QCOMPARE(qobject_cast<QLineSeries *>(c.chart()->series().at(2))->count(), 1040);
        // The queued rebuild finds nothing left to do.
        QCoreApplication::processEvents();
        QCOMPARE(c.rebuildCount(), before + 1);
    }

    void weightAxisNeverRunsBelowZero_data()
    {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<bool>("fromZero");
        QTest::newRow("a typo far above the range") << QVector<double>{34, 33.5, 500016, 999999} << true;
        QTest::newRow("small cat weights") << QVector<double>{0.2, 4.5, 4.4, 4.3} << true;
        QTest::newRow("a flat line near zero") << QVector<double>{0.3, 0.3, 0.3, 0.3} << true;
        QTest::newRow("ordinary weights") << QVector<double>{30.4, 31, 32, 33} << false;
    }
    void weightAxisNeverRunsBelowZero()
    {
        QFETCH(QVector<double>, values);
        QFETCH(bool, fromZero);
        Chart c;
        c.setNumSets(1);
        c.setNumPoints(values.size());
        fill(c, values);
        c.setDrawMode(Chart::Draw);
        const auto *axis = qobject_cast<QValueAxis *>(c.chart()->axes(Qt::Vertical).first());
        QVERIFY(axis->min() >= 0);
        if (fromZero)
            QCOMPARE(axis->min(), 0.0);
        else
            QVERIFY(axis->min() > 0);
        QVERIFY(axis->max() >= *std::max_element(values.begin(), values.end()));
    }

    void clickOnAPointReportsSeriesAndPoint()
    {
        Chart c;
        c.resize(500, 320);
        c.setNumSets(3);
        c.setNumPoints(5);
        fill(c, {12, 11.5, 11, 10.5, 10, 8, 8, 8, 8, 8, 14, 14, 14, 14, 14});
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        QSignalSpy spy(&c, &Chart::pointClicked);

        QTest::mouseClick(c.viewport(), Qt::LeftButton, {}, c.pointPosition(1, 3));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 1);
        QCOMPARE(spy.at(0).at(1).toInt(), 3);

        QTest::mouseClick(c.viewport(), Qt::LeftButton, {}, c.pointPosition(3, 5));
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(1).at(0).toInt(), 3);
        QCOMPARE(spy.at(1).at(1).toInt(), 5);

        // Half-way between two points of the weights, far from every point.
        const QPoint a = c.pointPosition(1, 1), b = c.pointPosition(1, 2);
        QTest::mouseClick(c.viewport(), Qt::LeftButton, {}, QPoint((a.x() + b.x()) / 2, (a.y() + b.y()) / 2 - 30));
        QCOMPARE(spy.size(), 2);
        QCOMPARE(c.pointPosition(1, 6), QPoint(-1, -1));
    }

    void notificationNeverComesFromPaintingOrResizing()
    {
        Chart c;
        QSignalSpy spy(&c, &Chart::notified);
        c.setNumPoints(3);
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        c.resize(640, 400);
        c.refresh();
        c.repaint();
        c.setDrawMode(Chart::Draw);
        c.grab();
        QCoreApplication::processEvents();
        QCOMPARE(spy.size(), 0);
        c.sendNotification();
        QCOMPARE(spy.size(), 1);
    }

    void writesItselfAsBmp()
    {
        QTemporaryDir dir;
        Chart c;
        c.resize(300, 200);
        c.setBackground(14);
        c.setNumPoints(2);
        fill(c, {1, 2});
        c.setLeftTitle(QStringLiteral("kg"));
        c.setImageFile(dir.filePath(QStringLiteral("Wt")));
        c.setDrawMode(Chart::WriteImage);
        QImage img(dir.filePath(QStringLiteral("Wt.bmp")), "BMP");
        QVERIFY(!img.isNull());
        QCOMPARE(img.size(), QSize(300, 200));
        QCOMPARE(QColor(img.pixel(1, 1)), QColor(0xFF, 0xFF, 0));

        // Written while not on screen, the picture is the whole chart at the
        // control's size, just as when it is shown.
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        c.setImageFile(dir.filePath(QStringLiteral("Shown")));
        c.setDrawMode(Chart::WriteImage);
        QCOMPARE(img, QImage(dir.filePath(QStringLiteral("Shown.bmp")), "BMP"));

        c.setImageFile(dir.filePath(QStringLiteral("no/such/folder/Wt")));
        try {
            c.setDrawMode(Chart::WriteImage);
            QFAIL("writing into a missing folder must fail");
        } catch (const FwError &e) {
            QVERIFY(e.description().contains(QStringLiteral("Wt.bmp")));
        }
    }
};

FW_TEST(ChartTest)
#include "tst_Chart.moc"
