// The clinic database file: creation from the shipped schema and rows,
// refusal of foreign files, statements with bound values, transactions and
// the surname key.
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"
#include "support/CaseBuilder.h"
#include "support/Checks.h"
#include "support/LockHolder.h"
#include "support/NamedPipe.h"
#include "support/SteppingWaitClock.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// What the wait handlers were told.
struct WaitsSeen {
    QStringList started;
    int ended = 0;
    std::function<void()> whenStarted; // run after a start is noted
    WaitsSeen()
    {
        ClinicDb::WaitHandlers h;
        h.started = [this](const QString &file) {
            started << file;
            if (whenStarted)
                whenStarted();
        };
        h.ended = [this] { ++ended; };
        ClinicDb::setWaitHandlers(h);
    }
    ~WaitsSeen() { ClinicDb::setWaitHandlers({}); }
};

void insertCase(const QSqlDatabase &db, int caseNo)
{
    ClinicDb::Transaction tx(db);
    ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo], [Surname]) VALUES (?, 'Locke')", {caseNo});
    tx.commit();
}

} // namespace

class ClinicDbTest : public QObject {
    Q_OBJECT

private slots:
    void createsEveryTable_data();
    void createsEveryTable();
    void newFileIsPrivateAndMarked();
    void referenceRowsHoldWhatTheProgramNeeds();
    void missingFileIsNeverMadeByOpening();
    void createNeverLeavesAHalfFile();
    void dataFolderPrefersTheInstalledOne_data();
    void dataFolderPrefersTheInstalledOne();
    void foreignFilesAreRefusedUnaltered_data();
    void foreignFilesAreRefusedUnaltered();
    void namedPipeIsRefusedAtOnce();
    void duplicateCaseNoIs3022();
    void typedTextIsBoundLiterally();
    void transactionRollsBackWhole();
    void nestedTransactionJoinsTheOuter();
    void surnameKeyFollowsEveryWrite();
    void missingKeysAreMendedOnOpening();
    void twoFirstStartsNeverTouchEachOther();
    void briefLockIsWaitedFor();
    void lockHeldLongerIsReportedOnce_data();
    void lockHeldLongerIsReportedOnce();
    void lockedFileIsReportedOnOpening();
    void placingNeverReplacesAFile_data();
    void placingNeverReplacesAFile();
};

void ClinicDbTest::createsEveryTable_data()
{
    // The fields in their order, "|" between them.
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("fields");
    QTest::newRow("Clients") << "Clients"
                             << "CaseNo|Surname|SurnameKey|AnimalName|Tel No|Species|DOB|Sex|Breed|Units|UpperWt|"
                                "LowerWt|CurrentWt|Graph Data|Graph Data Undo|Last Weighed|Last Weighed Undo|"
                                "Vet Comments|Diet Recommend|LinkedRecNo|Active|Aged";
    QTest::newRow("Species") << "Species"
                             << "Species Name";
    QTest::newRow("Sex") << "Sex"
                         << "Sex Name";
    QTest::newRow("CAT BREEDS") << "CAT BREEDS"
                                << "Name";
    QTest::newRow("Dog Breeds") << "Dog Breeds"
                                << "Breed|Wt Range|Wt Male|Wt Female";
    QTest::newRow("Diets") << "Diets"
                           << "Generic|Category|Indications|Contraindications|ME Dry|ME Can|KCal per cup dry|"
                              "Form Dry|Form Can";
    QTest::newRow("Diets Added") << "Diets Added"
                                 << "Generic|Indications|Contraindications|ME Dry|ME Can|KCal per cup dry|"
                                    "Form Dry|Form Can";
    QTest::newRow("Category Codes Diets") << "Category Codes Diets"
                                          << "Node Index|Code";
    QTest::newRow("Puppy Curves") << "Puppy Curves"
                                  << "Great Dane|Newfoundland|Labrador|Bulldog|Cocker Spaniel|Fox Terrier|"
                                     "Pekingese|Pomeranian|Week";
    QTest::newRow("Kitten Curves") << "Kitten Curves"
                                   << "Male Upper|Male Lower|Female Upper|Female Lower|Week";
    QTest::newRow("Report Variables") << "Report Variables"
                                      << "Age|Summary|IdealWt|AvWt|LossRate|TimeToTarget|BreedRecWtLb|BreedRecWt|"
                                         "Target|Progress|AnName|Surname|Spp|Breed|Sex|TelNo|DateLastWt|WtRange|"
                                         "DietRec|VetCom";
    QTest::newRow("Personal") << "Personal"
                              << "Surgery|Address 1|Address 2|Tel No|Fax No|e-mail";
}

void ClinicDbTest::createsEveryTable()
{
    QFETCH(QString, table);
    QFETCH(QString, fields);
    TestEnv env;
    const QSqlRecord rec = env.db().record(table);
    QVERIFY2(!rec.isEmpty(), qPrintable(table));
    QStringList have;
    for (int i = 0; i < rec.count(); ++i)
        have << rec.fieldName(i);
    QCOMPARE(have.join('|'), fields);
}

void ClinicDbTest::newFileIsPrivateAndMarked()
{
    TestEnv env;
    const QFileInfo info(App().DBFName);
    QVERIFY(info.exists());
    QCOMPARE(info.permissions() &
                 (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther),
             QFileDevice::Permissions());
    QVERIFY(ClinicDb::isFenwarraDatabase(App().DBFName));
    QVERIFY(!QFileInfo::exists(App().DBFName + ".new"));
    QCOMPARE(ClinicDb::scalar(env.db(), "PRAGMA journal_mode").toString(), QStringLiteral("delete"));
}

void ClinicDbTest::referenceRowsHoldWhatTheProgramNeeds()
{
    TestEnv env;
    const QSqlDatabase db = env.db();
    QCOMPARE(rowCount(db, "Personal"), 1);
    QCOMPARE(rowCount(db, "Report Variables"), 1);
    QVERIFY(rowCount(db, "Dog Breeds") >= 100);
    QVERIFY(rowCount(db, "CAT BREEDS") >= 20);
    QCOMPARE(rowCount(db, "Clients"), 0);

    // The special names the program compares exactly.
    for (const char *species : {"Dog", "Cat"})
        QCOMPARE(ClinicDb::scalar(db, "SELECT COUNT(*) FROM [Species] WHERE [Species Name] = ?", {species}).toInt(), 1);
    QCOMPARE(ClinicDb::scalar(db, "SELECT COUNT(*) FROM [CAT BREEDS] WHERE [Name] = 'Domestic Shorthair'").toInt(), 1);
    QVERIFY(ClinicDb::scalar(db, "SELECT COUNT(*) FROM [Sex] WHERE instr([Sex Name], 'Female') > 0").toInt() >= 1);
    QVERIFY(ClinicDb::scalar(db, "SELECT COUNT(*) FROM [Sex] WHERE instr([Sex Name], 'Female') = 0").toInt() >= 1);

    // Every breed has a range "lo-hi" in kg with lo <= hi, and both averages
    // inside it: the case window reads the range, the breed grid shows all four.
    QSqlQuery q = ClinicDb::exec(db, "SELECT [Breed], [Wt Range], [Wt Male], [Wt Female] FROM [Dog Breeds]");
    const QRegularExpression range(QStringLiteral("^(\\d+)-(\\d+)$"));
    QStringList names;
    while (q.next()) {
        const QString breed = q.value(0).toString();
        const auto m = range.match(q.value(1).toString());
        QVERIFY2(m.hasMatch(), qPrintable(breed));
        const double lo = m.captured(1).toDouble(), hi = m.captured(2).toDouble();
        QVERIFY2(lo <= hi, qPrintable(breed));
        QVERIFY2(q.value(2).toDouble() >= lo && q.value(2).toDouble() <= hi, qPrintable(breed));
        QVERIFY2(q.value(3).toDouble() >= lo && q.value(3).toDouble() <= hi, qPrintable(breed));
        QVERIFY2(!names.contains(breed), qPrintable(breed));
        names << breed;
    }
    for (const char *breed : {"Great Dane", "Newfoundland", "Labrador Retriever", "Bulldog", "Cocker Spaniel",
                              "Fox Terrier", "Pekingese", "Pomeranian"})
        QVERIFY2(names.contains(QLatin1String(breed)), breed);
}

void ClinicDbTest::missingFileIsNeverMadeByOpening()
{
    TestEnv env(false);
    const QString path = env.dbfPath() + "deeper/folder/" + ClinicDb::kFileName;
    // Opening a file that is not there (a share that is not mounted) reports
    // it with the way out and makes nothing, not even the folder.
    try {
        ClinicDb::connection(path);
        QFAIL("a missing database was made by opening it");
    } catch (const FwError &e) {
        QCOMPARE(e.number(), ErrNo::DatabaseError);
        QCOMPARE(e.description(), ClinicDb::missingText(path));
        QVERIFY(e.description().contains(QDir::toNativeSeparators(path)));
        QVERIFY(e.description().contains("mounted"));
        QVERIFY(e.description().contains("File > Network Fenwarra"));
    }
    QVERIFY(!QFileInfo::exists(env.dbfPath() + "deeper"));

    // Made on purpose, once; then opened.
    QVERIFY(ClinicDb::createIfMissing(path));
    QVERIFY(!ClinicDb::createIfMissing(path));
    {
        const QSqlDatabase db = ClinicDb::connection(path);
        QVERIFY(db.isOpen());
        QCOMPARE(rowCount(db, "Personal"), 1);
        // A second call gives the same open connection.
        QCOMPARE(ClinicDb::connection(path).connectionName(), db.connectionName());
    }

    // The folder goes away (a share that dropped): no new, empty database is
    // made in its place; the user is told instead.
    QVERIFY(QDir(env.dbfPath() + "deeper").removeRecursively());
    QDir().mkpath(env.dbfPath() + "deeper/folder");
    QCOMPARE(errorOf([&] { ClinicDb::connection(path); }), ErrNo::DatabaseError);
    QVERIFY(!QFileInfo::exists(path));
}

void ClinicDbTest::createNeverLeavesAHalfFile()
{
    TestEnv env(false);
    // A data folder whose rows do not fit the schema: creation fails midway.
    QFile::copy(QDir(ClinicDb::dataDir()).filePath("schema.sql"), env.appPath() + "schema.sql");
    QDir().mkpath(env.appPath() + "rows");
    QFile bad(env.appPath() + "rows/10_bad.sql");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("INSERT INTO [Species] ([Species Name]) VALUES ('Dog');\nINSERT INTO [Nowhere] VALUES (1);\n");
    bad.close();
    QCOMPARE(ClinicDb::dataDir(), QDir::cleanPath(env.appPath()));

    const QString path = env.dbfPath() + ClinicDb::kFileName;
    QCOMPARE(errorOf([&] { ClinicDb::create(path); }), ErrNo::DatabaseError);
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(QDir(env.dbfPath()).entryList(QDir::Files), QStringList());
}

void ClinicDbTest::dataFolderPrefersTheInstalledOne_data()
{
    // Which folders hold a schema.sql, and which one is used.
    QTest::addColumn<bool>("inAppPath");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("inSource");
    QTest::addColumn<QString>("expected");
    QTest::newRow("the setting's folder first") << true << true << true << "app";
    QTest::newRow("installed beats a source tree that still exists")
        << false << true << true << "prefix/share/fenwarra";
    QTest::newRow("build tree: the source tree's data") << false << false << true << "source/data";
    QTest::newRow("nothing: the installed folder") << false << false << false << "prefix/share/fenwarra";
}

void ClinicDbTest::dataFolderPrefersTheInstalledOne()
{
    QFETCH(bool, inAppPath);
    QFETCH(bool, installed);
    QFETCH(bool, inSource);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString root = dir.path() + "/";
    for (const char *folder : {"app", "prefix/bin", "prefix/share/fenwarra", "source/data"})
        QVERIFY(QDir().mkpath(root + folder));
    const auto putSchema = [&](bool put, const QString &folder) {
        if (!put)
            return;
        QFile f(root + folder + "/schema.sql");
        QVERIFY(f.open(QIODevice::WriteOnly));
    };
    putSchema(inAppPath, "app");
    putSchema(installed, "prefix/share/fenwarra");
    putSchema(inSource, "source/data");
    QCOMPARE(ClinicDb::dataDirFrom(root + "app/", root + "prefix/bin", root + "source/data"),
             QDir::cleanPath(root + expected));
}

void ClinicDbTest::foreignFilesAreRefusedUnaltered_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::newRow("text file") << QByteArray("text");
    QTest::newRow("empty file") << QByteArray("empty");
    QTest::newRow("other SQLite database") << QByteArray("sqlite");
    QTest::newRow("SQLite with a Clients table but unmarked") << QByteArray("clients");
}

void ClinicDbTest::foreignFilesAreRefusedUnaltered()
{
    QFETCH(QByteArray, kind);
    TestEnv env(false);
    const QString path = env.dbfPath() + ClinicDb::kFileName;
    if (kind == "text" || kind == "empty") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == "text")
            f.write("Case notes, not a database.\n");
    } else {
        const QString name = QStringLiteral("foreign-maker");
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", name);
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery q(other);
            QVERIFY(q.exec(kind == "clients" ? "CREATE TABLE Clients (CaseNo INTEGER)" : "CREATE TABLE t (x)"));
            other.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    const QByteArray before = fileHash(path);
    const QDateTime modified = QFileInfo(path).lastModified();

    QVERIFY(!ClinicDb::isFenwarraDatabase(path));
    try {
        ClinicDb::connection(path);
        QFAIL("a foreign file was opened");
    } catch (const FwError &e) {
        QCOMPARE(e.number(), ErrNo::DatabaseError);
        QVERIFY2(e.description().contains(QLatin1String("is not a Fenwarra database. It has not been changed.")),
                 qPrintable(e.description()));
        QVERIFY(e.description().contains(QDir::toNativeSeparators(path)));
    }
    QCOMPARE(fileHash(path), before);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
    QCOMPARE(QDir(env.dbfPath()).entryList(QDir::Files), QStringList{ClinicDb::kFileName});
}

// A pipe in the register's place is refused with a message at once: opening
// it to look would wait for a writer for ever.
void ClinicDbTest::namedPipeIsRefusedAtOnce()
{
    TestEnv env(false);
    const QString path = env.dbfPath() + ClinicDb::kFileName;
    NamedPipe pipe(path);
    QVERIFY(pipe.made());
    QElapsedTimer took;
    took.start();

    QVERIFY(!ClinicDb::isFenwarraDatabase(path));
    try {
        ClinicDb::connection(path);
        QFAIL("a named pipe was opened");
    } catch (const FwError &e) {
        QCOMPARE(e.number(), ErrNo::DatabaseError);
        QVERIFY2(e.description().contains(QLatin1String("is not a file but a named pipe")),
                 qPrintable(e.description()));
        QVERIFY(e.description().contains(QDir::toNativeSeparators(path)));
    }
    QVERIFY2(took.elapsed() < 1000, qPrintable(QString::number(took.elapsed())));
}

void ClinicDbTest::duplicateCaseNoIs3022()
{
    TestEnv env;
    const QSqlDatabase db = env.db();
    ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {41});
    QCOMPARE(errorOf([&] { ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {41}); }),
             ErrNo::DuplicateKey);
    QCOMPARE(rowCount(db, "Clients"), 1);
    // A new row takes part in the reminders unless told otherwise.
    QCOMPARE(ClinicDb::scalar(db, "SELECT [Active] FROM [Clients] WHERE [CaseNo] = 41").toInt(), 1);

    // The own diets: one name once, whatever its letter case.
    ClinicDb::exec(db, "INSERT INTO [Diets Added] ([Generic]) VALUES (?)", {"Canine Light"});
    QCOMPARE(errorOf([&] { ClinicDb::exec(db, "INSERT INTO [Diets Added] ([Generic]) VALUES (?)", {"CANINE light"}); }),
             ErrNo::DuplicateKey);
}

void ClinicDbTest::typedTextIsBoundLiterally()
{
    TestEnv env;
    const QSqlDatabase db = env.db();
    const QString typed = QStringLiteral("O'Brien \"100%\" _x\\ [a]; DROP TABLE Clients; --");
    CaseBuilder().surname(typed).add();
    CaseBuilder().surname("O'Brienxx").add();
    QCOMPARE(ClinicDb::scalar(db, "SELECT [Surname] FROM [Clients] WHERE [Surname] = ?", {typed}).toString(), typed);

    // The typed text as a LIKE prefix matches itself only: % and _ are no wildcards.
    const auto matches = [&](const QString &prefix) {
        return ClinicDb::scalar(db, "SELECT COUNT(*) FROM [Clients] WHERE [Surname] LIKE ? ESCAPE '\\'",
                                {ClinicDb::likeEscape(prefix) + "%"})
            .toInt();
    };
    QCOMPARE(matches("O'Brien \"100%\" _x\\"), 1);
    QCOMPARE(matches("O'Brien \"100_"), 0);
    QCOMPARE(matches("O'Brien"), 2);
    QCOMPARE(matches("%"), 0);
    QCOMPARE(ClinicDb::likeEscape("a%b_c\\d"), QStringLiteral("a\\%b\\_c\\\\d"));
    QCOMPARE(rowCount(db, "Clients"), 2);
}

void ClinicDbTest::transactionRollsBackWhole()
{
    TestEnv env;
    QSqlDatabase db = env.db();
    try {
        ClinicDb::Transaction tx(db);
        ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {1});
        ClinicDb::exec(db, "UPDATE [Personal] SET [Surgery] = ?", {"Half written"});
        ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {1}); // fails: 3022
        tx.commit();
        QFAIL("no error");
    } catch (const FwError &e) {
        QCOMPARE(e.number(), ErrNo::DuplicateKey);
    }
    QCOMPARE(rowCount(db, "Clients"), 0);
    QVERIFY(ClinicDb::scalar(db, "SELECT [Surgery] FROM [Personal]").toString() != "Half written");

    // And a committed one stays.
    {
        ClinicDb::Transaction tx(db);
        ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {7});
        tx.commit();
    }
    db = QSqlDatabase();
    ClinicDb::closeAll();
    QCOMPARE(rowCount(env.db(), "Clients"), 1);
}

void ClinicDbTest::nestedTransactionJoinsTheOuter()
{
    TestEnv env;
    const QSqlDatabase db = env.db();
    // An inner step that gives up makes the whole change fail, even when the
    // outer code carries on and commits.
    QCOMPARE(errorOf([&] {
                 ClinicDb::Transaction outer(db);
                 ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {1});
                 {
                     ClinicDb::Transaction inner(db);
                     ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {2});
                 } // not committed
                 outer.commit();
             }),
             ErrNo::DatabaseError);
    QCOMPARE(rowCount(db, "Clients"), 0);

    {
        ClinicDb::Transaction outer(db);
        ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {1});
        {
            ClinicDb::Transaction inner(db);
            ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {2});
            inner.commit();
        }
        // The inner commit did not end the outer transaction.
        QCOMPARE(errorOf([&] { ClinicDb::exec(db, "BEGIN"); }), ErrNo::DatabaseError);
        outer.commit();
    }
    QCOMPARE(rowCount(db, "Clients"), 2);
}

void ClinicDbTest::surnameKeyFollowsEveryWrite()
{
    QCOMPARE(ClinicDb::surnameKey("Ångström"), ClinicDb::surnameKey("ÅNGSTRÖM"));
    QVERIFY(ClinicDb::surnameKey("Ångström") != ClinicDb::surnameKey("Angstrom"));

    TestEnv env;
    const QSqlDatabase db = env.db();
    const auto key = [&](int caseNo) {
        return ClinicDb::scalar(db, "SELECT [SurnameKey] FROM [Clients] WHERE [CaseNo] = ?", {caseNo});
    };
    // Plain SQL, as any part of the program may write a surname.
    ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo], [Surname]) VALUES (?, ?)", {1, "ÅNGSTRÖM"});
    ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo], [Surname]) VALUES (?, ?)", {2, "Ängel"});
    QCOMPARE(key(1).toString(), ClinicDb::surnameKey("ångström"));
    const auto found = [&](const QString &typed) {
        return ClinicDb::scalar(db, "SELECT COUNT(*) FROM [Clients] WHERE [SurnameKey] LIKE ? ESCAPE '\\'",
                                {ClinicDb::likeEscape(ClinicDb::surnameKey(typed)) + "%"})
            .toInt();
    };
    QCOMPARE(found("ång"), 1);
    QCOMPARE(found("ÄN"), 1);

    ClinicDb::exec(db, "UPDATE [Clients] SET [Surname] = ? WHERE [CaseNo] = 1", {"Ødegård"});
    QCOMPARE(key(1).toString(), ClinicDb::surnameKey("ØDEGÅRD"));
    // A reserved row has no surname and no key.
    ClinicDb::exec(db, "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {3});
    QVERIFY(key(3).isNull());
}

void ClinicDbTest::missingKeysAreMendedOnOpening()
{
    TestEnv env;
    const QString path = App().DBFName;
    ClinicDb::closeAll();
    // Rows written by a program that knows nothing of the key.
    {
        const QString name = QStringLiteral("plain-writer");
        {
            QSqlDatabase plain = QSqlDatabase::addDatabase("QSQLITE", name);
            plain.setDatabaseName(path);
            QVERIFY(plain.open());
            QSqlQuery q(plain);
            QVERIFY(q.exec("INSERT INTO Clients (CaseNo, Surname) VALUES (5, 'ÉMILE')"));
            QVERIFY(q.exec("SELECT SurnameKey FROM Clients WHERE CaseNo = 5") && q.next());
            QVERIFY(q.value(0).isNull());
            q.finish();
            plain.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    QCOMPARE(ClinicDb::scalar(ClinicDb::connection(path), "SELECT [SurnameKey] FROM [Clients] WHERE [CaseNo] = 5")
                 .toString(),
             ClinicDb::surnameKey("émile"));
}

void ClinicDbTest::twoFirstStartsNeverTouchEachOther()
{
    // Two workstations making their first start at the same moment on one
    // empty shared folder: exactly one makes the file, the other opens it,
    // and what each writes right away is kept. FW_FIRST_START_PAIRS sets the
    // number of tries.
    const int pairs =
        qEnvironmentVariableIsSet("FW_FIRST_START_PAIRS") ? qEnvironmentVariableIntValue("FW_FIRST_START_PAIRS") : 100;
    QTemporaryDir dir;
    for (int pair = 0; pair < pairs; ++pair) {
        const QString folder = dir.path() + QStringLiteral("/share%1/").arg(pair);
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + ClinicDb::kFileName;
        QProcess starts[2];
        const QStringList marks = {QStringLiteral("first"), QStringLiteral("second")};
        for (int i = 0; i < 2; ++i) {
            starts[i].start(QStringLiteral(FW_HELPER_FW_FIRST_START), {path, marks.at(i)});
            QVERIFY(starts[i].waitForStarted(10000));
        }
        // Both ready, then both let go at once.
        for (QProcess &p : starts) {
            while (!p.canReadLine())
                QVERIFY2(p.waitForReadyRead(10000), "a start never got ready");
            QCOMPARE(p.readLine(), QByteArray("ready\n"));
        }
        for (QProcess &p : starts)
            p.write("go\n");
        for (QProcess &p : starts)
            QVERIFY(p.waitForBytesWritten(10000));
        QStringList outcomes;
        for (QProcess &p : starts) {
            QVERIFY(p.waitForFinished(60000));
            const QString out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
            QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                     qPrintable(QStringLiteral("pair %1: %2").arg(pair).arg(out)));
            outcomes << out;
        }
        outcomes.sort();
        QCOMPARE(outcomes, (QStringList{QStringLiteral("found"), QStringLiteral("made")}));

        // One sound database holding both cases, and nothing left beside it.
        QVERIFY(ClinicDb::isFenwarraDatabase(path));
        {
            const QSqlDatabase db = ClinicDb::connection(path);
            QCOMPARE(ClinicDb::scalar(db, "PRAGMA integrity_check").toString(), QStringLiteral("ok"));
            QCOMPARE(rowCount(db, "Personal"), 1);
            QStringList surnames;
            QSqlQuery q = ClinicDb::exec(db, "SELECT [Surname] FROM [Clients] ORDER BY [Surname]");
            while (q.next())
                surnames << q.value(0).toString();
            QCOMPARE(surnames, marks);
        }
        ClinicDb::closeAll();
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{ClinicDb::kFileName});
    }
}

void ClinicDbTest::placingNeverReplacesAFile_data()
{
    // Every way of putting a file in place, also the fallbacks that only
    // filesystems without the better ones use.
    QTest::addColumn<ClinicDb::PlaceMethod>("method");
    QTest::addColumn<bool>("targetExists");
    const QList<QPair<const char *, ClinicDb::PlaceMethod>> methods = {
        {"rename", ClinicDb::PlaceMethod::Rename},
        {"hard link", ClinicDb::PlaceMethod::HardLink},
        {"exclusive copy", ClinicDb::PlaceMethod::Copy},
    };
    for (const auto &m : methods) {
        QTest::newRow(qPrintable(QStringLiteral("%1, free name").arg(m.first))) << m.second << false;
        QTest::newRow(qPrintable(QStringLiteral("%1, name taken").arg(m.first))) << m.second << true;
    }
}

void ClinicDbTest::placingNeverReplacesAFile()
{
    QFETCH(ClinicDb::PlaceMethod, method);
    QFETCH(bool, targetExists);
    QTemporaryDir dir;
    const QString temp = dir.filePath("new.tmp");
    const QString target = dir.filePath("target");
    const QByteArray ours(200000, 'n'); // more than one chunk of the copy
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    QVERIFY(write(temp, ours));
    if (targetExists)
        QVERIFY(write(target, "theirs, in use"));
    const QByteArray before = fileHash(target);

    QString error;
    const ClinicDb::Placed placed = ClinicDb::placeWithoutReplacing(temp, target, &error, method);
    if (targetExists) {
        QCOMPARE(placed, ClinicDb::Placed::TargetExists);
        QCOMPARE(fileHash(target), before);
        QVERIFY(QFileInfo::exists(temp));
    } else {
        QCOMPARE(placed, ClinicDb::Placed::Done);
        QCOMPARE(fileHash(target), QCryptographicHash::hash(ours, QCryptographicHash::Sha256));
        QVERIFY(!QFileInfo::exists(temp));
    }
}

// A lock held for a moment: the step waits, says so once, and succeeds.
void ClinicDbTest::briefLockIsWaitedFor()
{
    TestEnv env;
    const QSqlDatabase db = env.db();
    LockHolder holder(App().DBFName, "exclusive");
    QVERIFY(holder.locked());
    // The holder lets go once this step has been waiting long enough to say so.
    WaitsSeen seen;
    seen.whenStarted = [&holder] { holder.release(); };
    insertCase(db, 1);
    QCOMPARE(seen.started, QStringList{QFileInfo(App().DBFName).absoluteFilePath()});
    QCOMPARE(seen.ended, 0);
    QCoreApplication::processEvents();
    QCOMPARE(seen.ended, 1);
    QCOMPARE(rowCount(db, "Clients"), 1);
}

void ClinicDbTest::lockHeldLongerIsReportedOnce_data()
{
    // A writing workstation keeps others from writing only; one holding the
    // file exclusively keeps them from reading too.
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<bool>("readsWait");
    QTest::newRow("writing") << QByteArray("write") << false;
    QTest::newRow("exclusive") << QByteArray("exclusive") << true;
}

// A lock held longer than the program waits: the step gives up after the
// wait, with a plain message naming the file; the rest of the same step gives
// up at once; nothing is stored; the next step waits afresh.
void ClinicDbTest::lockHeldLongerIsReportedOnce()
{
    QFETCH(QByteArray, mode);
    QFETCH(bool, readsWait);
    TestEnv env;
    const QSqlDatabase db = env.db();
    ClinicDb::setLockWait(700);
    WaitsSeen seen;
    SteppingWaitClock clock;
    LockHolder holder(App().DBFName, mode.constData());
    QVERIFY(holder.locked());
    const QString locked = ClinicDb::lockedText(App().DBFName);
    QVERIFY(locked.contains(QDir::toNativeSeparators(QFileInfo(App().DBFName).absoluteFilePath())));
    QVERIFY(locked.contains("another workstation is writing to it"));
    QVERIFY(locked.contains("try again shortly"));

    // Reading: at once while another workstation only writes.
    qint64 from = clock.now();
    if (!readsWait) {
        QCOMPARE(rowCount(db, "Clients"), 0);
        QCOMPARE(clock.now(), from);
        QVERIFY(seen.started.isEmpty());
    }

    from = clock.now();
    try {
        insertCase(db, 1);
        QFAIL("a write went through a lock");
    } catch (const FwError &e) {
        QCOMPARE(e.description(), locked);
    }
    QVERIFY2(clock.now() - from >= 700 && clock.now() - from < 2 * 700,
             qPrintable(QString::number(clock.now() - from)));
    QCOMPARE(seen.started.size(), 1);

    // The rest of the same step does not freeze the window again.
    from = clock.now();
    QCOMPARE(errorOf([&] { insertCase(db, 2); }), ErrNo::DatabaseError);
    QVERIFY2(clock.now() - from < 150, qPrintable(QString::number(clock.now() - from)));
    QCOMPARE(seen.started.size(), 1);

    // The step is over: the cursor and text go, and the next step waits again.
    QCoreApplication::processEvents();
    QCOMPARE(seen.ended, 1);
    from = clock.now();
    QCOMPARE(errorOf([&] { insertCase(db, 3); }), ErrNo::DatabaseError);
    QVERIFY(clock.now() - from >= 700);
    QCOMPARE(seen.started.size(), 2);
    QCoreApplication::processEvents();

    // Nothing of the refused steps was stored; once free, writing works.
    holder.release();
    QCOMPARE(rowCount(db, "Clients"), 0);
    insertCase(db, 4);
    QCOMPARE(rowCount(db, "Clients"), 1);
}

// Opening a file that another workstation holds: one bounded wait, then the
// message, not a wait at every step of opening.
void ClinicDbTest::lockedFileIsReportedOnOpening()
{
    TestEnv env;
    ClinicDb::closeAll();
    ClinicDb::setLockWait(700);
    WaitsSeen seen;
    SteppingWaitClock clock;
    {
        LockHolder holder(App().DBFName, "exclusive");
        QVERIFY(holder.locked());
        try {
            ClinicDb::connection(App().DBFName);
            QFAIL("a locked file was opened without a word");
        } catch (const FwError &e) {
            QCOMPARE(e.description(), ClinicDb::lockedText(App().DBFName));
        }
        QVERIFY2(clock.now() >= 700 && clock.now() < 2 * 700, qPrintable(QString::number(clock.now())));
        QCOMPARE(seen.started.size(), 1);
        QCoreApplication::processEvents();
    }
    // Free again: the next binding opens it.
    QVERIFY(ClinicDb::connection(App().DBFName).isOpen());
}

FW_TEST(ClinicDbTest)
#include "tst_ClinicDb.moc"
