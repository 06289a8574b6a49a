#include "curves_reports/frmReports.h"

#include "curves_reports/ReportHost.h"
#include "platform/FwError.h"
#include "platform/Guard.h"
#include "platform/help/Help.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/widgets/MakeControl.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace {

constexpr int kHelpTopic = 1102;
constexpr int kPathFileAccessError = 75;
constexpr int kPrinterError = 482;
// Pictures of the pages are saved at a resolution that prints sharply and
// still makes files small enough to send by e-mail.
constexpr double kPictureDpi = 150;
constexpr double kZoomStep = 1.25;

const QString kPdfFilter = QStringLiteral("PDF document (*.pdf)");
const QString kPngFilter = QStringLiteral("Pictures of the pages (*.png)");

// An icon of the desktop's theme, else the one the toolkit's own print
// preview uses.
QIcon viewerIcon(const char *themeName, const char *qtName)
{
    return QIcon::fromTheme(QLatin1String(themeName),
                            QIcon(QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/%1-24.png")
                                      .arg(QLatin1String(qtName))));
}

// A file name made of a caption and a name typed by the user: characters
// that no folder accepts become dashes.
QString safeFileStem(QString stem)
{
    for (QChar &c : stem)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            c = QLatin1Char('-');
    stem = stem.simplified();
    return stem.isEmpty() ? QStringLiteral("Report") : stem;
}

// The chosen file name with the extension of the chosen format, unless the
// name already ends in one of the two.
QString withFormat(const QString &path, const QString &filter)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf") || suffix == QLatin1String("png"))
        return path;
    return path + (filter == kPngFilter ? QStringLiteral(".png") : QStringLiteral(".pdf"));
}

} // namespace

const QString frmReports::kClientHandOut = QStringLiteral("ClientHandOut");
const QString frmReports::kGrowthCurveK9 = QStringLiteral("GrowthCurveK9");
const QString frmReports::kGrowthCurveFel = QStringLiteral("GrowthCurveFel");

QString frmReports::captionOf(const QString &reportName)
{
    if (reportName == kClientHandOut)
        return QStringLiteral("Client Handout");
    if (reportName == kGrowthCurveK9)
        return QStringLiteral("Puppy Growth Curve");
    if (reportName == kGrowthCurveFel)
        return QStringLiteral("Kitten Growth Curve");
    return QString();
}

frmReports::frmReports(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmReports"));
    setWindowTitle(QStringLiteral("Report"));
    buildControls();
}

frmReports::~frmReports() = default;

void frmReports::buildControls()
{
    using Controls::button;
    CClose = button(this, "CClose", QStringLiteral("&Close"), [this] { CClose_Click(); });
    HHelp = button(this, "HHelp", QStringLiteral("&Help"), [this] { HHelp_Click(); });
    SaveAs = button(this, "SaveAs", QStringLiteral("&Save Report"), [this] { SaveAs_Click(); });

    // The preview draws on a printer of its own, so that showing a report
    // never changes the frame's printer setup.
    m_previewPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_previewPrinter->setOutputFormat(QPrinter::PdfFormat);
    CRViewer1 = new QPrintPreviewWidget(m_previewPrinter.get(), this);
    CRViewer1->setObjectName(QStringLiteral("CRViewer1"));
    connect(CRViewer1, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *printer) { m_report.render(*printer); });
    connect(CRViewer1, &QPrintPreviewWidget::previewChanged, this, [this] { updatePageControls(); });

    // The viewer's own tools: print, paging and zoom.
    ViewerTools = new QToolBar(this);
    ViewerTools->setObjectName(QStringLiteral("ViewerTools"));
    ViewerTools->setIconSize(QSize(22, 22));
    ViewerTools->setFloatable(false);
    ViewerTools->setMovable(false);
    auto tool = [this](const char *name, const QIcon &icon, const QString &text, std::function<void()> action) {
        QAction *a = Controls::item(ViewerTools, name, text, std::move(action));
        a->setIcon(icon);
        a->setToolTip(text);
        return a;
    };
    PrintRep =
        tool("PrintRep", viewerIcon("document-print", "printer"), QStringLiteral("&Print"), [this] { Print_Click(); });
    PrintRep->setToolTip(QStringLiteral("Print"));
    if (auto *printButton = qobject_cast<QToolButton *>(ViewerTools->widgetForAction(PrintRep)))
        printButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ViewerTools->addSeparator();
    FirstPage = tool("FirstPage", viewerIcon("go-first", "go-first"), QStringLiteral("First page"),
                     [this] { CRViewer1->setCurrentPage(1); });
    PrevPage = tool("PrevPage", viewerIcon("go-previous", "go-previous"), QStringLiteral("Previous page"),
                    [this] { CRViewer1->setCurrentPage(CRViewer1->currentPage() - 1); });
    PageNo = Controls::make<QLabel>(this, "PageNo");
    PageNo->setAlignment(Qt::AlignCenter);
    PageNo->setMinimumWidth(PageNo->fontMetrics().horizontalAdvance(QStringLiteral("Page 88 of 88")) + 12);
    ViewerTools->addWidget(PageNo);
    NextPage = tool("NextPage", viewerIcon("go-next", "go-next"), QStringLiteral("Next page"),
                    [this] { CRViewer1->setCurrentPage(CRViewer1->currentPage() + 1); });
    LastPage = tool("LastPage", viewerIcon("go-last", "go-last"), QStringLiteral("Last page"),
                    [this] { CRViewer1->setCurrentPage(CRViewer1->pageCount()); });
    ViewerTools->addSeparator();
    ZoomOut = tool("ZoomOut", viewerIcon("zoom-out", "zoom-out"), QStringLiteral("Zoom out"),
                   [this] { CRViewer1->zoomOut(kZoomStep); });
    ZoomIn = tool("ZoomIn", viewerIcon("zoom-in", "zoom-in"), QStringLiteral("Zoom in"),
                  [this] { CRViewer1->zoomIn(kZoomStep); });
    FitWidth = tool("FitWidth", viewerIcon("zoom-fit-width", "zoom-fit-width"), QStringLiteral("Fit the page's width"),
                    [this] { CRViewer1->fitToWidth(); });
    FitPage = tool("FitPage", viewerIcon("zoom-fit-best", "zoom-fit-page"), QStringLiteral("Show the whole page"),
                   [this] { CRViewer1->fitInView(); });

    auto *band = new QHBoxLayout;
    band->setContentsMargins(6, 2, 6, 2);
    band->setSpacing(4);
    band->addWidget(CClose);
    band->addWidget(HHelp);
    band->addWidget(SaveAs);
    band->addSpacing(8);
    band->addWidget(ViewerTools, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(band);
    layout->addWidget(CRViewer1, 1);
    updatePageControls();
}

QSize frmReports::sizeHint() const
{
    return QSize(840, 900);
}

frmReports *frmReports::open(const QString &reportName, Report::ReportDocument report, const QString &fileStem)
{
    auto *viewer = new frmReports;
    viewer->setReport(reportName, std::move(report), fileStem);
    if (ReportHost *host = ReportHost::current()) {
        host->addReportWindow(viewer);
    } else {
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->show();
    }
    return viewer;
}

void frmReports::setReport(const QString &reportName, Report::ReportDocument report, const QString &fileStem)
{
    m_reportName = reportName;
    m_report = std::move(report);
    m_fileStem = fileStem;
    const QString caption = captionOf(reportName);
    if (!caption.isEmpty())
        setWindowTitle(caption);
    refreshPreview();
}

QPrinter *frmReports::setupPrinter()
{
    if (ReportHost *host = ReportHost::current())
        if (QPrinter *printer = host->printer())
            return printer;
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_ownPrinter.get();
}

QPageSize frmReports::paper() const
{
    if (ReportHost *host = ReportHost::current())
        if (QPrinter *printer = host->printer())
            if (const QPageSize size = printer->pageLayout().pageSize(); size.isValid())
                return size;
    return Report::ReportDocument::defaultPageSize();
}

void frmReports::refreshPreview()
{
    m_previewPrinter->setPageSize(paper());
    CRViewer1->updatePreview();
    updatePageControls();
}

int frmReports::pageCount() const
{
    return CRViewer1->pageCount();
}

int frmReports::currentPage() const
{
    return CRViewer1->currentPage();
}

void frmReports::updatePageControls()
{
    const int pages = CRViewer1->pageCount();
    const int page = pages > 0 ? CRViewer1->currentPage() : 0;
    PageNo->setText(pages > 0 ? QStringLiteral("Page %1 of %2").arg(page).arg(pages) : QString());
    FirstPage->setEnabled(page > 1);
    PrevPage->setEnabled(page > 1);
    NextPage->setEnabled(page < pages);
    LastPage->setEnabled(page < pages);
}

// ---------------------------------------------------------------------------
// Handlers

void frmReports::CClose_Click()
{
    runGuarded(this, [&] {
        // Inside the frame the child's sub-window is closed with it.
        for (QWidget *p = parentWidget(); p; p = p->parentWidget()) {
            if (auto *sub = qobject_cast<QMdiSubWindow *>(p)) {
                sub->close();
                return;
            }
        }
        close();
    });
}

void frmReports::HHelp_Click()
{
    runGuarded(this, [&] { Help::showTopic(App().HelpFilePath, kHelpTopic); });
}

void frmReports::SaveAs_Click()
{
    runGuarded(this, [&] {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QDir(folder).exists())
            folder = QDir::homePath();
        const QString stem = safeFileStem(m_fileStem.isEmpty() ? windowTitle() : m_fileStem);
        QString filter = kPdfFilter;
        const QString chosen =
            Prompt::SaveFileName(QStringLiteral("Save Report"), QDir(folder).filePath(stem + QStringLiteral(".pdf")),
                                 kPdfFilter + QStringLiteral(";;") + kPngFilter, &filter);
        if (chosen.isEmpty())
            return;
        saveTo(withFormat(chosen, filter));
    });
}

QStringList frmReports::saveTo(const QString &path) const
{
    const QFileInfo info(path);
    if (info.suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) != 0) {
        QString error;
        if (!m_report.exportPdf(path, paper(), &error))
            throw FwError(
                kPathFileAccessError,
                QStringLiteral("The report could not be saved as %1:\n%2").arg(QDir::toNativeSeparators(path), error));
        return {path};
    }

    const QPageLayout layout = m_report.pageLayout(paper());
    const int pages = m_report.pageCount(layout);
    QStringList written;
    for (int i = 0; i < pages; ++i) {
        const QString name =
            pages == 1 ? path
                       : info.dir().filePath(
                             QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(i + 1).arg(info.suffix()));
        QSaveFile file(name);
        const bool saved = file.open(QIODevice::WriteOnly) &&
                           m_report.pageImage(i, layout, kPictureDpi).save(&file, "PNG") && file.commit();
        if (!saved) {
            const QString reason = file.errorString();
            // Pictures of only some of the pages are no report: take them away.
            for (const QString &done : std::as_const(written))
                QFile::remove(done);
            throw FwError(
                kPathFileAccessError,
                QStringLiteral("The report could not be saved as %1:\n%2").arg(QDir::toNativeSeparators(name), reason));
        }
        written.append(name);
    }
    return written;
}

void frmReports::Print_Click()
{
    runGuarded(this, [&] {
        QPrinter *printer = setupPrinter();
        // The viewer is brought up to date first, so that what is shown is
        // what goes to paper, on the paper of the printer setup.
        refreshPreview();
        // The report sets its own orientation and margins; the printer setup
        // keeps its own for whatever prints next.
        const QPageLayout setup = printer->pageLayout();
        const int pages = m_report.render(*printer);
        printer->setPageLayout(setup);
        if (pages == 0)
            throw FwError(kPrinterError,
                          QStringLiteral("The report could not be printed: the printer could not be started. "
                                         "Choose a printer with File > Printer Setup, or keep the report as a "
                                         "file with Save Report."));
    });
}
