#include "platform/widgets/ListPopup.h"

#include "platform/widgets/MakeControl.h"

#include <QAbstractScrollArea>
#include <QMenu>

namespace ListPopup {

QMenu *make(QWidget *parent, std::initializer_list<Item> items)
{
    auto *menu = Controls::make<QMenu>(parent, "Hidden", QStringLiteral("Hidden"));
    for (const Item &i : items)
        Controls::item(menu, i.objectName, i.caption, i.handler);
    Controls::separator(menu, "mnuHiddenBar");
    Controls::item(menu, "Leave", QStringLiteral("&Leave"));
    return menu;
}

void onMouseUp(QMenu *menu, QAbstractScrollArea *list, int button, int x, int y)
{
    if (button != 2)
        return;
    // Not exec(): the menu must not hold up the caller; its items run their
    // handlers when chosen.
    menu->popup(list->viewport()->mapToGlobal(QPoint(x, y)));
}

} // namespace ListPopup
