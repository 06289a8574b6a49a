#include "platform/FwError.h"
#include "platform/text/DateText.h"
#include "support/Checks.h"
#include "support/TestMain.h"

#include <QLocale>
#include <QTest>

class DateTextTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void format_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("date of birth") << QDate(2004, 3, 5) << "dd-mmm-yyyy"
                                       << "05-Mar-2004";
        QTest::newRow("last weighed") << QDate(2026, 12, 6) << "dd/mmm/yy"
                                      << "06/Dec/26";
        QTest::newRow("table of weighings") << QDate(2026, 12, 6) << "dd-mmm-yy"
                                            << "06-Dec-26";
        QTest::newRow("reminder list") << QDate(2026, 12, 6) << "dd mmm yyyy"
                                       << "06 Dec 2026";
        QTest::newRow("two-digit year 05") << QDate(2005, 1, 31) << "dd/mmm/yy"
                                           << "31/Jan/05";
        QTest::newRow("numbers without zeros") << QDate(2026, 2, 6) << "d/m/yy"
                                               << "6/2/26";
        QTest::newRow("date stamp") << QDate(2026, 9, 15) << "dd-mmm-yyyy:"
                                    << "15-Sep-2026:";
        QTest::newRow("invalid date") << QDate() << "dd-mmm-yyyy"
                                      << "";
    }
    void format()
    {
        QFETCH(QDate, date);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(DateText::Format(date, pattern), expected);
    }

    void shortDateAndIso()
    {
        QCOMPARE(DateText::ShortDate(QDate(2026, 12, 6)), QStringLiteral("06/12/2026"));
        QCOMPARE(DateText::ShortDate(QDate()), QString());
        QCOMPARE(DateText::ToIso(QDate(2026, 12, 6)), QStringLiteral("2026-12-06"));
        QCOMPARE(DateText::ToIso(QDate(995, 1, 2)), QStringLiteral("0995-01-02"));
        QCOMPARE(DateText::ToIso(QDate()), QString());
    }

    void englishMonthsWhateverTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QStringList months = {QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"),
                                    QStringLiteral("Apr"), QStringLiteral("May"), QStringLiteral("Jun"),
                                    QStringLiteral("Jul"), QStringLiteral("Aug"), QStringLiteral("Sep"),
                                    QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
        for (int m = 1; m <= 12; ++m) {
            QCOMPARE(DateText::Format(QDate(2001, m, 1), QStringLiteral("mmm")), months[m - 1]);
            QCOMPARE(DateText::Parse(QStringLiteral("01-") + months[m - 1] + QStringLiteral("-2001")),
                     std::optional<QDate>(QDate(2001, m, 1)));
        }
        QCOMPARE(DateText::ShortDate(QDate(2026, 12, 6)), QStringLiteral("06/12/2026"));
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected"); // invalid: refused
        QTest::newRow("dd-mmm-yyyy") << "31-Dec-1995" << QDate(1995, 12, 31);
        QTest::newRow("dd mmm yyyy") << "31 Dec 1995" << QDate(1995, 12, 31);
        QTest::newRow("dd/mmm/yy") << "06/Dec/26" << QDate(2026, 12, 6);
        QTest::newRow("lower-case month") << "6-dec-26" << QDate(2026, 12, 6);
        QTest::newRow("upper-case month") << "6-DEC-26" << QDate(2026, 12, 6);
        QTest::newRow("full month") << "31-December-1995" << QDate(1995, 12, 31);
        QTest::newRow("month first") << "December 31, 1995" << QDate(1995, 12, 31);
        QTest::newRow("iso") << "1995-12-31" << QDate(1995, 12, 31);
        QTest::newRow("iso with time") << "1995-12-31T00:00:00" << QDate(1995, 12, 31);
        QTest::newRow("iso with blank time") << "1995-12-31 10:30:00" << QDate(1995, 12, 31);
        QTest::newRow("year first, slashes") << "1995/12/31" << QDate(1995, 12, 31);
        QTest::newRow("numeric") << "31/12/1995" << QDate(1995, 12, 31);
        QTest::newRow("numeric, points") << "31.12.1995" << QDate(1995, 12, 31);
        QTest::newRow("numeric, 2-digit year") << "31/12/95" << QDate(1995, 12, 31);
        QTest::newRow("day first though both fit") << "05/03/2004" << QDate(2004, 3, 5);
        QTest::newRow("year 29 is 2029") << "05/03/29" << QDate(2029, 3, 5);
        QTest::newRow("year 30 is 1930") << "05/03/30" << QDate(1930, 3, 5);
        QTest::newRow("year 00 is 2000") << "01-Jan-00" << QDate(2000, 1, 1);
        QTest::newRow("year 99 is 1999") << "01-Jan-99" << QDate(1999, 1, 1);
        QTest::newRow("blanks around") << "  31-Dec-1995 " << QDate(1995, 12, 31);
        QTest::newRow("leap day") << "29-Feb-2000" << QDate(2000, 2, 29);
        QTest::newRow("31-Feb") << "31-Feb-2000" << QDate();
        QTest::newRow("no leap day 1900") << "29-Feb-1900" << QDate();
        QTest::newRow("word") << "hello" << QDate();
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("blanks") << "   " << QDate();
        QTest::newRow("month 13") << "12/13/2000" << QDate();
        QTest::newRow("day 32") << "32/01/2000" << QDate();
        QTest::newRow("day 0") << "00/01/2000" << QDate();
        QTest::newRow("iso month 13") << "1995-13-01" << QDate();
        QTest::newRow("no year") << "31-Dec" << QDate();
        QTest::newRow("unknown month") << "31-Foo-1995" << QDate();
        QTest::newRow("no separators") << "31Dec1995" << QDate();
        QTest::newRow("three-digit year") << "31-Dec-995" << QDate();
        QTest::newRow("letters behind") << "31-Dec-1995x" << QDate();
        QTest::newRow("trailing separator") << "31-Dec-1995-" << QDate();
        QTest::newRow("four parts") << "31-Dec-1995-12" << QDate();
        QTest::newRow("number") << "12.5" << QDate();
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        const std::optional<QDate> got = DateText::Parse(text);
        if (expected.isValid())
            QCOMPARE(got, std::optional<QDate>(expected));
        else
            QVERIFY2(!got, qPrintable(got ? got->toString(Qt::ISODate) : QString()));
    }

    // Every date the program writes must read back as the same day, across
    // the whole two-digit-year window.
    void writtenDatesReadBack_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("dd-mmm-yyyy") << "dd-mmm-yyyy";
        QTest::newRow("dd/mmm/yy") << "dd/mmm/yy";
        QTest::newRow("dd-mmm-yy") << "dd-mmm-yy";
        QTest::newRow("dd mmm yyyy") << "dd mmm yyyy";
        QTest::newRow("short date") << "dd/mm/yyyy";
        QTest::newRow("iso") << "yyyy-mm-dd";
    }
    void writtenDatesReadBack()
    {
        QFETCH(QString, pattern);
        for (QDate d(1930, 1, 1); d <= QDate(2029, 12, 31); d = d.addDays(3)) {
            const std::optional<QDate> back = DateText::Parse(DateText::Format(d, pattern));
            if (back != std::optional<QDate>(d))
                QFAIL(qPrintable(DateText::Format(d, pattern)));
        }
    }

    void cDate()
    {
        QCOMPARE(DateText::CDate(QStringLiteral("31-Dec-1995")), QDate(1995, 12, 31));
        const auto failure = [](const QString &text) -> QPair<int, QString> {
            const FwError e = failureOf([&] { DateText::CDate(text); });
            return {e.number(), e.description()};
        };
        QCOMPARE(failure(QString()), (QPair<int, QString>(ErrNo::InvalidUseOfNull, "Invalid use of Null")));
        QCOMPARE(failure(QStringLiteral("")), (QPair<int, QString>(ErrNo::InvalidUseOfNull, "Invalid use of Null")));
        QCOMPARE(failure(QStringLiteral("hello")), (QPair<int, QString>(ErrNo::TypeMismatch, "Type mismatch")));
        QCOMPARE(failure(QStringLiteral("31-Feb-2000")), (QPair<int, QString>(ErrNo::TypeMismatch, "Type mismatch")));
    }

    void daysBetween_data()
    {
        QTest::addColumn<QDate>("a");
        QTest::addColumn<QDate>("b");
        QTest::addColumn<qint64>("days");
        QTest::newRow("same day") << QDate(2026, 1, 1) << QDate(2026, 1, 1) << qint64(0);
        QTest::newRow("spring daylight change") << QDate(2024, 3, 30) << QDate(2024, 4, 1) << qint64(2);
        QTest::newRow("autumn daylight change") << QDate(2024, 10, 26) << QDate(2024, 10, 28) << qint64(2);
        QTest::newRow("leap year") << QDate(2000, 2, 28) << QDate(2000, 3, 1) << qint64(2);
        QTest::newRow("backwards") << QDate(2026, 12, 6) << QDate(2026, 12, 1) << qint64(-5);
        QTest::newRow("years") << QDate(1995, 12, 31) << QDate(2026, 12, 6) << qint64(11298);
    }
    void daysBetween()
    {
        QFETCH(QDate, a);
        QFETCH(QDate, b);
        QFETCH(qint64, days);
        QCOMPARE(DateText::DaysBetween(a, b), days);
    }

    void daysBetweenMissingDate()
    {
        QCOMPARE(errorOf([] { DateText::DaysBetween(QDate(), QDate(2026, 1, 1)); }), ErrNo::InvalidUseOfNull);
    }
};

FW_TEST(DateTextTest)
#include "tst_DateText.moc"
