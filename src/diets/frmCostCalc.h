#pragma once
// The feeding-cost calculator: how long a bag of dry food or a number of cans
// lasts, and what the feeding costs per day. It stands alone: it reads no case
// and writes nothing but its two result boxes. The frame shows one instance,
// modeless; it is deleted when it closes.
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace FeedingCost {
enum class Field;
}

class frmCostCalc : public QWidget {
    Q_OBJECT
public:
    explicit frmCostCalc(QWidget *parent = nullptr);

    // Handlers (the system's names).
    void CalculateDry_Click();
    void CalculateCan_Click();
    void Command1_Click(); // "Done"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void focusField(FeedingCost::Field field);
    /// A result's two lines, shown in a box.
    static void showResult(QPlainTextEdit *box, const QString &text);

    QLineEdit *UnitCost = nullptr;
    QLineEdit *UnitSizeBag = nullptr;
    QLineEdit *HowMuchFed = nullptr;
    QPushButton *CalculateDry = nullptr;
    QPlainTextEdit *HowLongAndCost = nullptr;
    QLineEdit *UnitCostCan = nullptr;
    QLineEdit *CansSold = nullptr;
    QLineEdit *HowMuchFedCans = nullptr;
    QPushButton *CalculateCan = nullptr;
    QPlainTextEdit *HowLongAndCostCan = nullptr;
    QPushButton *Command1 = nullptr;
    bool m_placed = false;
};
