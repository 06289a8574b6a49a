// How fast the diet picker opens and narrows a large catalogue.
//
//   bench_diets [diets]     (default 2000)
//
// Builds a temporary database whose catalogue holds the given number of diets
// (half for dogs, half for cats, under the shipped condition codes), opens the
// picker as the diet calculator does (bind Data1, press LoadListSpecies, show
// with the tree built and the species' list painted) and times:
//   - the opening, as the median of several openings (the first, with a cold
//     connection, is printed apart);
//   - one key stroke in the name search with the list refilled and painted:
//     "" -> "r" (most of the species) and "re" -> "ren" (a few hundred).
// Budgets: opening 100 ms, a key stroke 16 ms, both medians. Prints the
// figures and exits with 1 when a budget is missed. Not part of ctest.
#include "diets/fmDiets.h"
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
#include <QListWidget>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

const char *const kPurposes[] = {
    "Renal Support",        "Early Renal",
    "Hepatic Support",      "Cardiac Support",
    "Gastrointestinal",     "Low Fat",
    "High Fibre",           "Weight Reduction",
    "Weight Control",       "Diabetes Support",
    "Struvite Dissolution", "Oxalate Prevention",
    "Urate Prevention",     "Hydrolysed Protein",
    "Novel Protein",        "Puppy Growth",
    "Adult Maintenance",    "Senior Maintenance",
    "Critical Care",        "Recovery",
    "Dental Care",          "Joint Support",
    "Skin Support",         "Hairball Control",
    "Oncology Support",
};
const char *const kForms[] = {"Dry", "Canned", "Pouch", "Stew", "Loaf", "Mini Dry"};
const char *const kCodes[] = {"REN",    "RENE",  "HEP",   "CAR",   "GIT",   "GICOL", "GEOBW", "ENDDM", "URO",
                              "UROSTD", "LIFGR", "LIFAD", "LIFSE", "RECCC", "INGDC", "ORT",   "SENSK"};

void fill(const QSqlDatabase &db, int diets)
{
    QRandomGenerator rng(20240611);
    ClinicDb::Transaction tx(db);
    ClinicDb::exec(db, QStringLiteral("DELETE FROM [Diets]"));
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], "
                             "[ME Dry], [ME Can], [KCal per cup dry], [Form Dry], [Form Can]) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int n = 1; n <= diets; ++n) {
        const QString species = n % 2 ? QStringLiteral("Canine") : QStringLiteral("Feline");
        const QString name = QStringLiteral("%1 %2 %3 %4")
                                 .arg(species, QString::fromUtf8(kPurposes[rng.bounded(int(std::size(kPurposes)))]),
                                      QString::fromUtf8(kForms[rng.bounded(int(std::size(kForms)))]))
                                 .arg(n);
        QString category = QStringLiteral(";");
        for (int c = 0; c < 3; ++c)
            category += QString::fromUtf8(kCodes[rng.bounded(int(std::size(kCodes)))]) + QLatin1Char(';');
        q.addBindValue(name);
        q.addBindValue(category);
        q.addBindValue(QStringLiteral("Indicated for the condition its name gives."));
        q.addBindValue(QStringLiteral("Growth, pregnancy and lactation."));
        q.addBindValue(280 + rng.bounded(140));
        q.addBindValue(70 + rng.bounded(70));
        q.addBindValue(300 + rng.bounded(150));
        q.addBindValue(2 + rng.bounded(10));
        q.addBindValue(n % 2 ? 400 : 85);
        if (!q.exec())
            qFatal("insert failed");
    }
    tx.commit();
}

/// Let the window take in what changed and paint its list now.
void settle(fmDiets *w)
{
    QApplication::processEvents();
    w->findChild<QListWidget *>(QStringLiteral("DietListing"))->viewport()->repaint();
}

void typeKey(QLineEdit *box, const QString &text, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
    QApplication::sendEvent(box, &release);
}

fmDiets *open()
{
    auto *w = new fmDiets(QStringLiteral("canine"));
    BindToClinicDB(*w->Data1);
    w->LoadListSpecies_Click();
    w->show();
    settle(w);
    return w;
}

/// The median time of the key stroke that turns `before` into `before + ch`,
/// each stroke undone with a backspace; lines is the list's length after it.
double timeKeyStroke(fmDiets *w, const QString &before, const QString &ch, int *lines)
{
    auto *box = w->findChild<QLineEdit *>(QStringLiteral("Narrower"));
    auto *list = w->findChild<QListWidget *>(QStringLiteral("DietListing"));
    box->setText(before);
    w->Narrower_Change();
    box->end(false);
    std::vector<double> times;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer t;
        t.start();
        typeKey(box, ch, 0);
        settle(w);
        times.push_back(t.nsecsElapsed() / 1e6);
        *lines = list->count();
        typeKey(box, QString(QChar(8)), Qt::Key_Backspace);
        QApplication::processEvents();
    }
    return median(times);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QuietPrompt prompt;
    Prompt::setBackend(&prompt);
    const int diets = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 2000;

    QTemporaryDir dir;
    App().DBFPath = dir.path() + QLatin1Char('/');
    App().DBFName = App().DBFPath + ClinicDb::kFileName;
    ClinicDb::create(App().DBFName);
    fill(ClinicDb::connection(App().DBFName), diets);
    ClinicDb::closeAll(); // the first opening meets a cold connection, as in the program

    std::vector<double> opens;
    int listed = 0;
    double firstOpen = 0;
    for (int round = 0; round < 11; ++round) {
        QElapsedTimer t;
        t.start();
        fmDiets *w = open();
        const double ms = t.nsecsElapsed() / 1e6;
        if (round == 0)
            firstOpen = ms;
        else
            opens.push_back(ms);
        listed = w->findChild<QListWidget *>(QStringLiteral("DietListing"))->count();
        delete w;
    }
    const double openMs = median(opens);

    fmDiets *w = open();
    w->LocateMode_Click();
    const int boxesBefore = prompt.boxes;
    int wide = 0, narrow = 0;
    const double wideMs = timeKeyStroke(w, QString(), QStringLiteral("r"), &wide);
    const double narrowMs = timeKeyStroke(w, QStringLiteral("re"), QStringLiteral("n"), &narrow);
    const bool quiet = prompt.boxes == boxesBefore;
    delete w;

    QTextStream out(stdout);
    out << "diet picker, " << diets << " diets\n";
    out << QStringLiteral("  first opening (cold):       %1 ms\n").arg(firstOpen, 0, 'f', 1);
    out << QStringLiteral("  opening, species listed:    %1 ms  (%2 lines; budget 100 ms)\n")
               .arg(openMs, 0, 'f', 1)
               .arg(listed);
    out << QStringLiteral("  key stroke \"\" -> r:         %1 ms  (%2 lines; budget 16 ms)\n")
               .arg(wideMs, 0, 'f', 2)
               .arg(wide);
    out << QStringLiteral("  key stroke re -> ren:       %1 ms  (%2 lines; budget 16 ms)\n")
               .arg(narrowMs, 0, 'f', 2)
               .arg(narrow);
    if (!quiet)
        out << "  a message box was shown during a key stroke\n";
    out.flush();

    Prompt::setBackend(nullptr);
    ClinicDb::closeAll();
    const bool ok = openMs <= 100 && wideMs <= 16 && narrowMs <= 16 && quiet;
    return ok ? 0 : 1;
}
