// The browser windows' view over Qt WebEngine. It is built as a small library
// of its own that createBrowserView() loads when the first browser window
// opens: the web engine's libraries are large, and the program does not need
// them to start.
#include "platform/browser/BrowserView.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QPointer>
#include <QWebEngineView>

QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

namespace {

class WebEngineBrowserView final : public BrowserView {
public:
    explicit WebEngineBrowserView(QWidget *parent) : m_view(new QWebEngineView(parent))
    {
        m_view->setObjectName(QStringLiteral("WebEngineView"));
        // The view itself is the context: nothing is reported once it is gone.
        QObject::connect(m_view, &QWebEngineView::loadStarted, m_view, [this] { reportLoadStarted(); });
        QObject::connect(m_view, &QWebEngineView::loadFinished, m_view, [this](bool ok) { reportLoadFinished(ok); });
        QObject::connect(m_view, &QWebEngineView::titleChanged, m_view,
                         [this](const QString &title) { reportTitleChanged(title); });
    }
    ~WebEngineBrowserView() override { delete m_view.data(); }

    QWidget *widget() const override { return m_view; }
    void navigate(const QUrl &url) override { m_view->setUrl(url); }
    void back() override { m_view->back(); }
    void forward() override { m_view->forward(); }
    void reload() override { m_view->reload(); }
    void stop() override { m_view->stop(); }
    QUrl url() const override { return m_view->url(); }
    QString title() const override
    {
        // A page without a title of its own is named by its address.
        const QString title = m_view->title();
        return title == m_view->url().toString() || title == m_view->url().toDisplayString() ? QString() : title;
    }

private:
    QPointer<QWebEngineView> m_view;
};

} // namespace

/// A new view with its widget a child of parent; the caller owns it.
extern "C" Q_DECL_EXPORT BrowserView *fenwarraCreateBrowserView(QWidget *parent)
{
    // The web engine draws into OpenGL contexts that share with one context of
    // the whole program. The application object makes that context at start
    // when asked to beforehand, which would cost every start of the program
    // far more time than the browser saves; it is made here instead, when the
    // first browser window opens, and the engine finds it as it would have.
    static const bool ready = [] {
        if (QOpenGLContext::globalShareContext())
            return true;
        auto *context = new QOpenGLContext(QCoreApplication::instance());
        if (!context->create()) {
            delete context;
            return false;
        }
        qt_gl_set_global_share_context(context);
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        return true;
    }();
    // Without it the engine cannot run; the caller shows local pages itself.
    if (!ready)
        return nullptr;
    return new WebEngineBrowserView(parent);
}
