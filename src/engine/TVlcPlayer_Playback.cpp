#include "engine/TVlcPlayer.h"

#include <QFile>

#include <array>
#include <chrono>
#include <cmath>
#include <thread>

#include "engine/TFrameSource.h"
#include "engine/TVlc.h"
#include "engine/TVlcMedia.h"
#include "engine/VlcLoader.h"
#include "engine/VlcOwners.h"
#include "engine/VlcText.h"
#include "engine/VlcTimeText.h"
#include "services/OrvPath.h"

namespace {

// Host of the video-sharing service whose pages are followed to their stream.
constexpr QLatin1String VideoServiceHost("youtube.com");
constexpr QLatin1String VideoServiceWwwHost("www.youtube.com");
// How long Play waits for a service page to resolve, in ms.
constexpr quint32 VideoServiceTimeout = 10000;
constexpr int PollIntervalMs = 10;

// Every media is decoded in software, as the frames at rest are: hardware
// decoders may give other frames, or fail, on machines the program was not
// tried on. An AVI whose index is missing (a recording cut off) gets one
// built when it is opened, or the engine could neither seek in it nor tell
// its length.
constexpr std::array<const char*, 2> MediaOptions {"avcodec-hw=none", "avi-index=3"};

constexpr std::array<const char*, 8> StateNames {"Nothing Special", "Opening", "Buffering", "Playing",
                                                  "Paused",          "Stopped", "Ended",     "Error"};

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

QString AsciiLower(QString s)
{
    for (QChar& c : s) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return s;
}

enum class TSubItemLookup { Found, NoSubItems, NoMedia };

// The location of the first sub-item of the player's media. Every reference
// taken on the way is released again.
TSubItemLookup FirstSubItemMrl(libvlc_media_player_t* p_mi, QString& mrl, QString* mediaMrl)
{
    const TVlcMediaRef media(LibVlcEntries.libvlc_media_player_get_media(p_mi));
    if (!media)
        return TSubItemLookup::NoMedia;
    bool found = false;
    if (const TVlcMediaListRef list {LibVlcEntries.libvlc_media_subitems(media.get())}) {
        const TVlcMediaListLock lock(list.get());
        if (LibVlcEntries.libvlc_media_list_count(list.get()) > 0) {
            if (const TVlcMediaRef item {LibVlcEntries.libvlc_media_list_item_at_index(list.get(), 0)}) {
                mrl = LibVlcTakeString(LibVlcEntries.libvlc_media_get_mrl(item.get()));
                found = true;
            }
        }
    }
    if (!found && mediaMrl)
        *mediaMrl = LibVlcTakeString(LibVlcEntries.libvlc_media_get_mrl(media.get()));
    return found ? TSubItemLookup::Found : TSubItemLookup::NoSubItems;
}

} // namespace

bool TVlcPlayer::IsVideoServicePage(const QString& mrl)
{
    const QString text = AsciiLower(VlcTrimControls(mrl));
    const qsizetype schemeEnd = text.indexOf(QLatin1String("://"));
    if (schemeEnd < 0)
        return false;
    const QStringView scheme = QStringView(text).left(schemeEnd);
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return false;
    const QStringView rest = QStringView(text).mid(schemeEnd + 3);
    const qsizetype slash = rest.indexOf(u'/');
    const QStringView host = slash < 0 ? rest : rest.left(slash);
    return host == VideoServiceHost || host == VideoServiceWwwHost;
}

void TVlcPlayer::Play(const QString& mrl)
{
    if (IsVideoServicePage(mrl))
        PlayYoutube(mrl, VideoServiceTimeout);
    else
        PlayNormal(mrl);
}

void TVlcPlayer::StopAndWait()
{
    LibVlcEntries.libvlc_media_player_stop(p_mi.get());
    while (LibVlcEntries.libvlc_media_player_is_playing(p_mi.get()))
        Sleep(PollIntervalMs);
}

void TVlcPlayer::PlayNormal(const QString& mrl)
{
    if (!parentWidget() && FOwner)
        ShowInParent(FOwner);
    if (!parentWidget())
        return;
    libvlc_media_player_t* player = GetPlayerHandle();
    if (!player)
        return;
    StopAndWait();
    // The engine reports nothing more about the media before once it has
    // stopped: every report from here on is about the new one.
    ++FMediaCount;
    Rest_Leave();
    FMediaPlayed = false;
    const bool location = mrl.contains(QLatin1String("://"));
    FFrames->SetFile(location ? QString() : mrl);
    {
        TVlcMedia media(FVLC.get());
        if (location) {
            media = TVlcMedia(FVLC.get(), mrl);
        } else {
            // Text without a scheme names a local file, also one that is
            // missing. As a location libvlc would try every access module on
            // it, network receivers included, and never finish opening: the
            // player could then not be stopped.
            media.NewPath(mrl);
        }
        media.SetDeinterlaceFilter(FDeinterlaceFilter);
        media.SetDeinterlaceFilterMode(FDeinterlaceMode);
        for (const char* option : MediaOptions)
            media.AddOption(QLatin1String(option));
        // The player takes its own reference; the item's goes with the item.
        LibVlcEntries.libvlc_media_player_set_media(player, media.MD());
    }
    UpdateDisplayWindow();
    UpdateTitleShow();
    LibVlcEntries.libvlc_media_player_play(player);
    FMute = false;
}

void TVlcPlayer::PlayYoutube(const QString& mrl, quint32 timeout)
{
    PlayNormal(mrl);
    quint32 left = timeout;
    while (left > 0) {
        Sleep(PollIntervalMs);
        left -= std::min<quint32>(left, PollIntervalMs);
        if (GetState() == vlcPlayer_Ended) {
            PlayContinue();
            break;
        }
    }
}

void TVlcPlayer::PlayContinue()
{
    if (!p_mi)
        return;
    QString next;
    if (FirstSubItemMrl(p_mi.get(), next, nullptr) == TSubItemLookup::Found && !next.isEmpty())
        Play(next);
}

QString TVlcPlayer::GetMediaMrl()
{
    if (!p_mi)
        return {};
    // libvlc 3 gives every media a sub-item list, empty for a plain file, so
    // an empty list means the media itself is what plays.
    QString subItem;
    QString own;
    if (FirstSubItemMrl(p_mi.get(), subItem, &own) == TSubItemLookup::Found)
        return subItem;
    return own;
}

void TVlcPlayer::Pause()
{
    if (GetState() != vlcPlayer_Playing)
        return;
    LibVlcEntries.libvlc_media_player_pause(p_mi.get());
    FPauseRequested = true;
    // The engine's time is where its reading has got to; the rest is on the
    // frame of that time, from its start.
    Rest_At(MediaTimeOf(LibVlcEntries.libvlc_media_player_get_time(p_mi.get())), true);
}

void TVlcPlayer::Resume()
{
    if (GetState() == vlcPlayer_Paused)
        LibVlcEntries.libvlc_media_player_play(p_mi.get());
}

void TVlcPlayer::Stop()
{
    if (!p_mi)
        return;
    StopAndWait();
    Rest_Leave();
}

bool TVlcPlayer::IsPlay()
{
    return GetState() == vlcPlayer_Playing;
}

bool TVlcPlayer::IsPause()
{
    return GetState() == vlcPlayer_Paused;
}

TVlcPlayerState TVlcPlayer::GetState()
{
    if (!p_mi)
        return vlcPlayer_NothingSpecial;
    const int state = LibVlcEntries.libvlc_media_player_get_state(p_mi.get());
    if (state < vlcPlayer_NothingSpecial || state > vlcPlayer_Error)
        return vlcPlayer_NothingSpecial;
    return static_cast<TVlcPlayerState>(state);
}

QString TVlcPlayer::GetStateName()
{
    if (!p_mi)
        return QStringLiteral("Player not initialised");
    return QLatin1String(StateNames[GetState()]);
}

void TVlcPlayer::NextFrame()
{
    if (p_mi)
        LibVlcEntries.libvlc_media_player_next_frame(p_mi.get());
}

void TVlcPlayer::PlayInWindow(QWidget* newWindow)
{
    if (!p_mi)
        return;
    if (newWindow)
        LibVlcSetDisplayWindow(p_mi.get(), newWindow->winId());
    else
        UpdateDisplayWindow();
}

// ---- Time, position and video -----------------------------------------------

qint64 TVlcPlayer::GetVideoLenInMs()
{
    return p_mi ? LibVlcEntries.libvlc_media_player_get_length(p_mi.get()) : 0;
}

qint64 TVlcPlayer::GetVideoPosInMs()
{
    if (!p_mi)
        return 0;
    const qint64 rest = FRestMs;
    if (rest >= 0 && rest != TFrameReader::EndOfVideo)
        return rest;
    return MediaTimeOf(LibVlcEntries.libvlc_media_player_get_time(p_mi.get()));
}

void TVlcPlayer::SetVideoPosInMs(qint64 newPos)
{
    if (!p_mi)
        return;
    LibVlcEntries.libvlc_media_player_set_time(p_mi.get(), EngineTimeOf(newPos));
    // The engine reports time changes only while playing, and at rest its
    // reports are not passed on.
    if (GetState() == vlcPlayer_Playing && !FPauseRequested)
        return;
    Rest_At(newPos, false);
    if (OnMediaPlayerTimeChanged)
        OnMediaPlayerTimeChanged(this, newPos);
}

float TVlcPlayer::GetVideoPosInPercent()
{
    return p_mi ? LibVlcEntries.libvlc_media_player_get_position(p_mi.get()) * 100 : 0;
}

void TVlcPlayer::SetVideoPosInPercent(float newPos)
{
    if (!p_mi)
        return;
    LibVlcEntries.libvlc_media_player_set_position(p_mi.get(), newPos / 100);
    if (GetState() != vlcPlayer_Playing && OnMediaPlayerPositionChanged)
        OnMediaPlayerPositionChanged(this, newPos / 100);
}

QString TVlcPlayer::GetVideoLenStr(const QString& fmt)
{
    return MsToTimeStr(fmt, GetVideoLenInMs());
}

QString TVlcPlayer::GetVideoPosStr(const QString& fmt)
{
    return MsToTimeStr(fmt, GetVideoPosInMs());
}

float TVlcPlayer::GetVideoFps()
{
    return p_mi ? LibVlcEntries.libvlc_media_player_get_fps(p_mi.get()) : -1.0f;
}

int TVlcPlayer::GetVideoWidth()
{
    unsigned width = 0;
    unsigned height = 0;
    return GetVideoDimension(width, height) ? static_cast<int>(width) : 0;
}

int TVlcPlayer::GetVideoHeight()
{
    unsigned width = 0;
    unsigned height = 0;
    return GetVideoDimension(width, height) ? static_cast<int>(height) : 0;
}

bool TVlcPlayer::GetVideoDimension(unsigned& width, unsigned& height)
{
    width = 0;
    height = 0;
    return p_mi && LibVlcEntries.libvlc_video_get_size(p_mi.get(), 0, &width, &height) == 0;
}

float TVlcPlayer::GetVideoScaleInPercent()
{
    return p_mi ? LibVlcEntries.libvlc_video_get_scale(p_mi.get()) * 100 : -1.0f;
}

void TVlcPlayer::SetVideoScaleInPercent(float newScaleInPercent)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_scale(p_mi.get(), newScaleInPercent / 100);
}

QString TVlcPlayer::GetVideoAspectRatio()
{
    return p_mi ? LibVlcTakeString(LibVlcEntries.libvlc_video_get_aspect_ratio(p_mi.get())) : QString();
}

void TVlcPlayer::SetVideoAspectRatio(const QString& newAspectRatio)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_aspect_ratio(p_mi.get(), newAspectRatio.toLocal8Bit().constData());
}

bool TVlcPlayer::CanPlay()
{
    return p_mi && LibVlcEntries.libvlc_media_player_will_play(p_mi.get()) > 0;
}

bool TVlcPlayer::CanPause()
{
    return p_mi && LibVlcEntries.libvlc_media_player_can_pause(p_mi.get()) > 0;
}

bool TVlcPlayer::CanSeek()
{
    return p_mi && LibVlcEntries.libvlc_media_player_is_seekable(p_mi.get()) > 0;
}

bool TVlcPlayer::HasVout()
{
    return p_mi && LibVlcEntries.libvlc_media_player_has_vout(p_mi.get()) != 0;
}

bool TVlcPlayer::IsScrambled()
{
    return p_mi && LibVlcEntries.libvlc_media_player_program_scrambled(p_mi.get()) > 0;
}

// ---- Audio and rate ---------------------------------------------------------

void TVlcPlayer::SetAudioMute(bool mute)
{
    if (!p_mi)
        return;
    LibVlcEntries.libvlc_audio_set_mute(p_mi.get(), mute ? 1 : 0);
    FMute = mute;
}

int TVlcPlayer::GetAudioVolume()
{
    return p_mi ? LibVlcEntries.libvlc_audio_get_volume(p_mi.get()) : -1;
}

void TVlcPlayer::SetAudioVolume(int volumeLevel)
{
    if (p_mi && volumeLevel >= 0 && volumeLevel <= 200)
        LibVlcEntries.libvlc_audio_set_volume(p_mi.get(), volumeLevel);
}

int TVlcPlayer::GetPlayRate()
{
    if (!p_mi)
        return -1;
    // Rounds halves to even (the default floating-point rounding mode).
    return static_cast<int>(std::nearbyint(LibVlcEntries.libvlc_media_player_get_rate(p_mi.get()) * 100.0));
}

void TVlcPlayer::SetPlayRate(int rate)
{
    if (p_mi && rate >= 1 && rate <= 1000)
        LibVlcEntries.libvlc_media_player_set_rate(p_mi.get(), rate / 100.0f);
}

int TVlcPlayer::GetAudioChannel()
{
    return p_mi ? LibVlcEntries.libvlc_audio_get_channel(p_mi.get()) : -1;
}

void TVlcPlayer::SetAudioChannel(int channel)
{
    if (p_mi)
        LibVlcEntries.libvlc_audio_set_channel(p_mi.get(), channel);
}

qint64 TVlcPlayer::GetAudioDelay()
{
    return p_mi ? LibVlcEntries.libvlc_audio_get_delay(p_mi.get()) : 0;
}

void TVlcPlayer::SetAudioDelay(qint64 delay)
{
    if (p_mi)
        LibVlcEntries.libvlc_audio_set_delay(p_mi.get(), delay);
}
