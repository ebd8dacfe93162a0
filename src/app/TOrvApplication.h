#pragma once

#include "app/IOrvApplication.h"

class TOrvApplication final : public IOrvApplication
{
public:
    TOrvApplication(const QString& sAppName_Exe, const QString& sAppVersion_Exe,
                    const QString& sAppName_Friendly, const QString& sAppVersion_Friendly);

    QString FolderCompany() const override;
    void SetFolderCompany(const QString& sValue) override;
    QString FolderApplication() const override;
    void SetFolderApplication(const QString& sValue) override;
    QString AppName_Exe() const override;
    QString AppVersion_Exe() const override;
    QString AppName_Friendly() const override;
    QString AppVersion_Friendly() const override;

private:
    QString FFolderApplication;
    QString FFolderCompany;
    QString FAppName_Exe;
    QString FAppVersion_Exe;
    QString FAppName_Friendly;
    QString FAppVersion_Friendly;
};
