// The recordset and the data control: rows by name without regard to case,
// the cursor and its 3021, optimistic writes that report a row changed (3197)
// or deleted (3167) meanwhile, and bound widgets.
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/state/AppState.h"
#include "support/CaseBuilder.h"
#include "support/Checks.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

QVariant clientField(const QSqlDatabase &db, int caseNo, const QString &field)
{
    return ClinicDb::scalar(db, QStringLiteral("SELECT [%1] FROM [Clients] WHERE [CaseNo] = ?").arg(field), {caseNo});
}

} // namespace

class DataControlTest : public QObject {
    Q_OBJECT

private slots:
    void recordSourceForms_data();
    void recordSourceForms();
    void fieldsByNameWithoutRegardToCase();
    void nullFieldReadsAsEmptyText();
    void noCurrentRow_data();
    void noCurrentRow();
    void deletingStandsOnTheNextRow();
    void secondWriterOfARowGetsTheConflict();
    void writeToADeletedRowIsReported();
    void rowIdGivenToANewRowIsNotOverwritten();
    void addNewStandsOnTheStoredRow();
    void duplicateKeepsTheNewRowForCorrection();
    void boundWidgetsShowAndSave();
    void refreshSavesBoundWidgetsFirst();
    void saveBoundReportsAConflict();
};

void DataControlTest::recordSourceForms_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QVariantList>("params");
    QTest::addColumn<bool>("updatable");
    QTest::addColumn<QString>("table");
    QTest::newRow("bare name") << "Clients" << QVariantList{} << true << "Clients";
    QTest::newRow("bare name in capitals") << "CLIENTS" << QVariantList{} << true << "Clients";
    QTest::newRow("bracketed name with blank") << "[Dog Breeds]" << QVariantList{} << true << "Dog Breeds";
    QTest::newRow("unbracketed name with blank") << "DOG BREEDS" << QVariantList{} << true << "Dog Breeds";
    QTest::newRow("select all") << "SELECT * FROM [Dog Breeds]" << QVariantList{} << true << "Dog Breeds";
    QTest::newRow("select with condition, no blank before WHERE")
        << "SELECT * FROM [Clients]WHERE [CASENO] = ?" << QVariantList{1} << true << "Clients";
    QTest::newRow("select unbracketed lower case")
        << "select * from clients where caseno = ?" << QVariantList{1} << true << "Clients";
    QTest::newRow("columns chosen") << "SELECT [Breed] FROM [Dog Breeds]" << QVariantList{} << false << "";
    QTest::newRow("count") << "SELECT COUNT(*) AS n FROM [Clients]" << QVariantList{} << false << "";
}

void DataControlTest::recordSourceForms()
{
    QFETCH(QString, source);
    QFETCH(QVariantList, params);
    QFETCH(bool, updatable);
    QFETCH(QString, table);
    TestEnv env;
    CaseBuilder().add();
    Recordset rs;
    rs.open(env.db(), source, params);
    QCOMPARE(rs.updatable(), updatable);
    QCOMPARE(rs.tableName(), table);
    QVERIFY(rs.recordCount() >= 1);
    QVERIFY(!rs.fieldNames().contains(QStringLiteral("fw_rowid__")));
    if (!updatable) {
        QVERIFY(errorOf([&] { rs.edit(); }) != 0);
        QVERIFY(errorOf([&] { rs.addNew(); }) != 0);
        QVERIFY(errorOf([&] { rs.deleteCurrent(); }) != 0);
    }
}

void DataControlTest::fieldsByNameWithoutRegardToCase()
{
    TestEnv env;
    const int caseNo = CaseBuilder().range(25, 30).add();
    Recordset rs;
    rs.open(env.db(), "SELECT * FROM [CLIENTS] WHERE [CASENO] = ?", {caseNo});
    QCOMPARE(rs.recordCount(), 1);
    QCOMPARE(rs.field("CASENO").toInt(), caseNo);
    QCOMPARE(rs.text("caseno"), QString::number(caseNo));
    QCOMPARE(rs.text("SURNAME"), QStringLiteral("Smith"));
    QCOMPARE(rs.text("ANIMALNAME"), QStringLiteral("Rex"));
    QCOMPARE(rs.field("upperwt").toDouble(), 30.0);
    QCOMPARE(rs.text("Lowerwt"), QStringLiteral("25"));
    QCOMPARE(rs.text("[Tel No]"), rs.text("tel no"));
    QVERIFY(rs.hasField("GRAPH DATA"));
    QCOMPARE(errorOf([&] { rs.field("No Such Field"); }), 3265);
    QCOMPARE(errorOf([&] { Recordset().open(env.db(), "[No Such Table]"); }), ErrNo::DatabaseError);
}

void DataControlTest::nullFieldReadsAsEmptyText()
{
    TestEnv env;
    ClinicDb::exec(env.db(), "INSERT INTO [Clients] ([CaseNo]) VALUES (?)", {42});
    Recordset rs;
    rs.open(env.db(), "Clients");
    QVERIFY(rs.isNull("Surname"));
    QCOMPARE(rs.text("Surname"), QString());
    QCOMPARE(rs.text("UpperWt"), QString());
    QCOMPARE(rs.text("Active"), QStringLiteral("1"));
}

void DataControlTest::noCurrentRow_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("steps"); // F first, L last, N next, P previous, R read, E edit, D delete
    QTest::newRow("first of no rows") << 0 << "F";
    QTest::newRow("last of no rows") << 0 << "L";
    QTest::newRow("next of no rows") << 0 << "N";
    QTest::newRow("read with no rows") << 0 << "R";
    QTest::newRow("edit with no rows") << 0 << "E";
    QTest::newRow("delete with no rows") << 0 << "D";
    QTest::newRow("read past the end") << 2 << "NNR";
    QTest::newRow("next past the end") << 2 << "NNN";
    QTest::newRow("read before the start") << 2 << "PR";
    QTest::newRow("previous before the start") << 2 << "PP";
    QTest::newRow("edit past the end") << 1 << "NE";
}

void DataControlTest::noCurrentRow()
{
    QFETCH(int, rows);
    QFETCH(QString, steps);
    TestEnv env;
    for (int i = 0; i < rows; ++i)
        CaseBuilder().add();
    Recordset rs;
    rs.open(env.db(), "Clients");
    const QString last = steps.right(1);
    for (const QChar step : steps.chopped(1)) {
        if (step == 'N')
            rs.moveNext();
        else if (step == 'P')
            rs.movePrevious();
    }
    const int got = errorOf([&] {
        if (last == "F")
            rs.moveFirst();
        else if (last == "L")
            rs.moveLast();
        else if (last == "N")
            rs.moveNext();
        else if (last == "P")
            rs.movePrevious();
        else if (last == "R")
            rs.text("Surname");
        else if (last == "E")
            rs.edit();
        else if (last == "D")
            rs.deleteCurrent();
    });
    QCOMPARE(got, ErrNo::NoCurrentRecord);
}

void DataControlTest::deletingStandsOnTheNextRow()
{
    TestEnv env;
    CaseBuilder().surname("Adams").add();
    const int b = CaseBuilder().surname("Brown").add();
    Recordset rs;
    rs.open(env.db(), "SELECT * FROM [Clients]");
    rs.deleteCurrent();
    QCOMPARE(rs.recordCount(), 1);
    QCOMPARE(rs.field("CaseNo").toInt(), b);
    QCOMPARE(ClinicDb::scalar(env.db(), "SELECT COUNT(*) FROM [Clients]").toInt(), 1);
}

void DataControlTest::secondWriterOfARowGetsTheConflict()
{
    TestEnv env;
    const int caseNo = CaseBuilder().add();
    Recordset first, second;
    first.open(env.db(), "SELECT * FROM [Clients] WHERE [CaseNo] = ?", {caseNo});
    second.open(env.db(), "SELECT * FROM [Clients] WHERE [CaseNo] = ?", {caseNo});

    first.edit();
    first.setField("AnimalName", "Max");
    first.setField("UpperWt", 31.5);
    first.update();
    QCOMPARE(first.text("AnimalName"), QStringLiteral("Max"));

    second.edit();
    second.setField("Vet Comments", "Second window's note");
    QCOMPARE(errorOf([&] { second.update(); }), ErrNo::WriteConflict);
    QVERIFY(!second.editing());

    QCOMPARE(clientField(env.db(), caseNo, "AnimalName").toString(), QStringLiteral("Max"));
    QCOMPARE(clientField(env.db(), caseNo, "UpperWt").toDouble(), 31.5);
    QCOMPARE(clientField(env.db(), caseNo, "Vet Comments").toString(), QStringLiteral("None"));

    // The first may write again: its copy of the row is the stored one.
    first.edit();
    first.setField("Surname", "Jones");
    first.update();
    QCOMPARE(clientField(env.db(), caseNo, "Surname").toString(), QStringLiteral("Jones"));
    QCOMPARE(clientField(env.db(), caseNo, "SurnameKey").toString(), QStringLiteral("jones"));
}

void DataControlTest::writeToADeletedRowIsReported()
{
    TestEnv env;
    const int caseNo = CaseBuilder().add();
    Recordset keeper, remover;
    keeper.open(env.db(), "Clients");
    remover.open(env.db(), "Clients");
    remover.deleteCurrent();

    keeper.edit();
    keeper.setField("AnimalName", "Ghost");
    QCOMPARE(errorOf([&] { keeper.update(); }), ErrNo::RowDeleted);
    QCOMPARE(errorOf([&] { keeper.deleteCurrent(); }), ErrNo::RowDeleted);
    QVERIFY(!clientField(env.db(), caseNo, "CaseNo").isValid());
    QCOMPARE(ClinicDb::scalar(env.db(), "SELECT COUNT(*) FROM [Clients]").toInt(), 0);
}

void DataControlTest::rowIdGivenToANewRowIsNotOverwritten()
{
    // SQLite hands the number of a deleted last row to the next new row; a
    // stale copy of the deleted case must not write into the new one.
    TestEnv env;
    const int old = CaseBuilder().surname("Old").add();
    Recordset stale;
    stale.open(env.db(), "SELECT * FROM [Clients] WHERE [CaseNo] = ?", {old});
    ClinicDb::exec(env.db(), "DELETE FROM [Clients] WHERE [CaseNo] = ?", {old});
    const int fresh = CaseBuilder().surname("New").add();

    stale.edit();
    stale.setField("Surname", "Overwritten");
    QCOMPARE(errorOf([&] { stale.update(); }), ErrNo::WriteConflict);
    QCOMPARE(errorOf([&] { stale.deleteCurrent(); }), ErrNo::WriteConflict);
    QCOMPARE(clientField(env.db(), fresh, "Surname").toString(), QStringLiteral("New"));
}

void DataControlTest::addNewStandsOnTheStoredRow()
{
    TestEnv env;
    CaseBuilder().add();
    Recordset rs;
    rs.open(env.db(), "CLIENTS");
    rs.moveLast();
    const int next = rs.field("CaseNo").toInt() + 1;
    rs.addNew();
    rs.setField("CaseNo", next);
    QVERIFY(rs.editing());
    rs.update();
    QVERIFY(!rs.editing());
    QCOMPARE(rs.recordCount(), 2);
    QCOMPARE(rs.field("CaseNo").toInt(), next);
    QVERIFY(rs.isNull("Surname"));
    QCOMPARE(rs.field("Active").toInt(), 1); // the table's default

    // The reserved row is completed through the same recordset.
    rs.edit();
    rs.setField("Surname", "Ångström");
    rs.setField("Last Weighed", "2026-12-06");
    rs.setField("CurrentWt", "7.5");
    rs.update();
    QCOMPARE(clientField(env.db(), next, "SurnameKey").toString(), ClinicDb::surnameKey("ÅNGSTRÖM"));
    QCOMPARE(clientField(env.db(), next, "Last Weighed").toString(), QStringLiteral("2026-12-06"));
    QCOMPARE(clientField(env.db(), next, "CurrentWt").toDouble(), 7.5);

    // A truth value is stored as the number the reminder query compares.
    rs.edit();
    rs.setField("Active", false);
    rs.update();
    QCOMPARE(ClinicDb::scalar(env.db(), "SELECT typeof([Active]) || [Active] FROM [Clients] WHERE [CaseNo] = ?", {next})
                 .toString(),
             QStringLiteral("integer0"));
}

void DataControlTest::duplicateKeepsTheNewRowForCorrection()
{
    TestEnv env;
    Recordset rs;
    rs.open(env.db(), "[Diets Added]");
    rs.addNew();
    rs.setField("Generic", "Canine Home Diet");
    rs.update();

    rs.addNew();
    rs.setField("GENERIC", "canine home diet");
    rs.setField("ME Dry", 350.5);
    QCOMPARE(errorOf([&] { rs.update(); }), ErrNo::DuplicateKey);
    QVERIFY(rs.editing());
    QCOMPARE(rs.field("ME Dry").toDouble(), 350.5);
    rs.setField("Generic", "Canine Home Diet 2");
    rs.update();
    QCOMPARE(ClinicDb::scalar(env.db(), "SELECT COUNT(*) FROM [Diets Added]").toInt(), 2);

    QCOMPARE(errorOf([&] { rs.update(); }), 3020); // no edit under way
    rs.edit();
    rs.cancelUpdate();
    QVERIFY(!rs.editing());
}

void DataControlTest::boundWidgetsShowAndSave()
{
    TestEnv env;
    const int caseNo = CaseBuilder().range(25, 30).vetComments("Line one\r\nLine two").add();

    QLineEdit surname;
    QPlainTextEdit comments;
    QComboBox species;
    species.addItems({"Dog", "Cat", "Rabbit"});
    QCheckBox active;
    QLineEdit upper;

    DataControl data;
    data.DatabaseName = App().DBFName;
    data.Connect = ClinicDb::kConnect;
    data.bind(&surname, "SURNAME");
    data.bind(&comments, "Vet Comments");
    data.bind(&species, "Species");
    data.bind(&active, "Active");
    data.bind(&upper, "UpperWt");
    QSignalSpy refreshed(&data, &DataControl::refreshed);
    data.setRecordSource("SELECT * FROM [Clients] WHERE [CaseNo] = ?", {caseNo});
    data.Refresh();
    QCOMPARE(refreshed.count(), 1);

    QCOMPARE(surname.text(), QStringLiteral("Smith"));
    QCOMPARE(comments.toPlainText(), QStringLiteral("Line one\nLine two"));
    QCOMPARE(species.currentText(), QStringLiteral("Dog"));
    QVERIFY(active.isChecked());
    QCOMPARE(upper.text(), QStringLiteral("30"));

    // Nothing typed: nothing written (the stored line ends stay as they are).
    QVERIFY(!data.saveBound());
    QCOMPARE(clientField(env.db(), caseNo, "Vet Comments").toString(), QStringLiteral("Line one\r\nLine two"));

    surname.setText("O'Neil");
    species.setCurrentText("Rabbit");
    active.setChecked(false);
    upper.clear();
    QVERIFY(data.saveBound());
    QCOMPARE(clientField(env.db(), caseNo, "Surname").toString(), QStringLiteral("O'Neil"));
    QCOMPARE(clientField(env.db(), caseNo, "Species").toString(), QStringLiteral("Rabbit"));
    QCOMPARE(clientField(env.db(), caseNo, "Active").toInt(), 0);
    QVERIFY(clientField(env.db(), caseNo, "UpperWt").isNull());
    QCOMPARE(clientField(env.db(), caseNo, "Vet Comments").toString(), QStringLiteral("Line one\r\nLine two"));
    QVERIFY(!data.saveBound());
}

void DataControlTest::refreshSavesBoundWidgetsFirst()
{
    TestEnv env;
    const int caseNo = CaseBuilder().add();
    QPlainTextEdit diet;
    DataControl data;
    data.bind(&diet, "Diet Recommend");
    data.setRecordSource("SELECT * FROM [Clients] WHERE [CaseNo] = ?", {caseNo});
    data.Refresh();
    diet.setPlainText("Light diet, 120 g a day");
    data.Refresh();
    QCOMPARE(clientField(env.db(), caseNo, "Diet Recommend").toString(), QStringLiteral("Light diet, 120 g a day"));
    QCOMPARE(diet.toPlainText(), QStringLiteral("Light diet, 120 g a day"));

    // A source with no rows leaves the bound widgets empty.
    data.setRecordSource("SELECT * FROM [Clients] WHERE [CaseNo] = ?", {caseNo + 100});
    data.Refresh();
    QCOMPARE(diet.toPlainText(), QString());
    QVERIFY(data.recordset().eof());
}

void DataControlTest::saveBoundReportsAConflict()
{
    TestEnv env;
    const int caseNo = CaseBuilder().add();
    QLineEdit name;
    DataControl data;
    data.bind(&name, "AnimalName");
    data.setRecordSource("SELECT * FROM [Clients] WHERE [CaseNo] = ?", {caseNo});
    data.Refresh();
    // Another workstation renames the animal meanwhile.
    ClinicDb::exec(env.db(), "UPDATE [Clients] SET [AnimalName] = ? WHERE [CaseNo] = ?", {"Bruno", caseNo});
    name.setText("Rocky");
    QCOMPARE(errorOf([&] { data.saveBound(); }), ErrNo::WriteConflict);
    QCOMPARE(clientField(env.db(), caseNo, "AnimalName").toString(), QStringLiteral("Bruno"));

    // A refresh reports it too, but then shows the latest row, so that the
    // window is not stuck with a save that can never succeed.
    QCOMPARE(errorOf([&] { data.Refresh(); }), ErrNo::WriteConflict);
    QCOMPARE(name.text(), QStringLiteral("Bruno"));
    name.setText("Rocky");
    QVERIFY(data.saveBound());
    QCOMPARE(clientField(env.db(), caseNo, "AnimalName").toString(), QStringLiteral("Rocky"));

    // The reminder load rewrites [Aged] in every row; that is no conflict.
    ClinicDb::exec(env.db(), "UPDATE [Clients] SET [Aged] = 20");
    name.setText("Rocco");
    QVERIFY(data.saveBound());
    QCOMPARE(clientField(env.db(), caseNo, "AnimalName").toString(), QStringLiteral("Rocco"));
    QCOMPARE(data.recordset().field("Aged").toInt(), 20);

    // A weighing made meanwhile in another window changes other fields only:
    // the typed text is saved and the weighing is kept.
    ClinicDb::exec(env.db(), "UPDATE [Clients] SET [Graph Data] = ? WHERE [CaseNo] = ?", {"12.5;12.;", caseNo});
    name.setText("Rory");
    QVERIFY(data.saveBound());
    QCOMPARE(clientField(env.db(), caseNo, "AnimalName").toString(), QStringLiteral("Rory"));
    QCOMPARE(clientField(env.db(), caseNo, "Graph Data").toString(), QStringLiteral("12.5;12.;"));

    // A row that took the same rowid after a deletion is never written, even
    // when the typed field holds the same text there.
    ClinicDb::exec(env.db(), "DELETE FROM [Clients] WHERE [CaseNo] = ?", {caseNo});
    ClinicDb::exec(env.db(), "INSERT INTO [Clients] ([CaseNo], [AnimalName]) VALUES (?, ?)", {caseNo + 100, "Rory"});
    name.setText("Rex");
    const int error = errorOf([&] { data.saveBound(); });
    QVERIFY(error == ErrNo::RowDeleted || error == ErrNo::WriteConflict);
    QCOMPARE(clientField(env.db(), caseNo + 100, "AnimalName").toString(), QStringLiteral("Rory"));
}

FW_TEST(DataControlTest)
#include "tst_DataControl.moc"
