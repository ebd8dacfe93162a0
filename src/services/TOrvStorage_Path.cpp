#include "services/TOrvStorage_Path.h"

#include "app/OrvApp.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString AppNameExe()
{
    return OrvApplication ? OrvApplication->AppName_Exe() : QString();
}

// <sFolder>/<company>/<application>, created when missing; empty when the
// platform folder is unknown, so that nothing lands in the current directory.
QString ApplicationFolder(const QString& sFolder)
{
    if (sFolder.isEmpty())
        return {};
    const QString folder =
        PathCombine(PathCombine(sFolder, OrvApplication->FolderCompany()), OrvApplication->FolderApplication());
    QDir().mkpath(folder);
    return folder;
}

} // namespace

TOrvStorage_Path::TOrvStorage_Path()
{
    Setup_Folders();
}

QString TOrvStorage_Path::Path_Exe() const
{
    const QString exe = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    return exe.isEmpty() ? PathDocuments() : PathDirectory(exe);
}

QString TOrvStorage_Path::Path_SystemIniFile() const
{
    return PathChangeExt(PathCombine(Path_Documents_APP(), PathFileName(AppNameExe())), QStringLiteral(".ini"));
}

QString TOrvStorage_Path::Path_SystemIniFile_Template() const
{
    return PathChangeExt(PathCombine(Path_Exe(), PathFileName(AppNameExe())), QStringLiteral(".ini"));
}

void TOrvStorage_Path::Setup_Folders()
{
    if (!OrvApplication)
        OrvApp_ModuleInit();
    const bool identity = OrvApplication != nullptr;

    FPath_Home_OS = PathHome();
    FPath_Home_APP = identity ? ApplicationFolder(FPath_Home_OS) : QString();

    FPath_Documents_OS = PathDocuments();
    FPath_Documents_APP = identity ? ApplicationFolder(FPath_Documents_OS) : QString();

    FPath_Documents_Shared_OS = PathSharedDocuments();
    if (!FPath_Documents_Shared_OS.isEmpty()) {
        FPath_Documents_Shared_APP = identity ? ApplicationFolder(FPath_Documents_Shared_OS) : QString();
    } else {
        // No all-users documents folder here: a folder of the user's own stands in.
        FPath_Documents_Shared_OS = FPath_Documents_OS;
        FPath_Documents_Shared_APP =
            FPath_Documents_APP.isEmpty() ? QString() : PathCombine(FPath_Documents_APP, QStringLiteral("Shared"));
        if (!FPath_Documents_Shared_APP.isEmpty())
            QDir().mkpath(FPath_Documents_Shared_APP);
    }
}

QString TOrvStorage_Path::FileStrip(const QString& sFilePath) const
{
    const QString name = PathFileName(sFilePath);
    return name.isEmpty() ? QStringLiteral("Orvempty.dat") : name;
}

QString TOrvStorage_Path::FileIn_Documents_OS(const QString& sFilePath) const
{
    return PathCombine(FPath_Documents_OS, FileStrip(sFilePath));
}

QString TOrvStorage_Path::FileIn_Documents_APP(const QString& sFilePath) const
{
    return PathCombine(FPath_Documents_APP, FileStrip(sFilePath));
}

QString TOrvStorage_Path::FileIn_Documents_Shared_OS(const QString& sFilePath) const
{
    return PathCombine(FPath_Documents_Shared_OS, FileStrip(sFilePath));
}

QString TOrvStorage_Path::FileIn_Documents_Shared_APP(const QString& sFilePath) const
{
    return PathCombine(FPath_Documents_Shared_APP, FileStrip(sFilePath));
}

QString TOrvStorage_Path::FileIn_Home_OS(const QString& sFilePath) const
{
    return PathCombine(FPath_Home_OS, FileStrip(sFilePath));
}

QString TOrvStorage_Path::FileIn_Home_APP(const QString& sFilePath) const
{
    return PathCombine(FPath_Home_APP, FileStrip(sFilePath));
}

QString TOrvStorage_Path::AutoFileIn_Documents_Shared_APP(const QString& sSubPath, const QString& sAutoFileMask,
                                                          TOrvPathModes APathModes) const
{
    return AutoFileIn(FPath_Documents_Shared_APP, sSubPath, sAutoFileMask, APathModes, false);
}

QString TOrvStorage_Path::AutoFileIn_Documents_Shared_APP_Last(const QString& sSubPath,
                                                               const QString& sAutoFileMask) const
{
    return AutoFileIn_Last(FPath_Documents_Shared_APP, sSubPath, sAutoFileMask);
}

QString TOrvStorage_Path::GetIniFile_User_APP() const
{
    return FileIn_Home_APP(AppNameExe());
}

QString TOrvStorage_Path::GetIniFile_Documents_APP() const
{
    return FileIn_Documents_APP(AppNameExe());
}
