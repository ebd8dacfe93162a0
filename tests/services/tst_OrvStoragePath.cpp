#include "app/OrvApp.h"
#include "services/OrvLog.h"
#include "services/OrvStoragePath.h"
#include "services/OrvStoragePath_Access.h"
#include "services/TOrvLog_String.h"
#include "services/TOrvStorage_Path.h"

#include "TestMedia.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The storage paths service in a home folder of its own.
class tst_OrvStoragePath : public QObject
{
    Q_OBJECT

    QTemporaryDir FHome;

    QString Documents() const { return FHome.filePath("Documents"); }
    QString DataHome() const { return FHome.filePath(".local/share"); }
    static QString ExeName() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(); }

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        TestMedia::isolateHome(FHome.path());
    }

    void cleanup()
    {
        OrvStoragePath_ModuleFinalize();
        OrvStoragePath_Access_ModuleFinalize();
        OrvApp_ModuleFinalize();
        OrvLog_ModuleFinalize();
    }

    void startUpCreatesTheFoldersAndReportsOnce()
    {
        const QStringList folders {DataHome() + "/Brivant/Scenora", Documents() + "/Brivant/Scenora",
                                   Documents() + "/Brivant/Scenora/Shared"};
        for (const QString& folder : folders)
            QVERIFY(!QFileInfo::exists(folder));

        OrvLog_ModuleInit();
        OrvApp_ModuleInit();
        QVERIFY(!OrvStoragePath);
        // Orv.Storage.Path starting first brings up the service all the same.
        OrvStoragePath_ModuleInit();
        OrvStoragePath_Access_ModuleInit();
        QVERIFY(OrvStoragePath);
        for (const QString& folder : folders)
            QVERIFY2(QFileInfo(folder).isDir(), qPrintable(folder));
        QCOMPARE(OrvLog_Object()->Logs().count("Orv.Storage.Path_Access.Module_Init enter"), 1);
        QCOMPARE(OrvStoragePath->Path_Home_APP(), folders[0]);
        QCOMPARE(OrvStoragePath->Path_Documents_APP(), folders[1]);
        QCOMPARE(OrvStoragePath->Path_Documents_Shared_APP(), folders[2]);

        IOrvStoragePath* const published = OrvStoragePath;
        OrvStoragePath_ModuleInit();
        QCOMPARE(OrvStoragePath, published);
        QCOMPARE(OrvLog_Object()->Logs().count("Orv.Storage.Path_Access.Module_Init enter"), 1);

        OrvStoragePath_ModuleFinalize();
        QVERIFY(!OrvStoragePath);
        OrvStoragePath_Access_ModuleFinalize();
        QVERIFY(!OrvStoragePath);
        // Folders already present are left alone.
        QVERIFY(QFile(Documents() + "/Brivant/Scenora/keep.txt").open(QIODevice::WriteOnly));
        OrvStoragePath_Access_ModuleInit();
        QVERIFY(OrvStoragePath);
        QVERIFY(QFileInfo::exists(Documents() + "/Brivant/Scenora/keep.txt"));
    }

    void startUpWithoutLogReportsNothing()
    {
        OrvApp_ModuleInit();
        OrvStoragePath_Access_ModuleInit();
        QVERIFY(OrvStoragePath);
        OrvLog_ModuleInit();
        QVERIFY(!OrvLog_Object()->Logs().contains("Orv.Storage.Path_Access.Module_Init enter"));
    }

    void folders()
    {
        OrvApp_ModuleInit();
        const TOrvStorage_Path storage;
        QCOMPARE(storage.Path_Home_OS(), DataHome());
        QCOMPARE(storage.Path_Home_APP(), DataHome() + "/Brivant/Scenora");
        QCOMPARE(storage.Path_Documents_OS(), Documents());
        QCOMPARE(storage.Path_Documents_APP(), Documents() + "/Brivant/Scenora");
        QCOMPARE(storage.Path_Documents_Shared_OS(), Documents());
        QCOMPARE(storage.Path_Documents_Shared_APP(), Documents() + "/Brivant/Scenora/Shared");
        QCOMPARE(storage.Path_Exe(), QCoreApplication::applicationDirPath());
    }

    void setupStartsTheIdentityWhenMissing()
    {
        QVERIFY(!OrvApplication);
        const TOrvStorage_Path storage;
        QVERIFY(OrvApplication);
        QCOMPARE(storage.Path_Documents_APP(), Documents() + "/Brivant/Scenora");
    }

    void setupFollowsTheIdentity()
    {
        OrvApp_ModuleInit();
        TOrvStorage_Path storage;
        OrvApplication->SetFolderCompany("Other");
        QCOMPARE(storage.Path_Home_APP(), DataHome() + "/Brivant/Scenora");
        storage.Setup_Folders();
        QCOMPARE(storage.Path_Home_APP(), DataHome() + "/Other/Scenora");
        QVERIFY(QFileInfo(DataHome() + "/Other/Scenora").isDir());
        QVERIFY(QFileInfo(Documents() + "/Other/Scenora/Shared").isDir());
    }

    void fileStrip_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty") << "" << "Orvempty.dat";
        QTest::newRow("folder") << "/a/b/" << "Orvempty.dat";
        QTest::newRow("file") << "/a/b.txt" << "b.txt";
        QTest::newRow("relative") << "x/y.ini" << "y.ini";
        QTest::newRow("bare name") << "y.ini" << "y.ini";
    }

    void fileStrip()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        OrvApp_ModuleInit();
        const TOrvStorage_Path storage;
        QCOMPARE(storage.FileStrip(path), expected);
    }

    void fileIn()
    {
        OrvApp_ModuleInit();
        const TOrvStorage_Path storage;
        const QString app = QStringLiteral("/Brivant/Scenora");
        QCOMPARE(storage.FileIn_Home_APP("x/y.ini"), DataHome() + app + "/y.ini");
        QCOMPARE(storage.FileIn_Home_OS("x/y.ini"), DataHome() + "/y.ini");
        QCOMPARE(storage.FileIn_Documents_APP("/x/y.ini"), Documents() + app + "/y.ini");
        QCOMPARE(storage.FileIn_Documents_OS("y.ini"), Documents() + "/y.ini");
        QCOMPARE(storage.FileIn_Documents_Shared_APP("x/y.ini"), Documents() + app + "/Shared/y.ini");
        QCOMPARE(storage.FileIn_Documents_Shared_OS("x/y.ini"), Documents() + "/y.ini");
        QCOMPARE(storage.FileIn_Home_APP("x/"), DataHome() + app + "/Orvempty.dat");
    }

    void iniFiles()
    {
        OrvApp_ModuleInit();
        const TOrvStorage_Path storage;
        QCOMPARE(ExeName(), QStringLiteral("tst_OrvStoragePath"));
        QCOMPARE(storage.Path_SystemIniFile(), Documents() + "/Brivant/Scenora/tst_OrvStoragePath.ini");
        QCOMPARE(storage.Path_SystemIniFile_Template(),
                 QCoreApplication::applicationDirPath() + "/tst_OrvStoragePath.ini");
        QCOMPARE(storage.GetIniFile_User_APP(), DataHome() + "/Brivant/Scenora/tst_OrvStoragePath");
        QCOMPARE(storage.GetIniFile_Documents_APP(), Documents() + "/Brivant/Scenora/tst_OrvStoragePath");
    }

    void numberedFilesInTheSharedFolder()
    {
        OrvApp_ModuleInit();
        const TOrvStorage_Path storage;
        const QString logs = storage.Path_Documents_Shared_APP() + "/logs";
        QCOMPARE(storage.AutoFileIn_Documents_Shared_APP_Last("logs", "run_%.2d.txt"), QString());
        QCOMPARE(storage.AutoFileIn_Documents_Shared_APP("logs", "run_%.2d.txt", pmForceDirectories),
                 logs + "/run_01.txt");
        QVERIFY(QFileInfo(logs).isDir());
        for (const QString name : {"run_01.txt", "run_03.txt"})
            QVERIFY(QFile(logs + '/' + name).open(QIODevice::WriteOnly));
        QCOMPARE(storage.AutoFileIn_Documents_Shared_APP("logs", "run_%.2d.txt", pmNone), logs + "/run_02.txt");
        QCOMPARE(storage.AutoFileIn_Documents_Shared_APP_Last("logs", "run_%.2d.txt"), logs + "/run_03.txt");
    }
};

QTEST_GUILESS_MAIN(tst_OrvStoragePath)
#include "tst_OrvStoragePath.moc"
