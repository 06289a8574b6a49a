#include "diets/frmUnitsChoice.h"

#include "platform/Guard.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmUnitsChoice::frmUnitsChoice(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUnitsChoice"));
    setWindowTitle(QStringLiteral("Calculate with....."));
    setModal(true);

    const char *captions[] = {"kg", "lb"};
    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < 2; ++i) {
        UnitsChoice[i] = new QRadioButton(QLatin1String(captions[i]), this);
        UnitsChoice[i]->setObjectName(QStringLiteral("UnitsChoice(%1)").arg(i));
        layout->addWidget(UnitsChoice[i]);
    }
    UnitsChoice[0]->setChecked(true);

    Continue = new QPushButton(QStringLiteral("&Continue"), this);
    Continue->setObjectName(QStringLiteral("Continue"));
    Continue->setDefault(true);
    connect(Continue, &QPushButton::clicked, this, [this] { Continue_Click(); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Continue);
    layout->addLayout(buttons);
    // Wide enough for the whole caption in the title bar.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 120);
}

void frmUnitsChoice::Continue_Click()
{
    runGuarded(this, [&] {
        m_units = UnitsChoice[0]->isChecked() ? QStringLiteral("kg") : QStringLiteral("lb");
        accept();
    });
}

QString frmUnitsChoice::ask(QWidget *parent)
{
    frmUnitsChoice choice(parent);
    if (choice.exec() != QDialog::Accepted)
        return QString();
    return choice.units();
}
