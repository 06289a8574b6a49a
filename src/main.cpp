#include "shell/Startup.h"

#include <QApplication>

#include <unistd.h>

int main(int argc, char **argv)
{
    // The web engine's sandbox refuses to run for the superuser.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    Main();
    return app.exec();
}
