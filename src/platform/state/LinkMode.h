#pragma once
// The link with a practice-management program: the mode the program was
// started in, kept as the text "0", "1" or "2" in the settings and the
// application-wide state, and read here only.
#include <QString>

enum class LinkMode {
    Normal = 0,      // "0": a normal start
    NewCase = 1,     // "1": a new case begun at once for the other program's client
    AwaitRecord = 2, // "2": waiting for the other program's record number
};

/// The mode a text holds. A text that is no number, or a number other than
/// 1 or 2, is a normal start.
LinkMode parseLinkMode(const QString &text);
/// The text a mode is kept as.
QString linkModeText(LinkMode mode);
/// The mode the program runs in now (the application-wide Linked).
LinkMode currentLinkMode();
