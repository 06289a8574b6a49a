#include "shell/frmLink.h"

#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/layout/Twips.h"
#include "platform/link/LinkServer.h"
#include "platform/state/AppState.h"
#include "shell/frmMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

#include <exception>

namespace {

// The window and its controls, in twips.
constexpr int kWidth = 4935;
constexpr int kHeight = 1500;
constexpr int kMargin = 240;
// The gauge grows in five steps of this width and starts again from nothing
// every sixth second.
constexpr int kGaugeStepTwips = 891;
constexpr int kGaugeSteps = 6;
constexpr int kGaugeHeight = 330;

const QString kTopic = QStringLiteral("frmLink");
const QString kItem = QStringLiteral("HiddenText");

} // namespace

// ---------------------------------------------------------------------------
// The gauge

LinkGaugeLabel::LinkGaugeLabel(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
}

void LinkGaugeLabel::setFillWidthTwips(int twips)
{
    m_fillTwips = twips;
    update();
}

void LinkGaugeLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect track = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(track, palette().color(QPalette::Base));
    QRect fill = track;
    fill.setWidth(qMin(Twips::toPixels(m_fillTwips), track.width()));
    if (fill.width() > 0)
        painter.fillRect(fill, QColor(0x9c, 0xd4, 0xb1));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(track);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(track, Qt::AlignCenter, text());
}

// ---------------------------------------------------------------------------
// The window

frmLink::frmLink(frmMain *frame)
    : QWidget(frame, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_frame(frame ? frame : frmMain::instance())
{
    setObjectName(QStringLiteral("frmLink"));
    setWindowTitle(QStringLiteral("Fenwarra"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(Twips::toPixelSize(kWidth, kHeight));

    Label1 = new QLabel(QStringLiteral("Waiting for the practice-management program..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(Twips::toPixels(kMargin, kMargin, kWidth - 2 * kMargin, 360));

    LinkGauge = new LinkGaugeLabel(this);
    LinkGauge->setObjectName(QStringLiteral("LinkGauge"));
    LinkGauge->setText(QStringLiteral("linking..."));
    LinkGauge->setGeometry(Twips::toPixels(kMargin, 780, kGaugeStepTwips * (kGaugeSteps - 1), kGaugeHeight));

    // The item the partner writes; nobody types into it.
    HiddenText = new QLineEdit(kWaiting, this);
    HiddenText->setObjectName(QStringLiteral("HiddenText"));
    HiddenText->hide();
    connect(HiddenText, &QLineEdit::textChanged, this, [this] { runGuarded([&] { HiddenText_Change(); }); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] {
        // A failed tick is reported as the link window's own.
        try {
            Timer1_Timer();
        } catch (const std::exception &e) {
            showFailure(QStringLiteral("Link form Error! ") + errorDescription(e));
        }
    });

    Form_Load();
}

frmLink::~frmLink() = default;

void frmLink::Form_Load()
{
    // The partner can write the record number for as long as the window is
    // loaded, and into this one item only.
    m_topic = std::make_unique<Link::Topic>(
        kTopic, QStringList{kItem}, [this](const QString &, const QString &text) { HiddenText->setText(text); });
    Timer1->start();
}

void frmLink::HiddenText_Change()
{
    LinkGauge->setText(QStringLiteral("Link successful"));
    App().LinkRecNo = HiddenText->text();
}

void frmLink::Timer1_Timer()
{
    if (HiddenText->text() != kWaiting) {
        Timer1->stop();
        close();
        return;
    }
    m_gaugeStep = (m_gaugeStep + 1) % kGaugeSteps;
    LinkGauge->setFillWidthTwips(m_gaugeStep * kGaugeStepTwips);
}

void frmLink::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmLink::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Timer1->stop();
    // No more writes: the case to open is the one received, and another
    // Fenwarra may take the link over.
    m_topic.reset();
    // Closed by hand before anything arrived: there is no case to open.
    const bool received = HiddenText->text() != kWaiting;
    frmMain *frame = m_frame ? m_frame.data() : frmMain::instance();
    if (!frame)
        return;
    frame->show();
    // The frame is drawn before the case opens in it.
    QCoreApplication::processEvents();
    if (received)
        frame->Hidden2_Click(HiddenText->text());
}
