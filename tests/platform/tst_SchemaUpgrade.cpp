// A database made by an earlier version gets the reference rows it lacks when
// it is next opened: once, in one transaction, only into tables that are
// empty, and never half: a failure leaves the file exactly as it was.
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"
#include "support/CaseBuilder.h"
#include "support/Checks.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

int version(const QSqlDatabase &db)
{
    return ClinicDb::scalar(db, "PRAGMA user_version").toInt();
}

// Every row of every table, as text, by table name.
QMap<QString, QString> dump(const QSqlDatabase &db)
{
    QMap<QString, QString> out;
    QStringList tables;
    QSqlQuery names = ClinicDb::exec(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    while (names.next())
        tables << names.value(0).toString();
    for (const QString &table : tables) {
        QSqlQuery q = ClinicDb::exec(db, QStringLiteral("SELECT * FROM [%1] ORDER BY rowid").arg(table));
        QString text;
        while (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                text += q.value(i).toString() + (i + 1 < q.record().count() ? "|" : "\n");
        out.insert(table, text);
    }
    return out;
}

// A file as the earlier version left it: its own cases and diets, the
// catalogue tables empty, version 1. The connection is closed afterwards.
void makeOldFile(TestEnv &env, bool practiceDiet = false)
{
    {
        const QSqlDatabase db = env.db();
        CaseBuilder().surname("Ångström").add();
        ClinicDb::exec(db, "INSERT INTO [Diets Added] ([Generic], [ME Dry]) VALUES ('Feline Own', 350)");
        ClinicDb::exec(db, "DELETE FROM [Diets]");
        ClinicDb::exec(db, "DELETE FROM [Category Codes Diets]");
        // The first version had empty growth-curve tables without a week column.
        for (const char *table : {"[Puppy Curves]", "[Kitten Curves]"}) {
            ClinicDb::exec(db, QString("DELETE FROM %1").arg(table));
            ClinicDb::exec(db, QString("ALTER TABLE %1 DROP COLUMN [Week]").arg(table));
        }
        if (practiceDiet)
            ClinicDb::exec(db, "INSERT INTO [Diets] ([Generic], [Category]) VALUES ('Canine Practice Diet', ';REN;')");
        ClinicDb::exec(db, "PRAGMA user_version = 1");
    }
    ClinicDb::closeAll();
}

// A file as version 2 left it: the reference rows in place, but without the
// index on [Last Weighed]; the practice has emptied one reference table since.
// The connection is closed afterwards.
void makeVersion2File(TestEnv &env)
{
    {
        const QSqlDatabase db = env.db();
        CaseBuilder().surname("Smith").add();
        CaseBuilder().surname("Smith").animal("Bo").add();
        ClinicDb::exec(db, "DROP INDEX [Clients_Last Weighed]");
        ClinicDb::exec(db, "DELETE FROM [Sex]");
        ClinicDb::exec(db, "PRAGMA user_version = 2");
    }
    ClinicDb::closeAll();
}

QString indexSql(const QSqlDatabase &db, const QString &name)
{
    return ClinicDb::scalar(db, "SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?", {name}).toString();
}

// A data folder of the test's own: the shipped schema and rows, plus extra
// rows files (name, text).
QString dataFolder(TestEnv &env, const QList<QPair<QString, QByteArray>> &extra, bool withRows = true)
{
    const QString shipped = ClinicDb::dataDir();
    const QString folder = env.appPath();
    QFile::copy(QDir(shipped).filePath("schema.sql"), folder + "schema.sql");
    if (!withRows)
        return folder;
    QDir().mkpath(folder + "rows");
    const QStringList files = QDir(shipped + "/rows").entryList({"*.sql"}, QDir::Files);
    for (const QString &file : files)
        QFile::copy(shipped + "/rows/" + file, folder + "rows/" + file);
    for (const auto &file : extra) {
        QFile f(folder + "rows/" + file.first);
        f.open(QIODevice::WriteOnly);
        f.write(file.second);
    }
    return folder;
}

} // namespace

class SchemaUpgradeTest : public QObject {
    Q_OBJECT

private slots:
    void newFileCarriesTheVersion()
    {
        TestEnv env;
        QCOMPARE(version(env.db()), ClinicDb::kSchemaVersion);
        // Every shipped rows file can be loaded by an upgrade: inserts only.
        const QString rows = ClinicDb::dataDir() + "/rows";
        for (const QString &file : QDir(rows).entryList({"*.sql"}, QDir::Files)) {
            QFile f(rows + "/" + file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY2(!ClinicDb::tablesOfRows(QString::fromUtf8(f.readAll())).isEmpty(), qPrintable(file));
        }
    }

    void oldFileGetsTheRowsOnce()
    {
        ScriptedPrompt prompt;
        TestEnv env;
        const QMap<QString, QString> fresh = dump(env.db());
        makeOldFile(env);
        QMap<QString, QString> before;
        {
            // What the file holds besides the empty catalogue.
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "peek");
            db.setDatabaseName(App().DBFName);
            QVERIFY(db.open());
            before = dump(db);
            db.close();
        }
        QSqlDatabase::removeDatabase("peek");
        QCOMPARE(before.value("Diets"), QString());

        // The next start.
        {
            const QSqlDatabase db = ClinicDb::connection(App().DBFName);
            QCOMPARE(version(db), ClinicDb::kSchemaVersion);
            const QMap<QString, QString> after = dump(db);
            const QStringList upgradedTables{"Diets", "Category Codes Diets", "Puppy Curves", "Kitten Curves"};
            for (const QString &table : upgradedTables)
                QVERIFY2(after.value(table) == fresh.value(table), qPrintable(table));
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                if (!upgradedTables.contains(it.key()))
                    QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
            QCOMPARE(rowCount(db, "Clients"), 1);
            QCOMPARE(rowCount(db, "Diets Added"), 1);
        }

        // A second start changes nothing at all.
        ClinicDb::closeAll();
        const QByteArray upgraded = fileHash(App().DBFName);
        QCOMPARE(ClinicDb::upgrade(ClinicDb::connection(App().DBFName), ClinicDb::dataDir() + "/rows").loadedFiles,
                 QStringList());
        ClinicDb::closeAll();
        QCOMPARE(fileHash(App().DBFName), upgraded);
        FW_VERIFY_PROMPTS(prompt);
    }

    void filledTableIsLeftAlone()
    {
        TestEnv env;
        makeOldFile(env, true);
        const QSqlDatabase db = env.db();
        // connection() has upgraded the file already; look at what it did.
        QCOMPARE(version(db), ClinicDb::kSchemaVersion);
        QCOMPARE(rowCount(db, "Diets"), 1);
        QCOMPARE(ClinicDb::scalar(db, "SELECT [Generic] FROM [Diets]").toString(),
                 QStringLiteral("Canine Practice Diet"));
        QCOMPARE(rowCount(db, "Category Codes Diets"), 95);
        QCOMPARE(rowCount(db, "Species"), 8); // filled before: not doubled
    }

    void anotherRowsFileJoinsTheSameWay()
    {
        TestEnv env;
        makeOldFile(env, true);
        const QString folder = dataFolder(
            env,
            {{"75_test_kitten_curves.sql", "-- test rows\nINSERT INTO [Kitten Curves] ([Male Upper], [Male Lower], "
                                           "[Female Upper], [Female Lower]) VALUES (0.12, 0.09, 0.11, 0.08);\n"
                                           "INSERT INTO \"Kitten Curves\" VALUES (0.3, 0.2, 0.28, 0.19, 2);\n"},
             // A second file into the same table loads too, as it does in a new file.
             {"76_more_kitten_curves.sql", "INSERT INTO [Kitten Curves] VALUES (0.5, 0.4, 0.45, 0.35, 4);"}});
        // Opened without upgrading, so that the test can call the upgrade.
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "raw");
            raw.setDatabaseName(App().DBFName);
            QVERIFY(raw.open());
            const ClinicDb::UpgradeResult result = ClinicDb::upgrade(raw, folder + "rows");
            QCOMPARE(result.fromVersion, 1);
            QCOMPARE(result.loadedFiles,
                     (QStringList{"70_puppy_curves.sql", "71_kitten_curves.sql", "75_test_kitten_curves.sql",
                                  "76_more_kitten_curves.sql", "80_diet_category_codes.sql"}));
            QVERIFY(result.skippedFiles.contains("85_diets.sql"));
            QVERIFY(result.skippedFiles.contains("10_species.sql"));
            QCOMPARE(rowCount(raw, "Kitten Curves"), 27 + 3);
            QCOMPARE(version(raw), ClinicDb::kSchemaVersion);
            raw.close();
        }
        QSqlDatabase::removeDatabase("raw");
    }

    void failureLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<QString>("badFile");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("unknown column") << "99_bad.sql" << QByteArray("INSERT INTO [Diets] ([Nowhere]) VALUES (1);");
        QTest::newRow("unknown table") << "99_bad.sql" << QByteArray("INSERT INTO [Nowhere] VALUES (1);");
        QTest::newRow("not an insert") << "99_bad.sql" << QByteArray("DELETE FROM [Clients];");
        QTest::newRow("no rows folder") << "" << QByteArray();
    }

    void failureLeavesTheFileAsItWas()
    {
        QFETCH(QString, badFile);
        QFETCH(QByteArray, text);
        ScriptedPrompt prompt;
        TestEnv env;
        makeOldFile(env);
        if (badFile.isEmpty())
            dataFolder(env, {}, false);
        else
            dataFolder(env, {{badFile, text}});
        QCOMPARE(ClinicDb::dataDir(), QDir::cleanPath(env.appPath()));
        const QByteArray old = fileHash(App().DBFName);
        QStringList told;
        ClinicDb::setUpgradeFailedHandler([&told](const QString &text) { told << text; });

        // The opening reports it, and the file still opens as it was. The
        // data layer shows no box of its own: the shell shows what it is told.
        {
            const QSqlDatabase db = ClinicDb::connection(App().DBFName);
            QVERIFY(db.isOpen());
            QCOMPARE(told.size(), 1);
            QVERIFY2(told.last().contains("has not been changed"), qPrintable(told.last()));
            QVERIFY2(told.last().contains(QDir::toNativeSeparators(App().DBFName)), qPrintable(told.last()));
            QCOMPARE(prompt.count(), 0);
            QCOMPARE(version(db), 1);
            QCOMPARE(rowCount(db, "Diets"), 0);
            QCOMPARE(rowCount(db, "Category Codes Diets"), 0);
            QCOMPARE(rowCount(db, "Clients"), 1);
        }
        ClinicDb::closeAll();
        QCOMPARE(fileHash(App().DBFName), old);

        // With the shipped rows back in place the next start succeeds.
        QDir(env.appPath()).removeRecursively();
        QDir().mkpath(env.appPath());
        const QSqlDatabase again = ClinicDb::connection(App().DBFName);
        QCOMPARE(version(again), ClinicDb::kSchemaVersion);
        QVERIFY(rowCount(again, "Diets") >= 40);
        QCOMPARE(told.size(), 1);
        ClinicDb::setUpgradeFailedHandler({});
        FW_VERIFY_PROMPTS(prompt);
    }

    void version2FileGetsTheIndexOnce()
    {
        ScriptedPrompt prompt;
        TestEnv env;
        const QString fresh = indexSql(env.db(), "Clients_Last Weighed");
        QVERIFY(fresh.contains("[Last Weighed]"));
        makeVersion2File(env);
        {
            const QSqlDatabase db = ClinicDb::connection(App().DBFName);
            QCOMPARE(version(db), ClinicDb::kSchemaVersion);
            QCOMPARE(indexSql(db, "Clients_Last Weighed"), fresh);
            // The reference rows came with version 2: an emptied table stays empty.
            QCOMPARE(ClinicDb::scalar(db, "SELECT COUNT(*) FROM [Sex]").toInt(), 0);
            QCOMPARE(ClinicDb::scalar(db, "SELECT COUNT(*) FROM [Clients]").toInt(), 2);
            // The reminders' window is read through it.
            QSqlQuery plan = ClinicDb::exec(
                db,
                "EXPLAIN QUERY PLAN SELECT [CaseNo] FROM [Clients] WHERE [Last Weighed] >= ? AND [Last Weighed] < ?",
                {"2026-10-25", "2026-11-23"});
            QStringList steps;
            while (plan.next())
                steps << plan.value(3).toString();
            QVERIFY2(steps.join('\n').contains("INDEX Clients_Last Weighed"), qPrintable(steps.join('\n')));
        }
        // A second start changes nothing at all.
        ClinicDb::closeAll();
        const QByteArray upgraded = fileHash(App().DBFName);
        QCOMPARE(ClinicDb::upgrade(ClinicDb::connection(App().DBFName), ClinicDb::dataDir() + "/rows").fromVersion,
                 ClinicDb::kSchemaVersion);
        ClinicDb::closeAll();
        QCOMPARE(fileHash(App().DBFName), upgraded);
        FW_VERIFY_PROMPTS(prompt);
    }

    void indexIsAddedInTheUpgradesOneTransaction()
    {
        TestEnv env;
        makeVersion2File(env);
        // A schema whose further index the file's rows refuse (two Smiths):
        // the upgrade fails after it has made the index on [Last Weighed].
        const QString folder = dataFolder(env, {});
        QFile schema(folder + "schema.sql");
        QVERIFY(schema.open(QIODevice::Append));
        schema.write("\nCREATE UNIQUE INDEX [Clients_Unique Surname] ON [Clients] ([Surname]);\n");
        schema.close();
        const QByteArray old = fileHash(App().DBFName);
        // Opened without upgrading, so that the test can call the upgrade.
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "raw");
            raw.setDatabaseName(App().DBFName);
            QVERIFY(raw.open());
            try {
                ClinicDb::upgrade(raw, folder + "rows");
                QFAIL("the upgrade did not fail");
            } catch (const FwError &e) {
                QCOMPARE(e.number(), int(ErrNo::DuplicateKey));
            }
            QCOMPARE(version(raw), 2);
            QCOMPARE(indexSql(raw, "Clients_Last Weighed"), QString());
            raw.close();
        }
        QSqlDatabase::removeDatabase("raw");
        QCOMPARE(fileHash(App().DBFName), old);
    }

    void newerFileIsLeftAlone()
    {
        ScriptedPrompt prompt;
        TestEnv env;
        {
            const QSqlDatabase db = env.db();
            ClinicDb::exec(db, "DELETE FROM [Diets]");
            ClinicDb::exec(db, "PRAGMA user_version = 9");
        }
        ClinicDb::closeAll();
        const QByteArray before = fileHash(App().DBFName);
        QCOMPARE(rowCount(env.db(), "Diets"), 0);
        ClinicDb::closeAll();
        QCOMPARE(fileHash(App().DBFName), before);
        FW_VERIFY_PROMPTS(prompt);
    }

    void tablesOfRows_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("tables");
        QTest::newRow("bracketed, repeated")
            << "-- rows\nINSERT INTO [Diets] ([Generic]) VALUES ('a;b');\ninsert into [DIETS] VALUES ('c');"
            << QStringList{"Diets"};
        QTest::newRow("quoted and plain") << "INSERT INTO \"Puppy Curves\" VALUES (1);\nINSERT  INTO Sex VALUES ('x')"
                                          << QStringList{"Puppy Curves", "Sex"};
        QTest::newRow("comment only") << "-- nothing yet\n" << QStringList{};
    }

    void tablesOfRows()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, tables);
        QCOMPARE(ClinicDb::tablesOfRows(script), tables);
    }

    void otherStatementsAreRefused()
    {
        for (const char *script :
             {"UPDATE [Clients] SET [Surname] = 'x';", "INSERT INTO [Sex] VALUES ('x'); DROP TABLE [Sex];",
              "CREATE TABLE t (x);", "INSERT OR REPLACE INTO [Sex] VALUES ('x');"}) {
            try {
                ClinicDb::tablesOfRows(QString::fromLatin1(script));
                QFAIL(script);
            } catch (const FwError &e) {
                QCOMPARE(e.number(), ErrNo::DatabaseError);
            }
        }
    }
};

FW_TEST(SchemaUpgradeTest)
#include "tst_SchemaUpgrade.moc"
