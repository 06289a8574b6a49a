#pragma once
// A control of a window found by its objectName, as a user's script finds
// it: the windows keep their controls to themselves.
#include <QObject>
#include <QString>
#include <QtGlobal>

template <typename T> T *control(const QObject *window, const QString &name)
{
    T *found = window ? window->findChild<T *>(name) : nullptr;
    if (!found)
        qFatal("no control %s in the window", qPrintable(name));
    return found;
}

template <typename T> T *control(const QObject *window, const char *name)
{
    return control<T>(window, QLatin1String(name));
}

/// One control of a control array, named with its index: "Units(2)".
template <typename T> T *control(const QObject *window, const char *name, int index)
{
    return control<T>(window, QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index));
}

#include <QCoreApplication>
#include <QKeyEvent>

/// Type a text into a control as key strokes that carry only their text, as
/// a keyboard layout of another script delivers them (QTest::keyClicks takes
/// Latin-1 characters only).
inline void typeText(QObject *control, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(control, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(control, &release);
    }
}
