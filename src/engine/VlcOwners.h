#pragma once

#include <QString>

#include <memory>

#include <vlc/vlc.h>

// Owners for what libvlc allocates and the caller must give back. Wrap a
// result at once, in the function that received it. Every release goes
// through the loader's table and does nothing once no library is loaded.

// Text from libvlc (UTF-8) without taking ownership; null gives an empty text.
QString LibVlcText(const char* text);

struct TVlcStringFree { void operator()(char* p) const; };
using TVlcString = std::unique_ptr<char, TVlcStringFree>;
// Decodes and frees a string that libvlc allocated for the caller.
QString LibVlcTakeString(char* text);

struct TVlcTrackDescriptionFree { void operator()(libvlc_track_description_t* p) const; };
using TVlcTrackDescriptionList = std::unique_ptr<libvlc_track_description_t, TVlcTrackDescriptionFree>;

struct TVlcAudioOutputFree { void operator()(libvlc_audio_output_t* p) const; };
using TVlcAudioOutputList = std::unique_ptr<libvlc_audio_output_t, TVlcAudioOutputFree>;

struct TVlcAudioOutputDeviceFree { void operator()(libvlc_audio_output_device_t* p) const; };
using TVlcAudioOutputDeviceList = std::unique_ptr<libvlc_audio_output_device_t, TVlcAudioOutputDeviceFree>;

struct TVlcModuleDescriptionFree { void operator()(libvlc_module_description_t* p) const; };
using TVlcModuleDescriptionList = std::unique_ptr<libvlc_module_description_t, TVlcModuleDescriptionFree>;

// The array libvlc_media_get_tracks_info fills in.
struct TVlcTrackInfoFree { void operator()(libvlc_media_track_info_t* p) const; };
using TVlcTrackInfoArray = std::unique_ptr<libvlc_media_track_info_t, TVlcTrackInfoFree>;

// One reference to a media, e.g. from libvlc_media_player_get_media.
struct TVlcMediaRelease { void operator()(libvlc_media_t* p) const; };
using TVlcMediaRef = std::unique_ptr<libvlc_media_t, TVlcMediaRelease>;

// The track array of libvlc_media_tracks_get with its count.
class TVlcMediaTracks {
public:
    TVlcMediaTracks() = default;
    TVlcMediaTracks(libvlc_media_track_t** tracks, unsigned count) : FTracks(tracks), FCount(count) {}
    ~TVlcMediaTracks();
    TVlcMediaTracks(TVlcMediaTracks&& other) noexcept;
    TVlcMediaTracks& operator=(TVlcMediaTracks&& other) noexcept;
    TVlcMediaTracks(const TVlcMediaTracks&) = delete;
    TVlcMediaTracks& operator=(const TVlcMediaTracks&) = delete;

    unsigned Count() const { return FCount; }
    libvlc_media_track_t* operator[](unsigned index) const { return FTracks[index]; }

private:
    libvlc_media_track_t** FTracks = nullptr;
    unsigned FCount = 0;
};
