#pragma once
// The about box: the program's title, version and purpose, its help page, the
// desktop's system-information program, and a short greeting one second
// after it opens. The frame shows it modally.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);
    ~frmAbout() override;

    /// The sentence on the program's purpose.
    static QString descriptionText();
    /// Shown when no system-information program is installed.
    static inline const QString kNoSysInfo = QStringLiteral("System Information Is Unavailable At This Time");
    static constexpr int kHelpTopic = 1027;

    // Handlers (the system's names).
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Command1_Click();
    void Timer1_Timer();
    /// Start the system-information program, or say that there is none.
    void StartSysInfo();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QFrame *Line1[2] = {};
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QPushButton *Command1 = nullptr;
    QTimer *Timer1 = nullptr;

    bool m_greeted = false;
};
