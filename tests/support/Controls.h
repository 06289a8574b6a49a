#pragma once
// A control of a window found by its objectName, as a user's script finds
// it: the windows keep their controls to themselves.
#include <QObject>
#include <QString>
#include <QtGlobal>

template <typename T> T *control(const QObject *window, const char *name)
{
    T *found = window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
    if (!found)
        qFatal("no control %s in the window", name);
    return found;
}
