#include "platform/settings/Settings.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTest>

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void missingKeyGivesDefault()
    {
        TestEnv env(false);
        QCOMPARE(Settings::get("Recent", "C1", "?"), QString("?"));
        QCOMPARE(Settings::get("Paths", "DBFPath"), QString());
    }

    void valuesRoundTripExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("blank-led caption") << QString("Case# 12, Rex Smith");
        QTest::newRow("leading blank") << QString(" 12.5");
        QTest::newRow("trailing blank") << QString("Reminder Inactive ");
        QTest::newRow("only blanks") << QString("   ");
        QTest::newRow("comma and semicolon") << QString("Smith, Rex; Case: 12");
        QTest::newRow("quote and equals") << QString("a=\"b\"");
        QTest::newRow("backslash path") << QString("C:\\Program Files\\Fenwarra 2\\");
        QTest::newRow("non-ascii") << QString::fromUtf8("Ångström Müller");
        QTest::newRow("empty") << QString();
    }
    void valuesRoundTripExactly()
    {
        QFETCH(QString, value);
        TestEnv env(false);
        Settings::save("Recent", "C3", value);
        QCOMPARE(Settings::get("Recent", "C3", "?"), value);
    }

    void handEditedValueWithCommasReadsAsOneText()
    {
        TestEnv env(false);
        Settings::save("Recent", "C2", "?"); // the file exists
        QFile file(Settings::storeFile());
        QVERIFY(file.open(QIODevice::Append | QIODevice::Text));
        file.write("[Hand]\nC1=Case# 1, Rex Smith\n");
        file.close();
        QCOMPARE(Settings::get("Hand", "C1", "?"), QString("Case# 1, Rex Smith"));
    }

    void sectionsAndApplicationsAreSeparate()
    {
        TestEnv env(false);
        Settings::save("Options", "BackColour", "5");
        Settings::SaveSetting("OtherApp", "Options", "BackColour", "9");
        QCOMPARE(Settings::get("Options", "BackColour", "3"), QString("5"));
        QCOMPARE(Settings::get("Settings", "BackColour", "3"), QString("3"));
        QCOMPARE(Settings::GetSetting("OtherApp", "Options", "BackColour"), QString("9"));
    }
};

FW_TEST(SettingsTest)
#include "tst_Settings.moc"
