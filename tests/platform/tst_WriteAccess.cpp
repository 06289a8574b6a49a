// A case register that cannot take a change (this user cannot write it, the
// disk is full) or is damaged: every failing step is told with a message
// that names the file and says what to do, and nothing is half-stored.
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/Recordset.h"
#include "platform/db/WriteAccess.h"
#include "platform/state/AppState.h"
#include "support/CaseBuilder.h"
#include "support/Checks.h"
#include "support/ReadOnlyRegister.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QTest>

#include <functional>

class WriteAccessTest : public QObject {
    Q_OBJECT
private slots:
    void writesAreRefusedInPlainWords_data();
    void writesAreRefusedInPlainWords();
    void aWritableRegisterIsWritable();
    void sqliteFailuresAreTranslated_data();
    void sqliteFailuresAreTranslated();
    void fullDiskIsToldInPlainWords();
    void damagedFileIsToldInPlainWords();
};

void WriteAccessTest::writesAreRefusedInPlainWords_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("opened read-only") << int(ReadOnlyRegister::OpenedReadOnly);
    QTest::newRow("file read-only") << int(ReadOnlyRegister::FileReadOnly);
    QTest::newRow("folder read-only") << int(ReadOnlyRegister::FolderReadOnly);
}

void WriteAccessTest::writesAreRefusedInPlainWords()
{
    QFETCH(int, kind);
    const auto how = ReadOnlyRegister::Kind(kind);
    if (!ReadOnlyRegister::skipReason(how).isEmpty())
        QSKIP(qPrintable(ReadOnlyRegister::skipReason(how)));
    TestEnv env;
    const QString path = App().DBFName;
    const int caseNo = CaseBuilder().breed("Labrador").range(20, 25).history("24.0;").lastWeighed("2024-03-01").add();
    ReadOnlyRegister readOnly(path, how);
    QSqlDatabase db = ClinicDb::connection(path);
    QVERIFY(!ClinicDb::isWritable(db));

    const QString expected = ClinicDb::cannotSaveMessage(path);
    QVERIFY(expected.contains(QDir::toNativeSeparators(path)));
    QVERIFY(expected.contains(QLatin1String("Sharing and moving the case register")));

    const QString rename = QStringLiteral("UPDATE [Clients] SET [Surname] = ? WHERE [CaseNo] = ?");
    const std::function<void()> steps[] = {
        // A single statement.
        [&] {
            ClinicDb::exec(db, rename, {QStringLiteral("Jones"), caseNo});
        },
        // A step of several writes.
        [&] {
            ClinicDb::Transaction tx(db);
            ClinicDb::exec(db, rename, {QStringLiteral("Jones"), caseNo});
            tx.commit();
        },
        // A data control's row.
        [&] {
            Recordset rs;
            rs.open(db, QStringLiteral("SELECT * FROM [Clients] WHERE [CaseNo] = ?"), {caseNo});
            rs.edit();
            rs.setField(QStringLiteral("Surname"), QStringLiteral("Jones"));
            rs.update();
        },
    };
    for (const auto &step : steps) {
        const FwError e = failureOf(step);
        QCOMPARE(e.number(), ErrNo::DatabaseError);
        QCOMPARE(e.description(), expected);
    }
    // The records can still be read, as they were.
    QCOMPARE(
        ClinicDb::scalar(db, QStringLiteral("SELECT [Surname] FROM [Clients] WHERE [CaseNo] = ?"), {caseNo}).toString(),
        QStringLiteral("Smith"));
}

void WriteAccessTest::aWritableRegisterIsWritable()
{
    TestEnv env;
    const QSqlDatabase db = ClinicDb::connection(App().DBFName);
    QVERIFY(ClinicDb::isWritable(db));
    // Tests reach the program's connection by this name.
    QCOMPARE(db.connectionName(), ClinicDb::connectionName(App().DBFName));
}

void WriteAccessTest::sqliteFailuresAreTranslated_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("sqliteText");
    QTest::addColumn<QString>("expected"); // "full", "damaged", "read-only" or the text itself
    QTest::newRow("disk full") << "13"
                               << "database or disk is full"
                               << "full";
    QTest::newRow("damaged") << "11"
                             << "database disk image is malformed"
                             << "damaged";
    QTest::newRow("damaged index") << "779"
                                   << "database disk image is malformed"
                                   << "damaged";
    QTest::newRow("not a database") << "26"
                                    << "file is not a database"
                                    << "damaged";
    QTest::newRow("read-only") << "8"
                               << "attempt to write a readonly database"
                               << "read-only";
    QTest::newRow("anything else") << "1"
                                   << "no such table: Visits"
                                   << "no such table: Visits";
}

void WriteAccessTest::sqliteFailuresAreTranslated()
{
    QFETCH(QString, code);
    QFETCH(QString, sqliteText);
    QFETCH(QString, expected);
    TestEnv env;
    const QSqlDatabase db = ClinicDb::connection(App().DBFName);
    const FwError e = ClinicDb::errorFrom(QSqlError(QString(), sqliteText, QSqlError::StatementError, code), db);
    QCOMPARE(e.number(), ErrNo::DatabaseError);
    if (expected == QLatin1String("full"))
        QCOMPARE(e.description(), ClinicDb::diskFullText(App().DBFName));
    else if (expected == QLatin1String("damaged"))
        QCOMPARE(e.description(), ClinicDb::damagedText(App().DBFName));
    else if (expected == QLatin1String("read-only"))
        QCOMPARE(e.description(), ClinicDb::cannotSaveMessage(App().DBFName));
    else
        QCOMPARE(e.description(), expected);
}

// SQLite's page limit stands in for a full disk: the file cannot grow, as on
// a disk with no room left.
void WriteAccessTest::fullDiskIsToldInPlainWords()
{
    TestEnv env;
    const QString path = App().DBFName;
    const int caseNo = CaseBuilder().add();
    QSqlDatabase db = ClinicDb::connection(path);
    const int pages = ClinicDb::scalar(db, QStringLiteral("PRAGMA page_count")).toInt();
    ClinicDb::exec(db, QStringLiteral("PRAGMA max_page_count = %1").arg(pages));

    const QString expected = ClinicDb::diskFullText(path);
    QVERIFY(expected.contains(QDir::toNativeSeparators(path)));
    const QString longComment(200000, QLatin1Char('x'));
    const QString comment = QStringLiteral("UPDATE [Clients] SET [Vet Comments] = ? WHERE [CaseNo] = ?");
    const std::function<void()> steps[] = {
        [&] {
            ClinicDb::exec(db, comment, {longComment, caseNo});
        },
        [&] {
            ClinicDb::Transaction tx(db);
            ClinicDb::exec(db, comment, {longComment, caseNo});
            tx.commit();
        },
        [&] {
            Recordset rs;
            rs.open(db, QStringLiteral("SELECT * FROM [Clients] WHERE [CaseNo] = ?"), {caseNo});
            rs.edit();
            rs.setField(QStringLiteral("Vet Comments"), longComment);
            rs.update();
        },
    };
    for (const auto &step : steps) {
        const FwError e = failureOf(step);
        QCOMPARE(e.number(), ErrNo::DatabaseError);
        QCOMPARE(e.description(), expected);
    }
    // Nothing of the changes was stored, and the register reads as before.
    QCOMPARE(ClinicDb::scalar(db, QStringLiteral("SELECT length([Vet Comments]) < 1000 FROM [Clients]")).toInt(), 1);
}

// A copy of a register whose later pages were overwritten: reading what lies
// there is refused with the file's name and the way out.
void WriteAccessTest::damagedFileIsToldInPlainWords()
{
    TestEnv env;
    {
        const QSqlDatabase db = ClinicDb::connection(App().DBFName);
        ClinicDb::Transaction tx(db);
        const QString comment(1000, QLatin1Char('c'));
        for (int caseNo = 1; caseNo <= 400; ++caseNo)
            ClinicDb::exec(
                db, QStringLiteral("INSERT INTO [Clients] ([CaseNo], [Surname], [Vet Comments]) VALUES (?, ?, ?)"),
                {caseNo, QStringLiteral("Smith"), comment});
        tx.commit();
    }
    ClinicDb::closeAll();
    const QString damaged = env.dbfPath() + QStringLiteral("Damaged copy.mdb");
    QVERIFY(QFile::copy(App().DBFName, damaged));
    {
        QFile f(damaged);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 size = f.size();
        QVERIFY(f.seek(size * 2 / 3));
        f.write(QByteArray(int(size - size * 2 / 3), '\xff'));
    }

    const QSqlDatabase db = ClinicDb::connection(damaged);
    const QString expected = ClinicDb::damagedText(damaged);
    QVERIFY(expected.contains(QDir::toNativeSeparators(damaged)));
    const std::function<void()> steps[] = {
        [&] {
            ClinicDb::scalar(db, QStringLiteral("SELECT COUNT(*) FROM [Clients] WHERE length([Vet Comments]) > 0"));
        },
        [&] {
            Recordset rs;
            rs.open(db, QStringLiteral("SELECT * FROM [Clients]"));
        },
    };
    for (const auto &step : steps) {
        const FwError e = failureOf(step);
        QCOMPARE(e.number(), ErrNo::DatabaseError);
        QCOMPARE(e.description(), expected);
    }
}

FW_TEST(WriteAccessTest)
#include "tst_WriteAccess.moc"
