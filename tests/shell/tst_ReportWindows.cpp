// The report viewer inside the frame (preparation, paging, Save Report,
// Print), the options and the practice details.
#include "support/CaseBuilder.h"
#include "support/HandoutSamples.h"
#include "support/ReadOnlyRegister.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "cases/CaseDetails.h"
#include "cases/CaseOpening.h"
#include "cases/frmDocument.h"
#include "curves_reports/GrowthCurveWindow.h"
#include "curves_reports/ReportPreparation.h"
#include "curves_reports/ReportVariables.h"
#include "curves_reports/frmReports.h"
#include "platform/chart/Chart.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/db/WriteAccess.h"
#include "platform/help/Help.h"
#include "platform/help/HelpWindow.h"
#include "platform/settings/Settings.h"
#include "platform/state/AppState.h"
#include "shell/Personalisation.h"
#include "shell/frmMain.h"
#include "shell/frmOptions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

using ReportFills::HandoutFacts;

namespace {

HandoutFacts rex()
{
    return sampleHandoutRex();
}

HandoutFacts bella()
{
    HandoutFacts f;
    f.Age = QStringLiteral("3 years, 1 months, 0 weeks");
    f.Summary = QStringLiteral("Bella is within her target range.");
    f.IdealWt = QStringLiteral("Bella is at her ideal weight of  4.2 kg");
    f.AvWt = QStringLiteral("Average weight over the past 6 weeks =  4.25 kg");
    f.LossRate = QStringLiteral("Average weight gain over past 4 weeks =  .02 kg/wk");
    f.TimeToTarget = QStringLiteral("Keep up the good work.");
    f.BreedRecWtLb = QStringLiteral("-");
    f.BreedRecWt = QStringLiteral("Canines Only");
    f.Target = QStringLiteral("J");
    f.Progress = QStringLiteral("K");
    f.AnName = QStringLiteral("Bella");
    f.Surname = QStringLiteral("Marchbank");
    f.Spp = QStringLiteral("Cat");
    f.Breed = QStringLiteral("Domestic Shorthair");
    f.Sex = QStringLiteral("Female Spayed");
    f.TelNo = QStringLiteral("01632 960777");
    f.DateLastWt = QStringLiteral("01/Dec/26");
    f.WtRange = QStringLiteral("From  4 to  4.5 kg");
    f.DietRec = QStringLiteral("Indoor Light: 55 g a day");
    f.VetCom = QStringLiteral("None");
    return f;
}

// A chart picture at print size, in one colour so that its use can be told.
QImage chartPicture(QColor colour = QColor(0x00, 0x80, 0x80))
{
    QImage image(636, 329, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QString pdfText(const QString &path)
{
    QProcess p;
    // In the order of drawing, so that a text broken into lines reads on.
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")});
    p.waitForFinished(20000);
    // Compared with one blank for every run of blanks and line breaks.
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return QString::fromUtf8(p.readAllStandardOutput()).replace(blanks, QStringLiteral(" "));
}

QString oneBlank(QString text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.replace(blanks, QStringLiteral(" "));
}

struct World {
    TestEnv env;
    ScriptedPrompt prompt;
    frmMain frame;
    QTemporaryDir dir;
    World()
    {
        frame.setEndProgram([] {});
        frame.resize(1200, 1000);
    }
    ~World() { frame.mdiArea()->closeAllSubWindows(); }
    QString path(const QString &name) const { return dir.filePath(name); }
    int children() const { return frame.mdiArea()->subWindowList().size(); }
    QString setting(const QString &key) const
    {
        return Settings::get(QStringLiteral("Options"), key, QStringLiteral("<unset>"));
    }
    QString practiceTel() const
    {
        return ClinicDb::scalar(env.db(), QStringLiteral("SELECT [Tel No] FROM [Personal]")).toString();
    }
};

template <typename T> T *child(QWidget *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qWarning("no control %s", qPrintable(name));
    return c;
}

void click(QWidget *w, const QString &name)
{
    QAbstractButton *b = child<QAbstractButton>(w, name);
    QVERIFY(b);
    b->click();
}

// Run a modal dialog's script once it is up, then let the launcher go on.
void whenModal(const std::function<void(QWidget *)> &script)
{
    QTimer::singleShot(0, [script] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        script(modal);
        // A script that failed half-way must not leave the test waiting.
        if (auto *dialog = qobject_cast<QDialog *>(modal); dialog && dialog->isVisible())
            dialog->done(QDialog::Rejected);
    });
}

const QString kDiscardDetails = QStringLiteral(
    "Close the practice details without saving what you typed? The details stored before stay as they are.");

} // namespace

class ReportWindowsTest : public QObject {
    Q_OBJECT
private slots:
    // A prepared handout opens in a child window of the frame, with the
    // practice in its title and the case's figures and chart; the figures
    // are kept as the record of the last handout.
    void handoutShowsInChildWindow()
    {
        World w;
        w.frame.show();
        const QImage chart = chartPicture();
        frmReports *viewer = prepareClientHandout(rex(), chart);
        QVERIFY(viewer);
        QCOMPARE(w.frame.activeChild(), static_cast<QWidget *>(viewer));
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Client Handout"));
        QCOMPARE(App().ReportName, QStringLiteral("ClientHandOut"));
        QCOMPARE(viewer->report().text(QStringLiteral("Title")),
                 QStringLiteral("Fenwarra Report by Tollmere Veterinary Surgery"));
        QCOMPARE(viewer->report().text(QStringLiteral("Regarding")), QStringLiteral("Regarding Rex O'Hollings"));
        QCOMPARE(viewer->report().picture(QStringLiteral("TheGraph")), chart);
        QCOMPARE(viewer->pageCount(), 1);
        QCOMPARE(child<QLabel>(viewer, QStringLiteral("PageNo"))->text(), QStringLiteral("Page 1 of 1"));
        QCOMPARE(ReportVariables::read(w.env.db()).Summary, rex().Summary);
        QCOMPARE(ReportVariables::read(w.env.db()).DietRec, rex().DietRec);

        // Help opens its page; Close closes the child window.
        click(viewer, QStringLiteral("HHelp"));
        auto *help = qobject_cast<HelpWindow *>(Help::window());
        QVERIFY(help);
        QCOMPARE(help->browser()->source().fileName(), QStringLiteral("1102.html"));
        help->close();
        click(viewer, QStringLiteral("CClose"));
        QTRY_COMPARE(w.children(), 0);
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // File > Report Preview: the handout of the active case window with its
    // own figures, typed comments and chart; the case's chart is back at its
    // own size and colours afterwards. Without a case window it says so.
    void printCommandPreparesTheActiveCase()
    {
        World w;
        w.frame.show();
        w.frame.mnuFilePrint_Click();
        QCOMPARE(w.prompt.texts(), QStringList{"No document open on which to create a report!"});
        w.prompt.clear();

        const int no = CaseBuilder().add();
        frmDocument *doc =
            OpenCaseInDocument(OpenVariant::LocatorOrReminder,
                               CaseRef{QString::number(no), QStringLiteral("Smith"), QStringLiteral("Rex")});
        QVERIFY(doc);
        auto *comments = child<QPlainTextEdit>(doc, QStringLiteral("VetComBox"));
        comments->setPlainText(QStringLiteral("Walk him twice a day."));
        auto *chart = child<Chart>(doc, QStringLiteral("Graph1"));
        const QSize screen = chart->size();
        const int background = chart->Background();
        App().PrintOption = QStringLiteral("1");

        w.frame.mnuFilePrint_Click();
        auto *viewer = qobject_cast<frmReports *>(w.frame.activeChild());
        QVERIFY(viewer);
        QCOMPARE(viewer->report().text(QStringLiteral("Regarding")).left(20), QStringLiteral("Regarding Rex Smith"));
        QCOMPARE(ReportVariables::read(w.env.db()).VetCom, QStringLiteral("Walk him twice a day."));
        // The typed comments are in the case's row too.
        QCOMPARE(
            ClinicDb::scalar(w.env.db(), "SELECT [Vet Comments] FROM [Clients] WHERE [CaseNo] = ?", {no}).toString(),
            QStringLiteral("Walk him twice a day."));
        // The chart printed at its fixed print size, sharp, on white.
        const QImage printed = viewer->report().picture(QStringLiteral("TheGraph"));
        QCOMPARE(printed.size(), QSize(636, 329) * 2);
        QCOMPARE(QColor(printed.pixel(2, 2)), QColor(Qt::white));
        QCOMPARE(chart->size(), screen);
        QCOMPARE(chart->Background(), background);
        QCOMPARE(chart->DrawStyle(), int(Chart::Colour));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // Report Preview while a viewer is the active window shows that viewer,
    // with no box and no second report.
    void previewAgainShowsTheActiveViewer()
    {
        World w;
        w.frame.show();
        const int no = CaseBuilder().add();
        QVERIFY(OpenCaseInDocument(OpenVariant::LocatorOrReminder,
                                   CaseRef{QString::number(no), QStringLiteral("Smith"), QStringLiteral("Rex")}));
        w.frame.mnuFilePrint_Click();
        auto *viewer = qobject_cast<frmReports *>(w.frame.activeChild());
        QVERIFY(viewer);
        QCOMPARE(w.children(), 2);

        w.frame.mnuFilePrint_Click();
        QCOMPARE(w.prompt.count(), 0);
        QCOMPARE(w.children(), 2);
        QCOMPARE(w.frame.activeChild(), static_cast<QWidget *>(viewer));
        QVERIFY(viewer->isVisible());
    }

    // A growth curve's Print Preview opens its viewer inside the frame, which
    // comes to the front: the curve window no longer stands over it.
    void growthCurvePreviewComesToTheFront()
    {
        World w;
        w.frame.resize(1280, 800);
        w.frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&w.frame));
        QPointer<GrowthCurveWindow> curve =
            frmPuppy::Launch(&w.frame, GrowthCase{"Dog", 2.5f, 12, "kg", "1", "Bramble"});
        QVERIFY(curve);
        QVERIFY(QTest::qWaitForWindowActive(curve));

        curve->PPrint_Click();
        auto *viewer = qobject_cast<frmReports *>(w.frame.activeChild());
        QVERIFY(viewer);
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Puppy Growth Curve"));
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(&w.frame));
        // A window manager keeps a window above the one it is transient for.
        QVERIFY(curve->windowHandle());
        QVERIFY(!curve->windowHandle()->transientParent());
        FW_VERIFY_PROMPTS(w.prompt);
        delete curve.data();
    }

    // Save Report writes the report on screen: a PDF (the extension added
    // when the name has none) whose text holds the animal, the owner and the
    // analysis, or pictures of its pages.
    void saveReport()
    {
        World w;
        frmReports *viewer = prepareClientHandout(rex(), chartPicture());
        w.prompt.chooseFile(w.path(QStringLiteral("handout")));
        click(viewer, QStringLiteral("SaveAs"));
        QCOMPARE(w.prompt.last().kind, ShownBox::File);
        QCOMPARE(w.prompt.last().text, QStringLiteral("Save Report"));
        const QString text = pdfText(w.path(QStringLiteral("handout.pdf")));
        for (const QString &expected :
             {QStringLiteral("Fenwarra Report by Tollmere Veterinary Surgery"),
              QStringLiteral("Regarding Rex O'Hollings"), rex().Summary, rex().IdealWt, rex().AvWt, rex().LossRate,
              rex().TimeToTarget, QStringLiteral("Weight Control Dry: 310 g a day"),
              QStringLiteral("Keep the evening walk."), QStringLiteral("Tel: 01632 960418")})
            QVERIFY2(text.contains(oneBlank(expected)), qPrintable(expected));

        w.prompt.chooseFile(w.path(QStringLiteral("handout.png")));
        viewer->SaveAs_Click();
        QImage page(w.path(QStringLiteral("handout.png")));
        QVERIFY(!page.isNull());
        QVERIFY(page.width() > 1000 && page.height() > page.width());

        // A destination that cannot be written is reported; no file is left.
        w.prompt.chooseFile(w.path(QStringLiteral("no/such/folder/handout.pdf")));
        viewer->SaveAs_Click();
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
        QVERIFY(w.prompt.last().text.startsWith(QStringLiteral("The report could not be saved as ")));
        QVERIFY(!QFile::exists(w.path(QStringLiteral("no/such/folder/handout.pdf"))));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // Two handouts prepared one after the other, the first viewer still
    // open: each viewer shows, saves and prints its own case.
    void twoHandoutsTwoCases()
    {
        World w;
        frmReports *first = prepareClientHandout(rex(), chartPicture(Qt::red));
        frmReports *second = prepareClientHandout(bella(), chartPicture(Qt::blue));
        QVERIFY(first != second);
        QCOMPARE(w.children(), 2);
        QCOMPARE(w.frame.activeChild(), static_cast<QWidget *>(second));
        QCOMPARE(first->report().text(QStringLiteral("Regarding")), QStringLiteral("Regarding Rex O'Hollings"));
        QCOMPARE(second->report().text(QStringLiteral("Regarding")), QStringLiteral("Regarding Bella Marchbank"));
        QCOMPARE(first->report().picture(QStringLiteral("TheGraph")).pixelColor(5, 5), QColor(Qt::red));
        QCOMPARE(second->report().picture(QStringLiteral("TheGraph")).pixelColor(5, 5), QColor(Qt::blue));
        // The row keeps the last handout.
        QCOMPARE(ReportVariables::read(w.env.db()).AnName, QStringLiteral("Bella"));

        w.prompt.chooseFile(w.path(QStringLiteral("first.pdf")));
        first->SaveAs_Click();
        const QString firstText = pdfText(w.path(QStringLiteral("first.pdf")));
        QVERIFY(firstText.contains(oneBlank(rex().IdealWt)));
        QVERIFY(!firstText.contains(QStringLiteral("Bella")));

        w.frame.printer()->setOutputFileName(w.path(QStringLiteral("printed.pdf")));
        first->findChild<QAction *>(QStringLiteral("PrintRep"))->trigger();
        const QString printed = pdfText(w.path(QStringLiteral("printed.pdf")));
        QVERIFY(printed.contains(QStringLiteral("Regarding Rex O'Hollings")));
        QVERIFY(!printed.contains(QStringLiteral("Bella")));

        w.prompt.chooseFile(w.path(QStringLiteral("second.pdf")));
        second->SaveAs_Click();
        const QString secondText = pdfText(w.path(QStringLiteral("second.pdf")));
        QVERIFY(secondText.contains(oneBlank(bella().IdealWt)));
        QVERIFY(!secondText.contains(QStringLiteral("Rex")));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // Print goes to the printer of the frame's printer setup, on its paper,
    // and leaves the setup as it was, also after a landscape report.
    void printKeepsPrinterSetup()
    {
        World w;
        QPrinter *printer = w.frame.printer();
        printer->setOutputFileName(w.path(QStringLiteral("curve.pdf")));
        printer->setPageSize(QPageSize(QPageSize::Letter));
        printer->setPageOrientation(QPageLayout::Portrait);
        const ReportFills::GrowthCurveFacts pup{false, QStringLiteral("Bramble"), 12, 2.5f, QStringLiteral("kg")};
        frmReports *viewer = prepareGrowthCurve(pup, chartPicture());
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Puppy Growth Curve"));
        QCOMPARE(viewer->paper().id(), QPageSize::Letter);
        viewer->Print_Click();
        QVERIFY(pdfText(w.path(QStringLiteral("curve.pdf"))).contains(QStringLiteral("Regarding: Bramble")));
        QCOMPARE(printer->pageLayout().orientation(), QPageLayout::Portrait);
        QCOMPARE(printer->pageLayout().pageSize().id(), QPageSize::Letter);

        // A printer that cannot be started is reported.
        printer->setOutputFileName(w.path(QStringLiteral("no/such/folder/curve.pdf")));
        viewer->Print_Click();
        QCOMPARE(w.prompt.count(), 1);
        QVERIFY(w.prompt.last().text.startsWith(QStringLiteral("The report could not be printed")));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // A print refused for want of a printer (no print queue, no file chosen)
    // leaves the printer ready: Printer Setup then chooses a PDF file, and
    // the next print writes it, without a restart.
    void printAfterPrinterSetupFollowsRefusal()
    {
        World w;
        QPrinter *printer = w.frame.printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString());
        const ReportFills::GrowthCurveFacts pup{false, QStringLiteral("Bramble"), 12, 2.5f, QStringLiteral("kg")};
        frmReports *viewer = prepareGrowthCurve(pup, chartPicture());
        viewer->Print_Click();
        QCOMPARE(w.prompt.count(), 1);
        QVERIFY(w.prompt.last().text.contains(QStringLiteral("Choose a printer with File > Printer Setup")));

        w.prompt.printToFile(w.path(QStringLiteral("chosen.pdf")));
        w.frame.findChild<QAction *>(QStringLiteral("mnuFilePrintSetup"))->trigger();
        QCOMPARE(w.prompt.last().kind, ShownBox::PrinterSetup);
        QCOMPARE(w.prompt.last().text, QStringLiteral("Printer Setup"));
        viewer->Print_Click();
        QVERIFY(pdfText(w.path(QStringLiteral("chosen.pdf"))).contains(QStringLiteral("Regarding: Bramble")));
        QCOMPARE(w.prompt.count(), 2); // nothing after the setup
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // Swatch 9 and OK: saved as a blank and 9, and the next case window
    // draws its chart on it. Through the frame's menu.
    void optionsSwatchAndOk()
    {
        World w;
        whenModal([](QWidget *dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("frmOptions"));
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Options"));
            // Defaults: teal, both boxes checked, monochrome.
            QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("CurrC"))->palette().color(QPalette::Window),
                     Chart::paletteColour(3));
            QVERIFY(dialog->findChild<QCheckBox *>(QStringLiteral("ShowLegend"))->isChecked());
            QVERIFY(dialog->findChild<QCheckBox *>(QStringLiteral("ShowSymbols"))->isChecked());
            QVERIFY(dialog->findChild<QRadioButton *>(QStringLiteral("PrintOp(1)"))->isChecked());
            QTest::mouseClick(dialog->findChild<QLabel *>(QStringLiteral("Label2(9)")), Qt::LeftButton);
            QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("CurrC"))->palette().color(QPalette::Window),
                     Chart::paletteColour(9));
            dialog->findChild<QCheckBox *>(QStringLiteral("ShowLegend"))->setChecked(false);
            dialog->findChild<QRadioButton *>(QStringLiteral("PrintOp(0)"))->setChecked(true);
            click(dialog, QStringLiteral("cmdOK"));
        });
        w.frame.findChild<QAction *>(QStringLiteral("mnuViewOptions"))->trigger();
        QCOMPARE(w.setting(QStringLiteral("BackColour")), QStringLiteral(" 9"));
        QCOMPARE(w.setting(QStringLiteral("PrintOption")), QStringLiteral("0"));
        QCOMPARE(w.setting(QStringLiteral("LegendCheck")), QStringLiteral("0"));
        QCOMPARE(w.setting(QStringLiteral("SymbolCheck")), QStringLiteral("1"));
        QCOMPARE(App().BackColour, QStringLiteral(" 9"));
        QCOMPARE(App().PrintOption, QStringLiteral("0"));

        frmDocument doc;
        QCOMPARE(doc.findChild<Chart *>(QStringLiteral("Graph1"))->Background(), 9);
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // Cancel keeps the saved colour and puts back the colour the dialog
    // opened with; nothing else changes.
    void optionsCancel()
    {
        World w;
        Settings::save(QStringLiteral("Options"), QStringLiteral("BackColour"), QStringLiteral(" 12"));
        App().BackColour = QStringLiteral(" 12");
        frmOptions dialog;
        dialog.Form_Load();
        dialog.show();
        dialog.Label2_Click(9);
        QCOMPARE(App().BackColour, QStringLiteral(" 9"));
        dialog.findChild<QCheckBox *>(QStringLiteral("ShowSymbols"))->setChecked(false);
        click(&dialog, QStringLiteral("cmdCancel"));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(App().BackColour, QStringLiteral(" 12"));
        QCOMPARE(App().SymbolCheck, QStringLiteral("1"));
        QCOMPARE(w.setting(QStringLiteral("BackColour")), QStringLiteral(" 12"));
        QCOMPARE(w.setting(QStringLiteral("SymbolCheck")), QStringLiteral("<unset>"));

        // Escape is Cancel too.
        dialog.Form_Load();
        dialog.show();
        dialog.Label2_Click(4);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(App().BackColour, QStringLiteral(" 12"));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // A stored colour that names no swatch shows the colour the charts draw
    // for it, and OK saves that swatch.
    void optionsColourOutsideRange_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("saved");
        QTest::newRow("default") << "3" << 3 << "3";
        QTest::newRow("blank-led") << " 15" << 15 << " 15";
        QTest::newRow("above") << "99" << 15 << " 15";
        QTest::newRow("below") << "-4" << 0 << " 0";
        QTest::newRow("fraction") << "3.7" << 3 << " 3";
        QTest::newRow("no number") << "teal" << 0 << " 0";
        QTest::newRow("too large") << "1e999" << 0 << " 0";
    }
    void optionsColourOutsideRange()
    {
        QFETCH(QString, stored);
        QFETCH(int, shown);
        QFETCH(QString, saved);
        World w;
        App().BackColour = stored;
        frmOptions dialog;
        dialog.Form_Load();
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("CurrC"))->palette().color(QPalette::Window),
                 Chart::paletteColour(shown));
        dialog.cmdOK_Click();
        QCOMPARE(w.setting(QStringLiteral("BackColour")), saved);
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // ---- Practice details ---------------------------------------------------

    // The six boxes show the row, hold as many characters as its fields, and
    // Done stores the typed details; the new telephone number is the default
    // of the next new case and is printed on the next handout.
    void practiceDetailsSaved()
    {
        World w;
        w.frame.show();
        whenModal([](QWidget *dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("Personalisation"));
            auto *surgery = dialog->findChild<QLineEdit *>(QStringLiteral("Surgery"));
            auto *tel = dialog->findChild<QLineEdit *>(QStringLiteral("TelephoneNumber"));
            QCOMPARE(surgery->text(), QStringLiteral("Tollmere Veterinary Surgery"));
            QCOMPARE(surgery->maxLength(), 50);
            QCOMPARE(tel->maxLength(), 20);
            QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("eMailAddress"))->maxLength(), 50);
            QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
            QApplication::sendEvent(tel, &focus);
            QCOMPARE(tel->selectedText(), QStringLiteral("01632 960418"));
            tel->setText(QStringLiteral("01632 960999"));
            click(dialog, QStringLiteral("Done"));
        });
        w.frame.findChild<QAction *>(QStringLiteral("mnuPersonalize"))->trigger();
        QCOMPARE(w.practiceTel(), QStringLiteral("01632 960999"));

        CaseDetails::NewCaseCommand(&w.frame);
        CaseDetails *entry = CaseDetails::instance();
        QVERIFY(entry);
        entry->AddNewRec_Click();
        QCOMPARE(entry->findChild<QLineEdit *>(QStringLiteral("TelNo"))->text(), QStringLiteral("01632 960999"));
        entry->unload();

        frmReports *viewer = prepareClientHandout(rex(), chartPicture());
        QVERIFY(viewer->report().text(QStringLiteral("TelFaxEMail")).startsWith(QStringLiteral("Tel: 01632 960999")));
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // A save that fails is reported; the window stays open with the typed
    // text, and the next Done stores it.
    void practiceDetailsSaveFails_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("message");
        QTest::newRow("changed elsewhere")
            << "UPDATE [Personal] SET [Tel No] = '01632 960100'"
            << "The practice details were changed elsewhere while you were editing them, so nothing was saved. "
               "The window still shows what you typed: press Done again to store it.";
        QTest::newRow("deleted elsewhere")
            << "DELETE FROM [Personal]"
            << "The practice details were deleted elsewhere while you were editing them, so nothing was saved. "
               "The window still shows what you typed: press Done again to store it as the practice's details.";
        QTest::newRow("cannot be written")
            << "CREATE TRIGGER [NoWrite] BEFORE UPDATE ON [Personal] BEGIN SELECT RAISE(ABORT, 'database is "
               "locked'); END"
            << "The practice details could not be saved:\ndatabase is locked";
    }
    void practiceDetailsSaveFails()
    {
        QFETCH(QString, failure);
        QFETCH(QString, message);
        World w;
        Personalisation dialog(&w.frame);
        BindToClinicDB(*dialog.Data1, QStringLiteral("Personal"));
        dialog.show();
        auto *tel = dialog.findChild<QLineEdit *>(QStringLiteral("TelephoneNumber"));
        auto *surgery = dialog.findChild<QLineEdit *>(QStringLiteral("Surgery"));
        tel->setText(QStringLiteral("01632 960222"));
        ClinicDb::exec(w.env.db(), failure);

        click(&dialog, QStringLiteral("Done"));
        QCOMPARE(w.prompt.count(), 1);
        QVERIFY2(w.prompt.last().text.startsWith(message), qPrintable(w.prompt.last().text));
        QVERIFY(dialog.isVisible());
        QCOMPARE(tel->text(), QStringLiteral("01632 960222"));
        QCOMPARE(surgery->text(), QStringLiteral("Tollmere Veterinary Surgery"));

        // After the refusal the title bar asks before it discards the typed
        // text; No keeps the window and the text.
        if (failure.startsWith(QLatin1String("CREATE"))) {
            w.prompt.answer(Prompt::Answer::No);
            dialog.close();
            QVERIFY(dialog.isVisible());
            QCOMPARE(w.prompt.count(), 2);
            QCOMPARE(w.prompt.last().text, kDiscardDetails);
            QCOMPARE(tel->text(), QStringLiteral("01632 960222"));
            ClinicDb::exec(w.env.db(), QStringLiteral("DROP TRIGGER [NoWrite]"));
        }
        click(&dialog, QStringLiteral("Done"));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(w.practiceTel(), QStringLiteral("01632 960222"));
        QCOMPARE(ClinicDb::scalar(w.env.db(), QStringLiteral("SELECT COUNT(*) FROM [Personal]")).toInt(), 1);
        QCOMPARE(ClinicDb::scalar(w.env.db(), QStringLiteral("SELECT [Surgery] FROM [Personal]")).toString(),
                 QStringLiteral("Tollmere Veterinary Surgery"));
        w.prompt.clear();
        FW_VERIFY_PROMPTS(w.prompt);
    }

    // On a register that cannot be written the details cannot be stored;
    // once the user has been told so, Escape, the title bar and Cancel leave
    // the window after asking, and the stored details stay as they were.
    void practiceDetailsCanBeLeftWhenTheRegisterCannotBeWritten_data()
    {
        QTest::addColumn<QString>("firstTry");
        QTest::addColumn<QString>("leave");
        QTest::newRow("Done, then Escape") << "Done"
                                           << "Escape";
        QTest::newRow("Escape, then the title bar") << "Escape"
                                                    << "title bar";
        QTest::newRow("Done, then Cancel") << "Done"
                                           << "Cancel";
    }
    void practiceDetailsCanBeLeftWhenTheRegisterCannotBeWritten()
    {
        QFETCH(QString, firstTry);
        QFETCH(QString, leave);
        World w;
        {
            ReadOnlyRegister readOnly(App().DBFName, ReadOnlyRegister::OpenedReadOnly);
            Personalisation dialog(&w.frame);
            BindToClinicDB(*dialog.Data1, QStringLiteral("Personal"));
            dialog.show();
            auto *cancel = dialog.findChild<QPushButton *>(QStringLiteral("Cancel"));
            QVERIFY(cancel && !cancel->isVisible());
            dialog.findChild<QLineEdit *>(QStringLiteral("TelephoneNumber"))->setText(QStringLiteral("01632 960222"));

            if (firstTry == QLatin1String("Done"))
                click(&dialog, QStringLiteral("Done"));
            else
                QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(dialog.isVisible());
            QCOMPARE(w.prompt.count(), 1);
            QVERIFY2(w.prompt.last().text.contains(ClinicDb::cannotSaveMessage(App().DBFName)),
                     qPrintable(w.prompt.last().text));
            QVERIFY(cancel->isVisible());

            w.prompt.answer(Prompt::Answer::Yes);
            if (leave == QLatin1String("Escape"))
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else if (leave == QLatin1String("title bar"))
                dialog.close();
            else
                click(&dialog, QStringLiteral("Cancel"));
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(w.prompt.count(), 2);
            QCOMPARE(w.prompt.last().text, kDiscardDetails);
            QCOMPARE(w.prompt.last().icon, Prompt::Icon::Question);
            QCOMPARE(w.prompt.last().buttons, Prompt::Buttons::YesNo);
        }
        QCOMPARE(w.practiceTel(), QStringLiteral("01632 960418"));
        FW_VERIFY_PROMPTS(w.prompt);
    }
};

FW_TEST(ReportWindowsTest)
#include "tst_ReportWindows.moc"
