// How fast the case locator lists and narrows a large register.
//
//   bench_locator [cases]     (default 100000)
//
// Builds a temporary database of realistic cases, opens the locator as the
// frame does (bind Data1, press LoadList, show) and times:
//   - the opening, with every case listed and painted;
//   - one key stroke narrowing "S" to "Sm" (a few thousand lines);
//   - one key stroke narrowing "Smit" to "Smith", whose first screen is the
//     most frequent surname: all its cases are read and put in order of the
//     animals' names before the first line shows;
//   - one key stroke that leaves about 50 cases, in the large register and in
//     one of 1,000 cases: the ratio shows whether the search uses the index.
// Budgets: opening 100 ms, each narrowing 16 ms, ratio 1.5. Prints the figures and
// exits with 1 when a budget is missed. Not part of ctest.
#include "cases/CaseListModel.h"
#include "cases/fmLocator.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "support/Median.h"
#include "support/QuietPrompt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Common surnames of a practice's clients, most frequent first; the
// frequencies fall off with the rank as surname frequencies do.
const char *const kSurnames[] = {
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
const char *const kHeads[] = {"Ash",   "Black", "Brad", "Brook", "Cald",  "Cart", "Chad", "Dal",  "East",
                              "Fair",  "Gold",  "Hal",  "Holm",  "Kings", "Lang", "Mar",  "Mid",  "North",
                              "Oak",   "Pen",   "Red",  "Ring",  "Rox",   "Sand", "Shel", "Stan", "Sum",
                              "Thorn", "Wad",   "Whit", "Wood",  "Yar",   "Cul",  "Fen",  "Lind", "Mel"};
const char *const kTails[] = {"bury",  "by",     "croft", "dale", "den", "field", "ford", "ham",
                              "hurst", "ington", "ley",   "more", "ton", "well",  "wick", "worth"};

const char *const kAnimals[] = {"Rex",    "Bella", "Max",   "Molly",  "Charlie", "Daisy", "Buster", "Poppy",
                                "Oscar",  "Luna",  "Milo",  "Tilly",  "Bailey",  "Rosie", "Alfie",  "Ruby",
                                "Felix",  "Coco",  "Toby",  "Lola",   "Jasper",  "Nala",  "Archie", "Bonnie",
                                "Sixten", "Mog",   "Tiger", "Smudge", "Pepper",  "Ziggy", "Bruno",  "Maisie"};
const char *const kSpecies[] = {"Dog", "Dog", "Dog", "Cat", "Cat", "Rabbit", "Ferret"};

// Surnames that only the ~50 cases of the rare-prefix measurement carry.
const QString kRare = QStringLiteral("Quenby");
constexpr int kRareCases = 50;

void fill(const QSqlDatabase &db, int cases)
{
    QRandomGenerator rng(20240110);
    const int nSurnames = int(std::size(kSurnames));
    std::vector<double> cumulative(nSurnames);
    double sum = 0;
    for (int i = 0; i < nSurnames; ++i)
        cumulative[i] = (sum += 1.0 / std::pow(i + 1, 0.7));

    ClinicDb::Transaction tx(db);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO [Clients] ([CaseNo], [Surname], [AnimalName], [Tel No], [Species], "
                             "[Units], [Graph Data], [Active]) VALUES (?, ?, ?, ?, ?, 'kg', '12.5;', 1)"));
    for (int n = 1; n <= cases; ++n) {
        QString surname;
        if (n % (cases / kRareCases) == 0 && n / (cases / kRareCases) <= kRareCases) {
            surname = kRare;
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
        q.addBindValue(n);
        q.addBindValue(surname);
        q.addBindValue(QString::fromUtf8(kAnimals[rng.bounded(int(std::size(kAnimals)))]));
        q.addBindValue(QStringLiteral("01632 %1").arg(rng.bounded(100000, 999999)));
        q.addBindValue(QString::fromUtf8(kSpecies[rng.bounded(int(std::size(kSpecies)))]));
        if (!q.exec())
            qFatal("insert failed");
    }
    tx.commit();
}

void typeKey(fmLocator *loc, const QString &text, int key = 0)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(loc->Narrower, &press);
    QApplication::sendEvent(loc->Narrower, &release);
}

/// Let the window take in what changed and paint the list now: the lines
/// shown are read while they are painted, so a measurement must include it.
void settle(fmLocator *loc)
{
    QApplication::processEvents();
    loc->ClientListing->viewport()->repaint();
}

struct Figures {
    double openMs = 0;
    int listed = 0;
    double narrowMs = 0;
    int narrowed = 0;
    double commonMs = 0;
    int common = 0;
    double rareMs = 0;
    int rare = 0;
    double firstMs = 0;
    int first = 0;
};

/// Time the key stroke that turns `before` into `before + ch`, as the median of
/// several strokes (each undone with a backspace).
double timeKeyStroke(fmLocator *loc, const QString &before, const QString &ch, int *lines)
{
    loc->Narrower->setText(before);
    loc->Narrower->end(false);
    std::vector<double> times;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer t;
        t.start();
        typeKey(loc, ch);
        settle(loc);
        times.push_back(t.nsecsElapsed() / 1e6);
        *lines = loc->listModel()->rowCount();
        typeKey(loc, QString(QChar(8)), Qt::Key_Backspace);
        QApplication::processEvents();
    }
    return median(times);
}

Figures measure(int cases)
{
    QTemporaryDir dir;
    App().DBFPath = dir.path() + QLatin1Char('/');
    App().DBFName = App().DBFPath + ClinicDb::kFileName;
    ClinicDb::create(App().DBFName);
    fill(ClinicDb::connection(App().DBFName), cases);
    ClinicDb::closeAll(); // start as the program does, with a cold connection

    Figures f;
    std::vector<double> opens;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        auto *loc = new fmLocator;
        BindToClinicDB(*loc->Data1);
        loc->LoadList_Click();
        loc->show();
        settle(loc);
        opens.push_back(t.nsecsElapsed() / 1e6);
        f.listed = loc->listModel()->rowCount();
        if (round == 4) {
            f.firstMs = timeKeyStroke(loc, QString(), QStringLiteral("S"), &f.first);
            f.narrowMs = timeKeyStroke(loc, QStringLiteral("S"), QStringLiteral("m"), &f.narrowed);
            f.commonMs = timeKeyStroke(loc, QStringLiteral("Smit"), QStringLiteral("h"), &f.common);
            f.rareMs = timeKeyStroke(loc, QStringLiteral("Qu"), QStringLiteral("e"), &f.rare);
        }
        delete loc;
    }
    f.openMs = median(opens);
    ClinicDb::closeAll();
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QuietPrompt prompt;
    Prompt::setBackend(&prompt);
    const int large = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;

    const Figures big = measure(large);
    const Figures small = measure(1000);
    const double ratio = small.rareMs > 0 ? big.rareMs / small.rareMs : 0;

    QTextStream out(stdout);
    out << "case locator, " << large << " cases\n";
    out << QStringLiteral("  opening, all listed:        %1 ms  (%2 lines; budget 100 ms)\n")
               .arg(big.openMs, 0, 'f', 1)
               .arg(big.listed);
    out << QStringLiteral("  key stroke \"\" -> S:          %1 ms  (%2 lines)\n")
               .arg(big.firstMs, 0, 'f', 2)
               .arg(big.first);
    out << QStringLiteral("  key stroke S -> Sm:         %1 ms  (%2 lines; budget 16 ms)\n")
               .arg(big.narrowMs, 0, 'f', 2)
               .arg(big.narrowed);
    out << QStringLiteral("  key stroke Smit -> Smith:   %1 ms  (%2 lines; budget 16 ms)\n")
               .arg(big.commonMs, 0, 'f', 2)
               .arg(big.common);
    out << QStringLiteral("  key stroke Qu -> Que:       %1 ms  (%2 lines)\n").arg(big.rareMs, 0, 'f', 3).arg(big.rare);
    out << QStringLiteral("  same in 1000 cases:         %1 ms  (%2 lines)\n")
               .arg(small.rareMs, 0, 'f', 3)
               .arg(small.rare);
    out << QStringLiteral("  ratio %1 / 1000 cases:     %2  (budget 1.5)\n").arg(large).arg(ratio, 0, 'f', 2);
    out.flush();

    Prompt::setBackend(nullptr);
    const bool ok = big.openMs <= 100 && big.narrowMs <= 16 && big.commonMs <= 16 && ratio <= 1.5;
    return ok ? 0 : 1;
}
