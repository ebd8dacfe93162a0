#include "app/OrvApp.h"
#include "app/OrvLib.h"
#include "app/OrvModuleReport.h"
#include "app/OrvTypes.h"
#include "app/TOrvDeviceInfo.h"

#include <QtTest>

Q_DECLARE_METATYPE(TDeviceClass)

class tst_OrvApp : public QObject
{
    Q_OBJECT

    QStringList FReports;

private slots:
    void init()
    {
        FReports.clear();
        OrvModuleReport_SetSink([this](const QString& sMsg) { FReports << sMsg; });
    }

    void cleanup()
    {
        OrvModuleReport_SetSink(nullptr);
        OrvApp_ModuleFinalize();
        OrvLib_ModuleFinalize();
        OrvTypes_ModuleFinalize();
    }

    void stripVersion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1.1.0") << "1.1.0" << "110";
        QTest::newRow("V2.0") << "V2.0" << "20";
        QTest::newRow("v1.2.3") << "v1.2.3" << "123";
        QTest::newRow("every occurrence") << "vV1.v.V2" << "12";
        QTest::newRow("other letters kept") << "Version 1.x" << "ersion 1x";
        QTest::newRow("empty") << "" << "";
    }

    void stripVersion()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(StripVersion(text), expected);
    }

    void identityAfterStartUp()
    {
        QVERIFY(!OrvApplication);
        QVERIFY(!OrvDeviceInfo);
        QVERIFY(OrvAppVersion.isEmpty());

        OrvApp_ModuleInit();
        QCOMPARE(FReports, QStringList {"Orv.App.Module_Init enter"});
        QVERIFY(OrvApplication);
        QCOMPARE(OrvApplication->FolderCompany(), QStringLiteral("Brivant"));
        QCOMPARE(OrvApplication->FolderApplication(), QStringLiteral("Scenora"));
        QCOMPARE(OrvApplication->AppName_Exe(), QStringLiteral("tst_OrvApp"));
        QCOMPARE(OrvApplication->AppVersion_Exe(), QStringLiteral("110"));
        QCOMPARE(OrvApplication->AppName_Friendly(), QStringLiteral("Brivant Scenora"));
        QCOMPARE(OrvApplication->AppVersion_Friendly(), QStringLiteral("1.1.0"));
        QCOMPARE(OrvAppVersion, QStringLiteral("1.1.0"));
        QCOMPARE(QStringLiteral("Scenora V") + OrvAppVersion, QStringLiteral("Scenora V1.1.0"));

        // Qt has no device service.
        QVERIFY(OrvDeviceInfo);
        QCOMPARE(OrvDeviceInfo->DeviceModel(), QStringLiteral("<unknown>"));
        QCOMPARE(OrvDeviceInfo->DeviceClass(), TDeviceClass::Unknown);
        QVERIFY(OrvDeviceInfo->DeviceFeatures().IsEmpty());
        QVERIFY(!OrvDeviceInfo->IsDesktop());
        QVERIFY(!OrvDeviceInfo->IsPhone());
        QVERIFY(!OrvDeviceInfo->IsTablet());
        QVERIFY(!OrvDeviceInfo->HasTouchscreen());

        OrvApp_ModuleFinalize();
        QVERIFY(!OrvApplication);
        QVERIFY(!OrvDeviceInfo);
        QVERIFY(OrvAppVersion.isEmpty());
    }

    void secondIdentityStartUpChangesNothing()
    {
        OrvApp_ModuleInit();
        IOrvApplication* const application = OrvApplication;
        IOrvDeviceInfo* const deviceInfo = OrvDeviceInfo;
        application->SetFolderCompany(QStringLiteral("Changed"));

        OrvApp_ModuleInit();
        QCOMPARE(OrvApplication, application);
        QCOMPARE(OrvDeviceInfo, deviceInfo);
        QCOMPARE(OrvApplication->FolderCompany(), QStringLiteral("Changed"));
        QCOMPARE(FReports, QStringList {"Orv.App.Module_Init enter"});
    }

    void deviceClassification_data()
    {
        QTest::addColumn<TDeviceClass>("deviceClass");
        QTest::addColumn<bool>("isDesktop");
        QTest::addColumn<bool>("isPhone");
        QTest::addColumn<bool>("isTablet");
        QTest::newRow("Unknown") << TDeviceClass::Unknown << false << false << false;
        QTest::newRow("Desktop") << TDeviceClass::Desktop << true << false << false;
        QTest::newRow("Phone") << TDeviceClass::Phone << false << true << false;
        QTest::newRow("Tablet") << TDeviceClass::Tablet << false << false << true;
        QTest::newRow("MediaPlayer") << TDeviceClass::MediaPlayer << false << false << false;
        QTest::newRow("Wizard") << TDeviceClass::Wizard << false << false << false;
    }

    void deviceClassification()
    {
        QFETCH(TDeviceClass, deviceClass);
        QFETCH(bool, isDesktop);
        QFETCH(bool, isPhone);
        QFETCH(bool, isTablet);

        TOrvDeviceInfo info;
        info.SetDevice(QStringLiteral("Model X"), deviceClass, {TDeviceFeature::HasTouchScreen});
        QCOMPARE(info.DeviceModel(), QStringLiteral("Model X"));
        QCOMPARE(info.DeviceClass(), deviceClass);
        QCOMPARE(info.IsDesktop(), isDesktop);
        QCOMPARE(info.IsPhone(), isPhone);
        QCOMPARE(info.IsTablet(), isTablet);
        QVERIFY(info.HasTouchscreen());
    }

    void deviceFeaturesFitOneByte()
    {
        static_assert(sizeof(TDeviceFeatures) == 1);
        static_assert(sizeof(TDeviceClass) == 1);
        static_assert(int(TDeviceClass::Wizard) == 12);
        QCOMPARE(TDeviceFeatures {TDeviceFeature::HasTouchScreen}.Bits(), quint8(1));
    }

    void globalRecordsAfterStartUp()
    {
        QVERIFY(OrvGlobalInfo.strAppFolder_UserParams.isEmpty());
        OrvLib_ModuleInit();
        QVERIFY(FReports.isEmpty());

        QCOMPARE(OrvGlobalLanguage.sLanguageAct, QStringLiteral("en"));
        QCOMPARE(OrvGlobalLanguage.sLanguagesAvail, QStringLiteral("en"));
        QCOMPARE(OrvGlobalLanguage.sLanguages, QStringLiteral("en;de;fr;nl;fi;dk;ru;ua"));
        QCOMPARE(OrvGlobalCounter.aiCounter, QList<qint32> {0});
        QCOMPARE(OrvGlobalCounter.adCounter, QList<double> {0.0});

        const TOrvGlobalInfo& info = OrvGlobalInfo;
        QVERIFY(!info.bIsSetup && !info.bIsInitinalized && !info.bIsPath_Initialized);
        QCOMPARE(info.strAppFolder_Group, QStringLiteral("Orvex"));
        QCOMPARE(info.strAppFolder_SubPath, QStringLiteral("Default"));
        QVERIFY(info.strWebHelp.startsWith(QLatin1String("https://")));
        QCOMPARE(info.strAppSetup_Once_Section, QStringLiteral("AppSetup_Once"));
        QCOMPARE(info.strAppSetup_Perm_Section, QStringLiteral("AppSetup_Perm"));
        QCOMPARE(info.strAppFolder_UserParams.size(), 14);
        QCOMPARE(info.strAppFolder_UserParams.first(), QStringLiteral("COMMONAPPDATA={commonappdata}/"));
        QCOMPARE(info.strAppFolder_UserParams.at(11), QStringLiteral("LogFile={LogDir}{ExeName}.log"));
        QCOMPARE(info.strAppFolder_UserParams.last(), QStringLiteral("AppSetupFile_Perm={AppSetupFile_Perm}"));
        for (const QString& line : info.strAppFolder_UserParams)
            QVERIFY2(!line.contains(QLatin1Char('\\')), qPrintable(line));
        QVERIFY(info.strExeName.isEmpty());
        QCOMPARE(info.iFilterLoad_Doc_Default, 0);
        QVERIFY(!info.bDebugLog);

        OrvLib_ModuleFinalize();
        QVERIFY(OrvGlobalInfo.strAppFolder_UserParams.isEmpty());
        QVERIFY(OrvGlobalLanguage.sLanguages.isEmpty());
        QVERIFY(OrvGlobalCounter.aiCounter.isEmpty());
    }

    void secondRecordsStartUpChangesNothing()
    {
        OrvLib_ModuleInit();
        OrvGlobalLanguage.sLanguageAct = QStringLiteral("de");
        OrvGlobalCounter.aiCounter[0] = 7;
        OrvLib_ModuleInit();
        QCOMPARE(OrvGlobalLanguage.sLanguageAct, QStringLiteral("de"));
        QCOMPARE(OrvGlobalCounter.aiCounter, QList<qint32> {7});
        QCOMPARE(OrvGlobalInfo.strAppFolder_UserParams.size(), 14);
    }

    void typesReportOnce()
    {
        OrvTypes_ModuleInit();
        OrvTypes_ModuleInit();
        QCOMPARE(FReports, QStringList {"Orv.Types.Module_Init enter"});
    }
};

QTEST_GUILESS_MAIN(tst_OrvApp)
#include "tst_OrvApp.moc"
