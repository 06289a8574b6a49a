#pragma once
// The case window: one open case, its table of weighings, chart and target
// analysis. Buttons that the frame presses are public handlers.
#include <QWidget>

class DataControl;

class frmDocument : public QWidget {
    Q_OBJECT
public:
    explicit frmDocument(QWidget *parent = nullptr);
    ~frmDocument() override;

    // Data sources: the case's row, Report Variables, Dog Breeds.
    DataControl *Data1 = nullptr;
    DataControl *Data2 = nullptr;
    DataControl *Data3 = nullptr;

    // Load and analyse the case from Data1's row (the hidden loader button).
    void Command1_Click();

    // Weighing entry and undo (defined in frmDocument_Weighing.cpp).
    void NextWt_Click();
    void UndoToLastWt_Click();
};
