// The growth-curve windows as the user meets them: the curves with their
// legends, titles and week labels, the animal's spike, the read-out of a
// clicked point, a second case re-plotting the open window, a short curve
// table, the case check before opening, and Print Preview's picture.
#include "curves_reports/GrowthCurveWindow.h"
#include "platform/chart/Chart.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"
#include "platform/text/NumberText.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <cmath>

namespace {

QStringList legendsOf(const Chart *c)
{
    QStringList out;
    for (int s = 1; s <= c->NumSets(); ++s)
        out << c->legendText(s);
    return out;
}

QString boxOf(const ShownBox &b)
{
    return QStringLiteral("%1|%2|%3").arg(b.title, b.text).arg(int(b.icon));
}

} // namespace

class GrowthCurveWindowTest : public QObject {
    Q_OBJECT
private slots:
    void puppyAtTenWeeks()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        QWidget owner;
        frmPuppy *w = frmPuppy::Launch(&owner, {"Dog", 12.5f, 10, "kg", "1", "Rex"});
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->windowTitle(), QString("Puppy Growth Curves For The First 52 Weeks"));
        Chart *g = control<Chart>(w, "Graph1");
        QCOMPARE(g->GraphTitle(), QString("Puppy Growth Curves"));
        QCOMPARE(g->BottomTitle(), QString("Age (Weeks)"));
        QCOMPARE(g->LeftTitle(), QString("kg's"));
        QCOMPARE(legendsOf(g), (QStringList{"Great Dane", "Newfoundland", "Labrador", "Bulldog", "Cocker Spaniel",
                                            "Fox Terrier", "Pekingese", "Pomeranian", "Curr. Wt"}));
        QCOMPARE(g->NumPoints(), 27);
        QCOMPARE(g->labelText(1), QString(" 0"));
        QCOMPARE(g->labelText(6), QString(" 10"));
        QCOMPARE(g->labelText(27), QString(" 52"));
        QVERIFY(g->legendShown());

        // Eight curves from the table, in week order.
        const double labrador20 =
            ClinicDb::scalar(env.db(), "SELECT [Labrador] FROM [Puppy Curves] WHERE [Week] = 20").toDouble();
        QCOMPARE(g->value(3, 11), double(float(labrador20)));
        for (int s = 1; s <= 8; ++s)
            for (int p = 2; p <= 27; ++p)
                QVERIFY(g->value(s, p) >= g->value(s, p - 1) && g->value(s, 1) > 0);
        // The spike at week 10, nothing elsewhere.
        for (int p = 1; p <= 27; ++p)
            QCOMPARE(g->value(9, p), p == 6 ? 12.5 : 0.0);

        // A click on the Labrador curve at week 20 reads it out; the spike says nothing.
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->pointPosition(3, 11));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->pointPosition(9, 6));
        QCOMPARE(prompt.count(), 1);
        QCOMPARE(boxOf(prompt.last()), QString("Labrador|%1 kg(s) at  20 weeks old|%2")
                                           .arg(NumText::Plain(float(labrador20)))
                                           .arg(int(Prompt::Icon::Information)));
        FW_VERIFY_PROMPTS(prompt);
    }

    void kittenInPoundsAndASecondCase()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        QWidget owner;
        frmKitten *w = frmKitten::Launch(&owner, {"Cat", 3.3f, 10, "lb", "2", "Tom"});
        Chart *g = control<Chart>(w, "Graph1");
        QCOMPARE(w->windowTitle(), QString("Kitten Growth Curves For The First 52 Weeks"));
        QCOMPARE(g->GraphTitle(), QString("Kitten Growth Curves"));
        QCOMPARE(legendsOf(g), (QStringList{"Male Upper", "Male Lower", "Female Upper", "Female Lower", "Curr. Wt"}));
        QCOMPARE(g->value(5, 6), double(float(3.3f / 2.2)));
        QVERIFY(std::abs(g->value(5, 6) - 1.5) < 1e-6);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->pointPosition(2, 27));
        QCOMPARE(prompt.last().title, QString("Lower Weight Curve, Male Kitten"));
        QVERIFY(prompt.last().text.endsWith(" kg(s) at  52 weeks old"));

        // Asked again for another case: the same window, plotted for that case.
        frmKitten *again = frmKitten::Launch(&owner, {"Cat", 2.0f, 52, "kg", "3", "Kit"});
        QCOMPARE(again, w);
        QCOMPARE(w->caseFacts().caseNo, QString("3"));
        QCOMPARE(g->value(5, 6), 0.0);
        QCOMPARE(g->value(5, 27), 2.0);
        QCOMPARE(owner.findChildren<frmKitten *>().size(), 1);
        FW_VERIFY_PROMPTS(prompt);
    }

    void opensWhollyOnTheScreen()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        // An owner reaching past the lower right corner of the screen.
        QWidget owner;
        const QRect area = owner.screen()->availableGeometry();
        owner.setGeometry(area.right() - 300, area.bottom() - 200, 1200, 900);
        frmPuppy *w = frmPuppy::Launch(&owner, {"Dog", 8.2f, 10, "kg", "2", "Bramble"});
        QVERIFY(w->width() <= area.width() && w->height() <= area.height());
        // In the owner's lower right corner as far as the screen goes.
        QVERIFY2(area.contains(w->frameGeometry()),
                 qPrintable(QStringLiteral("window at %1,%2 outside the screen").arg(w->x()).arg(w->y())));
        QVERIFY(w->frameGeometry().right() >= area.right() - 8);
        FW_VERIFY_PROMPTS(prompt);
    }

    void shortTablePlotsWhatItHas()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        ClinicDb::exec(env.db(), "DELETE FROM [Puppy Curves] WHERE [Week] > 18");
        QWidget owner;
        frmPuppy *w = frmPuppy::Launch(&owner, {"Dog", 3.0f, 4, "kg", "1", "Rex"});
        Chart *g = control<Chart>(w, "Graph1");
        QCOMPARE(prompt.texts(), QStringList{"The growth curve table Puppy Curves holds only 10 of its 27 weeks; the "
                                             "reference curves are drawn for the weeks it holds."});
        QVERIFY(g->value(1, 10) > 0);
        QVERIFY(std::isnan(g->value(1, 11)));
        QCOMPARE(g->pointPosition(1, 11), QPoint(-1, -1));
        QCOMPARE(g->value(9, 3), 3.0);
        // Nothing to read out where the curve has no point.
        w->Graph1_PointClick(1, 20);
        QCOMPARE(prompt.count(), 1);
    }

    void caseCheckBeforeOpening_data()
    {
        QTest::addColumn<QString>("species");
        QTest::addColumn<int>("weeks");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("opened");
        const QString note = "Note that the growth curve displays the animal's weight and age at its last weighing "
                             "( %1 wks old). NOT its current age.";
        QTest::newRow("puppy") << "Dog" << 10 << QStringList{note.arg(10)} << "frmPuppy";
        QTest::newRow("kitten") << "Cat" << 52 << QStringList{note.arg(52)} << "frmKitten";
        QTest::newRow("too old") << "Dog" << 53
                                 << QStringList{"Growth Curves are only available for pups or kittens under 52 weeks "
                                                "of age."}
                                 << "";
        QTest::newRow("rabbit") << "Rabbit" << 8
                                << QStringList{note.arg(8), "Growth Curves are for kittens and puppies only"} << "";
    }
    void caseCheckBeforeOpening()
    {
        QFETCH(QString, species);
        QFETCH(int, weeks);
        QFETCH(QStringList, boxes);
        QFETCH(QString, opened);
        TestEnv env;
        ScriptedPrompt prompt;
        QWidget owner;
        GrowthCurveWindow *w = ShowGrowthCurve(&owner, {species, 1.0f, qint16(weeks), "kg", "1", "Pet"});
        QCOMPARE(prompt.texts(), boxes);
        QCOMPARE(w ? w->objectName() : QString(), opened);
        QCOMPARE(owner.findChildren<GrowthCurveWindow *>().size(), opened.isEmpty() ? 0 : 1);
    }

    void printPreviewHandsOverThePicture()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        QWidget owner;
        frmPuppy *w = frmPuppy::Launch(&owner, {"Dog", 8.2f, 10, "kg", "7", "Rex"});
        Chart *g = control<Chart>(w, "Graph1");
        const QString picture = env.appPath() + "GCv.bmp";
        const QSize screen = g->size();

        // Without a report viewer the button does nothing.
        GrowthCurveWindow::setPreviewHook({});
        QTest::mouseClick(control<QPushButton>(w, "PPrint"), Qt::LeftButton);
        QVERIFY(!QFile::exists(picture));

        QList<GrowthCurveWindow::PreviewRequest> asked;
        GrowthCurveWindow::setPreviewHook([&](const GrowthCurveWindow::PreviewRequest &r) { asked << r; });
        QTest::mouseClick(control<QPushButton>(w, "PPrint"), Qt::LeftButton);
        GrowthCurveWindow::setPreviewHook({});
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().reportName, QString("GrowthCurveK9"));
        QCOMPARE(asked.first().growthCase.caseNo, QString("7"));
        QCOMPARE(App().ReportName, QString("GrowthCurveK9"));
        // The picture in colour on white, at twice the screen's resolution,
        // in memory only; the screen back on its own background.
        QVERIFY(!QFile::exists(picture));
        const QImage image = asked.first().picture;
        QCOMPARE(image.size(), screen * 2);
        QCOMPARE(QColor(image.pixel(1, 1)), QColor(Qt::white));
        QCOMPARE(g->Background(), 0);
        QCOMPARE(g->DrawStyle(), int(Chart::Colour));
        FW_VERIFY_PROMPTS(prompt);
    }
};

FW_TEST(GrowthCurveWindowTest)
#include "tst_GrowthCurveWindow.moc"
