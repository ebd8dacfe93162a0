#include "engine/TVlcMedia.h"

#include "engine/TVlc.h"
#include "engine/TVlcMediaListC.h"
#include "engine/VlcLoader.h"
#include "services/OrvPath.h"

#include <QFileInfo>

TVlcMedia::TVlcMedia(TVlc* aVLC) : FVLC(aVLC) {}

TVlcMedia::TVlcMedia(TVlc* aVLC, const QString& sMrl) : FVLC(aVLC)
{
    if (QFileInfo(sMrl).isFile())
        NewPath(sMrl);
    else
        NewLocation(sMrl);
}

TVlcMedia::TVlcMedia(TVlc* aVLC, libvlc_media_t* aMD) : FVLC(aVLC), FMD(aMD) {}

void TVlcMedia::NewLocation(const QString& sMrl)
{
    if (libvlc_instance_t* instance = FVLC ? FVLC->GetHandle() : nullptr)
        FMD.reset(LibVlcEntries.libvlc_media_new_location(instance, sMrl.toUtf8().constData()));
}

void TVlcMedia::NewPath(const QString& sPath)
{
    if (libvlc_instance_t* instance = FVLC ? FVLC->GetHandle() : nullptr)
        FMD.reset(LibVlcEntries.libvlc_media_new_path(instance, PathNative(sPath).c_str()));
}

void TVlcMedia::NewNode(const QString& sName)
{
    if (libvlc_instance_t* instance = FVLC ? FVLC->GetHandle() : nullptr)
        FMD.reset(LibVlcEntries.libvlc_media_new_as_node(instance, sName.toUtf8().constData()));
}

void TVlcMedia::AddOption(const QString& sOption)
{
    if (FMD)
        LibVlcEntries.libvlc_media_add_option(FMD.get(), sOption.toUtf8().constData());
}

void TVlcMedia::AddOptionFlag(const QString& sOption, unsigned AFlags)
{
    if (FMD)
        LibVlcEntries.libvlc_media_add_option_flag(FMD.get(), sOption.toUtf8().constData(), AFlags);
}

void TVlcMedia::SetDeinterlaceFilter(TDeinterlaceFilter aValue)
{
    AddOption(QLatin1String(DeinterlaceFilterOption.at(aValue)));
}

void TVlcMedia::SetDeinterlaceFilterMode(TDeinterlaceMode aValue)
{
    AddOption(QStringLiteral("deinterlace-mode=") + QLatin1String(DeinterlaceModeName.at(aValue)));
}

QString TVlcMedia::GetMrl() const
{
    return FMD ? LibVlcTakeString(LibVlcEntries.libvlc_media_get_mrl(FMD.get())) : QString();
}

std::unique_ptr<TVlcMedia> TVlcMedia::Duplicate() const
{
    return std::make_unique<TVlcMedia>(FVLC, FMD ? LibVlcEntries.libvlc_media_duplicate(FMD.get()) : nullptr);
}

QString TVlcMedia::GetMeta(libvlc_meta_t AMeta) const
{
    return FMD ? LibVlcTakeString(LibVlcEntries.libvlc_media_get_meta(FMD.get(), AMeta)) : QString();
}

void TVlcMedia::SetMeta(libvlc_meta_t AMeta, const QString& sValue)
{
    if (FMD)
        LibVlcEntries.libvlc_media_set_meta(FMD.get(), AMeta, sValue.toUtf8().constData());
}

void TVlcMedia::SaveMeta()
{
    if (FMD)
        LibVlcEntries.libvlc_media_save_meta(FMD.get());
}

libvlc_state_t TVlcMedia::GetState() const
{
    return FMD ? LibVlcEntries.libvlc_media_get_state(FMD.get()) : libvlc_NothingSpecial;
}

bool TVlcMedia::GetStats(libvlc_media_stats_t& AStats) const
{
    return FMD && LibVlcEntries.libvlc_media_get_stats(FMD.get(), &AStats) != 0;
}

std::unique_ptr<TVlcMediaListC> TVlcMedia::SubItems() const
{
    return std::make_unique<TVlcMediaListC>(FVLC, FMD ? LibVlcEntries.libvlc_media_subitems(FMD.get()) : nullptr);
}

libvlc_event_manager_t* TVlcMedia::GetEventManager() const
{
    return FMD ? LibVlcEntries.libvlc_media_event_manager(FMD.get()) : nullptr;
}

qint64 TVlcMedia::GetDuration() const
{
    return FMD ? LibVlcEntries.libvlc_media_get_duration(FMD.get()) : -1;
}

void TVlcMedia::Parse()
{
    if (FMD)
        LibVlcEntries.libvlc_media_parse(FMD.get());
}

void TVlcMedia::ParseAsync()
{
    if (FMD)
        LibVlcEntries.libvlc_media_parse_async(FMD.get());
}

bool TVlcMedia::IsParsed() const
{
    return FMD && LibVlcEntries.libvlc_media_is_parsed(FMD.get()) != 0;
}

void TVlcMedia::SetUserData(void* AData)
{
    if (FMD)
        LibVlcEntries.libvlc_media_set_user_data(FMD.get(), AData);
}

void* TVlcMedia::GetUserData() const
{
    return FMD ? LibVlcEntries.libvlc_media_get_user_data(FMD.get()) : nullptr;
}

int TVlcMedia::GetTracksInfo(TVlcTrackInfoArray& ATracks) const
{
    libvlc_media_track_info_t* tracks = nullptr;
    const int count = FMD ? LibVlcEntries.libvlc_media_get_tracks_info(FMD.get(), &tracks) : 0;
    ATracks.reset(tracks);
    return count;
}
