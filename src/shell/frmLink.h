#pragma once
// The link window: shown at a start in link mode 2, while the frame is still
// hidden, it waits with a small moving gauge for the practice-management
// program to write the client's record number into its item HiddenText
// (topic "frmLink" of the link). At the next tick after the number has
// arrived it closes, shows the frame and has the frame open the case that
// carries that number.
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <memory>

class frmMain;
class QLineEdit;
class QTimer;

namespace Link {
class Topic;
}

/// A gauge whose filled part grows while the caption stays readable across
/// its whole width.
class LinkGaugeLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkGaugeLabel(QWidget *parent = nullptr);
    /// The width of the filled part, in twips.
    void setFillWidthTwips(int twips);
    int fillWidthTwips() const { return m_fillTwips; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_fillTwips = 0;
};

class frmLink : public QWidget {
    Q_OBJECT
public:
    /// The link window of a frame (the program's frame when none is given).
    explicit frmLink(frmMain *frame = nullptr);
    ~frmLink() override;

    /// The text the window starts with and waits on.
    static inline const QString kWaiting = QStringLiteral("Wait");

    // Handlers (the system's names).
    /// Offers the link topic and starts the tick.
    void Form_Load();
    /// The item's text changed (also when the partner writes it).
    void HiddenText_Change();
    void Timer1_Timer();
    /// Shows the frame and, when a record number has arrived, opens its case.
    void Form_Unload();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    /// The item the partner writes; its text is the record number.
    QLineEdit *HiddenText = nullptr;
    LinkGaugeLabel *LinkGauge = nullptr;
    QLabel *Label1 = nullptr;
    QTimer *Timer1 = nullptr;

    QPointer<frmMain> m_frame;
    std::unique_ptr<Link::Topic> m_topic;
    // The gauge's step, 0 to 5: it cycles for as long as the window waits,
    // so no count can run over however long that is.
    int m_gaugeStep = 0;
    bool m_unloaded = false;
};
