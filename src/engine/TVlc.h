#pragma once

#include <QString>
#include <QStringList>

#include <vlc/vlc.h>

#include "engine/VlcOwners.h"

// The libvlc engine instance. Start options are collected first; the instance
// is created by the first GetHandle that finds a usable library and lives until
// the object is destroyed.
class TVlc {
public:
    // libvlc_new receives at most this many arguments (library directory included).
    static constexpr int MaxStartArguments = 256;

    TVlc() = default;
    TVlc(const TVlc&) = delete;
    TVlc& operator=(const TVlc&) = delete;

    // Appends an option unless it is empty or already listed (any letter case).
    void AddOption(const QString& sOption);
    // The instance, created on first use; null when the library is unusable or
    // libvlc refuses the options (the next call tries again).
    libvlc_instance_t* GetHandle();
    // Packed version of the loaded library (LibVlcPackVersion); 0 without one.
    quint32 GetVersionBin();
    QString GetError();      // libvlc's own error message
    QString GetVersion();
    QString GetCompiler();
    QString GetChangeSet();

    QString Path() const { return FPath; }
    // The library directory to try before the installed one.
    void SetPath(const QString& sValue) { FPath = sValue; }
    // Title display start option for libraries older than 2.1.0.
    bool TitleShow() const { return FTitleShow; }
    void SetTitleShow(bool AValue) { FTitleShow = AValue; }
    const QStringList& StartOptions() const { return FStartOptions; }

private:
    TVlcInstanceRef FHandle;
    QString FPath;
    bool FTitleShow = false;
    quint32 FVersionBin = 0;
    QStringList FStartOptions;
};
