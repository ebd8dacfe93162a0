#pragma once

#include <QString>

#include <memory>

#include <vlc/vlc.h>

// Owners for what libvlc allocates and the caller must give back, one alias
// per type: every libvlc object the program holds, in a class or for one
// call, is held by one of these. Wrap a result at once, where it is received.
// Every release goes through the loader's table and does nothing once no
// library is loaded.

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

// One reference to each libvlc object, released when its owner goes: the
// engine instance, a media (e.g. from libvlc_media_player_get_media), a media
// list, a media player and an equalizer.
struct TVlcInstanceRelease { void operator()(libvlc_instance_t* p) const; };
using TVlcInstanceRef = std::unique_ptr<libvlc_instance_t, TVlcInstanceRelease>;

struct TVlcMediaRelease { void operator()(libvlc_media_t* p) const; };
using TVlcMediaRef = std::unique_ptr<libvlc_media_t, TVlcMediaRelease>;

struct TVlcMediaListRelease { void operator()(libvlc_media_list_t* p) const; };
using TVlcMediaListRef = std::unique_ptr<libvlc_media_list_t, TVlcMediaListRelease>;

struct TVlcMediaPlayerRelease { void operator()(libvlc_media_player_t* p) const; };
using TVlcMediaPlayerRef = std::unique_ptr<libvlc_media_player_t, TVlcMediaPlayerRelease>;

struct TVlcEqualizerRelease { void operator()(libvlc_equalizer_t* p) const; };
using TVlcEqualizerRef = std::unique_ptr<libvlc_equalizer_t, TVlcEqualizerRelease>;

// Holds libvlc's lock of a media list for one scope.
class TVlcMediaListLock {
public:
    explicit TVlcMediaListLock(libvlc_media_list_t* AML);
    ~TVlcMediaListLock();
    TVlcMediaListLock(const TVlcMediaListLock&) = delete;
    TVlcMediaListLock& operator=(const TVlcMediaListLock&) = delete;

private:
    libvlc_media_list_t* FML;
};
