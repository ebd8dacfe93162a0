#include "engine/TVlcMediaListC.h"

#include "engine/TVlc.h"
#include "engine/TVlcMedia.h"
#include "engine/TVlcMediaPlayerC.h"
#include "engine/VlcLoader.h"

TVlcMediaListC::TVlcMediaListC(TVlc* aVLC) : FVLC(aVLC)
{
    if (libvlc_instance_t* instance = FVLC ? FVLC->GetHandle() : nullptr)
        FML.reset(LibVlcEntries.libvlc_media_list_new(instance));
}

TVlcMediaListC::TVlcMediaListC(TVlc* aVLC, libvlc_media_list_t* aML) : FVLC(aVLC), FML(aML) {}

void TVlcMediaListC::SetMedia(const TVlcMedia& AMedia)
{
    if (FML && AMedia.MD())
        LibVlcEntries.libvlc_media_list_set_media(FML.get(), AMedia.MD());
}

std::unique_ptr<TVlcMedia> TVlcMediaListC::GetMedia() const
{
    return std::make_unique<TVlcMedia>(FVLC, FML ? LibVlcEntries.libvlc_media_list_media(FML.get()) : nullptr);
}

std::unique_ptr<TVlcMedia> TVlcMediaListC::GetMedia(int AIndex) const
{
    return std::make_unique<TVlcMedia>(FVLC, FML ? LibVlcEntries.libvlc_media_list_item_at_index(FML.get(), AIndex) : nullptr);
}

int TVlcMediaListC::GetIndex(const TVlcMedia& AMedia) const
{
    return FML && AMedia.MD() ? LibVlcEntries.libvlc_media_list_index_of_item(FML.get(), AMedia.MD()) : -1;
}

bool TVlcMediaListC::IsReadOnly() const
{
    return FML && LibVlcEntries.libvlc_media_list_is_readonly(FML.get()) != 0;
}

void TVlcMediaListC::Add(const QString& sMrl)
{
    TVlcMedia item(FVLC, sMrl);
    if (FMP) {
        item.SetDeinterlaceFilter(FMP->DeinterlaceFilter());
        item.SetDeinterlaceFilterMode(FMP->DeinterlaceMode());
    }
    Add(item);
}

void TVlcMediaListC::Add(const TVlcMedia& AMedia)
{
    if (!FML || !AMedia.MD())
        return;
    const TVlcMediaListLock lock(FML.get());
    LibVlcEntries.libvlc_media_list_add_media(FML.get(), AMedia.MD());
}

void TVlcMediaListC::Insert(const TVlcMedia& AMedia, int AIndex)
{
    if (!FML || !AMedia.MD())
        return;
    const TVlcMediaListLock lock(FML.get());
    LibVlcEntries.libvlc_media_list_insert_media(FML.get(), AMedia.MD(), AIndex);
}

void TVlcMediaListC::Delete(int AIndex)
{
    if (!FML)
        return;
    const TVlcMediaListLock lock(FML.get());
    LibVlcEntries.libvlc_media_list_remove_index(FML.get(), AIndex);
}

void TVlcMediaListC::Clear()
{
    if (!FML)
        return;
    const TVlcMediaListLock lock(FML.get());
    // A read-only list refuses the removal; stop then instead of spinning.
    while (LibVlcEntries.libvlc_media_list_count(FML.get()) > 0) {
        if (LibVlcEntries.libvlc_media_list_remove_index(FML.get(), 0) != 0)
            break;
    }
}

int TVlcMediaListC::Count() const
{
    if (!FML)
        return 0;
    const TVlcMediaListLock lock(FML.get());
    return LibVlcEntries.libvlc_media_list_count(FML.get());
}

void TVlcMediaListC::Lock() const
{
    if (FML)
        LibVlcEntries.libvlc_media_list_lock(FML.get());
}

void TVlcMediaListC::UnLock() const
{
    if (FML)
        LibVlcEntries.libvlc_media_list_unlock(FML.get());
}

libvlc_event_manager_t* TVlcMediaListC::GetEventManager() const
{
    return FML ? LibVlcEntries.libvlc_media_list_event_manager(FML.get()) : nullptr;
}
