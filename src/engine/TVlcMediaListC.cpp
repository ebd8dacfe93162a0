#include "engine/TVlcMediaListC.h"

#include "engine/TVlc.h"
#include "engine/TVlcMedia.h"
#include "engine/TVlcMediaPlayerC.h"
#include "engine/VlcLoader.h"

#include <utility>

namespace {

// Holds libvlc's lock of a media list for one operation.
class TListLock {
public:
    explicit TListLock(libvlc_media_list_t* AML) : FML(AML) { LibVlcEntries.libvlc_media_list_lock(FML); }
    ~TListLock() { LibVlcEntries.libvlc_media_list_unlock(FML); }
    TListLock(const TListLock&) = delete;
    TListLock& operator=(const TListLock&) = delete;

private:
    libvlc_media_list_t* FML;
};

} // namespace

TVlcMediaListC::TVlcMediaListC(TVlc* aVLC) : FVLC(aVLC)
{
    if (libvlc_instance_t* instance = FVLC ? FVLC->GetHandle() : nullptr)
        FML = LibVlcEntries.libvlc_media_list_new(instance);
}

TVlcMediaListC::TVlcMediaListC(TVlc* aVLC, libvlc_media_list_t* aML) : FVLC(aVLC), FML(aML) {}

TVlcMediaListC::~TVlcMediaListC()
{
    if (FML && LibVlcEntries.libvlc_media_list_release)
        LibVlcEntries.libvlc_media_list_release(FML);
}

TVlcMediaListC::TVlcMediaListC(TVlcMediaListC&& other) noexcept
    : FVLC(other.FVLC), FML(std::exchange(other.FML, nullptr)), FMP(other.FMP)
{
}

TVlcMediaListC& TVlcMediaListC::operator=(TVlcMediaListC&& other) noexcept
{
    if (this != &other) {
        TVlcMediaListC old(std::move(*this));
        FVLC = other.FVLC;
        FML = std::exchange(other.FML, nullptr);
        FMP = other.FMP;
    }
    return *this;
}

void TVlcMediaListC::SetMedia(const TVlcMedia& AMedia)
{
    if (FML && AMedia.MD())
        LibVlcEntries.libvlc_media_list_set_media(FML, AMedia.MD());
}

std::unique_ptr<TVlcMedia> TVlcMediaListC::GetMedia() const
{
    return std::make_unique<TVlcMedia>(FVLC, FML ? LibVlcEntries.libvlc_media_list_media(FML) : nullptr);
}

std::unique_ptr<TVlcMedia> TVlcMediaListC::GetMedia(int AIndex) const
{
    return std::make_unique<TVlcMedia>(FVLC, FML ? LibVlcEntries.libvlc_media_list_item_at_index(FML, AIndex) : nullptr);
}

int TVlcMediaListC::GetIndex(const TVlcMedia& AMedia) const
{
    return FML && AMedia.MD() ? LibVlcEntries.libvlc_media_list_index_of_item(FML, AMedia.MD()) : -1;
}

bool TVlcMediaListC::IsReadOnly() const
{
    return FML && LibVlcEntries.libvlc_media_list_is_readonly(FML) != 0;
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
    TListLock lock(FML);
    LibVlcEntries.libvlc_media_list_add_media(FML, AMedia.MD());
}

void TVlcMediaListC::Insert(const TVlcMedia& AMedia, int AIndex)
{
    if (!FML || !AMedia.MD())
        return;
    TListLock lock(FML);
    LibVlcEntries.libvlc_media_list_insert_media(FML, AMedia.MD(), AIndex);
}

void TVlcMediaListC::Delete(int AIndex)
{
    if (!FML)
        return;
    TListLock lock(FML);
    LibVlcEntries.libvlc_media_list_remove_index(FML, AIndex);
}

void TVlcMediaListC::Clear()
{
    if (!FML)
        return;
    TListLock lock(FML);
    // A read-only list refuses the removal; stop then instead of spinning.
    while (LibVlcEntries.libvlc_media_list_count(FML) > 0) {
        if (LibVlcEntries.libvlc_media_list_remove_index(FML, 0) != 0)
            break;
    }
}

int TVlcMediaListC::Count() const
{
    if (!FML)
        return 0;
    TListLock lock(FML);
    return LibVlcEntries.libvlc_media_list_count(FML);
}

void TVlcMediaListC::Lock() const
{
    if (FML)
        LibVlcEntries.libvlc_media_list_lock(FML);
}

void TVlcMediaListC::UnLock() const
{
    if (FML)
        LibVlcEntries.libvlc_media_list_unlock(FML);
}

libvlc_event_manager_t* TVlcMediaListC::GetEventManager() const
{
    return FML ? LibVlcEntries.libvlc_media_list_event_manager(FML) : nullptr;
}
