#include "app/TOrvApplication.h"

TOrvApplication::TOrvApplication(const QString& sAppName_Exe, const QString& sAppVersion_Exe,
                                 const QString& sAppName_Friendly, const QString& sAppVersion_Friendly)
    : FAppName_Exe(sAppName_Exe)
    , FAppVersion_Exe(sAppVersion_Exe)
    , FAppName_Friendly(sAppName_Friendly)
    , FAppVersion_Friendly(sAppVersion_Friendly)
{
}

QString TOrvApplication::FolderCompany() const
{
    return FFolderCompany;
}

void TOrvApplication::SetFolderCompany(const QString& sValue)
{
    FFolderCompany = sValue;
}

QString TOrvApplication::FolderApplication() const
{
    return FFolderApplication;
}

void TOrvApplication::SetFolderApplication(const QString& sValue)
{
    FFolderApplication = sValue;
}

QString TOrvApplication::AppName_Exe() const
{
    return FAppName_Exe;
}

QString TOrvApplication::AppVersion_Exe() const
{
    return FAppVersion_Exe;
}

QString TOrvApplication::AppName_Friendly() const
{
    return FAppName_Friendly;
}

QString TOrvApplication::AppVersion_Friendly() const
{
    return FAppVersion_Friendly;
}
