#pragma once
// Pointing the program at another copy of the database (File > Net&work
// Fenwarra): the path arithmetic and the checks of the chosen file, without
// the window. The window closes the case windows, asks for the file, calls
// checkChoice(), shows the verdict's message, and only for an accepted
// choice switches DBFPath, DBFName and the saved setting together.
#include "platform/prompt/Box.h"

#include <QString>

namespace Relocation {

/// The file-open dialog's filter.
inline const QString kFilter = QStringLiteral("Database Files (*.mdb)");

/// The part of a full file path before the first "Fenwarra.mdb", the search
/// ignoring letter case: for a path that ends in a folder, "/" and the file
/// name, the folder with its trailing "/". A path without the name gives "".
QString PathFromLocn(const QString &fullPath);

/// The note shown before the dialog, naming the database in use now.
QString locateMessage(const QString &currentDbfName);
/// The note shown when the new location has been taken.
QString successMessage(const QString &dbfName);
inline const QString kFailedMessage = QStringLiteral("You have failed to reset the location of 'Fenwarra.mdb'.") +
                                      QStringLiteral(" the previous setting remains intact.");
inline const QString kNotFoundMessage = QStringLiteral("Please try again, cannot locate the specified file");
/// The title of the file-open dialog.
inline const QString kDialogTitle = QStringLiteral("Open");

// The program's own notes when the move cannot begin: every case window must
// be closed first, and nothing may be entered into the database in use.
inline const QString kCaseWindowOpenMessage =
    QStringLiteral("A case window could not be closed, so the location of 'Fenwarra.mdb' has not been changed. "
                   "Close the case window, then try again.");
inline const QString kCaseEntryOpenMessage =
    QStringLiteral("A case is being entered or edited, so the location of 'Fenwarra.mdb' has not been changed. "
                   "Finish or cancel the entry, then try again.");
inline const QString kNotSavedMessage =
    QStringLiteral("The new location of 'Fenwarra.mdb' could not be saved in the settings (%1), so it has not been "
                   "changed.");

struct Verdict {
    enum class Outcome {
        Cancelled, // no file chosen: nothing to say, nothing changes
        Accepted,  // switch to dbfPath and dbfName and save dbfPath
        NotFound,  // the chosen file does not exist
        Refused    // not a database the next start would find, or not ours
    } outcome = Outcome::Cancelled;
    QString dbfPath; // Accepted: the new folder, as the setting keeps it
    QString dbfName; // Accepted: the chosen file
    QString message; // the box to show ("" when Cancelled)
    Prompt::Icon icon = Prompt::Icon::None;
};

/// Check a file chosen in the dialog ("" when cancelled). It is accepted only
/// when its name holds "Fenwarra.mdb" in exactly that letter case, it
/// exists, the name the next start forms from its folder
/// (PathFromLocn + "Fenwarra.mdb") is that same file, and it is a Fenwarra
/// database. Looking never creates or changes a file.
Verdict checkChoice(const QString &chosen);

} // namespace Relocation
