#include "ui/LibraryPath.h"

#include "services/OrvPath.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString WithSeparator(const QString& sFolder)
{
    const QString clean = QDir::cleanPath(sFolder);
    return clean.endsWith(u'/') ? clean : clean + u'/';
}

} // namespace

QString LibraryPath_DefaultFor(const QString& sExeDir)
{
    const QString besideExe = PathCombine(sExeDir, QStringLiteral("../../MP4"));
    if (QFileInfo(besideExe).isDir())
        return WithSeparator(besideExe);
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (!videos.isEmpty() && QFileInfo(videos).isDir())
        return WithSeparator(videos);
    return WithSeparator(QDir::homePath());
}
