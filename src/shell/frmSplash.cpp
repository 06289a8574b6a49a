#include "shell/frmSplash.h"

#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/layout/Twips.h"
#include "platform/prompt/Prompt.h"
#include "platform/settings/Settings.h"
#include "platform/state/AppState.h"
#include "platform/state/LinkMode.h"
#include "platform/text/NumberText.h"
#include "shell/frmLink.h"
#include "shell/frmMain.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace {

// The window and its picture, in twips from the window's top left corner.
constexpr int kWindowWidth = 5400;
constexpr int kWindowHeight = 3840;

// The falling weight line: six segments, drawn one per tick.
const QPoint kLine5[7][2] = {
    {},
    {{240, 1920}, {720, 2520}},
    {{720, 2520}, {1560, 2400}},
    {{1560, 2400}, {2400, 2520}},
    {{2400, 2520}, {3240, 2760}},
    {{3240, 2760}, {4080, 2760}},
    {{4080, 2760}, {4680, 3120}},
};

const QColor kBackground(0x14, 0x26, 0x42);
const QColor kPanel(0x0c, 0x1a, 0x2f);
const QColor kPanelBorder(0x3a, 0x5a, 0x84);
const QColor kAxis(0xc9, 0xd6, 0xe8);
const QColor kTarget(0x6f, 0xcf, 0x97);
const QColor kYellow(0xff, 0xd2, 0x3f);

QLabel *label(QWidget *parent, const char *name, const QRect &twips, int pixelSize, bool bold, const QColor &colour)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(Twips::toPixels(twips.x(), twips.y(), twips.width(), twips.height()));
    QFont f = l->font();
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    return l;
}

} // namespace

// ---------------------------------------------------------------------------
// Lines and shapes of the picture

LineControl::LineControl(QWidget *parent, const QPoint &fromTwips, const QPoint &toTwips, const QColor &colour,
                         int width, Qt::PenStyle style)
    : QWidget(parent), m_from(fromTwips), m_to(toTwips), m_colour(colour), m_width(width), m_style(style)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The widget covers the line's bounding box with room for the pen.
    const QPoint a = Twips::toPixels(m_from.x(), m_from.y());
    const QPoint b = Twips::toPixels(m_to.x(), m_to.y());
    const int margin = m_width + 1;
    setGeometry(QRect(a, b).normalized().adjusted(-margin, -margin, margin, margin));
}

void LineControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(m_colour, m_width, m_style, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    const QPoint origin = pos();
    painter.drawLine(Twips::toPixels(m_from.x(), m_from.y()) - origin, Twips::toPixels(m_to.x(), m_to.y()) - origin);
}

ShapeControl::ShapeControl(QWidget *parent, Kind kind, const QRect &twips, const QColor &fill, const QColor &border,
                           int borderWidth)
    : QWidget(parent), m_kind(kind), m_fill(fill), m_border(border), m_borderWidth(borderWidth)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(Twips::toPixels(twips.x(), twips.y(), twips.width(), twips.height()));
}

void ShapeControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_border, m_borderWidth));
    painter.setBrush(m_fill);
    const qreal inset = m_borderWidth / 2.0 + 0.5;
    const QRectF r = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    if (m_kind == Circle)
        painter.drawEllipse(r);
    else
        painter.drawRoundedRect(r, 6, 6);
}

// ---------------------------------------------------------------------------
// The window

frmSplash::frmSplash(frmMain *frame, QWidget *parent)
    : QDialog(parent ? parent : frame, Qt::Dialog | Qt::FramelessWindowHint),
      m_frame(frame ? frame : frmMain::instance())
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Fenwarra"));
    setModal(true);
    setFixedSize(Twips::toPixelSize(kWindowWidth, kWindowHeight));

    fraMainFrame = new QFrame(this);
    fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
    fraMainFrame->setGeometry(rect());
    fraMainFrame->setFrameShape(QFrame::Box);
    fraMainFrame->setLineWidth(1);
    fraMainFrame->setAutoFillBackground(true);
    QPalette p = fraMainFrame->palette();
    p.setColor(QPalette::Window, kBackground);
    p.setColor(QPalette::WindowText, kPanelBorder);
    fraMainFrame->setPalette(p);

    auto *Shape2 = new ShapeControl(fraMainFrame, ShapeControl::RoundedRectangle, QRect(120, 1680, 5160, 2040), kPanel,
                                    kPanelBorder, 1);
    Shape2->setObjectName(QStringLiteral("Shape2"));

    lblProductName = label(fraMainFrame, "lblProductName", QRect(240, 120, 4200, 720), 34, true, Qt::white);
    lblProductName->setText(QStringLiteral("Fenwarra"));
    lblVersion = label(fraMainFrame, "lblVersion", QRect(255, 870, 3600, 300), 13, false, kAxis);
    lblPlatform = label(fraMainFrame, "lblPlatform", QRect(255, 1170, 3600, 300), 12, false, QColor(0x9f, 0xb3, 0xcc));
    // The platform the program runs on, so the label tells the truth here.
    lblPlatform->setText(QStringLiteral("For Linux"));

    // The chart: its two axes and the upper and lower acceptable weights.
    struct Fixed {
        const char *name;
        QPoint from, to;
        QColor colour;
        int width;
        Qt::PenStyle style;
    };
    const Fixed fixed[] = {
        {"Line1", {240, 1800}, {240, 3420}, kAxis, 2, Qt::SolidLine},
        {"Line2", {240, 3420}, {5040, 3420}, kAxis, 2, Qt::SolidLine},
        {"Line3", {240, 2880}, {5040, 2880}, kTarget, 1, Qt::DashLine},
        {"Line4", {240, 3240}, {5040, 3240}, kTarget, 1, Qt::DashLine},
    };
    for (const Fixed &f : fixed) {
        auto *line = new LineControl(fraMainFrame, f.from, f.to, f.colour, f.width, f.style);
        line->setObjectName(QLatin1String(f.name));
    }

    for (int i = 1; i <= 6; ++i) {
        Line5[i] = new LineControl(fraMainFrame, kLine5[i][0], kLine5[i][1], kYellow, 3);
        Line5[i]->setObjectName(QStringLiteral("Line5(%1)").arg(i));
        Line5[i]->hide();
    }

    // A ring round the end of the line, where it has come into the target band.
    Shape1 = new ShapeControl(fraMainFrame, ShapeControl::Circle, QRect(4500, 2940, 360, 360),
                              QColor(0x6f, 0xcf, 0x97, 60), kTarget, 2);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->hide();
    Label1 = label(fraMainFrame, "Label1", QRect(3900, 2190, 1400, 360), 15, true, kTarget);
    Label1->setText(QStringLiteral("Sucess!"));
    Label1->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(600);
    connect(Timer1, &QTimer::timeout, this, [this] {
        try {
            Timer1_Timer();
        } catch (...) {
            // Not shown: a box every 600 ms would stand in the way of the
            // start, and a tick that fails still lets the splash close at the
            // next one.
        }
    });
}

frmSplash::~frmSplash() = default;

QString frmSplash::versionText()
{
    return QStringLiteral("Version %1.%2.%3 %4")
        .arg(FENWARRA_VERSION_MAJOR)
        .arg(FENWARRA_VERSION_MINOR)
        .arg(FENWARRA_VERSION_PATCH)
        .arg(App().EditionTag);
}

int frmSplash::linkMode(const QString &linked)
{
    return static_cast<int>(parseLinkMode(linked));
}

void frmSplash::Form_Load()
{
    runGuarded([&] {
        lblVersion->setText(versionText());
        lblProductName->setText(QStringLiteral("Fenwarra"));
        if (!m_frame)
            throw FwError(ErrNo::ObjectNotSet);
        for (int i = 1; i <= 10; ++i)
            m_frame->setRecentCaption(
                i, Settings::get(QStringLiteral("Recent"), QStringLiteral("C%1").arg(i), QStringLiteral("?")));
        switch (currentLinkMode()) {
        case LinkMode::NewCase:
            m_frame->show();
            m_frame->Hidden1_Click();
            break;
        case LinkMode::AwaitRecord:
            showLinkWindow();
            break;
        case LinkMode::Normal:
            m_frame->show();
            break;
        }
    });
}

// The link window waits for the practice-management program's record number
// and shows the frame itself.
void frmSplash::showLinkWindow()
{
    auto *link = new frmLink(m_frame);
    link->show();
}

void frmSplash::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!Timer1->isActive())
        Timer1->start();
}

void frmSplash::Timer1_Timer()
{
    if (currentLinkMode() != LinkMode::Normal) {
        unload();
        return;
    }
    if (SplashStep < 7)
        ++SplashStep;
    if (SplashStep >= 1 && SplashStep <= 6)
        Line5[SplashStep]->show();
    if (SplashStep == 6) {
        Shape1->show();
        Label1->show();
    }
    if (SplashStep == 7)
        unload();
}

void frmSplash::unload()
{
    Timer1->stop();
    done(QDialog::Accepted);
}
