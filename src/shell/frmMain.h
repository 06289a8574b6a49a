#pragma once
// The multiple-document frame: menus, toolbar, status bar, the recent-cases
// menu and the routing of commands to the active case window or to tools.
#include <QMainWindow>
#include <QString>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QStatusBar;
class QToolBar;
class QTimer;

class frmMain : public QMainWindow {
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
    QMdiSubWindow *addChild(QWidget *child);

    // Recent-cases menu, items 1 to 10 (1 the most recent).
    QString recentCaption(int index) const;
    void setRecentCaption(int index, const QString &caption);
    /// Items 10..2 take the caption of the item above; item 1 takes caption.
    void pushRecent(const QString &caption);

    // Handlers (the system's names).
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
    void Command1_Click(); // diet recommendation hand-back
    void Hidden1_Click();  // new case for a linked start
    void Hidden2_Click();  // open the linked case

    /// End the program at once, without the exit question (a linked case that
    /// does not exist).
    void endAtOnce();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QMdiArea *m_mdi = nullptr;
    QAction *m_recent[11] = {};
    // The rest is the implementation's.
    struct Private;
    Private *d = nullptr;
};
