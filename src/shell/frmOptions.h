#pragma once
// The options: how the case charts look (background colour from the 16
// swatches, legend, point symbols) and whether reports print their chart in
// colour or in monochrome. The choices live in the application-wide state,
// which case windows read when they open; OK also saves them for the next
// start.
#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget *parent = nullptr);

    /// The swatch shown for a stored colour: the colour index read as a whole
    /// number. A stored value outside 0 to 15 (a settings file edited by hand)
    /// shows the nearest end of the palette, which is also what the charts
    /// draw for it.
    static int shownColourIndex(const QString &backColour);

    // Handlers (the system's names).
    /// Show the settings as they stand now.
    void Form_Load();
    void Label2_Click(int index);
    void cmdOK_Click();
    void cmdCancel_Click();

    /// Closing the dialog by its title bar or the Escape key is Cancel.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showCurrentColour(int index);

    QLabel *Label2[16] = {};
    QLabel *CurrC = nullptr;
    QCheckBox *ShowLegend = nullptr;
    QCheckBox *ShowSymbols = nullptr;
    QRadioButton *PrintOp[2] = {};
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    // The colour the dialog opened with, put back by Cancel.
    QString m_openedColour;
    // The swatch shown in CurrC.
    int m_shownIndex = 0;
    bool m_colourClicked = false;
};
