// The case locator on a register that cannot be found (a share not mounted):
// the user is told once, and the search is off until the list can be loaded.
#include "cases/CaseListModel.h"
#include "cases/fmLocator.h"
#include "platform/db/ClinicDb.h"
#include "platform/db/DataControl.h"
#include "platform/state/AppState.h"
#include "support/CaseBuilder.h"
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>

class LocatorRegisterGoneTest : public QObject {
    Q_OBJECT
private slots:
    void registerNotFoundIsToldOnce()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        CaseBuilder().add();
        const QString path = App().DBFName;
        const QString away = path + QStringLiteral(".away");
        ClinicDb::closeAll();
        QVERIFY(QFile::rename(path, away));

        fmLocator loc;
        BindToClinicDB(*control<DataControl>(&loc, "Data1"));
        loc.LoadList_Click();
        loc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&loc));
        QTest::keyClicks(control<QLineEdit>(&loc, "Narrower"), QStringLiteral("Smit"));

        QCOMPARE(prompt.texts(), QStringList{ClinicDb::missingText(path)});
        QCOMPARE(prompt.last().icon, Prompt::Icon::Critical);
        QVERIFY(!control<QLineEdit>(&loc, "Narrower")->isEnabled());

        // The share is back: the frame's command loads the list, and the
        // search works again.
        QVERIFY(QFile::rename(away, path));
        loc.LoadList_Click();
        QVERIFY(control<QLineEdit>(&loc, "Narrower")->isEnabled());
        QCOMPARE(loc.listModel()->rowCount(), 1);
        QCOMPARE(prompt.count(), 1);
        FW_VERIFY_PROMPTS(prompt);
    }
};

FW_TEST(LocatorRegisterGoneTest)
#include "tst_LocatorRegisterGone.moc"
