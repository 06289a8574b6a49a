#pragma once
// The one guard of the program's handlers. A handler's body runs inside it;
// whatever the body throws is shown through the prompt layer as the error's
// description, so no failure ever escapes into Qt and ends the program, and a
// handler keeps only the lines of its own algorithm.
#include "platform/prompt/Prompt.h"

#include <functional>

class QWidget;

/// Run a handler's body. A failure is shown as its description (an FwError's
/// description, the text of any other exception) in a box with an OK button
/// and the icon given; a box with an icon carries the program's usual title,
/// a plain box (Prompt::Icon::None) the application's title. onFailure runs
/// after a failure, before the box, to undo a half-done step. A box that
/// cannot be shown is given up rather than thrown on. Returns true when the
/// body ran through.
bool runGuarded(const std::function<void()> &body, Prompt::Icon icon = Prompt::Icon::Critical,
                const std::function<void()> &onFailure = {});

/// The same with the boxes of the body, and the failure's box, opened over
/// the given window (a window that stays on top of the frame, whose boxes
/// would otherwise open behind it).
bool runGuarded(QWidget *over, const std::function<void()> &body, Prompt::Icon icon = Prompt::Icon::Critical,
                const std::function<void()> &onFailure = {});

/// The box a guarded handler shows for a failure, for the few callers that
/// catch an error to do something first and then show it as the guard does.
void showFailure(const QString &description, Prompt::Icon icon = Prompt::Icon::Critical);
