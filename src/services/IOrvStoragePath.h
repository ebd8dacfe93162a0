#pragma once

#include "services/OrvPath.h"

#include <QString>

// The platform's user folders, the application's folders below them
// (<folder>/<company>/<application>) and file paths in them. Interface
// references never own the object.
class IOrvStoragePath
{
public:
    // The folder of the running executable.
    virtual QString Path_Exe() const = 0;
    virtual QString Path_Documents_OS() const = 0;
    virtual QString Path_Documents_APP() const = 0;
    virtual QString Path_Documents_Shared_OS() const = 0;
    virtual QString Path_Documents_Shared_APP() const = 0;
    virtual QString Path_Home_OS() const = 0;
    virtual QString Path_Home_APP() const = 0;
    // <Path_Documents_APP>/<executable name>.ini, computed on each read.
    virtual QString Path_SystemIniFile() const = 0;
    // <Path_Exe>/<executable name>.ini, computed on each read.
    virtual QString Path_SystemIniFile_Template() const = 0;
    // Fills the folders and creates the three application folders.
    virtual void Setup_Folders() = 0;
    // The folder of the same name joined with the file-name part of sFilePath.
    virtual QString FileIn_Documents_OS(const QString& sFilePath) const = 0;
    virtual QString FileIn_Documents_APP(const QString& sFilePath) const = 0;
    virtual QString FileIn_Documents_Shared_OS(const QString& sFilePath) const = 0;
    virtual QString FileIn_Documents_Shared_APP(const QString& sFilePath) const = 0;
    virtual QString FileIn_Home_OS(const QString& sFilePath) const = 0;
    virtual QString FileIn_Home_APP(const QString& sFilePath) const = 0;
    // AutoFileIn in Path_Documents_Shared_APP, lowest free number.
    virtual QString AutoFileIn_Documents_Shared_APP(const QString& sSubPath, const QString& sAutoFileMask,
                                                    TOrvPathModes APathModes) const = 0;
    // AutoFileIn_Last in Path_Documents_Shared_APP.
    virtual QString AutoFileIn_Documents_Shared_APP_Last(const QString& sSubPath,
                                                         const QString& sAutoFileMask) const = 0;

protected:
    ~IOrvStoragePath() = default;
};
