// The growth curve of a puppy, asked for with the frame's Growth Curve command
// while the puppy's case window is active, in the frame of a large practice
// (100,000 cases): from the command to the end of the last paint it causes.
// The command's notes are answered at once; the figure covers the new
// window, its chart set-up (nine series of 27 points, legends, titles and the
// week labels), the curve table read, the values stored and the window
// painted. The window is closed after every run, so that each run opens a
// new one, as the first request of a session does.
//   bench_growthcurve [runs]     (default 15) median of the runs; exit code 1
//                                when it misses its goal
#include "curves_reports/GrowthCurveWindow.h"
#include "support/BenchFrame.h"
#include "support/CaseRegister.h"
#include "support/Median.h"
#include "support/PaintClock.h"

#include <QAction>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

constexpr double kGoalMs = 50.0;

} // namespace

int main(int argc, char **argv)
{
    BenchFrame bench(argc, argv);
    BenchApplication &app = bench.app;
    const int runs = bench.runs(15);
    bench.openCase(CaseRegister::puppyCase());
    bench.activeCase();
    QAction *growthCurve = bench.frame.findChild<QAction *>(QStringLiteral("mnuGrowthCurve"));

    auto closeCurve = [&] {
        auto *curve = bench.frame.findChild<frmPuppy *>();
        if (!curve || !curve->isVisible())
            BenchFrame::fail("the growth curve was not shown");
        app.msUntilPainted([&] { curve->CClose_Click(); });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    // The first curve of all loads what every later one finds ready.
    app.msUntilPainted([&] { growthCurve->trigger(); });
    closeCurve();

    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        times.push_back(app.msUntilPainted([&] { growthCurve->trigger(); }));
        closeCurve();
    }
    // One note for every request (the age at the last weighing), nothing else.
    if (bench.prompt.boxes != runs + 1)
        BenchFrame::fail("the growth curve command showed other messages than its note");

    QTextStream out(stdout);
    out << "growth curve of a puppy of 22 weeks, 100,000 cases in the register, median of " << runs << " runs\n";
    const bool met =
        reportFigure(out, QStringLiteral("Growth Curve command to the curve painted"), median(times), kGoalMs);
    return met ? 0 : 1;
}
