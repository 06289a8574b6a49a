#pragma once
// The select-all behaviour of the entry boxes: a box that takes the focus has
// its whole text selected, so the next key stroke replaces it.
class QWidget;

/// Select the whole text of an entry box (QLineEdit, QTextEdit, QPlainTextEdit);
/// anything else gets the program's note that the cursor must be in a text box.
void SelectAllText(QWidget *textBox);
