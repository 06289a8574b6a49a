// The saving of typed text on its own, against a row that can be told to
// fail: the text is never dropped silently, a conflict keeps the text in the
// box, closing asks before text is lost, and a click is never swallowed.
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

const QString kConflict = QStringLiteral(
    "The comments or diet recommendation of this case were changed in another window or at another workstation "
    "while you were typing here. Your text is kept in this window and will replace that change when you leave the "
    "box.");

/// A window of two boxes and a button over a row that fails when told to.
struct Window {
    ScriptedPrompt prompt;
    QWidget window;
    QPlainTextEdit *comments = new QPlainTextEdit(&window);
    QPlainTextEdit *diet = new QPlainTextEdit(&window);
    QPushButton *button = new QPushButton(QStringLiteral("Next"), &window);
    QStringList stored{QString(), QString()};
    std::optional<int> failWith; // the error of the next writes
    int rereads = 0;
    int reshows = 0;
    TypedTextSaver *saver = nullptr;

    Window()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(comments);
        layout->addWidget(diet);
        layout->addWidget(button);
        saver = new TypedTextSaver(&window, {comments, diet},
                                   {[this] {
                                        if (failWith)
                                            throw FwError(*failWith);
                                        stored = {comments->toPlainText(), diet->toPlainText()};
                                    },
                                    [this] {
                                        ++rereads;
                                        comments->setPlainText(QStringLiteral("changed elsewhere"));
                                    },
                                    [this] { ++reshows; }});
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

    void aConflictKeepsTheTypedTextInTheBox()
    {
        Window w;
        w.failWith = ErrNo::WriteConflict;
        w.comments->setPlainText(QStringLiteral("From the vet"));
        QVERIFY(!w.saver->save());
        QCOMPARE(w.prompt.texts(), QStringList{kConflict});
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Exclamation);
        // The row is shown as it now stands, with the typed text over it.
        QCOMPARE(w.rereads, 1);
        QCOMPARE(w.reshows, 1);
        QCOMPARE(w.comments->toPlainText(), QStringLiteral("From the vet"));
        // Leaving the box again stores it.
        w.failWith.reset();
        w.leave(w.comments);
        QCOMPARE(w.stored.first(), QStringLiteral("From the vet"));
        QCOMPARE(w.prompt.count(), 1);
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
