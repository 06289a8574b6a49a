// The locator's search: the key range, the literal and case-blind matching of
// typed surnames in a real database, the use of the surname index, the list
// line, and the key stroke rules of the narrowing box.
#include "cases/LocatorSearch.h"
#include "platform/db/ClinicDb.h"
#include "support/CaseBuilder.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QSqlQuery>
#include <QTest>
#include <algorithm>

namespace {

QString u(const QString &head, char32_t c = 0)
{
    return c ? head + QString::fromUcs4(&c, 1) : head;
}

QStringList surnamesOf(TestEnv &env, const LocatorSearch::Query &q)
{
    QSqlQuery query = ClinicDb::exec(env.db(), q.sql, q.params);
    QList<qint64> rowIds;
    while (query.next())
        rowIds << query.value(0).toLongLong();
    QStringList found;
    for (qint64 rowId : rowIds)
        found << ClinicDb::scalar(env.db(), "SELECT [Surname] FROM [Clients] WHERE rowid = ?", {rowId}).toString();
    return found;
}

// The steps of SQLite's plan for a query, one a line.
QString planOf(TestEnv &env, const LocatorSearch::Query &q)
{
    QSqlQuery plan = ClinicDb::exec(env.db(), "EXPLAIN QUERY PLAN " + q.sql, q.params);
    QStringList steps;
    while (plan.next())
        steps << plan.value(3).toString();
    return steps.join('\n');
}

const QStringList kSurnames = {
    "Smith",
    "smythe",
    "Smallwood",
    "Sanders",
    "O'Brien",
    "O'Neill",
    "Obi",
    "Angus",
    "Mueller",
    "Murphy",
    "100% Pure",
    "1000 Pure",
    "Under_score",
    "Underwood",
    "Star*",
    "Starling",
    "[Bracket]",
    "Bracket",
    "Quote\"d",
    "Quoted",
    "Back\\slash",
    "Backslash",
    "@home",
    "_under",
    QStringLiteral("Ångström"),
    QStringLiteral("Müller"),
    QStringLiteral("ΣΩΚΡΆΤΗΣ"),
};

} // namespace

class LocatorSearchTest : public QObject {
    Q_OBJECT
private slots:
    void upperBound_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("bound");
        QTest::newRow("letters") << "sm"
                                 << "sn";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("past the capitals") << "a@"
                                           << "a[";
        QTest::newRow("over the surrogates") << u("a", 0xD7FF) << u("a", 0xE000);
        QTest::newRow("beyond the basic plane") << u("a", 0x1F600) << u("a", 0x1F601);
        QTest::newRow("last code point carried") << u("ab", 0x10FFFF) << "ac";
        QTest::newRow("only the last code point") << u("", 0x10FFFF) << "";
    }
    void upperBound()
    {
        QFETCH(QString, key);
        QFETCH(QString, bound);
        QCOMPARE(LocatorSearch::upperBound(key), bound);
    }

    void matching_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("letters, either case") << "sM" << QStringList{"Smallwood", "Smith", "smythe"};
        QTest::newRow("apostrophe") << "o'b" << QStringList{"O'Brien"};
        QTest::newRow("ring") << QStringLiteral("åNG") << QStringList{QStringLiteral("Ångström")};
        QTest::newRow("umlaut") << QStringLiteral("MÜ") << QStringList{QStringLiteral("Müller")};
        QTest::newRow("u is not ü") << "mu" << QStringList{"Mueller", "Murphy"};
        QTest::newRow("greek") << QStringLiteral("σωκ") << QStringList{QStringLiteral("ΣΩΚΡΆΤΗΣ")};
        QTest::newRow("percent") << "100%" << QStringList{"100% Pure"};
        QTest::newRow("underscore") << "under_" << QStringList{"Under_score"};
        QTest::newRow("leading underscore") << "_" << QStringList{"_under"};
        QTest::newRow("star") << "Star*" << QStringList{"Star*"};
        QTest::newRow("bracket") << "[" << QStringList{"[Bracket]"};
        QTest::newRow("at sign") << "@" << QStringList{"@home"};
        QTest::newRow("double quote") << "quote\"" << QStringList{"Quote\"d"};
        QTest::newRow("backslash") << "back\\" << QStringList{"Back\\slash"};
        QTest::newRow("nothing") << "x" << QStringList{};
        QTest::newRow("all") << "" << kSurnames;
    }
    void matching()
    {
        QFETCH(QString, prefix);
        QFETCH(QStringList, expected);
        TestEnv env;
        for (const QString &s : kSurnames)
            CaseBuilder().surname(s).add();
        QStringList found = surnamesOf(env, LocatorSearch::listQuery(prefix));
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(found, expected);
    }

    void listOrderAndIndexUse_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::newRow("all") << "";
        QTest::newRow("letters") << "Sm";
        QTest::newRow("beyond ASCII") << QStringLiteral("Mü");
        QTest::newRow("only the last code point") << u("", 0x10FFFF);
    }
    void listOrderAndIndexUse()
    {
        QFETCH(QString, prefix);
        TestEnv env;
        for (const char *s : {"smith", "Adams", "Smith", "Smith Jones", "SMITH", "Smithers"})
            CaseBuilder().surname(s).add();
        const LocatorSearch::Query q = LocatorSearch::listQuery(prefix);
        const QString all = planOf(env, q);
        // Range and order come from the index alone: no table read, no sort.
        QVERIFY2(all.contains("USING COVERING INDEX Clients_SurnameKey"), qPrintable(all));
        QVERIFY2(!all.contains("TEMP B-TREE"), qPrintable(all));
        QVERIFY2(prefix.isEmpty() != all.contains("(SurnameKey>?"), qPrintable(all));
        if (prefix.isEmpty()) // by surname without regard to case, then in order of entry
            QCOMPARE(surnamesOf(env, q), (QStringList{"Adams", "smith", "Smith", "SMITH", "Smith Jones", "Smithers"}));
    }

    void surnamesOfTheList_data() { listOrderAndIndexUse_data(); }
    void surnamesOfTheList()
    {
        QFETCH(QString, prefix);
        TestEnv env;
        for (const char *s : {"SMITH", "Smithers", "Adams", "smith", "Smith Jones", "Smith"})
            CaseBuilder().surname(s).add();
        ClinicDb::exec(env.db(), "INSERT INTO [Clients] ([CaseNo]) VALUES (99)"); // no surname
        const LocatorSearch::Query list = LocatorSearch::listQuery(prefix);
        const LocatorSearch::Query q = LocatorSearch::surnamesQuery(list);
        const QString all = planOf(env, q);
        QVERIFY2(all.contains("USING COVERING INDEX Clients_SurnameKey"), qPrintable(all));
        QVERIFY2(!all.contains("TEMP B-TREE"), qPrintable(all));
        // Each surname of the list once, with its number of cases, in the list's order.
        QStringList expected;
        QStringList keys;
        QSqlQuery rows = ClinicDb::exec(env.db(), list.sql, list.params);
        while (rows.next()) {
            const QString key =
                ClinicDb::scalar(env.db(), "SELECT [SurnameKey] FROM [Clients] WHERE rowid = ?", {rows.value(0)})
                    .toString();
            if (keys.isEmpty() || keys.constLast() != key)
                keys << key;
        }
        for (const QString &key : keys)
            expected << QString("%1 %2").arg(key).arg(
                ClinicDb::scalar(env.db(),
                                 "SELECT COUNT(*) FROM [Clients] WHERE IFNULL([SurnameKey], '') = IFNULL(?, '')", {key})
                    .toInt());
        QStringList found;
        QSqlQuery surnames = ClinicDb::exec(env.db(), q.sql, q.params);
        while (surnames.next())
            found << QString("%1 %2").arg(surnames.value(0).toString()).arg(surnames.value(1).toInt());
        QCOMPARE(found, expected);
    }

    void listLine_data()
    {
        QTest::addColumn<QVariantList>("fields"); // Surname, AnimalName, CaseNo, Species, Tel No
        QTest::addColumn<QString>("line");
        const QVariant null;
        QTest::newRow("example") << QVariantList{"Smith", "Rex", 12, "Dog", "555 0101"}
                                 << "Smith, Rex, Case: 12, Dog, Tel.555 0101";
        QTest::newRow("reserved row") << QVariantList{null, null, 7, null, null} << ", , Case: 7, , Tel.";
        QTest::newRow("number as telephone")
            << QVariantList{"Lee", "", 3, "Cat", 5550101} << "Lee, , Case: 3, Cat, Tel.5550101";
        QTest::newRow("comma kept") << QVariantList{"Smith, Jones", "Bo", 4, "Dog", "1"}
                                    << "Smith, Jones, Bo, Case: 4, Dog, Tel.1";
    }
    void listLine()
    {
        QFETCH(QVariantList, fields);
        QFETCH(QString, line);
        TestEnv env;
        ClinicDb::exec(env.db(),
                       "INSERT INTO [Clients] ([Surname], [AnimalName], [CaseNo], [Species], [Tel No]) "
                       "VALUES (?, ?, ?, ?, ?)",
                       fields);
        ClinicDb::exec(env.db(), "INSERT INTO [Clients] ([Surname], [CaseNo]) VALUES ('Other', 999)");
        const QVariant rowId =
            ClinicDb::scalar(env.db(), "SELECT rowid FROM [Clients] WHERE [CaseNo] = ?", {fields[2]});
        const LocatorSearch::Query q = LocatorSearch::linesQuery({rowId.toLongLong()});
        QSqlQuery query = ClinicDb::exec(env.db(), q.sql, q.params);
        QVERIFY(query.next());
        QCOMPARE(query.value(1).toLongLong(), fields[2].toLongLong());
        QCOMPARE(query.value(2).toString(), line);
        QVERIFY(!query.next());
    }

    void textAfterKey_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("after");
        QTest::newRow("typed at the end") << "S" << 1 << -1 << 0 << int('m') << "Sm";
        QTest::newRow("typed in the middle") << "Sith" << 1 << -1 << 0 << int('m') << "Smith";
        QTest::newRow("typed over a selection") << "Smith" << 5 << 0 << 5 << int('B') << "B";
        QTest::newRow("backspace at the end") << "Sm" << 2 << -1 << 0 << 8 << "S";
        QTest::newRow("backspace at the start") << "Sm" << 0 << -1 << 0 << 8 << "Sm";
        QTest::newRow("backspace on a selection") << "Smith" << 5 << 1 << 3 << 8 << "Sh";
        QTest::newRow("backspace over a pair") << u("a", 0x1F600) << 3 << -1 << 0 << 8 << "a";
    }
    void textAfterKey()
    {
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(int, key);
        QFETCH(QString, after);
        QCOMPARE(LocatorSearch::textAfterKey(text, cursor, selStart, selLength, char32_t(key)), after);
    }
};

FW_TEST(LocatorSearchTest)
#include "tst_LocatorSearch.moc"
