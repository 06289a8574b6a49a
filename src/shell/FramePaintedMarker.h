#pragma once
// For timing the start from outside the process: once a window has been
// painted and nothing of it has painted again for a quiet spell, the end of
// its last paint is written to standard output as
//     FENWARRA_FRAME_PAINTED <nanoseconds of the monotonic clock>
// and then() runs (it ends the program). The benchmark that started the
// process reads the same clock before it starts it. Both the program (in its
// benchmark mode) and the bare yardstick window use this one marker, so that
// both are timed alike.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class FramePaintedMarker : public QObject {
public:
    static constexpr const char *kMarker = "FENWARRA_FRAME_PAINTED";

    /// Watches every paint of window; afterFirst runs once, right after the
    /// first paint (start-up steps that wait for it), then() at the end.
    FramePaintedMarker(QWidget *window, std::function<void()> afterFirst, std::function<void()> then,
                       int quietMs = 100);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintEnded();
    void report();

    QPointer<QWidget> m_window;
    std::function<void()> m_afterFirst;
    std::function<void()> m_then;
    QTimer m_quiet;
    qint64 m_lastEnd = -1; // nanoseconds of the monotonic clock
    bool m_endPending = false;
};
