// The real message and input boxes are wide enough for their title bar to
// show the whole title.
#include "platform/prompt/Prompt.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

struct SeenBox {
    QString title;
    int width = 0;
};

// Notes the first modal box that opens, then closes it.
void closeNextBox(SeenBox &seen)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &seen] {
        auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        seen.title = box->windowTitle();
        seen.width = box->width();
        timer->stop();
        timer->deleteLater();
        box->reject();
    });
    timer->start();
}

int needed(const QString &title)
{
    return Prompt::titleBarWidth(title, QApplication::font("QMdiSubWindowTitleBar"));
}

} // namespace

class PromptBoxesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Prompt::setBackend(nullptr); }
    void titleBarWidthHoldsTitleAndButtons();
    void messageBoxShowsItsWholeTitle_data();
    void messageBoxShowsItsWholeTitle();
    void inputBoxShowsItsWholeTitle();
};

void PromptBoxesTest::titleBarWidthHoldsTitleAndButtons()
{
    QFont font = QApplication::font();
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int width = Prompt::titleBarWidth(Prompt::kTitle, font);
    // The whole title in bold, and at least a close, maximise and minimise
    // button beside it.
    QVERIFY(width >= metrics.horizontalAdvance(Prompt::kTitle) + 3 * metrics.height());
    // A larger font or a longer title needs more room.
    QFont larger = font;
    larger.setPointSizeF(font.pointSizeF() * 2);
    QVERIFY(Prompt::titleBarWidth(Prompt::kTitle, larger) > width);
    QVERIFY(Prompt::titleBarWidth(Prompt::kTitle + QStringLiteral(" and more"), font) > width);
}

void PromptBoxesTest::messageBoxShowsItsWholeTitle_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::newRow("short, no icon") << "Saved." << int(Prompt::Icon::None) << int(Prompt::Buttons::OK);
    QTest::newRow("short, warning") << "No current record." << int(Prompt::Icon::Exclamation)
                                    << int(Prompt::Buttons::OK);
    QTest::newRow("question") << "Delete?" << int(Prompt::Icon::Question) << int(Prompt::Buttons::YesNo);
}

void PromptBoxesTest::messageBoxShowsItsWholeTitle()
{
    QFETCH(QString, text);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    SeenBox seen;
    closeNextBox(seen);
    Prompt::MsgBox(text, Prompt::Buttons(buttons), Prompt::Icon(icon), Prompt::kTitle);
    QCOMPARE(seen.title, Prompt::kTitle);
    QVERIFY2(seen.width >= needed(Prompt::kTitle),
             qPrintable(QStringLiteral("%1 < %2").arg(seen.width).arg(needed(Prompt::kTitle))));
}

void PromptBoxesTest::inputBoxShowsItsWholeTitle()
{
    SeenBox seen;
    closeNextBox(seen);
    Prompt::InputBox(QStringLiteral("Weight?"), Prompt::kTitle);
    QCOMPARE(seen.title, Prompt::kTitle);
    QVERIFY2(seen.width >= needed(Prompt::kTitle),
             qPrintable(QStringLiteral("%1 < %2").arg(seen.width).arg(needed(Prompt::kTitle))));
}

FW_TEST(PromptBoxesTest)
#include "tst_PromptBoxes.moc"
