// The yardstick for bench_startup: an empty QMainWindow, shown and timed the
// same way as the program's frame: it writes the end of its last paint
// (FramePaintedMarker) and leaves.
#include "shell/FramePaintedMarker.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(433, 433);
    new FramePaintedMarker(&window, nullptr, [] { QCoreApplication::exit(0); });
    window.show();
    return app.exec();
}
