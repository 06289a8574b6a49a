#include "platform/layout/ScreenPlacement.h"

#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace ScreenPlacement {

QPoint within(const QRect &wanted, const QRect &area)
{
    if (area.isEmpty())
        return wanted.topLeft();
    const int x = std::clamp(wanted.left(), area.left(), std::max(area.left(), area.right() + 1 - wanted.width()));
    const int y = std::clamp(wanted.top(), area.top(), std::max(area.top(), area.bottom() + 1 - wanted.height()));
    return QPoint(x, y);
}

QSize frameAllowance(const QWidget *window)
{
    constexpr int border = 4;
    const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return QSize(2 * border, titleBar + 2 * border);
}

QRect freeArea(const QWidget *window)
{
    const QScreen *screen = window->screen();
    return screen ? screen->availableGeometry() : QRect();
}

void keepOnScreen(QWidget *window, const QWidget *centreOver)
{
    const QWidget *owner = centreOver ? centreOver->window() : nullptr;
    const QRect area = freeArea(owner ? owner : window);
    QRect outer(window->pos(), window->size() + frameAllowance(window));
    if (owner && owner->isVisible())
        outer.moveCenter(owner->frameGeometry().center());
    else if (!window->isVisible() && !area.isEmpty() && window->pos() == QPoint())
        outer.moveCenter(area.center());
    window->move(within(outer, area));
}

} // namespace ScreenPlacement
