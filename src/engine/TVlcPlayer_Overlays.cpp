// TVlcPlayer: the engine's logo and marquee overlays.

#include "engine/TVlcPlayer.h"

#include "engine/VlcLoader.h"

// ---- Logo ------------------------------------------------------------------------

void TVlcPlayer::LogoSetFile(const QString& file_name)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_logo_string(p_mi.get(), libvlc_logo_file, file_name.toUtf8().constData());
}

void TVlcPlayer::LogoSetFiles(const QStringList& file_names, int delay_ms, bool loop)
{
    if (!p_mi)
        return;
    // The engine reads the images as one text, the names separated by ";".
    LogoSetFile(file_names.join(QLatin1Char(';')));
    LogoSetDelay(delay_ms);
    LogoSetRepeat(loop);
}

void TVlcPlayer::LogoSetPosition(int position_x, int position_y)
{
    if (!p_mi)
        return;
    LibVlcEntries.libvlc_video_set_logo_int(p_mi.get(), libvlc_logo_x, position_x);
    LibVlcEntries.libvlc_video_set_logo_int(p_mi.get(), libvlc_logo_y, position_y);
}

void TVlcPlayer::LogoSetPosition(qint8 position)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_logo_int(p_mi.get(), libvlc_logo_position, position);
}

void TVlcPlayer::LogoSetOpacity(quint8 opacity)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_logo_int(p_mi.get(), libvlc_logo_opacity, opacity);
}

void TVlcPlayer::LogoSetDelay(int delay_ms)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_logo_int(p_mi.get(), libvlc_logo_delay, delay_ms);
}

void TVlcPlayer::LogoSetRepeat(bool loop)
{
    // -1 repeats the images for ever.
    if (p_mi)
        LibVlcEntries.libvlc_video_set_logo_int(p_mi.get(), libvlc_logo_repeat, loop ? -1 : 0);
}

void TVlcPlayer::LogoSetEnable(bool enable)
{
    if (!p_mi)
        return;
    LibVlcEntries.libvlc_video_set_logo_int(p_mi.get(), libvlc_logo_enable, enable ? 1 : 0);
    Rest_SetEngineOverlay(LogoOverlay, enable);
}

void TVlcPlayer::LogoShowFile(const QString& file_name, int position_x, int position_y, quint8 opacity)
{
    if (!p_mi)
        return;
    LogoSetFile(file_name);
    LogoSetPosition(position_x, position_y);
    LogoSetOpacity(opacity);
    LogoSetEnable(true);
}

void TVlcPlayer::LogoShowFile(const QString& file_name, qint8 position, quint8 opacity)
{
    if (!p_mi)
        return;
    LogoSetFile(file_name);
    LogoSetPosition(position);
    LogoSetOpacity(opacity);
    LogoSetEnable(true);
}

namespace {

// Shows the images in turn from the start, placed by place().
template <typename Place>
void ShowLogoFiles(TVlcPlayer& player, const QStringList& file_names, Place place, quint8 opacity, int delay_ms,
                   bool loop)
{
    player.LogoSetFiles(file_names, 1000, true);
    place();
    player.LogoSetOpacity(opacity);
    player.LogoSetDelay(delay_ms);
    player.LogoSetRepeat(loop);
    player.LogoSetEnable(true);
}

} // namespace

void TVlcPlayer::LogoShowFiles(const QStringList& file_names, int position_x, int position_y, quint8 opacity,
                               int delay_ms, bool loop)
{
    if (p_mi)
        ShowLogoFiles(*this, file_names, [&] { LogoSetPosition(position_x, position_y); }, opacity, delay_ms, loop);
}

void TVlcPlayer::LogoShowFiles(const QStringList& file_names, qint8 position, quint8 opacity, int delay_ms,
                               bool loop)
{
    if (p_mi)
        ShowLogoFiles(*this, file_names, [&] { LogoSetPosition(position); }, opacity, delay_ms, loop);
}

void TVlcPlayer::LogoHide()
{
    // The logo stays enabled; without an image it shows nothing.
    if (!p_mi)
        return;
    LibVlcEntries.libvlc_video_set_logo_int(p_mi.get(), libvlc_logo_enable, 1);
    LibVlcEntries.libvlc_video_set_logo_string(p_mi.get(), libvlc_logo_file, nullptr);
}

// ---- Marquee -------------------------------------------------------------------------

void TVlcPlayer::MarqueeSetText(const QString& marquee_text)
{
    if (!p_mi)
        return;
    const QByteArray text = marquee_text.toUtf8();
    LibVlcEntries.libvlc_video_set_marquee_string(p_mi.get(), libvlc_marquee_Text,
                                                  text.isEmpty() ? nullptr : text.constData());
}

void TVlcPlayer::MarqueeSetPosition(int position_x, int position_y)
{
    if (!p_mi)
        return;
    LibVlcEntries.libvlc_video_set_marquee_int(p_mi.get(), libvlc_marquee_X, position_x);
    LibVlcEntries.libvlc_video_set_marquee_int(p_mi.get(), libvlc_marquee_Y, position_y);
}

void TVlcPlayer::MarqueeSetPosition(qint8 position)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_marquee_int(p_mi.get(), libvlc_marquee_Position, position);
}

void TVlcPlayer::MarqueeSetColor(quint32 color)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_marquee_int(p_mi.get(), libvlc_marquee_Color, int(color));
}

void TVlcPlayer::MarqueeSetFontSize(int font_size)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_marquee_int(p_mi.get(), libvlc_marquee_Size, font_size);
}

void TVlcPlayer::MarqueeSetOpacity(quint8 opacity)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_marquee_int(p_mi.get(), libvlc_marquee_Opacity, opacity);
}

void TVlcPlayer::MarqueeSetTimeOut(int time_out_ms)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_marquee_int(p_mi.get(), libvlc_marquee_Timeout, time_out_ms);
}

void TVlcPlayer::MarqueeSetRefresh(int refresh_after_ms)
{
    if (p_mi)
        LibVlcEntries.libvlc_video_set_marquee_int(p_mi.get(), libvlc_marquee_Refresh, refresh_after_ms);
}

void TVlcPlayer::MarqueeSetEnable(bool enable)
{
    if (!p_mi)
        return;
    LibVlcEntries.libvlc_video_set_marquee_int(p_mi.get(), libvlc_marquee_Enable, enable ? 1 : 0);
    Rest_SetEngineOverlay(MarqueeOverlay, enable);
}

namespace {

// The engine expands time fields of the marquee text; it has to redraw the
// text as often as the finest field present changes.
int MarqueeRefreshFor(const QString& marquee_text)
{
    int refresh = 0;
    if (marquee_text.contains(QLatin1String("%H")))
        refresh = 3600000;
    if (marquee_text.contains(QLatin1String("%M")))
        refresh = 60000;
    if (marquee_text.contains(QLatin1String("%S")))
        refresh = 1000;
    return refresh;
}

// Shows the text, placed by place().
template <typename Place>
void ShowMarquee(TVlcPlayer& player, const QString& marquee_text, Place place, quint32 color, int font_size,
                 quint8 opacity, int time_out_ms)
{
    player.MarqueeSetText(marquee_text);
    place();
    player.MarqueeSetColor(color);
    player.MarqueeSetOpacity(opacity);
    player.MarqueeSetFontSize(font_size);
    player.MarqueeSetTimeOut(time_out_ms);
    player.MarqueeSetRefresh(0);
    player.MarqueeSetEnable(true);
    if (const int refresh = MarqueeRefreshFor(marquee_text))
        player.MarqueeSetRefresh(refresh);
}

} // namespace

void TVlcPlayer::MarqueeShowText(const QString& marquee_text, int position_x, int position_y, quint32 color,
                                 int font_size, quint8 opacity, int time_out_ms)
{
    if (p_mi)
        ShowMarquee(*this, marquee_text, [&] { MarqueeSetPosition(position_x, position_y); }, color, font_size,
                    opacity, time_out_ms);
}

void TVlcPlayer::MarqueeShowText(const QString& marquee_text, qint8 position, quint32 color, int font_size,
                                 quint8 opacity, int time_out_ms)
{
    if (p_mi)
        ShowMarquee(*this, marquee_text, [&] { MarqueeSetPosition(position); }, color, font_size, opacity,
                    time_out_ms);
}

void TVlcPlayer::MarqueeHide()
{
    if (!p_mi)
        return;
    MarqueeSetEnable(false);
    MarqueeSetRefresh(0);
    MarqueeSetText(QString());
}
