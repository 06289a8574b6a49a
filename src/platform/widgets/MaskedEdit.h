#pragma once
// The masked edit box of the entry windows: a QLineEdit with an input mask.
class QLineEdit;
class QString;

/// Give the box its input mask, with the digit places ("0", "9") taking the
/// digits 0 to 9 only. Qt's mask takes any digit (Arabic-Indic, Devanagari)
/// and shows it, while the program reads such a text as no number: the box
/// would show one figure and store another. A key or a paste that would put
/// another digit into the box is refused as any key the mask does not take.
void setAsciiInputMask(QLineEdit *box, const QString &mask);
