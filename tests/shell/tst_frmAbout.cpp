// The about box: its texts, the greeting one second after it opens (and only
// then), and the desktop's system-information program or the message that
// there is none.
#include "support/Controls.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "platform/sound/Sound.h"
#include "platform/state/AppState.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

/// PATH holds one folder of the test's own while it lives.
struct OnlyPath {
    QTemporaryDir dir;
    QByteArray saved = qgetenv("PATH");
    OnlyPath() { qputenv("PATH", QFile::encodeName(dir.path())); }
    ~OnlyPath() { qputenv("PATH", saved); }

    /// A program of that name in the folder that leaves a mark when it runs.
    QString addProgram(const QString &name)
    {
        const QString path = dir.path() + "/" + name;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return QString();
        f.write("#!/bin/sh\n: > \"$0.ran\"\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
};

} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void texts()
    {
        TestEnv env;
        frmAbout about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About The Fenwarra"));
        QCOMPARE(control<QLabel>(&about, "lblTitle")->text(), QStringLiteral("Fenwarra"));
        QCOMPARE(control<QLabel>(&about, "lblVersion")->text(), QStringLiteral("Version 3.0.0 NW"));
        QCOMPARE(control<QLabel>(&about, "lblDescription")->text(),
                 QStringLiteral("The purpose of the Fenwarra is the provision of detailed tracking of animal weights "
                                "during illness and health in addition to detailed dietary calculations for a whole "
                                "range of prescription and maintenance diets."));
        QCOMPARE(control<QPushButton>(&about, "cmdSysInfo")->text(), QStringLiteral("&System Info..."));
        for (const char *name : {"picIcon", "Line1(0)", "Line1(1)", "cmdOK", "Command1"})
            QVERIFY2(about.findChild<QWidget *>(QLatin1String(name)), name);
        QVERIFY(!control<QLabel>(&about, "picIcon")->pixmap().isNull());
    }

    // The box's own timer, not the test's patience, says when: opening
    // starts a one-second single shot and says nothing yet; its tick greets
    // once, and neither the tick nor opening the box again greets twice.
    void greetsOnceASecondAfterOpening()
    {
        TestEnv env;
        frmAbout about;
        QTimer *timer = control<QTimer>(&about, "Timer1");
        const int before = Sound::requestCount();
        QVERIFY(!timer->isActive());
        about.show();
        QVERIFY(timer->isActive());
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 1000);
        QCOMPARE(Sound::requestCount(), before);

        // The tick comes through the timer's own connection, at once.
        timer->start(0);
        QVERIFY(QTest::qWaitFor([&] { return Sound::requestCount() > before; }, 5000));
        QCOMPARE(Sound::lastRequested(), env.appPath() + "Intro1.wav");
        QVERIFY(!timer->isActive());

        about.hide();
        about.show();
        QVERIFY(!timer->isActive());
        QCoreApplication::processEvents();
        QCOMPARE(Sound::requestCount(), before + 1);
    }

    void closedSoonerSaysNothing()
    {
        TestEnv env;
        const int before = Sound::requestCount();
        {
            frmAbout about;
            QTimer *timer = control<QTimer>(&about, "Timer1");
            about.show();
            QVERIFY(timer->isActive());
            control<QPushButton>(&about, "cmdOK")->click();
            QVERIFY(!about.isVisible());
            // Stopped: the greeting can no longer come.
            QVERIFY(!timer->isActive());
            QCoreApplication::processEvents();
        }
        QCOMPARE(Sound::requestCount(), before);
    }

    void noSystemInformationProgram()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        OnlyPath path;
        frmAbout about;
        control<QPushButton>(&about, "cmdSysInfo")->click();
        QCOMPARE(prompt.texts(), QStringList{"System Information Is Unavailable At This Time"});
        QCOMPARE(prompt.last().icon, Prompt::Icon::None);
        QCOMPARE(prompt.last().buttons, Prompt::Buttons::OK);
        QVERIFY(prompt.last().title.isEmpty());
    }

    void startsTheInstalledProgram()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        OnlyPath path;
        const QString program = path.addProgram("kinfocenter");
        frmAbout about;
        control<QPushButton>(&about, "cmdSysInfo")->click();
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(program + ".ran"); }, 5000));
        QCOMPARE(prompt.count(), 0);
    }

    void frameOpensItModal()
    {
        TestEnv env;
        ScriptedPrompt prompt;
        frmMain frame;
        QString seen;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            if (auto *about = frame.findChild<frmAbout *>()) {
                seen = about->windowTitle();
                modal = about->isModal();
                about->cmdOK_Click();
            }
        });
        frame.mnuHelpAbout_Click();
        QCOMPARE(seen, QStringLiteral("About The Fenwarra"));
        QVERIFY(modal);
        QVERIFY(!frame.findChild<frmAbout *>());
    }
};
FW_TEST(AboutTest)

#include "tst_frmAbout.moc"
