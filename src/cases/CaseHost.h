#pragma once
// What the case windows need of the window that hosts them: the frame shows
// them as its child windows, keeps the recent-cases menu and can end the
// program. The frame implements this and installs itself; the case code
// reaches the frame only through it, so the case windows also run without a
// frame (tests, tools), standing alone.
class QString;
class QWidget;
struct CaseFacts;
class frmDocument;

class CaseHost {
public:
    virtual ~CaseHost() = default;

    /// Show a case window as a child window of the host; it becomes the
    /// active child.
    virtual void addCaseWindow(QWidget *window) = 0;
    /// Close a case window as the host's Close command does.
    virtual void closeCaseWindow(QWidget *window) = 0;
    /// Put a case caption at the top of the recent-cases menu.
    virtual void pushRecent(const QString &caption) = 0;
    /// End the program at once, without the exit question.
    virtual void endAtOnce() = 0;
    /// Show the growth curve for a case window's case, as the window holds it
    /// (the host owns the curve windows; a host without them shows nothing).
    virtual void showGrowthCurve(const CaseFacts &facts);
    /// Hand a case window's case to the diet calculator; its recommendation
    /// comes back to that window only, while it is open (a host without a
    /// calculator does nothing).
    virtual void showDietCalculator(frmDocument *window);

    /// The installed host, or null when the case windows stand alone.
    static CaseHost *current();
    /// Install a host (null: none). The frame installs itself when it is
    /// created and removes itself when it goes.
    static void install(CaseHost *host);
};
