// The breed-weight window as the frame opens it: every breed below the
// headers, narrowed by a typed text with Enter, a quote or a bracket that no
// breed holds answered with the window's message while the grid stays, and
// Escape closing the modal window.
#include "curves_reports/frmBreedSpec.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "shell/frmMain.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

QStringList column(const QTableWidget *grid, int col)
{
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        out << grid->item(r, col)->text();
    return out;
}

} // namespace

class frmBreedSpecTest : public QObject {
    Q_OBJECT
private slots:
    void theFramesCommand()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        frmMain frame;
        frame.setEndProgram([] {});
        const int breeds = ClinicDb::scalar(env.db(), "SELECT COUNT(*) FROM [Dog Breeds]").toInt();
        QStringList headers;
        int rows = -1;
        QPointer<frmBreedSpec> seen;
        // The window is modal: what it shows is checked while it is up, then
        // Escape closes it and the command returns.
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<frmBreedSpec *>(QApplication::activeModalWidget());
            if (!seen)
                return;
            const QTableWidget *grid = control<QTableWidget>(seen, "BreedData");
            for (int c = 0; c < grid->columnCount(); ++c)
                headers << grid->horizontalHeaderItem(c)->text();
            rows = grid->rowCount();
            QTest::keyClick(control<QLineEdit>(seen, "LimitList"), Qt::Key_Escape);
        });
        frame.findChild<QAction *>("mnuBreedWt")->trigger();
        QVERIFY(seen.isNull()); // closed and gone
        QCOMPARE(headers, (QStringList{"Breed", "Gen. Weight Range (Kg)", "Male Wt (Kg)", "Av. Female Wt (Kg)"}));
        QCOMPARE(rows, breeds);
        FW_VERIFY_PROMPTS(prompt);
    }

    void narrowingTheList()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        frmBreedSpec w;
        BindToClinicDB(*control<DataControl>(&w, "Data1"), "SELECT * FROM [Dog Breeds]");
        QTableWidget *grid = control<QTableWidget>(&w, "BreedData");
        QLineEdit *limitList = control<QLineEdit>(&w, "LimitList");
        w.Command1_Click();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QString("Canine Breed Weights- Recommended"));
        const QStringList all = column(grid, 0);
        QCOMPARE(all.first(), QString("Afghan Hound"));

        // "terr" and Enter: the terriers, with their weights.
        QTest::keyClicks(limitList, "terr");
        QTest::keyClick(limitList, Qt::Key_Return);
        const QStringList terriers = column(grid, 0);
        QVERIFY(terriers.size() >= 20 && terriers.size() < all.size());
        for (const QString &b : terriers)
            QVERIFY2(b.contains("Terrier"), qPrintable(b));
        const int aussie = int(terriers.indexOf("Australian Terrier"));
        QCOMPARE(grid->item(aussie, 1)->text(), QString("6-7"));
        QCOMPARE(grid->item(aussie, 2)->text(), QString("6.5"));
        QCOMPARE(grid->item(aussie, 3)->text(), QString("6"));

        // Typed text is data: a quote or a bracket finds no breed, and says so.
        for (const char *text : {"\"", "[", "Bull'"}) {
            limitList->setText(QString::fromLatin1(text));
            QTest::mouseClick(control<QPushButton>(&w, "DoIt"), Qt::LeftButton);
            QCOMPARE(column(grid, 0), terriers);
        }
        const QString noMatch = "Cannot find a dog breed contain this string of letters. Try again.";
        QCOMPARE(prompt.texts(), (QStringList{noMatch, noMatch, noMatch}));
        QCOMPARE(prompt.last().icon, Prompt::Icon::Critical);
        QCOMPARE(prompt.last().title, Prompt::kTitle);

        // Empty: every breed again.
        limitList->clear();
        w.DoIt_Click();
        QCOMPARE(column(grid, 0), all);
        FW_VERIFY_PROMPTS(prompt);
    }
};

FW_TEST(frmBreedSpecTest)
#include "tst_frmBreedSpec.moc"
