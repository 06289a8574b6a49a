// The locator's search: the key range, the literal and case-blind matching of
// typed surnames in a real database, the use of the surname index, and the
// key stroke rules of the narrowing box.
#include "cases/LocatorSearch.h"
#include "platform/db/ClinicDb.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QSqlQuery>
#include <QTest>
#include <algorithm>

using LocatorSearch::KeyKind;

namespace {

QString ucs4(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

/// Insert a case with the given surname; the database fills its key.
int addSurname(TestEnv &env, const QString &surname)
{
    return env.addCase(surname, QStringLiteral("Rex"), QStringLiteral("Dog"), QStringLiteral("Beagle"),
                       QStringLiteral("Male"), QStringLiteral("kg"), 10, 12, QStringLiteral("11;"),
                       QStringLiteral("2024-01-10"));
}

QStringList matches(TestEnv &env, const QString &prefix)
{
    const LocatorSearch::Query q = LocatorSearch::listQuery(prefix);
    QSqlQuery query = ClinicDb::exec(env.db(), q.sql, q.params);
    QList<qint64> rowIds;
    while (query.next())
        rowIds << query.value(0).toLongLong();
    query.finish();
    QStringList found;
    for (qint64 rowId : rowIds)
        found << ClinicDb::scalar(env.db(), QStringLiteral("SELECT [Surname] FROM [Clients] WHERE rowid = ?"), {rowId})
                     .toString();
    std::sort(found.begin(), found.end());
    return found;
}

const QStringList kSurnames = {
    QStringLiteral("Smith"),     QStringLiteral("smythe"),      QStringLiteral("Smallwood"),
    QStringLiteral("Sanders"),   QStringLiteral("O'Brien"),     QStringLiteral("O'Neill"),
    QStringLiteral("Obi"),       QStringLiteral("Ångström"),    QStringLiteral("Angus"),
    QStringLiteral("Müller"),    QStringLiteral("Mueller"),     QStringLiteral("Murphy"),
    QStringLiteral("100% Pure"), QStringLiteral("1000 Pure"),   QStringLiteral("Under_score"),
    QStringLiteral("Underwood"), QStringLiteral("Star*"),       QStringLiteral("Starling"),
    QStringLiteral("[Bracket]"), QStringLiteral("Bracket"),     QStringLiteral("Quote\"d"),
    QStringLiteral("Quoted"),    QStringLiteral("Back\\slash"), QStringLiteral("Backslash"),
    QStringLiteral("ΣΩΚΡΆΤΗΣ"),  QStringLiteral("@home"),       QStringLiteral("_under"),
};

} // namespace

class LocatorSearchTest : public QObject {
    Q_OBJECT
private slots:
    void upperBound_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("bound");
        QTest::newRow("two letters") << "sm"
                                     << "sn";
        QTest::newRow("one letter") << "z"
                                    << "{";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("past the capitals") << "a@"
                                           << "a[";
        QTest::newRow("before the surrogates")
            << QString(QStringLiteral("a") + QChar(0xD7FF)) << QString(QStringLiteral("a") + QChar(0xE000));
        QTest::newRow("beyond the basic plane")
            << QString(QStringLiteral("a") + ucs4(0x1F600)) << QString(QStringLiteral("a") + ucs4(0x1F601));
        QTest::newRow("last code point carried") << QString(QStringLiteral("ab") + ucs4(0x10FFFF)) << "ac";
        QTest::newRow("only the last code point") << ucs4(0x10FFFF) << "";
    }
    void upperBound()
    {
        QFETCH(QString, key);
        QFETCH(QString, bound);
        QCOMPARE(LocatorSearch::upperBound(key), bound);
    }

    void listLine_data()
    {
        QTest::addColumn<QVariantList>("fields"); // Surname, AnimalName, CaseNo, Species, Tel No
        QTest::addColumn<QString>("line");
        const QVariant null;
        QTest::newRow("example") << QVariantList{"Smith", "Rex", 12, "Dog", "555 0101"}
                                 << "Smith, Rex, Case: 12, Dog, Tel.555 0101";
        QTest::newRow("reserved row") << QVariantList{null, null, 7, null, null} << ", , Case: 7, , Tel.";
        QTest::newRow("some fields empty")
            << QVariantList{"Ng", null, 123456, "Cat", ""} << "Ng, , Case: 123456, Cat, Tel.";
        QTest::newRow("a number typed as a telephone")
            << QVariantList{"Lee", "Mog", 3, "Cat", 5550101} << "Lee, Mog, Case: 3, Cat, Tel.5550101";
        QTest::newRow("commas and quotes kept")
            << QVariantList{"Smith, Jones", "\"Bo\"", 4, "Dog", "1"} << "Smith, Jones, \"Bo\", Case: 4, Dog, Tel.1";
    }
    void listLine()
    {
        QFETCH(QVariantList, fields);
        QFETCH(QString, line);
        TestEnv env;
        ClinicDb::exec(env.db(),
                       QStringLiteral("INSERT INTO [Clients] ([Surname], [AnimalName], [CaseNo], [Species], [Tel No]) "
                                      "VALUES (?, ?, ?, ?, ?)"),
                       fields);
        ClinicDb::exec(env.db(), QStringLiteral("INSERT INTO [Clients] ([Surname], [CaseNo]) VALUES ('Other', 999)"));
        const qint64 rowId =
            ClinicDb::scalar(env.db(), QStringLiteral("SELECT rowid FROM [Clients] WHERE [CaseNo] = ?"), {fields.at(2)})
                .toLongLong();
        const LocatorSearch::Query q = LocatorSearch::linesQuery({rowId});
        QSqlQuery query = ClinicDb::exec(env.db(), q.sql, q.params);
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toLongLong(), rowId);
        QCOMPARE(query.value(1).toLongLong(), fields.at(2).toLongLong());
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
        QTest::newRow("backspace in the middle") << "Smxith" << 3 << -1 << 0 << 8 << "Smith";
        QTest::newRow("backspace on a selection") << "Smith" << 5 << 1 << 3 << 8 << "Sh";
        QTest::newRow("letter beyond ASCII") << "M" << 1 << -1 << 0 << 0xFC << QStringLiteral("Mü");
        QTest::newRow("backspace over a pair")
            << QString(QStringLiteral("a") + ucs4(0x1F600)) << 3 << -1 << 0 << 8 << "a";
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

    void classifyKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("kind");
        QTest::newRow("letter") << int('S') << int(KeyKind::Narrow);
        QTest::newRow("blank") << 32 << int(KeyKind::Narrow);
        QTest::newRow("tilde") << 126 << int(KeyKind::Narrow);
        QTest::newRow("quote") << int('"') << int(KeyKind::Narrow);
        QTest::newRow("backspace") << 8 << int(KeyKind::Backspace);
        QTest::newRow("enter") << 13 << int(KeyKind::PassOn);
        QTest::newRow("escape") << 27 << int(KeyKind::Invalid);
        QTest::newRow("ctrl+v") << 22 << int(KeyKind::Invalid);
        QTest::newRow("delete") << 127 << int(KeyKind::Invalid);
        QTest::newRow("C1 control") << 0x85 << int(KeyKind::Invalid);
        QTest::newRow("A with ring") << 0xC5 << int(KeyKind::Narrow);
        QTest::newRow("u with umlaut") << 0xFC << int(KeyKind::Narrow);
        QTest::newRow("greek sigma") << 0x3A3 << int(KeyKind::Narrow);
    }
    void classifyKey()
    {
        QFETCH(int, key);
        QFETCH(int, kind);
        QCOMPARE(int(LocatorSearch::classifyKey(char32_t(key))), kind);
    }

    void matching_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char *name, const QString &prefix, QStringList expected) {
            std::sort(expected.begin(), expected.end());
            QTest::newRow(name) << prefix << expected;
        };
        row("two letters", "Sm", {"Smith", "smythe", "Smallwood"});
        row("either case", "sM", {"Smith", "smythe", "Smallwood"});
        row("apostrophe", "o'", {"O'Brien", "O'Neill"});
        row("apostrophe, more", "O'b", {"O'Brien"});
        row("ring, upper case typed", QStringLiteral("åNG"), {QStringLiteral("Ångström")});
        row("whole name in capitals", QStringLiteral("ÅNGSTRÖM"), {QStringLiteral("Ångström")});
        row("umlaut in capitals", QStringLiteral("MÜ"), {QStringLiteral("Müller")});
        row("u is not ü", "mu", {"Mueller", "Murphy"});
        row("greek", QStringLiteral("σωκ"), {QStringLiteral("ΣΩΚΡΆΤΗΣ")});
        row("percent is a percent", "100%", {"100% Pure"});
        row("underscore is an underscore", "under_", {"Under_score"});
        row("star is a star", "Star*", {"Star*"});
        row("bracket", "[", {"[Bracket]"});
        row("at sign", "@", {"@home"});
        row("leading underscore", "_", {"_under"});
        row("double quote", "quote\"", {"Quote\"d"});
        row("backslash", "back\\", {"Back\\slash"});
        row("nothing", "x", {});
        row("all", "", kSurnames);
    }
    void matching()
    {
        QFETCH(QString, prefix);
        QFETCH(QStringList, expected);
        TestEnv env;
        for (const QString &s : kSurnames)
            addSurname(env, s);
        QCOMPARE(matches(env, prefix), expected);
    }

    void listingUsesTheSurnameIndexAlone_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::newRow("all") << "";
        QTest::newRow("letters") << "Sm";
        QTest::newRow("beyond ASCII") << QStringLiteral("Mü");
        QTest::newRow("only the last code point") << ucs4(0x10FFFF);
    }
    void listingUsesTheSurnameIndexAlone()
    {
        QFETCH(QString, prefix);
        TestEnv env;
        for (int i = 0; i < 200; ++i)
            addSurname(env, QStringLiteral("Name%1").arg(i));
        const LocatorSearch::Query q = LocatorSearch::listQuery(prefix);
        QSqlQuery plan = ClinicDb::exec(env.db(), QStringLiteral("EXPLAIN QUERY PLAN ") + q.sql, q.params);
        QStringList details;
        while (plan.next())
            details << plan.value(3).toString();
        const QString all = details.join(QLatin1Char('\n'));
        // The range and the order come from the index; the table is not read
        // and nothing is sorted.
        QVERIFY2(all.contains(QStringLiteral("USING COVERING INDEX Clients_SurnameKey")), qPrintable(all));
        QVERIFY2(!all.contains(QStringLiteral("TEMP B-TREE")), qPrintable(all));
        if (prefix.isEmpty())
            QVERIFY2(!all.contains(QStringLiteral("SurnameKey>")), qPrintable(all));
        else
            QVERIFY2(all.startsWith(QStringLiteral("SEARCH")) && all.contains(QStringLiteral("(SurnameKey>?")),
                     qPrintable(all));
    }

    void listOrder()
    {
        TestEnv env;
        const QStringList entered = {"smith",   "Adams", "Smith",   "Smith Jones", QStringLiteral("Ångström"),
                                     "O'Brien", "SMITH", "Smithers"};
        for (const QString &s : entered)
            addSurname(env, s);
        // By surname without regard to case; one surname's cases in the order
        // of entry.
        const LocatorSearch::Query q = LocatorSearch::listQuery(QString());
        QSqlQuery query = ClinicDb::exec(env.db(), q.sql, q.params);
        QStringList order;
        while (query.next())
            order << ClinicDb::scalar(env.db(), QStringLiteral("SELECT [Surname] FROM [Clients] WHERE rowid = ?"),
                                      {query.value(0)})
                         .toString();
        QCOMPARE(order, (QStringList{"Adams", "O'Brien", "smith", "Smith", "SMITH", "Smith Jones", "Smithers",
                                     QStringLiteral("Ångström")}));
    }
};

FW_TEST(LocatorSearchTest)
#include "tst_LocatorSearch.moc"
