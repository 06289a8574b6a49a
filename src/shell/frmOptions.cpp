#include "shell/frmOptions.h"

#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/chart/Chart.h"
#include "platform/settings/Settings.h"
#include "platform/state/AppState.h"
#include "platform/text/NumberText.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Options");
constexpr int kColours = 16;
const QSize kSwatchSize(44, 18);

// A label filled with one colour of the palette.
void fill(QLabel *label, int index)
{
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Chart::paletteColour(index));
    label->setPalette(palette);
}

// True when a stored colour is the number of one of the swatches.
bool namesSwatch(const QString &backColour)
{
    if (!NumText::IsNumeric(backColour))
        return false;
    try {
        const double value = NumText::Val(backColour);
        return value >= 0 && value < kColours && value == static_cast<int>(value);
    } catch (const FwError &) {
        return false;
    }
}

} // namespace

frmOptions::frmOptions(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);

    auto *colours = new QGroupBox(QStringLiteral("Graph Back Colour"), this);
    colours->setObjectName(QStringLiteral("Frame1"));
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    // Two columns: the even swatches on the left, the odd ones on the right.
    for (int i = 0; i < kColours; ++i) {
        auto *swatch = new QLabel(colours);
        swatch->setObjectName(QStringLiteral("Label2(%1)").arg(i));
        swatch->setFixedSize(kSwatchSize);
        swatch->setFrameShape(QFrame::Box);
        swatch->setCursor(Qt::PointingHandCursor);
        swatch->setAccessibleName(QStringLiteral("Colour %1").arg(i));
        fill(swatch, i);
        swatch->installEventFilter(this);
        grid->addWidget(swatch, i / 2, i % 2);
        Label2[i] = swatch;
    }
    auto *current = new QHBoxLayout;
    auto *currentLabel = new QLabel(QStringLiteral("Current Colour ="), colours);
    currentLabel->setObjectName(QStringLiteral("Label1"));
    CurrC = new QLabel(colours);
    CurrC->setObjectName(QStringLiteral("CurrC"));
    CurrC->setFixedSize(kSwatchSize);
    CurrC->setFrameShape(QFrame::Box);
    current->addWidget(currentLabel);
    current->addWidget(CurrC);
    current->addStretch(1);
    auto *colourBox = new QVBoxLayout(colours);
    colourBox->addLayout(grid);
    colourBox->addSpacing(6);
    colourBox->addLayout(current);

    auto *details = new QGroupBox(QStringLiteral("Details"), this);
    details->setObjectName(QStringLiteral("Frame2"));
    ShowLegend = new QCheckBox(QStringLiteral("Show Legend"), details);
    ShowLegend->setObjectName(QStringLiteral("ShowLegend"));
    ShowLegend->setChecked(true);
    ShowSymbols = new QCheckBox(QStringLiteral("Show Symbols"), details);
    ShowSymbols->setObjectName(QStringLiteral("ShowSymbols"));
    ShowSymbols->setChecked(true);
    auto *detailsBox = new QVBoxLayout(details);
    detailsBox->addWidget(ShowLegend);
    detailsBox->addWidget(ShowSymbols);

    auto *printIn = new QGroupBox(QStringLiteral("Print In"), this);
    printIn->setObjectName(QStringLiteral("Frame3"));
    PrintOp[0] = new QRadioButton(QStringLiteral("Colour"), printIn);
    PrintOp[0]->setObjectName(QStringLiteral("PrintOp(0)"));
    PrintOp[1] = new QRadioButton(QStringLiteral("Monochrome"), printIn);
    PrintOp[1]->setObjectName(QStringLiteral("PrintOp(1)"));
    PrintOp[1]->setChecked(true);
    auto *printBox = new QVBoxLayout(printIn);
    printBox->addWidget(PrintOp[0]);
    printBox->addWidget(PrintOp[1]);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *right = new QVBoxLayout;
    right->addWidget(details);
    right->addWidget(printIn);
    right->addStretch(1);
    right->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(colours);
    layout->addLayout(right);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int frmOptions::shownColourIndex(const QString &backColour)
{
    double value = 0;
    try {
        value = NumText::Val(backColour);
    } catch (const FwError &) {
        value = 0; // a number too large to read names no colour either
    }
    return static_cast<int>(std::clamp(value, 0.0, double(kColours - 1)));
}

void frmOptions::showCurrentColour(int index)
{
    m_shownIndex = index;
    fill(CurrC, index);
}

void frmOptions::Form_Load()
{
    runGuarded(this, [&] {
        const AppState &app = App();
        if (app.PrintOption == QLatin1String("0"))
            PrintOp[0]->setChecked(true);
        else if (app.PrintOption == QLatin1String("1"))
            PrintOp[1]->setChecked(true);
        if (app.LegendCheck == QLatin1String("0"))
            ShowLegend->setChecked(false);
        else if (app.LegendCheck == QLatin1String("1"))
            ShowLegend->setChecked(true);
        if (app.SymbolCheck == QLatin1String("0"))
            ShowSymbols->setChecked(false);
        else if (app.SymbolCheck == QLatin1String("1"))
            ShowSymbols->setChecked(true);
        m_openedColour = app.BackColour;
        m_colourClicked = false;
        showCurrentColour(shownColourIndex(app.BackColour));
    });
}

void frmOptions::Label2_Click(int index)
{
    runGuarded(this, [&] {
        if (index < 0 || index >= kColours)
            return;
        showCurrentColour(index);
        // The colour applies at once: case windows opened from now on use it.
        App().BackColour = NumText::Str(index);
        m_colourClicked = true;
    });
}

void frmOptions::cmdOK_Click()
{
    runGuarded(this, [&] {
        AppState &app = App();
        app.PrintOption = PrintOp[0]->isChecked() ? QStringLiteral("0") : QStringLiteral("1");
        if (ShowLegend->checkState() != Qt::PartiallyChecked)
            app.LegendCheck = ShowLegend->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        if (ShowSymbols->checkState() != Qt::PartiallyChecked)
            app.SymbolCheck = ShowSymbols->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        // A stored colour that names no swatch is saved as the swatch shown,
        // so that what is saved is what the user saw.
        if (!namesSwatch(app.BackColour))
            app.BackColour = NumText::Str(m_shownIndex);
        Settings::save(kSection, QStringLiteral("BackColour"), app.BackColour);
        Settings::save(kSection, QStringLiteral("PrintOption"), app.PrintOption);
        Settings::save(kSection, QStringLiteral("LegendCheck"), app.LegendCheck);
        Settings::save(kSection, QStringLiteral("SymbolCheck"), app.SymbolCheck);
        accept();
    });
}

void frmOptions::cmdCancel_Click()
{
    reject();
}

void frmOptions::reject()
{
    runGuarded(this, [&] {
        // Nothing chosen here stays: the colour too goes back to the one the
        // dialog opened with.
        if (m_colourClicked)
            App().BackColour = m_openedColour;
        m_colourClicked = false;
    });
    QDialog::reject();
}

bool frmOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < kColours; ++i) {
            if (watched == Label2[i]) {
                Label2_Click(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
