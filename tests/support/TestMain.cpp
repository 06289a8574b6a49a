#include "support/TestMain.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QTest>
#include <QTextStream>

std::vector<fwtest::Entry> &fwtest::registry()
{
    static std::vector<Entry> entries;
    return entries;
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    TestEnv::prepareProcess();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fenwarra"));

    QStringList args = app.arguments();
    QString only;
    if (args.size() > 1 && !args.at(1).startsWith(QLatin1Char('-'))) {
        only = args.at(1);
        args.removeAt(1);
    }
    int failures = 0;
    int ran = 0;
    for (const auto &entry : fwtest::registry()) {
        if (!only.isEmpty() && only != QLatin1String(entry.name))
            continue;
        std::unique_ptr<QObject> test = entry.make();
        failures += QTest::qExec(test.get(), args);
        ++ran;
    }
    if (ran == 0) {
        QTextStream(stderr) << "no test class matched\n";
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
