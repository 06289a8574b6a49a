#pragma once
// The right-click menu of a list, as the program's lists have it: the
// window's own items, a separator line and Leave, which only closes the menu.
// The menu opens where the right button was released, without holding up
// the caller; an item runs its handler when chosen.
#include <QString>

#include <functional>
#include <initializer_list>

class QAbstractScrollArea;
class QMenu;
class QWidget;

namespace ListPopup {

struct Item {
    const char *objectName;
    QString caption;
    std::function<void()> handler;
};

/// The menu "Hidden", child of `parent`: the items in order, the separator
/// "mnuHiddenBar" and the item "Leave".
QMenu *make(QWidget *parent, std::initializer_list<Item> items);

/// A list's MouseUp handler: the right button (2) opens the menu at the
/// release point (x, y on the list's viewport); any other does nothing.
void onMouseUp(QMenu *menu, QAbstractScrollArea *list, int button, int x, int y);

} // namespace ListPopup
