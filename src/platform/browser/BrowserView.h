#pragma once
// The web-browser control of the browser windows: a small interface over the
// widget that shows the pages, so that a window can be tried with a stand-in
// that needs no network. The program's own view is Qt WebEngine's, in a small
// library of its own that is loaded when the first browser window opens (the
// web engine's libraries would otherwise add to every start of the program);
// without it, local pages are shown by a plain text browser.
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QWidget;

class BrowserView {
public:
    virtual ~BrowserView() = default;

    /// The widget that shows the pages.
    virtual QWidget *widget() const = 0;

    virtual void navigate(const QUrl &url) = 0;
    virtual void back() = 0;
    virtual void forward() = 0;
    virtual void reload() = 0;
    virtual void stop() = 0;

    /// The address of the page shown, and its title ("" when it has none).
    virtual QUrl url() const = 0;
    virtual QString title() const = 0;

    // What the view reports, on the user-interface thread, as it happens.
    std::function<void()> loadStarted;
    std::function<void(bool ok)> loadFinished;
    std::function<void(const QString &title)> titleChanged;

protected:
    void reportLoadStarted()
    {
        if (loadStarted)
            loadStarted();
    }
    void reportLoadFinished(bool ok)
    {
        if (loadFinished)
            loadFinished(ok);
    }
    void reportTitleChanged(const QString &title)
    {
        if (titleChanged)
            titleChanged(title);
    }
};

/// The program's view, with its widget a child of parent: Qt WebEngine's
/// when its library can be loaded, else the plain text browser.
std::unique_ptr<BrowserView> createBrowserView(QWidget *parent);

/// The plain text browser alone: local HTML files only.
std::unique_ptr<BrowserView> createTextBrowserView(QWidget *parent);
