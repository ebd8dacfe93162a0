#pragma once

#include "services/IOrvStoragePath.h"

// The storage paths service. On Linux there is no all-users documents folder:
// the shared pair falls back on the user's documents folder, and the shared
// application folder is the sub-folder "Shared" of the application's own
// documents folder (<documents>/Brivant/Scenora/Shared).
class TOrvStorage_Path final : public IOrvStoragePath
{
public:
    // Runs Setup_Folders.
    TOrvStorage_Path();

    QString Path_Exe() const override;
    QString Path_Documents_OS() const override { return FPath_Documents_OS; }
    QString Path_Documents_APP() const override { return FPath_Documents_APP; }
    QString Path_Documents_Shared_OS() const override { return FPath_Documents_Shared_OS; }
    QString Path_Documents_Shared_APP() const override { return FPath_Documents_Shared_APP; }
    QString Path_Home_OS() const override { return FPath_Home_OS; }
    QString Path_Home_APP() const override { return FPath_Home_APP; }
    QString Path_SystemIniFile() const override;
    QString Path_SystemIniFile_Template() const override;
    // Without the application identity (Orv.App) it is started first; should
    // it still be missing, the application folders stay empty and nothing is
    // created. Folders that cannot be created are not reported.
    void Setup_Folders() override;
    QString FileIn_Documents_OS(const QString& sFilePath) const override;
    QString FileIn_Documents_APP(const QString& sFilePath) const override;
    QString FileIn_Documents_Shared_OS(const QString& sFilePath) const override;
    QString FileIn_Documents_Shared_APP(const QString& sFilePath) const override;
    QString FileIn_Home_OS(const QString& sFilePath) const override;
    QString FileIn_Home_APP(const QString& sFilePath) const override;
    QString AutoFileIn_Documents_Shared_APP(const QString& sSubPath, const QString& sAutoFileMask,
                                            TOrvPathModes APathModes) const override;
    QString AutoFileIn_Documents_Shared_APP_Last(const QString& sSubPath,
                                                 const QString& sAutoFileMask) const override;

    // FileIn_Home_APP and FileIn_Documents_APP of the executable's name without
    // extension; no extension is added.
    QString GetIniFile_User_APP() const;
    QString GetIniFile_Documents_APP() const;
    // The file-name part of sFilePath, "Orvempty.dat" when that is empty, so
    // that FileIn_ never names the folder itself.
    QString FileStrip(const QString& sFilePath) const;

private:
    QString FPath_Documents_OS;
    QString FPath_Documents_APP;
    QString FPath_Documents_Shared_OS;
    QString FPath_Documents_Shared_APP;
    QString FPath_Home_OS;
    QString FPath_Home_APP;
};
