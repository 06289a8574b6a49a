#pragma once
// The help window and the reading of the help pages behind it. The pages are
// plain HTML files, one per topic number ("1077.html"), plus "contents.html"
// and "search.html"; the search page's list of hits is made here, in C++, from
// the words typed into the window's search box.
#include <QList>
#include <QString>
#include <QTextBrowser>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace HelpPages {

inline const QString kContents = QStringLiteral("contents.html");
inline const QString kSearch = QStringLiteral("search.html");
/// Where the search page takes its list of hits.
inline const QString kResultsMarker = QStringLiteral("<!--results-->");

/// The folder of the help pages for a help file name: the folder help/ beside
/// the help file, else help/ in the shipped data folder; the first that holds
/// contents.html. Throws FwError with a clear description when neither does.
QString folderFor(const QString &helpFile);

/// The page file of a topic number in a folder ("1077.html").
QString topicFile(int topic);

/// The text a reader sees in a page: tags, styles and scripts removed,
/// character references decoded, runs of white space made one blank.
QString plainText(const QString &html);
/// The text of the page's <title>, or "" when it has none.
QString title(const QString &html);

/// The words of a search key, case-folded; punctuation separates words.
QStringList searchWords(const QString &key);

struct Hit {
    QString file;  // file name inside the folder
    QString title; // the page's title (its file name when it has none)
};
/// The pages of the folder whose text holds every word of the key (case does
/// not matter; a word may be part of a longer one), sorted by title. The
/// contents and search pages themselves are never hits; an empty key finds
/// nothing.
QList<Hit> search(const QString &folder, const QString &key);

/// The search page with its list of hits for the key put in place of the
/// results marker. The key is shown escaped, never as markup.
QString searchPage(const QString &folder, const QString &key);

} // namespace HelpPages

/// The browser of the help window. It reads the pages from their files, except
/// the search page, which it builds for the window's current search key.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget *parent = nullptr);
    QVariant loadResource(int type, const QUrl &name) override;

    void setFolder(const QString &folder) { m_folder = folder; }
    QString folder() const { return m_folder; }
    void setSearchKey(const QString &key) { m_key = key; }

    /// True when the browser shows the search page.
    bool showsSearch() const;

private:
    QString m_folder;
    QString m_key;
};

/// One help window for the whole program, shown modeless over the frame, or
/// over the modal dialog that asked for help while that dialog is up.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    /// Show a page (a file name inside the folder) and bring the window up.
    void showPage(const QString &folder, const QString &fileName);
    /// Show the search page with an empty key and put the cursor in the box.
    void showSearch(const QString &folder);

    HelpBrowser *browser() const { return m_browser; }
    QLineEdit *searchBox() const { return m_searchText; }

private:
    void searchTextChanged(const QString &text);
    void updateTitle();
    void bringUp();

    HelpBrowser *m_browser = nullptr;
    QLineEdit *m_searchText = nullptr;
    QPushButton *m_contents = nullptr;
    QPushButton *m_search = nullptr;
    QPushButton *m_back = nullptr;
};
