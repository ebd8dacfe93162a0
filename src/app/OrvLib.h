#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The support library's global records. This program sets them up at start-up
// and reads them nowhere else.
struct TOrvGlobalInfo
{
    bool bIsSetup = false;
    bool bIsInitinalized = false;
    bool bIsPath_Initialized = false;
    QString strExeName;
    QString strFullAppName;
    QString strFullHardwareName;
    QString strSkinName;
    QString strSkinFileName;
    QString strAppFolder_Group;
    QString strAppFolder_SubPath;
    QString strWebHelp;
    // Path macros "NAME=value"; values refer to other macros in braces and are stored unexpanded.
    QStringList strAppFolder_UserParams;
    QString strAppSetup_Once_Section;
    QString strAppSetup_Perm_Section;
    QString strAppHelpFile;
    QString strAppHelpFileExt;
    QString strFilterLoad_Doc;
    QString strFilterLoad_Doc_Default;
    qint32 iFilterLoad_Doc_Default = 0;
    QString strFilterSave_Doc;
    QString strFilterSave_Doc_Default;
    qint32 iFilterSave_Doc_Default = 0;
    QString strFilterLoad_Prj;
    QString strFilterLoad_Prj_Default;
    qint32 iFilterLoad_Prj_Default = 0;
    QString strFilterSave_Prj;
    QString strFilterSave_Prj_Default;
    qint32 iFilterSave_Prj_Default = 0;
    QString strTemplateNewFile_Name;
    QString strTemplateNewFile_Ext;
    bool bUseProjectAsFile = false;
    bool bAllowOnlyOneAppStarted = false;
    bool bShowSplash = false;
    bool bUseWebUpdate = false;
    QString strWebUpdate_Folder;
    bool bDebugLog = false;
    bool bAllowSkinChange = false;
    bool bAllowRecord = false;
    bool bAllowDisplayView = false;
    bool bAllowTableView = false;
    bool bAllowChartView = false;
};

struct TOrvGlobalLanguage
{
    QString sLanguageAct;
    QString sLanguagesAvail;
    // Semicolon-separated language codes.
    QString sLanguages;
};

struct TOrvGlobalCounter
{
    QList<qint32> aiCounter;
    QList<double> adCounter;
};

extern TOrvGlobalInfo OrvGlobalInfo;
extern TOrvGlobalLanguage OrvGlobalLanguage;
extern TOrvGlobalCounter OrvGlobalCounter;

// Sets up the three records; a second call does nothing.
void OrvLib_ModuleInit();
// Empties the three records again.
void OrvLib_ModuleFinalize();
