#pragma once

#include <QString>

#include <memory>

#include <vlc/vlc.h>

#include "engine/VlcOwners.h"

class TVlc;
class TVlcMedia;
class TVlcMediaPlayerC;

// A libvlc media list of an engine instance. Holds one reference and releases
// it when destroyed; without a list every operation does nothing and gives a
// neutral result.
class TVlcMediaListC {
public:
    explicit TVlcMediaListC(TVlc* aVLC);
    // Takes over the reference aML.
    TVlcMediaListC(TVlc* aVLC, libvlc_media_list_t* aML);

    libvlc_media_list_t* ML() const { return FML.get(); }
    // Player settings applied to media made by Add(mrl); not owned.
    void SetMediaPlayerSettings(TVlcMediaPlayerC* AMP) { FMP = AMP; }

    void SetMedia(const TVlcMedia& AMedia);
    std::unique_ptr<TVlcMedia> GetMedia() const;
    std::unique_ptr<TVlcMedia> GetMedia(int AIndex) const;
    int GetIndex(const TVlcMedia& AMedia) const;
    bool IsReadOnly() const;
    void Add(const QString& sMrl);
    void Add(const TVlcMedia& AMedia);
    void Insert(const TVlcMedia& AMedia, int AIndex);
    void Delete(int AIndex);
    void Clear();
    int Count() const;
    void Lock() const;
    void UnLock() const;
    libvlc_event_manager_t* GetEventManager() const;

private:
    TVlc* FVLC = nullptr;
    TVlcMediaListRef FML;
    TVlcMediaPlayerC* FMP = nullptr;
};
