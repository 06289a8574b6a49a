#include "platform/browser/BrowserView.h"
#include "platform/plugin/PluginLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>

namespace {

using CreateFunction = BrowserView *(*)(QWidget *parent);

/// The creation function of the web engine's library (engine/), loaded on
/// first use: the installed copy in lib/fenwarra beside the program's bin
/// folder, else the one in the build tree. Null when neither can be loaded.
CreateFunction engineFunction()
{
#ifdef FENWARRA_BROWSER_ENGINE
    static const auto create = reinterpret_cast<CreateFunction>(
        resolvePluginFunction(QStringLiteral(FENWARRA_BROWSER_ENGINE), "fenwarraCreateBrowserView"));
    return create;
#else
    return nullptr;
#endif
}

/// Local pages in a text browser: enough for the program's own start page.
class TextBrowserView final : public BrowserView {
public:
    explicit TextBrowserView(QWidget *parent) : m_view(new QTextBrowser(parent))
    {
        m_view->setObjectName(QStringLiteral("TextBrowserView"));
        m_view->setOpenLinks(true);
        // The text browser says a new page is shown before its own source()
        // has moved on to it; the page's address is the one it names.
        QObject::connect(m_view, &QTextBrowser::sourceChanged, m_view, [this](const QUrl &shown) {
            m_shown = shown;
            reportTitleChanged(title());
            reportLoadFinished(true);
        });
    }
    ~TextBrowserView() override { delete m_view.data(); }

    QWidget *widget() const override { return m_view; }

    void navigate(const QUrl &url) override
    {
        reportLoadStarted();
        if (!url.isLocalFile() || !QFileInfo::exists(url.toLocalFile())) {
            m_failed = url;
            m_view->setHtml(QStringLiteral("<p>%1 cannot be shown: this browser shows the computer's own pages "
                                           "only, because Qt WebEngine is not installed.</p>")
                                .arg(url.toDisplayString().toHtmlEscaped()));
            reportTitleChanged(title());
            reportLoadFinished(false);
            return;
        }
        m_failed.clear();
        if (m_shown == url) {
            // The same page again: read anew, with no change of source to report it.
            m_view->reload();
            reportTitleChanged(title());
            reportLoadFinished(true);
            return;
        }
        m_view->setSource(url);
    }
    void back() override { m_view->backward(); }
    void forward() override { m_view->forward(); }
    void reload() override { m_view->reload(); }
    void stop() override {}
    QUrl url() const override { return m_failed.isEmpty() ? m_shown : m_failed; }
    QString title() const override { return m_failed.isEmpty() ? m_view->documentTitle() : QString(); }

private:
    QPointer<QTextBrowser> m_view;
    QUrl m_shown;  // the address of the page shown
    QUrl m_failed; // an address that could not be shown
};

} // namespace

std::unique_ptr<BrowserView> createTextBrowserView(QWidget *parent)
{
    return std::make_unique<TextBrowserView>(parent);
}

std::unique_ptr<BrowserView> createBrowserView(QWidget *parent)
{
    if (const CreateFunction create = engineFunction())
        if (BrowserView *view = create(parent))
            return std::unique_ptr<BrowserView>(view);
    return createTextBrowserView(parent);
}
