// Editing a case: the frame's Edit Case Details command on the active case
// window, the details window in its editing form, Update with its checks, the
// rewritten row (history untouched) and the reopened case window, and what
// happens when the row changes or vanishes meanwhile.
#include "cases/CaseDetails.h"
#include "cases/CaseOpening.h"
#include "cases/frmDocument.h"
#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/text/Clock.h"
#include "shell/AppState.h"
#include "shell/frmMain.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlRecord>
#include <QTest>

namespace {

const QString kTitle = QStringLiteral("Message from the Fenwarra");

struct World {
    TestEnv env;
    ScriptedPrompt prompt;
    frmMain frame;
    int rex = 0;
    int tom = 0;

    World()
    {
        Clock::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
        frame.setEndProgram([] {});
        for (int i = 1; i <= 10; ++i)
            frame.setRecentCaption(i, QStringLiteral("Case# %1, Pet%1 Owner%1").arg(100 + i));
        rex = env.addCase("Smith", "Rex", "Dog", "Beagle", "Male", "lb", 22, 26, "25.5;25.1;24.8;", "2026-12-01",
                          "2020-01-15");
        tom = env.addCase("Adams", "Tom", "Cat", "Siamese", "Female", "kg", 4, 5, "4.5;", "2026-11-20");
        ClinicDb::exec(
            env.db(),
            QStringLiteral("UPDATE [Clients] SET [Graph Data Undo] = ?, [Last Weighed Undo] = ?, "
                           "[Diet Recommend] = ?, [LinkedRecNo] = ? WHERE [CaseNo] = ?"),
            {QStringLiteral("25.5;25.1;"), QStringLiteral("2026-11-24"), QStringLiteral("Less food"), 77, rex});
    }
    ~World()
    {
        if (CaseDetails *w = CaseDetails::instance())
            w->unload();
        frame.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmDocument *open(int caseNo, const QString &animal, const QString &surname)
    {
        App().CurrCaseNo = QString::number(caseNo);
        App().CurrAnimalName = animal;
        App().CurrSurname = surname;
        return OpenCaseInDocument(OpenVariant::LocatorOrReminder);
    }
    /// Open Rex's case and start editing it.
    CaseDetails *edit()
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
        QSqlQuery q = ClinicDb::exec(env.db(), QStringLiteral("SELECT * FROM [Clients] WHERE [CaseNo] = ?"), {caseNo});
        return q.next() ? q.record() : QSqlRecord();
    }
    QString recent() const
    {
        QStringList all;
        for (int i = 1; i <= 10; ++i)
            all << frame.recentCaption(i);
        return all.join(QLatin1Char('|'));
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
        QVERIFY(d);
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(d->mode(), CaseDetails::Mode::Edit);
        QVERIFY(d->isVisible());
        QCOMPARE(d->windowTitle(), QStringLiteral("New Case Details Entry Form"));

        // Rex's window is closed for the edit; Tom's stays.
        QCOMPARE(w.windows(), 1);
        QCOMPARE(w.frame.activeChild()->windowTitle(), QStringLiteral("Case# %1, Tom Adams").arg(w.tom));

        QVERIFY(!d->UUpdate->isHidden());
        QVERIFY(d->Done->isHidden());
        QVERIFY(d->AddNewRec->isHidden());
        QVERIFY(!d->CCancel->isHidden());
        QVERIFY(!d->HHelp->isHidden());

        QCOMPARE(d->SSurname->text(), QStringLiteral("Smith"));
        QCOMPARE(d->AnName->text(), QStringLiteral("Rex"));
        QCOMPARE(d->TelNo->text(), QStringLiteral("01632 960123"));
        QCOMPARE(d->SSpecies->currentText(), QStringLiteral("Dog"));
        QVERIFY(!d->BBreedK9->isHidden());
        QVERIFY(d->BBreedFel->isHidden());
        QCOMPARE(d->BBreedK9->currentText(), QStringLiteral("Beagle"));
        QCOMPARE(d->SSex->currentText(), QStringLiteral("Male"));
        QCOMPARE(d->DOB->text(), QStringLiteral("15-Jan-2020"));
        QCOMPARE(d->AAge->text(), QString());
        QCOMPARE(d->UpperWt->text(), QStringLiteral("26"));
        QCOMPARE(d->LowerWt->text(), QStringLiteral("22"));
        QCOMPARE(d->VetCom->toPlainText(), QStringLiteral("None"));
        QCOMPARE(d->CurrWt->text(), QStringLiteral("Unavailable"));
        QVERIFY(!d->CurrWt->isEnabled());
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!d->Units[i]->isEnabled());
            QCOMPARE(d->Units[i]->isChecked(), i == 2); // "lb"
        }
        QCOMPARE(App().CurrCaseNo, QString::number(w.rex));
        QCOMPARE(App().CurrSpecies, QStringLiteral("Dog"));
        QCOMPARE(App().CurrBreed, QStringLiteral("Beagle"));
        QCOMPARE(App().CurrSex, QStringLiteral("Male"));
    }

    void updateRewritesTheDetailsAndReopensTheCase()
    {
        World w;
        const QSqlRecord before = w.row(w.rex);
        CaseDetails *d = w.edit();
        const QString recentBefore = w.recent();
        d->SSurname->setText(QStringLiteral("Smythe"));
        d->TelNo->setText(QStringLiteral("555 0199"));
        d->SSex->setEditText(QStringLiteral("Male Neutered"));
        d->BBreedK9->setEditText(QStringLiteral("Basset"));
        d->DOB->setText(QStringLiteral("03-Mar-2019"));
        d->UpperWt->setText(QStringLiteral("27.5"));
        d->LowerWt->setText(QStringLiteral("23"));
        d->VetCom->setPlainText(QStringLiteral("Diet from May"));
        // Another window makes another case current meanwhile.
        App().CurrCaseNo = QString::number(w.tom);
        QTest::mouseClick(d->UUpdate, Qt::LeftButton);
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(w.prompt.count(), 0);

        const QSqlRecord after = w.row(w.rex);
        QCOMPARE(after.value("Surname").toString(), QStringLiteral("Smythe"));
        QCOMPARE(after.value("SurnameKey").toString(), QStringLiteral("smythe"));
        QCOMPARE(after.value("AnimalName").toString(), QStringLiteral("Rex"));
        QCOMPARE(after.value("Tel No").toString(), QStringLiteral("555 0199"));
        QCOMPARE(after.value("Species").toString(), QStringLiteral("Dog"));
        QCOMPARE(after.value("Sex").toString(), QStringLiteral("Male Neutered"));
        QCOMPARE(after.value("Breed").toString(), QStringLiteral("Basset"));
        QCOMPARE(after.value("DOB").toString(), QStringLiteral("2019-03-03"));
        QCOMPARE(after.value("Units").toString(), QStringLiteral("lb"));
        QCOMPARE(after.value("UpperWt").toDouble(), 27.5);
        QCOMPARE(after.value("LowerWt").toDouble(), 23.0);
        QCOMPARE(after.value("Vet Comments").toString(), QStringLiteral("Diet from May"));
        // Never touched by an edit.
        for (const char *field : {"CaseNo", "CurrentWt", "Graph Data", "Graph Data Undo", "Last Weighed",
                                  "Last Weighed Undo", "LinkedRecNo", "Active", "Aged", "Diet Recommend"})
            QVERIFY2(after.value(field) == before.value(field), field);

        // The case opens again, with the new names and no recent-cases push.
        QTRY_VERIFY(!CaseDetails::instance());
        QCOMPARE(w.windows(), 1);
        auto *doc = qobject_cast<frmDocument *>(w.frame.activeChild());
        QVERIFY(doc);
        QCOMPARE(doc->windowTitle(), QStringLiteral("Case# %1, Rex Smythe").arg(w.rex));
        QCOMPARE(doc->Data1->recordset().field("CaseNo").toInt(), w.rex);
        QCOMPARE(w.recent(), recentBefore);
        QCOMPARE(App().CurrCaseNo, QString::number(w.rex));
    }

    void breedAndUnitsAsStored_data()
    {
        QTest::addColumn<QString>("storedUnits");
        QTest::addColumn<QString>("newSpecies");
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
        QTest::newRow("a dog weighed in oz keeps its unit") << "oz"
                                                            << "Dog"
                                                            << "oz"
                                                            << "Beagle";
    }
    void breedAndUnitsAsStored()
    {
        QFETCH(QString, storedUnits);
        QFETCH(QString, newSpecies);
        QFETCH(QString, units);
        QFETCH(QString, breed);
        World w;
        ClinicDb::exec(w.env.db(), QStringLiteral("UPDATE [Clients] SET [Units] = ? WHERE [CaseNo] = ?"),
                       {storedUnits, w.rex});
        CaseDetails *d = w.edit();
        QCOMPARE(d->Units[0]->isChecked(), units == QLatin1String("kg"));
        d->SSpecies->setEditText(newSpecies);
        d->UUpdate_Click();
        FW_VERIFY_PROMPTS(w.prompt);
        QCOMPARE(w.row(w.rex).value("Units").toString(), units);
        QCOMPARE(w.row(w.rex).value("Breed").toString(), breed);
    }

    void updateRefusesIncompleteDetails_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        const QString incomplete = QStringLiteral("Data incomplete. Please enter data at the cursor.");
        const int excl = int(Prompt::Icon::Exclamation);
        QTest::newRow("telephone emptied") << "TelNo"
                                           << "" << incomplete << excl;
        QTest::newRow("surname emptied") << "SSurname"
                                         << "" << incomplete << excl;
        QTest::newRow("breed emptied") << "BBreedK9"
                                       << "" << incomplete << excl;
        QTest::newRow("comments emptied") << "VetCom"
                                          << "" << incomplete << excl;
        QTest::newRow("no date of birth") << "DOB"
                                          << ""
                                          << "You must enter an age or DOB" << excl;
        QTest::newRow("upper weight no number")
            << "UpperWt"
            << "abc"
            << "The upper weight must be a number more than 0" << int(Prompt::Icon::Critical);
        QTest::newRow("lower weight zero")
            << "LowerWt"
            << "0"
            << "The lower weight must be a number more than 0" << int(Prompt::Icon::Critical);
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
        d->SSurname->setText(QStringLiteral("Smythe"));
        QWidget *control = d->findChild<QWidget *>(field);
        QVERIFY(control);
        if (auto *e = qobject_cast<QLineEdit *>(control))
            e->setText(value);
        else if (auto *c = qobject_cast<QComboBox *>(control))
            c->setEditText(value);
        else if (auto *t = qobject_cast<QPlainTextEdit *>(control))
            t->setPlainText(value);
        else if (auto *l = qobject_cast<QLabel *>(control))
            l->setText(value);
        d->UUpdate_Click();
        QCOMPARE(d->focusWidget(), field == QLatin1String("DOB") ? static_cast<QWidget *>(d->CalcAge) : control);
        QCOMPARE(w.prompt.count(), 1);
        QCOMPARE(w.prompt.last().text, message);
        QCOMPARE(int(w.prompt.last().icon), icon);
        QCOMPARE(w.prompt.last().title.isEmpty() ? kTitle : w.prompt.last().title, kTitle);
        // Nothing stored, the edit goes on, no case window opens.
        QCOMPARE(w.row(w.rex), before);
        QCOMPARE(CaseDetails::instance(), d);
        QCOMPARE(w.windows(), 0);
    }

    void cancelStoresNothingAndLeavesTheCaseClosed()
    {
        World w;
        const QSqlRecord before = w.row(w.rex);
        CaseDetails *d = w.edit();
        d->SSurname->setText(QStringLiteral("Smythe"));
        QTest::mouseClick(d->CCancel, Qt::LeftButton);
        QTRY_VERIFY(!CaseDetails::instance());
        QCOMPARE(w.row(w.rex), before);
        QCOMPARE(w.windows(), 0);
        FW_VERIFY_PROMPTS(w.prompt);
    }

    void rowChangedOrDeletedDuringTheEdit_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("weighed elsewhere") << false;
        QTest::newRow("deleted elsewhere") << true;
    }
    void rowChangedOrDeletedDuringTheEdit()
    {
        QFETCH(bool, deleted);
        World w;
        CaseDetails *d = w.edit();
        d->SSurname->setText(QStringLiteral("Smythe"));
        if (deleted)
            ClinicDb::exec(w.env.db(), QStringLiteral("DELETE FROM [Clients] WHERE [CaseNo] = ?"), {w.rex});
        else
            ClinicDb::exec(w.env.db(), QStringLiteral("UPDATE [Clients] SET [Graph Data] = ? WHERE [CaseNo] = ?"),
                           {QStringLiteral("25.5;25.1;24.8;24.6;"), w.rex});
        d->UUpdate_Click();
        QCOMPARE(w.prompt.count(), 1);
        QCOMPARE(w.prompt.last().text,
                 FwError::standardDescription(deleted ? ErrNo::RowDeleted : ErrNo::WriteConflict));
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
        if (!deleted) {
            // The weighing made elsewhere stays, and so does the old surname.
            QCOMPARE(w.row(w.rex).value("Graph Data").toString(), QStringLiteral("25.5;25.1;24.8;24.6;"));
            QCOMPARE(w.row(w.rex).value("Surname").toString(), QStringLiteral("Smith"));
        } else {
            QVERIFY(w.row(w.rex).isEmpty());
        }
        QCOMPARE(CaseDetails::instance(), d);
        QCOMPARE(w.windows(), 0);
    }

    void theCommandWithoutACaseWindow()
    {
        World w;
        w.frame.mnuEditCaseDet_Click();
        QCOMPARE(w.prompt.count(), 1);
        QCOMPARE(w.prompt.last().text, QStringLiteral("No document open to edit case details!"));
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::Critical);
        QVERIFY(!CaseDetails::instance());
    }

    void theCommandOnACaseDeletedMeanwhile()
    {
        World w;
        w.open(w.rex, "Rex", "Smith");
        ClinicDb::exec(w.env.db(), QStringLiteral("DELETE FROM [Clients] WHERE [CaseNo] = ?"), {w.rex});
        w.frame.mnuEditCaseDet_Click();
        QCOMPARE(w.prompt.count(), 1);
        QCOMPARE(w.prompt.last().text, FwError::standardDescription(ErrNo::RowDeleted));
        QCOMPARE(w.prompt.last().icon, Prompt::Icon::None);
        QVERIFY(w.prompt.last().title.isEmpty()); // the program's own title
        // Nothing happened: the case window stays, no details window.
        QVERIFY(!CaseDetails::instance());
        QCOMPARE(w.windows(), 1);
    }

    void theCommandWhileANewCaseIsEntered()
    {
        World w;
        w.open(w.rex, "Rex", "Smith");
        w.frame.mnuFileNew_Click();
        CaseDetails *entry = CaseDetails::instance();
        QVERIFY(entry);
        entry->AddNewRec_Click();
        const qint64 reserved = entry->reservedCaseNo();
        w.frame.mnuEditCaseDet_Click();
        // The entry keeps its number and texts; the case window stays open.
        QCOMPARE(CaseDetails::instance(), entry);
        QCOMPARE(entry->mode(), CaseDetails::Mode::NewCase);
        QCOMPARE(entry->reservedCaseNo(), reserved);
        QCOMPARE(entry->SSurname->text(), QStringLiteral("Surname?"));
        QCOMPARE(w.windows(), 1);
        FW_VERIFY_PROMPTS(w.prompt);
    }
};

FW_TEST(CaseEditTest)
#include "tst_CaseEdit.moc"
