// Opening and loading cases in the frame of a large practice (100,000 cases),
// each figure timed from the user's action to the end of the last paint it
// causes:
//   - opening the twenty-year case (1,040 weekly entries) with the frame's
//     recent-cases command, until the new case window is painted;
//   - the same for a case of one year (52 entries);
//   - the load of the open twenty-year case (its hidden Command1, which the
//     locator, the case editing and the weighing press), until painted.
//   bench_caseopen [runs]     (default 15) medians of the runs; exit code 1
//                             when a figure misses its goal
#include "support/BenchFrame.h"
#include "support/CaseRegister.h"
#include "support/Median.h"
#include "support/PaintClock.h"

#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

constexpr double kOpenLongGoalMs = 16.0;
constexpr double kOpenYearGoalMs = 10.0;
constexpr double kLoadLongGoalMs = 10.0;

} // namespace

int main(int argc, char **argv)
{
    BenchFrame bench(argc, argv);
    BenchApplication &app = bench.app;
    const int runs = bench.runs(15);

    // What the program pays once, for the first case window of all, is not
    // what an opening costs: one opening before the measured ones.
    bench.openCase(CaseRegister::yearCase());
    bench.closeAll();

    std::vector<double> openLong, openYear, loadLong;
    for (int i = 0; i < runs; ++i) {
        openLong.push_back(bench.openCase(CaseRegister::longCase()));
        frmDocument &doc = bench.activeCase();
        if (doc.NumWts() != CaseRegister::kLongWeeks)
            BenchFrame::fail("the twenty-year case did not load");
        loadLong.push_back(app.msUntilPainted([&] { doc.Command1_Click(); }));
        bench.closeAll();
        openYear.push_back(bench.openCase(CaseRegister::yearCase()));
        if (bench.activeCase().NumWts() != CaseRegister::kYearWeeks)
            BenchFrame::fail("the one-year case did not load");
        bench.closeAll();
    }
    if (bench.prompt.boxes != 0)
        BenchFrame::fail("a message box appeared during the measurement");

    QTextStream out(stdout);
    out << "case windows in the frame, 100,000 cases in the register, median of " << runs << " runs\n";
    bool met = true;
    met &= reportFigure(out, QStringLiteral("open the 20-year case (1,040 entries), painted"), median(openLong),
                        kOpenLongGoalMs);
    met &= reportFigure(out, QStringLiteral("open a 1-year case (52 entries), painted"), median(openYear),
                        kOpenYearGoalMs);
    met &= reportFigure(out, QStringLiteral("load (Command1) of the 20-year case, painted"), median(loadLong),
                        kLoadLongGoalMs);
    return met ? 0 : 1;
}
