#pragma once
// The units choice: before the diet calculator opens without a case, the user
// says whether the calculation is in kilograms or in pounds. Modal; closing it
// without Continue cancels the command that asked.
#include <QDialog>
#include <QString>
#include <array>

class QPushButton;
class QRadioButton;

class frmUnitsChoice : public QDialog {
    Q_OBJECT
public:
    explicit frmUnitsChoice(QWidget *parent = nullptr);

    /// Shows the window modally; the chosen unit ("kg" or "lb"), or "" when
    /// the window was closed without Continue.
    static QString ask(QWidget *parent);

    /// The unit chosen by Continue, "" before.
    QString units() const { return m_units; }

    // Handlers (the system's names).
    void Continue_Click();

private:
    QString m_units;
    std::array<QRadioButton *, 2> UnitsChoice{};
    QPushButton *Continue = nullptr;
};
