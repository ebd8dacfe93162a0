// TVlcPlayer: audio tracks, subtitles, titles, chapters, equalizer, audio
// outputs and teletext.

#include "engine/TVlcPlayer.h"

#include "engine/TVlc.h"
#include "engine/VlcLoader.h"
#include "engine/VlcOwners.h"

#include <optional>

namespace {

// Audio tracks, subtitles and titles are each described by a list that the
// engine makes for every request; it is released as soon as it has been read.
using TDescribe = libvlc_track_description_t* (*)(libvlc_media_player_t*);

TVlcTrackDescriptionList Describe(TDescribe describe, libvlc_media_player_t* player)
{
    return TVlcTrackDescriptionList(describe(player));
}

TVlcTextTagList NamedEntries(TDescribe describe, libvlc_media_player_t* player)
{
    TVlcTextTagList list;
    if (!player)
        return list;
    const TVlcTrackDescriptionList descriptions = Describe(describe, player);
    for (const libvlc_track_description_t* entry = descriptions.get(); entry; entry = entry->p_next) {
        if (entry->psz_name)
            list.append({LibVlcText(entry->psz_name), entry->i_id});
    }
    return list;
}

// Position of the entry with id, or -1.
int PositionOfId(TDescribe describe, libvlc_media_player_t* player, int id)
{
    const TVlcTrackDescriptionList descriptions = Describe(describe, player);
    int no = 0;
    for (const libvlc_track_description_t* entry = descriptions.get(); entry; entry = entry->p_next, ++no) {
        if (entry->i_id == id)
            return no;
    }
    return -1;
}

const libvlc_track_description_t* EntryAt(const TVlcTrackDescriptionList& descriptions, int no)
{
    if (no < 0)
        return nullptr;
    const libvlc_track_description_t* entry = descriptions.get();
    for (; entry && no > 0; --no)
        entry = entry->p_next;
    return entry;
}

std::optional<int> IdAt(TDescribe describe, libvlc_media_player_t* player, int no)
{
    if (no < 0)
        return std::nullopt;
    const TVlcTrackDescriptionList descriptions = Describe(describe, player);
    if (const libvlc_track_description_t* entry = EntryAt(descriptions, no))
        return entry->i_id;
    return std::nullopt;
}

QString NameAt(TDescribe describe, libvlc_media_player_t* player, int no)
{
    if (!player || no < 0)
        return {};
    const TVlcTrackDescriptionList descriptions = Describe(describe, player);
    const libvlc_track_description_t* entry = EntryAt(descriptions, no);
    return entry ? LibVlcText(entry->psz_name) : QString();
}

QString NameOfId(TDescribe describe, libvlc_media_player_t* player, int id)
{
    if (!player || id < 0)
        return {};
    const TVlcTrackDescriptionList descriptions = Describe(describe, player);
    for (const libvlc_track_description_t* entry = descriptions.get(); entry; entry = entry->p_next) {
        if (entry->i_id == id)
            return LibVlcText(entry->psz_name);
    }
    return {};
}

QStringList DeviceIds(TVlcAudioOutputDeviceList devices)
{
    QStringList ids;
    for (const libvlc_audio_output_device_t* device = devices.get(); device; device = device->p_next) {
        if (device->psz_device)
            ids.append(LibVlcText(device->psz_device));
    }
    return ids;
}

} // namespace

// ---- Audio tracks ----------------------------------------------------------

TVlcTextTagList TVlcPlayer::GetAudioTrackList()
{
    return NamedEntries(LibVlcEntries.libvlc_audio_get_track_description, p_mi.get());
}

int TVlcPlayer::GetAudioTrackCount()
{
    return p_mi ? LibVlcEntries.libvlc_audio_get_track_count(p_mi.get()) : -1;
}

int TVlcPlayer::GetAudioTrackId()
{
    return p_mi ? LibVlcEntries.libvlc_audio_get_track(p_mi.get()) : -1;
}

void TVlcPlayer::SetAudioTrackById(int track_id)
{
    if (p_mi && track_id >= 0)
        LibVlcEntries.libvlc_audio_set_track(p_mi.get(), track_id);
}

int TVlcPlayer::GetAudioTrackNo()
{
    if (!p_mi)
        return 0;
    return PositionOfId(LibVlcEntries.libvlc_audio_get_track_description, p_mi.get(),
                        LibVlcEntries.libvlc_audio_get_track(p_mi.get()));
}

void TVlcPlayer::SetAudioTrackByNo(int track_no)
{
    if (!p_mi)
        return;
    if (const auto id = IdAt(LibVlcEntries.libvlc_audio_get_track_description, p_mi.get(), track_no))
        LibVlcEntries.libvlc_audio_set_track(p_mi.get(), *id);
}

QString TVlcPlayer::GetAudioTrackDescriptionById(int track_id)
{
    return NameOfId(LibVlcEntries.libvlc_audio_get_track_description, p_mi.get(), track_id);
}

QString TVlcPlayer::GetAudioTrackDescriptionByNo(int track_no)
{
    return NameAt(LibVlcEntries.libvlc_audio_get_track_description, p_mi.get(), track_no);
}

// ---- Subtitles ---------------------------------------------------------------

TVlcTextTagList TVlcPlayer::GetVideoSubtitleList()
{
    return NamedEntries(LibVlcEntries.libvlc_video_get_spu_description, p_mi.get());
}

int TVlcPlayer::GetVideoSubtitleCount()
{
    return p_mi ? LibVlcEntries.libvlc_video_get_spu_count(p_mi.get()) : -1;
}

int TVlcPlayer::GetVideoSubtitleId()
{
    return p_mi ? LibVlcEntries.libvlc_video_get_spu(p_mi.get()) : -1;
}

void TVlcPlayer::SetVideoSubtitleById(int subtitle_id)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_spu(p_mi.get(), subtitle_id);
}

int TVlcPlayer::GetVideoSubtitleNo()
{
    if (!p_mi)
        return 0;
    return PositionOfId(LibVlcEntries.libvlc_video_get_spu_description, p_mi.get(),
                        LibVlcEntries.libvlc_video_get_spu(p_mi.get()));
}

void TVlcPlayer::SetVideoSubtitleByNo(int subtitle_no)
{
    if (!p_mi)
        return;
    if (const auto id = IdAt(LibVlcEntries.libvlc_video_get_spu_description, p_mi.get(), subtitle_no))
        LibVlcEntries.libvlc_video_set_spu(p_mi.get(), *id);
}

QString TVlcPlayer::GetVideoSubtitleDescriptionById(int subtitle_id)
{
    return NameOfId(LibVlcEntries.libvlc_video_get_spu_description, p_mi.get(), subtitle_id);
}

QString TVlcPlayer::GetVideoSubtitleDescriptionByNo(int subtitle_no)
{
    return NameAt(LibVlcEntries.libvlc_video_get_spu_description, p_mi.get(), subtitle_no);
}

void TVlcPlayer::SetVideoSubtitleFile(const QString& subtitle_file)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_subtitle_file(p_mi.get(), subtitle_file.toUtf8().constData());
}

// ---- Titles and chapters -----------------------------------------------------

TVlcTextTagList TVlcPlayer::GetVideoTitleList()
{
    return NamedEntries(LibVlcEntries.libvlc_video_get_title_description, p_mi.get());
}

int TVlcPlayer::GetVideoTitleCount()
{
    return p_mi ? LibVlcEntries.libvlc_media_player_get_title_count(p_mi.get()) : -1;
}

int TVlcPlayer::GetVideoTitleId()
{
    return p_mi ? LibVlcEntries.libvlc_media_player_get_title(p_mi.get()) : -1;
}

void TVlcPlayer::SetVideoTitleById(int title_id)
{
    if (p_mi)
        LibVlcEntries.libvlc_media_player_set_title(p_mi.get(), title_id);
}

int TVlcPlayer::GetVideoTitleNo()
{
    if (!p_mi)
        return 0;
    return PositionOfId(LibVlcEntries.libvlc_video_get_title_description, p_mi.get(),
                        LibVlcEntries.libvlc_media_player_get_title(p_mi.get()));
}

void TVlcPlayer::SetVideoTitleByNo(int title_no)
{
    if (!p_mi)
        return;
    if (const auto id = IdAt(LibVlcEntries.libvlc_video_get_title_description, p_mi.get(), title_no))
        LibVlcEntries.libvlc_media_player_set_title(p_mi.get(), *id);
}

QString TVlcPlayer::GetVideoTitleDescriptionById(int track_id)
{
    return NameOfId(LibVlcEntries.libvlc_video_get_title_description, p_mi.get(), track_id);
}

QString TVlcPlayer::GetVideoTitleDescriptionByNo(int title_no)
{
    return NameAt(LibVlcEntries.libvlc_video_get_title_description, p_mi.get(), title_no);
}

int TVlcPlayer::GetVideoChapter()
{
    return p_mi ? LibVlcEntries.libvlc_media_player_get_chapter(p_mi.get()) : -1;
}

int TVlcPlayer::GetVideoChapterCount()
{
    return p_mi ? LibVlcEntries.libvlc_media_player_get_chapter_count(p_mi.get()) : -1;
}

int TVlcPlayer::GetVideoChapterCountByTitleId(int title_id)
{
    return p_mi ? LibVlcEntries.libvlc_media_player_get_chapter_count_for_title(p_mi.get(), title_id) : -1;
}

void TVlcPlayer::SetVideoChapter(int newChapter)
{
    if (p_mi)
        LibVlcEntries.libvlc_media_player_set_chapter(p_mi.get(), newChapter);
}

// ---- Equalizer -----------------------------------------------------------------

TVlcTextTagList TVlcPlayer::EqualizerGetPresetList()
{
    TVlcTextTagList list;
    if (!GetVLC()->GetHandle())
        return list;
    const quint16 count = LibVlcEntries.libvlc_audio_equalizer_get_preset_count();
    for (quint16 index = 0; index < count; ++index) {
        const QString name = LibVlcText(LibVlcEntries.libvlc_audio_equalizer_get_preset_name(index));
        if (!name.isEmpty())
            list.append({name, index});
    }
    return list;
}

quint16 TVlcPlayer::EqualizerGetBandCount()
{
    return GetVLC()->GetHandle() ? LibVlcEntries.libvlc_audio_equalizer_get_band_count() : 0;
}

float TVlcPlayer::EqualizerGetBandFrequency(unsigned bandIndex)
{
    return GetVLC()->GetHandle() ? LibVlcEntries.libvlc_audio_equalizer_get_band_frequency(bandIndex) : 0.0f;
}

std::unique_ptr<TVlcEqualizer> TVlcPlayer::EqualizerCreate(quint16 APreset)
{
    // Bound to the instance object even before the engine runs, so that the
    // equalizer can be applied once it does.
    return std::make_unique<TVlcEqualizer>(GetVLC(), APreset);
}

void TVlcPlayer::EqualizerApply(TVlcEqualizer* AEqualizer)
{
    libvlc_media_player_t* player = GetPlayerHandle();
    if (player)
        LibVlcEntries.libvlc_media_player_set_equalizer(player, AEqualizer ? AEqualizer->GetHandle() : nullptr);
}

void TVlcPlayer::EqualizerSetPreset(quint16 APreset)
{
    libvlc_media_player_t* player = GetPlayerHandle();
    if (!player)
        return;
    if (APreset == TVlcEqualizer::NoPreset) {
        LibVlcEntries.libvlc_media_player_set_equalizer(player, nullptr);
        return;
    }
    // The engine player keeps its own copy of the settings.
    TVlcEqualizer equalizer(GetVLC(), APreset);
    LibVlcEntries.libvlc_media_player_set_equalizer(player, equalizer.GetHandle());
}

// ---- Audio outputs ---------------------------------------------------------------

QStringList TVlcPlayer::GetAudioOutputList()
{
    QStringList names;
    libvlc_instance_t* instance = GetVLC()->GetHandle();
    if (!instance)
        return names;
    const TVlcAudioOutputList outputs(LibVlcEntries.libvlc_audio_output_list_get(instance));
    for (const libvlc_audio_output_t* output = outputs.get(); output; output = output->p_next)
        names.append(LibVlcText(output->psz_name));
    return names;
}

QStringList TVlcPlayer::GetAudioOutputDeviceList(const QString& aOut)
{
    libvlc_instance_t* instance = GetVLC()->GetHandle();
    if (!instance)
        return {};
    return DeviceIds(TVlcAudioOutputDeviceList(
        LibVlcEntries.libvlc_audio_output_device_list_get(instance, aOut.toUtf8().constData())));
}

QStringList TVlcPlayer::GetAudioOutputDeviceEnum()
{
    libvlc_media_player_t* player = GetPlayerHandle();
    if (!player)
        return {};
    return DeviceIds(TVlcAudioOutputDeviceList(LibVlcEntries.libvlc_audio_output_device_enum(player)));
}

bool TVlcPlayer::SetAudioOutput(const QString& aOut)
{
    libvlc_media_player_t* player = GetPlayerHandle();
    return player && LibVlcEntries.libvlc_audio_output_set(player, aOut.toUtf8().constData()) == 0;
}

void TVlcPlayer::SetAudioOutputDevice(const QString& aOut, const QString& device_id)
{
    libvlc_media_player_t* player = GetPlayerHandle();
    if (!player)
        return;
    const QByteArray module = aOut.toUtf8();
    LibVlcEntries.libvlc_audio_output_device_set(player, aOut.isEmpty() ? nullptr : module.constData(),
                                                 device_id.toUtf8().constData());
}

void TVlcPlayer::SetAudioOutputDevice(const QString& device_id)
{
    SetAudioOutputDevice(QString(), device_id);
}

// ---- Teletext ----------------------------------------------------------------------

void TVlcPlayer::SetTeleText(int page)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_teletext(p_mi.get(), page);
}

int TVlcPlayer::GetTeleText()
{
    return p_mi ? LibVlcEntries.libvlc_video_get_teletext(p_mi.get()) : -1;
}

bool TVlcPlayer::ShowTeleText()
{
    if (!FViewTeleText && p_mi && LibVlcEntries.libvlc_media_player_is_playing(p_mi.get())) {
        LibVlcEntries.libvlc_toggle_teletext(p_mi.get());
        FViewTeleText = true;
    }
    return FViewTeleText;
}

bool TVlcPlayer::HideTeleText()
{
    if (FViewTeleText && p_mi && LibVlcEntries.libvlc_media_player_is_playing(p_mi.get())) {
        LibVlcEntries.libvlc_toggle_teletext(p_mi.get());
        FViewTeleText = false;
    }
    return FViewTeleText;
}

void TVlcPlayer::SetViewTeletext(bool AValue)
{
    if (AValue == FViewTeleText)
        return;
    if (AValue)
        ShowTeleText();
    else
        HideTeleText();
}
