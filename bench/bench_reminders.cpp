// How fast the re-weighing reminders load on a large register.
//
//   bench_reminders [cases]     (default 100000)
//
// Builds a temporary database of cases with realistic last weighings: about a
// third on a weight programme and weighed within the last eight weeks, the
// rest spread over the last three years, a few never weighed; about one in
// six inactive. Then, for each of several days in turn, times:
//   - the first load of the day: the days since the last weighing written
//     into every weighed row (each has moved on by a day), the due cases
//     queried and their lines built;
//   - a second load the same day, which has nothing to write.
// Budgets (medians): first load 300 ms, second load 100 ms. Prints the
// figures and exits with 1 when a budget is missed. Not part of ctest.
#include "curves_reports/Reminders.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"
#include "support/Median.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

const char *const kSurnames[] = {"Smith",  "Jones",  "Williams", "Taylor",   "Brown",    "Davies", "Evans",
                                 "Wilson", "Thomas", "Johnson",  "Roberts",  "Walker",   "Wright", "O'Brien",
                                 "Müller", "García", "Nguyễn",   "Ångström", "Kowalski", "Patel"};
const char *const kAnimals[] = {"Rex", "Bella", "Max", "Molly", "Charlie", "Daisy", "Buster", "Poppy", "Oscar", "Luna"};
const char *const kSpecies[] = {"Dog", "Dog", "Dog", "Cat", "Cat", "Rabbit"};

void fill(const QSqlDatabase &db, int cases, const QDate &today)
{
    QRandomGenerator rng(20261206);
    ClinicDb::Transaction tx(db);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO [Clients] ([CaseNo], [Surname], [AnimalName], [Tel No], [Species], "
                             "[Units], [UpperWt], [LowerWt], [CurrentWt], [Graph Data], [Last Weighed], [Active]) "
                             "VALUES (?, ?, ?, ?, ?, 'kg', ?, ?, ?, '12.5;', ?, ?)"));
    for (int n = 1; n <= cases; ++n) {
        const quint32 kind = rng.bounded(100);
        QVariant last;
        if (kind < 33)
            last = today.addDays(-int(rng.bounded(56))).toString(Qt::ISODate);
        else if (kind < 99)
            last = today.addDays(-int(rng.bounded(3 * 365))).toString(Qt::ISODate);
        const double lower = 4 + rng.bounded(30);
        q.addBindValue(n);
        q.addBindValue(QString::fromUtf8(kSurnames[rng.bounded(int(std::size(kSurnames)))]));
        q.addBindValue(QString::fromUtf8(kAnimals[rng.bounded(int(std::size(kAnimals)))]));
        q.addBindValue(QStringLiteral("01632 %1").arg(rng.bounded(100000, 999999)));
        q.addBindValue(QString::fromUtf8(kSpecies[rng.bounded(int(std::size(kSpecies)))]));
        q.addBindValue(lower + 5);
        q.addBindValue(lower);
        q.addBindValue(double(float(lower + rng.bounded(100) / 10.0)));
        q.addBindValue(last);
        q.addBindValue(rng.bounded(6) == 0 ? 0 : 1);
        if (!q.exec())
            qFatal("insert failed");
    }
    tx.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int cases = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;

    QTemporaryDir dir;
    App().DBFPath = dir.path() + QLatin1Char('/');
    App().DBFName = App().DBFPath + ClinicDb::kFileName;
    ClinicDb::create(App().DBFName);
    const QDate start(2026, 12, 6);
    fill(ClinicDb::connection(App().DBFName), cases, start);
    ClinicDb::closeAll();

    std::vector<double> firsts, seconds;
    int written = 0, lines = 0, rewritten = 0;
    {
        const QSqlDatabase db = ClinicDb::connection(App().DBFName);
        // The register's [Aged] as the load of the day before left it.
        Reminders::load(db, start.addDays(-1));
        for (int day = 0; day < 7; ++day) {
            const QDate today = start.addDays(day);
            QElapsedTimer t;
            t.start();
            const Reminders::Load first = Reminders::load(db, today);
            firsts.push_back(t.nsecsElapsed() / 1e6);
            t.restart();
            const Reminders::Load second = Reminders::load(db, today);
            seconds.push_back(t.nsecsElapsed() / 1e6);
            written = first.agedWritten;
            lines = int(first.lines.size());
            rewritten = std::max(rewritten, second.agedWritten);
        }
    }
    const double firstMs = median(firsts);
    const double secondMs = median(seconds);

    QTextStream out(stdout);
    out << "reminder load, " << cases << " cases, median of " << firsts.size() << " days\n";
    out << QStringLiteral("  first load of the day:  %1 ms  (%2 rows' Aged written, %3 lines; budget 300 ms)\n")
               .arg(firstMs, 0, 'f', 1)
               .arg(written)
               .arg(lines);
    out << QStringLiteral("  second load, same day:  %1 ms  (%2 rows written; budget 100 ms)\n")
               .arg(secondMs, 0, 'f', 1)
               .arg(rewritten);
    out.flush();
    ClinicDb::closeAll();
    return firstMs <= 300 && secondMs <= 100 && rewritten == 0 ? 0 : 1;
}
