#include "shell/frmBrowser.h"

#include "platform/Guard.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QToolBar>
#include <QVBoxLayout>

// Resources of a static library are registered by hand, outside any namespace.
static void initBrowserResources()
{
    Q_INIT_RESOURCE(shell);
}

namespace {

struct ToolButton {
    const char *key;
    const char *picture;
};
const ToolButton kToolButtons[] = {
    {"Back", "back"},     {"Forward", "forward"}, {"Refresh", "refresh"}, {"Home", "home"},
    {"Search", "search"}, {"Stop", "stop"},       {"Close", "close"},
};

} // namespace

frmBrowser::frmBrowser(QWidget *parent, std::unique_ptr<BrowserView> view) : QWidget(parent)
{
    initBrowserResources();
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QStringLiteral("Web Browser"));
    setAttribute(Qt::WA_DeleteOnClose);

    tbToolBar = new QToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setIconSize(QSize(24, 24));
    for (const ToolButton &b : kToolButtons) {
        const QString key = QLatin1String(b.key);
        QAction *a = tbToolBar->addAction(
            QIcon(QStringLiteral(":/shell/icons/browser-%1.png").arg(QLatin1String(b.picture))), key);
        a->setObjectName(key);
        a->setToolTip(key);
        connect(a, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        if (key == QLatin1String("Stop"))
            tbToolBar->addSeparator();
    }

    // The address line: the label, and the box 15 twips (one pixel) below it.
    picAddress = new QWidget(this);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    lblAddress = new QLabel(QStringLiteral("&Address:"), picAddress);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    cboAddress = new QComboBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setDuplicatesEnabled(false);
    lblAddress->setBuddy(cboAddress);
    // Enter is the box's own key: the combo box would otherwise report a
    // choice of its own as well. The keys typed reach the combo box (its
    // line edit hands the focus on to it) and only then its line edit, so
    // both are watched.
    cboAddress->installEventFilter(this);
    cboAddress->lineEdit()->installEventFilter(this);
    connect(cboAddress, &QComboBox::activated, this, [this](int) { cboAddress_Click(); });
    auto *addressLayout = new QVBoxLayout(picAddress);
    addressLayout->setContentsMargins(6, 4, 6, 4);
    addressLayout->setSpacing(1);
    addressLayout->addWidget(lblAddress);
    addressLayout->addWidget(cboAddress);

    m_view = view ? std::move(view) : createBrowserView(this);
    brwWebBrowser = m_view->widget();
    brwWebBrowser->setParent(this);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    m_view->loadStarted = [this] {
        runGuarded([&] {
            m_busy = true;
            setWindowTitle(kWorking);
        });
    };
    m_view->loadFinished = [this](bool) {
        runGuarded([&] {
            m_busy = false;
            brwWebBrowser_NavigateComplete();
        });
    };
    m_view->titleChanged = [this](const QString &) { brwWebBrowser_DownloadComplete(); };

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tbToolBar);
    layout->addWidget(picAddress);
    layout->addWidget(brwWebBrowser, 1);
}

frmBrowser::~frmBrowser()
{
    // Nothing the view reports while it goes reaches this window.
    if (m_view) {
        m_view->loadStarted = nullptr;
        m_view->loadFinished = nullptr;
        m_view->titleChanged = nullptr;
    }
}

QSize frmBrowser::sizeHint() const
{
    return QSize(760, 560);
}

QString frmBrowser::addressOf(const QUrl &url)
{
    return url.toDisplayString(QUrl::PreferLocalFile);
}

QStringList frmBrowser::history() const
{
    QStringList out;
    for (int i = 0; i < cboAddress->count(); ++i)
        out << cboAddress->itemText(i);
    return out;
}

QString frmBrowser::locationName() const
{
    const QString title = m_view->title();
    return title.isEmpty() ? addressOf(m_view->url()) : title;
}

void frmBrowser::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void frmBrowser::Form_Load()
{
    runGuarded([&] {
        if (StartingAddress.isEmpty())
            return;
        // The address as the view will report it, so the list holds it once.
        const QString address = addressOf(QUrl::fromUserInput(StartingAddress));
        DontNavigateNow = true;
        cboAddress->insertItem(0, address);
        cboAddress->setCurrentIndex(0);
        DontNavigateNow = false;
        navigate(address);
    });
}

void frmBrowser::navigate(const QString &address)
{
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (url.isValid())
        m_view->navigate(url);
}

void frmBrowser::cboAddress_Click()
{
    runGuarded([&] {
        if (DontNavigateNow)
            return;
        navigate(cboAddress->currentText());
    });
}

bool frmBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == cboAddress || watched == cboAddress->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cboAddress_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmBrowser::brwWebBrowser_NavigateComplete()
{
    runGuarded([&] {
        setWindowTitle(locationName());
        const QString location = addressOf(m_view->url());
        if (location.isEmpty())
            return;
        // Each address once, the most recent on top.
        const int found = cboAddress->findText(location, Qt::MatchExactly | Qt::MatchCaseSensitive);
        DontNavigateNow = true;
        if (found >= 0)
            cboAddress->removeItem(found);
        cboAddress->insertItem(0, location);
        cboAddress->setCurrentIndex(0);
        DontNavigateNow = false;
    });
}

void frmBrowser::brwWebBrowser_DownloadComplete()
{
    runGuarded([&] {
        // While a page loads the caption says so; it follows the title after.
        if (!m_busy)
            setWindowTitle(locationName());
    });
}

void frmBrowser::tbToolBar_ButtonClick(const QString &key)
{
    runGuarded([&] {
        if (key == QLatin1String("Close")) {
            if (QMdiSubWindow *sw = frmMain::subWindowOf(this))
                sw->close();
            else
                close();
        } else if (key == QLatin1String("Back")) {
            m_view->back();
        } else if (key == QLatin1String("Forward")) {
            m_view->forward();
        } else if (key == QLatin1String("Refresh")) {
            m_view->reload();
        } else if (key == QLatin1String("Home")) {
            // This window's home is the page it opened with.
            if (!StartingAddress.isEmpty())
                navigate(StartingAddress);
        } else if (key == QLatin1String("Search")) {
            navigate(kSearchPage);
        } else if (key == QLatin1String("Stop")) {
            m_view->stop();
            m_busy = false;
            setWindowTitle(locationName());
        }
    });
}
