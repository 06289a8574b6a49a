#pragma once
// The case window: one open case, its table of weighings, chart and target
// analysis. Other windows talk to it through its public members only: the
// opening sequence binds it to its case, the frame calls its commands and
// reads the case's facts, a tool hands a result back to it. Its controls are
// its own; their objectNames are the names by which tests and users' scripts
// find them.
#include "cases/CaseAnalysis.h"
#include "cases/CaseHandout.h"
#include "cases/CaseRef.h"

#include <QDate>
#include <QImage>
#include <QPalette>
#include <QStringList>
#include <QVariantList>
#include <QWidget>
#include <functional>
#include <optional>

class Chart;
class DataControl;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class Recordset;
class TypedTextSaver;
class WtDataModel;

/// What the last load found out about a case, as the other windows need it.
struct CaseFacts {
    CaseRef ref;
    QString species; // as stored in the case's row
    QString breed;
    QString sex;
    QString units;       // "kg", "gm", "lb" or "oz"
    QString ageText;     // the age today
    qint16 weeksOld = 0; // the age at the last weighing, in whole weeks
    float currentWt = 0; // the latest weight, in the case's units
    float idealWt = 0;   // the ideal weight of the analysis
};

class frmDocument : public QWidget {
    Q_OBJECT
public:
    explicit frmDocument(QWidget *parent = nullptr);
    ~frmDocument() override;

    QSize sizeHint() const override;

    // --- the case ---------------------------------------------------------------
    /// The case this window shows, as its opener handed it over. The
    /// application's current case may meanwhile be another window's.
    CaseRef caseRef() const { return m_case; }
    void setCaseRef(const CaseRef &ref) { m_case = ref; }
    /// The case's facts as the last load found them. Virtual, so that a
    /// stand-in window, which has no row to load, can give its own.
    virtual CaseFacts facts() const;
    /// Make this window's case the application's current case. The one
    /// place where the current-case values are written: when the window
    /// loads, when it becomes the frame's active window, and when one of its
    /// commands hands the case to a tool. The tools themselves are handed
    /// the case's facts as a value and never read these values.
    void makeCurrent() const;

    // --- the opening's steps ------------------------------------------------------
    /// Bind the case's row (Data1) to the clinic database with a query for it.
    void bindCaseRow(const QString &query, const QVariantList &params);
    /// Bind the report's single row (Data2) and the breed table (Data3).
    void bindReportAndBreeds();
    /// The case's row as the window read it.
    const Recordset &caseRow() const;
    /// Mark an inactive case: the summary white on red, "Reminder Inactive " shown.
    void markInactive();
    /// The opening's test of the case's reminder flag: an inactive case is
    /// marked, and the mark follows the flag whenever the case is shown
    /// afresh after a change. Throws FwError(3021) when the window stands on
    /// no row.
    void testActive();

    // --- values of the last load ------------------------------------------------------
    /// The number of history entries.
    qint16 NumWts() const { return m_numWts; }
    /// The ideal weight, handed to the diet calculator.
    float IdealWtVal() const { return m_loaded.facts.idealWt; }
    // The table of weighings as a grid of texts: row 0 is the heading row,
    // rows 1 to NumWts the weighings, newest first.
    int WtDataRows() const;
    QString WtDataText(int row, int col) const;
    /// The comments box's text with CR LF line ends, as the row's texts have them.
    QString VetComBoxText() const;
    /// The twenty figures a client handout copies from this window.
    CaseHandout handout() const;
    /// The chart as a client handout prints it: at its fixed print size, on
    /// white, in colour or in monochrome. The chart on screen keeps its own
    /// size, colours and background, whatever happens on the way.
    QImage printPicture(bool monochrome);

    // --- results handed back ------------------------------------------------------------
    /// A diet recommendation calculated for this case: it replaces the text
    /// of the recommendation box and is saved as typed text is.
    virtual void receiveDietRecommendation(const QString &text);
    /// Give the recommendation box the focus, so that the user can type one.
    virtual void focusDietRecommendation();

    // --- handlers ---------------------------------------------------
    // The commands the frame gives the active case window are virtual, so
    // that a stand-in window can take them in tests.
    /// Load and analyse the case from its row (the hidden loader button).
    void Command1_Click();
    void Form_Load();
    void Form_Resize();
    virtual void Zoom_Click();
    void PrintZoom_Click();
    void Graph1_PointClick(int series, int point);
    void Graph1_Redraw();
    void DateIt_Click();
    QString CvtRangeLB(const QString &rangeKg) const;
    void RecBreedWtLb_Click();
    virtual void DietCalcMe_Click();
    virtual void GrowthCv_Click();
    // Weighing entry and undo (defined in frmDocument_Weighing.cpp).
    virtual void NextWt_Click();
    virtual void UndoToLastWt_Click();

    /// Write the typed comments and diet recommendation to the case's row
    /// (see TypedTextSaver::save). Returns false when they could not be saved.
    bool saveTypedText();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildTopBandAndChart();
    void buildRightColumn();
    void buildButtonRow();
    void buildMirrors();
    void connectHandlers();
    /// publish: make the window's case the application's current case
    /// afterwards (not for a window shown afresh in the background).
    void load(bool publish = true);
    // The load's steps, in the load's order.
    void takeDatesAgeAndNames(const CaseRecord &row);
    CaseAnalysis analyse(const CaseRecord &row);
    void takeRowDetails(const CaseRecord &row);
    void showSummary(const CaseAnalysis &a);
    void showBreedWeight(const CaseAnalysis &a);
    void showHistory(const CaseAnalysis &a);
    void drawChart(const WeightChart &chart);
    void showResults(const TargetAnalysis &t);
    /// Show the case as the database now holds it, keeping typed text that
    /// could not be saved in its boxes.
    void reload(bool publish = true);
    /// The case changed elsewhere in this program: show it afresh, with its
    /// names and reminder mark as they now are. A case deleted meanwhile
    /// stays shown as it was.
    void showChangeMadeElsewhere();
    /// Run a weighing handler's body under the guard, a write refused by a
    /// change made elsewhere meanwhile answered by showing the case afresh.
    void runWeighing(const std::function<void()> &body);
    std::optional<QString> findBreedWtRange(const QString &breed);
    void hidePictures();
    void showPictures(unsigned pictures);
    int outerWidthTwips() const;

    CaseRef m_case;
    bool m_testsActive = false;  // opened with the test of the reminder flag
    bool m_inBackground = false; // showing a change made elsewhere
    bool m_markedInactive = false;
    QPalette m_detailsPalette; // the summary's colours before it was marked
    qint16 m_numWts = 0;

    // What the loads found of the case and worked out from it. Each step of
    // a load replaces only its own part, so after a failed load the parts of
    // the steps it did not reach are those of the load before, as the window
    // still shows them.
    struct LoadedCase {
        // ref: the number and names shown, as the opener handed them over;
        // currentWt: the latest weight as the window shows it, to seven
        // significant digits, so that the weight handed on and weighed
        // against is the one the user saw.
        CaseFacts facts;
        QDate lastWeighed;
        QString telNo;
        QString acRange; // "From  10 to  12 kg"
        TargetAnalysis results;
    } m_loaded;

    // Data sources: the case's row, Report Variables, Dog Breeds.
    DataControl *Data1 = nullptr;
    DataControl *Data2 = nullptr;
    DataControl *Data3 = nullptr;

    // Status pictures; a complete load shows two of them.
    QLabel *Baloons = nullptr;
    QLabel *Clouds = nullptr;
    QLabel *Smile = nullptr;
    QLabel *Bland = nullptr;
    QLabel *Frown = nullptr;

    // Mirror boxes: what the load found, written from m_loaded as each step
    // takes it, for the users' scripts that read them; the window itself
    // reads m_loaded. It shows the same facts in Details, the grid and the
    // texts, so the boxes stay hidden.
    QLineEdit *LocalDateLastWt = nullptr;
    QLineEdit *LocalAge = nullptr;
    QLineEdit *LocalAnName = nullptr;
    QLineEdit *LocalSurname = nullptr;
    QLineEdit *WeeksOldLastWeighed = nullptr;
    QLineEdit *LocalCaseNo = nullptr;
    QLineEdit *LocalBreed = nullptr;
    QLineEdit *LocalTelNo = nullptr;
    QLineEdit *LocalSex = nullptr;
    QLineEdit *LocalSpp = nullptr;
    QLineEdit *LocalAnWtUnits = nullptr;
    QLineEdit *LocalAcRange = nullptr;
    QLineEdit *LocalCurrWt = nullptr;
    QLineEdit *LocalTarget = nullptr;   // face code "J", "K" or "L": weight against the range
    QLineEdit *LocalProgress = nullptr; // face code: the trend

    QLabel *Details = nullptr;  // five-line summary; white on red for an inactive case
    QLabel *Activity = nullptr; // "Reminder Inactive ", shown for an inactive case
    QLabel *RecBreedWt = nullptr;
    QLabel *RecBreedWtLb = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;

    QTableView *WtData = nullptr; // the table of weighings, newest first
    WtDataModel *m_wtModel = nullptr;
    Chart *Graph1 = nullptr; // series 1 weights, 2 lower bound, 3 upper bound

    QLabel *IdealWtLbl = nullptr;
    QLabel *AvWtLbl = nullptr;
    QLabel *LossRate = nullptr;
    QLabel *Congrats = nullptr;
    QLabel *TimeToTargetlbl = nullptr;

    QPushButton *Zoom = nullptr;
    QPushButton *PrintZoom = nullptr; // pressed by report preparation; not shown
    QPushButton *DateIt = nullptr;
    QPushButton *NextWt = nullptr;
    QPushButton *UndoToLastWt = nullptr;
    QPushButton *DietCalcMe = nullptr;
    QPushButton *GrowthCv = nullptr;

    QPlainTextEdit *VetComBox = nullptr; // bound to [Vet Comments]
    QPlainTextEdit *DietRecMe = nullptr; // bound to [Diet Recommend]

    TypedTextSaver *m_typedText = nullptr;
};
