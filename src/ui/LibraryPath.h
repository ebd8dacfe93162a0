#pragma once

#include <QString>

// The default media folder of a program whose executable lies in sExeDir,
// with a trailing "/": "../../MP4/" beside the executable when that folder
// exists (a build or copied folder with its videos), else the user's videos
// folder when it exists, else the user's home. An installed program thus
// never defaults to a folder such as /MP4/ that its user cannot create.
QString LibraryPath_DefaultFor(const QString& sExeDir);
