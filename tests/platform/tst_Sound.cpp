#include "support/ScriptedPrompt.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include "platform/db/ClinicDb.h"
#include "platform/sound/Sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
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
        QTest::newRow("shipped greeting") << QDir(ClinicDb::dataDir()).filePath(QStringLiteral("Welcome.wav"));
        QTest::newRow("shipped about sound") << QDir(ClinicDb::dataDir()).filePath(QStringLiteral("Intro1.wav"));
        QTest::newRow("missing file") << QStringLiteral("/nonexistent/Welcome.wav");
        QTest::newRow("a folder") << QDir::tempPath();
        QTest::newRow("no name") << QString();
    }
    void playReturnsAtOnceAndShowsNothing()
    {
        QFETCH(QString, path);
        ScriptedPrompt prompt;
        QElapsedTimer clock;
        clock.start();
        Sound::play(path);
        QVERIFY2(clock.elapsed() < 2000, "playing must not wait for the sound");
        QCOMPARE(Sound::lastRequested(), path);
        QTest::qWait(50); // let a background load report whatever it reports
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
