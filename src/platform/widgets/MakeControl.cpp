#include "platform/widgets/MakeControl.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace Controls {

QPushButton *button(QWidget *parent, const char *objectName, const QString &caption, std::function<void()> handler)
{
    auto *b = make<QPushButton>(parent, objectName, caption);
    b->setAutoDefault(false);
    if (handler)
        QObject::connect(b, &QPushButton::clicked, parent, [handler = std::move(handler)] { handler(); });
    return b;
}

QAction *item(QWidget *menuOrBar, const char *objectName, const QString &caption, std::function<void()> handler)
{
    auto *a = new QAction(caption, menuOrBar);
    a->setObjectName(QLatin1String(objectName));
    menuOrBar->addAction(a);
    if (handler)
        QObject::connect(a, &QAction::triggered, menuOrBar, [handler = std::move(handler)] { handler(); });
    return a;
}

QAction *separator(QMenu *menu, const char *objectName)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(QLatin1String(objectName));
    return a;
}

} // namespace Controls
