#include "cases/frmDocument.h"

#include "cases/CaseHost.h"

#include "cases/CaseAnalysis.h"
#include "cases/CaseNotifier.h"
#include "cases/CaseProcs.h"
#include "cases/CaseRecord.h"
#include "cases/CaseWindowLayout.h"
#include "cases/Species.h"
#include "cases/TypedTextSaver.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/chart/Chart.h"
#include "platform/db/DataControl.h"
#include "platform/layout/Twips.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPixmapCache>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <exception>
#include <functional>

// Resources of a static library must be registered by name, outside any namespace.
static void initCaseResources()
{
    Q_INIT_RESOURCE(cases);
}

namespace {

const QString kCrLf = QStringLiteral("\r\n");

namespace Layout = CaseWindowLayout;

double twips(int pixels)
{
    return Twips::fromPixels(pixels);
}

const QString kZoomIn = QStringLiteral("&Zoom In");
const QString kZoomOut = QStringLiteral("&Zoom Out");
const QString kPrintZoomIn = QStringLiteral("&PrintZoom In");
const QString kPrintZoomOut = QStringLiteral("&PrintZoom Out");

/// The hourglass pointer while a case is analysed, put back however the load ends.
class Hourglass {
public:
    ~Hourglass() { release(); }
    void set()
    {
        if (!m_on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        m_on = true;
    }
    void release()
    {
        if (m_on)
            QApplication::restoreOverrideCursor();
        m_on = false;
    }

private:
    bool m_on = false;
};

/// A Yes/No field that holds No. An empty field is no answer, so it marks nothing.
bool isNo(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return false;
    const QString text = v.toString().trimmed();
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
        text.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0)
        return true;
    bool numeric = false;
    const double n = text.toDouble(&numeric);
    return numeric && n == 0;
}

// The chart's background colour of the options. A hand-edited setting far
// outside the palette must not overflow the conversion; the chart draws any
// index below 0 as black and above 15 as white.
int backColourIndex()
{
    const double value = NumText::Val(App().BackColour);
    return static_cast<int>(std::clamp(std::isnan(value) ? 0.0 : value, -1.0, 16.0));
}

/// A load's failure, when the analysis did not reach a part that is to be shown.
void failUnless(const CaseAnalysis &a, CaseAnalysis::Part part)
{
    if (!a.reached(part))
        throw a.error.value_or(FwError(ErrNo::InvalidUseOfNull));
}

/// Multi-line box texts with CR LF line ends (the editor keeps bare line feeds).
QString withCrLf(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\n'), kCrLf);
    return text;
}

} // namespace

// The table of weighings: a heading row and NumWts rows of three centred texts.
class WtDataModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QVector<WtDataRow> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    const QVector<WtDataRow> &rows() const { return m_rows; }
    static QString heading(int col)
    {
        static const QString headings[3] = {QStringLiteral("Week"), QStringLiteral("Wt     "),
                                            QStringLiteral("Date (approx.)")};
        return col >= 0 && col < 3 ? headings[col] : QString();
    }
    static QString cell(const WtDataRow &r, int col)
    {
        switch (col) {
        case 0:
            return r.Week;
        case 1:
            return r.Wt;
        case 2:
            return r.Date;
        default:
            return QString();
        }
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_rows.size();
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows.size())
            return QVariant();
        if (role == Qt::DisplayRole)
            return cell(m_rows.at(index.row()), index.column());
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return QVariant();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal)
            return QVariant();
        if (role == Qt::DisplayRole)
            return heading(section);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return QVariant();
    }

private:
    QVector<WtDataRow> m_rows;
};

// ---------------------------------------------------------------------------------

frmDocument::frmDocument(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDocument"));
    initCaseResources();
    Data1 = new DataControl(this);
    Data2 = new DataControl(this);
    Data3 = new DataControl(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    Data2->setObjectName(QStringLiteral("Data2"));
    Data3->setObjectName(QStringLiteral("Data3"));
    // The breed table is part of the window's design; the opener only binds it.
    Data3->RecordSource = QStringLiteral("SELECT * FROM [Dog Breeds]");

    buildControls();
    setMinimumSize(Layout::minimumSize());
    resize(Layout::defaultSize());
    Form_Load();
}

frmDocument::~frmDocument() = default;

QSize frmDocument::sizeHint() const
{
    return Layout::defaultSize();
}

namespace {

QLabel *newLabel(QWidget *parent, const char *name, const QString &text = QString())
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

/// A status picture, hidden until a load shows it.
QLabel *newPicture(QWidget *parent, const char *name, const CaseWindowLayout::TwipRect &place)
{
    QLabel *l = newLabel(parent, name);
    l->setGeometry(place.pixels());
    // Every case window shows the same five pictures: each is drawn from its
    // file once, not again for every window opened.
    const QString key =
        QStringLiteral("frmDocument/%1/%2x%3").arg(QLatin1String(name)).arg(l->width()).arg(l->height());
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture = QPixmap(QStringLiteral(":/cases/pictures/%1.svg").arg(QLatin1String(name)))
                      .scaled(l->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPixmapCache::insert(key, picture);
    }
    l->setPixmap(picture);
    l->setAlignment(Qt::AlignCenter);
    l->hide();
    return l;
}

/// A hidden box that keeps a fact of the load.
QLineEdit *newMirror(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->hide();
    return e;
}

QPushButton *newButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

void frmDocument::buildControls()
{
    buildTopBandAndChart();
    buildRightColumn();
    buildButtonRow();
    buildMirrors();

    // The typed texts belong to the case's row; they are written back when
    // the box is left and before the row is read again.
    Data1->bind(VetComBox, QStringLiteral("Vet Comments"));
    Data1->bind(DietRecMe, QStringLiteral("Diet Recommend"));
    m_typedText = new TypedTextSaver(
        this, {VetComBox, DietRecMe}, {QStringLiteral("comments"), QStringLiteral("diet recommendation")},
        {[this] { Data1->saveBound(); }, [this] { Data1->Requery(); }, [this] { load(!m_inBackground); },
         [this] {
             const Recordset &row = Data1->recordset();
             if (!row.isOpen() || row.eof() || row.bof())
                 return QStringList{QString(), QString()};
             return QStringList{row.text(QStringLiteral("Vet Comments")), row.text(QStringLiteral("Diet Recommend"))};
         }});
    connectHandlers();
}

void frmDocument::buildTopBandAndChart()
{
    // Top band: two pictures and the five result texts.
    Baloons = newPicture(this, "Baloons", Layout::kBigPicture);
    Clouds = newPicture(this, "Clouds", Layout::kBigPicture);
    Smile = newPicture(this, "Smile", Layout::kFacePicture);
    Bland = newPicture(this, "Bland", Layout::kFacePicture);
    Frown = newPicture(this, "Frown", Layout::kFacePicture);

    Congrats = newLabel(this, "Congrats");
    IdealWtLbl = newLabel(this, "IdealWtLbl");
    AvWtLbl = newLabel(this, "AvWtLbl");
    LossRate = newLabel(this, "LossRate");
    TimeToTargetlbl = newLabel(this, "TimeToTargetlbl");
    QFont bold = Congrats->font();
    bold.setBold(true);
    Congrats->setFont(bold);
    int line = 0;
    for (QLabel *l : {Congrats, IdealWtLbl, AvWtLbl, LossRate, TimeToTargetlbl})
        l->setGeometry(Layout::resultText(line++).pixels());

    // The chart.
    Graph1 = new Chart(this);
    Graph1->setObjectName(QStringLiteral("Graph1"));
    Graph1->setNumSets(3);
    Graph1->setGraphStyle(Chart::LinesWithSymbols);
    Graph1->setGeometry(Layout::kChart.pixels());
}

void frmDocument::buildRightColumn()
{
    // Right column.
    Details = newLabel(this, "Details");
    Details->setGeometry(Layout::kDetails.pixels());
    Details->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Details->setMargin(2);

    WtData = new QTableView(this);
    WtData->setObjectName(QStringLiteral("WtData"));
    m_wtModel = new WtDataModel(WtData);
    WtData->setModel(m_wtModel);
    WtData->setGeometry(Layout::kWtData.pixels());
    WtData->verticalHeader()->hide();
    WtData->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    WtData->horizontalHeader()->setStretchLastSection(true);
    WtData->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    WtData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    WtData->setSelectionMode(QAbstractItemView::NoSelection);
    WtData->setAlternatingRowColors(true);
    // A compact font, as a grid of figures has, so the three headings fit.
    QFont gridFont = WtData->font();
    gridFont.setPointSizeF(gridFont.pointSizeF() * 0.88);
    WtData->setFont(gridFont);
    WtData->horizontalHeader()->setFont(gridFont);
    WtData->verticalHeader()->setDefaultSectionSize(QFontMetrics(gridFont).height() + 4);

    Label5 = newLabel(this, "Label5", QStringLiteral("Weight Recommended This Breed"));
    Label5->setGeometry(Layout::kLabel5.pixels());
    RecBreedWt = newLabel(this, "RecBreedWt");
    RecBreedWt->setGeometry(Layout::kRecBreedWt.pixels());
    RecBreedWt->setFrameShape(QFrame::StyledPanel);
    RecBreedWtLb = newLabel(this, "RecBreedWtLb");
    RecBreedWtLb->setGeometry(Layout::kRecBreedWtLb.pixels());
    RecBreedWtLb->setFrameShape(QFrame::StyledPanel);
    RecBreedWtLb->installEventFilter(this);

    Label4 = newLabel(this, "Label4", QStringLiteral("Current Diet Recommendations"));
    Label4->setGeometry(Layout::kLabel4.pixels());
    DietRecMe = new QPlainTextEdit(this);
    DietRecMe->setObjectName(QStringLiteral("DietRecMe"));
    DietRecMe->setGeometry(Layout::kDietRecMe.pixels());

    DateIt = newButton(this, "DateIt", QStringLiteral("Date"));
    DateIt->setToolTip(QStringLiteral("Date stamp your next comment"));
    DateIt->setGeometry(Layout::kDateIt.pixels());
    Label1 = newLabel(this, "Label1", QStringLiteral("Your Comments on The Case"));
    Label1->setGeometry(Layout::kLabel1.pixels());
    Label1->setIndent(6);
    VetComBox = new QPlainTextEdit(this);
    VetComBox->setObjectName(QStringLiteral("VetComBox"));
    VetComBox->setGeometry(Layout::kVetComBox.pixels());
}

void frmDocument::buildButtonRow()
{
    // Bottom row.
    NextWt = newButton(this, "NextWt", QStringLiteral("&Next Weight"));
    UndoToLastWt = newButton(this, "UndoToLastWt", QStringLiteral("&Undo To Last Weight"));
    DietCalcMe = newButton(this, "DietCalcMe", QStringLiteral("&Diet Calc."));
    GrowthCv = newButton(this, "GrowthCv", QStringLiteral("&Growth Curve"));
    Zoom = newButton(this, "Zoom", kZoomIn);
    PrintZoom = newButton(this, "PrintZoom", kPrintZoomIn);
    PrintZoom->hide();
    Activity = newLabel(this, "Activity", QStringLiteral("Reminder Inactive "));
    QFont warn = Activity->font();
    warn.setBold(true);
    Activity->setFont(warn);
    QPalette red = Activity->palette();
    red.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    Activity->setPalette(red);
    Activity->hide();
}

void frmDocument::buildMirrors()
{
    // Mirror boxes.
    LocalDateLastWt = newMirror(this, "LocalDateLastWt");
    LocalAge = newMirror(this, "LocalAge");
    LocalAnName = newMirror(this, "LocalAnName");
    LocalSurname = newMirror(this, "LocalSurname");
    WeeksOldLastWeighed = newMirror(this, "WeeksOldLastWeighed");
    LocalCaseNo = newMirror(this, "LocalCaseNo");
    LocalBreed = newMirror(this, "LocalBreed");
    LocalTelNo = newMirror(this, "LocalTelNo");
    LocalSex = newMirror(this, "LocalSex");
    LocalSpp = newMirror(this, "LocalSpp");
    LocalAnWtUnits = newMirror(this, "LocalAnWtUnits");
    LocalAcRange = newMirror(this, "LocalAcRange");
    LocalCurrWt = newMirror(this, "LocalCurrWt");
    LocalTarget = newMirror(this, "LocalTarget");
    LocalProgress = newMirror(this, "LocalProgress");
}

void frmDocument::connectHandlers()
{
    // Wiring: every handler runs guarded, so nothing escapes into Qt.
    connect(Zoom, &QPushButton::clicked, this, [this] { runGuarded([this] { Zoom_Click(); }); });
    connect(PrintZoom, &QPushButton::clicked, this, [this] { runGuarded([this] { PrintZoom_Click(); }); });
    connect(DateIt, &QPushButton::clicked, this, [this] { runGuarded([this] { DateIt_Click(); }); });
    connect(NextWt, &QPushButton::clicked, this, [this] { runGuarded([this] { NextWt_Click(); }); });
    connect(UndoToLastWt, &QPushButton::clicked, this, [this] { runGuarded([this] { UndoToLastWt_Click(); }); });
    connect(DietCalcMe, &QPushButton::clicked, this, [this] { runGuarded([this] { DietCalcMe_Click(); }); });
    connect(GrowthCv, &QPushButton::clicked, this, [this] { runGuarded([this] { GrowthCv_Click(); }); });
    connect(Graph1, &Chart::pointClicked, this,
            [this](int series, int point) { runGuarded([&] { Graph1_PointClick(series, point); }); });
    // The chart's argument-free notification: nothing sends it while drawing,
    // so the data this handler clears are never lost to a repaint.
    connect(Graph1, &Chart::notified, this, [this] { runGuarded([this] { Graph1_Redraw(); }); });

    // The chart lies above the right column when it is zoomed to full width.
    Graph1->raise();

    // A change of this window's case made elsewhere in the program is shown
    // once the handler that made it has ended.
    connect(&CaseNotifier::instance(), &CaseNotifier::caseChanged, this, [this](qint64 caseNo, const QObject *origin) {
        if (origin == this || m_case.caseNo.isEmpty() || caseNo != qint64(NumText::Val(m_case.caseNo)))
            return;
        QTimer::singleShot(0, this, [this] { runGuarded([this] { showChangeMadeElsewhere(); }); });
    });
}

// --- the grid as texts --------------------------------------------------------------

int frmDocument::WtDataRows() const
{
    return m_wtModel->rowCount() + 1;
}

QString frmDocument::WtDataText(int row, int col) const
{
    if (row == 0)
        return WtDataModel::heading(col);
    if (row < 1 || row > m_wtModel->rows().size())
        return QString();
    return WtDataModel::cell(m_wtModel->rows().at(row - 1), col);
}

QString frmDocument::VetComBoxText() const
{
    return withCrLf(VetComBox->toPlainText());
}

CaseHandout frmDocument::handout() const
{
    // The breed's weight is its labels' own: a click on the pound label
    // converts whatever the kg label shows.
    const LoadedCase &c = m_loaded;
    const TargetAnalysis &t = c.results;
    return CaseHandout{c.facts.ageText,
                       t.Congrats,
                       t.IdealWtLbl,
                       t.AvWtLbl,
                       t.LossRate,
                       t.TimeToTargetlbl,
                       RecBreedWtLb->text(),
                       RecBreedWt->text(),
                       t.LocalTarget,
                       t.LocalProgress,
                       c.facts.ref.animalName,
                       c.facts.ref.surname,
                       c.facts.species,
                       c.facts.breed,
                       c.facts.sex,
                       c.telNo,
                       DateText::ShortDate(c.lastWeighed),
                       c.acRange,
                       withCrLf(DietRecMe->toPlainText()),
                       VetComBoxText()};
}

QImage frmDocument::printPicture(bool monochrome)
{
    // Back to the screen's size, colours and background on every path, so a
    // failure never leaves the case's chart at print size or on white.
    struct Restore {
        frmDocument *doc;
        ~Restore()
        {
            doc->Graph1->setBackground(backColourIndex());
            doc->Graph1->setDrawStyle(Chart::Colour);
            if (doc->PrintZoom->text() == kPrintZoomOut)
                doc->PrintZoom_Click();
        }
    } restore{this};
    if (PrintZoom->text() == kPrintZoomIn)
        PrintZoom_Click();
    Graph1->setDrawStyle(monochrome ? Chart::Monochrome : Chart::Colour);
    Graph1->setBackground(15); // white
    // Twice the screen's resolution, so that the chart is sharp on paper.
    return Graph1->picture(2);
}

// --- set-up and layout ------------------------------------------------------------------

void frmDocument::Form_Load()
{
    // Table of weighings: three equal columns, headed and centred. The
    // columns share the width inside the grid's frame and scroll bar, so
    // that none of them is cut off.
    const int inner = WtData->width() - 2 * WtData->frameWidth() -
                      WtData->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, WtData);
    const int colWidth = qRound(inner / 3.0);
    for (int col = 0; col < 3; ++col)
        WtData->setColumnWidth(col, colWidth);

    // The chart: no data yet, the chosen background, symbols and legend.
    Graph1->setDataReset(Chart::ResetAllData);
    Graph1->setBackground(backColourIndex());
    if (App().SymbolCheck == QLatin1String("0"))
        Graph1->setGraphStyle(Chart::LinesOnly);
    else if (App().SymbolCheck == QLatin1String("1"))
        Graph1->setGraphStyle(Chart::LinesWithSymbols);
    if (App().LegendCheck == QLatin1String("1")) {
        Graph1->setThisSet(1);
        Graph1->setLegendText(QStringLiteral("Wt"));
        Graph1->setThisSet(2);
        Graph1->setLegendText(QStringLiteral("Lower"));
        Graph1->setThisSet(3);
        Graph1->setLegendText(QStringLiteral("Upper"));
    }
}

void frmDocument::Form_Resize()
{
    Layout::Current now;
    now.inner = size();
    now.chartTop = Graph1->y();
    now.dateItWidth = DateIt->width();
    now.recBreedWtWidth = RecBreedWt->width();
    const QList<QPushButton *> buttons{NextWt, UndoToLastWt, DietCalcMe, GrowthCv, Zoom};
    for (QPushButton *b : buttons)
        now.buttonWidths << b->sizeHint().width();
    const Layout::Resized r = Layout::resized(now);

    // The chart takes its normal proportions, the right column starts just
    // beyond it, and the buttons run under it.
    Graph1->resize(r.chart);
    WtData->setGeometry(r.columnLeft, WtData->y(), WtData->width(), r.tableHeight);
    const std::initializer_list<std::pair<QWidget *, Layout::TwipRect>> belowTable{
        {Label5, Layout::kLabel5},       {RecBreedWt, Layout::kRecBreedWt}, {Label4, Layout::kLabel4},
        {DietRecMe, Layout::kDietRecMe}, {DateIt, Layout::kDateIt},         {VetComBox, Layout::kVetComBox}};
    for (const auto &[w, design] : belowTable)
        w->move(r.columnLeft, design.pixels().top() + r.belowTableShift);
    Label1->move(r.label1Left, Layout::kLabel1.pixels().top() + r.belowTableShift);
    RecBreedWtLb->move(r.recBreedWtLbLeft, Layout::kRecBreedWtLb.pixels().top() + r.belowTableShift);
    VetComBox->resize(VetComBox->width(), r.vetComBoxHeight);
    Details->setGeometry(r.columnLeft, Details->y(), r.detailsWidth, Details->height());
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setGeometry(r.buttons.at(i));
    Activity->setGeometry(r.activity);
}

int frmDocument::outerWidthTwips() const
{
    // Inside the frame the window's border belongs to its sub-window.
    for (QWidget *p = parentWidget(); p; p = p->parentWidget())
        if (auto *sub = qobject_cast<QMdiSubWindow *>(p))
            return static_cast<int>(twips(sub->width()));
    return static_cast<int>(twips(frameGeometry().width()));
}

void frmDocument::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    runGuarded([this] { Form_Resize(); });
}

void frmDocument::Zoom_Click()
{
    if (Zoom->text() == kZoomIn) {
        Graph1->resize(Layout::zoomedChartWidth(outerWidthTwips()), Graph1->height());
        Zoom->setText(kZoomOut);
        DateIt->hide();
    } else {
        Graph1->resize(Layout::normalChart(size()).width(), Graph1->height());
        Zoom->setText(kZoomIn);
        DateIt->show();
    }
}

void frmDocument::PrintZoom_Click()
{
    if (PrintZoom->text() == kPrintZoomIn) {
        Graph1->resize(Layout::printChart());
        PrintZoom->setText(kPrintZoomOut);
        DateIt->hide();
    } else {
        Graph1->resize(Layout::normalChart(size()));
        PrintZoom->setText(kPrintZoomIn);
        DateIt->show();
    }
}

// --- chart ----------------------------------------------------------------------------

void frmDocument::Graph1_PointClick(int series, int point)
{
    // Only the weights have a read-out; the bounds are the same everywhere.
    if (series != 1)
        return;
    runGuarded([&] {
        const float value = NumText::Sng(Graph1->value(series, point));
        const QString units = Data1->recordset().text(QStringLiteral("Units"));
        Prompt::MsgBox(NumText::Plain(value) + QStringLiteral(" ") + units, Prompt::Buttons::OK,
                       Prompt::Icon::Information, QStringLiteral("Weight at this point ="));
    });
}

void frmDocument::Graph1_Redraw()
{
    Graph1->setDataReset(Chart::ResetAllData);
    Graph1->refresh();
}

// --- comments ---------------------------------------------------------------------------

void frmDocument::DateIt_Click()
{
    VetComBox->setPlainText(VetComBoxText() + kCrLf + DateText::Format(Clock::today(), QStringLiteral("dd-mmm-yyyy")) +
                            QStringLiteral(":") + kCrLf);
    // Ready for the comment that the stamp heads.
    VetComBox->moveCursor(QTextCursor::End);
    VetComBox->setFocus();
}

bool frmDocument::saveTypedText()
{
    return m_typedText->save();
}

bool frmDocument::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && watched == RecBreedWtLb)
        runGuarded([this] { RecBreedWtLb_Click(); });
    return QWidget::eventFilter(watched, event);
}

void frmDocument::closeEvent(QCloseEvent *event)
{
    // Closing leaves the boxes: what was typed is saved, or the user lets it go.
    if (!m_typedText->mayClose()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

// --- breed weight in pounds ------------------------------------------------------------------

QString frmDocument::CvtRangeLB(const QString &rangeKg) const
{
    return Analysis::CvtRangeLB(rangeKg);
}

void frmDocument::RecBreedWtLb_Click()
{
    const QString s = RecBreedWt->text().trimmed();
    if (NumText::Val(s) == 0)
        RecBreedWtLb->setText(QStringLiteral("-"));
    else
        RecBreedWtLb->setText(CvtRangeLB(s) + QStringLiteral(" lb"));
}

// --- the case and its hand-overs ----------------------------------------------------------

CaseFacts frmDocument::facts() const
{
    // The case as the window now holds it: an edit may have renamed it
    // since.
    CaseFacts f = m_loaded.facts;
    f.ref = m_case;
    return f;
}

void frmDocument::makeCurrent() const
{
    const CaseFacts f = facts();
    AppState &app = App();
    app.CurrCaseNo = f.ref.caseNo;
    app.CurrSurname = f.ref.surname;
    app.CurrAnimalName = f.ref.animalName;
    app.CurrAgeText = f.ageText;
    app.CurrSpecies = f.species;
    app.CurrBreed = f.breed;
    app.CurrSex = f.sex;
    app.CurrUnits = f.units;
    app.CurrWeight = f.currentWt;
    app.CurrWeeksOld = f.weeksOld;
}

void frmDocument::bindCaseRow(const QString &query, const QVariantList &params)
{
    BindToClinicDB(*Data1, query, params);
}

void frmDocument::bindReportAndBreeds()
{
    BindToClinicDB(*Data2, QStringLiteral("SELECT * FROM [Report Variables]"));
    if (Data2->recordset().recordCount() > 0)
        Data2->recordset().moveFirst();
    // The breed table's source is part of the window's design.
    BindToClinicDB(*Data3);
}

const Recordset &frmDocument::caseRow() const
{
    return Data1->recordset();
}

void frmDocument::testActive()
{
    const QVariant active = Data1->recordset().field(QStringLiteral("Active"));
    m_testsActive = true;
    if (isNo(active))
        markInactive();
    else if (m_markedInactive) {
        // Activated meanwhile: the summary as the layout has it.
        Details->setPalette(m_detailsPalette);
        Details->setAutoFillBackground(false);
        Activity->setVisible(false);
        m_markedInactive = false;
    }
}

void frmDocument::markInactive()
{
    if (!m_markedInactive)
        m_detailsPalette = Details->palette();
    m_markedInactive = true;
    QPalette pal = Details->palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0, 0));
    pal.setColor(QPalette::WindowText, QColor(0xFF, 0xFF, 0xFF));
    Details->setPalette(pal);
    Details->setAutoFillBackground(true);
    Activity->setVisible(true);
}

void frmDocument::receiveDietRecommendation(const QString &text)
{
    DietRecMe->setPlainText(text);
    saveTypedText();
}

void frmDocument::focusDietRecommendation()
{
    DietRecMe->setFocus(Qt::OtherFocusReason);
}

void frmDocument::DietCalcMe_Click()
{
    runGuarded([this] {
        // The calculator serves this window's case, and hands its
        // recommendation back to this window.
        makeCurrent();
        App().DietCalcStandAlone = 0;
        if (CaseHost *host = CaseHost::current())
            host->showDietCalculator(this);
    });
}

void frmDocument::GrowthCv_Click()
{
    runGuarded([this] {
        // The curves are handed this window's case as a value, with the
        // weight and age at its last weighing, whichever case another window
        // loaded since; it also becomes the current case, as the system has it.
        makeCurrent();
        if (CaseHost *host = CaseHost::current())
            host->showGrowthCurve(facts());
    });
}

// --- the load ----------------------------------------------------------------------------------

void frmDocument::hidePictures()
{
    for (QLabel *p : {Baloons, Clouds, Smile, Bland, Frown})
        p->hide();
}

void frmDocument::showPictures(unsigned pictures)
{
    const CasePictures set = CasePictures::fromInt(pictures);
    const struct {
        CasePicture flag;
        QLabel *label;
    } all[] = {{CasePicture::Baloons, Baloons},
               {CasePicture::Clouds, Clouds},
               {CasePicture::Smile, Smile},
               {CasePicture::Bland, Bland},
               {CasePicture::Frown, Frown}};
    for (const auto &p : all)
        if (set.testFlag(p.flag))
            p.label->show();
}

void frmDocument::Command1_Click()
{
    // Typed comments go to the row before it is read again.
    saveTypedText();
    runGuarded([this] { load(); });
}

void frmDocument::load(bool publish)
{
    // However the load ends, the window's case is the current one with what
    // the load found of it, and the pointer comes back before a failure is
    // shown.
    struct PublishAtEnd {
        const frmDocument *doc;
        bool publish;
        ~PublishAtEnd()
        {
            if (publish)
                doc->makeCurrent();
        }
    } publishAtEnd{this, publish};
    Hourglass hourglass;
    // 1. No status yet.
    hidePictures();

    // 2. to 4. The dates, the age and the case the opener handed over.
    const CaseRecord row = CaseRecord::fromRecordset(Data1->recordset());
    row.checkLoadable();
    takeDatesAgeAndNames(row);

    // The analysis of the whole case; its parts are shown below in the
    // load's order, and a failure stops the showing where it occurred.
    const CaseAnalysis a = analyse(row);

    // 5. and 6. The row's details, the range and the summary.
    takeRowDetails(row);
    failUnless(a, CaseAnalysis::Part::Texts);
    showSummary(a);

    // 7. Recommended weight of the breed.
    failUnless(a, CaseAnalysis::Part::Breed);
    showBreedWeight(a);

    // 8. and 9. The history and the table of weighings.
    failUnless(a, CaseAnalysis::Part::History);
    showHistory(a);

    if (m_numWts == 1) {
        // 10. One weighing: the analysis, then two equal points per series.
        failUnless(a, CaseAnalysis::Part::Target);
        showResults(a.target);
        drawChart(a.chart);
    } else {
        // 11. Several weighings (or none): the chart first, then the
        // analysis, which finds no newest weight in an empty history.
        hourglass.set();
        drawChart(a.chart);
        failUnless(a, CaseAnalysis::Part::Target);
        showResults(a.target);
        hourglass.release();
    }
}

void frmDocument::takeDatesAgeAndNames(const CaseRecord &row)
{
    // 2. Dates of birth and of the latest weighing.
    const QDate dob = row.dobDate();
    m_loaded.lastWeighed = row.lastWeighedDate();
    LocalDateLastWt->setText(DateText::ShortDate(m_loaded.lastWeighed));

    // 3. Age.
    CaseFacts &f = m_loaded.facts;
    const qint16 weeksOld = WeeksBetween(dob, m_loaded.lastWeighed);
    f.ageText = AgeText(dob);
    LocalAge->setText(f.ageText);

    // 4. Names and number of the case the opener handed over.
    f.ref = m_case;
    f.weeksOld = weeksOld;
    LocalAnName->setText(f.ref.animalName);
    LocalSurname->setText(f.ref.surname);
    WeeksOldLastWeighed->setText(NumText::Str(int(f.weeksOld)));
    LocalCaseNo->setText(f.ref.caseNo);
}

CaseAnalysis frmDocument::analyse(const CaseRecord &row)
{
    CaseAnalysisInput input;
    input.row = row;
    input.animalName = m_loaded.facts.ref.animalName;
    input.surname = m_loaded.facts.ref.surname;
    input.ageText = m_loaded.facts.ageText;
    input.lastWeighed = m_loaded.lastWeighed;
    input.recBreedWtBefore = RecBreedWt->text();
    if (Species::parse(row.Species) == Species::Kind::Dog)
        input.breedWtRange = findBreedWtRange(row.Breed);
    return analyseCase(input);
}

void frmDocument::takeRowDetails(const CaseRecord &row)
{
    // 5. The row's details, up to the first that is missing.
    CaseFacts &f = m_loaded.facts;
    const struct {
        const char *field;
        QString CaseRecord::*value;
        QString *fact;
        QLineEdit *box;
    } details[] = {
        {"Breed", &CaseRecord::Breed, &f.breed, LocalBreed},
        {"Tel No", &CaseRecord::TelNo, &m_loaded.telNo, LocalTelNo},
        {"Sex", &CaseRecord::Sex, &f.sex, LocalSex},
        {"Species", &CaseRecord::Species, &f.species, LocalSpp},
        {"Units", &CaseRecord::Units, &f.units, LocalAnWtUnits},
    };
    for (const auto &d : details) {
        if (row.isNull(QLatin1String(d.field)))
            break;
        *d.fact = row.*d.value;
        d.box->setText(*d.fact);
    }
}

void frmDocument::showSummary(const CaseAnalysis &a)
{
    // 5. The acceptable range; 6. the summary.
    m_loaded.acRange = a.LocalAcRange;
    LocalAcRange->setText(m_loaded.acRange);
    Details->setText(a.Details);
}

void frmDocument::showBreedWeight(const CaseAnalysis &a)
{
    // 7. A dog whose breed is not listed keeps the label as it was.
    if (a.recBreedWtChanged)
        RecBreedWt->setText(a.RecBreedWt);
    RecBreedWtLb_Click();
}

void frmDocument::showHistory(const CaseAnalysis &a)
{
    // 8. and 9. The number of weighings and the table, newest first.
    m_numWts = a.NumWts;
    m_wtModel->setRows(a.WtData);
    // Laid out now rather than at the table's next turn of the event loop,
    // which would paint the window a second time with its scroll bar.
    WtData->doItemsLayout();
}

void frmDocument::drawChart(const WeightChart &chart)
{
    Graph1->setNumPoints(chart.points());
    Graph1->setAutoInc(true);
    Graph1->setThisSet(1);
    Graph1->setThisPoint(1);
    for (const QVector<double> *series : {&chart.weights, &chart.lower, &chart.upper})
        for (double v : *series)
            Graph1->setGraphData(v);
    Graph1->setLeftTitle(chart.axisTitle);
    Graph1->setDrawMode(Chart::Draw);
}

void frmDocument::showResults(const TargetAnalysis &t)
{
    m_loaded.results = t;
    m_loaded.facts.currentWt = NumText::Sng(NumText::Val(t.LocalCurrWt));
    m_loaded.facts.idealWt = t.IdealWtVal;
    LocalCurrWt->setText(t.LocalCurrWt);
    AvWtLbl->setText(t.AvWtLbl);
    LossRate->setText(t.LossRate);
    IdealWtLbl->setText(t.IdealWtLbl);
    Congrats->setText(t.Congrats);
    TimeToTargetlbl->setText(t.TimeToTargetlbl);
    showPictures(t.pictures.toInt());
    LocalTarget->setText(t.LocalTarget);
    LocalProgress->setText(t.LocalProgress);
}

std::optional<QString> frmDocument::findBreedWtRange(const QString &breed)
{
    // The first row of the breed table whose name matches exactly.
    Recordset &breeds = Data3->recordset();
    if (!breeds.isOpen() || breeds.recordCount() == 0)
        return std::nullopt;
    breeds.moveFirst();
    while (!breeds.eof() && breeds.text(QStringLiteral("Breed")) != breed)
        breeds.moveNext();
    if (breeds.eof())
        return std::nullopt;
    return breeds.text(QStringLiteral("Wt Range"));
}
