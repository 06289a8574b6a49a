#pragma once
// Making the controls of a window: each carries its system name as its
// objectName (tests and scripts find it by that name), and a button or a menu
// item runs its handler when used.
#include <QString>
#include <QWidget>

#include <functional>
#include <utility>

class QAction;
class QMenu;
class QPushButton;

namespace Controls {

/// A new T, child of `parent`, named `objectName`. The remaining arguments go
/// before the parent to T's constructor: make<QLabel>(this, "Label1", text).
template <typename T, typename... Args> T *make(QWidget *parent, const char *objectName, Args &&...args)
{
    auto *control = new T(std::forward<Args>(args)..., parent);
    control->setObjectName(QLatin1String(objectName));
    return control;
}

/// A push button that runs `handler` when clicked (no handler: the window
/// connects it itself). It is never an automatic default: Enter in a box
/// does not press a button the user did not choose.
QPushButton *button(QWidget *parent, const char *objectName, const QString &caption,
                    std::function<void()> handler = {});

/// A named item added to a menu or a toolbar, running `handler` when chosen
/// (no handler: choosing it only closes the menu).
QAction *item(QWidget *menuOrBar, const char *objectName, const QString &caption, std::function<void()> handler = {});

/// The same, running a member function of `receiver`.
template <typename W>
QAction *item(QWidget *menuOrBar, const char *objectName, const QString &caption, W *receiver, void (W::*handler)())
{
    return item(menuOrBar, objectName, caption, [receiver, handler] { (receiver->*handler)(); });
}

/// A named separator line of a menu.
QAction *separator(QMenu *menu, const char *objectName);

} // namespace Controls
