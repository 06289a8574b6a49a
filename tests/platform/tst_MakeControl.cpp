// The window-building helpers: a control carries the name it is made with, a
// button and a menu item run their handler, a button is never an automatic
// default, a list's menu has its items then the separator and Leave, and a
// box that gets the focus by a click is selected again once the click is done.
#include "platform/widgets/ListPopup.h"
#include "platform/widgets/MakeControl.h"
#include "platform/widgets/SelectAllText.h"
#include "support/TestMain.h"

#include <QAction>
#include <QDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

class MakeControlTest : public QObject {
    Q_OBJECT

private slots:
    void madeControlsCarryTheirNameAndArguments()
    {
        QWidget window;
        auto *label = Controls::make<QLabel>(&window, "Label1", QStringLiteral("Cases on record:"));
        QCOMPARE(label->parent(), &window);
        QCOMPARE(window.findChild<QLabel *>("Label1"), label);
        QCOMPARE(label->text(), QStringLiteral("Cases on record:"));
    }

    void aButtonRunsItsHandlerAndIsNoAutomaticDefault()
    {
        QDialog dialog;
        int clicks = 0;
        QPushButton *b = Controls::button(&dialog, "HHelp", QStringLiteral("&Help"), [&] { ++clicks; });
        QCOMPARE(b->objectName(), QStringLiteral("HHelp"));
        QCOMPARE(b->text(), QStringLiteral("&Help"));
        // In a dialog a button would otherwise take Enter once it had the focus.
        QVERIFY(!b->autoDefault());
        b->click();
        QCOMPARE(clicks, 1);
    }

    void aMenuItemRunsItsMemberHandler()
    {
        QMenu menu;
        int chosen = 0;
        struct Window {
            int *count;
            void mnuFileNew_Click() { ++*count; }
        } window{&chosen};
        QAction *a =
            Controls::item(&menu, "mnuFileNew", QStringLiteral("&New Case"), &window, &Window::mnuFileNew_Click);
        QCOMPARE(menu.actions(), QList<QAction *>{a});
        QCOMPARE(a->objectName(), QStringLiteral("mnuFileNew"));
        a->trigger();
        QCOMPARE(chosen, 1);
    }

    void aListMenuEndsWithItsSeparatorAndLeave()
    {
        QWidget window;
        int deleted = 0;
        QMenu *menu =
            ListPopup::make(&window, {{"DeleteCase", QStringLiteral("&Delete This Case"), [&] { ++deleted; }}});
        QCOMPARE(menu->objectName(), QStringLiteral("Hidden"));
        QStringList names;
        for (QAction *a : menu->actions())
            names << a->objectName();
        QCOMPARE(names, (QStringList{"DeleteCase", "mnuHiddenBar", "Leave"}));
        QVERIFY(menu->actions().at(1)->isSeparator());
        menu->actions().at(0)->trigger();
        menu->actions().at(2)->trigger(); // Leave runs nothing
        QCOMPARE(deleted, 1);
    }

    void onlyTheRightButtonOpensTheListMenu()
    {
        QWidget window;
        auto *list = new QListWidget(&window);
        QMenu *menu = ListPopup::make(&window, {});
        window.show();
        ListPopup::onMouseUp(menu, list, 1, 5, 5);
        QVERIFY(!menu->isVisible());
        ListPopup::onMouseUp(menu, list, 2, 5, 5);
        QVERIFY(menu->isVisible());
        menu->close();
    }

    void aClickSelectsTheTextAgainOnceItIsDone()
    {
        QWidget window;
        auto *box = new QLineEdit(QStringLiteral("12.5"), &window);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QFocusEvent byClick(QEvent::FocusIn, Qt::MouseFocusReason);
        selectAllOnFocus(box, &byClick);
        QCOMPARE(box->selectedText(), QStringLiteral("12.5"));
        // The click places the caret after the focus has arrived.
        box->deselect();
        QTRY_COMPARE(box->selectedText(), QStringLiteral("12.5"));

        int selections = 0;
        QFocusEvent byTab(QEvent::FocusIn, Qt::TabFocusReason);
        selectAllOnFocus(box, &byTab, [&] { ++selections; });
        QTest::qWait(20);
        QCOMPARE(selections, 1);
    }
};

FW_TEST(MakeControlTest)
#include "tst_MakeControl.moc"
