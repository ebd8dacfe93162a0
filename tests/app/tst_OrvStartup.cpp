#include "app/OrvApp.h"
#include "app/OrvLib.h"
#include "app/OrvStartup.h"
#include "services/OrvLog.h"
#include "services/OrvSysInfo.h"
#include "services/TOrvLog_String.h"

#include "TestMedia.h"

#include <QTemporaryDir>
#include <QtTest>

// The start-up order as the message log records it.
class tst_OrvStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir FHome;

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        TestMedia::isolateHome(FHome.path());
    }

    void logRecordsTheStartUpOrder()
    {
        OrvStartup_ModuleInit();
        QVERIFY(OrvSysInfo);
        QVERIFY(OrvLog);
        QVERIFY(OrvApplication);
        QVERIFY(OrvDeviceInfo);
        QCOMPARE(OrvGlobalInfo.strAppFolder_UserParams.size(), 14);

        const QStringList expected {
            "Log initiated",
            "Log active",
            "Orv.Types.Module_Init enter",
            "Orv.App.Module_Init enter",
            "Orv.Storage.Path_Access.Module_Init enter",
        };
        QCOMPARE(OrvLog_Object()->Logs(), expected);

        IOrvLog* const log = OrvLog;
        IOrvApplication* const application = OrvApplication;
        OrvStartup_ModuleInit();
        QCOMPARE(OrvLog, log);
        QCOMPARE(OrvApplication, application);
        QCOMPARE(OrvLog_Object()->Logs(), expected);

        OrvStartup_ModuleFinalize();
        QVERIFY(!OrvSysInfo);
        QVERIFY(!OrvLog);
        QVERIFY(!OrvApplication);
        QVERIFY(!OrvDeviceInfo);
        QVERIFY(OrvAppVersion.isEmpty());
        QVERIFY(OrvGlobalInfo.strAppFolder_UserParams.isEmpty());

        // Started again after the finalizations, the program comes up as before.
        OrvStartup_ModuleInit();
        QCOMPARE(OrvLog_Object()->Logs(), expected);
        OrvStartup_ModuleFinalize();
    }
};

QTEST_MAIN(tst_OrvStartup)
#include "tst_OrvStartup.moc"
