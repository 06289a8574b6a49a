#include "cases/frmDOBAge.h"

#include "cases/CaseDetails.h"
#include "cases/CaseProcs.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/help/Help.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/widgets/MaskedEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>

namespace {

constexpr int kHelpTopic = 1037;

// The number that stands in the two characters before a unit word.
qint16 unitCount(const QString &ageText, const QString &word)
{
    const int p = ageText.indexOf(word) + 1; // 1-based, 0 when missing
    // The reading starts two characters before the word; a word that is
    // missing, or stands at the very start, leaves nothing to read.
    if (p < 3)
        throw FwError(ErrNo::InvalidArgument);
    // The mask's prompt "_" marks a place left empty: "_4" shows 4 and is
    // read as 4, not as 0 because the reading stopped at the "_".
    QString figures = ageText.mid(p - 3, p - 1);
    figures.replace(QLatin1Char('_'), QLatin1Char(' '));
    return NumText::CInt(NumText::Val(figures));
}

} // namespace

QDateTime dobFromAgeText(const QString &ageText, const QDateTime &now)
{
    using namespace NumText;
    const qint16 years = unitCount(ageText, QStringLiteral("yrs"));
    const qint16 months = unitCount(ageText, QStringLiteral("mths"));
    const qint16 weeks = unitCount(ageText, QStringLiteral("wks"));
    const qint16 days = Add16(Add16(Mul16(years, 365), Mul16(months, 28)), Mul16(weeks, 7));
    return now.addDays(-days);
}

std::optional<QDateTime> DOBfrmAge(const QString &ageText)
{
    std::optional<QDateTime> dob;
    runGuarded([&] { dob = dobFromAgeText(ageText, Clock::now()); });
    return dob;
}

frmDOBAge::frmDOBAge(CaseDetails *target) : QWidget(target, Qt::Window | Qt::WindowStaysOnTopHint), m_target(target)
{
    setObjectName(QStringLiteral("frmDOBAge"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("DOB / Age Entry Form"));

    InfoLbl = new QLabel(QStringLiteral("1. Choose an option...."), this);
    InfoLbl->setObjectName(QStringLiteral("InfoLbl"));
    Option1[0] = new QRadioButton(QStringLiteral("Enter DOB, Calculate Age"), this);
    Option1[0]->setObjectName(QStringLiteral("Option1(0)"));
    Option1[1] = new QRadioButton(QStringLiteral("Enter Age, Calculate DOB"), this);
    Option1[1]->setObjectName(QStringLiteral("Option1(1)"));

    // The masks fix the typed forms whatever the locale: two digits, a month
    // abbreviation and the full year; two digits before each unit word.
    MaskEdDOB = new QLineEdit(this);
    MaskEdDOB->setObjectName(QStringLiteral("MaskEdDOB"));
    setAsciiInputMask(MaskEdDOB, QStringLiteral("00-aaa-0000;_"));
    MaskEdDOB->setToolTip(QStringLiteral("e.g. 21-Feb-1997"));
    MaskEdAge = new QLineEdit(this);
    MaskEdAge->setObjectName(QStringLiteral("MaskEdAge"));
    setAsciiInputMask(MaskEdAge, QStringLiteral("00\\y\\r\\s 00\\m\\t\\h\\s 00\\w\\k\\s;_"));
    MaskEdAge->setToolTip(QStringLiteral("e.g. 02yrs 03mths 3wks"));
    const QFont mono(QStringLiteral("monospace"));
    MaskEdDOB->setFont(mono);
    MaskEdAge->setFont(mono);

    Done = new QPushButton(QStringLiteral("&Done"), this);
    Done->setObjectName(QStringLiteral("Done"));
    HHelp = new QPushButton(QStringLiteral("&Help"), this);
    HHelp->setObjectName(QStringLiteral("HHelp"));

    auto *boxes = new QGridLayout;
    // Both boxes share one place; the chosen mode shows one of them.
    boxes->addWidget(MaskEdDOB, 0, 0);
    boxes->addWidget(MaskEdAge, 0, 0);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Done);
    buttons->addWidget(HHelp);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(InfoLbl);
    layout->addWidget(Option1[0]);
    layout->addWidget(Option1[1]);
    layout->addLayout(boxes);
    layout->addLayout(buttons);

    // Until a mode is chosen the date box is the one shown.
    MaskEdAge->hide();

    connect(Option1[0], &QRadioButton::clicked, this, [this] { Option1_Click(0); });
    connect(Option1[1], &QRadioButton::clicked, this, [this] { Option1_Click(1); });
    connect(Done, &QPushButton::clicked, this, &frmDOBAge::Done_Click);
    connect(HHelp, &QPushButton::clicked, this, &frmDOBAge::HHelp_Click);

    Form_Load();
}

frmDOBAge::~frmDOBAge() = default;

void frmDOBAge::Form_Load()
{
    // Topmost beside the equally topmost case details window; position and
    // size stay those of the layout.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void frmDOBAge::Option1_Click(int index)
{
    if (index == 0) {
        MaskEdDOB->setVisible(true);
        MaskEdAge->setVisible(false);
    } else if (index == 1) {
        MaskEdAge->setVisible(true);
        MaskEdDOB->setVisible(false);
    }
}

QString frmDOBAge::maskedText(const QLineEdit *box)
{
    return box->displayText();
}

void frmDOBAge::Done_Click()
{
    runGuarded(this, [&] {
        if (Option1[0]->isChecked()) {
            const QString typed = maskedText(MaskEdDOB);
            if (CheckDOB(typed) == 0) {
                Option1[0]->setFocus();
                return;
            }
            const QDate dob = DateText::CDate(typed);
            const QString age = AgeText(dob);
            App().CurrAgeText = age;
            if (m_target)
                m_target->setDateOfBirth(typed, age);
        } else if (Option1[1]->isChecked()) {
            const QString typed = maskedText(MaskEdAge);
            const std::optional<QDateTime> d = DOBfrmAge(typed);
            // An age that cannot be read leaves the window open and the case
            // details untouched, so the user can correct it.
            if (!d) {
                MaskEdAge->setFocus();
                return;
            }
            if (m_target)
                m_target->setDateOfBirth(DateText::Format(d->date(), QStringLiteral("dd-mmm-yyyy")), typed);
        }
        close();
    });
}

void frmDOBAge::HHelp_Click()
{
    runGuarded(this, [] { Help::showTopic(App().HelpFilePath, kHelpTopic); });
}
