#pragma once
// The case locator: a tool window that lists every case of the register, one
// line per case, narrows the list to the surnames that begin with what the
// user types, and opens, activates, inactivates or deletes the selected case.
//
// One instance, a child of the frame: Launch() binds Data1 to the clinic
// database, presses LoadList and shows the window modeless. Opening a case
// (or closing the window) unloads it, so the next opening starts afresh.
#include "cases/CaseRef.h"

#include <QWidget>

class CaseListModel;
class DataControl;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;

namespace LocatorSearch {
struct Query;
}

class fmLocator : public QWidget {
    Q_OBJECT
public:
    explicit fmLocator(QWidget *parent = nullptr);
    ~fmLocator() override;

    /// The frame's Open Existing Case command: the frame's one locator
    /// (created when none is loaded) gets Data1 bound to the clinic database,
    /// LoadList pressed, and is shown modeless. Throws FwError when the
    /// database cannot be bound.
    static fmLocator *Launch(QWidget *frame);

    /// Bind Data1 to the clinic database the program uses now and press
    /// LoadList: every case of that register listed afresh.
    void loadRegister();

    // Handlers.
    /// The hidden loader button: lists every case.
    void LoadList_Click();
    /// A key stroke in Narrower, before the box takes it (KeyAscii is the
    /// typed character's code point, 8 for backspace).
    void Narrower_KeyPress(char32_t KeyAscii);
    void ClientListing_Click();
    void ClientListing_DblClick();
    /// Button: 1 left, 2 right, 4 middle. The right button shows the popup
    /// menu for the line selected before; it selects nothing.
    void ClientListing_MouseUp(int Button, int Shift, int X, int Y);
    void GoToCase_Click();
    void Activate_Click();
    void Inactivate_Click();
    void DeleteCase_Click();

    /// The selected line, or -1 when none is selected.
    int listIndex() const;
    /// Select a line (-1: none), as a click on it does.
    void setListIndex(int row);
    CaseListModel *listModel() const { return m_model; }
    /// The case of the line selected last, with its row's names.
    CaseRef selectedCase() const { return m_selected; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    /// Bound to the clinic database by loadRegister. After a selection it
    /// stands on the selected case's row; the popup actions work on that row.
    /// (The list itself is read by the list model, from the same database, so
    /// that a register of many thousand cases is never held as one recordset.)
    DataControl *Data1 = nullptr;

    // Controls; their objectNames are the names tests and scripts find them by.
    QListView *ClientListing = nullptr;
    QLineEdit *Narrower = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *ItemsFound = nullptr;
    QPushButton *GoToCase = nullptr;
    QMenu *Hidden = nullptr;

    enum class RowAction { Activate, Inactivate, Delete };
    void changeSelectedCase(RowAction action);
    void FillClientListing(const LocatorSearch::Query &query);
    void CountItemsFound();
    /// Stand Data1 on the row of a line's case; the case as selected.
    CaseRef standOnCase(int row);

    CaseListModel *m_model = nullptr;
    CaseRef m_selected;
};
