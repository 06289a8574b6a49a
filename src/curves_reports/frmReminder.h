#pragma once
// The reminder list: the active cases due a re-weighing (last weighed 14 to
// 42 days ago), one line each; a double click opens the case as the case
// locator's Go To does, and Print prints the list.
//
// The frame owns one instance: Launch() binds Data1, presses LoadList and
// shows the window modeless; given again while the window is open, it loads
// the same window afresh. Opening a case or closing the window unloads it.
#include "cases/CaseRef.h"

#include <QDialog>
#include <memory>

class DataControl;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;

namespace Reminders {
struct Line;
}

class frmReminder : public QDialog {
    Q_OBJECT
public:
    explicit frmReminder(QWidget *parent = nullptr);
    ~frmReminder() override;

    /// The frame's Reminders command: the frame's one reminder window
    /// (created when none is loaded) gets the printer to print on, Data1 bound
    /// to the clinic database and LoadList pressed, and is shown modeless.
    static frmReminder *Launch(QWidget *frame, QPrinter *printer);

    /// The printer Print prints on: the frame's, which its printer setup
    /// configures. Without one the window prints on a printer of its own.
    void setPrinter(QPrinter *printer) { m_printer = printer; }
    QPrinter *printer();

    /// Bind Data1 to the clinic database the program uses now and press
    /// LoadList: the due cases of that register listed afresh.
    void loadRegister();

    // Handlers.
    /// The hidden loader button: the days since each case's last weighing
    /// brought up to date, and the due cases listed.
    void LoadList_Click();
    /// A line selected: its case, with the names its row holds now, becomes
    /// the list's selected case (selectedCase()).
    void ClientListing_Click();
    /// The case of the line last selected, as its row stood then.
    CaseRef selectedCase() const { return m_selected; }
    /// A double click: the selected case opened; the list unloaded.
    void ClientListing_DblClick();
    void PrintBut_Click();
    void Close_Click();

    /// The selected line, or -1 when none is selected.
    int listIndex() const;
    /// Select a line (-1: none), as a click on it does.
    void setListIndex(int row);
    /// The case a line stands for.
    qint64 caseNoAt(int row) const;

private:
    /// Bound to the clinic database by loadRegister.
    DataControl *Data1 = nullptr;

    // Controls, named as the system names them.
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QListWidget *ClientListing = nullptr;
    QPushButton *PrintBut = nullptr;
    QPushButton *Close = nullptr;

    CaseRef m_selected;
    void ListDueClients(const QVector<Reminders::Line> &lines);

    QPrinter *m_printer = nullptr;
    std::unique_ptr<QPrinter> m_ownPrinter;
};
