// Re-weighing reminders: which cases are due by the calendar, the list line,
// the case kept with its line, the [Aged] writes (only where the value
// changes), no conflict for a case window because of them, and the printed
// page read back from a PDF file.
#include "curves_reports/ReminderPrint.h"
#include "curves_reports/Reminders.h"
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "support/CaseBuilder.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QPdfWriter>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The date `days` days before today as stored (none when days < 0).
QString ago(int days)
{
    return days < 0 ? QString() : Clock::today().addDays(-days).toString(Qt::ISODate);
}

QList<qint64> caseNos(const QVector<Reminders::Line> &lines)
{
    QList<qint64> out;
    for (const Reminders::Line &l : lines)
        out << l.caseNo;
    return out;
}

QVariant aged(TestEnv &env, int caseNo)
{
    return ClinicDb::scalar(env.db(), "SELECT [Aged] FROM [Clients] WHERE [CaseNo] = ?", {caseNo});
}

QString pdfText(const QString &pdf, int page = 0)
{
    QProcess p;
    QStringList args{"-layout"};
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    p.start("pdftotext", args << pdf << "-");
    if (!p.waitForFinished(20000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

const QString kRex = "Rex Smith, Dog, Tel.555 0101. Last recorded WT =  32.5 kg [Target =  25 -  30] (# 12)";

} // namespace

class RemindersTest : public QObject {
    Q_OBJECT
private slots:
    void dueByTheCalendar_data();
    void dueByTheCalendar();
    void inactiveCaseNeverListed();
    void lineFormat();
    void emptyFieldsAreEmptyParts();
    void lineKeepsItsCase();
    void agedWrittenOnlyWhereItChanges();
    void agedChangeIsNoConflictForACaseEdit();
    void aLoadSeesWhatWasWrittenSinceTheLast();
    void pageText();
    void printsToPdf();
    void longListGoesOnToTheNextPage();
};

void RemindersTest::dueByTheCalendar_data()
{
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<bool>("due");
    QTest::newRow("13 days") << 13 << false;
    QTest::newRow("14 days") << 14 << true;
    QTest::newRow("42 days") << 42 << true;
    QTest::newRow("43 days") << 43 << false;
    QTest::newRow("weighed today") << 0 << false;
    QTest::newRow("never weighed") << -1 << false;
}

void RemindersTest::dueByTheCalendar()
{
    QFETCH(int, daysAgo);
    QFETCH(bool, due);
    // 10 January 2030: 14 days back is in 2029, past any two-digit year pivot.
    TestEnv env;
    Clock::setNow(QDateTime(QDate(2030, 1, 10), QTime(9, 30)));
    const int caseNo = CaseBuilder().lastWeighed(ago(daysAgo)).add();
    const Reminders::Load l = Reminders::load(env.db(), Clock::today());
    QCOMPARE(caseNos(l.lines), due ? QList<qint64>{caseNo} : QList<qint64>{});
    if (daysAgo < 0)
        QVERIFY(aged(env, caseNo).isNull());
    else
        QCOMPARE(aged(env, caseNo).toInt(), daysAgo);
}

void RemindersTest::inactiveCaseNeverListed()
{
    TestEnv env;
    Clock::setNow(QDateTime(QDate(2030, 1, 10), QTime(9, 30)));
    const int active = CaseBuilder().lastWeighed(ago(20)).add();
    CaseBuilder().lastWeighed(ago(20)).inactive().add();
    CaseBuilder().lastWeighed(ago(400)).inactive().add();
    QCOMPARE(caseNos(Reminders::load(env.db(), Clock::today()).lines), QList<qint64>{active});
}

void RemindersTest::lineFormat()
{
    Reminders::LineFields f{"Rex", "Smith", "Dog", "555 0101", 32.5, "kg", 25.0, 30.0, 12};
    QCOMPARE(Reminders::lineText(f), kRex);
    // Weights are kept in single precision: 12.3 is shown as 12.3.
    f.currentWt = double(12.3f);
    f.lowerWt = 0.5;
    QVERIFY(Reminders::lineText(f).contains("WT =  12.3 kg [Target =  .5 -  30]"));
}

void RemindersTest::emptyFieldsAreEmptyParts()
{
    TestEnv env;
    Clock::setNow(QDateTime(QDate(2030, 1, 10), QTime(9, 30)));
    const int bare = CaseBuilder().lastWeighed(ago(20)).add();
    ClinicDb::exec(env.db(),
                   "UPDATE [Clients] SET [Surname] = NULL, [AnimalName] = NULL, [Tel No] = NULL, [CurrentWt] = NULL, "
                   "[UpperWt] = NULL, [Units] = '' WHERE [CaseNo] = ?",
                   {bare});
    const int after = CaseBuilder().surname("After").animal("Pet").lastWeighed(ago(21)).add();
    const QVector<Reminders::Line> lines = Reminders::load(env.db(), Clock::today()).lines;
    QCOMPARE(caseNos(lines), (QList<qint64>{bare, after}));
    QCOMPARE(lines.at(0).text, QStringLiteral(" , Dog, Tel.. Last recorded WT =   [Target =  10 - ] (# %1)").arg(bare));
    QVERIFY(lines.at(1).text.startsWith("Pet After, Dog"));
}

void RemindersTest::lineKeepsItsCase()
{
    TestEnv env;
    Clock::setNow(QDateTime(QDate(2030, 1, 10), QTime(9, 30)));
    CaseBuilder().lastWeighed(ago(100)).add();
    CaseBuilder().lastWeighed(ago(100)).add();
    QCOMPARE(CaseBuilder().lastWeighed(ago(100)).add(), 3); // case 3 exists, and is not due
    const int odd = CaseBuilder().surname("Jones (#3").animal("(#3").lastWeighed(ago(20)).add();
    const QVector<Reminders::Line> lines = Reminders::load(env.db(), Clock::today()).lines;
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.at(0).caseNo, qint64(odd));
    QVERIFY(lines.at(0).text.startsWith("(#3 Jones (#3, Dog"));

    const auto sel = Reminders::select(env.db(), lines.at(0).caseNo);
    QVERIFY(sel);
    QCOMPARE(sel->caseNo, QString::number(odd));
    QCOMPARE(sel->surname, QStringLiteral("Jones (#3"));
    QCOMPARE(sel->animalName, QStringLiteral("(#3"));

    ClinicDb::exec(env.db(), "DELETE FROM [Clients] WHERE [CaseNo] = ?", {odd});
    QVERIFY(!Reminders::select(env.db(), odd));
}

void RemindersTest::agedWrittenOnlyWhereItChanges()
{
    TestEnv env;
    Clock::setNow(QDateTime(QDate(2030, 1, 10), QTime(9, 30)));
    // A value stored with a time of day still counts calendar days: 14 days.
    const int a = CaseBuilder().lastWeighed("2029-12-27 23:59:00").add();
    const int b = CaseBuilder().lastWeighed(ago(300)).add();
    const int never = CaseBuilder().lastWeighed(QString()).add(); // never weighed

    Reminders::Load first = Reminders::load(env.db(), Clock::today());
    QCOMPARE(first.agedWritten, 2); // the row never weighed keeps its empty value
    QCOMPARE(aged(env, a).toInt(), 14);
    QCOMPARE(aged(env, b).toInt(), 300);
    QVERIFY(aged(env, never).isNull());
    QCOMPARE(caseNos(first.lines), QList<qint64>{a});

    // Another load the same day finds nothing to write, and lists the same.
    const Reminders::Load second = Reminders::load(env.db(), Clock::today());
    QCOMPARE(second.agedWritten, 0);
    QCOMPARE(second.lines.size(), 1);
    QCOMPARE(second.lines.at(0).text, first.lines.at(0).text);

    // The next day every weighed row moves on by one.
    Clock::setNow(QDateTime(QDate(2030, 1, 11), QTime(9, 0)));
    QCOMPARE(Reminders::updateAged(env.db(), Clock::today()), 2);
    QCOMPARE(aged(env, a).toInt(), 15);
    QCOMPARE(Reminders::updateAged(env.db(), Clock::today()), 0);
}

void RemindersTest::agedChangeIsNoConflictForACaseEdit()
{
    TestEnv env;
    Clock::setNow(QDateTime(QDate(2030, 1, 10), QTime(9, 30)));
    const int caseNo = CaseBuilder().lastWeighed(ago(20)).add();
    // A case window has read the row (the edit checks every column it read)...
    Recordset rs;
    rs.open(env.db(), "SELECT * FROM [Clients] WHERE [CaseNo] = ?", {caseNo});
    QVERIFY(rs.field("Aged").isNull());
    // ...when a reminder load at another workstation writes [Aged].
    QCOMPARE(Reminders::load(env.db(), Clock::today()).agedWritten, 1);
    QCOMPARE(aged(env, caseNo).toInt(), 20);

    rs.edit();
    rs.setField("Surname", "Edwards");
    rs.update(); // no FwError 3197
    QCOMPARE(ClinicDb::scalar(env.db(), "SELECT [Surname] FROM [Clients] WHERE [CaseNo] = ?", {caseNo}).toString(),
             QStringLiteral("Edwards"));
    QCOMPARE(rs.field("Aged").toInt(), 20);
}

void RemindersTest::aLoadSeesWhatWasWrittenSinceTheLast()
{
    TestEnv env;
    Clock::setNow(QDateTime(QDate(2030, 1, 10), QTime(9, 30)));
    const int caseNo = CaseBuilder().lastWeighed(ago(20)).add();
    Reminders::Load load = Reminders::load(env.db(), Clock::today());
    QCOMPARE(caseNos(load.lines), QList<qint64>{caseNo});
    QCOMPARE(aged(env, caseNo).toInt(), 20);

    // Weighed here meanwhile: no longer due, and [Aged] follows.
    ClinicDb::exec(env.db(), "UPDATE [Clients] SET [Last Weighed] = ? WHERE [CaseNo] = ?", {ago(0), caseNo});
    load = Reminders::load(env.db(), Clock::today());
    QCOMPARE(load.agedWritten, 1);
    QCOMPARE(caseNos(load.lines), QList<qint64>());
    QCOMPARE(aged(env, caseNo).toInt(), 0);

    // Another workstation, through a connection of its own, sets the weighing
    // back the same day.
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other workstation");
        other.setDatabaseName(App().DBFName);
        QVERIFY(other.open());
        QSqlQuery q(other);
        q.prepare("UPDATE [Clients] SET [Last Weighed] = ? WHERE [CaseNo] = ?");
        q.addBindValue(ago(30));
        q.addBindValue(caseNo);
        QVERIFY(q.exec());
        other.close();
    }
    QSqlDatabase::removeDatabase("other workstation");
    load = Reminders::load(env.db(), Clock::today());
    QCOMPARE(load.agedWritten, 1);
    QCOMPARE(caseNos(load.lines), QList<qint64>{caseNo});
    QCOMPARE(aged(env, caseNo).toInt(), 30);

    // Nothing written since: the same, and nothing to write.
    const Reminders::Load again = Reminders::load(env.db(), Clock::today());
    QCOMPARE(again.agedWritten, 0);
    QCOMPARE(again.lines.size(), 1);
    QCOMPARE(again.lines.at(0).text, load.lines.at(0).text);
}

void RemindersTest::pageText()
{
    const QString indent(10, ' ');
    const QStringList page = ReminderPrint::pageLines(QDate(2026, 12, 6), {kRex, "Two", "Three"});
    QCOMPARE(page, (QStringList{"FENWARRA REMINDERS DUE FOR 06 Dec 2026", indent + QString(72, '-'), "",
                                indent + " 1. " + kRex, indent + " 2. Two", indent + " 3. Three", indent}));
    QCOMPARE(ReminderPrint::pageLines(QDate(2026, 12, 6), {}),
             (QStringList{"FENWARRA REMINDERS DUE FOR 06 Dec 2026", indent + QString(72, '-'), "", indent}));
}

void RemindersTest::printsToPdf()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("reminders.pdf");
    // A line too long for the page wraps; nothing of it is lost.
    const QString longLine = kRex + " " + QString("Extraordinarily long telephone note ").repeated(6) + "END.";
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QCOMPARE(ReminderPrint::print(writer, ReminderPrint::pageLines(QDate(2026, 12, 6), {kRex, "Two", longLine})),
                 1);
    }
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains("FENWARRA REMINDERS DUE FOR 06 Dec 2026"), qPrintable(text));
    QVERIFY(text.contains("------------------------------"));
    const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
    auto lineWith = [&](const QString &needle) {
        for (int i = 0; i < lines.size(); ++i)
            if (lines.at(i).contains(needle))
                return i;
        return -1;
    };
    const int one = lineWith("1. Rex Smith");
    const int two = lineWith("2. Two");
    const int three = lineWith("3. Rex Smith");
    QVERIFY2(one > lineWith("FENWARRA") && two == one + 1 && three == two + 1, qPrintable(text));
    QVERIFY(lineWith("END.") > three);
    // The heading stands at the left edge, the numbered lines are indented.
    QVERIFY(lines.at(one).indexOf("1.") > lines.at(lineWith("FENWARRA")).indexOf("FENWARRA"));
}

void RemindersTest::longListGoesOnToTheNextPage()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("long.pdf");
    QStringList list;
    for (int i = 1; i <= 150; ++i)
        list << QStringLiteral("Case line number %1").arg(i);
    int pages = 0;
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        pages = ReminderPrint::print(writer, ReminderPrint::pageLines(QDate(2026, 12, 6), list));
    }
    QVERIFY(pages >= 2);
    const QString first = pdfText(pdf, 1);
    const QString last = pdfText(pdf, pages);
    QVERIFY(first.contains("1. Case line number 1\n") || first.contains("1. Case line number 1 "));
    QVERIFY(!first.contains("Case line number 150"));
    QVERIFY2(last.contains("150. Case line number 150"), qPrintable(last));
    // Every line is printed once.
    QString all;
    for (int p = 1; p <= pages; ++p)
        all += pdfText(pdf, p);
    for (int i = 1; i <= 150; i += 7)
        QCOMPARE(all.count(QStringLiteral("Case line number %1\n").arg(i)) +
                     all.count(QStringLiteral("Case line number %1 ").arg(i)),
                 1);
}

FW_TEST(RemindersTest)
#include "tst_Reminders.moc"
