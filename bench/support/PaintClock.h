#pragma once
// Times what the user waits for: from an action (a frame command, a key press
// sent through QTest) to the end of the last paint that action causes.
//
// A benchmark constructs BenchApplication in place of QApplication. Its
// notify() notes when the delivery of every Paint, UpdateRequest and Expose
// event ends; msUntilPainted() runs the action, then processes events until
// nothing has painted for a quiet spell, and returns the time from the start
// of the action to the end of the last paint. Paints that a queued update or
// a timer causes after the handler has returned are therefore counted, as the
// user sees them.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include <functional>

class BenchApplication : public QApplication {
public:
    BenchApplication(int &argc, char **argv) : QApplication(argc, argv) { m_clock.start(); }

    bool notify(QObject *receiver, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        const bool paint = type == QEvent::Paint || type == QEvent::UpdateRequest || type == QEvent::Expose;
        const bool result = QApplication::notify(receiver, event);
        if (paint) {
            m_lastPaintEnd = m_clock.nsecsElapsed();
            ++m_paints;
        }
        return result;
    }

    /// Runs action(), then processes events until nothing has painted for
    /// quietMs milliseconds. Returns the milliseconds from the start of the
    /// action to the end of the last paint it caused (to the end of the action
    /// itself when it caused none).
    double msUntilPainted(const std::function<void()> &action, int quietMs = 60)
    {
        const qint64 start = m_clock.nsecsElapsed();
        m_lastPaintEnd = -1;
        action();
        const qint64 actionEnd = m_clock.nsecsElapsed();
        int seen = m_paints;
        QTimer quiet;
        quiet.setSingleShot(true);
        quiet.start(quietMs);
        while (quiet.isActive()) {
            processEvents(QEventLoop::WaitForMoreEvents);
            if (m_paints != seen) {
                seen = m_paints;
                quiet.start(quietMs);
            }
        }
        const qint64 end = m_lastPaintEnd >= start ? m_lastPaintEnd : actionEnd;
        return (end - start) / 1e6;
    }

    /// How many paint events were delivered since the application started.
    int paints() const { return m_paints; }

private:
    QElapsedTimer m_clock;
    qint64 m_lastPaintEnd = -1;
    int m_paints = 0;
};

/// Prints one measured figure with its goal; returns whether the goal is met.
inline bool reportFigure(QTextStream &out, const QString &what, double ms, double goalMs)
{
    const bool met = ms <= goalMs;
    out << "  " << what << ": " << QString::number(ms, 'f', 1) << " ms (goal <= " << goalMs << " ms) "
        << (met ? "met" : "NOT MET") << "\n";
    out.flush();
    return met;
}
