#include "app/OrvLib.h"

TOrvGlobalInfo OrvGlobalInfo;
TOrvGlobalLanguage OrvGlobalLanguage;
TOrvGlobalCounter OrvGlobalCounter;

namespace {
bool GInitialized = false;
}

void OrvLib_ModuleInit()
{
    if (GInitialized)
        return;
    GInitialized = true;

    OrvGlobalLanguage.sLanguages = QStringLiteral("en;de;fr;nl;fi;dk;ru;ua");
    OrvGlobalLanguage.sLanguagesAvail = QStringLiteral("en");
    OrvGlobalLanguage.sLanguageAct = QStringLiteral("en");

    OrvGlobalCounter.aiCounter = QList<qint32>(1, 0);
    OrvGlobalCounter.adCounter = QList<double>(1, 0.0);

    OrvGlobalInfo.bIsSetup = false;
    OrvGlobalInfo.bIsInitinalized = false;
    OrvGlobalInfo.bIsPath_Initialized = false;
    OrvGlobalInfo.strAppFolder_Group = QStringLiteral("Orvex");
    OrvGlobalInfo.strAppFolder_SubPath = QStringLiteral("Default");
    OrvGlobalInfo.strWebHelp = QStringLiteral("https://www.brivant.com/");
    OrvGlobalInfo.strAppSetup_Once_Section = QStringLiteral("AppSetup_Once");
    OrvGlobalInfo.strAppSetup_Perm_Section = QStringLiteral("AppSetup_Perm");
    OrvGlobalInfo.strAppFolder_UserParams = QStringList {
        QStringLiteral("COMMONAPPDATA={commonappdata}/"),
        QStringLiteral("COMMONAPPDATA_LNG={commonappdata}/{LANGCODE}/"),
        QStringLiteral("CommonLang={commonappdata}/{LANGCODE}/"),
        QStringLiteral("Pdf={commonappdata}/{LANGCODE}/"),
        QStringLiteral("Chm={commonappdata}/{LANGCODE}/"),
        QStringLiteral("USERAPPDATA={userappdata}/"),
        QStringLiteral("USERAPPDATA_LNG={userappdata}/{LANGCODE}/"),
        QStringLiteral("UserLang={userappdata}/{LANGCODE}/"),
        QStringLiteral("SystemDir={SystemDir}/"),
        QStringLiteral("UpdateDir={UpdateDir}/"),
        QStringLiteral("LogDir={SystemDir}/"),
        QStringLiteral("LogFile={LogDir}{ExeName}.log"),
        QStringLiteral("AppSetupFile_Once={AppSetupFile_Once}"),
        QStringLiteral("AppSetupFile_Perm={AppSetupFile_Perm}"),
    };
}

void OrvLib_ModuleFinalize()
{
    OrvGlobalInfo = TOrvGlobalInfo {};
    OrvGlobalLanguage = TOrvGlobalLanguage {};
    OrvGlobalCounter = TOrvGlobalCounter {};
    GInitialized = false;
}
