// Memory over a day's work: the twenty-year case (1,040 weekly entries)
// opened with the frame's recent-cases command and closed again with its
// Close command, 500 times, in the frame of a large practice (100,000 cases).
// The resident memory is read after a warm-up (what the first openings load
// once: fonts, styles, pictures, the database's pages) and after the 500;
// the goal is no growth.
//   bench_casememory [openings]   (default 500) exit code 1 when it grew
#include "support/BenchFrame.h"
#include "support/CaseRegister.h"
#include "support/PaintClock.h"

#include <QFile>
#include <QTextStream>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>

namespace {

constexpr int kWarmUp = 50;
// Between paints an opening waits this long for more; short, since only the
// memory counts here.
constexpr int kQuietMs = 5;

/// The resident memory of this process in KB. Freed heap is handed back to
/// the system first, so that only memory still in use is counted, not what
/// the allocator happens to keep for later.
long residentKb()
{
    malloc_trim(0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

} // namespace

int main(int argc, char **argv)
{
    BenchFrame bench(argc, argv);
    BenchApplication &app = bench.app;
    const int openings = bench.runs(500);
    auto openAndClose = [&] {
        bench.openCase(CaseRegister::longCase(), kQuietMs);
        if (bench.activeCase().NumWts() != CaseRegister::kLongWeeks)
            BenchFrame::fail("the twenty-year case did not load");
        bench.closeAll(kQuietMs);
    };
    for (int i = 0; i < kWarmUp; ++i)
        openAndClose();
    const long before = residentKb();
    for (int i = 0; i < openings; ++i)
        openAndClose();
    const long after = residentKb();
    if (bench.prompt.boxes != 0)
        BenchFrame::fail("a message box appeared during the measurement");

    QTextStream out(stdout);
    out << "the 20-year case opened and closed " << openings << " times in the frame, after " << kWarmUp
        << " to warm up\n";
    const long growth = after - before;
    const bool met = growth <= 0;
    out << "  resident memory: " << before << " KB before, " << after << " KB after: " << (growth >= 0 ? "+" : "")
        << growth << " KB (goal: no growth) " << (met ? "met" : "NOT MET") << "\n";
    return met ? 0 : 1;
}
