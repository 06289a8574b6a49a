// How long the user waits for the case locator at a large practice's size.
//
//   bench_locator [cases]     (default 100000)
//
// Makes a register of realistic cases (bench/support/LargeRegister.h), shows
// the frame, and times from the user's action to the end of the last paint it
// causes:
//   - the opening: File > Open Existing Case, the locator shown with every
//     case listed, both with nothing written to the register since the last
//     listing and after a write (the list of every case then read afresh);
//   - key strokes in the narrowing box, sent as key presses: "Smit" to
//     "Smith", the most frequent surname; "Qu" to "Que", a rare one; "S" to
//     "Sm"; and the Backspace that empties the box, which lists every case
//     again;
//   - the same two narrowing strokes in a register of 1,000 cases: a stroke
//     that reads only what the first screen shows costs the same whatever the
//     register holds (the scale check: at most 1.5 times the small register's
//     time).
// Each figure is the median of several runs, printed with its goal; exits with
// 1 when a goal is missed. Not part of ctest.
#include "cases/CaseListModel.h"
#include "cases/fmLocator.h"
#include "platform/db/ClinicDb.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "shell/frmMain.h"
#include "support/LargeRegister.h"
#include "support/Median.h"
#include "support/PaintClock.h"
#include "support/QuietPrompt.h"

#include <QAction>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <cmath>
#include <vector>

namespace {

constexpr int kOpenings = 3;
constexpr int kStrokes = 11;
constexpr double kOpenGoalMs = 30;
constexpr double kEmptyingGoalMs = 16;
constexpr double kStrokeGoalMs = 8;
constexpr double kScaleGoal = 1.5;

/// The scale check's goal for a stroke that took smallMs in the small
/// register, to a tenth of a millisecond.
double scaled(double smallMs)
{
    return std::round(kScaleGoal * smallMs * 10) / 10;
}

struct Figures {
    double openMs = 0, openAfterWriteMs = 0;
    int listed = 0;
    double smithMs = 0, rareMs = 0, smMs = 0, emptyMs = 0;
    int smiths = 0, rares = 0, sms = 0;
};

class Bench {
public:
    Bench(BenchApplication &app, QuietPrompt &prompt) : m_app(app), m_prompt(prompt) {}

    fmLocator *openLocator(frmMain &frame, double *ms)
    {
        QAction *command = frame.findChild<QAction *>(QStringLiteral("mnuFileOpen"));
        if (!command)
            qFatal("the frame has no Open Existing Case command");
        const double t = m_app.msUntilPainted([&] { command->trigger(); });
        if (ms)
            *ms = t;
        auto *locator = frame.findChild<fmLocator *>();
        if (!locator || locator->isHidden())
            qFatal("the locator did not open");
        return locator;
    }

    void closeLocator(fmLocator *locator)
    {
        m_app.msUntilPainted([&] { locator->close(); });
    }

    /// The narrowing box, found by its name as a user's script finds it.
    static QLineEdit *narrower(const fmLocator *locator)
    {
        return locator->findChild<QLineEdit *>(QStringLiteral("Narrower"));
    }

    /// One key press in the narrowing box, timed to the last paint it causes.
    double press(fmLocator *locator, Qt::Key key, const QString &text = QString())
    {
        QLineEdit *box = narrower(locator);
        return m_app.msUntilPainted([&] {
            if (text.isEmpty())
                QTest::keyClick(box, key);
            else
                QTest::keyClick(box, text.at(0).toLatin1());
        });
    }

    void typeUntimed(fmLocator *locator, const QString &text)
    {
        for (const QChar c : text)
            press(locator, Qt::Key_unknown, QString(c));
    }

    /// The median time of typing `typed` after `before` (and of nothing else:
    /// each stroke is taken back with an untimed Backspace).
    double stroke(fmLocator *locator, const QString &before, const QString &typed, int *lines)
    {
        narrower(locator)->clear();
        typeUntimed(locator, before);
        std::vector<double> times;
        for (int i = 0; i < kStrokes; ++i) {
            times.push_back(press(locator, Qt::Key_unknown, typed));
            *lines = locator->listModel()->rowCount();
            press(locator, Qt::Key_Backspace);
        }
        return median(times);
    }

    /// The median time of the Backspace that empties the box after "S".
    double emptying(fmLocator *locator, int expectedLines)
    {
        narrower(locator)->clear();
        std::vector<double> times;
        for (int i = 0; i < kStrokes; ++i) {
            typeUntimed(locator, QStringLiteral("S"));
            times.push_back(press(locator, Qt::Key_Backspace));
            if (locator->listModel()->rowCount() != expectedLines || !narrower(locator)->text().isEmpty())
                qFatal("the Backspace did not list every case");
        }
        return median(times);
    }

    Figures measure(const QString &folder, int cases, bool everything)
    {
        LargeRegister::make(folder, cases, QDate::currentDate());
        Figures f;
        std::vector<double> opens, opensAfterWrite;
        {
            frmMain frame;
            LargeRegister::showFrame(frame);
            for (int round = 0; round < 2 * kOpenings; ++round) {
                // Every other opening follows a write (a case weighed, say),
                // after which the list of every case is read afresh.
                const bool afterWrite = round % 2 == 0;
                if (afterWrite)
                    ClinicDb::exec(ClinicDb::connection(App().DBFName),
                                   QStringLiteral("UPDATE [Clients] SET [Active] = [Active] WHERE [CaseNo] = 1"));
                double ms = 0;
                fmLocator *locator = openLocator(frame, &ms);
                (afterWrite ? opensAfterWrite : opens).push_back(ms);
                f.listed = locator->listModel()->rowCount();
                if (f.listed != cases)
                    qFatal("the locator did not list every case");
                if (round + 1 < 2 * kOpenings) {
                    closeLocator(locator);
                    continue;
                }
                f.smithMs = stroke(locator, QStringLiteral("Smit"), QStringLiteral("h"), &f.smiths);
                f.rareMs = stroke(locator, QStringLiteral("Qu"), QStringLiteral("e"), &f.rares);
                if (everything) {
                    f.smMs = stroke(locator, QStringLiteral("S"), QStringLiteral("m"), &f.sms);
                    f.emptyMs = emptying(locator, cases);
                }
                closeLocator(locator);
            }
        }
        f.openMs = median(opens);
        f.openAfterWriteMs = median(opensAfterWrite);
        if (m_prompt.boxes != 0)
            qFatal("a message box showed during the measurement");
        ClinicDb::closeAll();
        return f;
    }

private:
    BenchApplication &m_app;
    QuietPrompt &m_prompt;
};

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    LargeRegister::isolate(home);
    BenchApplication app(argc, argv);
    QuietPrompt prompt;
    Prompt::setBackend(&prompt);
    const int large = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    const int small = 1000;

    Bench bench(app, prompt);
    const QString folder = home.path() + QStringLiteral("/data/");
    const Figures big = bench.measure(folder, large, true);
    const Figures little = bench.measure(folder, small, false);

    QTextStream out(stdout);
    out << "case locator, " << large << " cases, from the action to the last paint (medians)\n";
    bool met = true;
    met &= reportFigure(out,
                        QStringLiteral("open, %1 lines listed, nothing written since the last listing").arg(big.listed),
                        big.openMs, kOpenGoalMs);
    met &= reportFigure(out, QStringLiteral("open, %1 lines listed, after a write").arg(big.listed),
                        big.openAfterWriteMs, kOpenGoalMs);
    met &= reportFigure(out, QStringLiteral("Backspace that empties the box, %1 lines").arg(large), big.emptyMs,
                        kEmptyingGoalMs);
    met &= reportFigure(out, QStringLiteral("key stroke \"Smit\" -> \"Smith\", %1 lines").arg(big.smiths), big.smithMs,
                        kStrokeGoalMs);
    met &=
        reportFigure(out, QStringLiteral("key stroke \"S\" -> \"Sm\", %1 lines").arg(big.sms), big.smMs, kStrokeGoalMs);
    met &= reportFigure(out, QStringLiteral("key stroke \"Qu\" -> \"Que\", %1 lines").arg(big.rares), big.rareMs,
                        kStrokeGoalMs);
    out << "scale check: the same stroke at " << large << " cases against " << small << " cases (goal: at most "
        << kScaleGoal << " times)\n";
    auto scale = [&](const QString &stroke, int bigLines, double bigMs, int littleLines, double littleMs) {
        return reportFigure(out,
                            QStringLiteral("%1, %2 lines (%3 lines in %4 cases: %5 ms)")
                                .arg(stroke)
                                .arg(bigLines)
                                .arg(littleLines)
                                .arg(small)
                                .arg(littleMs, 0, 'f', 1),
                            bigMs, scaled(littleMs));
    };
    met &= scale(QStringLiteral("\"Smit\" -> \"Smith\""), big.smiths, big.smithMs, little.smiths, little.smithMs);
    met &= scale(QStringLiteral("\"Qu\" -> \"Que\""), big.rares, big.rareMs, little.rares, little.rareMs);
    Prompt::setBackend(nullptr);
    return met ? 0 : 1;
}
