#include "platform/widgets/SelectAllText.h"

#include "platform/prompt/Prompt.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

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

void selectAllOnFocus(QWidget *box, const QFocusEvent *event, std::function<void()> select)
{
    if (!select)
        select = [box] { SelectAllText(box); };
    select();
    if (event->reason() == Qt::MouseFocusReason)
        QTimer::singleShot(0, box, [box, select] {
            if (box->hasFocus())
                select();
        });
}
