#pragma once

#include <QString>

#include "engine/VlcTypes.h"

// Player settings that a media list applies to the media it creates.
class TVlcMediaPlayerC {
public:
    bool TitleShow() const { return FTitleShow; }
    void SetTitleShow(bool AValue) { FTitleShow = AValue; }
    bool VideoOnTop() const { return FVideoOnTop; }
    void SetVideoOnTop(bool AValue) { FVideoOnTop = AValue; }
    bool UseOverlay() const { return FUseOverlay; }
    void SetUseOverlay(bool AValue) { FUseOverlay = AValue; }
    QString SnapShotFmt() const { return FSnapShotFmt; }
    void SetSnapShotFmt(const QString& sValue) { FSnapShotFmt = sValue; }
    TDeinterlaceFilter DeinterlaceFilter() const { return FDeinterlaceFilter; }
    void SetDeinterlaceFilter(TDeinterlaceFilter AValue) { FDeinterlaceFilter = AValue; }
    TDeinterlaceMode DeinterlaceMode() const { return FDeinterlaceMode; }
    void SetDeinterlaceMode(TDeinterlaceMode AValue) { FDeinterlaceMode = AValue; }

private:
    bool FTitleShow = false;
    bool FVideoOnTop = false;
    bool FUseOverlay = false;
    QString FSnapShotFmt;
    TDeinterlaceFilter FDeinterlaceFilter = deOFF;
    TDeinterlaceMode FDeinterlaceMode = dmDISCARD;
};
