#include "engine/TVlcMedia.h"

#include "engine/TVlc.h"
#include "engine/TVlcMediaListC.h"
#include "engine/VlcLoader.h"
#include "services/OrvPath.h"

#include <QFileInfo>

#include <utility>

TVlcMedia::TVlcMedia(TVlc* aVLC) : FVLC(aVLC) {}

TVlcMedia::TVlcMedia(TVlc* aVLC, const QString& sMrl) : FVLC(aVLC)
{
    if (QFileInfo(sMrl).isFile())
        NewPath(sMrl);
    else
        NewLocation(sMrl);
}

TVlcMedia::TVlcMedia(TVlc* aVLC, libvlc_media_t* aMD) : FVLC(aVLC), FMD(aMD) {}

TVlcMedia::~TVlcMedia()
{
    Replace(nullptr);
}

TVlcMedia::TVlcMedia(TVlcMedia&& other) noexcept
    : FVLC(other.FVLC), FMD(std::exchange(other.FMD, nullptr))
{
}

TVlcMedia& TVlcMedia::operator=(TVlcMedia&& other) noexcept
{
    if (this != &other) {
        FVLC = other.FVLC;
        Replace(std::exchange(other.FMD, nullptr));
    }
    return *this;
}

void TVlcMedia::Replace(libvlc_media_t* aMD)
{
    if (FMD && LibVlcEntries.libvlc_media_release)
        LibVlcEntries.libvlc_media_release(FMD);
    FMD = aMD;
}

void TVlcMedia::NewLocation(const QString& sMrl)
{
    if (libvlc_instance_t* instance = FVLC ? FVLC->GetHandle() : nullptr)
        Replace(LibVlcEntries.libvlc_media_new_location(instance, sMrl.toUtf8().constData()));
}

void TVlcMedia::NewPath(const QString& sPath)
{
    if (libvlc_instance_t* instance = FVLC ? FVLC->GetHandle() : nullptr)
        Replace(LibVlcEntries.libvlc_media_new_path(instance, PathNative(sPath).c_str()));
}

void TVlcMedia::NewNode(const QString& sName)
{
    if (libvlc_instance_t* instance = FVLC ? FVLC->GetHandle() : nullptr)
        Replace(LibVlcEntries.libvlc_media_new_as_node(instance, sName.toUtf8().constData()));
}

void TVlcMedia::AddOption(const QString& sOption)
{
    if (FMD)
        LibVlcEntries.libvlc_media_add_option(FMD, sOption.toUtf8().constData());
}

void TVlcMedia::AddOptionFlag(const QString& sOption, unsigned AFlags)
{
    if (FMD)
        LibVlcEntries.libvlc_media_add_option_flag(FMD, sOption.toUtf8().constData(), AFlags);
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
    return FMD ? LibVlcTakeString(LibVlcEntries.libvlc_media_get_mrl(FMD)) : QString();
}

std::unique_ptr<TVlcMedia> TVlcMedia::Duplicate() const
{
    return std::make_unique<TVlcMedia>(FVLC, FMD ? LibVlcEntries.libvlc_media_duplicate(FMD) : nullptr);
}

QString TVlcMedia::GetMeta(libvlc_meta_t AMeta) const
{
    return FMD ? LibVlcTakeString(LibVlcEntries.libvlc_media_get_meta(FMD, AMeta)) : QString();
}

void TVlcMedia::SetMeta(libvlc_meta_t AMeta, const QString& sValue)
{
    if (FMD)
        LibVlcEntries.libvlc_media_set_meta(FMD, AMeta, sValue.toUtf8().constData());
}

void TVlcMedia::SaveMeta()
{
    if (FMD)
        LibVlcEntries.libvlc_media_save_meta(FMD);
}

libvlc_state_t TVlcMedia::GetState() const
{
    return FMD ? LibVlcEntries.libvlc_media_get_state(FMD) : libvlc_NothingSpecial;
}

bool TVlcMedia::GetStats(libvlc_media_stats_t& AStats) const
{
    return FMD && LibVlcEntries.libvlc_media_get_stats(FMD, &AStats) != 0;
}

std::unique_ptr<TVlcMediaListC> TVlcMedia::SubItems() const
{
    return std::make_unique<TVlcMediaListC>(FVLC, FMD ? LibVlcEntries.libvlc_media_subitems(FMD) : nullptr);
}

libvlc_event_manager_t* TVlcMedia::GetEventManager() const
{
    return FMD ? LibVlcEntries.libvlc_media_event_manager(FMD) : nullptr;
}

qint64 TVlcMedia::GetDuration() const
{
    return FMD ? LibVlcEntries.libvlc_media_get_duration(FMD) : -1;
}

void TVlcMedia::Parse()
{
    if (FMD)
        LibVlcEntries.libvlc_media_parse(FMD);
}

void TVlcMedia::ParseAsync()
{
    if (FMD)
        LibVlcEntries.libvlc_media_parse_async(FMD);
}

bool TVlcMedia::IsParsed() const
{
    return FMD && LibVlcEntries.libvlc_media_is_parsed(FMD) != 0;
}

void TVlcMedia::SetUserData(void* AData)
{
    if (FMD)
        LibVlcEntries.libvlc_media_set_user_data(FMD, AData);
}

void* TVlcMedia::GetUserData() const
{
    return FMD ? LibVlcEntries.libvlc_media_get_user_data(FMD) : nullptr;
}

int TVlcMedia::GetTracksInfo(TVlcTrackInfoArray& ATracks) const
{
    libvlc_media_track_info_t* tracks = nullptr;
    const int count = FMD ? LibVlcEntries.libvlc_media_get_tracks_info(FMD, &tracks) : 0;
    ATracks.reset(tracks);
    return count;
}
