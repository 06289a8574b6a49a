#include "diets/ToolWindowPlacement.h"

#include <QScreen>
#include <QStyle>
#include <QWidget>

void placeToolWindow(QWidget *window)
{
    QWidget *owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    QScreen *screen = owner ? owner->screen() : window->screen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    // The frame the desktop adds is not known before the window is mapped:
    // allow a title bar above the window and a thin border around it.
    const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    const int border = 4;
    const QSize outer = window->size() + QSize(2 * border, titleBar + border);

    const QPoint centre = owner && owner->isVisible() ? owner->frameGeometry().center() : free.center();
    QPoint at(centre.x() - outer.width() / 2, centre.y() - outer.height() / 2);
    // Kept on the screen; a window larger than the screen keeps its top left
    // corner, with its title bar, on it.
    at.setX(qBound(free.left(), at.x(), qMax(free.left(), free.right() + 1 - outer.width())));
    at.setY(qBound(free.top(), at.y(), qMax(free.top(), free.bottom() + 1 - outer.height())));
    window->move(at);
}
