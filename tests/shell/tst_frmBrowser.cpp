// The web browser window over a stand-in view (no network): the address list
// keeps each address once, newest first; the caption says "Working..." while
// a page loads and follows the page after; the toolbar's keys; and, over the
// real view, the frame's command opening the start page.
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "platform/state/AppState.h"
#include "shell/frmBrowser.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QToolBar>

namespace {

/// A view that loads nothing: it records what it is asked and finishes a
/// page when the test says so.
class FakeView : public BrowserView {
public:
    FakeView() : m_widget(new QWidget) {}
    ~FakeView() override { delete m_widget.data(); }

    QWidget *widget() const override { return m_widget; }
    void navigate(const QUrl &url) override
    {
        asked << url;
        m_pending = url;
        reportLoadStarted();
    }
    void back() override { calls << "back"; }
    void forward() override { calls << "forward"; }
    void reload() override { calls << "reload"; }
    void stop() override { calls << "stop"; }
    QUrl url() const override { return m_url; }
    QString title() const override { return m_title; }

    /// The page asked for last has arrived, with this title.
    void finish(const QString &title = QString())
    {
        m_url = m_pending;
        m_title = title;
        reportTitleChanged(title);
        reportLoadFinished(true);
    }

    QList<QUrl> asked;
    QStringList calls;

private:
    QPointer<QWidget> m_widget;
    QUrl m_pending;
    QUrl m_url;
    QString m_title;
};

struct Window {
    FakeView *view = new FakeView;
    frmBrowser browser{nullptr, std::unique_ptr<BrowserView>(view)};

    /// Type an address and press Enter; the page arrives. The keys go to the
    /// address box, where a user's keys arrive (its line edit hands the focus
    /// on to it).
    void visit(const QString &address, const QString &title = QString())
    {
        QComboBox *box = control<QComboBox>(&browser, "cboAddress");
        box->lineEdit()->clear();
        QTest::keyClicks(box, address);
        QTest::keyClick(box, Qt::Key_Return);
        view->finish(title);
    }
};

} // namespace

class BrowserTest : public QObject {
    Q_OBJECT
private slots:
    void startPageAndCaption()
    {
        TestEnv env;
        Window w;
        const QString start = env.appPath() + "tech_support.htm";
        w.browser.setStartingAddress(start);
        w.browser.show();
        QCOMPARE(w.view->asked, QList<QUrl>{QUrl::fromLocalFile(start)});
        QCOMPARE(w.browser.windowTitle(), QStringLiteral("Working..."));
        QCOMPARE(w.browser.history(), QStringList{start});
        w.view->finish("Fenwarra Technical Support");
        QCOMPARE(w.browser.windowTitle(), QStringLiteral("Fenwarra Technical Support"));
        QCOMPARE(w.browser.history(), QStringList{start});
        QCOMPARE(control<QComboBox>(&w.browser, "cboAddress")->currentText(), start);
    }

    void emptyStartOpensNothing()
    {
        Window w;
        w.browser.show();
        QVERIFY(w.view->asked.isEmpty());
        QVERIFY(w.browser.history().isEmpty());
    }

    void eachAddressOnceNewestFirst()
    {
        Window w;
        w.browser.show();
        w.visit("https://a.example/", "A");
        w.visit("https://b.example/", "B");
        w.visit("https://a.example/", "A");
        QCOMPARE(w.browser.history(), QStringList({"https://a.example/", "https://b.example/"}));
        QCOMPARE(w.browser.windowTitle(), QStringLiteral("A"));
        // Rewriting the list started no navigation of its own.
        QCOMPARE(w.view->asked.size(), 3);

        // Choosing from the list goes there, once.
        QComboBox *box = control<QComboBox>(&w.browser, "cboAddress");
        box->setCurrentIndex(1);
        QMetaObject::invokeMethod(box, "activated", Q_ARG(int, 1));
        QCOMPARE(w.view->asked.size(), 4);
        QCOMPARE(w.view->asked.last(), QUrl("https://b.example/"));
        w.view->finish("B");
        QCOMPARE(w.browser.history(), QStringList({"https://b.example/", "https://a.example/"}));
    }

    void captionWhileLoading()
    {
        Window w;
        w.browser.show();
        w.visit("https://a.example/", "A");
        QLineEdit *edit = control<QComboBox>(&w.browser, "cboAddress")->lineEdit();
        edit->setText("https://b.example/");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(w.browser.windowTitle(), QStringLiteral("Working..."));
        QCOMPARE(w.view->asked.size(), 2);
        // A page without a title is named by its address.
        w.view->finish();
        QCOMPARE(w.browser.windowTitle(), QStringLiteral("https://b.example/"));
    }

    void twoWindowsKeepTheirOwnHistories()
    {
        Window one;
        Window two;
        one.browser.show();
        two.browser.show();
        one.visit("https://a.example/");
        two.visit("https://b.example/");
        one.visit("https://c.example/");
        QCOMPARE(one.browser.history(), QStringList({"https://c.example/", "https://a.example/"}));
        QCOMPARE(two.browser.history(), QStringList{"https://b.example/"});
    }

    void toolbarKeys()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        frmMain frame;
        Window *w = new Window;
        w->browser.setAttribute(Qt::WA_DeleteOnClose, false);
        w->browser.setStartingAddress(env.appPath() + "tech_support.htm");
        frame.addChild(&w->browser);
        w->view->finish("Start");
        auto press = [&](const char *key) {
            QAction *a = control<QToolBar>(&w->browser, "tbToolBar")->findChild<QAction *>(QLatin1String(key));
            QVERIFY2(a, key);
            a->trigger();
        };
        w->visit("https://a.example/", "A");
        press("Back");
        press("Forward");
        press("Refresh");
        QCOMPARE(w->view->calls, QStringList({"back", "forward", "reload"}));
        press("Home");
        QCOMPARE(w->view->asked.last(), QUrl::fromLocalFile(env.appPath() + "tech_support.htm"));
        press("Stop");
        QCOMPARE(w->view->calls.last(), QStringLiteral("stop"));
        QCOMPARE(w->browser.windowTitle(), QStringLiteral("A")); // the page still shown
        press("Search");
        QCOMPARE(w->view->asked.last(), QUrl(frmBrowser::kSearchPage));
        press("Close");
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 0);
        QCOMPARE(prompt.count(), 0);
        delete w;
    }

    // Over the plain text browser (where the web engine is missing): after
    // the start page, then A, then B, the list and the caption are B's.
    void textBrowserFollowsEachPage()
    {
        TestEnv env;
        auto page = [&](const QString &name, const QString &title) {
            QFile file(env.appPath() + name);
            if (file.open(QIODevice::WriteOnly))
                file.write(
                    QStringLiteral("<html><head><title>%1</title></head><body>%1</body></html>").arg(title).toUtf8());
            return env.appPath() + name;
        };
        const QString start = page("start.htm", "Start");
        const QString a = page("a.htm", "Page A");
        const QString b = page("b.htm", "Page B");
        frmBrowser browser(nullptr, createTextBrowserView(nullptr));
        browser.setStartingAddress(start);
        browser.show();
        QCOMPARE(browser.windowTitle(), QStringLiteral("Start"));
        QComboBox *box = control<QComboBox>(&browser, "cboAddress");
        for (const auto &[address, title, history] : {std::tuple{a, "Page A", QStringList{a, start}},
                                                      {b, "Page B", QStringList{b, a, start}},
                                                      {a, "Page A", QStringList{a, b, start}}}) {
            box->setEditText(address);
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(browser.windowTitle(), QString(title));
            QCOMPARE(browser.history(), history);
            QCOMPARE(box->currentText(), address);
        }
    }

    // Over the program's own view: each command opens a new window on the
    // start page, captioned with its title. The page is local; no network.
    void frameOpensTheStartPage()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        QVERIFY(QFile::copy(QStringLiteral(FENWARRA_SOURCE_DATA_DIR "/tech_support.htm"),
                            env.appPath() + "tech_support.htm"));
        frmMain frame;
        frame.show();
        frame.mnuViewBrowser_Click();
        frame.mnuViewBrowser_Click();
        const QList<QMdiSubWindow *> windows = frame.mdiArea()->subWindowList();
        QCOMPARE(windows.size(), 2);
        for (QMdiSubWindow *sw : windows) {
            auto *browser = qobject_cast<frmBrowser *>(frmMain::childOf(sw));
            QVERIFY(browser);
            QCOMPARE(browser->startingAddress(), env.appPath() + "tech_support.htm");
            QVERIFY(QTest::qWaitFor([&] { return sw->windowTitle() == "Fenwarra Technical Support"; }, 30000));
            QCOMPARE(browser->history(), QStringList{env.appPath() + "tech_support.htm"});
        }
        QCOMPARE(prompt.count(), 0);
    }
};
FW_TEST(BrowserTest)

#include "tst_frmBrowser.moc"
