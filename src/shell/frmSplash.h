#pragma once
// The splash window: a falling weight line that draws itself in six steps of
// 600 ms while the frame comes up. Its load fills the frame's recent-cases
// menu and decides by the link mode how the frame opens.
#include <QColor>
#include <QDialog>
#include <QPoint>
#include <QString>

class QLabel;
class QFrame;
class QTimer;
class frmMain;

/// A straight line of a window, given in twips from the window's top left
/// corner, as the splash picture is drawn.
class LineControl : public QWidget {
public:
    LineControl(QWidget *parent, const QPoint &fromTwips, const QPoint &toTwips, const QColor &colour, int width,
                Qt::PenStyle style = Qt::SolidLine);
    QPoint fromTwips() const { return m_from; }
    QPoint toTwips() const { return m_to; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint m_from;
    QPoint m_to;
    QColor m_colour;
    int m_width;
    Qt::PenStyle m_style;
};

/// A filled shape of a window: a rounded rectangle or a circle.
class ShapeControl : public QWidget {
public:
    enum Kind { RoundedRectangle, Circle };
    ShapeControl(QWidget *parent, Kind kind, const QRect &twips, const QColor &fill, const QColor &border,
                 int borderWidth);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
    QColor m_fill;
    QColor m_border;
    int m_borderWidth;
};

class frmSplash : public QDialog {
    Q_OBJECT
public:
    /// The splash of a frame (the program's frame when none is given).
    explicit frmSplash(frmMain *frame = nullptr, QWidget *parent = nullptr);
    ~frmSplash() override;

    /// "Version " + major.minor.revision + " " + EditionTag.
    static QString versionText();
    /// The link mode of a setting text: 0, 1 or 2; anything else is a normal start (0).
    static int linkMode(const QString &linked);

    void Form_Load();
    void Timer1_Timer();

    /// Ticks counted since the window was created.
    qint16 SplashStep = 0;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void unload();
    void showLinkWindow();

    frmMain *m_frame = nullptr;
    QFrame *fraMainFrame = nullptr;
    QLabel *lblProductName = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblPlatform = nullptr;
    QLabel *Label1 = nullptr;
    ShapeControl *Shape1 = nullptr;
    LineControl *Line5[7] = {};
    QTimer *Timer1 = nullptr;
};
