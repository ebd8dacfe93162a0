#include "engine/VlcOwners.h"

#include "engine/VlcLoader.h"

#include <cstdlib>

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

void TVlcInstanceRelease::operator()(libvlc_instance_t* p) const
{
    if (LibVlcEntries.libvlc_release)
        LibVlcEntries.libvlc_release(p);
}

void TVlcMediaRelease::operator()(libvlc_media_t* p) const
{
    if (LibVlcEntries.libvlc_media_release)
        LibVlcEntries.libvlc_media_release(p);
}

void TVlcMediaListRelease::operator()(libvlc_media_list_t* p) const
{
    if (LibVlcEntries.libvlc_media_list_release)
        LibVlcEntries.libvlc_media_list_release(p);
}

void TVlcMediaPlayerRelease::operator()(libvlc_media_player_t* p) const
{
    if (LibVlcEntries.libvlc_media_player_release)
        LibVlcEntries.libvlc_media_player_release(p);
}

void TVlcEqualizerRelease::operator()(libvlc_equalizer_t* p) const
{
    if (LibVlcEntries.libvlc_audio_equalizer_release)
        LibVlcEntries.libvlc_audio_equalizer_release(p);
}

TVlcMediaListLock::TVlcMediaListLock(libvlc_media_list_t* AML) : FML(AML)
{
    LibVlcEntries.libvlc_media_list_lock(FML);
}

TVlcMediaListLock::~TVlcMediaListLock()
{
    LibVlcEntries.libvlc_media_list_unlock(FML);
}
