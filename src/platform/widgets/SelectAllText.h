#pragma once
// The select-all behaviour of the entry boxes: a box that takes the focus has
// its whole text selected, so the next key stroke replaces it.
#include <functional>

class QFocusEvent;
class QWidget;

/// Select the whole text of an entry box (QLineEdit, QTextEdit, QPlainTextEdit);
/// anything else gets the program's note that the cursor must be in a text box.
void SelectAllText(QWidget *textBox);

/// A box's focus rule, called when `box` gets the focus: its text is selected
/// with `select` (by default SelectAllText), and after a click once more when
/// the click is done, as the click places the caret after the focus arrives,
/// which would undo the selection.
void selectAllOnFocus(QWidget *box, const QFocusEvent *event, std::function<void()> select = {});
