// The case window's layout table: at the designed size a resize leaves every
// control where the design puts it, and the smallest size keeps the right
// column and the buttons whole.
#include "cases/CaseWindowLayout.h"
#include "support/TestMain.h"

#include <QTest>

namespace Layout = CaseWindowLayout;

class CaseWindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void aResizeAtTheDesignedSizeKeepsTheDesign()
    {
        Layout::Current now;
        now.inner = Layout::defaultSize();
        now.chartTop = Layout::kChart.pixels().top();
        now.dateItWidth = Layout::kDateIt.pixels().width();
        now.recBreedWtWidth = Layout::kRecBreedWt.pixels().width();
        now.buttonWidths = {80, 80};
        const Layout::Resized r = Layout::resized(now);
        // The design's widths; the chart and the table a little taller, down
        // to the row of buttons near the window's bottom.
        QCOMPARE(r.chart.width(), Layout::kChart.pixels().width());
        QVERIFY(r.chart.height() >= Layout::kChart.pixels().height());
        QCOMPARE(r.tableHeight - Layout::kWtData.pixels().height(),
                 r.chart.height() - Layout::kChart.pixels().height());
        QCOMPARE(r.belowTableShift, r.tableHeight - Layout::kWtData.pixels().height());
        QCOMPARE(r.columnLeft, Layout::kWtData.pixels().left());
        QCOMPARE(r.label1Left, Layout::kLabel1.pixels().left());
        QCOMPARE(r.recBreedWtLbLeft, Layout::kRecBreedWtLb.pixels().left());
        QCOMPARE(r.vetComBoxHeight, Layout::kVetComBox.pixels().height());
        // The summary takes the room up to the window's edge, never less than designed.
        QVERIFY(r.detailsWidth >= Layout::kDetails.pixels().width());
        QVERIFY(r.columnLeft + r.detailsWidth < now.inner.width());
        // Buttons at least 1500 twips wide, 90 apart, under the chart.
        QCOMPARE(r.buttons.at(0), QRect(4, now.chartTop + r.chart.height() + 7, 100, 28));
        QVERIFY(now.inner.height() - r.buttons.at(0).bottom() <= 10);
        QCOMPARE(r.buttons.at(1).left(), 4 + 100 + 6);
    }

    void theSmallestSizeKeepsEverythingWhole()
    {
        Layout::Current now;
        now.inner = Layout::minimumSize();
        now.chartTop = Layout::kChart.pixels().top();
        now.buttonWidths = {80};
        const Layout::Resized r = Layout::resized(now);
        QVERIFY(r.columnLeft + Layout::kWtData.pixels().width() <= now.inner.width());
        QVERIFY(r.buttons.at(0).bottom() < now.inner.height());
        QVERIFY(Layout::resultText(0).pixels().right() < r.columnLeft);
        // The table keeps its heading and a few weighings, and what stands
        // below it ends with the chart.
        QVERIFY(r.tableHeight >= qRound(1400 / 15.0));
        QVERIFY(r.chart.height() > 300 && r.chart.width() > 250);
    }
};

FW_TEST(CaseWindowLayoutTest)
#include "tst_CaseWindowLayout.moc"
