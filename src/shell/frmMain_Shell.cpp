// The frame's commands of the shell itself: moving the database, the about
// box and the web browser window.
#include "shell/frmMain.h"

#include "cases/CaseDetails.h"
#include "cases/fmLocator.h"
#include "curves_reports/GrowthCurveWindow.h"
#include "curves_reports/frmReminder.h"
#include "platform/Guard.h"
#include "platform/db/ClinicDb.h"
#include "platform/prompt/Prompt.h"
#include "platform/settings/Settings.h"
#include "platform/state/AppState.h"
#include "shell/Relocation.h"
#include "shell/frmAbout.h"
#include "shell/frmBrowser.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace {

/// The open windows of the frame of one kind (one that is closing is hidden).
template <class Window> QList<Window *> openTools(QWidget *frame)
{
    QList<Window *> open;
    for (Window *w : frame->findChildren<Window *>(QString(), Qt::FindDirectChildrenOnly))
        if (!w->isHidden())
            open.append(w);
    return open;
}

/// After the move no window may show or open a case of the old register. A
/// list of cases that stays open is bound to the new file at once, as its
/// next opening would bind it, and lists the new register's cases: the case
/// locator, the reminder list. A growth curve shows a case of the old
/// register, so it closes.
void followTheMove(QWidget *frame)
{
    for (fmLocator *locator : openTools<fmLocator>(frame))
        locator->loadRegister();
    for (frmReminder *reminders : openTools<frmReminder>(frame))
        reminders->loadRegister();
    for (GrowthCurveWindow *curve : openTools<GrowthCurveWindow>(frame))
        curve->close();
}

} // namespace

// File > Net&work Fenwarra: point the program at another copy of the
// database. Nothing changes until the chosen file has passed every check;
// then the names and the setting change together.
void frmMain::NetWorkFW_Click()
{
    runGuarded([&] {
        // 1. The case windows are closed first, whatever follows. One that
        // keeps its typed text open, or an entry under way, would go on
        // writing to the database in use, so the move stops there.
        mnuFileCloseAll_Click();
        const QList<QMdiSubWindow *> left = m_mdi->subWindowList();
        if (std::any_of(left.cbegin(), left.cend(), [](const QMdiSubWindow *sw) { return !sw->isHidden(); })) {
            Prompt::Message(Relocation::kCaseWindowOpenMessage, Prompt::Icon::Exclamation);
            return;
        }
        if (CaseDetails *entry = CaseDetails::instance()) {
            // The entry window stays above the frame: the box opens over it,
            // where it can be seen.
            PromptsOver boxesOver(entry);
            Prompt::Message(Relocation::kCaseEntryOpenMessage, Prompt::Icon::Exclamation);
            return;
        }

        // 2. and 3. Name the file in use, then ask for the new one.
        Prompt::Message(Relocation::locateMessage(App().DBFName), Prompt::Icon::Information);
        const QString chosen = Prompt::OpenFileName(Relocation::kDialogTitle, App().DBFPath, Relocation::kFilter);

        // 4. and 5. Check the choice; Cancel changes nothing and says nothing
        // more (the note before the dialog named the file still in use).
        const Relocation::Verdict verdict = Relocation::checkChoice(chosen);
        if (verdict.outcome != Relocation::Verdict::Outcome::Accepted) {
            if (!verdict.message.isEmpty())
                Prompt::Message(verdict.message, verdict.icon);
            return;
        }

        // The setting first: when it cannot be written, the names stay too.
        const QString section = QStringLiteral("Paths");
        const QString key = QStringLiteral("DBFPath");
        Settings::save(section, key, verdict.dbfPath);
        if (Settings::get(section, key) != verdict.dbfPath) {
            Prompt::Message(Relocation::kNotSavedMessage.arg(Settings::storeFile()), Prompt::Icon::Critical);
            return;
        }
        App().DBFPath = verdict.dbfPath;
        App().DBFName = verdict.dbfName;
        followTheMove(this);
        Prompt::Message(verdict.message, verdict.icon);
    });
}

// Help > About: the about box, modal, owned by the frame.
void frmMain::mnuHelpAbout_Click()
{
    runGuarded([&] {
        frmAbout about(this);
        about.exec();
    });
}

// View > Web Browser: a new browser window for every command, opening on the
// technical support page among the shipped files.
void frmMain::mnuViewBrowser_Click()
{
    runGuarded([&] {
        auto *browser = new frmBrowser;
        browser->setStartingAddress(App().AppPath + QStringLiteral("tech_support.htm"));
        addChild(browser);
    });
}
