// The client handout of a long case: 1,040 weekly entries (twenty years).
// Measures, as medians of many runs:
//   - the chart's picture at print size (3 series x 1,040 points), for information;
//   - the preparation, from its call with the facts and the picture until the
//     viewer, a child window of the frame, has painted its first page;
//   - the export of the handout as a PDF file.
//   bench_reports             median times; exit code 1 when the preview takes
//                             300 ms or more, or the PDF 1 s or more
#include "curves_reports/ReportPreparation.h"
#include "curves_reports/frmReports.h"
#include "platform/chart/Chart.h"
#include "platform/db/ClinicDb.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "shell/frmMain.h"
#include "support/Median.h"
#include "support/QuietPrompt.h"

#include <QApplication>
#include <QChart>
#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QMdiArea>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

constexpr int kWeeks = 1040;
constexpr int kRuns = 31;
constexpr double kPreviewLimitMs = 300.0;
constexpr double kPdfLimitMs = 1000.0;
// The case chart's print size, 9543 x 4933 twips, in pixels.
const QSize kPrintSize(636, 329);

// The case chart of twenty years, as the case window draws it: weights,
// lower and upper bound, symbols and legend, on white for printing.
void fillChart(Chart &chart)
{
    chart.setNumSets(3);
    chart.setNumPoints(kWeeks);
    chart.setAutoInc(true);
    for (int i = 0; i < kWeeks; ++i)
        chart.setGraphData(40.0 - i * 0.01);
    for (int set = 2; set <= 3; ++set)
        for (int i = 0; i < kWeeks; ++i)
            chart.setGraphData(set == 2 ? 28.0 : 32.0);
    const char *legend[] = {"Wt", "Lower", "Upper"};
    for (int set = 1; set <= 3; ++set) {
        chart.setThisSet(set);
        chart.setLegendText(QLatin1String(legend[set - 1]));
    }
    chart.setGraphStyle(Chart::LinesWithSymbols);
    chart.setBackground(15);
    chart.resize(kPrintSize);
}

QImage chartPicture(Chart &chart)
{
    chart.refresh();
    chart.chart()->resize(QSizeF(chart.size()));
    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    chart.chart()->scene()->render(&painter, QRectF(image.rect()), QRectF(chart.rect()));
    return image;
}

ReportFills::HandoutFacts facts()
{
    ReportFills::HandoutFacts f;
    f.Age = QStringLiteral("20 years, 0 months, 1 weeks");
    f.Summary = QStringLiteral("Rex is within his target range.");
    f.IdealWt = QStringLiteral("Rex is  .4 kg under his ideal weight of  30 kg");
    f.AvWt = QStringLiteral("Average weight over the past 1040 weeks =  34.8 kg");
    f.LossRate = QStringLiteral("Average weight loss over past 4 weeks =  .01 kg/wk");
    f.TimeToTarget = QStringLiteral("Keep up the good work.");
    f.BreedRecWtLb = QStringLiteral("55 - 74.8 lb");
    f.BreedRecWt = QStringLiteral("25-34 kg");
    f.Target = QStringLiteral("J");
    f.Progress = QStringLiteral("J");
    f.AnName = QStringLiteral("Rex");
    f.Surname = QStringLiteral("Smith");
    f.Spp = QStringLiteral("Dog");
    f.Breed = QStringLiteral("Labrador Retriever");
    f.Sex = QStringLiteral("Male");
    f.TelNo = QStringLiteral("01632 960123");
    f.DateLastWt = QStringLiteral("06/Jan/25");
    f.WtRange = QStringLiteral("From  28 to  32 kg");
    f.DietRec = QStringLiteral("06/Jan/25\r\nWeight Control Dry: 310 g a day\r\nNo treats between meals");
    f.VetCom = QStringLiteral("None");
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir dir;
    QuietPrompt prompt;
    Prompt::setBackend(&prompt);
    AppState &s = App();
    s.DBFPath = dir.path() + QStringLiteral("/");
    s.DBFName = s.DBFPath + ClinicDb::kFileName;
    ClinicDb::create(s.DBFName);

    frmMain frame;
    frame.setEndProgram([] {});
    frame.resize(1200, 1000);
    frame.show();
    // The printer of the printer setup is made once, when it is first used.
    frame.printer();

    Chart chart;
    fillChart(chart);
    QImage picture = chartPicture(chart);
    const double chartMs = medianMs(kRuns, [&] { picture = chartPicture(chart); });

    const ReportFills::HandoutFacts handout = facts();
    frmReports *viewer = nullptr;
    const double previewMs = medianMs(kRuns, [&] {
        viewer = prepareClientHandout(handout, picture);
        viewer->grab();
        frame.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });

    viewer = prepareClientHandout(handout, picture);
    const QString pdf = dir.filePath(QStringLiteral("handout.pdf"));
    const double pdfMs = medianMs(kRuns, [&] { viewer->saveTo(pdf); });
    if (prompt.boxes != 0 || viewer->pageCount() != 1) {
        out << "the handout was not prepared as expected\n";
        return 2;
    }

    out << "client handout of a case of " << kWeeks << " weekly entries, median of " << kRuns << " runs\n";
    out << "  chart picture at print size (information):        " << QString::number(chartMs, 'f', 2) << " ms\n";
    out << "  preparation to the preview painted in the frame:  " << QString::number(previewMs, 'f', 2) << " ms\n";
    out << "  PDF export of the handout:                        " << QString::number(pdfMs, 'f', 2) << " ms\n";
    const bool met = previewMs < kPreviewLimitMs && pdfMs < kPdfLimitMs;
    out << "  limits " << kPreviewLimitMs << " ms (preview), " << kPdfLimitMs << " ms (PDF) -> "
        << (met ? "met" : "NOT MET") << "\n";
    frame.mdiArea()->closeAllSubWindows();
    Prompt::setBackend(nullptr);
    ClinicDb::closeAll();
    return met ? 0 : 1;
}
