#pragma once
// The small date-of-birth and age window of the case entry: the user types
// either the date of birth (and the window works out the age) or the age in
// years, months and weeks (and the window works out a date of birth). Done
// hands both to the case details window that opened it (setDateOfBirth).
#include <QDateTime>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

class CaseDetails;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// The date of birth of an age text such as "02yrs 03mths 03wks": the two
/// characters before each of "yrs", "mths" and "wks" are read leniently as
/// years, months and weeks; days = years * 365 + months * 28 + weeks * 7 in
/// 16-bit arithmetic; the result is now minus those days. Throws FwError when
/// a unit word is missing or stands too near the start (5, invalid argument)
/// or the days overflow 16 bits (6, overflow).
QDateTime dobFromAgeText(const QString &ageText, const QDateTime &now);

/// The same at the present moment; on failure the error's text is shown in a
/// critical box and nothing is returned.
std::optional<QDateTime> DOBfrmAge(const QString &ageText);

class frmDOBAge : public QWidget {
    Q_OBJECT
public:
    /// A window that hands the date of birth and age to target. It is a
    /// top-level window owned by target, stays on top and deletes itself when
    /// closed.
    explicit frmDOBAge(CaseDetails *target);
    ~frmDOBAge() override;

    void Form_Load();
    void Option1_Click(int index);
    void Done_Click();
    void HHelp_Click();

    /// The text of a masked box as typed: the literal characters of the mask
    /// and "_" in every position not typed.
    static QString maskedText(const QLineEdit *box);

private:
    QLabel *InfoLbl = nullptr;
    QRadioButton *Option1[2] = {};
    QLineEdit *MaskEdDOB = nullptr; // "##-???-####", e.g. 21-Feb-1997
    QLineEdit *MaskEdAge = nullptr; // "##yrs ##mths ##wks"
    QPushButton *Done = nullptr;
    QPushButton *HHelp = nullptr;

    QPointer<CaseDetails> m_target;
};
