#include "shell/frmMain.h"

#include "cases/CaseDetails.h"
#include "cases/CaseOpening.h"
#include "cases/fmLocator.h"
#include "cases/frmDocument.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/help/Help.h"
#include "platform/layout/ScreenPlacement.h"
#include "platform/layout/Twips.h"
#include "platform/prompt/Prompt.h"
#include "platform/settings/Settings.h"
#include "platform/sound/Sound.h"
#include "platform/state/AppState.h"
#include "platform/state/LinkMode.h"
#include "platform/text/Clock.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/widgets/MakeControl.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <memory>

// Resources of a static library must be registered by hand; outside any
// namespace, as Q_INIT_RESOURCE requires.
static void initShellResources()
{
    Q_INIT_RESOURCE(shell);
}

namespace {

frmMain *s_instance = nullptr;

const QString kExitQuestion = QStringLiteral("Do you really want to exit the Fenwarra?");
const QString kNoHelp =
    QStringLiteral("Unable to display Help Contents. There is no Help associated with this project.");

// Geometry defaults of the frame, in twips.
constexpr int kDefaultLeft = 1000;
constexpr int kDefaultTop = 1000;
constexpr int kDefaultWidth = 6500;
constexpr int kDefaultHeight = 6500;
// A setting far outside any screen is a damaged value, not a position.
constexpr double kTwipsLimit = 1.0e6;

QString versionNumber()
{
    return QStringLiteral("%1.%2.%3")
        .arg(FENWARRA_VERSION_MAJOR)
        .arg(FENWARRA_VERSION_MINOR)
        .arg(FENWARRA_VERSION_PATCH);
}

/// A caption as a menu shows it: "&" is a character, not an accelerator.
QString menuText(const QString &caption)
{
    QString text = caption;
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    return text;
}

/// A frame geometry setting in twips: a text that is not a number keeps the default.
double twipsSetting(const QString &key, int defaultValue)
{
    const QString text = Settings::get(QStringLiteral("Settings"), key, QString::number(defaultValue));
    if (!NumText::IsNumeric(text))
        return defaultValue;
    return std::clamp(NumText::Val(text), -kTwipsLimit, kTwipsLimit);
}

// The toolbar's pictures are the program's own set, drawn in one style; a
// desktop's icon theme would have replaced only the buttons it has pictures
// for, leaving a toolbar of two styles.
struct ToolButton {
    const char *key;
    const char *tip;
    const char *file;
};

// Left to right; a separator follows the buttons marked in kGroupEnds.
const ToolButton kToolButtons[] = {
    {"EExit", "Exit Fenwarra", "exit"},
    {"New", "New Case", "new"},
    {"Open", "Open Existing Case", "open"},
    {"CloseCase", "Close Case", "close"},
    {"CloseAllCases", "Close All Cases", "closeall"},
    {"EditCaseBut", "Edit Case Details", "edit"},
    {"RemindersBut", "List cases due a re-weighing", "reminders"},
    {"DietCalcBut", "Diet Calculator", "dietcalc"},
    {"CostCalcBut", "Diet Cost Calculator", "costcalc"},
    {"PupKitBut", "View Growth Curves", "growth"},
    {"ZoomBut", "Zoom Graph", "zoom"},
    {"UndoBut", "Undo to previous weight data", "undo"},
    {"NextWtBut", "Enter Next Weight", "nextwt"},
    {"PrintSetUp", "Printer Setup", "printsetup"},
    {"PrintRepBut", "Print Preview of Report", "printpreview"},
    {"BreedsBut", "List of K9 Breed Weights", "breeds"},
    {"OptionBut", "Options", "options"},
    {"Personalise", "Personalisation", "personalise"},
    {"WebBut", "Web Browser", "web"},
    {"Help", "Help File", "help"},
};
const char *const kGroupEnds[] = {"RemindersBut", "NextWtBut", "PrintRepBut", "Personalise"};

} // namespace

struct frmMain::Private {
    QMenu *mnuWindow = nullptr;
    QList<QAction *> windowList;
    QAction *NetWorkFW = nullptr;
    QAction *mnuViewToolbar = nullptr;
    QAction *mnuViewStatusBar = nullptr;
    QToolBar *tbToolBar = nullptr;
    QStatusBar *sbStatusBar = nullptr;
    QLabel *statusPanel = nullptr;
    QLabel *datePanel = nullptr;
    QLabel *timePanel = nullptr;
    QTimer *clockTimer = nullptr;
    QWidget *Picture1 = nullptr;
    QLineEdit *HiddenText = nullptr;
    QString recent[11];
    std::unique_ptr<QPrinter> printer;
    std::function<void()> end;
    bool ending = false;
};

// ---------------------------------------------------------------------------
// Construction

frmMain::frmMain(QWidget *parent) : QMainWindow(parent), d(new Private)
{
    initShellResources();
    setObjectName(QStringLiteral("frmMain"));
    // The frame is the first window of the program: every window after it,
    // the case windows inside it included, shows the program's paw in its
    // title bar rather than the toolkit's logo.
    if (QApplication::windowIcon().isNull()) {
        // Both sizes as sizes of their own: a task list asks for the larger one.
        QIcon paw;
        paw.addFile(QStringLiteral(":/shell/icons/paw.png"));
        paw.addFile(QStringLiteral(":/shell/icons/paw@2x.png"));
        QApplication::setWindowIcon(paw);
    }
    s_instance = this;
    CaseHost::install(this);
    installToolHooks();
    ReportHost::install(this);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    // A case window that becomes the active one makes its case current.
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow *sw) {
        if (auto *doc = qobject_cast<frmDocument *>(childOf(sw)))
            doc->makeCurrent();
    });

    d->end = [] {
        // Leave whichever event loop runs now, and the main one too should
        // the end come before it has started.
        QCoreApplication::exit(0);
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    };

    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildHiddenControls();

    MDIForm_Load();
}

frmMain::~frmMain()
{
    if (s_instance == this)
        s_instance = nullptr;
    if (CaseHost::current() == this)
        CaseHost::install(nullptr);
    if (ReportHost::current() == this)
        ReportHost::install(nullptr);
    delete d;
}

frmMain *frmMain::instance()
{
    return s_instance;
}

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setContextMenuPolicy(Qt::PreventContextMenu);

    auto menu = [bar](const char *name, const QString &title) {
        QMenu *m = bar->addMenu(title);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    using Controls::item;
    using Controls::separator;

    QMenu *file = menu("mnuFile", QStringLiteral("&File"));
    item(file, "mnuFileNew", QStringLiteral("&New Case"), this, &frmMain::mnuFileNew_Click);
    item(file, "mnuFileOpen", QStringLiteral("&Open Existing Case"), this, &frmMain::mnuFileOpen_Click);
    item(file, "mnuFileClose", QStringLiteral("&Close Current Case"), this, &frmMain::mnuFileClose_Click);
    item(file, "mnuFileCloseAll", QStringLiteral("Close &All Cases"), this, &frmMain::mnuFileCloseAll_Click);
    separator(file, "mnuFileBar1");
    for (int i = 1; i <= 10; ++i) {
        d->recent[i] = QStringLiteral("?");
        QAction *a = file->addAction(menuText(d->recent[i]));
        a->setObjectName(QStringLiteral("RecentCli(%1)").arg(i));
        connect(a, &QAction::triggered, this, [this, i] { RecentCli_Click(i); });
        m_recent[i] = a;
    }
    separator(file, "mnuFileBar2");
    item(file, "mnuFilePrintSetup", QStringLiteral("P&rinter Setup..."), this, &frmMain::mnuFilePrintSetup_Click);
    item(file, "mnuFilePrint", QStringLiteral("Report &Preview"), this, &frmMain::mnuFilePrint_Click);
    separator(file, "mnuFileBar3");
    d->NetWorkFW = item(file, "NetWorkFW", QStringLiteral("Net&work Fenwarra"), this, &frmMain::NetWorkFW_Click);
    d->NetWorkFW->setEnabled(false); // the start-up enables it
    separator(file, "mnuFileBar4");
    item(file, "mnuFileExit", QStringLiteral("E&xit"), this, &frmMain::mnuFileExit_Click);

    QMenu *edit = menu("mnuEdit", QStringLiteral("&Edit"));
    item(edit, "mnuEditCaseDet", QStringLiteral("&Case Details"), this, &frmMain::mnuEditCaseDet_Click);
    separator(edit, "mnuEditBar1");
    item(edit, "mnuPersonalize", QStringLiteral("&Personalization"), this, &frmMain::mnuPersonalize_Click);

    QMenu *view = menu("mnuView", QStringLiteral("&View"));
    // The bar toggles flip their own check mark in their handlers (which the
    // toolbar and tests also call); the automatic toggle of a checkable
    // action is undone first so the handler sees the state before the click.
    auto toggle = [this, view](const char *name, const QString &caption, void (frmMain::*handler)()) {
        QAction *a = item(view, name, caption);
        a->setCheckable(true);
        a->setChecked(true);
        connect(a, &QAction::triggered, this, [this, a, handler] {
            {
                const QSignalBlocker block(a);
                a->setChecked(!a->isChecked());
            }
            (this->*handler)();
        });
        return a;
    };
    d->mnuViewToolbar = toggle("mnuViewToolbar", QStringLiteral("&Toolbar"), &frmMain::mnuViewToolbar_Click);
    d->mnuViewStatusBar = toggle("mnuViewStatusBar", QStringLiteral("Status &Bar"), &frmMain::mnuViewStatusBar_Click);
    separator(view, "mnuViewBar2");
    item(view, "mnuZoom", QStringLiteral("&Zoom Graph"), this, &frmMain::mnuZoom_Click);
    item(view, "mnuGrowthCurve", QStringLiteral("&Growth Curve"), this, &frmMain::mnuGrowthCurve_Click);
    item(view, "mnuDietCalc", QStringLiteral("&Diet Calculator"), this, &frmMain::mnuDietCalc_Click);
    item(view, "mnuCostCalc", QStringLiteral("&Cost Calculator"), this, &frmMain::mnuCostCalc_Click);
    item(view, "mnuReminders", QStringLiteral("&Reminders"), this, &frmMain::mnuReminders_Click);
    item(view, "mnuViewBrowser", QStringLiteral("&Web Browser"), this, &frmMain::mnuViewBrowser_Click);
    separator(view, "mnuWindowBar1");
    item(view, "mnuViewOptions", QStringLiteral("&Options..."), this, &frmMain::mnuViewOptions_Click);

    QMenu *weight = menu("mnuWeight", QStringLiteral("Weigh&t"));
    item(weight, "mnuNextWt", QStringLiteral("&Next Weight"), this, &frmMain::mnuNextWt_Click);
    item(weight, "mnuUndoLastWt", QStringLiteral("&Undo To Last Weight"), this, &frmMain::mnuUndoLastWt_Click);
    separator(weight, "mnuWeightBar1");
    item(weight, "mnuBreedWt", QStringLiteral("&Breed Weights"), this, &frmMain::mnuBreedWt_Click);

    d->mnuWindow = menu("mnuWindow", QStringLiteral("&Window"));
    item(d->mnuWindow, "mnuWindowCascade", QStringLiteral("&Cascade"), this, &frmMain::mnuWindowCascade_Click);
    item(d->mnuWindow, "mnuWindowTileHorizontal", QStringLiteral("Tile &Horizontal"), this,
         &frmMain::mnuWindowTileHorizontal_Click);
    item(d->mnuWindow, "mnuWindowTileVertical", QStringLiteral("Tile &Vertical"), this,
         &frmMain::mnuWindowTileVertical_Click);
    item(d->mnuWindow, "mnuWindowArrangeIcons", QStringLiteral("&Arrange Icons"), this,
         &frmMain::mnuWindowArrangeIcons_Click);
    // The open child windows are listed below the four items each time the
    // menu opens, so the list always matches the windows and their captions.
    connect(d->mnuWindow, &QMenu::aboutToShow, this, [this] { refreshWindowList(); });

    QMenu *help = menu("mnuHelp", QStringLiteral("&Help"));
    item(help, "MsgTorvin", QStringLiteral("&Message from Dr Torvin Ashgrove"), this, &frmMain::MsgTorvin_Click);
    separator(help, "mnuHelpBar1");
    item(help, "mnuHelpContents", QStringLiteral("&Contents"), this, &frmMain::mnuHelpContents_Click);
    item(help, "mnuHelpSearch", QStringLiteral("&Search For Help On..."), this, &frmMain::mnuHelpSearch_Click);
    separator(help, "mnuHelpBar2");
    item(help, "Examples", QStringLiteral("&Example Cases Discussed"), this, &frmMain::Examples_Click);
    separator(help, "mnuHelpBar3");
    item(help, "mnuHelpAbout", QStringLiteral("&About Fenwarra2..."), this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::buildToolBar()
{
    d->tbToolBar = new QToolBar(this);
    d->tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    d->tbToolBar->setWindowTitle(QStringLiteral("Toolbar"));
    d->tbToolBar->setMovable(false);
    d->tbToolBar->setFloatable(false);
    // Only the View menu shows and hides the toolbar, so its check mark stays true.
    d->tbToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    d->tbToolBar->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, d->tbToolBar);

    for (const ToolButton &b : kToolButtons) {
        // Pictures drawn beforehand (see shell.qrc): no SVG code is loaded to build the frame.
        const QIcon icon(QStringLiteral(":/shell/icons/%1.png").arg(QLatin1String(b.file)));
        QAction *a = d->tbToolBar->addAction(icon, QLatin1String(b.tip));
        a->setObjectName(QLatin1String(b.key));
        a->setToolTip(QLatin1String(b.tip));
        const QString key = QLatin1String(b.key);
        connect(a, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        if (std::any_of(std::begin(kGroupEnds), std::end(kGroupEnds),
                        [&key](const char *end) { return key == QLatin1String(end); }))
            d->tbToolBar->addSeparator();
    }
}

void frmMain::buildStatusBar()
{
    d->sbStatusBar = statusBar();
    d->sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));

    d->statusPanel = new QLabel(QStringLiteral("Status"), d->sbStatusBar);
    d->statusPanel->setObjectName(QStringLiteral("Panels(1)"));
    d->datePanel = new QLabel(d->sbStatusBar);
    d->datePanel->setObjectName(QStringLiteral("Panels(2)"));
    d->timePanel = new QLabel(d->sbStatusBar);
    d->timePanel->setObjectName(QStringLiteral("Panels(3)"));
    for (QLabel *panel : {d->datePanel, d->timePanel}) {
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setAlignment(Qt::AlignCenter);
        panel->setMinimumWidth(80);
    }
    d->sbStatusBar->addWidget(d->statusPanel, 1);
    d->sbStatusBar->addPermanentWidget(d->datePanel);
    d->sbStatusBar->addPermanentWidget(d->timePanel);

    d->clockTimer = new QTimer(this);
    d->clockTimer->setInterval(1000);
    connect(d->clockTimer, &QTimer::timeout, this, [this] { updateClockPanels(); });
    d->clockTimer->start();
    updateClockPanels();
}

void frmMain::updateClockPanels()
{
    const QDateTime now = Clock::now();
    d->datePanel->setText(DateText::ShortDate(now.date()));
    d->timePanel->setText(QLocale().toString(now.time(), QLocale::ShortFormat));
}

void frmMain::buildHiddenControls()
{
    // Controls that only other windows use; they are never shown.
    d->Picture1 = new QWidget(this);
    d->Picture1->setObjectName(QStringLiteral("Picture1"));
    d->Picture1->hide();
    d->HiddenText = new QLineEdit(d->Picture1);
    d->HiddenText->setObjectName(QStringLiteral("HiddenText"));
    d->HiddenText->hide();
}

// ---------------------------------------------------------------------------
// Children, recent-cases menu, small services

QWidget *frmMain::activeChild() const
{
    // The current sub-window stays current while a modeless tool window has
    // the focus, as the frame's active child does.
    QMdiSubWindow *sw = m_mdi->currentSubWindow();
    if (!sw)
        sw = m_mdi->activeSubWindow();
    return childOf(sw);
}

namespace {
/// The widget of a child's sub-window. Tiling or a small frame makes a
/// sub-window smaller than a case window can go; the child is then scrolled
/// instead of clipped, so that its table and buttons stay within reach.
class ChildHolder : public QScrollArea {
public:
    explicit ChildHolder(QWidget *child)
    {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        // The focus goes to the child's controls, as it did without the holder.
        setFocusPolicy(Qt::NoFocus);
        setWidget(child);
        // The sub-window's caption (and the Window menu's list) and its icon
        // are those of its own widget, so the holder carries the child's.
        setWindowTitle(child->windowTitle());
        if (child->testAttribute(Qt::WA_SetWindowIcon))
            setWindowIcon(child->windowIcon());
        connect(child, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
        connect(child, &QWidget::windowIconChanged, this, &QWidget::setWindowIcon);
    }
    /// The sub-window opens at the size the child asks for.
    QSize sizeHint() const override { return widget() ? widget()->sizeHint() : QScrollArea::sizeHint(); }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        // Closing the sub-window closes the child: a case window stores what
        // was typed into it, and a child that refuses keeps its sub-window open.
        QWidget *child = widget();
        event->setAccepted(!child || child->close());
    }
};
} // namespace

QWidget *frmMain::childOf(QMdiSubWindow *sw)
{
    if (!sw)
        return nullptr;
    if (auto *holder = dynamic_cast<ChildHolder *>(sw->widget()))
        return holder->widget();
    return sw->widget();
}

QMdiSubWindow *frmMain::subWindowOf(const QWidget *child)
{
    if (!child)
        return nullptr;
    for (QWidget *p = child->parentWidget(); p; p = p->parentWidget())
        if (auto *sw = qobject_cast<QMdiSubWindow *>(p))
            return childOf(sw) == child ? sw : nullptr;
    return nullptr;
}

QMdiSubWindow *frmMain::addChild(QWidget *child)
{
    // The size the child asks for, before the area places and sizes it.
    const QSize wanted = child->testAttribute(Qt::WA_Resized) ? child->size() : child->sizeHint();
    QMdiSubWindow *sw = m_mdi->addSubWindow(new ChildHolder(child));
    sw->setAttribute(Qt::WA_DeleteOnClose);
    child->show();
    sw->show();
    fitIntoArea(sw, wanted);
    m_mdi->setActiveSubWindow(sw);
    return sw;
}

void frmMain::showChild(QWidget *child)
{
    QMdiSubWindow *sw = subWindowOf(child);
    if (!sw)
        return;
    if (sw->isMinimized())
        sw->showNormal();
    m_mdi->setActiveSubWindow(sw);
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void frmMain::fitIntoArea(QMdiSubWindow *sw, const QSize &wanted)
{
    // The area places a window larger than itself with its right edge at the
    // area's right edge, so a case window opened in a small frame showed only
    // its right part, with its caption and chart out of sight to the left. A
    // window that does not fit is put at the top left corner and made as large
    // as the area; the rest of the child is reached by scrolling. A hidden
    // frame has no size of its own yet to fit into.
    if (!m_mdi->isVisible() || sw->isMaximized() || sw->isMinimized() || !sw->widget())
        return;
    const QSize area = m_mdi->viewport()->size();
    const QSize outer = wanted.isValid() ? wanted + (sw->size() - sw->widget()->size()) : sw->size();
    if (outer.width() <= area.width() && outer.height() <= area.height())
        return;
    const QSize size = outer.boundedTo(area).expandedTo(sw->minimumSizeHint()).expandedTo(sw->minimumSize());
    sw->setGeometry(QRect(QPoint(0, 0), size));
}

void frmMain::addCaseWindow(QWidget *window)
{
    addChild(window);
}

void frmMain::closeCaseWindow(QWidget *window)
{
    QMdiSubWindow *sub = subWindowOf(window);
    if (!sub) {
        window->close();
        return;
    }
    m_mdi->setActiveSubWindow(sub);
    if (activeChild() == window)
        mnuFileClose_Click();
    else
        sub->close();
}

QString frmMain::recentCaption(int index) const
{
    if (index < 1 || index > 10)
        return QString();
    return d->recent[index];
}

void frmMain::setRecentCaption(int index, const QString &caption)
{
    if (index < 1 || index > 10)
        return;
    d->recent[index] = caption;
    m_recent[index]->setText(menuText(caption));
}

void frmMain::pushRecent(const QString &caption)
{
    for (int i = 10; i >= 2; --i)
        setRecentCaption(i, recentCaption(i - 1));
    setRecentCaption(1, caption);
}

QPrinter *frmMain::printer()
{
    if (!d->printer)
        d->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return d->printer.get();
}

void frmMain::enableNetWorkFW()
{
    d->NetWorkFW->setEnabled(true);
}

void frmMain::setEndProgram(std::function<void()> end)
{
    d->end = std::move(end);
}

void frmMain::refreshWindowList()
{
    for (QAction *a : qAsConst(d->windowList)) {
        d->mnuWindow->removeAction(a);
        a->deleteLater();
    }
    d->windowList.clear();

    const QList<QMdiSubWindow *> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    d->windowList.append(d->mnuWindow->addSeparator());
    QMdiSubWindow *current = m_mdi->currentSubWindow();
    int n = 0;
    for (QMdiSubWindow *sw : windows) {
        ++n;
        const QString caption = menuText(sw->windowTitle());
        const QString text = n <= 9 ? QStringLiteral("&%1 %2").arg(n).arg(caption) : caption;
        QAction *a = d->mnuWindow->addAction(text);
        a->setCheckable(true);
        a->setChecked(sw == current);
        connect(a, &QAction::triggered, this, [this, sw] {
            runGuarded([&] {
                if (m_mdi->subWindowList().contains(sw))
                    showChild(childOf(sw));
            });
        });
        d->windowList.append(a);
    }
}

// ---------------------------------------------------------------------------
// Load and leaving

void frmMain::MDIForm_Load()
{
    runGuarded([&] {
        const double left = twipsSetting(QStringLiteral("MainLeft"), kDefaultLeft);
        const double top = twipsSetting(QStringLiteral("MainTop"), kDefaultTop);
        const double width = twipsSetting(QStringLiteral("MainWidth"), kDefaultWidth);
        const double height = twipsSetting(QStringLiteral("MainHeight"), kDefaultHeight);
        QRect wanted(QPoint(Twips::toPixels(left), Twips::toPixels(top)), Twips::toPixelSize(width, height));
        // A size saved on a larger screen must not put the buttons and the
        // status bar out of reach on this one.
        const QScreen *on = QGuiApplication::screenAt(wanted.topLeft());
        if (!on)
            on = QGuiApplication::primaryScreen();
        if (on)
            wanted = FitFrameToScreen(wanted, on->availableGeometry(), ScreenPlacement::frameAllowance(this));
        move(wanted.topLeft());
        resize(wanted.size());
        setWindowTitle(QStringLiteral("Fenwarra ") + versionNumber() + QLatin1Char(' ') + App().EditionTag);
    });
}

bool frmMain::MDIForm_QueryUnload()
{
    bool mayClose = false;
    runGuarded([&] {
        if (Prompt::MsgBox(kExitQuestion, Prompt::Buttons::YesNo, Prompt::Icon::Question, Prompt::kTitle) !=
            Prompt::Answer::Yes)
            return;
        for (int i = 1; i <= 10; ++i)
            Settings::save(QStringLiteral("Recent"), QStringLiteral("C%1").arg(i), recentCaption(i));
        if (currentLinkMode() != LinkMode::Normal)
            Settings::save(QStringLiteral("LinkData"), QStringLiteral("Linked"), linkModeText(LinkMode::Normal));
        if (!isMinimized()) {
            Settings::save(QStringLiteral("Settings"), QStringLiteral("MainLeft"),
                           QString::number(Twips::fromPixels(pos().x())));
            Settings::save(QStringLiteral("Settings"), QStringLiteral("MainTop"),
                           QString::number(Twips::fromPixels(pos().y())));
            Settings::save(QStringLiteral("Settings"), QStringLiteral("MainWidth"),
                           QString::number(Twips::fromPixels(width())));
            Settings::save(QStringLiteral("Settings"), QStringLiteral("MainHeight"),
                           QString::number(Twips::fromPixels(height())));
        }
        mayClose = endProgram(false);
    });
    return mayClose;
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (d->ending || MDIForm_QueryUnload())
        event->accept();
    else
        event->ignore();
}

bool frmMain::endProgram(bool atOnce)
{
    d->ending = true;
    // The children close without questions of their own; a case window still
    // keeps what was typed into it when it closes. One whose typed text could
    // not be saved asks first, and when the user keeps it open the program
    // runs on, unless it must end at once.
    m_mdi->closeAllSubWindows();
    if (!atOnce && !m_mdi->subWindowList().isEmpty()) {
        d->ending = false;
        return false;
    }
    if (d->end)
        d->end();
    return true;
}

void frmMain::endAtOnce()
{
    runGuarded([&] { endProgram(true); });
}

void frmMain::mnuFileExit_Click()
{
    runGuarded([&] { close(); });
}

// ---------------------------------------------------------------------------
// Forwarding to the active case window

frmDocument *frmMain::activeCaseWindow() const
{
    return qobject_cast<frmDocument *>(activeChild());
}

void frmMain::forActiveCase(const QString &noWindowMessage, const std::function<void(frmDocument &)> &command,
                            Prompt::Icon errorIcon)
{
    runGuarded(
        [&] {
            if (!activeChild()) {
                Prompt::Message(noWindowMessage, Prompt::Icon::Critical);
                return;
            }
            frmDocument *doc = activeCaseWindow();
            if (!doc) // the report viewer or a browser is the active child
                throw FwError(ErrNo::NoSuchMember);
            command(*doc);
        },
        errorIcon);
}

void frmMain::mnuNextWt_Click()
{
    forActiveCase(QStringLiteral("No document open to enter a next weight!"),
                  [](frmDocument &doc) { doc.NextWt_Click(); });
}

void frmMain::mnuUndoLastWt_Click()
{
    forActiveCase(QStringLiteral("No document open to undo to previous weight!"),
                  [](frmDocument &doc) { doc.UndoToLastWt_Click(); });
}

void frmMain::mnuZoom_Click()
{
    forActiveCase(QStringLiteral("No document open to zoom!"), [](frmDocument &doc) { doc.Zoom_Click(); });
}

void frmMain::mnuGrowthCurve_Click()
{
    // The case window hands its own case to the curves, as a value.
    forActiveCase(QStringLiteral("No document open for which to display a growth curve!"),
                  [](frmDocument &doc) { doc.GrowthCv_Click(); });
}

void frmMain::mnuDietCalc_Click()
{
    runGuarded([&] {
        if (frmDocument *doc = activeCaseWindow()) {
            doc->DietCalcMe_Click();
            App().DietCalcStandAlone = 0;
            return;
        }
        // No case window to calculate for: the calculator runs on its own.
        App().DietCalcStandAlone = -1;
        openDietCalculatorWithoutCase();
    });
}

void frmMain::mnuFileClose_Click()
{
    runGuarded([&] {
        QMdiSubWindow *sw = m_mdi->currentSubWindow();
        if (!sw)
            sw = m_mdi->activeSubWindow();
        if (!sw) {
            Prompt::Message(QStringLiteral("No open documents to close"), Prompt::Icon::Exclamation);
            return;
        }
        sw->close();
    });
}

void frmMain::mnuFileCloseAll_Click()
{
    runGuarded([&] {
        for (;;) {
            QList<QMdiSubWindow *> open;
            for (QMdiSubWindow *sw : m_mdi->subWindowList(QMdiArea::ActivationHistoryOrder))
                if (!sw->isHidden())
                    open.append(sw);
            if (open.isEmpty())
                return;
            QPointer<QMdiSubWindow> sw = m_mdi->currentSubWindow();
            if (!sw || !open.contains(sw))
                sw = open.last();
            sw->close();
            // A window that refuses to close would otherwise be asked forever.
            if (sw && m_mdi->subWindowList().contains(sw) && !sw->isHidden())
                return;
        }
    });
}

// ---------------------------------------------------------------------------
// Opening cases

QString RecentCaseNumber(const QString &caption)
{
    const int at = caption.indexOf(QLatin1String("Case:"));
    const QString rest = at >= 0 ? caption.mid(at + 6) : caption.mid(5);
    return NumText::Plain(NumText::Val(rest));
}

void frmMain::RecentCli_Click(int index)
{
    runGuarded([&] {
        if (index < 1 || index > 10)
            return;
        OpenCaseInDocument(OpenVariant::Recent, CaseRef{RecentCaseNumber(recentCaption(index)), {}, {}});
    });
}

void frmMain::Hidden1_Click()
{
    runGuarded([&] {
        emit hidden1Pressed();
        openNewCase();
    });
}

void frmMain::Hidden2_Click(const QString &linkRecNo)
{
    runGuarded([&] { OpenCaseInDocument(OpenVariant::Linked, {}, linkRecNo); });
}

void frmMain::mnuFileNew_Click()
{
    runGuarded([&] { openNewCase(); });
}

void frmMain::mnuFileOpen_Click()
{
    runGuarded([&] { openCaseLocator(); });
}

void frmMain::mnuEditCaseDet_Click()
{
    openCaseDetailsEditor();
}

// The new-case entry window: prepared and shown by the link mode, or brought
// forward when an entry is already under way.
void frmMain::openNewCase()
{
    CaseDetails::NewCaseCommand(this);
}

// The case locator, one shared instance: bind Data1, press LoadList, show modeless.
void frmMain::openCaseLocator()
{
    fmLocator::Launch(this);
}

// The case details window on the case of the active case window. The
// command's own error box is a plain one: the error's text, no icon, the
// application's title.
void frmMain::openCaseDetailsEditor()
{
    forActiveCase(
        QStringLiteral("No document open to edit case details!"),
        [this](frmDocument &doc) { CaseDetails::EditCaseCommand(this, doc); }, Prompt::Icon::None);
}

// ---------------------------------------------------------------------------
// Printer, bars, windows, help, sound

void frmMain::mnuFilePrintSetup_Click()
{
    runGuarded([&] { Prompt::PrinterSetup(*printer(), QStringLiteral("Printer Setup")); });
}

void frmMain::mnuViewToolbar_Click()
{
    runGuarded([&] {
        const bool shown = d->mnuViewToolbar->isChecked();
        d->tbToolBar->setVisible(!shown);
        d->mnuViewToolbar->setChecked(!shown);
    });
}

void frmMain::mnuViewStatusBar_Click()
{
    runGuarded([&] {
        const bool shown = d->mnuViewStatusBar->isChecked();
        d->sbStatusBar->setVisible(!shown);
        d->mnuViewStatusBar->setChecked(!shown);
    });
}

void frmMain::mnuWindowCascade_Click()
{
    runGuarded([&] { m_mdi->cascadeSubWindows(); });
}

QList<QRect> TileStrips(const QRect &area, int count, Qt::Orientation orientation)
{
    QList<QRect> strips;
    if (count <= 0 || area.isEmpty())
        return strips;
    const int total = orientation == Qt::Horizontal ? area.height() : area.width();
    int start = 0;
    for (int i = 0; i < count; ++i) {
        // Spread the remainder over the first strips so the strips fill the area.
        const int length = total / count + (i < total % count ? 1 : 0);
        if (orientation == Qt::Horizontal)
            strips.append(QRect(area.left(), area.top() + start, area.width(), length));
        else
            strips.append(QRect(area.left() + start, area.top(), length, area.height()));
        start += length;
    }
    return strips;
}

QRect FitFrameToScreen(const QRect &wanted, const QRect &available, const QSize &frame)
{
    if (available.isEmpty())
        return wanted;
    const QSize room(std::max(1, available.width() - frame.width()), std::max(1, available.height() - frame.height()));
    const QSize size = wanted.size().boundedTo(room);
    // A window's place is that of its outer frame; the borders and the title
    // bar lie between it and the inner size.
    const QRect outer(wanted.topLeft(), size + frame);
    return QRect(ScreenPlacement::within(outer, available), size);
}

QList<QRect> IconPlaces(const QRect &area, int count, const QSize &iconSize)
{
    QList<QRect> places;
    if (count <= 0 || iconSize.isEmpty())
        return places;
    const int perRow = std::max(1, area.width() / iconSize.width());
    for (int i = 0; i < count; ++i) {
        const int row = i / perRow;
        const int column = i % perRow;
        places.append(
            QRect(QPoint(area.left() + column * iconSize.width(), area.bottom() + 1 - (row + 1) * iconSize.height()),
                  iconSize));
    }
    return places;
}

namespace {
void tile(QMdiArea *mdi, Qt::Orientation orientation)
{
    // The active window first, as the arrangement of the frame always did.
    QList<QMdiSubWindow *> windows;
    const QList<QMdiSubWindow *> all = mdi->subWindowList(QMdiArea::StackingOrder);
    for (auto it = all.crbegin(); it != all.crend(); ++it)
        if (!(*it)->isHidden() && !(*it)->isMinimized())
            windows.append(*it);
    const QList<QRect> strips = TileStrips(mdi->viewport()->rect(), windows.size(), orientation);
    for (int i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        windows[i]->setGeometry(strips[i]);
    }
}
} // namespace

void frmMain::mnuWindowTileHorizontal_Click()
{
    runGuarded([&] { tile(m_mdi, Qt::Horizontal); });
}

void frmMain::mnuWindowTileVertical_Click()
{
    runGuarded([&] { tile(m_mdi, Qt::Vertical); });
}

void frmMain::mnuWindowArrangeIcons_Click()
{
    runGuarded([&] {
        QList<QMdiSubWindow *> icons;
        QSize size;
        for (QMdiSubWindow *sw : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
            if (sw->isMinimized()) {
                icons.append(sw);
                size = size.expandedTo(sw->size());
            }
        }
        const QList<QRect> places = IconPlaces(m_mdi->viewport()->rect(), icons.size(), size);
        for (int i = 0; i < icons.size(); ++i)
            icons[i]->move(places[i].topLeft());
    });
}

void frmMain::mnuHelpContents_Click()
{
    runGuarded([&] {
        if (App().HelpFilePath.isEmpty()) {
            Prompt::MsgBox(kNoHelp, Prompt::Buttons::OK, Prompt::Icon::Information, windowTitle());
            return;
        }
        Help::showContents(App().HelpFilePath);
    });
}

void frmMain::mnuHelpSearch_Click()
{
    runGuarded([&] {
        if (App().HelpFilePath.isEmpty()) {
            Prompt::MsgBox(kNoHelp, Prompt::Buttons::OK, Prompt::Icon::Information, windowTitle());
            return;
        }
        Help::showSearch(App().HelpFilePath);
    });
}

void frmMain::Examples_Click()
{
    runGuarded([&] { Help::showTopic(App().HelpFilePath, 1077); });
}

void frmMain::MsgTorvin_Click()
{
    runGuarded([&] { Sound::play(App().AppPath + QStringLiteral("Welcome") + QStringLiteral(".wav")); });
}

// ---------------------------------------------------------------------------
// Toolbar

void frmMain::tbToolBar_ButtonClick(const QString &key)
{
    struct Route {
        const char *key;
        void (frmMain::*action)();
    };
    // The keys are compared exactly, in this order; the first match runs.
    static const Route routes[] = {
        {"EExit", &frmMain::mnuFileExit_Click},
        {"New", &frmMain::mnuFileNew_Click},
        {"Open", &frmMain::mnuFileOpen_Click},
        {"CloseCase", &frmMain::mnuFileClose_Click},
        {"CloseAllCases", &frmMain::mnuFileCloseAll_Click},
        {"EditCaseBut", &frmMain::mnuEditCaseDet_Click},
        {"RemindersBut", &frmMain::mnuReminders_Click},
        {"PrintSetUp", &frmMain::mnuFilePrintSetup_Click},
        {"PrintRepBut", &frmMain::mnuFilePrint_Click},
        {"BreedsBut", &frmMain::mnuBreedWt_Click},
        {"DietCalcBut", &frmMain::mnuDietCalc_Click},
        {"CostCalcBut", &frmMain::mnuCostCalc_Click},
        {"PupKitBut", &frmMain::mnuGrowthCurve_Click},
        {"OptionBut", &frmMain::mnuViewOptions_Click},
        {"Personalise", &frmMain::mnuPersonalize_Click},
        {"WebBut", &frmMain::mnuViewBrowser_Click},
        {"Help", &frmMain::mnuHelpSearch_Click},
        {"ZoomBut", &frmMain::mnuZoom_Click},
        {"UndoBut", &frmMain::mnuUndoLastWt_Click},
        {"NextWtBut", &frmMain::mnuNextWt_Click},
    };
    for (const Route &route : routes) {
        if (key == QLatin1String(route.key)) {
            (this->*route.action)();
            return;
        }
    }
}
