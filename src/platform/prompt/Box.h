#pragma once
// What a message box says and offers, as plain values: the logic that decides
// on a message (the data layer, growth curves, breed weights, relocation)
// describes its box with these and needs no window system; the prompt layer
// shows it.
#include <QString>

namespace Prompt {

/// The title nearly every box of the program carries.
inline const QString kTitle = QStringLiteral("Message from the Fenwarra");

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { OK = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

struct Box {
    QString text;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::OK;
    QString title; // empty: the application's title
};

} // namespace Prompt
