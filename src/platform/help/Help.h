#pragma once
// The help engine: the program's own HTML help pages (one per topic number,
// plus contents and search) shown in a help window. The help file name the
// windows pass (AppPath + "FW2P0.hlp") names the help set; the pages are found
// beside it in help/, or in the shipped data folder.
#include <QString>

class QWidget;

namespace Help {
/// Show the contents page. Throws FwError when the help set cannot be found.
void showContents(const QString &helpFile);
/// Show the search page with an empty key.
void showSearch(const QString &helpFile);
/// Show the page of one topic number (1077, 1027, ...).
void showTopic(const QString &helpFile, int topic);
/// The help window, when one has been opened (tests).
QWidget *window();
} // namespace Help
