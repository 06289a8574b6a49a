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
// The layout gives the chart 0.715 of the width and 0.8 of the height less
// 100, and starts the right column at the chart's right edge; so the right
// column of fixed width needs the rest of the width, the result texts above
// the chart must end before that column, and the button row under the chart
// needs the rest of the height.
constexpr double kMinWidth =
    std::max((kColumnWidth + kEdgeMargin) / (1 - 0.715), (kTextLeft + kTextWidth + kEdgeMargin) / 0.715);
constexpr double kMinHeight = (kChart.top - 100 + kGapBelowChart + kButtonHeight + kEdgeMargin) / (1 - 0.8);

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
    const float width = NumText::Sng(twips(inner.width()) * 0.715 - 100);
    const float height = NumText::Sng(twips(inner.height()) * 0.8 - 100);
    return QSize(std::max(0, px(width)), std::max(0, px(height)));
}

QSize printChart()
{
    return QSize(px(kPrintWidth), px(kPrintHeight));
}

int zoomedChartWidth(int outerWidthTwips, bool fullWidth)
{
    const double width = fullWidth ? outerWidthTwips : NumText::Sng(outerWidthTwips * 0.695);
    return std::max(0, px(width));
}

Resized resized(const Current &now)
{
    Resized r;
    r.chart = normalChart(now.inner);
    // The right column starts just beyond the chart.
    const double x = twips(r.chart.width()) + 100;
    r.columnLeft = px(x);
    r.label1Left = px(x + twips(now.dateItWidth));
    r.recBreedWtLbLeft = px(x + twips(now.recBreedWtWidth));
    r.vetComBoxHeight = std::max(0, px(twips(r.chart.height()) + 1240 - twips(now.vetComBoxTop)));
    // The summary takes the room up to the window's edge, so that a long
    // name shows whole in a wider window.
    r.detailsWidth = std::max(px(kColumnWidth), now.inner.width() - r.columnLeft - px(kEdgeMargin));

    // The buttons move down with the chart, so that the chart of a larger
    // window never covers them.
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
