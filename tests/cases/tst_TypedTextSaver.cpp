// The saving of typed text on its own, against a row that can be told to
// fail: the text is never dropped silently, a change made elsewhere to the
// same box is settled by the user who sees both texts, closing asks before
// text is lost, and a click is never swallowed.
#include "cases/TypedTextSaver.h"
#include "platform/FwError.h"
#include "support/ScriptedPrompt.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <optional>

namespace {

/// A window of two boxes and a button over a row that fails when told to.
/// Like the real row, a write checks that each box it writes still holds
/// what the window read.
struct Window {
    ScriptedPrompt prompt;
    QWidget window;
    QPlainTextEdit *comments = new QPlainTextEdit(&window);
    QPlainTextEdit *diet = new QPlainTextEdit(&window);
    QPushButton *button = new QPushButton(QStringLiteral("Next"), &window);
    QStringList stored{QString(), QString()}; // the row
    QStringList read{QString(), QString()};   // the row as the window read it
    std::optional<int> failWith;              // the error of the next writes
    int rereads = 0;
    int reshows = 0;
    TypedTextSaver *saver = nullptr;

    Window()
    {
        window.setWindowTitle(QStringLiteral("Case# 12, Rex Smith"));
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(comments);
        layout->addWidget(diet);
        layout->addWidget(button);
        saver = new TypedTextSaver(&window, {comments, diet}, {"comments", "diet recommendation"},
                                   {[this] {
                                        if (failWith)
                                            throw FwError(*failWith);
                                        const QStringList texts{comments->toPlainText(), diet->toPlainText()};
                                        for (int i = 0; i < 2; ++i)
                                            if (texts[i] != read[i] && stored[i] != read[i])
                                                throw FwError(ErrNo::WriteConflict);
                                        stored = read = texts;
                                    },
                                    [this] {
                                        ++rereads;
                                        read = stored;
                                        comments->setPlainText(stored[0]);
                                        diet->setPlainText(stored[1]);
                                    },
                                    [this] { ++reshows; }, [this] { return read; }});
    }
    void leave(QPlainTextEdit *box)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
    }
};

} // namespace

class TypedTextSaverTest : public QObject {
    Q_OBJECT
private slots:
    void leavingABoxSavesIt()
    {
        Window w;
        w.diet->setPlainText(QStringLiteral("Light diet"));
        w.leave(w.diet);
        QCOMPARE(w.stored, (QStringList{QString(), QStringLiteral("Light diet")}));
        QCOMPARE(w.prompt.count(), 0);
    }

    void aFailureIsReportedOnceForTheSameText_data()
    {
        QTest::addColumn<int>("error");
        QTest::newRow("database") << int(ErrNo::DatabaseError);
        QTest::newRow("row deleted") << int(ErrNo::RowDeleted);
    }
    void aFailureIsReportedOnceForTheSameText()
    {
        QFETCH(int, error);
        Window w;
        w.failWith = error;
        w.comments->setPlainText(QStringLiteral("Check teeth"));
        w.leave(w.comments);
        w.leave(w.comments);
        QCOMPARE(w.prompt.texts(), QStringList{FwError::standardDescription(error)});
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
        QCOMPARE(w.comments->toPlainText(), QStringLiteral("Check teeth"));
        // New text is tried again, and a retry tries even the same text.
        w.comments->setPlainText(QStringLiteral("Check teeth and gums"));
        w.leave(w.comments);
        QVERIFY(!w.saver->retry());
        QCOMPARE(w.prompt.count(), 3);
        w.failWith.reset();
        QVERIFY(w.saver->retry());
        QCOMPARE(w.stored.first(), QStringLiteral("Check teeth and gums"));
    }

    void aChangeElsewhereIsSettledByTheUser_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        // The row held "None"; another window stored "None\nOwner: eating well".
        QTest::newRow("mine") << 0 << "Nurse: kitten food"
                              << "Nurse: kitten food";
        QTest::newRow("the stored text") << 1 << "Nurse: kitten food"
                                         << "None\nOwner: eating well";
        QTest::newRow("both") << 2 << "Nurse: kitten food"
                              << "None\nOwner: eating well\nNurse: kitten food";
        QTest::newRow("both, added to the same text") << 2 << "None\nNurse: kitten food"
                                                      << "None\nOwner: eating well\nNurse: kitten food";
    }
    void aChangeElsewhereIsSettledByTheUser()
    {
        QFETCH(int, button);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        Window w;
        w.stored = w.read = {"None", "Light diet"};
        w.comments->setPlainText("None");
        w.diet->setPlainText("Light diet");
        w.stored[0] = "None\nOwner: eating well"; // another window
        w.comments->setPlainText(typed);
        w.prompt.pick(button);
        QVERIFY(w.saver->save());
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(w.prompt.texts(),
                 QStringList{"While you were typing here (Case# 12, Rex Smith), another window or another "
                             "workstation changed the comments of this case. Keep your text, the text now stored, "
                             "or both (the stored text first, yours after it)?"});
        const ShownBox &box = w.prompt.last();
        QCOMPARE(box.details, "Now stored:\nNone\nOwner: eating well\n\nTyped here:\n" + typed);
        QCOMPARE(box.choices, (QStringList{"Keep &mine", "Keep the &stored text", "Keep &both"}));
        QCOMPARE(box.icon, Prompt::Icon::Exclamation);
        QCOMPARE(w.stored, (QStringList{kept, "Light diet"}));
        QCOMPARE(w.comments->toPlainText(), kept);
        QCOMPARE(w.rereads, 1);
        QCOMPARE(w.reshows, 1);
    }

    void aChangeElsewhereToAnotherBoxAsksNothing()
    {
        Window w;
        w.stored = w.read = {"None", "Light diet"};
        w.comments->setPlainText("None");
        w.diet->setPlainText("Light diet");
        // Both boxes changed there; only the diet typed into here.
        w.stored = {"Owner: eating well", "Less"};
        w.diet->setPlainText("More");
        // The box is closed without a choice (the script has no answer for it).
        QVERIFY(w.saver->save());
        // The diet is a real conflict; the comments, not typed here, take
        // the stored text without a question.
        QCOMPARE(w.prompt.texts().size(), 1);
        QVERIFY(w.prompt.texts().first().contains("changed the diet recommendation of this case"));
        QCOMPARE(w.comments->toPlainText(), QString("Owner: eating well"));
        // Closed without a choice: both kept.
        QCOMPARE(w.stored, (QStringList{"Owner: eating well", "Less\nMore"}));
    }

    void closingAsksBeforeTextIsLost()
    {
        Window w;
        w.failWith = ErrNo::DatabaseError;
        w.comments->setPlainText(QStringLiteral("Check teeth"));
        w.prompt.answer(Prompt::Answer::OK).answer(Prompt::Answer::No);
        QVERIFY(!w.saver->mayClose());
        QCOMPARE(w.prompt.texts().last(), QStringLiteral("The comments and diet recommendation typed in this window "
                                                         "could not be saved. Close the window and lose them?"));
        w.prompt.answer(Prompt::Answer::OK).answer(Prompt::Answer::Yes);
        QVERIFY(w.saver->mayClose());
        // A row that no longer exists cannot take the text: no question.
        w.prompt.clear();
        w.failWith = ErrNo::RowDeleted;
        QVERIFY(w.saver->mayClose());
        QCOMPARE(w.prompt.texts(), QStringList{FwError::standardDescription(ErrNo::RowDeleted)});
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void aClickIsNeverSwallowed_data()
    {
        QTest::addColumn<bool>("handlerHoldsAScope");
        QTest::newRow("a plain button") << false;
        QTest::newRow("a handler that saves by itself, cancelled") << true;
    }
    void aClickIsNeverSwallowed()
    {
        QFETCH(bool, handlerHoldsAScope);
        Window w;
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        w.comments->setFocus();
        QTRY_VERIFY(w.comments->hasFocus());
        w.comments->setPlainText(QStringLiteral("Check teeth"));
        w.failWith = ErrNo::DatabaseError;
        QStringList events;
        QObject::connect(w.button, &QPushButton::clicked, [&] {
            events << QStringLiteral("clicked, %1 boxes").arg(w.prompt.count());
            if (handlerHoldsAScope) {
                // A handler that saves by itself is not interrupted by the
                // save put off until after its click.
                TypedTextSaver::HandlerScope scope(*w.saver);
                QCoreApplication::processEvents(); // a prompt of the handler's own
                events << QStringLiteral("handler ended, %1 boxes").arg(w.prompt.count());
            }
        });

        // A real press and release on the button, through the window.
        QWindow *handle = w.window.windowHandle();
        const QPoint at = w.button->mapTo(&w.window, w.button->rect().center());
        QTest::mousePress(handle, Qt::LeftButton, {}, at);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, at);
        QTRY_COMPARE(w.prompt.count(), 1);
        // The click went through before the failure was shown.
        QCOMPARE(events.first(), QStringLiteral("clicked, 0 boxes"));
        if (handlerHoldsAScope)
            QCOMPARE(events.last(), QStringLiteral("handler ended, 0 boxes"));
        QCOMPARE(w.prompt.last().text, FwError::standardDescription(ErrNo::DatabaseError));
        QCOMPARE(w.comments->toPlainText(), QStringLiteral("Check teeth"));
    }
};

FW_TEST(TypedTextSaverTest)
#include "tst_TypedTextSaver.moc"
