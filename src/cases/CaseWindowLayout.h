#pragma once
// The case window's geometry, designed in twips: where each control stands
// when the window is made, and where a resize, the zoom and the print size
// move them. Arithmetic only; the window applies it to its controls.
//
// The design: a default inner size of 15000 x 10200 twips (1000 x 680
// pixels). The top band holds the status pictures and texts; the chart fills
// the left below it; the right column holds the summary, the table of
// weighings, the breed weight, the diet recommendation and the comments; the
// buttons run along the bottom under the chart.
#include <QList>
#include <QRect>
#include <QSize>

namespace CaseWindowLayout {

struct TwipRect {
    double left, top, width, height;
    /// The place in pixels.
    QRect pixels() const;
};

// The places of the design.
constexpr double kColumnLeft = 10725; // the right column
constexpr double kColumnWidth = 4170;
constexpr TwipRect kBigPicture{60, 90, 960, 960};     // Baloons, Clouds
constexpr TwipRect kFacePicture{1110, 210, 720, 720}; // Smile, Bland, Frown
constexpr TwipRect kChart{30, 1240, 10625, 8060};
constexpr TwipRect kDetails{kColumnLeft, 30, kColumnWidth, 1180};
constexpr TwipRect kWtData{kColumnLeft, 1240, kColumnWidth, 2720};
constexpr TwipRect kLabel5{kColumnLeft, 4020, kColumnWidth, 255};
constexpr TwipRect kRecBreedWt{kColumnLeft, 4290, 1860, 300};
constexpr TwipRect kRecBreedWtLb{kColumnLeft + 1860, 4290, kColumnWidth - 1860, 300};
constexpr TwipRect kLabel4{kColumnLeft, 4680, kColumnWidth, 255};
constexpr TwipRect kDietRecMe{kColumnLeft, 4950, kColumnWidth, 1260};
constexpr TwipRect kDateIt{kColumnLeft, 6300, 900, 360};
constexpr TwipRect kLabel1{kColumnLeft + 900, 6345, kColumnWidth - 900, 270};
constexpr TwipRect kVetComBox{kColumnLeft, 6720, kColumnWidth, 2580};

/// The place of the result texts of the top band, line 0 to 4.
TwipRect resultText(int line);

/// The window's inner size as designed, and the smallest at which every
/// control of the design is whole (pixels). A smaller window would cut off
/// the table, the comments and the buttons; it goes no smaller, and the
/// frame's area scrolls instead.
QSize defaultSize();
QSize minimumSize();

/// The chart's normal size for a window's inner size (pixels): all the width
/// the right column leaves, and all the height down to the row of buttons.
QSize normalChart(const QSize &inner);
/// The chart's fixed print size (pixels), whatever the window's size.
QSize printChart();
/// The chart's width zoomed out to the window's outer width (twips), in pixels.
int zoomedChartWidth(int outerWidthTwips);

/// What a resize needs of the window as it stands (pixels).
struct Current {
    QSize inner;
    int chartTop = 0;
    int dateItWidth = 0;
    int recBreedWtWidth = 0;
    /// The widths the buttons under the chart ask for, left to right.
    QList<int> buttonWidths;
};

/// Where a resize puts things (pixels): the chart at its normal size, the
/// right column just beyond it with the table of weighings taking the extra
/// height (what stands below the table moves down by belowTableShift from
/// its designed place), the summary taking the room up to the window's edge,
/// and the buttons in a row under the chart.
struct Resized {
    QSize chart;
    int columnLeft = 0;
    int label1Left = 0;
    int recBreedWtLbLeft = 0;
    int tableHeight = 0;
    int belowTableShift = 0;
    int vetComBoxHeight = 0;
    int detailsWidth = 0;
    QList<QRect> buttons;
    QRect activity; // beside the buttons, under the right column
};
Resized resized(const Current &now);

} // namespace CaseWindowLayout
