// The weekly weight history: its three written forms, the count, appending a
// weighing's entries and the newest entry of an undo copy.
#include "cases/WeightHistory.h"
#include "platform/FwError.h"
#include "support/TestMain.h"

#include <QtTest>

using Weights = QVector<float>;
Q_DECLARE_METATYPE(Weights)

class WeightHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<Weights>("weights");

        QTest::newRow("empty") << "" << 0 << Weights{};
        QTest::newRow("no separator yet") << "12.5" << 0 << Weights{};
        QTest::newRow("first weight as typed") << "12.50;" << 1 << Weights{12.5f};
        QTest::newRow("three forms") << " 12.5;12.;.5;" << 3 << Weights{12.5f, 12.0f, 0.5f};
        QTest::newRow("oldest first") << "12.5;12.3;12.1;" << 3 << Weights{12.5f, 12.3f, 12.1f};
        QTest::newRow("no number reads 0") << "abc;;7;" << 3 << Weights{0.0f, 0.0f, 7.0f};
        QTest::newRow("text after the last separator") << "10;11;1" << 2 << Weights{10.0f, 11.0f};
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(Weights, weights);
        const WeightHistory h(text);
        QCOMPARE(h.count(), qint16(count));
        QCOMPARE(h.isEmpty(), count == 0);
        QCOMPARE(h.weights(), weights);
        QCOMPARE(h.text(), text);
    }

    void countBeyond16Bits()
    {
        QCOMPARE(WeightHistory(QString(32767, QLatin1Char(';'))).count(), qint16(32767));
        try {
            WeightHistory(QString(32768, QLatin1Char(';'))).count();
            QFAIL("a count beyond 16 bits must be reported");
        } catch (const FwError &e) {
            QCOMPARE(e.number(), ErrNo::Overflow);
        }
    }

    void weighingEntry_data()
    {
        QTest::addColumn<float>("weight");
        QTest::addColumn<QString>("entry");
        QTest::newRow("whole keeps its point") << 12.0f << "12.";
        QTest::newRow("under one") << 0.5f << ".5";
        QTest::newRow("one decimal") << 11.5f << "11.5";
        QTest::newRow("rounded") << 12.46f << "12.5";
        QTest::newRow("three digits") << 102.25f << "102.3";
    }
    void weighingEntry()
    {
        QFETCH(float, weight);
        QFETCH(QString, entry);
        QCOMPARE(WeightHistory::weighingEntry(weight), entry);
    }

    void appendKeepsWhatWasThere()
    {
        WeightHistory h(QStringLiteral("12.50;"));
        h.appendWeight(11.5f);
        h.appendWeight(11.0f);
        QCOMPARE(h.text(), QStringLiteral("12.50;11.5;11.;"));
        h.append(QStringLiteral(" 10.5"));
        QCOMPARE(h.text(), QStringLiteral("12.50;11.5;11.; 10.5;"));
        QCOMPARE(h.count(), qint16(4));
        QCOMPARE(h.weights(), (Weights{12.5f, 11.5f, 11.0f, 10.5f}));

        WeightHistory empty;
        empty.appendWeight(0.5f);
        QCOMPARE(empty.text(), QStringLiteral(".5;"));
    }

    void correctedFirstWeight()
    {
        QCOMPARE(WeightHistory::correctedFirstWeight(12.5f), QStringLiteral(" 12.5;"));
        QCOMPARE(WeightHistory::correctedFirstWeight(0.5f), QStringLiteral(" .5;"));
        QCOMPARE(WeightHistory(WeightHistory::correctedFirstWeight(12.5f)).weights(), Weights{12.5f});
    }

    void lastEntryOfUndo_data()
    {
        QTest::addColumn<QString>("undo");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<float>("weight");
        QTest::newRow("weighing form") << "12.5;12.;"
                                       << "12." << 12.0f;
        QTest::newRow("one entry as typed") << "12.50;"
                                            << "12.50" << 12.5f;
        QTest::newRow("correction form") << " 12.5;"
                                         << " 12.5" << 12.5f;
        QTest::newRow("several") << "12;13;14.5;"
                                 << "14.5" << 14.5f;
        QTest::newRow("empty") << ""
                               << "" << 0.0f;
        QTest::newRow("separator only") << ";"
                                        << "" << 0.0f;
    }
    void lastEntryOfUndo()
    {
        QFETCH(QString, undo);
        QFETCH(QString, entry);
        QFETCH(float, weight);
        QCOMPARE(WeightHistory::lastEntryOfUndo(undo), entry);
        QCOMPARE(WeightHistory::lastWeightOfUndo(undo), weight);
    }
};

FW_TEST(WeightHistoryTest)
#include "tst_WeightHistory.moc"
