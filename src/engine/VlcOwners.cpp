#include "engine/VlcOwners.h"

#include "engine/VlcLoader.h"

#include <cstdlib>
#include <utility>

QString LibVlcText(const char* text)
{
    return QString::fromUtf8(text);
}

void TVlcStringFree::operator()(char* p) const
{
    // Releases before 2.0.0 have no libvlc_free; their strings come from malloc.
    if (LibVlcBound(LibVlcEntries.libvlc_free))
        LibVlcEntries.libvlc_free(p);
    else
        std::free(p);
}

QString LibVlcTakeString(char* text)
{
    const TVlcString owner(text);
    return LibVlcText(owner.get());
}

void TVlcTrackDescriptionFree::operator()(libvlc_track_description_t* p) const
{
    if (LibVlcBound(LibVlcEntries.libvlc_track_description_list_release))
        LibVlcEntries.libvlc_track_description_list_release(p);
    else if (LibVlcEntries.libvlc_track_description_release)
        LibVlcEntries.libvlc_track_description_release(p);
}

void TVlcAudioOutputFree::operator()(libvlc_audio_output_t* p) const
{
    if (LibVlcEntries.libvlc_audio_output_list_release)
        LibVlcEntries.libvlc_audio_output_list_release(p);
}

void TVlcAudioOutputDeviceFree::operator()(libvlc_audio_output_device_t* p) const
{
    if (LibVlcBound(LibVlcEntries.libvlc_audio_output_device_list_release))
        LibVlcEntries.libvlc_audio_output_device_list_release(p);
}

void TVlcModuleDescriptionFree::operator()(libvlc_module_description_t* p) const
{
    if (LibVlcBound(LibVlcEntries.libvlc_module_description_list_release))
        LibVlcEntries.libvlc_module_description_list_release(p);
}

void TVlcTrackInfoFree::operator()(libvlc_media_track_info_t* p) const
{
    if (LibVlcBound(LibVlcEntries.libvlc_free))
        LibVlcEntries.libvlc_free(p);
    else
        std::free(p);
}

void TVlcMediaRelease::operator()(libvlc_media_t* p) const
{
    if (LibVlcEntries.libvlc_media_release)
        LibVlcEntries.libvlc_media_release(p);
}

TVlcMediaTracks::~TVlcMediaTracks()
{
    if (FTracks && LibVlcBound(LibVlcEntries.libvlc_media_tracks_release))
        LibVlcEntries.libvlc_media_tracks_release(FTracks, FCount);
}

TVlcMediaTracks::TVlcMediaTracks(TVlcMediaTracks&& other) noexcept
    : FTracks(std::exchange(other.FTracks, nullptr)), FCount(std::exchange(other.FCount, 0))
{
}

TVlcMediaTracks& TVlcMediaTracks::operator=(TVlcMediaTracks&& other) noexcept
{
    if (this != &other) {
        TVlcMediaTracks old(std::move(*this));
        FTracks = std::exchange(other.FTracks, nullptr);
        FCount = std::exchange(other.FCount, 0);
    }
    return *this;
}
