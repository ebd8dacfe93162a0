#pragma once

#include <QString>

#include <vlc/vlc.h>

#include "engine/VlcOwners.h"

class TVlc;

// An audio equalizer, made on demand from a preset (or flat) once the engine
// instance exists. Holds one equalizer and releases it when destroyed.
class TVlcEqualizer {
public:
    static constexpr quint16 NoPreset = 0xFFFF;

    TVlcEqualizer(TVlc* AVLC, quint16 APreset);

    // The equalizer, made on first use; null without engine instance.
    libvlc_equalizer_t* GetHandle();
    float GetPreAmp();
    void SetPreAmp(float AValue);
    float GetAmp(unsigned AIndex);
    void SetAmp(unsigned AIndex, float AValue);
    unsigned GetBandCount();
    float GetBandFrequency(unsigned AIndex);
    unsigned GetPresetCount();
    QString GetPresetName(unsigned AIndex);
    QString GetPresetName();
    quint16 GetPreset() const { return FPreset; }
    // A held equalizer is dropped, so the next GetHandle makes one from APreset.
    void SetPreset(quint16 APreset);

private:
    TVlc* FVLC = nullptr;
    TVlcEqualizerRef FEqualizer;
    quint16 FPreset = NoPreset;
};
