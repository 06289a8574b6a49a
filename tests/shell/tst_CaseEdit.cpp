// Editing a case: the frame's Edit Case Details command on the active case
// window, the details window in its editing form, Update with its checks, the
// rewritten row (history untouched) and the reopened case window, and a row
// that changes or vanishes meanwhile.
#include "cases/CaseDetails.h"
#include "cases/CaseOpening.h"
#include "cases/frmDocument.h"
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "shell/frmMain.h"
#include "support/CaseBuilder.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlRecord>
#include <QTest>

namespace {

struct World {
    TestEnv env;
    ScriptedPrompt prompt;
    frmMain frame;
    int rex = 0, tom = 0;

    World()
    {
        Clock::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        frame.setEndProgram([] {});
        rex = CaseBuilder()
                  .units("lb")
                  .range(22, 26)
                  .history("25.5;25.1;24.8;")
                  .lastWeighed(QDate(2026, 12, 1))
                  .undo("25.5;25.1;", QDate(2026, 12, 1))
                  .dietRecommend("Less")
                  .linkedRecNo(77)
                  .add();
        tom = CaseBuilder().surname("Adams").animal("Tom").species("Cat").add();
    }
    ~World()
    {
        if (CaseDetails *w = CaseDetails::instance())
            w->unload();
        frame.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void open(int caseNo, const QString &animal, const QString &surname)
    {
        OpenCaseInDocument(OpenVariant::LocatorOrReminder, CaseRef{QString::number(caseNo), surname, animal});
    }
    CaseDetails *edit() // open Rex's case and edit it
    {
        open(rex, "Rex", "Smith");
        frame.mnuEditCaseDet_Click();
        return CaseDetails::instance();
    }
    int windows() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return frame.mdiArea()->subWindowList().size();
    }
    QSqlRecord row(int caseNo) const
    {
        QSqlQuery q = ClinicDb::exec(env.db(), "SELECT * FROM [Clients] WHERE [CaseNo] = ?", {caseNo});
        return q.next() ? q.record() : QSqlRecord();
    }
};

} // namespace

class CaseEditTest : public QObject {
    Q_OBJECT
private slots:
    void theCommandOpensTheActiveWindowsCase()
    {
        World w;
        w.open(w.tom, "Tom", "Adams");
        w.open(w.rex, "Rex", "Smith"); // the active window
        w.frame.mnuEditCaseDet_Click();
        CaseDetails *d = CaseDetails::instance();
        QVERIFY(d && d->isVisible());
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(d->mode(), CaseDetails::Mode::Edit);
        QCOMPARE(d->windowTitle(), QString("New Case Details Entry Form"));
        // Rex's window is closed for the edit; Tom's stays.
        QCOMPARE(w.windows(), 1);
        QCOMPARE(w.frame.activeChild()->windowTitle(), QString("Case# %1, Tom Adams").arg(w.tom));
        QVERIFY(!control<QPushButton>(d, "UUpdate")->isHidden() && control<QPushButton>(d, "Done")->isHidden() &&
                control<QPushButton>(d, "AddNewRec")->isHidden());
        QVERIFY(!control<QPushButton>(d, "CCancel")->isHidden() && !control<QPushButton>(d, "HHelp")->isHidden());
        QVERIFY(!control<QComboBox>(d, "BBreedK9")->isHidden() && control<QComboBox>(d, "BBreedFel")->isHidden());
        const QStringList shown = {control<QLineEdit>(d, "SSurname")->text(),
                                   control<QLineEdit>(d, "AnName")->text(),
                                   control<QLineEdit>(d, "TelNo")->text(),
                                   control<QComboBox>(d, "SSpecies")->currentText(),
                                   control<QComboBox>(d, "BBreedK9")->currentText(),
                                   control<QComboBox>(d, "SSex")->currentText(),
                                   control<QLabel>(d, "DOB")->text(),
                                   control<QLabel>(d, "AAge")->text(),
                                   control<QLineEdit>(d, "UpperWt")->text(),
                                   control<QLineEdit>(d, "LowerWt")->text(),
                                   control<QPlainTextEdit>(d, "VetCom")->toPlainText(),
                                   control<QLineEdit>(d, "CurrWt")->text()};
        QCOMPARE(shown, (QStringList{"Smith", "Rex", "01632 960123", "Dog", "Beagle", "Male", "15-Jan-2020", "", "26",
                                     "22", "None", "Unavailable"}));
        QVERIFY(!control<QLineEdit>(d, "CurrWt")->isEnabled());
        for (int i = 0; i < 4; ++i)
            QVERIFY(!control<QRadioButton>(d, "Units", i)->isEnabled() &&
                    control<QRadioButton>(d, "Units", i)->isChecked() == (i == 2)); // "lb"
        // Tom's window, active again, holds the current case.
        QCOMPARE(App().CurrCaseNo + App().CurrSpecies, QString::number(w.tom) + "Cat");
        // Update is not the default button: Enter in a box stores nothing.
        control<QLineEdit>(d, "SSurname")->setText("Smythe");
        QTest::keyClick(control<QLineEdit>(d, "SSurname"), Qt::Key_Return);
        QCOMPARE(CaseDetails::instance(), d);
        QCOMPARE(w.row(w.rex).value("Surname").toString(), QString("Smith"));
    }

    void updateRewritesTheDetailsAndReopensTheCase()
    {
        World w;
        const QSqlRecord before = w.row(w.rex);
        CaseDetails *d = w.edit();
        QStringList recent;
        for (int i = 1; i <= 10; ++i)
            recent << w.frame.recentCaption(i);
        control<QLineEdit>(d, "SSurname")->setText("Smythe");
        control<QLineEdit>(d, "TelNo")->setText("555 0199");
        control<QComboBox>(d, "SSex")->setEditText("Male Neutered");
        control<QComboBox>(d, "BBreedK9")->setEditText("Basset");
        control<QLabel>(d, "DOB")->setText("03-Mar-2019");
        control<QLineEdit>(d, "UpperWt")->setText("27.5");
        control<QPlainTextEdit>(d, "VetCom")->setPlainText("Diet from May");
        App().CurrCaseNo = QString::number(w.tom); // another window makes another case current
        QTest::mouseClick(control<QPushButton>(d, "UUpdate"), Qt::LeftButton);
        QCOMPARE(w.prompt.count(), 0);

        const QSqlRecord after = w.row(w.rex);
        const QStringList stored = {"Surname", "SurnameKey", "AnimalName", "Tel No",  "Species", "Sex",
                                    "Breed",   "DOB",        "Units",      "UpperWt", "LowerWt", "Vet Comments"};
        QStringList values;
        for (const QString &f : stored)
            values << after.value(f).toString();
        QCOMPARE(values, (QStringList{"Smythe", "smythe", "Rex", "555 0199", "Dog", "Male Neutered", "Basset",
                                      "2019-03-03", "lb", "27.5", "22", "Diet from May"}));
        for (const char *field : {"CaseNo", "CurrentWt", "Graph Data", "Graph Data Undo", "Last Weighed",
                                  "Last Weighed Undo", "LinkedRecNo", "Active", "Aged", "Diet Recommend"})
            QVERIFY2(after.value(field) == before.value(field), field);

        // The case opens again with the new names, without a recent-cases push.
        QTRY_VERIFY(!CaseDetails::instance());
        QCOMPARE(w.windows(), 1);
        QCOMPARE(w.frame.activeChild()->windowTitle(), QString("Case# %1, Rex Smythe").arg(w.rex));
        for (int i = 1; i <= 10; ++i)
            QCOMPARE(w.frame.recentCaption(i), recent[i - 1]);
    }

    void anotherWindowOnTheCaseShowsTheEdit()
    {
        World w;
        w.open(w.rex, "Rex", "Smith"); // stays open beside the edit
        CaseDetails *d = w.edit();
        control<QLineEdit>(d, "SSurname")->setText("Smythe");
        control<QLineEdit>(d, "UpperWt")->setText("24");
        d->UUpdate_Click();
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(w.windows(), 2);
        for (frmDocument *doc : w.frame.findChildren<frmDocument *>()) {
            QTRY_COMPARE(doc->windowTitle(), QString("Case# %1, Rex Smythe").arg(w.rex));
            QTRY_COMPARE(doc->findChild<QLineEdit *>("LocalAcRange")->text(), QString("From  22 to  24 lb"));
        }
    }

    void breedAndUnitsAsStored_data()
    {
        QTest::addColumn<QString>("storedUnits");
        QTest::addColumn<QString>("species");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("breed");
        QTest::newRow("another species stores a dash") << "lb"
                                                       << "Rabbit"
                                                       << "lb"
                                                       << "-";
        QTest::newRow("unknown unit shows and stores kg") << "stone"
                                                          << "Dog"
                                                          << "kg"
                                                          << "Beagle";
        QTest::newRow("empty unit shows and stores kg") << ""
                                                        << "Dog"
                                                        << "kg"
                                                        << "Beagle";
        QTest::newRow("another species keeps oz") << "oz"
                                                  << "Rabbit"
                                                  << "oz"
                                                  << "-";
    }
    void breedAndUnitsAsStored()
    {
        QFETCH(QString, storedUnits);
        QFETCH(QString, species);
        QFETCH(QString, units);
        QFETCH(QString, breed);
        World w;
        ClinicDb::exec(w.env.db(), "UPDATE [Clients] SET [Units] = ? WHERE [CaseNo] = ?", {storedUnits, w.rex});
        CaseDetails *d = w.edit();
        QCOMPARE(control<QRadioButton>(d, "Units", 0)->isChecked(), units == "kg");
        control<QComboBox>(d, "SSpecies")->setEditText(species);
        d->UUpdate_Click();
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(w.row(w.rex).value("Units").toString(), units);
        QCOMPARE(w.row(w.rex).value("Breed").toString(), breed);
    }

    // A case weighed in gm or oz cannot become a dog or a cat, as a new case
    // cannot be one: the same message, and nothing is stored.
    void updateAppliesTheUnitRule_data()
    {
        QTest::addColumn<QString>("storedUnits");
        QTest::addColumn<QString>("species");
        QTest::newRow("gm changed to Dog") << "gm"
                                           << "Dog";
        QTest::newRow("oz changed to Cat") << "oz"
                                           << "Cat";
    }
    void updateAppliesTheUnitRule()
    {
        QFETCH(QString, storedUnits);
        QFETCH(QString, species);
        World w;
        ClinicDb::exec(w.env.db(), "UPDATE [Clients] SET [Units] = ?, [Species] = 'Rabbit' WHERE [CaseNo] = ?",
                       {storedUnits, w.rex});
        const QSqlRecord before = w.row(w.rex);
        CaseDetails *d = w.edit();
        control<QComboBox>(d, "SSpecies")->setEditText(species);
        control<QComboBox>(d, "BBreedK9")->setEditText("Beagle");
        control<QComboBox>(d, "BBreedFel")->setEditText("Domestic Shorthair");
        d->UUpdate_Click();
        QCOMPARE(w.prompt.texts(), QStringList{"You must use 'lb' or 'kg' units for cats and dogs"});
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
        QCOMPARE(d->focusWidget(), control<QComboBox>(d, "SSpecies"));
        QCOMPARE(w.row(w.rex), before);
        QCOMPARE(CaseDetails::instance(), d);
        QCOMPARE(w.windows(), 0);
    }

    // A dog stored in gm before the rule held is not locked out of its own
    // edit: its telephone number can still be corrected.
    void updateKeepsAnEarlierCaseOfItsSpecies()
    {
        World w;
        ClinicDb::exec(w.env.db(), "UPDATE [Clients] SET [Units] = 'gm', [Species] = 'Dog' WHERE [CaseNo] = ?",
                       {w.rex});
        CaseDetails *d = w.edit();
        control<QLineEdit>(d, "TelNo")->setText("01632 960999");
        d->UUpdate_Click();
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(w.row(w.rex).value("Tel No").toString(), QString("01632 960999"));
        QCOMPARE(w.row(w.rex).value("Units").toString(), QString("gm"));
    }

    void updateRefusesIncompleteDetails_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        const QString incomplete = "Data incomplete. Please enter data at the cursor.";
        const int excl = int(Prompt::Icon::Exclamation), crit = int(Prompt::Icon::Critical);
        QTest::newRow("telephone emptied") << "TelNo"
                                           << "" << incomplete << excl;
        QTest::newRow("breed emptied") << "BBreedK9"
                                       << "" << incomplete << excl;
        QTest::newRow("comments emptied") << "VetCom"
                                          << "" << incomplete << excl;
        QTest::newRow("no date of birth") << "DOB"
                                          << ""
                                          << "You must enter an age or DOB" << excl;
        QTest::newRow("weight no number") << "UpperWt"
                                          << "abc"
                                          << "The upper weight must be a number more than 0" << crit;
        QTest::newRow("weight zero") << "LowerWt"
                                     << "0"
                                     << "The lower weight must be a number more than 0" << crit;
        QTest::newRow("surname of blanks") << "SSurname"
                                           << "   " << incomplete << excl;
        QTest::newRow("surname as a new entry starts") << "SSurname"
                                                       << "Surname?" << incomplete << excl;
        QTest::newRow("range back to front")
            << "LowerWt"
            << "26.5"
            << "The lower acceptable weight must not be more than the upper acceptable weight" << crit;
    }
    void updateRefusesIncompleteDetails()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(int, icon);
        World w;
        const QSqlRecord before = w.row(w.rex);
        CaseDetails *d = w.edit();
        control<QLineEdit>(d, "AnName")->setText("Rexie");
        QWidget *box = d->findChild<QWidget *>(field);
        if (auto *e = qobject_cast<QLineEdit *>(box))
            e->setText(value);
        else if (auto *c = qobject_cast<QComboBox *>(box))
            c->setEditText(value);
        else if (auto *t = qobject_cast<QPlainTextEdit *>(box))
            t->setPlainText(value);
        else
            qobject_cast<QLabel *>(box)->setText(value);
        d->UUpdate_Click();
        QCOMPARE(d->focusWidget(), field == "DOB" ? control<QPushButton>(d, "CalcAge") : box);
        QCOMPARE(w.prompt.texts(), QStringList{message});
        QCOMPARE(int(w.prompt.last().icon), icon);
        // Nothing stored, the edit goes on, no case window opens.
        QCOMPARE(w.row(w.rex), before);
        QCOMPARE(CaseDetails::instance(), d);
        QCOMPARE(w.windows(), 0);
    }

    void cancelOrAChangeElsewhereStoresNothing_data()
    {
        QTest::addColumn<QString>("change"); // by another workstation during the edit
        QTest::addColumn<QString>("message");
        QTest::newRow("cancel") << ""
                                << "";
        QTest::newRow("deleted elsewhere")
            << "DELETE FROM [Clients] WHERE [CaseNo] = ?" << FwError::standardDescription(ErrNo::RowDeleted);
    }
    void cancelOrAChangeElsewhereStoresNothing()
    {
        QFETCH(QString, change);
        QFETCH(QString, message);
        World w;
        CaseDetails *d = w.edit();
        control<QLineEdit>(d, "SSurname")->setText("Smythe");
        if (change.isEmpty()) {
            QTest::mouseClick(control<QPushButton>(d, "CCancel"), Qt::LeftButton);
            QTRY_VERIFY(!CaseDetails::instance());
            QCOMPARE(w.prompt.count(), 0);
        } else {
            ClinicDb::exec(w.env.db(), change, {w.rex});
            d->UUpdate_Click();
            QCOMPARE(w.prompt.texts(), QStringList{message});
            QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
            QCOMPARE(CaseDetails::instance(), d);
        }
        const QSqlRecord row = w.row(w.rex);
        QVERIFY(row.isEmpty() || row.value("Surname").toString() == "Smith");
        QCOMPARE(w.windows(), 0); // the case window stays closed
    }

    void aWeighingElsewhereIsToldThenTheNextUpdateStores()
    {
        World w;
        CaseDetails *d = w.edit();
        control<QLineEdit>(d, "SSurname")->setText("Smythe");
        // Another workstation weighs the case while the edit is open.
        ClinicDb::exec(w.env.db(),
                       "UPDATE [Clients] SET [Graph Data] = '25.5;25.1;24.8;24.4;', [Last Weighed] = '2026-12-06', "
                       "[CurrentWt] = 24.4 WHERE [CaseNo] = ?",
                       {w.rex});
        d->UUpdate_Click();
        QCOMPARE(w.prompt.texts(),
                 QStringList{"This case was changed in another window or at another workstation while you were "
                             "editing it: its weights (a weighing or an undo). Your details are not stored yet. "
                             "Click Update again to store them; what was changed there is kept."});
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Exclamation);
        QCOMPARE(w.row(w.rex).value("Surname").toString(), QString("Smith"));
        QCOMPARE(CaseDetails::instance(), d);

        // The next Update stores the details over the row as it now stands.
        w.prompt.clear();
        d->UUpdate_Click();
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(w.prompt.count(), 0);
        const QSqlRecord row = w.row(w.rex);
        QCOMPARE(row.value("Surname").toString(), QString("Smythe"));
        QCOMPARE(row.value("Graph Data").toString(), QString("25.5;25.1;24.8;24.4;"));
        QCOMPARE(row.value("CurrentWt").toDouble(), 24.4);
        QTRY_VERIFY(!CaseDetails::instance());
        QCOMPARE(w.windows(), 1);
        QCOMPARE(int(qobject_cast<frmDocument *>(w.frame.activeChild())->NumWts()), 4);
    }

    void theSameDetailChangedElsewhereIsStoredOverOnlyWhenConfirmed()
    {
        World w;
        CaseDetails *d = w.edit();
        control<QLineEdit>(d, "SSurname")->setText("Smythe");
        ClinicDb::exec(w.env.db(),
                       "UPDATE [Clients] SET [Surname] = 'Smithers', [Vet Comments] = 'Seen by Dr Lee', "
                       "[Diet Recommend] = 'More' WHERE [CaseNo] = ?",
                       {w.rex});
        const QString question =
            "This case was changed in another window or at another workstation while you were editing it: Surname "
            "(now \"Smithers\"), the Veterinary Comments, its diet recommendation. Store your details over the "
            "details changed there? What else was changed there is kept.";
        // No: nothing stored, and the next Update asks again.
        w.prompt.answer(Prompt::Answer::No).answer(Prompt::Answer::Yes);
        d->UUpdate_Click();
        QCOMPARE(w.prompt.texts(), QStringList{question});
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Question);
        QCOMPARE(w.prompt.last().buttons, Prompt::Buttons::YesNo);
        QCOMPARE(w.row(w.rex).value("Surname").toString(), QString("Smithers"));
        QCOMPARE(CaseDetails::instance(), d);
        // Yes: the details typed here are stored over them.
        d->UUpdate_Click();
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(w.prompt.texts(), (QStringList{question, question}));
        const QSqlRecord row = w.row(w.rex);
        QCOMPARE(row.value("Surname").toString(), QString("Smythe"));
        QCOMPARE(row.value("Vet Comments").toString(), QString("None"));
        QCOMPARE(row.value("Diet Recommend").toString(), QString("More"));
        QTRY_VERIFY(!CaseDetails::instance());
        QCOMPARE(w.frame.activeChild()->windowTitle(), QString("Case# %1, Rex Smythe").arg(w.rex));
    }

    void theCommandRefuses_data()
    {
        QTest::addColumn<int>("situation"); // 0 no case window, 1 case deleted, 2 a new case entered
        QTest::newRow("no case window") << 0;
        QTest::newRow("case deleted meanwhile") << 1;
        QTest::newRow("a new case is being entered") << 2;
    }
    void theCommandRefuses()
    {
        QFETCH(int, situation);
        World w;
        if (situation > 0)
            w.open(w.rex, "Rex", "Smith");
        if (situation == 1)
            ClinicDb::exec(w.env.db(), "DELETE FROM [Clients] WHERE [CaseNo] = ?", {w.rex});
        CaseDetails *entry = nullptr;
        if (situation == 2) {
            w.frame.mnuFileNew_Click();
            entry = CaseDetails::instance();
            entry->AddNewRec_Click();
        }
        w.frame.mnuEditCaseDet_Click();
        QCOMPARE(w.windows(), situation > 0 ? 1 : 0); // the case window stays
        if (situation == 2) {
            // The entry is brought forward, keeping its number and texts.
            QCOMPARE(CaseDetails::instance(), entry);
            QCOMPARE(entry->mode(), CaseDetails::Mode::NewCase);
            QCOMPARE(control<QLineEdit>(entry, "SSurname")->text(), QString("Surname?"));
            QCOMPARE(w.prompt.count(), 0);
            return;
        }
        QVERIFY(!CaseDetails::instance());
        QCOMPARE(w.prompt.count(), 1);
        if (situation == 0) {
            QCOMPARE(w.prompt.last().text, QString("No document open to edit case details!"));
            QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
        } else {
            QCOMPARE(w.prompt.last().text, FwError::standardDescription(ErrNo::RowDeleted));
            QCOMPARE(w.prompt.last().icon, Prompt::Icon::None);
            QVERIFY(w.prompt.last().title.isEmpty()); // the program's own title
        }
    }
};

FW_TEST(CaseEditTest)
#include "tst_CaseEdit.moc"
