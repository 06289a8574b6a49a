#pragma once
// The arguments a MouseUp handler takes, read from a mouse release: the
// button (1 left, 2 right, 4 middle), the keys held (1 Shift, 2 Ctrl, 4 Alt)
// and the place in the widget. Lists that offer a pop-up menu on the right
// button hand these to their window's handler.
#include <QMouseEvent>

#include <functional>
#include <optional>

struct MouseUp {
    int button = 0;
    int shift = 0;
    int x = 0;
    int y = 0;
};

/// The release's arguments, or nothing for a button the handlers do not know.
inline std::optional<MouseUp> mouseUpOf(const QMouseEvent *event)
{
    MouseUp m;
    switch (event->button()) {
    case Qt::LeftButton:
        m.button = 1;
        break;
    case Qt::RightButton:
        m.button = 2;
        break;
    case Qt::MiddleButton:
        m.button = 4;
        break;
    default:
        return std::nullopt;
    }
    if (event->modifiers() & Qt::ShiftModifier)
        m.shift |= 1;
    if (event->modifiers() & Qt::ControlModifier)
        m.shift |= 2;
    if (event->modifiers() & Qt::AltModifier)
        m.shift |= 4;
    const QPoint p = event->position().toPoint();
    m.x = p.x();
    m.y = p.y();
    return m;
}

/// A list's MouseUp handler, as its window sets it.
using MouseUpHandler = std::function<void(int button, int shift, int x, int y)>;

/// Hands a release to the handler, if there is one and it knows the button.
inline void reportMouseUp(const QMouseEvent *event, const MouseUpHandler &handler)
{
    if (!handler)
        return;
    if (const std::optional<MouseUp> m = mouseUpOf(event))
        handler(m->button, m->shift, m->x, m->y);
}
