#include "platform/FwError.h"
#include "platform/text/NumberText.h"
#include "support/TestMain.h"

#include <QLocale>
#include <QTest>
#include <cmath>
#include <functional>
#include <limits>

using namespace NumText;

namespace {
// The error number a call throws, or 0 when it throws nothing.
int thrownNumber(const std::function<void()> &call, QString *description = nullptr)
{
    try {
        call();
    } catch (const FwError &e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return 0;
}
} // namespace

class NumberTextTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void strAndPlainFloat_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("blankLed");
        QTest::addColumn<QString>("plain");
        QTest::newRow("12.5") << 12.5f << " 12.5"
                              << "12.5";
        QTest::newRow("0.5") << 0.5f << " .5"
                             << "0.5";
        QTest::newRow("-2.5") << -2.5f << "-2.5"
                              << "-2.5";
        QTest::newRow("-0.5") << -0.5f << "-.5"
                              << "-0.5";
        QTest::newRow("zero") << 0.0f << " 0"
                              << "0";
        QTest::newRow("negative zero") << -0.0f << " 0"
                                       << "0";
        QTest::newRow("0.3*100") << Sng(0.3f * 100) << " 30"
                                 << "30";
        QTest::newRow("Sng(12.1)") << Sng(12.1) << " 12.1"
                                   << "12.1";
        QTest::newRow("Sng(20*2.2)") << Sng(20 * 2.2) << " 44"
                                     << "44";
        QTest::newRow("2.5f*2.2f") << Sng(2.5f * 2.2f) << " 5.5"
                                   << "5.5";
        QTest::newRow("1/3") << 1.0f / 3.0f << " .3333333"
                             << "0.3333333";
        QTest::newRow("2/3 rounds up") << 2.0f / 3.0f << " .6666667"
                                       << "0.6666667";
        QTest::newRow("100.25") << 100.25f << " 100.25"
                                << "100.25";
        QTest::newRow("seven digits fixed") << 9999999.0f << " 9999999"
                                            << "9999999";
        QTest::newRow("1E7 exponent") << 1e7f << " 1E+07"
                                      << "1E+07";
        QTest::newRow("8 digits exponent") << 12345678.0f << " 1.234568E+07"
                                           << "1.234568E+07";
        QTest::newRow("0.0001 fixed") << 0.0001f << " .0001"
                                      << "0.0001";
        QTest::newRow("0.00001 exponent") << 0.00001f << " 1E-05"
                                          << "1E-05";
        QTest::newRow("negative small") << -0.000012345f << "-1.2345E-05"
                                        << "-1.2345E-05";
    }
    void strAndPlainFloat()
    {
        QFETCH(float, value);
        QFETCH(QString, blankLed);
        QFETCH(QString, plain);
        QCOMPARE(Str(value), blankLed);
        QCOMPARE(Plain(value), plain);
    }

    void strAndPlainDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("blankLed");
        QTest::addColumn<QString>("plain");
        QTest::newRow("0.1+0.2") << 0.1 + 0.2 << " .3"
                                 << "0.3";
        QTest::newRow("1/3") << 1.0 / 3.0 << " .333333333333333"
                             << "0.333333333333333";
        QTest::newRow("2/3") << 2.0 / 3.0 << " .666666666666667"
                             << "0.666666666666667";
        QTest::newRow("-0.5") << -0.5 << "-.5"
                              << "-0.5";
        QTest::newRow("12.126") << 12.126 << " 12.126"
                                << "12.126";
        QTest::newRow("15 digits fixed") << 999999999999999.0 << " 999999999999999"
                                         << "999999999999999";
        QTest::newRow("1E15") << 1e15 << " 1E+15"
                              << "1E+15";
        QTest::newRow("1E16") << 1e16 << " 1E+16"
                              << "1E+16";
        QTest::newRow("1.5E300") << 1.5e300 << " 1.5E+300"
                                 << "1.5E+300";
        QTest::newRow("0.0001") << 0.0001 << " .0001"
                                << "0.0001";
        QTest::newRow("-1E-5") << -1e-5 << "-1E-05"
                               << "-1E-05";
        QTest::newRow("float noise hidden by Sng only") << double(0.3f * 100) << " 30.0000019073486"
                                                        << "30.0000019073486";
    }
    void strAndPlainDouble()
    {
        QFETCH(double, value);
        QFETCH(QString, blankLed);
        QFETCH(QString, plain);
        QCOMPARE(Str(value), blankLed);
        QCOMPARE(Plain(value), plain);
    }

    void strAndPlainWhole()
    {
        QCOMPARE(Str(5), QStringLiteral(" 5"));
        QCOMPARE(Str(-3), QStringLiteral("-3"));
        QCOMPARE(Str(qint64(0)), QStringLiteral(" 0"));
        QCOMPARE(Str(qint16(-32768)), QStringLiteral("-32768"));
        QCOMPARE(Plain(-3), QStringLiteral("-3"));
        QCOMPARE(Plain(qint64(1234567890123)), QStringLiteral("1234567890123"));
    }

    void formatDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no zero before point") << 0.5 << "##.#"
                                              << ".5";
        QTest::newRow("point stays") << 12.0 << "##.#"
                                     << "12.";
        QTest::newRow("no digit left") << 0.4 << "#"
                                       << "";
        QTest::newRow("zero is a lone point") << 0.0 << "#.##"
                                              << ".";
        QTest::newRow("zero under ##") << 0.0 << "##"
                                       << "";
        QTest::newRow("zero under 0.00") << 0.0 << "0.00"
                                         << "0.00";
        QTest::newRow("round up 2 places") << 12.126 << "###.00"
                                           << "12.13";
        QTest::newRow("round down 2 places") << 12.1234 << "###.00"
                                             << "12.12";
        QTest::newRow("zeros shown") << 12.3 << "##.00"
                                     << "12.30";
        QTest::newRow("one place zero") << 12.0 << "###.0"
                                        << "12.0";
        QTest::newRow("thousands") << 1234.56 << "##,##0.0"
                                   << "1,234.6";
        QTest::newRow("millions") << 1234567.891 << "#,##0.00"
                                  << "1,234,567.89";
        QTest::newRow("carry into a group") << 999.96 << "#,##0.0"
                                            << "1,000.0";
        QTest::newRow("grouping, small") << 0.25 << "#,##0.00"
                                         << "0.25";
        QTest::newRow("negative grouped") << -1234.56 << "#,##0.00"
                                          << "-1,234.56";
        QTest::newRow("negative under 1") << -0.5 << "##.#"
                                          << "-.5";
        QTest::newRow("half away up") << 2.5 << "##"
                                      << "3";
        QTest::newRow("half away down") << -2.5 << "##"
                                        << "-3";
        QTest::newRow("1.5") << 1.5 << "##"
                             << "2";
        QTest::newRow("0.5 under #") << 0.5 << "#"
                                     << "1";
        QTest::newRow("more digits than #") << 123.4 << "#.#"
                                            << "123.4";
        QTest::newRow("more digits, no point") << 123.0 << "##"
                                               << "123";
        QTest::newRow("100 under #.##") << 100.0 << "#.##"
                                        << "100.";
        QTest::newRow("negative to zero has no sign") << -0.04 << "##.#"
                                                      << ".";
        QTest::newRow("negative to zero, zeros") << -0.001 << "0.00"
                                                 << "0.00";
        QTest::newRow("carry 9.96") << 9.96 << "##.#"
                                    << "10.";
        QTest::newRow("carry 0.999") << 0.999 << "#.##"
                                     << "1.";
        QTest::newRow("0.005 rounds up") << 0.005 << "#.##"
                                         << ".01";
        QTest::newRow("0.004 rounds away") << 0.004 << "#.##"
                                           << ".";
        QTest::newRow("decimal half 2.675") << 2.675 << "0.00"
                                            << "2.68";
        QTest::newRow("decimal half 1.005") << 1.005 << "#.##"
                                            << "1.01";
        QTest::newRow("0.456") << 0.456 << "0.00"
                               << "0.46";
        QTest::newRow("10.05 #.##") << 10.05 << "#.##"
                                    << "10.05";
        QTest::newRow("weeks 10/7") << 10.0 / 7.0 << "##"
                                    << "1";
        QTest::newRow("weeks 11/7") << 11.0 / 7.0 << "##"
                                    << "2";
        QTest::newRow("-0.5 step") << -0.5 << "##.##"
                                   << "-.5";
        QTest::newRow("large") << 1e20 << "#"
                               << "100000000000000000000";
        QTest::newRow("empty pattern is plain") << 0.5 << ""
                                                << "0.5";
        QTest::newRow("literal around") << 12.25 << "0.0 kg"
                                        << "12.3 kg";
    }
    void formatDouble()
    {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(Format(value, pattern), expected);
    }

    void formatFloat_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        // 12.45f is 12.4499998 in binary; written with seven digits it is 12.45.
        QTest::newRow("12.45f") << 12.45f << "##.#"
                                << "12.5";
        QTest::newRow("2.675f") << 2.675f << "0.00"
                                << "2.68";
        QTest::newRow("1.005f") << 1.005f << "#.##"
                                << "1.01";
        QTest::newRow("12.126f") << 12.126f << "###.00"
                                 << "12.13";
        QTest::newRow("0.3f*100") << Sng(0.3f * 100) << "##.##"
                                  << "30.";
        QTest::newRow("11.5f") << 11.5f << "##.#"
                               << "11.5";
        QTest::newRow("11f") << 11.0f << "##.#"
                             << "11.";
        QTest::newRow("-0.05f") << -0.05f << "##.#"
                                << "-.1";
        QTest::newRow("-0.04f") << -0.04f << "##.#"
                                << ".";
        QTest::newRow("0.4f") << 0.4f << "#"
                              << "";
        QTest::newRow("0f") << 0.0f << "#.##"
                            << ".";
    }
    void formatFloat()
    {
        QFETCH(float, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(Format(value, pattern), expected);
    }

    void formatWhole()
    {
        QCOMPARE(Format(12, QStringLiteral("##.#")), QStringLiteral("12."));
        QCOMPARE(Format(qint16(-3), QStringLiteral("##")), QStringLiteral("-3"));
        QCOMPARE(Format(qint64(1234567), QStringLiteral("#,##0")), QStringLiteral("1,234,567"));
    }

    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("history entry") << " 12.5;12.3;" << 12.5;
        QTest::newRow("whole with point") << "12.;" << 12.0;
        QTest::newRow("no zero before point") << ".5;" << 0.5;
        QTest::newRow("typed 12.50") << "12.50;" << 12.5;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("unit behind") << "-3.5kg" << -3.5;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("negative exponent") << "2.5E-2" << 0.025;
        QTest::newRow("exponent without digits") << "1e" << 1.0;
        QTest::newRow("exponent sign only") << "1e+" << 1.0;
        QTest::newRow("range") << "20-30 kg" << 20.0;
        QTest::newRow("negative range") << "-30 kg" << -30.0;
        QTest::newRow("plus sign") << "+5" << 5.0;
        QTest::newRow("tabs and line feeds") << "\t\r\n 7" << 7.0;
        QTest::newRow("blank inside ends the number") << "1 2" << 1.0;
        QTest::newRow("blank after sign") << "- 5" << 0.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("lone sign") << "-" << 0.0;
        QTest::newRow("second point") << "1.2.3" << 1.2;
        QTest::newRow("comma ends the number") << "1,000" << 1.0;
        QTest::newRow("leading zeros") << "0012" << 12.0;
        QTest::newRow("point and exponent") << ".5e1" << 5.0;
        QTest::newRow("underflow is zero") << "1e-400" << 0.0;
        QTest::newRow("non-ASCII digits") << QString::fromUtf8("\u0661\u0662") << 0.0;
    }
    void val()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(Val(text), expected);
    }

    void valOverflow()
    {
        QString description;
        QCOMPARE(thrownNumber([] { Val(QStringLiteral("1e400")); }, &description), ErrNo::Overflow);
        QCOMPARE(description, QStringLiteral("Overflow"));
        QCOMPARE(thrownNumber([] { Val(QStringLiteral("0.0001e305")); }), 0);
    }

    void isNumeric_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("12") << "12" << true;
        QTest::newRow("blanks around") << " 12.5 " << true;
        QTest::newRow("tabs around") << "\t12\n" << true;
        QTest::newRow(".5") << ".5" << true;
        QTest::newRow("-3") << "-3" << true;
        QTest::newRow("+5") << "+5" << true;
        QTest::newRow("-.5") << "-.5" << true;
        QTest::newRow("1e3") << "1e3" << true;
        QTest::newRow("12.") << "12." << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks") << "   " << false;
        QTest::newRow("abc") << "abc" << false;
        QTest::newRow("12kg") << "12kg" << false;
        QTest::newRow("1,000") << "1,000" << false;
        QTest::newRow("12,5") << "12,5" << false;
        QTest::newRow(".") << "." << false;
        QTest::newRow("12 5") << "12 5" << false;
        QTest::newRow("-") << "-" << false;
        QTest::newRow("1e") << "1e" << false;
        QTest::newRow("--5") << "--5" << false;
        QTest::newRow("5-") << "5-" << false;
        QTest::newRow("too large") << "1e400" << false;
        QTest::newRow("non-ASCII digits") << QString::fromUtf8("\u0661\u0662") << false;
    }
    void isNumeric()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QCOMPARE(IsNumeric(text), numeric);
    }

    void roundByFloat_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<float>("expected");
        QTest::newRow("12.126") << 12.126f << "###.00" << 12.13f;
        QTest::newRow("12.1234") << 12.1234f << "###.00" << 12.12f;
        QTest::newRow("zero reads the lone point as 0") << 0.0f << "#.##" << 0.0f;
        QTest::newRow("no digit left") << 0.4f << "#" << 0.0f;
        QTest::newRow("negative to zero") << -0.004f << "#.##" << 0.0f;
        QTest::newRow("12.45 one place") << 12.45f << "###.0" << 12.5f;
        QTest::newRow("grouping reads back whole") << 1234.56f << "##,##0.0" << 1234.6f;
        QTest::newRow("step -0.5") << -0.5f << "##.##" << -0.5f;
        QTest::newRow("step 1/3") << 1.0f / 3.0f << "##.##" << 0.33f;
    }
    void roundByFloat()
    {
        QFETCH(float, value);
        QFETCH(QString, pattern);
        QFETCH(float, expected);
        const float got = RoundBy(value, pattern);
        QVERIFY2(got == expected, qPrintable(Plain(got)));
    }

    void roundByDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("expected");
        // Days since the last weighing into whole weeks.
        QTest::newRow("3 days") << 3.0 / 7 << "##" << 0.0;
        QTest::newRow("6 days") << 6.0 / 7 << "##" << 1.0;
        QTest::newRow("10 days") << 10.0 / 7 << "##" << 1.0;
        QTest::newRow("11 days") << 11.0 / 7 << "##" << 2.0;
        QTest::newRow("17 days") << 17.0 / 7 << "##" << 2.0;
        QTest::newRow("18 days") << 18.0 / 7 << "##" << 3.0;
        QTest::newRow("24 days") << 24.0 / 7 << "##" << 3.0;
        QTest::newRow("12.126") << 12.126 << "###.00" << 12.13;
        QTest::newRow("12.15 one place") << 12.15 << "###.0" << 12.2;
    }
    void roundByDouble()
    {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(double, expected);
        QCOMPARE(RoundBy(value, pattern), expected);
    }

    void blankLedBy_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0.456") << 0.456f << "##.00"
                               << " .46";
        QTest::newRow("12.3") << 12.3f << "##.00"
                              << " 12.3";
        QTest::newRow("12") << 12.0f << "##.00"
                            << " 12";
        QTest::newRow("negative") << -1.234f << "##.00"
                                  << "-1.23";
        QTest::newRow("rounds to zero") << 0.001f << "##.00"
                                        << " 0";
        QTest::newRow("12.126") << 12.126f << "##.00"
                                << " 12.13";
    }
    void blankLedBy()
    {
        QFETCH(float, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(BlankLedBy(value, pattern), expected);
    }

    void cInt_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected"); // -99999: Overflow
        QTest::newRow("2.5 to even") << 2.5 << 2;
        QTest::newRow("3.5 to even") << 3.5 << 4;
        QTest::newRow("-2.5 to even") << -2.5 << -2;
        QTest::newRow("-3.5 to even") << -3.5 << -4;
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.4") << 2.4 << 2;
        QTest::newRow("2.6") << 2.6 << 3;
        QTest::newRow("-2.6") << -2.6 << -3;
        QTest::newRow("max") << 32767.0 << 32767;
        QTest::newRow("min") << -32768.0 << -32768;
        QTest::newRow("just under max") << 32767.4 << 32767;
        QTest::newRow("-32768.5 to even") << -32768.5 << -32768;
        QTest::newRow("32767.5 rounds out") << 32767.5 << -99999;
        QTest::newRow("32768") << 32768.0 << -99999;
        QTest::newRow("-32769") << -32769.0 << -99999;
        QTest::newRow("huge") << 1e10 << -99999;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << -99999;
    }
    void cInt()
    {
        QFETCH(double, value);
        QFETCH(int, expected);
        qint16 got = 0;
        QString description;
        const int error = thrownNumber([&] { got = CInt(value); }, &description);
        if (expected == -99999) {
            QCOMPARE(error, ErrNo::Overflow);
            QCOMPARE(description, QStringLiteral("Overflow"));
        } else {
            QCOMPARE(error, 0);
            QCOMPARE(int(got), expected);
        }
    }

    void checked16()
    {
        QCOMPARE(Add16(100, -50), qint16(50));
        QCOMPARE(Add16(32766, 1), qint16(32767));
        QCOMPARE(thrownNumber([] { Add16(32767, 1); }), ErrNo::Overflow);
        QCOMPARE(thrownNumber([] { Add16(-32768, -1); }), ErrNo::Overflow);
        QCOMPARE(Sub16(-32767, 1), qint16(-32768));
        QCOMPARE(thrownNumber([] { Sub16(-32768, 1); }), ErrNo::Overflow);
        QCOMPARE(thrownNumber([] { Sub16(0, -32768); }), ErrNo::Overflow);
        QCOMPARE(Mul16(-181, 181), qint16(-32761));
        QCOMPARE(thrownNumber([] { Mul16(200, 200); }), ErrNo::Overflow);
        QCOMPARE(thrownNumber([] { Mul16(-32768, -1); }), ErrNo::Overflow);
        QCOMPARE(To16(-32768), qint16(-32768));
        QCOMPARE(thrownNumber([] { To16(40000); }), ErrNo::Overflow);
        QCOMPARE(thrownNumber([] { To16(-32769); }), ErrNo::Overflow);
    }

    void roundHalfAway_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("2.5") << 2.5 << 3.0;
        QTest::newRow("-2.5") << -2.5 << -3.0;
        QTest::newRow("1.5 weeks") << 10.5 / 7 << 2.0;
        QTest::newRow("-1.5 weeks") << -10.5 / 7 << -2.0;
        QTest::newRow("half a week") << 3.5 / 7 << 1.0;
        QTest::newRow("under half") << 3.49 / 7 << 0.0;
        QTest::newRow("2.4999") << 2.4999 << 2.0;
        QTest::newRow("large") << 123456789.5 << 123456790.0;
    }
    void roundHalfAway()
    {
        QFETCH(double, value);
        QFETCH(double, expected);
        const double got = RoundHalfAway(value);
        QCOMPARE(got, expected);
        QCOMPARE(Format(value, QStringLiteral("#")), expected == 0 ? QString() : Plain(expected));
    }

    void roundHalfAwayZeroHasNoSign() { QVERIFY(!std::signbit(RoundHalfAway(-0.4))); }

    // Kilogram range to pound range: the low bound read from the start, the
    // high bound from behind the low bound's plain text, each times 2.2.
    void kgRangeToLb_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2.5-4") << "2.5-4"
                               << "5.5 - 8.8";
        QTest::newRow("20-30 kg") << "20-30 kg"
                                  << "44 - 66";
    }
    void kgRangeToLb()
    {
        QFETCH(QString, range);
        QFETCH(QString, expected);
        const float low = Sng(Val(range));
        const int n = Plain(low).size();
        const float high = Sng(std::fabs(Val(range.mid(n))));
        QCOMPARE(Plain(Sng(low * 2.2)) + QStringLiteral(" - ") + Plain(Sng(high * 2.2)), expected);
    }

    void noLocaleChangesTheTexts()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(Str(1234.5), QStringLiteral(" 1234.5"));
        QCOMPARE(Plain(0.5f), QStringLiteral("0.5"));
        QCOMPARE(Format(1234.56, QStringLiteral("##,##0.0")), QStringLiteral("1,234.6"));
        QCOMPARE(Val(QStringLiteral("12,5")), 12.0);
        QCOMPARE(Val(QStringLiteral("12.5")), 12.5);
        QVERIFY(!IsNumeric(QStringLiteral("12,5")));
    }
};

FW_TEST(NumberTextTest)
#include "tst_NumberText.moc"
