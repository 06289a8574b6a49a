#pragma once
// The report viewer: a child window of the frame that shows one prepared
// report page by page (paging and zoom), prints it on the printer of the
// frame's printer setup and saves it as a PDF file or as pictures of its
// pages.
//
// A viewer holds its own filled report (texts and chart picture in memory),
// handed over by the preparation. It never reads the report's figures back
// from the database or a picture from a file, so a second preparation, here
// or on another workstation, cannot change what an open viewer shows, prints
// or saves. Every preparation opens a viewer of its own.
#include "platform/report/ReportDocument.h"

#include <QString>
#include <QWidget>
#include <memory>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;
class QAction;
class QToolBar;

class frmReports : public QWidget {
    Q_OBJECT
public:
    explicit frmReports(QWidget *parent = nullptr);
    ~frmReports() override;

    /// The report names the preparations use, with the viewer's caption.
    static const QString kClientHandOut;  // "Client Handout"
    static const QString kGrowthCurveK9;  // "Puppy Growth Curve"
    static const QString kGrowthCurveFel; // "Kitten Growth Curve"
    /// The window caption of a report name ("" for a name that is none of them).
    static QString captionOf(const QString &reportName);

    /// Show a prepared report in a new viewer: a child window of the frame
    /// when one is installed (ReportHost), else a window of its own. The
    /// viewer becomes the active child. fileStem is the name proposed when
    /// the report is saved (without folder or extension).
    static frmReports *open(const QString &reportName, Report::ReportDocument report, const QString &fileStem);

    /// Put a prepared report into this viewer and show its first page.
    void setReport(const QString &reportName, Report::ReportDocument report, const QString &fileStem);
    QString reportName() const { return m_reportName; }
    /// The report on screen.
    const Report::ReportDocument &report() const { return m_report; }
    /// The paper the report is shown and saved on: that of the frame's
    /// printer setup.
    QPageSize paper() const;

    /// Pages in the viewer and the one shown (1-based).
    int pageCount() const;
    int currentPage() const;

    // Handlers (the system's names).
    void CClose_Click();
    void HHelp_Click();
    /// Ask for the format and the destination, then write the report on screen.
    void SaveAs_Click();
    /// Print the report on screen on the printer of the frame's printer setup.
    void Print_Click();

    /// Write the report on screen to a file: a PDF, or pictures of its pages
    /// for a name ending in ".png" ("name.png" for one page; "name-1.png",
    /// "name-2.png" ... for more). Returns the files written. Throws FwError
    /// when a file cannot be written (nothing half-written is left).
    QStringList saveTo(const QString &path) const;

    QSize sizeHint() const override;

private:
    void buildControls();
    /// Bring the preview up to date on the paper of the printer setup.
    void refreshPreview();
    void updatePageControls();
    QPrinter *setupPrinter();

    QString m_reportName;
    QString m_fileStem;
    Report::ReportDocument m_report;
    // The preview's own printer: the viewer never changes the frame's.
    std::unique_ptr<QPrinter> m_previewPrinter;
    // The printer used when no frame hosts the viewer.
    std::unique_ptr<QPrinter> m_ownPrinter;

    QPrintPreviewWidget *CRViewer1 = nullptr;
    QPushButton *CClose = nullptr;
    QPushButton *HHelp = nullptr;
    QPushButton *SaveAs = nullptr;
    // The viewer's own tools; a narrow window keeps the rest behind the
    // tool bar's extension button.
    QToolBar *ViewerTools = nullptr;
    QAction *PrintRep = nullptr;
    QAction *FirstPage = nullptr;
    QAction *PrevPage = nullptr;
    QAction *NextPage = nullptr;
    QAction *LastPage = nullptr;
    QLabel *PageNo = nullptr;
    QAction *ZoomOut = nullptr;
    QAction *ZoomIn = nullptr;
    QAction *FitWidth = nullptr;
    QAction *FitPage = nullptr;
};
