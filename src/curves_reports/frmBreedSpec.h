#pragma once
// The breed-weight window: the table of recommended dog weights in a grid of
// four columns, narrowed to the breeds whose name contains a typed text.
//
// The frame opens it modal, afresh each time: Launch() binds Data1, presses
// Command1 to fill the grid, and waits until the window is closed.
#include <QDialog>

class DataControl;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace BreedWeights {
struct Row;
}

class frmBreedSpec : public QDialog {
    Q_OBJECT
public:
    explicit frmBreedSpec(QWidget *parent = nullptr);
    ~frmBreedSpec() override;

    /// The frame's Breed Weights command: a new window over the frame, bound
    /// to the clinic database, filled with every breed and shown modal.
    /// Returns when the window is closed.
    static void Launch(QWidget *frame);

    // Handlers.
    void Form_Load();
    /// The hidden fill button: every breed.
    void Command1_Click();
    /// Find Now: the breeds whose name holds the typed text.
    void DoIt_Click();
    void cmdClose_Click();
    void HHelp_Click();

private:
    /// The breed table; Launch binds it to the clinic database.
    DataControl *Data1 = nullptr;

    // Controls, named as the system names them.
    QTableWidget *BreedData = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *LimitList = nullptr;
    QPushButton *DoIt = nullptr;
    QPushButton *cmdClose = nullptr;
    QPushButton *HHelp = nullptr;

    void fillGrid(const QVector<BreedWeights::Row> &rows);
};
