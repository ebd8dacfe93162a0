#pragma once

#include <Qt>

// How a scrolling view responds to dragging and flicking.
struct TScrollPhysics
{
    bool Animation = true;        // content keeps moving after a flick
    bool Averaging = false;       // drag speed is smoothed over recent moves
    bool AutoShowing = true;      // scroll bars appear only while scrolling
    bool BoundsAnimation = true;  // content may be pulled past its edges and springs back
    Qt::Orientations TouchTracking = Qt::Horizontal | Qt::Vertical; // directions touch drags scroll

    bool operator==(const TScrollPhysics&) const = default;
};
