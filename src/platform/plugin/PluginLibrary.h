#pragma once
// The program's own small libraries (the sound player, the web view) are
// loaded on first use, so that starting the program never waits for the large
// libraries beneath them. This finds one and a function in it.
#include <QFunctionPointer>
#include <QString>

/// The function `symbol` of the library built as `builtPath`: the installed
/// copy in lib/fenwarra beside the program's bin folder first, else the one
/// in the build tree. Null when neither can be loaded or lacks the function.
QFunctionPointer resolvePluginFunction(const QString &builtPath, const char *symbol);
