#include "ui/LibraryPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The default media folder, for an executable in <root>/opt/scenora/bin (its
// "../../MP4" is <root>/opt/MP4) and a user whose home is <root>/home.
class tst_LibraryPath : public QObject
{
    Q_OBJECT

private:
    QByteArray FHomeEnv;
    QByteArray FConfigEnv;

private slots:
    void initTestCase()
    {
        FHomeEnv = qgetenv("HOME");
        FConfigEnv = qgetenv("XDG_CONFIG_HOME");
    }

    void cleanupTestCase()
    {
        qputenv("HOME", FHomeEnv);
        qputenv("XDG_CONFIG_HOME", FConfigEnv);
    }

    void defaultFolder_data()
    {
        QTest::addColumn<QString>("mp4");         // "" none, "dir" or "file" at <root>/opt/MP4
        QTest::addColumn<QStringList>("homeDirs"); // folders made in the home
        QTest::addColumn<QString>("userDirs");    // the XDG_VIDEOS_DIR line of user-dirs.dirs, if any
        QTest::addColumn<QString>("expected");    // below <root>, with its trailing "/"

        QTest::newRow("MP4 beside the executable comes first")
            << "dir" << QStringList {"Videos"} << "" << "opt/MP4/";
        QTest::newRow("installed: the user's videos folder")
            << "" << QStringList {"Videos"} << "" << "home/Videos/";
        QTest::newRow("installed, no videos folder: the home")
            << "" << QStringList {} << "" << "home/";
        QTest::newRow("an MP4 file is no folder")
            << "file" << QStringList {"Videos"} << "" << "home/Videos/";
        QTest::newRow("the videos folder the user named")
            << "" << QStringList {"Videos", "Filme"} << "XDG_VIDEOS_DIR=\"$HOME/Filme\"" << "home/Filme/";
        QTest::newRow("the named videos folder is missing: the home")
            << "" << QStringList {"Videos"} << "XDG_VIDEOS_DIR=\"$HOME/Filme\"" << "home/";
    }

    void defaultFolder()
    {
        QFETCH(QString, mp4);
        QFETCH(QStringList, homeDirs);
        QFETCH(QString, userDirs);
        QFETCH(QString, expected);

        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QDir rootDir(root.path());
        QVERIFY(rootDir.mkpath(QStringLiteral("opt/scenora/bin")));
        QVERIFY(rootDir.mkpath(QStringLiteral("home/.config")));
        if (mp4 == QLatin1String("dir"))
            QVERIFY(rootDir.mkpath(QStringLiteral("opt/MP4")));
        if (mp4 == QLatin1String("file")) {
            QFile file(rootDir.filePath(QStringLiteral("opt/MP4")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QDir home(rootDir.filePath(QStringLiteral("home")));
        for (const QString& name : homeDirs)
            QVERIFY(home.mkpath(name));
        if (!userDirs.isEmpty()) {
            QFile file(home.filePath(QStringLiteral(".config/user-dirs.dirs")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(userDirs.toUtf8() + '\n');
        }
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());

        QCOMPARE(LibraryPath_DefaultFor(rootDir.filePath(QStringLiteral("opt/scenora/bin"))),
                 rootDir.filePath(expected));
    }
};

QTEST_GUILESS_MAIN(tst_LibraryPath)
#include "tst_LibraryPath.moc"
