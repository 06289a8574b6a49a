// The masked edit box takes the digits 0 to 9 in its digit places and no
// other digit, typed or pasted, so that what it shows is what is read.
#include "platform/widgets/MaskedEdit.h"
#include "support/Controls.h"
#include "support/TestMain.h"

#include <QLineEdit>
#include <QTest>

class MaskedEditTest : public QObject {
    Q_OBJECT

private slots:
    void onlyDigitsZeroToNine_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("typed");  // shown after typing the text key by key
        QTest::addColumn<QString>("pasted"); // shown after pasting it at once
        const QString energy = QStringLiteral("000.0;_");
        const QString age = QStringLiteral("00\\y\\r\\s 00\\m\\t\\h\\s 00\\w\\k\\s;_");
        QTest::newRow("digits") << energy << "365.5"
                                << "365.5"
                                << "365.5";
        QTest::newRow("Arabic-Indic digits") << energy << QString::fromUtf8("١٢٣.٤") << "___._"
                                             << "___._";
        QTest::newRow("Devanagari digits") << energy << QString::fromUtf8("१२") << "___._"
                                           << "___._";
        QTest::newRow("full-width digits") << energy << QString::fromUtf8("１２") << "___._"
                                           << "___._";
        // Keys are refused one by one; a paste holding one is refused whole.
        QTest::newRow("another digit among ours") << energy << QString::fromUtf8("1٢3") << "13_._"
                                                  << "___._";
        QTest::newRow("age") << age << QString::fromUtf8("02٠٣03") << "02yrs 03mths __wks"
                             << "__yrs __mths __wks";
        QTest::newRow("letters of a date") << QStringLiteral("00-aaa-0000;_") << "21Feb1997"
                                           << "21-Feb-1997"
                                           << "21-Feb-1997";
    }

    void onlyDigitsZeroToNine()
    {
        QFETCH(QString, mask);
        QFETCH(QString, text);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QLineEdit typedBox;
        setAsciiInputMask(&typedBox, mask);
        typeText(&typedBox, text);
        QCOMPARE(typedBox.displayText(), typed);

        QLineEdit pastedBox;
        setAsciiInputMask(&pastedBox, mask);
        pastedBox.insert(text);
        QCOMPARE(pastedBox.displayText(), pasted);
    }
};

FW_TEST(MaskedEditTest)
#include "tst_MaskedEdit.moc"
