// Start-up time of the program: from starting the process to the end of the
// last paint of its frame's first showing, beside an empty QMainWindow
// program measured the same way. Run by hand, never by ctest:
//   bench_startup [--runs N] [--program PATH] [--bare PATH]
// The program is started with FENWARRA_BENCH_QUIT_WHEN_SHOWN=1: once its frame
// has painted and nothing of it has painted for a quiet spell, it writes the
// end of its last paint on the monotonic clock (FramePaintedMarker) and leaves,
// without waiting for the splash picture's 4.2 s. This benchmark reads the same
// clock just before it starts the process. Settings and the database live in a
// temporary folder for the run; one start of each program before the measured
// ones creates the database and warms the file cache. Exit code 1 when the
// median misses its goal.
#include "shell/FramePaintedMarker.h"
#include "support/Median.h"
#include "support/PaintClock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

namespace {

const QByteArray kMarker = FramePaintedMarker::kMarker;
constexpr int kTimeoutMs = 60000;
// A program on the screen within a fifth of a second starts, to its user, at once.
constexpr double kGoalMs = 200.0;

qint64 monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

/// Milliseconds from starting the program to the end of its frame's last
/// paint, or nothing when it failed or never painted.
std::optional<double> timeOnce(const QString &program, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    const qint64 startNs = monotonicNs();
    process.start(program, {});
    if (!process.waitForStarted(kTimeoutMs))
        return std::nullopt;
    QByteArray out;
    std::optional<double> shown;
    while (!shown && clock.elapsed() < kTimeoutMs) {
        if (!process.waitForReadyRead(kTimeoutMs - int(clock.elapsed())))
            break;
        out += process.readAllStandardOutput();
        const int at = out.indexOf(kMarker);
        const int lineEnd = at >= 0 ? out.indexOf('\n', at) : -1;
        if (lineEnd >= 0) {
            bool ok = false;
            const qint64 paintedNs =
                out.mid(at + kMarker.size(), lineEnd - at - kMarker.size()).trimmed().toLongLong(&ok);
            if (!ok)
                break;
            shown = (paintedNs - startNs) / 1.0e6;
        }
    }
    if (!process.waitForFinished(kTimeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    return shown;
}

QString existing(const QStringList &candidates)
{
    for (const QString &c : candidates)
        if (QFileInfo(c).isExecutable())
            return QFileInfo(c).absoluteFilePath();
    return QString();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    int runs = 9;
    QString program;
    QString bare;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--program"))
            program = args[i + 1];
        else if (args[i] == QLatin1String("--bare"))
            bare = args[i + 1];
    }
    const QString here = QCoreApplication::applicationDirPath();
    if (program.isEmpty())
        program = existing({here + QStringLiteral("/../src/fenwarra"), here + QStringLiteral("/fenwarra")});
    if (bare.isEmpty())
        bare = existing({here + QStringLiteral("/bench_bare_mainwindow")});
    if (program.isEmpty() || bare.isEmpty()) {
        err << "bench_startup: cannot find the programs; give --program and --bare\n";
        return 2;
    }

    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *folder : {"config", "data", "runtime"})
        QDir().mkpath(home.path() + QLatin1Char('/') + QLatin1String(folder));
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path() + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("FENWARRA_BENCH_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")) && !env.contains(QStringLiteral("DISPLAY")) &&
        !env.contains(QStringLiteral("WAYLAND_DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    out << "program: " << program << "\nbare:    " << bare
        << "\nplatform: " << env.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("(default)"))
        << "\nruns: " << runs << "\n";
    out.flush();

    // Warm-up: the first start creates the database.
    for (const QString &p : {program, bare}) {
        if (!timeOnce(p, env)) {
            err << "bench_startup: " << p << " did not show its window\n";
            return 1;
        }
    }

    std::vector<double> fenwarra;
    std::vector<double> plain;
    for (int i = 0; i < runs; ++i) {
        // Alternate, so that a slow moment of the machine hits both alike.
        const auto a = timeOnce(program, env);
        const auto b = timeOnce(bare, env);
        if (!a || !b) {
            err << "bench_startup: run " << i + 1 << " failed\n";
            return 1;
        }
        fenwarra.push_back(*a);
        plain.push_back(*b);
        out << QStringLiteral("run %1: fenwarra %2 ms, bare %3 ms\n").arg(i + 1).arg(*a, 0, 'f', 1).arg(*b, 0, 'f', 1);
        out.flush();
    }
    const double mf = median(fenwarra);
    const double mb = median(plain);
    out << QStringLiteral("median bare QMainWindow (information): %1 ms; ratio %2\n")
               .arg(mb, 0, 'f', 1)
               .arg(mb > 0 ? mf / mb : 0.0, 0, 'f', 2);
    const bool met = reportFigure(out, QStringLiteral("start to the frame painted"), mf, kGoalMs);
    return met ? 0 : 1;
}
