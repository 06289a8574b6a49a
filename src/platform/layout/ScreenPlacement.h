#pragma once
// Windows are kept wholly on the screen's free area: a desktop left to itself
// may put a new window, or a size saved on a larger screen, where its buttons
// and title bar are out of reach. One rule for every window that places itself.
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace ScreenPlacement {

/// The top left corner that keeps a rectangle of this size wholly in the
/// area, as near as it can to where it was asked for; a rectangle larger
/// than the area keeps its top left corner (and so its title bar) in it.
QPoint within(const QRect &wanted, const QRect &area);

/// The room the desktop's frame adds to a window's inner size before the
/// window is mapped and its real frame is known: a title bar and a thin border.
QSize frameAllowance(const QWidget *window);

/// The free area of the screen a window (or its owner) is on; empty when
/// there is no screen.
QRect freeArea(const QWidget *window);

/// Move a top-level window so that, with its frame, it lies wholly on its
/// screen: centred over centreOver's window when given and visible, else
/// where it stands.
void keepOnScreen(QWidget *window, const QWidget *centreOver = nullptr);

} // namespace ScreenPlacement
