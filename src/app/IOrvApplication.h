#pragma once

#include <QString>

// Who the application is. Interface references never own the object.
class IOrvApplication
{
public:
    virtual QString FolderCompany() const = 0;
    virtual void SetFolderCompany(const QString& sValue) = 0;
    virtual QString FolderApplication() const = 0;
    virtual void SetFolderApplication(const QString& sValue) = 0;
    // The executable's file name without folder and extension.
    virtual QString AppName_Exe() const = 0;
    // The version text without "V", "v" and ".": "110" for "1.1.0".
    virtual QString AppVersion_Exe() const = 0;
    virtual QString AppName_Friendly() const = 0;
    virtual QString AppVersion_Friendly() const = 0;

protected:
    ~IOrvApplication() = default;
};
