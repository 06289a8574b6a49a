#pragma once
// A simple web-browser window inside the frame: a toolbar, an address box
// with the addresses visited (each once, the most recent first) and the view.
// Its caption follows the page shown and reads "Working..." while a page
// loads, as the view reports it; nothing is polled. The frame opens a new one
// for every Web Browser command.
#include "platform/browser/BrowserView.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QToolBar;

class frmBrowser : public QWidget {
    Q_OBJECT
public:
    /// A window over the program's view, or over the view given.
    explicit frmBrowser(QWidget *parent = nullptr, std::unique_ptr<BrowserView> view = {});
    ~frmBrowser() override;

    /// The address opened when the window loads ("" opens nothing); set it
    /// before the window is shown. Home returns to it.
    void setStartingAddress(const QString &address) { StartingAddress = address; }
    QString startingAddress() const { return StartingAddress; }

    static inline const QString kWorking = QStringLiteral("Working...");
    /// Where Search goes: a web search page.
    static inline const QString kSearchPage = QStringLiteral("https://duckduckgo.com/");

    /// How an address stands in the address box: a local file as its path,
    /// anything else as its address.
    static QString addressOf(const QUrl &url);

    // Handlers (the system's names).
    void Form_Load();
    /// An address chosen from the list, or Enter in the address box.
    void cboAddress_Click();
    void tbToolBar_ButtonClick(const QString &key);
    void brwWebBrowser_NavigateComplete();
    void brwWebBrowser_DownloadComplete();

    /// The address list, the most recent first.
    QStringList history() const;
    BrowserView *view() const { return m_view.get(); }

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolBar *tbToolBar = nullptr;
    QWidget *picAddress = nullptr;
    QLabel *lblAddress = nullptr;
    QComboBox *cboAddress = nullptr;
    QWidget *brwWebBrowser = nullptr;

    void navigate(const QString &address);
    /// The page's title, or its address when it has none.
    QString locationName() const;

    QString StartingAddress;
    std::unique_ptr<BrowserView> m_view;
    // True while the address list is rewritten, so that no navigation starts.
    bool DontNavigateNow = false;
    bool m_busy = false;
    bool m_loaded = false;
};
