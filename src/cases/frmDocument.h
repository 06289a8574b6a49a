#pragma once
// The case window: one open case, its table of weighings, chart and target
// analysis. Buttons that the frame presses are public handlers; the controls
// carry their system names as objectNames and are public so that the frame,
// the weighing entry and report preparation reach them as the system does.
#include <QStringList>
#include <optional>
#include <QWidget>

class Chart;
class DataControl;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class WtDataModel;

class frmDocument : public QWidget {
    Q_OBJECT
public:
    explicit frmDocument(QWidget *parent = nullptr);
    ~frmDocument() override;

    QSize sizeHint() const override;

    // Data sources: the case's row, Report Variables, Dog Breeds.
    DataControl *Data1 = nullptr;
    DataControl *Data2 = nullptr;
    DataControl *Data3 = nullptr;

    // Values of the last load: the number of history entries and the ideal
    // weight (handed to the diet calculator).
    qint16 NumWts = 0;
    float IdealWtVal = 0;

    // Status pictures; a complete load shows two of them.
    QLabel *Baloons = nullptr;
    QLabel *Clouds = nullptr;
    QLabel *Smile = nullptr;
    QLabel *Bland = nullptr;
    QLabel *Frown = nullptr;

    // Mirror boxes: what the load found, kept for the hand-overs, the weighing
    // entry (LocalCurrWt is the window's latest weight) and the reports. The
    // window shows the same facts in Details, the grid and the texts, so the
    // boxes stay hidden.
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
    Chart *Graph1 = nullptr;      // series 1 weights, 2 lower bound, 3 upper bound

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

    // The table of weighings as a grid of texts: row 0 is the heading row,
    // rows 1 to NumWts the weighings, newest first.
    int WtDataRows() const;
    QString WtDataText(int row, int col) const;

    /// The comments box's text with CR LF line ends, as the row's texts have them.
    QString VetComBoxText() const;

    // --- handlers (the system's names) ---------------------------------------
    /// Load and analyse the case from Data1's row (the hidden loader button).
    void Command1_Click();
    void Form_Load();
    void Form_Resize();
    void Zoom_Click();
    void PrintZoom_Click();
    void Graph1_PointClick(int series, int point);
    void Graph1_Redraw();
    void DateIt_Click();
    QString CvtRangeLB(const QString &rangeKg) const;
    void RecBreedWtLb_Click();
    void DietCalcMe_Click();
    void GrowthCv_Click();

    // Weighing entry and undo (defined in frmDocument_Weighing.cpp).
    void NextWt_Click();
    void UndoToLastWt_Click();

    /// Write the typed comments and diet recommendation to the case's row.
    /// When the same boxes were changed elsewhere meanwhile, nothing is
    /// written: the user is told, the window shows the row as it now stands
    /// with the typed text kept in the boxes, and the next save stores it. A
    /// row deleted elsewhere is reported with the error's description, once
    /// for the same text. Returns false when the texts could not be saved.
    bool saveTypedText();
    /// saveTypedText() tried again even for text whose failure was reported,
    /// and for text kept after a change made elsewhere stored over it.
    bool retrySaveTypedText();
    QStringList typedTexts() const;
    void restoreTypedTexts(const QStringList &typed);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void load();
    void keepTypedTextOverNewerRow(const QStringList &typed);
    std::optional<QString> findBreedWtRange(const QString &breed);
    void hidePictures();
    void showPictures(unsigned pictures);
    int outerWidthTwips() const;
    void placeBelowChart();
    void setChartSizeTwips(double widthTwips, double heightTwips);

    WtDataModel *m_wtModel = nullptr;
    bool m_saving = false;
    QStringList m_unsavedAfterFailure; // texts whose save failed and was reported
    bool m_saveAfterClick = false;     // a box lost the focus to a mouse press
    int m_lastSaveError = 0;           // error number of the last failed save, 0 after a success
    // The case this window shows, from its first load (the shared current-case
    // values may meanwhile hold another window's case).
    bool m_identified = false;
    QString m_caseNo;
    QString m_animalName;
    QString m_surname;

public:
    /// Handlers that save the typed text themselves (weighing, undo) count
    /// themselves here, so that a save put off until after a click does not
    /// run in the middle of them.
    int m_handlerDepth = 0;
    struct HandlerScope {
        explicit HandlerScope(frmDocument *d) : doc(d) { ++doc->m_handlerDepth; }
        ~HandlerScope() { doc->handlerFinished(); }
        frmDocument *doc;
    };
    void handlerFinished();

private:
    bool m_savePending = false; // a put-off save met a running handler
};
