#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "platform/db/ClinicDb.h"
#include "platform/sound/Sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QUrl>

class SoundTest : public QObject {
    Q_OBJECT
private slots:
    // A sound never holds up the program and never shows anything, whether the
    // file is there or not and whether the machine can play sound or not.
    void playReturnsAtOnceAndShowsNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("playable");
        QTest::newRow("shipped greeting") << QDir(ClinicDb::dataDir()).filePath(QStringLiteral("Welcome.wav")) << true;
        QTest::newRow("shipped about sound")
            << QDir(ClinicDb::dataDir()).filePath(QStringLiteral("Intro1.wav")) << true;
        QTest::newRow("missing file") << QStringLiteral("/nonexistent/Welcome.wav") << false;
        QTest::newRow("a folder") << QDir::tempPath() << false;
        QTest::newRow("no name") << QString() << false;
    }
    void playReturnsAtOnceAndShowsNothing()
    {
        QFETCH(QString, path);
        QFETCH(bool, playable);
        ScriptedPrompt prompt;
        // Waiting for the sound would mean running the event loop until the
        // player reports: a call queued before must still be pending after.
        bool loopRan = false;
        QMetaObject::invokeMethod(
            qApp, [&loopRan] { loopRan = true; }, Qt::QueuedConnection);
        Sound::play(path);
        QVERIFY2(!loopRan, "playing must not wait for the sound");
        // And the sound is still to come: the player has it and plays it.
        if (playable) {
            QObject *player = qApp->findChild<QObject *>(QStringLiteral("SoundPlayer"));
            QVERIFY(player);
            QCOMPARE(player->property("source").toUrl(), QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
            QVERIFY(player->property("playing").toBool());
        }
        QCOMPARE(Sound::lastRequested(), path);
        QTest::qWait(50); // let a background load report whatever it reports
        QVERIFY(loopRan);
        QCOMPARE(prompt.count(), 0);
    }

    // The player is a library of its own, loaded at the first sound: it must
    // be found, and the sound handed to it.
    void aSoundReachesThePlayer()
    {
        const QString greeting = QDir(ClinicDb::dataDir()).filePath(QStringLiteral("Welcome.wav"));
        ScriptedPrompt prompt;
        Sound::play(greeting);
        QObject *player = qApp->findChild<QObject *>(QStringLiteral("SoundPlayer"));
        QVERIFY(player);
        QCOMPARE(QByteArray(player->metaObject()->className()), QByteArray("QSoundEffect"));
        QCOMPARE(player->property("source").toUrl(), QUrl::fromLocalFile(QFileInfo(greeting).absoluteFilePath()));
        QTest::qWait(50);
        QCOMPARE(prompt.count(), 0);
    }

    void aFileThatIsNoSoundPlaysNothing()
    {
        TestEnv env(false);
        const QString bogus = env.appPath() + QStringLiteral("Welcome.wav");
        QFile f(bogus);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a wave file");
        f.close();
        ScriptedPrompt prompt;
        Sound::play(bogus);
        QTest::qWait(100);
        QCOMPARE(Sound::lastRequested(), bogus);
        QCOMPARE(prompt.count(), 0);
    }
};

FW_TEST(SoundTest)
#include "tst_Sound.moc"
