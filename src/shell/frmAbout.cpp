#include "shell/frmAbout.h"

#include "platform/Guard.h"
#include "platform/help/Help.h"
#include "platform/layout/Twips.h"
#include "platform/prompt/Prompt.h"
#include "platform/sound/Sound.h"
#include "platform/state/AppState.h"
#include "platform/sysinfo/SysInfo.h"
#include "shell/frmSplash.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

// Resources of a static library are registered by hand, outside any namespace.
static void initAboutResources()
{
    Q_INIT_RESOURCE(shell);
}

namespace {

// The window and its controls, in twips.
constexpr int kWidth = 6000;
constexpr int kHeight = 3900;

QLabel *label(QWidget *parent, const char *name, const QRect &twips)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(Twips::toPixels(twips.x(), twips.y(), twips.width(), twips.height()));
    return l;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &twips)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(Twips::toPixels(twips.x(), twips.y(), twips.width(), twips.height()));
    return b;
}

} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    initAboutResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About The Fenwarra"));
    setFixedSize(Twips::toPixelSize(kWidth, kHeight));

    picIcon = label(this, "picIcon", QRect(240, 240, 720, 720));
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(QIcon(QStringLiteral(":/shell/icons/paw@2x.png")).pixmap(Twips::toPixels(720)));

    lblTitle = label(this, "lblTitle", QRect(1200, 240, 4560, 480));
    QFont title = lblTitle->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    lblTitle->setFont(title);
    lblVersion = label(this, "lblVersion", QRect(1200, 760, 4560, 300));
    lblDescription = label(this, "lblDescription", QRect(1200, 1140, 4560, 1260));
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Two lines, one dark and one light, drawn as one engraved rule.
    for (int i = 0; i < 2; ++i) {
        Line1[i] = new QFrame(this);
        Line1[i]->setObjectName(QStringLiteral("Line1(%1)").arg(i));
        Line1[i]->setGeometry(Twips::toPixels(240, 2550 + 15 * i, kWidth - 480, 15));
        Line1[i]->setAutoFillBackground(true);
        QPalette p = Line1[i]->palette();
        p.setColor(QPalette::Window, i == 0 ? p.color(QPalette::Mid) : p.color(QPalette::Light));
        Line1[i]->setPalette(p);
    }

    Command1 = button(this, "Command1", QStringLiteral("&Help"), QRect(240, 2820, 1400, 420));
    cmdOK = button(this, "cmdOK", QStringLiteral("OK"), QRect(kWidth - 1640, 2820, 1400, 420));
    cmdOK->setDefault(true);
    cmdSysInfo = button(this, "cmdSysInfo", QStringLiteral("&System Info..."), QRect(kWidth - 1640, 3300, 1400, 420));
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [this] { runGuarded([&] { Timer1_Timer(); }); });

    Form_Load();
}

frmAbout::~frmAbout() = default;

QString frmAbout::descriptionText()
{
    return QStringLiteral("The") + QStringLiteral(" purpose of the Fenwarra is the provision of") +
           QStringLiteral(" detailed tracking of animal weights during illness and health") +
           QStringLiteral(" in addition to detailed dietary calculations for a whole range") +
           QStringLiteral(" of prescription and maintenance diets.");
}

void frmAbout::Form_Load()
{
    lblVersion->setText(frmSplash::versionText());
    lblTitle->setText(QStringLiteral("Fenwarra"));
    lblDescription->setText(descriptionText());
}

// The greeting comes one second after the box has opened, once; a box closed
// sooner says nothing.
void frmAbout::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_greeted && !Timer1->isActive())
        Timer1->start();
}

void frmAbout::hideEvent(QHideEvent *event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}

void frmAbout::Timer1_Timer()
{
    Timer1->stop();
    m_greeted = true;
    Sound::play(App().AppPath + QStringLiteral("Intro1") + QStringLiteral(".wav"));
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::Command1_Click()
{
    runGuarded(this, [] { Help::showTopic(App().HelpFilePath, kHelpTopic); });
}

void frmAbout::cmdSysInfo_Click()
{
    runGuarded(this, [&] { StartSysInfo(); });
}

void frmAbout::StartSysInfo()
{
    const QString program = SysInfo::findProgram();
    if (program.isEmpty() || !SysInfo::start(program)) {
        Prompt::MsgBox(kNoSysInfo, Prompt::Buttons::OK, Prompt::Icon::None);
        return;
    }
    // The about box stays open beside the program.
}
