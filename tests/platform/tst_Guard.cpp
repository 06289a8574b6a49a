// The one guard of the handlers: what a failure shows, in which box, over
// which window, and that the undo of a failed step runs before the box.
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "support/ScriptedPrompt.h"
#include "support/TestMain.h"

#include <QTest>
#include <QWidget>

#include <stdexcept>

class GuardTest : public QObject {
    Q_OBJECT
private slots:
    void failureShownByDescription_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        const QString fw = FwError::standardDescription(ErrNo::NoSuchMember);
        QTest::newRow("FwError, critical") << 0 << int(Prompt::Icon::Critical) << fw << Prompt::kTitle;
        QTest::newRow("FwError, plain box") << 0 << int(Prompt::Icon::None) << fw << QString();
        QTest::newRow("other exception") << 1 << int(Prompt::Icon::Information) << "disk gone" << Prompt::kTitle;
        QTest::newRow("not an exception")
            << 2 << int(Prompt::Icon::Critical) << "Application-defined or object-defined error" << Prompt::kTitle;
    }
    void failureShownByDescription()
    {
        QFETCH(int, kind);
        QFETCH(int, icon);
        QFETCH(QString, text);
        QFETCH(QString, title);
        ScriptedPrompt prompt;
        QStringList steps;
        const bool ran = runGuarded(
            [&] {
                steps << "body";
                if (kind == 0)
                    throw FwError(ErrNo::NoSuchMember);
                if (kind == 1)
                    throw std::runtime_error("disk gone");
                throw 42;
            },
            Prompt::Icon(icon), [&] { steps << QString("undo before box %1").arg(prompt.count()); });
        QVERIFY(!ran);
        QCOMPARE(steps, (QStringList{"body", "undo before box 0"}));
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(prompt.last().text, text);
        QCOMPARE(int(prompt.last().icon), icon);
        QCOMPARE(prompt.last().buttons, Prompt::Buttons::OK);
        QCOMPARE(prompt.last().title, title);
    }

    void successShowsNothingAndUndoesNothing()
    {
        ScriptedPrompt prompt;
        bool undone = false;
        QVERIFY(runGuarded([] {}, Prompt::Icon::Critical, [&] { undone = true; }));
        QVERIFY(!undone);
        QCOMPARE(prompt.count(), 0);
    }

    void boxesOpenOverTheWindowGiven()
    {
        ScriptedPrompt prompt;
        QWidget frame, entry;
        Prompt::setParentWindow(&frame);
        QWidget *during = nullptr;
        runGuarded(&entry, [&] { during = Prompt::parentWindow(); });
        QCOMPARE(during, &entry);
        QCOMPARE(Prompt::parentWindow(), &frame);
        // Without a window the boxes stay where they open.
        runGuarded(nullptr, [&] { during = Prompt::parentWindow(); });
        QCOMPARE(during, &frame);
        Prompt::setParentWindow(nullptr);
    }
};

FW_TEST(GuardTest)
#include "tst_Guard.moc"
