#pragma once
// A large practice's case register for the benchmarks of the lists (the case
// locator and the reminders), and the frame they are opened from.
//
// The register is made in a temporary folder with settings of its own, so
// that a benchmark never touches the user's database or settings. Its cases
// are realistic: the surnames of a practice's clients with the frequencies
// surnames have (the most frequent, Smith, about one case in 23), a long tail
// of rare place-name surnames, 50 cases of the rare surname kRareSurname
// whatever the size, and last weighings as a practice has them: about a third
// on a weight programme and weighed within the last eight weeks, the rest
// spread over the last three years, a few never weighed; about one case in
// six inactive.
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"
#include "shell/frmMain.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

namespace LargeRegister {

// Common surnames of a practice's clients, most frequent first; the
// frequencies fall off with the rank as surname frequencies do.
inline const char *const kSurnames[] = {
    "Smith",      "Jones",     "Williams", "Taylor",      "Brown",     "Davies",    "Evans",      "Wilson",
    "Thomas",     "Johnson",   "Roberts",  "Robinson",    "Thompson",  "Wright",    "Walker",     "White",
    "Edwards",    "Hughes",    "Green",    "Hall",        "Lewis",     "Harris",    "Clarke",     "Patel",
    "Jackson",    "Wood",      "Turner",   "Martin",      "Cooper",    "Hill",      "Ward",       "Morris",
    "Moore",      "Clark",     "Lee",      "King",        "Baker",     "Harrison",  "Morgan",     "Allen",
    "James",      "Scott",     "Phillips", "Watson",      "Davis",     "Parker",    "Price",      "Bennett",
    "Young",      "Griffiths", "Mitchell", "Kelly",       "Cook",      "Carter",    "Richardson", "Bailey",
    "Collins",    "Bell",      "Shaw",     "Murphy",      "Miller",    "Cox",       "Richards",   "Khan",
    "Marshall",   "Anderson",  "Simpson",  "Ellis",       "Adams",     "Singh",     "Begum",      "Wilkinson",
    "Foster",     "Chapman",   "Powell",   "Webb",        "Rogers",    "Gray",      "Mason",      "Ali",
    "Hunt",       "Hussain",   "Campbell", "Matthews",    "Owen",      "Palmer",    "Holmes",     "Mills",
    "Barnes",     "Knight",    "Lloyd",    "Butler",      "Russell",   "Barker",    "Fisher",     "Stevens",
    "Jenkins",    "Murray",    "Dixon",    "Harvey",      "Graham",    "Pearson",   "Ahmed",      "Fletcher",
    "Walsh",      "Kaur",      "Gibson",   "Howard",      "Andrews",   "Stewart",   "Elliott",    "Reynolds",
    "Saunders",   "Payne",     "Fox",      "Ford",        "Pearce",    "Day",       "Brooks",     "West",
    "Lawrence",   "Cole",      "Atkinson", "Bradley",     "Spencer",   "Gill",      "Dawson",     "Ball",
    "Burton",     "O'Brien",   "Watts",    "Rose",        "Booth",     "Perry",     "Ryan",       "Grant",
    "Wells",      "Armstrong", "Francis",  "Rees",        "Hayes",     "Hart",      "Hudson",     "Newman",
    "Barrett",    "Webster",   "Hunter",   "Gregory",     "Carr",      "Lowe",      "Page",       "Marsh",
    "Riley",      "Dunn",      "Woods",    "Parsons",     "Berry",     "Stone",     "Reid",       "Holland",
    "Hawkins",    "Harding",   "Porter",   "Robertson",   "Newton",    "Oliver",    "Reed",       "Kennedy",
    "Williamson", "Bird",      "Gardner",  "Shah",        "Dean",      "Lane",      "Cooke",      "Bates",
    "Henderson",  "Parry",     "Burgess",  "Bishop",      "Walton",    "Burns",     "Nicholson",  "Shepherd",
    "Ross",       "Cross",     "Long",     "Freeman",     "Warren",    "Nicholls",  "Hamilton",   "Byrne",
    "Sutton",     "McDonald",  "Yates",    "Hodgson",     "Robson",    "Curtis",    "Hopkins",    "O'Connor",
    "Harper",     "Coleman",   "Watkins",  "Moss",        "McCarthy",  "Chambers",  "O'Neill",    "Griffin",
    "Sharp",      "Hardy",     "Wheeler",  "Potter",      "Osborne",   "Johnston",  "Gordon",     "Doyle",
    "Wallace",    "George",    "Jordan",   "Hutchinson",  "Müller",    "Schmidt",   "Schneider",  "Fischer",
    "Weber",      "Meyer",     "Wagner",   "Becker",      "Schulz",    "Hoffmann",  "Andersson",  "Johansson",
    "Karlsson",   "Nilsson",   "Eriksson", "Larsson",     "Olsson",    "Persson",   "Svensson",   "Ångström",
    "Öberg",      "Åkesson",   "Nguyễn",   "Trần",        "García",    "Fernández", "López",      "Martínez",
    "Sánchez",    "Pérez",     "Gómez",    "Rossi",       "Russo",     "Ferrari",   "Esposito",   "Bianchi",
    "Romano",     "Colombo",   "Dubois",   "Lefèvre",     "Moreau",    "Laurent",   "Simon",      "Michel",
    "Leroy",      "Roux",      "David",    "Bertrand",    "Morel",     "Kowalski",  "Nowak",      "Wiśniewski",
    "Wójcik",     "Kowalczyk", "Kamiński", "Lewandowski", "Zieliński", "Smithson",  "Smart",      "Small",
    "Smalley",    "Smethurst", "Smyth",    "Smithers",    "Smales",    "Smeaton",   "Smillie",
};
// The long tail: place-name surnames, each rare.
inline const char *const kHeads[] = {"Ash",   "Black", "Brad", "Brook", "Cald",  "Cart", "Chad", "Dal",  "East",
                                     "Fair",  "Gold",  "Hal",  "Holm",  "Kings", "Lang", "Mar",  "Mid",  "North",
                                     "Oak",   "Pen",   "Red",  "Ring",  "Rox",   "Sand", "Shel", "Stan", "Sum",
                                     "Thorn", "Wad",   "Whit", "Wood",  "Yar",   "Cul",  "Fen",  "Lind", "Mel"};
inline const char *const kTails[] = {"bury",  "by",     "croft", "dale", "den", "field", "ford", "ham",
                                     "hurst", "ington", "ley",   "more", "ton", "well",  "wick", "worth"};
inline const char *const kAnimals[] = {"Rex",    "Bella", "Max",   "Molly",  "Charlie", "Daisy", "Buster", "Poppy",
                                       "Oscar",  "Luna",  "Milo",  "Tilly",  "Bailey",  "Rosie", "Alfie",  "Ruby",
                                       "Felix",  "Coco",  "Toby",  "Lola",   "Jasper",  "Nala",  "Archie", "Bonnie",
                                       "Sixten", "Mog",   "Tiger", "Smudge", "Pepper",  "Ziggy", "Bruno",  "Maisie"};
inline const char *const kSpecies[] = {"Dog", "Dog", "Dog", "Cat", "Cat", "Rabbit", "Ferret"};

/// The surname that only kRareCases cases carry, whatever the register's size.
inline const QString kRareSurname = QStringLiteral("Quenby");
constexpr int kRareCases = 50;

/// Settings, data and runtime folders of the benchmark's own; call before the
/// application object is made.
inline void isolate(const QTemporaryDir &home)
{
    for (const char *sub : {"config", "data", "runtime"})
        QDir().mkpath(home.path() + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path() + QStringLiteral("/runtime")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

/// Make a register of `cases` cases in folder (ending in "/"), last weighed as
/// seen from `today`, and make it the program's database. The connection is
/// closed afterwards, so that the program opens it as at a start.
inline void make(const QString &folder, int cases, const QDate &today)
{
    App().DBFPath = folder;
    App().DBFName = folder + ClinicDb::kFileName;
    QFile::remove(App().DBFName);
    ClinicDb::create(App().DBFName);
    const QSqlDatabase db = ClinicDb::connection(App().DBFName);

    QRandomGenerator rng(20261206);
    const int nSurnames = int(std::size(kSurnames));
    std::vector<double> cumulative(nSurnames);
    double sum = 0;
    for (int i = 0; i < nSurnames; ++i)
        cumulative[i] = (sum += 1.0 / std::pow(i + 1, 0.7));
    const int rareEvery = std::max(1, cases / kRareCases);

    ClinicDb::Transaction tx(db);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO [Clients] ([CaseNo], [Surname], [AnimalName], [Tel No], [Species], "
                             "[Units], [UpperWt], [LowerWt], [CurrentWt], [Graph Data], [Last Weighed], [Active]) "
                             "VALUES (?, ?, ?, ?, ?, 'kg', ?, ?, ?, '12.5;', ?, ?)"));
    for (int n = 1; n <= cases; ++n) {
        QString surname;
        if (n % rareEvery == 0 && n / rareEvery <= kRareCases) {
            surname = kRareSurname;
        } else if (rng.bounded(100) < 35) {
            surname = QString::fromUtf8(kHeads[rng.bounded(int(std::size(kHeads)))]) +
                      QString::fromUtf8(kTails[rng.bounded(int(std::size(kTails)))]);
        } else {
            const double r = rng.generateDouble() * sum;
            const int i = int(std::lower_bound(cumulative.begin(), cumulative.end(), r) - cumulative.begin());
            surname = QString::fromUtf8(kSurnames[std::min(i, nSurnames - 1)]);
            // Double-barrelled names and a few written in capitals, as typed.
            const quint32 shape = rng.bounded(100);
            if (shape < 3)
                surname += QLatin1Char('-') + QString::fromUtf8(kSurnames[rng.bounded(nSurnames)]);
            else if (shape < 5)
                surname = surname.toUpper();
        }
        const quint32 kind = rng.bounded(100);
        QVariant last;
        if (kind < 33)
            last = today.addDays(-int(rng.bounded(56))).toString(Qt::ISODate);
        else if (kind < 99)
            last = today.addDays(-int(rng.bounded(3 * 365))).toString(Qt::ISODate);
        const double lower = 4 + rng.bounded(30);
        q.addBindValue(n);
        q.addBindValue(surname);
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
    ClinicDb::closeAll();
}

/// The frame as the user has it: shown, at a desktop's size, with nothing
/// else open.
inline void showFrame(frmMain &frame)
{
    frame.setEndProgram([] {});
    frame.resize(1280, 900);
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame))
        qFatal("the frame was never shown");
}

} // namespace LargeRegister
