#include "cases/CaseWindowLayout.h"

#include "platform/layout/Twips.h"
#include "platform/text/NumberText.h"

#include <algorithm>

namespace CaseWindowLayout {

namespace {

constexpr double kDefaultWidth = 15000;
constexpr double kDefaultHeight = 10200;
constexpr double kTextLeft = 1980;
constexpr double kTextWidth = 8600;
constexpr double kTextLineHeight = 240;
constexpr double kButtonHeight = 420;
constexpr double kButtonMinWidth = 1500;
constexpr double kButtonGap = 90;
constexpr double kGapBelowChart = 105;
constexpr double kEdgeMargin = 30;
constexpr double kPrintWidth = 9543;
constexpr double kPrintHeight = 4933;
// The chart and the table of weighings take whatever room the window has
// beyond the design; the right column keeps its width at the window's right
// edge and the buttons keep their row at its bottom, so a maximised window
// has no empty band beside the column or under the buttons.
constexpr double kColumnGap = kColumnLeft - (kChart.left + kChart.width); // chart to column
constexpr double kRightMargin = kDefaultWidth - (kColumnLeft + kColumnWidth);
constexpr double kBottomMargin = 120;
// What stands below the table in the right column, as designed.
constexpr double kBelowTable = (kVetComBox.top + kVetComBox.height) - (kWtData.top + kWtData.height);
// The table shows at least its heading and four weighings.
constexpr double kMinTableHeight = 1400;
// The result texts of the top band end before the right column.
constexpr double kMinWidth = kTextLeft + kTextWidth + kColumnGap + kColumnWidth + kRightMargin;
constexpr double kMinHeight =
    kWtData.top + kMinTableHeight + kBelowTable + kGapBelowChart + kButtonHeight + kBottomMargin;

int px(double twips)
{
    return Twips::toPixels(twips);
}
double twips(int pixels)
{
    return Twips::fromPixels(pixels);
}

} // namespace

QRect TwipRect::pixels() const
{
    return Twips::toPixels(left, top, width, height);
}

TwipRect resultText(int line)
{
    return {kTextLeft, 15 + kTextLineHeight * line, kTextWidth, kTextLineHeight};
}

QSize defaultSize()
{
    return QSize(px(kDefaultWidth), px(kDefaultHeight));
}

QSize minimumSize()
{
    return QSize(px(kMinWidth), px(kMinHeight));
}

QSize normalChart(const QSize &inner)
{
    const double width = twips(inner.width()) - (kChart.left + kColumnGap + kColumnWidth + kRightMargin);
    const double height = twips(inner.height()) - (kChart.top + kGapBelowChart + kButtonHeight + kBottomMargin);
    return QSize(std::max(0, px(width)), std::max(0, px(height)));
}

QSize printChart()
{
    return QSize(px(kPrintWidth), px(kPrintHeight));
}

int zoomedChartWidth(int outerWidthTwips)
{
    return std::max(0, px(outerWidthTwips));
}

Resized resized(const Current &now)
{
    Resized r;
    r.chart = normalChart(now.inner);
    // The right column starts just beyond the chart.
    const double x = kChart.left + twips(r.chart.width()) + kColumnGap;
    r.columnLeft = px(x);
    r.label1Left = px(x + twips(now.dateItWidth));
    r.recBreedWtLbLeft = px(x + twips(now.recBreedWtWidth));
    // The table of weighings takes the column's extra height; what stands
    // below it moves down with the chart's bottom edge.
    const double chartBottom = twips(now.chartTop) + twips(r.chart.height());
    const double tableHeight = std::max(kMinTableHeight, chartBottom - kBelowTable - kWtData.top);
    r.tableHeight = px(tableHeight);
    r.belowTableShift = px(tableHeight - kWtData.height);
    r.vetComBoxHeight = px(kVetComBox.height);
    r.detailsWidth = std::max(px(kColumnWidth), now.inner.width() - r.columnLeft - px(kEdgeMargin));

    // The buttons run under the chart.
    const int top = now.chartTop + px(twips(r.chart.height()) + kGapBelowChart);
    int left = px(kChart.left + 30);
    for (int asked : now.buttonWidths) {
        const int width = std::max(px(kButtonMinWidth), asked + 12);
        r.buttons.append(QRect(left, top, width, px(kButtonHeight)));
        left += width + px(kButtonGap);
    }
    r.activity = QRect(r.columnLeft, top, px(kColumnWidth), px(kButtonHeight));
    return r;
}

} // namespace CaseWindowLayout
