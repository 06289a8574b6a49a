// The diet picker as the user meets it: the lists by species, condition and
// name, a clicked diet handed back on Return, Protect Data, and the
// practice's own diets added on Update only and deleted from the list's menu.
#include "diets/DietCatalogue.h"
#include "diets/fmDiets.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/state/AppState.h"
#include "platform/text/NumberText.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTreeWidget>
#include <optional>

namespace {

const QString kEmpty = "No current record.";
const QString kInvalidKey = "Not a valid key stroke to search upon!";

QString box(const QString &text, Prompt::Icon icon, const QString &title = Prompt::kTitle,
            Prompt::Buttons buttons = Prompt::Buttons::OK)
{
    return QString("%1|%2|%3|%4").arg(text).arg(int(icon)).arg(int(buttons)).arg(title);
}

struct World {
    TestEnv env;
    ScriptedPrompt prompt;
    QObject requester;
    QPointer<fmDiets> w;
    std::optional<PickedDiet> picked;

    ~World() { delete w.data(); }

    /// What the calculator's diet button does, with show() for exec().
    void open(const QString &species)
    {
        w = new fmDiets(species);
        w->setReceiver(&requester, [this](const PickedDiet &d) { picked = d; });
        BindToClinicDB(*w->Data1);
        w->LoadListSpecies_Click();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    template <typename T> T *get(const QString &name) const
    {
        T *c = w->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    QListWidget *list() const { return get<QListWidget>("DietListing"); }
    QStringList names() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    void clickName(const QString &name, Qt::MouseButton button = Qt::LeftButton)
    {
        const QList<QListWidgetItem *> items = list()->findItems(name, Qt::MatchExactly);
        QVERIFY2(!items.isEmpty(), qPrintable(name));
        list()->scrollToItem(items.first());
        QTest::mouseClick(list()->viewport(), button, Qt::NoModifier, list()->visualItemRect(items.first()).center());
    }
    QTreeWidgetItem *node(int index) const
    {
        auto *tree = get<QTreeWidget>("TreeView1");
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toInt() == index)
                return *it;
        return nullptr;
    }
    void clickNode(int index)
    {
        auto *tree = get<QTreeWidget>("TreeView1");
        QTreeWidgetItem *item = node(index);
        for (QTreeWidgetItem *p = item->parent(); p; p = p->parent())
            tree->expandItem(p);
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(item).center());
    }
    /// A click on the check box itself (the widget is wider than its box and caption).
    void toggleProtection()
    {
        auto *check = get<QCheckBox>("Protected");
        QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, QPoint(8, check->height() / 2));
    }
    void click(const QString &button) { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    QStringList boxes() const
    {
        QStringList out;
        for (const ShownBox &b : prompt.shown())
            out << QString("%1|%2|%3|%4").arg(b.text).arg(int(b.icon)).arg(int(b.buttons)).arg(b.title);
        return out;
    }
    int ownRows() const { return ClinicDb::scalar(env.db(), "SELECT COUNT(*) FROM [Diets Added]").toInt(); }
    QVariant catalogueField(const QString &name, const QString &field) const
    {
        return ClinicDb::scalar(env.db(), QString("SELECT [%1] FROM [Diets] WHERE [Generic] = ?").arg(field), {name});
    }
};

} // namespace

class fmDietsTest : public QObject {
    Q_OBJECT

private slots:
    void opensForItsSpeciesWithTheTreeCollapsed()
    {
        World s;
        DietCatalogue(s.env.db()).add([] {
            Diet d;
            d.generic = "Canine Practice Own";
            return d;
        }());
        s.open("canine");
        const QStringList names = s.names();
        QCOMPARE(names.size(), 27);
        for (const QString &name : names)
            QVERIFY2(name.startsWith("Canine") && name != "Canine Practice Own", qPrintable(name));
        QCOMPARE(s.w->windowTitle(), QStringLiteral("Diets"));

        auto *tree = s.get<QTreeWidget>("TreeView1");
        QCOMPARE(tree->topLevelItemCount(), 16);
        int nodes = 0, pictures = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            ++nodes;
            QVERIFY(!(*it)->isExpanded());
            pictures += (*it)->icon(0).isNull() ? 0 : 1;
            QCOMPARE(!(*it)->icon(0).isNull(), (*it)->parent() == nullptr);
        }
        QCOMPARE(nodes, 95);
        QCOMPARE(pictures, 16);
        QCOMPARE(s.node(86)->text(0), QStringLiteral("Prevention  + Obese"));
        QCOMPARE(s.node(86)->parent()->text(0), QStringLiteral("Struvite"));

        QVERIFY(s.get<QCheckBox>("Protected")->isChecked());
        QVERIFY(!s.get<QLineEdit>("Narrower")->isVisible());
        QVERIFY(!s.get<QLineEdit>("DietName")->isVisible());
        QVERIFY(!s.get<QPushButton>("UpdateDiet")->isVisible());
        QCOMPARE(s.get<QPushButton>("LocateMode")->text(), QStringLiteral("Search By Die&t"));
        FW_VERIFY_PROMPTS(s.prompt);
    }

    void conditionNarrowsAndAnEmptyNodeSaysSo()
    {
        World s;
        s.open("canine");
        s.clickNode(67); // Renal
        QCOMPARE(s.names(), (QStringList{"Canine Early Renal Support Dry", "Canine Renal Support"}));
        QCOMPARE(s.prompt.count(), 0);

        s.clickNode(16); // Hyperthyroidism: a cat's condition
        QVERIFY(s.names().isEmpty());
        QCOMPARE(s.boxes(), QStringList{box(kEmpty, Prompt::Icon::Information)});

        // A node without a code in the index is reported; the list stays.
        s.clickNode(67);
        ClinicDb::exec(s.env.db(), "DELETE FROM [Category Codes Diets] WHERE [Node Index] = 68");
        s.prompt.clear();
        s.clickNode(68);
        QCOMPARE(s.names().size(), 2);
        QCOMPARE(s.prompt.count(), 1);
        QCOMPARE(s.prompt.last().icon, Prompt::Icon::Critical);
        QVERIFY(s.prompt.last().text.contains("Early"));
        FW_VERIFY_PROMPTS(s.prompt);
    }

    void nameSearchFollowsTheBox()
    {
        World s;
        s.open("canine");
        s.click("LocateMode");
        auto *box = s.get<QLineEdit>("Narrower");
        QVERIFY(box->isVisible());
        QVERIFY(!s.get<QTreeWidget>("TreeView1")->isVisible());
        QCOMPARE(s.get<QPushButton>("LocateMode")->text(), QStringLiteral("Search By C&ondition"));

        QTest::keyClicks(box, "ren");
        QCOMPARE(s.names(), (QStringList{"Canine Early Renal Support Dry", "Canine Renal Support"}));

        // A selection typed over: the list follows the whole new text.
        box->selectAll();
        QTest::keyClicks(box, "hep");
        QCOMPARE(s.names(), QStringList{"Canine Hepatic Support"});

        // Typed in the middle, not at the end: "hep" becomes "hepa".
        box->setCursorPosition(3);
        QTest::keyClick(box, Qt::Key_A);
        QCOMPARE(box->text(), QStringLiteral("hepa"));
        QCOMPARE(s.names(), QStringList{"Canine Hepatic Support"});

        // Paste, and Delete at the start.
        box->selectAll();
        QApplication::clipboard()->setText("Cardiac");
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("Cardiac"));
        QCOMPARE(s.names(), (QStringList{"Canine Cardiac Support", "Canine Early Cardiac Dry"}));
        box->setCursorPosition(0);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("rdiac"));
        QCOMPARE(s.names().size(), 2);

        // A refused key: the message, and the list stays; the key itself
        // still reaches the box, so Ctrl+A selects its text.
        QCOMPARE(s.prompt.count(), 0);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(s.boxes(), (QStringList{box_(kInvalidKey), box_(kInvalidKey), box_(kInvalidKey)}));
        QCOMPARE(box->text(), QStringLiteral("rdiac"));
        QCOMPARE(box->selectedText(), QStringLiteral("rdiac"));
        QCOMPARE(s.names().size(), 2);
        QVERIFY(s.w->isVisible());

        // Emptying the box lists the whole species again, never the other.
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(s.names().size(), 27);
        FW_VERIFY_PROMPTS(s.prompt);
    }

    void awkwardCharactersFindNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("quote") << "\"";
        QTest::newRow("apostrophe") << "'";
        QTest::newRow("percent") << "%";
        QTest::newRow("underscore") << "_";
        QTest::newRow("bracket") << "[";
    }
    void awkwardCharactersFindNothing()
    {
        QFETCH(QString, typed);
        World s;
        s.open("feline");
        s.click("LocateMode");
        QTest::keyClicks(s.get<QLineEdit>("Narrower"), typed);
        QVERIFY(s.names().isEmpty());
        QCOMPARE(s.boxes(), QStringList{box(kEmpty, Prompt::Icon::Information)});
        FW_VERIFY_PROMPTS(s.prompt);
    }

    void returnHandsBackTheClickedDiet()
    {
        World s;
        s.open("canine");
        s.click("DryBut"); // nothing clicked yet
        QCOMPARE(s.boxes(), QStringList{box("You have not selected a diet to work with. If you do not wish to select "
                                            "a diet then click upon the cancel button.",
                                            Prompt::Icon::Critical)});
        QVERIFY(s.w->isVisible());
        QVERIFY(!s.picked);

        const QString name = "Canine Renal Support";
        s.clickName(name);
        QCOMPARE(s.w->windowTitle(), name);
        QCOMPARE(s.get<QLineEdit>("MEDry")->text(), s.catalogueField(name, "ME Dry").toString());

        // A new list forgets the click.
        s.clickNode(67);
        s.prompt.clear();
        s.click("DryBut");
        QCOMPARE(s.prompt.count(), 1);
        QVERIFY(!s.picked);

        s.clickName(name);
        s.click("DryBut");
        QVERIFY(s.picked);
        QCOMPARE(s.picked->DietSelected, name);
        QCOMPARE(s.picked->MEDryText, NumText::Plain(s.catalogueField(name, "ME Dry").toDouble()));
        QCOMPARE(s.picked->MEPerCup, NumText::Plain(s.catalogueField(name, "KCal per cup dry").toDouble()));
        QCOMPARE(s.picked->MECanText, NumText::Plain(s.catalogueField(name, "ME Can").toDouble()));
        QCOMPARE(s.picked->GmPerCan, NumText::Plain(s.catalogueField(name, "Form Can").toDouble()));
        QVERIFY(!s.picked->MEDryText.startsWith(' '));
        QVERIFY(!s.w->isVisible());
        QCOMPARE(s.w->result(), int(QDialog::Accepted));
        FW_VERIFY_PROMPTS(s.prompt);
    }

    void cancelHandsBackNothing()
    {
        World s;
        s.open("feline");
        s.clickName("Feline Renal Support");
        s.click("CCancel");
        QVERIFY(!s.w->isVisible());
        QVERIFY(!s.picked);
        QCOMPARE(s.w->result(), int(QDialog::Rejected));
    }

    void ownDietIsStoredOnUpdateOnly()
    {
        World s;
        s.open("feline");
        s.click("AddDiet");
        QVERIFY(s.w->addMode());
        QVERIFY(!s.list()->isVisible());
        QVERIFY(!s.get<QPushButton>("DryBut")->isVisible());
        QVERIFY(s.get<QLabel>("DietNameLabel")->isVisible());
        QCOMPARE(s.w->palette().color(QPalette::Window), QColor(0xC0, 0, 0));
        QCOMPARE(s.get<QLineEdit>("MEDryAdded")->displayText(), QStringLiteral("___._"));
        QCOMPARE(s.ownRows(), 0);

        QTest::keyClicks(s.get<QLineEdit>("DietNameAdded"), "Feline Practice Special");
        QCOMPARE(s.w->windowTitle(), QStringLiteral("Feline Practice Special"));
        QTest::keyClicks(s.get<QLineEdit>("MEDryAdded"), "365.5");
        // A click beyond the empty places of the mask still types into them.
        auto *canned = s.get<QLineEdit>("MECanAdded");
        QTest::mouseClick(canned, Qt::LeftButton, Qt::NoModifier, QPoint(canned->width() - 4, canned->height() / 2));
        QTest::keyClicks(canned, "95.5");
        QTest::keyClicks(s.get<QLineEdit>("KCalPerCupAdded"), "x3y40"); // letters are refused
        QTest::keyClicks(s.get<QLineEdit>("CannedAsAdded"), "85");
        QTest::keyClicks(s.get<QPlainTextEdit>("IndicationsAdded"), "Our own");
        s.click("UpdateDiet");

        QVERIFY(!s.w->addMode());
        QCOMPARE(s.w->ListAdded, qint16(-1));
        QCOMPARE(s.names(), QStringList{"Feline Practice Special"});
        QVERIFY(s.get<QTreeWidget>("TreeView1")->isVisible());
        QVERIFY(!s.get<QLineEdit>("DietName")->isVisible());
        QCOMPARE(s.ownRows(), 1);
        QSqlQuery q = ClinicDb::exec(s.env.db(), "SELECT [ME Dry], [ME Can], [KCal per cup dry], [Form Dry], "
                                                 "[Form Can], [Indications] FROM [Diets Added]");
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toDouble(), 365.5);
        QCOMPARE(q.value(1).toDouble(), 95.5);
        QCOMPARE(q.value(2).toDouble(), 340.0);
        QVERIFY(!q.value(3).isNull()); // an empty box stores 0
        QCOMPARE(q.value(3).toDouble(), 0.0);
        QCOMPARE(q.value(4).toDouble(), 85.0);
        QCOMPARE(q.value(5).toString(), QStringLiteral("Our own"));
        q.finish();

        // Under "Added" of the tree too.
        s.clickNode(1);
        s.clickNode(91);
        QCOMPARE(s.names(), QStringList{"Feline Practice Special"});

        // The same name again, in other letters: refused, and still in add mode
        // with what was typed.
        s.click("AddDiet");
        QTest::keyClicks(s.get<QLineEdit>("DietNameAdded"), "FELINE practice special");
        QTest::keyClicks(s.get<QLineEdit>("MEDryAdded"), "12.5");
        s.click("UpdateDiet");
        QCOMPARE(s.prompt.last().text, QStringLiteral("This Diet name already exits, please choose another name."));
        QCOMPARE(s.prompt.last().icon, Prompt::Icon::Critical);
        QVERIFY(s.w->addMode());
        QCOMPARE(s.get<QLineEdit>("MEDryAdded")->text(), QStringLiteral("12.5"));
        QCOMPARE(s.ownRows(), 1);

        // A name without the species word is refused before anything is stored.
        s.prompt.clear();
        s.get<QLineEdit>("DietNameAdded")->setText("Practice Special");
        s.click("UpdateDiet");
        QCOMPARE(s.boxes(), QStringList{box("The new diet's name must contain the word, Canine or Feline",
                                            Prompt::Icon::Critical)});
        QVERIFY(s.get<QLineEdit>("DietNameAdded")->hasFocus());
        QCOMPARE(s.ownRows(), 1);
        FW_VERIFY_PROMPTS(s.prompt);
    }

    // The energy boxes take the digits 0 to 9 only: digits of another script
    // would be shown and stored as 0.
    void ownDietStoresWhatItsBoxesShow()
    {
        World s;
        s.open("feline");
        s.click("AddDiet");
        QTest::keyClicks(s.get<QLineEdit>("DietNameAdded"), "Feline Practice Special");
        auto *dry = s.get<QLineEdit>("MEDryAdded");
        auto *canned = s.get<QLineEdit>("MECanAdded");
        typeText(dry, QString::fromUtf8("١٢٣.٤"));
        typeText(canned, QString::fromUtf8("९५"));
        QCOMPARE(dry->displayText(), QStringLiteral("___._"));
        QCOMPARE(canned->displayText(), QStringLiteral("___._"));
        QTest::keyClick(dry, Qt::Key_Home); // the point typed moved past the mask's point
        QTest::keyClicks(dry, "123.4");
        QTest::keyClicks(canned, "95");
        s.click("UpdateDiet");
        QCOMPARE(s.ownRows(), 1);
        QSqlQuery q = ClinicDb::exec(s.env.db(), "SELECT [ME Dry], [ME Can] FROM [Diets Added]");
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toDouble(), 123.4);
        QCOMPARE(q.value(1).toDouble(), 95.0);
        q.finish();
        FW_VERIFY_PROMPTS(s.prompt);
    }

    void closingInAddModeStoresNothing()
    {
        World s;
        s.open("feline");
        s.click("AddDiet");
        QTest::keyClicks(s.get<QLineEdit>("DietNameAdded"), "Feline Practice Special");
        QTest::keyClicks(s.get<QLineEdit>("MEDryAdded"), "365.5");
        s.w->close();
        QVERIFY(!s.w->isVisible());
        QCOMPARE(s.ownRows(), 0);
        FW_VERIFY_PROMPTS(s.prompt);
    }

    void deleteAsksAndRemovesOwnDietsOnly()
    {
        World s;
        DietCatalogue catalogue(s.env.db());
        for (const char *name : {"Feline Practice Special", "Canine Practice Special"}) {
            Diet d;
            d.generic = name;
            catalogue.add(d);
        }
        s.open("feline");
        auto *del = s.w->findChild<QAction *>("DeleteCase");

        // A shipped diet cannot be deleted.
        s.clickName("Feline Renal Support", Qt::RightButton);
        QCOMPARE(s.w->windowTitle(), QStringLiteral("Feline Renal Support"));
        del->trigger();
        QCOMPARE(s.boxes(),
                 QStringList{box("You can only delete the diets you have added", Prompt::Icon::Information)});

        // A right-click selects and shows the diet it points at first.
        s.clickNode(91);
        QCOMPARE(s.names(), (QStringList{"Canine Practice Special", "Feline Practice Special"}));
        s.clickName("Canine Practice Special");
        s.clickName("Feline Practice Special", Qt::RightButton);
        QCOMPARE(s.w->windowTitle(), QStringLiteral("Feline Practice Special"));

        const QString question = box("Are you sure you want to delete the diet 'Feline Practice Special' from the "
                                     "database?",
                                     Prompt::Icon::Question, "Deletion of Record", Prompt::Buttons::YesNo);
        s.prompt.clear();
        s.prompt.answer(Prompt::Answer::No);
        del->trigger();
        QCOMPARE(s.boxes(), (QStringList{question, box("The record for 'Feline Practice Special' remains intact",
                                                       Prompt::Icon::Information, "No Deletion")}));
        QCOMPARE(s.ownRows(), 2);

        s.prompt.clear();
        s.prompt.answer(Prompt::Answer::Yes);
        del->trigger();
        QCOMPARE(s.boxes(),
                 (QStringList{question, box("Deletion completed.", Prompt::Icon::Information, "Deletion Confirmed")}));
        QCOMPARE(s.ownRows(), 1);
        QCOMPARE(s.names(), QStringList{"Canine Practice Special"});
        QCOMPARE(s.w->ListAdded, qint16(-1));
        FW_VERIFY_PROMPTS(s.prompt);
    }

    void protectDataBlocksTypingAndPaste()
    {
        World s;
        s.open("canine");
        const QString name = "Canine Renal Support";
        s.clickName(name);
        const QString before = s.get<QLineEdit>("KCalPerCup")->text();
        QApplication::clipboard()->setText("999");
        for (const char *boxName : {"MEDry", "KCalPerCup", "CannedAs"}) {
            auto *e = s.get<QLineEdit>(boxName);
            e->setFocus();
            e->selectAll();
            QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClicks(e, "7");
        }
        QTest::keyClicks(s.get<QPlainTextEdit>("Indications"), "typed");
        QCOMPARE(s.get<QLineEdit>("KCalPerCup")->text(), before);
        QCOMPARE(s.get<QLineEdit>("MEDry")->text(), s.catalogueField(name, "ME Dry").toString());

        // Unprotected: the name box shows, and what is pasted is stored when
        // the diet is left.
        s.toggleProtection();
        QVERIFY(s.get<QLineEdit>("DietName")->isVisible());
        auto *cup = s.get<QLineEdit>("KCalPerCup");
        cup->setFocus();
        cup->selectAll();
        QTest::keyClick(cup, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(cup->text(), QStringLiteral("999"));
        s.clickName("Canine Hepatic Support");
        QCOMPARE(s.catalogueField(name, "KCal per cup dry").toDouble(), 999.0);
        FW_VERIFY_PROMPTS(s.prompt);
    }

    void aRenamedDietKeepsItsSpeciesWord()
    {
        World s;
        s.open("canine");
        const QString name = "Canine Renal Support";
        s.clickName(name);
        s.toggleProtection();
        auto *nameBox = s.get<QLineEdit>("DietName");
        nameBox->setFocus();
        nameBox->selectAll();
        QTest::keyClicks(nameBox, "Renal Special");
        const QString refusal = box("Diet name must contain the word, feline or canine", Prompt::Icon::Critical);

        // Leaving the box by Tab: told once, the focus comes back with the text selected.
        QTest::keyClick(nameBox, Qt::Key_Tab);
        QTRY_COMPARE(s.boxes(), QStringList{refusal});
        QVERIFY(nameBox->hasFocus());
        QCOMPARE(nameBox->selectedText(), QStringLiteral("Renal Special"));
        QVERIFY(!s.get<QCheckBox>("Protected")->isChecked());

        // Return does not store or hand back such a name.
        s.prompt.clear();
        s.click("DryBut");
        QTRY_COMPARE(s.boxes(), QStringList{refusal});
        QVERIFY(!s.picked);
        QCOMPARE(s.catalogueField(name, "Generic").toString(), name);

        // Corrected, it is stored and handed back.
        nameBox->setText("Canine Renal Special");
        s.click("DryBut");
        QVERIFY(s.picked);
        QCOMPARE(s.picked->DietSelected, QStringLiteral("Canine Renal Special"));
        QVERIFY(s.catalogueField("Canine Renal Special", "ME Dry").isValid());
        FW_VERIFY_PROMPTS(s.prompt);
    }

    // A typed name that cannot be stored does not hold the window: Cancel,
    // Escape and the title bar ask whether to drop it; No goes back to the
    // name, Yes closes with the stored name and keeps the rest of the typing.
    void aRefusedNameCanBeDroppedOnLeaving_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("title bar") << "title bar";
    }
    void aRefusedNameCanBeDroppedOnLeaving()
    {
        QFETCH(QString, leave);
        World s;
        s.open("canine");
        const QString name = "Canine Renal Support";
        s.clickName(name);
        s.toggleProtection();
        auto *indications = s.get<QPlainTextEdit>("Indications");
        indications->setFocus();
        indications->moveCursor(QTextCursor::End);
        QTest::keyClicks(indications, " Typed.");
        auto *nameBox = s.get<QLineEdit>("DietName");
        nameBox->setFocus();
        nameBox->selectAll();
        QTest::keyClicks(nameBox, "Renal Special");
        const auto leaveWindow = [&] {
            if (leave == "Cancel")
                s.click("CCancel");
            else if (leave == "Escape")
                QTest::keyClick(nameBox, Qt::Key_Escape);
            else
                s.w->close();
            QCoreApplication::processEvents();
        };
        const QString question = box("Diet name must contain the word, feline or canine.\n\nDiscard the name you "
                                     "typed and close the window? The diet keeps its name 'Canine Renal Support'.",
                                     Prompt::Icon::Question, Prompt::kTitle, Prompt::Buttons::YesNo);

        s.prompt.answer(Prompt::Answer::No);
        leaveWindow();
        QCOMPARE(s.boxes(), QStringList{question});
        QVERIFY(s.w->isVisible());
        QVERIFY(nameBox->hasFocus());
        QCOMPARE(nameBox->selectedText(), QStringLiteral("Renal Special"));

        s.prompt.clear();
        s.prompt.answer(Prompt::Answer::Yes);
        leaveWindow();
        QCOMPARE(s.boxes(), QStringList{question});
        QVERIFY(!s.w->isVisible());
        QVERIFY(!s.picked);
        QCOMPARE(s.catalogueField(name, "Generic").toString(), name);
        QVERIFY(s.catalogueField(name, "Indications").toString().endsWith(" Typed."));
        FW_VERIFY_PROMPTS(s.prompt);
    }

    void aDietGoneElsewhereIsReportedAndTheListRefills()
    {
        World s;
        DietCatalogue catalogue(s.env.db());
        for (const char *name : {"Feline Own One", "Feline Own Two"}) {
            Diet d;
            d.generic = name;
            catalogue.add(d);
        }
        s.open("feline");
        s.clickNode(91);
        ClinicDb::exec(s.env.db(), "DELETE FROM [Diets Added] WHERE [Generic] = 'Feline Own One'");
        s.clickName("Feline Own One");
        QCOMPARE(s.prompt.count(), 1);
        QVERIFY(s.prompt.last().text.contains("'Feline Own One' is no longer in the database"));
        QCOMPARE(s.names(), QStringList{"Feline Own Two"});
        QCOMPARE(s.w->windowTitle(), QStringLiteral("Diets"));

        // Changed elsewhere while typed into here: reported, not overwritten.
        s.clickName("Feline Own Two");
        s.toggleProtection();
        QTest::keyClicks(s.get<QPlainTextEdit>("Indications"), "ours");
        ClinicDb::exec(s.env.db(), "UPDATE [Diets Added] SET [Indications] = 'theirs'");
        s.prompt.clear();
        s.click("DryBut");
        QCOMPARE(s.boxes(), QStringList{box("The diet 'Feline Own Two' was changed at another workstation after it "
                                            "was shown here, so what you typed was not saved.",
                                            Prompt::Icon::Critical)});
        QVERIFY(!s.picked);
        QVERIFY(s.w->isVisible());
        QCOMPARE(s.names(), QStringList{"Feline Own Two"});
        QCOMPARE(ClinicDb::scalar(s.env.db(), "SELECT [Indications] FROM [Diets Added]").toString(),
                 QStringLiteral("theirs"));
        FW_VERIFY_PROMPTS(s.prompt);
    }

private:
    static QString box_(const QString &text) { return box(text, Prompt::Icon::Critical); }
};

FW_TEST(fmDietsTest)
#include "tst_fmDiets.moc"
