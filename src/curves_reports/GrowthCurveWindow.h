#pragma once
// The growth-curve windows: frmPuppy (eight dog-breed curves) and frmKitten
// (upper and lower curves of male and female kittens). Each shows a young
// animal's weight at its last weighing as a spike at its age, against the
// reference curves of its species for the first 52 weeks.
//
// The window shows the case it was given as a value (setCaseFacts), never the
// values of whichever case was loaded last. Each window is a single instance
// kept by the window that owns it (the frame) until the user closes it; asking
// again re-plots the open window for the new case.
//
// How a case window opens them:
//     GrowthCase facts{species, weight, weeksOld, units, caseNo, animalName};
//     ShowGrowthCurve(window(), facts);   // the notes, then the curve
// or, when the notes were shown already, frmPuppy::Launch(owner, facts) and
// frmKitten::Launch(owner, facts).
#include "curves_reports/GrowthCurves.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class Chart;
class DataControl;
class QPushButton;

/// The facts of the case whose growth curve is shown.
struct GrowthCase {
    QString species;     // "Dog" or "Cat"
    float weight = 0;    // the latest weight, in units
    qint16 weeksOld = 0; // whole weeks between birth and the last weighing
    QString units;       // "kg" or "lb"
    // For the report that Print Preview builds.
    QString caseNo;
    QString animalName;
};

class GrowthCurveWindow : public QWidget {
    Q_OBJECT
public:
    ~GrowthCurveWindow() override;

    GrowthCurves::Kind kind() const { return m_kind; }

    /// The case to plot at the next Hidden_Click.
    void setCaseFacts(const GrowthCase &facts) { m_case = facts; }
    const GrowthCase &caseFacts() const { return m_case; }

    /// What Print Preview hands to the report viewer: the report's name
    /// ("GrowthCurveK9" or "GrowthCurveFel"), the chart's picture and the
    /// case shown.
    struct PreviewRequest {
        QString reportName;
        QImage picture; // the chart on white, in colour
        GrowthCase growthCase;
        QPointer<GrowthCurveWindow> window;
    };
    using PreviewHook = std::function<void(const PreviewRequest &)>;
    /// The report viewer's entry, installed once by the frame. Without one,
    /// Print Preview does nothing.
    static void setPreviewHook(PreviewHook hook);

    // Handlers.
    /// Chart set-up: points, series, legends, titles and the week labels.
    void Form_Load();
    /// The hidden plot button: the reference curves and the animal's spike.
    void Hidden_Click();
    /// A click on a point (series and point from 1): the read-out of a
    /// reference curve's value; the animal's spike shows nothing.
    void Graph1_PointClick(int series, int point);
    /// The chart's notification without arguments: all data cleared.
    void Graph1_Redraw();
    void PPrint_Click();
    void HHelp_Click();
    void CClose_Click();

    /// The reference curves of the last plot.
    const GrowthCurves::Curves &curves() const { return m_curves; }

protected:
    GrowthCurveWindow(GrowthCurves::Kind kind, const QString &name, QWidget *parent);
    /// The owner's window of this kind that is open, or a new one; bound,
    /// given the case, plotted and shown.
    template <class Window> static Window *launch(QWidget *owner, const GrowthCase &facts);

private:
    /// The data source of the curve table, bound to the clinic database when
    /// the window is launched.
    DataControl *Data3 = nullptr;

    // Controls, named as the system names them.
    Chart *Graph1 = nullptr;
    QPushButton *PPrint = nullptr;
    QPushButton *HHelp = nullptr;
    QPushButton *CClose = nullptr;

    void setUpChart();
    /// Not held above the window that keeps it.
    void standApart();
    void showAndPlot(const GrowthCase &facts);

    GrowthCurves::Kind m_kind;
    GrowthCase m_case;
    GrowthCurves::Curves m_curves;
};

class frmPuppy : public GrowthCurveWindow {
    Q_OBJECT
public:
    explicit frmPuppy(QWidget *parent = nullptr);
    /// The owner's puppy window (created on first use), plotted for the case
    /// and shown modeless.
    static frmPuppy *Launch(QWidget *owner, const GrowthCase &facts);
};

class frmKitten : public GrowthCurveWindow {
    Q_OBJECT
public:
    explicit frmKitten(QWidget *parent = nullptr);
    static frmKitten *Launch(QWidget *owner, const GrowthCase &facts);
};

/// What a case window's Growth Curve button does with its case: the boxes of
/// GrowthCurves::checkCase() in order, then the puppy or kitten window for the
/// case. Returns the window shown, or null when none is (too old, another
/// species, or a failure, which is reported). owner: the window that keeps
/// the curve windows (its top-level window is used).
GrowthCurveWindow *ShowGrowthCurve(QWidget *owner, const GrowthCase &facts);
