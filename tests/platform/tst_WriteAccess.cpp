// A case register this user cannot write: every write is refused with a
// message that names the file and says what to do, and nothing is stored.
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
#include <QTest>

#include <functional>

class WriteAccessTest : public QObject {
    Q_OBJECT
private slots:
    void writesAreRefusedInPlainWords_data();
    void writesAreRefusedInPlainWords();
    void aWritableRegisterIsWritable();
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

FW_TEST(WriteAccessTest)
#include "tst_WriteAccess.moc"
