#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/help/Help.h"
#include "platform/help/HelpWindow.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

namespace {

void writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

QString page(const QString &title, const QString &body)
{
    return QStringLiteral("<html><head><title>%1</title><style>p { color: red; }</style></head><body>%2</body></html>")
        .arg(title, body);
}

QTextBrowser *browser()
{
    return Help::window()->findChild<QTextBrowser *>(QStringLiteral("HelpBrowser"));
}
QString shownFile()
{
    return QFileInfo(browser()->source().toLocalFile()).fileName();
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        if (QWidget *w = Help::window())
            delete w;
    }

    // Every topic the windows ask for, and every page of the case windows,
    // has a page in the shipped set, with a title, and every link between the
    // pages leads to a page that exists.
    void shippedPagesAreComplete()
    {
        const QString folder = QDir(ClinicDb::dataDir()).filePath(QStringLiteral("help"));
        const QStringList pages = {QStringLiteral("contents.html"), QStringLiteral("search.html")};
        const int topics[] = {1077, 1027, 1083, 1037, 1123, 1126, 1001, 1005, 1102,
                              1040, 1041, 1042, 1140, 1141, 1142, 1143, 1144, 1145};
        QStringList all = pages;
        for (int t : topics)
            all << HelpPages::topicFile(t);
        const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)\""));
        for (const QString &file : all) {
            QFile f(QDir(folder).filePath(file));
            QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(file));
            const QString html = QString::fromUtf8(f.readAll());
            QVERIFY2(!HelpPages::title(html).isEmpty(), qPrintable(file));
            for (auto it = link.globalMatch(html); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(QFile::exists(QDir(folder).filePath(target)), qPrintable(file + " -> " + target));
            }
        }
        QVERIFY(QFile(QDir(folder).filePath(QStringLiteral("search.html"))).open(QIODevice::ReadOnly));
    }

    // The shipped help answers what a nurse looks for on the main road: undo
    // has a page of its own (not only the worked examples), and the contents
    // put the recent cases where the File menu has them.
    void shippedHelpFindsTheMainRoad()
    {
        const QString folder = QDir(ClinicDb::dataDir()).filePath(QStringLiteral("help"));
        for (const char *key : {"undo", "weigh", "recent", "locator"}) {
            QStringList files;
            for (const HelpPages::Hit &h : HelpPages::search(folder, QLatin1String(key)))
                files << h.file;
            files.removeAll(QStringLiteral("1077.html"));
            QVERIFY2(!files.isEmpty(), key);
        }
        QFile contents(QDir(folder).filePath(HelpPages::kContents));
        QVERIFY(contents.open(QIODevice::ReadOnly));
        const QString text = HelpPages::plainText(QString::fromUtf8(contents.readAll()));
        QVERIFY(!text.contains(QStringLiteral("bottom of the File menu"), Qt::CaseInsensitive));
        QVERIFY(text.contains(QStringLiteral("middle of the File menu")));
    }

    // The windows reached only from the menus and the toolbar have pages of
    // their own, and the search finds each of them by the word a user would
    // type for it.
    void shippedSearchFindsEveryWindow_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("page");
        QTest::newRow("reminder list") << "reminder"
                                       << "1140.html";
        QTest::newRow("cost calculator") << "cost"
                                         << "1141.html";
        QTest::newRow("web browser") << "browser"
                                     << "1142.html";
        QTest::newRow("network register") << "network"
                                          << "1143.html";
        QTest::newRow("link and its waiting window") << "link"
                                                     << "1144.html";
        QTest::newRow("message of the Help menu") << "greeting"
                                                  << "1145.html";
    }
    void shippedSearchFindsEveryWindow()
    {
        QFETCH(QString, key);
        QFETCH(QString, page);
        const QString folder = QDir(ClinicDb::dataDir()).filePath(QStringLiteral("help"));
        QStringList files;
        for (const HelpPages::Hit &h : HelpPages::search(folder, key))
            files << h.file;
        QVERIFY2(files.contains(page), qPrintable(key + QStringLiteral(" finds ") + files.join(QLatin1Char(' '))));
    }

    // The case window and the locator have no Help button: their pages, and
    // every page of a window without one, are reached through the contents.
    void shippedContentsLeadToEveryPage_data()
    {
        QTest::addColumn<int>("topic");
        for (int topic : {1040, 1041, 1042, 1140, 1141, 1142, 1143, 1144, 1145})
            QTest::addRow("%d", topic) << topic;
    }
    void shippedContentsLeadToEveryPage()
    {
        QFETCH(int, topic);
        const QString folder = QDir(ClinicDb::dataDir()).filePath(QStringLiteral("help"));
        QFile contents(QDir(folder).filePath(HelpPages::kContents));
        QVERIFY(contents.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(contents.readAll());
        QVERIFY2(html.contains(QStringLiteral("href=\"%1\"").arg(HelpPages::topicFile(topic))),
                 qPrintable(HelpPages::topicFile(topic)));
    }

    void plainText_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("text");
        QTest::newRow("tags become blanks") << "<p>Next<br>Weight</p>"
                                            << "Next Weight";
        QTest::newRow("styles and scripts are no text")
            << "<style>p{color:red}</style><p>Cups</p><script>var x = 'cans';</script>"
            << "Cups";
        QTest::newRow("comments are no text") << "<!-- hidden words -->shown"
                                              << "shown";
        QTest::newRow("character references") << "Dogs &amp; cats &lt;52 weeks&gt; 0&#8211;8.5 &deg;C"
                                              << "Dogs & cats <52 weeks> 0\u20138.5  C";
        QTest::newRow("white space runs") << "  a \n\t b  "
                                          << "a b";
    }
    void plainText()
    {
        QFETCH(QString, html);
        QFETCH(QString, text);
        QCOMPARE(HelpPages::plainText(html), text.simplified());
    }

    void searchFindsPagesHoldingEveryWord_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("files");
        // Hits come sorted by title: "Diet calculator", "Examples", "Kittens".
        QTest::newRow("one word, any case") << "REDUCTION" << QStringList{"1123.html", "1077.html"};
        QTest::newRow("part of a word") << "weigh" << QStringList{"1123.html", "1077.html", "2000.html"};
        QTest::newRow("every word must stand in the page") << "reduction cups" << QStringList{"1123.html"};
        QTest::newRow("punctuation separates words") << "cups, reduction!" << QStringList{"1123.html"};
        QTest::newRow("words in the title count") << "Kittens" << QStringList{"2000.html"};
        QTest::newRow("markup and styles are not searched") << "color" << QStringList{};
        QTest::newRow("contents and search pages are no hits") << "contents" << QStringList{};
        QTest::newRow("an empty key finds nothing") << "  " << QStringList{};
        QTest::newRow("no page") << "zebra" << QStringList{};
    }
    void searchFindsPagesHoldingEveryWord()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, files);
        QTemporaryDir dir;
        writeFile(dir.filePath("contents.html"), page("Contents", "Weight reduction cups kittens contents"));
        writeFile(dir.filePath("search.html"), page("Search", "Type words. <!--results-->"));
        writeFile(dir.filePath("1077.html"), page("Examples", "<p>Bella's weight <b>reduction</b>.</p>"));
        writeFile(dir.filePath("1123.html"), page("Diet calculator", "Reduction diet: weight, cups and cans."));
        writeFile(dir.filePath("2000.html"), page("Kittens", "Weights of young cats."));
        QStringList found;
        for (const HelpPages::Hit &h : HelpPages::search(dir.path(), key))
            found << h.file;
        QCOMPARE(found, files);
    }

    void searchPageListsHitsAndEscapesTheKey()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("contents.html"), page("Contents", ""));
        writeFile(dir.filePath("search.html"), page("Search", "Type words. <!--results--><p>end</p>"));
        writeFile(dir.filePath("1001.html"), page("Growth &amp; Curves", "puppy curves"));
        const QString hit = HelpPages::searchPage(dir.path(), QStringLiteral("puppy"));
        QVERIFY(hit.contains(QStringLiteral("<a href=\"1001.html\">Growth &amp; Curves</a>")));
        QVERIFY(hit.indexOf(QStringLiteral("1001.html")) < hit.indexOf(QStringLiteral("<p>end</p>")));

        const QString none = HelpPages::searchPage(dir.path(), QStringLiteral("<b>zebra</b>"));
        QVERIFY(none.contains(QStringLiteral("&lt;b&gt;zebra&lt;/b&gt;")));
        QVERIFY(!none.contains(QStringLiteral("<b>zebra")));
    }

    void topicOpensItsPageInOneWindow()
    {
        TestEnv env(false);
        QVERIFY(!Help::window());
        Help::showTopic(App().HelpFilePath, 1077);
        QWidget *w = Help::window();
        QVERIFY(w);
        QCOMPARE(w->objectName(), QStringLiteral("HelpWindow"));
        QVERIFY(w->isVisible());
        QVERIFY(!w->isModal());
        QCOMPARE(shownFile(), QStringLiteral("1077.html"));
        QVERIFY(browser()->toPlainText().contains(QStringLiteral("Example Cases Discussed")));

        Help::showContents(App().HelpFilePath);
        QCOMPARE(Help::window(), w); // the same window again
        QCOMPARE(shownFile(), QStringLiteral("contents.html"));

        // Back returns to the topic page.
        auto *back = w->findChild<QPushButton *>(QStringLiteral("BackBut"));
        QVERIFY(back && back->isEnabled());
        back->click();
        QCOMPARE(shownFile(), QStringLiteral("1077.html"));
    }

    void linksBetweenPagesWork()
    {
        TestEnv env(false);
        Help::showContents(App().HelpFilePath);
        QTextBrowser *b = browser();
        QVERIFY(QTest::qWaitForWindowExposed(Help::window()));
        // Click the contents page's link to the diet calculator.
        QTextCursor link = b->document()->find(QStringLiteral("The diet calculator"));
        QVERIFY(!link.isNull());
        link.setPosition(link.selectionStart() + 3);
        b->ensureCursorVisible();
        b->setTextCursor(link);
        b->ensureCursorVisible();
        const QPoint at = b->cursorRect(link).center();
        QTest::mouseClick(b->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(shownFile(), QStringLiteral("1123.html"));
        QVERIFY(browser()->toPlainText().contains(QStringLiteral("Reducn")));
    }

    void searchBoxListsPagesWithTheWord()
    {
        TestEnv env(false);
        Help::showSearch(App().HelpFilePath);
        QCOMPARE(shownFile(), QStringLiteral("search.html"));
        auto *box = Help::window()->findChild<QLineEdit *>(QStringLiteral("SearchText"));
        QVERIFY(box);
        QCOMPARE(box->text(), QString());

        box->setText(QStringLiteral("Pomeranian"));
        QVERIFY(browser()->toPlainText().contains(QStringLiteral("Growth Curves for Puppies and Kittens")));
        QVERIFY(!browser()->toPlainText().contains(QStringLiteral("Example Cases Discussed")));

        // Typing from another page turns to the search page.
        Help::showTopic(App().HelpFilePath, 1027);
        box->setText(QStringLiteral("cups"));
        QCOMPARE(shownFile(), QStringLiteral("search.html"));
        QVERIFY(browser()->toPlainText().contains(QStringLiteral("The Diet Calculator")));

        // Asking for the search again starts with an empty key.
        Help::showSearch(App().HelpFilePath);
        QCOMPARE(box->text(), QString());
        QVERIFY(!browser()->toPlainText().contains(QStringLiteral("The Diet Calculator")));
    }

    // Help asked for from a modal dialog must not be blocked by that dialog.
    void helpFromAModalDialogCanBeUsed()
    {
        TestEnv env(false);
        QWidget frame;
        Prompt::setParentWindow(&frame);
        Help::showContents(App().HelpFilePath);
        QCOMPARE(Help::window()->parentWidget(), &frame);
        {
            QDialog dialog(&frame);
            dialog.setWindowModality(Qt::ApplicationModal);
            dialog.show();
            QCOMPARE(QApplication::activeModalWidget(), &dialog);
            Help::showTopic(App().HelpFilePath, 1083);
            QCOMPARE(Help::window()->parentWidget(), &dialog);
            QVERIFY(Help::window()->isWindow());
            dialog.hide();
            Help::showTopic(App().HelpFilePath, 1005); // back over the frame once the dialog is gone
        }
        QVERIFY(Help::window());
        QCOMPARE(Help::window()->parentWidget(), &frame);
        QCOMPARE(shownFile(), QStringLiteral("1005.html"));
        Prompt::setParentWindow(nullptr);
    }

    void pagesBesideTheHelpFileComeFirst()
    {
        TestEnv env(false);
        QDir().mkpath(env.appPath() + QStringLiteral("help"));
        writeFile(env.appPath() + QStringLiteral("help/contents.html"), page("Local contents", "Our own pages"));
        writeFile(env.appPath() + QStringLiteral("help/1077.html"), page("Local examples", "Local example"));
        QCOMPARE(HelpPages::folderFor(App().HelpFilePath), QDir::cleanPath(env.appPath() + QStringLiteral("help")));
        Help::showTopic(App().HelpFilePath, 1077);
        QVERIFY(browser()->toPlainText().contains(QStringLiteral("Local example")));
    }

    void missingPagesAreReported()
    {
        TestEnv env(false);
        try {
            Help::showTopic(App().HelpFilePath, 4242);
            QFAIL("a missing topic must be reported");
        } catch (const FwError &e) {
            QVERIFY2(e.description().contains(QStringLiteral("4242")), qPrintable(e.description()));
        }
        QVERIFY(!Help::window()); // nothing was opened for it

        // An installation whose data folder has no help pages: neither place
        // holds them, and the description names where they were looked for.
        writeFile(env.appPath() + QStringLiteral("schema.sql"), QStringLiteral("-- a data folder without help\n"));
        QCOMPARE(QDir::cleanPath(ClinicDb::dataDir()), QDir::cleanPath(env.appPath()));
        try {
            Help::showContents(App().HelpFilePath);
            QFAIL("missing help pages must be reported");
        } catch (const FwError &e) {
            QVERIFY2(e.description().contains(QDir::cleanPath(env.appPath() + QStringLiteral("help"))),
                     qPrintable(e.description()));
        }
        QVERIFY(!Help::window());
    }
};

FW_TEST(HelpTest)
#include "tst_Help.moc"
