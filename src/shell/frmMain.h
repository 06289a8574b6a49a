#pragma once
// The multiple-document frame: menus, toolbar, status bar, the recent-cases
// menu and the routing of commands to the active case window or to tools.
#include "cases/CaseHost.h"
#include "curves_reports/ReportHost.h"
#include "platform/prompt/Prompt.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>

class frmDocument;
class DietCalculator;
class frmCostCalc;
struct DietCase;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPrinter;
class QStatusBar;
class QToolBar;
class QTimer;

class frmMain : public QMainWindow, public CaseHost, public ReportHost {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    /// The one frame of the running program (null before it is loaded).
    static frmMain *instance();

    QMdiArea *mdiArea() const { return m_mdi; }
    /// The active child window's widget (a case window, the report viewer, a
    /// browser), or null when none is open.
    QWidget *activeChild() const;
    /// Add a child window to the frame and show it; it becomes the active child.
    /// A child larger than its sub-window is scrolled inside it.
    QMdiSubWindow *addChild(QWidget *child);
    /// Bring a child window to the front: restored when minimised, made the
    /// active child, and the frame raised and activated with it, over any
    /// window of the program that stood in front of the frame.
    void showChild(QWidget *child);
    /// The child window a sub-window of the frame holds, or null.
    static QWidget *childOf(QMdiSubWindow *sw);
    /// The sub-window of the frame that holds a child window, or null.
    static QMdiSubWindow *subWindowOf(const QWidget *child);

    // Recent-cases menu, items 1 to 10 (1 the most recent).
    QString recentCaption(int index) const;
    void setRecentCaption(int index, const QString &caption);
    /// Items 10..2 take the caption of the item above; item 1 takes caption.
    void pushRecent(const QString &caption) override;

    // The host of the case windows.
    void addCaseWindow(QWidget *window) override;
    /// Made the active child first, so that the Close command cannot close
    /// another window.
    void closeCaseWindow(QWidget *window) override;

    /// The printer that printer setup configures and printing uses.
    QPrinter *printer() override;
    /// The host of the report viewers (frmMain_Reports.cpp).
    void addReportWindow(QWidget *window) override;

    /// The start-up enables the database relocation command once the frame is loaded.
    void enableNetWorkFW();

    /// The frame's one diet calculator; when none is open, one is loaded in
    /// `units`.
    DietCalculator *dietCalculator(const QString &units);
    /// A case window hands its case to the diet calculator; the result goes
    /// back through `deliver` while `requester` lives (see
    /// DietCalculator::handOverCase).
    void handOverToDietCalculator(const DietCase &dietCase, QPointer<QObject> requester,
                                  std::function<void(const QString &)> deliver);

    /// What ending the program does; by default it leaves the event loop at
    /// once. Tests replace it so that the test program itself runs on.
    void setEndProgram(std::function<void()> end);

    // Handlers.
    void MDIForm_Load();
    bool MDIForm_QueryUnload(); // true: the frame may close
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileCloseAll_Click();
    void RecentCli_Click(int index);
    void mnuFilePrintSetup_Click();
    void mnuFilePrint_Click();
    void NetWorkFW_Click();
    void mnuFileExit_Click();
    void mnuEditCaseDet_Click();
    void mnuPersonalize_Click();
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuZoom_Click();
    void mnuGrowthCurve_Click();
    void mnuDietCalc_Click();
    void mnuCostCalc_Click();
    void mnuReminders_Click();
    void mnuViewBrowser_Click();
    void mnuViewOptions_Click();
    void mnuNextWt_Click();
    void mnuUndoLastWt_Click();
    void mnuBreedWt_Click();
    void mnuWindowCascade_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowArrangeIcons_Click();
    void MsgTorvin_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearch_Click();
    void Examples_Click();
    void mnuHelpAbout_Click();
    void tbToolBar_ButtonClick(const QString &key);

    // Hidden buttons that other windows press.
    /// The diet recommendation hand-back to the case window whose Diet Calc.
    /// opened the calculator: transfer "*" writes nothing, "**" only gives
    /// the window's recommendation box the focus, any other text replaces
    /// the box's text. A window closed meanwhile (null) gets nothing.
    void Command1_Click(frmDocument *window, const QString &transfer);
    void Hidden1_Click(); // new case for a linked start
    /// Open the case whose link number is the record number the practice-
    /// management program sent.
    void Hidden2_Click(const QString &linkRecNo);

    /// End the program at once, without the exit question (a linked case that
    /// does not exist).
    void endAtOnce() override;
    void showGrowthCurve(const CaseFacts &facts) override;
    void showDietCalculator(frmDocument *window) override;

signals:
    /// Hidden1 was pressed (the start of a linked new case).
    void hidden1Pressed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void buildHiddenControls();
    void refreshWindowList();
    /// Put a new child whose wanted size is larger than the area at the
    /// area's top left corner, as large as the area.
    void fitIntoArea(QMdiSubWindow *sw, const QSize &wanted);
    void updateClockPanels();
    bool endProgram(bool atOnce); // false: a window stayed open, the program runs on

    /// The active child as a case window, or null when none is open or the
    /// active child is another kind of window.
    frmDocument *activeCaseWindow() const;
    /// Run a command on the active case window under the guard. With no
    /// child window open the command's own message is shown; a child that is
    /// no case window (the report viewer, a browser) has no such command.
    void forActiveCase(const QString &noWindowMessage, const std::function<void(frmDocument &)> &command,
                       Prompt::Icon errorIcon = Prompt::Icon::Critical);

    // Launchers of the windows that open from the frame, one small function
    // each, so that every window's opening sequence stays in one place.
    void openNewCase();
    void openCaseLocator();
    void openCaseDetailsEditor();
    void openDietCalculatorWithoutCase();

    QMdiArea *m_mdi = nullptr;
    // The shared tool windows of the diets, created on first use.
    QPointer<DietCalculator> m_dietCalculator;
    QPointer<frmCostCalc> m_costCalc;
    QAction *m_recent[11] = {};
    // The rest is the implementation's.
    /// Tie the tool windows to one another where one hands its result to
    /// another (a growth curve's Print Preview to the report viewer).
    void installToolHooks();

    struct Private;
    Private *d = nullptr;
};

/// The case number of a recent-cases caption, as plain digits: read leniently
/// from 6 characters after the first "Case:", or from the sixth character when
/// the caption has no "Case:" ("Case# 12, Rex Smith" gives "12", "?" gives "0").
QString RecentCaseNumber(const QString &caption);

/// Strips for tiling n windows into an area: Qt::Horizontal stacks them one
/// above the other (each the full width), Qt::Vertical sets them side by side.
QList<QRect> TileStrips(const QRect &area, int count, Qt::Orientation orientation);

/// The frame's place on a screen: the size saved (perhaps on a larger screen,
/// or at another scale) is cut to the screen's free area less the room the
/// window's frame takes (its borders at the sides, its title bar and borders
/// above and below), and the place moved so that the whole frame lies within
/// that area (the place is the outer frame's, the size the inner one, as a
/// window's move and resize take them).
QRect FitFrameToScreen(const QRect &wanted, const QRect &available, const QSize &frame);

/// Places for the title bars of minimised windows along the bottom of an area,
/// left to right, then row above row.
QList<QRect> IconPlaces(const QRect &area, int count, const QSize &iconSize);
