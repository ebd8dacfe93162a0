#pragma once

#include <array>

// Enumerations of the engine binding and the texts libvlc knows them by,
// indexed by the member's ordinal.

enum TDeinterlaceFilter { deOFF, deON };
// Media options that switch deinterlacing off or on.
inline constexpr std::array<const char*, 2> DeinterlaceFilterOption {"deinterlace=0", "deinterlace=1"};

enum TDeinterlaceMode { dmDISCARD, dmBLEND, dmMEAN, dmBOB, dmLINEAR, dmX, dmYADIF, dmYADIF2x, dmPHOSPHOR, dmIVTC };
inline constexpr std::array<const char*, 10> DeinterlaceModeName {
    "discard", "blend", "mean", "bob", "linear", "x", "yadif", "yadif2x", "phosphor", "ivtc"};

// Where a media title is shown; the player control maps these to libvlc positions.
enum TVlcTitlePosition {
    vlcPosCenter, vlcPosLeft, vlcPosRight, vlcPosTop, vlcPosTopLeft, vlcPosTopRight,
    vlcPosBottom, vlcPosBottomLeft, vlcPosBottomRight
};

enum TVideoOutput { voDefault, voWinGdi, voDirectX, voDirect3d, voOpenGl, voDummy };
inline constexpr std::array<const char*, 6> VideoOutputName {"default", "wingdi", "directx", "direct3d", "opengl", "dummy"};

enum TAudioOutput { aoDefault, aoDirectX, aoWaveOut, aoDummy };
inline constexpr std::array<const char*, 4> AudioOutputName {"default", "directx", "waveout", "dummy"};
