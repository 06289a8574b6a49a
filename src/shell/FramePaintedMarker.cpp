#include "shell/FramePaintedMarker.h"

#include <QCoreApplication>
#include <QEvent>

#include <chrono>
#include <cstdio>

namespace {
qint64 monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

FramePaintedMarker::FramePaintedMarker(QWidget *window, std::function<void()> afterFirst, std::function<void()> then,
                                       int quietMs)
    : QObject(window), m_window(window), m_afterFirst(std::move(afterFirst)), m_then(std::move(then))
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(quietMs);
    connect(&m_quiet, &QTimer::timeout, this, [this] { report(); });
    qApp->installEventFilter(this);
}

bool FramePaintedMarker::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Paint || type == QEvent::UpdateRequest) && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == m_window && !m_endPending) {
        // A filter sees a paint begin, not end: the first queued call after
        // it runs once the paint (and the flush to the screen) is done.
        m_endPending = true;
        QMetaObject::invokeMethod(
            this, [this] { paintEnded(); }, Qt::QueuedConnection);
    }
    return false;
}

void FramePaintedMarker::paintEnded()
{
    m_endPending = false;
    m_lastEnd = monotonicNs();
    if (m_afterFirst) {
        const std::function<void()> step = std::move(m_afterFirst);
        m_afterFirst = nullptr;
        step();
    }
    m_quiet.start();
}

void FramePaintedMarker::report()
{
    std::printf("%s %lld\n", kMarker, static_cast<long long>(m_lastEnd));
    std::fflush(stdout);
    if (m_then)
        m_then();
}
