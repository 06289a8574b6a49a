#pragma once
// The practice's own details: the one row of the table Personal, which every
// report prints and from which a new case takes its default telephone
// number. The frame binds Data1 to the table and shows the dialog modal;
// closing it (Done, the title bar or Escape) saves what was typed.
//
// A save that fails (the row changed or deleted elsewhere meanwhile, a
// database that cannot be written) is reported and the dialog stays open with
// the typed text, so nothing typed is lost; the next Done stores it. From then
// on a Cancel button shows, and Cancel, Escape or the title bar close the
// dialog once the user agrees to discard what was typed: a register that
// cannot be written must not hold the user in a modal window.
#include <QDialog>

class DataControl;
class QLineEdit;
class QPushButton;

class Personalisation : public QDialog {
    Q_OBJECT
public:
    explicit Personalisation(QWidget *parent = nullptr);

    /// Bound by the opener to the table Personal.
    DataControl *Data1 = nullptr;

    // Handlers (the system's names).
    void Done_Click();
    void HHelp_Click();
    void Surgery_GotFocus();
    void Address1_GotFocus();
    void Address2_GotFocus();
    void TelephoneNumber_GotFocus();
    void FaxNumber_GotFocus();
    void eMailAddress_GotFocus();

    /// Store the typed details; false (reported, the dialog open with the
    /// typed text) when they could not be stored.
    bool save();

    /// Escape, the title bar and Cancel: the typed details are stored as by
    /// Done; after a refused save, the user is asked whether to discard them.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// Each box holds at most as many characters as its field, but never
    /// less than the text it shows, which is never cut.
    void applyFieldSizes();
    void store();
    QStringList typedTexts() const;
    void restoreTypedTexts(const QStringList &typed);

    QLineEdit *Surgery = nullptr;
    QLineEdit *Address1 = nullptr;
    QLineEdit *Address2 = nullptr;
    QLineEdit *TelephoneNumber = nullptr;
    QLineEdit *FaxNumber = nullptr;
    QLineEdit *eMailAddress = nullptr;
    QPushButton *Done = nullptr;
    QPushButton *HHelp = nullptr;
    /// Shown once a save was refused: leaves without storing.
    QPushButton *Cancel = nullptr;
    bool m_saveRefused = false;
};
