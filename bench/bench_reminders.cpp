// How long the user waits for the re-weighing reminders at a large practice's
// size.
//
//   bench_reminders [cases]     (default 100000)
//
// Makes a register of realistic cases (bench/support/LargeRegister.h), shows
// the frame, and for each of several days in turn times, from View > Reminders
// to the end of the last paint it causes:
//   - the first load of the day: the days since the last weighing written
//     into every weighed row (each has moved on by a day), the due cases
//     listed and the window painted;
//   - a second load the same day, after the window was closed, which has
//     nothing to write;
//   - a load the same day after a case was weighed meanwhile: [Aged] is
//     checked in every row and the due cases are read again.
// The figures are medians, printed with their goals; exits with 1 when a goal
// is missed. Not part of ctest.
#include "curves_reports/frmReminder.h"
#include "platform/db/ClinicDb.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "shell/frmMain.h"
#include "support/LargeRegister.h"
#include "support/Median.h"
#include "support/PaintClock.h"
#include "support/QuietPrompt.h"

#include <QAction>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <vector>

namespace {

constexpr int kDays = 7;
constexpr double kFirstGoalMs = 120;
constexpr double kSecondGoalMs = 30;

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    LargeRegister::isolate(home);
    BenchApplication app(argc, argv);
    QuietPrompt prompt;
    Prompt::setBackend(&prompt);
    const int cases = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;

    const QDate start(2026, 12, 6);
    LargeRegister::make(home.path() + QStringLiteral("/data/"), cases, start);

    std::vector<double> firsts, seconds, afterWrites;
    int lines = 0;
    {
        frmMain frame;
        LargeRegister::showFrame(frame);
        QAction *command = frame.findChild<QAction *>(QStringLiteral("mnuReminders"));
        if (!command)
            qFatal("the frame has no Reminders command");
        auto load = [&] {
            const double ms = app.msUntilPainted([&] { command->trigger(); });
            auto *window = frame.findChild<frmReminder *>();
            const auto *listing = window ? window->findChild<QListWidget *>(QStringLiteral("ClientListing")) : nullptr;
            if (!listing || window->isHidden() || listing->count() == 0)
                qFatal("the reminders did not open with due cases");
            lines = listing->count();
            app.msUntilPainted([&] { window->close(); });
            return ms;
        };

        // The register's [Aged] as the load of the day before left it.
        Clock::setNow(QDateTime(start.addDays(-1), QTime(9, 0)));
        load();
        for (int day = 0; day < kDays; ++day) {
            Clock::setNow(QDateTime(start.addDays(day), QTime(9, 0)));
            firsts.push_back(load());
            Clock::setNow(QDateTime(start.addDays(day), QTime(11, 0)));
            seconds.push_back(load());
            ClinicDb::exec(ClinicDb::connection(App().DBFName),
                           QStringLiteral("UPDATE [Clients] SET [Last Weighed] = ? WHERE [CaseNo] = ?"),
                           {start.addDays(day).toString(Qt::ISODate), day + 1});
            afterWrites.push_back(load());
        }
    }
    ClinicDb::closeAll();
    if (prompt.boxes != 0)
        qFatal("a message box showed during the measurement");

    QTextStream out(stdout);
    out << "reminders, " << cases << " cases, " << lines << " due, from View > Reminders to the last paint (medians of "
        << kDays << " days)\n";
    bool met = true;
    met &= reportFigure(out, QStringLiteral("first load of the day"), median(firsts), kFirstGoalMs);
    met &= reportFigure(out, QStringLiteral("second load of the day"), median(seconds), kSecondGoalMs);
    met &= reportFigure(out, QStringLiteral("load of the day after a case was weighed"), median(afterWrites),
                        kSecondGoalMs);
    Prompt::setBackend(nullptr);
    return met ? 0 : 1;
}
