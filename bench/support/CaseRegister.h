#pragma once
// The register of a large practice, for the benchmarks that open cases in the
// frame: a temporary clinic database of many short cases, and among them the
// cases the figures are about: a dog weighed weekly for twenty years (1,040
// entries), one weighed weekly for a year (52 entries) and a puppy of 22
// weeks (12 entries), young enough for the growth curves.
#include "cases/CaseRef.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"

#include <QDate>
#include <QLatin1String>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>

class CaseRegister {
public:
    static constexpr int kLongWeeks = 1040;
    static constexpr int kYearWeeks = 52;
    static constexpr int kPuppyWeeks = 12;

    /// Creates the database in a temporary folder, makes it the program's
    /// (DBFPath, DBFName) and fills it with `cases` cases in all.
    explicit CaseRegister(int cases = 100000)
    {
        AppState &s = App();
        s.DBFPath = m_dir.path() + QStringLiteral("/");
        s.DBFName = s.DBFPath + ClinicDb::kFileName;
        ClinicDb::create(s.DBFName);
        const QSqlDatabase db = ClinicDb::connection(s.DBFName);

        ClinicDb::Transaction tx(db);
        QSqlQuery q(db);
        q.prepare(QStringLiteral(
            "INSERT INTO [Clients] ([CaseNo], [Surname], [AnimalName], [Tel No], [Species], [DOB], [Sex], "
            "[Breed], [Units], [UpperWt], [LowerWt], [CurrentWt], [Graph Data], [Graph Data Undo], "
            "[Last Weighed], [Last Weighed Undo], [Vet Comments], [Active]) "
            "VALUES (?, ?, ?, '01632 960123', 'Dog', ?, 'Male', 'Labrador Retriever', 'kg', 32, 28, ?, ?, ?, "
            "?, ?, 'None', 1)"));
        const QDate lastWeighed(2025, 1, 6);
        // Born `weeksOld` weeks before the last weighing, weighed weekly for
        // `weeks` weeks from `first` to `last` kg.
        auto add = [&](int caseNo, const QString &surname, const QString &animal, int weeks, int weeksOld, float first,
                       float last) {
            QString history;
            float weight = first;
            for (int i = 0; i < weeks; ++i) {
                weight = first + (last - first) * i / std::max(1, weeks - 1);
                history += QString::number(weight, 'f', 1) + QLatin1Char(';');
            }
            q.addBindValue(caseNo);
            q.addBindValue(surname);
            q.addBindValue(animal);
            q.addBindValue(lastWeighed.addDays(-7 * weeksOld).toString(Qt::ISODate));
            q.addBindValue(weight);
            q.addBindValue(history);
            q.addBindValue(history);
            q.addBindValue(lastWeighed.toString(Qt::ISODate));
            q.addBindValue(lastWeighed.addDays(-7).toString(Qt::ISODate));
            if (!q.exec())
                qFatal("the register could not be filled");
        };
        // Labradors slowly losing weight towards their range, and a puppy growing.
        add(1, QStringLiteral("Smith"), QStringLiteral("Rex"), kLongWeeks, kLongWeeks + 10, 40, 29.6f);
        add(2, QStringLiteral("Jones"), QStringLiteral("Bella"), kYearWeeks, 200, 36, 31.5f);
        add(3, QStringLiteral("Brown"), QStringLiteral("Scamp"), kPuppyWeeks, 22, 6, 14.5f);
        const char *const surnames[] = {"Taylor", "Brown", "Davies", "Evans", "Wilson", "Thomas", "Roberts"};
        const char *const animals[] = {"Max", "Molly", "Charlie", "Daisy", "Buster", "Poppy", "Oscar"};
        for (int n = 4; n <= cases; ++n)
            add(n, QLatin1String(surnames[n % 7]) + QString::number(n % 1000), QLatin1String(animals[n % 7]), 1 + n % 8,
                60 + n % 300, 30, 31);
        tx.commit();
    }

    static CaseRef longCase() { return {QStringLiteral("1"), QStringLiteral("Smith"), QStringLiteral("Rex")}; }
    static CaseRef yearCase() { return {QStringLiteral("2"), QStringLiteral("Jones"), QStringLiteral("Bella")}; }
    static CaseRef puppyCase() { return {QStringLiteral("3"), QStringLiteral("Brown"), QStringLiteral("Scamp")}; }

private:
    QTemporaryDir m_dir;
};
