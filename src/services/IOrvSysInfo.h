#pragma once

#include "app/OrvTypes.h"

#include <QPointF>
#include <QSize>
#include <QString>

struct TDeviceDisplayMetrics
{
    QSize PhysicalScreenSize {0, 0};
    QSize LogicalScreenSize {0, 0};
    QSize RawScreenSize {0, 0};
    float AspectRatio = 0.0f;
    qint32 PixelsPerInch = 0;
    float ScreenScale = 0.0f;
    float FontScale = 0.0f;

    friend bool operator==(const TDeviceDisplayMetrics&, const TDeviceDisplayMetrics&) = default;
};

// What the platform reported about the device and its screen at start-up.
// Interface references never own the object.
class IOrvSysInfo
{
public:
    // Reads the platform again into the process-wide object and publishes it
    // again, whichever object it is called on.
    virtual void ModuleInit() = 0;
    virtual QString GetModel() const = 0;
    virtual TDeviceClass GetDeviceClass() const = 0;
    virtual TDeviceFeatures GetDeviceFeatures() const = 0;
    // In Qt's device-independent pixels; (0, 0) when there is no screen.
    virtual QPointF GetScreenSize() const = 0;
    virtual float GetScreenScale() const = 0;
    virtual TDeviceDisplayMetrics GetDisplayMetrics() const = 0;
    virtual bool IsPhoneClass() const = 0;
    virtual bool IsTabletClass() const = 0;
    // Desktop, MediaPlayer and Industrial devices; the device class alone decides.
    virtual bool IsDesktopClass() const = 0;

protected:
    ~IOrvSysInfo() = default;
};
