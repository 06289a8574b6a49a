// New-case entry: reserving the number, the field rules, the checks of Done,
// the row Done stores, the link modes, and that a reservation is never given
// out twice nor left behind.
#include "cases/CaseDetails.h"
#include "cases/frmDocument.h"
#include "platform/db/ClinicDb.h"
#include "platform/state/AppState.h"
#include "platform/text/Clock.h"
#include "shell/frmMain.h"
#include "support/CaseBuilder.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpontaneKeyEvent>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <memory>

class CaseDetailsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<ScriptedPrompt> prompt;

    static CaseDetails *openNewCase()
    {
        CaseDetails::NewCaseCommand(nullptr);
        return CaseDetails::instance();
    }

    // A reserved entry with every field filled validly (a dog in kg).
    static CaseDetails *filledEntry()
    {
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        control<QLineEdit>(w, "SSurname")->setText("Smith");
        control<QLineEdit>(w, "AnName")->setText("Rex");
        control<QComboBox>(w, "SSpecies")->setEditText("Dog");
        w->SSpecies_Click();
        control<QComboBox>(w, "BBreedK9")->setEditText("Labrador");
        control<QComboBox>(w, "SSex")->setEditText("Male");
        control<QLabel>(w, "DOB")->setText("10-Mar-2025");
        control<QLabel>(w, "AAge")->setText(" 1yrs  0mths  0wks");
        control<QLineEdit>(w, "UpperWt")->setText("14");
        control<QLineEdit>(w, "LowerWt")->setText("10");
        control<QLineEdit>(w, "CurrWt")->setText("12.5");
        return w;
    }

    int rowCount() const { return ClinicDb::scalar(env->db(), "SELECT COUNT(*) FROM [Clients]").toInt(); }

    QSqlRecord caseRow(qint64 caseNo) const
    {
        QSqlQuery q = ClinicDb::exec(env->db(), "SELECT * FROM [Clients] WHERE [CaseNo] = ?", {caseNo});
        return q.next() ? q.record() : QSqlRecord();
    }

    static frmDocument *openedCaseWindow()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *doc = qobject_cast<frmDocument *>(w))
                return doc;
        return nullptr;
    }

    static void sendKeyRelease(QWidget *w, Qt::Key key)
    {
        QKeyEvent e(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        prompt = std::make_unique<ScriptedPrompt>();
        Clock::setNow(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
    }

    void cleanup()
    {
        delete CaseDetails::instance();
        // Deleting a window deletes its own top-level children (list popups),
        // so hold them all by guarded pointers first.
        QList<QPointer<QWidget>> windows;
        for (QWidget *w : QApplication::topLevelWidgets())
            windows << w;
        for (const QPointer<QWidget> &w : windows)
            if (w && (qobject_cast<frmDocument *>(w) || qobject_cast<CaseDetails *>(w)))
                delete w.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        prompt.reset();
        env.reset();
    }

    void preparedWindowShowsOnlyItsButtons()
    {
        CaseDetails *w = openNewCase();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QString("New Case Details Entry Form"));
        QVERIFY(control<QPushButton>(w, "AddNewRec")->isVisible());
        QVERIFY(control<QPushButton>(w, "CCancel")->isVisible());
        QVERIFY(!control<QPushButton>(w, "Done")->isVisible());
        QVERIFY(!control<QPushButton>(w, "UUpdate")->isVisible());
        QVERIFY(!control<QLineEdit>(w, "SSurname")->isVisible());
        QVERIFY(!control<QPushButton>(w, "CalcAge")->isVisible());
        QVERIFY(control<QRadioButton>(w, "Units", 0)->isChecked());
        QCOMPARE(rowCount(), 0);
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void reservationTakesTheHighestNumberPlusOne_data()
    {
        QTest::addColumn<QList<int>>("existing");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty table") << QList<int>{} << 1;
        QTest::newRow("last case 41") << QList<int>{40, 41} << 42;
        QTest::newRow("highest not last") << QList<int>{41, 7} << 42;
    }

    void reservationTakesTheHighestNumberPlusOne()
    {
        QFETCH(QList<int>, existing);
        QFETCH(int, expected);
        for (int n : existing)
            ClinicDb::exec(env->db(), "INSERT INTO [Clients] ([CaseNo], [Surname]) VALUES (?, 'X')", {n});

        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        QCOMPARE(w->reservedCaseNo(), qint64(expected));
        QCOMPARE(w->windowTitle(), QString("New Case Details (To be Stored as Case number  %1)").arg(expected));
        const QSqlRecord r = caseRow(expected);
        QVERIFY(!r.isEmpty());
        QVERIFY(r.value("Surname").isNull());
        QVERIFY(r.value("Graph Data").isNull());
        QCOMPARE(rowCount(), existing.size() + 1);
        // App-wide current case is left to the windows that open cases.
        QVERIFY(App().CurrCaseNo.isEmpty());

        // The entry fields with their starting texts.
        QVERIFY(control<QLineEdit>(w, "SSurname")->isVisible() && control<QPushButton>(w, "Done")->isVisible());
        QVERIFY(!control<QPushButton>(w, "AddNewRec")->isVisible() && !control<QPushButton>(w, "CCancel")->isVisible());
        QCOMPARE(control<QLineEdit>(w, "SSurname")->text(), QString("Surname?"));
        QCOMPARE(w->focusWidget(), static_cast<QWidget *>(control<QLineEdit>(w, "SSurname")));
        QCOMPARE(control<QLineEdit>(w, "AnName")->text(), QString("Name?"));
        QCOMPARE(control<QLineEdit>(w, "TelNo")->text(), QString("01632 960418"));
        QCOMPARE(control<QPlainTextEdit>(w, "VetCom")->toPlainText(), QString("None"));
        QCOMPARE(control<QComboBox>(w, "SSpecies")->currentText(), QString("Species?"));
        QCOMPARE(control<QComboBox>(w, "BBreedFel")->currentText(), QString("Domestic Shorthair"));
        QCOMPARE(control<QComboBox>(w, "BBreedK9")->currentText(), QString("Cross Breed"));
        QCOMPARE(control<QComboBox>(w, "SSex")->currentText(), QString("Sex?"));
        QVERIFY(control<QComboBox>(w, "SSpecies")->findText("Cat") >= 0);
        QVERIFY(control<QComboBox>(w, "SSex")->findText("Female Spayed") >= 0);
        QVERIFY(control<QComboBox>(w, "BBreedK9")->count() > 0 && control<QComboBox>(w, "BBreedFel")->count() > 0);
        QCOMPARE(prompt->count(), 0);
    }

    void doneStoresTheDefaultsLeftInPlace()
    {
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        const qint64 caseNo = w->reservedCaseNo();
        control<QLabel>(w, "DOB")->setText("21-Feb-1997");
        control<QLineEdit>(w, "UpperWt")->setText("14");
        control<QLineEdit>(w, "LowerWt")->setText("10");
        control<QLineEdit>(w, "CurrWt")->setText("7.5");
        // The starting texts of names, species and sex say nothing about the
        // case: Done refuses them as it refuses an empty field.
        w->Done_Click();
        QCOMPARE(prompt->texts(), QStringList{"Data incomplete. Please enter data at the cursor."});
        QCOMPARE(w->focusWidget(), static_cast<QWidget *>(control<QLineEdit>(w, "SSurname")));
        QVERIFY(caseRow(caseNo).value("Graph Data").isNull());
        prompt->clear();
        control<QLineEdit>(w, "SSurname")->setText("Smith");
        control<QLineEdit>(w, "AnName")->setText("Pip");
        control<QComboBox>(w, "SSpecies")->setEditText("Rabbit");
        w->SSpecies_Click();
        control<QComboBox>(w, "SSex")->setEditText("Female");
        w->Done_Click();
        FW_VERIFY_PROMPTS(*prompt);

        const QSqlRecord r = caseRow(caseNo);
        QCOMPARE(r.value("Surname").toString(), QString("Smith"));
        QCOMPARE(r.value("SurnameKey").toString(), QString("smith"));
        QCOMPARE(r.value("AnimalName").toString(), QString("Pip"));
        QCOMPARE(r.value("Tel No").toString(), QString("01632 960418"));
        QCOMPARE(r.value("Species").toString(), QString("Rabbit"));
        QCOMPARE(r.value("Sex").toString(), QString("Female"));
        QCOMPARE(r.value("Breed").toString(), QString("-"));
        QCOMPARE(r.value("Units").toString(), QString("kg"));
        QCOMPARE(r.value("DOB").toString(), QString("1997-02-21"));
        QCOMPARE(r.value("UpperWt").toDouble(), 14.0);
        QCOMPARE(r.value("LowerWt").toDouble(), 10.0);
        QCOMPARE(r.value("CurrentWt").toDouble(), 7.5);
        QCOMPARE(r.value("Graph Data").toString(), QString("7.5;"));
        QCOMPARE(r.value("Graph Data Undo").toString(), QString("7.5;"));
        QCOMPARE(r.value("Last Weighed").toString(), QString("2026-03-10"));
        QCOMPARE(r.value("Last Weighed Undo").toString(), QString("2026-03-10"));
        QCOMPARE(r.value("Vet Comments").toString(), QString("None"));
        QVERIFY(r.value("LinkedRecNo").isNull());
        QCOMPARE(r.value("Active").toInt(), 1);

        // The window closed and the new case opened in a case window.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(CaseDetails::instance() == nullptr);
        QCOMPARE(App().CurrCaseNo, QString::number(caseNo));
        QCOMPARE(App().CurrAnimalName, QString("Pip"));
        QCOMPARE(App().CurrSurname, QString("Smith"));
        frmDocument *doc = openedCaseWindow();
        QVERIFY(doc);
        QCOMPARE(doc->windowTitle(), QString("Case# %1, Pip Smith").arg(caseNo));
        QCOMPARE(int(doc->NumWts()), 1);
        QCOMPARE(rowCount(), 1);
    }

    void aReservationTakenElsewhereIsStoredUnderAFreshNumber()
    {
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        const qint64 reserved = w->reservedCaseNo();
        // Meanwhile the bare reserved row is removed and its number used by
        // a case entered at another workstation.
        ClinicDb::exec(env->db(), "DELETE FROM [Clients] WHERE [CaseNo] = ?", {reserved});
        CaseBuilder().surname("Other").add();
        QCOMPARE(rowCount(), 1);
        control<QLineEdit>(w, "SSurname")->setText("Smith");
        control<QLineEdit>(w, "AnName")->setText("Rex");
        control<QComboBox>(w, "SSpecies")->setEditText("Rabbit");
        control<QComboBox>(w, "SSex")->setEditText("Male");
        control<QLabel>(w, "DOB")->setText("21-Feb-1997");
        control<QLineEdit>(w, "UpperWt")->setText("14");
        control<QLineEdit>(w, "LowerWt")->setText("10");
        control<QLineEdit>(w, "CurrWt")->setText("12");
        w->Done_Click();

        QCOMPARE(prompt->texts(), QStringList{QString("Case number %1 was taken meanwhile at another workstation, "
                                                      "so this case was stored as case number %2.")
                                                  .arg(reserved)
                                                  .arg(reserved + 1)});
        QCOMPARE(caseRow(reserved).value("Surname").toString(), QString("Other"));
        QCOMPARE(caseRow(reserved + 1).value("Surname").toString(), QString("Smith"));
        QCOMPARE(caseRow(reserved + 1).value("Graph Data").toString(), QString("12;"));
        QCOMPARE(rowCount(), 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(CaseDetails::instance() == nullptr);
        QCOMPARE(App().CurrCaseNo, QString::number(reserved + 1));
    }

    void tabFollowsTheScreenOrder()
    {
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        QCOMPARE(control<QLineEdit>(w, "SSurname")->nextInFocusChain(),
                 static_cast<QWidget *>(control<QLineEdit>(w, "AnName")));
        QCOMPARE(control<QLineEdit>(w, "AnName")->nextInFocusChain(),
                 static_cast<QWidget *>(control<QLineEdit>(w, "TelNo")));
    }

    void doneRefusesAndStoresNothing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");

        const QString incomplete = "Data incomplete. Please enter data at the cursor.";
        QTest::newRow("no surname") << "SSurname"
                                    << "" << incomplete << "SSurname";
        QTest::newRow("no name") << "AnName"
                                 << "" << incomplete << "AnName";
        QTest::newRow("no telephone") << "TelNo"
                                      << "" << incomplete << "TelNo";
        QTest::newRow("no species") << "SSpecies"
                                    << "" << incomplete << "SSpecies";
        QTest::newRow("surname of blanks") << "SSurname"
                                           << "   " << incomplete << "SSurname";
        QTest::newRow("comments of blanks") << "VetCom"
                                            << " \n " << incomplete << "VetCom";
        QTest::newRow("surname untouched") << "SSurname"
                                           << "Surname?" << incomplete << "SSurname";
        QTest::newRow("name untouched") << "AnName"
                                        << "Name?" << incomplete << "AnName";
        QTest::newRow("species untouched") << "SSpecies"
                                           << "Species?" << incomplete << "SSpecies";
        QTest::newRow("sex untouched") << "SSex"
                                       << "Sex?" << incomplete << "SSex";
        QTest::newRow("range back to front")
            << "LowerWt"
            << "14.5"
            << "The lower acceptable weight must not be more than the upper acceptable weight"
            << "LowerWt";
        QTest::newRow("dog without breed") << "BBreedK9"
                                           << "" << incomplete << "BBreedK9";
        QTest::newRow("cat without breed") << "cat"
                                           << "" << incomplete << "BBreedFel";
        QTest::newRow("no sex") << "SSex"
                                << "" << incomplete << "SSex";
        QTest::newRow("no upper weight") << "UpperWt"
                                         << "" << incomplete << "UpperWt";
        QTest::newRow("no comments") << "VetCom"
                                     << "" << incomplete << "VetCom";
        QTest::newRow("no date of birth") << "DOB"
                                          << ""
                                          << "You must enter an age or DOB for this new case. An estimate will do"
                                          << "CalcAge";
        QTest::newRow("dog in gm") << "Units(1)"
                                   << ""
                                   << "You must use 'lb' or 'kg' units for cats and dogs"
                                   << "Units(0)";
        QTest::newRow("dog in oz") << "Units(3)"
                                   << ""
                                   << "You must use 'lb' or 'kg' units for cats and dogs"
                                   << "Units(0)";
        QTest::newRow("upper weight no number") << "UpperWt"
                                                << "abc"
                                                << "The upper weight must be a number more than 0"
                                                << "UpperWt";
        QTest::newRow("lower weight negative") << "LowerWt"
                                               << "-1"
                                               << "The lower weight must be a number more than 0"
                                               << "LowerWt";
        QTest::newRow("current weight 0") << "CurrWt"
                                          << "0"
                                          << "The current weight must be a number more than 0"
                                          << "CurrWt";
        QTest::newRow("upper weight a digit too many") << "UpperWt"
                                                       << "99999"
                                                       << "The upper weight is too large: the largest weight a case "
                                                          "can hold is 9999.9"
                                                       << "UpperWt";
        QTest::newRow("current weight beyond any weight") << "CurrWt"
                                                          << "1e99"
                                                          << "The current weight is too large: the largest "
                                                             "weight a case can hold is 9999.9"
                                                          << "CurrWt";
    }

    void doneRefusesAndStoresNothing()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(QString, focus);

        CaseDetails *w = filledEntry();
        const qint64 caseNo = w->reservedCaseNo();
        if (field == "cat") {
            control<QComboBox>(w, "SSpecies")->setEditText("Cat");
            w->SSpecies_Click();
            control<QComboBox>(w, "BBreedFel")->setEditText(value);
        } else if (field.startsWith("Units(")) {
            w->findChild<QRadioButton *>(field)->setChecked(true);
        } else if (auto *e = w->findChild<QLineEdit *>(field)) {
            e->setText(value);
        } else if (auto *c = w->findChild<QComboBox *>(field)) {
            c->setEditText(value);
        } else if (auto *t = w->findChild<QPlainTextEdit *>(field)) {
            t->setPlainText(value);
        } else if (auto *l = w->findChild<QLabel *>(field)) {
            l->setText(value);
        }
        w->Done_Click();

        QCOMPARE(prompt->texts(), QStringList{message});
        QVERIFY(w->focusWidget());
        QCOMPARE(w->focusWidget()->objectName(), focus);
        QVERIFY(CaseDetails::instance() == w);
        QVERIFY(caseRow(caseNo).value("Graph Data").isNull());
        QVERIFY(!openedCaseWindow());
    }

    void dogInGmThenKgIsStored()
    {
        CaseDetails *w = filledEntry();
        const qint64 caseNo = w->reservedCaseNo();
        control<QRadioButton>(w, "Units", 1)->setChecked(true);
        w->Done_Click();
        QCOMPARE(prompt->count(), 1);
        control<QRadioButton>(w, "Units", 2)->setChecked(true);
        w->Done_Click();
        QCOMPARE(prompt->count(), 1);
        const QSqlRecord r = caseRow(caseNo);
        QCOMPARE(r.value("Units").toString(), QString("lb"));
        QCOMPARE(r.value("Breed").toString(), QString("Labrador"));
        QCOMPARE(r.value("Graph Data").toString(), QString("12.5;"));
    }

    void otherSpeciesHidesBreedsAndTakesAnyUnit()
    {
        CaseDetails *w = filledEntry();
        const qint64 caseNo = w->reservedCaseNo();
        control<QComboBox>(w, "SSpecies")->setEditText("Rabbit");
        w->SSpecies_Click();
        QVERIFY(!control<QComboBox>(w, "BBreedK9")->isVisible());
        QVERIFY(!control<QComboBox>(w, "BBreedFel")->isVisible());
        control<QRadioButton>(w, "Units", 1)->setChecked(true);
        w->Done_Click();
        FW_VERIFY_PROMPTS(*prompt);
        QCOMPARE(prompt->count(), 0);
        const QSqlRecord r = caseRow(caseNo);
        QCOMPARE(r.value("Breed").toString(), QString("-"));
        QCOMPARE(r.value("Units").toString(), QString("gm"));
    }

    void speciesChoiceShowsItsBreedList()
    {
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        // Choosing from the list, as the user does.
        control<QComboBox>(w, "SSpecies")->setCurrentIndex(control<QComboBox>(w, "SSpecies")->findText("Cat"));
        emit control<QComboBox>(w, "SSpecies")->activated(control<QComboBox>(w, "SSpecies")->currentIndex());
        QVERIFY(control<QComboBox>(w, "BBreedFel")->isVisible());
        QVERIFY(!control<QComboBox>(w, "BBreedK9")->isVisible());
        control<QComboBox>(w, "SSpecies")->setCurrentIndex(control<QComboBox>(w, "SSpecies")->findText("Dog"));
        emit control<QComboBox>(w, "SSpecies")->activated(control<QComboBox>(w, "SSpecies")->currentIndex());
        QVERIFY(control<QComboBox>(w, "BBreedK9")->isVisible());
        QVERIFY(!control<QComboBox>(w, "BBreedFel")->isVisible());
    }

    void breedBeforeSpeciesIsRefused()
    {
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        QCOMPARE(prompt->count(), 0); // filling the lists raises nothing
        QFocusEvent byTab(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(control<QComboBox>(w, "BBreedK9"), &byTab);
        QCOMPARE(prompt->texts(), QStringList{"You must first select a species"});
        QCOMPARE(int(prompt->last().icon), int(Prompt::Icon::Critical));
        QCOMPARE(w->focusWidget(), static_cast<QWidget *>(control<QComboBox>(w, "SSpecies")));
        // Focus coming back to the list when a box closes is not the user's move.
        QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(control<QComboBox>(w, "BBreedFel"), &back);
        QCOMPARE(prompt->count(), 1);
    }

    void lengthRules_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("message");
        QTest::newRow("surname") << "SSurname" << 30 << "The Surname must be 30 characters or less in length";
        QTest::newRow("animal") << "AnName" << 20 << "The animal's name must be 20 characters or less in length";
        QTest::newRow("telephone") << "TelNo" << 20 << "The Telephone number must be 20 characters or less in length";
    }

    void lengthRules()
    {
        QFETCH(QString, box);
        QFETCH(int, limit);
        QFETCH(QString, message);
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        auto *e = w->findChild<QLineEdit *>(box);
        // Entering a box selects its whole text, so typing replaces it.
        e->setText("old text");
        e->deselect();
        QFocusEvent byTab(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(e, &byTab);
        QCOMPARE(e->selectedText(), QString("old text"));
        e->clear();
        QTest::keyClicks(e, QString("abcdefghij").repeated(3).left(limit));
        QCOMPARE(prompt->count(), 0);
        QTest::keyClicks(e, "z");
        QCOMPARE(prompt->texts(), QStringList{message});
        QCOMPARE(int(prompt->last().icon), int(Prompt::Icon::Information));
        QCOMPARE(e->text(), QString("abcdefghij").repeated(3).left(limit));
        QCOMPARE(e->selectedText(), e->text());
    }

    void textThatArrivesOtherwiseIsHeldToo_data() { lengthRules_data(); }

    void textThatArrivesOtherwiseIsHeldToo()
    {
        QFETCH(QString, box);
        QFETCH(int, limit);
        QFETCH(QString, message);
        CaseDetails *w = filledEntry();
        const qint64 caseNo = w->reservedCaseNo();
        auto *e = w->findChild<QLineEdit *>(box);
        const QString long300 = QString("abcdefghij").repeated(30);

        // Pasted from the box's own menu: no key is released in the box.
        QApplication::clipboard()->setText(long300);
        e->clear();
        e->paste();
        QTRY_COMPARE(prompt->texts(), QStringList{message});
        QCOMPARE(e->text(), long300.left(limit));

        // Put there by the program: Done cuts it with the same message and
        // stores nothing yet.
        prompt->clear();
        e->setText(long300);
        w->Done_Click();
        QCOMPARE(prompt->texts(), QStringList{message});
        QCOMPARE(e->text(), long300.left(limit));
        QCOMPARE(w->focusWidget(), static_cast<QWidget *>(e));
        QVERIFY(caseRow(caseNo).value("Graph Data").isNull());
        // The next Done stores the text as cut.
        prompt->clear();
        w->Done_Click();
        FW_VERIFY_PROMPTS(*prompt);
        const char *field = box == "SSurname" ? "Surname" : box == "AnName" ? "AnimalName" : "Tel No";
        QCOMPARE(caseRow(caseNo).value(field).toString(), long300.left(limit));
    }

    void weightRules_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("message");
        QTest::newRow("upper") << "UpperWt"
                               << "The upper weight should contain 6 characters in length";
        QTest::newRow("lower") << "LowerWt"
                               << "The lower weight should contain 6 characters in length";
        QTest::newRow("current") << "CurrWt"
                                 << "The current weight should contain 6 characters in length";
    }

    void weightRules()
    {
        QFETCH(QString, box);
        QFETCH(QString, message);
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        auto *e = w->findChild<QLineEdit *>(box);
        QTest::keyClicks(e, "123.45");
        QCOMPARE(prompt->count(), 0);
        QTest::keyClicks(e, "6");
        QCOMPARE(prompt->texts(), QStringList{message});
        QCOMPARE(e->text(), QString("123.45"));
        QCOMPARE(e->selectedText(), QString("123.45"));

        // A text that is no number is kept, with a note without icon.
        prompt->clear();
        e->setText("12");
        QTest::keyClicks(e, "x");
        QCOMPARE(prompt->texts(), QStringList{"Numeric data only"});
        QCOMPARE(int(prompt->last().icon), int(Prompt::Icon::None));
        QCOMPARE(e->text(), QString("12x"));

        // An empty box is no number either (the last character deleted, or
        // the Tab key released in a box just entered).
        prompt->clear();
        e->clear();
        sendKeyRelease(e, Qt::Key_Tab);
        QCOMPARE(prompt->texts(), QStringList{"Numeric data only"});
    }

    void theKeyClosingAMessageDoesNotBringItBack()
    {
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        control<QLineEdit>(w, "CurrWt")->setText("12x");
        // Enter or Esc pressed in the message box: the release lands in the box.
        sendKeyRelease(control<QLineEdit>(w, "CurrWt"), Qt::Key_Return);
        sendKeyRelease(control<QLineEdit>(w, "CurrWt"), Qt::Key_Escape);
        QCOMPARE(prompt->count(), 0);
        // A key stroke in the box itself still runs the rule.
        QTest::keyClick(control<QLineEdit>(w, "CurrWt"), Qt::Key_End);
        QCOMPARE(prompt->texts(), QStringList{"Numeric data only"});
    }

    void closeBoxIsRefusedInEveryState()
    {
        CaseDetails *w = openNewCase();
        for (int state = 0; state < 2; ++state) {
            if (state == 1)
                w->AddNewRec_Click();
            prompt->clear();
            QCloseEvent e;
            QSpontaneKeyEvent::setSpontaneous(&e);
            QApplication::instance()->notify(w, &e);
            QVERIFY(!e.isAccepted());
            QCOMPARE(prompt->texts(),
                     QStringList{"You cannot close this window using the control box, please choose a command "
                                 "button."});
            QCOMPARE(int(prompt->last().icon), int(Prompt::Icon::Critical));
            QVERIFY(w->isVisible());
        }
        QCOMPARE(rowCount(), 1);
    }

    void escapeCancelsOnlyBeforeTheReservation()
    {
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(w->isVisible());
        QCOMPARE(rowCount(), 1);

        delete w;
        w = openNewCase();
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(rowCount(), 0);
        QCOMPARE(prompt->count(), 0);
    }

    void anAbandonedReservationIsRemoved()
    {
        ClinicDb::exec(env->db(), "INSERT INTO [Clients] ([CaseNo], [Surname]) VALUES (41, 'Jones')");
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        QCOMPARE(rowCount(), 2);
        w->unload(); // the program closes the entry
        QCOMPARE(rowCount(), 1);

        // Ending the program (the window destroyed) removes it too.
        w = openNewCase();
        w->AddNewRec_Click();
        QCOMPARE(w->reservedCaseNo(), qint64(42));
        delete w;
        QCOMPARE(rowCount(), 1);
        QVERIFY(!caseRow(41).isEmpty());
    }

    void aCompletedRowIsNeverRemoved()
    {
        // Another workstation completed the number meanwhile (it cannot
        // happen through this program, but the release must not touch it).
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        const qint64 caseNo = w->reservedCaseNo();
        ClinicDb::exec(env->db(), "UPDATE [Clients] SET [Surname] = 'Other' WHERE [CaseNo] = ?", {caseNo});
        w->unload();
        QCOMPARE(caseRow(caseNo).value("Surname").toString(), QString("Other"));
    }

    void newCaseWhileOpenBringsTheWindowForward()
    {
        CaseDetails *w = openNewCase();
        w->AddNewRec_Click();
        control<QLineEdit>(w, "SSurname")->setText("Half typed");
        QCOMPARE(openNewCase(), w);
        QCOMPARE(control<QLineEdit>(w, "SSurname")->text(), QString("Half typed"));
        QCOMPARE(rowCount(), 1);
    }

    void linkModes_data()
    {
        QTest::addColumn<QString>("linked");
        QTest::addColumn<QString>("hiddenText");
        QTest::addColumn<QVariant>("linkedRecNo");
        QTest::addColumn<QString>("linkRecNo");
        QTest::newRow("mode 0") << "0"
                                << "4711" << QVariant() << "";
        QTest::newRow("mode 1") << "1"
                                << "4711" << QVariant(4711) << "4711";
        QTest::newRow("mode 1, no number received") << "1"
                                                    << "Hidden Text" << QVariant() << "Hidden Text";
    }

    void linkModes()
    {
        QFETCH(QString, linked);
        QFETCH(QString, hiddenText);
        QFETCH(QVariant, linkedRecNo);
        QFETCH(QString, linkRecNo);
        App().Linked = linked;
        CaseDetails *w = openNewCase();
        if (linked == "1") {
            // Reserved at once; species and sex come from the other program.
            QVERIFY(w->reservedCaseNo() > 0);
            QVERIFY(!control<QPushButton>(w, "CalcAge")->isVisible());
            QCOMPARE(control<QComboBox>(w, "SSpecies")->currentText(), QString());
            QCOMPARE(control<QComboBox>(w, "SSex")->currentText(), QString());
            control<QComboBox>(w, "SSpecies")->setEditText("Cat");
            control<QComboBox>(w, "BBreedFel")->setEditText("Siamese");
            control<QComboBox>(w, "SSex")->setEditText("Female");
        } else {
            w->AddNewRec_Click();
            control<QComboBox>(w, "SSpecies")->setEditText("Cat");
            control<QComboBox>(w, "SSex")->setEditText("Female");
        }
        control<QLineEdit>(w, "SSurname")->setText("Adams");
        control<QLineEdit>(w, "AnName")->setText("Tom");
        const qint64 caseNo = w->reservedCaseNo();
        control<QLineEdit>(w, "HiddenText")->setText(hiddenText);
        control<QLabel>(w, "DOB")->setText("01-Jan-2020");
        control<QLineEdit>(w, "UpperWt")->setText("5");
        control<QLineEdit>(w, "LowerWt")->setText("4");
        control<QLineEdit>(w, "CurrWt")->setText("4.5");
        w->Done_Click();
        FW_VERIFY_PROMPTS(*prompt);
        QCOMPARE(prompt->count(), 0);
        const QSqlRecord r = caseRow(caseNo);
        QCOMPARE(r.value("Graph Data").toString(), QString("4.5;"));
        if (linkedRecNo.isNull())
            QVERIFY(r.value("LinkedRecNo").isNull());
        else
            QCOMPARE(r.value("LinkedRecNo").toLongLong(), linkedRecNo.toLongLong());
        QCOMPARE(App().LinkRecNo, linkRecNo);
    }

    void theFramesNewCaseCommandOpensTheEntry()
    {
        qint64 caseNo = 0;
        {
            frmMain frame;
            frame.findChild<QAction *>("mnuFileNew")->trigger();
            CaseDetails *w = CaseDetails::instance();
            QVERIFY(w && w->isVisible());
            QCOMPARE(w->parentWidget(), static_cast<QWidget *>(&frame));
            w->AddNewRec_Click();
            caseNo = w->reservedCaseNo();
            // The toolbar key and the menu again: the same entry, no new number.
            frame.tbToolBar_ButtonClick("New");
            frame.mnuFileNew_Click();
            QCOMPARE(CaseDetails::instance(), w);
            QCOMPARE(rowCount(), 1);

            control<QLineEdit>(w, "SSurname")->setText("Smith");
            control<QLineEdit>(w, "AnName")->setText("Rex");
            control<QComboBox>(w, "SSpecies")->setEditText("Rabbit");
            control<QComboBox>(w, "SSex")->setEditText("Male");
            control<QLabel>(w, "DOB")->setText("01-Jan-2020");
            control<QLineEdit>(w, "UpperWt")->setText("14");
            control<QLineEdit>(w, "LowerWt")->setText("10");
            control<QLineEdit>(w, "CurrWt")->setText("12");
            w->Done_Click();
            FW_VERIFY_PROMPTS(*prompt);
            const QString caption = QString("Case# %1, Rex Smith").arg(caseNo);
            QCOMPARE(frame.recentCaption(1), caption);
            QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
            QCOMPARE(frame.activeChild()->windowTitle(), caption);
        }
        // The completed case outlives the frame.
        QCOMPARE(caseRow(caseNo).value("Surname").toString(), QString("Smith"));
    }

    void linkModeTwoShowsNothing()
    {
        App().Linked = "2";
        QVERIFY(openNewCase() == nullptr);
        QCOMPARE(rowCount(), 0);
        QCOMPARE(prompt->count(), 0);
    }
};

FW_TEST(CaseDetailsTest)
#include "tst_CaseDetails.moc"
