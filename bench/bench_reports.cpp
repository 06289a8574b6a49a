// The client handout of the twenty-year case (1,040 weekly entries) in the
// frame of a large practice (100,000 cases):
//   - the frame's Report Preview command with the case window active, from
//     the command to the end of the last paint it causes: the figures
//     stored, the chart's picture taken at print size, the report laid out
//     and the viewer's first page painted;
//   - the export of that handout as a PDF file (Save Report, without its
//     file dialog).
//   bench_reports [runs]      (default 15) medians of the runs; exit code 1
//                             when a figure misses its goal
#include "curves_reports/frmReports.h"
#include "support/BenchFrame.h"
#include "support/CaseRegister.h"
#include "support/Median.h"
#include "support/PaintClock.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

constexpr double kPreviewGoalMs = 30.0;
constexpr double kPdfGoalMs = 1000.0;

} // namespace

int main(int argc, char **argv)
{
    BenchFrame bench(argc, argv);
    BenchApplication &app = bench.app;
    const int runs = bench.runs(15);
    // The printer of the printer setup is made once, when it is first used.
    bench.frame.printer();
    bench.openCase(CaseRegister::longCase());
    QWidget *caseWindow = &bench.activeCase();
    QAction *preview = bench.frame.findChild<QAction *>(QStringLiteral("mnuFilePrint"));

    auto closeViewer = [&] {
        auto *viewer = qobject_cast<frmReports *>(bench.frame.activeChild());
        if (!viewer || viewer->pageCount() != 1)
            BenchFrame::fail("the handout was not shown");
        app.msUntilPainted([&] { viewer->CClose_Click(); });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (bench.frame.activeChild() != caseWindow)
            BenchFrame::fail("the case window is not active again");
    };
    // The first preview of all loads what every later one finds ready.
    app.msUntilPainted([&] { preview->trigger(); });
    closeViewer();

    std::vector<double> previewTimes;
    for (int i = 0; i < runs; ++i) {
        previewTimes.push_back(app.msUntilPainted([&] { preview->trigger(); }));
        closeViewer();
    }

    app.msUntilPainted([&] { preview->trigger(); });
    auto *viewer = qobject_cast<frmReports *>(bench.frame.activeChild());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("handout.pdf"));
    const double pdfMs = medianMs(runs, [&] { viewer->saveTo(pdf); });
    if (bench.prompt.boxes != 0)
        BenchFrame::fail("a message box appeared during the measurement");

    QTextStream out(stdout);
    out << "client handout of the 20-year case, 100,000 cases in the register, median of " << runs << " runs\n";
    bool met = true;
    met &= reportFigure(out, QStringLiteral("Report Preview to the preview painted"), median(previewTimes),
                        kPreviewGoalMs);
    met &= reportFigure(out, QStringLiteral("PDF export of the handout"), pdfMs, kPdfGoalMs);
    return met ? 0 : 1;
}
