// The yardstick for bench_startup: an empty QMainWindow, shown and timed the
// same way as the program's frame. It prints FENWARRA_FRAME_SHOWN once the
// window has painted and leaves.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

namespace {
class QuitWhenShown : public QObject {
public:
    explicit QuitWhenShown(QWidget *window) : m_window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_done && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == m_window) {
            m_done = true;
            std::fputs("FENWARRA_FRAME_SHOWN\n", stdout);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return false;
    }

private:
    QWidget *m_window;
    bool m_done = false;
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(433, 433);
    QuitWhenShown watcher(&window);
    app.installEventFilter(&watcher);
    window.show();
    return app.exec();
}
