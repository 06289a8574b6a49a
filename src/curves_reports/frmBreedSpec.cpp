#include "curves_reports/frmBreedSpec.h"

#include "curves_reports/BreedWeights.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/db/DataControl.h"
#include "platform/help/Help.h"
#include "platform/layout/Twips.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/text/NumberText.h"
#include "platform/widgets/MakeControl.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 1005;
const QString kAllBreeds = QStringLiteral("SELECT * FROM [Dog Breeds]");

void showBox(const Prompt::Box &box)
{
    Prompt::MsgBox(box.text, box.buttons, box.icon, box.title);
}

} // namespace

frmBreedSpec::frmBreedSpec(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBreedSpec"));
    setWindowTitle(QStringLiteral("Canine Breed Weights- Recommended"));

    Data1 = new DataControl(this);
    Data1->setObjectName(QStringLiteral("Data1"));

    BreedData = new QTableWidget(0, 4, this);
    BreedData->setObjectName(QStringLiteral("BreedData"));
    BreedData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    BreedData->setSelectionBehavior(QAbstractItemView::SelectRows);
    BreedData->verticalHeader()->hide();
    BreedData->verticalHeader()->setDefaultSectionSize(BreedData->fontMetrics().height() + 8);
    BreedData->setWordWrap(false);

    Label1 = Controls::make<QLabel>(this, "Label1", QStringLiteral("Limit listing to breeds containing:"));
    LimitList = Controls::make<QLineEdit>(this, "LimitList");
    Label1->setBuddy(LimitList);

    DoIt = Controls::make<QPushButton>(this, "DoIt", QStringLiteral("&Find Now"));
    DoIt->setDefault(true);
    cmdClose = Controls::button(this, "cmdClose", QStringLiteral("&Close"), [this] { cmdClose_Click(); });
    HHelp = Controls::button(this, "HHelp", QStringLiteral("&Help"), [this] { HHelp_Click(); });
    connect(DoIt, &QPushButton::clicked, this, [this] { DoIt_Click(); });

    auto *find = new QHBoxLayout;
    find->addWidget(Label1);
    find->addWidget(LimitList, 1);
    find->addWidget(DoIt);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(HHelp);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(BreedData, 1);
    layout->addLayout(find);
    layout->addLayout(buttons);

    Form_Load();
    LimitList->setFocus();
}

frmBreedSpec::~frmBreedSpec() = default;

void frmBreedSpec::Launch(QWidget *frame)
{
    frmBreedSpec window(frame);
    BindToClinicDB(*window.Data1, kAllBreeds);
    window.Command1_Click();
    window.exec();
}

void frmBreedSpec::Form_Load()
{
    runGuarded(this, [&] {
        // The header: "|" parts the columns, "^" centres one, and the blanks
        // around a header's text widen its column.
        const QStringList parts = BreedWeights::kGridFormat.split(QLatin1Char('|'));
        const QFontMetrics headerFont(BreedData->horizontalHeader()->font());
        int total = 0;
        for (int col = 0; col < parts.size() && col < BreedData->columnCount(); ++col) {
            QString text = parts.at(col);
            if (text.startsWith(QLatin1Char('^')))
                text.remove(0, 1);
            auto *item = new QTableWidgetItem(text.trimmed());
            item->setTextAlignment(Qt::AlignCenter);
            BreedData->setHorizontalHeaderItem(col, item);
            const int width = headerFont.horizontalAdvance(text) + 16;
            BreedData->setColumnWidth(col, width);
            total += width;
        }
        BreedData->horizontalHeader()->setStretchLastSection(true);
        const int frame = 2 * BreedData->frameWidth() +
                          BreedData->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, BreedData);
        BreedData->setMinimumWidth(total + frame);
        resize(total + frame + 24, Twips::toPixels(6600));
    });
}

void frmBreedSpec::fillGrid(const QVector<BreedWeights::Row> &rows)
{
    BreedData->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const BreedWeights::Row &row = rows.at(r);
        const QString cells[4] = {row.breed, row.range, row.male, row.female};
        for (int col = 0; col < 4; ++col) {
            auto *item = new QTableWidgetItem(cells[col]);
            item->setTextAlignment(Qt::AlignCenter);
            BreedData->setItem(r, col, item);
        }
    }
}

void frmBreedSpec::Command1_Click()
{
    runGuarded(this, [&] {
        const BreedWeights::Listing listing = BreedWeights::all(Data1->database());
        fillGrid(listing.rows);
        if (listing.message)
            showBox(*listing.message);
    });
}

void frmBreedSpec::DoIt_Click()
{
    runGuarded(this, [&] {
        BreedWeights::Listing listing;
        try {
            listing = BreedWeights::containing(Data1->database(), LimitList->text());
        } catch (const FwError &e) {
            // The window names the failure with its number.
            throw FwError(e.number(),
                          e.description() + QStringLiteral("(Error #") + NumText::Str(e.number()) + QLatin1Char(')'));
        }
        if (listing.replaces)
            fillGrid(listing.rows);
        if (listing.message)
            showBox(*listing.message);
    });
}

void frmBreedSpec::cmdClose_Click()
{
    close();
}

void frmBreedSpec::HHelp_Click()
{
    runGuarded(this, [] { Help::showTopic(App().HelpFilePath, kHelpTopic); });
}
