// The picker's queries over a real database: the lists by species, condition
// and name (typed text matched literally and case-blind beyond ASCII, the
// species kept), rows without a name, reading a diet, and the practice's own
// diets added (duplicates refused, nothing half-stored) and deleted.
#include "diets/DietCatalogue.h"
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "support/Checks.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

void addCatalogueRow(const QSqlDatabase &db, const QVariant &name, const QString &category = ";LIFAD;")
{
    ClinicDb::exec(db,
                   "INSERT INTO [Diets] ([Generic], [Category], [ME Dry], [ME Can], [KCal per cup dry], [Form Dry], "
                   "[Form Can]) VALUES (?, ?, 350, 90, 330, 4, 85)",
                   {name, category});
}

int ownCount(const QSqlDatabase &db)
{
    return rowCount(db, "Diets Added");
}

Diet own(const QString &name)
{
    Diet d;
    d.generic = name;
    d.indications = "Our own";
    d.contraindications = "None known";
    d.meDry = 365.5;
    d.meCan = 0;
    d.kcalPerCup = 340;
    d.formDry = 2;
    return d;
}

// Names that hold what a pattern or a quoted statement would take as syntax.
const QStringList kAwkwardNames = {
    "Feline 100% Lean", "Feline 1000 Lean",   "Feline Under_score", "Feline Underscore", "Feline [Bracket]",
    "Feline Bracket",   "Feline Star*",       "Feline Starling",    "Feline Q?",         "Feline Qx",
    "Feline Hash#1",    "Feline Hash21",      "Feline O'Malley",    "Feline Quote\"d",   "Feline Back\\slash",
    "FELINE ÉCLAIR",    "Feline Straße über",
};

} // namespace

class DietCatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void speciesListHoldsOnlyThatSpecies()
    {
        TestEnv env;
        DietCatalogue catalogue(env.db());
        ClinicDb::exec(env.db(), "INSERT INTO [Diets Added] ([Generic]) VALUES ('Feline Practice Own')");
        const DietListing feline = catalogue.bySpecies("feline");
        QCOMPARE(feline.table, DietTable::Catalogue);
        QVERIFY(feline.names.size() >= 20);
        for (const QString &name : feline.names)
            QVERIFY2(name.contains("feline", Qt::CaseInsensitive) && !name.contains("Canine"), qPrintable(name));
        QVERIFY(!feline.names.contains("Feline Practice Own"));
        QStringList sorted = feline.names;
        DietCatalogue::sortNames(sorted);
        QCOMPARE(feline.names, sorted);
    }

    void rowsWithoutANameAreSkippedNotTheEnd()
    {
        TestEnv env;
        const QSqlDatabase db = env.db();
        addCatalogueRow(db, QVariant(QMetaType(QMetaType::QString)), ";LIFAD;");
        addCatalogueRow(db, "", ";LIFAD;");
        addCatalogueRow(db, "   ", ";LIFAD;");
        addCatalogueRow(db, "Feline Zz After The Blanks", ";LIFAD;");
        DietCatalogue catalogue(db);
        const QStringList all = catalogue.byCode("LIFAD", "").names;
        QVERIFY(all.contains("Feline Zz After The Blanks"));
        QVERIFY(all.contains("Canine Adult Maintenance"));
        for (const QString &name : all)
            QVERIFY(!name.trimmed().isEmpty());

        ClinicDb::exec(db, "INSERT INTO [Diets Added] ([Generic]) VALUES (NULL), ('Canine Own')");
        QCOMPARE(catalogue.added().names, QStringList{"Canine Own"});
    }

    void conditionFindsItsCodeOnly()
    {
        TestEnv env;
        const QSqlDatabase db = env.db();
        addCatalogueRow(db, "Feline Three Twelve Forty", ";3;12;40;");
        addCatalogueRow(db, "Feline One Twelve", ";112;");
        addCatalogueRow(db, "Feline A Any C", ";ABC;");
        addCatalogueRow(db, "Canine Twelve", ";12;");
        DietCatalogue catalogue(db);
        QCOMPARE(catalogue.byCode("12", "feline").names, QStringList{"Feline Three Twelve Forty"});
        QCOMPARE(catalogue.byCode("12", "canine").names, QStringList{"Canine Twelve"});
        // A code is matched literally: "_" is not a wildcard.
        QVERIFY(catalogue.byCode("A_C", "feline").names.isEmpty());

        // Node by node: the shipped index and catalogue.
        const DietListing renal = catalogue.byNode(67, "canine");
        QCOMPARE(renal.table, DietTable::Catalogue);
        QVERIFY(renal.names.contains("Canine Renal Support"));
        for (const QString &name : renal.names)
            QVERIFY2(name.contains("Canine"), qPrintable(name));
        // A node no diet of the species carries: an empty list, no error.
        QVERIFY(catalogue.byNode(16, "canine").names.isEmpty()); // Hyperthyroidism

        // A node without a row in the index is an error, not an empty list.
        ClinicDb::exec(db, "DELETE FROM [Category Codes Diets] WHERE [Node Index] = 67");
        QCOMPARE(errorOf([&] { catalogue.byNode(67, "canine"); }), ErrNo::NoCurrentRecord);

        // "Added" lists the own diets of both species, from their own table.
        ClinicDb::exec(db, "INSERT INTO [Diets Added] ([Generic]) VALUES ('Feline Own'), ('Canine Own')");
        const DietListing added = catalogue.byNode(91, "feline");
        QCOMPARE(added.table, DietTable::Added);
        QCOMPARE(added.names, (QStringList{"Canine Own", "Feline Own"}));
    }

    void nameSearchIsLiteralAndCaseBlind_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("percent") << "0%" << QStringList{"Feline 100% Lean"};
        QTest::newRow("underscore") << "r_s" << QStringList{"Feline Under_score"};
        QTest::newRow("bracket") << "[b" << QStringList{"Feline [Bracket]"};
        QTest::newRow("asterisk") << "r*" << QStringList{"Feline Star*"};
        QTest::newRow("question mark") << "q?" << QStringList{"Feline Q?"};
        QTest::newRow("hash") << "h#" << QStringList{"Feline Hash#1"};
        QTest::newRow("apostrophe") << "o'm" << QStringList{"Feline O'Malley"};
        QTest::newRow("double quote") << "e\"d" << QStringList{"Feline Quote\"d"};
        QTest::newRow("backslash") << "k\\s" << QStringList{"Feline Back\\slash"};
        QTest::newRow("beyond ASCII, other case") << "éclair" << QStringList{"FELINE ÉCLAIR"};
        QTest::newRow("capitals beyond ASCII") << "STRAßE ÜBER" << QStringList{"Feline Straße über"};
        QTest::newRow("nothing like it") << "%_[" << QStringList{};
        // The species stays: a cat's picker never lists dog diets.
        QTest::newRow("other species") << "canine" << QStringList{};
    }

    void nameSearchIsLiteralAndCaseBlind()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        TestEnv env;
        for (const QString &name : kAwkwardNames)
            addCatalogueRow(env.db(), name);
        DietCatalogue catalogue(env.db());
        QCOMPARE(catalogue.byName(typed, "feline").names, found);
    }

    void nameSearchNarrowsAndWidensWithinTheSpecies()
    {
        TestEnv env;
        DietCatalogue catalogue(env.db());
        const QStringList all = catalogue.bySpecies("canine").names;
        QCOMPARE(catalogue.byName("", "canine").names, all);
        const QStringList ren = catalogue.byName("ren", "canine").names;
        QVERIFY(ren.contains("Canine Renal Support"));
        QVERIFY(!ren.contains("Canine Hepatic Support"));
        for (const QString &name : ren)
            QVERIFY2(name.contains("ren", Qt::CaseInsensitive) && name.contains("Canine"), qPrintable(name));
        const QStringList re = catalogue.byName("re", "canine").names;
        QVERIFY(re.size() > ren.size());
        for (const QString &name : re)
            QVERIFY2(name.contains("Canine"), qPrintable(name));
    }

    void readsTheClickedDietFromItsTable()
    {
        TestEnv env;
        DietCatalogue catalogue(env.db());
        const Diet renal = catalogue.read("Canine Renal Support", DietTable::Catalogue);
        QCOMPARE(renal.generic, QStringLiteral("Canine Renal Support"));
        QCOMPARE(renal.table, DietTable::Catalogue);
        QVERIFY(renal.meDry > 0 && renal.meCan > 0 && renal.kcalPerCup > 0 && renal.formDry > 0 && renal.formCan > 0);
        QVERIFY(!renal.indications.isEmpty());
        // Not an own diet.
        QCOMPARE(errorOf([&] { catalogue.read("Canine Renal Support", DietTable::Added); }), ErrNo::RowDeleted);

        addCatalogueRow(env.db(), "Feline O'Malley \"Special\"");
        QCOMPARE(catalogue.read("Feline O'Malley \"Special\"", DietTable::Catalogue).generic,
                 QStringLiteral("Feline O'Malley \"Special\""));
    }

    void ownDietIsAddedWholeOrNotAtAll()
    {
        TestEnv env;
        const QSqlDatabase db = env.db();
        DietCatalogue catalogue(db);
        const qint64 rowId = catalogue.add(own("  Feline Practice Special  "));
        QVERIFY(rowId > 0);
        const Diet stored = catalogue.read("Feline Practice Special", DietTable::Added);
        QCOMPARE(stored.rowId, rowId);
        QCOMPARE(stored.meDry, 365.5);
        QCOMPARE(stored.kcalPerCup, 340.0);
        QCOMPARE(ClinicDb::scalar(db, "SELECT typeof([ME Dry]) || typeof([ME Can]) FROM [Diets Added]").toString(),
                 QStringLiteral("realreal"));
        QCOMPARE(catalogue.added().names, QStringList{"Feline Practice Special"});

        // The same name in other letter case, also beyond ASCII: refused, nothing stored.
        QCOMPARE(errorOf([&] { catalogue.add(own("FELINE PRACTICE SPECIAL")); }), ErrNo::DuplicateKey);
        catalogue.add(own("Feline Crème"));
        QCOMPARE(errorOf([&] { catalogue.add(own("FELINE CRÈME")); }), ErrNo::DuplicateKey);
        QCOMPARE(ownCount(db), 2);
        // The transaction was closed: the next change goes through.
        catalogue.add(own("Canine Practice Special"));
        QCOMPARE(ownCount(db), 3);

        // A name the window would refuse is refused here too.
        QVERIFY(errorOf([&] { catalogue.add(own("Practice Special")); }) != 0);
        QVERIFY(errorOf([&] { catalogue.add(own("Feline " + QString(44, 'x'))); }) != 0);
        QCOMPARE(ownCount(db), 3);
    }

    void ownDietIsDeletedOnce()
    {
        TestEnv env;
        const QSqlDatabase db = env.db();
        DietCatalogue catalogue(db);
        catalogue.add(own("Feline Practice Special"));
        catalogue.add(own("Feline Keep"));
        const Diet d = catalogue.read("Feline Practice Special", DietTable::Added);
        catalogue.remove(d);
        QCOMPARE(catalogue.added().names, QStringList{"Feline Keep"});
        // Gone already (another workstation): reported, nothing else removed.
        QCOMPARE(errorOf([&] { catalogue.remove(d); }), ErrNo::RowDeleted);
        QCOMPARE(ownCount(db), 1);
        // The catalogue's own rows are not deleted from here.
        const Diet shipped = catalogue.read("Feline Renal Support", DietTable::Catalogue);
        QVERIFY(errorOf([&] { catalogue.remove(shipped); }) != 0);
        QCOMPARE(catalogue.read("Feline Renal Support", DietTable::Catalogue).rowId, shipped.rowId);
    }

    void newNameRules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("problem");
        using P = DietCatalogue::NameProblem;
        QTest::newRow("feline in capitals") << "FELINE SPECIAL" << int(P::None);
        QTest::newRow("canine inside a word") << "Supercanine" << int(P::None);
        QTest::newRow("neither word") << "Practice Special" << int(P::NoSpeciesWord);
        QTest::newRow("50 characters") << "Canine " + QString(43, 'x') << int(P::None);
        QTest::newRow("51 characters") << "Canine " + QString(44, 'x') << int(P::TooLong);
    }

    void newNameRules()
    {
        QFETCH(QString, name);
        QFETCH(int, problem);
        QCOMPARE(int(DietCatalogue::checkNewName(name)), problem);
    }

    void searchKeys_data()
    {
        QTest::addColumn<uint>("ch");
        QTest::addColumn<int>("kind");
        using K = DietCatalogue::SearchKey;
        QTest::newRow("letter") << uint('r') << int(K::Narrow);
        QTest::newRow("blank") << uint(' ') << int(K::Narrow);
        QTest::newRow("tilde") << uint('~') << int(K::Narrow);
        QTest::newRow("backspace") << 8u << int(K::Backspace);
        QTest::newRow("enter") << 13u << int(K::Invalid);
        QTest::newRow("ctrl+c") << 3u << int(K::Invalid);
        QTest::newRow("delete") << 127u << int(K::Invalid);
        QTest::newRow("C1 control") << 0x85u << int(K::Invalid);
        QTest::newRow("e acute") << 0xE9u << int(K::Narrow);
    }

    void searchKeys()
    {
        QFETCH(uint, ch);
        QFETCH(int, kind);
        QCOMPARE(int(DietCatalogue::classifyKey(char32_t(ch))), kind);
    }

    void listOrderSetsAccentsAndCaseAside()
    {
        QStringList names = {"Feline Zeta", "Feline eta", "Feline élan", "Feline Eta", "Feline Ålpha", "Feline alpha"};
        DietCatalogue::sortNames(names);
        QCOMPARE(names, (QStringList{"Feline alpha", "Feline Ålpha", "Feline élan", "Feline Eta", "Feline eta",
                                     "Feline Zeta"}));
    }
};

FW_TEST(DietCatalogueTest)
#include "tst_DietCatalogue.moc"
