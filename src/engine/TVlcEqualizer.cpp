#include "engine/TVlcEqualizer.h"

#include "engine/TVlc.h"
#include "engine/VlcLoader.h"
#include "engine/VlcOwners.h"

TVlcEqualizer::TVlcEqualizer(TVlc* AVLC, quint16 APreset) : FVLC(AVLC), FPreset(APreset) {}

libvlc_equalizer_t* TVlcEqualizer::GetHandle()
{
    if (!FVLC || !FVLC->GetHandle())
        return nullptr;
    if (FEqualizer)
        return FEqualizer.get();
    if (FPreset != NoPreset)
        FEqualizer.reset(LibVlcEntries.libvlc_audio_equalizer_new_from_preset(FPreset));
    if (!FEqualizer)
        FEqualizer.reset(LibVlcEntries.libvlc_audio_equalizer_new());
    return FEqualizer.get();
}

float TVlcEqualizer::GetPreAmp()
{
    libvlc_equalizer_t* equalizer = GetHandle();
    return equalizer ? LibVlcEntries.libvlc_audio_equalizer_get_preamp(equalizer) : 0.0f;
}

void TVlcEqualizer::SetPreAmp(float AValue)
{
    if (libvlc_equalizer_t* equalizer = GetHandle())
        LibVlcEntries.libvlc_audio_equalizer_set_preamp(equalizer, AValue);
}

float TVlcEqualizer::GetAmp(unsigned AIndex)
{
    libvlc_equalizer_t* equalizer = GetHandle();
    return equalizer ? LibVlcEntries.libvlc_audio_equalizer_get_amp_at_index(equalizer, AIndex) : 0.0f;
}

void TVlcEqualizer::SetAmp(unsigned AIndex, float AValue)
{
    if (libvlc_equalizer_t* equalizer = GetHandle())
        LibVlcEntries.libvlc_audio_equalizer_set_amp_at_index(equalizer, AValue, AIndex);
}

unsigned TVlcEqualizer::GetBandCount()
{
    return FVLC && FVLC->GetHandle() ? LibVlcEntries.libvlc_audio_equalizer_get_band_count() : 0;
}

float TVlcEqualizer::GetBandFrequency(unsigned AIndex)
{
    return FVLC && FVLC->GetHandle() ? LibVlcEntries.libvlc_audio_equalizer_get_band_frequency(AIndex) : 0.0f;
}

unsigned TVlcEqualizer::GetPresetCount()
{
    return FVLC && FVLC->GetHandle() ? LibVlcEntries.libvlc_audio_equalizer_get_preset_count() : 0;
}

QString TVlcEqualizer::GetPresetName(unsigned AIndex)
{
    return FVLC && FVLC->GetHandle() ? LibVlcText(LibVlcEntries.libvlc_audio_equalizer_get_preset_name(AIndex)) : QString();
}

QString TVlcEqualizer::GetPresetName()
{
    return GetPresetName(FPreset);
}

void TVlcEqualizer::SetPreset(quint16 APreset)
{
    FPreset = APreset;
    FEqualizer.reset();
}
