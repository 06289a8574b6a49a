// Breed weights: the listing, and the filter that matches typed text
// literally and without regard to case, also beyond ASCII.
#include "curves_reports/BreedWeights.h"
#include "platform/db/ClinicDb.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

QStringList breedsOf(const BreedWeights::Listing &l)
{
    QStringList out;
    for (const BreedWeights::Row &r : l.rows)
        out << r.breed;
    return out;
}

void addBreed(TestEnv &env, const QString &name)
{
    ClinicDb::exec(env.db(),
                   "INSERT INTO [Dog Breeds] ([Breed], [Wt Range], [Wt Male], [Wt Female]) VALUES (?, ?, ?, ?)",
                   {name, "10-12", 11, 10.5});
}

} // namespace

class BreedWeightsTest : public QObject {
    Q_OBJECT
private slots:
    void listsEveryBreed();
    void filter_data();
    void filter();
    void emptyTable();
};

void BreedWeightsTest::listsEveryBreed()
{
    TestEnv env;
    const BreedWeights::Listing l = BreedWeights::all(env.db());
    QCOMPARE(l.rows.size(), ClinicDb::scalar(env.db(), "SELECT COUNT(*) FROM [Dog Breeds]").toInt());
    QVERIFY(!l.message);
    QCOMPARE(l.rows.first().breed, QStringLiteral("Afghan Hound"));
    const BreedWeights::Row aussie = l.rows.at(breedsOf(l).indexOf("Australian Terrier"));
    QCOMPARE(aussie.range, QStringLiteral("6-7"));
    QCOMPARE(aussie.male, QStringLiteral("6.5"));
    QCOMPARE(aussie.female, QStringLiteral("6"));
    QCOMPARE(BreedWeights::kGridFormat.size(), 126);

    // "terr" finds the terriers, whatever the case of the text.
    const QStringList terriers = breedsOf(BreedWeights::containing(env.db(), "terr"));
    QVERIFY(terriers.size() >= 20);
    for (const QString &b : terriers)
        QVERIFY2(b.contains("Terrier"), qPrintable(b));
    QCOMPARE(breedsOf(BreedWeights::containing(env.db(), "TERR")), terriers);
    QCOMPARE(BreedWeights::containing(env.db(), "").rows.size(), l.rows.size());
}

void BreedWeightsTest::filter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found"); // empty: no breed contains it
    // Names that hold the characters a pattern would treat specially.
    QTest::newRow("quote") << "'" << QStringList{"Smith's [Odd] *?% Hound"};
    QTest::newRow("double quote") << "\"" << QStringList{"The \"Quoted\" Dog"};
    QTest::newRow("bracket") << "[odd]" << QStringList{"Smith's [Odd] *?% Hound"};
    QTest::newRow("unbalanced bracket") << "[" << QStringList{"Smith's [Odd] *?% Hound"};
    QTest::newRow("star and query") << "*?" << QStringList{"Smith's [Odd] *?% Hound"};
    QTest::newRow("query alone matches itself") << "?" << QStringList{"Smith's [Odd] *?% Hound"};
    QTest::newRow("percent") << "%" << QStringList{"Smith's [Odd] *?% Hound"};
    QTest::newRow("underscore") << "_" << QStringList{};
    QTest::newRow("beyond ASCII, other case")
        << QStringLiteral("ÉPAGNEUL") << QStringList{QStringLiteral("Épagneul Breton")};
    QTest::newRow("no such breed") << "zebra" << QStringList{};
}

void BreedWeightsTest::filter()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    TestEnv env;
    addBreed(env, "Smith's [Odd] *?% Hound");
    addBreed(env, "The \"Quoted\" Dog");
    addBreed(env, QStringLiteral("Épagneul Breton"));

    const BreedWeights::Listing l = BreedWeights::containing(env.db(), text);
    QCOMPARE(breedsOf(l), found);
    QCOMPARE(l.replaces, !found.isEmpty());
    if (found.isEmpty()) {
        QVERIFY(l.message);
        QCOMPARE(l.message->text, QStringLiteral("Cannot find a dog breed contain this string of letters. Try again."));
        QCOMPARE(l.message->icon, Prompt::Icon::Critical);
    } else {
        QVERIFY(!l.message);
    }
    // The comparison made without the database's help agrees.
    for (const QString &breed : breedsOf(BreedWeights::all(env.db())))
        QCOMPARE(BreedWeights::matches(breed, text), found.contains(breed));
}

void BreedWeightsTest::emptyTable()
{
    TestEnv env;
    // A table with no breed at all: the header row alone, and a note why.
    ClinicDb::exec(env.db(), "DELETE FROM [Dog Breeds]");
    const BreedWeights::Listing l = BreedWeights::all(env.db());
    QVERIFY(l.rows.isEmpty());
    QVERIFY(l.message);
    QCOMPARE(l.message->text, QStringLiteral("The table of breed weights holds no breeds."));
    QCOMPARE(l.message->icon, Prompt::Icon::Information);
}

FW_TEST(BreedWeightsTest)
#include "tst_BreedWeights.moc"
