#pragma once
// The program's frame as the benchmarks use it, over the register of a large
// practice (CaseRegister.h): frmMain, shown at the size of
// a practice's screen, with the options of a typical installation (chart on
// cyan, legend and point symbols on) and a prompt that answers every box at
// once. The user's actions are the frame's commands; their figures run from
// the command to the end of the last paint it causes (PaintClock.h).
#include "cases/CaseProcs.h"
#include "cases/CaseRef.h"
#include "cases/frmDocument.h"
#include "platform/db/ClinicDb.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "shell/frmMain.h"
#include "support/CaseRegister.h"
#include "support/PaintClock.h"
#include "support/QuietPrompt.h"

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

/// Call before the application is made: headless unless a display is named,
/// and the program's settings kept away from the user's.
inline void prepareBenchEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    // The offscreen platform's notes about window hints are no news here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &msg) {
        if (type != QtDebugMsg && type != QtInfoMsg && !msg.contains(QLatin1String("This plugin does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
}

/// Prepares the environment before the application that follows it is made.
struct BenchEnvironment {
    BenchEnvironment() { prepareBenchEnvironment(); }
};

class BenchFrame : private BenchEnvironment {
public:
    BenchFrame(int &argc, char **argv) : app(argc, argv), m_args(app.arguments())
    {
        Prompt::setBackend(&prompt);
        AppState &s = App();
        s.BackColour = QStringLiteral("3");
        s.LegendCheck = QStringLiteral("1");
        s.SymbolCheck = QStringLiteral("1");
        s.PrintOption = QStringLiteral("0");
        frame.setEndProgram([] {});
        frame.resize(1280, 1000);
        app.msUntilPainted([&] { frame.show(); });
    }
    ~BenchFrame()
    {
        closeAll();
        Prompt::setBackend(nullptr);
        ClinicDb::closeAll();
    }

    /// Open a case with the frame's recent-cases command, the way a user
    /// reopens a case; returns the milliseconds until it is painted.
    double openCase(const CaseRef &ref, int quietMs = 60)
    {
        frame.setRecentCaption(1, CaseCaption(ref.caseNo, ref.animalName, ref.surname));
        QAction *recent = frame.findChild<QAction *>(QStringLiteral("RecentCli(1)"));
        return app.msUntilPainted([&] { recent->trigger(); }, quietMs);
    }

    /// The active case window (after openCase), or a failure of the benchmark.
    frmDocument &activeCase()
    {
        auto *doc = qobject_cast<frmDocument *>(frame.activeChild());
        if (!doc)
            fail("no case window opened");
        return *doc;
    }

    /// Close every child window with the frame's command and let them go.
    void closeAll(int quietMs = 60)
    {
        app.msUntilPainted([&] { frame.mnuFileCloseAll_Click(); }, quietMs);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    /// The number of runs given as the first argument, else `fallback`.
    int runs(int fallback) const { return std::max(1, m_args.size() > 1 ? m_args.at(1).toInt() : fallback); }

    /// Stop the benchmark: something did not happen as the measurement needs.
    [[noreturn]] static void fail(const char *what)
    {
        std::fprintf(stderr, "benchmark stopped: %s\n", what);
        std::exit(2);
    }

    BenchApplication app;
    CaseRegister cases; // before the frame: its case windows read it
    QuietPrompt prompt;
    frmMain frame;

private:
    QStringList m_args;
};
