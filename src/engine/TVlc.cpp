#include "engine/TVlc.h"

#include "engine/VlcLoader.h"
#include "engine/VlcOwners.h"
#include "engine/VlcText.h"

#include <QByteArrayList>

#include <utility>
#include <vector>

namespace {

QString entryText(const char* (*entry)())
{
    return entry ? LibVlcText(entry()) : QString();
}

} // namespace

void TVlc::AddOption(const QString& sOption)
{
    if (sOption.isEmpty() || FStartOptions.contains(sOption, Qt::CaseInsensitive))
        return;
    FStartOptions.append(sOption);
}

libvlc_instance_t* TVlc::GetHandle()
{
    if (FHandle)
        return FHandle.get();

    if (!FPath.isEmpty()) {
        LibVlcLoad(FPath);
        if (!LibVlcLastError().isEmpty())
            LibVlcLoadInstalled();
    } else {
        LibVlcLoadInstalled();
    }
    if (!LibVlcLastError().isEmpty() || !LibVlcEntries.libvlc_new)
        return nullptr;

    QByteArrayList arguments;
    arguments.append(LibVlcPath().toUtf8());
    for (const QString& sOption : std::as_const(FStartOptions)) {
        if (arguments.size() >= MaxStartArguments)
            break;
        if (!VlcTrimControls(sOption).isEmpty())
            arguments.append(sOption.toUtf8());
    }
    const quint32 version = GetVersionBin();
    if (version < LibVlcPackVersion(2, 1, 0) && arguments.size() < MaxStartArguments)
        arguments.append(FTitleShow ? "--video-title-show" : "--no-video-title-show");
    if (version >= LibVlcPackVersion(2, 0, 0) && arguments.size() < MaxStartArguments - 2)
        arguments.append("--sub-source=marq");
    if (version >= LibVlcPackVersion(1, 1, 0) && arguments.size() < MaxStartArguments - 1)
        arguments.append("--sub-filter=logo:marq");

    std::vector<const char*> argv;
    argv.reserve(arguments.size());
    for (const QByteArray& argument : std::as_const(arguments))
        argv.push_back(argument.constData());
    FHandle.reset(LibVlcEntries.libvlc_new(static_cast<int>(argv.size()), argv.data()));
    return FHandle.get();
}

quint32 TVlc::GetVersionBin()
{
    if (FVersionBin == 0 && LibVlcEntries.libvlc_get_version)
        FVersionBin = LibVlcParseVersion(LibVlcEntries.libvlc_get_version());
    return FVersionBin;
}

QString TVlc::GetError()
{
    return entryText(LibVlcEntries.libvlc_errmsg);
}

QString TVlc::GetVersion()
{
    return entryText(LibVlcEntries.libvlc_get_version);
}

QString TVlc::GetCompiler()
{
    return entryText(LibVlcEntries.libvlc_get_compiler);
}

QString TVlc::GetChangeSet()
{
    return entryText(LibVlcEntries.libvlc_get_changeset);
}
