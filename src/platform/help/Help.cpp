#include "platform/help/Help.h"

#include "platform/FwError.h"
#include "platform/help/HelpWindow.h"
#include "platform/prompt/Prompt.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace {

QPointer<HelpWindow> &theWindow()
{
    static QPointer<HelpWindow> window;
    return window;
}

/// The one help window, created on first use over the frame so that it closes
/// with the program.
HelpWindow *helpWindow()
{
    QPointer<HelpWindow> &w = theWindow();
    if (!w)
        w = new HelpWindow(Prompt::parentWindow());
    return w;
}

/// The folder of the help set and the page's file, checked before the window
/// changes, so a missing page leaves the window as it was.
QString checkedFolder(const QString &helpFile, const QString &page)
{
    const QString folder = HelpPages::folderFor(helpFile);
    if (!QFileInfo::exists(QDir(folder).filePath(page)))
        throw FwError(ErrNo::FileNotFound, QStringLiteral("The help page %1 is missing from %2.").arg(page, folder));
    return folder;
}

} // namespace

namespace Help {

void showContents(const QString &helpFile)
{
    const QString folder = checkedFolder(helpFile, HelpPages::kContents);
    helpWindow()->showPage(folder, HelpPages::kContents);
}

void showSearch(const QString &helpFile)
{
    const QString folder = checkedFolder(helpFile, HelpPages::kSearch);
    helpWindow()->showSearch(folder);
}

void showTopic(const QString &helpFile, int topic)
{
    const QString page = HelpPages::topicFile(topic);
    const QString folder = HelpPages::folderFor(helpFile);
    if (!QFileInfo::exists(QDir(folder).filePath(page)))
        throw FwError(ErrNo::FileNotFound, QStringLiteral("There is no help page for topic %1 (%2 is missing from %3).")
                                               .arg(QString::number(topic), page, folder));
    helpWindow()->showPage(folder, page);
}

QWidget *window()
{
    return theWindow().data();
}

} // namespace Help
