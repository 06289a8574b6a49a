#pragma once
// Window geometry in twips (1440 to the inch) becomes pixels at 96 dots per
// inch: 15 twips to the pixel. Every conversion of the program goes through
// here so that positions kept in the settings and the layouts given in twips
// agree with one another.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

namespace Twips {

constexpr int kPerPixel = 15;

/// Pixels of a length in twips, rounded to the nearest pixel.
inline int toPixels(double twips)
{
    return static_cast<int>(std::lround(twips / kPerPixel));
}

/// Twips of a length in pixels (exact).
inline int fromPixels(int pixels)
{
    return pixels * kPerPixel;
}

inline QPoint toPixels(double x, double y)
{
    return QPoint(toPixels(x), toPixels(y));
}

inline QRect toPixels(double left, double top, double width, double height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

inline QSize toPixelSize(double width, double height)
{
    return QSize(toPixels(width), toPixels(height));
}

} // namespace Twips
