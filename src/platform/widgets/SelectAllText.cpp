#include "platform/widgets/SelectAllText.h"

#include "platform/prompt/Prompt.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

void SelectAllText(QWidget *textBox)
{
    if (auto *line = qobject_cast<QLineEdit *>(textBox)) {
        line->selectAll();
        return;
    }
    if (auto *edit = qobject_cast<QTextEdit *>(textBox)) {
        edit->selectAll();
        return;
    }
    if (auto *plain = qobject_cast<QPlainTextEdit *>(textBox)) {
        plain->selectAll();
        return;
    }
    Prompt::MsgBox(QStringLiteral("The cursor must be inside a text box in order to select its text!"),
                   Prompt::Buttons::OK, Prompt::Icon::None, QString());
}
