// Weighing entry and undo in the case window: what is stored, what is asked
// and said, and that a weighing never overwrites one made in another window
// or leaves a half-written row behind.
#include "cases/CaseOpening.h"
#include "cases/frmDocument.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "platform/text/NumberText.h"
#include "support/CaseBuilder.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QLineEdit>
#include <QPointer>
#include <QSqlQuery>
#include <QTest>
#include <memory>

namespace {

struct Row {
    QString graphData, graphDataUndo, lastWeighed, lastWeighedUndo;
    double currentWt = 0;
    bool operator==(const Row &o) const
    {
        return graphData == o.graphData && graphDataUndo == o.graphDataUndo && lastWeighed == o.lastWeighed &&
               lastWeighedUndo == o.lastWeighedUndo && currentWt == o.currentWt;
    }
};

Row readRow(const QSqlDatabase &db, int caseNo)
{
    QSqlQuery q = ClinicDb::exec(db,
                                 "SELECT [Graph Data], [Graph Data Undo], [Last Weighed], [Last Weighed Undo], "
                                 "[CurrentWt] FROM [Clients] WHERE [CaseNo] = ?",
                                 {caseNo});
    if (!q.next())
        return {};
    return {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
            q.value(4).toDouble()};
}

} // namespace

class NextWeightTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<ScriptedPrompt> prompt;
    QList<QPointer<frmDocument>> windows;
    int caseNo = 0;

    // A case window on the case, as the locator opens it.
    frmDocument *open()
    {
        frmDocument *doc =
            OpenCaseInDocument(OpenVariant::LocatorOrReminder, CaseRef{QString::number(caseNo), "Smith", "Rex"});
        windows << doc;
        return doc;
    }

    // The day `days` days before today (10 March 2026).
    static QDate ago(int days) { return QDate(2026, 3, 10).addDays(-days); }

    Row row() const { return readRow(env->db(), caseNo); }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        prompt = std::make_unique<ScriptedPrompt>();
        Clock::setNow(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
        windows.clear();
    }

    void cleanup()
    {
        for (const QPointer<frmDocument> &w : windows)
            delete w.data();
        windows.clear();
        prompt.reset();
        env.reset();
    }

    void weighingFillsInTheWeeks_data()
    {
        QTest::addColumn<QString>("history");
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("currentWt");

        QTest::newRow("12 to 11 in 14 days") << "12.5;12;" << 14 << "11"
                                             << "12.5;12;11.5;11.;" << 11.0;
        QTest::newRow("10 to 10.05 in 70 days") << "10;" << 70 << "10.05"
                                                << "10;" + QString("10.;").repeated(10) << 10.05;
        QTest::newRow("20 to 23 in 21 days") << "20.;" << 21 << "23"
                                             << "20.;21.;22.;23.;" << 23.0;
        QTest::newRow("6 days: one entry") << " 12.5;" << 6 << "12.2"
                                           << " 12.5;12.2;" << 12.2;
    }

    void weighingFillsInTheWeeks()
    {
        QFETCH(QString, history);
        QFETCH(int, daysAgo);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(double, currentWt);

        caseNo = CaseBuilder().history(history).lastWeighed(ago(daysAgo)).add();
        const Row before = row();
        frmDocument *doc = open();
        prompt->type(typed);
        doc->NextWt_Click();

        FW_VERIFY_PROMPTS(*prompt);
        QCOMPARE(prompt->count(), 1);
        QCOMPARE(prompt->last().text, QString("Enter Next weight in kg's"));
        QCOMPARE(prompt->last().title, QString("Message from the Fenwarra"));
        QCOMPARE(prompt->last().defaultText, QString("?"));

        const Row after = row();
        QCOMPARE(after.graphData, stored);
        QCOMPARE(after.graphDataUndo, before.graphData);
        QCOMPARE(after.lastWeighedUndo, before.lastWeighed);
        QCOMPARE(after.lastWeighed, QString("2026-03-10"));
        QCOMPARE(after.currentWt, currentWt);
        QCOMPARE(App().CurrWeight, float(NumText::Val(stored.section(';', -2, -2))));
        // The window shows the new history.
        QCOMPARE(int(doc->NumWts()), stored.count(';'));
    }

    void refusalsStoreNothing_data()
    {
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("boxes");

        const QString ask = "Enter Next weight in kg's";
        QTest::newRow("cancel") << 14 << QStringList{""} << QStringList{ask};
        QTest::newRow("cancel after a non-number")
            << 14 << QStringList{"?", ""} << QStringList{ask, "You must enter a numerical value", ask};
        QTest::newRow("cancel after 0 and a negative weight")
            << 14 << QStringList{"0", "-2", ""}
            << QStringList{ask, "The weight must be more than 0", ask, "The weight must be more than 0", ask};
        QTest::newRow("cancel after a weight the history keeps as 0")
            << 14 << QStringList{"0.04", ""}
            << QStringList{ask,
                           "The weight is too small: the weight history keeps one decimal place and would store it "
                           "as 0",
                           ask};
        const QString tooLarge = "The weight is too large: the largest weight a case can hold is 9999.9";
        QTest::newRow("cancel after a weight no weight can be")
            << 14 << QStringList{"1e99", ""} << QStringList{ask, tooLarge, ask};
        QTest::newRow("cancel after weights the case entry could not hold")
            << 14 << QStringList{"99999", "1e20", "3e38", ""}
            << QStringList{ask, tooLarge, ask, tooLarge, ask, tooLarge, ask};
        QTest::newRow("5 days")
            << 5 << QStringList{"11"}
            << QStringList{ask, "It is only  5 days since the last weight. The minimum re-weigh interval is 6 days."};
        QTest::newRow("last weighed in the future")
            << -2 << QStringList{"11"}
            << QStringList{ask, "It is only -2 days since the last weight. The minimum re-weigh interval is 6 days."};
    }

    void refusalsStoreNothing()
    {
        QFETCH(int, daysAgo);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, boxes);

        caseNo = CaseBuilder().history("12.5;12;").lastWeighed(ago(daysAgo)).add();
        const Row before = row();
        frmDocument *doc = open();
        for (const QString &t : typed)
            prompt->type(t);
        doc->NextWt_Click();
        FW_VERIFY_PROMPTS(*prompt);
        QCOMPARE(prompt->texts(), boxes);
        QVERIFY(row() == before);
    }

    void aStaleWindowCannotOverwriteAWeighing()
    {
        caseNo = CaseBuilder().history("12.5;12;").lastWeighed(ago(14)).add();
        frmDocument *first = open();
        frmDocument *second = open();

        prompt->type("11");
        first->NextWt_Click();
        const Row afterFirst = row();
        QCOMPARE(afterFirst.graphData, QString("12.5;12;11.5;11.;"));

        // The second window still shows the old history; its weighing is refused.
        prompt->clear();
        prompt->type("13");
        second->NextWt_Click();
        FW_VERIFY_PROMPTS(*prompt);
        QCOMPARE(prompt->count(), 2);
        QVERIFY(prompt->last().text.contains("changed in another window or at another workstation"));
        QVERIFY(row() == afterFirst);
        // ...and it now shows the history as stored.
        QCOMPARE(int(second->NumWts()), 4);
        QCOMPARE(control<QLineEdit>(second, "LocalCurrWt")->text(), QString("11"));

        // A stale undo is refused the same way.
        ClinicDb::exec(env->db(), "UPDATE [Clients] SET [Graph Data] = '12.5;' WHERE [CaseNo] = ?", {caseNo});
        const Row changed = row();
        prompt->clear();
        prompt->answer(Prompt::Answer::Yes);
        second->UndoToLastWt_Click();
        QVERIFY(prompt->texts().last().contains("changed in another window"));
        QVERIFY(row() == changed);
    }

    void aDeletedCaseIsReportedNotWeighed()
    {
        caseNo = CaseBuilder().history("12.5;12;").lastWeighed(ago(14)).add();
        frmDocument *doc = open();
        ClinicDb::exec(env->db(), "DELETE FROM [Clients] WHERE [CaseNo] = ?", {caseNo});
        prompt->type("11");
        doc->NextWt_Click();
        QVERIFY(prompt->texts().contains(
            "This case was deleted in another window or at another workstation after this window loaded it. "
            "Nothing was stored."));
        QCOMPARE(ClinicDb::scalar(env->db(), "SELECT COUNT(*) FROM [Clients]").toInt(), 0);
    }

    void aFailureDuringTheWriteLeavesTheRowAsItWas()
    {
        caseNo = CaseBuilder().history("12.5;12;").lastWeighed(ago(14)).add();
        const Row before = row();
        frmDocument *doc = open();
        // The row is changed by the statement and then the write fails.
        ClinicDb::exec(env->db(), "CREATE TRIGGER [fail] AFTER UPDATE OF [Graph Data] ON [Clients] "
                                  "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        prompt->type("11");
        doc->NextWt_Click();
        QCOMPARE(prompt->count(), 2);
        QVERIFY(prompt->last().text.contains("disk full"));
        QCOMPARE(int(prompt->last().icon), int(Prompt::Icon::Critical));
        QVERIFY(row() == before);

        // Once the fault is gone the same window weighs normally.
        ClinicDb::exec(env->db(), "DROP TRIGGER [fail]");
        prompt->clear();
        prompt->type("11");
        doc->NextWt_Click();
        QCOMPARE(row().graphData, QString("12.5;12;11.5;11.;"));
    }

    void undoRestoresThePreviousWeighing()
    {
        caseNo = CaseBuilder().history("12.5;12;").lastWeighed(ago(14)).add();
        frmDocument *doc = open();
        prompt->type("11");
        doc->NextWt_Click();

        prompt->clear();
        prompt->answer(Prompt::Answer::Yes);
        doc->UndoToLastWt_Click();
        FW_VERIFY_PROMPTS(*prompt);
        QCOMPARE(prompt->texts(),
                 QStringList{"Are you sure you wish to undo to the level of the previous last weighing?"});
        Row r = row();
        QCOMPARE(r.graphData, QString("12.5;12;"));
        QCOMPARE(r.lastWeighed, QString("2026-02-24"));
        QCOMPARE(r.currentWt, 12.0);
        QCOMPARE(int(doc->NumWts()), 2);

        // A second undo says so and changes nothing.
        prompt->clear();
        prompt->answer(Prompt::Answer::Yes);
        doc->UndoToLastWt_Click();
        QCOMPARE(prompt->texts().last(), QString("Already undone to the previous weight"));
        QVERIFY(row() == r);

        // No leaves everything as it is.
        prompt->clear();
        prompt->answer(Prompt::Answer::No);
        doc->UndoToLastWt_Click();
        QCOMPARE(prompt->count(), 1);
        QVERIFY(row() == r);
    }

    void undoWithoutAnUndoCopyIsRefused()
    {
        caseNo = CaseBuilder().history("12.5;12;").lastWeighed(ago(14)).undo("", ago(14)).add();
        const Row before = row();
        frmDocument *doc = open();
        prompt->answer(Prompt::Answer::Yes);
        doc->UndoToLastWt_Click();
        QCOMPARE(prompt->texts().last(), QString("There is no earlier weighing to undo to."));
        QVERIFY(row() == before);
    }

    void firstWeightCorrection()
    {
        caseNo = CaseBuilder().history("12.50;").lastWeighed(ago(0)).undo("12.50;", ago(3)).add();
        frmDocument *doc = open();
        QCOMPARE(int(doc->NumWts()), 1);
        prompt->answer(Prompt::Answer::Yes).answer(Prompt::Answer::Yes).type("abc").type("-1").type("12.5");
        doc->UndoToLastWt_Click();
        FW_VERIFY_PROMPTS(*prompt);
        QCOMPARE(prompt->texts(),
                 (QStringList{"Are you sure you wish to undo to the level of the previous last weighing?",
                              "Only one weighing so far. Would you like to correct this first weight?",
                              "Please enter the first weight correction", "You must enter a numerical value",
                              "Please re-enter the first weight correction", "The weight must be more than 0",
                              "Please re-enter the first weight correction"}));
        const Row r = row();
        QCOMPARE(r.graphData, QString(" 12.5;"));
        QCOMPARE(r.graphDataUndo, QString(" 12.5;"));
        QCOMPARE(r.lastWeighed, QString("2026-03-07"));
        QCOMPARE(r.currentWt, 12.5);
        QCOMPARE(App().CurrWeight, 12.5f);
    }

    void correctionCancelledStoresNothing_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("typed");
        QTest::newRow("no to the correction") << QList<int>{6, 7} << QStringList{};
        QTest::newRow("cancel at the input box") << QList<int>{6, 6} << QStringList{""};
        QTest::newRow("cancel after a non-number") << QList<int>{6, 6} << QStringList{"x", ""};
    }

    void correctionCancelledStoresNothing()
    {
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, typed);
        caseNo = CaseBuilder().history("12.50;").lastWeighed(ago(0)).add();
        const Row before = row();
        frmDocument *doc = open();
        for (int a : answers)
            prompt->answer(Prompt::Answer(a));
        for (const QString &t : typed)
            prompt->type(t);
        doc->UndoToLastWt_Click();
        FW_VERIFY_PROMPTS(*prompt);
        QVERIFY(row() == before);
    }
};

FW_TEST(NextWeightTest)
#include "tst_NextWeight.moc"
