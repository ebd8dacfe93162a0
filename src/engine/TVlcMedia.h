#pragma once

#include <QString>

#include <memory>

#include <vlc/vlc.h>

#include "engine/VlcOwners.h"
#include "engine/VlcTypes.h"

class TVlc;
class TVlcMediaListC;

// One libvlc media of an engine instance, or none. Holds one reference and
// releases it when destroyed. Operations on an item without media do nothing
// and give a neutral result.
class TVlcMedia {
public:
    explicit TVlcMedia(TVlc* aVLC);
    // A path media when a file of that name exists, else a location media.
    TVlcMedia(TVlc* aVLC, const QString& sMrl);
    // Takes over the reference aMD.
    TVlcMedia(TVlc* aVLC, libvlc_media_t* aMD);

    libvlc_media_t* MD() const { return FMD.get(); }
    TVlc* VLC() const { return FVLC; }

    // Each replaces the media when the instance can be created. sPath is a
    // local path as the program holds it, every byte of its name kept (PathNative).
    void NewLocation(const QString& sMrl);
    void NewPath(const QString& sPath);
    void NewNode(const QString& sName);

    void AddOption(const QString& sOption);
    void AddOptionFlag(const QString& sOption, unsigned AFlags);
    void SetDeinterlaceFilter(TDeinterlaceFilter aValue);
    void SetDeinterlaceFilterMode(TDeinterlaceMode aValue);

    QString GetMrl() const;
    // A new item of the same instance; empty when this one is.
    std::unique_ptr<TVlcMedia> Duplicate() const;
    QString GetMeta(libvlc_meta_t AMeta) const;
    void SetMeta(libvlc_meta_t AMeta, const QString& sValue);
    void SaveMeta();
    libvlc_state_t GetState() const;
    bool GetStats(libvlc_media_stats_t& AStats) const;
    // A new list of the same instance holding the sub-items.
    std::unique_ptr<TVlcMediaListC> SubItems() const;
    libvlc_event_manager_t* GetEventManager() const;
    qint64 GetDuration() const; // ms; -1 when unknown
    void Parse();
    void ParseAsync();
    bool IsParsed() const;
    void SetUserData(void* AData);
    void* GetUserData() const;
    // Number of tracks; ATracks receives libvlc's array.
    int GetTracksInfo(TVlcTrackInfoArray& ATracks) const;

private:
    TVlc* FVLC = nullptr;
    TVlcMediaRef FMD;
};
