#include "curves_reports/GrowthCurveWindow.h"

#include "platform/Guard.h"
#include "platform/chart/Chart.h"
#include "platform/db/DataControl.h"
#include "platform/help/Help.h"
#include "platform/layout/ScreenPlacement.h"
#include "platform/layout/Twips.h"
#include "platform/prompt/Prompt.h"
#include "platform/state/AppState.h"
#include "platform/widgets/MakeControl.h"

#include <QChart>
#include <QHBoxLayout>
#include <QLegend>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kHelpTopic = 1001;
// The background the curves are shown on, and the one their picture for the
// report is written on.
constexpr int kScreenBackground = 0;
constexpr int kPictureBackground = 15;

GrowthCurveWindow::PreviewHook &previewHook()
{
    static GrowthCurveWindow::PreviewHook hook;
    return hook;
}

QFont arial(qreal scale = 1.0, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(9 * scale);
    f.setBold(bold);
    return f;
}

// A new curve window opens in the lower right corner of its owner and wholly
// on the screen: left to itself, a window manager puts a tool window wherever
// there is room, which may leave its buttons below the edge of the screen.
// The corner leaves the left of the frame free, where the report viewer that
// Print Preview opens shows its page.
void placeOver(QWidget *w, const QWidget *owner)
{
    if (!owner)
        return;
    QRect outer(QPoint(), w->size() + ScreenPlacement::frameAllowance(w));
    outer.moveBottomRight(owner->frameGeometry().bottomRight());
    w->move(ScreenPlacement::within(outer, ScreenPlacement::freeArea(owner)));
}

} // namespace

GrowthCurveWindow::GrowthCurveWindow(GrowthCurves::Kind kind, const QString &name, QWidget *parent)
    : QWidget(parent, Qt::Window), m_kind(kind)
{
    setObjectName(name);
    setWindowTitle(GrowthCurves::texts(kind).caption);
    setAttribute(Qt::WA_DeleteOnClose);

    Data3 = new DataControl(this);
    Data3->setObjectName(QStringLiteral("Data3"));

    Graph1 = new Chart(this);
    Graph1->setObjectName(QStringLiteral("Graph1"));
    Graph1->setMinimumSize(Twips::toPixelSize(6000, 4200));
    QChart *c = Graph1->chart();
    c->setTitleFont(arial(1.4, true));
    Graph1->setLegendFont(arial());
    for (QAbstractAxis *axis : c->axes()) {
        axis->setLabelsFont(arial());
        axis->setTitleFont(arial(1.0, true));
    }

    PPrint = Controls::button(this, "PPrint", QStringLiteral("&Print Preview"), [this] { PPrint_Click(); });
    HHelp = Controls::button(this, "HHelp", QStringLiteral("&Help"), [this] { HHelp_Click(); });
    CClose = Controls::button(this, "CClose", QStringLiteral("&Close"), [this] { CClose_Click(); });

    connect(Graph1, &Chart::pointClicked, this, [this](int series, int point) { Graph1_PointClick(series, point); });
    connect(Graph1, &Chart::notified, this, [this] { Graph1_Redraw(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {PPrint, HHelp, CClose})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Graph1, 1);
    layout->addLayout(buttons);
    resize(Twips::toPixelSize(11700, 8400));

    Form_Load();
}

GrowthCurveWindow::~GrowthCurveWindow() = default;

void GrowthCurveWindow::setPreviewHook(PreviewHook hook)
{
    previewHook() = std::move(hook);
}

void GrowthCurveWindow::Form_Load()
{
    runGuarded(this, [&] { setUpChart(); });
}

void GrowthCurveWindow::setUpChart()
{
    const GrowthCurves::Texts t = GrowthCurves::texts(m_kind);
    const QStringList legends = GrowthCurves::legends(m_kind);
    Graph1->setNumSets(int(legends.size()));
    Graph1->setDataReset(Chart::ResetAllData);
    Graph1->setNumPoints(GrowthCurves::kPoints);
    Graph1->setAutoInc(true);
    Graph1->setGraphStyle(Chart::LinesOnly);
    Graph1->setBackground(kScreenBackground);
    Graph1->setGraphTitle(t.chartTitle);
    Graph1->setBottomTitle(t.bottomTitle);
    Graph1->setLeftTitle(t.leftTitle);
    for (int s = 0; s < legends.size(); ++s) {
        Graph1->setThisSet(s + 1);
        Graph1->setLegendText(legends.at(s));
        // In colour the curves are told apart by their colours alone.
        Graph1->setPatternData(Chart::SolidPattern);
    }
    const QStringList labels = GrowthCurves::pointLabels();
    for (int p = 0; p < labels.size(); ++p) {
        Graph1->setThisPoint(p + 1);
        Graph1->setLabelText(labels.at(p));
    }
    Graph1->setThisSet(1);
    Graph1->setThisPoint(1);
}

void GrowthCurveWindow::Hidden_Click()
{
    runGuarded(this, [&] {
        // A chart cleared meanwhile is set up again before it is filled.
        if (Graph1->NumPoints() != GrowthCurves::kPoints)
            setUpChart();
        m_curves = GrowthCurves::read(Data3->database(), m_kind);
        const GrowthCurves::Plot plot = GrowthCurves::plot(m_curves, m_case.weeksOld, m_case.weight, m_case.units);

        // Every series gets all its points: a curve that the table holds
        // only in part is drawn as far as it goes.
        const double none = std::numeric_limits<double>::quiet_NaN();
        for (int s = 0; s < plot.values.size(); ++s) {
            Graph1->setThisSet(s + 1);
            Graph1->setThisPoint(1);
            const QVector<double> &values = plot.values.at(s);
            for (int p = 0; p < GrowthCurves::kPoints; ++p)
                Graph1->setGraphData(p < values.size() ? values.at(p) : none);
        }
        Graph1->setDrawStyle(Chart::Colour);
        Graph1->setDrawMode(Chart::Draw);
        if (!plot.note.isEmpty())
            Prompt::Message(plot.note, Prompt::Icon::Information);
    });
}

void GrowthCurveWindow::Graph1_PointClick(int series, int point)
{
    runGuarded(this, [&] {
        const std::optional<Prompt::Box> box = GrowthCurves::readOut(m_curves, series, point);
        if (box)
            Prompt::MsgBox(box->text, box->buttons, box->icon, box->title);
    });
}

void GrowthCurveWindow::Graph1_Redraw()
{
    runGuarded(this, [&] {
        Graph1->setDataReset(Chart::ResetAllData);
        Graph1->refresh();
    });
}

void GrowthCurveWindow::PPrint_Click()
{
    const PreviewHook hook = previewHook();
    if (!hook)
        return;
    runGuarded(this, [&] {
        // The picture for the report: always in colour, on white, at twice
        // the screen's resolution for paper; then the chart goes back to its
        // screen background. The picture travels in memory, so no folder
        // need be writable and no other preview can overwrite it.
        Graph1->setDrawStyle(Chart::Colour);
        Graph1->setBackground(kPictureBackground);
        QImage picture;
        try {
            picture = Graph1->picture(2);
        } catch (...) {
            Graph1->setBackground(kScreenBackground); // the screen chart never stays white
            throw;
        }
        Graph1->setBackground(kScreenBackground);
        Graph1->setDrawStyle(Chart::Colour);
        Graph1->setDrawMode(Chart::Draw);

        const QString reportName = GrowthCurves::texts(m_kind).reportName;
        App().ReportName = reportName;
        hook(PreviewRequest{reportName, picture, m_case, this});
    });
}

void GrowthCurveWindow::HHelp_Click()
{
    runGuarded(this, [] { Help::showTopic(App().HelpFilePath, kHelpTopic); });
}

void GrowthCurveWindow::CClose_Click()
{
    close();
}

void GrowthCurveWindow::standApart()
{
    // Qt makes a window with a parent transient for it, and window managers
    // keep a transient window above its parent. The report viewer that Print
    // Preview opens lies inside the frame, so the frame must be able to come
    // in front of the curves: they stay the frame's (and close with it) but
    // stand beside it as a window of their own.
    winId();
    if (QWindow *handle = windowHandle())
        handle->setTransientParent(nullptr);
}

void GrowthCurveWindow::showAndPlot(const GrowthCase &facts)
{
    BindToClinicDB(*Data3);
    setCaseFacts(facts);
    Hidden_Click();
    standApart();
    show();
    raise();
    activateWindow();
}

template <class Window> Window *GrowthCurveWindow::launch(QWidget *owner, const GrowthCase &facts)
{
    QWidget *keeper = owner ? owner->window() : nullptr;
    // A window that is closing is not reused.
    Window *w = nullptr;
    if (keeper)
        for (Window *candidate : keeper->findChildren<Window *>(QString(), Qt::FindDirectChildrenOnly))
            if (!candidate->isHidden())
                w = candidate;
    if (!w) {
        w = new Window(keeper);
        placeOver(w, keeper);
    }
    w->showAndPlot(facts);
    return w;
}

// --- the twins ------------------------------------------------------------------

frmPuppy::frmPuppy(QWidget *parent) : GrowthCurveWindow(GrowthCurves::Kind::Puppy, QStringLiteral("frmPuppy"), parent)
{
}

frmPuppy *frmPuppy::Launch(QWidget *owner, const GrowthCase &facts)
{
    return launch<frmPuppy>(owner, facts);
}

frmKitten::frmKitten(QWidget *parent)
    : GrowthCurveWindow(GrowthCurves::Kind::Kitten, QStringLiteral("frmKitten"), parent)
{
}

frmKitten *frmKitten::Launch(QWidget *owner, const GrowthCase &facts)
{
    return launch<frmKitten>(owner, facts);
}

GrowthCurveWindow *ShowGrowthCurve(QWidget *owner, const GrowthCase &facts)
{
    GrowthCurveWindow *shown = nullptr;
    runGuarded([&] {
        const GrowthCurves::CaseCheck check = GrowthCurves::checkCase(facts.species, facts.weeksOld);
        for (const Prompt::Box &box : check.boxes)
            Prompt::MsgBox(box.text, box.buttons, box.icon, box.title);
        if (!check.open)
            return;
        if (*check.open == GrowthCurves::Kind::Puppy)
            shown = frmPuppy::Launch(owner, facts);
        else
            shown = frmKitten::Launch(owner, facts);
    });
    return shown;
}
