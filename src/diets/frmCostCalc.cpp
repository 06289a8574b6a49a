#include "diets/frmCostCalc.h"

#include "diets/FeedingCost.h"
#include "platform/Guard.h"
#include "platform/layout/ScreenPlacement.h"
#include "platform/prompt/Prompt.h"
#include "platform/widgets/MakeControl.h"
#include "platform/widgets/SelectAllText.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QLineEdit *entryBox(QWidget *parent, const char *name)
{
    auto *box = Controls::make<QLineEdit>(parent, name);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("888888.88")) + 12);
    return box;
}

/// A result box: two lines of text on the grey of the buttons.
QPlainTextEdit *resultBox(QWidget *parent, const char *name)
{
    auto *box = Controls::make<QPlainTextEdit>(parent, name);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    box->setPalette(pal);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Each of the two sentences on a line of its own, with room for a large
    // count or cost.
    const QFontMetrics fm(box->font());
    box->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("The feeding cost per day will be $ 12345.67.")) +
                         2 * box->frameWidth() + 16);
    box->setFixedHeight(fm.lineSpacing() * 3 + 2 * box->frameWidth() + 8);
    box->setTabChangesFocus(true);
    return box;
}

} // namespace

frmCostCalc::frmCostCalc(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmCostCalc"));
    setWindowTitle(QStringLiteral("Cost Calculator"));
    setAttribute(Qt::WA_DeleteOnClose);

    const QString costCaption = QStringLiteral("Unit Cost ($, £  etc):");

    auto *dry = new QGroupBox(QStringLiteral("Dry"), this);
    UnitCost = entryBox(dry, "UnitCost");
    UnitSizeBag = entryBox(dry, "UnitSizeBag");
    HowMuchFed = entryBox(dry, "HowMuchFed");
    CalculateDry =
        Controls::button(dry, "CalculateDry", QStringLiteral("Calculate &Dry"), [this] { CalculateDry_Click(); });
    HowLongAndCost = resultBox(dry, "HowLongAndCost");
    // The dry result cannot be typed over.
    HowLongAndCost->setReadOnly(true);
    auto *dryForm = new QFormLayout;
    dryForm->addRow(costCaption, UnitCost);
    dryForm->addRow(QStringLiteral("Bag Size (Kg):"), UnitSizeBag);
    dryForm->addRow(QStringLiteral("How much you feed / day (gm):"), HowMuchFed);
    auto *dryLayout = new QVBoxLayout(dry);
    dryLayout->addLayout(dryForm);
    dryLayout->addWidget(CalculateDry, 0, Qt::AlignRight);
    dryLayout->addWidget(HowLongAndCost);

    auto *canned = new QGroupBox(QStringLiteral("Canned"), this);
    UnitCostCan = entryBox(canned, "UnitCostCan");
    CansSold = entryBox(canned, "CansSold");
    HowMuchFedCans = entryBox(canned, "HowMuchFedCans");
    CalculateCan =
        Controls::button(canned, "CalculateCan", QStringLiteral("Calculate &Canned"), [this] { CalculateCan_Click(); });
    HowLongAndCostCan = resultBox(canned, "HowLongAndCostCan");
    auto *cannedForm = new QFormLayout;
    cannedForm->addRow(costCaption, UnitCostCan);
    cannedForm->addRow(QStringLiteral("Cans sold (e.g. 24):"), CansSold);
    cannedForm->addRow(QStringLiteral("How many cans fed / day:"), HowMuchFedCans);
    auto *cannedLayout = new QVBoxLayout(canned);
    cannedLayout->addLayout(cannedForm);
    cannedLayout->addWidget(CalculateCan, 0, Qt::AlignRight);
    cannedLayout->addWidget(HowLongAndCostCan);

    Command1 = Controls::button(this, "Command1", QStringLiteral("&Done"), [this] { Command1_Click(); });
    for (QLineEdit *box : {UnitCost, UnitSizeBag, HowMuchFed, UnitCostCan, CansSold, HowMuchFedCans})
        box->installEventFilter(this);

    auto *columns = new QHBoxLayout;
    columns->addWidget(dry);
    columns->addWidget(canned);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(bottom);
}

bool frmCostCalc::eventFilter(QObject *watched, QEvent *event)
{
    // Each entry box selects its whole text when it gets the focus, so that
    // the next figure typed replaces the last.
    if (event->type() == QEvent::FocusIn)
        selectAllOnFocus(static_cast<QWidget *>(watched), static_cast<QFocusEvent *>(event));
    return QWidget::eventFilter(watched, event);
}

void frmCostCalc::showEvent(QShowEvent *event)
{
    if (!m_placed && !event->spontaneous()) {
        m_placed = true;
        ScreenPlacement::keepOnScreen(this, parentWidget());
    }
    QWidget::showEvent(event);
}

void frmCostCalc::focusField(FeedingCost::Field field)
{
    QLineEdit *box = nullptr;
    switch (field) {
    case FeedingCost::Field::UnitCost:
        box = UnitCost;
        break;
    case FeedingCost::Field::UnitSizeBag:
        box = UnitSizeBag;
        break;
    case FeedingCost::Field::HowMuchFed:
        box = HowMuchFed;
        break;
    case FeedingCost::Field::UnitCostCan:
        box = UnitCostCan;
        break;
    case FeedingCost::Field::CansSold:
        box = CansSold;
        break;
    case FeedingCost::Field::HowMuchFedCans:
        box = HowMuchFedCans;
        break;
    case FeedingCost::Field::None:
        break;
    }
    if (box)
        box->setFocus(Qt::OtherFocusReason);
}

void frmCostCalc::showResult(QPlainTextEdit *box, const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box->setPlainText(shown);
}

void frmCostCalc::CalculateDry_Click()
{
    runGuarded(this, [&] {
        const FeedingCost::Result r = FeedingCost::dry({UnitCost->text(), UnitSizeBag->text(), HowMuchFed->text()});
        if (r.refusal != FeedingCost::Refusal::None) {
            Prompt::Message(FeedingCost::refusalText(r.refusal), Prompt::Icon::Critical);
            focusField(FeedingCost::refusalField(r.refusal));
            return;
        }
        showResult(HowLongAndCost, r.text);
    });
}

void frmCostCalc::CalculateCan_Click()
{
    runGuarded(this, [&] {
        const FeedingCost::Result r =
            FeedingCost::canned({UnitCostCan->text(), CansSold->text(), HowMuchFedCans->text()});
        if (r.refusal != FeedingCost::Refusal::None) {
            Prompt::Message(FeedingCost::refusalText(r.refusal), Prompt::Icon::Critical);
            focusField(FeedingCost::refusalField(r.refusal));
            return;
        }
        showResult(HowLongAndCostCan, r.text);
    });
}

void frmCostCalc::Command1_Click()
{
    close();
}
